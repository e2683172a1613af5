// The viewer's five-entry window over a chain, its bounds, and the arrays built from it.

#include "core/common/errors.h"
#include "core/pedigree/viewer.h"
#include "pedigree_fixture.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::PedigreeData;

namespace {

class ViewerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char16_t* n : { u"S", u"T", u"U", u"V", u"W" })
            data.Stallion(n, 4);
        data.d.DadTable[FindDad(data.d, u"S")].Fee = 5;
        data.Mare(u"M");
        data.Mare(u"M2");
    }
    ParentRec Sire(std::u16string_view n) const
    {
        const int i = FindDad(data.d, n);
        return ParentRec { true, i, std::u16string(n), -1 };
    }
    ParentRec Dam(std::u16string_view n) const
    {
        const int i = FindMam(data.d, n);
        return ParentRec { false, i, std::u16string(n), -1 };
    }
    ParentRec Unknown(std::u16string_view n) const { return ParentRec { true, -1, std::u16string(n), -1 }; }
    const DadFatherRec& F(std::u16string_view n) const { return data.d.DadTable[FindDad(data.d, n)].Father; }
    const MamFatherRec& Fm(std::u16string_view n) const { return data.d.MamTable[FindMam(data.d, n)].Father; }

    std::vector<std::u16string> WindowNames(const ViewerChain& v) const
    {
        std::vector<std::u16string> out;
        for (const ParentRec& e : v.window)
            out.push_back(e.Name);
        return out;
    }

    PedigreeData data;
};

using Names = std::vector<std::u16string>;

} // namespace

TEST_F(ViewerTest, ArrowBoundsFollowTheChainLength)
{
    struct Case
    {
        int length;
        int rightSteps; // how often ">>" is possible from the start
    };
    for (const Case c :
         { Case { 0, 0 }, Case { 1, 0 }, Case { 2, 0 }, Case { 3, 1 }, Case { 4, 2 }, Case { 32, 30 } }) {
        ViewerChain v;
        std::vector<ParentRec> chain;
        for (int i = 0; i < c.length; ++i)
            chain.push_back(Unknown(test::U("n" + std::to_string(i))));
        v.Show(chain);
        EXPECT_EQ(v.offset, 0);
        EXPECT_FALSE(v.CanStepLeft());
        int steps = 0;
        while (v.StepRight())
            ++steps;
        EXPECT_EQ(steps, c.rightSteps) << c.length;
        EXPECT_FALSE(v.CanStepRight());
        EXPECT_EQ(v.CanStepLeft(), steps > 0);
        // The last window shows the chain's last two entries as entries 1 and 2.
        if (c.length >= 2) {
            EXPECT_EQ(v.window[0].Name, chain[c.length - 2].Name);
            EXPECT_EQ(v.window[1].Name, chain[c.length - 1].Name);
            EXPECT_EQ(v.window[2].Name, u"");
        }
        while (v.StepLeft())
            --steps;
        EXPECT_EQ(steps, 0);
        EXPECT_EQ(v.offset, 0);
    }
}

TEST_F(ViewerTest, WindowEntriesBeyondTheChainAreEmpty)
{
    ViewerChain v;
    v.Show({ Sire(u"S"), Sire(u"T"), Dam(u"M") });
    EXPECT_EQ(WindowNames(v), (Names { u"S", u"T", u"M", u"", u"" }));
    EXPECT_EQ(v.window[3].Num, -1);
    EXPECT_TRUE(v.window[3].Sex);
    ASSERT_TRUE(v.StepRight());
    EXPECT_EQ(WindowNames(v), (Names { u"T", u"M", u"", u"", u"" }));
    ASSERT_TRUE(v.StepLeft());
    EXPECT_EQ(WindowNames(v), (Names { u"S", u"T", u"M", u"", u"" }));
    // A replacement changes the window only; a refill brings the chain back.
    v.Replace(2, Sire(u"W"));
    EXPECT_EQ(WindowNames(v), (Names { u"S", u"W", u"M", u"", u"" }));
    v.Refill();
    EXPECT_EQ(WindowNames(v), (Names { u"S", u"T", u"M", u"", u"" }));
    EXPECT_THROW(v.Replace(6, Sire(u"W")), RangeError);
}

TEST_F(ViewerTest, StallionEntriesFillTheirHeapPositions)
{
    const ViewArrays a = BuildViewArrays(data.d, { Sire(u"S"), Sire(u"T"), Sire(u"U"), Sire(u"V"), Sire(u"W") });
    EXPECT_EQ(a.stallion, F(u"S"));
    EXPECT_EQ(a.star, 5);
    // heap position -> (entry's sire, element)
    const std::vector<std::tuple<int, std::u16string, int>> want = {
        { 1, u"T", 0 },  { 2, u"T", 1 },  { 4, u"T", 2 },  { 5, u"T", 3 },  { 8, u"T", 4 },
        { 9, u"T", 5 },  { 10, u"T", 6 }, { 11, u"T", 7 }, { 3, u"U", 0 },  { 6, u"U", 1 },
        { 12, u"U", 2 }, { 13, u"U", 3 }, { 7, u"V", 0 },  { 14, u"V", 1 }, { 15, u"W", 0 },
    };
    ASSERT_EQ(want.size(), 15u); // every position filled exactly once
    for (const auto& [pos, who, el] : want)
        EXPECT_EQ(a.mare[pos - 1], F(who)[el]) << "position " << pos;
}

TEST_F(ViewerTest, AMareFillsHerPositionsAndEndsTheBuilding)
{
    struct Case
    {
        int entry; // where the mare stands (2..5); stallions T, U, V before her
        std::vector<std::pair<int, int>> mareFill; // heap position <- her element (1-based)
        int bold;
    };
    const std::vector<Case> cases = {
        { 2,
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
            { 15, 15 } },
          1 },
        { 3, { { 3, 1 }, { 6, 2 }, { 7, 3 }, { 12, 4 }, { 13, 5 }, { 14, 6 }, { 15, 7 } }, 3 },
        { 4, { { 7, 1 }, { 14, 2 }, { 15, 3 } }, 7 },
        { 5, { { 15, 1 } }, 15 },
    };
    const std::u16string sires[] = { u"T", u"U", u"V" };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        std::array<ParentRec, 5> w { Sire(u"S"), Sire(u"T"), Sire(u"U"), Sire(u"V"), Sire(u"W") };
        w[c.entry - 1] = Dam(u"M");
        for (int e = c.entry; e < 5; ++e) // entries after her are ignored
            w[e] = Sire(u"W");
        const ViewArrays a = BuildViewArrays(data.d, w);
        MamFatherRec want;
        want.fill(-1);
        // Stallions before her, as in the all-stallion case.
        const int sirePos[] = { 1, 3, 7, 15 };
        for (int e = 2; e < c.entry; ++e) {
            const int p = sirePos[e - 2];
            const DadFatherRec& f = F(sires[e - 2]);
            want[p - 1] = f[0];
            if (2 * p <= 15)
                want[2 * p - 1] = f[1];
            if (4 * p <= 15) {
                want[4 * p - 1] = f[2];
                want[4 * p] = f[3];
            }
            if (8 * p <= 15)
                for (int j = 0; j < 4; ++j)
                    want[8 * p + j - 1] = f[4 + j];
        }
        for (auto [pos, el] : c.mareFill)
            want[pos - 1] = Fm(u"M")[el - 1];
        EXPECT_EQ(a.mare, want);
        EXPECT_EQ(BoldMarePosition(w), c.bold);
        EXPECT_EQ(IsBehindMare(w, c.entry), false);
        if (c.entry < 5) {
            EXPECT_EQ(IsBehindMare(w, c.entry + 1), true);
        }
    }
}

TEST_F(ViewerTest, UnknownEntriesLeaveTheirPositionsEmpty)
{
    const ViewArrays a = BuildViewArrays(data.d, { Unknown(u"x"), Unknown(u"y"), Sire(u"U"), Unknown(u""), Dam(u"M") });
    DadFatherRec none;
    none.fill(-1);
    EXPECT_EQ(a.stallion, none);
    EXPECT_EQ(a.star, -1);
    MamFatherRec want;
    want.fill(-1);
    want[3 - 1] = F(u"U")[0];
    want[6 - 1] = F(u"U")[1];
    want[12 - 1] = F(u"U")[2];
    want[13 - 1] = F(u"U")[3];
    want[15 - 1] = Fm(u"M")[0];
    EXPECT_EQ(a.mare, want);
    EXPECT_EQ(BoldMarePosition({ Unknown(u"x"), Unknown(u"y"), Sire(u"U"), Unknown(u""), Unknown(u"") }), 0);
}

TEST_F(ViewerTest, AMareAsEntryOneGivesNoSireAndTheDamSideFromTheRest)
{
    // Stepping with ">>" onto a registered mare in the middle of a chain.
    ViewerChain v;
    v.Show({ Sire(u"S"), Dam(u"M2"), Sire(u"T"), Dam(u"M") });
    ASSERT_TRUE(v.StepRight());
    ASSERT_EQ(v.window[0].Name, u"M2");
    const ViewArrays a = BuildViewArrays(data.d, v.window);
    DadFatherRec none;
    none.fill(-1);
    EXPECT_EQ(a.stallion, none);
    EXPECT_EQ(a.star, -1);
    MamFatherRec want;
    want.fill(-1);
    for (auto [pos, el] : std::vector<std::pair<int, int>> {
             { 1, 0 }, { 2, 1 }, { 4, 2 }, { 5, 3 }, { 8, 4 }, { 9, 5 }, { 10, 6 }, { 11, 7 } })
        want[pos - 1] = F(u"T")[el];
    for (auto [pos, el] :
         std::vector<std::pair<int, int>> { { 3, 1 }, { 6, 2 }, { 7, 3 }, { 12, 4 }, { 13, 5 }, { 14, 6 }, { 15, 7 } })
        want[pos - 1] = Fm(u"M")[el - 1];
    EXPECT_EQ(a.mare, want);
    // The mare at entry 1 makes every later entry unclickable; she is not a bold dam position.
    EXPECT_TRUE(IsBehindMare(v.window, 2));
    EXPECT_FALSE(IsBehindMare(v.window, 1));
    EXPECT_EQ(BoldMarePosition(v.window), 3);
}

TEST_F(ViewerTest, BadIndicesInTheWindowAreRangeErrors)
{
    ParentRec bad { true, data.d.DadCount, u"x", -1 };
    EXPECT_THROW(BuildViewArrays(data.d, { bad, {}, {}, {}, {} }), RangeError);
    ParentRec badMare { false, 700, u"x", -1 };
    EXPECT_THROW(BuildViewArrays(data.d, { Sire(u"S"), badMare, {}, {}, {} }), RangeError);
}
