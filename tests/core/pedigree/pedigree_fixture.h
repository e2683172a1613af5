#pragma once
// A small master data set written by the tests: ancestors, stallions and mares whose pedigrees are
// either generated (every ancestor named NAME_p for position p) or given name by name.

#include "core/data/master_data.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace velmora::test {

inline std::u16string U(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

class PedigreeData
{
public:
    MasterData d;

    // The ancestor row of name, added when new; "" gives -1 (an unknown entry).
    int Oya(const std::u16string& name)
    {
        if (name.empty())
            return -1;
        if (const int i = FindOya(d, name); i >= 0)
            return i;
        return AddOya(d, name, 0, 0, 0);
    }

    // A stallion whose own ancestor row is his name and whose positions 1..15 are named in `anc`
    // ("" = unknown); missing trailing names are generated as NAME_p.
    int Stallion(const std::u16string& name, int fee = 3, std::vector<std::u16string> anc = {})
    {
        const int row = d.DadCount++;
        DadRec& r = d.DadTable[row];
        r.name = name;
        r.Fee = fee;
        r.Father[0] = Oya(name);
        for (int p = 1; p <= 15; ++p)
            r.Father[p] = Oya(p <= static_cast<int>(anc.size()) ? anc[p - 1] : name + u"_" + U(std::to_string(p)));
        return row;
    }

    // A mare whose positions 1..15 are named in `anc` as above.
    int Mare(const std::u16string& name, std::vector<std::u16string> anc = {})
    {
        const int row = d.MamCount++;
        MamRec& r = d.MamTable[row];
        r.name = name;
        for (int p = 1; p <= 15; ++p)
            r.Father[p - 1] = Oya(p <= static_cast<int>(anc.size()) ? anc[p - 1] : name + u"_" + U(std::to_string(p)));
        return row;
    }

    std::u16string OyaName(int i) const { return i < 0 ? u"" : d.OyaTable[i].name; }
};

} // namespace velmora::test
