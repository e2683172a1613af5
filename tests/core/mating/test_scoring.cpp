#include "core/common/errors.h"
#include "core/eval/rules.h"
#include "core/mating/points.h"
#include "core/mating/scoring.h"
#include "tests/support/eval_fixture.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace velmora {
namespace {

using test::DadArray;
using test::EvalFixture;
using test::MamArray;

// A stallion and a mare with pedigrees built per test, scored under a table that starts all zero so
// that each test switches on exactly the weights it looks at.
struct ScoringTest : ::testing::Test
{
    EvalFixture fx;
    PtsRec pts;
    DadRec s;
    MamRec m;

    void SetUp() override
    {
        s.name = u"S";
        s.Fee = 1;
        s.Father = DadArray({ { 0, fx.Horse(u"S", 0) } });
        m.name = u"M";
        m.Father = UnknownMamArray();
    }

    int32_t Score() { return PairScore(fx.d, pts, s, m); }

    // Puts n distinct crossed ancestors (no effects) at stallion and mare positions 8.. .
    void Crosses(int n)
    {
        for (int i = 0; i < n; ++i) {
            const int h = fx.Horse(u"C" + std::u16string(1, char16_t(u'a' + i)), 0);
            s.Father[static_cast<size_t>(8 + i)] = h;
            m.Father[static_cast<size_t>(8 + i - 1)] = h;
        }
    }
};

TEST_F(ScoringTest, AllZeroTableGivesZero)
{
    const int x = fx.Horse(u"X", 3, 1, 2, 4);
    s.Father[1] = x;
    m.Father[0] = x;
    s.keito = m.keito = 3;
    s.Kisho = u"A";
    EXPECT_EQ(CompatValue(fx.d, pts, s, m), 0);
    m.Father[0] = -1;
    EXPECT_EQ(CompatValue(fx.d, pts, s, m), 0);
}

TEST_F(ScoringTest, OutbreedingReplacesTemperamentAndAddsParentLikeness)
{
    pts.haigo.Outb = 2000;
    pts.dstatus[DStatus::KishoA] = 70;
    pts.dstatus[DStatus::KishoO] = 5;
    pts.dstatus[DStatus::KenkoA] = 300; // status only, not subtracted
    pts.dstatus[DStatus::KenkoO] = 7;
    pts.Oyani[4] = 11;
    pts.Oyani[6] = 13;
    pts.CrosNum[1] = 100000;
    s.Kisho = u"A";
    s.Kenko = u"A";
    const int e4 = fx.Horse(u"E4", 0, 4, 0);
    const int e6 = fx.Horse(u"E6", 0, 6, 4);
    s.Father[2] = e4;
    m.Father[0] = e6;
    m.Father[1] = e6;
    // DadNi[4] = 1; MamNi[6] = 2, MamNi[4] = 2.
    EXPECT_EQ(Score(), 2000 - 70 + 5 + 7 + 11 * 1 + 13 * 2 + 11 * 2);
    EXPECT_EQ(StallionStatusPoints(fx.d, pts, s), 370);

    // Temperament grade not A/B/C: nothing subtracted.
    s.Kisho = u"";
    EXPECT_EQ(Score(), 2000 + 5 + 7 + 11 * 1 + 13 * 2 + 11 * 2);

    // One cross instead: CrosNum[1] and none of the outbreeding points.
    s.Kisho = u"A";
    Crosses(1);
    EXPECT_EQ(Score(), 100000);
}

TEST_F(ScoringTest, CrossCountPoints)
{
    for (int n = 1; n <= 16; ++n)
        pts.CrosNum[static_cast<size_t>(n)] = n * 10;
    pts.haigo.Kiken = -5000;
    pts.haigo.Taboo = -10000;
    struct Case
    {
        int crosses;
        bool taboo;
        int32_t expected;
    };
    const Case cases[] = { { 1, false, 10 },    { 6, false, 60 },         { 7, false, -5000 },
                           { 8, false, -5000 }, { 1, true, -10000 + 20 }, { 8, true, -15000 } };
    for (const Case& c : cases) {
        SetUp();
        Crosses(c.crosses);
        if (c.taboo)
            m.Father[0] = s.Father[0]; // the stallion is the mare's sire: one more cross
        CrossAnalysis r;
        const int32_t score = PairScore(fx.d, pts, s, m, &r);
        EXPECT_EQ(r.Taboo, c.taboo);
        EXPECT_EQ(score, c.expected) << c.crosses << (c.taboo ? " taboo" : "");
    }
}

TEST_F(ScoringTest, CrossedEffectsAddPerMatchingPair)
{
    pts.cros[0] = 1;
    pts.cros[3] = 100;
    pts.cros[5] = 10000;
    pts.CrosNum[1] = pts.CrosNum[2] = pts.CrosNum[3] = 0;
    const int x = fx.Horse(u"X", 0, 3, 0);
    s.Father[4] = x;
    m.Father[5] = x; // mare position 6
    EXPECT_EQ(Score(), 100 + 1);

    // Twice on the stallion's side, once on the mare's: added twice.
    s.Father[13] = x;
    EXPECT_EQ(Score(), 2 * 101);

    // A crossed ancestor without a first effect (CrossKind 0) adds nothing, its second effect neither.
    SetUp();
    const int y = fx.Horse(u"Y", 0, 0, 5);
    s.Father[4] = y;
    m.Father[5] = y;
    EXPECT_EQ(Score(), 0);

    // An ancestor row named 未登録 takes no part.
    SetUp();
    const int u = fx.Horse(std::u16string(kUnregistered), 0, 5, 5);
    s.Father[4] = u;
    m.Father[5] = u;
    EXPECT_EQ(Score(), 0);
}

TEST_F(ScoringTest, CompositionPoints)
{
    pts.Nitro[2] = 3;
    pts.Nitro[9] = 1000;
    s.Father[1] = fx.Horse(u"A", 0, 2, 9);
    s.Father[2] = fx.Horse(u"B", 0, 2, 0);
    m.Father[0] = fx.Horse(u"C", 0, 9, 2);
    EXPECT_EQ(Score(), 3 * 3 + 1000 * 2);
}

TEST_F(ScoringTest, NickGrades)
{
    pts.haigo = { 0, 0, 0, 0, 800, 600, 400, 200, 0, 0, 0 };
    struct Case
    {
        int nix;
        int32_t expected;
    };
    const Case cases[] = { { 38, 800 }, { 37, 600 }, { 34, 600 }, { 33, 400 }, { 30, 400 }, { 29, 0 },
                           { 28, 200 }, { 25, 200 }, { 24, 0 },   { 0, 0 },    { 99, 800 } };
    for (const Case& c : cases) {
        SetUp();
        s.Father[0] = fx.Horse(u"S2", 4);
        const int line = 8;
        m.Father[0] = fx.Horse(u"m1", line);
        m.Father[2] = fx.Horse(u"m3", 1);
        m.Father[6] = fx.Horse(u"m7", 1);
        m.Father[14] = fx.Horse(u"m15", 1);
        fx.d.NixCount = 0;
        fx.Nix(4, line, c.nix); // rank 1, chain 1: (10 * v + 9) / 10 = v
        ASSERT_EQ(CalcNix(fx.d, s.Fee, s.Father, m.Father), c.nix);
        EXPECT_EQ(Score(), c.expected) << c.nix;
    }
}

TEST_F(ScoringTest, SameLine)
{
    pts.haigo.Dokei = 77;
    s.keito = m.keito = 0;
    EXPECT_EQ(Score(), 0);
    s.keito = m.keito = 5;
    EXPECT_EQ(Score(), 77);
    m.keito = 6;
    EXPECT_EQ(Score(), 0);
}

TEST_F(ScoringTest, MatingTypes)
{
    pts.haigo.Omo = 1;
    pts.haigo.Mig = 10;
    pts.haigo.Yok = 100;
    // Groups: stallion chains 0, 5, 3, 7 and positions 9, 11, 13, 15; mare chains 1, 5, 3, 7.
    auto g = [&](int group) { return fx.GroupHorse(group); };
    s.Father = DadArray(
        { { 0, g(1) }, { 5, g(2) }, { 3, g(3) }, { 7, g(4) }, { 9, g(5) }, { 11, g(6) }, { 13, g(7) }, { 15, g(8) } });
    m.Father = MamArray({ { 1, g(5) }, { 5, g(6) }, { 3, g(7) }, { 7, g(8) } });
    // Interesting: groups 1,2,3,4 + 5,6,7,8 = 8 distinct; splendid and well-made: same sets.
    EXPECT_EQ(Score(), 111);
    m.Father[6] = g(9); // mare chain 7 now group 9: 8 distinct still, splendid no, well-made yes
    EXPECT_EQ(Score(), 101);
    m.Father[6] = -1; // chain 7 without a horse: all undecidable
    EXPECT_EQ(Score(), 0);
}

TEST_F(ScoringTest, StallionStatus)
{
    fx.d.KeiroTable = { u"栗毛", u"鹿毛" };
    PtsRec& p = pts;
    for (int i = 0; i < DStatus::Count; ++i)
        p.dstatus[static_cast<size_t>(i)] = 1 << (i % 30);
    p.dstatus[DStatus::StarLow] = 2;
    p.dstatus[DStatus::StarHigh] = 4;
    p.dstatus[DStatus::DistLow] = 1000;
    p.dstatus[DStatus::DistHigh] = 3600;
    p.dcolor = u"鹿毛";
    auto pts_of = [&](int index) { return p.dstatus[static_cast<size_t>(index)]; };

    DadRec base;
    base.Fee = 1;
    base.Distance1 = 1200;
    base.Distance2 = 2000;
    base.keiro = 0;
    EXPECT_EQ(StallionStatusPoints(fx.d, p, base), 0);

    struct Case
    {
        const char* what;
        void (*change)(DadRec&);
        int index;
    };
    const Case cases[] = {
        { "内国", [](DadRec& r) { r.birth = u"内国"; }, DStatus::Naikoku },
        { "外", [](DadRec& r) { r.birth = u"外"; }, DStatus::Gaikoku },
        { "colour", [](DadRec& r) { r.keiro = 1; }, DStatus::ColorPts },
        { "star low", [](DadRec& r) { r.Fee = 2; }, DStatus::StarPts },
        { "star high", [](DadRec& r) { r.Fee = 4; }, DStatus::StarPts },
        { "short", [](DadRec& r) { r.Distance1 = 999; }, DStatus::DistPts },
        { "long", [](DadRec& r) { r.Distance2 = 3601; }, DStatus::DistPts },
        { "早熟", [](DadRec& r) { r.Grow = u"早熟"; }, DStatus::Soujuku },
        { "持続", [](DadRec& r) { r.Grow = u"持続"; }, DStatus::Jizoku },
        { "dirt ○", [](DadRec& r) { r.Dirt = u"○"; }, DStatus::Dirt2 },
        { "dirt △", [](DadRec& r) { r.Dirt = u"△"; }, DStatus::Dirt3 },
        { "気性B", [](DadRec& r) { r.Kisho = u"B"; }, DStatus::KishoA + 1 },
        { "底力C", [](DadRec& r) { r.Konjo = u"C"; }, DStatus::KonjoA + 2 },
        { "健康A", [](DadRec& r) { r.Kenko = u"A"; }, DStatus::KenkoA },
        { "実績B", [](DadRec& r) { r.Jisseki = u"B"; }, DStatus::JissekiA + 1 },
        { "安定C", [](DadRec& r) { r.Antei = u"C"; }, DStatus::AnteiA + 2 },
    };
    for (const Case& c : cases) {
        DadRec r = base;
        c.change(r);
        EXPECT_EQ(StallionStatusPoints(fx.d, p, r), pts_of(c.index)) << c.what;
    }
    // Values that earn nothing.
    const Case none[] = {
        { "配信", [](DadRec& r) { r.birth = u"配信"; }, 0 },
        { "自家", [](DadRec& r) { r.birth = u"自家"; }, 0 },
        { "star out", [](DadRec& r) { r.Fee = 5; }, 0 },
        { "inside band", [](DadRec& r) { r.Distance1 = 1000, r.Distance2 = 3600; }, 0 },
        { "grade O", [](DadRec& r) { r.Kisho = u"O"; }, 0 },
        { "grade a", [](DadRec& r) { r.Kenko = u"a"; }, 0 },
        { "grow other", [](DadRec& r) { r.Grow = u"早"; }, 0 },
        { "colour out of list", [](DadRec& r) { r.keiro = 7; }, 0 },
    };
    for (const Case& c : none) {
        DadRec r = base;
        c.change(r);
        EXPECT_EQ(StallionStatusPoints(fx.d, p, r), 0) << c.what;
    }
    // The distance band 1400..3600 makes a 1200-2000 stallion reach outside it.
    p.dstatus[DStatus::DistLow] = 1400;
    EXPECT_EQ(StallionStatusPoints(fx.d, p, base), pts_of(DStatus::DistPts));
}

TEST_F(ScoringTest, MareStatus)
{
    fx.d.KeiroTable = { u"栗毛", u"芦毛" };
    pts.mstatus = { 1, 2, 4, 100, 200, 8, 5, 7, 16, 3, 4, 32 };
    pts.mcolor = u"芦毛";
    MamRec r;
    r.Fee = 99;
    r.speed = 4;
    r.stamina = 5;
    EXPECT_EQ(MareStatusPoints(fx.d, pts, r), 0);
    r.motikomi = u"自家";
    EXPECT_EQ(MareStatusPoints(fx.d, pts, r), 1);
    r.motikomi = u"他家";
    EXPECT_EQ(MareStatusPoints(fx.d, pts, r), 2);
    r.motikomi = u"持込";
    r.keiro = 1;
    EXPECT_EQ(MareStatusPoints(fx.d, pts, r), 4);
    r.keiro = 0;
    r.Fee = 200; // the upper bound itself is inside
    EXPECT_EQ(MareStatusPoints(fx.d, pts, r), 8);
    r.Fee = 100;
    r.speed = 7;
    r.stamina = 3;
    EXPECT_EQ(MareStatusPoints(fx.d, pts, r), 8 + 16 + 32);
}

TEST_F(ScoringTest, CompatValueSumsTheThreeParts)
{
    pts.haigo.Outb = 1000;
    pts.dstatus[DStatus::Naikoku] = 20;
    pts.mstatus[MStatus::Jika] = 3;
    s.birth = u"内";
    m.motikomi = u"自家";
    EXPECT_EQ(CompatValue(fx.d, pts, s, m), 1023);
}

TEST_F(ScoringTest, OverflowIsAnErrorNamingThePairOrTheDataAndTheValues)
{
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case
    {
        const char* name;
        void (*setUp)(ScoringTest&);
        const char* message;
    };
    const Case cases[] = {
        { "pair", [](ScoringTest& t) { t.pts.haigo.Outb = kMax, t.pts.dstatus[DStatus::KishoO] = 1; },
          "S × M: 相性値の計算で整数の桁あふれが起きました (相性計算データの値が大きすぎます: [配合] "
          "アウトブリード=2147483647)" },
        { "pair, 2 * max",
          [](ScoringTest& t) {
              t.pts.Oyani[1] = kMax;
              t.s.Father[1] = t.s.Father[2] = t.fx.Horse(u"O", 0, 1, 0);
          },
          "S × M: " },
        { "stallion",
          [](ScoringTest& t) {
              t.pts.dstatus[DStatus::StarPts] = kMax, t.s.Kisho = u"A", t.pts.dstatus[DStatus::KishoA] = 1;
          },
          "種牡馬 S: 相性値の計算で整数の桁あふれが起きました (相性計算データの値が大きすぎます: [種牡馬] "
          "★Pts=2147483647)" }, // the bounds (★上限) are never added: not named
        { "mare", [](ScoringTest& t) { t.pts.mstatus[MStatus::FeePts] = kMax, t.pts.mstatus[MStatus::SpeedPts] = 1; },
          "牝馬 M: " },
        { "the three parts", [](ScoringTest& t) { t.pts.haigo.Outb = kMax, t.pts.mstatus[MStatus::FeePts] = 1 << 24; },
          "S × M: 相性値の計算で整数の桁あふれが起きました (相性計算データの値が大きすぎます: [配合] "
          "アウトブリード=2147483647, [繁殖牝馬] 基本料Pts=16777216)" },
        { "nick",
          [](ScoringTest& t) {
              t.fx.d.KeitoTable[4].name = u"ﾉｰｻﾞﾝ";
              t.fx.d.KeitoCount = 9;
              t.s.Father[0] = t.fx.Horse(u"S2", 4);
              t.m.Father[0] = t.fx.Horse(u"m1", 8);
              t.m.Father[2] = t.m.Father[6] = t.m.Father[14] = t.fx.Horse(u"mx", 1);
              t.fx.Nix(4, 8, kMax / 5); // weight 10
          },
          "ニックスデータ: 系統「ﾉｰｻﾞﾝ」のニックスの値が大きすぎて" },
    };
    for (const Case& c : cases) {
        ScoringTest& t = *this;
        t.fx = EvalFixture();
        t.pts = PtsRec();
        t.s = DadRec();
        t.m = MamRec();
        t.SetUp();
        t.pts.mstatus[MStatus::FeeHigh] = t.pts.mstatus[MStatus::SpeedHigh] = 10;
        t.pts.dstatus[DStatus::StarHigh] = 5;
        c.setUp(t);
        try {
            CompatValue(t.fx.d, t.pts, t.s, t.m);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const OverflowError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.name << ": " << e.what();
        }
    }
}

TEST_F(ScoringTest, EffectIndexOutsideTheTableIsRangeError)
{
    const int x = fx.Horse(u"X", 0, 20, 0);
    s.Father[4] = x;
    m.Father[5] = x;
    EXPECT_THROW(Score(), RangeError);
}

} // namespace
} // namespace velmora
