#pragma once
// Fields of the comma-separated data files and the numbers in them.

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Takes the next field off the front of line: everything before the first separator (the separator is
// removed too), or the whole rest when there is none. Every double quote in the field is deleted, so
// quotes do not protect a separator. Blanks are kept. A used-up line gives empty fields.
std::u16string CutField(std::u16string& line, char16_t separator = u',');

// CutField, then the field without leading and trailing blanks and control characters (code units up
// to U+0020; the full-width space is kept).
std::u16string CutFieldTrim(std::u16string& line, char16_t separator = u',');

// Reads a 32-bit integer: leading blanks, an optional sign, then decimal digits or "$" and hexadecimal
// digits, and nothing after them. False when the text is no such number or does not fit.
bool TryParseInt(std::u16string_view text, int32_t& value);
// The integer of text, or defaultValue when it is no valid number.
int32_t ParseIntDef(std::u16string_view text, int32_t defaultValue);

// A short-text field: the text cut to maxBytes bytes of code page 932 at a character boundary.
std::u16string ShortText(std::u16string_view text, int maxBytes);

// A reader over one line that yields its fields in turn without copying the rest of the line.
// Same field rules as CutField.
class FieldReader
{
public:
    explicit FieldReader(std::u16string_view line)
        : m_rest(line)
    {
    }
    // The next field, quotes deleted; empty once the line is used up.
    std::u16string Next();
    bool AtEnd() const { return m_done; }

private:
    std::u16string_view m_rest;
    bool m_done = false;
};

} // namespace velmora
