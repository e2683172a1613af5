// The data directory dialog's model: masks, roots, the folder list, and what OK and cancel change.

#include "core/app/data_dir_dialog.h"
#include "core/app/settings.h"
#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora {
namespace {

namespace fs = std::filesystem;

TEST(DataDirDialog, MasksIgnoreLetterCase)
{
    struct Case
    {
        std::u16string name, mask;
        bool match;
    };
    const Case cases[] = {
        { u"系統.CSV", u"系統*.CSV", true },
        { u"系統.csv", u"系統*.CSV", true },
        { u"系統2.Csv", u"系統*.CSV", true },
        { u"ｸﾛｽ.ｃｓｖ", u"ｸﾛｽ*.ＣＳＶ", true },
        { u"系統", u"系統*.CSV", false },
        { u"x系統.CSV", u"系統*.CSV", false },
        { u"系統.CSV.bak", u"系統*.CSV", false },
        { u"相性a.b.CSV", u"相性*.CSV", true },
        { u"abc", u"a?c", true },
        { u"ac", u"a?c", false },
        { u"a.CSV.CSV", u"*.CSV", true },
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.match) << ToUtf8(c.name) << " ~ " << ToUtf8(c.mask);
}

TEST(DataDirDialog, RootsAreTheSystemHomeMediaAndTheSample)
{
    test::TempDir sample;
    const auto roots = DataDirRoots(
        "/home/u", { "/", "/proc", "/media/u/USB", "/mnt", "/run/media/u/CARD/", "/home/u", "/mnt/sys/deep/er" },
        sample.Path());
    const std::vector<DataDirRoot> want = {
        { u"/", "/" },
        { u"ホーム (/home/u/)", "/home/u/" },
        { u"/media/u/USB/", "/media/u/USB/" },
        { u"/run/media/u/CARD/", "/run/media/u/CARD/" },
        { u"サンプルデータ (" + FromUtf8(sample.Path()) + u")", sample.Path(), true },
    };
    EXPECT_EQ(roots, want);
    EXPECT_EQ(DataDirRoots("", {}, sample.File("missing")).size(), 1u);
}

class DataDirModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.StartDir = dir.Path();
        app.DataDir = dir.Path() + "data/";
        app.DataFiles = DefaultDataFiles();
        app.IniFile = std::make_unique<IniFile>(dir.File("velmora.INI"));
        fs::create_directories(dir.File("data"));
        fs::create_directories(dir.File("other/sub"));
        for (const DataFileKey& k : kDataFileKeys) {
            Touch("data/" + ToUtf8(k.defaultName));
            Touch("other/" + ToUtf8(k.defaultName));
        }
        Touch("other/ニックス2.csv");
    }
    void Touch(const std::string& name) const { dir.WriteBytes(name, "x\r\n"); }
    std::vector<std::u16string> Selected(const DataDirDialogModel& m) const
    {
        std::vector<std::u16string> names;
        for (const DataFileChoice& c : m.Lists())
            names.push_back(c.selected < 0 ? u"-" : c.names[static_cast<size_t>(c.selected)]);
        return names;
    }
    std::string SettingsText() const
    {
        const std::u16string text = FromCp932(dir.ReadBytes("velmora.INI"));
        return ToUtf8(text);
    }

    test::TempDir dir;
    AppState app;
};

TEST_F(DataDirModel, FolderListShowsTheWayDownAndTheSubfolders)
{
    const DataDirRoot home { u"ホーム", dir.Path() };
    DataDirDialogModel m(app, { { u"/", "/" }, home });
    EXPECT_EQ(m.CurrentRoot(), 1);
    EXPECT_EQ(m.Folder(), dir.Path() + "data/");
    m.OpenFolder(dir.Path() + "other");
    const std::string root = dir.Path().substr(0, dir.Path().size() - 1);
    const std::vector<FolderEntry> want = {
        { FromUtf8(root), dir.Path(), 0, true },
        { u"other", dir.Path() + "other/", 1, true },
        { u"sub", dir.Path() + "other/sub/", 2, false },
    };
    EXPECT_EQ(m.Folders(), want);
    EXPECT_EQ(m.CurrentFolderEntry(), 1);
    EXPECT_EQ(m.Lists()[8].names, (std::vector<std::u16string> { u"ニックス.CSV", u"ニックス2.csv" }));

    m.ClickFolder(2); // a single click opens the folder
    EXPECT_EQ(m.Folder(), dir.Path() + "other/sub/");
    EXPECT_EQ(Selected(m), std::vector<std::u16string>(9, u"-"));
    m.ChooseRoot(0); // the folder list moves to the drive, and the drive follows the folder list
    EXPECT_EQ(m.Folder(), "/");
    EXPECT_EQ(m.CurrentRoot(), 0);
    m.OpenFolder(dir.Path() + "gone/deeper"); // a folder that is gone: the nearest one above it
    EXPECT_EQ(m.Folder(), dir.Path());
    EXPECT_EQ(m.CurrentRoot(), 1);
}

TEST_F(DataDirModel, OkWithEveryFileWritesTheNamesInOrder)
{
    // Every current file in the folder: all nine selected (stored names are upper case, the files not
    // necessarily); OK writes them back and closes.
    app.DataFiles.Nix = u"ニックス2.CSV";
    DataDirDialogModel m(app, {});
    m.OpenFolder(dir.Path() + "other/");
    const std::vector<std::u16string> want = { u"系統.CSV",   u"毛色.CSV", u"ｸﾛｽ.CSV",  u"面白系統.CSV", u"祖先馬.CSV",
                                               u"種牡馬.CSV", u"牝馬.CSV", u"相性.CSV", u"ニックス2.csv" };
    EXPECT_EQ(Selected(m), want);
    const DataDirOkResult r = m.Ok();
    EXPECT_TRUE(r.close);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(app.DataDir, dir.Path() + "other/");
    EXPECT_EQ(SettingsText(),
              "[DATA]\r\nデータディレクトリ=" + dir.Path()
                  + "other/\r\n系統データ=系統.CSV\r\n毛色データ=毛色.CSV\r\nクロスデータ=ｸﾛｽ.CSV\r\n"
                    "ニックスデータ=ニックス2.csv\r\n面白系統データ=面白系統.CSV\r\n祖先馬データ=祖先馬.CSV\r\n"
                    "種牡馬データ=種牡馬.CSV\r\n繁殖牝馬データ=牝馬.CSV\r\n相性計算データ=相性.CSV\r\n");
    // The next start reads the chosen nick file.
    EXPECT_EQ(ReadDataLocation(IniFile(dir.File("velmora.INI")), dir.Path()).files.Nix, u"ニックス2.CSV");
}

TEST_F(DataDirModel, AMissingFileKeepsTheDialogOpenWithTheOthersTakenOver)
{
    fs::remove(dir.File("other/" + ToUtf8(u"祖先馬.CSV")));
    DataDirDialogModel m(app, {});
    m.OpenFolder(dir.Path() + "other/");
    m.Select(8, 1); // ニックス2.csv
    const DataDirOkResult r = m.Ok();
    EXPECT_FALSE(r.close);
    EXPECT_EQ(r.messages, (std::vector<std::u16string> { FromUtf8(dir.Path()) + u"data/祖先馬.CSVが見つかりません" }));
    EXPECT_EQ(app.DataDir, dir.Path() + "data/");
    EXPECT_EQ(app.DataFiles.Nix, u"ニックス2.csv");
    EXPECT_FALSE(fs::exists(dir.File("velmora.INI")));

    // Cancel leaves DataDir and the settings file alone and gives DataFiles back as they were.
    m.Cancel();
    EXPECT_EQ(app.DataDir, dir.Path() + "data/");
    EXPECT_EQ(app.DataFiles, DefaultDataFiles());
    EXPECT_FALSE(fs::exists(dir.File("velmora.INI")));
}

TEST_F(DataDirModel, AnUnwritableSettingsFileKeepsTheDialogOpen)
{
    fs::create_directories(dir.File("velmora.INI")); // a folder where the file should be
    DataDirDialogModel m(app, {});
    const DataDirOkResult r = m.Ok();
    EXPECT_FALSE(r.close);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(ToUtf8(r.messages[0]).find("velmora.INI"), std::string::npos);
    EXPECT_EQ(app.DataDir, dir.Path() + "data/");
}

// The installed sample is never used in place: OK copies it into the user's folder and works there;
// when that folder exists, another is asked for, and a folder holding sample files is refused.
TEST_F(DataDirModel, ChosenSampleIsCopiedFirst)
{
    const std::string sample = dir.Path() + "other/";
    fs::permissions(dir.File("other/" + ToUtf8(u"相性.CSV")), fs::perms::owner_read);
    const std::vector<DataDirRoot> roots = DataDirRoots("", {}, sample);
    const std::string copy = dir.Path() + "home/Velmora/data/";
    {
        DataDirDialogModel m(app, roots, copy);
        m.ChooseRoot(1);
        const DataDirOkResult r = m.Ok();
        EXPECT_TRUE(r.close);
        EXPECT_EQ(r.messages,
                  (std::vector<std::u16string> { u"サンプルデータを" + FromUtf8(copy)
                                                 + u"にコピーしました。このフォルダのデータを使います" }));
        EXPECT_EQ(app.DataDir, copy);
        EXPECT_EQ(app.DataFiles.Nix, u"ニックス.CSV");
        EXPECT_NE(SettingsText().find("データディレクトリ=" + copy + "\r\n"), std::string::npos);
        EXPECT_EQ(dir.ReadBytes("home/Velmora/data/" + ToUtf8(u"ニックス2.csv")), "x\r\n");
        const fs::perms p = fs::status(copy + ToUtf8(u"相性.CSV")).permissions();
        EXPECT_NE(p & fs::perms::owner_write, fs::perms::none);
    }
    DataDirDialogModel m(app, roots, copy);
    m.ChooseRoot(1);
    const DataDirOkResult ask = m.Ok();
    EXPECT_FALSE(ask.close);
    EXPECT_EQ(ask.askCopyFolder, dir.Path() + "home/Velmora/");
    struct Case
    {
        std::string folder;
        std::u16string message;
    };
    const Case refused[] = {
        { copy, FromUtf8(copy) + u"には既に" },
        { sample + "sub", FromUtf8(sample) + u"sub/はサンプルデータのフォルダの中です" },
    };
    for (const Case& c : refused) {
        const DataDirOkResult r = m.OkWithSampleCopy(c.folder);
        EXPECT_FALSE(r.close);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].substr(0, c.message.size()), c.message) << ToUtf8(r.messages[0]);
        EXPECT_EQ(app.DataDir, copy);
    }
    const DataDirOkResult r = m.OkWithSampleCopy(dir.Path() + "mine");
    EXPECT_TRUE(r.close);
    EXPECT_EQ(app.DataDir, dir.Path() + "mine/");
    EXPECT_TRUE(fs::exists(dir.File("mine/" + ToUtf8(u"祖先馬.CSV"))));
}

} // namespace
} // namespace velmora
