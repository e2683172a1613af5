// The pedigree editor's window logic: hints, index buttons, what a drop, 表示, クリア and a suggestion
// do, what the controls show for a chart, and the chart after a reload of the data.

#include "core/pedigree/editor.h"
#include "pedigree_fixture.h"

#include <gtest/gtest.h>

#include <optional>

using namespace velmora;
using velmora::test::PedigreeData;

namespace {

class PedigreeEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        data.d.KeiroTable = { u"栗毛", u"ｸﾛ鹿毛毛" };
        S = data.Stallion(u"S", 1);
        T = data.Stallion(u"T");
        M = data.Mare(u"M");
        M2 = data.Mare(u"M2");
    }
    PedigreeEditor& Editor()
    {
        if (!editor)
            editor.emplace(data.d);
        return *editor;
    }
    OyaRec& Oya(int row) { return data.d.OyaTable[row]; }
    const DadFatherRec& F(int dad) { return data.d.DadTable[dad].Father; }
    const MamFatherRec& Fm(int mam) { return data.d.MamTable[mam].Father; }

    PedigreeData data;
    std::optional<PedigreeEditor> editor;
    int S, T, M, M2;
};

} // namespace

TEST(PedigreeEditorText, HintsCountCodePage932Columns)
{
    MasterData d;
    d.KeiroTable = { u"栃栗毛", u"ｸﾛ鹿毛毛" };
    DadRec s;
    s.Fee = 3;
    s.birth = u"ｱ米国産"; // 7 bytes: cut to 6 without halving 国
    s.keiro = 1; // 8 bytes: cut to 6
    s.Distance1 = 1600;
    s.Distance2 = 800;
    s.Grow = u"早";
    s.Dirt = u"◎";
    s.Kenko = u"A";
    s.Kisho = u"B";
    s.Jisseki = u"C";
    s.Konjo = u"A";
    s.Antei = u"B";
    EXPECT_EQ(StallionHint(d, s),
              u"★3 ｱ米国  ｸﾛ鹿毛\r\n"
              u"1600ｍ～ 800ｍ   早\r\n"
              u"ダート　◎　　体質  A\r\n"
              u"気性　  B　　実績  C\r\n"
              u"底力　  A　　安定  B");

    const std::pair<int, std::u16string_view> prices[]
        = { { 100, u"かなり　" }, { 99, u"なかなか" }, { 40, u"なかなか" },
            { 39, u"まあまあ" },  { 13, u"まあまあ" }, { 12, u"手ごろ　" } };
    MamRec m;
    m.speed = 71;
    m.stamina = 5;
    for (const auto& [fee, word] : prices) {
        m.Fee = fee;
        EXPECT_EQ(MareHint(d, m), std::u16string(word) + u"　栃栗毛\r\nスピード 71\r\nスタミナ　5") << fee;
    }
}

TEST(PedigreeEditorText, IndexButtonFindsTheFirstNameFromItsKey)
{
    const std::vector<std::u16string> names = { u"Abc", u"nob", u"ｱｲ", u"ｷﾀ", u"ﾀﾛ" };
    const std::pair<std::u16string_view, int> cases[] = {
        { u"A", 0 }, { u"N", 1 }, // letter case ignored
        { u"ｱ", 2 }, { u"ｶ", 3 }, // "ｶ" or later
        { u"ﾀ", 4 }, { u"ﾜ", -1 },
    };
    for (const auto& [key, row] : cases)
        EXPECT_EQ(IndexRow(names, key), row) << std::string(key.begin(), key.end());
}

TEST_F(PedigreeEditorTest, DropsClearAndIndexButtons)
{
    PedigreeEditor& e = Editor();
    e.Box().text = u"typed";
    EXPECT_FALSE(e.Drop(16, true, u"M")); // a mare only as a dam at 1..15
    EXPECT_FALSE(e.Drop(1, false, u"Nobody"));
    EXPECT_EQ(e.Box().text, u"typed");

    ASSERT_TRUE(e.Drop(1, false, u"S"));
    EXPECT_EQ(e.Box().text, u"typed"); // incomplete: the box keeps its text
    ASSERT_TRUE(e.Drop(1, true, u"M"));
    EXPECT_TRUE(e.View().complete);
    EXPECT_EQ(e.Box().text, u"S* M");
    EXPECT_EQ(e.StallionNames()[e.SelectedStallionRow()], u"S");
    EXPECT_EQ(e.MareNames()[e.SelectedMareRow()], u"M");
    const EditorSlotView& one = e.View().slot[1];
    EXPECT_TRUE(one.topBar && one.bottomBar);
    EXPECT_EQ(one.hint, StallionHint(data.d, data.d.DadTable[S])); // the stallion's hint wins
    EXPECT_EQ(one.caption, u"S\r\n* M");

    ASSERT_TRUE(e.Drop(2, true, u"M2")); // the dam of horse 2: S loses his place, M keeps hers
    EXPECT_EQ(e.GetChart().slot[1].DadIdx, -1);
    EXPECT_EQ(e.View().slot[2].hint, MareHint(data.d, data.d.MamTable[M2]));
    EXPECT_TRUE(e.View().slot[2].bottomBar && !e.View().slot[2].topBar);
    EXPECT_EQ(e.Box().text, u"S* M");

    EXPECT_TRUE(e.PressIndex(false, u"T"));
    EXPECT_EQ(e.StallionNames()[e.SelectedStallionRow()], u"T");
    EXPECT_FALSE(e.PressIndex(false, u"ﾜ"));
    EXPECT_EQ(e.StallionNames()[e.SelectedStallionRow()], u"T"); // nothing found: selection stays

    e.Clear();
    EXPECT_EQ(e.Box().text, u"S* M");
    EXPECT_EQ(e.SelectedStallionRow(), -1);
    EXPECT_EQ(e.SelectedMareRow(), -1);
    for (int k = 1; k <= 31; ++k)
        EXPECT_EQ(e.GetChart().slot[k], SlotRec {});
    EXPECT_FALSE(e.View().slot[1].topBar || e.View().slot[1].bottomBar);
}

TEST_F(PedigreeEditorTest, ViewShowsEffectsCrossesLinesAndRules)
{
    data.d.CrossTable[0].Color = 0xFFFFFF;
    data.d.CrossTable[1].Color = 0x111111;
    data.d.CrossTable[2].Color = 0x222222;
    data.d.KeitoTable[2].name = u"甲系";
    data.d.KeitoTable[4].name = u"乙系";
    data.d.OmokeiTable[3].name = u"面3";
    data.d.OmokeiTable[5].name = u"面5";
    Oya(F(S)[0]) = { u"S", 1, 0, 2, 3, 0 }; // one effect: both halves take it
    Oya(F(S)[1]).a = 1;
    Oya(F(S)[1]).b = 2;
    Oya(F(S)[9]).omokei = 5; // position 17
    Oya(Fm(M)[0]).keito = 4; // the dam's sire
    // Crosses: S's position 2 (chart 4) is M's sire (chart 3), with an effect; S's position 4 (chart 8)
    // is M's position 4 (chart 12), without.
    const int X = data.Oya(u"X");
    const int Y = data.Oya(u"Y");
    Oya(X).a = 2;
    data.d.DadTable[S].Father[2] = X;
    data.d.MamTable[M].Father[0] = X;
    data.d.DadTable[S].Father[4] = Y;
    data.d.MamTable[M].Father[3] = Y;
    Oya(X).keito = 4;

    PedigreeEditor& e = Editor();
    e.Drop(2, false, u"S"); // the line panel 01 passes over the empty position 1
    EXPECT_EQ(e.View().omo[0].caption, u"3");
    EXPECT_EQ(e.View().omo[0].hint, u"面3");
    EXPECT_EQ(e.View().kan[0].caption, u"2");
    EXPECT_EQ(e.View().kan[0].hint, u"甲系");
    EXPECT_EQ(e.View().omo[1].caption, u""); // line 03 holds nobody
    EXPECT_EQ(e.View().kan[1].hint, u"");

    e.Drop(1, false, u"S");
    e.Drop(1, true, u"M");
    const EditorView& v = e.View();
    EXPECT_EQ(v.slot[1].colorA, 0x111111u);
    EXPECT_EQ(v.slot[1].colorB, 0x111111u);
    EXPECT_EQ(v.slot[2].colorA, 0x111111u);
    EXPECT_EQ(v.slot[2].colorB, 0x222222u);
    EXPECT_EQ(v.slot[5].colorA, 0xFFFFFFu);
    for (int k = 1; k <= 31; ++k) {
        SCOPED_TRACE(k);
        const bool red = k == 4 || k == 3;
        const bool blue = k == 8 || k == 12;
        EXPECT_EQ(v.slot[k].frame, red || blue);
        if (red || blue) {
            EXPECT_EQ(v.slot[k].frameColor, red ? 0x0000FFu : 0xFF0000u);
        }
    }
    EXPECT_TRUE(v.crsFrame);
    EXPECT_EQ(v.crsCaption, u"ｸﾛｽ:2");
    EXPECT_EQ(v.crsHint, u"0,1,0,0,0,0,0,0,0,0");
    EXPECT_EQ(v.effectCount[2], 1);
    EXPECT_EQ(v.migo[0].caption, u"5");
    EXPECT_EQ(v.migo[0].hint, u"面5");
    EXPECT_EQ(v.migo[1].caption, u"0"); // a known ancestor without a group shows 0
    EXPECT_EQ(v.omo[1].caption, u"0"); // line 03 starts at the dam's sire
    EXPECT_EQ(v.kan[1].caption, u"4");

    // The nick (star rank 1 weighs 10) from 25 on.
    data.d.NixCount = 1;
    const std::pair<int, std::u16string_view> nicks[] = { { 24, u"24" }, { 25, u"25程々" }, { 30, u"30良く" } };
    for (const auto& [value, caption] : nicks) {
        data.d.NixList[0] = { 2, 4, value };
        e.Drop(1, true, u"M"); // redraws
        EXPECT_EQ(e.View().nixCaption, caption);
        EXPECT_EQ(e.View().nixFrame, value >= 25);
    }
}

TEST_F(PedigreeEditorTest, ShowSelectsWhatItReadsAndReportsFailures)
{
    PedigreeEditor& e = Editor();
    std::u16string message;
    e.Box().text = u"  Ｓ＊（T＊M2）  ";
    EXPECT_EQ(e.Show(AliasLookup(), &message), 1);
    EXPECT_EQ(message, u"");
    EXPECT_EQ(e.Box().text, u"S* (T* M2)"); // folded and trimmed, then the complete chart's formula
    EXPECT_EQ(e.StallionNames()[e.SelectedStallionRow()], u"T");
    EXPECT_EQ(e.MareNames()[e.SelectedMareRow()], u"M2");

    // The chart is complete from before: a reading that stops keeps the typed text and its selection.
    e.Box().text = u"Zzz * M";
    EXPECT_EQ(e.Show(AliasLookup(), &message), 0);
    EXPECT_EQ(e.Box().text, u"Zzz * M");
    EXPECT_EQ(e.Box().selection, (TextRange { 0, 3 }));

    e.Box().text = u"T * (S";
    EXPECT_EQ(e.Show(AliasLookup(), &message), -1);
    EXPECT_EQ(message, kMsgCannotAnalyse);
    EXPECT_EQ(e.GetChart().slot[1].DadIdx, T); // placements before the failure stay
    EXPECT_EQ(e.Box().text, u"T * (S");

    // A mare nested five levels deep has no place on the chart: she is named, and the typed text stays.
    e.Box().text = u"S * (T * (S * (T * (S * M2))))";
    message.clear();
    EXPECT_EQ(e.Show(AliasLookup(), &message), 1);
    EXPECT_EQ(message, u"繁殖牝馬M2は血統表の５代目にあたり、置く場所がありません。省いて表示しました");
    EXPECT_EQ(e.Box().text, u"S * (T * (S * (T * (S * M2))))");
    EXPECT_EQ(e.GetChart().slot[31].DadIdx, S);
}

TEST_F(PedigreeEditorTest, SuggestionsNeedAFormulaAndPlaceTheChoice)
{
    PedigreeEditor& e = Editor();
    e.Drop(1, false, u"S");
    e.Drop(1, true, u"M");
    e.Box().text.clear();
    EXPECT_FALSE(e.OpenSuggestions(1));
    e.Box().text = u"x";
    EXPECT_FALSE(e.OpenSuggestions(2)); // an ancestor only: no items
    // Every candidate is judged; with the fixture's groups all 0 no rule holds, so make T's and M2's
    // chains interesting.
    int g = 1;
    for (int p : { 0, 5, 3, 7 })
        Oya(F(T)[p]).omokei = g++;
    for (int p : { 1, 5, 3, 7 })
        Oya(Fm(M)[p - 1]).omokei = g++;
    ASSERT_TRUE(e.OpenSuggestions(1));
    ASSERT_EQ(e.Suggestions().size(), 8u);
    EXPECT_EQ(e.SuggestionPosition(), 1);
    ASSERT_EQ(e.Suggestions()[0].horses, (std::vector<int> { T }));
    e.ChooseSuggestion(0, 0);
    EXPECT_EQ(e.GetChart().slot[1].DadIdx, T);
    EXPECT_EQ(e.GetChart().slot[1].MamIdx, M);
    EXPECT_EQ(e.StallionNames()[e.SelectedStallionRow()], u"T");
    EXPECT_EQ(e.Box().text, u"T* M");
}

TEST_F(PedigreeEditorTest, ReloadRefillsTheListsAndKeepsTheHorsesThatStillExist)
{
    PedigreeEditor& e = Editor();
    EXPECT_FALSE(e.SyncWithData());
    e.Drop(2, false, u"T");
    e.Drop(1, true, u"M");
    e.Box().text = u"kept";

    // The reloaded tables: S and T swap rows, M is renamed, a stallion is new.
    std::swap(data.d.DadTable[S], data.d.DadTable[T]);
    data.d.MamTable[M].name = u"Mx";
    data.Stallion(u"A");
    ++data.d.LoadGeneration;

    EXPECT_TRUE(e.SyncWithData());
    EXPECT_EQ(e.StallionNames(), (std::vector<std::u16string> { u"A", u"S", u"T" }));
    EXPECT_EQ(e.MareNames(), (std::vector<std::u16string> { u"M2", u"Mx" }));
    EXPECT_EQ(e.SelectedStallionRow(), -1);
    EXPECT_EQ(e.GetChart().slot[2].DadIdx, S); // T at his new row
    EXPECT_EQ(e.GetChart().slot[4].OyaIdx, F(S)[1]);
    EXPECT_EQ(e.GetChart().slot[1].MamIdx, -1); // M is gone, and her ancestry with her
    EXPECT_EQ(e.GetChart().slot[3].OyaIdx, -1);
    EXPECT_EQ(e.Box().text, u"kept");
    EXPECT_FALSE(e.SyncWithData());
}
