#pragma once
// Pedigree positions of the male ancestors over four generations, the chains along them, and how a
// chain's sire line and interesting-line group are found.
//
// Positions 1..15 are numbered generation by generation (generation g holds 2^(g-1) .. 2^g - 1); the
// sire of position p is 2p. Position 0 is the horse itself. A stallion's array F (DadFatherRec) holds
// F[0] = the stallion and F[p] = position p; a broodmare's array (MamFatherRec) holds position p in
// element p - 1. An entry is known when it is >= 0 (an OyaTable row); -1 is unknown.

#include "core/common/errors.h"
#include "core/data/master_data.h"

#include <cstdint>

namespace velmora {

// Start of the chain that begins at the stallion himself: 0, 1, 2, 4, 8.
constexpr int kSelfChain = 0;

// Generation (1..4) of a position 1..15.
constexpr int PositionGeneration(int p)
{
    return p >= 8 ? 4 : p >= 4 ? 3 : p >= 2 ? 2 : 1;
}

// The broodmare's position p (1..15).
inline int32_t MamAt(const MamFatherRec& m, int p)
{
    return m[static_cast<size_t>(p - 1)];
}

// Two entries hold the same horse: both known and equal. An unknown entry is never the same horse
// as anything, another unknown entry included.
constexpr bool SameHorse(int32_t x, int32_t y)
{
    return x >= 0 && x == y;
}

// The ancestor row of a known entry; throws RangeError when the index lies outside OyaTable.
inline const OyaRec& OyaAt(const MasterData& d, int32_t index)
{
    return CheckedAt(d.OyaTable, index);
}

// The interesting-line group of an ancestor row. The search fills empty groups while other threads
// evaluate, so the field is read atomically.
inline int32_t GroupOf(const OyaRec& r)
{
    return __atomic_load_n(&r.omokei, __ATOMIC_RELAXED);
}

// The first known entry along the chain starting at stallion position p (p, 2p, 4p, ... up to 15;
// p = 0 gives 0, 1, 2, 4, 8), or -1 when the chain holds no known horse.
int32_t DadChainHorse(const DadFatherRec& f, int p);
// The same for a broodmare chain starting at position p (1..15).
int32_t MamChainHorse(const MamFatherRec& m, int p);

// Line (keito) and group (omokei) of a chain: the value of the chain's horse, which may be 0 (a known
// horse with line 0 ends the chain); -1 when the chain has no horse.
int32_t DadChainLine(const MasterData& d, const DadFatherRec& f, int p);
int32_t MamChainLine(const MasterData& d, const MamFatherRec& m, int p);
int32_t DadChainGroup(const MasterData& d, const DadFatherRec& f, int p);
int32_t MamChainGroup(const MasterData& d, const MamFatherRec& m, int p);

// The 15-position array of a foal of stallion F and broodmare M, shaped like a broodmare's:
// C(1) = F[0]; C(2), C(3) = F[1], M(1); C(4), C(5) = F[2], F[3]; C(6), C(7) = M(2), M(3);
// C(8..11) = F[4..7]; C(12..15) = M(4..7).
MamFatherRec FoalArray(const DadFatherRec& f, const MamFatherRec& m);

// An array with every entry unknown.
inline DadFatherRec UnknownDadArray()
{
    DadFatherRec f;
    f.fill(-1);
    return f;
}
inline MamFatherRec UnknownMamArray()
{
    MamFatherRec m;
    m.fill(-1);
    return m;
}

} // namespace velmora
