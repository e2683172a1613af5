#include "core/common/errors.h"
#include "core/eval/positions.h"
#include "core/eval/rules.h"
#include "tests/support/eval_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

using test::DadArray;
using test::EvalFixture;
using test::MamArray;

// ---------------------------------------------------------------------------------------------
// Nick

struct NixFixture : ::testing::Test
{
    EvalFixture fx;
    int stallionLine = 4;
    DadFatherRec f;
    int mareHorse[4]; // the horses on the mare's chains 1, 3, 7 and position 15

    // Mare chain lines as given (each chain gets its own horse).
    MamFatherRec Mare(int l1, int l3, int l7, int l15)
    {
        const int lines[4] = { l1, l3, l7, l15 };
        for (int i = 0; i < 4; ++i)
            mareHorse[i] = fx.Horse(u"M" + std::u16string(1, char16_t(u'a' + i)), lines[i]);
        return MamArray({ { 1, mareHorse[0] }, { 3, mareHorse[1] }, { 7, mareHorse[2] }, { 15, mareHorse[3] } });
    }

    void SetUp() override { f = DadArray({ { 0, fx.Horse(u"S", stallionLine) } }); }
};

TEST_F(NixFixture, RankOutsideOneToFiveGivesMinusOne)
{
    const MamFatherRec m = Mare(9, 9, 9, 9);
    fx.Nix(stallionLine, 9, 10);
    EXPECT_EQ(CalcNix(fx.d, 0, f, m), -1);
    EXPECT_EQ(CalcNix(fx.d, 6, f, m), -1);
    EXPECT_NE(CalcNix(fx.d, 1, f, m), -1);
}

TEST_F(NixFixture, NearestColumnWeighsAndFurtherMatchesAddOne)
{
    // Line X on chain 1 and chain 7, rank 5: m = 30 * 10 + 1 = 301, (301 + 9) / 10 = 31.
    const MamFatherRec m = Mare(9, 8, 9, 8);
    fx.Nix(stallionLine, 9, 10);
    const int32_t v = CalcNix(fx.d, 5, f, m);
    EXPECT_EQ(v, 31);
    EXPECT_EQ(NixGradeText(v), u"良くできた");
}

TEST_F(NixFixture, WeightsByRankAndColumn)
{
    struct Case
    {
        int rank;
        int column; // 0..3: chain 1, chain 3, chain 7, position 15
        int expected;
    };
    // value 10: (W * 10 + 9) / 10 = W (W >= 10 so the +9 truncates away)
    const std::vector<Case> cases
        = { { 1, 0, 10 }, { 2, 2, 12 }, { 3, 3, 12 }, { 4, 1, 20 }, { 5, 0, 30 }, { 5, 1, 25 },
            { 5, 2, 20 }, { 5, 3, 20 }, { 2, 3, 10 }, { 4, 3, 12 }, { 3, 1, 15 } };
    for (const Case& c : cases) {
        EvalFixture local;
        fx = local;
        SetUp();
        int lines[4] = { 1, 1, 1, 1 };
        lines[c.column] = 9;
        const MamFatherRec m = Mare(lines[0], lines[1], lines[2], lines[3]);
        fx.Nix(stallionLine, 9, 10);
        EXPECT_EQ(CalcNix(fx.d, c.rank, f, m), c.expected) << "rank " << c.rank << " column " << c.column;
        EXPECT_EQ(NixWeight(c.rank, c.column + 1), c.expected);
    }
}

TEST_F(NixFixture, EveryMatchingEntryCountsAndOtherLinesDoNot)
{
    const MamFatherRec m = Mare(9, 7, 1, 1);
    fx.Nix(stallionLine, 9, 10); // 300
    fx.Nix(stallionLine, 9, 10); // same pair again: 300
    fx.Nix(stallionLine, 7, 2); // chain 3 at rank 5: 25 * 2 = 50
    fx.Nix(stallionLine + 1, 9, 100); // another stallion line
    fx.Nix(stallionLine, 3, 100); // a line the mare lacks
    EXPECT_EQ(CalcNix(fx.d, 5, f, m), (650 + 9) / 10);
}

TEST_F(NixFixture, NonPositiveProductIsReplacedByLaterMatches)
{
    // Value -1 on chain 1 and chain 3 at rank 5: m = -30, then (m <= 0) m = -25; total (-25 + 9) / 10 = -1.
    MamFatherRec m = Mare(9, 9, 1, 1);
    fx.Nix(stallionLine, 9, -1);
    EXPECT_EQ(CalcNix(fx.d, 5, f, m), -1);
    // Value 0 on all four columns: m stays 0 -> (0 + 9) / 10 = 0.
    EvalFixture local;
    fx = local;
    SetUp();
    m = Mare(9, 9, 9, 9);
    fx.Nix(stallionLine, 9, 0);
    EXPECT_EQ(CalcNix(fx.d, 5, f, m), 0);
}

TEST_F(NixFixture, ChainWithoutHorseGivesMinusOne)
{
    MamFatherRec m = Mare(9, 9, 9, 9);
    fx.Nix(stallionLine, 9, 10);
    m[14] = -1; // position 15 unknown
    EXPECT_EQ(CalcNix(fx.d, 5, f, m), -1);
    m = Mare(9, 9, 9, 9);
    EXPECT_EQ(CalcNix(fx.d, 5, UnknownDadArray(), m), -1);
    // Chain 3 resolves through position 6 when position 3 is unknown.
    m = Mare(1, 1, 1, 1);
    m[2] = -1;
    m[5] = fx.Horse(u"deep", 9);
    EXPECT_EQ(CalcNix(fx.d, 5, f, m), 25);
}

TEST(NixGrade, Bands)
{
    struct Case
    {
        int v;
        std::u16string_view text;
        int grade;
    };
    const Case cases[]
        = { { -1, u"", 0 },       { 0, u"", 0 },        { 24, u"", 0 },           { 25, u"程々", 4 },
            { 28, u"程々", 4 },   { 29, u"", 0 },       { 30, u"良くできた", 3 }, { 33, u"良くできた", 3 },
            { 34, u"優れた", 2 }, { 37, u"優れた", 2 }, { 38, u"完璧", 1 },       { 500, u"完璧", 1 } };
    for (const Case& c : cases) {
        EXPECT_EQ(NixGradeText(c.v), c.text) << c.v;
        EXPECT_EQ(NixGrade(c.v), c.grade) << c.v;
    }
}

TEST(MarkText, Symbols)
{
    EXPECT_EQ(MarkText(-1), u"？");
    EXPECT_EQ(MarkText(0), u"×");
    EXPECT_EQ(MarkText(1), u"○");
    EXPECT_EQ(MarkText(2), u"◎");
    EXPECT_EQ(MarkText(3), u"");
    EXPECT_EQ(MarkText(-2), u"");
}

// ---------------------------------------------------------------------------------------------
// Interesting, splendid and well-made matings

// Builds the eight chains of the interesting test with the given groups (0 = chain without horse
// when `missing`, else a horse with group 0).
struct GroupPair
{
    EvalFixture fx;
    DadFatherRec f = UnknownDadArray();
    MamFatherRec m = UnknownMamArray();

    void Omo(const int (&g)[8])
    {
        static constexpr int dadPos[4] = { 0, 5, 3, 7 };
        static constexpr int mamPos[4] = { 1, 5, 3, 7 };
        for (int i = 0; i < 4; ++i)
            f[static_cast<size_t>(dadPos[i])] = fx.GroupHorse(g[i]);
        for (int i = 0; i < 4; ++i)
            m[static_cast<size_t>(mamPos[i] - 1)] = fx.GroupHorse(g[4 + i]);
    }

    void Mig(const int (&a)[4], const int (&b)[4])
    {
        static constexpr int dadPos[4] = { 9, 11, 13, 15 };
        static constexpr int mamPos[4] = { 1, 5, 3, 7 };
        for (int i = 0; i < 4; ++i) {
            f[static_cast<size_t>(dadPos[i])] = a[i] < 0 ? -1 : fx.GroupHorse(a[i]);
            m[static_cast<size_t>(mamPos[i] - 1)] = b[i] < 0 ? -1 : fx.GroupHorse(b[i]);
        }
    }
};

TEST(CheckOmo, DistinctGroupsDecide)
{
    struct Case
    {
        int g[8];
        int expected;
    };
    const Case cases[] = {
        { { 1, 2, 3, 4, 5, 6, 7, 7 }, 1 }, { { 1, 2, 3, 4, 5, 6, 7, 8 }, 1 },  { { 1, 1, 2, 2, 3, 4, 5, 6 }, 0 },
        { { 3, 3, 3, 3, 3, 3, 3, 3 }, 0 }, { { 1, 2, 3, 4, 5, 6, 7, 0 }, -1 }, { { 0, 2, 3, 4, 5, 6, 7, 8 }, -1 },
    };
    for (const Case& c : cases) {
        GroupPair p;
        p.Omo(c.g);
        EXPECT_EQ(CheckOmo(p.fx.d, p.f, p.m), c.expected) << c.g[0] << c.g[1] << c.g[7];
    }
}

TEST(CheckOmo, ChainsResolveDeeperAndMissingChainIsUndecidable)
{
    GroupPair p;
    p.Omo({ 1, 2, 3, 4, 5, 6, 7, 8 });
    // Move the stallion's chain-5 horse to position 10 and the mare's chain-3 horse to 12.
    p.f[10] = p.f[5];
    p.f[5] = -1;
    p.m[11] = p.m[2];
    p.m[2] = -1;
    EXPECT_EQ(CheckOmo(p.fx.d, p.f, p.m), 1);
    p.f[10] = -1;
    EXPECT_EQ(CheckOmo(p.fx.d, p.f, p.m), -1);
}

TEST(CheckMigYok, SetsOfFourGroups)
{
    struct Case
    {
        int a[4];
        int b[4];
        int mig;
        int yok;
    };
    const Case cases[] = {
        { { 1, 2, 3, 4 }, { 4, 3, 2, 1 }, 1, 1 },
        { { 1, 2, 3, 4 }, { 1, 2, 3, 5 }, 0, 1 },
        { { 1, 2, 3, 4 }, { 1, 2, 5, 6 }, 0, 0 },
        { { 1, 1, 2, 2 }, { 2, 1, 2, 1 }, 1, 1 },
        { { 1, 1, 1, 1 }, { 1, 2, 1, 1 }, 0, 1 },
        { { 1, 1, 1, 1 }, { 2, 2, 1, 1 }, 0, 0 },
        // A group 0 makes the test undecidable unless a missing group was met before it.
        { { 1, 2, 3, 0 }, { 1, 2, 3, 4 }, -1, -1 },
        { { 5, 2, 3, 0 }, { 1, 2, 3, 4 }, 0, -1 },
        { { 5, 6, 0, 4 }, { 1, 2, 3, 4 }, 0, -1 },
        { { 1, 2, 3, 4 }, { 1, 2, 3, 0 }, 0, -1 },
        { { 1, 2, 3, 4 }, { 4, 3, 2, 0 }, 0, -1 },
        { { 1, 2, 3, 1 }, { 1, 2, 3, 0 }, -1, -1 },
        // An unknown entry or a chain without a horse: undecidable.
        { { -1, 2, 3, 4 }, { 1, 2, 3, 4 }, -1, -1 },
        { { 1, 2, 3, 4 }, { 1, 2, -1, 4 }, -1, -1 },
    };
    for (const Case& c : cases) {
        GroupPair p;
        p.Mig(c.a, c.b);
        const int mig = CheckMig(p.fx.d, p.f, p.m);
        const int yok = CheckYok(p.fx.d, p.f, p.m);
        EXPECT_EQ(mig, c.mig) << c.a[0] << c.a[1] << c.a[2] << c.a[3] << "/" << c.b[0] << c.b[1] << c.b[2] << c.b[3];
        EXPECT_EQ(yok, c.yok) << c.a[0] << c.a[1] << c.a[2] << c.a[3] << "/" << c.b[0] << c.b[1] << c.b[2] << c.b[3];
    }
}

// ---------------------------------------------------------------------------------------------
// Crosses

TEST(CrossKind, SameHorseAndFirstEffect)
{
    EvalFixture fx;
    const int withA = fx.Horse(u"A", 1, 3, 0);
    const int onlyB = fx.Horse(u"B", 1, 0, 4);
    const int other = fx.Horse(u"C", 1, 3, 3);
    EXPECT_EQ(CrossKind(fx.d, DadArray({ { 4, withA } }), 4, MamArray({ { 6, withA } }), 6), 1);
    EXPECT_EQ(CrossKind(fx.d, DadArray({ { 4, onlyB } }), 4, MamArray({ { 6, onlyB } }), 6), 0);
    EXPECT_EQ(CrossKind(fx.d, DadArray({ { 4, withA } }), 4, MamArray({ { 6, other } }), 6), -2);
    // Two unknown entries are not a cross.
    EXPECT_EQ(CrossKind(fx.d, DadArray({}), 4, MamArray({}), 6), -2);
    EXPECT_THROW(CrossKind(fx.d, DadArray({}), 16, MamArray({}), 1), RangeError);
    EXPECT_THROW(CrossKind(fx.d, DadArray({}), 0, MamArray({}), 0), RangeError);
}

TEST(CrossKind, CrossesThatFollowFromNearerOnes)
{
    EvalFixture fx;
    const int s = fx.Horse(u"S", 1, 1);
    const int x = fx.Horse(u"X", 1, 1);
    const int y = fx.Horse(u"Y", 1, 1);
    const int z = fx.Horse(u"Z", 1, 1);
    struct Case
    {
        const char* what;
        DadFatherRec f;
        int j;
        MamFatherRec m;
        int k;
        int expected;
    };
    const std::vector<Case> cases = {
        { "j0 never", DadArray({ { 0, s } }), 0, MamArray({ { 2, s }, { 1, s } }), 2, 1 },
        { "j1 son is the stallion", DadArray({ { 0, s }, { 1, x } }), 1, MamArray({ { 1, s }, { 2, x } }), 2, -1 },
        { "j1 odd k", DadArray({ { 0, s }, { 1, x } }), 1, MamArray({ { 1, s }, { 3, x } }), 3, 1 },
        { "j1 son differs", DadArray({ { 0, s }, { 1, x } }), 1, MamArray({ { 1, y }, { 2, x } }), 2, 1 },
        { "j2 sons same", DadArray({ { 1, y }, { 2, x } }), 2, MamArray({ { 2, y }, { 4, x } }), 4, -1 },
        { "j6 sons same", DadArray({ { 3, y }, { 6, x } }), 6, MamArray({ { 7, y }, { 14, x } }), 14, -1 },
        { "j14 sons differ", DadArray({ { 7, y }, { 14, x } }), 14, MamArray({ { 7, z }, { 14, x } }), 14, 1 },
        { "j2 sons unknown", DadArray({ { 2, x } }), 2, MamArray({ { 4, x } }), 4, 1 },
        { "j3 dam-sire son is stallion", DadArray({ { 0, s }, { 3, x } }), 3, MamArray({ { 1, s }, { 5, x } }), 5, -1 },
        { "j3 k13", DadArray({ { 0, s }, { 3, x } }), 3, MamArray({ { 3, s }, { 13, x } }), 13, -1 },
        { "j3 k not dam sire", DadArray({ { 0, s }, { 3, x } }), 3, MamArray({ { 1, s }, { 6, x } }), 6, 1 },
        { "j5 same horses", DadArray({ { 1, y }, { 5, x } }), 5, MamArray({ { 2, y }, { 9, x } }), 9, -1 },
        { "j9 same horses", DadArray({ { 2, y }, { 9, x } }), 9, MamArray({ { 1, y }, { 5, x } }), 5, -1 },
        { "j13 unknown", DadArray({ { 13, x } }), 13, MamArray({ { 13, x } }), 13, 1 },
        { "j7 k11 stallion", DadArray({ { 0, s }, { 7, x } }), 7, MamArray({ { 1, s }, { 11, x } }), 11, -1 },
        { "j7 other k", DadArray({ { 0, s }, { 7, x } }), 7, MamArray({ { 1, s }, { 10, x } }), 10, 1 },
        { "j11 k11 sire", DadArray({ { 1, y }, { 11, x } }), 11, MamArray({ { 1, y }, { 11, x } }), 11, -1 },
        { "j11 k11 unknown", DadArray({ { 11, x } }), 11, MamArray({ { 11, x } }), 11, 1 },
        { "j15 never", DadArray({ { 0, s }, { 1, y }, { 7, z }, { 15, x } }), 15,
          MamArray({ { 1, s }, { 3, y }, { 7, z }, { 15, x } }), 15, 1 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CrossKind(fx.d, c.f, c.j, c.m, c.k), c.expected) << c.what;
}

TEST(AnalyzeCrosses, StallionAsMaresSireIsCloseRelation)
{
    EvalFixture fx;
    const int s = fx.Horse(u"S", 1);
    const int p = fx.Horse(u"P", 1, 2);
    CrossAnalysis r;
    AnalyzeCrosses(fx.d, DadArray({ { 0, s }, { 1, p } }), MamArray({ { 1, s }, { 2, p } }), r);
    EXPECT_TRUE(r.Taboo);
    EXPECT_EQ(r.Crosses, 1); // (0, 1) counts; (1, 2) only follows from it
    EXPECT_EQ(CrossKind(fx.d, DadArray({ { 0, s }, { 1, p } }), 1, MamArray({ { 1, s }, { 2, p } }), 2), -1);
    EXPECT_EQ(r.InCross[2], 0);
    EXPECT_TRUE(IsDanger(r));
    EXPECT_FALSE(IsOutbreed(r));
}

TEST(AnalyzeCrosses, SharedSireIsCloseRelation)
{
    EvalFixture fx;
    const int p = fx.Horse(u"P", 1, 2, 5);
    CrossAnalysis r;
    AnalyzeCrosses(fx.d, DadArray({ { 0, fx.Horse(u"S") }, { 1, p } }), MamArray({ { 1, p } }), r);
    EXPECT_TRUE(r.Taboo);
    EXPECT_EQ(r.Crosses, 1);
    EXPECT_EQ(r.InCross[2], 1);
    EXPECT_EQ(r.InCross[5], 1);
}

TEST(AnalyzeCrosses, SevenCrossesAreDangerousSixAreNot)
{
    for (int n : { 6, 7, 8 }) {
        EvalFixture fx;
        DadFatherRec f = DadArray({ { 0, fx.Horse(u"S") } });
        MamFatherRec m = UnknownMamArray();
        for (int i = 0; i < n; ++i) {
            const int h = fx.Horse(u"H" + std::u16string(1, char16_t(u'a' + i)), 1, 1);
            f[static_cast<size_t>(8 + i)] = h;
            m[static_cast<size_t>(8 + i - 1)] = h;
        }
        CrossAnalysis r;
        AnalyzeCrosses(fx.d, f, m, r);
        EXPECT_EQ(r.Crosses, n);
        EXPECT_FALSE(r.Taboo);
        EXPECT_EQ(IsDanger(r), n >= 7) << n;
        EXPECT_EQ(r.InCross[1], n);
    }
}

TEST(AnalyzeCrosses, EachPairOfPositionsCountsOnItsOwn)
{
    EvalFixture fx;
    const int x = fx.Horse(u"X", 1, 3);
    CrossAnalysis r;
    // X twice on the mare's side, once on the stallion's: two crosses.
    AnalyzeCrosses(fx.d, DadArray({ { 0, fx.Horse(u"S") }, { 6, x } }), MamArray({ { 5, x }, { 13, x } }), r);
    EXPECT_EQ(r.Crosses, 2);
    EXPECT_EQ(r.InCross[3], 2);
    EXPECT_EQ(r.Kosei[3], 1); // composition counts the horse once
}

TEST(AnalyzeCrosses, UnknownEntriesTakePartInNothing)
{
    EvalFixture fx;
    CrossAnalysis r;
    AnalyzeCrosses(fx.d, UnknownDadArray(), UnknownMamArray(), r);
    EXPECT_FALSE(r.Taboo);
    EXPECT_EQ(r.Crosses, 0);
    for (int k = 1; k <= 16; ++k) {
        EXPECT_EQ(r.Kosei[static_cast<size_t>(k)], 0);
        EXPECT_EQ(r.DadNi[static_cast<size_t>(k)], 0);
    }
}

TEST(AnalyzeCrosses, CompositionCountsEveryHorseOnce)
{
    EvalFixture fx;
    const int x = fx.Horse(u"X", 1, 1, 2);
    const int y = fx.Horse(u"Y", 1, 2, 0);
    const int z = fx.Horse(u"Z", 1, 0, 16);
    CrossAnalysis r;
    AnalyzeCrosses(fx.d, DadArray({ { 0, fx.Horse(u"S") }, { 2, x }, { 9, x } }),
                   MamArray({ { 4, x }, { 6, y }, { 7, y }, { 15, z } }), r);
    EXPECT_EQ(r.Kosei[1], 1);
    EXPECT_EQ(r.Kosei[2], 2); // X and Y
    EXPECT_EQ(r.Kosei[16], 1);
    EXPECT_EQ(r.Kosei[0], 0);
}

TEST(AnalyzeCrosses, ParentLikenessOnlyWhenOutbred)
{
    EvalFixture fx;
    const int s = fx.Horse(u"S", 1, 3, 0);
    const int x = fx.Horse(u"X", 1, 5, 6);
    const int far = fx.Horse(u"far", 1, 7, 0);
    const int y = fx.Horse(u"Y", 1, 8, 0);
    DadFatherRec f = DadArray({ { 0, s }, { 1, x }, { 2, x }, { 8, far } });
    MamFatherRec m = MamArray({ { 1, y }, { 7, y }, { 8, far } });
    CrossAnalysis r;
    // far meets far (8, 8): one cross, no parent likeness.
    AnalyzeCrosses(fx.d, f, m, r);
    EXPECT_EQ(r.Crosses, 1);
    EXPECT_EQ(r.DadNi[5], 0);
    EXPECT_EQ(r.MamNi[8], 0);

    m[7] = -1; // remove far from the mare
    AnalyzeCrosses(fx.d, f, m, r);
    EXPECT_EQ(r.Crosses, 0);
    EXPECT_TRUE(IsOutbreed(r));
    EXPECT_EQ(r.DadNi[3], 1);
    EXPECT_EQ(r.DadNi[5], 2); // repeated horses count each time
    EXPECT_EQ(r.DadNi[6], 2);
    EXPECT_EQ(r.DadNi[7], 0); // position 8 is outside 1..7
    EXPECT_EQ(r.MamNi[8], 2);
    EXPECT_EQ(r.Kosei[5], 1);
}

TEST(AnalyzeCrosses, NitroDependsOnTheSpeedRow)
{
    struct Case
    {
        int speedRow;
        int effect;
        int sp;
        int st;
    };
    const Case cases[]
        = { { 2, 2, 2, -1 }, { 0, 2, 2, -1 }, { 1, 1, 2, -1 }, { 1, 2, 1, 0 }, { 2, 1, 1, 0 }, { 2, 3, 0, 1 } };
    for (const Case& c : cases) {
        EvalFixture fx;
        fx.d.SpeedCrossRow = c.speedRow;
        CrossAnalysis r;
        AnalyzeCrosses(fx.d, DadArray({ { 0, fx.Horse(u"S", 1, c.effect) } }), UnknownMamArray(), r);
        EXPECT_EQ(r.NitroSp, c.sp) << c.speedRow << "/" << c.effect;
        EXPECT_EQ(r.NitroSt, c.st) << c.speedRow << "/" << c.effect;
    }
}

TEST(AnalyzeCrosses, EffectOutsideTheCrossTableIsRangeError)
{
    EvalFixture fx;
    CrossAnalysis r;
    EXPECT_THROW(AnalyzeCrosses(fx.d, DadArray({ { 0, fx.Horse(u"S", 1, 17) } }), UnknownMamArray(), r), RangeError);
}

TEST(FillInbreed, MarksRepeatsAndStrongestCross)
{
    EvalFixture fx;
    const int s = fx.Horse(u"S", 1);
    const int x = fx.Horse(u"X", 1, 4);
    const int y = fx.Horse(u"Y", 1, 0);
    const int p = fx.Horse(u"P", 1);
    // X at stallion 2 and 5 and mare 3; Y at stallion 1 and mare 4 and 6; P at stallion 3 and mare 2.
    const DadFatherRec f = DadArray({ { 0, s }, { 1, y }, { 2, x }, { 5, x }, { 3, p } });
    const MamFatherRec m = MamArray({ { 3, x }, { 4, y }, { 6, y }, { 2, p } });
    InbreedRec ib;
    FillInbreed(fx.d, f, m, ib);
    EXPECT_EQ(ib.Dads[0].name, u"S");
    EXPECT_EQ(ib.Dads[0].num, s);
    EXPECT_EQ(ib.Dads[4].num, -1);
    EXPECT_EQ(ib.Dads[4].name, u"");
    EXPECT_EQ(ib.Dads[4].isCrs, -2);
    EXPECT_EQ(ib.Dads[2].isCrs, 1);
    EXPECT_EQ(ib.Dads[5].isCrs, 1);
    EXPECT_TRUE(ib.Dads[2].isInCrs);
    EXPECT_TRUE(ib.Dads[5].isInCrs);
    EXPECT_FALSE(ib.Dads[1].isInCrs);
    EXPECT_EQ(ib.Mams[2].isCrs, 1);
    EXPECT_EQ(ib.Dads[1].isCrs, 0);
    EXPECT_EQ(ib.Mams[3].isCrs, 0);
    EXPECT_EQ(ib.Mams[5].isCrs, 0);
    EXPECT_TRUE(ib.Mams[3].isInCrs);
    EXPECT_TRUE(ib.Mams[5].isInCrs);
    EXPECT_FALSE(ib.Mams[2].isInCrs);
    EXPECT_EQ(ib.Dads[3].isCrs, 0); // P at stallion 3 and mare 2
    EXPECT_EQ(ib.Mams[1].isCrs, 0);
}

TEST(FillInbreed, CountedCrossIsNotWeakenedByAConsequentialOne)
{
    EvalFixture fx;
    const int s = fx.Horse(u"S", 1);
    const int x = fx.Horse(u"X", 1, 0);
    // Mare position 2 first meets stallion position 1 (a counted cross, 0), then stallion position 2,
    // which only follows from the cross (1, 1): the slot keeps 0.
    const DadFatherRec f = DadArray({ { 0, s }, { 1, x }, { 2, x } });
    const MamFatherRec m = MamArray({ { 1, x }, { 2, x } });
    ASSERT_EQ(CrossKind(fx.d, f, 1, m, 2), 0);
    ASSERT_EQ(CrossKind(fx.d, f, 2, m, 2), -1);
    InbreedRec ib;
    FillInbreed(fx.d, f, m, ib);
    EXPECT_EQ(ib.Mams[1].isCrs, 0);
}

} // namespace
} // namespace velmora
