// Loading the full-capacity data set: the whole GetMasterData, and reading the largest file alone.
#include "core/app/settings.h"
#include "core/data/loader.h"
#include "core/data/text_file.h"
#include "tools/datagen/datagen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The data set is generated once per run into a temporary directory, removed at exit.
const std::string& DataDir()
{
    static const std::string dir = [] {
        std::string tmpl = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data()))
            std::abort();
        velmora::WriteFullCapacityData(tmpl);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(DataDir(), ec);
        });
        return tmpl + "/";
    }();
    return dir;
}

void BM_GetMasterDataFullCapacity(benchmark::State& state)
{
    const std::string& dir = DataDir();
    const velmora::TDataFiles files = velmora::DefaultDataFiles();
    velmora::MasterData d;
    for (auto _ : state) {
        const velmora::LoadResult r = velmora::GetMasterData(d, dir, files);
        if (!r.completed || !r.messages.empty()) {
            state.SkipWithError("the full-capacity data set did not load cleanly");
            break;
        }
        benchmark::DoNotOptimize(d.OyaCount);
    }
    state.counters["ancestors"] = d.OyaCount;
    state.counters["stallions"] = d.DadCount;
    state.counters["broodmares"] = d.MamCount;
    state.counters["nicks"] = d.NixCount;
}
BENCHMARK(BM_GetMasterDataFullCapacity)->Unit(benchmark::kMillisecond);

void BM_ReadCp932LinesStallionFile(benchmark::State& state)
{
    const std::string path = DataDir() + "種牡馬.CSV";
    for (auto _ : state) {
        auto lines = velmora::ReadCp932Lines(path);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations())
                            * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_ReadCp932LinesStallionFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
