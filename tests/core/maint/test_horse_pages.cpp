// The horse pages of the data editing window: what choosing a name, a dam or an ancestor fills in,
// and what "登録" and "削除" store.

#include "editor_fixture.h"

#include <algorithm>

using namespace velmora;
using velmora::test::EditorTest;

namespace {

// The fifteen ancestor fields as "k=name" for the non-empty ones.
std::vector<std::u16string> Filled(const HorseForm& f)
{
    std::vector<std::u16string> out;
    for (int k = 1; k <= 15; ++k)
        if (!f.sosen[k].empty())
            out.push_back(FromUtf8(std::to_string(k)) + u"=" + f.sosen[k]);
    return out;
}

const std::vector<std::u16string> kEsAtPosition1 { u"1=ｴｽ", u"2=S1", u"4=S2",  u"5=S3",
                                                   u"8=S4", u"9=S5", u"10=S6", u"11=S7" };

} // namespace

TEST_F(EditorTest, AnAncestorFieldDerivesThePedigreeBehindItOnlyWithAutoFill)
{
    // At the start of a run AutoFill is off: a field derives nothing.
    ed->SetAncestor(false, 1, u"ｴｽ");
    EXPECT_EQ(Filled(ed->Horse(false)), (std::vector<std::u16string> { u"1=ｴｽ" }));
    ed->SetAncestor(false, 1, u"");

    // Choosing ｴｽ from the list at position 1 fills 11, 5, 10, 2, 9, 4 and 8 from his own record.
    ed->ChooseAncestor(false, 1, u"ｴｽ");
    EXPECT_TRUE(ed->AutoFill());
    EXPECT_EQ(Filled(ed->Horse(false)), kEsAtPosition1);
    // A name nobody's pedigree knows empties what lies behind it.
    ed->ChooseAncestor(false, 2, u"ﾀﾞﾚ");
    EXPECT_EQ(Filled(ed->Horse(false)),
              (std::vector<std::u16string> { u"1=ｴｽ", u"2=ﾀﾞﾚ", u"5=S3", u"10=S6", u"11=S7" }));
    // Emptying position 1 empties every position it derives, whatever AutoFill is.
    autoFill = false;
    ed->SetAncestor(false, 1, u"");
    EXPECT_TRUE(Filled(ed->Horse(false)).empty());
}

TEST_F(EditorTest, ChoosingTheDamFillsOrEmptiesHerSideOnly)
{
    for (bool stallion : { false, true }) {
        ed->ChooseAncestor(stallion, 1, u"ｴｽ");
        ed->SetDam(stallion, u"ﾋﾒ"); // positions 1..7: ｶｯﾊﾟ ｱﾙﾌｧ ｶﾞﾝﾏ ﾍﾞｰﾀ ﾃﾞﾙﾀ ｲﾌﾟｼﾛﾝ ｾﾞｰﾀ
        std::vector<std::u16string> want = kEsAtPosition1;
        for (const char16_t* f : { u"3=ｶｯﾊﾟ", u"6=ｱﾙﾌｧ", u"7=ｶﾞﾝﾏ", u"12=ﾍﾞｰﾀ", u"13=ﾃﾞﾙﾀ", u"14=ｲﾌﾟｼﾛﾝ", u"15=ｾﾞｰﾀ" })
            want.push_back(f);
        std::sort(want.begin(), want.end(),
                  [](const auto& a, const auto& b) { return std::stoi(ToUtf8(a)) < std::stoi(ToUtf8(b)); });
        EXPECT_EQ(Filled(ed->Horse(stallion)), want);
        ed->SetDam(stallion, u"ﾋ"); // not a broodmare: the dam side empties
        EXPECT_EQ(Filled(ed->Horse(stallion)), kEsAtPosition1);
        EXPECT_EQ(ed->Horse(stallion).dam, u"ﾋ");
    }
}

TEST_F(EditorTest, ChoosingANameFillsTheFormANewNameKeepsItAnEmptyNameEmptiesIt)
{
    ed->SetHorseName(true, u"ｶｯﾊﾟ");
    const HorseForm& f = ed->Horse(true);
    EXPECT_EQ(Filled(f),
              (std::vector<std::u16string> { u"1=ｱﾙﾌｧ", u"2=ﾍﾞｰﾀ", u"3=ｶﾞﾝﾏ", u"5=ﾃﾞﾙﾀ", u"6=ｲﾌﾟｼﾛﾝ", u"7=ｾﾞｰﾀ",
                                             u"8=ｴｰﾀ", u"9=ｼｰﾀ" }));
    EXPECT_EQ(f.origin, u"内国");
    EXPECT_EQ(f.keito, u"ﾉｰｻﾞﾝ");
    EXPECT_EQ(f.keiro, u"栗毛");
    EXPECT_EQ(f.fee + u"/" + f.distance1 + u"/" + f.distance2, u"3/1200/2000");
    // ◎ 早熟 A B C A B: each group's first item containing the value.
    EXPECT_EQ(f.choices, (std::array<int, kChoiceCount> { 0, 0, 0, 1, 2, 0, 1 }));
    EXPECT_TRUE(ed->AutoFill());

    ed->SetHorseName(true, u"ﾐｭｰ"); // no dirt value: no item
    EXPECT_EQ(f.choices[kDirt], -1);
    EXPECT_EQ(f.choices[kGrow], 2);

    const HorseForm shown = f;
    ed->SetHorseName(true, u"ﾐｭｰﾐｭｰ"); // a new horse entered as a variant of the one shown
    EXPECT_EQ(Filled(f), Filled(shown));
    EXPECT_EQ(f.fee, shown.fee);

    ed->SetHorseName(true, u"");
    EXPECT_TRUE(Filled(f).empty());
    EXPECT_EQ(f.origin + f.keito + f.keiro, u"");
    EXPECT_EQ(f.fee + f.distance1 + f.distance2, u"000");
    EXPECT_EQ(f.choices, (std::array<int, kChoiceCount> {}));

    ed->SetHorseName(false, u"ﾊﾅ");
    const HorseForm& m = ed->Horse(false);
    EXPECT_EQ(m.origin + u"/" + m.keito + u"/" + m.keiro, u"他家/ﾌﾞﾗｲﾄ/白毛");
    EXPECT_EQ(m.fee + u"/" + m.speed + u"/" + m.stamina, u"8000/5/8");
}

TEST_F(EditorTest, RegisteringABroodmareStoresHerFieldsThenUpdatesHer)
{
    HorseForm& f = ed->Horse(false);
    ed->SetHorseName(false, u"ﾆｭｰ");
    ed->ChooseAncestor(false, 1, u"ｴｽ");
    ed->SetAncestor(false, 3, u"ｼﾝｷ"); // new, below 8: takes the line of position 6
    ed->SetAncestor(false, 6, u"ｶｯﾊﾟ"); // line ﾉｰｻﾞﾝ (1); derives 12 = ｱﾙﾌｧ
    ed->SetAncestor(false, 14, u"ｼﾝｷﾆ"); // new, 8 or more: no line
    f.origin = u"自家生産"; // cut to 4 bytes
    f.keiro = u"月毛"; // a new colour
    f.fee = u"abc";
    f.speed = u"61";
    const auto before = Files();

    PressResult r = ed->Register(EditPage::Mam);
    EXPECT_EQ(r.message, u"ﾆｭｰを登録しました");
    EXPECT_TRUE(r.nameListChanged);
    // The new colour is in the colour file with her.
    EXPECT_EQ(Changed(before), (std::vector<std::string> { "毛色.CSV", "祖先馬.CSV", "牝馬.CSV" }));
    EXPECT_EQ(f.keito, u"未登録"); // an empty line box is set to 未登録
    EXPECT_EQ(f.fee, u"0");
    EXPECT_EQ(FileLines("牝馬.CSV").back(),
              u"ﾆｭｰ,自家,未登録,月毛,0,61,0,ｴｽ,S1,ｼﾝｷ,S2,S3,ｶｯﾊﾟ,未登録,S4,S5,S6,S7,"
              u"ｱﾙﾌｧ,未登録,ｼﾝｷﾆ,未登録");
    const auto oya = FileLines("祖先馬.CSV");
    const std::vector<std::u16string> added(oya.end() - 3, oya.end());
    EXPECT_EQ(added, (std::vector<std::u16string> { u"未登録,0,0,0", u"ｼﾝｷﾆ,0,0,0", u"ｼﾝｷ,0,0,1" }));

    f.speed = u"62";
    r = ed->Register(EditPage::Mam);
    EXPECT_EQ(r.message, u"ﾆｭｰを更新しました");
    EXPECT_FALSE(r.nameListChanged);
    Reload();
    ASSERT_EQ(d->MamCount, 3);
    EXPECT_EQ(d->MamTable[2].speed, 62);
    EXPECT_EQ(d->KeiroTable.back(), u"月毛");
}

TEST_F(EditorTest, RegisteringAStallionAddsHisOwnAncestorRowAndStoresHisChoices)
{
    HorseForm& f = ed->Horse(true);
    ed->SetHorseName(true, u"ｼﾝｼｭ");
    ed->ChooseAncestor(true, 1, u"ｴｽ");
    f.keito = u"ﾌﾞﾗｲﾄ";
    f.keiro = u"鹿毛";
    f.origin = u"自家";
    f.fee = u"4";
    f.distance1 = u"1400";
    f.distance2 = u"x";
    f.choices = { 2, -1, 1, 0, 2, 0, 0 };
    EXPECT_EQ(ed->Register(EditPage::Dad).message, u"ｼﾝｼｭを登録しました");
    EXPECT_EQ(FileLines("種牡馬.CSV").back(),
              u"ｼﾝｼｭ,自家,ﾌﾞﾗｲﾄ,鹿毛,4,1400,0,△,,B,A,C,A,A,ｴｽ,S1,未登録,S2,S3,未登録,"
              u"未登録,S4,S5,S6,S7,未登録,未登録,未登録,未登録");
    const auto oya = FileLines("祖先馬.CSV");
    EXPECT_NE(std::find(oya.begin(), oya.end(), u"ｼﾝｼｭ,0,0,2"), oya.end()); // his own row, with his line

    Reload();
    ed->SetHorseName(true, u"ｼﾝｼｭ");
    EXPECT_EQ(ed->Horse(true).choices, (std::array<int, kChoiceCount> { 2, -1, 1, 0, 2, 0, 0 }));
}

TEST_F(EditorTest, EveryPressSetsDataChangedAndDeletingAsksFirst)
{
    const auto before = Files();
    EXPECT_FALSE(ed->DataChanged());
    EXPECT_EQ(ed->Register(EditPage::Mam).message, u"名前がありません");
    EXPECT_TRUE(ed->DataChanged());

    std::vector<std::u16string> asked;
    auto answer = [&](bool ok) {
        return [&asked, ok](std::u16string_view q) {
            asked.emplace_back(q);
            return ok;
        };
    };
    ed->SetHorseName(true, u"ﾅｲ");
    EXPECT_EQ(ed->Delete(EditPage::Dad, answer(true)).message, u"削除元データが見つかりません");
    ed->SetHorseName(true, u"ﾗﾑﾀﾞ");
    EXPECT_EQ(ed->Delete(EditPage::Dad, answer(false)).message, u"");
    EXPECT_EQ(Changed(before), std::vector<std::string> {});

    const PressResult r = ed->Delete(EditPage::Dad, answer(true));
    EXPECT_EQ(r.message, u"ﾗﾑﾀﾞを削除しました");
    EXPECT_TRUE(r.nameListChanged);
    EXPECT_EQ(ed->Horse(true).name, u"");
    EXPECT_EQ(asked, (std::vector<std::u16string> { u"削除しますか？", u"削除しますか？" }));
    EXPECT_EQ(Changed(before), (std::vector<std::string> { "種牡馬.CSV" }));
    EXPECT_EQ(ed->StallionNames(), (std::vector<std::u16string> { u"ｴｽ", u"ｶｯﾊﾟ", u"ﾐｭｰ" }));
}
