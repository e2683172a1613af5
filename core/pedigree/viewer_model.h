#pragma once
// The pedigree viewer (血統ビューア) without its window: the chain read from the formula, the five-entry
// window stepped along it, the chart and result panels drawn from it, the colour mode, and what a
// click or a double click on one of the five entries' labels does. The window lays out controls,
// forwards events and paints what this returns.

#include "core/eval/colour_legend.h"
#include "core/mating/pair_display.h"
#include "core/pedigree/viewer.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Everything the chart and its panels show.
struct ViewerDisplay
{
    bool drawn = false; // false: the cleared chart of a newly opened window (white, empty)
    PairDisplay pair; // the boxes of stallion positions 0..15 and mare positions 1..15, the panels
    int boldMare = 0; // the mare position whose label is bold (1, 3, 7, 15), 0 for none
    std::array<std::u16string, 17> kosei; // 血統構成 fields 1..16 at [1..16]
};

// Where a window entry's clickable label stands: entry 1 at stallion position 0, entries 2..5 at mare
// positions 1, 3, 7, 15 (the tail-female sires).
struct EntryLabel
{
    bool dadSide = true;
    int position = 0;
};
EntryLabel LabelOfEntry(int entry);
// The entry (1..5) a label stands for; 0 when the label is not clickable.
int EntryOfLabel(bool dadSide, int position);

// The hints of the nitro fields: how the speed and stamina nitro are formed from cross effect rows
// 1..4 (the doubled speed row depends on SpeedCrossRow).
struct NitroHints
{
    std::u16string speed;
    std::u16string stamina;
};
NitroHints MakeNitroHints(const MasterData& d);

// Top of the information box opened under a label: below it, or above it when it would reach past
// the bottom of the window's client area.
int InfoBoxTop(int labelTop, int labelHeight, int boxHeight, int clientHeight);

// The replacement list of a double-clicked entry: the names offered, sorted, and its starting text.
struct ReplacementList
{
    std::vector<std::u16string> items;
    std::u16string text;
};

class PedigreeViewer
{
public:
    explicit PedigreeViewer(const MasterData& d);

    // "表示": reads the formula as a chain and shows it from its first entry. The returned reading
    // holds the folded text for the formula box, the messages to show and the name to select.
    ChainReading Show(std::u16string_view formula, const AliasLookup& alias);
    // ">>" and "<<"; false, nothing changed, when the button is disabled.
    bool StepRight();
    bool StepLeft();
    // The arrow buttons, by the window's place in the chain (both disabled while no chain is shown).
    bool RightEnabled() const { return m_view.CanStepRight(); }
    bool LeftEnabled() const { return m_view.CanStepLeft(); }

    // The legend's click: flips the colour mode. The window redraws the legend and, when the formula
    // box is not empty, shows the formula again (which draws the chart in the new colours).
    void ToggleColourMode() { m_colourMode = !m_colourMode; }
    std::array<LegendEntry, kLegendEntries + 1> Legend() const { return ColourLegend(m_d, m_colourMode); }

    const ViewerDisplay& Display() const { return m_display; }
    const ViewerChain& Chain() const { return m_view; }
    const ViewArrays& Arrays() const { return m_arrays; }
    int32_t CurrentMare() const { return m_carry.currentMare; }
    const std::u16string& AliasCandidate() const { return m_carry.aliasCandidate; }

    // A click on entry's label (1..5): the information box's lines, empty when nothing is shown (the
    // entry stands behind a registered mare, or there is no horse to describe). A registered stallion
    // named by a label that is not bold is described; otherwise the current mare.
    std::vector<std::u16string> InfoLines(int entry) const;

    // A double click on entry's label: the replacement list, or nullopt when the entry stands behind
    // a registered mare. Every stallion and, after entry 1, every broodmare is offered; the list
    // starts with the label's caption.
    std::optional<ReplacementList> Replacement(int entry) const;
    // Choosing `name` in the replacement list: a stallion or a broodmare takes entry's place in the
    // window (not in the chain) and the chart is drawn again; false, nothing changed but the current
    // mare, when the name is neither.
    bool Replace(int entry, std::u16string_view name);

private:
    void Redraw();

    const MasterData& m_d;
    ViewerChain m_view;
    ViewArrays m_arrays;
    ChainCarry m_carry;
    ViewerDisplay m_display;
    bool m_colourMode = true;
};

} // namespace velmora
