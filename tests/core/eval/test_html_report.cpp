#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/eval/html_report.h"
#include "core/eval/positions.h"
#include "tests/support/data_files.h"
#include "tests/support/eval_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

using test::DadArray;
using test::EvalFixture;
using test::MamArray;

// The page split into its written lines (the pedigree rows hold further CR LF inside them).
std::vector<std::u16string> PageLines(const std::string& bytes)
{
    // Row lines start with "\t<tr>" and end with "\t</tr>"; rebuild them by joining.
    const std::u16string text = FromCp932(bytes);
    std::vector<std::u16string> raw;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find(u"\r\n", start);
        EXPECT_NE(end, std::u16string::npos) << "every line ends with CR LF";
        if (end == std::u16string::npos)
            break;
        raw.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    std::vector<std::u16string> lines;
    bool inRow = false;
    for (const auto& l : raw) {
        if (inRow) {
            lines.back() += u"\r\n" + l;
            inRow = l != u"\t</tr>";
        } else {
            lines.push_back(l);
            inRow = l == u"\t<tr>";
        }
    }
    return lines;
}

struct HtmlTest : ::testing::Test
{
    EvalFixture fx;
    void SetUp() override
    {
        fx.d.CrossTable[1] = { u"短距離　", 0x0000FF, 0, 0 }; // pure red
        fx.d.CrossTable[2] = { u"底力　　", 0x123456, 0, 0 };
        fx.d.CrossTable[3] = { u"", 0x00FF00, 0, 0 };
        MamRec& mare = fx.d.MamTable[0];
        mare.name = u"ﾏｰｽﾞ";
        mare.speed = 7;
        mare.stamina = 12;
        fx.d.MamCount = 1;
    }
    std::vector<std::u16string> Lines(std::u16string_view formula, const DadFatherRec& f, const MamFatherRec& m,
                                      int rank = 3)
    {
        return PageLines(HtmlReportBytes(fx.d, rank, formula, f, m));
    }
};

TEST(HtmlColor, RedGreenBlueOrder)
{
    EXPECT_EQ(HtmlColor(0x0000FF), "FF0000");
    EXPECT_EQ(HtmlColor(0xFF0000), "0000FF");
    EXPECT_EQ(HtmlColor(0x123456), "563412");
    EXPECT_EQ(HtmlColor(0xFFFFFF), "FFFFFF");
    EXPECT_EQ(HtmlColor(0x00ABCD), "CDAB00");
}

TEST_F(HtmlTest, FrameLinesExactly)
{
    const int s = fx.Horse(u"ｽﾀｰ", 1, 1, 0);
    const auto lines = Lines(u"ｽﾀｰ * ﾏｰｽﾞ", DadArray({ { 0, s } }), MamArray({}));
    ASSERT_EQ(lines.size(), 31u);
    const std::vector<std::u16string> head = {
        u"<html>",
        u"<head>",
        u"\t<meta http-equiv=\"content-type\" content=\"text/html; charset=shift_jis\">",
        u"\t<title>Velmora</title>",
        u"</head>",
        u"<body bgcolor=#ffffff text=#000000 link=#0000cc vlink=#551a8b alink=#ff0000>",
        u"<!--切り貼りするときはここから-->",
        u"スター * マーズ<br>",
        u"ニトロＳＰ＝1　ニトロＳＴ＝0<br>",
        u" 面白？ 見事？ 良で？ Nix:-1<br>",
        u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\">",
    };
    for (size_t i = 0; i < head.size(); ++i)
        EXPECT_EQ(lines[i], head[i]) << i;
    EXPECT_EQ(lines[27], u"</table>");
    EXPECT_EQ(lines[28], u"<!--切り貼りするときはここまで-->");
    EXPECT_EQ(lines[29], u"</body>");
    EXPECT_EQ(lines[30], u"</html>");
}

TEST_F(HtmlTest, FirstRowCellsExactly)
{
    const int s = fx.Horse(u"ｽﾀｰ", 1, 1, 0); // effect a only: cell B plain
    const int p = fx.Horse(u"ﾁﾁ", 1, 2, 1); // two effects
    const int q = fx.Horse(u"ﾅｼ", 1, 0, 0); // no effects
    const auto lines = Lines(u"x", DadArray({ { 0, s }, { 1, p }, { 2, q }, { 4, p } }), MamArray({ { 1, p } }));
    const std::u16string row1 = lines[11];
    const std::u16string expected
        = u"\t<tr>\r\n"
          u"\t\t<td><table border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\r\n"
          u"\t\t\t<tr>\r\n"
          u"\t\t\t\t<td colspan=\"2\">スター</td>\r\n"
          u"\t\t\t</tr>\r\n"
          u"\t\t\t<tr>\r\n"
          u"\t\t\t\t<td style=\"background:#FF0000\">短距離　</td>\r\n"
          u"\t\t\t\t<td>　</td>\r\n"
          u"\t\t\t</tr>\r\n"
          u"\t\t</table></td>\r\n"
          // position 1: P, crossed with the mare's sire (first effect 2: counted), twice on the stallion's side
          u"\t\t<td><table border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\r\n"
          u"\t\t\t<tr>\r\n"
          u"\t\t\t\t<td colspan=\"2\"><strong><font color=\"red\">チチ</font></strong></td>\r\n"
          u"\t\t\t</tr>\r\n"
          u"\t\t\t<tr>\r\n"
          u"\t\t\t\t<td style=\"background:#563412\">底力　　</td>\r\n"
          u"\t\t\t\t<td style=\"background:#FF0000\">短距離　</td>\r\n"
          u"\t\t\t</tr>\r\n"
          u"\t\t</table></td>\r\n"
          u"\t\t<td><table border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\r\n"
          u"\t\t\t<tr>\r\n"
          u"\t\t\t\t<td colspan=\"2\">ナシ</td>\r\n"
          u"\t\t\t</tr>\r\n"
          u"\t\t\t<tr>\r\n"
          u"\t\t\t\t<td>　</td>\r\n"
          u"\t\t\t\t<td>　</td>\r\n"
          u"\t\t\t</tr>\r\n"
          u"\t\t</table></td>\r\n"
          // position 4: P again (crossed, twice on one side)
          u"\t\t<td><table border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\r\n"
          u"\t\t\t<tr>\r\n"
          u"\t\t\t\t<td colspan=\"2\"><strong><font color=\"red\">チチ</font></strong></td>\r\n"
          u"\t\t\t</tr>\r\n"
          u"\t\t\t<tr>\r\n"
          u"\t\t\t\t<td style=\"background:#563412\">底力　　</td>\r\n"
          u"\t\t\t\t<td style=\"background:#FF0000\">短距離　</td>\r\n"
          u"\t\t\t</tr>\r\n"
          u"\t\t</table></td>\r\n"
          // position 8: unknown horse, row 0 texts
          u"\t\t<td><table border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\r\n"
          u"\t\t\t<tr>\r\n"
          u"\t\t\t\t<td colspan=\"2\"></td>\r\n"
          u"\t\t\t</tr>\r\n"
          u"\t\t\t<tr>\r\n"
          u"\t\t\t\t<td>　</td>\r\n"
          u"\t\t\t\t<td>　</td>\r\n"
          u"\t\t\t</tr>\r\n"
          u"\t\t</table></td>\r\n"
          u"\t</tr>";
    EXPECT_EQ(row1, expected);
    // Row 2 holds four empty cells and position 9.
    EXPECT_TRUE(lines[12].starts_with(u"\t<tr>\r\n\t\t<td></td>\r\n\t\t<td></td>\r\n\t\t<td></td>\r\n\t\t<td></td>\r\n"
                                      u"\t\t<td><table"));
}

TEST_F(HtmlTest, BroodmarePlacedByHerPieceNumber)
{
    const int s = fx.Horse(u"S", 1);
    const DadFatherRec f = DadArray({ { 0, s } });
    const std::u16string emptyCell = u"\t\t<td></td>";
    const std::u16string mareCell = u"\t\t<td><table border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\r\n"
                                    u"\t\t\t<tr>\r\n"
                                    u"\t\t\t\t<td colspan=\"2\"><em>マーズ</em></td>\r\n"
                                    u"\t\t\t</tr>\r\n"
                                    u"\t\t\t<tr>\r\n"
                                    u"\t\t\t\t<td style=\"background:#FFFFFF\">SP:7</td>\r\n"
                                    u"\t\t\t\t<td style=\"background:#FFFFFF\">ST:12</td>\r\n"
                                    u"\t\t\t</tr>\r\n"
                                    u"\t\t</table></td>";
    // (row line index, column) of the dam places for pieces 2..5.
    struct Place
    {
        size_t line;
        int column;
    };
    const Place places[6] = { { 0, 0 }, { 0, 0 }, { 19, 0 }, { 23, 1 }, { 25, 2 }, { 26, 3 } };
    // The column-th cell of a row line: from a line starting "\t\t<td>" to the next line that closes a
    // cell of that level ("\t\t<td></td>" or "\t\t</table></td>").
    auto cellAt = [](const std::u16string& row, int column) {
        std::vector<std::u16string> parts;
        size_t start = 0;
        for (size_t end; (end = row.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
            parts.push_back(row.substr(start, end - start));
        parts.push_back(row.substr(start));
        int c = -1;
        std::u16string cell;
        for (const auto& l : parts) {
            if (l.starts_with(u"\t\t<td>"))
                ++c;
            if (c == column) {
                cell += cell.empty() ? l : u"\r\n" + l;
                if (l == u"\t\t<td></td>" || l == u"\t\t</table></td>")
                    return cell;
            }
        }
        return cell;
    };
    struct Case
    {
        std::u16string formula;
        int piece; // 0: not shown
    };
    const Case cases[] = {
        { u"S * ﾏｰｽﾞ", 2 },       { u"S*X*\"ﾏｰｽﾞ\"", 3 }, // quotes deleted
        { u"S*X*Y* ﾏｰｽﾞ *Z", 4 }, // blanks trimmed
        { u"S*X*Y*Z*ﾏｰｽﾞ", 5 },   { u"ﾏｰｽﾞ*S", 0 }, // piece 1 has no cell
        { u"S*X*Y*Z*W*ﾏｰｽﾞ", 0 }, // beyond the fifth piece
        { u"S*ﾏｰｽ", 0 }, // no registered broodmare
    };
    for (const Case& c : cases) {
        const auto lines = Lines(c.formula, f, MamArray({}));
        ASSERT_EQ(lines.size(), 31u);
        for (int p = 2; p <= 5; ++p) {
            const std::u16string cell = cellAt(lines[places[p].line], places[p].column);
            if (p == c.piece)
                EXPECT_EQ(cell, mareCell) << ToUtf8(c.formula) << " piece " << p;
            else
                EXPECT_EQ(cell, emptyCell) << ToUtf8(c.formula) << " piece " << p;
        }
        // The mare appears nowhere else.
        const std::string all = HtmlReportBytes(fx.d, 3, c.formula, f, MamArray({}));
        EXPECT_EQ(FromCp932(all).find(u"<em>") != std::u16string::npos, c.piece != 0) << ToUtf8(c.formula);
    }
}

TEST_F(HtmlTest, DangerAndMatingTypes)
{
    const int s = fx.Horse(u"S", 1);
    DadFatherRec f = DadArray({ { 0, s } });
    MamFatherRec m = MamArray({});
    for (int i = 0; i < 7; ++i) {
        const int h = fx.Horse(u"H" + std::u16string(1, char16_t(u'a' + i)), 1);
        f[static_cast<size_t>(8 + i)] = h;
        m[static_cast<size_t>(8 + i - 1)] = h;
    }
    auto lines = Lines(u"S*M", f, m);
    EXPECT_EQ(lines[9], u" 面白？ 見事？ 良で？ Nix:-1 危険な配合！<br>");
    f[14] = -1; // six crosses
    lines = Lines(u"S*M", f, m);
    EXPECT_EQ(lines[9], u" 面白？ 見事？ 良で？ Nix:-1<br>");
    // Crossed names in red; the unknown position 14 shows no name.
    EXPECT_NE(lines[11].find(u"<font color=\"red\">Ha</font>"), std::u16string::npos);
}

TEST_F(HtmlTest, WritesTheFileAtomically)
{
    test::TempDir dir;
    const int s = fx.Horse(u"S", 1);
    const std::string path = dir.File(std::string(kHtmlReportFile));
    WriteHtmlReport(fx.d, path, 3, u"S*ﾏｰｽﾞ", DadArray({ { 0, s } }), MamArray({}));
    EXPECT_EQ(dir.ReadBytes(std::string(kHtmlReportFile)),
              HtmlReportBytes(fx.d, 3, u"S*ﾏｰｽﾞ", DadArray({ { 0, s } }), MamArray({})));
    EXPECT_THROW(WriteHtmlReport(fx.d, dir.File("missing/x.html"), 3, u"S", DadArray({}), MamArray({})), FileError);
}

} // namespace
} // namespace velmora
