#include "tests/support/reference_search.h"

#include "core/eval/positions.h"
#include "core/eval/rules.h"
#include "core/search/search_engine.h"

#include <algorithm>

namespace velmora::search {

namespace {

bool Within(int32_t v, int32_t bound, bool atLeast)
{
    return atLeast ? v >= bound : v <= bound;
}

bool Setting(uint8_t setting, int result)
{
    if (setting == 2)
        return true;
    if (setting == 1)
        return result >= 1;
    return result == 0;
}

bool Likeness(int32_t koka, const std::array<int32_t, 17>& counts)
{
    if (koka == 0) {
        for (int k = 1; k <= kEffects; ++k)
            if (counts[k] != 0)
                return false;
        return true;
    }
    if (koka >= 1 && koka <= kEffects)
        return counts[koka] != 0;
    return true;
}

bool Occurs(int32_t row, const DadRec& dad, const MamRec& mam)
{
    if (row < 0)
        return false;
    return std::find(dad.Father.begin(), dad.Father.end(), row) != dad.Father.end()
        || std::find(mam.Father.begin(), mam.Father.end(), row) != mam.Father.end();
}

struct Walk
{
    MasterData& d;
    const SearchConditions& c;
    std::array<bool, 5> childSet {};
    ReferenceOutcome out;
    int64_t resultCount = 0;

    int64_t LeavesBelow(int depth) const
    {
        int64_t n = 1;
        for (int g = depth + 1; g <= c.MaxGen; ++g)
            n *= c.SearchCounts[static_cast<size_t>(g)];
        return n;
    }

    void Search(const MamRec& mam, int depth)
    {
        const int32_t mask = 1 << (depth - 1);
        for (int i = 0; i < d.DadCount; ++i) {
            const DadRec& dad = d.DadTable[static_cast<size_t>(i)];
            if ((dad.Selected & mask) == 0)
                continue;
            const bool ok = ReferenceMatingTests(d, c.HaigoJoken[static_cast<size_t>(depth)],
                                                 c.ChildJoken[static_cast<size_t>(depth)],
                                                 childSet[static_cast<size_t>(depth)], dad, mam);
            if (depth < c.MaxGen) {
                if (ok) {
                    MamRec foal;
                    foal.name = mam.name + u" * " + dad.name;
                    foal.keito = dad.keito;
                    foal.Father = FoalArray(dad.Father, mam.Father);
                    foal.Selected = false;
                    Search(foal, depth + 1);
                } else {
                    out.countedLeaves += LeavesBelow(depth);
                }
            } else {
                ++out.testedLeaves;
                ++out.countedLeaves;
                if (ok && ReferenceSosenPasses(d, c, dad, mam)) {
                    ++resultCount;
                    if (resultCount > c.ResultLimit)
                        out.stopped = true;
                    else
                        out.lines.push_back(mam.name + u" * " + dad.name);
                }
            }
            if (out.stopped)
                return;
        }
    }
};

} // namespace

bool ReferenceMatingTests(const MasterData& d, const HaigoJokenRec& h, const ChildJokenRec& c, bool childSet,
                          const DadRec& dad, const MamRec& mam)
{
    const DadFatherRec& f = dad.Father;
    const MamFatherRec& m = mam.Father;
    if (h.NixBase > 0 && CalcNix(d, dad.Fee, f, m) < h.NixBase)
        return false;
    if (h.Omo != 2 && !Setting(h.Omo, CheckOmo(d, f, m)))
        return false;
    if (h.Mig != 2 && !Setting(h.Mig, CheckMig(d, f, m)))
        return false;
    if (h.Yok != 2 && !Setting(h.Yok, CheckYok(d, f, m)))
        return false;
    CrossAnalysis r;
    AnalyzeCrosses(d, f, m, r);
    if (h.Outb == 1 && r.Crosses > 0)
        return false;
    if (h.Kiken == 1 && r.Taboo)
        return false;
    if (h.Kiken == 1 && r.Crosses >= 7)
        return false;
    if (h.Active)
        for (int k = 1; k <= kEffects; ++k)
            if (!Within(r.InCross[k], h.Crs[k], h.Ud[k]))
                return false;
    if (childSet) {
        for (int k = 1; k <= kEffects; ++k)
            if (!Within(r.Kosei[k], c.Crs[k], c.Ud[k]))
                return false;
        if (!Within(r.NitroSp, c.NitroSpBound, c.NitroSpUd) || !Within(r.NitroSt, c.NitroStBound, c.NitroStUd)
            || !Within(r.NitroSp + r.NitroSt, c.NitroTotalBound, c.NitroTotalUd))
            return false;
    }
    if (!Likeness(h.DadNiKoka, r.DadNi))
        return false;
    if (!Likeness(h.MamNiKoka, r.MamNi))
        return false;
    return true;
}

bool ReferenceSosenPasses(const MasterData& d, const SearchConditions& c, const DadRec& dad, const MamRec& mam)
{
    if (c.SosenExclude)
        for (const SosenItem& item : c.Sosen)
            if (item.mark == SosenMark::Unchecked && Occurs(FindOya(d, item.name), dad, mam))
                return false;
    if (c.SosenRequire)
        for (const SosenItem& item : c.Sosen)
            if (item.mark == SosenMark::Checked && !Occurs(FindOya(d, item.name), dad, mam))
                return false;
    return true;
}

ReferenceOutcome ReferenceSearch(MasterData& d, const SearchConditions& conditions)
{
    SearchConditions c = conditions;
    UpdateSosenFlags(c);
    RefreshSearchCounts(d, c);
    FillInterestingLines(d, c.MaxGen);
    Walk walk { d, c, {}, {}, 0 };
    for (int g = 1; g <= kMaxGenerations; ++g)
        walk.childSet[static_cast<size_t>(g)] = ChildConditionsSet(c.ChildJoken[static_cast<size_t>(g)]);
    for (int i = 0; i < d.MamCount && !walk.out.stopped; ++i) {
        const MamRec& mam = d.MamTable[static_cast<size_t>(i)];
        if (mam.Selected)
            walk.Search(mam, 1);
    }
    return walk.out;
}

} // namespace velmora::search
