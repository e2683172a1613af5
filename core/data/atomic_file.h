#pragma once
// Writing one whole file so that a reader, a crash or a kill only ever sees the old content or the new.

#include <string>

namespace velmora {

// Writes bytes whole and atomically: a temporary file beside the target ("<name>.velmora-tmp-XXXXXX",
// locked while it is written) is flushed and renamed over it; temporary files of the same target left by
// a killed writer are removed first. A symbolic link is written through to the file it names. Throws
// FileError, with the target untouched, when it cannot be written or is no regular file (a folder, a
// device, a FIFO) or is read-only.
//
// A file with several names (hard links) is replaced under the name written to; the other names keep
// the former content, since no rewrite in place can be atomic. Returns true when that happened, so that
// the caller can say so.
bool WriteFileAtomic(const std::string& path, const std::string& bytes);

// What to tell the user when WriteFileAtomic (or a set of files) replaced a file that had other names.
std::u16string OtherNamesKeptMessage(const std::string& path);

// The checks WriteFileAtomic makes before it writes: the path's final target, which must be a regular
// writable file or not exist yet. Returns the target; *links is set to its number of names (0 when new).
std::string WritableTarget(const std::string& path, unsigned long* links);

} // namespace velmora
