#include "core/pedigree/viewer.h"

#include "core/common/errors.h"

#include <utility>

namespace velmora {

void ViewerChain::Show(std::vector<ParentRec> entries)
{
    chain = std::move(entries);
    if (chain.size() > static_cast<size_t>(kMaxChainEntries + 1))
        chain.resize(kMaxChainEntries + 1);
    offset = 0;
    Refill();
}

void ViewerChain::Refill()
{
    for (int i = 0; i < kViewEntries; ++i) {
        const int at = offset + i;
        window[i] = (at >= 0 && at < Length()) ? chain[at] : ParentRec {};
    }
}

bool ViewerChain::StepRight()
{
    if (!CanStepRight())
        return false;
    ++offset;
    Refill();
    return true;
}

bool ViewerChain::StepLeft()
{
    if (!CanStepLeft())
        return false;
    --offset;
    Refill();
    return true;
}

void ViewerChain::Replace(int entry, const ParentRec& rec)
{
    window[CheckedIndex(entry - 1, kViewEntries)] = rec;
}

namespace {

// Hands line-up elements first..last, in order, to the heap positions from `start`: one position, then
// each generation doubles the start and the width; positions beyond 15 are dropped.
template <typename Get> void FillHeap(MamFatherRec& mare, int start, int first, int last, Get&& get)
{
    int i = first;
    for (int width = 1; start <= 15 && i <= last; start *= 2, width *= 2)
        for (int j = 0; j < width && i <= last && start + j <= 15; ++j, ++i)
            mare[start + j - 1] = get(i);
}

} // namespace

void BuildViewArrays(const MasterData& d, const std::array<ParentRec, kViewEntries>& window, ViewArrays& out)
{
    out.stallion.fill(-1);
    out.mare.fill(-1);
    out.star = -1;

    const ParentRec& sire = window[0];
    if (sire.Num >= 0 && sire.Sex) {
        const DadRec& r = d.DadTable[CheckedIndex(sire.Num, d.DadCount)];
        out.stallion = r.Father;
        out.star = r.Fee;
    }
    // A registered mare as entry 1 (stepped onto with ">>") has no sire array: it stays unknown and
    // the dam side is built from the entries after her as usual.

    for (int e = 1; e < kViewEntries; ++e) {
        const ParentRec& x = window[e];
        if (x.Num < 0)
            continue;
        const int pos = (1 << e) - 1; // 1, 3, 7, 15
        if (x.Sex) {
            const DadFatherRec& f = d.DadTable[CheckedIndex(x.Num, d.DadCount)].Father;
            // He stands at pos; his sire at 2pos, then 4pos.., as in his own array.
            out.mare[pos - 1] = f[0];
            FillHeap(out.mare, 2 * pos, 1, 7, [&](int i) { return f[i]; });
        } else {
            const MamFatherRec& m = d.MamTable[CheckedIndex(x.Num, d.MamCount)].Father;
            FillHeap(out.mare, pos, 1, 15, [&](int i) { return m[i - 1]; });
            break;
        }
    }
}

ViewArrays BuildViewArrays(const MasterData& d, const std::array<ParentRec, kViewEntries>& window)
{
    ViewArrays out;
    BuildViewArrays(d, window, out);
    return out;
}

int BoldMarePosition(const std::array<ParentRec, kViewEntries>& window)
{
    for (int e = 1; e < kViewEntries; ++e)
        if (!window[e].Sex && window[e].Num >= 0)
            return (1 << e) - 1;
    return 0;
}

bool IsBehindMare(const std::array<ParentRec, kViewEntries>& window, int entry)
{
    const int n = CheckedIndex(entry - 1, kViewEntries);
    for (int e = 0; e < n; ++e)
        if (!window[e].Sex && window[e].Num >= 0)
            return true;
    return false;
}

} // namespace velmora
