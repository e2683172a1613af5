#include "core/data/cp932.h"
#include "core/data/loader.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace velmora {
namespace {

using test::DataSetText;
using test::DefaultDataFiles;
using test::SmallDataSet;
using test::TempDir;

std::string Joined(const LoadResult& r)
{
    std::string all;
    for (const auto& m : r.messages)
        all += ToUtf8(m) + "\n";
    return all;
}

std::vector<std::u16string> Rows(int n, const std::u16string& prefix, const std::u16string& rest)
{
    std::vector<std::u16string> rows;
    for (int i = 0; i < n; ++i)
        rows.push_back(prefix + FromUtf8(std::to_string(i)) + rest);
    return rows;
}

TEST(LoaderFailure, TooManyRowsStopTheLoadAtTheirFile)
{
    struct Case
    {
        const char* name;
        void (*grow)(DataSetText&);
        const char* file;
        int oyaCount; // rows of the ancestor file read before the stop
    };
    const Case cases[] = {
        { "sire lines", [](DataSetText& s) { s.keito = Rows(97, u"ｹｲﾄｳ", u",0"); }, "系統.CSV", 0 },
        { "ancestors", [](DataSetText& s) { s.oya = Rows(3002, u"ｳﾏ", u",0,0,1"); }, "祖先馬.CSV", 3001 },
        { "stallions", [](DataSetText& s) { s.dad = Rows(514, u"ｵｳﾏ", u",,ﾉｰｻﾞﾝ,栗毛"); }, "種牡馬.CSV", 12 },
        { "broodmares", [](DataSetText& s) { s.mam = Rows(702, u"ﾋﾝﾊﾞ", u",,ﾉｰｻﾞﾝ,栗毛"); }, "牝馬.CSV", 12 },
        { "nicks", [](DataSetText& s) { s.nix.assign(4098, u"ﾉｰｻﾞﾝ,ﾌﾞﾗｲﾄ,1"); }, "ニックス.CSV", 12 },
        { "colours", [](DataSetText& s) { s.keiro = Rows(4097, u"ｹｲﾛ", u""); }, "毛色.CSV", 0 },
        { "interesting-line group of a sire line", [](DataSetText& s) { s.keito.push_back(u"ﾊｽﾞﾚ,17"); }, "系統.CSV",
          0 },
        { "lines met in the stallion file",
          [](DataSetText& s) {
              s.keito = Rows(95, u"ｹｲﾄｳ", u",0");
              s.dad = { u"A,,ﾆｭｰ1,栗毛", u"B,,ﾆｭｰ2,栗毛" };
          },
          "種牡馬.CSV", 12 },
    };
    for (const auto& c : cases) {
        DataSetText s = SmallDataSet();
        c.grow(s);
        TempDir dir;
        test::WriteDataSet(dir, s);
        MasterData d;
        const LoadResult r = GetMasterData(d, dir.Path(), DefaultDataFiles());
        EXPECT_FALSE(r.completed) << c.name;
        ASSERT_EQ(r.messages.size(), 1u) << c.name << "\n" << Joined(r);
        EXPECT_NE(Joined(r).find(dir.File(c.file)), std::string::npos) << c.name << ": " << Joined(r);
        EXPECT_EQ(d.OyaCount, c.oyaCount) << c.name;
        EXPECT_LE(d.KeitoCount, 97) << c.name;
    }
}

TEST(LoaderFailure, ReadingStopsWhereTheTableEnds)
{
    // Undecodable bytes after the lines a table can take are never read: the file is refused for its
    // size (or, where further lines are ignored, loads).
    struct Case
    {
        const char* file;
        void (*grow)(DataSetText&);
        bool completed;
    };
    const Case cases[] = {
        { "系統.CSV", [](DataSetText& s) { s.keito = Rows(97, u"ｹｲﾄｳ", u",0"); }, false },
        { "祖先馬.CSV", [](DataSetText& s) { s.oya = Rows(3002, u"ｳﾏ", u",0,0,1"); }, false },
        { "種牡馬.CSV", [](DataSetText& s) { s.dad = Rows(514, u"ｵｳﾏ", u",,ﾉｰｻﾞﾝ,栗毛"); }, false },
        { "牝馬.CSV", [](DataSetText& s) { s.mam = Rows(702, u"ﾋﾝﾊﾞ", u",,ﾉｰｻﾞﾝ,栗毛"); }, false },
        { "ｸﾛｽ.CSV", [](DataSetText& s) { s.cross = Rows(16, u"ｺｳｶ", u",0"); }, true },
        { "面白系統.CSV", [](DataSetText& s) { s.omokei = Rows(16, u"ｸﾞﾙｰﾌﾟ", u",0,x"); }, true },
    };
    for (const auto& c : cases) {
        DataSetText s = SmallDataSet();
        c.grow(s);
        TempDir dir;
        test::WriteDataSet(dir, s);
        dir.WriteBytes(c.file, dir.ReadBytes(c.file) + "\x85\x40\r\n");
        MasterData d;
        const LoadResult r = GetMasterData(d, dir.Path(), DefaultDataFiles());
        EXPECT_EQ(r.completed, c.completed) << c.file << ": " << Joined(r);
        if (!c.completed) {
            EXPECT_NE(Joined(r).find("件まで"), std::string::npos) << c.file << ": " << Joined(r);
        }
    }
}

TEST(LoaderFailure, AncestorEffectOutsideTheCrossTable)
{
    struct Case
    {
        std::u16string row;
        const char* field;
    };
    const Case cases[] = {
        { u"ﾊｽﾞﾚ,17,0,1", "第1インブリード効果 17" },
        { u"ﾊｽﾞﾚ,16,-1,1", "第2インブリード効果 -1" },
    };
    for (const auto& c : cases) {
        DataSetText s = SmallDataSet();
        s.oya.push_back(c.row);
        TempDir dir;
        test::WriteDataSet(dir, s);
        MasterData d;
        const LoadResult r = GetMasterData(d, dir.Path(), DefaultDataFiles());
        const std::string m = Joined(r);
        EXPECT_FALSE(r.completed) << c.field;
        EXPECT_NE(m.find(dir.File("祖先馬.CSV") + ": 13 行目: " + c.field), std::string::npos) << m;
    }
}

TEST(LoaderFailure, FullTablesLoad)
{
    DataSetText s = SmallDataSet();
    s.keito = Rows(96, u"ｹｲﾄｳ", u",0");
    s.oya = Rows(3001, u"ｳﾏ", u",0,0,96");
    s.dad = Rows(513, u"ｵｳﾏ", u",,ｹｲﾄｳ5,栗毛");
    s.mam = Rows(701, u"ﾋﾝﾊﾞ", u",,ｹｲﾄｳ7,栗毛");
    s.nix.assign(4097, u"ｹｲﾄｳ1,ｹｲﾄｳ2,1");
    TempDir dir;
    test::WriteDataSet(dir, s);
    MasterData d;
    const LoadResult r = GetMasterData(d, dir.Path(), DefaultDataFiles());
    EXPECT_TRUE(r.completed) << Joined(r);
    EXPECT_EQ(d.KeitoCount, 97);
    EXPECT_EQ(d.OyaCount, 3001);
    EXPECT_EQ(d.DadCount, 513);
    EXPECT_EQ(d.MamCount, 701);
    EXPECT_EQ(d.NixCount, 4097);
}

TEST(LoaderFailure, AncestorLineOutsideTheSireLineTable)
{
    // The sire-line file of the small data set holds lines 1..5: 6 names no line, even if a horse file
    // brings in a sixth later.
    for (const std::u16string line : { u"6", u"97", u"-1", u"$7FFFFFFF" }) {
        DataSetText s = SmallDataSet();
        s.oya.push_back(u"ﾊｽﾞﾚ,0,0," + line);
        TempDir dir;
        test::WriteDataSet(dir, s);
        MasterData d;
        const LoadResult r = GetMasterData(d, dir.Path(), DefaultDataFiles());
        EXPECT_FALSE(r.completed) << ToUtf8(line);
        ASSERT_EQ(r.messages.size(), 1u);
        const std::string m = Joined(r);
        EXPECT_NE(m.find(dir.File("祖先馬.CSV")), std::string::npos) << m;
        EXPECT_NE(m.find("13 行目"), std::string::npos) << m;
        EXPECT_EQ(d.DadCount, 0) << "the stallions are not read after the error";
    }
    DataSetText s = SmallDataSet();
    s.oya.push_back(u"ｷﾞﾘｷﾞﾘ,0,0,5");
    TempDir dir;
    test::WriteDataSet(dir, s);
    MasterData d;
    EXPECT_TRUE(GetMasterData(d, dir.Path(), DefaultDataFiles()).completed);
}

TEST(LoaderFailure, MissingAndWronglyEncodedFiles)
{
    struct Case
    {
        const char* name;
        const char* file;
        std::string bytes; // empty: the file is removed
        const char* expect;
        int oyaCount; // OyaCount after the failed load (-1: the earlier content stays)
    };
    const Case cases[] = {
        { "missing", "毛色.CSV", "", "毛色.CSV", -1 },
        { "UTF-8 BOM", "祖先馬.CSV",
          "\xef\xbb\xbf"
          "A,0,0,0\r\n",
          "BOM", -1 },
        { "UTF-16 BOM", "系統.CSV",
          std::string("\xff\xfe"
                      "A\0,\0"
                      "1\0",
                      8),
          "UTF-16", -1 },
        { "UTF-8 text", "種牡馬.CSV", "\xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88,,A,B\r\n", "UTF-8", 12 },
        { "undefined bytes", "牝馬.CSV", "OK,,A,B\r\nOK2,,A,B\nBAD\x85\x40,,A,B\r\n", "3 行目", 12 },
        { "lead byte at the end", "ニックス.CSV", "A,B,1\r\n\x82", "2 行目", 12 },
        { "a folder in place of the file", "ｸﾛｽ.CSV", "dir", "フォルダ", -1 },
    };
    for (const auto& c : cases) {
        TempDir dir;
        test::WriteDataSet(dir, SmallDataSet());
        MasterData d;
        ASSERT_TRUE(GetMasterData(d, dir.Path(), DefaultDataFiles()).completed);
        d.OyaCount = 1234; // marks what the failed load did not reach
        d.MamCount = 99;
        if (c.bytes.empty()) {
            std::remove(dir.File(c.file).c_str());
        } else if (c.bytes == "dir") {
            std::remove(dir.File(c.file).c_str());
            ASSERT_EQ(::mkdir(dir.File(c.file).c_str(), 0755), 0);
        } else
            dir.WriteBytes(c.file, c.bytes);
        const LoadResult r = GetMasterData(d, dir.Path(), DefaultDataFiles());
        EXPECT_FALSE(r.completed) << c.name;
        ASSERT_FALSE(r.messages.empty()) << c.name;
        const std::string m = ToUtf8(r.messages.back());
        EXPECT_NE(m.find(dir.File(c.file)), std::string::npos) << c.name << ": " << m;
        EXPECT_NE(m.find(c.expect), std::string::npos) << c.name << ": " << m;
        EXPECT_EQ(d.OyaCount, c.oyaCount < 0 ? 1234 : c.oyaCount) << c.name;
        // the table of the failed file keeps its old content too
        EXPECT_EQ(d.MamCount, std::string(c.file) == "ニックス.CSV" ? 2 : 99) << c.name;
    }
}

TEST(LoaderFailure, PlainAsciiAndHalfWidthKanaAreNotMistakenForUtf8)
{
    // "ﾃｽﾄ" is C3 BD C4 in code page 932; with 0xB8 next it is not well-formed UTF-8
    TempDir dir;
    DataSetText s = SmallDataSet();
    s.keiro = { u"ｸﾘｹﾞ", u"plain" };
    test::WriteDataSet(dir, s);
    MasterData d;
    const LoadResult r = GetMasterData(d, dir.Path(), DefaultDataFiles());
    EXPECT_TRUE(r.completed) << Joined(r);
    EXPECT_EQ(d.KeiroTable[0], u"ｸﾘｹﾞ");
}

TEST(LoaderFailure, LinesEndInAnyOfTheUsualWays)
{
    TempDir dir;
    test::WriteDataSet(dir, SmallDataSet());
    dir.WriteBytes("毛色.CSV", "A\r\nB\nC\rD");
    MasterData d;
    ASSERT_TRUE(GetMasterData(d, dir.Path(), DefaultDataFiles()).completed);
    EXPECT_EQ(std::vector<std::u16string>(d.KeiroTable.begin(), d.KeiroTable.begin() + 4),
              (std::vector<std::u16string> { u"A", u"B", u"C", u"D" }));
}

} // namespace
} // namespace velmora
