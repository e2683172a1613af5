#pragma once
// The tree reading of pedigree formulas onto the editor's chart, and the writer that turns a chart back
// into captions and, once every position is named, into a formula.
//
// Tree notation: "S * M" is stallion S mated with registered mare M; "S * (T * M)" is S mated with a
// daughter of T out of M; "(A * B) * M" is a son of A out of B mated with M; "(T)" on the right names
// an unregistered mare by her sire T.

#include "core/pedigree/chart.h"
#include "core/pedigree/formula.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr std::u16string_view kMsgCannotAnalyse = u"血統が解析できません";

// The editor's formula box as the tree reading sees it: its text and its selection.
struct FormulaBox
{
    std::u16string text;
    TextRange selection;
    bool hasSelection = false;

    // Selects s where it first stands as a whole name (FindWholeName), else its first occurrence;
    // false (selection unchanged) when the text lacks it.
    bool SelectFirst(std::u16string_view s);
};

// What the tree reading works on.
struct TreeContext
{
    const MasterData& data;
    Chart& chart;
    FormulaBox& box;
    AliasLookup alias; // may be empty
    // The list items the reading selected last (table indices), -1 when it selected none.
    int selectedDad = -1;
    int selectedMam = -1;
    // Registered mares the reading met above position 15, where the chart has no place for them.
    std::vector<std::u16string> leftOut {};
};

// Tree reading of text placed at chart position k: 1 success, 0 a name that is neither a stallion nor a
// mare (it is then selected in the box), -1 a text that cannot be analysed (unbalanced or misplaced
// brackets, a position beyond 31). A registered mare named above position 15 has no dam position on
// the chart: she is accepted and selected but leaves the chart unchanged, and her name is added to
// ctx.leftOut. An alias of a plain name replaces the name in the box. Placements made before a failure
// stay on the chart.
int ReadTree(TreeContext& ctx, int k, std::u16string_view text);

// "表示": folds the box's text (ToHalfWidth), blank-trims it, writes it back and reads it at position 1.
// Returns ReadTree's result; *message receives "血統が解析できません" for a result below 0, and names
// the mares that were left out for a reading that went through.
int ShowTreeFormula(TreeContext& ctx, std::u16string* message = nullptr);

// The captions of every chart position, built from generation 5 down.
struct ChartCaptions
{
    std::array<std::u16string, kChartPositions + 1> caption; // [0] unused
    bool complete = false; // no "?" was written in generations 4 and 5
    std::u16string formula; // caption 1 without its line breaks; empty when incomplete
};

ChartCaptions BuildCaptions(const MasterData& d, const Chart& c);

// The caption shown at position k (1..31); for k = 1 also the chart's formula and completeness.
std::u16string SlotCaption(const MasterData& d, const Chart& c, int k, bool* complete = nullptr,
                           std::u16string* formula = nullptr);

} // namespace velmora
