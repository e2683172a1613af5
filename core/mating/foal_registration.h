#pragma once
// Registering the planned foal of the chosen pair as a home-bred broodmare ("牝馬登録") or stallion
// ("牡馬登録"): what the optimal-mating window checks, and what it puts into the data editing window
// before the user completes and confirms the entry there.

#include "core/maint/data_editor.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr std::u16string_view kMsgChoosePair = u"種牡馬及び繁殖牝馬を選択してから押して下さい";

// What the pair determines of the foal's entry.
struct FoalEntry
{
    bool stallion = false; // 牡馬登録: the stallion page; otherwise the broodmare page
    std::u16string name; // the proposed name (FoalName of the dam)
    std::u16string sire; // ancestor position 1
    std::u16string keito; // the sire's line
    std::u16string dam;
    std::u16string fee; // stallion page only: the sire's star rank in decimal
};

struct FoalPlan
{
    std::u16string message; // shown instead of opening anything when not empty
    std::u16string notice; // shown before the entry opens: the proposed name was taken, another is offered
    FoalEntry entry;
};

// Whether a stallion, a broodmare or an ancestor has the name already.
bool HorseNameTaken(const MasterData& d, std::u16string_view name);
// The name itself when it is free, else the name followed by the smallest number from 2 that is free.
std::u16string FreeHorseName(const MasterData& d, std::u16string_view name);

// The check and the entry of both commands: the texts of the two name boxes must each be one of their
// list's items; the sire is then found by name among the stallions. A foal name that some horse has
// already is never proposed (the foal would replace that horse): a free one is, with a notice.
FoalPlan PlanFoal(const MasterData& d, std::u16string_view stallionText, std::u16string_view mareText,
                  const std::vector<std::u16string>& stallionItems, const std::vector<std::u16string>& mareItems,
                  bool stallion);

// Puts the entry into the data editing model, its page already entered, each field as if typed into an
// emptied page: the name, the sire (which fills his side), the line, the origin "自家", the star rank
// (stallion page only) and last the dam (which fills her side).
void PrefillFoal(DataEditor& editor, const FoalEntry& entry);

} // namespace velmora
