#include "core/app/app_state.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "core/data/text_file.h"
#include "core/mating/points.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace velmora {
namespace {

using test::TempDir;

std::vector<std::u16string> Lines(const TempDir& dir, std::u16string_view name)
{
    return ReadCp932Lines(dir.File(ToUtf8(name)));
}

TEST(PointFile, MissingFileIsCreatedWithTheWholeDefaultTable)
{
    TempDir dir;
    IniFile file(dir.File(ToUtf8(u"相性.CSV")));
    PtsRec t;
    t.haigo.Omo = 12345; // every field is replaced
    ReadPoints(file, t);
    EXPECT_EQ(t, DefaultPointTable());
    EXPECT_EQ(t.haigo.Omo, 2000);
    EXPECT_EQ(t.haigo.Taboo, -10000);
    EXPECT_EQ(t.mstatus[MStatus::FeeHigh], 12500);
    EXPECT_EQ(t.dstatus[DStatus::DistHigh], 3600);
    EXPECT_EQ(t.dstatus[DStatus::StarLow], 1);

    const std::vector<std::u16string> lines = Lines(dir, u"相性.CSV");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], u"[配合]");
    EXPECT_EQ(lines[1], u"同系配合=0");
    EXPECT_EQ(lines[2], u"面白配合=2000");
    EXPECT_EQ(lines[3], u"見事な配合=2000");

    // Sections in the writer's order, 113 numeric keys and two empty colour keys.
    std::vector<std::u16string> sections;
    int numeric = 0;
    std::vector<std::u16string> colourLines;
    for (const std::u16string& l : lines) {
        if (!l.empty() && l[0] == u'[') {
            sections.push_back(l);
        } else if (l.starts_with(u"毛色=")) {
            colourLines.push_back(l);
        } else if (l.find(u'=') != std::u16string::npos) {
            ++numeric;
        }
    }
    EXPECT_EQ(sections,
              (std::vector<std::u16string> { u"[配合]", u"[クロス本数]", u"[血統構成]", u"[インブリード]",
                                             u"[親似効果]", u"[繁殖牝馬]", u"[種牡馬]" }));
    EXPECT_EQ(numeric, 113);
    EXPECT_EQ(colourLines, (std::vector<std::u16string> { u"毛色=", u"毛色=" }));

    // Some keys exactly as the file writes them.
    const std::vector<std::u16string> expectedSome = { u"ニックス:優れている=600",
                                                       u"危険（過多）=-5000",
                                                       u"1本=0",
                                                       u"7本=0",
                                                       u"効果00=0",
                                                       u"効果16=0",
                                                       u"スタミナ上限=10",
                                                       u"★上限=5",
                                                       u"ダート◎=0",
                                                       u"健康O=0" };
    for (const auto& e : expectedSome)
        EXPECT_NE(std::find(lines.begin(), lines.end(), e), lines.end()) << ToUtf8(e);
    // 血統構成 starts at 効果01, インブリード at 効果00.
    const auto nitro = std::find(lines.begin(), lines.end(), u"[血統構成]");
    ASSERT_NE(nitro, lines.end());
    EXPECT_EQ(*(nitro + 1), u"効果01=0");
    const auto cros = std::find(lines.begin(), lines.end(), u"[インブリード]");
    ASSERT_NE(cros, lines.end());
    EXPECT_EQ(*(cros + 1), u"効果00=0");
    // 繁殖牝馬 ends with 毛色 right before 種牡馬.
    const auto stallion = std::find(lines.begin(), lines.end(), u"[種牡馬]");
    ASSERT_NE(stallion, lines.end());
    EXPECT_EQ(*(stallion - 1), u"毛色=");
    EXPECT_EQ(lines.back(), u"毛色=");
}

TEST(PointFile, AbsentEmptyAndNonNumericValues)
{
    struct Case
    {
        const char* what;
        std::vector<std::u16string> content;
        int32_t omo;
        std::u16string kept; // the 面白配合 line afterwards
    };
    const std::vector<Case> cases = {
        { "absent", { u"[配合]", u"同系配合=5" }, 2000, u"面白配合=2000" },
        { "empty", { u"[配合]", u"面白配合=" }, 0, u"面白配合=" },
        { "abc", { u"[配合]", u"面白配合=abc" }, 0, u"面白配合=abc" },
        { "negative", { u"[配合]", u"面白配合=-30" }, -30, u"面白配合=-30" },
        { "blanks", { u"[配合]", u"面白配合= 44 " }, 44, u"面白配合= 44 " },
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.WriteLines("p.CSV", c.content);
        IniFile file(dir.File("p.CSV"));
        PtsRec t;
        ReadPoints(file, t);
        EXPECT_EQ(t.haigo.Omo, c.omo) << c.what;
        const auto lines = ReadCp932Lines(dir.File("p.CSV"));
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.kept), lines.end()) << c.what;
        // The rest of the table is completed with its defaults.
        EXPECT_EQ(t.haigo.Yok, 2000) << c.what;
    }
}

TEST(PointFile, ZeroEffectSlotIsReadButWrittenAsZero)
{
    TempDir dir;
    dir.WriteLines("p.CSV", { u"[インブリード]", u"効果00=500", u"効果03=7", u"[親似効果]", u"効果00=9" });
    IniFile file(dir.File("p.CSV"));
    PtsRec t;
    ReadPoints(file, t);
    EXPECT_EQ(t.cros[0], 500);
    EXPECT_EQ(t.cros[3], 7);
    EXPECT_EQ(t.Oyani[0], 9);
    WritePoints(file, t);
    EXPECT_EQ(t.cros[0], 0);
    EXPECT_EQ(t.Oyani[0], 0);
    IniFile again(dir.File("p.CSV"));
    EXPECT_EQ(again.Read(u"インブリード", u"効果00"), u"0");
    EXPECT_EQ(again.Read(u"親似効果", u"効果00"), u"0");
    EXPECT_EQ(again.Read(u"インブリード", u"効果03"), u"7");
}

TEST(PointFile, WriteThenReadGivesTheSameTable)
{
    TempDir dir;
    PtsRec t = DefaultPointTable();
    t.haigo.Kiken = -1;
    t.CrosNum[7] = 77;
    t.Nitro[16] = 16;
    t.cros[5] = -5;
    t.Oyani[12] = 12;
    t.mstatus[MStatus::StaminaPts] = 3;
    t.mcolor = u"芦毛";
    t.dstatus[DStatus::KenkoO] = 99;
    t.dcolor = u"栗毛";
    {
        IniFile file(dir.File("w.CSV"));
        WritePoints(file, t);
    }
    IniFile file(dir.File("w.CSV"));
    PtsRec back;
    ReadPoints(file, back);
    EXPECT_EQ(back, t);
    EXPECT_EQ(file.Read(u"種牡馬", u"毛色"), u"栗毛");
}

TEST(PointFile, UnwritableFileAbortsTheRead)
{
    TempDir dir;
    // The file's directory is a plain file: nothing can be written there, whoever runs the test.
    dir.WriteText("notadir", u"");
    IniFile file(dir.File("notadir/") + ToUtf8(u"相性.CSV"));
    PtsRec t;
    t.haigo.Dokei = 9;
    t.haigo.Omo = 9;
    EXPECT_THROW(ReadPoints(file, t), FileError);
    EXPECT_EQ(t.haigo.Omo, 9); // not reached: the first write-back failed
}

TEST(PointFile, CompleteFileIsNotRewritten)
{
    TempDir dir;
    const std::string path = dir.File("p.CSV");
    {
        IniFile file(path);
        PtsRec t;
        ReadPoints(file, t);
    }
    const std::string before = dir.ReadBytes("p.CSV");
    struct stat st1
    {
    };
    stat(path.c_str(), &st1);
    IniFile file(path);
    PtsRec t;
    ReadPoints(file, t);
    struct stat st2
    {
    };
    stat(path.c_str(), &st2);
    EXPECT_EQ(dir.ReadBytes("p.CSV"), before);
    EXPECT_EQ(st1.st_ino, st2.st_ino); // an atomic rewrite would have replaced the file
}

TEST(PointNames, SettingAndFileNames)
{
    EXPECT_EQ(PointFileName(u"デフォルト"), u"相性.CSV");
    EXPECT_EQ(PointFileName(u""), u"相性.CSV");
    EXPECT_EQ(PointFileName(u"強化"), u"相性強化.CSV");
    EXPECT_EQ(PointSettingName(u"相性.CSV"), u"デフォルト");
    EXPECT_EQ(PointSettingName(u"相性A.B.CSV"), u"A.B");
    EXPECT_EQ(PointSettingName(u"相性設定.CSV"), u"設定");
    EXPECT_EQ(PointSettingName(u"相性x.csv"), u"x");
    EXPECT_EQ(CrosNumKey(1), u"1本");
    EXPECT_EQ(EffectKey(0), u"効果00");
    EXPECT_EQ(EffectKey(16), u"効果16");
}

TEST(PointNames, NamesThatAreNoFileNameAreRefused)
{
    for (const char16_t* ok : { u"強化", u"", u"デフォルト", u"A.B", u"ﾃｽﾄ 1", u"." })
        EXPECT_TRUE(PointSettingNameProblem(ok).empty()) << ToUtf8(ok);
    for (const char16_t* bad : { u"a\nb", u"a\r", u"\tx", u"x*", u"?", u"a/b", u"a\\b", u"..", u"x..y" }) {
        const std::u16string problem = PointSettingNameProblem(bad);
        EXPECT_NE(problem.find(u"設定名「" + std::u16string(bad) + u"」"), std::u16string::npos) << ToUtf8(bad);
    }
    // The settings file keeps the name in code page 932: the look-alikes other systems type are the
    // code page's own; a character it lacks is named.
    EXPECT_EQ(FoldCp932LookAlikes(u"春〜夏−‖—¢£¬"), u"春～夏－∥―￠￡￢");
    EXPECT_TRUE(PointSettingNameProblem(FoldCp932LookAlikes(u"春〜夏")).empty());
    EXPECT_EQ(PointSettingNameProblem(u"春〜夏"), u"設定名「春〜夏」は使えません。「〜」は設定名に使えない文字です");
    EXPECT_EQ(PointSettingNameProblem(u"x😀"), u"設定名「x😀」は使えません。「😀」は設定名に使えない文字です");
    EXPECT_EQ(FirstNonCp932(u"ｱ漢字～"), std::u16string_view::npos);
}

TEST(PointNames, ListingNamesAndSelection)
{
    TempDir dir;
    for (const char16_t* n :
         { u"相性.CSV", u"相性A.B.CSV", u"相性設定.CSV", u"相性low.csv", u"相性.TXT", u"ALIAS.TXT", u"相 性X.CSV" })
        dir.WriteText(ToUtf8(n), u"");
    std::filesystem::create_directory(dir.File(ToUtf8(u"相性dir.CSV")));

    PointFileList list = ListPointFiles(dir.Path(), u"相性設定.csv");
    EXPECT_EQ(list.fileNames,
              (std::vector<std::u16string> { u"相性.CSV", u"相性A.B.CSV", u"相性low.csv", u"相性設定.CSV" }));
    EXPECT_EQ(list.names, (std::vector<std::u16string> { u"デフォルト", u"A.B", u"low", u"設定" }));
    EXPECT_EQ(list.selected, 3);
    EXPECT_EQ(ListPointFiles(dir.Path(), u"相性.CSV").selected, 0);
    EXPECT_EQ(ListPointFiles(dir.Path(), u"相性なし.CSV").selected, -1);
    EXPECT_TRUE(ListPointFiles(dir.File("missing/"), u"相性.CSV").names.empty());
}

TEST(PointNames, ChoosingATableMakesItCurrent)
{
    TempDir dir;
    AppState app;
    app.DataDir = dir.Path();
    ChoosePointTable(app, u"強化");
    EXPECT_EQ(app.DataFiles.Aisho, u"相性強化.CSV");
    ASSERT_NE(PointFile(), nullptr);
    EXPECT_TRUE(std::filesystem::exists(dir.File(ToUtf8(u"相性強化.CSV"))));
    EXPECT_EQ(PointTable(), DefaultPointTable());

    IniFile(dir.File(ToUtf8(u"相性.CSV"))).WriteString(u"配合", u"同系配合", u"42");
    ChoosePointTable(app, u"デフォルト");
    EXPECT_EQ(app.DataFiles.Aisho, u"相性.CSV");
    EXPECT_EQ(PointTable().haigo.Dokei, 42);
    EXPECT_EQ(PointTable().haigo.Omo, 2000);
}

} // namespace
} // namespace velmora
