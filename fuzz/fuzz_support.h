#pragma once
// What the fuzz targets share: a failed check traps (libFuzzer reports it with the input), and the
// whole content of a small file is read and written without the atomic writer.

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace velmora::fuzz {

inline void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

inline void WriteWhole(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Check(static_cast<bool>(out));
}

inline std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace velmora::fuzz
