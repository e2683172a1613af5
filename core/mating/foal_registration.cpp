#include "core/mating/foal_registration.h"

#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/mating/foal_name.h"

#include <algorithm>

namespace velmora {

namespace {

bool Listed(const std::vector<std::u16string>& items, std::u16string_view text)
{
    return std::find(items.begin(), items.end(), text) != items.end();
}

} // namespace

FoalPlan PlanFoal(const MasterData& d, std::u16string_view stallionText, std::u16string_view mareText,
                  const std::vector<std::u16string>& stallionItems, const std::vector<std::u16string>& mareItems,
                  bool stallion)
{
    FoalPlan plan;
    const int sire = FindDad(d, stallionText);
    if (!Listed(stallionItems, stallionText) || !Listed(mareItems, mareText) || sire < 0) {
        plan.message = kMsgChoosePair;
        return plan;
    }
    const DadRec& s = d.DadTable[static_cast<size_t>(sire)];
    FoalEntry& e = plan.entry;
    e.stallion = stallion;
    const std::u16string proposed = FoalName(mareText);
    e.name = FreeHorseName(d, proposed);
    if (e.name != proposed)
        plan.notice
            = proposed + u"は既に登録されている名前なので、" + e.name + u"として入力します。名前は登録前に変えられます";
    e.sire = std::u16string(stallionText);
    e.keito = d.KeitoTable[static_cast<size_t>(CheckedIndex(s.keito, d.KeitoCount))].name;
    e.dam = std::u16string(mareText);
    e.fee = Decimal(s.Fee);
    return plan;
}

bool HorseNameTaken(const MasterData& d, std::u16string_view name)
{
    return FindDad(d, name) >= 0 || FindMam(d, name) >= 0 || FindOya(d, name) >= 0;
}

std::u16string FreeHorseName(const MasterData& d, std::u16string_view name)
{
    std::u16string candidate(name);
    for (int n = 2; HorseNameTaken(d, candidate); ++n)
        candidate = std::u16string(name) + Decimal(n);
    return candidate;
}

void PrefillFoal(DataEditor& editor, const FoalEntry& e)
{
    const bool stallion = e.stallion;
    HorseForm& f = editor.Horse(stallion);
    editor.ClearHorse(stallion); // nothing of another horse stays in the page
    editor.SetHorseName(stallion, e.name);
    editor.SetAncestor(stallion, 1, e.sire);
    f.keito = e.keito;
    f.origin = u"自家";
    if (stallion)
        f.fee = e.fee;
    editor.SetDam(stallion, e.dam);
}

} // namespace velmora
