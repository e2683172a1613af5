#include "core/search/search_conditions.h"

#include "core/common/errors.h"

#include <algorithm>
#include <string_view>

namespace velmora::search {

namespace {

// The values the attribute check boxes stand for, in box order (box i allows value i).
constexpr std::u16string_view kDirtValues[] = { u"◎", u"○", u"△" };
constexpr std::u16string_view kGrowValues[] = { u"早熟", u"普通", u"晩成", u"持続" };
constexpr std::u16string_view kGradeValues[] = { u"A", u"B", u"C" };

// Box number (1-based) of a value among the listed ones, 0 when it matches none.
template <size_t N> int ValueBox(const std::u16string_view (&values)[N], std::u16string_view v)
{
    for (size_t i = 0; i < N; ++i)
        if (values[i] == v)
            return static_cast<int>(i) + 1;
    return 0;
}

// A value is excluded only when it is one of the listed values and its box is unchecked.
template <size_t N, size_t M>
bool Allowed(const std::u16string_view (&values)[N], const std::array<bool, M>& boxes, std::u16string_view v)
{
    static_assert(M == N + 1);
    const int box = ValueBox(values, v);
    return box == 0 || boxes[static_cast<size_t>(box)];
}

// Makes a group allow exactly the stallion's value, unless the value is none of the listed ones.
template <size_t N, size_t M>
void AllowOnly(const std::u16string_view (&values)[N], std::array<bool, M>& boxes, std::u16string_view v)
{
    const int box = ValueBox(values, v);
    if (box == 0)
        return;
    for (size_t i = 1; i < M; ++i)
        boxes[i] = static_cast<int>(i) == box;
}

void CheckGeneration(int gen)
{
    if (gen < 1 || gen > kMaxGenerations)
        throw RangeError();
}

bool WithinBound(int32_t value, int32_t bound, bool atLeast)
{
    return atLeast ? value >= bound : value <= bound;
}

} // namespace

bool DeriveActive(const HaigoJokenRec& h)
{
    for (int k = 1; k <= kEffects; ++k)
        if (h.Crs[k] > 0 || !h.Ud[k])
            return true;
    return false;
}

bool ChildConditionsSet(const ChildJokenRec& c)
{
    for (int k = 1; k <= kEffects; ++k)
        if (c.Crs[k] != 0 || !c.Ud[k])
            return true;
    return c.NitroSpBound != 0 || c.NitroStBound != 0 || c.NitroTotalBound != 0 || !c.NitroSpUd || !c.NitroStUd
        || !c.NitroTotalUd;
}

std::array<int32_t, 17> MareEffectCounts(const MasterData& d, const MamFatherRec& m)
{
    std::array<int32_t, 17> counts {};
    for (size_t i = 0; i < m.size(); ++i) {
        const int32_t h = m[i];
        if (h < 0)
            continue;
        bool earlier = false;
        for (size_t e = 0; e < i && !earlier; ++e)
            earlier = m[e] == h;
        if (earlier)
            continue;
        const int32_t a = d.OyaTable[static_cast<size_t>(CheckedIndex(h, kOyaRows))].a;
        if (a >= 1 && a <= kEffects)
            ++counts[static_cast<size_t>(a)];
    }
    return counts;
}

bool MamPasses(const MasterData& d, const MamRec& m, const MamJokenRec& j)
{
    if ((!j.Jika && m.motikomi == u"自家") || (!j.Taka && m.motikomi == u"他家") || (!j.Nasi && m.motikomi == u"無し")
        || (!j.Ari && m.motikomi == u"有り"))
        return false;
    if (m.speed < j.Speed || m.stamina < j.Stamina)
        return false;
    const auto counts = MareEffectCounts(d, m.Father);
    for (int k = 1; k <= kEffects; ++k)
        if (!WithinBound(counts[k], j.Crs[k], j.Ud[k]))
            return false;
    return true;
}

int32_t FilterMams(MasterData& d, const MamJokenRec& j)
{
    int32_t n = 0;
    for (int i = 0; i < d.MamCount; ++i) {
        MamRec& m = d.MamTable[static_cast<size_t>(CheckedIndex(i, kMamRows))];
        m.Selected = MamPasses(d, m, j);
        n += m.Selected ? 1 : 0;
    }
    return n;
}

bool DadPasses(const DadRec& s, const DadJokenRec& j)
{
    return s.Fee >= j.Star && s.Distance1 >= j.Dis1 && s.Distance2 <= j.Dis2 && Allowed(kDirtValues, j.Dirt, s.Dirt)
        && Allowed(kGrowValues, j.Grow, s.Grow) && Allowed(kGradeValues, j.Kisho, s.Kisho)
        && Allowed(kGradeValues, j.Konjo, s.Konjo) && Allowed(kGradeValues, j.Kenko, s.Kenko)
        && Allowed(kGradeValues, j.Jisseki, s.Jisseki) && Allowed(kGradeValues, j.Antei, s.Antei);
}

int32_t FilterDads(MasterData& d, int gen, const DadJokenRec& j)
{
    CheckGeneration(gen);
    const int32_t bit = 1 << (gen - 1);
    int32_t n = 0;
    for (int i = 0; i < d.DadCount; ++i) {
        DadRec& s = d.DadTable[static_cast<size_t>(CheckedIndex(i, kDadRows))];
        if (DadPasses(s, j)) {
            s.Selected |= bit;
            ++n;
        } else {
            s.Selected &= ~bit;
        }
    }
    return n;
}

void FixMam(MasterData& d, int row, MamJokenRec& j)
{
    CheckedIndex(row, d.MamCount);
    for (int i = 0; i < d.MamCount; ++i)
        d.MamTable[static_cast<size_t>(i)].Selected = i == row;
    j.Speed = d.MamTable[static_cast<size_t>(row)].speed;
    j.Stamina = d.MamTable[static_cast<size_t>(row)].stamina;
}

void FixDad(MasterData& d, int gen, int row, DadJokenRec& j)
{
    CheckGeneration(gen);
    CheckedIndex(row, d.DadCount);
    const int32_t bit = 1 << (gen - 1);
    for (int i = 0; i < d.DadCount; ++i) {
        DadRec& s = d.DadTable[static_cast<size_t>(i)];
        s.Selected = i == row ? (s.Selected | bit) : (s.Selected & ~bit);
    }
    const DadRec& s = d.DadTable[static_cast<size_t>(row)];
    j.Dis1 = s.Distance1;
    j.Dis2 = s.Distance2;
    AllowOnly(kDirtValues, j.Dirt, s.Dirt);
    AllowOnly(kGrowValues, j.Grow, s.Grow);
    AllowOnly(kGradeValues, j.Kisho, s.Kisho);
    AllowOnly(kGradeValues, j.Konjo, s.Konjo);
    AllowOnly(kGradeValues, j.Kenko, s.Kenko);
    AllowOnly(kGradeValues, j.Jisseki, s.Jisseki);
    AllowOnly(kGradeValues, j.Antei, s.Antei);
}

int32_t CountMamCandidates(const MasterData& d)
{
    int32_t n = 0;
    for (int i = 0; i < d.MamCount; ++i)
        n += d.MamTable[static_cast<size_t>(CheckedIndex(i, kMamRows))].Selected ? 1 : 0;
    return n;
}

int32_t CountDadCandidates(const MasterData& d, int gen)
{
    CheckGeneration(gen);
    const int32_t bit = 1 << (gen - 1);
    int32_t n = 0;
    for (int i = 0; i < d.DadCount; ++i)
        n += (d.DadTable[static_cast<size_t>(CheckedIndex(i, kDadRows))].Selected & bit) ? 1 : 0;
    return n;
}

void RefreshSearchCounts(const MasterData& d, SearchConditions& c)
{
    c.SearchCounts[0] = CountMamCandidates(d);
    for (int g = 1; g <= kMaxGenerations; ++g)
        c.SearchCounts[static_cast<size_t>(g)] = CountDadCandidates(d, g);
}

int64_t UpdateEstimate(const SearchConditions& c)
{
    const int gen = std::clamp(c.MaxGen, 0, kMaxGenerations);
    int64_t product = c.SearchCounts[0];
    for (int g = 1; g <= gen; ++g)
        product *= c.SearchCounts[static_cast<size_t>(g)];
    return product;
}

ProgressPlan PlanProgress(int64_t estimate)
{
    if (estimate > 10000)
        return { 10000, estimate / 10000 };
    return { std::max<int64_t>(estimate, 0), 1 };
}

std::vector<SosenItem> BuildSosenList(const MasterData& d)
{
    std::vector<SosenItem> items;
    for (int i = 0; i < d.OyaCount; ++i) {
        const OyaRec& r = d.OyaTable[static_cast<size_t>(CheckedIndex(i, kOyaRows))];
        if (r.a > 0 || r.b > 0)
            items.push_back({ r.name, SosenMark::Grayed });
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const SosenItem& x, const SosenItem& y) { return x.name < y.name; });
    return items;
}

void UpdateSosenFlags(SearchConditions& c)
{
    c.SosenRequire = false;
    c.SosenExclude = false;
    for (const auto& item : c.Sosen) {
        c.SosenRequire = c.SosenRequire || item.mark == SosenMark::Checked;
        c.SosenExclude = c.SosenExclude || item.mark == SosenMark::Unchecked;
    }
}

void InitSearchConditions(MasterData& d, SearchConditions& c)
{
    c = SearchConditions {};
    for (int i = 0; i < d.DadCount; ++i)
        d.DadTable[static_cast<size_t>(CheckedIndex(i, kDadRows))].Selected = 15;
    FilterMams(d, c.MamJoken);
    c.Sosen = BuildSosenList(d);
    UpdateSosenFlags(c);
    RefreshSearchCounts(d, c);
}

} // namespace velmora::search
