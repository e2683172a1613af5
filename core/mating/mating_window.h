#pragma once
// The optimal-mating window (Velmora配合決定ツール) without its widgets: the stallion and broodmare lists
// with their filter buttons, orders and chosen horses, both pedigree arrays, the ancestor marks, the
// colour mode and the point-table chooser; what each press, choice and click does to them, and what
// the window shows. The window forwards every user action here, then repaints what TakeChanges()
// reports.
//
// The two lists are one Side type used twice. Where stallions and broodmares differ (their table,
// filters, orders, status points, attributes and pedigree arrays) the model goes by the side's kind.

#include "core/app/app_state.h"
#include "core/eval/colour_legend.h"
#include "core/mating/foal_registration.h"
#include "core/mating/ordering.h"
#include "core/mating/pair_display.h"
#include "core/mating/points.h"
#include "core/mating/text_list.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr std::u16string_view kVelmoraCaption = u"Velmora配合決定ツール";

enum class SideKind { Stallion, Mare };
inline constexpr SideKind kSideKinds[] = { SideKind::Stallion, SideKind::Mare };
inline constexpr SideKind PartnerOf(SideKind k)
{
    return k == SideKind::Stallion ? SideKind::Mare : SideKind::Stallion;
}

// The order buttons of a list: ★順 (stallions) or 基本料順 (broodmares), 名前順, 相性順.
enum class ListSort { Fee, Name, Compat };

// One attribute label of a side: its text and, for a grade or a dirt mark, its font colour.
struct AttributeText
{
    std::u16string text;
    std::optional<uint32_t> color;

    bool operator==(const AttributeText&) const = default;
};

// The attribute labels, in the window's order. Stallions: origin, line/group, coat colour, stars, the two
// distances, dirt, growth and the five grades. Broodmares: origin, line/group, coat colour, base price,
// speed, stamina.
inline constexpr int kStallionAttributes = 13;
inline constexpr int kMareAttributes = 6;

// One list of the window: its rows and the names its name box shows, the chosen row, the order and
// filter buttons, and the marks of the chosen horse's ancestor labels.
class Side
{
public:
    explicit Side(SideKind kind);

    SideKind Kind() const { return m_kind; }
    const std::vector<ListRow>& Rows() const { return m_rows; }
    // The name box's items: the horses' names in row order.
    const std::vector<std::u16string>& Names() const { return m_names; }
    // The chosen row, -1 when no horse is chosen.
    int Chosen() const { return m_chosen; }
    bool IsChosen() const { return m_chosen >= 0; }
    // The name box's text when its choice is set: the chosen name, a typed text that names no horse, or empty.
    const std::u16string& Text() const { return m_text; }
    // "n/count": the chosen row number from 1 (0 when none) and the number of rows.
    std::u16string Counter() const;
    ListSort Sort() const { return m_sort; }
    // Marks of ancestor positions 1..15 (bold labels).
    bool Marked(int position) const;

    // Filter buttons, by group (stallions: origin, ★, growth, dirt, then 気 底 体 実 安; broodmares: price,
    // 自家, SP, ST) and button within the group; true = down.
    int FilterGroups() const { return static_cast<int>(m_filters.size()); }
    int FilterButtons(int group) const;
    bool FilterDown(int group, int button) const;
    const std::u16string& FilterCaption(int group, int button) const;

private:
    friend class MatingWindowModel;

    SideKind m_kind;
    std::vector<ListRow> m_rows;
    std::vector<std::u16string> m_names;
    int m_chosen = -1;
    std::u16string m_text;
    ListSort m_sort;
    std::array<bool, 16> m_marks {};
    std::vector<std::vector<bool>> m_filters;
    std::vector<std::vector<std::u16string>> m_captions;
};

class MatingWindowModel
{
public:
    // What a change asks the window to repaint. The side bits are per side: see SideChange.
    enum Change : unsigned {
        Items = 1u << 0, // the name box's items, its choice and text, the counter
        Selection = 1u << 1, // the name box's choice and text, the counter
        Panel = 1u << 2, // the pedigree panel and the attributes, the counter
        Buttons = 1u << 3, // the order buttons (down, bold, 相性順 enabled) and the filter buttons
        Pair = 1u << 8, // markers, label styles, evaluation panels, nitro and 相性値
        Marks = 1u << 9, // the ancestor labels' styles
        Legend = 1u << 10,
        Chooser = 1u << 11, // the point-table chooser
        Captions = 1u << 12, // the filter buttons' captions
    };
    static constexpr unsigned kSideBits = 4;
    static constexpr unsigned SideChange(SideKind k, unsigned change)
    {
        return k == SideKind::Stallion ? change : change << kSideBits;
    }
    // The side bits of changes for side k, as Items, Selection, Panel, Buttons.
    static constexpr unsigned SideChanges(unsigned changes, SideKind k)
    {
        return (k == SideKind::Stallion ? changes : changes >> kSideBits) & ((1u << kSideBits) - 1);
    }

    // Called with true before and false after the one long step of the window, ordering a list by
    // compatibility (and making another point table current): the window shows the hourglass.
    using BusyHook = std::function<void(bool busy)>;

    // Nothing chosen, both arrays unknown, all filter buttons down, stallions by ★順, broodmares by
    // 名前順, colour mode on; the lists stay empty until Open().
    MatingWindowModel(MasterData& d, AppState& app);

    void SetBusyHook(BusyHook hook) { m_busy = std::move(hook); }
    // The changes since the last call, as a set of Change bits.
    unsigned TakeChanges();

    // The window's opening: the band captions, the colour legend, the current point table read and
    // listed, then each list built with every filter down in its opening order, nothing chosen.
    void Open();

    const Side& Of(SideKind k) const { return m_sides[Index(k)]; }
    const Side& Stallions() const { return Of(SideKind::Stallion); }
    const Side& Mares() const { return Of(SideKind::Mare); }
    const DadFatherRec& DadArray() const { return m_dadArray; }
    const MamFatherRec& MamArray() const { return m_mamArray; }
    bool ColourMode() const { return m_colourMode; }
    const PairDisplay& Display() const { return m_display; }
    // Position k of a side's pedigree panel (stallion 0..15, broodmare 1..15).
    const SlotDisplay& Slot(SideKind k, int position) const;
    // 相性順 can be pressed only while the partner is chosen.
    bool CompatEnabled(SideKind k) const { return Of(PartnerOf(k)).IsChosen(); }
    // Both horses chosen: the commands (牝馬登録, 牡馬登録, html出力) are enabled; the window shows this
    // after every change.
    bool PairChosen() const { return Stallions().IsChosen() && Mares().IsChosen(); }
    const std::vector<AttributeText>& Attributes(SideKind k) const { return m_attributes[Index(k)]; }
    // 相性値 of the chosen pair; empty while either side is cleared.
    const std::u16string& PointText() const { return m_pointText; }
    const std::array<LegendEntry, kLegendEntries + 1>& LegendEntries() const { return m_legend; }
    // The point-table chooser's setting names and the current one.
    const PointFileList& PointTables() const { return m_chooser; }

    // An order button: the list is sorted in place and keeps its chosen horse.
    void SetSort(SideKind k, ListSort sort);
    // A filter button clicked: it goes up or down and the list is rebuilt, unless it would leave its
    // whole group up, which is undone.
    void PressFilter(SideKind k, int group, int button);
    // 全頭: every filter button of the side down, the list rebuilt.
    void PressAll(SideKind k);
    // A name chosen in the name box.
    void Choose(SideKind k, int row);
    // The name box's text changed: emptying it clears the side.
    void TextChanged(SideKind k, std::u16string_view text);
    // Enter in the name box: a text that names no horse clears the side and stays in the box.
    void EnterText(SideKind k, std::u16string_view text);
    // A click on ancestor label `position` (1..15) of a side with a chosen horse: the right button sets
    // the mark, any other toggles it. Returns the captions of the partner popup after a right click
    // ("name,generation,..."), empty otherwise.
    std::vector<std::u16string> ClickAncestor(SideKind k, int position, bool rightButton);
    // A popup item of side k chosen: the partner named before its first "," is chosen.
    void ChoosePartner(SideKind k, std::u16string_view caption);
    // A click on the colour legend.
    void ToggleColourMode();
    // A setting name chosen in the point-table chooser: that table becomes current, both lists are
    // rebuilt with every filter down.
    void ChoosePointTable(int index);
    // The point-table editor closed. A table saved, or chosen in the editor and left current without
    // saving, is read and listed, and both lists are rebuilt with every filter down.
    void PointEditorClosed(bool saved, std::u16string_view tableBefore);
    // What 牝馬登録 / 牡馬登録 would register, from the texts of the two name boxes.
    FoalPlan PlanFoal(bool stallion, std::u16string_view stallionText, std::u16string_view mareText) const;
    // After the data were reloaded with the registered foal: both lists rebuilt with every filter down,
    // its sire and dam chosen again by name, the broodmares ordered anew.
    void FoalRegistered(const FoalEntry& entry);
    // What 一覧表示 of side k's list hands to the text list.
    TextListSource TextSource(SideKind k) const;
    // html出力: writes the pairing page into `dir` and returns its path; empty when no pair is chosen.
    std::string WriteHtml(const std::string& dir) const;

private:
    static size_t Index(SideKind k) { return k == SideKind::Stallion ? 0 : 1; }
    Side& Mut(SideKind k) { return m_sides[Index(k)]; }
    void Build(SideKind k);
    void Reorder(SideKind k);
    void SetKeys(SideKind k);
    void Refill(SideKind k);
    void ChooseByName(SideKind k, std::u16string_view name);
    void ClearSide(SideKind k, std::u16string_view text);
    void Evaluate();
    void RebuildForNewTable();

    MasterData& m_data;
    AppState& m_app;
    std::array<Side, 2> m_sides;
    DadFatherRec m_dadArray;
    MamFatherRec m_mamArray;
    int32_t m_star = 0; // star rank of the chosen stallion, for the nick and the HTML page
    PairDisplay m_display;
    std::u16string m_pointText;
    std::array<std::vector<AttributeText>, 2> m_attributes;
    std::array<LegendEntry, kLegendEntries + 1> m_legend {};
    PointFileList m_chooser;
    bool m_colourMode = true;
    unsigned m_changes = 0;
    BusyHook m_busy;
};

} // namespace velmora
