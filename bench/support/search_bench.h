#pragma once
// Shared pieces of the search benchmarks: a listener that only counts the result lines, and the CPU
// time of the whole process, so that leaves per CPU second compare runs on cores other programs share.

#include "core/search/search_engine.h"

#include <cstdint>
#include <sys/resource.h>

namespace velmora::bench {

class NullListener : public search::SearchListener
{
public:
    void StepProgress() override { }
    void AddResult(std::u16string_view) override { ++results; }
    void SearchError(std::string_view) override { }
    void SearchDone() override { }
    int64_t results = 0;
};

// CPU seconds used by the whole process (every thread).
inline double ProcessCpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
        + static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace velmora::bench
