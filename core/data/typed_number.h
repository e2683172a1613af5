#pragma once
// Numbers typed into a window's number fields. An input method types digits in full width (１００);
// they are folded to ASCII before the text is read, in every number field.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Full-width digits, the signs "＋", "－" and "−" and the ideographic space to their ASCII forms;
// everything else is kept.
std::u16string FoldNumberInput(std::u16string_view text);

// A typed integer: the folded text without the blanks around it (spaces, tabs, ideographic spaces),
// an optional sign and decimal digits, within 32 bits. nullopt for anything else, an empty text
// included.
std::optional<int32_t> ParseTypedNumber(std::u16string_view text);

// How a number typed into a data form reads.
enum class TypedNumber {
    Ok,
    NotANumber, // reads as 0, as in the data files
    TooLarge, // a whole number (decimal, or "$" and hexadecimal) that does not fit in 32 bits
};
// Reads a number typed into a data form as the data files read their numbers (decimal, or "$" and
// hexadecimal), after the folding above and with the blanks around it ignored; full-width "＄" and
// hexadecimal letters count too. value is 0 unless Ok.
TypedNumber ReadTypedNumber(std::u16string_view typed, int32_t& value);

} // namespace velmora
