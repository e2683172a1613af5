#include "core/maint/table_edits.h"

#include "core/common/errors.h"

#include <algorithm>

namespace velmora {

namespace {

// A reference to a removed row i: -1 with the name kept; a reference behind it moves up with its row.
template <typename Keep> void Follow(int32_t& ref, int i, Keep&& keep)
{
    if (ref == i) {
        keep();
        ref = -1;
    } else if (ref > i) {
        --ref;
    }
}

template <typename Table> void MoveUp(Table& table, int& count, int i)
{
    std::move(table.begin() + i + 1, table.begin() + count, table.begin() + i);
    --count;
}

void EraseKept(std::vector<KeptHorseNames>& rows, int i)
{
    if (static_cast<size_t>(i) < rows.size())
        rows.erase(rows.begin() + i);
}

} // namespace

KeptHorseNames& KeptRowFor(KeptNames& kept, bool stallion, int row)
{
    std::vector<KeptHorseNames>& rows = stallion ? kept.dad : kept.mam;
    if (rows.size() <= static_cast<size_t>(row))
        rows.resize(static_cast<size_t>(row) + 1);
    return rows[static_cast<size_t>(row)];
}

void ClearKept(KeptNames& kept, bool stallion, int row)
{
    std::vector<KeptHorseNames>& rows = stallion ? kept.dad : kept.mam;
    if (static_cast<size_t>(row) < rows.size())
        rows[static_cast<size_t>(row)] = KeptHorseNames {};
}

void RemoveOyaRow(MasterData& d, KeptNames& kept, int i)
{
    CheckedIndex(i, d.OyaCount);
    const std::u16string name = d.OyaTable[i].name;
    for (int r = 0; r < d.DadCount; ++r)
        for (int p = 0; p <= 15; ++p)
            Follow(d.DadTable[r].Father[p], i, [&] { KeptRowFor(kept, true, r).ancestors[p] = name; });
    for (int r = 0; r < d.MamCount; ++r)
        for (int e = 0; e < 15; ++e)
            Follow(d.MamTable[r].Father[e], i, [&] { KeptRowFor(kept, false, r).ancestors[e + 1] = name; });
    MoveUp(d.OyaTable, d.OyaCount, i);
}

void RemoveKeitoRow(MasterData& d, KeptNames& kept, int i)
{
    CheckedIndex(i, d.KeitoCount);
    const std::u16string name = d.KeitoTable[i].name;
    for (int r = 0; r < d.DadCount; ++r)
        Follow(d.DadTable[r].keito, i, [&] { KeptRowFor(kept, true, r).keito = name; });
    for (int r = 0; r < d.MamCount; ++r)
        Follow(d.MamTable[r].keito, i, [&] { KeptRowFor(kept, false, r).keito = name; });
    MoveUp(d.KeitoTable, d.KeitoCount, i);
    d.KeitoTable[d.KeitoCount] = KeitoRec {};
}

void RemoveKeiro(MasterData& d, KeptNames& kept, int i)
{
    CheckedIndex(i, static_cast<int64_t>(d.KeiroTable.size()));
    const std::u16string name = d.KeiroTable[i];
    for (int r = 0; r < d.DadCount; ++r)
        Follow(d.DadTable[r].keiro, i, [&] { KeptRowFor(kept, true, r).keiro = name; });
    for (int r = 0; r < d.MamCount; ++r)
        Follow(d.MamTable[r].keiro, i, [&] { KeptRowFor(kept, false, r).keiro = name; });
    d.KeiroTable.erase(d.KeiroTable.begin() + i);
}

void RemoveDadRow(MasterData& d, KeptNames& kept, int i)
{
    CheckedIndex(i, d.DadCount);
    MoveUp(d.DadTable, d.DadCount, i);
    EraseKept(kept.dad, i);
}

void RemoveMamRow(MasterData& d, KeptNames& kept, int i)
{
    CheckedIndex(i, d.MamCount);
    MoveUp(d.MamTable, d.MamCount, i);
    EraseKept(kept.mam, i);
}

} // namespace velmora
