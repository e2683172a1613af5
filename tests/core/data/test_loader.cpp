#include "core/data/cp932.h"
#include "core/data/loader.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <memory>

namespace velmora {
namespace {

using test::DataSetText;
using test::DefaultDataFiles;
using test::SmallDataSet;
using test::TempDir;

struct Loaded
{
    std::unique_ptr<MasterData> d = std::make_unique<MasterData>();
    LoadResult r;
};

Loaded Load(const DataSetText& s)
{
    TempDir dir;
    test::WriteDataSet(dir, s);
    Loaded l;
    l.r = GetMasterData(*l.d, dir.Path(), DefaultDataFiles());
    return l;
}

std::string Messages(const LoadResult& r)
{
    std::string all;
    for (const auto& m : r.messages)
        all += ToUtf8(m) + "\n";
    return all;
}

TEST(Loader, SmallDataSetFillsEveryTable)
{
    const Loaded l = Load(SmallDataSet());
    const MasterData& d = *l.d;
    ASSERT_TRUE(l.r.completed) << Messages(l.r);
    EXPECT_EQ(d.OyaCount, 12);
    EXPECT_EQ(d.DadCount, 3);
    EXPECT_EQ(d.MamCount, 2);
    EXPECT_EQ(d.NixCount, 3);
    EXPECT_EQ(d.KeitoCount, 7); // row 0, five lines of the file and "ｷﾝｸﾞ" met in the stallion file
    EXPECT_EQ(d.KeitoTable[6].name, u"ｷﾝｸﾞ");
    EXPECT_EQ(d.KeitoTable[6].value, 0);
    EXPECT_EQ(d.DadTable[2].keito, 6);
    // colours of the horse files that the colour file lacks are appended in the order met
    EXPECT_EQ(d.KeiroTable, (std::vector<std::u16string> { u"栗毛", u"鹿毛", u"芦毛", u"青鹿毛", u"白毛" }));
    EXPECT_EQ(d.DadTable[2].keiro, 3);
    EXPECT_EQ(d.MamTable[1].keiro, 4);
    EXPECT_EQ(d.MamTable[0].keiro, 1);

    // sentinels
    EXPECT_EQ(d.OmokeiTable[0].name, u"未登録");
    EXPECT_EQ(d.OmokeiTable[0].lbl, u"未");
    EXPECT_EQ(d.OmokeiTable[0].value, 0xFFFFFF);
    EXPECT_EQ(d.CrossTable[0].name, u"\u3000\u3000\u3000\u3000");
    EXPECT_EQ(d.CrossTable[0].Color, 0xFFFFFFu);
    EXPECT_EQ(d.KeitoTable[0].name, u"未登録");
    EXPECT_EQ(FindKeito(d, u"未登録"), 0);
    EXPECT_EQ(FindOmokei(d, u"未登録"), 0);
    EXPECT_EQ(FindOmokei(d, u"ｸﾞﾙｰﾌﾟ16"), 16);
    EXPECT_EQ(d.OmokeiTable[16].lbl, u"G16");
    EXPECT_EQ(d.OmokeiTable[16].value, 0x001600);

    // a stallion row, field by field
    const DadRec& k = d.DadTable[0];
    EXPECT_EQ(k.name, u"ｶｯﾊﾟ");
    EXPECT_EQ(k.birth, u"内国");
    EXPECT_EQ(k.keito, 1);
    EXPECT_EQ(k.keiro, 0);
    EXPECT_EQ(k.Fee, 3);
    EXPECT_EQ(k.Distance1, 1200);
    EXPECT_EQ(k.Distance2, 2000);
    EXPECT_EQ(k.Dirt, u"◎");
    EXPECT_EQ(k.Grow, u"早熟");
    EXPECT_EQ(k.Kisho + k.Konjo + k.Kenko + k.Jisseki + k.Antei, u"ABCAB");
    EXPECT_EQ(k.Selected, 1);
    const DadFatherRec wantF { 9, 0, 1, 2, -1, 3, 4, 5, 6, 7, -1, -1, -1, -1, -1, -1 };
    EXPECT_EQ(k.Father, wantF);

    const MamRec& m = d.MamTable[1];
    EXPECT_EQ(m.name, u"ﾊﾅ");
    EXPECT_EQ(m.motikomi, u"他家");
    EXPECT_EQ(m.keito, 2);
    EXPECT_EQ(m.Fee, 8000);
    EXPECT_EQ(m.speed, 5);
    EXPECT_EQ(m.stamina, 8);
    EXPECT_TRUE(m.Selected);
    const MamFatherRec wantM { 10, 2, 6, 3, -1, 7, -1, -1, -1, -1, -1, -1, -1, -1, -1 };
    EXPECT_EQ(m.Father, wantM);

    // nicks: the four-field form gives the same entry as the three-field form
    EXPECT_EQ(d.NixList[0].keito1, 1);
    EXPECT_EQ(d.NixList[0].keito2, 2);
    EXPECT_EQ(d.NixList[0].value, 30);
    EXPECT_EQ(d.NixList[1].keito1, 2);
    EXPECT_EQ(d.NixList[1].keito2, 3);
    EXPECT_EQ(d.NixList[1].value, 25);
    EXPECT_EQ(d.NixList[2].value, -5);
    EXPECT_TRUE(l.r.messages.empty()) << Messages(l.r);
}

TEST(Loader, CrossEffectsNitroWeightsAndSpeedRow)
{
    struct Case
    {
        std::vector<std::u16string> cross;
        int speedRow;
        std::vector<std::pair<int, int>> nitro; // SpNit, StNit of rows 1..n
    };
    const Case cases[] = {
        { { u"速力　　", u"底力↑　", u"長距離　", u"短距離　" }, 4, { { 1, 0 }, { 0, 1 }, { 0, 1 }, { 2, -1 } } },
        { { u"短距離", u"長距離" }, 1, { { 0, 0 }, { 0, 0 } } }, // no trailing U+3000: no weights
        { { u"なし", u"スピード◎", u"短" }, 2, { { 0, 0 }, { 0, 0 }, { 0, 0 } } }, // "◎" counts as well
        { { u"a", u"b" }, 0, { { 0, 0 }, { 0, 0 } } },
    };
    for (const auto& c : cases) {
        DataSetText s = SmallDataSet();
        s.cross = c.cross;
        const Loaded l = Load(s);
        ASSERT_TRUE(l.r.completed) << Messages(l.r);
        EXPECT_EQ(l.d->SpeedCrossRow, c.speedRow) << ToUtf8(c.cross[0]);
        for (size_t i = 0; i < c.nitro.size(); ++i) {
            EXPECT_EQ(l.d->CrossTable[i + 1].SpNit, c.nitro[i].first) << ToUtf8(c.cross[i]);
            EXPECT_EQ(l.d->CrossTable[i + 1].StNit, c.nitro[i].second) << ToUtf8(c.cross[i]);
        }
    }
}

TEST(Loader, OnlySixteenCrossEffectsAndInterestingLinesAreRead)
{
    DataSetText s = SmallDataSet();
    s.cross.clear();
    s.omokei.clear();
    for (int i = 1; i <= 20; ++i) {
        const std::string n = std::to_string(i);
        s.cross.push_back(u"効果" + FromUtf8(n) + u",$" + FromUtf8(n));
        s.omokei.push_back(u"面白" + FromUtf8(n) + u"," + FromUtf8(n) + u",L" + FromUtf8(n));
    }
    const Loaded l = Load(s);
    ASSERT_TRUE(l.r.completed) << Messages(l.r);
    EXPECT_EQ(l.d->CrossTable[16].name, u"効果16");
    EXPECT_EQ(l.d->CrossTable[16].Color, 0x16u);
    EXPECT_EQ(l.d->OmokeiTable[16].name, u"面白16");
    EXPECT_EQ(l.d->OmokeiTable[16].value, 16);
    EXPECT_EQ(FindOmokei(*l.d, u"面白17"), -1);
}

TEST(Loader, FieldEdgeCases)
{
    DataSetText s = SmallDataSet();
    s.keito.push_back(u"ｺﾝﾏﾅｼ"); // no comma: name is the whole line, group defaults to 0
    s.keito.push_back(u"\"ｸｫｰﾄ,ﾃﾞｽ\",2"); // quoted comma still splits, quotes deleted
    s.keito.push_back(u"\u3000ｽﾍﾟｰｽ ,$3"); // blanks kept, hexadecimal group
    s.keito.push_back(u"ﾜﾙｲｶｽﾞ,abc"); // a bad number takes the default
    s.cross = { u"短距離　", u"速力　　,xyz" }; // colours default to white
    s.dad[0] = u"ｶｯﾊﾟ,内国生産,ﾉｰｻﾞﾝ,栗毛,x,,1e3,◎◎,持続晩成,AB,B,C,A,B";
    s.mam[0] = u"ﾋﾒ,A持込,ﾉｰｻﾞﾝ,鹿毛,-5,$A,+3";
    const Loaded l = Load(s);
    ASSERT_TRUE(l.r.completed) << Messages(l.r);
    const MasterData& d = *l.d;
    EXPECT_EQ(d.KeitoTable[6].name, u"ｺﾝﾏﾅｼ");
    EXPECT_EQ(d.KeitoTable[6].value, 0);
    EXPECT_EQ(d.KeitoTable[7].name, u"ｸｫｰﾄ");
    EXPECT_EQ(d.KeitoTable[7].value, 0); // "ﾃﾞｽ" is the group field
    EXPECT_EQ(d.KeitoTable[8].name, u"\u3000ｽﾍﾟｰｽ ");
    EXPECT_EQ(d.KeitoTable[8].value, 3);
    EXPECT_EQ(d.KeitoTable[9].value, 0);
    EXPECT_EQ(d.CrossTable[1].Color, 0xFFFFFFu);
    EXPECT_EQ(d.CrossTable[2].Color, 0xFFFFFFu);

    const DadRec& k = d.DadTable[0];
    EXPECT_EQ(k.birth, u"内国"); // 4 bytes
    EXPECT_EQ(k.Fee, 0);
    EXPECT_EQ(k.Distance1, 0);
    EXPECT_EQ(k.Distance2, 0);
    EXPECT_EQ(k.Dirt, u"◎"); // 2 bytes
    EXPECT_EQ(k.Grow, u"持続"); // 4 bytes
    EXPECT_EQ(k.Kisho, u"A"); // 1 byte
    const DadFatherRec unknown { 9, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1 };
    EXPECT_EQ(k.Father, unknown); // fields past the end of the line are empty

    const MamRec& m = d.MamTable[0];
    EXPECT_EQ(m.motikomi, u"A持"); // 1 + 2 bytes; the next character would cross the limit
    EXPECT_EQ(m.Fee, -5);
    EXPECT_EQ(m.speed, 10);
    EXPECT_EQ(m.stamina, 3);
}

TEST(Loader, ShortTextNeverCutsADoubleByteCharacter)
{
    DataSetText s = SmallDataSet();
    s.mam[0] = u"ﾋﾒ,ｱ持込,ﾉｰｻﾞﾝ,鹿毛,1,1,1";
    s.dad[0] = u"ｶｯﾊﾟ,A国産,ﾉｰｻﾞﾝ,栗毛,1,1,1,A◎,ｱ早熟,早,B,C,A,B";
    const Loaded l = Load(s);
    ASSERT_TRUE(l.r.completed) << Messages(l.r);
    EXPECT_EQ(l.d->MamTable[0].motikomi, u"ｱ持");
    EXPECT_EQ(l.d->DadTable[0].birth, u"A国");
    EXPECT_EQ(l.d->DadTable[0].Dirt, u"A");
    EXPECT_EQ(l.d->DadTable[0].Grow, u"ｱ早");
    EXPECT_EQ(l.d->DadTable[0].Kisho, u""); // a double-byte character does not fit one byte
}

// Interesting lines used by the fill-in tests: line 1 -> group 5, line 2 -> no group, line 3 -> group 7.
DataSetText FillInBase()
{
    DataSetText s = SmallDataSet();
    s.keito = { u"L1,5", u"L2,0", u"L3,7" };
    s.nix.clear();
    return s;
}

TEST(Loader, StallionFillsInGroupsOfHisAncestors)
{
    DataSetText s = FillInBase();
    s.oya = { u"S,0,0,2", u"A,0,0,2", u"B,0,0,3", u"X,0,0,1", u"Y,0,0,2", u"Z,0,0,2" };
    // positions: 1 A, 2 B, 3 X, 6 Y, 12 Z
    s.dad = { u"S,,L2,栗毛,1,1,1,,,,,,,,A,B,X,,,Y,,,,,,Z,,," };
    s.mam.clear();
    const Loaded l = Load(s);
    ASSERT_TRUE(l.r.completed) << Messages(l.r);
    std::vector<int> groups;
    for (int i = 0; i < 6; ++i)
        groups.push_back(l.d->OyaTable[i].omokei);
    // Y takes his son X's group and Z then Y's; A takes his sire B's group; S takes A's.
    EXPECT_EQ(groups, (std::vector<int> { 7, 7, 7, 5, 5, 5 }));
}

TEST(Loader, SireWithoutGroupTakesTheStallionsGroup)
{
    DataSetText s = FillInBase();
    s.oya = { u"S,0,0,1", u"P,0,0,2" };
    s.dad = { u"S,,L1,栗毛,1,1,1,,,,,,,,P" };
    s.mam.clear();
    const Loaded l = Load(s);
    ASSERT_TRUE(l.r.completed) << Messages(l.r);
    EXPECT_EQ(l.d->OyaTable[1].omokei, 5);
    EXPECT_EQ(l.d->OyaTable[1].keito, 2); // lines are only filled where they are 0
}

TEST(Loader, StallionFillsInLinesOfHisAncestors)
{
    DataSetText s = FillInBase();
    s.oya = { u"S,0,0,0", u"A,0,0,0", u"B,0,0,2", u"C,0,0,0", u"D,0,0,0", u"E,0,0,0" };
    // positions: 1 A, 2 B, 4 C, 8 D; E at 9 (not a sire of the chain, not filled)
    s.dad = { u"S,,L1,栗毛,1,1,1,,,,,,,,A,B,,C,,,,D,E" };
    s.mam.clear();
    const Loaded l = Load(s);
    ASSERT_TRUE(l.r.completed) << Messages(l.r);
    std::vector<int> lines;
    for (int i = 0; i < 6; ++i)
        lines.push_back(l.d->OyaTable[i].keito);
    // A from his sire B; S from his own line name; C and D down the chain from B.
    EXPECT_EQ(lines, (std::vector<int> { 1, 2, 2, 2, 2, 0 }));
}

TEST(Loader, BroodmareFillsInGroupsOfSiresOnly)
{
    DataSetText s = FillInBase();
    s.oya = { u"X,0,0,1", u"Y,0,0,0", u"Z,0,0,0", u"W,0,0,2", u"V,0,0,0", u"U,0,0,0" };
    // positions: 1 X, 2 Y, 3 W, 4 Z, 5 U, 6 V
    s.mam = { u"M,,L1,鹿毛,1,1,1,X,Y,W,Z,U,V" };
    s.dad.clear();
    const Loaded l = Load(s);
    ASSERT_TRUE(l.r.completed) << Messages(l.r);
    const auto& o = l.d->OyaTable;
    EXPECT_EQ(o[1].omokei, 5); // Y from X
    EXPECT_EQ(o[2].omokei, 5); // Z from Y, filled just before
    EXPECT_EQ(o[4].omokei, 0); // V from W, which has no group
    EXPECT_EQ(o[5].omokei, 0); // odd positions are not filled
    EXPECT_EQ(o[1].keito, 0); // no lines from broodmares
}

TEST(Loader, NickLinesWithUnknownLinesAreReportedAndSkipped)
{
    DataSetText s = SmallDataSet();
    s.nix = { u"ﾉｰｻﾞﾝ,ﾌﾞﾗｲﾄ,30",  u"ﾅｲ,ﾌﾞﾗｲﾄ,10",     u"ﾉｰｻﾞﾝ,3,ﾅｲﾃﾞｽ,10", u"ﾉｰｻﾞﾝ,0,20",
              u"ﾒｲﾌﾟﾙ,-1,ﾛｰｽﾞ,4", u"ﾛｰｽﾞ,$2,ﾒｲﾌﾟﾙ,7", u"ﾌﾞﾗｲﾄ,未登録" };
    TempDir dir;
    test::WriteDataSet(dir, s);
    MasterData d;
    const LoadResult r = GetMasterData(d, dir.Path(), DefaultDataFiles());
    EXPECT_TRUE(r.completed);
    const std::u16string where = FromUtf8(dir.Path()) + u"ニックス.CSV:";
    EXPECT_EQ(r.messages,
              (std::vector<std::u16string> { where + u"ﾅｲが見つかりません", where + u"ﾅｲﾃﾞｽが見つかりません",
                                             where + u"0が見つかりません", where + u"-1が見つかりません" }));
    ASSERT_EQ(d.NixCount, 3);
    EXPECT_EQ(d.NixList[1].keito1, 4);
    EXPECT_EQ(d.NixList[1].keito2, 3);
    EXPECT_EQ(d.NixList[1].value, 7);
    EXPECT_EQ(d.NixList[2].keito2, 0); // "未登録" is row 0
    EXPECT_EQ(d.NixList[2].value, 0);
}

TEST(Loader, DataFilesAreFoundWithoutRegardToLetterCase)
{
    TempDir dir;
    dir.WriteText("祖先馬.csv", u"x");
    dir.WriteText("ｸﾛｽ.Csv", u"x");
    dir.WriteText("ＡＢ.TXT", u"x");
    EXPECT_EQ(DataFilePath(dir.Path(), u"祖先馬.CSV"), dir.File("祖先馬.csv"));
    EXPECT_EQ(DataFilePath(dir.Path(), u"ｸﾛｽ.cSV"), dir.File("ｸﾛｽ.Csv"));
    EXPECT_EQ(DataFilePath(dir.Path(), u"ａｂ.txt"), dir.File("ＡＢ.TXT"));
    EXPECT_EQ(DataFilePath(dir.Path(), u"ない.CSV"), dir.File("ない.CSV"));
    EXPECT_TRUE(DataFileExists(dir.Path(), u"祖先馬.CSV"));
    EXPECT_FALSE(DataFileExists(dir.Path(), u"ない.CSV"));
    EXPECT_FALSE(DataFileExists(dir.Path(), u"祖先馬")); // the whole name counts
    dir.WriteText("祖先馬.CSV", u"y");
    EXPECT_EQ(DataFilePath(dir.Path(), u"祖先馬.CSV"), dir.File("祖先馬.CSV")); // exact name first
}

TEST(Loader, LowercaseFileNamesLoad)
{
    TempDir dir;
    test::WriteDataSet(dir, SmallDataSet());
    ASSERT_EQ(std::rename(dir.File("祖先馬.CSV").c_str(), dir.File("祖先馬.csv").c_str()), 0);
    MasterData d;
    const LoadResult r = GetMasterData(d, dir.Path(), DefaultDataFiles());
    EXPECT_TRUE(r.completed) << Messages(r);
    EXPECT_EQ(d.OyaCount, 12);
}

TEST(Loader, HooksWrapTheLoad)
{
    TempDir dir;
    test::WriteDataSet(dir, SmallDataSet());
    MasterData d;
    std::string calls;
    LoadHooks hooks;
    hooks.setBusy = [&](bool busy) { calls += busy ? "B" : "b"; };
    hooks.processEvents = [&] { calls += "p"; };
    EXPECT_TRUE(GetMasterData(d, dir.Path(), DefaultDataFiles(), hooks).completed);
    EXPECT_EQ(calls, "Bppb");
    std::remove(dir.File("牝馬.CSV").c_str());
    calls.clear();
    EXPECT_FALSE(GetMasterData(d, dir.Path(), DefaultDataFiles(), hooks).completed);
    EXPECT_EQ(calls, "Bppb"); // the cursor is restored after a failure too
}

TEST(Loader, ReloadResetsCountsAndKeepsRowsBeyondShorterFiles)
{
    TempDir dir;
    DataSetText s = SmallDataSet();
    test::WriteDataSet(dir, s);
    MasterData d;
    ASSERT_TRUE(GetMasterData(d, dir.Path(), DefaultDataFiles()).completed);
    s.cross = { u"一" };
    s.omokei = { u"新,1,N" };
    s.oya.resize(10);
    s.dad.resize(1);
    s.keiro = { u"黒鹿毛" };
    test::WriteDataSet(dir, s);
    const LoadResult r = GetMasterData(d, dir.Path(), DefaultDataFiles());
    ASSERT_TRUE(r.completed) << Messages(r);
    EXPECT_EQ(d.CrossTable[1].name, u"一");
    EXPECT_EQ(d.CrossTable[2].name, u"速力　　"); // from the earlier load
    EXPECT_EQ(d.OmokeiTable[2].name, u"ｸﾞﾙｰﾌﾟ2");
    EXPECT_EQ(d.OyaCount, 10);
    EXPECT_EQ(d.DadCount, 1);
    EXPECT_EQ(d.KeitoCount, 6);
    // the colour list alone is emptied first
    EXPECT_EQ(d.KeiroTable, (std::vector<std::u16string> { u"黒鹿毛", u"栗毛", u"鹿毛", u"白毛" }));
}

TEST(Loader, DuplicateNamesResolveToTheLowestRow)
{
    DataSetText s = SmallDataSet();
    s.oya.push_back(u"ｱﾙﾌｧ,0,0,2"); // row 12, same name as row 0
    s.keito.push_back(u"ﾉｰｻﾞﾝ,9"); // row 6, same name as row 1
    s.dad.push_back(u"ｶｯﾊﾟ,,ﾉｰｻﾞﾝ,栗毛,1,1,1,,,,,,,,ｱﾙﾌｧ");
    const Loaded l = Load(s);
    ASSERT_TRUE(l.r.completed) << Messages(l.r);
    EXPECT_EQ(FindOya(*l.d, u"ｱﾙﾌｧ"), 0);
    EXPECT_EQ(l.d->DadTable[3].Father[1], 0);
    EXPECT_EQ(l.d->DadTable[3].keito, 1);
    EXPECT_EQ(FindDad(*l.d, u"ｶｯﾊﾟ"), 0);
    EXPECT_EQ(l.d->NixList[0].keito1, 1);
}

} // namespace
} // namespace velmora
