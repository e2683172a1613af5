#pragma once
// Removing the nicks of deleted sire lines from the nick file, which the program otherwise never writes.

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The nick file's bytes without the lines that name one of lines, read as the loader reads a nick line
// (the stallion's line first, then the mare-side line after an optional positive number); every other line
// keeps its bytes and its line end. *removed counts the lines left out.
std::string NickFileWithout(std::string_view bytes, const std::vector<std::u16string>& lines, int* removed);

} // namespace velmora
