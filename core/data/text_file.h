#pragma once
// Reading and writing whole text files in code page 932 with CR LF line ends.

#include <string>
#include <vector>

namespace velmora {

// Reads a code page 932 text file into lines (CR LF, lone LF or lone CR end a line; the last line may
// lack an end). Throws FileError with a message naming the file (and the line) when it cannot be read
// or is not code page 932 text: undefined byte sequences, a UTF-8 or UTF-16 byte-order mark, or a file that is
// valid UTF-8 containing multi-byte sequences.
std::vector<std::u16string> ReadCp932Lines(const std::string& path);

// Writes lines, each ended by CR LF, in code page 932: whole and atomically (a temporary file beside
// the target, flushed, then renamed over it). Throws FileError; the target is untouched on failure.
void WriteCp932Lines(const std::string& path, const std::vector<std::u16string>& lines);

// Writes bytes whole and atomically, as above.
void WriteFileAtomic(const std::string& path, const std::string& bytes);

} // namespace velmora
