#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "core/mating/text_list.h"
#include "tests/support/data_files.h"
#include "tests/support/eval_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

using test::EvalFixture;

std::u16string Sp(int n)
{
    return std::u16string(static_cast<size_t>(n), u' ');
}

struct TextListTest : ::testing::Test
{
    EvalFixture fx;
    TextListRequest rq;

    void SetUp() override
    {
        fx.d.KeitoTable[1].name = u"ﾉｰｻﾞﾝ";
        fx.d.KeitoCount = 2;
        fx.d.KeiroTable = { u"栗毛", u"鹿毛" };
        rq.date = u"2026/12/09";
    }

    // Stallion row r with its own ancestor row; fills the attributes the default columns print.
    DadRec& Stallion(int r, std::u16string name)
    {
        DadRec& s = fx.d.DadTable[static_cast<size_t>(r)];
        s.name = name;
        s.Father = UnknownDadArray();
        s.Father[0] = fx.Horse(name, 1);
        s.Fee = 3;
        s.keito = 1;
        s.Grow = u"早熟";
        s.Kisho = u"A";
        s.Konjo = u"B";
        s.Kenko = u"C";
        s.Jisseki = u"";
        s.Antei = u"A";
        fx.d.DadCount = std::max(fx.d.DadCount, r + 1);
        return s;
    }

    MamRec& Mare(int r, std::u16string name)
    {
        MamRec& m = fx.d.MamTable[static_cast<size_t>(r)];
        m.name = name;
        m.Father = UnknownMamArray();
        m.keito = 1;
        m.speed = 7;
        m.stamina = 12;
        fx.d.MamCount = std::max(fx.d.MamCount, r + 1);
        return m;
    }

    void Stallions(std::u16string target)
    {
        rq.kind = TextListKind::Stallions;
        rq.title = u"対象牝馬";
        rq.targetName = std::move(target);
        rq.settings.columns = DefaultTextListSwitches(TextListKind::Stallions);
        rq.target = 0;
    }
};

TEST_F(TextListTest, StallionListWithDefaultColumns)
{
    DadRec& s = Stallion(0, u"ｱｲｳ");
    const int x = fx.Horse(u"ﾉｰｽ", 1, 1, 0);
    s.Father[2] = x; // stallion position 2: generation 3 in the foal
    Mare(0, u"ﾏｰｽﾞ").Father[3] = x; // mare position 4: generation 4
    Stallions(u"ﾏｰｽﾞ");
    const std::vector<ListRow> rows = { { 0, 900, 0 } };
    const auto lines = BuildTextList(fx.d, rq, rows);
    const std::vector<std::u16string> expected = {
        u"対象牝馬：ﾏｰｽﾞ" + Sp(16) + u"2026/12/09　by 【Velmora】",      u"",
        u"順位   馬名     ポイント 成長気底健実安面見良ニ インブリード", u"",
        u"  1  ｱｲｳ" + Sp(7) + u"     900P 早 A B C   A？？？-1 ﾉｰｽ3*4",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(TextListTest, RanksRowsAndNameWidth)
{
    for (int i = 0; i < 10; ++i)
        Stallion(i, u"S" + std::u16string(1, char16_t(u'0' + i)));
    fx.d.DadTable[1].name = u"アイウエオカキクケコサ"; // 22 bytes
    fx.d.DadTable[2].name = u"ｱｲｳｴｵｶｷｸｹｺｻ"; // 11 bytes
    Mare(0, u"M");
    Stallions(u"M");
    rq.settings.columns = {};
    rq.settings.columns[StallionColumn::Rank] = true;
    std::vector<ListRow> rows;
    const int32_t keys[10] = { 900, 850, 850, 700, 700, 600, 1, 1, 1, 0 };
    for (int i = 0; i < 10; ++i)
        rows.push_back({ i, keys[i], 0 });

    rq.settings.maxRank = u"4";
    auto lines = BuildTextList(fx.d, rq, rows);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[2], u"順位   馬名     ");
    EXPECT_EQ(lines[4], u"  1  S0         ");
    EXPECT_EQ(lines[5], u"  2  アイウエオ "); // cut to 10 bytes
    EXPECT_EQ(lines[6], u"  2  ｱｲｳｴｵｶｷｸｹｺ "); // cut to 10 half-width characters
    EXPECT_EQ(lines[7], u"  4  S3         ");

    rq.settings.maxRank = u"3";
    EXPECT_EQ(BuildTextList(fx.d, rq, rows).size(), 4u + 3u);
    rq.settings.maxRank = u"abc"; // not a number: no rows
    EXPECT_EQ(BuildTextList(fx.d, rq, rows).size(), 4u);
    rq.settings.maxRank = u"99";
    lines = BuildTextList(fx.d, rq, rows);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_TRUE(lines[13].starts_with(u" 10  ")) << ToUtf8(lines[13]);
    EXPECT_TRUE(lines[12].starts_with(u"  7  "));

    // A width that cuts a full-width character in half keeps it whole out.
    rq.settings.nameLength = u"5";
    rq.settings.maxRank = u"2";
    lines = BuildTextList(fx.d, rq, rows);
    EXPECT_EQ(lines[2], u"順位   馬名  ");
    EXPECT_EQ(lines[5], u"  2  アイ  ");
    rq.settings.nameLength = u"x"; // not a number: 10
    EXPECT_EQ(BuildTextList(fx.d, rq, rows)[5], u"  2  アイウエオ ");
}

TEST_F(TextListTest, InbreedingColumnPlacement)
{
    // Header length 37 + N for the default stallion columns.
    Stallion(0, u"S");
    Mare(0, u"M");
    Stallions(u"M");
    const std::vector<ListRow> rows = { { 0, 0, 0 } };
    rq.settings.nameLength = u"13"; // header 50: 72 - 50 = 22, caption on the header line
    auto lines = BuildTextList(fx.d, rq, rows);
    EXPECT_EQ(Cp932Length(lines[2]), 50u + Cp932Length(u" インブリード"));
    EXPECT_TRUE(lines[2].ends_with(u"ニ インブリード"));
    rq.settings.nameLength = u"18"; // header 55: 72 - 55 = 17 < 20, caption on a line of its own
    lines = BuildTextList(fx.d, rq, rows);
    EXPECT_TRUE(lines[2].ends_with(u"ニ"));
    EXPECT_EQ(Cp932Length(lines[2]), 55u);
    EXPECT_EQ(lines[3], u"        インブリード");
    EXPECT_EQ(lines[4], u"");
    // No positive cross: the row gets no item and, in the nine-space mode, no extra line.
    ASSERT_EQ(lines.size(), 6u);
}

TEST_F(TextListTest, InbreedingItems)
{
    DadRec& s = Stallion(0, u"S");
    MamRec& m = Mare(0, u"M");
    const int x = fx.Horse(u"ﾉｰｽﾀﾞﾝｻｰﾊﾟｰｸ", 1, 2, 0); // 12 bytes, cut to N = 10
    const int y = fx.Horse(u"ﾜｲ", 1, 0, 3); // no first effect: no positive match
    s.Father[2] = x;
    s.Father[5] = x;
    m.Father[2] = x; // mare position 3
    s.Father[3] = y;
    m.Father[4] = y;
    Stallions(u"M");
    rq.settings.columns = {};
    rq.settings.columns[StallionColumn::Inbreed] = true;
    const std::vector<ListRow> rows = { { 0, 0, 0 } };
    auto lines = BuildTextList(fx.d, rq, rows);
    // Header "  馬名  " + 3 = 11 bytes -> items start at column 12.
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4], u"S" + Sp(10) + u" ﾉｰｽﾀﾞﾝｻｰﾊﾟ(3*4)*3");

    // Twice on each side: both parts in parentheses.
    m.Father[10] = x; // mare position 11: generation 5
    lines = BuildTextList(fx.d, rq, rows);
    EXPECT_EQ(lines[4], u"S" + Sp(10) + u" ﾉｰｽﾀﾞﾝｻｰﾊﾟ(3*4)*(3*5)");
}

TEST_F(TextListTest, ItemsWrapAtTheWidth)
{
    DadRec& s = Stallion(0, u"S");
    MamRec& m = Mare(0, u"M");
    const int spos[4] = { 1, 2, 4, 8 };
    const int mpos[4] = { 3, 5, 7, 9 };
    for (int i = 0; i < 4; ++i) {
        const int h = fx.Horse(u"ﾃｽﾄ" + std::u16string(1, char16_t(u'A' + i)), 1, 1, 0);
        s.Father[static_cast<size_t>(spos[i])] = h;
        m.Father[static_cast<size_t>(mpos[i] - 1)] = h;
    }
    Stallions(u"M");
    const std::vector<ListRow> rows = { { 0, 5, 0 } };
    const std::u16string items[4] = { u" ﾃｽﾄA2*3", u" ﾃｽﾄB3*4", u" ﾃｽﾄC4*4", u" ﾃｽﾄD5*5" };

    // Header 47, start column 48: three items fit up to column 72, the fourth goes on a new line.
    auto lines = BuildTextList(fx.d, rq, rows);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_TRUE(lines[4].ends_with(items[0] + items[1] + items[2])) << ToUtf8(lines[4]);
    EXPECT_EQ(lines[5], Sp(47) + items[3]);

    // Width 30: nine-space mode, the row line alone, then the items wrapped at 30.
    rq.settings.wrap = u"30";
    lines = BuildTextList(fx.d, rq, rows);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[3], u"        インブリード");
    EXPECT_TRUE(lines[5].starts_with(u"  1  S")) << ToUtf8(lines[5]);
    EXPECT_EQ(lines[6], Sp(9) + items[0] + items[1]);
    EXPECT_EQ(lines[7], Sp(9) + items[2] + items[3]);
}

TEST_F(TextListTest, BroodmareListColumns)
{
    Stallion(0, u"S");
    MamRec& m = Mare(0, u"ﾏｰｽﾞ");
    m.motikomi = u"自家";
    m.Fee = 500;
    m.keiro = 1;
    rq.kind = TextListKind::Mares;
    rq.title = u"対象牡馬";
    rq.targetName = u"S";
    rq.target = 0;
    rq.settings.columns = DefaultTextListSwitches(TextListKind::Mares);
    const std::vector<ListRow> rows = { { 0, -20, 0 } };
    auto lines = BuildTextList(fx.d, rq, rows);
    ASSERT_EQ(lines.size(), 5u);
    // Header of 50 bytes: the caption stays on the header line.
    EXPECT_EQ(lines[2], u"順位   馬名     ポイント 系統       SP ST 面見良ニ インブリード");
    EXPECT_EQ(lines[4], u"  1  ﾏｰｽﾞ" + Sp(6) + u"     -20P ﾉｰｻﾞﾝ" + Sp(6) + u" 7 12 ？？？-1");

    rq.settings.columns.fill(true);
    lines = BuildTextList(fx.d, rq, rows);
    EXPECT_TRUE(lines[2].starts_with(u"順位   馬名     ポイント 持 系統       毛色  値段  SP ST 面見良ニ"))
        << ToUtf8(lines[2]);
    // A header of 65 bytes: the items go on lines of their own.
    EXPECT_EQ(lines[3], u"        インブリード");
    EXPECT_EQ(lines[5], u"  1  ﾏｰｽﾞ" + Sp(6) + u"     -20P 自 ﾉｰｻﾞﾝ" + Sp(6) + u"鹿毛    500  7 12 ？？？-1");
}

TEST_F(TextListTest, AllStallionColumns)
{
    DadRec& s = Stallion(0, u"S");
    s.birth = u"内国";
    s.keiro = 0;
    s.Distance1 = 1200;
    s.Distance2 = 800;
    s.Dirt = u"◎";
    Mare(0, u"M");
    Stallions(u"M");
    rq.settings.columns.fill(true);
    const std::vector<ListRow> rows = { { 0, 1, 0 } };
    const auto lines = BuildTextList(fx.d, rq, rows);
    EXPECT_EQ(lines[2], u"順位   馬名     ポイント 内 系統       毛色 ★ 距短-距長 ダ成長気底健実安面見良ニ");
    EXPECT_EQ(lines[3], u"        インブリード");
    EXPECT_EQ(lines[5], u"  1  S" + Sp(10) + u"      1P 内ﾉｰｻﾞﾝ" + Sp(6) + u"栗毛  3 1200-0800 ◎早 A B C   A？？？-1");
}

TEST(TextListSettings, ReadAndWriteBack)
{
    test::TempDir dir;
    IniFile ini(dir.File("VELMORA.INI"));
    TextListSettings s = ReadTextListSettings(ini, TextListKind::Mares);
    EXPECT_EQ(s.maxRank, u"30");
    EXPECT_EQ(s.wrap, u"72");
    EXPECT_EQ(s.nameLength, u"10");
    EXPECT_EQ(s.columns, DefaultTextListSwitches(TextListKind::Mares));
    EXPECT_EQ(ini.Read(u"繁殖牝馬一覧", u"持込"), u"OFF");
    EXPECT_EQ(ini.Read(u"一覧表示", u"折返し"), u"72");

    ini.WriteString(u"種牡馬一覧", u"系統", u"on"); // only "ON" checks a box
    ini.WriteString(u"種牡馬一覧", u"成長", u"OFF");
    s = ReadTextListSettings(ini, TextListKind::Stallions);
    EXPECT_FALSE(s.columns[StallionColumn::Line]);
    EXPECT_FALSE(s.columns[StallionColumn::Grow]);
    EXPECT_TRUE(s.columns[StallionColumn::Kisho]);

    s.columns[StallionColumn::Line] = true;
    IniFile fresh(dir.File("FRESH.INI"));
    WriteTextListSwitches(fresh, TextListKind::Stallions, s.columns);
    const std::vector<std::u16string> keys
        = { u"順位",     u"馬名",   u"ポイント", u"内国産",     u"系統",     u"毛色",        u"★",
            u"距離適正", u"ダート", u"成長",     u"気性",       u"底力",     u"健康",        u"実績",
            u"安定",     u"面白",   u"見事",     u"よくできた", u"ニックス", u"インブリード" };
    EXPECT_EQ(fresh.Keys(u"種牡馬一覧"), keys);
    EXPECT_EQ(fresh.Read(u"種牡馬一覧", u"馬名"), u"必須");
    EXPECT_EQ(fresh.Read(u"種牡馬一覧", u"系統"), u"ON");
    EXPECT_EQ(fresh.Read(u"種牡馬一覧", u"成長"), u"OFF");
    s.maxRank = u"x5";
    WriteTextListFormat(ini, s);
    EXPECT_EQ(ini.Read(u"一覧表示", u"出力数"), u"x5");
}

TEST(TextListFormat, ByteCountedPadding)
{
    EXPECT_EQ(PadCut(u"ab", 4), u"ab  ");
    EXPECT_EQ(PadCut(u"栗毛", 4), u"栗毛");
    EXPECT_EQ(PadCut(u"栗毛色", 4), u"栗毛");
    EXPECT_EQ(PadCut(u"ｱ栗毛", 4), u"ｱ栗 ");
    EXPECT_EQ(RightCut(u"A", 2, 1), u" A");
    EXPECT_EQ(RightCut(u"Ａ", 2, 1), u"  "); // a full-width grade does not fit one byte
    EXPECT_EQ(RightCut(u"早熟", 2, 2), u"早");
    EXPECT_EQ(RightCut(u"", 2, 2), u"  ");
    EXPECT_EQ(FoalGenerationOfStallion(0), 1);
    EXPECT_EQ(FoalGenerationOfStallion(1), 2);
    EXPECT_EQ(FoalGenerationOfStallion(15), 5);
    EXPECT_EQ(FoalGenerationOfMare(1), 2);
    EXPECT_EQ(FoalGenerationOfMare(3), 3);
    EXPECT_EQ(FoalGenerationOfMare(8), 5);
}

TEST(TextListOpening, AdviceNamesTheListToOrderAndTheDateIsYearMonthDay)
{
    const std::vector<std::u16string> stallions = TextListOpeningLines(TextListKind::Stallions, false);
    const std::vector<std::u16string> mares = TextListOpeningLines(TextListKind::Mares, false);
    ASSERT_EQ(stallions.size(), 3u);
    ASSERT_EQ(mares.size(), 3u);
    EXPECT_EQ(stallions[1], u"メイン画面に戻って種牡馬のリスト順を相性順に");
    EXPECT_EQ(mares[1], u"メイン画面に戻って繁殖牝馬のリスト順を相性順に");
    EXPECT_EQ(TextListOpeningLines(TextListKind::Mares, true), TextListOpeningLines(TextListKind::Stallions, true));

    EXPECT_EQ(TextListDate(2026, 12, 9), u"2026/12/09");
    EXPECT_EQ(TextListDate(2027, 1, 31), u"2027/01/31");
    const std::u16string today = TextListToday();
    ASSERT_EQ(today.size(), 10u);
    EXPECT_EQ(today[4], u'/');
    EXPECT_EQ(today[7], u'/');
}

} // namespace
} // namespace velmora
