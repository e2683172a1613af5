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
    e.name = FoalName(mareText);
    e.sire = std::u16string(stallionText);
    e.keito = d.KeitoTable[static_cast<size_t>(CheckedIndex(s.keito, d.KeitoCount))].name;
    e.dam = std::u16string(mareText);
    e.fee = Decimal(s.Fee);
    return plan;
}

void PrefillFoal(DataEditor& editor, const FoalEntry& e)
{
    const bool stallion = e.stallion;
    HorseForm& f = editor.Horse(stallion);
    editor.SetHorseName(stallion, e.name);
    editor.SetAncestor(stallion, 1, e.sire);
    f.keito = e.keito;
    f.origin = u"自家";
    if (stallion)
        f.fee = e.fee;
    editor.SetDam(stallion, e.dam);
}

} // namespace velmora
