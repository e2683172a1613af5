#include "core/pedigree/suggest.h"

#include "core/common/errors.h"
#include "core/eval/rules.h"

namespace velmora {

namespace {

// Adds the candidate to the items its arrays earn: 面白 (CheckOmo), 見事 (CheckMig), 完璧 (both),
// よくできた (CheckYok).
void Judge(const MasterData& d, const DadFatherRec& f, const MamFatherRec& m, int horse, SuggestionItem* items)
{
    const bool omo = CheckOmo(d, f, m) == 1;
    const bool mig = CheckMig(d, f, m) == 1;
    if (omo)
        items[0].horses.push_back(horse);
    if (mig)
        items[1].horses.push_back(horse);
    if (omo && mig)
        items[2].horses.push_back(horse);
    if (CheckYok(d, f, m) == 1)
        items[3].horses.push_back(horse);
}

} // namespace

std::vector<SuggestionItem> BuildSuggestions(const MasterData& d, const Chart& c, int k,
                                             const std::vector<int>& stallionOrder, const std::vector<int>& mareOrder)
{
    const SlotRec& s = c.slot[CheckedIndex(k, kChartPositions + 1)];
    std::vector<SuggestionItem> menu;
    const ChartAncestors anc = AncestorsOf(d, c);
    DadFatherRec f;
    MamFatherRec m;
    if (k >= 1 && s.DadIdx >= 0) {
        const size_t first = menu.size();
        for (std::u16string_view caption : kStallionSuggestionCaptions)
            menu.push_back(SuggestionItem { caption, false, {} });
        for (int dad : stallionOrder) {
            TrialStallionArrays(d, anc, k, dad, f, m);
            Judge(d, f, m, dad, &menu[first]);
        }
    }
    if (k >= 1 && k <= kChartMarePositions && s.MamIdx >= 0) {
        const size_t first = menu.size();
        for (std::u16string_view caption : kMareSuggestionCaptions)
            menu.push_back(SuggestionItem { caption, true, {} });
        for (int mam : mareOrder) {
            TrialMareArrays(d, anc, k, mam, f, m);
            Judge(d, f, m, mam, &menu[first]);
        }
    }
    return menu;
}

} // namespace velmora
