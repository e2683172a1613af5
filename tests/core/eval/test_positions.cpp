#include "core/common/errors.h"
#include "core/eval/positions.h"
#include "tests/support/eval_fixture.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::DadArray;
using test::EvalFixture;
using test::MamArray;

TEST(Positions, GenerationsFollowTheNumbering)
{
    const int expected[16] = { 0, 1, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4 };
    for (int p = 1; p <= 15; ++p)
        EXPECT_EQ(PositionGeneration(p), expected[p]) << p;
}

TEST(Positions, UnknownEntriesAreNeverTheSameHorse)
{
    EXPECT_FALSE(SameHorse(-1, -1));
    EXPECT_FALSE(SameHorse(3, 4));
    EXPECT_TRUE(SameHorse(0, 0));
    EXPECT_TRUE(SameHorse(7, 7));
}

TEST(Positions, ChainLinesSkipOnlyUnknownEntries)
{
    EvalFixture fx;
    const int a = fx.Horse(u"A", 5);
    const int b = fx.Horse(u"B", 0);
    const int c = fx.Horse(u"C", 7);

    // F[0] and F[1] unknown, F[2] known: the chain's line is F[2]'s.
    EXPECT_EQ(DadChainLine(fx.d, DadArray({ { 2, a }, { 4, c } }), kSelfChain), 5);
    // A known F[0] with line 0 ends the search with 0, even when F[1] has a line.
    EXPECT_EQ(DadChainLine(fx.d, DadArray({ { 0, b }, { 1, a } }), kSelfChain), 0);
    // Chain 3 is 3, 6, 12.
    EXPECT_EQ(DadChainLine(fx.d, DadArray({ { 12, c }, { 1, a } }), 3), 7);
    EXPECT_EQ(DadChainLine(fx.d, DadArray({ { 1, a } }), 3), -1);
    // A broodmare with M(1), M(2), M(4), M(8) unknown has no horse on chain 1.
    EXPECT_EQ(MamChainHorse(MamArray({ { 3, a }, { 5, a }, { 9, c } }), 1), -1);
    EXPECT_EQ(MamChainLine(fx.d, MamArray({ { 8, c } }), 1), 7);
    EXPECT_EQ(MamChainLine(fx.d, MamArray({ { 15, a } }), 15), 5);
}

TEST(Positions, ChainGroupsReadTheAncestorsGroup)
{
    EvalFixture fx;
    const int a = fx.Horse(u"A", 5, 0, 0, 3);
    const int z = fx.Horse(u"Z", 5, 0, 0, 0);
    EXPECT_EQ(MamChainGroup(fx.d, MamArray({ { 7, a } }), 7), 3);
    EXPECT_EQ(MamChainGroup(fx.d, MamArray({ { 7, z }, { 14, a } }), 7), 0);
    EXPECT_EQ(DadChainGroup(fx.d, DadArray({ { 10, a } }), 5), 3);
}

TEST(Positions, IndicesOutsideTheAncestorTableAreRangeErrors)
{
    EvalFixture fx;
    EXPECT_THROW(DadChainLine(fx.d, DadArray({ { 0, kOyaRows } }), kSelfChain), RangeError);
}

TEST(Positions, FoalArrayTakesHalvesFromEachParent)
{
    DadFatherRec f;
    MamFatherRec m;
    for (int i = 0; i < 16; ++i)
        f[static_cast<size_t>(i)] = 100 + i;
    for (int p = 1; p <= 15; ++p)
        m[static_cast<size_t>(p - 1)] = 200 + p;
    const MamFatherRec c = FoalArray(f, m);
    // Expected foal position -> source: 1xx = stallion entry xx, 2xx = broodmare position xx.
    const int expected[16] = { 0, 100, 101, 201, 102, 103, 202, 203, 104, 105, 106, 107, 204, 205, 206, 207 };
    for (int p = 1; p <= 15; ++p)
        EXPECT_EQ(MamAt(c, p), expected[p]) << "position " << p;
}

} // namespace
} // namespace velmora
