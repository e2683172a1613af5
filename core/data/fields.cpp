#include "core/data/fields.h"

#include "core/data/cp932.h"

namespace velmora {

namespace {

std::u16string WithoutQuotes(std::u16string_view field)
{
    std::u16string out;
    out.reserve(field.size());
    for (const char16_t c : field)
        if (c != u'"')
            out.push_back(c);
    return out;
}

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

} // namespace

std::u16string CutField(std::u16string& line, char16_t separator)
{
    const size_t pos = line.find(separator);
    std::u16string field;
    if (pos == std::u16string::npos) {
        field = WithoutQuotes(line);
        line.clear();
    } else {
        field = WithoutQuotes(std::u16string_view(line).substr(0, pos));
        line.erase(0, pos + 1);
    }
    return field;
}

std::u16string CutFieldTrim(std::u16string& line, char16_t separator)
{
    std::u16string field = CutField(line, separator);
    size_t b = 0, e = field.size();
    while (b < e && field[b] <= u' ')
        ++b;
    while (e > b && field[e - 1] <= u' ')
        --e;
    return field.substr(b, e - b);
}

bool TryParseInt(std::u16string_view text, int32_t& value)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= text.size())
        return false;
    int64_t v = 0;
    if (text[i] == u'$') {
        ++i;
        if (i >= text.size())
            return false;
        for (; i < text.size(); ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0)
                return false;
            v = v * 16 + d;
            if (v > 0xFFFFFFFFLL)
                return false;
        }
        // Hexadecimal gives the 32-bit pattern, so "$FFFFFFFF" is -1.
        int32_t bits = static_cast<int32_t>(static_cast<uint32_t>(v));
        if (negative) {
            if (bits == INT32_MIN)
                return false;
            bits = -bits;
        }
        value = bits;
        return true;
    }
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c - u'0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

int32_t ParseIntDef(std::u16string_view text, int32_t defaultValue)
{
    int32_t v = 0;
    return TryParseInt(text, v) ? v : defaultValue;
}

std::u16string ShortText(std::u16string_view text, int maxBytes)
{
    return CutToBytes(text, maxBytes < 0 ? 0 : static_cast<size_t>(maxBytes));
}

std::u16string FieldReader::Next()
{
    if (m_done)
        return {};
    const size_t pos = m_rest.find(u',');
    std::u16string field;
    if (pos == std::u16string_view::npos) {
        field = WithoutQuotes(m_rest);
        m_rest = {};
        m_done = true;
    } else {
        field = WithoutQuotes(m_rest.substr(0, pos));
        m_rest.remove_prefix(pos + 1);
    }
    return field;
}

} // namespace velmora
