#pragma once
// Pieces of the texts shown to the user: system errors said in Japanese, the kind of thing a path
// names when it is no file, and names cut to a length a message can show.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// The most characters of a name (a horse, a key, a file) that a message repeats.
inline constexpr size_t kMessageNameLength = 40;

// A system error number (errno) as a short text for a message, in UTF-8: the common ones in Japanese
// (no permission, missing, no space left, read-only, name too long, link loop, folder), the rare rest
// as the system words them.
std::string SystemErrorText(int err);

// Why a path names no regular file, for a message (UTF-8): a folder, a FIFO, a device or socket, a
// symbolic link to nothing, a link loop, or a system error met on the way. Empty for a regular file,
// and for a path that simply does not exist.
std::string NotAFileReason(const std::string& path);

// A name as a message repeats it: the first kMessageNameLength characters and "…" when it is longer.
// Surrogate pairs (UTF-16) and multi-byte sequences (UTF-8) are never split.
std::u16string NameForMessage(std::u16string_view name);
std::string NameForMessage(std::string_view utf8Name);

} // namespace velmora
