#include "core/mating/ordering.h"

#include "core/common/errors.h"
#include "core/eval/nix_index.h"
#include "core/mating/scoring.h"

#include <algorithm>
#include <utility>

namespace velmora {

namespace {

char16_t Fold(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// The partition sort of the lists. `Cmp(row, pivot)` < 0 when the row comes before the pivot key,
// > 0 when after. The pivot key is taken once per call, from the middle row.
template <typename Pivot, typename KeyOf, typename Cmp>
void PartitionSort(std::span<ListRow> rows, int lo, int hi, KeyOf keyOf, Cmp cmp)
{
    while (lo < hi) {
        const Pivot pivot = keyOf(rows[static_cast<size_t>((lo + hi) / 2)]);
        int l = lo;
        int r = hi;
        while (l < r) {
            while (cmp(rows[static_cast<size_t>(l)], pivot) < 0 && l < hi)
                ++l;
            while (cmp(rows[static_cast<size_t>(r)], pivot) > 0 && r > lo)
                --r;
            if (l < r) {
                std::swap(rows[static_cast<size_t>(l)], rows[static_cast<size_t>(r)]);
                --r;
                ++l;
            }
        }
        if (r < l)
            l = r;
        PartitionSort<Pivot>(rows, lo, l, keyOf, cmp);
        // The second part: L+1..hi when L = lo, else L..hi (handled by the loop to save stack).
        lo = l == lo ? l + 1 : l;
    }
}

template <typename KeyOf> void SortDescending(std::span<ListRow> rows, KeyOf keyOf)
{
    PartitionSort<int32_t>(rows, 0, static_cast<int>(rows.size()) - 1, keyOf, [&](const ListRow& row, int32_t p) {
        const int32_t k = keyOf(row);
        return k > p ? -1 : k < p ? 1 : 0;
    });
}

template <typename NameOf> void SortByName(std::span<ListRow> rows, NameOf nameOf)
{
    PartitionSort<std::u16string_view>(
        rows, 0, static_cast<int>(rows.size()) - 1, nameOf,
        [&](const ListRow& row, std::u16string_view p) { return CompareHorseNames(nameOf(row), p); });
}

} // namespace

const DadRec& StallionOf(const MasterData& d, const ListRow& row)
{
    return CheckedAt(d.DadTable, row.index);
}

const MamRec& MareOf(const MasterData& d, const ListRow& row)
{
    return CheckedAt(d.MamTable, row.index);
}

int CompareHorseNames(std::u16string_view x, std::u16string_view y)
{
    const size_t n = x.size() < y.size() ? x.size() : y.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t a = Fold(x[i]);
        const char16_t b = Fold(y[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

void SortHorseNames(std::vector<std::u16string>& names)
{
    std::stable_sort(names.begin(), names.end(),
                     [](const std::u16string& x, const std::u16string& y) { return CompareHorseNames(x, y) < 0; });
}

void SortRows(const MasterData& d, std::span<ListRow> rows, ListOrder order)
{
    switch (order) {
    case ListOrder::StallionStar:
        SortDescending(rows, [&](const ListRow& r) { return StallionOf(d, r).Fee; });
        break;
    case ListOrder::StallionName:
        SortByName(rows, [&](const ListRow& r) { return std::u16string_view(StallionOf(d, r).name); });
        break;
    case ListOrder::MarePrice:
        SortDescending(rows, [&](const ListRow& r) { return MareOf(d, r).Fee; });
        break;
    case ListOrder::MareName:
        SortByName(rows, [&](const ListRow& r) { return std::u16string_view(MareOf(d, r).name); });
        break;
    case ListOrder::StallionCompat:
    case ListOrder::MareCompat:
        SortDescending(rows, [](const ListRow& r) { return r.key; });
        break;
    }
}

void SetStallionKeys(const MasterData& d, const PtsRec& pts, std::span<ListRow> rows, const MamRec& mare,
                     int32_t mareStatus)
{
    const NixIndex nix(d);
    for (ListRow& r : rows)
        r.key = CompatSum(pts, StallionOf(d, r), mare, PairScore(d, pts, StallionOf(d, r), mare, nullptr, &nix),
                          r.status, mareStatus);
}

void SetMareKeys(const MasterData& d, const PtsRec& pts, std::span<ListRow> rows, const DadRec& stallion,
                 int32_t stallionStatus)
{
    const NixIndex nix(d);
    for (ListRow& r : rows)
        r.key = CompatSum(pts, stallion, MareOf(d, r), PairScore(d, pts, stallion, MareOf(d, r), nullptr, &nix),
                          stallionStatus, r.status);
}

void CompetitionRanks(std::span<const ListRow> rows, std::span<int32_t> ranks)
{
    for (size_t i = 0; i < rows.size() && i < ranks.size(); ++i)
        ranks[i] = i > 0 && rows[i].key == rows[i - 1].key ? ranks[i - 1] : static_cast<int32_t>(i + 1);
}

bool BandContains(const TFeeButton& band, int k, int32_t v)
{
    if (k == 1)
        return band.Kagen <= v && v <= band.Jogen;
    return band.Kagen <= v && v < band.Jogen;
}

} // namespace velmora
