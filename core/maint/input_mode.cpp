#include "core/maint/input_mode.h"

#include "core/data/name_fold.h"

namespace velmora {

void SetInputMode(AppState& s, bool kana)
{
    s.KanaMode = kana;
    if (s.IniFile)
        s.IniFile->WriteString(u"ImeMode", u"Mode", kana ? u"カナ" : u"英数");
}

std::u16string FoldKanaInput(std::u16string_view typed)
{
    // Hiragana U+3041..U+3096 and the iteration marks U+309D..U+309E have katakana 0x60 above them.
    std::u16string katakana(typed);
    for (char16_t& c : katakana)
        if ((c >= u'\u3041' && c <= u'\u3096') || c == u'\u309D' || c == u'\u309E')
            c = static_cast<char16_t>(c + 0x60);
    return ToHalfWidth(katakana);
}

} // namespace velmora
