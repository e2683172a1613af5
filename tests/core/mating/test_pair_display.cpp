#include "core/mating/pair_display.h"
#include "core/mating/scoring.h"
#include "tests/support/eval_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

using test::DadArray;
using test::EvalFixture;
using test::MamArray;

struct PairDisplayTest : ::testing::Test
{
    EvalFixture fx;

    void SetUp() override
    {
        fx.d.KeitoTable[3].name = u"系三";
        fx.d.OmokeiTable[2].name = u"面二";
        fx.d.OmokeiTable[2].value = 0x123456;
        fx.d.CrossTable[4] = { u"効四", 0x00AA00, 0, 0 };
        fx.d.CrossTable[5] = { u"効五", 0x0000BB, 0, 0 };
    }

    PairDisplay Build(const DadFatherRec& f, const MamFatherRec& m, int star = 1, bool colorMode = true,
                      bool evaluate = true, bool ownEffectColors = true)
    {
        PairDisplay out;
        BuildPairDisplay(fx.d, star, f, m, colorMode, evaluate, ownEffectColors, out);
        return out;
    }

    // A horse of interesting-line group g (the mating-type rules read only the groups).
    int Group(int g) { return fx.GroupHorse(g); }
};

TEST_F(PairDisplayTest, MatingTypePanelsTakeTheirColourOnlyWhenTheRuleHoldsOrIsUndecidable)
{
    struct Case
    {
        const char* what;
        int dad[4]; // groups at stallion positions 9, 11, 13, 15, or at 0, 5, 3, 7 for `omo`
        int mam[4]; // groups at mare positions 1, 5, 3, 7
        bool omoLayout;
        const char16_t* omo;
        uint32_t omoColor;
        const char16_t* mig;
        uint32_t migColor;
        const char16_t* yok;
        uint32_t yokColor;
    };
    const Case cases[] = {
        { "splendid, no sire: 面白 undecidable",
          { 1, 2, 3, 4 },
          { 4, 3, 2, 1 },
          false,
          u"？",
          kDisplayYellow,
          u"○",
          kMigAqua,
          u"○",
          kYokViolet },
        { "well-made only",
          { 1, 2, 3, 4 },
          { 1, 2, 3, 5 },
          false,
          u"？",
          kDisplayYellow,
          u"×",
          kDisplayWhite,
          u"○",
          kYokViolet },
        { "interesting",
          { 1, 2, 3, 4 },
          { 5, 6, 7, 8 },
          true,
          u"○",
          kOmoLime,
          u"？",
          kDisplayYellow,
          u"？",
          kDisplayYellow },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int dadPos[4] = { c.omoLayout ? 0 : 9, c.omoLayout ? 5 : 11, c.omoLayout ? 3 : 13, c.omoLayout ? 7 : 15 };
        const int mamPos[4] = { 1, 5, 3, 7 };
        DadFatherRec f = UnknownDadArray();
        MamFatherRec m = UnknownMamArray();
        for (int i = 0; i < 4; ++i) {
            f[static_cast<size_t>(dadPos[i])] = Group(c.dad[i]);
            m[static_cast<size_t>(mamPos[i] - 1)] = Group(c.mam[i]);
        }
        const PairDisplay p = Build(f, m);
        const std::pair<const PanelDisplay*, std::pair<const char16_t*, uint32_t>> panels[] = {
            { &p.omo, { c.omo, c.omoColor } }, { &p.mig, { c.mig, c.migColor } }, { &p.yok, { c.yok, c.yokColor } }
        };
        for (const auto& [panel, expected] : panels) {
            EXPECT_EQ(panel->text, expected.first);
            EXPECT_EQ(panel->color, expected.second);
            EXPECT_EQ(panel->lit, expected.second != kDisplayWhite);
        }
    }
}

TEST_F(PairDisplayTest, DangerCrossesAndNickPanels)
{
    // Danger: close relation, then seven crosses and more; six crosses are not dangerous.
    struct Danger
    {
        bool taboo;
        int crosses;
        const char16_t* text;
        bool lit;
    };
    for (const Danger& c :
         { Danger { true, 0, u"◎", true }, Danger { false, 7, u"○", true }, Danger { false, 6, u"×", false } }) {
        EvalFixture local;
        fx = local;
        SetUp();
        const int sire = fx.Horse(u"S");
        DadFatherRec f = DadArray({ { 0, sire } });
        MamFatherRec m = UnknownMamArray();
        if (c.taboo)
            m[0] = sire;
        for (int i = 0; i < c.crosses; ++i) {
            const int h = fx.Horse(u"C" + std::u16string(1, char16_t(u'a' + i)), 0, i == 0 ? 4 : 0);
            f[static_cast<size_t>(8 + i)] = h;
            m[static_cast<size_t>(8 + i - 1)] = h;
        }
        const PairDisplay p = Build(f, m);
        EXPECT_EQ(p.kiken.text, c.text) << c.crosses;
        EXPECT_EQ(p.kiken.lit, c.lit);
        EXPECT_EQ(p.kiken.color, c.lit ? kDisplayRed : kDisplayWhite);
        if (c.taboo)
            continue;
        ASSERT_EQ(p.analysis.Crosses, c.crosses);
        EXPECT_EQ(p.crs.text, std::u16string(1, char16_t(u'0' + c.crosses)));
        // The first cross brings effect 4.
        EXPECT_EQ(p.crs.hint, u"0,0,0,1,0,0,0,0,0,0");
    }

    // Nick: the panel turns orange from 25; the hint is the grade. Line 9 stands on the mare's chain 3.
    struct Nick
    {
        int star;
        int value;
        int32_t nix;
        bool lit;
        const char16_t* grade;
    };
    for (const Nick& c : { Nick { 5, 10, 25, true, u"程々" }, Nick { 4, 12, 24, false, u"" } }) {
        EvalFixture local;
        fx = local;
        SetUp();
        const DadFatherRec f = DadArray({ { 0, fx.Horse(u"S", 4) } });
        const MamFatherRec m = MamArray({ { 1, fx.Horse(u"a", 1) },
                                          { 3, fx.Horse(u"b", 9) },
                                          { 7, fx.Horse(u"c", 1) },
                                          { 15, fx.Horse(u"d", 1) } });
        fx.Nix(4, 9, c.value);
        const PairDisplay p = Build(f, m, c.star);
        EXPECT_EQ(p.nixValue, c.nix);
        EXPECT_EQ(p.nix.text, std::u16string(c.nix == 25 ? u"25" : u"24"));
        EXPECT_EQ(p.nix.lit, c.lit);
        EXPECT_EQ(p.nix.color, c.lit ? kNixOrange : kDisplayWhite);
        EXPECT_EQ(p.nix.hint, c.grade);
    }
}

TEST_F(PairDisplayTest, PositionsShowNamesEffectsColoursMarkersAndItalics)
{
    const int sire = fx.Horse(u"S", 3, 5, 0, 2);
    const int x = fx.Horse(u"X", 3, 4, 0, 2); // crossed, effect 4 only
    const int y = fx.Horse(u"Y", 3, 0, 0, 2); // crossed, no effect
    const int z = fx.Horse(u"Z", 3, 4, 5, 2); // twice on the stallion's side, not crossed
    const DadFatherRec f = DadArray({ { 0, sire }, { 1, x }, { 2, y }, { 4, z }, { 6, z } });
    const MamFatherRec m = MamArray({ { 1, x }, { 2, y } });

    const PairDisplay p = Build(f, m);
    const SlotDisplay& sx = p.dads[1];
    EXPECT_EQ(sx.name, u"X");
    EXPECT_EQ(sx.hint, u"系三/面二");
    EXPECT_EQ(sx.effectA, u"効四");
    EXPECT_EQ(sx.effectB, u"　　　　");
    EXPECT_EQ(sx.colorA, 0x00AA00u);
    EXPECT_EQ(sx.colorB, 0x00AA00u); // no second effect: the first one's colour twice
    EXPECT_EQ(p.dads[6].colorB, 0x0000BBu);
    struct Marker
    {
        const SlotDisplay* slot;
        bool shown;
        uint32_t color;
    };
    for (const Marker& c : { Marker { &p.dads[1], true, kDisplayRed }, Marker { &p.mams[1], true, kDisplayRed },
                             Marker { &p.dads[2], true, kDisplayBlue }, Marker { &p.mams[2], true, kDisplayBlue },
                             Marker { &p.dads[4], false, kDisplayWhite } }) {
        EXPECT_EQ(c.slot->marker, c.shown) << std::string(c.slot->name.begin(), c.slot->name.end());
        EXPECT_EQ(c.slot->markerColor, c.color);
    }
    EXPECT_TRUE(p.dads[4].italic);
    EXPECT_TRUE(p.dads[6].italic);
    EXPECT_FALSE(p.dads[1].italic);
    // Unknown positions stay empty and white.
    EXPECT_EQ(p.dads[3].name, u"");
    EXPECT_EQ(p.mams[3].colorA, kDisplayWhite);
    EXPECT_FALSE(p.mams[3].marker);

    // Without colour mode every shape takes the line colour, except the stallion himself here.
    const PairDisplay lines = Build(f, m, 1, false);
    EXPECT_EQ(lines.dads[1].colorA, 0x123456u);
    EXPECT_EQ(lines.mams[2].colorB, 0x123456u);
    EXPECT_EQ(lines.dads[0].colorA, 0x0000BBu);
    EXPECT_EQ(Build(f, m, 1, false, true, false).dads[0].colorA, 0x123456u);

    // A side alone: names and nitro values, no markers, italics or panels.
    const PairDisplay alone = Build(f, UnknownMamArray(), 1, true, false);
    EXPECT_FALSE(alone.evaluated);
    EXPECT_EQ(alone.dads[1].name, u"X");
    EXPECT_FALSE(alone.dads[1].marker);
    EXPECT_FALSE(alone.dads[4].italic);
    EXPECT_EQ(alone.kiken.text, u"");
    EXPECT_EQ(alone.nix.text, u"");
    EXPECT_EQ(alone.omo.color, kDisplayWhite);
    EXPECT_FALSE(alone.nitroSp.empty());
}

TEST_F(PairDisplayTest, HorseTextsAndShownCompat)
{
    EXPECT_EQ(StarText(5), u"★★★★★");
    EXPECT_EQ(StarText(0), u"");
    EXPECT_EQ(StarText(-3), u"");
    EXPECT_EQ(StarText(1000000000).size(), 99u); // broken data gives a long label, not an endless one
    const std::pair<const char16_t*, uint32_t> grades[]
        = { { u"A", 0x0000FF }, { u"◎", 0x0000FF }, { u"B", 0x00CCCC }, { u"○", 0x00CCCC },
            { u"C", 0xFF9900 }, { u"△", 0xFF9900 }, { u"Ａ", 0 },       { u"", 0 } };
    for (const auto& [grade, color] : grades)
        EXPECT_EQ(GradeColor(grade), color);

    // The shown value adds the statuses the rows hold, which may be of another table than pts.
    PtsRec pts;
    pts.haigo.Outb = 100;
    DadRec s;
    s.Father = DadArray({ { 0, fx.Horse(u"S") } });
    MamRec m;
    m.Father = UnknownMamArray();
    EXPECT_EQ(ShownCompat(fx.d, pts, s, 7, m, 20), PairScore(fx.d, pts, s, m) + 27);
    EXPECT_EQ(ShownCompat(fx.d, pts, s, StallionStatusPoints(fx.d, pts, s), m, MareStatusPoints(fx.d, pts, m)),
              CompatValue(fx.d, pts, s, m));
}

} // namespace
} // namespace velmora
