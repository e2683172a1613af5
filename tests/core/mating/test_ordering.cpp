#include "core/mating/ordering.h"
#include "core/mating/scoring.h"
#include "tests/support/eval_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace velmora {
namespace {

using test::EvalFixture;

std::vector<ListRow> RowsWithKeys(const std::vector<int32_t>& keys)
{
    std::vector<ListRow> rows;
    for (size_t i = 0; i < keys.size(); ++i)
        rows.push_back({ static_cast<int32_t>(i), keys[i], 0 });
    return rows;
}

std::vector<int32_t> Indices(const std::vector<ListRow>& rows)
{
    std::vector<int32_t> out;
    for (const ListRow& r : rows)
        out.push_back(r.index);
    return out;
}

TEST(SortRows, EqualKeysEndInThePartitionSortsOrder)
{
    struct Case
    {
        std::vector<int32_t> keys;
        std::vector<int32_t> order; // row indices after the sort, worked out by hand
    };
    const std::vector<Case> cases = {
        { { 5, 3, 5, 3, 5 }, { 2, 0, 4, 1, 3 } },
        { { 2, 2, 2, 2 }, { 2, 1, 3, 0 } },
        { { 1, 2, 3, 4, 5, 6 }, { 5, 4, 3, 2, 1, 0 } },
        { { 100, -200, 100, 0, -200, 100, 0 }, { 2, 0, 5, 6, 3, 1, 4 } },
        { { 4, 4, 1, 4, 1, 4, 1, 1 }, { 3, 5, 1, 0, 6, 4, 7, 2 } },
        { { 3, 1, 3, 2, 1, 2, 3, 1, 2 }, { 6, 0, 2, 5, 3, 8, 4, 7, 1 } },
        { { 5, 5 }, { 1, 0 } },
        { { 3, 5 }, { 1, 0 } },
        { { 5, 3 }, { 0, 1 } },
        { { 7 }, { 0 } },
        { {}, {} },
    };
    MasterData d;
    for (const Case& c : cases)
        for (const ListOrder order : { ListOrder::StallionCompat, ListOrder::MareCompat }) {
            std::vector<ListRow> rows = RowsWithKeys(c.keys);
            SortRows(d, rows, order);
            EXPECT_EQ(Indices(rows), c.order);
        }
}

TEST(SortRows, TableKeysAndNames)
{
    MasterData d;
    const std::u16string names[] = { u"beta", u"Alpha", u"ALPHA", u"ｱｲ", u"alp", u"Beta" };
    const int32_t fees[] = { 3, 5, 1, 5, 2, 4 };
    for (int i = 0; i < 6; ++i) {
        d.DadTable[static_cast<size_t>(i)].name = names[i];
        d.DadTable[static_cast<size_t>(i)].Fee = fees[i];
        d.MamTable[static_cast<size_t>(i)].name = names[i];
        d.MamTable[static_cast<size_t>(i)].Fee = fees[i] * 100;
    }
    d.DadCount = d.MamCount = 6;

    auto sorted = [&](ListOrder o) {
        std::vector<ListRow> rows = RowsWithKeys({ 0, 0, 0, 0, 0, 0 });
        SortRows(d, rows, o);
        return Indices(rows);
    };
    const auto star = sorted(ListOrder::StallionStar);
    for (size_t i = 1; i < star.size(); ++i)
        EXPECT_GE(fees[star[i - 1]], fees[star[i]]);
    EXPECT_EQ(sorted(ListOrder::MarePrice), star);

    const auto byName = sorted(ListOrder::StallionName);
    for (size_t i = 1; i < byName.size(); ++i)
        EXPECT_LE(CompareHorseNames(names[byName[i - 1]], names[byName[i]]), 0);
    EXPECT_EQ(names[byName.front()], u"alp");
    EXPECT_EQ(names[byName.back()], u"ｱｲ");
    EXPECT_EQ(sorted(ListOrder::MareName), byName);

    // Names equal but for the letter case end where the partition sort leaves them.
    const std::u16string tied[] = { u"b", u"A", u"a", u"B", u"c", u"ab" };
    for (int i = 0; i < 6; ++i)
        d.DadTable[static_cast<size_t>(i)].name = tied[i];
    EXPECT_EQ(sorted(ListOrder::StallionName), (std::vector<int32_t> { 1, 2, 5, 0, 3, 4 }));
}

TEST(CompareHorseNames, FoldsOnlyAsciiLetters)
{
    EXPECT_EQ(CompareHorseNames(u"abc", u"ABC"), 0);
    EXPECT_LT(CompareHorseNames(u"ab", u"abc"), 0);
    EXPECT_GT(CompareHorseNames(u"b", u"A"), 0);
    // '_' (0x5F) lies between 'Z' and 'a': folded 'a' is 'A' < '_'.
    EXPECT_LT(CompareHorseNames(u"a", u"_"), 0);
    EXPECT_NE(CompareHorseNames(u"ａ", u"Ａ"), 0); // full-width letters are not folded
    EXPECT_LT(CompareHorseNames(u"ｱ", u"ｲ"), 0);
}

TEST(CompetitionRanks, EqualKeysShareARank)
{
    const std::vector<ListRow> rows = RowsWithKeys({ 900, 850, 850, 700, 700, 600 });
    std::vector<int32_t> ranks(rows.size());
    CompetitionRanks(rows, ranks);
    EXPECT_EQ(ranks, (std::vector<int32_t> { 1, 2, 2, 4, 4, 6 }));
}

TEST(BandContains, FirstBandIsClosedOthersHalfOpen)
{
    // The default price bands: 131-999, 108-130, 86-107, 0-85.
    const TFeeButton bands[] = { { u"", 999, 131 }, { u"", 130, 108 }, { u"", 107, 86 }, { u"", 85, 0 } };
    struct Case
    {
        int32_t v;
        bool in[4];
    };
    const Case cases[] = {
        { 999, { true, false, false, false } },  { 131, { true, false, false, false } },
        { 130, { false, false, false, false } }, { 129, { false, true, false, false } },
        { 108, { false, true, false, false } },  { 107, { false, false, false, false } },
        { 86, { false, false, true, false } },   { 85, { false, false, false, false } },
        { 0, { false, false, false, true } },    { 1000, { false, false, false, false } },
    };
    for (const Case& c : cases)
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(BandContains(bands[k - 1], k, c.v), c.in[k - 1]) << c.v << " band " << k;
    // Star band 1 of the defaults holds 0..1: a one-star stallion is in it.
    EXPECT_TRUE(BandContains({ u"", 1, 0 }, 1, 1));
}

TEST(SetKeys, PairScorePlusBothStatusPoints)
{
    EvalFixture fx;
    PtsRec pts;
    pts.haigo.Outb = 1000;
    pts.CrosNum[1] = 10;
    const int shared = fx.Horse(u"X", 0);
    for (int i = 0; i < 3; ++i) {
        DadRec& s = fx.d.DadTable[static_cast<size_t>(i)];
        s.name = u"S" + std::u16string(1, char16_t(u'0' + i));
        s.Father = UnknownDadArray();
        s.Father[0] = fx.Horse(s.name, 0);
    }
    fx.d.DadTable[1].Father[1] = shared; // one cross with the mare
    fx.d.DadCount = 3;
    MamRec mare;
    mare.Father = UnknownMamArray();
    mare.Father[0] = shared;

    std::vector<ListRow> rows = { { 0, 0, 5 }, { 1, 0, 6 }, { 2, 0, 7 } };
    SetStallionKeys(fx.d, pts, rows, mare, 100);
    EXPECT_EQ(rows[0].key, 1000 + 5 + 100);
    EXPECT_EQ(rows[1].key, 10 + 6 + 100);
    EXPECT_EQ(rows[2].key, 1000 + 7 + 100);
    SortRows(fx.d, rows, ListOrder::StallionCompat);
    EXPECT_EQ(Indices(rows), (std::vector<int32_t> { 2, 0, 1 }));

    fx.d.MamTable[0] = mare;
    fx.d.MamTable[1] = mare;
    fx.d.MamTable[1].Father[0] = -1;
    fx.d.MamCount = 2;
    std::vector<ListRow> mares = { { 0, 0, 1 }, { 1, 0, 2 } };
    SetMareKeys(fx.d, pts, mares, fx.d.DadTable[1], 50);
    EXPECT_EQ(mares[0].key, 10 + 1 + 50);
    EXPECT_EQ(mares[1].key, 1000 + 2 + 50);
}

} // namespace
} // namespace velmora
