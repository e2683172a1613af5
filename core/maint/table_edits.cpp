#include "core/maint/table_edits.h"

#include "core/common/errors.h"
#include "core/data/file_lines.h"

#include <algorithm>

namespace velmora {

namespace {

// An index behind the removed row i moves up with its row; one at i itself is handled by atRemoved.
template <typename AtRemoved> void Follow(int32_t& ref, int i, AtRemoved&& atRemoved)
{
    if (ref == i)
        atRemoved();
    else if (ref > i)
        --ref;
}

template <typename Table> void MoveUp(Table& table, int32_t& count, int i)
{
    std::move(table.begin() + i + 1, table.begin() + count, table.begin() + i);
    --count;
}

// The file line of row i goes with the row.
void EraseSource(FileSource& source, size_t i)
{
    if (i < source.rows.size())
        source.rows.erase(source.rows.begin() + static_cast<std::ptrdiff_t>(i));
}

template <typename Visit> void ForEachHorse(MasterData& d, Visit&& visit)
{
    for (int r = 0; r < d.DadCount; ++r)
        visit(d.DadTable[r]);
    for (int r = 0; r < d.MamCount; ++r)
        visit(d.MamTable[r]);
}

} // namespace

RowUsers OyaUsers(const MasterData& d, int i)
{
    RowUsers u;
    for (int r = 0; r < d.DadCount; ++r)
        u.stallions
            += std::find(d.DadTable[r].Father.begin() + 1, d.DadTable[r].Father.end(), i) != d.DadTable[r].Father.end();
    for (int r = 0; r < d.MamCount; ++r)
        u.mares += std::find(d.MamTable[r].Father.begin(), d.MamTable[r].Father.end(), i) != d.MamTable[r].Father.end();
    return u;
}

RowUsers KeitoUsers(const MasterData& d, int k)
{
    RowUsers u;
    for (int r = 0; r < d.OyaCount; ++r)
        u.ancestors += d.OyaTable[r].keito == k;
    for (int r = 0; r < d.DadCount; ++r)
        u.stallions += d.DadTable[r].keito == k;
    for (int r = 0; r < d.MamCount; ++r)
        u.mares += d.MamTable[r].keito == k;
    for (int n = 0; n < d.NixCount; ++n)
        u.nicks += d.NixList[n].keito1 == k || d.NixList[n].keito2 == k;
    return u;
}

RowUsers KeiroUsers(const MasterData& d, int i)
{
    RowUsers u;
    for (int r = 0; r < d.DadCount; ++r)
        u.stallions += d.DadTable[r].keiro == i;
    for (int r = 0; r < d.MamCount; ++r)
        u.mares += d.MamTable[r].keiro == i;
    return u;
}

void RemoveOyaRow(MasterData& d, int i)
{
    CheckedIndex(i, d.OyaCount);
    const std::u16string name = d.OyaTable[i].name;
    for (int r = 0; r < d.DadCount; ++r) {
        DadRec& h = d.DadTable[r];
        for (int p = 0; p <= 15; ++p)
            Follow(h.Father[p], i, [&] {
                h.Father[p] = -1;
                if (p > 0)
                    KeepUnknown(h.Unknown, p, name);
            });
    }
    for (int r = 0; r < d.MamCount; ++r) {
        MamRec& h = d.MamTable[r];
        for (int e = 0; e < 15; ++e)
            Follow(h.Father[e], i, [&] {
                h.Father[e] = -1;
                KeepUnknown(h.Unknown, e + 1, name);
            });
    }
    MoveUp(d.OyaTable, d.OyaCount, i);
    EraseSource(d.Sources.oya, static_cast<size_t>(i));
}

void RemoveKeitoRow(MasterData& d, int k)
{
    if (k <= 0 || k >= d.KeitoCount)
        throw RangeError(); // row 0 stands for "no line"
    for (int r = 0; r < d.OyaCount; ++r) {
        Follow(d.OyaTable[r].keito, k, [&] { d.OyaTable[r].keito = 0; });
        // A line the loader filled in for a file line of 0 (or one before k) changes nothing the file
        // holds: that file line stays as it is.
        FileSource& source = d.Sources.oya;
        if (static_cast<size_t>(r) < source.rows.size() && StoredOyaLine(source, static_cast<size_t>(r)) < k)
            source.rows[static_cast<size_t>(r)].written = OyaFileLine(d.OyaTable[r]);
    }
    ForEachHorse(d, [&](auto& h) { Follow(h.keito, k, [&] { h.keito = 0; }); });
    int kept = 0;
    for (int n = 0; n < d.NixCount; ++n) {
        NixRec x = d.NixList[n];
        if (x.keito1 == k || x.keito2 == k)
            continue;
        Follow(x.keito1, k, [] {});
        Follow(x.keito2, k, [] {});
        d.NixList[kept++] = x;
    }
    d.NixCount = kept;
    MoveUp(d.KeitoTable, d.KeitoCount, k);
    d.KeitoTable[d.KeitoCount] = KeitoRec {};
    EraseSource(d.Sources.keito, static_cast<size_t>(k));
}

void RemoveKeiro(MasterData& d, int i)
{
    CheckedIndex(i, static_cast<int64_t>(d.KeiroTable.size()));
    if (KeiroUsers(d, i).Horses() > 0)
        throw RangeError();
    ForEachHorse(d, [&](auto& h) { Follow(h.keiro, i, [] {}); });
    d.KeiroTable.erase(d.KeiroTable.begin() + i);
    EraseSource(d.Sources.keiro, static_cast<size_t>(i));
}

void RemoveDadRow(MasterData& d, int i)
{
    CheckedIndex(i, d.DadCount);
    MoveUp(d.DadTable, d.DadCount, i);
    EraseSource(d.Sources.dad, static_cast<size_t>(i));
}

void RemoveMamRow(MasterData& d, int i)
{
    CheckedIndex(i, d.MamCount);
    MoveUp(d.MamTable, d.MamCount, i);
    EraseSource(d.Sources.mam, static_cast<size_t>(i));
}

} // namespace velmora
