// The eval, rank and html commands of velmora-cli, run as a program on a small data set.

#include "core/data/cp932.h"
#include "tests/support/cli_run.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace velmora {
namespace {

struct CliResult
{
    int code = -1;
    std::string out;
};

// Runs velmora-cli with arguments already quoted for the shell; stderr is discarded.
CliResult RunCli(const std::string& args)
{
    const test::CliRun run = test::RunVelmoraCli(args);
    CliResult r;
    r.code = run.exitCode;
    r.out = run.out;
    return r;
}

struct CliMating : ::testing::Test
{
    test::TempDir dir;
    std::string data;
    void SetUp() override
    {
        test::WriteDataSet(dir, test::SmallDataSet());
        dir.WriteText(ToUtf8(u"相性.CSV"), u"");
        data = "--data '" + dir.Path() + "' ";
    }
};

TEST_F(CliMating, EvalPrintsTheEvaluationOfThePair)
{
    // ｶｯﾊﾟ is ﾋﾒ's own sire: close relation, danger; both of line ﾉｰｻﾞﾝ: same line.
    const CliResult r = RunCli(data + "eval ｶｯﾊﾟ ﾋﾒ");
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.starts_with("{\"stallion\":\"ｶｯﾊﾟ\",\"mare\":\"ﾋﾒ\",\"nix\":")) << r.out;
    for (const char* part : { "\"taboo\":true", "\"danger\":true", "\"outbreed\":false", "\"sameLine\":true",
                              "\"pairScore\":-10000", "\"compat\":-10000", "\"inbreed\":{\"dads\":[{\"num\":9," })
        EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
}

TEST_F(CliMating, NamesAreFoldedWhenNotFoundAsGiven)
{
    const CliResult given = RunCli(data + "eval ｶｯﾊﾟ ﾊﾅ");
    const CliResult folded = RunCli(data + "eval カッパ ハナ");
    ASSERT_EQ(given.code, 0);
    EXPECT_EQ(folded.code, 0);
    EXPECT_EQ(folded.out, given.out);
}

TEST_F(CliMating, UnknownNamesAndBadUsageExitWithTwo)
{
    EXPECT_EQ(RunCli(data + "eval nobody ﾋﾒ").code, 2);
    EXPECT_EQ(RunCli(data + "eval ｶｯﾊﾟ nobody").code, 2);
    EXPECT_EQ(RunCli(data + "eval ｶｯﾊﾟ").code, 2);
    EXPECT_EQ(RunCli(data + "rank --mare nobody").code, 2);
    EXPECT_EQ(RunCli(data + "rank").code, 2);
    EXPECT_EQ(RunCli(data + "html ﾋﾒ ｶｯﾊﾟ").code, 2); // a mare named as stallion
}

TEST_F(CliMating, AnOverflowNamesThePointFileAndTheValues)
{
    // ｶｯﾊﾟ x ﾋﾒ: close relation (1) and same line (2147483647) overflow the pair's sum.
    dir.WriteText(ToUtf8(u"相性.CSV"), u"[配合]\r\n同系配合=2147483647\r\n危険（近親）=1\r\n");
    const test::CliRun r = test::RunVelmoraCli(data + "eval ｶｯﾊﾟ ﾋﾒ", "", dir.File("err.txt"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("ｶｯﾊﾟ × ﾋﾒ: 相性値の計算で整数の桁あふれが起きました (相性計算データ「相性.CSV」の値が"
                         "大きすぎます: [配合] 同系配合=2147483647)"),
              std::string::npos)
        << r.err;
}

TEST_F(CliMating, RankOrdersEveryStallionWithCompetitionRanks)
{
    const CliResult r = RunCli(data + "rank --mare ﾋﾒ");
    ASSERT_EQ(r.code, 0);
    // Under the default table ｶｯﾊﾟ gets the close-relation points; the other two tie at 0 and keep
    // the order the partition sort leaves them in.
    EXPECT_EQ(r.out,
              "{\"target\":\"ﾋﾒ\",\"rows\":[{\"name\":\"ﾗﾑﾀﾞ\",\"key\":0,\"rank\":1},"
              "{\"name\":\"ﾐｭｰ\",\"key\":0,\"rank\":1},{\"name\":\"ｶｯﾊﾟ\",\"key\":-10000,\"rank\":3}]}\n");
}

TEST_F(CliMating, PointsOptionChoosesAndCreatesTheTable)
{
    const CliResult r = RunCli("--points 強化 " + data + "rank --stallion ﾗﾑﾀﾞ --text --date 2026/12/09 --max 1");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.out,
              "対象牡馬：ﾗﾑﾀﾞ                2026/12/09　by 【Velmora】\n"
              "\n"
              "順位   馬名     ポイント 系統       SP ST 面見良ニ インブリード\n"
              "\n"
              "  1  ﾋﾒ               0P ﾉｰｻﾞﾝ       7  4 ？？？-1 ﾃﾞﾙﾀ3*4\n");
    EXPECT_FALSE(dir.ReadBytes(ToUtf8(u"相性強化.CSV")).empty());
}

TEST_F(CliMating, PointsNamesThatAreNoFileNameAreRefusedAtOnce)
{
    for (const char* name : { "'x*'", "..", "'a/b'", "\"$(printf 'a\\nb')\"" }) {
        const test::CliRun r = test::RunVelmoraCli(
            std::string("--points ") + name + " " + data + "rank --stallion ﾗﾑﾀﾞ", "", dir.File("err.txt"));
        EXPECT_EQ(r.exitCode, 2) << name;
        EXPECT_NE(r.err.find("--points: 設定名「"), std::string::npos) << name << ": " << r.err;
    }
    const std::filesystem::directory_iterator files(dir.Path());
    const auto pointFiles = std::count_if(begin(files), end(files), [](const auto& e) {
        return e.path().filename().string().starts_with(ToUtf8(u"相性"));
    });
    EXPECT_EQ(pointFiles, 1); // the default table only
}

TEST_F(CliMating, HtmlWritesTheReport)
{
    const std::string file = dir.File("out.html");
    const CliResult r = RunCli(data + "html ｶｯﾊﾟ ﾊﾅ -o '" + file + "'");
    ASSERT_EQ(r.code, 0);
    const std::u16string page = FromCp932(dir.ReadBytes("out.html"));
    EXPECT_NE(page.find(u"\r\nカッパ * ハナ<br>\r\n"), std::u16string::npos);
    // ﾊﾅ is in the formula's second piece: she stands as the dam, with her speed and stamina.
    EXPECT_NE(page.find(u"<em>ハナ</em>"), std::u16string::npos);
    EXPECT_NE(page.find(u">SP:5</td>"), std::u16string::npos);
}

} // namespace
} // namespace velmora
