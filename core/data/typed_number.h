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

} // namespace velmora
