// velmora-cli info: the counts of a load from --data or from the settings file of the current
// directory, the load's messages, and fatal errors on stderr with exit code 2.

#include "core/app/settings.h"
#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "core/data/loader.h"
#include "tests/support/cli_run.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

namespace velmora {
namespace {

namespace fs = std::filesystem;

using test::CliRun;

CliRun RunCli(const std::string& dir, const std::string& args, const test::TempDir& scratch)
{
    return test::RunVelmoraCli(args, dir, scratch.File("stderr.txt"));
}

// The JSON the command must print for a load of dataDir, built from the loader itself.
std::string ExpectedInfo(const std::string& dataDir)
{
    MasterData d;
    const LoadResult result = GetMasterData(d, dataDir, DefaultDataFiles());
    std::string json = "{\"oya\":" + std::to_string(d.OyaCount) + ",\"dad\":" + std::to_string(d.DadCount)
        + ",\"mam\":" + std::to_string(d.MamCount) + ",\"keito\":" + std::to_string(d.KeitoCount)
        + ",\"keiro\":" + std::to_string(d.KeiroTable.size()) + ",\"nix\":" + std::to_string(d.NixCount)
        + ",\"speedCrossRow\":" + std::to_string(d.SpeedCrossRow) + ",\"messages\":[";
    for (size_t i = 0; i < result.messages.size(); ++i)
        json += (i ? ",\"" : "\"") + ToUtf8(result.messages[i]) + "\"";
    return json + "]}\n";
}

const std::string kSample = VELMORA_SAMPLE_DIR;

TEST(CliInfo, DataOptionReadsTheDefaultFileNames)
{
    test::TempDir scratch;
    const CliRun r = RunCli(scratch.Path(), "--data '" + kSample + "' info", scratch);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, ExpectedInfo(kSample + "/"));
    EXPECT_NE(r.out.find("\"dad\":60,\"mam\":80"), std::string::npos);
    EXPECT_FALSE(fs::exists(scratch.File("velmora.INI"))); // nothing written where it ran
}

TEST(CliInfo, WithoutDataOptionTheSettingsFileIsReadButNotWritten)
{
    test::TempDir work;
    test::TempDir scratch;
    {
        IniFile ini(work.File("velmora.INI"));
        ini.WriteString(u"DATA", u"データディレクトリ", FromUtf8(kSample + "/"));
        ini.WriteString(u"DATA", u"種牡馬データ", u"種牡馬.csv"); // letter case does not matter
    }
    const std::string before = work.ReadBytes("velmora.INI");
    const CliRun r = RunCli(work.Path(), "info", scratch);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, ExpectedInfo(kSample + "/"));
    EXPECT_EQ(work.ReadBytes("velmora.INI"), before);
}

TEST(CliInfo, LoadMessagesAreListed)
{
    // An unknown line in the nick file is reported and skipped; the load goes on.
    test::TempDir data;
    test::TempDir scratch;
    for (const auto& entry : fs::directory_iterator(kSample))
        fs::copy_file(entry.path(), data.File(entry.path().filename().string()));
    const std::u16string nick = u"ﾅｲｹｲﾄｳ系,ﾅｲｹｲﾄｳ2系,10";
    data.WriteLines(ToUtf8(u"ニックス.CSV"), { nick });
    const CliRun r = RunCli(scratch.Path(), "--data '" + data.Path() + "' info", scratch);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, ExpectedInfo(data.Path()));
    EXPECT_NE(r.out.find("\"nix\":0,"), std::string::npos);
    EXPECT_NE(r.out.find(ToUtf8(u"ニックス.CSV:ﾅｲｹｲﾄｳ系が見つかりません")), std::string::npos);
}

TEST(CliInfo, ADataFileThatIsNoFileIsNamedForWhatItIs)
{
    test::TempDir data;
    test::TempDir scratch;
    for (const auto& entry : fs::directory_iterator(kSample))
        fs::copy_file(entry.path(), data.File(entry.path().filename().string()));
    const std::string file = data.File(ToUtf8(u"祖先馬.CSV"));
    struct Case
    {
        const char* name;
        std::function<void()> make;
        std::u16string reason;
    };
    const Case cases[] = {
        { "missing", [] {}, u"" },
        { "folder", [&] { fs::create_directory(file); }, u"（フォルダです）" },
        { "fifo", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0); }, u"（名前付きパイプ (FIFO) です）" },
        { "dangling link", [&] { fs::create_symlink("nowhere.csv", file); },
          u"（シンボリックリンクの先がありません）" },
        { "link loop", [&] { fs::create_symlink(ToUtf8(u"祖先馬.CSV"), file); },
          u"（シンボリックリンクが循環しています）" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(file);
        c.make();
        const CliRun r = RunCli(scratch.Path(), "--data '" + data.Path() + "' info", scratch);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, data.Path() + ToUtf8(u"祖先馬.CSVのパスが正しくありません" + c.reason + u"。\n"));
    }
}

TEST(CliInfo, LongNamesAreCutInMessages)
{
    // A nick line naming an unknown sire line of 100 000 characters: the message shows its first 40.
    test::TempDir data;
    test::TempDir scratch;
    for (const auto& entry : fs::directory_iterator(kSample))
        fs::copy_file(entry.path(), data.File(entry.path().filename().string()));
    data.WriteLines(ToUtf8(u"ニックス.CSV"), { std::u16string(100000, u'ﾅ') + u",ﾅｲ系,10" });
    const CliRun r = RunCli(scratch.Path(), "--data '" + data.Path() + "' info", scratch);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(ToUtf8(u"ニックス.CSV:" + std::u16string(40, u'ﾅ') + u"…が見つかりません")),
              std::string::npos);
    EXPECT_LT(r.out.size(), 1000u);
}

TEST(CliInfo, FatalErrorsGoToStderrWithCode2)
{
    test::TempDir empty;
    test::TempDir scratch;
    struct Case
    {
        const char* name;
        std::string dir;
        std::string args;
        std::string message;
    };
    const std::vector<Case> cases = {
        { "no data in the current directory", empty.Path(), "info",
          empty.Path() + ToUtf8(u"祖先馬.CSVのパスが正しくありません。") },
        { "data directory missing", empty.Path(), "--data '" + empty.Path() + "nowhere' info", "nowhere" },
        { "extra argument", empty.Path(), "--data '" + kSample + "' info extra", "usage" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun r = RunCli(c.dir, c.args, scratch);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(empty.File("velmora.INI")));
}

} // namespace
} // namespace velmora
