// The settings file and the start-up steps: write-back of every key, the layout choice, bands, file
// names and the data file check.

#include "core/app/settings.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "core/data/master_data.h"
#include "core/data/text_file.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

namespace velmora {
namespace {

namespace fs = std::filesystem;

// A fresh directory per test, removed afterwards; the settings state works on "velmora.INI" in it.
class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = m_temp.Path();
        s.StartDir = m_dir;
        s.DataDir = m_dir;
        OpenIni();
    }
    void TearDown() override { s.IniFile.reset(); }

    void OpenIni() { s.IniFile = std::make_unique<IniFile>(IniPath()); }
    std::string IniPath() const { return m_dir + "velmora.INI"; }
    // The settings file as it is on disk now.
    IniFile OnDisk() const { return IniFile(IniPath()); }
    std::u16string Stored(std::u16string_view section, std::u16string_view key) const
    {
        return OnDisk().Read(section, key).value_or(u"<absent>");
    }
    void Store(std::u16string_view section, std::u16string_view key, std::u16string_view value)
    {
        s.IniFile->WriteString(section, key, value);
    }
    void Touch(std::u16string_view name) const { WriteFileAtomic(m_dir + ToUtf8(name), "x\r\n"); }
    void TouchAllDataFiles() const
    {
        for (const DataFileKey& k : kDataFileKeys)
            Touch(k.defaultName);
    }

    test::TempDir m_temp;
    std::string m_dir;
    AppState s;
};

TEST_F(SettingsTest, ReadSettingReturnsDefaultAndWritesItBack)
{
    EXPECT_EQ(ReadSetting(s, u"SCREEN", u"FontName", u"ＭＳ Ｐゴシック"), u"ＭＳ Ｐゴシック");
    EXPECT_EQ(Stored(u"SCREEN", u"FontName"), u"ＭＳ Ｐゴシック");
    Store(u"SCREEN", u"FontName", u"IPAGothic");
    EXPECT_EQ(ReadSetting(s, u"SCREEN", u"FontName", u"ＭＳ Ｐゴシック"), u"IPAGothic");
    EXPECT_EQ(Stored(u"SCREEN", u"FontName"), u"IPAGothic");
}

TEST_F(SettingsTest, ReadSettingWithoutSettingsFileIsAnError)
{
    s.IniFile.reset();
    EXPECT_THROW(ReadSetting(s, u"SCREEN", u"FontName", u"x"), FileError);
}

struct ScreenCase
{
    const char* name;
    std::u16string storedWidth; // empty = key absent
    std::u16string storedHeight; // empty = key absent
    ScreenSize screen;
    int32_t width;
    int32_t height;
};

TEST_F(SettingsTest, LayoutIsKeptOrChosenForTheScreen)
{
    const std::vector<ScreenCase> cases = {
        { "first start, tall screen", u"", u"", { 1024, 768 }, 800, 600 },
        { "first start, exactly 600 high", u"", u"", { 800, 600 }, 800, 600 },
        { "first start, low screen", u"", u"", { 800, 599 }, 640, 480 },
        { "first start, 480 high", u"", u"", { 640, 480 }, 640, 480 },
        { "stored 1024x768 on a 1280-wide screen is kept", u"1024", u"768", { 1280, 1024 }, 1024, 768 },
        { "stored size kept even when odd", u"700", u"555", { 1280, 1024 }, 700, 555 },
        { "stored width wider than the screen", u"1024", u"768", { 800, 600 }, 800, 600 },
        { "stored height 0 chooses anew", u"1024", u"0", { 1280, 1024 }, 800, 600 },
        { "non-number height reads as 0", u"800", u"abc", { 1280, 1024 }, 800, 600 },
    };
    for (const ScreenCase& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(IniPath());
        OpenIni();
        if (!c.storedWidth.empty())
            Store(u"SCREEN", u"ScreenWidth", c.storedWidth);
        if (!c.storedHeight.empty())
            Store(u"SCREEN", u"ScreenHeight", c.storedHeight);
        ReadScreenSettings(s, c.screen);
        EXPECT_EQ(s.ScreenWidth, c.width);
        EXPECT_EQ(s.ScreenHeight, c.height);
        EXPECT_EQ(Stored(u"SCREEN", u"ScreenWidth"), FromUtf8(std::to_string(c.width)));
        EXPECT_EQ(Stored(u"SCREEN", u"ScreenHeight"), FromUtf8(std::to_string(c.height)));
    }
}

TEST_F(SettingsTest, KeptLayout1024x768ScalesBy128)
{
    Store(u"SCREEN", u"ScreenWidth", u"1024");
    Store(u"SCREEN", u"ScreenHeight", u"768");
    ReadScreenSettings(s, ScreenSize { 1280, 1024 });
    EXPECT_EQ(Scale(100, LayoutScale(s.ScreenHeight)), 128);
    EXPECT_EQ(Scale(289, LayoutScale(s.ScreenHeight)), 370); // 369.92
}

TEST_F(SettingsTest, ScreenLowerThan480EndsTheProgramWithCode2)
{
    try {
        ReadScreenSettings(s, ScreenSize { 1024, 479 });
        FAIL() << "no StartupAbort";
    } catch (const StartupAbort& e) {
        EXPECT_EQ(e.ExitCode(), 2);
        EXPECT_EQ(e.Message(), u"このソフトは、640*480以上の解像度が必要です");
    }
    // A stored layout that fits is not questioned, however low the screen.
    Store(u"SCREEN", u"ScreenWidth", u"640");
    Store(u"SCREEN", u"ScreenHeight", u"480");
    EXPECT_NO_THROW(ReadScreenSettings(s, ScreenSize { 1024, 400 }));
}

TEST_F(SettingsTest, FontSizesThatAreNotNumbersReadAs12AndStayInTheFile)
{
    Store(u"SCREEN", u"FontSize", u"big");
    Store(u"SCREEN", u"FixFontSize", u"9");
    ReadScreenSettings(s, ScreenSize { 1024, 768 });
    EXPECT_EQ(s.FontSize, 12);
    EXPECT_EQ(s.FixFontSize, 9);
    EXPECT_EQ(Stored(u"SCREEN", u"FontSize"), u"big");
    EXPECT_EQ(s.FontName, u"ＭＳ Ｐゴシック");
    EXPECT_EQ(s.FixFontName, u"FixedSys");
}

TEST_F(SettingsTest, ChosenFontIsKeptAndWrittenWithItsSize)
{
    s.FontSize = 12;
    SetWindowFont(s, u"IPAGothic", 14);
    SetWindowFont(s, u"IPAPGothic", 0); // a font without a point size keeps the size
    EXPECT_EQ(s.FontName, u"IPAPGothic");
    EXPECT_EQ(s.FontSize, 14);
    EXPECT_EQ(Stored(u"SCREEN", u"FontName"), u"IPAPGothic");
    EXPECT_EQ(Stored(u"SCREEN", u"FontSize"), u"14");
}

struct BandCase
{
    std::u16string stored; // empty = key absent
    std::u16string caption;
    int32_t kagen;
    int32_t jogen;
    std::u16string writtenBack;
};

TEST_F(SettingsTest, BandIsSplitAndWrittenBackInNormalForm)
{
    const std::vector<BandCase> cases = {
        { u"", u"かなり", 131, 999, u"かなり,131,999" }, // the default
        { u"高い,x,y", u"高い", 0, 0, u"高い,0,0" }, // non-numbers read as 0
        { u"低", u"低", 0, 0, u"低,0,0" }, // fields missing
        { u"\"A,B\",5,6", u"A", 0, 5, u"A,0,5" }, // quotes do not protect a comma
        { u"中,+007,$10,extra", u"中", 7, 16, u"中,7,16" }, // signs, hex, extra fields
        { u",1,2", u"", 1, 2, u",1,2" }, // empty caption
    };
    for (const BandCase& c : cases) {
        SCOPED_TRACE(ToUtf8(c.stored));
        fs::remove(IniPath());
        OpenIni();
        if (!c.stored.empty())
            Store(u"牝馬価格帯", u"01", c.stored);
        ReadBand(s, u"かなり,131,999", 1, 2);
        EXPECT_EQ(s.MarePriceBands[1].Caption, c.caption);
        EXPECT_EQ(s.MarePriceBands[1].Kagen, c.kagen);
        EXPECT_EQ(s.MarePriceBands[1].Jogen, c.jogen);
        EXPECT_EQ(Stored(u"牝馬価格帯", u"01"), c.writtenBack);
    }
}

TEST_F(SettingsTest, BandOutsideItsArrayIsARangeError)
{
    EXPECT_THROW(ReadBand(s, u"x,1,2", 6, 1), RangeError); // StarBands holds 1..5
    EXPECT_THROW(ReadBand(s, u"x,1,2", 4, 3), RangeError); // MareSpeedBands holds 1..3
    EXPECT_THROW(ReadBand(s, u"x,1,2", 1, 5), RangeError); // no fifth kind
    EXPECT_FALSE(OnDisk().SectionExists(u"牝馬スピード"));
}

TEST_F(SettingsTest, AllBandsReachTheirTargets)
{
    ReadBands(s);
    EXPECT_EQ(s.StarBands[5].Caption, u"５");
    EXPECT_EQ(s.StarBands[5].Kagen, 5);
    EXPECT_EQ(s.StarBands[5].Jogen, 99999);
    EXPECT_EQ(s.StarBands[1].Caption, u"１");
    EXPECT_EQ(s.StarBands[1].Jogen, 1);
    EXPECT_EQ(s.MarePriceBands[4].Caption, u"手ごろ");
    EXPECT_EQ(s.MarePriceBands[4].Jogen, 85);
    EXPECT_EQ(s.MareSpeedBands[2].Caption, u"中");
    EXPECT_EQ(s.MareSpeedBands[2].Kagen, 50);
    EXPECT_EQ(s.MareStaminaBands[3].Caption, u"低");
    EXPECT_EQ(s.MareStaminaBands[3].Jogen, 50);
    // The star keys are written in the order read: 05 down to 01.
    EXPECT_EQ(OnDisk().Keys(u"牡馬★"), (std::vector<std::u16string> { u"05", u"04", u"03", u"02", u"01" }));
}

TEST(UpperFileName, UpperCasesLettersOfEveryScript)
{
    const std::vector<std::pair<std::u16string, std::u16string>> cases = {
        { u"祖先馬.csv", u"祖先馬.CSV" }, { u"ｸﾛｽ.Csv", u"ｸﾛｽ.CSV" },           { u"相性abc.csv", u"相性ABC.CSV" },
        { u"ａｂｃ.csv", u"ＡＢＣ.CSV" }, { u"café.csv", u"CAFÉ.CSV" },         { u"ニックス.CSV", u"ニックス.CSV" },
        { u"αβ.txt", u"ΑΒ.TXT" },         { u"data_1-2.csv", u"DATA_1-2.CSV" },
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(UpperFileName(in), out) << ToUtf8(in);
}

TEST_F(SettingsTest, FileNamesAreUpperCasedButWrittenBackAsRead)
{
    TouchAllDataFiles();
    Store(u"DATA", u"祖先馬データ", u"祖先馬.csv");
    ReadFileNames(s, {});
    EXPECT_EQ(s.DataFiles.Oya, u"祖先馬.CSV");
    EXPECT_EQ(Stored(u"DATA", u"祖先馬データ"), u"祖先馬.csv");
    EXPECT_EQ(s.DataFiles.Cross, u"ｸﾛｽ.CSV");
    EXPECT_EQ(s.DataFiles.Aisho, u"相性.CSV");
    // Keys in the order the names are read.
    EXPECT_EQ(OnDisk().Keys(u"DATA"),
              (std::vector<std::u16string> { u"祖先馬データ", u"種牡馬データ", u"繁殖牝馬データ", u"クロスデータ",
                                             u"系統データ", u"毛色データ", u"ニックスデータ", u"面白系統データ",
                                             u"相性計算データ" }));
}

TEST_F(SettingsTest, DataFileIsFoundWithoutRegardToLetterCase)
{
    for (const DataFileKey& k : kDataFileKeys)
        Touch(k.defaultName == u"相性.CSV" ? u"相性.csv" : k.defaultName);
    EXPECT_NO_THROW(ReadFileNames(s, {}));
}

TEST_F(SettingsTest, MissingDataFileWithoutDialogEndsWithCode1)
{
    TouchAllDataFiles();
    fs::remove(m_dir + ToUtf8(u"牝馬.CSV"));
    int dialogs = 0;
    try {
        ReadFileNames(s, [&] {
            ++dialogs;
            return false;
        });
        FAIL() << "no StartupAbort";
    } catch (const StartupAbort& e) {
        EXPECT_EQ(e.ExitCode(), 1);
        EXPECT_EQ(e.Message(), FromUtf8(m_dir) + u"牝馬.CSVのパスが正しくありません。");
    }
    EXPECT_EQ(dialogs, 1);
}

TEST_F(SettingsTest, ConfirmedDialogGoesOnWithTheNextFileAndItsChangedName)
{
    // Only the ancestor file is missing; the dialog moves DataDir and renames the nick file, which
    // must then be checked under its new name in the new directory.
    TouchAllDataFiles();
    fs::remove(m_dir + ToUtf8(u"祖先馬.CSV"));
    const std::string other = m_dir + "other/";
    fs::create_directory(other);
    std::vector<std::u16string> checkedByDialog;
    const auto dialog = [&] {
        checkedByDialog.push_back(s.DataFiles.Oya);
        s.DataDir = other;
        s.DataFiles.Nix = u"ニックス2.CSV";
        return true;
    };
    // Confirmed once, cancelled the second time: the next file, 種牡馬.CSV, is not in the new
    // directory, so the dialog is offered again and the message names the directory it had set.
    int offered = 0;
    try {
        ReadFileNames(s, [&] { return ++offered == 1 ? dialog() : false; });
        FAIL() << "no StartupAbort";
    } catch (const StartupAbort& e) {
        EXPECT_EQ(e.ExitCode(), 1);
        EXPECT_EQ(e.Message(), FromUtf8(other) + u"種牡馬.CSVのパスが正しくありません。");
    }
    EXPECT_EQ(offered, 2);
    ASSERT_EQ(checkedByDialog.size(), 1u);
    EXPECT_EQ(checkedByDialog[0], u"祖先馬.CSV");

    // With every file present in the new directory the start-up goes through, checking the renamed nick file.
    s.DataDir = m_dir;
    s.DataFiles = {};
    for (const DataFileKey& k : kDataFileKeys)
        WriteFileAtomic(other + ToUtf8(k.defaultName), "x\r\n");
    WriteFileAtomic(other + ToUtf8(u"ニックス2.CSV"), "x\r\n");
    fs::remove(other + ToUtf8(u"ニックス.CSV"));
    checkedByDialog.clear();
    EXPECT_NO_THROW(ReadFileNames(s, dialog));
    EXPECT_EQ(checkedByDialog.size(), 1u);
    EXPECT_EQ(s.DataFiles.Nix, u"ニックス2.CSV");
}

TEST_F(SettingsTest, ReadDataLocationWritesNothing)
{
    fs::remove(IniPath());
    const DataLocation fresh = ReadDataLocation(IniFile(IniPath()), m_dir);
    EXPECT_FALSE(fs::exists(IniPath()));
    EXPECT_EQ(fresh.dataDir, m_dir);
    EXPECT_EQ(fresh.files.Oya, u"祖先馬.CSV");
    EXPECT_EQ(fresh.files.Aisho, u"相性.CSV");

    OpenIni();
    Store(u"DATA", u"データディレクトリ", u"/srv/data/");
    Store(u"DATA", u"ニックスデータ", u"ニックスb.csv");
    const auto before = fs::last_write_time(IniPath());
    const DataLocation stored = ReadDataLocation(OnDisk(), m_dir);
    EXPECT_EQ(stored.dataDir, "/srv/data/");
    EXPECT_EQ(stored.files.Nix, u"ニックスB.CSV");
    EXPECT_EQ(stored.files.Keito, u"系統.CSV");
    EXPECT_EQ(fs::last_write_time(IniPath()), before);
    EXPECT_EQ(OnDisk().Keys(u"DATA").size(), 2u);
}

TEST_F(SettingsTest, FirstMissingDataFileFollowsTheCheckOrder)
{
    EXPECT_EQ(FirstMissingDataFile(m_dir, DefaultDataFiles()), u"祖先馬.CSV");
    TouchAllDataFiles();
    EXPECT_EQ(FirstMissingDataFile(m_dir, DefaultDataFiles()), u"");
    fs::remove(m_dir + ToUtf8(u"面白系統.CSV"));
    fs::remove(m_dir + ToUtf8(u"相性.CSV"));
    EXPECT_EQ(FirstMissingDataFile(m_dir, DefaultDataFiles()), u"面白系統.CSV");
}

TEST_F(SettingsTest, FirstStartCreatesEveryKeyAndLoadsTheData)
{
    for (const auto& entry : fs::directory_iterator(VELMORA_SAMPLE_DIR))
        fs::copy_file(entry.path(), m_dir + entry.path().filename().string());
    fs::remove(IniPath());
    MasterData d;
    int fitted = 0;
    StartupHooks hooks;
    hooks.screen = ScreenSize { 1024, 768 };
    hooks.fitMainWindow = [&] {
        EXPECT_EQ(s.ScreenHeight, 600); // the layout is known before the main window is fitted
        if (++fitted == 1) {
            EXPECT_TRUE(s.DataFiles.Oya.empty()); // and the file names are not read yet
        }
    };
    int busy = 0;
    hooks.load.setBusy = [&](bool on) { busy += on ? 1 : -1; };
    const LoadResult result = StartUp(s, d, m_dir.substr(0, m_dir.size() - 1), "/opt/bin/velmora", hooks);
    EXPECT_TRUE(result.completed);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(fitted, 1);
    EXPECT_EQ(busy, 0);
    EXPECT_EQ(d.DadCount, 60);
    EXPECT_EQ(d.MamCount, 80);
    EXPECT_EQ(s.StartDir, m_dir);
    EXPECT_EQ(s.DataDir, m_dir);
    EXPECT_EQ(s.IniName, u"velmora.INI");
    EXPECT_EQ(s.HelpName, u"velmora.HLP");
    EXPECT_EQ(s.ExeDir, "/opt/bin/");
    EXPECT_TRUE(s.KanaMode);
    EXPECT_EQ(s.FontSize, 12);

    const IniFile ini = OnDisk();
    using Keys = std::vector<std::u16string>;
    EXPECT_EQ(ini.Sections(),
              (Keys { u"SCREEN", u"DATA", u"ImeMode", u"牡馬★", u"牝馬価格帯", u"牝馬スピード", u"牝馬スタミナ" }));
    EXPECT_EQ(ini.Keys(u"SCREEN"),
              (Keys { u"FontName", u"FontSize", u"FixFontName", u"FixFontSize", u"ScreenWidth", u"ScreenHeight" }));
    EXPECT_EQ(ini.Keys(u"DATA").size(), 10u);
    EXPECT_EQ(ini.Keys(u"DATA").front(), u"データディレクトリ");
    EXPECT_EQ(ini.Keys(u"牝馬価格帯"), (Keys { u"01", u"02", u"03", u"04" }));
    EXPECT_EQ(ini.Keys(u"牝馬スタミナ"), (Keys { u"01", u"02", u"03" }));
    const std::vector<std::pair<std::pair<std::u16string, std::u16string>, std::u16string>> values = {
        { { u"SCREEN", u"FontName" }, u"ＭＳ Ｐゴシック" },
        { { u"SCREEN", u"FontSize" }, u"12" },
        { { u"SCREEN", u"FixFontName" }, u"FixedSys" },
        { { u"SCREEN", u"FixFontSize" }, u"12" },
        { { u"SCREEN", u"ScreenWidth" }, u"800" },
        { { u"SCREEN", u"ScreenHeight" }, u"600" },
        { { u"DATA", u"データディレクトリ" }, FromUtf8(m_dir) },
        { { u"DATA", u"ｸﾛｽ" }, u"<absent>" },
        { { u"DATA", u"クロスデータ" }, u"ｸﾛｽ.CSV" },
        { { u"DATA", u"相性計算データ" }, u"相性.CSV" },
        { { u"ImeMode", u"Mode" }, u"カナ" },
        { { u"牡馬★", u"05" }, u"５,5,99999" },
        { { u"牡馬★", u"01" }, u"１,0,1" },
        { { u"牝馬スピード", u"02" }, u"中,50,60" },
    };
    for (const auto& [where, value] : values)
        EXPECT_EQ(Stored(where.first, where.second), value) << ToUtf8(where.first) << "/" << ToUtf8(where.second);

    // The next start keeps what is stored; the input mode "英数" turns kana mode off.
    s.IniFile->WriteString(u"ImeMode", u"Mode", u"英数");
    s.IniFile->WriteString(u"SCREEN", u"FontSize", u"14");
    StartUp(s, d, m_dir, "velmora", hooks);
    EXPECT_EQ(fitted, 2);
    EXPECT_FALSE(s.KanaMode);
    EXPECT_EQ(s.FontSize, 14);
    EXPECT_EQ(Stored(u"ImeMode", u"Mode"), u"英数");
}

TEST_F(SettingsTest, StartWithAMissingFileStopsBeforeLoading)
{
    MasterData d;
    StartupHooks hooks;
    hooks.screen = ScreenSize { 800, 600 };
    bool loaded = false;
    hooks.load.setBusy = [&](bool) { loaded = true; };
    try {
        StartUp(s, d, m_dir, "velmora", hooks);
        FAIL() << "no StartupAbort";
    } catch (const StartupAbort& e) {
        EXPECT_EQ(e.ExitCode(), 1);
        EXPECT_EQ(e.Message(), FromUtf8(m_dir) + u"祖先馬.CSVのパスが正しくありません。");
    }
    EXPECT_FALSE(loaded);
    // Everything read before the check is in the settings file.
    EXPECT_EQ(OnDisk().Keys(u"DATA").size(), 10u);
}

TEST(SettingsNames, IniAndHelpNamesFollowTheExecutable)
{
    const std::vector<std::pair<std::string, std::u16string>> cases = {
        { "/usr/local/bin/velmora", u"velmora.INI" },
        { "velmora", u"velmora.INI" },
        { "/opt/x/prog.exe", u"prog.INI" },
        { "./build/gui/velmora.bin.x", u"velmora.bin.INI" },
    };
    for (const auto& [exe, ini] : cases)
        EXPECT_EQ(IniNameFor(exe), ini) << exe;
    EXPECT_EQ(HelpNameFor(u"velmora.INI"), u"velmora.HLP");
}

} // namespace
} // namespace velmora
