#pragma once
// Line breaks in message boxes. Japanese text has no spaces, so a message box that wraps its text by
// itself breaks anywhere and may leave a lone "い。" on the last line, or cut a file name in two. The
// messages are broken here instead, at places a reader expects.

#include <functional>
#include <string>
#include <string_view>

namespace velmora {

// The width a text takes on the screen (pixels, or columns in a test).
using TextWidth = std::function<double(std::u16string_view)>;

// The text with line breaks ("\n") added so that every line fits maxWidth where it can: a paragraph
// (the text between the breaks it has) that fits stays whole; a longer one is split into lines of
// about the same width, each break at a sensible place: after 。、！？ and closing brackets, before
// opening brackets, after "/" in a path, after hiragana before a word in another script, otherwise
// between two characters where Japanese allows it
// (never before 。、）」ー or a small kana, never after （「, never inside a run of Latin letters and
// digits). A run with no such place at all is cut where it reaches maxWidth.
std::u16string BreakMessageLines(std::u16string_view text, const TextWidth& width, double maxWidth);

} // namespace velmora
