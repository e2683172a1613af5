#pragma once
// The pedigree viewer's window over a read chain: five consecutive entries form a mating (entry 1 the
// sire of the shown foal, entries 2..5 the dam's sire and the second, third and fourth dam's sires),
// stepped along the chain with ">>" and "<<", and the pedigree arrays built from them.

#include "core/pedigree/formula.h"

#include <array>
#include <vector>

namespace velmora {

inline constexpr int kViewEntries = 5;

struct ViewerChain
{
    std::vector<ParentRec> chain; // ParentChain, at most 32 entries
    std::array<ParentRec, kViewEntries> window; // ViewWindow entries 1..5 at [0..4]
    int offset = 0; // ViewOffset: chain index shown as entry 1

    int Length() const { return static_cast<int>(chain.size()); }
    // ">>" is enabled while offset < length - 2; "<<" while offset > 0.
    bool CanStepRight() const { return offset < Length() - 2; }
    bool CanStepLeft() const { return offset > 0; }

    // Takes a new chain and shows it from its start.
    void Show(std::vector<ParentRec> entries);
    // ">>" and "<<": move one entry; false, nothing changed, when the button would be disabled.
    bool StepRight();
    bool StepLeft();
    // Refills the window from the chain at the current offset; entries past the end are empty.
    void Refill();
    // Replaces window entry `entry` (1..5) without touching the chain, as the replacement list does.
    void Replace(int entry, const ParentRec& rec);
};

// The pedigree arrays of a viewer window.
struct ViewArrays
{
    DadFatherRec stallion; // positions 0..15, 0 = the sire himself
    MamFatherRec mare; // element p-1 = heap position p, 1 = the dam's sire
    int32_t star = -1; // the sire's Fee; -1 when entry 1 is not a registered stallion
};

// Builds the arrays from the five window entries: entry 1 gives the stallion array (all unknown when
// it is unknown or a registered mare); entries 2..5 in turn fill the mare array, a stallion entered at
// tail-female depth d standing at heap position 2^d - 1 with his ancestors above him, a registered mare
// filling her sire's place and his ancestry and ending the building. Allocates nothing.
void BuildViewArrays(const MasterData& d, const std::array<ParentRec, kViewEntries>& window, ViewArrays& out);
ViewArrays BuildViewArrays(const MasterData& d, const std::array<ParentRec, kViewEntries>& window);

// The mare position whose label is bold: 1, 3, 7 or 15 for the first registered mare among entries
// 2..5; 0 when there is none.
int BoldMarePosition(const std::array<ParentRec, kViewEntries>& window);
// Whether a window entry before `entry` (1..5) is a registered mare: clicks on that entry do nothing.
bool IsBehindMare(const std::array<ParentRec, kViewEntries>& window, int entry);

} // namespace velmora
