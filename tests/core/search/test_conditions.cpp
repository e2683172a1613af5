// The window-free steps of the search conditions: derived flags, the broodmare and stallion filters,
// fixing one horse, candidate counts, the estimate and the progress plan, the ancestor list.

#include "core/common/errors.h"
#include "core/search/search_conditions.h"
#include "search_fixture.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::search;
using velmora::test::SearchData;
using velmora::test::Unknown15;

TEST(SearchRecords, InitialValues)
{
    const DadJokenRec dj;
    EXPECT_EQ(dj.Star, 1);
    EXPECT_EQ(dj.Dis1, 1000);
    EXPECT_EQ(dj.Dis2, 3600);
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(dj.Dirt[i] && dj.Kisho[i] && dj.Konjo[i] && dj.Kenko[i] && dj.Jisseki[i] && dj.Antei[i]);
    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(dj.Grow[i]);
    const HaigoJokenRec h;
    EXPECT_EQ(h.NixBase, 0);
    EXPECT_EQ(h.Omo, 2);
    EXPECT_EQ(h.Mig, 2);
    EXPECT_EQ(h.Yok, 2);
    EXPECT_EQ(h.Outb, 2);
    EXPECT_EQ(h.Kiken, 1);
    EXPECT_EQ(h.MamNiKoka, -1);
    EXPECT_EQ(h.DadNiKoka, -1);
    EXPECT_FALSE(h.Active);
    const ChildJokenRec c;
    for (int k = 1; k <= 16; ++k) {
        EXPECT_EQ(h.Crs[k], 0);
        EXPECT_TRUE(h.Ud[k]);
        EXPECT_EQ(c.Crs[k], 0);
        EXPECT_TRUE(c.Ud[k]);
    }
    EXPECT_TRUE(c.NitroSpUd && c.NitroStUd && c.NitroTotalUd);
    EXPECT_EQ(c.NitroSpBound + c.NitroStBound + c.NitroTotalBound, 0);
    EXPECT_FALSE(DeriveActive(h));
    EXPECT_FALSE(ChildConditionsSet(c));
}

TEST(SearchRecords, ActiveAndChildSetAreDerivedFromEveryBoundAndDirection)
{
    for (int k = 1; k <= 16; ++k) {
        HaigoJokenRec h;
        h.Crs[k] = 1;
        EXPECT_TRUE(DeriveActive(h)) << k;
        HaigoJokenRec u;
        u.Ud[k] = false;
        EXPECT_TRUE(DeriveActive(u)) << k;
        ChildJokenRec c;
        c.Crs[k] = 2;
        EXPECT_TRUE(ChildConditionsSet(c)) << k;
        ChildJokenRec cu;
        cu.Ud[k] = false;
        EXPECT_TRUE(ChildConditionsSet(cu)) << k;
    }
    HaigoJokenRec unused;
    unused.Crs[0] = 5; // element 0 is not an effect
    unused.Ud[0] = false;
    EXPECT_FALSE(DeriveActive(unused));
    const auto nitro = [](auto set) {
        ChildJokenRec c;
        set(c);
        return ChildConditionsSet(c);
    };
    EXPECT_TRUE(nitro([](ChildJokenRec& c) { c.NitroSpBound = 1; }));
    EXPECT_TRUE(nitro([](ChildJokenRec& c) { c.NitroStBound = -1; }));
    EXPECT_TRUE(nitro([](ChildJokenRec& c) { c.NitroTotalBound = 3; }));
    EXPECT_TRUE(nitro([](ChildJokenRec& c) { c.NitroSpUd = false; }));
    EXPECT_TRUE(nitro([](ChildJokenRec& c) { c.NitroStUd = false; }));
    EXPECT_TRUE(nitro([](ChildJokenRec& c) { c.NitroTotalUd = false; }));
}

namespace {
struct MareFilterCase
{
    const char16_t* motikomi;
    bool passesInitially;
};
} // namespace

TEST(FilterMams, OriginBoxesExcludeOnlyTheirOwnValue)
{
    const MareFilterCase cases[] = { { u"自家", false }, { u"他家", false }, { u"無し", true },
                                     { u"有り", true },  { u"", true },      { u"不明", true } };
    SearchData s;
    for (const auto& c : cases) {
        const int m = s.Mam("M", Unknown15());
        s.d.MamTable[static_cast<size_t>(m)].motikomi = c.motikomi;
    }
    MamJokenRec j;
    EXPECT_EQ(FilterMams(s.d, j), 4);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(s.d.MamTable[i].Selected, cases[i].passesInitially) << i;
    j.Jika = j.Taka = true;
    j.Nasi = j.Ari = false;
    EXPECT_EQ(FilterMams(s.d, j), 4);
    EXPECT_TRUE(s.d.MamTable[0].Selected && s.d.MamTable[1].Selected);
    EXPECT_FALSE(s.d.MamTable[2].Selected || s.d.MamTable[3].Selected);
    EXPECT_TRUE(s.d.MamTable[4].Selected && s.d.MamTable[5].Selected);
}

TEST(FilterMams, SpeedStaminaAndCompositionBounds)
{
    SearchData s;
    const int e3a = s.Horse("A3", 1, 3, 0);
    const int e3b = s.Horse("B3", 1, 3, 0);
    const int b3 = s.Horse("b3", 1, 0, 3); // effect 3 only as the second effect: not counted
    auto line = Unknown15();
    line[0] = e3a;
    line[1] = e3a; // the same ancestor twice counts once
    line[2] = e3b;
    line[3] = b3;
    const int m = s.Mam("M", line);
    s.d.MamTable[static_cast<size_t>(m)].speed = 50;
    s.d.MamTable[static_cast<size_t>(m)].stamina = 40;
    EXPECT_EQ(MareEffectCounts(s.d, line)[3], 2);

    struct Case
    {
        int speed, stamina, bound;
        bool atLeast;
        bool passes;
    };
    const Case cases[] = {
        { 50, 40, 2, true, true }, { 51, 40, 0, true, false }, { 50, 41, 0, true, false }, { 0, 0, 3, true, false },
        { 0, 0, 2, false, true },  { 0, 0, 1, false, false },  { 0, 0, 0, true, true },
    };
    for (const auto& c : cases) {
        MamJokenRec j;
        j.Speed = c.speed;
        j.Stamina = c.stamina;
        j.Crs[3] = c.bound;
        j.Ud[3] = c.atLeast;
        EXPECT_EQ(FilterMams(s.d, j), c.passes ? 1 : 0) << c.speed << " " << c.stamina << " " << c.bound;
    }
}

TEST(FilterDads, SetsOnlyTheBitOfItsGeneration)
{
    SearchData s;
    struct Row
    {
        int fee, d1, d2;
        const char16_t* dirt;
        const char16_t* grow;
        const char16_t* kisho;
    };
    const Row rows[] = {
        { 3, 1200, 2400, u"◎", u"早熟", u"A" }, // passes
        { 0, 1200, 2400, u"◎", u"早熟", u"A" }, // star below 1
        { 3, 800, 2400, u"○", u"普通", u"B" }, // Distance1 below Dis1
        { 3, 1200, 3800, u"△", u"晩成", u"C" }, // Distance2 above Dis2
        { 3, 1200, 2400, u"", u"", u"" }, // empty values never exclude
        { 3, 1200, 2400, u"×", u"不明", u"D" }, // unlisted values never exclude
    };
    for (const auto& r : rows) {
        const int i = s.Dad("S", Unknown15());
        DadRec& d = s.d.DadTable[static_cast<size_t>(i)];
        d.Fee = r.fee;
        d.Distance1 = r.d1;
        d.Distance2 = r.d2;
        d.Dirt = r.dirt;
        d.Grow = r.grow;
        d.Kisho = r.kisho;
        d.Selected = 0b1010; // generations 2 and 4
    }
    DadJokenRec j;
    EXPECT_EQ(FilterDads(s.d, 1, j), 3);
    const int32_t expect[] = { 0b1011, 0b1010, 0b1010, 0b1010, 0b1011, 0b1011 };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(s.d.DadTable[i].Selected, expect[i]) << i;
    EXPECT_EQ(FilterDads(s.d, 2, j), 3);
    EXPECT_EQ(s.d.DadTable[1].Selected, 0b1000); // generation 2 bit cleared
    EXPECT_EQ(CountDadCandidates(s.d, 2), 3);
    EXPECT_EQ(CountDadCandidates(s.d, 4), 6);

    // Unchecking a value drops exactly the stallions with that value.
    j.Dirt[1] = false; // ◎
    EXPECT_EQ(FilterDads(s.d, 3, j), 2);
    EXPECT_FALSE(s.d.DadTable[0].Selected & 4);
    j = DadJokenRec {};
    j.Kisho[1] = false;
    j.Grow[1] = false;
    EXPECT_EQ(FilterDads(s.d, 3, j), 2);
    EXPECT_THROW(FilterDads(s.d, 0, j), RangeError);
    EXPECT_THROW(FilterDads(s.d, 5, j), RangeError);
}

TEST(FixHorse, FixDadKeepsOtherGenerationsAndCopiesItsValues)
{
    SearchData s;
    for (int i = 0; i < 3; ++i)
        s.Dad("S" + std::to_string(i), Unknown15());
    DadRec& d = s.d.DadTable[1];
    d.Distance1 = 1400;
    d.Distance2 = 2000;
    d.Dirt = u"○";
    d.Grow = u"持続";
    d.Kisho = u"B";
    d.Konjo = u"?"; // unlisted: the group stays as it was
    DadJokenRec j;
    j.Star = 4;
    j.Konjo[2] = false;
    FixDad(s.d, 2, 1, j);
    EXPECT_EQ(s.d.DadTable[0].Selected, 0b1101);
    EXPECT_EQ(s.d.DadTable[1].Selected, 0b1111);
    EXPECT_EQ(s.d.DadTable[2].Selected, 0b1101);
    EXPECT_EQ(j.Dis1, 1400);
    EXPECT_EQ(j.Dis2, 2000);
    EXPECT_EQ(j.Star, 4);
    EXPECT_FALSE(j.Dirt[1]);
    EXPECT_TRUE(j.Dirt[2]);
    EXPECT_FALSE(j.Dirt[3]);
    EXPECT_FALSE(j.Grow[1] || j.Grow[2] || j.Grow[3]);
    EXPECT_TRUE(j.Grow[4]);
    EXPECT_TRUE(!j.Kisho[1] && j.Kisho[2] && !j.Kisho[3]);
    EXPECT_TRUE(j.Konjo[1] && !j.Konjo[2] && j.Konjo[3]);
    EXPECT_THROW(FixDad(s.d, 2, 3, j), RangeError);

    for (int i = 0; i < 3; ++i)
        s.Mam("M", Unknown15());
    s.d.MamTable[2].speed = 70;
    s.d.MamTable[2].stamina = 30;
    MamJokenRec mj;
    FixMam(s.d, 2, mj);
    EXPECT_EQ(CountMamCandidates(s.d), 1);
    EXPECT_TRUE(s.d.MamTable[2].Selected);
    EXPECT_EQ(mj.Speed, 70);
    EXPECT_EQ(mj.Stamina, 30);
}

TEST(Estimate, ProductOverTheSearchedGenerationsOnly)
{
    SearchConditions c;
    c.SearchCounts = { 7, 3, 5, 11, 13 };
    const int64_t expect[] = { 7, 21, 105, 1155, 15015 };
    for (int g = 0; g <= 4; ++g) {
        c.MaxGen = g;
        EXPECT_EQ(UpdateEstimate(c), expect[g]) << g;
    }
    // Beyond 32 bits: 700 * 512^4.
    c.SearchCounts = { 700, 512, 512, 512, 512 };
    c.MaxGen = 4;
    EXPECT_EQ(UpdateEstimate(c), int64_t { 700 } * 512 * 512 * 512 * 512);
}

TEST(Estimate, ProgressPlanFromThe64BitEstimate)
{
    struct Case
    {
        int64_t estimate, range, stepDiv;
    };
    const Case cases[] = {
        { 0, 0, 1 },
        { 1, 1, 1 },
        { 10000, 10000, 1 },
        { 10001, 10000, 1 },
        { 25000, 10000, 2 },
        { int64_t { 700 } * 512 * 512 * 512, 10000, int64_t { 700 } * 512 * 512 * 512 / 10000 }, // > 2^31
    };
    for (const auto& c : cases) {
        const ProgressPlan p = PlanProgress(c.estimate);
        EXPECT_EQ(p.range, c.range) << c.estimate;
        EXPECT_EQ(p.stepDiv, c.stepDiv) << c.estimate;
    }
}

TEST(InitSearchConditions, EveryStallionEveryGenerationAndFilteredMares)
{
    SearchData s;
    const int crossed = s.Horse("Z", 1, 2, 0);
    s.Horse("Y", 1, 0, 5);
    s.Horse("X", 1, 0, 0);
    const int zero = s.Dad("Star0", Unknown15(), -1, 0); // star 0 stays a candidate until filtered
    s.d.DadTable[static_cast<size_t>(zero)].Selected = 0;
    s.Dad("Star3", Unknown15());
    s.Mam("Home", Unknown15());
    s.d.MamTable[0].motikomi = u"自家";
    s.Mam("Plain", { crossed, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1 });
    SearchConditions c;
    c.MaxGen = 3;
    InitSearchConditions(s.d, c);
    EXPECT_EQ(c.MaxGen, 1);
    EXPECT_EQ(s.d.DadTable[0].Selected, 15);
    EXPECT_EQ(s.d.DadTable[1].Selected, 15);
    EXPECT_EQ(c.SearchCounts[0], 1);
    EXPECT_EQ(c.SearchCounts[1], 2);
    EXPECT_EQ(c.SearchCounts[4], 2);
    EXPECT_FALSE(s.d.MamTable[0].Selected);
    // The ancestor list: rows with an effect, sorted, all grayed.
    ASSERT_EQ(c.Sosen.size(), 2u);
    EXPECT_EQ(c.Sosen[0].name, u"Y");
    EXPECT_EQ(c.Sosen[1].name, u"Z");
    EXPECT_FALSE(c.SosenRequire || c.SosenExclude);
    c.Sosen[1].mark = SosenMark::Checked;
    UpdateSosenFlags(c);
    EXPECT_TRUE(c.SosenRequire);
    EXPECT_FALSE(c.SosenExclude);
    c.Sosen[0].mark = SosenMark::Unchecked;
    UpdateSosenFlags(c);
    EXPECT_TRUE(c.SosenRequire && c.SosenExclude);
    // The stallion 初期化 on a generation applies Star = 1 and drops the star-0 stallion there.
    EXPECT_EQ(FilterDads(s.d, 2, c.DadJoken[2]), 1);
    EXPECT_EQ(s.d.DadTable[0].Selected, 0b1101);
}
