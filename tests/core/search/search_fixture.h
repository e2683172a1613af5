#pragma once
// Builders for the search tests: small master data sets written by the test, a random data set with
// frequent crosses, random conditions, a listener that records every call, and a runner.

#include "core/data/master_data.h"
#include "core/search/search_conditions.h"
#include "core/search/search_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace velmora::test {

inline std::u16string U16(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

// A small data set built row by row.
struct SearchData
{
    MasterData d;

    SearchData()
    {
        d.CrossTable[0].name = u"　　　　";
        d.OmokeiTable[0].name = std::u16string(kUnregistered);
        d.OmokeiTable[0].lbl = u"未";
        d.OmokeiTable[0].value = 0xFFFFFF;
        for (int k = 1; k <= 16; ++k)
            d.CrossTable[static_cast<size_t>(k)].name = U16("E" + std::to_string(k));
    }

    int Horse(const std::string& name, int keito = 0, int a = 0, int b = 0, int omokei = 0)
    {
        const int i = d.OyaCount++;
        OyaRec& r = d.OyaTable[static_cast<size_t>(i)];
        r = OyaRec {};
        r.name = U16(name);
        r.keito = keito;
        r.a = a;
        r.b = b;
        r.omokei = omokei;
        return i;
    }

    // A stallion whose own ancestor row is `self` (created when -1) with the given male line-up
    // positions 1..15 (unknown where -1). Candidate at every generation.
    int Dad(const std::string& name, std::array<int32_t, 15> line, int self = -1, int fee = 3)
    {
        if (self < 0)
            self = Horse(name);
        const int i = d.DadCount++;
        DadRec& s = d.DadTable[static_cast<size_t>(i)];
        s = DadRec {};
        s.name = U16(name);
        s.Fee = fee;
        s.Distance1 = 1200;
        s.Distance2 = 2400;
        s.Father[0] = self;
        for (int p = 1; p <= 15; ++p)
            s.Father[static_cast<size_t>(p)] = line[static_cast<size_t>(p - 1)];
        s.keito = d.OyaTable[static_cast<size_t>(self)].keito;
        s.Selected = 15;
        return i;
    }

    int Mam(const std::string& name, std::array<int32_t, 15> line, bool selected = true)
    {
        const int i = d.MamCount++;
        MamRec& m = d.MamTable[static_cast<size_t>(i)];
        m = MamRec {};
        m.name = U16(name);
        m.motikomi = u"無し";
        m.Father = line;
        m.Selected = selected;
        return i;
    }
};

inline std::array<int32_t, 15> Unknown15()
{
    std::array<int32_t, 15> a;
    a.fill(-1);
    return a;
}

// Ancestors that stand only in one pedigree, so that no cross occurs by accident.
inline std::array<int32_t, 15> FreshLine(SearchData& s, const std::string& prefix, int keito = 1)
{
    std::array<int32_t, 15> line;
    for (int p = 1; p <= 15; ++p)
        line[static_cast<size_t>(p - 1)] = s.Horse(prefix + std::to_string(p), keito);
    return line;
}

// Stallions S0.. and broodmares M0.. whose pedigrees share no ancestor: every mating passes open
// conditions, so a search lists mares x dads^generations lines.
inline SearchData FreshHorses(int dads, int mares)
{
    SearchData s;
    for (int i = 0; i < dads; ++i)
        s.Dad("S" + std::to_string(i), FreshLine(s, "d" + std::to_string(i)));
    for (int i = 0; i < mares; ++i)
        s.Mam("M" + std::to_string(i), FreshLine(s, "m" + std::to_string(i)));
    return s;
}

// Records every listener call with the thread it ran on.
class RecordingListener : public search::SearchListener
{
public:
    void StepProgress() override
    {
        Note();
        ++steps;
    }
    void AddResult(std::u16string_view line) override
    {
        Note();
        lines.emplace_back(line);
        if (onResult)
            onResult();
    }
    void SearchError(std::string_view message) override
    {
        Note();
        errors.emplace_back(message);
    }
    void SearchDone() override
    {
        Note();
        ++done;
    }

    std::vector<std::u16string> lines;
    std::vector<std::string> errors;
    int64_t steps = 0;
    int done = 0;
    bool offThread = false; // some call ran on another thread than the one that made the listener
    std::function<void()> onResult;

private:
    void Note()
    {
        if (std::this_thread::get_id() != m_thread)
            offThread = true;
    }
    std::thread::id m_thread = std::this_thread::get_id();
};

struct EngineRun
{
    std::vector<std::u16string> lines;
    search::SearchStats stats;
    int threadCount = 0;
    int done = 0;
    int64_t steps = 0;
    bool offThread = false;
    std::vector<std::string> errors;
};

inline EngineRun RunEngine(MasterData& d, const search::SearchConditions& c, int threads = 2)
{
    RecordingListener l;
    search::SearchEngine e(d, c, l);
    e.Start(threads);
    e.Wait();
    EngineRun r;
    r.lines = l.lines;
    r.stats = e.Stats();
    r.threadCount = e.ThreadCount();
    r.done = l.done;
    r.steps = l.steps;
    r.offThread = l.offThread;
    r.errors = l.errors;
    return r;
}

inline std::vector<std::u16string> Sorted(std::vector<std::u16string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// Conditions with nothing tested: every mating passes (Kiken off), every stallion and mare of the
// data a candidate as marked, result limit large.
inline search::SearchConditions OpenConditions(const MasterData& d, int maxGen)
{
    search::SearchConditions c;
    c.MaxGen = maxGen;
    for (int g = 1; g <= 4; ++g)
        c.HaigoJoken[static_cast<size_t>(g)].Kiken = 0;
    c.ResultLimit = 1 << 30;
    search::RefreshSearchCounts(d, c);
    return c;
}

// A random data set in which crosses, close relations, nicks, groups and effects are all frequent:
// pedigrees are drawn from a small pool of ancestors that also holds the stallions themselves.
struct RandomDataOptions
{
    int pool = 40;
    int dads = 30;
    int mams = 24;
    int lines = 8;
    int groups = 9;
    double unknown = 0.08; // share of unknown entries
};

inline void MakeRandomData(SearchData& s, std::mt19937& rng, const RandomDataOptions& o = {})
{
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto chance = [&](double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; };
    s.d.SpeedCrossRow = pick(3); // 0, 1 or 2
    for (int i = 0; i < o.pool; ++i)
        s.Horse("P" + std::to_string(i), 1 + pick(o.lines), chance(0.5) ? 1 + pick(16) : 0,
                chance(0.3) ? 1 + pick(16) : 0, chance(0.1) ? 0 : 1 + pick(o.groups));
    std::vector<int> selfRows;
    for (int i = 0; i < o.dads; ++i)
        selfRows.push_back(s.Horse("S" + std::to_string(i), 1 + pick(o.lines), chance(0.4) ? 1 + pick(16) : 0, 0,
                                   chance(0.3) ? 0 : 1 + pick(o.groups)));
    const int poolAll = o.pool + o.dads; // rows 0..poolAll-1: pool then stallions
    auto entry = [&]() { return chance(o.unknown) ? -1 : pick(poolAll); };
    for (int i = 0; i < o.dads; ++i) {
        std::array<int32_t, 15> line;
        for (auto& e : line)
            e = chance(o.unknown) ? -1 : pick(o.pool);
        s.Dad("S" + std::to_string(i), line, selfRows[static_cast<size_t>(i)], pick(7)); // Fee 0..6
        s.d.DadTable[static_cast<size_t>(i)].keito = 1 + pick(o.lines);
    }
    for (int i = 0; i < o.mams; ++i) {
        std::array<int32_t, 15> line;
        for (auto& e : line)
            e = entry();
        s.Mam("M" + std::to_string(i), line);
    }
    for (int i = 0; i < 3 * o.lines; ++i)
        s.d.NixList[static_cast<size_t>(s.d.NixCount++)] = { 1 + pick(o.lines), 1 + pick(o.lines), pick(5) - 1 };
}

// Random conditions for generations 1..maxGen over data d; candidate marks are drawn so that a full
// search stays below about maxLeaves leaves.
inline search::SearchConditions RandomConditions(MasterData& d, std::mt19937& rng, int maxGen, int64_t maxLeaves)
{
    using namespace search;
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto chance = [&](double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; };
    SearchConditions c;
    c.MaxGen = maxGen;
    c.ResultLimit = 1 << 30;
    // Candidates: a share of the broodmares (a handful in a large table), and of the stallions per
    // generation so that a full search stays near maxLeaves.
    const double mareShare = std::min(0.7, 6.0 / std::max(1, d.MamCount));
    const double mares = std::max(1.0, mareShare * d.MamCount);
    const double dadShare = std::pow(static_cast<double>(maxLeaves) / mares, 1.0 / maxGen) / std::max(1, d.DadCount);
    for (int i = 0; i < d.DadCount; ++i) {
        int32_t bits = 0;
        for (int g = 1; g <= 4; ++g)
            if (chance(std::min(1.0, dadShare)))
                bits |= 1 << (g - 1);
        d.DadTable[static_cast<size_t>(i)].Selected = bits;
    }
    const int mareMode = pick(4); // 0: none or one mare, else a share
    for (int i = 0; i < d.MamCount; ++i)
        d.MamTable[static_cast<size_t>(i)].Selected = mareMode == 0 ? false : chance(mareShare);
    if (mareMode == 0 && d.MamCount > 0 && chance(0.8))
        d.MamTable[static_cast<size_t>(pick(d.MamCount))].Selected = true;
    // Per generation up to two tests, so that results stay frequent enough to compare.
    for (int g = 1; g <= 4; ++g) {
        HaigoJokenRec& h = c.HaigoJoken[static_cast<size_t>(g)];
        ChildJokenRec& ch = c.ChildJoken[static_cast<size_t>(g)];
        h.Kiken = static_cast<uint8_t>(pick(2));
        const int tests = pick(3);
        for (int t = 0; t < tests; ++t) {
            switch (pick(9)) {
            case 0:
                h.NixBase = 1 + pick(6);
                break;
            case 1:
                h.Omo = static_cast<uint8_t>(pick(2));
                break;
            case 2:
                h.Mig = static_cast<uint8_t>(pick(2));
                break;
            case 3:
                h.Yok = static_cast<uint8_t>(pick(2));
                break;
            case 4:
                h.Outb = static_cast<uint8_t>(pick(2));
                break;
            case 5:
                h.DadNiKoka = pick(2) ? 0 : 1 + pick(16);
                h.MamNiKoka = pick(3) - 1;
                break;
            case 6: {
                const int k = 1 + pick(16);
                h.Crs[static_cast<size_t>(k)] = pick(3);
                h.Ud[static_cast<size_t>(k)] = chance(0.5);
                h.Active = DeriveActive(h);
                if (chance(0.2)) // a record whose Active was not derived: the bounds are then ignored
                    h.Active = false;
                break;
            }
            case 7: {
                const int k = 1 + pick(16);
                ch.Crs[static_cast<size_t>(k)] = pick(3);
                ch.Ud[static_cast<size_t>(k)] = chance(0.5);
                break;
            }
            default:
                ch.NitroSpBound = pick(4);
                ch.NitroStBound = pick(3) - 1;
                ch.NitroTotalBound = pick(6);
                ch.NitroSpUd = chance(0.5);
                ch.NitroStUd = chance(0.5);
                ch.NitroTotalUd = chance(0.5);
                break;
            }
        }
    }
    // Ancestor marks: sometimes one required and one excluded ancestor, taken from the pedigrees of the
    // candidates so that the marks matter.
    c.Sosen = BuildSosenList(d);
    std::vector<std::u16string> seen;
    for (int i = 0; i < d.DadCount; ++i)
        if (d.DadTable[static_cast<size_t>(i)].Selected)
            for (int32_t h : d.DadTable[static_cast<size_t>(i)].Father)
                if (h >= 0 && (d.OyaTable[static_cast<size_t>(h)].a > 0 || d.OyaTable[static_cast<size_t>(h)].b > 0))
                    seen.push_back(d.OyaTable[static_cast<size_t>(h)].name);
    for (int i = 0; i < d.MamCount; ++i)
        if (d.MamTable[static_cast<size_t>(i)].Selected)
            for (int32_t h : d.MamTable[static_cast<size_t>(i)].Father)
                if (h >= 0 && (d.OyaTable[static_cast<size_t>(h)].a > 0 || d.OyaTable[static_cast<size_t>(h)].b > 0))
                    seen.push_back(d.OyaTable[static_cast<size_t>(h)].name);
    for (SosenMark m : { SosenMark::Checked, SosenMark::Unchecked }) {
        if (seen.empty() || !chance(0.3))
            continue;
        const std::u16string name = seen[static_cast<size_t>(pick(static_cast<int>(seen.size())))];
        for (auto& item : c.Sosen)
            if (item.name == name && item.mark == SosenMark::Grayed)
                item.mark = m;
    }
    UpdateSosenFlags(c);
    RefreshSearchCounts(d, c);
    return c;
}

} // namespace velmora::test
