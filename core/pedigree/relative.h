#pragma once
// The derivation lookup of the data editing window: the sire, dam's sire or second dam's sire of an
// ancestor, found in the pedigrees already recorded for the stallions and broodmares.

#include "core/data/master_data.h"

#include <string_view>

namespace velmora {

enum class RelativeKind {
    Sire,
    DamSire,
    SecondDamSire,
};

// Scans the stallions, then the broodmares, in table order, for a record holding an ancestor named
// `name` (exact comparison with its OyaTable name) where the record also knows the wanted relative;
// returns that relative's OyaTable index, -1 when no record gives one. Unknown entries never match.
int FindRelative(const MasterData& d, std::u16string_view name, RelativeKind kind);

} // namespace velmora
