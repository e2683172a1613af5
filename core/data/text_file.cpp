#include "core/data/text_file.h"

#include "core/common/errors.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"
#include "core/data/file_system.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

// Counts line ends (CR LF, LF or lone CR) in bytes from *scan on; returns the offset just past the end
// of line number `wanted` once that many lines are complete, else npos. A CR at the very end of the
// bytes waits for the next chunk (it may be the first half of CR LF) unless atEnd.
size_t EndOfLine(std::string_view bytes, size_t* scan, size_t* lines, size_t wanted, bool atEnd)
{
    size_t i = *scan;
    for (; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 >= bytes.size() && !atEnd)
                break;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (bytes[i] != '\n') {
            continue;
        }
        if (++*lines == wanted) {
            *scan = i + 1;
            return i + 1;
        }
    }
    *scan = i;
    return std::string_view::npos;
}

} // namespace

std::string ReadFileBytes(const std::string& path, size_t maxLines)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer before it can be refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw FileError(path + ": ファイルを開けません" + ErrnoReason(errno));
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        throw FileError(path + ": ファイルを読み込めません" + ErrnoReason(err));
    }
    try {
        CheckRegularFile(path, st, "読み込めません");
    } catch (...) {
        ::close(fd);
        throw;
    }
    const bool limited = maxLines != kAllLines;
    std::string bytes;
    if (st.st_size > 0)
        bytes.reserve(limited ? std::min<size_t>(static_cast<size_t>(st.st_size), 1 << 20)
                              : static_cast<size_t>(st.st_size));
    if (limited && maxLines == 0) {
        ::close(fd);
        return bytes;
    }
    size_t scan = 0, lines = 0;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            throw FileError(path + ": ファイルを読み込めません" + ErrnoReason(err));
        }
        bytes.append(buf, static_cast<size_t>(n));
        if (limited) {
            const size_t end = EndOfLine(bytes, &scan, &lines, maxLines, n == 0);
            if (end != std::string_view::npos) {
                bytes.resize(end);
                break;
            }
        }
        if (n == 0)
            break;
    }
    ::close(fd);
    return bytes;
}

namespace {

// How the bytes read as UTF-8.
struct Utf8Shape
{
    bool wellFormed = true;
    bool multiByte = false; // a sequence of two or more bytes
    bool longSequence = false; // a sequence of three or more bytes
};

Utf8Shape ShapeAsUtf8(std::string_view bytes)
{
    Utf8Shape shape;
    for (size_t i = 0; i < bytes.size();) {
        uint32_t c = 0;
        const size_t len = Utf8SequenceLength(bytes, i, &c);
        if (len == 0) {
            shape.wellFormed = false;
            return shape;
        }
        shape.multiByte = shape.multiByte || len > 1;
        shape.longSequence = shape.longSequence || len > 2;
        i += len;
    }
    return shape;
}

bool StartsWith(std::string_view bytes, std::initializer_list<unsigned char> prefix)
{
    if (bytes.size() < prefix.size())
        return false;
    size_t i = 0;
    for (const unsigned char b : prefix)
        if (static_cast<unsigned char>(bytes[i++]) != b)
            return false;
    return true;
}

size_t LineNumberAt(std::string_view bytes, size_t offset)
{
    size_t line = 1;
    for (size_t i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes[i] == '\n')
            ++line;
        else if (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))
            ++line;
    }
    return line;
}

} // namespace

Cp932LineReader::Cp932LineReader(const std::string& path, size_t maxLines)
    : m_bytes(ReadFileBytes(path, maxLines))
{
    const std::string_view bytes = m_bytes;
    if (StartsWith(bytes, { 0xEF, 0xBB, 0xBF }))
        throw FileError(path + ": UTF-8 のファイルです (BOM 付き)。Shift-JIS (コードページ 932) で保存してください");
    if (StartsWith(bytes, { 0xFF, 0xFE }) || StartsWith(bytes, { 0xFE, 0xFF }))
        throw FileError(path + ": UTF-16 のファイルです (BOM 付き)。Shift-JIS (コードページ 932) で保存してください");
    size_t bad = 0;
    const bool cp932 = IsCp932Text(bytes, &bad);
    const Utf8Shape utf8 = ShapeAsUtf8(bytes);
    // Text that is UTF-8 as a whole and would not read sensibly as code page 932: UTF-8 with the
    // sequences of Japanese script (three bytes), or with two-byte sequences that code page 932 lacks.
    if (utf8.wellFormed && utf8.multiByte && (utf8.longSequence || !cp932))
        throw FileError(path + ": UTF-8 のファイルです。Shift-JIS (コードページ 932) で保存してください");
    if (!cp932) {
        char where[64];
        std::snprintf(where, sizeof where, "%zu 行目 (位置 %zu)", LineNumberAt(bytes, bad), bad);
        throw FileError(path + ": " + where + " に Shift-JIS (コードページ 932) にない文字があります");
    }
}

bool Cp932LineReader::Next(std::u16string& line, std::string_view* raw)
{
    const size_t n = m_bytes.size();
    if (m_pos >= n)
        return false;
    size_t end = m_bytes.find_first_of("\r\n", m_pos);
    if (end == std::string::npos)
        end = n;
    const std::string_view bytes = std::string_view(m_bytes).substr(m_pos, end - m_pos);
    DecodeCp932(bytes, line); // checked as a whole when read
    if (raw)
        *raw = bytes;
    m_pos = end;
    if (m_pos < n) {
        if (m_bytes[m_pos] == '\r' && m_pos + 1 < n && m_bytes[m_pos + 1] == '\n')
            ++m_pos;
        ++m_pos;
    }
    return true;
}

std::vector<std::u16string> ReadCp932Lines(const std::string& path, size_t maxLines)
{
    Cp932LineReader reader(path, maxLines);
    std::vector<std::u16string> lines;
    std::u16string line;
    while (reader.Next(line))
        lines.push_back(line);
    return lines;
}

std::string Cp932LinesBytes(const std::vector<std::u16string>& lines)
{
    size_t total = 0;
    for (const auto& l : lines)
        total += l.size() * 2 + 2;
    std::string bytes;
    bytes.reserve(total);
    std::string encoded;
    for (const auto& l : lines) {
        EncodeCp932(l, encoded);
        bytes += encoded;
        bytes += "\r\n";
    }
    return bytes;
}

bool WriteCp932Lines(const std::string& path, const std::vector<std::u16string>& lines)
{
    return WriteFileAtomic(path, Cp932LinesBytes(lines));
}

} // namespace velmora
