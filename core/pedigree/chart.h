#pragma once
// The pedigree editor's chart: 31 positions of sires over five generations, the placing of registered
// stallions and mares onto it, and the pedigree arrays it stands for.
//
// Positions form a binary heap of sires: position k shows the sire of horse k, where horse 1 is the
// foal, the sire of horse k is horse 2k and its dam horse 2k+1. Positions 1, 2-3, 4-7, 8-15 and 16-31
// are generations 1 to 5. A stallion placed at k is horse 2k; a mare placed at k is the dam of horse k.

#include "core/data/master_data.h"

#include <array>
#include <cstdint>

namespace velmora {

inline constexpr int kChartPositions = 31;
inline constexpr int kChartMarePositions = 15; // a mare can stand as a dam at positions 1..15 only

// The state of one chart position.
struct SlotRec
{
    int32_t OyaIdx = -1; // ancestor shown here, known only as an ancestor; -1 none
    int32_t DadIdx = -1; // registered stallion placed here by the user; -1 none
    int32_t MamIdx = -1; // registered mare placed here as the dam of horse k (positions 1..15); -1 none
    bool operator==(const SlotRec&) const = default;
};

struct Chart
{
    std::array<SlotRec, kChartPositions + 1> slot {}; // [0] is never filled
};

// The ancestor index of every position (OyaIdx, or a registered stallion's own ancestor entry); [0] = -1.
using ChartAncestors = std::array<int32_t, kChartPositions + 1>;

// Empties positions 1..31.
void ClearChart(Chart& c);

// Places stallion dad (a DadTable index) at position k: his ancestry fills the positions above him,
// the registered horses below him whose pedigree he changes lose their place, and every ancestor that
// depended on them is cleared. Throws RangeError for k outside 1..31 or dad outside the table.
void PlaceStallion(const MasterData& d, Chart& c, int k, int dad);
// Places mare mam (a MamTable index) as the dam of horse k, her ancestry filling the positions from
// 2k+1 up. Throws RangeError for k outside 1..15 or mam outside the table.
void PlaceMare(const MasterData& d, Chart& c, int k, int mam);
// Clears the ancestors at and above p that no registered horse at p supplies any more.
void Reconcile(Chart& c, int p);

// The ancestor index shown at position k, -1 when none.
int32_t AncestorAt(const MasterData& d, const Chart& c, int k);
ChartAncestors AncestorsOf(const MasterData& d, const Chart& c);

// Maps chart positions onto the pedigree arrays generation by generation: the first half of each
// generation's positions to the stallion array (1 -> 0, 2 -> 1, 4-5 -> 2-3, 8-11 -> 4-7, 16-23 -> 8-15),
// the second half to the mare array (3 -> 1, 6-7 -> 2-3, 12-15 -> 4-7, 24-31 -> 8-15).
void AncestorsToArrays(const ChartAncestors& anc, DadFatherRec& dadArray, MamFatherRec& mamArray);
void ChartToArrays(const MasterData& d, const Chart& c, DadFatherRec& dadArray, MamFatherRec& mamArray);

// The arrays the chart would give with stallion dad at k: his DadFatherRec written over the positions
// PlaceStallion fills (F0 at k, F1 at 2k, F2-F3 at 4k.., positions above 31 dropped), nothing else
// changed. For suggestions; allocates nothing.
void TrialStallionArrays(const MasterData& d, const ChartAncestors& anc, int k, int dad, DadFatherRec& dadArray,
                         MamFatherRec& mamArray);
// The same for mare mam as the dam at k (M1 at 2k+1, M2-M3 at 4k+2.., positions above 31 dropped).
void TrialMareArrays(const MasterData& d, const ChartAncestors& anc, int k, int mam, DadFatherRec& dadArray,
                     MamFatherRec& mamArray);

// The position that fills the same pedigree-array entry: the side (true = stallion array) and the
// array index for chart position k (1..31).
struct ArraySlot
{
    bool stallionSide;
    int index; // stallion array 0..15, mare array heap position 1..15
};
ArraySlot ArraySlotOf(int k);

} // namespace velmora
