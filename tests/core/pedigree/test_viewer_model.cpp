// The pedigree viewer's behaviour: showing and stepping, replacing entries, the information box, the
// replacement list and the fixed texts.

#include "core/common/errors.h"
#include "core/pedigree/viewer_model.h"
#include "pedigree_fixture.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::PedigreeData;

namespace {

using Lines = std::vector<std::u16string>;

class ViewerModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        data.d.KeiroTable = { u"栗毛", u"鹿毛" };
        data.d.KeitoTable[1].name = u"ﾀﾊﾟｸ系";
        for (const char16_t* n : { u"T", u"S", u"U" })
            data.Stallion(n);
        DadRec& s = data.d.DadTable[FindDad(data.d, u"S")];
        s
            = DadRec { s.name, u"内国", 1,    1,    4,    1200,     2400, u"◎", u"早熟",
                       u"A",   u"B",    u"C", u"A", u"B", s.Father, 1,    {} };
        data.Mare(u"M");
        data.Mare(u"m2");
        MamRec& m = data.d.MamTable[FindMam(data.d, u"M")];
        m = MamRec { m.name, u"自家", 1, 0, 120, 55, 60, m.Father, true, {} };
    }
    int Mare(std::u16string_view n) const { return FindMam(data.d, n); }

    PedigreeData data;
};

} // namespace

TEST_F(ViewerModelTest, ReplacementChangesTheWindowNotTheChain)
{
    PedigreeViewer v(data.d);
    EXPECT_FALSE(v.RightEnabled());
    EXPECT_EQ(v.Display().pair.dads[0].name, u"");

    const ChainReading r = v.Show(u"S*T*M", {});
    EXPECT_TRUE(r.messages.empty());
    EXPECT_TRUE(v.RightEnabled());
    EXPECT_FALSE(v.LeftEnabled());
    EXPECT_EQ(v.CurrentMare(), Mare(u"M"));
    const auto captions = [&] {
        const ViewerDisplay& d = v.Display();
        return Lines { d.pair.dads[0].name, d.pair.mams[1].name, d.pair.mams[3].name, d.pair.mams[7].name };
    };
    EXPECT_EQ(captions(), (Lines { u"S", u"T", u"M_1", u"M_3" }));
    EXPECT_EQ(v.Display().boldMare, 3);

    struct Step
    {
        int entry;
        std::u16string name;
        bool replaced;
        Lines shown;
        int32_t currentMare;
    };
    const Step steps[] = {
        { 2, u"U", true, { u"S", u"U", u"M_1", u"M_3" }, -1 },
        { 3, u"m2", true, { u"S", u"U", u"m2_1", u"m2_3" }, Mare(u"m2") },
        { 2, u"nobody", false, { u"S", u"U", u"m2_1", u"m2_3" }, -1 },
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.name.begin(), s.name.end()));
        EXPECT_EQ(v.Replace(s.entry, s.name), s.replaced);
        EXPECT_EQ(captions(), s.shown);
        EXPECT_EQ(v.CurrentMare(), s.currentMare);
        EXPECT_TRUE(v.RightEnabled()); // the arrows keep working after a replacement
    }
    EXPECT_EQ(v.Chain().chain[1].Name, u"T");

    ASSERT_TRUE(v.StepRight());
    EXPECT_EQ(captions(), (Lines { u"T", u"M_1", u"M_3", u"M_7" }));
    EXPECT_EQ(v.Display().boldMare, 1);
    EXPECT_FALSE(v.StepRight());
    ASSERT_TRUE(v.StepLeft());
    EXPECT_EQ(captions(), (Lines { u"S", u"T", u"M_1", u"M_3" }));
}

TEST_F(ViewerModelTest, InformationBoxDescribesStallionOrCurrentMare)
{
    PedigreeViewer v(data.d);
    v.Show(u"S*T*M", {});
    const Lines stallion = { u"産地:内国", u"系統:ﾀﾊﾟｸ系", u"毛色:鹿毛",     u"★:4",           u"距離:1200-2400",
                             u"ﾀﾞｰﾄ:◎",    u"成長:早熟",   u"気性:A 根性:B", u"健康:C 実績:A", u"安定:B" };
    const Lines mare
        = { u"母名:M", u"持込等:自家", u"系統:ﾀﾊﾟｸ系", u"毛色:栗毛", u"価格:120", u"ｽﾋﾟｰﾄﾞ:55", u"ｽﾀﾐﾅ:60" };
    EXPECT_EQ(v.InfoLines(1), stallion);
    EXPECT_EQ(v.InfoLines(2).front(), u"産地:"); // T, a stallion without data
    EXPECT_EQ(v.InfoLines(3), mare); // the bold label of the mare's sire
    EXPECT_EQ(v.InfoLines(4), Lines {}); // behind the mare

    // Replacing the sire by a stallion forgets the current mare: nothing left to describe there.
    v.Replace(1, u"U");
    EXPECT_EQ(v.InfoLines(3), Lines {});
    data.d.MamTable[Mare(u"M")].keiro = 5;
    v.Replace(3, u"M");
    EXPECT_THROW(v.InfoLines(3), RangeError);
}

TEST_F(ViewerModelTest, ReplacementListOffersSortedNamesFromTheLabel)
{
    PedigreeViewer v(data.d);
    v.Show(u"S*T*M", {});
    const std::optional<ReplacementList> sire = v.Replacement(1);
    ASSERT_TRUE(sire);
    EXPECT_EQ(sire->items, (Lines { u"S", u"T", u"U" }));
    EXPECT_EQ(sire->text, u"S");
    const std::optional<ReplacementList> damSire = v.Replacement(3);
    ASSERT_TRUE(damSire);
    EXPECT_EQ(damSire->items, (Lines { u"M", u"m2", u"S", u"T", u"U" }));
    EXPECT_EQ(damSire->text, u"M_1"); // not a stallion: the label's caption all the same
    EXPECT_FALSE(v.Replacement(4));
}

TEST(ViewerTexts, LabelsNitroHintsAndInfoBoxPlace)
{
    for (int e = 1; e <= 5; ++e) {
        const EntryLabel l = LabelOfEntry(e);
        EXPECT_EQ(EntryOfLabel(l.dadSide, l.position), e);
    }
    EXPECT_EQ(LabelOfEntry(4).position, 7);
    EXPECT_EQ(EntryOfLabel(false, 2), 0);
    EXPECT_EQ(EntryOfLabel(true, 1), 0);
    EXPECT_THROW(LabelOfEntry(6), RangeError);

    MasterData d;
    for (int k = 1; k <= 4; ++k)
        d.CrossTable[k].name = test::U("E" + std::to_string(k));
    d.SpeedCrossRow = 1;
    EXPECT_EQ(MakeNitroHints(d).speed, u"E1*2+E2");
    d.SpeedCrossRow = 2;
    EXPECT_EQ(MakeNitroHints(d).speed, u"E1+E2*2");
    EXPECT_EQ(MakeNitroHints(d).stamina, u"E3+E4");

    // Label at 100, 20 high, box 209 high: below at 136 while it fits the 345-pixel client area.
    EXPECT_EQ(InfoBoxTop(100, 20, 209, 345), 136);
    EXPECT_EQ(InfoBoxTop(100, 20, 209, 344), -110);
}
