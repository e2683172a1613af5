#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/loader.h"
#include "core/maint/data_writers.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>

namespace velmora {
namespace {

using test::DefaultDataFiles;
using test::SmallDataSet;
using test::TempDir;

std::unique_ptr<MasterData> LoadFrom(const TempDir& dir)
{
    auto d = std::make_unique<MasterData>();
    const LoadResult r = GetMasterData(*d, dir.Path(), DefaultDataFiles());
    EXPECT_TRUE(r.completed);
    for (const auto& m : r.messages)
        ADD_FAILURE() << ToUtf8(m);
    return d;
}

void WriteAll(const MasterData& d, const TempDir& dir)
{
    const TDataFiles f = DefaultDataFiles();
    WriteOmokeiFile(d, dir.Path(), f);
    WriteKeitoFile(d, dir.Path(), f);
    WriteKeiroFile(d, dir.Path(), f);
    WriteCrossFile(d, dir.Path(), f);
    WriteOyaFile(d, dir.Path(), f);
    WriteDadFile(d, dir.Path(), f);
    WriteMamFile(d, dir.Path(), f);
}

// Everything the loader fills, compared table by table within the counts.
void ExpectSameTables(const MasterData& a, const MasterData& b, bool compareGroups)
{
    ASSERT_EQ(a.OyaCount, b.OyaCount);
    for (int i = 0; i < a.OyaCount; ++i) {
        OyaRec x = a.OyaTable[i], y = b.OyaTable[i];
        if (!compareGroups)
            x.omokei = y.omokei = 0;
        EXPECT_EQ(x, y) << "ancestor " << i << " " << ToUtf8(x.name);
    }
    ASSERT_EQ(a.DadCount, b.DadCount);
    for (int i = 0; i < a.DadCount; ++i)
        EXPECT_EQ(a.DadTable[i], b.DadTable[i]) << "stallion " << i;
    ASSERT_EQ(a.MamCount, b.MamCount);
    for (int i = 0; i < a.MamCount; ++i)
        EXPECT_EQ(a.MamTable[i], b.MamTable[i]) << "broodmare " << i;
    ASSERT_EQ(a.KeitoCount, b.KeitoCount);
    for (int i = 0; i < a.KeitoCount; ++i)
        EXPECT_EQ(a.KeitoTable[i], b.KeitoTable[i]) << "line " << i;
    EXPECT_EQ(a.KeiroTable, b.KeiroTable);
    for (int i = 0; i < kCrossRows; ++i)
        EXPECT_EQ(a.CrossTable[i], b.CrossTable[i]) << "cross " << i;
    for (int i = 0; i < kOmokeiRows; ++i)
        EXPECT_EQ(a.OmokeiTable[i], b.OmokeiTable[i]) << "interesting line " << i;
    ASSERT_EQ(a.NixCount, b.NixCount);
    for (int i = 0; i < a.NixCount; ++i)
        EXPECT_EQ(a.NixList[i], b.NixList[i]) << "nick " << i;
    EXPECT_EQ(a.SpeedCrossRow, b.SpeedCrossRow);
}

TEST(DataWriters, LoadWriteLoadGivesTheSameTables)
{
    TempDir first;
    test::WriteDataSet(first, SmallDataSet());
    const auto a = LoadFrom(first);

    TempDir second;
    test::WriteDataSet(second, SmallDataSet()); // the nick file is not written by the editor
    WriteAll(*a, second);
    const auto b = LoadFrom(second);
    // Lines filled in during the first load are in the ancestor file now, so groups derived from them
    // may differ; everything else is identical, and a second round is identical throughout.
    ExpectSameTables(*a, *b, false);

    TempDir third;
    test::WriteDataSet(third, SmallDataSet());
    WriteAll(*b, third);
    const auto c = LoadFrom(third);
    ExpectSameTables(*b, *c, true);
    for (const char* f : { "面白系統.CSV", "系統.CSV", "毛色.CSV", "ｸﾛｽ.CSV", "祖先馬.CSV", "種牡馬.CSV", "牝馬.CSV" })
        EXPECT_EQ(second.ReadBytes(f), third.ReadBytes(f)) << f;
}

TEST(DataWriters, LinesAsTheEditorWritesThem)
{
    TempDir dir;
    test::WriteDataSet(dir, SmallDataSet());
    auto d = LoadFrom(dir);
    d->OmokeiTable[1].value = 0xABCDEF;
    d->OmokeiTable[2].value = 0x1234567; // more than six digits stay whole
    d->CrossTable[1].Color = 0x0000FF;

    const auto omokei = OmokeiFileLines(*d);
    ASSERT_EQ(omokei.size(), 16u);
    EXPECT_EQ(omokei[0], u"ｸﾞﾙｰﾌﾟ1,$ABCDEF,G1");
    EXPECT_EQ(omokei[1], u"ｸﾞﾙｰﾌﾟ2,$1234567,G2");
    const auto cross = CrossFileLines(*d);
    ASSERT_EQ(cross.size(), 16u);
    EXPECT_EQ(cross[0], u"短距離　,$0000FF");
    EXPECT_EQ(cross[1], u"速力　　,$00FF00");
    EXPECT_EQ(cross[4], u",$000000"); // rows past the file were never set: empty name, colour 0

    EXPECT_EQ(KeitoFileLines(*d),
              (std::vector<std::u16string> { u"ﾉｰｻﾞﾝ,1", u"ﾌﾞﾗｲﾄ,2", u"ﾒｲﾌﾟﾙ,3", u"ﾛｰｽﾞ,0", u"ｱｲﾗﾝﾄﾞ,4", u"ｷﾝｸﾞ,0" }));
    EXPECT_EQ(KeiroFileLines(*d), (std::vector<std::u16string> { u"栗毛", u"鹿毛", u"芦毛", u"青鹿毛", u"白毛" }));
    const auto oya = OyaFileLines(*d);
    ASSERT_EQ(oya.size(), 12u);
    EXPECT_EQ(oya[3], u"ﾃﾞﾙﾀ,2,3,2");
    EXPECT_EQ(oya[8], u"ｲｵﾀ,0,0,1"); // ﾐｭｰ's sire takes the line of his own sire ｱﾙﾌｧ
    EXPECT_EQ(oya[11], u"ﾐｭｰ,0,0,6"); // ﾐｭｰ takes the line his stallion row names

    const auto dad = DadFileLines(*d);
    ASSERT_EQ(dad.size(), 3u);
    EXPECT_EQ(dad[0],
              u"ｶｯﾊﾟ,内国,ﾉｰｻﾞﾝ,栗毛,3,1200,2000,◎,早熟,A,B,C,A,B,"
              u"ｱﾙﾌｧ,ﾍﾞｰﾀ,ｶﾞﾝﾏ,未登録,ﾃﾞﾙﾀ,ｲﾌﾟｼﾛﾝ,ｾﾞｰﾀ,ｴｰﾀ,ｼｰﾀ,未登録,未登録,未登録,未登録,未登録,未登録");
    const auto mam = MamFileLines(*d);
    ASSERT_EQ(mam.size(), 2u);
    EXPECT_EQ(mam[1],
              u"ﾊﾅ,他家,ﾌﾞﾗｲﾄ,白毛,8000,5,8,ﾗﾑﾀﾞ,ｶﾞﾝﾏ,ｴｰﾀ,ﾃﾞﾙﾀ,未登録,ｼｰﾀ,未登録,未登録,未登録,未登録,"
              u"未登録,未登録,未登録,未登録,未登録");

    // on disk: code page 932, CR LF after every line
    WriteKeitoFile(*d, dir.Path(), DefaultDataFiles());
    EXPECT_EQ(dir.ReadBytes("系統.CSV"), ToCp932(u"ﾉｰｻﾞﾝ,1\r\nﾌﾞﾗｲﾄ,2\r\nﾒｲﾌﾟﾙ,3\r\nﾛｰｽﾞ,0\r\nｱｲﾗﾝﾄﾞ,4\r\nｷﾝｸﾞ,0\r\n"));
}

TEST(DataWriters, FieldsThatWouldNotReadBackAreRefusedAndTheFileKept)
{
    struct Case
    {
        const char* name;
        void (*spoil)(MasterData&);
        void (*write)(const MasterData&, const std::string&, const TDataFiles&);
        const char* file;
    };
    const Case cases[] = {
        { "comma in a name", [](MasterData& d) { d.OyaTable[2].name = u"ｶﾞﾝ,ﾏ"; }, WriteOyaFile, "祖先馬.CSV" },
        { "quote in a label", [](MasterData& d) { d.OmokeiTable[3].lbl = u"\"G\""; }, WriteOmokeiFile, "面白系統.CSV" },
        { "line end in a colour", [](MasterData& d) { d.KeiroTable[1] = u"鹿\r\n毛"; }, WriteKeiroFile, "毛色.CSV" },
        { "character outside the code page", [](MasterData& d) { d.DadTable[1].name = u"ﾗﾑ\U0001F40E"; }, WriteDadFile,
          "種牡馬.CSV" },
        { "comma in a cross effect", [](MasterData& d) { d.CrossTable[16].name = u"a,b"; }, WriteCrossFile, "ｸﾛｽ.CSV" },
    };
    for (const auto& c : cases) {
        TempDir dir;
        test::WriteDataSet(dir, SmallDataSet());
        auto d = LoadFrom(dir);
        const std::string before = dir.ReadBytes(c.file);
        c.spoil(*d);
        try {
            c.write(*d, dir.Path(), DefaultDataFiles());
            ADD_FAILURE() << c.name << ": no error";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(c.file), std::string::npos) << e.what();
        }
        EXPECT_EQ(dir.ReadBytes(c.file), before) << c.name;
    }
}

TEST(DataWriters, IndicesOutsideTheirTablesAreRangeErrors)
{
    TempDir dir;
    test::WriteDataSet(dir, SmallDataSet());
    auto d = LoadFrom(dir);
    const std::string before = dir.ReadBytes("種牡馬.CSV");
    d->DadTable[0].keiro = 99; // colour list has 5 names
    EXPECT_THROW(WriteDadFile(*d, dir.Path(), DefaultDataFiles()), RangeError);
    d->DadTable[0].keiro = 0;
    d->DadTable[0].Father[3] = -7;
    EXPECT_THROW(WriteDadFile(*d, dir.Path(), DefaultDataFiles()), RangeError);
    d->MamTable[0].keito = kKeitoRows;
    EXPECT_THROW(WriteMamFile(*d, dir.Path(), DefaultDataFiles()), RangeError);
    EXPECT_EQ(dir.ReadBytes("種牡馬.CSV"), before);
}

TEST(DataWriters, ReplaceTheFileWhoseNameDiffersOnlyInCase)
{
    TempDir dir;
    test::WriteDataSet(dir, SmallDataSet());
    ASSERT_EQ(std::rename(dir.File("祖先馬.CSV").c_str(), dir.File("祖先馬.csv").c_str()), 0);
    auto d = LoadFrom(dir);
    d->OyaCount = 2;
    WriteOyaFile(*d, dir.Path(), DefaultDataFiles());
    EXPECT_EQ(dir.ReadBytes("祖先馬.csv"), ToCp932(u"ｱﾙﾌｧ,0,0,1\r\nﾍﾞｰﾀ,1,0,1\r\n"));
    EXPECT_NE(::access(dir.File("祖先馬.CSV").c_str(), F_OK), 0);
}

TEST(DataWriters, EmptyTablesWriteEmptyFiles)
{
    TempDir dir;
    MasterData d;
    WriteOyaFile(d, dir.Path(), DefaultDataFiles());
    WriteKeitoFile(d, dir.Path(), DefaultDataFiles());
    EXPECT_EQ(dir.ReadBytes("祖先馬.CSV"), "");
    EXPECT_EQ(dir.ReadBytes("系統.CSV"), "");
    WriteCrossFile(d, dir.Path(), DefaultDataFiles());
    EXPECT_EQ(CrossFileLines(d).size(), 16u);
}

} // namespace
} // namespace velmora
