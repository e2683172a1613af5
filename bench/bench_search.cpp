// Leaves per second of the strongest-mating search over the full-capacity data set, engine against
// the plain reference, for one-, two- and three-generation searches:
//   1 generation:  every broodmare x every stallion (701 x 513 leaves), initial mating conditions;
//   2 generations: one broodmare x 513 x 513;
//   3 generations: one broodmare x 64 x 64 x 64 (every eighth stallion at each generation).
// Each with the initial mating conditions (selective:0, nearly every leaf a result) and with a cross
// bound that needs the whole cross analysis per leaf (selective:1, results rare).
// Run: build/bench/bench_search  (add --benchmark_filter=Engine to skip the slow reference). The
// leaves/cpu_s counter divides by the CPU time of all threads, for machines whose cores are shared.

#include "core/data/loader.h"
#include "core/search/search_engine.h"
#include "tests/support/reference_search.h"
#include "tools/datagen/datagen.h"

#include "support/search_bench.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

using namespace velmora;
using namespace velmora::search;
using velmora::bench::NullListener;
using velmora::bench::ProcessCpuSeconds;

namespace {

// The full-capacity data, generated and loaded once.
const MasterData& FullData()
{
    static const std::unique_ptr<MasterData> data = [] {
        auto d = LoadFullCapacityData();
        // Fill the interesting lines once, so that every run sees the same tables.
        for (int i = 0; i < d->DadCount; ++i)
            d->DadTable[static_cast<size_t>(i)].Selected = 15;
        FillInterestingLines(*d, 4);
        return d;
    }();
    return *data;
}

// The data and conditions of one benchmark case.
struct Case
{
    MasterData d;
    SearchConditions c;
};

// selective = 0: the initial mating conditions (danger excluded), nearly every leaf a result;
// 1: in addition at least two crosses bringing effect 1 at the last generation, so that every leaf
// needs the whole cross analysis and results are rare.
std::unique_ptr<Case> MakeCase(int gens, int selective)
{
    auto k = std::make_unique<Case>();
    k->d = FullData();
    MasterData& d = k->d;
    for (int i = 0; i < d.MamCount; ++i)
        d.MamTable[static_cast<size_t>(i)].Selected = gens == 1 || i == 0;
    for (int i = 0; i < d.DadCount; ++i)
        d.DadTable[static_cast<size_t>(i)].Selected = gens <= 2 || i % 8 == 0 ? 15 : 0;
    k->c.MaxGen = gens;
    if (selective) {
        HaigoJokenRec& h = k->c.HaigoJoken[static_cast<size_t>(gens)];
        h.Crs[1] = 2;
        UpdateActive(h);
    }
    k->c.ResultLimit = 1 << 30;
    RefreshSearchCounts(d, k->c);
    return k;
}

void Report(benchmark::State& state, int64_t leaves, int64_t results, double cpu)
{
    state.counters["leaves/s"] = benchmark::Counter(static_cast<double>(leaves), benchmark::Counter::kIsRate);
    state.counters["leaves/cpu_s"] = static_cast<double>(leaves) / cpu;
    state.counters["leaves"] = static_cast<double>(leaves / state.iterations());
    state.counters["results"] = static_cast<double>(results);
}

void Engine(benchmark::State& state)
{
    const auto k = MakeCase(static_cast<int>(state.range(0)), static_cast<int>(state.range(2)));
    const int threads = static_cast<int>(state.range(1));
    int64_t leaves = 0, results = 0;
    const double cpu0 = ProcessCpuSeconds();
    for (auto _ : state) {
        NullListener l;
        SearchEngine e(k->d, k->c, l);
        e.Start(threads);
        e.Wait();
        leaves += e.Stats().testedLeaves;
        results = l.results;
    }
    Report(state, leaves, results, ProcessCpuSeconds() - cpu0);
}

void Reference(benchmark::State& state)
{
    const auto k = MakeCase(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    int64_t leaves = 0, results = 0;
    const double cpu0 = ProcessCpuSeconds();
    for (auto _ : state) {
        const ReferenceOutcome r = ReferenceSearch(k->d, k->c);
        leaves += r.testedLeaves;
        results = static_cast<int64_t>(r.lines.size());
    }
    Report(state, leaves, results, ProcessCpuSeconds() - cpu0);
}

} // namespace

BENCHMARK(Engine)
    ->ArgNames({ "gens", "threads", "selective" })
    ->Args({ 1, 2, 0 })
    ->Args({ 1, 1, 0 })
    ->Args({ 2, 2, 0 })
    ->Args({ 3, 2, 0 })
    ->Args({ 1, 2, 1 })
    ->Args({ 1, 1, 1 })
    ->Args({ 2, 2, 1 })
    ->Args({ 3, 2, 1 })
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Reference)
    ->ArgNames({ "gens", "selective" })
    ->Args({ 1, 0 })
    ->Args({ 2, 0 })
    ->Args({ 3, 0 })
    ->Args({ 1, 1 })
    ->Args({ 2, 1 })
    ->Args({ 3, 1 })
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
