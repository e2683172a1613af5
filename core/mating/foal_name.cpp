#include "core/mating/foal_name.h"

namespace velmora {

std::u16string FoalName(std::u16string_view m)
{
    // Positions count from 1; a position beyond the end is no character.
    auto at = [&](size_t pos) -> char16_t { return pos >= 1 && pos <= m.size() ? m[pos - 1] : u'\0'; };
    size_t n = 2;
    if (at(2) == u'ｯ' || at(2) == u'ｰ')
        n = 3;
    if (at(n + 1) == u'ﾟ' || at(n + 1) == u'ﾞ')
        ++n;
    std::u16string name(m.substr(0, n < m.size() ? n : m.size()));
    name += u"ｯｺ";
    return name;
}

} // namespace velmora
