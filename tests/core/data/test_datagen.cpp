#include "core/data/cp932.h"
#include "core/data/loader.h"
#include "tests/support/data_files.h"
#include "tools/datagen/datagen.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace velmora {
namespace {

using test::DefaultDataFiles;
using test::TempDir;

class FullCapacityData : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new TempDir;
        WriteFullCapacityData(s_dir->Path());
        s_data = new MasterData;
        s_result = new LoadResult(GetMasterData(*s_data, s_dir->Path(), DefaultDataFiles()));
    }
    static void TearDownTestSuite()
    {
        delete s_result;
        delete s_data;
        delete s_dir;
    }
    static TempDir* s_dir;
    static MasterData* s_data;
    static LoadResult* s_result;
};
TempDir* FullCapacityData::s_dir = nullptr;
MasterData* FullCapacityData::s_data = nullptr;
LoadResult* FullCapacityData::s_result = nullptr;

TEST_F(FullCapacityData, LoadsAtEveryCapacityWithoutMessages)
{
    const MasterData& d = *s_data;
    EXPECT_TRUE(s_result->completed);
    for (const auto& m : s_result->messages)
        ADD_FAILURE() << ToUtf8(m);
    EXPECT_EQ(d.OyaCount, 3001);
    EXPECT_EQ(d.DadCount, 513);
    EXPECT_EQ(d.MamCount, 701);
    EXPECT_EQ(d.NixCount, 4096);
    EXPECT_EQ(d.KeitoCount, 97); // no line is met for the first time in the horse files
    EXPECT_EQ(d.KeiroTable.size(), 8u); // seven in the file, "白毛" met in the horse files
    for (int k = 1; k <= 16; ++k) {
        EXPECT_FALSE(d.CrossTable[k].name.empty());
        EXPECT_FALSE(d.OmokeiTable[k].name.empty());
    }
    EXPECT_EQ(d.CrossTable[1].SpNit, 2);
    EXPECT_EQ(d.SpeedCrossRow, 1);
}

TEST_F(FullCapacityData, PedigreesNameRegisteredAncestors)
{
    const MasterData& d = *s_data;
    int known = 0, total = 0;
    for (int i = 0; i < d.DadCount; ++i) {
        EXPECT_GE(d.DadTable[i].Father[0], 0) << "stallion " << i << " is not an ancestor";
        for (int p = 1; p <= 7; ++p, ++total)
            known += d.DadTable[i].Father[p] >= 0;
    }
    for (int i = 0; i < d.MamCount; ++i)
        for (int e = 0; e < 7; ++e, ++total)
            known += d.MamTable[i].Father[e] >= 0;
    EXPECT_GT(known, total * 9 / 10); // the three nearest generations are almost always known
}

TEST_F(FullCapacityData, CrossesNicksAndSeveralLinesOccur)
{
    const MasterData& d = *s_data;
    int crossedPairs = 0;
    for (int s = 0; s < 40; ++s)
        for (int m = 0; m < 40; ++m) {
            bool crossed = false;
            for (int i = 0; i < 16 && !crossed; ++i)
                for (int j = 0; j < 15 && !crossed; ++j)
                    crossed = d.DadTable[s].Father[i] >= 0 && d.DadTable[s].Father[i] == d.MamTable[m].Father[j];
            crossedPairs += crossed;
        }
    EXPECT_GT(crossedPairs, 40); // crosses are common
    EXPECT_LT(crossedPairs, 40 * 40); // but not universal: outbreeding occurs too

    std::set<std::pair<int, int>> nicks;
    for (int n = 0; n < d.NixCount; ++n)
        nicks.emplace(d.NixList[n].keito1, d.NixList[n].keito2);
    int nickPairs = 0;
    std::set<int> lines;
    for (int s = 0; s < d.DadCount; ++s) {
        lines.insert(d.DadTable[s].keito);
        for (int m = 0; m < 20; ++m)
            nickPairs += nicks.count({ d.DadTable[s].keito, d.MamTable[m].keito }) > 0;
    }
    EXPECT_GT(nickPairs, 500);
    EXPECT_GE(lines.size(), 10u);
}

TEST(DataGenerator, WritesTheSameBytesEveryTime)
{
    TempDir a, b;
    WriteFullCapacityData(a.Path());
    WriteFullCapacityData(b.Path().substr(0, b.Path().size() - 1)); // without the trailing '/'
    for (const char* f : { "面白系統.CSV", "系統.CSV", "毛色.CSV", "ｸﾛｽ.CSV", "祖先馬.CSV", "種牡馬.CSV", "牝馬.CSV",
                           "ニックス.CSV", "相性.CSV" })
        EXPECT_EQ(a.ReadBytes(f), b.ReadBytes(f)) << f;
}

} // namespace
} // namespace velmora
