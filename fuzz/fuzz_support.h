#pragma once
// What the fuzz targets share: a failed check traps (libFuzzer reports it with the input). Scratch
// files go into a test::TempDir, whose WriteBytes and ReadBytes bypass the atomic writer.

namespace velmora::fuzz {

inline void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

} // namespace velmora::fuzz
