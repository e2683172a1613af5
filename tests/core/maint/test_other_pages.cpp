// The ancestor, cross-effect, sire-line, interesting-line and colour pages of the data editing window.

#include "editor_fixture.h"

#include "core/maint/table_edits.h"

#include <algorithm>
#include <map>

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

    ed->SetOyaName(u"ﾃﾞﾙﾀ");
    EXPECT_EQ(f.koka1 + f.koka2 + f.kei, u"速力　　底力↑　ﾌﾞﾗｲﾄ");
    ed->SetOyaName(u"");
    EXPECT_EQ(f.koka1 + f.koka2 + f.kei, none + none + u"未登録");
}

TEST_F(EditorTest, SireLinesTakeTheirGroupByNameAndDeletingOneKeepsEveryOtherRowOnItsLine)
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
    EXPECT_EQ(ed->Register(EditPage::Keito).message, kMsgKeitoZeroRegister);

    // ﾉｰｻﾞﾝ, line 1: ancestors, horses and a nick use it. The question says so; everything behind it keeps
    // its line by name, what had it has none, and its nick leaves the nick file.
    // The line each ancestor row stores (in memory the loader fills in lines the file leaves at 0).
    auto lineOf = [](const MasterData& m, int oya) {
        return m.KeitoTable[StoredOyaLine(m.Sources.oya, static_cast<size_t>(oya))].name;
    };
    std::map<std::u16string, std::u16string> before;
    for (int i = 0; i < d->OyaCount; ++i)
        before[d->OyaTable[i].name] = lineOf(*d, i) == u"ﾉｰｻﾞﾝ" ? u"未登録" : lineOf(*d, i);
    const RowUsers users = KeitoUsers(*d, 1);
    const std::string nixBefore = dir.ReadBytes("ニックス.CSV");
    const auto files = Files();
    std::u16string asked;
    ed->SetKeitoName(u"ﾉｰｻﾞﾝ");
    const PressResult r = ed->Delete(EditPage::Keito, [&](std::u16string_view q) {
        asked = q;
        return true;
    });
    EXPECT_EQ(asked,
              u"ﾉｰｻﾞﾝを使っているもの: 祖先馬" + FromUtf8(std::to_string(users.ancestors))
                  + u"頭、種牡馬2頭、繁殖牝馬1頭、ニックス1件\r\nこれらの系統は「未登録」になります。"
                    u"この系統のニックスは削除します。\r\nそれでも削除しますか？");
    EXPECT_EQ(r.message, u"ﾉｰｻﾞﾝを削除しました");
    EXPECT_EQ(f.name + f.omo, u"");
    EXPECT_TRUE(r.nickFileWritten);
    EXPECT_EQ(Changed(files), (std::vector<std::string> { "系統.CSV", "祖先馬.CSV", "種牡馬.CSV", "牝馬.CSV" }));
    Reload();
    for (int i = 0; i < d->OyaCount; ++i)
        EXPECT_EQ(lineOf(*d, i), before.at(d->OyaTable[i].name)) << ToUtf8(d->OyaTable[i].name);
    EXPECT_EQ(d->KeitoTable[d->DadTable[FindDad(*d, u"ｶｯﾊﾟ")].keito].name, u"未登録");
    EXPECT_EQ(d->KeitoTable[d->MamTable[FindMam(*d, u"ﾊﾅ")].keito].name, u"ﾌﾞﾗｲﾄ");
    EXPECT_EQ(dir.ReadBytes("ニックス.CSV"), nixBefore.substr(nixBefore.find("\r\n") + 2));
    EXPECT_EQ(d->NixCount, 2);
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
