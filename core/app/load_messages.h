#pragma once
// The message boxes that a load's messages are shown in. A nick file with many lines naming unknown
// sire lines gives a message per line; the user is not made to click through thousands of boxes.

#include <string>
#include <vector>

namespace velmora {

// Up to kOwnBoxMessages messages: one box each, as they are. More: one box listing the first
// kListedMessages of them, one per line, and a last line "ほかN件" counting the rest.
inline constexpr size_t kOwnBoxMessages = 3;
inline constexpr size_t kListedMessages = 10;

std::vector<std::u16string> LoadMessageBoxes(const std::vector<std::u16string>& messages);

} // namespace velmora
