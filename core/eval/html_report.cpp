#include "core/eval/html_report.h"

#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/fields.h"
#include "core/data/name_fold.h"
#include "core/data/text_file.h"
#include "core/eval/positions.h"
#include "core/eval/rules.h"

#include <cstdio>

namespace velmora {

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

// Cell codes: 0..15 stallion positions, 101..115 broodmare positions, 1000 + i the registered
// broodmare MamTable[i], -1 empty. kDam marks where the broodmare of the formula may stand.
constexpr int kEmpty = -1;
constexpr int kDam = -2;

struct RowCodes
{
    int cells[5];
    int damPiece; // the piece number that puts the broodmare into the row's kDam cell, 0 for none
};

constexpr RowCodes kRows[16] = {
    { { 0, 1, 2, 4, 8 }, 0 },
    { { kEmpty, kEmpty, kEmpty, kEmpty, 9 }, 0 },
    { { kEmpty, kEmpty, kEmpty, 5, 10 }, 0 },
    { { kEmpty, kEmpty, kEmpty, kEmpty, 11 }, 0 },
    { { kEmpty, kEmpty, 3, 6, 12 }, 0 },
    { { kEmpty, kEmpty, kEmpty, kEmpty, 13 }, 0 },
    { { kEmpty, kEmpty, kEmpty, 7, 14 }, 0 },
    { { kEmpty, kEmpty, kEmpty, kEmpty, 15 }, 0 },
    { { kDam, 101, 102, 104, 108 }, 2 },
    { { kEmpty, kEmpty, kEmpty, kEmpty, 109 }, 0 },
    { { kEmpty, kEmpty, kEmpty, 105, 110 }, 0 },
    { { kEmpty, kEmpty, kEmpty, kEmpty, 111 }, 0 },
    { { kEmpty, kDam, 103, 106, 112 }, 3 },
    { { kEmpty, kEmpty, kEmpty, kEmpty, 113 }, 0 },
    { { kEmpty, kEmpty, kDam, 107, 114 }, 4 },
    { { kEmpty, kEmpty, kEmpty, kDam, 115 }, 5 },
};

const TCrossRec& CrossRow(const MasterData& d, int32_t index)
{
    return CheckedAt(d.CrossTable, index);
}

void EffectCell(const MasterData& d, std::u16string& out, std::u16string_view text, uint32_t color)
{
    out += u"\t\t\t\t";
    if (!text.empty() && text != d.CrossTable[0].name) {
        out += u"<td style=\"background:#";
        out += FromUtf8(HtmlColor(color));
        out += u"\">";
        out += text;
    } else {
        out += u"<td>\u3000";
    }
    out += u"</td>";
    out += kCrLf;
}

struct Page
{
    const MasterData& d;
    const DadFatherRec& f;
    const MamFatherRec& m;
    const InbreedRec& inbreed;

    void Cell(std::u16string& out, int code) const
    {
        out += u"\t\t<td>";
        if (code >= 0) {
            out += u"<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\">";
            out += kCrLf;
            out += u"\t\t\t<tr>";
            out += kCrLf;
            out += u"\t\t\t\t<td colspan=\"2\">";
            Name(out, code);
            out += u"</td>";
            out += kCrLf;
            out += u"\t\t\t</tr>";
            out += kCrLf;
            out += u"\t\t\t<tr>";
            out += kCrLf;
            Effects(out, code);
            out += u"\t\t\t</tr>";
            out += kCrLf;
            out += u"\t\t</table>";
        }
        out += u"</td>";
    }

    const TSosenRec& Slot(int code) const
    {
        return code < 100 ? inbreed.Dads[static_cast<size_t>(code)] : inbreed.Mams[static_cast<size_t>(code - 101)];
    }

    int32_t Horse(int code) const { return code < 100 ? f[static_cast<size_t>(code)] : MamAt(m, code - 100); }

    void Name(std::u16string& out, int code) const
    {
        if (code >= 1000) {
            out += u"<em>";
            out += ToFullWidth(d.MamTable[static_cast<size_t>(code - 1000)].name);
            out += u"</em>";
            return;
        }
        const TSosenRec& s = Slot(code);
        if (s.isInCrs)
            out += u"<strong>";
        if (s.isCrs >= 0)
            out += u"<font color=\"red\">";
        out += ToFullWidth(s.name);
        if (s.isCrs >= 0)
            out += u"</font>";
        if (s.isInCrs)
            out += u"</strong>";
    }

    void Effects(std::u16string& out, int code) const
    {
        if (code >= 1000) {
            const MamRec& r = d.MamTable[static_cast<size_t>(code - 1000)];
            EffectCell(d, out, u"SP:" + Decimal(r.speed), 0xFFFFFF);
            EffectCell(d, out, u"ST:" + Decimal(r.stamina), 0xFFFFFF);
            return;
        }
        const int32_t h = Horse(code);
        if (h < 0) {
            EffectCell(d, out, d.CrossTable[0].name, d.CrossTable[0].Color);
            EffectCell(d, out, d.CrossTable[0].name, d.CrossTable[0].Color);
            return;
        }
        const OyaRec& row = OyaAt(d, h);
        const TCrossRec& a = CrossRow(d, row.a);
        const TCrossRec& b = CrossRow(d, row.b);
        EffectCell(d, out, a.name, a.Color);
        EffectCell(d, out, b.name, row.b == 0 ? a.Color : b.Color);
    }
};

} // namespace

std::string HtmlColor(uint32_t color)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    return buf;
}

std::string HtmlReportBytes(const MasterData& d, int rank, std::u16string_view formula, const DadFatherRec& f,
                            const MamFatherRec& m)
{
    // The broodmare of the formula: the first of pieces 1..5 that names one.
    int mare = -1;
    int piece = 0;
    std::u16string rest(formula);
    for (int n = 1; n <= 5; ++n) {
        const std::u16string p = CutFieldTrim(rest, u'*');
        const int i = FindMam(d, p);
        if (i >= 0) {
            mare = i;
            piece = n;
            break;
        }
    }

    InbreedRec inbreed;
    FillInbreed(d, f, m, inbreed);
    CrossAnalysis r;
    AnalyzeCrosses(d, f, m, r);
    const Page page { d, f, m, inbreed };

    std::u16string out;
    auto line = [&](std::u16string_view text) {
        out += text;
        out += kCrLf;
    };
    line(u"<html>");
    line(u"<head>");
    line(u"\t<meta http-equiv=\"content-type\" content=\"text/html; charset=shift_jis\">");
    line(u"\t<title>Velmora</title>");
    line(u"</head>");
    line(u"<body bgcolor=#ffffff text=#000000 link=#0000cc vlink=#551a8b alink=#ff0000>");
    line(u"<!--切り貼りするときはここから-->");
    line(ToFullWidth(formula) + u"<br>");
    line(u"ニトロＳＰ＝" + Decimal(r.NitroSp) + u"　ニトロＳＴ＝" + Decimal(r.NitroSt) + u"<br>");
    std::u16string types = u" 面白";
    types += MarkText(CheckOmo(d, f, m));
    types += u" 見事";
    types += MarkText(CheckMig(d, f, m));
    types += u" 良で";
    types += MarkText(CheckYok(d, f, m));
    types += u" Nix:" + Decimal(CalcNix(d, rank, f, m));
    if (IsDanger(r))
        types += u" 危険な配合！";
    types += u"<br>";
    line(types);
    line(u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\">");
    for (const RowCodes& row : kRows) {
        std::u16string text = u"\t<tr>";
        text += kCrLf;
        for (int code : row.cells) {
            if (code == kDam)
                code = mare >= 0 && piece == row.damPiece ? 1000 + mare : kEmpty;
            page.Cell(text, code);
            text += kCrLf;
        }
        text += u"\t</tr>";
        line(text);
    }
    line(u"</table>");
    line(u"<!--切り貼りするときはここまで-->");
    line(u"</body>");
    line(u"</html>");
    return ToCp932(out);
}

void WriteHtmlReport(const MasterData& d, const std::string& path, int rank, std::u16string_view formula,
                     const DadFatherRec& f, const MamFatherRec& m)
{
    WriteFileAtomic(path, HtmlReportBytes(d, rank, formula, f, m));
}

} // namespace velmora
