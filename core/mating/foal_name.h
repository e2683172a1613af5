#pragma once
// The proposed name of a planned foal, made from its dam's name.

#include <string>
#include <string_view>

namespace velmora {

// The first two characters of the dam's name (three when the second is "ｯ" or "ｰ", one more when the
// next is a voicing mark "ﾞ" / "ﾟ"), followed by "ｯｺ".
std::u16string FoalName(std::u16string_view mareName);

} // namespace velmora
