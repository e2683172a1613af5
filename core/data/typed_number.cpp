#include "core/data/typed_number.h"

#include "core/data/fields.h"

#include <cctype>

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

std::u16string_view TrimBlanks(std::u16string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
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
    std::u16string_view s = TrimBlanks(folded);
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

TypedNumber ReadTypedNumber(std::u16string_view typed, int32_t& value)
{
    value = 0;
    std::u16string folded = FoldNumberInput(typed);
    for (char16_t& c : folded)
        if (c >= 0xFF01 && c <= 0xFF5E) // the rest of full-width ASCII: "＄" and the hexadecimal letters
            c = static_cast<char16_t>(c - 0xFF01 + 0x21);
    const std::u16string_view text = TrimBlanks(folded);
    if (TryParseInt(text, value))
        return TypedNumber::Ok;
    // A whole number that did not fit: an optional sign, then digits or "$" and hexadecimal digits.
    size_t i = text.empty() || (text[0] != u'+' && text[0] != u'-') ? 0 : 1;
    const bool hex = i < text.size() && text[i] == u'$';
    i += hex ? 1 : 0;
    bool digits = i < text.size();
    for (; i < text.size(); ++i)
        digits = digits
            && (hex ? std::isxdigit(static_cast<unsigned char>(text[i])) && text[i] < 0x80
                    : text[i] >= u'0' && text[i] <= u'9');
    value = 0;
    return digits ? TypedNumber::TooLarge : TypedNumber::NotANumber;
}

} // namespace velmora
