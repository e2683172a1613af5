#pragma once
// Reading and writing whole text files in code page 932 with CR LF line ends.

#include "core/data/atomic_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr size_t kAllLines = SIZE_MAX;

// The bytes of a regular file; with maxLines, only its first maxLines lines. Throws FileError naming the
// file when it cannot be read or is no regular file (a folder, a FIFO, a device).
std::string ReadFileBytes(const std::string& path, size_t maxLines = kAllLines);

// A code page 932 text file, checked as a whole when opened and then decoded one line at a time, so
// that a large file costs its size once and not the many times its decoded lines would. CR LF, lone LF
// and lone CR end a line; the last line may lack an end.
class Cp932LineReader
{
public:
    // Reads the file. With maxLines, reading stops after the first maxLines lines; a caller that takes
    // up to N lines asks for N + 1 to see whether the file holds more, without reading the rest. Throws
    // FileError with a message naming the file (and the line) when it cannot be read, is no regular
    // file, or is not code page 932 text: undefined byte sequences, a UTF-8 or UTF-16 byte-order mark,
    // or UTF-8 text (well-formed UTF-8 with a sequence of three or more bytes, or with two-byte
    // sequences that are not code page 932; half-width katakana often form valid two-byte sequences).
    explicit Cp932LineReader(const std::string& path, size_t maxLines = kAllLines);

    // The next line without its end; false after the last line. With raw, also the line's bytes as
    // they stand in Bytes().
    bool Next(std::u16string& line, std::string_view* raw = nullptr);

    // The bytes read; Take hands them over once the lines are read.
    const std::string& Bytes() const { return m_bytes; }
    std::string Take() { return std::move(m_bytes); }

private:
    std::string m_bytes;
    size_t m_pos = 0;
};

// All lines of a code page 932 text file (at most maxLines of them), as Cp932LineReader reads them.
std::vector<std::u16string> ReadCp932Lines(const std::string& path, size_t maxLines = kAllLines);

// The bytes of lines, each ended by CR LF, in code page 932 (characters it lacks become '?').
std::string Cp932LinesBytes(const std::vector<std::u16string>& lines);

// Writes lines, each ended by CR LF, in code page 932, as WriteFileAtomic writes bytes.
bool WriteCp932Lines(const std::string& path, const std::vector<std::u16string>& lines);

} // namespace velmora
