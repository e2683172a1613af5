#pragma once
// A number in plain decimal as UTF-16 text, as the data files, profile files and windows show it.

#include <cstdint>
#include <string>

namespace velmora {

inline std::u16string Decimal(int64_t v)
{
    const std::string s = std::to_string(v);
    return std::u16string(s.begin(), s.end());
}

} // namespace velmora
