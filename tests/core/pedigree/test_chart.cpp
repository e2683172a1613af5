// The editor's chart: placing stallions and mares, reconciling, the mapping onto the pedigree arrays
// and the trial arrays of suggestions.

#include "core/common/errors.h"
#include "core/pedigree/chart.h"
#include "pedigree_fixture.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::PedigreeData;

namespace {

class ChartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        S = data.Stallion(u"S");
        T = data.Stallion(u"T");
        U = data.Stallion(u"U");
        M = data.Mare(u"M");
        M2 = data.Mare(u"M2");
    }
    const DadFatherRec& F(int dad) const { return data.d.DadTable[dad].Father; }
    const MamFatherRec& Fm(int mam) const { return data.d.MamTable[mam].Father; }

    PedigreeData data;
    Chart chart;
    int S, T, U, M, M2;
};

// The positions a line-up fills, as (position, element) pairs.
using Fill = std::vector<std::pair<int, int>>;

} // namespace

TEST(ArraySlot, EveryPositionMapsOntoOneArrayEntry)
{
    // position -> (stallion side?, index)
    const std::pair<bool, int> want[32] = {
        {},
        { true, 0 },
        { true, 1 },
        { false, 1 },
        { true, 2 },
        { true, 3 },
        { false, 2 },
        { false, 3 },
        { true, 4 },
        { true, 5 },
        { true, 6 },
        { true, 7 },
        { false, 4 },
        { false, 5 },
        { false, 6 },
        { false, 7 },
        { true, 8 },
        { true, 9 },
        { true, 10 },
        { true, 11 },
        { true, 12 },
        { true, 13 },
        { true, 14 },
        { true, 15 },
        { false, 8 },
        { false, 9 },
        { false, 10 },
        { false, 11 },
        { false, 12 },
        { false, 13 },
        { false, 14 },
        { false, 15 },
    };
    for (int k = 1; k <= 31; ++k) {
        const ArraySlot a = ArraySlotOf(k);
        EXPECT_EQ(a.stallionSide, want[k].first) << k;
        EXPECT_EQ(a.index, want[k].second) << k;
    }
    EXPECT_THROW(ArraySlotOf(0), RangeError);
    EXPECT_THROW(ArraySlotOf(32), RangeError);
}

TEST_F(ChartTest, PlacingFillsTheAncestryAbove)
{
    struct Case
    {
        bool stallion;
        int k;
        Fill fill; // chart position <- element of the line-up (stallion F[i], mare M element i)
    };
    const std::vector<Case> cases = {
        { true,
          1,
          { { 2, 1 },
            { 4, 2 },
            { 5, 3 },
            { 8, 4 },
            { 9, 5 },
            { 10, 6 },
            { 11, 7 },
            { 16, 8 },
            { 17, 9 },
            { 18, 10 },
            { 19, 11 },
            { 20, 12 },
            { 21, 13 },
            { 22, 14 },
            { 23, 15 } } },
        { true, 2, { { 4, 1 }, { 8, 2 }, { 9, 3 }, { 16, 4 }, { 17, 5 }, { 18, 6 }, { 19, 7 } } },
        { true, 3, { { 6, 1 }, { 12, 2 }, { 13, 3 }, { 24, 4 }, { 25, 5 }, { 26, 6 }, { 27, 7 } } },
        { true, 7, { { 14, 1 }, { 28, 2 }, { 29, 3 } } },
        { true, 15, { { 30, 1 } } },
        { true, 16, {} }, // generation 5: nothing above
        { false,
          1,
          { { 3, 1 },
            { 6, 2 },
            { 7, 3 },
            { 12, 4 },
            { 13, 5 },
            { 14, 6 },
            { 15, 7 },
            { 24, 8 },
            { 25, 9 },
            { 26, 10 },
            { 27, 11 },
            { 28, 12 },
            { 29, 13 },
            { 30, 14 },
            { 31, 15 } } },
        { false, 2, { { 5, 1 }, { 10, 2 }, { 11, 3 }, { 20, 4 }, { 21, 5 }, { 22, 6 }, { 23, 7 } } },
        { false, 7, { { 15, 1 }, { 30, 2 }, { 31, 3 } } },
        { false, 15, { { 31, 1 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.stallion ? "stallion at " : "mare at ") + std::to_string(c.k));
        ClearChart(chart);
        if (c.stallion)
            PlaceStallion(data.d, chart, c.k, T);
        else
            PlaceMare(data.d, chart, c.k, M2);
        std::array<SlotRec, 32> want {};
        want[c.k] = c.stallion ? SlotRec { -1, T, -1 } : SlotRec { -1, -1, M2 };
        for (auto [pos, i] : c.fill)
            want[pos].OyaIdx = c.stallion ? F(T)[i] : Fm(M2)[i - 1];
        for (int k = 1; k <= 31; ++k)
            EXPECT_EQ(chart.slot[k], want[k]) << "position " << k;
    }
}

TEST_F(ChartTest, StallionAndMareAtOneGiveTheirArraysBack)
{
    PlaceStallion(data.d, chart, 1, S);
    PlaceMare(data.d, chart, 1, M);
    DadFatherRec dad;
    MamFatherRec mam;
    ChartToArrays(data.d, chart, dad, mam);
    EXPECT_EQ(dad, F(S));
    EXPECT_EQ(mam, Fm(M));
    EXPECT_EQ(chart.slot[1], (SlotRec { -1, S, M }));
}

TEST_F(ChartTest, StallionAtTwoAfterSAtOneClearsTheDamSideOfS)
{
    PlaceStallion(data.d, chart, 1, S);
    PlaceMare(data.d, chart, 1, M);
    const Chart before = chart;
    PlaceStallion(data.d, chart, 2, T);

    EXPECT_EQ(chart.slot[1], (SlotRec { -1, -1, M })); // S is gone, the mare stays
    EXPECT_EQ(chart.slot[2], (SlotRec { -1, T, -1 }));
    for (int k : { 5, 10, 11, 20, 21, 22, 23 })
        EXPECT_EQ(chart.slot[k], SlotRec {}) << "position " << k;
    // T's own ancestry.
    const Fill tFill = { { 4, 1 }, { 8, 2 }, { 9, 3 }, { 16, 4 }, { 17, 5 }, { 18, 6 }, { 19, 7 } };
    for (auto [pos, i] : tFill)
        EXPECT_EQ(chart.slot[pos], (SlotRec { F(T)[i], -1, -1 })) << "position " << pos;
    // The mare side is untouched.
    for (int k : { 3, 6, 7, 12, 13, 14, 15, 24, 25, 26, 27, 28, 29, 30, 31 })
        EXPECT_EQ(chart.slot[k], before.slot[k]) << "position " << k;
}

TEST_F(ChartTest, StallionAtThreeRemovesTheMareAtOneAndHerDamSide)
{
    PlaceStallion(data.d, chart, 1, S);
    PlaceMare(data.d, chart, 1, M);
    const Chart before = chart;
    PlaceStallion(data.d, chart, 3, T);
    EXPECT_EQ(chart.slot[1], (SlotRec { -1, S, -1 }));
    EXPECT_EQ(chart.slot[3], (SlotRec { -1, T, -1 }));
    for (int k : { 7, 14, 15, 28, 29, 30, 31 })
        EXPECT_EQ(chart.slot[k], SlotRec {}) << "position " << k;
    for (auto [pos, i] : Fill { { 6, 1 }, { 12, 2 }, { 13, 3 }, { 24, 4 }, { 25, 5 }, { 26, 6 }, { 27, 7 } })
        EXPECT_EQ(chart.slot[pos].OyaIdx, F(T)[i]) << "position " << pos;
    // S's side survives: S still stands at 1.
    for (int k : { 2, 4, 5, 8, 9, 10, 11, 16, 17, 18, 19, 20, 21, 22, 23 })
        EXPECT_EQ(chart.slot[k], before.slot[k]) << "position " << k;
}

TEST_F(ChartTest, MareAboveAStallionKeepsHimOnlyOnHerOwnSide)
{
    // A mare as the dam of horse 2 (position 2) belongs to the pedigree of the stallion at 1.
    PlaceStallion(data.d, chart, 1, S);
    PlaceMare(data.d, chart, 2, M2);
    EXPECT_EQ(chart.slot[1].DadIdx, -1);
    EXPECT_EQ(chart.slot[2], (SlotRec { -1, -1, M2 }));
    // Position 2 lost its ancestor (no stallion there), and so did the sire side above it.
    for (int k : { 4, 8, 9, 16, 17, 18, 19 })
        EXPECT_EQ(chart.slot[k], SlotRec {}) << "position " << k;
    for (auto [pos, i] : Fill { { 5, 1 }, { 10, 2 }, { 11, 3 }, { 20, 4 }, { 21, 5 }, { 22, 6 }, { 23, 7 } })
        EXPECT_EQ(chart.slot[pos].OyaIdx, Fm(M2)[i - 1]) << "position " << pos;
}

TEST_F(ChartTest, ClearEmptiesEveryPosition)
{
    PlaceStallion(data.d, chart, 1, S);
    PlaceMare(data.d, chart, 1, M);
    ClearChart(chart);
    for (int k = 0; k <= 31; ++k)
        EXPECT_EQ(chart.slot[k], SlotRec {}) << k;
}

TEST_F(ChartTest, BadPlacementsAreRefused)
{
    EXPECT_THROW(PlaceStallion(data.d, chart, 0, S), RangeError);
    EXPECT_THROW(PlaceStallion(data.d, chart, 32, S), RangeError);
    EXPECT_THROW(PlaceStallion(data.d, chart, 1, -1), RangeError);
    EXPECT_THROW(PlaceStallion(data.d, chart, 1, data.d.DadCount), RangeError);
    EXPECT_THROW(PlaceMare(data.d, chart, 16, M), RangeError); // no dam position above 15
    EXPECT_THROW(PlaceMare(data.d, chart, 1, data.d.MamCount), RangeError);
    for (int k = 1; k <= 31; ++k)
        EXPECT_EQ(chart.slot[k], SlotRec {});
}

TEST_F(ChartTest, TrialArraysWriteOverOneSubtreeAndLeaveTheChart)
{
    PlaceStallion(data.d, chart, 1, S);
    PlaceMare(data.d, chart, 1, M);
    const Chart before = chart;
    const ChartAncestors anc = AncestorsOf(data.d, chart);

    struct Case
    {
        bool stallion;
        int k;
        std::vector<std::pair<int, int>> dad; // stallion-array index <- element
        std::vector<std::pair<int, int>> mam; // mare heap position <- element
    };
    const std::vector<Case> cases = {
        { true,
          1,
          { { 0, 0 },
            { 1, 1 },
            { 2, 2 },
            { 3, 3 },
            { 4, 4 },
            { 5, 5 },
            { 6, 6 },
            { 7, 7 },
            { 8, 8 },
            { 9, 9 },
            { 10, 10 },
            { 11, 11 },
            { 12, 12 },
            { 13, 13 },
            { 14, 14 },
            { 15, 15 } },
          {} },
        { true, 2, { { 1, 0 }, { 2, 1 }, { 4, 2 }, { 5, 3 }, { 8, 4 }, { 9, 5 }, { 10, 6 }, { 11, 7 } }, {} },
        { true, 3, {}, { { 1, 0 }, { 2, 1 }, { 4, 2 }, { 5, 3 }, { 8, 4 }, { 9, 5 }, { 10, 6 }, { 11, 7 } } },
        { true, 16, { { 8, 0 } }, {} },
        { false,
          1,
          {},
          { { 1, 1 },
            { 2, 2 },
            { 3, 3 },
            { 4, 4 },
            { 5, 5 },
            { 6, 6 },
            { 7, 7 },
            { 8, 8 },
            { 9, 9 },
            { 10, 10 },
            { 11, 11 },
            { 12, 12 },
            { 13, 13 },
            { 14, 14 },
            { 15, 15 } } },
        { false, 2, { { 3, 1 }, { 6, 2 }, { 7, 3 }, { 12, 4 }, { 13, 5 }, { 14, 6 }, { 15, 7 } }, {} },
        { false, 15, {}, { { 15, 1 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.stallion ? "stallion at " : "mare at ") + std::to_string(c.k));
        DadFatherRec dad;
        MamFatherRec mam;
        DadFatherRec wantDad = F(S);
        MamFatherRec wantMam = Fm(M);
        for (auto [i, e] : c.dad)
            wantDad[i] = c.stallion ? F(T)[e] : Fm(M2)[e - 1];
        for (auto [p, e] : c.mam)
            wantMam[p - 1] = c.stallion ? F(T)[e] : Fm(M2)[e - 1];
        if (c.stallion)
            TrialStallionArrays(data.d, anc, c.k, T, dad, mam);
        else
            TrialMareArrays(data.d, anc, c.k, M2, dad, mam);
        EXPECT_EQ(dad, wantDad);
        EXPECT_EQ(mam, wantMam);
    }
    for (int k = 1; k <= 31; ++k)
        EXPECT_EQ(chart.slot[k], before.slot[k]);
    DadFatherRec dad;
    MamFatherRec mam;
    EXPECT_THROW(TrialMareArrays(data.d, anc, 16, M2, dad, mam), RangeError);
}
