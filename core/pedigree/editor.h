#pragma once
// The pedigree editor's window logic: the two sorted name lists with their index buttons, the chart
// that drops, suggestions and the tree reading place horses on, and what every control shows after a
// change (captions, hints, effect colours, bars, cross frames, line panels, rule frames, nick, crosses,
// nitro). The window lays out controls, forwards events and paints the EditorView.

#include "core/pedigree/suggest.h"
#include "core/pedigree/tree_formula.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr std::u16string_view kEditorGuide
    = u"左のﾘｽﾄﾎﾞｯｸｽから右の血統表に種牡馬や繁殖牝馬をﾄﾞﾗｯｸﾞしてください。すべての血統が埋まると、上部ﾃｷｽﾄﾎﾞｯｸｽに"
      u"血統式が現れます。ﾃｷｽﾄを貼り付けてから右上ボタンで表示も可能です。";

inline constexpr uint32_t kEditorWhite = 0xFFFFFF;
inline constexpr uint32_t kStallionListColor = 0xFFCC99; // light blue
inline constexpr uint32_t kMareListColor = 0xFFCCFF; // pink
inline constexpr uint32_t kStallionBarColor = 0x999933; // a stallion placed here by the user
inline constexpr uint32_t kMareBarColor = 0x333399; // a mare placed here as the dam
inline constexpr uint32_t kRuleFrameColor = 0xFF00FF; // magenta: the rule holds

// An index button's caption and the key it searches from.
struct IndexKey
{
    std::u16string_view caption;
    std::u16string_view key;
};
inline constexpr std::array<IndexKey, 12> kStallionIndexKeys = { {
    { u"Ａ", u"A" },
    { u"Ｎ", u"N" },
    { u"ア", u"ｱ" },
    { u"カ", u"ｶ" },
    { u"サ", u"ｻ" },
    { u"タ", u"ﾀ" },
    { u"ナ", u"ﾅ" },
    { u"ハ", u"ﾊ" },
    { u"マ", u"ﾏ" },
    { u"ヤ", u"ﾔ" },
    { u"ラ", u"ﾗ" },
    { u"ワ", u"ﾜ" },
} };
// The mares' buttons are the kana ones.
inline constexpr std::span<const IndexKey> kMareIndexKeys = std::span<const IndexKey>(kStallionIndexKeys).subspan(2);

struct EffectLabel
{
    std::u16string_view caption;
    uint32_t color;
};
inline constexpr std::array<EffectLabel, 10> kEditorEffectLabels = { {
    { u"短", 0x66FFFF },
    { u"速", 0xCCFFFF },
    { u"底", 0xFF99CC },
    { u"長", 0xFFCC99 },
    { u"ダ", 0xFFCCFF },
    { u"丈", 0xFF99FF },
    { u"早", 0x66CC99 },
    { u"晩", 0x3399FF },
    { u"堅", 0xCCCCCC },
    { u"難", 0x0033CC },
} };

// The eight line panels (面 and 系) are numbered 1, 3, .. 15; each follows the sire line up from its
// number. The four 見 panels 9, 11, 13, 15 show the ancestor at position number + 8.
inline constexpr int kLinePanels = 8;
inline constexpr int kMigoPanels = 4;
inline constexpr int LinePanelNumber(int i)
{
    return 2 * i + 1;
}
inline constexpr int MigoPanelNumber(int i)
{
    return 9 + 2 * i;
}

// The index button's search: the first name, in list order, whose first character compares greater
// than or equal to the key (letter case ignored); -1 when there is none.
int IndexRow(const std::vector<std::u16string>& names, std::u16string_view key);

// The hints of a placed horse, lines joined by CR LF; widths count code page 932 bytes.
std::u16string StallionHint(const MasterData& d, const DadRec& s);
std::u16string MareHint(const MasterData& d, const MamRec& m);

// One chart position as drawn.
struct EditorSlotView
{
    std::u16string caption; // lines joined by CR LF
    std::u16string hint;
    uint32_t colorA = kEditorWhite; // left and right half: the ancestor's two inbreeding effects
    uint32_t colorB = kEditorWhite;
    uint32_t textColor = 0x000000; // the caption, readable across both halves
    bool topBar = false; // a registered stallion stands here
    bool bottomBar = false; // a registered mare stands here as the dam
    bool frame = false; // cross mark
    uint32_t frameColor = kEditorWhite;
};

// A panel's caption with its hint; both empty when the panel has nothing to show.
struct EditorPanel
{
    std::u16string caption;
    std::u16string hint;
};

struct EditorView
{
    std::array<EditorSlotView, kChartPositions + 1> slot; // [0] unused
    std::array<int32_t, 11> effectCount {}; // [1..10]: InCross of the ten fixed effect labels
    bool complete = false;
    std::u16string formula; // the chart's formula when complete
    std::array<EditorPanel, kLinePanels> omo; // interesting-line group of lines 1, 3, .. 15
    std::array<EditorPanel, kLinePanels> kan; // sire line of the same lines
    std::array<EditorPanel, kMigoPanels> migo; // interesting-line group of positions 17, 19, 21, 23
    bool omoFrame = false;
    bool migFrame = false;
    bool yokFrame = false;
    bool nixFrame = false;
    std::u16string nixCaption; // the value and the first two characters of its grade
    bool crsFrame = false;
    std::u16string crsCaption; // "ｸﾛｽ:" and the count
    std::u16string crsHint; // InCross[1..10] joined with ","
    std::u16string nitroSp;
    std::u16string nitroSt;
};

// Fills the view from the chart: captions generation 5 first, then every position, the crosses of
// the chart's arrays and the rules.
void BuildEditorView(const MasterData& d, const Chart& c, EditorView& out);

// The editor: created once, it keeps chart, lists, selections and formula box for the whole run.
class PedigreeEditor
{
public:
    // d must outlive the editor; it may be reloaded (see SyncWithData).
    explicit PedigreeEditor(const MasterData& d);

    // The lists: table indices and names in list order (sorted by name, letter case ignored).
    const std::vector<int>& Stallions() const { return m_stallions; }
    const std::vector<int>& Mares() const { return m_mares; }
    const std::vector<std::u16string>& StallionNames() const { return m_stallionNames; }
    const std::vector<std::u16string>& MareNames() const { return m_mareNames; }
    // The selected list rows, -1 for none.
    int SelectedStallionRow() const { return m_dadRow; }
    int SelectedMareRow() const { return m_mamRow; }
    void SelectRow(bool mare, int row);

    // When the master data was reloaded since the lists were filled: refills them (no selection) and
    // places again, by name, the registered horses of the chart that still exist; positions whose
    // horse is gone are emptied. Returns true when the data had been reloaded.
    bool SyncWithData();

    // "クリア": no selections, an empty chart; the formula box keeps its text.
    void Clear();

    // A stallion may be dropped on every position, a mare on positions 1..15 only.
    static bool AcceptsDrop(int k, bool mare);
    // Drops the named horse (FindDad / FindMam of the name) at k and selects it; false, nothing
    // changed, when the drop is refused or the name has no table row.
    bool Drop(int k, bool mare, std::u16string_view name);

    // An index button: selects the row IndexRow finds; false, the selection unchanged, when none.
    bool PressIndex(bool mare, std::u16string_view key);

    // "表示": folds and trims the formula box and reads it onto the chart at position 1. Returns
    // ReadTree's result; *message receives the text to show for a result below 0, or for a reading
    // that left a mare out. Only a reading that went through whole writes a complete chart's formula
    // into the box: after a failure the box keeps the text read, with an unknown name selected, and
    // after a mare was left out the text read.
    int Show(const AliasLookup& alias, std::u16string* message);

    // A right click on position k: builds the suggestion menu when the formula box is not empty and
    // makes k the suggestion position. False when no menu opens (empty box, or no items).
    bool OpenSuggestions(int k);
    const std::vector<SuggestionItem>& Suggestions() const { return m_menu; }
    int SuggestionPosition() const { return m_suggestAt; }
    // Chooses sub-item `horse` of menu item `item`: selects the horse in its list and places it at the
    // suggestion position.
    void ChooseSuggestion(size_t item, size_t horse);

    const Chart& GetChart() const { return m_chart; }
    FormulaBox& Box() { return m_box; }
    const FormulaBox& Box() const { return m_box; }
    // What the controls show; rebuilt after every change of the chart.
    const EditorView& View() const { return m_view; }

private:
    void FillLists();
    // Places table row i (a broodmare or a stallion) at k on the chart.
    void Place(int k, bool mare, int i);
    // A horse the user placed: selected in its list, placed, and the chart drawn again.
    void PlaceChosen(int k, bool mare, int i);
    // Rebuilds the view; a complete chart writes its formula into the box unless told not to.
    void Redraw(bool writeFormula = true);
    int RowOf(bool mare, int tableIndex) const;

    const MasterData& m_data;
    uint64_t m_generation = 0; // the load the lists were filled from
    std::vector<int> m_stallions;
    std::vector<int> m_mares;
    std::vector<std::u16string> m_stallionNames;
    std::vector<std::u16string> m_mareNames;
    int m_dadRow = -1;
    int m_mamRow = -1;
    Chart m_chart;
    FormulaBox m_box;
    std::vector<SuggestionItem> m_menu;
    int m_suggestAt = 0;
    EditorView m_view;
};

} // namespace velmora
