// The fold, chain and tree commands of velmora-cli, run as a program on a data set written by the test.

#include "core/data/cp932.h"
#include "tests/support/cli_run.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

using velmora::test::TempDir;

namespace {

class CliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        velmora::test::WriteDataSet(dir, velmora::test::SmallDataSet());
        dir.WriteText("相性.CSV", u"");
    }

    // Runs velmora-cli in the data directory (so that its ALIAS.TXT is the one used); stdout and exit code.
    std::pair<std::string, int> Run(const std::string& args) const
    {
        const velmora::test::CliRun r = velmora::test::RunVelmoraCli("--data '" + dir.Path() + "' " + args, dir.Path());
        return { r.out, r.exitCode };
    }

    TempDir dir;
};

} // namespace

TEST_F(CliTest, FoldBothWays)
{
    EXPECT_EQ(Run("fold half 'ダービー＊Ａ（１）'"), (std::pair<std::string, int> { "ﾀﾞｰﾋﾞｰ*A(１)\n", 0 }));
    EXPECT_EQ(Run("fold full 'ﾀﾞｰﾋﾞｰ ﾊﾟ'"), (std::pair<std::string, int> { "ダービー パ\n", 0 }));
    EXPECT_EQ(Run("fold sideways x").second, 2);
    EXPECT_EQ(Run("fold half").second, 2);
}

TEST_F(CliTest, ChainReadsAndBuildsTheArrays)
{
    // ｶｯﾊﾟ (stallion 0, ★3) with ﾋﾒ (mare 0): ancestors ｱﾙﾌｧ 0, ﾍﾞｰﾀ 1, ｶﾞﾝﾏ 2, ﾃﾞﾙﾀ 3, ｲﾌﾟｼﾛﾝ 4, ｾﾞｰﾀ 5,
    // ｴｰﾀ 6, ｼｰﾀ 7, ｶｯﾊﾟ 9.
    const auto [out, code] = Run("chain 'カッパ＊ヒメ'");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out,
              "{\"normalized\":\"ｶｯﾊﾟ*ﾋﾒ\",\"entries\":[{\"sex\":true,\"num\":0,\"name\":\"ｶｯﾊﾟ\"},"
              "{\"sex\":false,\"num\":0,\"name\":\"ﾋﾒ\"}],\"messages\":[],\"aliasCandidate\":\"\","
              "\"currentMare\":0,\"stallion\":[9,0,1,2,-1,3,4,5,6,7,-1,-1,-1,-1,-1,-1],"
              "\"mare\":[9,0,2,1,3,4,5,-1,-1,-1,-1,-1,-1,-1,-1],\"star\":3}\n");
}

TEST_F(CliTest, ChainWithoutMareAndWithAnAlias)
{
    dir.WriteText("ALIAS.TXT", u"[Alias]\r\nKP=ｶｯﾊﾟ\r\n");
    const auto [out, code] = Run("chain 'ﾐｭｰ * KP * Foo'");
    EXPECT_EQ(code, 0);
    EXPECT_NE(
        out.find("\"entries\":[{\"sex\":true,\"num\":2,\"name\":\"ﾐｭｰ\"},{\"sex\":true,\"num\":0,\"name\":\"ｶｯﾊﾟ\"},"
                 "{\"sex\":true,\"num\":-1,\"name\":\"Foo\"}]"),
        std::string::npos)
        << out;
    EXPECT_NE(out.find("\"messages\":[\"牝馬が見つかりません。一番左を父と判断します\"]"), std::string::npos) << out;
    EXPECT_NE(out.find("\"aliasCandidate\":\"Foo\",\"currentMare\":-1"), std::string::npos) << out;
    EXPECT_NE(out.find("\"star\":1}"), std::string::npos) << out;
}

TEST_F(CliTest, TreePlacesOntoAnEmptyChart)
{
    dir.WriteText("ALIAS.TXT", u"[Alias]\r\nKP=ｶｯﾊﾟ\r\n");
    const auto [out, code] = Run("tree 'KP ＊ ヒメ'");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out.rfind("{\"result\":1,\"messages\":[],\"slots\":[{\"pos\":1,\"oya\":-1,\"dad\":0,\"mam\":0},"
                        "{\"pos\":2,\"oya\":0,\"dad\":-1,\"mam\":-1},{\"pos\":3,\"oya\":9,\"dad\":-1,\"mam\":-1},",
                        0),
              0u)
        << out;
    EXPECT_NE(out.find("{\"pos\":31,\"oya\":-1,\"dad\":-1,\"mam\":-1}],\"complete\":false,\"formula\":\"\"}"),
              std::string::npos)
        << out;

    const auto [bad, badCode] = Run("tree 'ｶｯﾊﾟ * (ﾋﾒ'");
    EXPECT_EQ(badCode, 0);
    EXPECT_EQ(bad.rfind("{\"result\":-1,\"messages\":[\"血統が解析できません\"],", 0), 0u) << bad;
    const auto [unknown, unknownCode] = Run("tree 'Nobody'");
    EXPECT_EQ(unknown.rfind("{\"result\":0,\"messages\":[],", 0), 0u) << unknown;
    EXPECT_EQ(Run("tree").second, 2);
    EXPECT_EQ(Run("chain a b").second, 2);
}
