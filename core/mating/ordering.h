#pragma once
// The rows of the optimal-mating lists, their six orders with the list's own partition sort (which
// fixes where equal keys end up), the compatibility keys, and the filter bands' containment rule.

#include "core/data/master_data.h"
#include "core/mating/points.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One row of the stallion or broodmare list.
struct ListRow
{
    int32_t index = 0; // row of DadTable or MamTable
    int32_t key = 0; // compatibility value of the last ordering by compatibility
    int32_t status = 0; // the horse's own status points, computed when the row was made

    bool operator==(const ListRow&) const = default;
};

// The horse a list row stands for (its index is checked).
const DadRec& StallionOf(const MasterData& d, const ListRow& row);
const MamRec& MareOf(const MasterData& d, const ListRow& row);

enum class ListOrder {
    StallionStar, // ★順: star rank, highest first
    StallionName, // 名前順
    StallionCompat, // 相性順: key, highest first
    MarePrice, // 基本料順: base price, highest first
    MareName, // 名前順
    MareCompat, // 相性順: key, highest first
};

// Names compare code unit by code unit with a-z folded to upper case: <0, 0, >0.
int CompareHorseNames(std::u16string_view x, std::u16string_view y);
// Sorts names in that order, keeping equal names in their given order (the sorted name lists).
void SortHorseNames(std::vector<std::u16string>& names);

// Sorts the rows in place by the order (stallion orders read DadTable, mare orders MamTable), with
// the list's partition sort; the result for equal keys depends on the rows' current order.
void SortRows(const MasterData& d, std::span<ListRow> rows, ListOrder order);

// Sets every stallion row's key to PairScore(row's stallion, mare) + row status + mareStatus.
void SetStallionKeys(const MasterData& d, const PtsRec& pts, std::span<ListRow> rows, const MamRec& mare,
                     int32_t mareStatus);
// Sets every mare row's key to PairScore(stallion, row's mare) + row status + stallionStatus.
void SetMareKeys(const MasterData& d, const PtsRec& pts, std::span<ListRow> rows, const DadRec& stallion,
                 int32_t stallionStatus);

// Competition ranks of rows in their order (900, 850, 850, 700 -> 1, 2, 2, 4); ranks[i] for rows[i].
void CompetitionRanks(std::span<const ListRow> rows, std::span<int32_t> ranks);

// Whether filter band number k (1-based) contains v: Kagen <= v <= Jogen for band 1, Kagen <= v < Jogen
// for every other band.
bool BandContains(const TFeeButton& band, int k, int32_t v);

} // namespace velmora
