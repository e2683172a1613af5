// The search engine on small data sets written by the tests: result lines, candidate marks per
// generation, each mating test, worker slices, the result limit, stopping, errors, the interesting-
// line fill, progress and the listener contract. Every case is also checked against the plain
// reference search.

#include "core/common/errors.h"
#include "core/eval/rules.h"
#include "core/search/search_engine.h"
#include "search_fixture.h"
#include "tests/support/reference_search.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

using namespace velmora;
using namespace velmora::search;
using velmora::test::EngineRun;
using velmora::test::FreshHorses;
using velmora::test::FreshLine;
using velmora::test::OpenConditions;
using velmora::test::RunEngine;
using velmora::test::SearchData;
using velmora::test::Sorted;
using velmora::test::Unknown15;

namespace {

std::vector<std::u16string> Lines(std::initializer_list<const char16_t*> l)
{
    std::vector<std::u16string> v;
    for (auto* s : l)
        v.emplace_back(s);
    return Sorted(v);
}

// Runs the engine (on a copy of the data) and the reference (on another copy) and checks that they
// agree on the result set and the leaf counts; returns the engine's run.
EngineRun RunChecked(const MasterData& d, const SearchConditions& c, int threads = 2)
{
    MasterData forEngine = d;
    MasterData forReference = d;
    EngineRun run = RunEngine(forEngine, c, threads);
    const ReferenceOutcome ref = ReferenceSearch(forReference, c);
    if (!ref.stopped) {
        EXPECT_EQ(Sorted(run.lines), Sorted(ref.lines));
        EXPECT_EQ(run.stats.testedLeaves, ref.testedLeaves);
        EXPECT_EQ(run.stats.countedLeaves, ref.countedLeaves);
    }
    EXPECT_FALSE(run.offThread);
    return run;
}

} // namespace

TEST(SearchEngine, OneGenerationLinesAreMareAndStallion)
{
    SearchData s;
    s.Dad("S0", FreshLine(s, "a"));
    s.Dad("S1", FreshLine(s, "b"));
    s.Mam("M0", FreshLine(s, "c"));
    s.Mam("M1", FreshLine(s, "d"));
    const EngineRun run = RunChecked(s.d, OpenConditions(s.d, 1));
    EXPECT_EQ(Sorted(run.lines), Lines({ u"M0 * S0", u"M0 * S1", u"M1 * S0", u"M1 * S1" }));
    EXPECT_EQ(run.threadCount, 2);
    EXPECT_EQ(run.done, 1);
    EXPECT_EQ(run.stats.testedLeaves, 4);
    EXPECT_FALSE(run.stats.stopped);
}

TEST(SearchEngine, TwoGenerationsMateTheFoalAsTheNextBroodmare)
{
    SearchData s;
    s.Dad("S0", FreshLine(s, "a"));
    s.Dad("S1", FreshLine(s, "b"));
    s.Mam("M0", FreshLine(s, "c"));
    SearchConditions c = OpenConditions(s.d, 2);
    EngineRun run = RunChecked(s.d, c);
    EXPECT_EQ(Sorted(run.lines), Lines({ u"M0 * S0 * S0", u"M0 * S0 * S1", u"M0 * S1 * S0", u"M0 * S1 * S1" }));
    EXPECT_EQ(run.threadCount, 2); // one broodmare: two workers over the stallion halves

    // The foal's sire is position 1 of the next broodmare: mating him again is a close relation.
    c.HaigoJoken[2].Kiken = 1;
    run = RunChecked(s.d, c);
    EXPECT_EQ(Sorted(run.lines), Lines({ u"M0 * S0 * S1", u"M0 * S1 * S0" }));
    EXPECT_EQ(run.stats.testedLeaves, 4);
}

TEST(SearchEngine, PrunedChainsCountTheirLeaves)
{
    SearchData s;
    const int s0 = s.Dad("S0", FreshLine(s, "a"));
    s.Dad("S1", FreshLine(s, "b"));
    s.Dad("S2", FreshLine(s, "e"));
    auto mare = FreshLine(s, "c");
    mare[0] = s.d.DadTable[static_cast<size_t>(s0)].Father[0]; // S0 is her sire: close relation
    s.Mam("M0", mare);
    SearchConditions c = OpenConditions(s.d, 3);
    c.HaigoJoken[1].Kiken = 1;
    const EngineRun run = RunChecked(s.d, c);
    EXPECT_EQ(run.lines.size(), 18u);
    EXPECT_EQ(run.stats.testedLeaves, 18); // two gen-1 stallions pass, 3 x 3 leaves each
    EXPECT_EQ(run.stats.countedLeaves, 27); // the pruned chain counts its 9 leaves
    EXPECT_EQ(run.steps, 27); // estimate 27 <= 10000: one step per leaf
}

TEST(SearchEngine, CandidateBitsPerGeneration)
{
    SearchData s;
    s.Dad("S0", FreshLine(s, "a"));
    s.Dad("S1", FreshLine(s, "b"));
    s.Dad("S2", FreshLine(s, "c"));
    s.d.DadTable[0].Selected = 0b01; // generation 1 only
    s.d.DadTable[1].Selected = 0b10; // generation 2 only
    s.d.DadTable[2].Selected = 0b11;
    s.Mam("M", FreshLine(s, "m"));
    const EngineRun run = RunChecked(s.d, OpenConditions(s.d, 2));
    EXPECT_EQ(Sorted(run.lines), Lines({ u"M * S0 * S1", u"M * S0 * S2", u"M * S2 * S1", u"M * S2 * S2" }));
}

TEST(SearchEngine, NickMinimum)
{
    SearchData s;
    auto dadLine = FreshLine(s, "a", 7);
    const int nicked = s.Dad("Nicked", dadLine, s.Horse("Nicked", 1));
    s.Dad("Plain", FreshLine(s, "b", 7), s.Horse("Plain", 6));
    s.Dad("NoRank", FreshLine(s, "c", 7), s.Horse("NoRank", 1), 0); // star 0: no nick value
    auto mare = FreshLine(s, "m", 9);
    mare[0] = s.Horse("ms", 2);
    s.Mam("M", mare);
    s.d.NixList[static_cast<size_t>(s.d.NixCount++)] = { 1, 2, 10 }; // rank 3: 20 * 10 -> (200 + 9) / 10 = 20
    ASSERT_EQ(CalcNix(s.d, 3, s.d.DadTable[static_cast<size_t>(nicked)].Father, s.d.MamTable[0].Father), 20);
    struct Case
    {
        int nixBase;
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        { 0, Lines({ u"M * Nicked", u"M * Plain", u"M * NoRank" }) }, // 0: no nick test, no nick needed
        { 1, Lines({ u"M * Nicked" }) },
        { 20, Lines({ u"M * Nicked" }) },
        { 21, {} },
    };
    for (const auto& k : cases) {
        SearchConditions c = OpenConditions(s.d, 1);
        c.HaigoJoken[1].NixBase = k.nixBase;
        EXPECT_EQ(Sorted(RunChecked(s.d, c).lines), k.lines) << k.nixBase;
    }
}

TEST(SearchEngine, LikenessOnlyForOutbredPairs)
{
    SearchData s;
    const int x = s.Horse("X", 1, 5, 0);
    const int y = s.Horse("Y", 1, 5, 0);
    auto crossedLine = FreshLine(s, "a");
    crossedLine[0] = x; // F[1] = X, also the mare's sire: a counted cross
    s.Dad("Crossed", crossedLine);
    auto outLine = FreshLine(s, "b");
    outLine[0] = y;
    s.Dad("Outbred", outLine);
    auto mare = FreshLine(s, "m");
    mare[0] = x;
    s.Mam("M", mare);
    struct Case
    {
        int dadNi, mamNi;
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        { -1, -1, Lines({ u"M * Crossed", u"M * Outbred" }) },
        { 0, -1, Lines({ u"M * Crossed" }) }, // Outbred carries effect 5 on his side
        { 5, -1, Lines({ u"M * Outbred" }) }, // a counted cross leaves the likeness counts empty
        { 6, -1, {} },
        { -1, 5, Lines({ u"M * Outbred" }) },
        { -1, 0, Lines({ u"M * Crossed" }) },
        { 5, 5, Lines({ u"M * Outbred" }) },
    };
    for (const auto& k : cases) {
        SearchConditions c = OpenConditions(s.d, 1);
        c.HaigoJoken[1].DadNiKoka = k.dadNi;
        c.HaigoJoken[1].MamNiKoka = k.mamNi;
        EXPECT_EQ(Sorted(RunChecked(s.d, c).lines), k.lines) << k.dadNi << " " << k.mamNi;
    }
}

TEST(SearchEngine, DangerWithSevenAndSixCrossesAndInbreedingBounds)
{
    SearchData s;
    std::array<int, 8> shared;
    for (int i = 0; i < 8; ++i)
        shared[static_cast<size_t>(i)] = s.Horse("H" + std::to_string(i), 1, 1, 0);
    auto seven = FreshLine(s, "a");
    auto six = FreshLine(s, "b");
    auto mare = FreshLine(s, "m");
    for (int p = 8; p <= 14; ++p) {
        seven[static_cast<size_t>(p - 1)] = shared[static_cast<size_t>(p - 8)];
        mare[static_cast<size_t>(p - 1)] = shared[static_cast<size_t>(p - 8)];
        if (p < 14)
            six[static_cast<size_t>(p - 1)] = shared[static_cast<size_t>(p - 8)];
    }
    const int d7 = s.Dad("Seven", seven);
    const int d6 = s.Dad("Six", six);
    s.Mam("M", mare);
    CrossAnalysis r;
    AnalyzeCrosses(s.d, s.d.DadTable[static_cast<size_t>(d7)].Father, s.d.MamTable[0].Father, r);
    ASSERT_EQ(r.Crosses, 7);
    ASSERT_EQ(r.InCross[1], 7);
    AnalyzeCrosses(s.d, s.d.DadTable[static_cast<size_t>(d6)].Father, s.d.MamTable[0].Father, r);
    ASSERT_EQ(r.Crosses, 6);

    struct Case
    {
        int kiken;
        int outb;
        int bound; // bound on effect 1, -1 = none
        bool atLeast;
        bool active; // the record's own Active, as given
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        { 1, 2, -1, true, false, Lines({ u"M * Six" }) },
        { 0, 2, -1, true, false, Lines({ u"M * Seven", u"M * Six" }) },
        { 0, 0, -1, true, false, Lines({ u"M * Seven", u"M * Six" }) }, // Outb 0: no test
        { 0, 1, -1, true, false, {} },
        { 0, 2, 7, true, true, Lines({ u"M * Seven" }) },
        { 0, 2, 6, false, true, Lines({ u"M * Six" }) },
        { 0, 2, 0, false, true, {} },
        { 0, 2, 0, false, false, Lines({ u"M * Seven", u"M * Six" }) }, // Active false: bounds not tested
        { 0, 2, 9, true, false, Lines({ u"M * Seven", u"M * Six" }) },
    };
    for (const auto& k : cases) {
        SearchConditions c = OpenConditions(s.d, 1);
        HaigoJokenRec& h = c.HaigoJoken[1];
        h.Kiken = static_cast<uint8_t>(k.kiken);
        h.Outb = static_cast<uint8_t>(k.outb);
        if (k.bound >= 0) {
            h.Crs[1] = k.bound;
            h.Ud[1] = k.atLeast;
        }
        h.Active = k.active;
        EXPECT_EQ(Sorted(RunChecked(s.d, c).lines), k.lines)
            << k.kiken << " " << k.outb << " " << k.bound << " " << k.active;
    }
}

TEST(SearchEngine, MatingTypeSettingsAndUndecidableResults)
{
    SearchData s;
    // Stallion groups 1..4 on his chains 0, 5, 3, 7 and at 9, 11, 13, 15; broodmare groups on her
    // chains 1, 5, 3, 7.
    auto groupLine = [&](const std::string& prefix, std::array<int, 4> g, bool dad) {
        auto line = FreshLine(s, prefix);
        const int pos[4] = { dad ? 9 : 1, dad ? 11 : 5, dad ? 13 : 3, dad ? 15 : 7 };
        for (int i = 0; i < 4; ++i)
            s.d.OyaTable[static_cast<size_t>(line[static_cast<size_t>(pos[i] - 1)])].omokei = g[i];
        if (dad) // chains 0 (via the stallion), 5, 3, 7
            for (int i : { 5, 3, 7 })
                s.d.OyaTable[static_cast<size_t>(line[static_cast<size_t>(i - 1)])].omokei = 10 + i;
        return line;
    };
    const int same = s.Dad("Same", groupLine("a", { 1, 2, 3, 4 }, true), s.Horse("Same", 1, 0, 0, 9));
    s.Dad("OneOff", groupLine("b", { 1, 2, 3, 5 }, true), s.Horse("OneOff", 1, 0, 0, 9));
    auto unknownLine = groupLine("c", { 1, 2, 3, 4 }, true);
    unknownLine[8] = -1; // position 9 unknown: splendid and well-made undecidable
    s.Dad("Unknown", unknownLine, s.Horse("Unknown", 1, 0, 0, 9));
    s.Mam("M", groupLine("m", { 4, 3, 2, 1 }, false));
    ASSERT_EQ(CheckMig(s.d, s.d.DadTable[static_cast<size_t>(same)].Father, s.d.MamTable[0].Father), 1);
    struct Case
    {
        uint8_t omo, mig, yok;
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        { 2, 1, 2, Lines({ u"M * Same" }) },
        { 2, 0, 2, Lines({ u"M * OneOff" }) }, // -1 fails a forbidden setting too
        { 2, 2, 1, Lines({ u"M * Same", u"M * OneOff" }) },
        { 2, 2, 0, {} },
        { 2, 0, 1, Lines({ u"M * OneOff" }) },
        { 1, 2, 2, Lines({ u"M * Same", u"M * OneOff", u"M * Unknown" }) }, // groups 9,15,13,17 + 4,3,2,1
        { 0, 2, 2, {} },
    };
    for (const auto& k : cases) {
        SearchConditions c = OpenConditions(s.d, 1);
        c.HaigoJoken[1].Omo = k.omo;
        c.HaigoJoken[1].Mig = k.mig;
        c.HaigoJoken[1].Yok = k.yok;
        EXPECT_EQ(Sorted(RunChecked(s.d, c).lines), k.lines) << int(k.omo) << int(k.mig) << int(k.yok);
    }
}

TEST(SearchEngine, ChildConditionsAreSkippedUntilOneIsSet)
{
    SearchData s;
    auto line = FreshLine(s, "a");
    s.d.OyaTable[static_cast<size_t>(line[0])].a = 2; // effect 2 with SpeedCrossRow 0: NitroSt = -1
    const int dad = s.Dad("S", line);
    s.Mam("M", FreshLine(s, "m"));
    CrossAnalysis r;
    AnalyzeCrosses(s.d, s.d.DadTable[static_cast<size_t>(dad)].Father, s.d.MamTable[0].Father, r);
    ASSERT_EQ(r.NitroSt, -1);
    ASSERT_EQ(r.NitroSp, 2);
    SearchConditions c = OpenConditions(s.d, 1);
    EXPECT_EQ(RunChecked(s.d, c).lines.size(), 1u); // the initial bounds are not tested
    c.ChildJoken[1].Ud[16] = false; // at most 0 horses with effect 16: passes, but sets a condition
    EXPECT_EQ(RunChecked(s.d, c).lines.size(), 0u); // now NitroSt >= 0 applies
    c.ChildJoken[1].NitroStUd = false;
    EXPECT_EQ(RunChecked(s.d, c).lines.size(), 1u);
    c.ChildJoken[1].Crs[2] = 2; // at least two horses with effect 2: there is one
    EXPECT_EQ(RunChecked(s.d, c).lines.size(), 0u);
    c.ChildJoken[1].Crs[2] = 1;
    c.ChildJoken[1].NitroSpBound = 3;
    EXPECT_EQ(RunChecked(s.d, c).lines.size(), 0u);
    c.ChildJoken[1].NitroSpUd = false;
    EXPECT_EQ(RunChecked(s.d, c).lines.size(), 1u);
}

TEST(SearchEngine, ResultLimitListsExactlyN)
{
    SearchData s = FreshHorses(5, 4);
    SearchConditions c = OpenConditions(s.d, 1);
    MasterData copy = s.d;
    const ReferenceOutcome all = ReferenceSearch(copy, c);
    ASSERT_EQ(all.lines.size(), 20u);
    struct Case
    {
        int limit;
        size_t listed;
        bool stopped;
    };
    const Case cases[] = { { 7, 7, true },   { 1, 1, true },    { 0, 0, true },   { -3, 0, true },
                           { 19, 19, true }, { 20, 20, false }, { 21, 20, false } };
    for (const auto& k : cases)
        for (int threads : { 1, 2, 3 }) {
            c.ResultLimit = k.limit;
            MasterData d = s.d;
            const EngineRun run = RunEngine(d, c, threads);
            EXPECT_EQ(run.lines.size(), k.listed) << k.limit << " threads " << threads;
            EXPECT_EQ(run.stats.stopped, k.stopped) << k.limit;
            EXPECT_EQ(run.done, 1);
            // The first N in table order, whatever the workers.
            EXPECT_TRUE(std::equal(run.lines.begin(), run.lines.end(), all.lines.begin()))
                << k.limit << " threads " << threads;
        }
}

TEST(SearchEngine, StopRequestEndsEveryWorkerAfterItsStallion)
{
    SearchData s = FreshHorses(6, 4);
    for (int gen : { 1, 3 }) {
        for (int threads : { 2, 3 }) {
            const SearchConditions c = OpenConditions(s.d, gen);
            MasterData d = s.d;
            velmora::test::RecordingListener l;
            SearchEngine e(d, c, l);
            e.RequestStop(); // stopped before any worker runs: none takes a part of the walk
            e.Start(threads);
            e.Wait();
            EXPECT_EQ(e.Stats().testedLeaves, 0) << gen;
            EXPECT_TRUE(l.lines.empty());
            EXPECT_EQ(l.done, 1);
            EXPECT_TRUE(e.Stats().stopped);
            EXPECT_TRUE(e.Finished());
        }
    }
    // A stop from the listener, as the abort button gives it.
    const SearchConditions c = OpenConditions(s.d, 3);
    MasterData d = s.d;
    velmora::test::RecordingListener l;
    SearchEngine e(d, c, l);
    l.onResult = [&] { e.RequestStop(); };
    e.Start(2);
    e.Wait();
    EXPECT_EQ(l.done, 1);
    EXPECT_TRUE(e.Stats().stopped);
    EXPECT_GE(l.lines.size(), 1u);
}

TEST(SearchEngine, BroodmareSlicesCoverOddSizedTables)
{
    SearchData s;
    for (int i = 0; i < 3; ++i)
        s.Dad("S" + std::to_string(i), FreshLine(s, "d" + std::to_string(i)));
    for (int i = 0; i < 5; ++i) // rows 0, 2 and 4 are candidates; 5 div 2 = 2 starts the second half
        s.Mam("M" + std::to_string(i), FreshLine(s, "m" + std::to_string(i)), i % 2 == 0);
    for (int threads : { 2, 3, 4, 7 }) {
        const EngineRun run = RunChecked(s.d, OpenConditions(s.d, 1), threads);
        EXPECT_EQ(run.lines.size(), 9u) << threads;
        EXPECT_EQ(run.threadCount, threads);
        for (const char16_t* m : { u"M0 * S2", u"M2 * S0", u"M4 * S1" })
            EXPECT_NE(std::find(run.lines.begin(), run.lines.end(), m), run.lines.end()) << threads;
    }
}

TEST(SearchEngine, OneCandidateBroodmareSplitsTheFirstGenerationStallions)
{
    SearchData s;
    for (int i = 0; i < 5; ++i)
        s.Dad("S" + std::to_string(i), FreshLine(s, "d" + std::to_string(i)));
    s.Mam("Off", FreshLine(s, "o"), false);
    s.Mam("M", FreshLine(s, "m"));
    for (int threads : { 2, 3 }) {
        const EngineRun run = RunChecked(s.d, OpenConditions(s.d, 2), threads);
        EXPECT_EQ(run.threadCount, threads);
        EXPECT_EQ(run.lines.size(), 25u); // deeper generations walk every stallion in both workers
        EXPECT_EQ(run.done, 1);
    }
}

TEST(SearchEngine, NothingToSearchFinishesAtOnce)
{
    // No candidate broodmare (both 持込 boxes unchecked), or no generation-1 stallion: no worker starts,
    // and the owner, woken as a window is, learns at once that the search is over with no result.
    for (const bool mare : { false, true }) {
        SearchData s;
        s.Dad("S", FreshLine(s, "d"));
        s.Mam("M", FreshLine(s, "m"), mare);
        if (mare)
            s.d.DadTable[0].Selected = 0b10;
        const SearchConditions c = OpenConditions(s.d, 2);
        velmora::test::RecordingListener l;
        int wakes = 0;
        SearchEngine e(s.d, c, l, [&] { ++wakes; });
        e.Start(2);
        EXPECT_EQ(e.ThreadCount(), 0);
        ASSERT_EQ(wakes, 1) << mare;
        e.ProcessPending();
        EXPECT_EQ(l.done, 1) << mare;
        EXPECT_TRUE(e.Finished());
        EXPECT_TRUE(l.lines.empty());
        EXPECT_EQ(e.Stats().testedLeaves, 0);
        EXPECT_FALSE(e.Stats().stopped);
    }
}

TEST(SearchEngine, AncestorMarks)
{
    SearchData s;
    const int r1 = s.Horse("R1", 1, 3, 0);
    const int r2 = s.Horse("R2", 1, 4, 0);
    auto withR1 = FreshLine(s, "a");
    withR1[14] = r1; // position 15: outside the foal's pedigree, still one of his 16 entries
    const int self = s.Horse("Self", 1, 6, 0);
    s.Dad("WithR1", withR1, self);
    s.Dad("Without", FreshLine(s, "b"));
    auto withR2 = FreshLine(s, "m");
    withR2[9] = r2;
    s.Mam("WithR2", withR2);
    s.Mam("Without", FreshLine(s, "n"));
    SearchConditions base = OpenConditions(s.d, 1);
    base.Sosen = BuildSosenList(s.d);
    ASSERT_EQ(base.Sosen.size(), 3u); // R1, R2, Self: the rows with an effect
    auto mark = [&](SearchConditions& c, const char16_t* name, SosenMark m) {
        for (auto& item : c.Sosen)
            if (item.name == name)
                item.mark = m;
        UpdateSosenFlags(c);
    };
    SearchConditions c = base;
    mark(c, u"Self", SosenMark::Unchecked); // excluding the stallion himself (his entry 0)
    EXPECT_EQ(Sorted(RunChecked(s.d, c).lines), Lines({ u"WithR2 * Without", u"Without * Without" }));
    c = base;
    mark(c, u"R1", SosenMark::Checked);
    mark(c, u"R2", SosenMark::Checked);
    EXPECT_EQ(RunChecked(s.d, c).lines, Lines({ u"WithR2 * WithR1" }));
    c = base;
    mark(c, u"R1", SosenMark::Checked);
    mark(c, u"R2", SosenMark::Unchecked);
    EXPECT_EQ(RunChecked(s.d, c).lines, Lines({ u"Without * WithR1" }));
}

TEST(SearchEngine, InterestingLinesAreFilledOnceBeforeTheWorkers)
{
    SearchData s;
    auto line = FreshLine(s, "a");
    s.d.OyaTable[static_cast<size_t>(line[0])].omokei = 3; // his sire's group
    const int self = s.Horse("S", 1, 0, 0, 0);
    s.Dad("S", line, self);
    s.Mam("M", FreshLine(s, "m"));
    struct Case
    {
        int maxGen;
        int32_t selected;
        int32_t group;
    };
    const Case cases[] = {
        { 1, 15, 0 }, // one generation: nothing descends, nothing is filled
        { 2, 0b01, 3 }, // a candidate of generation 1 below MaxGen 2
        { 2, 0b10, 0 }, // only at the last generation
        { 4, 0b0100, 3 }, // generation 3 below 4
    };
    for (const auto& k : cases) {
        MasterData d = s.d;
        d.DadTable[0].Selected = k.selected;
        RunEngine(d, OpenConditions(d, k.maxGen));
        EXPECT_EQ(d.OyaTable[static_cast<size_t>(self)].omokei, k.group) << k.maxGen << " " << k.selected;
    }
}

TEST(SearchEngine, TheFillIsSeenAlreadyAtGenerationOne)
{
    SearchData s;
    auto line = FreshLine(s, "a");
    const int groups[][2] = { { 1, 3 }, { 5, 5 }, { 3, 6 }, { 7, 7 } }; // his sire 3; chains 5, 3, 7
    for (auto [p, g] : groups)
        s.d.OyaTable[static_cast<size_t>(line[static_cast<size_t>(p - 1)])].omokei = g;
    s.Dad("S", line, s.Horse("S", 1, 0, 0, 0)); // own group 0: chain 0 unresolved until filled
    auto mare = FreshLine(s, "m");
    const int mareGroups[][2] = { { 1, 1 }, { 5, 2 }, { 3, 4 }, { 7, 8 } };
    for (auto [p, g] : mareGroups)
        s.d.OyaTable[static_cast<size_t>(mare[static_cast<size_t>(p - 1)])].omokei = g;
    s.Mam("M", mare);
    ASSERT_EQ(CheckOmo(s.d, s.d.DadTable[0].Father, s.d.MamTable[0].Father), -1);
    for (int maxGen : { 1, 2 }) {
        SearchConditions c = OpenConditions(s.d, maxGen);
        c.HaigoJoken[1].Omo = 1;
        const EngineRun run = RunChecked(s.d, c);
        // One generation: no fill and no interesting mating; two: groups 3 5 6 7 1 2 4 8 after the fill.
        EXPECT_EQ(run.lines.size(), maxGen == 1 ? 0u : 1u) << maxGen;
    }
}

TEST(SearchEngine, ProgressStepsFollowTheCountedLeaves)
{
    SearchData s = FreshHorses(24, 2);
    SearchConditions c = OpenConditions(s.d, 3); // 2 * 24^3 = 27648 leaves: StepDiv 2
    c.HaigoJoken[2].Omo = 1; // prunes every chain at generation 2
    MasterData d = s.d;
    velmora::test::RecordingListener l;
    SearchEngine e(d, c, l);
    e.Start(1);
    e.Wait();
    EXPECT_EQ(e.Estimate(), 27648);
    EXPECT_EQ(e.Progress().range, 10000);
    EXPECT_EQ(e.Progress().stepDiv, 2);
    EXPECT_EQ(e.Stats().countedLeaves, 27648);
    EXPECT_EQ(e.Stats().testedLeaves, 0);
    EXPECT_EQ(l.steps, 27648 / 2);
    EXPECT_EQ(e.Stats().progressSteps, l.steps);
}

TEST(SearchEngine, WorkerErrorsStopTheSearchAndAreReported)
{
    SearchData s;
    s.Dad("S", FreshLine(s, "d", 1), s.Horse("S", 1));
    auto mare = FreshLine(s, "m", 2);
    s.Mam("M", mare);
    s.Mam("N", mare);
    s.d.NixList[static_cast<size_t>(s.d.NixCount++)] = { 1, 2, 1 << 29 }; // 20 * 2^29 overflows
    SearchConditions c = OpenConditions(s.d, 1);
    c.HaigoJoken[1].NixBase = 1;
    const EngineRun run = RunEngine(s.d, c);
    ASSERT_EQ(run.errors.size(), 1u); // both workers meet the pair; the search reports it once
    EXPECT_NE(run.errors[0].find("ニックスデータ: 系統「"), std::string::npos) << run.errors[0];
    EXPECT_EQ(run.done, 1);
    EXPECT_TRUE(run.stats.stopped);
    EXPECT_TRUE(run.lines.empty());

    // Indices outside the tables are refused before any worker starts.
    SearchData bad;
    bad.Dad("S", Unknown15());
    bad.d.DadTable[0].Father[3] = kOyaRows;
    bad.Mam("M", Unknown15());
    velmora::test::RecordingListener l;
    SearchEngine e(bad.d, OpenConditions(bad.d, 1), l);
    EXPECT_THROW(e.Start(), RangeError);
    SearchConditions zeroGen = OpenConditions(s.d, 1);
    zeroGen.MaxGen = 0;
    SearchEngine e0(s.d, zeroGen, l);
    EXPECT_THROW(e0.Start(), RangeError);
}

TEST(SearchEngine, ListenerCallsRunOnTheOwnerThroughWake)
{
    SearchData s = FreshHorses(8, 3);
    const SearchConditions c = OpenConditions(s.d, 2);
    MasterData d = s.d;
    // A minimal event loop: the wake function posts, the owner runs ProcessPending.
    std::mutex mutex;
    std::condition_variable cv;
    int wakes = 0;
    velmora::test::RecordingListener l;
    SearchEngine e(d, c, l, [&] {
        std::lock_guard lock(mutex);
        ++wakes;
        cv.notify_one();
    });
    e.Start(2);
    while (l.done == 0) {
        std::unique_lock lock(mutex);
        cv.wait(lock, [&] { return wakes > 0; });
        wakes = 0;
        lock.unlock();
        e.ProcessPending();
    }
    EXPECT_TRUE(e.Finished());
    EXPECT_FALSE(l.offThread);
    EXPECT_EQ(l.lines.size(), 3u * 8 * 8);
    EXPECT_EQ(l.steps, 3 * 8 * 8);
    std::thread other([&] { EXPECT_THROW(e.ProcessPending(), std::logic_error); });
    other.join();
}

TEST(SearchEngine, ReleasingARunningSearchWaitsAndNeverCallsTheListener)
{
    SearchData s;
    std::mt19937 rng(7);
    velmora::test::MakeRandomData(s, rng, { .pool = 40, .dads = 40, .mams = 20 });
    SearchConditions c = OpenConditions(s.d, 3);
    velmora::test::RecordingListener l;
    {
        SearchEngine e(s.d, c, l);
        e.Start(2);
    } // released at once: stops and joins the workers
    EXPECT_TRUE(l.lines.empty());
    EXPECT_EQ(l.steps, 0);
    EXPECT_EQ(l.done, 0);
}
