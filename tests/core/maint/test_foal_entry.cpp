// Registering a planned foal: the check of the optimal-mating window's two commands and what they put
// into the data editing model.

#include "core/mating/foal_registration.h"
#include "editor_fixture.h"

using namespace velmora;
using velmora::test::EditorTest;

TEST_F(EditorTest, AFoalEntryNeedsListedNamesAndFillsThePageAsTyped)
{
    const std::vector<std::u16string> stallions { u"ｴｽ", u"ｶｯﾊﾟ" };
    const std::vector<std::u16string> mares { u"ﾋﾒ" };
    EXPECT_EQ(PlanFoal(*d, u"ｴ", u"ﾋﾒ", stallions, mares, false).message, kMsgChoosePair); // typed over
    EXPECT_EQ(PlanFoal(*d, u"ｴｽ", u"ﾊﾅ", stallions, mares, false).message, kMsgChoosePair); // not in the list
    EXPECT_EQ(PlanFoal(*d, u"ﾗﾑﾀﾞ", u"ﾋﾒ", { u"ﾗﾑﾀﾞ" }, mares, false).message, u"");

    for (const bool stallion : { false, true }) {
        // The broodmare ﾋﾒｯｺ registered first, the stallion foal is offered the next free name.
        const std::u16string name = stallion ? u"ﾋﾒｯｺ2" : u"ﾋﾒｯｺ";
        const FoalPlan plan = PlanFoal(*d, u"ｴｽ", u"ﾋﾒ", stallions, mares, stallion);
        ASSERT_EQ(plan.message, u"");
        EXPECT_EQ(plan.notice.empty(), !stallion);
        EXPECT_EQ(plan.entry.name + u"/" + plan.entry.keito + u"/" + plan.entry.fee, name + u"/ﾉｰｻﾞﾝ/4");
        autoFill = false; // the first opening of a run: the name handler turns AutoFill on
        ed->EnterPage(stallion ? EditPage::Dad : EditPage::Mam);
        PrefillFoal(*ed, plan.entry);
        const HorseForm& f = ed->Horse(stallion);
        EXPECT_EQ(f.name + f.origin + f.keito + f.dam, name + u"自家ﾉｰｻﾞﾝﾋﾒ");
        EXPECT_EQ(f.fee, stallion ? u"4" : u"0");
        const std::u16string want[16] = { u"",   u"ｴｽ", u"S1", u"ｶｯﾊﾟ", u"S2",   u"S3",   u"ｱﾙﾌｧ",   u"ｶﾞﾝﾏ",
                                          u"S4", u"S5", u"S6", u"S7",   u"ﾍﾞｰﾀ", u"ﾃﾞﾙﾀ", u"ｲﾌﾟｼﾛﾝ", u"ｾﾞｰﾀ" };
        for (int k = 1; k <= 15; ++k)
            EXPECT_EQ(f.sosen[k], want[k]) << stallion << " " << k;
        EXPECT_EQ(ed->Register(stallion ? EditPage::Dad : EditPage::Mam).message, name + u"を登録しました");
    }
}
