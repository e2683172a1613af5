// Backup sets of the data files: made before the first write of an opening, the newest twenty kept, a
// failure to make one stopping the write, and a set restored as one commit after the current files are
// backed up in their turn.

#include "core/maint/backup_window.h"
#include "editor_fixture.h"

#include <filesystem>

using namespace velmora;
using velmora::test::EditorTest;

TEST_F(EditorTest, TheFirstWriteOfAnOpeningBacksUpTheNineFilesAndTwentySetsAreKept)
{
    const auto before = Files();
    ed->Keiro() = u"月毛";
    ASSERT_TRUE(ed->Register(EditPage::Keiro).done);
    ed->Keiro() = u"葦毛";
    ASSERT_TRUE(ed->Register(EditPage::Keiro).done);
    std::vector<BackupSet> sets = ListBackups(dir.Path());
    ASSERT_EQ(sets.size(), 1u) << "one set per opening";
    EXPECT_EQ(sets[0].files.size(), 8u) << "the nine files but the missing point file";
    EXPECT_EQ(dir.ReadBytes("backup/" + sets[0].name + "/毛色.CSV"), before.at("毛色.CSV"));

    // Sets of one second are numbered; the oldest go beyond twenty; a half-written set is thrown away.
    ASSERT_EQ(::mkdir(dir.File("backup/.partial-20200101-000000").c_str(), 0755), 0);
    for (int i = 0; i < 22; ++i)
        MakeBackup(dir.Path(), test::DefaultDataFiles(), 1893456000 + (i < 3 ? 0 : i)); // 2030-01-01
    sets = ListBackups(dir.Path());
    ASSERT_EQ(sets.size(), 20u);
    EXPECT_EQ(BackupTimeText(sets.back().name).substr(0, 10), "2030/01/01");
    EXPECT_EQ(sets.back().name.substr(15), "-3") << "the first of that second and its second set went";
    EXPECT_FALSE(std::filesystem::exists(dir.File("backup/.partial-20200101-000000")));

    // Restoring puts the set's files back as they were and backs up the files it replaces; the set stays.
    dir.WriteBytes("毛色.CSV", "changed\r\n");
    const std::string restored = sets.back().name;
    const std::string made = RestoreBackup(dir.Path(), test::DefaultDataFiles(), restored, 1893457000);
    EXPECT_EQ(dir.ReadBytes("毛色.CSV"), dir.ReadBytes("backup/" + restored + "/毛色.CSV"));
    EXPECT_EQ(dir.ReadBytes("backup/" + made + "/毛色.CSV"), "changed\r\n");
    EXPECT_EQ(ListBackups(dir.Path()).size(), 20u);
}

TEST_F(EditorTest, NoBackupNoWrite)
{
    dir.WriteBytes("backup", "a file where the folder should be");
    const auto files = Files();
    ed->Keiro() = u"月毛";
    const PressResult r = ed->Register(EditPage::Keiro);
    EXPECT_FALSE(r.done);
    EXPECT_EQ(ToUtf8(r.message).rfind("バックアップを作れないので、保存しませんでした: ", 0), 0u) << ToUtf8(r.message);
    EXPECT_EQ(Changed(files), std::vector<std::string> {});
    EXPECT_EQ(ed->ColourNames().back(), u"白毛") << "the tables are as they were";
}

TEST_F(EditorTest, TheBackupWindowListsTheSetsAndPutsOneBack)
{
    BackupWindowModel empty(dir.Path(), test::DefaultDataFiles());
    EXPECT_EQ(empty.Rows(), std::vector<std::u16string> { std::u16string(kMsgNoBackups) });
    EXPECT_FALSE(empty.CanRestore(0));

    const std::string set = MakeBackup(dir.Path(), test::DefaultDataFiles(), 1577836800); // 2020
    const std::string colours = dir.ReadBytes("毛色.CSV");
    ed->Keiro() = u"月毛";
    ASSERT_TRUE(ed->Register(EditPage::Keiro).done);

    BackupWindowModel model(dir.Path(), test::DefaultDataFiles());
    const std::u16string when = FromUtf8(BackupTimeText(set));
    ASSERT_EQ(model.Rows().size(), 2u) << "the editor's own set is the newest";
    EXPECT_EQ(model.Rows()[1], when + u"　（8ファイル）");
    std::u16string asked;
    EXPECT_EQ(model.Restore(1, [](std::u16string_view) { return false; }), u"");
    EXPECT_FALSE(model.Restored());
    const std::u16string said = model.Restore(1, [&](std::u16string_view q) {
        asked = q;
        return true;
    });
    EXPECT_EQ(asked, when + u" のデータに戻しますか？\r\n今のデータは、その前にバックアップします。");
    EXPECT_EQ(said.substr(0, when.size() + 12), when + u" のデータに戻しました。");
    EXPECT_TRUE(model.Restored());
    EXPECT_EQ(dir.ReadBytes("毛色.CSV"), colours);
    EXPECT_EQ(model.Rows().size(), 3u);
}
