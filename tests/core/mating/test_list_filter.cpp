// The list filters of the optimal-mating window and the partner search by marked ancestors.

#include "core/common/errors.h"
#include "core/mating/list_filter.h"
#include "core/mating/points.h"
#include "core/mating/scoring.h"
#include "tests/support/eval_fixture.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::DadArray;
using velmora::test::EvalFixture;
using velmora::test::MamArray;

namespace {

TFeeButton Band(int lo, int hi)
{
    TFeeButton b;
    b.Kagen = lo;
    b.Jogen = hi;
    return b;
}

// The default bands of the settings file.
std::array<TFeeButton, 6> StarBands()
{
    return { TFeeButton {}, Band(0, 1), Band(2, 3), Band(3, 4), Band(4, 5), Band(5, 99999) };
}
std::array<TFeeButton, 5> PriceBands()
{
    return { TFeeButton {}, Band(131, 999), Band(108, 130), Band(86, 107), Band(0, 85) };
}
std::array<TFeeButton, 4> SpeedBands()
{
    return { TFeeButton {}, Band(60, 9999), Band(50, 60), Band(0, 50) };
}

DadRec Stallion(std::u16string birth, int fee = 3)
{
    DadRec s;
    s.name = u"S";
    s.birth = std::move(birth);
    s.Fee = fee;
    s.Grow = u"普通";
    s.Dirt = u"○";
    s.Kisho = s.Konjo = s.Kenko = s.Jisseki = s.Antei = u"B";
    return s;
}

struct OriginCase
{
    const char16_t* birth;
    int upButton; // index of the origin button that is up
    bool shown;
};

class OriginFilter : public ::testing::TestWithParam<OriginCase>
{
};

TEST_P(OriginFilter, FirstRuleWithItsButtonUpLeavesTheStallionOut)
{
    const OriginCase c = GetParam();
    StallionFilter f;
    f.origin[static_cast<size_t>(c.upButton)] = false;
    EXPECT_EQ(StallionShown(Stallion(c.birth), f, StarBands()), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Births, OriginFilter,
                         ::testing::Values(OriginCase { u"内国", 0, false }, OriginCase { u"内国", 1, true },
                                           OriginCase { u"外国", 1, false }, OriginCase { u"配信", 1, false },
                                           OriginCase { u"配信", 0, true }, OriginCase { u"\u3000\u3000", 2, false },
                                           OriginCase { u"", 2, false }, OriginCase { u"自家", 2, true },
                                           OriginCase { u"自家", 3, false }, OriginCase { u"外国", 3, true }));

TEST(StarFilter, BandOneIsClosedAndTheOthersOpenAtTheTop)
{
    struct Case
    {
        int fee;
        int upBand;
        bool shown;
    } cases[] = {
        { 1, 1, false }, { 1, 2, true }, { 0, 1, false }, { 2, 2, false }, { 3, 2, true },
        { 3, 3, false }, { 5, 4, true }, { 5, 5, false }, { 6, 5, false }, { 99999, 5, true },
    };
    for (const Case& c : cases) {
        StallionFilter f;
        f.star[static_cast<size_t>(c.upBand - 1)] = false;
        EXPECT_EQ(StallionShown(Stallion(u"内国", c.fee), f, StarBands()), c.shown)
            << "fee " << c.fee << " band " << c.upBand;
    }
}

TEST(AttributeFilter, GrowthDirtAndGradesMatchWholeValues)
{
    DadRec s = Stallion(u"内国");
    StallionFilter f;
    f.grow[0] = false; // 普
    EXPECT_FALSE(StallionShown(s, f, StarBands()));
    s.Grow = u"早熟";
    EXPECT_TRUE(StallionShown(s, f, StarBands()));
    s.Grow.clear(); // no growth type: no rule applies
    EXPECT_TRUE(StallionShown(s, f, StarBands()));

    f = StallionFilter {};
    f.dirt[1] = false; // ○
    EXPECT_FALSE(StallionShown(s, f, StarBands()));
    s.Dirt = u"◎";
    EXPECT_TRUE(StallionShown(s, f, StarBands()));

    // Each grade group tests its own field.
    for (size_t g = 0; g < 5; ++g) {
        f = StallionFilter {};
        f.grade[g][1] = false; // B up
        EXPECT_FALSE(StallionShown(s, f, StarBands())) << g;
        DadRec a = s;
        std::u16string* fields[5] = { &a.Kisho, &a.Konjo, &a.Kenko, &a.Jisseki, &a.Antei };
        *fields[g] = u"A";
        EXPECT_TRUE(StallionShown(a, f, StarBands())) << g;
    }
}

TEST(MareFilterRules, PriceBandsTestSpeedPlusStamina)
{
    MamRec m;
    m.motikomi = u"自家";
    m.Fee = 120; // the base price plays no part in the price bands
    MareFilter f;
    f.price = { false, false, false, false };
    // Sums on the open upper ends lie in no band and are never hidden by the price buttons.
    for (int sum : { 130, 107, 85 }) {
        m.speed = 55;
        m.stamina = sum - 55;
        EXPECT_TRUE(MareShown(m, f, PriceBands(), SpeedBands(), SpeedBands())) << sum;
    }
    m.speed = 60;
    m.stamina = 71; // 131: band 1
    EXPECT_FALSE(MareShown(m, f, PriceBands(), SpeedBands(), SpeedBands()));

    MareFilter j;
    j.jika = false;
    EXPECT_FALSE(MareShown(m, j, PriceBands(), SpeedBands(), SpeedBands()));
    m.motikomi = u"有り";
    EXPECT_TRUE(MareShown(m, j, PriceBands(), SpeedBands(), SpeedBands()));

    MareFilter sp;
    sp.sp[0] = false; // 高: 60..9999
    EXPECT_FALSE(MareShown(m, sp, PriceBands(), SpeedBands(), SpeedBands()));
    m.speed = 59;
    EXPECT_TRUE(MareShown(m, sp, PriceBands(), SpeedBands(), SpeedBands()));
    MareFilter st;
    st.st[2] = false; // 低: 0..50 (open top) against stamina 71
    EXPECT_TRUE(MareShown(m, st, PriceBands(), SpeedBands(), SpeedBands()));
    m.stamina = 49;
    EXPECT_FALSE(MareShown(m, st, PriceBands(), SpeedBands(), SpeedBands()));
}

TEST(BuildLists, MarkEveryRowAndKeepStatusPoints)
{
    EvalFixture fx;
    fx.d.KeiroTable = { u"栗毛" };
    PtsRec pts {};
    pts.dstatus[DStatus::Naikoku] = 7;
    pts.mstatus[MStatus::Jika] = 11;
    const char16_t* births[] = { u"内国", u"外国", u"内国" };
    for (int i = 0; i < 3; ++i) {
        fx.d.DadTable[static_cast<size_t>(i)] = Stallion(births[i], i + 1);
        fx.d.DadTable[static_cast<size_t>(i)].Selected = 9;
    }
    fx.d.DadCount = 3;
    StallionFilter f;
    f.origin[1] = false;
    std::vector<ListRow> rows { ListRow { 42, 1, 1 } };
    BuildStallionList(fx.d, pts, f, StarBands(), rows);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (ListRow { 0, 0, StallionStatusPoints(fx.d, pts, fx.d.DadTable[0]) }));
    EXPECT_EQ(rows[1].index, 2);
    EXPECT_EQ(rows[0].status, 7);
    EXPECT_EQ(fx.d.DadTable[0].Selected, 1);
    EXPECT_EQ(fx.d.DadTable[1].Selected, 0);
    EXPECT_EQ(fx.d.DadTable[2].Selected, 1);

    for (int i = 0; i < 2; ++i) {
        MamRec& m = fx.d.MamTable[static_cast<size_t>(i)];
        m.motikomi = i == 0 ? u"自家" : u"他家";
        m.speed = m.stamina = 40;
        m.Selected = false;
    }
    fx.d.MamCount = 2;
    MareFilter mf;
    BuildMareList(fx.d, pts, mf, PriceBands(), SpeedBands(), SpeedBands(), rows);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].status, 11);
    EXPECT_EQ(rows[1].status, 0);
    EXPECT_TRUE(fx.d.MamTable[1].Selected);
    mf.jika = false;
    BuildMareList(fx.d, pts, mf, PriceBands(), SpeedBands(), SpeedBands(), rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].index, 1);
    EXPECT_FALSE(fx.d.MamTable[0].Selected);
}

// Stallion S (position 0) with ancestor X at position 2 and Y at position 5; mares with X and Y at
// chosen positions.
struct PartnerFixture : EvalFixture
{
    int s, x, y, z;
    DadFatherRec f;
    std::vector<ListRow> mares;

    PartnerFixture()
    {
        s = Horse(u"S");
        x = Horse(u"X", 0, 1);
        y = Horse(u"Y", 0, 2);
        z = Horse(u"Z");
        f = DadArray({ { 0, s }, { 2, x }, { 5, y } });
        AddMare(u"A", MamArray({ { 2, x }, { 8, x }, { 3, y } })); // X twice: generations 3 and 5; Y once
        AddMare(u"B", MamArray({ { 5, x } })); // X only
        AddMare(u"C", MamArray({ { 1, z } })); // nothing in common
        AddMare(u"D", MamArray({ { 13, y }, { 4, x } })); // Y at 13 (generation 5), X at 4
    }

    void AddMare(std::u16string name, const MamFatherRec& m)
    {
        MamRec& r = d.MamTable[static_cast<size_t>(d.MamCount)];
        r.name = std::move(name);
        r.Father = m;
        mares.push_back(ListRow { d.MamCount, 0, 0 });
        ++d.MamCount;
    }
};

TEST(PartnerSearch, MaresThatCrossEveryMarkedAncestorWithTheGenerationsOfTheClickedOne)
{
    PartnerFixture fx;
    std::array<bool, 16> marks {};
    marks[2] = true;
    EXPECT_EQ(MarePartnerCaptions(fx.d, fx.f, marks, 2, fx.mares),
              (std::vector<std::u16string> { u"A,3,5", u"B,4", u"D,4" }));
    marks[5] = true;
    EXPECT_EQ(MarePartnerCaptions(fx.d, fx.f, marks, 2, fx.mares), (std::vector<std::u16string> { u"A,3,5", u"D,4" }));
    EXPECT_EQ(MarePartnerCaptions(fx.d, fx.f, marks, 5, fx.mares), (std::vector<std::u16string> { u"A,3", u"D,5" }));
    // The list order is kept.
    std::reverse(fx.mares.begin(), fx.mares.end());
    EXPECT_EQ(MarePartnerCaptions(fx.d, fx.f, marks, 5, fx.mares), (std::vector<std::u16string> { u"D,5", u"A,3" }));
}

TEST(PartnerSearch, StallionsFromTheMareSide)
{
    PartnerFixture fx;
    // Stallions: S himself, and T who is X (so X stands at his position 0).
    fx.d.DadTable[0].name = u"S";
    fx.d.DadTable[0].Father = fx.f;
    fx.d.DadTable[1].name = u"T";
    fx.d.DadTable[1].Father = DadArray({ { 0, fx.x }, { 1, fx.z } });
    fx.d.DadCount = 2;
    const std::vector<ListRow> stallions { ListRow { 0, 0, 0 }, ListRow { 1, 0, 0 } };
    const MamFatherRec mareA = fx.d.MamTable[0].Father;
    std::array<bool, 16> marks {};
    marks[8] = true; // X at the mare's position 8
    EXPECT_EQ(StallionPartnerCaptions(fx.d, mareA, marks, 8, stallions),
              (std::vector<std::u16string> { u"S,3", u"T,1" }));
    marks[3] = true; // Y: only S has him
    EXPECT_EQ(StallionPartnerCaptions(fx.d, mareA, marks, 3, stallions), (std::vector<std::u16string> { u"S,4" }));
}

TEST(PartnerSearch, UnknownEntriesNeverMatch)
{
    PartnerFixture fx;
    std::array<bool, 16> marks {};
    marks[7] = true; // position 7 of the stallion is unknown
    EXPECT_TRUE(MarePartnerCaptions(fx.d, fx.f, marks, 7, fx.mares).empty());
    EXPECT_THROW(MarePartnerCaptions(fx.d, fx.f, marks, 16, fx.mares), RangeError);
}

TEST(PartnerSearch, NameIsTheTextBeforeTheFirstComma)
{
    EXPECT_EQ(PartnerName(u"ﾉｰｽ,3,5"), u"ﾉｰｽ");
    EXPECT_EQ(PartnerName(u"ﾉｰｽ"), u"ﾉｰｽ");
    EXPECT_EQ(PartnerName(u""), u"");
}

} // namespace
