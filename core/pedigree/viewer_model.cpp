#include "core/pedigree/viewer_model.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/eval/positions.h"
#include "core/mating/ordering.h"

#include <string>
#include <utility>

namespace velmora {

namespace {

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kOrange = 0x0099FF;
constexpr uint32_t kYellow = 0x00FFFF;
constexpr uint32_t kLime = 0x00FF00;
constexpr uint32_t kAqua = 0xFFFF00;
constexpr uint32_t kWellMade = 0xFFAADD;
constexpr int32_t kNixHighlight = 25;
constexpr uint32_t kBlue = 0xFF0000;

std::u16string Decimal(int32_t v)
{
    return FromUtf8(std::to_string(v));
}

template <typename Row> const Row& RowOf(const std::vector<Row>& table, int32_t i)
{
    return table[static_cast<size_t>(CheckedIndex(i, static_cast<int64_t>(table.size())))];
}

ViewerPanel Lit(std::u16string text, std::u16string hint, uint32_t color)
{
    return ViewerPanel { std::move(text), std::move(hint), color, true };
}

ViewerPanel Plain(std::u16string text, std::u16string hint = {})
{
    return ViewerPanel { std::move(text), std::move(hint), kViewerWhite, false };
}

ViewerPanel MarkPanel(int result, uint32_t colourWhenOne)
{
    const std::u16string text(MarkText(result));
    if (result == 0)
        return Plain(text);
    return Lit(text, {}, result == 1 ? colourWhenOne : kYellow);
}

std::vector<std::u16string> StallionInfo(const MasterData& d, const DadRec& s)
{
    return {
        u"産地:" + s.birth,
        u"系統:" + RowOf(d.KeitoTable, s.keito).name,
        u"毛色:" + RowOf(d.KeiroTable, s.keiro),
        u"★:" + Decimal(s.Fee),
        u"距離:" + Decimal(s.Distance1) + u"-" + Decimal(s.Distance2),
        u"ﾀﾞｰﾄ:" + s.Dirt,
        u"成長:" + s.Grow,
        u"気性:" + s.Kisho + u" 根性:" + s.Konjo,
        u"健康:" + s.Kenko + u" 実績:" + s.Jisseki,
        u"安定:" + s.Antei,
    };
}

std::vector<std::u16string> MareInfo(const MasterData& d, const MamRec& m)
{
    return {
        u"母名:" + m.name,
        u"持込等:" + m.motikomi,
        u"系統:" + RowOf(d.KeitoTable, m.keito).name,
        u"毛色:" + RowOf(d.KeiroTable, m.keiro),
        u"価格:" + Decimal(m.Fee),
        u"ｽﾋﾟｰﾄﾞ:" + Decimal(m.speed),
        u"ｽﾀﾐﾅ:" + Decimal(m.stamina),
    };
}

} // namespace

ViewerSlot MakeViewerSlot(const MasterData& d, const TSosenRec& slot, bool colourMode)
{
    ViewerSlot c;
    if (slot.num < 0)
        return c;
    const OyaRec& o = OyaAt(d, slot.num);
    const int32_t group = GroupOf(o);
    c.name = o.name;
    c.hint = RowOf(d.KeitoTable, o.keito).name + u"/" + RowOf(d.OmokeiTable, group).name;
    c.italic = slot.isInCrs;
    const TCrossRec& a = RowOf(d.CrossTable, o.a);
    const TCrossRec& b = RowOf(d.CrossTable, o.b);
    c.effectA = a.name;
    c.effectB = b.name;
    if (colourMode) {
        c.colorA = a.Color;
        c.colorB = o.b != 0 ? b.Color : a.Color;
    } else {
        c.colorA = c.colorB = static_cast<uint32_t>(RowOf(d.OmokeiTable, group).value);
    }
    if (slot.isCrs >= -1) {
        c.marker = true;
        c.markerColor = slot.isCrs > 0 ? kRed : kBlue;
    }
    return c;
}

void DrawResultPanels(const MasterData& d, const ViewArrays& a, const CrossAnalysis& ca, ViewerDisplay& out)
{
    if (ca.Taboo)
        out.kiken = Lit(u"◎", {}, kRed);
    else if (ca.Crosses < 7)
        out.kiken = Plain(u"×");
    else
        out.kiken = Lit(u"○", {}, kRed);

    const int32_t nix = CalcNix(d, a.star, a.stallion, a.mare);
    const std::u16string grade(NixGradeText(nix));
    out.nix = nix >= kNixHighlight ? Lit(Decimal(nix), grade, kOrange) : Plain(Decimal(nix), grade);

    int mig = 0;
    int yok = 0;
    CheckMigYok(d, a.stallion, a.mare, mig, yok);
    out.omo = MarkPanel(CheckOmo(d, a.stallion, a.mare), kLime);
    out.mig = MarkPanel(mig, kAqua);
    out.yok = MarkPanel(yok, kWellMade);

    std::u16string inCross;
    for (size_t e = 1; e <= 10; ++e) {
        if (e > 1)
            inCross += u',';
        inCross += Decimal(ca.InCross[e]);
    }
    out.crs = Plain(Decimal(ca.Crosses), inCross);
}

EntryLabel LabelOfEntry(int entry)
{
    const int e = CheckedIndex(entry - 1, kViewEntries) + 1;
    return e == 1 ? EntryLabel { true, 0 } : EntryLabel { false, (1 << (e - 1)) - 1 };
}

int EntryOfLabel(bool dadSide, int position)
{
    for (int e = 1; e <= kViewEntries; ++e) {
        const EntryLabel l = LabelOfEntry(e);
        if (l.dadSide == dadSide && l.position == position)
            return e;
    }
    return 0;
}

NitroHints MakeNitroHints(const MasterData& d)
{
    const auto name = [&](int row) { return RowOf(d.CrossTable, row).name; };
    NitroHints h;
    h.speed = d.SpeedCrossRow == 1 ? name(1) + u"*2+" + name(2) : name(1) + u"+" + name(2) + u"*2";
    h.stamina = name(3) + u"+" + name(4);
    return h;
}

int InfoBoxTop(int labelTop, int labelHeight, int boxHeight, int clientHeight)
{
    const int below = labelTop + 2 * labelHeight - 4;
    return below + boxHeight > clientHeight ? labelTop - boxHeight - 1 : below;
}

PedigreeViewer::PedigreeViewer(const MasterData& d)
    : m_d(d)
{
    m_arrays.stallion.fill(-1);
    m_arrays.mare.fill(-1);
}

ChainReading PedigreeViewer::Show(std::u16string_view formula, const AliasLookup& alias)
{
    ChainReading r = ReadChain(m_d, alias, formula, m_carry);
    m_view.Show(r.entries);
    m_shown = true;
    Redraw();
    return r;
}

bool PedigreeViewer::StepRight()
{
    if (!RightEnabled() || !m_view.StepRight())
        return false;
    Redraw();
    return true;
}

bool PedigreeViewer::StepLeft()
{
    if (!LeftEnabled() || !m_view.StepLeft())
        return false;
    Redraw();
    return true;
}

void PedigreeViewer::Redraw()
{
    BuildViewArrays(m_d, m_view.window, m_arrays);
    FillInbreed(m_d, m_arrays.stallion, m_arrays.mare, m_inbreed);
    AnalyzeCrosses(m_d, m_arrays.stallion, m_arrays.mare, m_analysis);

    m_display = ViewerDisplay {};
    m_display.drawn = true;
    for (size_t j = 0; j <= 15; ++j)
        m_display.dads[j] = MakeViewerSlot(m_d, m_inbreed.Dads[j], m_colourMode);
    for (size_t k = 1; k <= 15; ++k)
        m_display.mams[k] = MakeViewerSlot(m_d, m_inbreed.Mams[k - 1], m_colourMode);
    m_display.boldMare = BoldMarePosition(m_view.window);

    DrawResultPanels(m_d, m_arrays, m_analysis, m_display);
    m_display.nitroSp = Decimal(m_analysis.NitroSp);
    m_display.nitroSt = Decimal(m_analysis.NitroSt);
    for (size_t k = 1; k <= 16; ++k)
        m_display.kosei[k] = Decimal(m_analysis.Kosei[k]);
}

namespace {

// The caption of an entry's label and whether it is bold.
std::pair<const std::u16string&, bool> LabelOf(const ViewerDisplay& v, int entry)
{
    const EntryLabel l = LabelOfEntry(entry);
    const auto p = static_cast<size_t>(l.position);
    if (l.dadSide)
        return { v.dads[p].name, false };
    return { v.mams[p].name, v.boldMare == l.position };
}

} // namespace

std::vector<std::u16string> PedigreeViewer::InfoLines(int entry) const
{
    if (IsBehindMare(m_view.window, entry))
        return {};
    const auto [caption, bold] = LabelOf(m_display, entry);
    if (const int s = FindDad(m_d, caption); s >= 0 && !bold)
        return StallionInfo(m_d, m_d.DadTable[static_cast<size_t>(s)]);
    if (m_carry.currentMare >= 0)
        return MareInfo(m_d, m_d.MamTable[static_cast<size_t>(CheckedIndex(m_carry.currentMare, m_d.MamCount))]);
    return {};
}

std::optional<ReplacementList> PedigreeViewer::Replacement(int entry) const
{
    if (IsBehindMare(m_view.window, entry))
        return std::nullopt;
    ReplacementList list;
    list.items.reserve(static_cast<size_t>(m_d.DadCount + (entry > 1 ? m_d.MamCount : 0)));
    for (int i = 0; i < m_d.DadCount; ++i)
        list.items.push_back(m_d.DadTable[static_cast<size_t>(i)].name);
    if (entry > 1)
        for (int i = 0; i < m_d.MamCount; ++i)
            list.items.push_back(m_d.MamTable[static_cast<size_t>(i)].name);
    SortHorseNames(list.items);
    // The caption also when it names no registered stallion (an ancestor, or the sire of the entry's
    // registered mare): the user starts from what the label shows.
    list.text = LabelOf(m_display, entry).first;
    return list;
}

bool PedigreeViewer::Replace(int entry, std::u16string_view name)
{
    ParentRec rec;
    rec.Name = std::u16string(name);
    if (const int s = FindDad(m_d, name); s >= 0) {
        rec.Sex = true;
        rec.Num = s;
        m_carry.currentMare = -1;
    } else {
        m_carry.currentMare = FindMam(m_d, name);
        if (m_carry.currentMare < 0)
            return false;
        rec.Sex = false;
        rec.Num = m_carry.currentMare;
    }
    m_view.Replace(entry, rec);
    Redraw();
    return true;
}

} // namespace velmora
