// velmora-cli edit and export: the data editing window's presses from a JSON file, all or nothing, and
// the tables with their references by name.

#include "core/data/cp932.h"
#include "tests/support/cli_run.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <map>

namespace velmora {
namespace {

using test::TempDir;

struct EditRun
{
    test::CliRun run;
    std::map<std::string, std::string> files; // the data files afterwards
};

class CliEdit : public ::testing::Test
{
protected:
    void SetUp() override { test::CopyFiles(VELMORA_SAMPLE_DIR, data); }

    std::map<std::string, std::string> Files() const
    {
        std::map<std::string, std::string> files;
        for (const char* f : { "系統.CSV", "毛色.CSV", "ｸﾛｽ.CSV", "ニックス.CSV", "面白系統.CSV", "祖先馬.CSV",
                               "種牡馬.CSV", "牝馬.CSV" })
            files[f] = data.ReadBytes(f);
        return files;
    }

    test::CliRun Edit(std::u16string_view ops, const std::string& more = "")
    {
        data.WriteBytes("ops.json", ToUtf8(ops));
        return test::RunVelmoraCli("--data '" + data.Path() + "' edit '" + data.File("ops.json") + "'" + more, "",
                                   data.File("err.txt"));
    }

    TempDir data;
};

TEST_F(CliEdit, OperationsAreWrittenAsOneSetAndExportShowsThemByName)
{
    const auto before = Files();
    const std::u16string ops = uR"([
        {"op": "register", "table": "lines", "name": "ﾃｽﾄ", "fields": {"value": ""}},
        {"op": "register", "table": "stallions", "name": "ﾃｽﾄｳﾏ",
         "fields": {"keito": "ﾃｽﾄ", "keiro": "栗毛", "Fee": 3, "Dirt": "◎", "Father": ["ﾃｽﾄｿｾﾝ", null, "ﾃｽﾄﾊﾊﾁﾁ"]}},
        {"op": "register", "table": "ancestors", "name": "ﾃｽﾄｿｾﾝ", "fields": {"keito": "ﾃｽﾄ"}}
    ])";
    const test::CliRun dry = Edit(ops, " --dry-run");
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_EQ(Files(), before);
    const test::CliRun run = Edit(ops);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, dry.out);
    EXPECT_EQ(run.out,
              "{\"changed\":[\"系統.CSV\",\"祖先馬.CSV\",\"種牡馬.CSV\"],\"messages\":[\"ﾃｽﾄ系を追加しました\","
              "\"ﾃｽﾄｳﾏを登録しました\",\"ﾃｽﾄｿｾﾝを更新しました\"]}\n");

    const test::CliRun exported = test::RunVelmoraCli("--data '" + data.Path() + "' export stallions");
    ASSERT_EQ(exported.exitCode, 0);
    const std::string last = exported.out.substr(exported.out.rfind("{\"name\":\"ﾃｽﾄｳﾏ\""));
    EXPECT_EQ(last.substr(0, last.find(",\"Father\"")),
              "{\"name\":\"ﾃｽﾄｳﾏ\",\"birth\":\"\",\"keito\":\"ﾃｽﾄ\",\"keiro\":\"栗毛\",\"Fee\":3,\"Distance1\":0,"
              "\"Distance2\":0,\"Dirt\":\"◎\",\"Grow\":\"早熟\",\"Kisho\":\"A\",\"Konjo\":\"A\",\"Kenko\":\"A\","
              "\"Jisseki\":\"A\",\"Antei\":\"A\"");
    EXPECT_NE(last.find("\"Father\":[\"ﾃｽﾄｿｾﾝ\",\"未登録\",\"ﾃｽﾄﾊﾊﾁﾁ\""), std::string::npos) << last;
    const std::string ancestors = test::RunVelmoraCli("--data '" + data.Path() + "' export ancestors").out;
    EXPECT_NE(ancestors.find("{\"name\":\"ﾃｽﾄｿｾﾝ\",\"a\":\"　　　　\",\"b\":\"　　　　\",\"keito\":\"ﾃｽﾄ\""),
              std::string::npos);
}

TEST_F(CliEdit, ABadOperationChangesNoFileAndIsNamed)
{
    struct Case
    {
        const char* what;
        std::u16string ops;
        const char* says;
    };
    const std::u16string ok = uR"({"op": "register", "table": "colours", "name": "月毛"}, )";
    const Case cases[] = {
        { "unknown name", ok + uR"({"op": "delete", "table": "mares", "name": "ｲﾅｲｳﾏ"})",
          "operation 2 (delete mares ｲﾅｲｳﾏ): 削除元データが見つかりません" },
        { "field out of range",
          ok + uR"({"op": "register", "table": "crosses", "fields": {"rows": [{"Color": 16777216}]}})",
          "operation 2 (register crosses): フィールド「Color」の値「16777216」は範囲外です" },
        { "unknown effect", ok + uR"({"op": "register", "table": "ancestors", "name": "ｿ", "fields": {"a": "ﾅｲ"}})",
          "operation 2 (register ancestors ｿ): フィールド「a」の「ﾅｲ」はありません" },
        { "unknown field", ok + uR"({"op": "register", "table": "mares", "name": "ｿ", "fields": {"Distance1": 1}})",
          "operation 2 (register mares ｿ): フィールド「Distance1」はありません" },
        { "full table",
          ok + uR"({"op": "register", "table": "lines", "name": "ﾗｲﾝ1"}, {"op": "register", "table": "lines", "name": "ﾗｲﾝ2"}, {"op": "register", "table": "lines", "name": "ﾗｲﾝ3"})",
          "系統は96系統までしか登録できません" },
    };
    // The sample has 24 sire lines; 70 more fill the table but for one.
    std::u16string fill;
    for (int i = 0; i < 71; ++i)
        fill += u"{\"op\": \"register\", \"table\": \"lines\", \"name\": \"ｳﾒ" + FromUtf8(std::to_string(i)) + u"\"}, ";
    for (const Case& c : cases) {
        const auto before = Files();
        const std::u16string ops = u"[" + (std::string(c.what) == "full table" ? fill : u"") + c.ops + u"]";
        const test::CliRun r = Edit(ops);
        EXPECT_EQ(r.exitCode, 2) << c.what;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.what << ": " << r.err;
        EXPECT_EQ(Files(), before) << c.what;
    }
}

} // namespace
} // namespace velmora
