#pragma once
// Names that compare without regard to the case of ASCII letters: the sections and keys of the profile
// files, the point file names, the horse names typed into a pedigree. Other letters (full-width ones
// included) compare as they are.

#include <string_view>

namespace velmora {

constexpr char16_t FoldAsciiCase(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

constexpr bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i]))
            return false;
    return true;
}

} // namespace velmora
