// Write -> read round trips on the bundled sample data: a chart from a stallion and a mare, and one
// with the dam described by her sire and dam, written as a formula and read back by both readers.

#include "core/data/loader.h"
#include "core/pedigree/formula.h"
#include "core/pedigree/tree_formula.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace velmora;

namespace {

class SampleRoundTrip : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const std::string dir = std::string(VELMORA_SAMPLE_DIR) + "/";
        const TDataFiles files = test::DefaultDataFiles();
        if (!std::filesystem::exists(DataFilePath(dir, files.Dad)))
            return;
        s_data = new MasterData;
        s_loaded = GetMasterData(*s_data, dir, files).completed;
    }
    static void TearDownTestSuite()
    {
        delete s_data;
        s_data = nullptr;
    }
    void SetUp() override
    {
        if (s_data == nullptr)
            GTEST_SKIP() << "no sample data in " << VELMORA_SAMPLE_DIR;
        ASSERT_TRUE(s_loaded);
    }

    int ReadBack(const std::u16string& formula, Chart& chart) const
    {
        FormulaBox box;
        box.text = formula;
        TreeContext ctx { *s_data, chart, box, AliasLookup() };
        return ShowTreeFormula(ctx);
    }

    // Names that identify their horse in a formula: unique in their table, not also a stallion's name
    // (the readers try stallions first), and for the chain reading free of separators.
    bool Identifies(int dad, int mam) const
    {
        const MasterData& d = *s_data;
        return (dad < 0 || FindDad(d, d.DadTable[dad].name) == dad)
            && (mam < 0 || (FindMam(d, d.MamTable[mam].name) == mam && FindDad(d, d.MamTable[mam].name) < 0));
    }
    static bool ChainReadable(std::u16string_view name)
    {
        for (char16_t c : name)
            if (ClassOf(c) == CharClass::Separator)
                return false;
        return !name.empty();
    }

    static inline MasterData* s_data = nullptr;
    static inline bool s_loaded = false;
};

} // namespace

TEST_F(SampleRoundTrip, StallionAndMareWriteSMAndReadBack)
{
    const MasterData& d = *s_data;
    int complete = 0;
    for (int s = 0; s < d.DadCount && s < 40; ++s) {
        for (int m = 0; m < d.MamCount && m < 40; ++m) {
            if (!Identifies(s, m))
                continue;
            Chart chart;
            PlaceStallion(d, chart, 1, s);
            PlaceMare(d, chart, 1, m);
            const ChartCaptions c = BuildCaptions(d, chart);
            if (!c.complete)
                continue;
            ++complete;
            ASSERT_EQ(c.formula, d.DadTable[s].name + u"* " + d.MamTable[m].name);
            Chart back;
            ASSERT_EQ(ReadBack(c.formula, back), 1) << s << " " << m;
            for (int k = 1; k <= kChartPositions; ++k)
                ASSERT_EQ(back.slot[k], chart.slot[k]) << "position " << k;
            // The chain reading gives the sire and the mare.
            if (!ChainReadable(d.DadTable[s].name) || !ChainReadable(d.MamTable[m].name))
                continue;
            ChainCarry carry;
            const ChainReading r = ReadChain(d, AliasLookup(), c.formula, carry);
            ASSERT_EQ(r.entries.size(), 2u);
            EXPECT_EQ(r.entries[0].Num, FindDad(d, d.DadTable[s].name));
            EXPECT_FALSE(r.entries[1].Sex);
            EXPECT_EQ(r.entries[1].Num, FindMam(d, d.MamTable[m].name));
        }
    }
    EXPECT_GT(complete, 0) << "the sample data should hold horses with complete pedigrees";
}

TEST_F(SampleRoundTrip, DamDescribedBySireAndDamReadsBack)
{
    const MasterData& d = *s_data;
    ASSERT_GE(d.DadCount, 2);
    ASSERT_GE(d.MamCount, 1);
    int complete = 0;
    for (int s = 0; s < d.DadCount && s < 15; ++s) {
        for (int t = 0; t < d.DadCount && t < 15; ++t) {
            const int m = (s + t) % d.MamCount;
            if (!Identifies(s, m) || !Identifies(t, -1))
                continue;
            Chart chart;
            PlaceStallion(d, chart, 1, s);
            PlaceStallion(d, chart, 3, t);
            PlaceMare(d, chart, 3, m);
            const ChartCaptions c = BuildCaptions(d, chart);
            if (!c.complete)
                continue;
            ++complete;
            ASSERT_EQ(c.formula, d.DadTable[s].name + u"* (" + d.DadTable[t].name + u"* " + d.MamTable[m].name + u")");
            Chart back;
            ASSERT_EQ(ReadBack(c.formula, back), 1);
            for (int k = 1; k <= kChartPositions; ++k)
                ASSERT_EQ(back.slot[k], chart.slot[k]) << "position " << k;
            // The chain reading of an all-registered formula gives the tail-female chain.
            if (!ChainReadable(d.DadTable[s].name) || !ChainReadable(d.DadTable[t].name)
                || !ChainReadable(d.MamTable[m].name))
                continue;
            ChainCarry carry;
            const ChainReading r = ReadChain(d, AliasLookup(), c.formula, carry);
            ASSERT_EQ(r.entries.size(), 3u);
            EXPECT_EQ(r.entries[0].Name, d.DadTable[s].name);
            EXPECT_EQ(r.entries[1].Name, d.DadTable[t].name);
            EXPECT_EQ(r.entries[2].Name, d.MamTable[m].name);
        }
    }
    EXPECT_GT(complete, 0);
}
