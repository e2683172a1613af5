// No data changes behind the user's back: deletions keep every other reference right, and a press
// that cannot go through (a full table, a text no file could give back, a failed write) leaves the
// files and the tables exactly as they were.

#include "editor_fixture.h"

#include <sys/stat.h>

using namespace velmora;
using velmora::test::EditorTest;
using velmora::test::ExpectSameTables;

namespace {

const auto kYes = [](std::u16string_view) { return true; };

bool Names(const std::u16string& message, const char* file)
{
    return ToUtf8(message).find(file) != std::string::npos;
}

} // namespace

TEST_F(EditorTest, AfterDeletionsEveryOtherHorseIsWrittenAsBefore)
{
    // The files as they were, their last lines without a line end.
    const auto linesOf = [&](const char* file) {
        std::vector<std::u16string> lines = FileLines(file);
        const std::u16string text = FromCp932(dir.ReadBytes(file));
        lines.push_back(text.substr(text.rfind(u"\r\n") + 2));
        return lines;
    };
    const std::vector<std::u16string> dads = linesOf("種牡馬.CSV");
    const std::vector<std::u16string> mams = linesOf("牝馬.CSV");
    ed->SetOyaName(u"ｶﾞﾝﾏ"); // in the pedigrees of ｶｯﾊﾟ, ﾗﾑﾀﾞ, ﾐｭｰ, ﾋﾒ and ﾊﾅ, which keep the name
    EXPECT_EQ(ed->Delete(EditPage::Oya, kYes).message, u"ｶﾞﾝﾏを削除しました");
    ed->Keiro() = u"鹿毛"; // ﾗﾑﾀﾞ and ﾋﾒ have it: it stays
    EXPECT_EQ(ed->Delete(EditPage::Keiro, kYes).message, u"鹿毛は2頭の馬の毛色なので削除できません");
    ed->SetHorseName(true, u"ｶｯﾊﾟ"); // the first stallion
    ed->Delete(EditPage::Dad, kYes);

    ed->SetHorseName(false, u"ﾆｭｰ");
    EXPECT_EQ(ed->Register(EditPage::Mam).message, u"ﾆｭｰを登録しました");
    ed->SetHorseName(true, u"ｼﾝｼｭ");
    EXPECT_EQ(ed->Register(EditPage::Dad).message, u"ｼﾝｼｭを登録しました");

    const auto dadFile = FileLines("種牡馬.CSV");
    const auto mamFile = FileLines("牝馬.CSV");
    ASSERT_EQ(dadFile.size(), dads.size());
    ASSERT_EQ(mamFile.size(), mams.size() + 1);
    EXPECT_EQ(std::vector(dadFile.begin(), dadFile.end() - 1), std::vector(dads.begin() + 1, dads.end()));
    EXPECT_EQ(std::vector(mamFile.begin(), mamFile.end() - 1), mams);

    // A horse shows what its file holds, and storing it again gives the same line.
    ed->SetHorseName(true, u"ﾗﾑﾀﾞ");
    const HorseForm& f = ed->Horse(true);
    EXPECT_EQ(f.sosen[1] + f.keito + f.keiro, u"ｶﾞﾝﾏﾌﾞﾗｲﾄ鹿毛");
    EXPECT_EQ(ed->Register(EditPage::Dad).message, u"ﾗﾑﾀﾞを更新しました");
    EXPECT_EQ(FileLines("種牡馬.CSV")[0], dads[1]);
}

TEST_F(EditorTest, AFullTableRefusesTheNewRowAndWritesNothing)
{
    struct Case
    {
        const char* what;
        void (*fill)(MasterData&);
        EditPage page;
        void (*form)(DataEditor&);
        std::u16string_view message;
    };
    const Case cases[] = {
        { "broodmares", [](MasterData& m) { m.MamCount = kMamRows; }, EditPage::Mam,
          [](DataEditor& e) { e.SetHorseName(false, u"ﾆｭｰ"); }, kMsgMamFull },
        { "stallions", [](MasterData& m) { m.DadCount = kDadRows; }, EditPage::Dad,
          [](DataEditor& e) { e.SetHorseName(true, u"ﾆｭｰ"); }, kMsgDadFull },
        { "ancestors met in a new horse", [](MasterData& m) { m.OyaCount = kOyaRows; }, EditPage::Mam,
          [](DataEditor& e) { e.SetHorseName(false, u"ﾆｭｰ"); }, kMsgOyaFull },
        { "ancestors", [](MasterData& m) { m.OyaCount = kOyaRows; }, EditPage::Oya,
          [](DataEditor& e) { e.SetOyaName(u"ｼﾝｷ"); }, kMsgOyaFull },
        { "sire lines met in a horse", [](MasterData& m) { m.KeitoCount = kKeitoRows; }, EditPage::Dad,
          [](DataEditor& e) {
              e.SetHorseName(true, u"ｴｽ");
              e.Horse(true).keito = u"ｼﾝ";
          },
          kMsgKeitoFull },
        { "sire lines", [](MasterData& m) { m.KeitoCount = kKeitoRows; }, EditPage::Keito,
          [](DataEditor& e) { e.SetKeitoName(u"ｼﾝ"); }, kMsgKeitoFull },
    };
    for (const Case& c : cases) {
        Reload();
        c.fill(*d);
        c.form(*ed);
        const MasterData before = *d;
        const auto files = Files();
        EXPECT_EQ(ed->Register(c.page).message, c.message) << c.what;
        EXPECT_EQ(Changed(files), std::vector<std::string> {}) << c.what;
        ExpectSameTables(*d, before);
    }
}

TEST_F(EditorTest, TextThatAFileCouldNotGiveBackIsRefusedAndNothingWritten)
{
    struct Case
    {
        const char* what;
        EditPage page;
        void (*form)(DataEditor&);
        const char* file;
    };
    const Case cases[] = {
        { "comma in a name", EditPage::Mam, [](DataEditor& e) { e.SetHorseName(false, u"ﾆｭｰ,ｽ"); }, "牝馬.CSV" },
        { "quote in an ancestor", EditPage::Dad,
          [](DataEditor& e) {
              e.SetHorseName(true, u"ﾆｭｰ");
              e.SetAncestor(true, 3, u"ｱ\"ｲ");
          },
          "祖先馬.CSV" },
        { "line end in a colour", EditPage::Mam,
          [](DataEditor& e) {
              e.SetHorseName(false, u"ﾆｭｰ");
              e.Horse(false).keiro = u"月\n毛";
          },
          "毛色.CSV" },
        { "outside code page 932", EditPage::Oya, [](DataEditor& e) { e.SetOyaName(u"ﾗﾑ\U0001F40E"); }, "祖先馬.CSV" },
        { "comma in a line", EditPage::Keito, [](DataEditor& e) { e.SetKeitoName(u"ｼ,ﾝ"); }, "系統.CSV" },
        { "comma in a colour", EditPage::Keiro, [](DataEditor& e) { e.Keiro() = u"鹿,毛"; }, "毛色.CSV" },
        { "quote in an effect", EditPage::Cross,
          [](DataEditor& e) {
              e.EnterPage(EditPage::Cross);
              e.Cross().names[2] = u"\"速\"";
          },
          "ｸﾛｽ.CSV" },
        { "line end in a label", EditPage::Omokei,
          [](DataEditor& e) {
              e.EnterPage(EditPage::Omokei);
              e.Omokei().lbls[1] = u"a\r\nb";
          },
          "面白系統.CSV" },
    };
    for (const Case& c : cases) {
        c.form(*ed);
        const MasterData before = *d;
        const auto files = Files();
        const PressResult r = ed->Register(c.page);
        EXPECT_TRUE(Names(r.message, c.file)) << c.what << ": " << ToUtf8(r.message);
        EXPECT_TRUE(r.written.empty()) << c.what;
        EXPECT_EQ(Changed(files), std::vector<std::string> {}) << c.what;
        ExpectSameTables(*d, before);
    }
}

TEST_F(EditorTest, AFailedWriteLeavesTheFilesAndTablesAsTheyWere)
{
    // The ancestor file is read-only: no file of the set is written.
    ASSERT_EQ(::chmod(dir.File("祖先馬.CSV").c_str(), 0444), 0);
    ed->SetHorseName(false, u"ﾆｭｰ");
    ed->ChooseAncestor(false, 1, u"ｼﾝｷ");
    const MasterData before = *d;
    const auto files = Files();
    PressResult r = ed->Register(EditPage::Mam);
    EXPECT_TRUE(Names(r.message, "祖先馬.CSV")) << ToUtf8(r.message);
    EXPECT_EQ(Changed(files), std::vector<std::string> {});
    ExpectSameTables(*d, before);

    ASSERT_EQ(::chmod(dir.File("祖先馬.CSV").c_str(), 0644), 0);
    r = ed->Register(EditPage::Mam);
    EXPECT_EQ(r.message, u"ﾆｭｰを登録しました");
    EXPECT_EQ(Changed(files), (std::vector<std::string> { "毛色.CSV", "祖先馬.CSV", "牝馬.CSV" }));
}
