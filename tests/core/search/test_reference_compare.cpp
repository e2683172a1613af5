// The engine against the plain reference search on random conditions: random data sets with frequent
// crosses, the bundled sample data and the generated full-capacity data. The same lines in the same
// order and the same leaf counts for every worker count, and under a result limit the first N lines.

#include "core/app/settings.h"
#include "core/data/loader.h"
#include "core/search/search_engine.h"
#include "search_fixture.h"
#include "tests/support/data_files.h"
#include "tests/support/reference_search.h"
#include "tools/datagen/datagen.h"

#include <gtest/gtest.h>

#include <memory>

using namespace velmora;
using namespace velmora::search;
using velmora::test::EngineRun;
using velmora::test::RunEngine;
using velmora::test::SearchData;

namespace {

// Compares the engine with one, two and three workers against the reference on copies of d.
void Compare(const MasterData& d, const SearchConditions& c, const std::string& what)
{
    MasterData refData = d;
    const ReferenceOutcome ref = ReferenceSearch(refData, c);
    ASSERT_FALSE(ref.stopped) << what;
    for (int threads : { 1, 2, 3 }) {
        MasterData engData = d;
        const EngineRun run = RunEngine(engData, c, threads);
        ASSERT_TRUE(run.errors.empty()) << what << ": " << run.errors.front();
        EXPECT_EQ(run.lines, ref.lines) << what << " threads " << threads;
        EXPECT_EQ(run.stats.testedLeaves, ref.testedLeaves) << what << " threads " << threads;
        EXPECT_EQ(run.stats.countedLeaves, ref.countedLeaves) << what << " threads " << threads;
        EXPECT_FALSE(run.offThread);
        // The fill leaves the same ancestor table behind.
        for (int i = 0; i < d.OyaCount; ++i)
            ASSERT_EQ(engData.OyaTable[static_cast<size_t>(i)].omokei, refData.OyaTable[static_cast<size_t>(i)].omokei)
                << what << " row " << i;
    }
    if (ref.lines.size() < 2)
        return;
    SearchConditions limited = c;
    limited.ResultLimit = static_cast<int32_t>(ref.lines.size() / 2);
    const std::vector<std::u16string> first(ref.lines.begin(), ref.lines.begin() + limited.ResultLimit);
    for (int threads : { 2, 3 }) {
        MasterData engData = d;
        const EngineRun run = RunEngine(engData, limited, threads);
        EXPECT_EQ(run.lines, first) << what << " limit " << limited.ResultLimit << " threads " << threads;
        EXPECT_TRUE(run.stats.stopped) << what;
    }
}

int64_t TotalResults(const MasterData& d, const SearchConditions& c)
{
    MasterData copy = d;
    return static_cast<int64_t>(ReferenceSearch(copy, c).lines.size());
}

} // namespace

TEST(SearchReference, RandomDataAndConditions)
{
    int64_t withResults = 0;
    for (uint32_t seed = 1; seed <= 36; ++seed) {
        std::mt19937 rng(seed);
        SearchData s;
        velmora::test::MakeRandomData(s, rng);
        const int maxGen = 1 + static_cast<int>(seed % 3);
        const SearchConditions c = velmora::test::RandomConditions(s.d, rng, maxGen, 3000);
        Compare(s.d, c, "seed " + std::to_string(seed));
        withResults += TotalResults(s.d, c) > 0 ? 1 : 0;
    }
    // The random conditions must not be so strict that nothing is ever found.
    EXPECT_GE(withResults, 12);
}

TEST(SearchReference, RandomDataEveryTestAlone)
{
    // Each mating test on its own over every pair, so a wrong test cannot hide behind another.
    std::mt19937 rng(99);
    SearchData s;
    velmora::test::MakeRandomData(s, rng, { .pool = 30, .dads = 40, .mams = 30 });
    auto base = velmora::test::OpenConditions(s.d, 1);
    std::vector<std::pair<std::string, std::function<void(HaigoJokenRec&, ChildJokenRec&)>>> variants = {
        { "nick 1", [](HaigoJokenRec& h, ChildJokenRec&) { h.NixBase = 1; } },
        { "nick 5", [](HaigoJokenRec& h, ChildJokenRec&) { h.NixBase = 5; } },
        { "omo 1", [](HaigoJokenRec& h, ChildJokenRec&) { h.Omo = 1; } },
        { "omo 0", [](HaigoJokenRec& h, ChildJokenRec&) { h.Omo = 0; } },
        { "mig 1", [](HaigoJokenRec& h, ChildJokenRec&) { h.Mig = 1; } },
        { "mig 0", [](HaigoJokenRec& h, ChildJokenRec&) { h.Mig = 0; } },
        { "yok 1", [](HaigoJokenRec& h, ChildJokenRec&) { h.Yok = 1; } },
        { "yok 0", [](HaigoJokenRec& h, ChildJokenRec&) { h.Yok = 0; } },
        { "outb", [](HaigoJokenRec& h, ChildJokenRec&) { h.Outb = 1; } },
        { "kiken", [](HaigoJokenRec& h, ChildJokenRec&) { h.Kiken = 1; } },
        { "dadni 0", [](HaigoJokenRec& h, ChildJokenRec&) { h.DadNiKoka = 0; } },
        { "dadni 3", [](HaigoJokenRec& h, ChildJokenRec&) { h.DadNiKoka = 3; } },
        { "mamni 0", [](HaigoJokenRec& h, ChildJokenRec&) { h.MamNiKoka = 0; } },
        { "mamni 7", [](HaigoJokenRec& h, ChildJokenRec&) { h.MamNiKoka = 7; } },
        { "incross >= 1",
          [](HaigoJokenRec& h, ChildJokenRec&) {
              h.Crs[5] = 1;
              h.Active = true;
          } },
        { "incross <= 0",
          [](HaigoJokenRec& h, ChildJokenRec&) {
              h.Ud[2] = false;
              h.Active = true;
          } },
        { "kosei >= 2", [](HaigoJokenRec&, ChildJokenRec& c) { c.Crs[1] = 2; } },
        { "kosei <= 1",
          [](HaigoJokenRec&, ChildJokenRec& c) {
              c.Crs[3] = 1;
              c.Ud[3] = false;
          } },
        { "nitro sp >= 3", [](HaigoJokenRec&, ChildJokenRec& c) { c.NitroSpBound = 3; } },
        { "nitro st <= 0",
          [](HaigoJokenRec&, ChildJokenRec& c) {
              c.NitroStBound = 0;
              c.NitroStUd = false;
          } },
        { "nitro total >= 4", [](HaigoJokenRec&, ChildJokenRec& c) { c.NitroTotalBound = 4; } },
    };
    for (auto& [name, set] : variants) {
        SearchConditions c = base;
        set(c.HaigoJoken[1], c.ChildJoken[1]);
        const int64_t found = TotalResults(s.d, c);
        // Each test must separate the pairs, or the comparison proves nothing about it.
        EXPECT_GT(found, 0) << name;
        EXPECT_LT(found, int64_t { s.d.DadCount } * s.d.MamCount) << name;
        Compare(s.d, c, name);
    }
}

namespace {

// The generated full-capacity data set, written and loaded once.
const MasterData& GeneratedData()
{
    static const std::unique_ptr<MasterData> data = [] {
        velmora::test::TempDir dir;
        WriteFullCapacityData(dir.Path());
        auto d = std::make_unique<MasterData>();
        const LoadResult r = GetMasterData(*d, dir.Path(), DefaultDataFiles());
        EXPECT_TRUE(r.completed);
        return d;
    }();
    return *data;
}

} // namespace

TEST(SearchReference, GeneratedFullCapacityData)
{
    const MasterData& full = GeneratedData();
    ASSERT_EQ(full.DadCount, 513);
    ASSERT_EQ(full.MamCount, 701);
    int withResults = 0;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        std::mt19937 rng(1000 + seed);
        auto d = std::make_unique<MasterData>(full);
        const SearchConditions c = velmora::test::RandomConditions(*d, rng, 1 + static_cast<int>(seed % 3), 2500);
        Compare(*d, c, "generated seed " + std::to_string(seed));
        withResults += TotalResults(*d, c) > 0 ? 1 : 0;
    }
    EXPECT_GE(withResults, 4);
}

TEST(SearchReference, SampleData)
{
    const std::string dir = std::string(VELMORA_SAMPLE_DIR) + "/";
    if (!FirstMissingDataFile(dir, DefaultDataFiles()).empty())
        GTEST_SKIP() << "no sample data in " << dir;
    auto d = std::make_unique<MasterData>();
    ASSERT_TRUE(GetMasterData(*d, dir, DefaultDataFiles()).completed);
    // The conditions window's opening state, then random conditions.
    SearchConditions init;
    auto opened = std::make_unique<MasterData>(*d);
    InitSearchConditions(*opened, init);
    init.ResultLimit = 1 << 30;
    for (int gen = 1; gen <= 2; ++gen) {
        init.MaxGen = gen;
        if (UpdateEstimate(init) <= 20000)
            Compare(*opened, init, "sample, initial conditions, generations " + std::to_string(gen));
    }
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        auto m = std::make_unique<MasterData>(*d);
        const SearchConditions c = velmora::test::RandomConditions(*m, rng, 1 + static_cast<int>(seed % 3), 3000);
        Compare(*m, c, "sample seed " + std::to_string(seed));
    }
}

TEST(SearchReference, CrossTestsAtTheThirdGeneration)
{
    // The foals of the walk are inbred through the small ancestor pool, so the cross tests at the last
    // generation meet shared horses reached through both parents, close relations and many crosses.
    std::mt19937 rng(4242);
    SearchData s;
    velmora::test::MakeRandomData(s, rng, { .pool = 24, .dads = 10, .mams = 4 });
    const auto base = velmora::test::OpenConditions(s.d, 3);
    const std::vector<std::pair<std::string, std::function<void(HaigoJokenRec&)>>> variants = {
        { "kiken", [](HaigoJokenRec& h) { h.Kiken = 1; } },
        { "outb", [](HaigoJokenRec& h) { h.Outb = 1; } },
        { "incross >= 1",
          [](HaigoJokenRec& h) {
              h.Crs[5] = 1;
              h.Active = true;
          } },
        { "incross <= 0 with kiken",
          [](HaigoJokenRec& h) {
              h.Ud[4] = false;
              h.Active = true;
              h.Kiken = 1;
          } },
    };
    for (const auto& [name, set] : variants) {
        SearchConditions c = base;
        set(c.HaigoJoken[3]);
        const int64_t found = TotalResults(s.d, c);
        EXPECT_GT(found, 0) << name;
        EXPECT_LT(found, base.SearchCounts[0] * base.SearchCounts[1] * base.SearchCounts[2] * base.SearchCounts[3])
            << name;
        Compare(s.d, c, "third generation, " + name);
    }
}
