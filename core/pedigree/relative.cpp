#include "core/pedigree/relative.h"

#include "core/common/errors.h"

namespace velmora {

namespace {

bool Holds(const MasterData& d, int32_t entry, std::u16string_view name)
{
    return entry >= 0 && d.OyaTable[CheckedIndex(entry, d.OyaCount)].name == name;
}

// The relative in a stallion's array (positions 0..15); -1 when this record gives nothing.
int32_t FromStallion(const MasterData& d, const DadFatherRec& f, std::u16string_view name, RelativeKind kind)
{
    switch (kind) {
    case RelativeKind::Sire:
        if (Holds(d, f[0], name))
            return f[1];
        for (int j = 1; j <= 7; ++j)
            if (Holds(d, f[j], name))
                return f[2 * j];
        return -1;
    case RelativeKind::DamSire:
        if (Holds(d, f[0], name))
            return f[3];
        for (int j = 1; j <= 3; ++j)
            if (Holds(d, f[j], name))
                return f[4 * j + 1];
        return -1;
    case RelativeKind::SecondDamSire:
        if (Holds(d, f[0], name))
            return f[7];
        if (Holds(d, f[1], name))
            return f[11];
        return -1;
    }
    return -1;
}

// The same in a broodmare's array (element p-1 = position p).
int32_t FromMare(const MasterData& d, const MamFatherRec& m, std::u16string_view name, RelativeKind kind)
{
    auto at = [&](int p) { return m[p - 1]; };
    switch (kind) {
    case RelativeKind::Sire:
        for (int j = 1; j <= 7; ++j)
            if (Holds(d, at(j), name))
                return at(2 * j);
        return -1;
    case RelativeKind::DamSire:
        for (int j = 1; j <= 3; ++j)
            if (Holds(d, at(j), name))
                return at(4 * j + 1);
        return -1;
    case RelativeKind::SecondDamSire:
        if (Holds(d, at(1), name))
            return at(11);
        return -1;
    }
    return -1;
}

} // namespace

int FindRelative(const MasterData& d, std::u16string_view name, RelativeKind kind)
{
    for (int i = 0; i < d.DadCount; ++i)
        if (const int32_t r = FromStallion(d, d.DadTable[i].Father, name, kind); r >= 0)
            return r;
    for (int i = 0; i < d.MamCount; ++i)
        if (const int32_t r = FromMare(d, d.MamTable[i].Father, name, kind); r >= 0)
            return r;
    return -1;
}

} // namespace velmora
