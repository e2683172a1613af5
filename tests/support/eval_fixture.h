#pragma once
// Small in-memory master data for evaluation and scoring tests: ancestors with chosen lines, groups
// and effects, and pedigree arrays filled position by position.

#include "core/data/master_data.h"
#include "core/eval/positions.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace velmora::test {

struct EvalFixture
{
    MasterData d;

    EvalFixture()
    {
        d.CrossTable[0].name = u"　　　　";
        d.CrossTable[0].Color = 0xFFFFFF;
        d.OmokeiTable[0].name = std::u16string(kUnregistered);
        d.OmokeiTable[0].lbl = u"未";
        d.OmokeiTable[0].value = 0xFFFFFF;
    }

    // Appends an ancestor and returns its index.
    int Horse(std::u16string name, int keito = 0, int a = 0, int b = 0, int omokei = 0)
    {
        const int i = d.OyaCount++;
        OyaRec& r = d.OyaTable[static_cast<size_t>(i)];
        r.name = std::move(name);
        r.keito = keito;
        r.a = a;
        r.b = b;
        r.omokei = omokei;
        return i;
    }

    // An ancestor that only carries a group (for the interesting / splendid tests).
    int GroupHorse(int omokei)
    {
        return Horse(u"G" + std::u16string(1, char16_t(u'0' + d.OyaCount % 10)), 0, 0, 0, omokei);
    }

    void Nix(int keito1, int keito2, int value)
    {
        d.NixList[static_cast<size_t>(d.NixCount++)] = { keito1, keito2, value };
    }
};

// Arrays with every entry unknown except the listed (position, horse) pairs. Mare positions are 1..15.
inline DadFatherRec DadArray(std::initializer_list<std::pair<int, int>> entries)
{
    DadFatherRec f = UnknownDadArray();
    for (auto [p, h] : entries)
        f[static_cast<size_t>(p)] = h;
    return f;
}

inline MamFatherRec MamArray(std::initializer_list<std::pair<int, int>> entries)
{
    MamFatherRec m = UnknownMamArray();
    for (auto [p, h] : entries)
        m[static_cast<size_t>(p - 1)] = h;
    return m;
}

} // namespace velmora::test
