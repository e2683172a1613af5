#pragma once
// Folding of typed horse names into the stored form (half-width katakana, ASCII letters and symbols)
// and back into full-width katakana for display.

#include <string>
#include <string_view>

namespace velmora {

// Replaces every occurrence of the single code unit c by s: the first occurrence is replaced, then the
// search starts again from the front, until c no longer occurs. When s itself contains c the text
// cannot settle; the replacement is then done once per occurrence of the original text, left to right.
std::u16string ReplaceChar(std::u16string_view text, char16_t c, std::u16string_view s);

// Folds a typed text into the stored form: full-width symbols "　＊ー－’＿．（）" and "×" to their ASCII or
// half-width forms, full-width katakana (and the hiragana "へ") to half-width katakana, voiced and
// semi-voiced katakana to a letter followed by its mark, full-width Latin letters to ASCII. Everything
// else (full-width digits, other hiragana, katakana without a half-width form) is kept. One pass over a
// table; gives exactly what the sequence of ReplaceChar steps of the folding gives.
std::u16string ToHalfWidth(std::u16string_view text);
// The same into a caller's buffer (cleared first), so that a loop can reuse its storage.
void ToHalfWidthInto(std::u16string_view text, std::u16string& out);

// Turns half-width katakana (a letter followed by its voicing mark becoming one letter) and the
// half-width long-vowel mark into full-width katakana for display; everything else is kept.
std::u16string ToFullWidth(std::u16string_view text);

} // namespace velmora
