#pragma once
// How many runs the long randomised tests make. Sanitizer builds run many times slower and are there to
// find memory and undefined-behaviour faults, not rare sequences: they make a tenth of the runs.

namespace velmora::test {

#ifdef VELMORA_TEST_SHORT_RUNS
inline constexpr int kRunDivisor = 10;
#else
inline constexpr int kRunDivisor = 1;
#endif

constexpr int Runs(int full)
{
    return full / kRunDivisor > 0 ? full / kRunDivisor : 1;
}

} // namespace velmora::test
