// The ancestor, cross-effect, sire-line, interesting-line and colour pages of the data editing window.

#include "editor_fixture.h"

#include <algorithm>

using namespace velmora;
using velmora::test::EditorTest;

namespace {
const auto kYes = [](std::u16string_view) { return true; };
}

TEST_F(EditorTest, AnAncestorHoldsOneEffectInAAndTwoInAscendingOrder)
{
    struct Case
    {
        std::u16string koka1, koka2;
        const char16_t* stored; // name,a,b,keito as written
        std::u16string shown1; // what the first box then selects
    };
    const std::u16string none = u"　　　　";
    const Case cases[] = {
        { none, u"速力　　", u"ｿ,2,0,3", none },         { u"ｸﾛｽ5", u"底力↑　", u"ｿ,3,5,3", u"ｸﾛｽ5" },
        { u"底力↑　", u"ｸﾛｽ5", u"ｿ,3,5,3", u"底力↑　" }, { u"速力　　", none, u"ｿ,2,0,3", u"速力　　" },
        { u"ﾅｲ", u"短距離　", u"ｿ,1,0,3", none }, // an unknown effect is the first item
    };
    OyaForm& f = ed->Oya();
    for (const Case& c : cases) {
        ed->EnterPage(EditPage::Oya);
        ed->SetOyaName(u"ｿ");
        f.koka1 = c.koka1;
        f.koka2 = c.koka2;
        f.kei = u"ﾒｲﾌﾟﾙ";
        ed->Register(EditPage::Oya);
        EXPECT_EQ(FileLines("祖先馬.CSV").back(), c.stored) << ToUtf8(c.koka1) << "/" << ToUtf8(c.koka2);
        EXPECT_EQ(f.koka1, c.shown1);
        EXPECT_EQ(d->OyaTable[FindOya(*d, u"ｿ")].omokei, 3); // the group of line 3
    }
    f.kei = u"ﾅｲ";
    EXPECT_EQ(ed->Register(EditPage::Oya).message, u"ｿを更新しました");
    EXPECT_EQ(FileLines("祖先馬.CSV").back(), u"ｿ,1,0,0");
    EXPECT_EQ(f.kei, u"未登録");

    ed->ChooseOyaName(u"ﾃﾞﾙﾀ");
    EXPECT_EQ(f.koka1 + f.koka2 + f.kei, u"速力　　底力↑　ﾌﾞﾗｲﾄ");
    ed->SetOyaName(u"");
    EXPECT_EQ(f.koka1 + f.koka2 + f.kei, none + none + u"未登録");
}

TEST_F(EditorTest, SireLinesTakeTheirGroupByNameAndDeletingOneShiftsTheAncestorsLines)
{
    KeitoForm& f = ed->Keito();
    ed->SetKeitoName(u"ﾌﾞﾗｲﾄ");
    EXPECT_EQ(f.omo, u"ｸﾞﾙｰﾌﾟ2");
    ed->SetKeitoName(u"ｼﾝ");
    EXPECT_EQ(f.omo, u"");
    f.omo = u"ｸﾞﾙｰﾌﾟ99"; // not a group: 0
    EXPECT_EQ(ed->Register(EditPage::Keito).message, u"ｼﾝ系を追加しました");
    EXPECT_EQ(FileLines("系統.CSV").back(), u"ｼﾝ,0");
    f.omo = u"ｸﾞﾙｰﾌﾟ16";
    EXPECT_EQ(ed->Register(EditPage::Keito).message, u"ｼﾝ系を更新しました");
    EXPECT_EQ(FileLines("系統.CSV").back(), u"ｼﾝ,16");

    ed->SetKeitoName(u"未登録");
    EXPECT_EQ(ed->Delete(EditPage::Keito, kYes).message, kMsgKeitoZero);

    // Line 5 (ｱｲﾗﾝﾄﾞ) of rows 0..9 and ｷﾝｸﾞ, ｼﾝ behind them: the ancestors keep their numbers, so those
    // with lines 6..9 name the line that moved up into that row, as the question warns.
    const std::vector<std::u16string> lines = ed->LineNames();
    std::vector<std::pair<int, int32_t>> behind; // ancestor row, line
    for (int i = 0; i < d->OyaCount; ++i)
        if (d->OyaTable[i].keito >= 6 && d->OyaTable[i].keito <= 9)
            behind.emplace_back(i, d->OyaTable[i].keito);
    ASSERT_FALSE(behind.empty());
    const auto before = Files();
    std::u16string asked;
    ed->SetKeitoName(u"ｱｲﾗﾝﾄﾞ");
    const PressResult r = ed->Delete(EditPage::Keito, [&](std::u16string_view q) {
        asked = q;
        return true;
    });
    EXPECT_EQ(asked, u"系統の削除は、祖先馬の系統がズレます。\r\nそれでも削除しますか？");
    EXPECT_EQ(r.message, u"ｱｲﾗﾝﾄﾞを削除しました");
    EXPECT_EQ(f.name + f.omo, u"");
    EXPECT_EQ(Changed(before), (std::vector<std::string> { "系統.CSV" }));
    Reload();
    for (const auto& [row, line] : behind)
        EXPECT_EQ(d->KeitoTable[line].name, lines[static_cast<size_t>(line + 1)]) << row;
}

TEST_F(EditorTest, ColoursAreAddedOnceAndRemoved)
{
    const auto before = Files();
    ed->Keiro() = u"栗毛";
    EXPECT_EQ(ed->Register(EditPage::Keiro).message, u"既存です");
    EXPECT_EQ(Changed(before), std::vector<std::string> {});

    ed->Keiro() = u"月毛";
    const PressResult added = ed->Register(EditPage::Keiro);
    EXPECT_EQ(added.message, u"月毛を毛色に追加しました");
    EXPECT_TRUE(added.nameListChanged);
    ed->Keiro() = u"芦毛";
    EXPECT_EQ(ed->Delete(EditPage::Keiro, kYes).message, u"芦毛を削除しました");
    EXPECT_EQ(ed->Keiro(), u"");
    // The file holds every colour in memory, those met in the horse files included.
    EXPECT_EQ(FileLines("毛色.CSV"), (std::vector<std::u16string> { u"栗毛", u"鹿毛", u"青鹿毛", u"白毛", u"月毛" }));
    EXPECT_EQ(ed->SortedColourNames(), (std::vector<std::u16string> { u"月毛", u"栗毛", u"白毛", u"青鹿毛", u"鹿毛" }));
}

TEST_F(EditorTest, EffectsAndInterestingLinesAreWrittenAsSixteenRowsAndNeverDeleted)
{
    ed->EnterPage(EditPage::Cross);
    ed->Cross().names[3] = u"底力　　";
    ed->Cross().colors[16] = 0x123456;
    EXPECT_EQ(ed->Register(EditPage::Cross).message, u"クロス効果を更新しました");
    const auto cross = FileLines("ｸﾛｽ.CSV");
    ASSERT_EQ(cross.size(), 16u);
    EXPECT_EQ(cross[2], u"底力　　,$FF0000");
    EXPECT_EQ(cross[15], u",$123456");

    ed->EnterPage(EditPage::Omokei);
    ed->Omokei().lbls[16] = u"十六";
    EXPECT_EQ(ed->Register(EditPage::Omokei).message, u"面白系統を更新しました");
    const auto omokei = FileLines("面白系統.CSV");
    ASSERT_EQ(omokei.size(), 16u);
    EXPECT_EQ(omokei[15], u"ｸﾞﾙｰﾌﾟ16,$001600,十六");

    const auto before = Files();
    EXPECT_EQ(ed->Delete(EditPage::Cross, kYes).message, u"クロス効果は削除できません");
    EXPECT_EQ(ed->Delete(EditPage::Omokei, kYes).message, u"面白系統は削除できません");
    EXPECT_EQ(Changed(before), std::vector<std::string> {});
}
