// Evaluation and scoring on the full-capacity data set: every stallion-broodmare pair through
// CompatValue, ranking every stallion against one broodmare as the 相性順 ordering does, and the
// single rules the search calls most.
#include "core/data/loader.h"
#include "core/eval/nix_index.h"
#include "core/eval/rules.h"
#include "core/mating/ordering.h"
#include "core/mating/points.h"
#include "core/mating/scoring.h"
#include "tools/datagen/datagen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace velmora;

// The full-capacity data set, generated into a temporary directory and loaded once per run.
const MasterData& Data()
{
    static const std::unique_ptr<MasterData> data = LoadFullCapacityData();
    return *data;
}

// The default table with every effect weighted, so that no step of the score is skipped.
const PtsRec& Points()
{
    static const PtsRec pts = [] {
        PtsRec p = DefaultPointTable();
        for (int k = 1; k <= 16; ++k) {
            p.cros[static_cast<size_t>(k)] = 10 * k;
            p.Nitro[static_cast<size_t>(k)] = k;
            p.Oyani[static_cast<size_t>(k)] = 2 * k;
            p.CrosNum[static_cast<size_t>(k)] = -100 * k;
        }
        return p;
    }();
    return pts;
}

void BM_CompatValueAllPairs(benchmark::State& state)
{
    const MasterData& d = Data();
    const PtsRec& pts = Points();
    const NixIndex nix(d); // built once, as any caller evaluating many pairs does
    for (auto _ : state) {
        int64_t sum = 0;
        for (int s = 0; s < d.DadCount; ++s)
            for (int m = 0; m < d.MamCount; ++m)
                sum += CompatValue(d, pts, d.DadTable[static_cast<size_t>(s)], d.MamTable[static_cast<size_t>(m)],
                                   &nix);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["pairs"] = static_cast<double>(d.DadCount) * d.MamCount;
}
BENCHMARK(BM_CompatValueAllPairs)->Unit(benchmark::kMillisecond);

void BM_RankStallionsAgainstOneMare(benchmark::State& state)
{
    const MasterData& d = Data();
    const PtsRec& pts = Points();
    const MamRec& mare = d.MamTable[static_cast<size_t>(d.MamCount / 2)];
    const int32_t mareStatus = MareStatusPoints(d, pts, mare);
    // The list rows as the window keeps them: status points computed once, when the list is built.
    std::vector<ListRow> tableOrder;
    for (int i = 0; i < d.DadCount; ++i)
        tableOrder.push_back({ i, 0, StallionStatusPoints(d, pts, d.DadTable[static_cast<size_t>(i)]) });
    std::vector<ListRow> rows = tableOrder;
    for (auto _ : state) {
        rows = tableOrder;
        SetStallionKeys(d, pts, rows, mare, mareStatus);
        SortRows(d, rows, ListOrder::StallionCompat);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_RankStallionsAgainstOneMare)->Unit(benchmark::kMicrosecond);

void BM_AnalyzeCrosses(benchmark::State& state)
{
    const MasterData& d = Data();
    CrossAnalysis r;
    int s = 0, m = 0;
    for (auto _ : state) {
        AnalyzeCrosses(d, d.DadTable[static_cast<size_t>(s)].Father, d.MamTable[static_cast<size_t>(m)].Father, r);
        benchmark::DoNotOptimize(r.Crosses);
        s = (s + 1) % d.DadCount;
        m = (m + 7) % d.MamCount;
    }
}
BENCHMARK(BM_AnalyzeCrosses);

void BM_CalcNix(benchmark::State& state)
{
    const MasterData& d = Data();
    int s = 0, m = 0;
    for (auto _ : state) {
        const DadRec& st = d.DadTable[static_cast<size_t>(s)];
        benchmark::DoNotOptimize(CalcNix(d, st.Fee, st.Father, d.MamTable[static_cast<size_t>(m)].Father));
        s = (s + 1) % d.DadCount;
        m = (m + 7) % d.MamCount;
    }
}
BENCHMARK(BM_CalcNix);

void BM_CalcNixIndexed(benchmark::State& state)
{
    const MasterData& d = Data();
    const NixIndex nix(d);
    int s = 0, m = 0;
    for (auto _ : state) {
        const DadRec& st = d.DadTable[static_cast<size_t>(s)];
        benchmark::DoNotOptimize(CalcNix(d, nix, st.Fee, st.Father, d.MamTable[static_cast<size_t>(m)].Father));
        s = (s + 1) % d.DadCount;
        m = (m + 7) % d.MamCount;
    }
}
BENCHMARK(BM_CalcNixIndexed);

} // namespace

BENCHMARK_MAIN();
