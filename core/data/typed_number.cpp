#include "core/data/typed_number.h"

namespace velmora {

namespace {

char16_t FoldNumberChar(char16_t c)
{
    if (c >= u'０' && c <= u'９')
        return static_cast<char16_t>(u'0' + (c - u'０'));
    switch (c) {
    case u'＋':
        return u'+';
    case u'－':
    case u'−':
        return u'-';
    case u'\u3000':
        return u' ';
    default:
        return c;
    }
}

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

std::u16string FoldNumberInput(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& c : out)
        c = FoldNumberChar(c);
    return out;
}

std::optional<int32_t> ParseTypedNumber(std::u16string_view typed)
{
    const std::u16string folded = FoldNumberInput(typed);
    std::u16string_view s = folded;
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    const bool negative = !s.empty() && s.front() == u'-';
    if (!s.empty() && (s.front() == u'-' || s.front() == u'+'))
        s.remove_prefix(1);
    if (s.empty())
        return std::nullopt;
    int64_t value = 0;
    for (const char16_t c : s) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > int64_t { INT32_MAX } + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

} // namespace velmora
