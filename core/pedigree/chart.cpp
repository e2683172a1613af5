#include "core/pedigree/chart.h"

#include "core/common/errors.h"

#include <bit>

namespace velmora {

namespace {

bool IsPosition(int k)
{
    return k >= 1 && k <= kChartPositions;
}

// Hands the line-up elements firstElement..lastElement, in order, to the heap positions from `start`:
// one position, then each generation doubles the start and the width, while the start is a position.
template <typename Put> void FillAbove(int start, int firstElement, int lastElement, Put&& put)
{
    int i = firstElement;
    for (int width = 1; start <= kChartPositions && i <= lastElement; start *= 2, width *= 2)
        for (int j = 0; j < width && i <= lastElement; ++j, ++i)
            if (start + j <= kChartPositions)
                put(start + j, i);
}

} // namespace

void ClearChart(Chart& c)
{
    for (int k = 1; k <= kChartPositions; ++k)
        c.slot[k] = SlotRec {};
}

void Reconcile(Chart& c, int p)
{
    SlotRec& s = c.slot[CheckedIndex(p, kChartPositions + 1)];
    if (s.DadIdx < 0) {
        s.OyaIdx = -1;
        if (p < 16)
            Reconcile(c, 2 * p);
    }
    if (s.MamIdx < 0) {
        s.OyaIdx = -1;
        if (p < 16)
            Reconcile(c, 2 * p + 1);
    }
}

namespace {
// Step 3 of both placings: reconcile k, then walk down to position 1, removing the registered horses
// whose pedigree includes k.
void InvalidateBelow(Chart& c, int k)
{
    Reconcile(c, k);
    for (int p = k; p > 1; p /= 2) {
        SlotRec& below = c.slot[p / 2];
        if (p % 2 == 0)
            below.DadIdx = -1;
        else
            below.MamIdx = -1;
        Reconcile(c, p / 2);
    }
}
} // namespace

void PlaceStallion(const MasterData& d, Chart& c, int k, int dad)
{
    if (!IsPosition(k) || dad < 0 || dad >= d.DadCount)
        throw RangeError();
    const DadFatherRec& f = d.DadTable[dad].Father;
    c.slot[k].OyaIdx = -1;
    c.slot[k].DadIdx = dad;
    FillAbove(2 * k, 1, 15, [&](int pos, int i) { c.slot[pos] = SlotRec { f[i], -1, -1 }; });
    InvalidateBelow(c, k);
}

void PlaceMare(const MasterData& d, Chart& c, int k, int mam)
{
    if (k < 1 || k > kChartMarePositions || mam < 0 || mam >= d.MamCount)
        throw RangeError();
    const MamFatherRec& m = d.MamTable[mam].Father;
    c.slot[k].OyaIdx = -1;
    c.slot[k].MamIdx = mam;
    FillAbove(2 * k + 1, 1, 15, [&](int pos, int i) { c.slot[pos] = SlotRec { m[i - 1], -1, -1 }; });
    InvalidateBelow(c, k);
}

int32_t AncestorAt(const MasterData& d, const Chart& c, int k)
{
    const SlotRec& s = c.slot[CheckedIndex(k, kChartPositions + 1)];
    if (s.DadIdx >= 0)
        return d.DadTable[CheckedIndex(s.DadIdx, d.DadCount)].Father[0];
    return s.OyaIdx;
}

ChartAncestors AncestorsOf(const MasterData& d, const Chart& c)
{
    ChartAncestors anc;
    anc[0] = -1;
    for (int k = 1; k <= kChartPositions; ++k)
        anc[k] = AncestorAt(d, c, k);
    return anc;
}

ArraySlot ArraySlotOf(int k)
{
    CheckedIndex(k - 1, kChartPositions);
    if (k == 1)
        return { true, 0 };
    const int genStart = std::bit_floor(static_cast<unsigned>(k)); // 2^(g-1)
    const int half = genStart / 2; // 2^(g-2)
    const int offset = k - genStart;
    if (offset < half)
        return { true, half + offset };
    return { false, offset }; // the second half: heap positions 1.., 2-3, 4-7, 8-15
}

void AncestorsToArrays(const ChartAncestors& anc, DadFatherRec& dadArray, MamFatherRec& mamArray)
{
    for (int k = 1; k <= kChartPositions; ++k) {
        const ArraySlot a = ArraySlotOf(k);
        if (a.stallionSide)
            dadArray[a.index] = anc[k];
        else
            mamArray[a.index - 1] = anc[k];
    }
}

void ChartToArrays(const MasterData& d, const Chart& c, DadFatherRec& dadArray, MamFatherRec& mamArray)
{
    AncestorsToArrays(AncestorsOf(d, c), dadArray, mamArray);
}

namespace {
void Put(int k, int32_t value, DadFatherRec& dadArray, MamFatherRec& mamArray)
{
    const ArraySlot a = ArraySlotOf(k);
    if (a.stallionSide)
        dadArray[a.index] = value;
    else
        mamArray[a.index - 1] = value;
}
} // namespace

void TrialStallionArrays(const MasterData& d, const ChartAncestors& anc, int k, int dad, DadFatherRec& dadArray,
                         MamFatherRec& mamArray)
{
    if (!IsPosition(k) || dad < 0 || dad >= d.DadCount)
        throw RangeError();
    AncestorsToArrays(anc, dadArray, mamArray);
    const DadFatherRec& f = d.DadTable[dad].Father;
    Put(k, f[0], dadArray, mamArray);
    FillAbove(2 * k, 1, 15, [&](int pos, int i) { Put(pos, f[i], dadArray, mamArray); });
}

void TrialMareArrays(const MasterData& d, const ChartAncestors& anc, int k, int mam, DadFatherRec& dadArray,
                     MamFatherRec& mamArray)
{
    if (k < 1 || k > kChartMarePositions || mam < 0 || mam >= d.MamCount)
        throw RangeError();
    AncestorsToArrays(anc, dadArray, mamArray);
    const MamFatherRec& m = d.MamTable[mam].Father;
    FillAbove(2 * k + 1, 1, 15, [&](int pos, int i) { Put(pos, m[i - 1], dadArray, mamArray); });
}

} // namespace velmora
