// The bundled sample data: it loads cleanly, its pedigrees resolve, and every mating type occurs among
// its stallion-broodmare pairs, so that each tool has something to show on it.

#include "core/app/settings.h"
#include "core/data/loader.h"
#include "core/eval/rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace velmora {
namespace {

const std::string kSampleDir = std::string(VELMORA_SAMPLE_DIR) + "/";

class SampleData : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_data = new MasterData();
        s_result = new LoadResult(GetMasterData(*s_data, kSampleDir, DefaultDataFiles()));
    }
    static void TearDownTestSuite()
    {
        delete s_data;
        delete s_result;
    }
    static MasterData* s_data;
    static LoadResult* s_result;
};
MasterData* SampleData::s_data = nullptr;
LoadResult* SampleData::s_result = nullptr;

TEST_F(SampleData, HasAllNineFilesAndLoadsWithoutMessages)
{
    EXPECT_EQ(FirstMissingDataFile(kSampleDir, DefaultDataFiles()), u"");
    EXPECT_TRUE(s_result->completed);
    EXPECT_TRUE(s_result->messages.empty());
    const MasterData& d = *s_data;
    EXPECT_EQ(d.DadCount, 60);
    EXPECT_EQ(d.MamCount, 80);
    EXPECT_GE(d.OyaCount, 200);
    EXPECT_LE(d.OyaCount, 500);
    EXPECT_EQ(d.KeitoCount, 25); // 24 lines besides 未登録: none is first met in a horse file
    EXPECT_EQ(d.KeiroTable.size(), 8u);
    EXPECT_EQ(d.SpeedCrossRow, 1);
    EXPECT_GT(d.NixCount, 0);
}

TEST_F(SampleData, EveryHorseAndAncestorResolves)
{
    const MasterData& d = *s_data;
    int unknown = 0;
    for (int i = 0; i < d.DadCount; ++i) {
        const DadRec& r = d.DadTable[i];
        EXPECT_GE(r.Father[0], 0) << "stallion without ancestor row: " << i;
        EXPECT_GT(r.keito, 0);
        EXPECT_GE(r.Fee, 1);
        EXPECT_LE(r.Fee, 5);
        unknown += static_cast<int>(std::count(r.Father.begin() + 1, r.Father.end(), -1));
    }
    for (int i = 0; i < d.MamCount; ++i)
        unknown += static_cast<int>(std::count(d.MamTable[i].Father.begin(), d.MamTable[i].Father.end(), -1));
    // Almost every position is a known horse (a few founders' sires are unknown).
    EXPECT_LE(unknown, 10);
    for (int i = 0; i < d.OyaCount; ++i) {
        EXPECT_GT(d.OyaTable[i].keito, 0) << i;
        EXPECT_GT(d.OyaTable[i].omokei, 0) << i;
    }
}

TEST_F(SampleData, EveryMatingTypeOccursAmongThePairs)
{
    const MasterData& d = *s_data;
    std::map<std::string, int> seen;
    CrossAnalysis r;
    for (int s = 0; s < d.DadCount; ++s) {
        const DadRec& dad = d.DadTable[s];
        for (int m = 0; m < d.MamCount; ++m) {
            const MamRec& mam = d.MamTable[m];
            static const char* const kNickGrades[] = { "nick 完璧", "nick 優れた", "nick 良くできた", "nick 程々" };
            if (const int grade = NixGrade(CalcNix(d, dad.Fee, dad.Father, mam.Father)); grade >= 1 && grade <= 4)
                ++seen[kNickGrades[grade - 1]];
            seen["面白"] += CheckOmo(d, dad.Father, mam.Father) == 1;
            seen["見事"] += CheckMig(d, dad.Father, mam.Father) == 1;
            seen["よくできた"] += CheckYok(d, dad.Father, mam.Father) == 1;
            seen["同系"] += IsSameLine(dad, mam);
            AnalyzeCrosses(d, dad.Father, mam.Father, r);
            seen["近親"] += r.Taboo;
            seen["過多"] += r.Crosses > 6;
            seen["アウトブリード"] += IsOutbreed(r);
            seen["効果のあるクロス"]
                += std::any_of(r.InCross.begin(), r.InCross.end(), [](int32_t n) { return n > 0; });
            seen["親似"] += std::any_of(r.DadNi.begin(), r.DadNi.end(), [](int32_t n) { return n > 0; });
        }
    }
    for (const char* kind : { "nick 完璧", "nick 優れた", "nick 良くできた", "nick 程々", "面白", "見事", "よくできた",
                              "同系", "近親", "過多", "アウトブリード", "効果のあるクロス", "親似" }) {
        EXPECT_GT(seen[kind], 0) << kind;
        std::printf("%s: %d pairs\n", kind, seen[kind]);
    }
    // Splendid implies well-made.
    EXPECT_GE(seen["よくできた"], seen["見事"]);
}

} // namespace
} // namespace velmora
