// Every stallion-broodmare pair of the sample data through the evaluation and CompatValue, checked
// against relations that must hold whatever the data: these catch faults in any one rule.

#include "core/data/loader.h"
#include "core/eval/nix_index.h"
#include "core/eval/positions.h"
#include "core/eval/rules.h"
#include "core/mating/points.h"
#include "core/mating/scoring.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace velmora {
namespace {

struct SamplePairs : ::testing::Test
{
    static std::unique_ptr<MasterData> data;

    static void SetUpTestSuite()
    {
        data = std::make_unique<MasterData>();
        const LoadResult r = GetMasterData(*data, std::string(VELMORA_SAMPLE_DIR) + "/", test::DefaultDataFiles());
        ASSERT_TRUE(r.completed);
    }
    static void TearDownTestSuite() { data.reset(); }
};
std::unique_ptr<MasterData> SamplePairs::data;

TEST_F(SamplePairs, EveryPairKeepsTheRulesRelations)
{
    const MasterData& d = *data;
    ASSERT_GT(d.DadCount, 0);
    ASSERT_GT(d.MamCount, 0);
    const NixIndex nix(d);
    PtsRec pts = DefaultPointTable();
    for (int k = 1; k <= 16; ++k) {
        pts.cros[static_cast<size_t>(k)] = 3 * k;
        pts.Nitro[static_cast<size_t>(k)] = k;
        pts.Oyani[static_cast<size_t>(k)] = 7 * k;
        pts.CrosNum[static_cast<size_t>(k)] = -11 * k;
    }
    PtsRec outbOnly;
    outbOnly.haigo.Outb = 1;
    const PtsRec zero;

    int omo = 0, mig = 0, yok = 0, taboo = 0, many = 0, outbred = 0, sameLine = 0, crossedEffect = 0;
    int grades[5] = {};
    for (int si = 0; si < d.DadCount; ++si) {
        const DadRec& s = d.DadTable[static_cast<size_t>(si)];
        for (int mi = 0; mi < d.MamCount; ++mi) {
            const MamRec& m = d.MamTable[static_cast<size_t>(mi)];
            const auto& f = s.Father;
            const auto& mf = m.Father;
            SCOPED_TRACE(std::to_string(si) + " x " + std::to_string(mi));

            CrossAnalysis r;
            const int32_t pair = PairScore(d, pts, s, m, &r, &nix);
            const int32_t compat = CompatValue(d, pts, s, m);
            ASSERT_EQ(compat, pair + StallionStatusPoints(d, pts, s) + MareStatusPoints(d, pts, m));
            ASSERT_EQ(PairScore(d, pts, s, m), pair); // the index changes nothing
            ASSERT_EQ(CompatValue(d, zero, s, m), 0);
            ASSERT_EQ(PairScore(d, outbOnly, s, m), r.Crosses == 0 ? 1 : 0);

            // Close relation, computed independently from its definition.
            bool expectTaboo = SameHorse(f[1], MamAt(mf, 1));
            for (int k = 1; k <= 15; ++k)
                expectTaboo = expectTaboo || SameHorse(f[0], MamAt(mf, k));
            ASSERT_EQ(r.Taboo, expectTaboo);
            ASSERT_EQ(IsDanger(r), r.Taboo || r.Crosses >= 7);
            // Counted crosses are pairs of positions holding the same horse.
            int samePairs = 0;
            for (int j = 0; j < 16; ++j)
                for (int k = 1; k <= 15; ++k)
                    samePairs += SameHorse(f[static_cast<size_t>(j)], MamAt(mf, k));
            ASSERT_LE(r.Crosses, samePairs);
            int inCross = 0, likeness = 0;
            for (int k = 1; k <= 16; ++k) {
                inCross += r.InCross[static_cast<size_t>(k)];
                likeness += r.DadNi[static_cast<size_t>(k)] + r.MamNi[static_cast<size_t>(k)];
                ASSERT_GE(r.Kosei[static_cast<size_t>(k)], 0);
                ASSERT_LE(r.Kosei[static_cast<size_t>(k)], 31);
            }
            ASSERT_LE(inCross, 2 * r.Crosses);
            ASSERT_TRUE(r.Crosses == 0 || likeness == 0) << "parent likeness only when outbred";

            // Mating types and the nick.
            const int o = CheckOmo(d, f, mf), g = CheckMig(d, f, mf), y = CheckYok(d, f, mf);
            ASSERT_TRUE(g != 1 || y == 1) << "splendid implies well-made";
            ASSERT_TRUE(o >= -1 && o <= 1 && g >= -1 && g <= 1 && y >= -1 && y <= 1);
            const int32_t v = CalcNix(d, s.Fee, f, mf);
            ASSERT_EQ(CalcNix(d, nix, s.Fee, f, mf), v);
            ASSERT_EQ(NixGradeText(v).empty(), NixGrade(v) == 0);

            // The display record agrees with the crosses.
            InbreedRec ib;
            FillInbreed(d, f, mf, ib);
            for (int j = 0; j < 16; ++j)
                for (int k = 1; k <= 15; ++k) {
                    const int kind = CrossKind(d, f, j, mf, k);
                    if (kind >= -1) {
                        ASSERT_GE(ib.Dads[static_cast<size_t>(j)].isCrs, kind);
                        ASSERT_GE(ib.Mams[static_cast<size_t>(k - 1)].isCrs, kind);
                    }
                    crossedEffect += kind == 1;
                }

            omo += o == 1;
            mig += g == 1;
            yok += y == 1;
            taboo += r.Taboo;
            many += r.Crosses >= 7;
            outbred += r.Crosses == 0;
            sameLine += IsSameLine(s, m);
            ++grades[NixGrade(v)];
        }
    }
    std::printf("sample pairs %d: omo %d mig %d yok %d taboo %d crosses>=7 %d outbred %d same-line %d "
                "crossed-with-effect %d nick grades 1:%d 2:%d 3:%d 4:%d none:%d\n",
                d.DadCount * d.MamCount, omo, mig, yok, taboo, many, outbred, sameLine, crossedEffect, grades[1],
                grades[2], grades[3], grades[4], grades[0]);
    // The sample data is meant to show every mating type somewhere.
    EXPECT_GT(omo, 0);
    EXPECT_GT(mig, 0);
    EXPECT_GT(yok, mig);
    EXPECT_GT(taboo, 0);
    EXPECT_GT(many, 0);
    EXPECT_GT(outbred, 0);
    EXPECT_GT(sameLine, 0);
    EXPECT_GT(crossedEffect, 0);
    for (int g = 1; g <= 4; ++g)
        EXPECT_GT(grades[g], 0) << "nick grade " << g;
}

} // namespace
} // namespace velmora
