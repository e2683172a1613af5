#include "core/pedigree/editor.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/eval/rules.h"
#include "core/mating/ordering.h"
#include "core/mating/pair_display.h"
#include "core/mating/text_list.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace velmora {

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

// printf("%*d", width, n) as UTF-16.
std::u16string Int(int32_t n, int width = 0)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "%*d", width, static_cast<int>(n));
    return FromUtf8(buf);
}

// "%Ws": blanks in front up to w code page 932 bytes, nothing cut.
std::u16string Right(std::u16string_view text, int w)
{
    return RightCut(text, w, INT_MAX);
}

std::u16string_view CoatName(const MasterData& d, int32_t keiro)
{
    return CheckedAt(d.KeiroTable, keiro);
}

const OyaRec& Ancestor(const MasterData& d, int32_t oya)
{
    return d.OyaTable[static_cast<size_t>(CheckedIndex(oya, d.OyaCount))];
}

EditorPanel GroupPanel(const MasterData& d, const OyaRec& o)
{
    return { Int(o.omokei), d.OmokeiTable[static_cast<size_t>(CheckedIndex(o.omokei, kOmokeiRows))].name };
}

EditorPanel LinePanel(const MasterData& d, const OyaRec& o)
{
    return { Int(o.keito), d.KeitoTable[static_cast<size_t>(CheckedIndex(o.keito, kKeitoRows))].name };
}

} // namespace

int IndexRow(const std::vector<std::u16string>& names, std::u16string_view key)
{
    for (size_t i = 0; i < names.size(); ++i)
        if (CompareHorseNames(std::u16string_view(names[i]).substr(0, 1), key) >= 0)
            return static_cast<int>(i);
    return -1;
}

std::u16string StallionHint(const MasterData& d, const DadRec& s)
{
    std::u16string h = u"★" + Int(s.Fee, 1) + u" " + PadCut(s.birth, 6) + u" " + PadCut(CoatName(d, s.keiro), 6);
    h += kCrLf;
    h += Int(s.Distance1, 4) + u"ｍ～" + Int(s.Distance2, 4) + u"ｍ " + Right(s.Grow, 4);
    h += kCrLf;
    h += u"ダート　" + Right(s.Dirt, 2) + u"　　体質 " + Right(s.Kenko, 2);
    h += kCrLf;
    h += u"気性　 " + Right(s.Kisho, 2) + u"　　実績 " + Right(s.Jisseki, 2);
    h += kCrLf;
    h += u"底力　 " + Right(s.Konjo, 2) + u"　　安定 " + Right(s.Antei, 2);
    return h;
}

std::u16string MareHint(const MasterData& d, const MamRec& m)
{
    const std::u16string_view price = m.Fee > 99 ? u"かなり　"
        : m.Fee > 39                             ? u"なかなか"
        : m.Fee > 12                             ? u"まあまあ"
                                                 : u"手ごろ　";
    std::u16string h = std::u16string(price) + u"　" + PadCut(CoatName(d, m.keiro), 6);
    h += kCrLf;
    h += u"スピード " + Int(m.speed);
    h += kCrLf;
    h += u"スタミナ　" + Int(m.stamina);
    return h;
}

void BuildEditorView(const MasterData& d, const Chart& c, EditorView& out)
{
    ChartCaptions captions = BuildCaptions(d, c);
    const ChartAncestors anc = AncestorsOf(d, c);
    DadFatherRec f;
    MamFatherRec m;
    AncestorsToArrays(anc, f, m);

    // The nick is rated by the star rank of the first registered stallion down the tail-female line.
    int32_t star = -1;
    for (int k : { 1, 3, 7, 15 }) {
        if (c.slot[k].DadIdx >= 0) {
            star = d.DadTable[static_cast<size_t>(CheckedIndex(c.slot[k].DadIdx, d.DadCount))].Fee;
            break;
        }
    }
    // Effect colours, cross marks, nick, crosses and nitro as every pedigree window shows them.
    PairDisplay pair;
    BuildPairDisplay(d, star, f, m, true, true, true, pair);
    const CrossAnalysis& crosses = pair.analysis;

    for (int k = 1; k <= kChartPositions; ++k) {
        const SlotRec& s = c.slot[k];
        const ArraySlot a = ArraySlotOf(k);
        const SlotDisplay& shown
            = a.stallionSide ? pair.dads[static_cast<size_t>(a.index)] : pair.mams[static_cast<size_t>(a.index)];
        EditorSlotView& v = out.slot[k];
        v.caption = std::move(captions.caption[k]);
        v.colorA = shown.colorA;
        v.colorB = shown.colorB;
        v.textColor = shown.nameColor;
        v.frame = shown.marker;
        v.frameColor = shown.markerColor;
        v.topBar = s.DadIdx >= 0;
        v.bottomBar = s.MamIdx >= 0 && k <= kChartMarePositions;
        v.hint.clear();
        if (s.DadIdx >= 0)
            v.hint = StallionHint(d, d.DadTable[static_cast<size_t>(CheckedIndex(s.DadIdx, d.DadCount))]);
        else if (s.OyaIdx < 0 && v.bottomBar)
            v.hint = MareHint(d, d.MamTable[static_cast<size_t>(CheckedIndex(s.MamIdx, d.MamCount))]);
    }

    for (size_t i = 1; i < out.effectCount.size(); ++i)
        out.effectCount[i] = crosses.InCross[i];
    out.complete = captions.complete;
    out.formula = std::move(captions.formula);

    for (int i = 0; i < kLinePanels; ++i) {
        out.omo[static_cast<size_t>(i)] = {};
        out.kan[static_cast<size_t>(i)] = {};
        for (int p = LinePanelNumber(i); p <= kChartPositions; p *= 2) {
            if (anc[p] >= 0) {
                out.omo[static_cast<size_t>(i)] = GroupPanel(d, Ancestor(d, anc[p]));
                out.kan[static_cast<size_t>(i)] = LinePanel(d, Ancestor(d, anc[p]));
                break;
            }
        }
    }
    for (int i = 0; i < kMigoPanels; ++i) {
        const int32_t a = anc[MigoPanelNumber(i) + 8];
        out.migo[static_cast<size_t>(i)] = a >= 0 ? GroupPanel(d, Ancestor(d, a)) : EditorPanel {};
    }

    // The frames show only a rule that holds, not an undecidable one.
    out.omoFrame = CheckOmo(d, f, m) == 1;
    int mig = 0;
    int yok = 0;
    CheckMigYok(d, f, m, mig, yok);
    out.migFrame = mig == 1;
    out.yokFrame = yok == 1;

    out.nixFrame = pair.nix.lit;
    out.nixCaption = pair.nix.text + pair.nix.hint.substr(0, 2);
    out.crsFrame = crosses.Crosses >= 1;
    out.crsCaption = u"ｸﾛｽ:" + pair.crs.text;
    out.crsHint = pair.crs.hint;
    out.nitroSp = pair.nitroSp;
    out.nitroSt = pair.nitroSt;
}

PedigreeEditor::PedigreeEditor(const MasterData& d)
    : m_data(d)
{
    FillLists();
    Clear();
}

void PedigreeEditor::FillLists()
{
    auto fill = [](int count, auto nameOf, std::vector<int>& order, std::vector<std::u16string>& names) {
        order.resize(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            order[static_cast<size_t>(i)] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return CompareHorseNames(nameOf(a), nameOf(b)) < 0; });
        names.clear();
        names.reserve(order.size());
        for (int i : order)
            names.emplace_back(nameOf(i));
    };
    fill(
        m_data.DadCount, [&](int i) -> std::u16string_view { return m_data.DadTable[static_cast<size_t>(i)].name; },
        m_stallions, m_stallionNames);
    fill(
        m_data.MamCount, [&](int i) -> std::u16string_view { return m_data.MamTable[static_cast<size_t>(i)].name; },
        m_mares, m_mareNames);
    m_generation = m_data.LoadGeneration;
    m_dadRow = -1;
    m_mamRow = -1;
}

int PedigreeEditor::RowOf(bool mare, int tableIndex) const
{
    const std::vector<int>& order = mare ? m_mares : m_stallions;
    const auto it = std::find(order.begin(), order.end(), tableIndex);
    return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

void PedigreeEditor::SelectRow(bool mare, int row)
{
    const int count = static_cast<int>(mare ? m_mares.size() : m_stallions.size());
    (mare ? m_mamRow : m_dadRow) = row >= 0 && row < count ? row : -1;
}

bool PedigreeEditor::SyncWithData()
{
    if (m_data.LoadGeneration == m_generation)
        return false;
    // The chart's registered horses by the names they had; the ancestors all come from them.
    struct Placed
    {
        int k;
        bool mare;
        std::u16string name;
    };
    std::vector<Placed> placed;
    for (int k = 1; k <= kChartPositions; ++k) {
        const SlotRec& s = m_chart.slot[k];
        if (const int row = s.DadIdx >= 0 ? RowOf(false, s.DadIdx) : -1; row >= 0)
            placed.push_back({ k, false, m_stallionNames[static_cast<size_t>(row)] });
        if (const int row = s.MamIdx >= 0 ? RowOf(true, s.MamIdx) : -1; row >= 0)
            placed.push_back({ k, true, m_mareNames[static_cast<size_t>(row)] });
    }
    FillLists();
    ClearChart(m_chart);
    // No registered horse stands in the ancestry another one fills, so the order of placing again
    // does not matter.
    for (const Placed& p : placed) {
        if (const int i = p.mare ? FindMam(m_data, p.name) : FindDad(m_data, p.name); i >= 0)
            Place(p.k, p.mare, i);
    }
    m_menu.clear();
    Redraw();
    return true;
}

void PedigreeEditor::Clear()
{
    m_dadRow = -1;
    m_mamRow = -1;
    ClearChart(m_chart);
    Redraw();
}

bool PedigreeEditor::AcceptsDrop(int k, bool mare)
{
    return k >= 1 && k <= (mare ? kChartMarePositions : kChartPositions);
}

bool PedigreeEditor::Drop(int k, bool mare, std::u16string_view name)
{
    if (!AcceptsDrop(k, mare))
        return false;
    const int i = mare ? FindMam(m_data, name) : FindDad(m_data, name);
    if (i < 0)
        return false;
    PlaceChosen(k, mare, i);
    return true;
}

bool PedigreeEditor::PressIndex(bool mare, std::u16string_view key)
{
    const int row = IndexRow(mare ? m_mareNames : m_stallionNames, key);
    if (row < 0)
        return false;
    SelectRow(mare, row);
    return true;
}

int PedigreeEditor::Show(const AliasLookup& alias, std::u16string* message)
{
    TreeContext ctx { m_data, m_chart, m_box, alias };
    int r = 0;
    try {
        r = ShowTreeFormula(ctx, message);
    } catch (...) {
        Redraw(false); // the placements made so far stay on the chart
        throw;
    }
    if (ctx.selectedDad >= 0)
        SelectRow(false, RowOf(false, ctx.selectedDad));
    if (ctx.selectedMam >= 0)
        SelectRow(true, RowOf(true, ctx.selectedMam));
    // A reading that stopped keeps the typed formula, with the unknown name selected in it, even when
    // the chart is complete from before; so does one that left a mare out, whose chart lacks her.
    Redraw(r > 0 && ctx.leftOut.empty());
    return r;
}

bool PedigreeEditor::OpenSuggestions(int k)
{
    if (m_box.text.empty() || k < 1 || k > kChartPositions)
        return false;
    m_suggestAt = k;
    m_menu = BuildSuggestions(m_data, m_chart, k, m_stallions, m_mares);
    return !m_menu.empty();
}

void PedigreeEditor::ChooseSuggestion(size_t item, size_t horse)
{
    const SuggestionItem& it = m_menu.at(item);
    PlaceChosen(m_suggestAt, it.mares, it.horses.at(horse));
}

void PedigreeEditor::Place(int k, bool mare, int i)
{
    if (mare)
        PlaceMare(m_data, m_chart, k, i);
    else
        PlaceStallion(m_data, m_chart, k, i);
}

void PedigreeEditor::PlaceChosen(int k, bool mare, int i)
{
    SelectRow(mare, RowOf(mare, i));
    Place(k, mare, i);
    Redraw();
}

void PedigreeEditor::Redraw(bool writeFormula)
{
    BuildEditorView(m_data, m_chart, m_view);
    if (writeFormula && m_view.complete)
        m_box.text = m_view.formula;
}

} // namespace velmora
