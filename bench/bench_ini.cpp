// Profile files: a point table's worth of values (120 keys in 7 sections) read and written back, the
// pattern of every settings read; each write reaches the disk before the next.
#include "core/data/ini_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::u16string Key(int i)
{
    const std::string digits = std::to_string(i);
    return u"効果" + std::u16string(digits.begin(), digits.end());
}

void BM_ReadSetting120Keys(benchmark::State& state)
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "velmora-bench-ini-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::string path = tmpl + "/相性.CSV";
    const bool fresh = state.range(0) == 0;
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            std::remove(path.c_str());
            state.ResumeTiming();
        }
        velmora::IniFile ini(path);
        for (int i = 0; i < 120; ++i) {
            const char16_t section[] = { u'S', static_cast<char16_t>(u'0' + i % 7), 0 };
            benchmark::DoNotOptimize(ini.ReadSetting(section, Key(i), u"2000"));
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(tmpl, ec);
}
// 0: the file is created by the reads; 1: the file already holds every key.
BENCHMARK(BM_ReadSetting120Keys)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
