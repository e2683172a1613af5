#include "core/data/master_data.h"

#include "core/common/errors.h"

namespace velmora {

MasterData::MasterData()
    : OyaTable(kOyaRows)
    , DadTable(kDadRows)
    , MamTable(kMamRows)
    , KeitoTable(kKeitoRows)
    , CrossTable(kCrossRows)
    , OmokeiTable(kOmokeiRows)
    , NixList(kNixRows)
{
    // The tables start all zero: colours and marks too, so that nothing reads a default it was never given.
    for (auto& c : CrossTable)
        c.Color = 0;
    for (auto& d : DadTable)
        d.Selected = 0;
    for (auto& m : MamTable)
        m.Selected = false;
    KeitoTable[0].name = std::u16string(kUnregistered);
}

MasterData& Master()
{
    static MasterData data;
    return data;
}

namespace {
template <typename Table> int FindByName(const Table& table, int count, std::u16string_view name)
{
    for (int i = 0; i < count; ++i)
        if (table[i].name == name)
            return i;
    return -1;
}
} // namespace

int FindOya(const MasterData& d, std::u16string_view name)
{
    return FindByName(d.OyaTable, d.OyaCount, name);
}
std::u16string_view AncestorNameOf(const MasterData& d, int32_t oya, const UnknownNames& unknown, int position)
{
    if (oya == -1)
        return UnknownAt(unknown, position);
    return d.OyaTable[CheckedIndex(oya, d.OyaCount)].name;
}

int FindDad(const MasterData& d, std::u16string_view name)
{
    return FindByName(d.DadTable, d.DadCount, name);
}
int FindMam(const MasterData& d, std::u16string_view name)
{
    return FindByName(d.MamTable, d.MamCount, name);
}
int FindKeito(const MasterData& d, std::u16string_view name)
{
    return FindByName(d.KeitoTable, d.KeitoCount, name);
}
int FindOmokei(const MasterData& d, std::u16string_view name)
{
    return FindByName(d.OmokeiTable, kOmokeiRows, name);
}

int FindListName(const std::vector<std::u16string>& list, std::u16string_view name)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == name)
            return static_cast<int>(i);
    return -1;
}

int AddOya(MasterData& d, std::u16string_view name, int32_t keito, int32_t a, int32_t b)
{
    if (FindOya(d, name) >= 0)
        return -1;
    const int row = CheckedIndex(d.OyaCount, kOyaRows);
    OyaRec& r = d.OyaTable[row];
    r.name = std::u16string(name);
    r.keito = keito;
    r.omokei = d.KeitoTable[CheckedIndex(keito, kKeitoRows)].value;
    r.a = a;
    r.b = b;
    r.shitei = 0;
    d.OyaCount = row + 1;
    return row;
}

} // namespace velmora
