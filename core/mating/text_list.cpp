#include "core/mating/text_list.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/fields.h"
#include "core/eval/positions.h"
#include "core/eval/rules.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace velmora {

namespace {

constexpr TextListColumn kStallionColumns[StallionColumn::Count] = {
    { u"順位", true }, { u"ポイント", true },   { u"内国産", false },  { u"系統", false },        { u"毛色", false },
    { u"★", false },   { u"距離適正", false },  { u"ダート", false },  { u"成長", true },         { u"気性", true },
    { u"底力", true }, { u"健康", true },       { u"実績", true },     { u"安定", true },         { u"面白", true },
    { u"見事", true }, { u"よくできた", true }, { u"ニックス", true }, { u"インブリード", true },
};

constexpr TextListColumn kMareColumns[MareColumn::Count] = {
    { u"順位", true },       { u"ポイント", true }, { u"持込", false },        { u"系統", true }, { u"毛色", false },
    { u"基本料", false },    { u"スピード", true }, { u"スタミナ", true },     { u"面白", true }, { u"見事", true },
    { u"よくできた", true }, { u"ニックス", true }, { u"インブリード", true },
};

// Names, widths and numbers get sane limits so that a mistyped setting cannot ask for a huge line.
constexpr int kMaxNameWidth = 1000;

std::u16string Spaces(int n)
{
    return n > 0 ? std::u16string(static_cast<size_t>(n), u' ') : std::u16string();
}

int Len(std::u16string_view s)
{
    return static_cast<int>(Cp932Length(s));
}

template <typename... Args> std::u16string Fmt(const char* format, Args... args)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, args...);
    return FromUtf8(buf);
}

std::u16string_view KeitoName(const MasterData& d, int32_t keito)
{
    return CheckedAt(d.KeitoTable, keito).name;
}

std::u16string_view KeiroName(const MasterData& d, int32_t keiro)
{
    return CheckedAt(d.KeiroTable, keiro);
}

std::u16string Header(TextListKind kind, const TextListSwitches& on, int n)
{
    std::u16string h;
    const bool stallions = kind == TextListKind::Stallions;
    if (on[0]) // 順位 in both kinds
        h += u"順位 ";
    h += u"  馬名  " + Spaces(n - 7);
    if (on[1])
        h += u"ポイント ";
    if (stallions) {
        using namespace StallionColumn;
        if (on[Origin])
            h += u"内 ";
        if (on[Line])
            h += u"系統" + Spaces(n - 3);
        if (on[Color])
            h += u"毛色 ";
        if (on[Star])
            h += u"★ ";
        if (on[Distance])
            h += u"距短-距長 ";
        if (on[Dirt])
            h += u"ダ";
        if (on[Grow])
            h += u"成長";
        const char16_t* grades[5] = { u"気", u"底", u"健", u"実", u"安" };
        for (int g = 0; g < 5; ++g)
            if (on[static_cast<size_t>(Kisho + g)])
                h += grades[g];
        if (on[Omo])
            h += u"面";
        if (on[Mig])
            h += u"見";
        if (on[Yok])
            h += u"良";
        if (on[Nix])
            h += u"ニ";
    } else {
        using namespace MareColumn;
        if (on[Origin])
            h += u"持 ";
        if (on[Line])
            h += u"系統" + Spaces(n - 3);
        if (on[Color])
            h += u"毛色 ";
        if (on[Price])
            h += u" 値段  ";
        if (on[Speed])
            h += u"SP ";
        if (on[Stamina])
            h += u"ST ";
        if (on[Omo])
            h += u"面";
        if (on[Mig])
            h += u"見";
        if (on[Yok])
            h += u"良";
        if (on[Nix])
            h += u"ニ";
    }
    return h;
}

void MatingColumns(std::u16string& line, const MasterData& d, const DadRec& s, const MamRec& m, bool omo, bool mig,
                   bool yok, bool nix)
{
    if (omo)
        line += MarkText(CheckOmo(d, s.Father, m.Father));
    if (mig)
        line += MarkText(CheckMig(d, s.Father, m.Father));
    if (yok)
        line += MarkText(CheckYok(d, s.Father, m.Father));
    if (nix)
        line += Fmt("%d", CalcNix(d, s.Fee, s.Father, m.Father));
}

std::u16string Part(std::u16string text)
{
    return Len(text) > 1 ? u"(" + text + u")" : text;
}

} // namespace

std::span<const TextListColumn> TextListColumns(TextListKind kind)
{
    if (kind == TextListKind::Stallions)
        return kStallionColumns;
    return kMareColumns;
}

std::u16string_view TextListSection(TextListKind kind)
{
    return kind == TextListKind::Stallions ? u"種牡馬一覧" : u"繁殖牝馬一覧";
}

TextListSwitches DefaultTextListSwitches(TextListKind kind)
{
    TextListSwitches on {};
    const auto cols = TextListColumns(kind);
    for (size_t i = 0; i < cols.size(); ++i)
        on[i] = cols[i].defaultOn;
    return on;
}

TextListSettings ReadTextListSettings(IniFile& ini, TextListKind kind)
{
    TextListSettings s;
    s.maxRank = ini.ReadSetting(kTextListFormatSection, u"出力数", u"30");
    s.wrap = ini.ReadSetting(kTextListFormatSection, u"折返し", u"72");
    s.nameLength = ini.ReadSetting(kTextListFormatSection, u"馬名長", u"10");
    const auto cols = TextListColumns(kind);
    for (size_t i = 0; i < cols.size(); ++i)
        s.columns[i] = ini.ReadSetting(TextListSection(kind), cols[i].key, cols[i].defaultOn ? u"ON" : u"OFF") == u"ON";
    return s;
}

void WriteTextListFormat(IniFile& ini, const TextListSettings& s)
{
    ini.WriteString(kTextListFormatSection, u"出力数", s.maxRank);
    ini.WriteString(kTextListFormatSection, u"折返し", s.wrap);
    ini.WriteString(kTextListFormatSection, u"馬名長", s.nameLength);
}

void WriteTextListSwitches(IniFile& ini, TextListKind kind, const TextListSwitches& columns)
{
    const auto cols = TextListColumns(kind);
    for (size_t i = 0; i < cols.size(); ++i) {
        ini.WriteString(TextListSection(kind), cols[i].key, columns[i] ? u"ON" : u"OFF");
        if (i == 0)
            ini.WriteString(TextListSection(kind), u"馬名", u"必須");
    }
}

std::u16string PadCut(std::u16string_view text, int w)
{
    std::u16string s = CutToBytes(text, static_cast<size_t>(std::max(w, 0)));
    return s + Spaces(w - Len(s));
}

std::u16string RightCut(std::u16string_view text, int w, int p)
{
    std::u16string s = CutToBytes(text, static_cast<size_t>(std::max(p, 0)));
    return Spaces(w - Len(s)) + s;
}

int FoalGenerationOfStallion(int p)
{
    return p == 0 ? 1 : PositionGeneration(p) + 1;
}

int FoalGenerationOfMare(int j)
{
    return PositionGeneration(j) + 1;
}

std::vector<std::u16string> BuildTextList(const MasterData& d, const TextListRequest& rq, std::span<const ListRow> rows)
{
    const bool stallions = rq.kind == TextListKind::Stallions;
    const TextListSwitches& on = rq.settings.columns;
    const int n = std::clamp(ParseIntDef(rq.settings.nameLength, 10), 0, kMaxNameWidth);
    const int w = ParseIntDef(rq.settings.wrap, 72);
    const int maxRank = ParseIntDef(rq.settings.maxRank, 0);
    const bool inbreed
        = on[static_cast<size_t>(stallions ? int { StallionColumn::Inbreed } : int { MareColumn::Inbreed })];

    std::vector<std::u16string> out;
    out.push_back(RightCut(rq.title, 8, 8) + u"：" + PadCut(rq.targetName, 20) + rq.date + u"　by 【Velmora】");
    out.emplace_back();

    std::u16string header = Header(rq.kind, on, n);
    int startColumn = 0;
    if (inbreed) {
        if (w - Len(header) < 20) {
            startColumn = 9;
            out.push_back(header);
            out.push_back(u"        インブリード");
        } else {
            startColumn = Len(header) + 1;
            out.push_back(header + u" インブリード");
        }
    } else {
        out.push_back(header);
    }
    out.emplace_back();

    const int count = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(rows.size()), std::max(maxRank, 0)));
    int32_t rank = 0;
    for (int i = 0; i < count; ++i) {
        const ListRow& row = rows[static_cast<size_t>(i)];
        rank = i > 0 && row.key == rows[static_cast<size_t>(i - 1)].key ? rank : i + 1;
        const DadRec& s
            = stallions ? StallionOf(d, row) : d.DadTable[static_cast<size_t>(CheckedIndex(rq.target, kDadRows))];
        const MamRec& m
            = stallions ? d.MamTable[static_cast<size_t>(CheckedIndex(rq.target, kMamRows))] : MareOf(d, row);

        std::u16string line;
        if (on[0])
            line += Fmt("%3d  ", rank);
        line += PadCut(stallions ? s.name : m.name, n) + u" ";
        if (on[1])
            line += Fmt("%7dP ", row.key);
        if (stallions) {
            using namespace StallionColumn;
            if (on[Origin])
                line += RightCut(CutToBytes(s.birth, 2), 2, 2);
            if (on[Line])
                line += PadCut(KeitoName(d, s.keito), n) + u" ";
            if (on[Color])
                line += PadCut(KeiroName(d, s.keiro), 4) + u" ";
            if (on[Star])
                line += Fmt("%2d ", s.Fee);
            if (on[Distance])
                line += Fmt("%4.4d-%4.4d ", s.Distance1, s.Distance2);
            if (on[Dirt])
                line += RightCut(s.Dirt, 2, 2);
            if (on[Grow])
                line += RightCut(s.Grow, 2, 2);
            const std::u16string* grades[5] = { &s.Kisho, &s.Konjo, &s.Kenko, &s.Jisseki, &s.Antei };
            for (int g = 0; g < 5; ++g)
                if (on[static_cast<size_t>(Kisho + g)])
                    line += RightCut(*grades[g], 2, 1);
            MatingColumns(line, d, s, m, on[Omo], on[Mig], on[Yok], on[Nix]);
        } else {
            using namespace MareColumn;
            if (on[Origin])
                line += CutToBytes(m.motikomi, 2) + u" ";
            if (on[Line])
                line += PadCut(KeitoName(d, m.keito), n) + u" ";
            if (on[Color])
                line += PadCut(KeiroName(d, m.keiro), 4) + u" ";
            if (on[Price])
                line += Fmt("%6d ", m.Fee);
            if (on[Speed])
                line += Fmt("%2d ", m.speed);
            if (on[Stamina])
                line += Fmt("%2d ", m.stamina);
            MatingColumns(line, d, s, m, on[Omo], on[Mig], on[Yok], on[Nix]);
        }

        if (!inbreed) {
            out.push_back(line);
            continue;
        }
        if (startColumn == 9) {
            out.push_back(line);
            line = Spaces(9);
        }
        const DadFatherRec& f = s.Father;
        const MamFatherRec& mf = m.Father;
        int c = startColumn;
        for (int p = 0; p < 16; ++p) {
            const int32_t h = f[static_cast<size_t>(p)];
            if (h < 0)
                continue;
            bool earlier = false;
            for (int q = 0; q < p && !earlier; ++q)
                earlier = SameHorse(f[static_cast<size_t>(q)], h);
            if (earlier)
                continue;
            std::u16string marePart;
            for (int j = 1; j <= 15; ++j)
                if (CrossKind(d, f, p, mf, j) == 1) {
                    if (!marePart.empty())
                        marePart += u'*';
                    marePart += Fmt("%d", FoalGenerationOfMare(j));
                }
            if (marePart.empty())
                continue;
            std::u16string stallionPart = Fmt("%d", FoalGenerationOfStallion(p));
            for (int q = p + 1; q < 16; ++q)
                if (SameHorse(f[static_cast<size_t>(q)], h))
                    stallionPart += u"*" + Fmt("%d", FoalGenerationOfStallion(q));
            const std::u16string item = u" " + CutToBytes(OyaAt(d, h).name, static_cast<size_t>(n)) + Part(stallionPart)
                + u"*" + Part(marePart);
            const int len = Len(item);
            if (w < c + len) {
                out.push_back(line);
                line = (startColumn == 9 ? Spaces(9) : Spaces(startColumn - 1)) + item;
                c = startColumn + len;
            } else {
                line += item;
                c += len;
            }
        }
        if (line != Spaces(9))
            out.push_back(line);
    }
    return out;
}

std::vector<std::u16string> TextListOpeningLines(TextListKind kind, bool ready)
{
    if (ready)
        return { u"<表示>ボタンを押すと、設定された出力フォーマットでリストが", u"出力されます。",
                 u"表示後、<保存>ボタンを押すと、ファイルに保存できます。",
                 u"<読込>ボタンを押すと、保存されているファイルを読み込みます。" };
    return { u"<読込>ボタンを押して、過去に保存されたデータを読み込むか、",
             kind == TextListKind::Stallions ? u"メイン画面に戻って種牡馬のリスト順を相性順に"
                                             : u"メイン画面に戻って繁殖牝馬のリスト順を相性順に",
             u"並べ替えてからこの画面を開き、<表示>ボタンを押して下さい。" };
}

std::u16string TextListDate(int year, int month, int day)
{
    return Fmt("%04d/%02d/%02d", year, month, day);
}

std::u16string TextListToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return TextListDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

} // namespace velmora
