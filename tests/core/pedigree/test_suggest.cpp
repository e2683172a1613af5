// The editor's suggestion menu: items for a registered stallion and mare, candidates judged on the
// arrays they would give, the chart unchanged.

#include "core/pedigree/suggest.h"
#include "pedigree_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace velmora;

namespace {

class SuggestTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        S = data.Stallion(u"S");
        T = data.Stallion(u"T");
        U = data.Stallion(u"U");
        M = data.Mare(u"M");
        Mbad = data.Mare(u"Mbad");
        // The foal's eight chains (stallion: himself, 5, 3, 7; mare: 1, 5, 3, 7) in eight groups for S and
        // T with M; U and Mbad put every chain of their side into one group.
        for (int h : { S, T }) {
            const DadFatherRec& f = data.d.DadTable[h].Father;
            Group(f[0], 1);
            Group(f[5], 2);
            Group(f[3], 3);
            Group(f[7], 4);
        }
        for (int p : { 0, 5, 3, 7 })
            Group(data.d.DadTable[U].Father[p], 1);
        const MamFatherRec& m = data.d.MamTable[M].Father;
        Group(m[0], 5);
        Group(m[4], 6);
        Group(m[2], 7);
        Group(m[6], 8);
        for (int p : { 1, 5, 3, 7 })
            Group(data.d.MamTable[Mbad].Father[p - 1], 5);
    }
    void Group(int oya, int g) { data.d.OyaTable[oya].omokei = g; }

    test::PedigreeData data;
    Chart chart;
    int S, T, U, M, Mbad;
};

} // namespace

TEST_F(SuggestTest, StallionAndMareItemsAtOne)
{
    PlaceStallion(data.d, chart, 1, S);
    PlaceMare(data.d, chart, 1, M);
    const Chart before = chart;
    const std::vector<SuggestionItem> menu = BuildSuggestions(data.d, chart, 1, { T, U, S }, { Mbad, M });
    ASSERT_EQ(menu.size(), 8u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(menu[i].caption, kStallionSuggestionCaptions[i]);
        EXPECT_FALSE(menu[i].mares);
        EXPECT_EQ(menu[4 + i].caption, kMareSuggestionCaptions[i]);
        EXPECT_TRUE(menu[4 + i].mares);
    }
    EXPECT_EQ(menu[0].horses, (std::vector<int> { T, S })); // in the order given, U left out
    EXPECT_EQ(menu[4].horses, (std::vector<int> { M }));
    // 完璧 holds exactly the candidates under both 面白 and 見事.
    for (int side : { 0, 4 }) {
        std::vector<int> both;
        for (int h : menu[side].horses)
            if (std::find(menu[side + 1].horses.begin(), menu[side + 1].horses.end(), h) != menu[side + 1].horses.end())
                both.push_back(h);
        EXPECT_EQ(menu[side + 2].horses, both);
    }
    for (int k = 1; k <= 31; ++k)
        EXPECT_EQ(chart.slot[k], before.slot[k]);
}

TEST_F(SuggestTest, OnlyRegisteredHorsesGetItems)
{
    EXPECT_TRUE(BuildSuggestions(data.d, chart, 1, { S }, { M }).empty());
    PlaceStallion(data.d, chart, 1, S);
    const auto stallionOnly = BuildSuggestions(data.d, chart, 1, { S }, { M });
    ASSERT_EQ(stallionOnly.size(), 4u);
    EXPECT_FALSE(stallionOnly[0].mares);
    EXPECT_TRUE(BuildSuggestions(data.d, chart, 2, { S }, { M }).empty()); // an ancestor, not a placed horse
    ClearChart(chart);
    PlaceMare(data.d, chart, 1, M);
    const auto mareOnly = BuildSuggestions(data.d, chart, 1, { S }, { M, Mbad });
    ASSERT_EQ(mareOnly.size(), 4u);
    EXPECT_TRUE(mareOnly[0].mares);
    EXPECT_EQ(mareOnly[0].horses, std::vector<int> {}); // no sire: the stallion chains have no group
}
