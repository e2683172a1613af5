#pragma once
// The editor's suggestions: for a registered stallion or mare on the chart, the stallions or mares
// that would make the mating interesting, splendid, perfect (both) or well made in his or her place.

#include "core/pedigree/chart.h"

#include <array>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr std::array<std::u16string_view, 4> kStallionSuggestionCaptions
    = { u"種牡馬面白", u"種牡馬見事", u"種牡馬完璧", u"種牡馬よくできた" };
inline constexpr std::array<std::u16string_view, 4> kMareSuggestionCaptions
    = { u"牝馬面白", u"牝馬見事", u"牝馬完璧", u"牝馬よくできた" };

// One menu item with its sub-items (DadTable or MamTable indices, in the candidates' order).
struct SuggestionItem
{
    std::u16string_view caption;
    bool mares = false;
    std::vector<int> horses;
};

// The menu for chart position k: four stallion items when k holds a registered stallion, then four
// mare items when it holds a registered mare (a mare only at 1..15); empty when neither. Candidates
// are tried in the order given (the editor's list order); each is judged on the arrays the chart
// would give with him or her in place (TrialStallionArrays / TrialMareArrays), the chart unchanged.
std::vector<SuggestionItem> BuildSuggestions(const MasterData& d, const Chart& c, int k,
                                             const std::vector<int>& stallionOrder, const std::vector<int>& mareOrder);

} // namespace velmora
