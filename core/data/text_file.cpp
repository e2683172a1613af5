#include "core/data/text_file.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

std::string ReadAllBytes(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileError(path + ": ファイルを開けません (" + std::strerror(errno) + ")");
    struct stat st
    {
    };
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw FileError(path + ": ファイルではなくフォルダです");
    }
    std::string bytes;
    if (st.st_size > 0)
        bytes.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            throw FileError(path + ": ファイルを読み込めません (" + std::strerror(err) + ")");
        }
        if (n == 0)
            break;
        bytes.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

// True when the whole text is well-formed UTF-8 and has at least one multi-byte sequence: such a file
// is UTF-8 text that happens to pass as code page 932 (or fails as it), not code page 932 text.
bool IsMultiByteUtf8(std::string_view bytes)
{
    bool multi = false;
    for (size_t i = 0; i < bytes.size();) {
        uint32_t c = 0;
        const size_t len = Utf8SequenceLength(bytes, i, &c);
        if (len == 0)
            return false;
        multi = multi || len > 1;
        i += len;
    }
    return multi;
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

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

} // namespace

std::vector<std::u16string> ReadCp932Lines(const std::string& path)
{
    const std::string bytes = ReadAllBytes(path);
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF
        && static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
        throw FileError(path + ": UTF-8 のファイルです (BOM 付き)。Shift-JIS (コードページ 932) で保存してください");
    if (bytes.size() >= 2
        && ((static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
            || (static_cast<unsigned char>(bytes[0]) == 0xFE && static_cast<unsigned char>(bytes[1]) == 0xFF)))
        throw FileError(path + ": UTF-16 のファイルです (BOM 付き)。Shift-JIS (コードページ 932) で保存してください");
    if (IsMultiByteUtf8(bytes))
        throw FileError(path + ": UTF-8 のファイルです。Shift-JIS (コードページ 932) で保存してください");
    std::u16string text;
    size_t bad = 0;
    if (!DecodeCp932(bytes, text, &bad)) {
        char where[64];
        std::snprintf(where, sizeof where, "%zu 行目 (位置 %zu)", LineNumberAt(bytes, bad), bad);
        throw FileError(path + ": " + where + " に Shift-JIS (コードページ 932) にない文字があります");
    }
    std::vector<std::u16string> lines;
    size_t start = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.emplace_back(text, start, i - start);
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.emplace_back(text, start, n - start);
    return lines;
}

void WriteCp932Lines(const std::string& path, const std::vector<std::u16string>& lines)
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
    WriteFileAtomic(path, bytes);
}

void WriteFileAtomic(const std::string& path, const std::string& bytes)
{
    // A read-only target stays read-only (for root too): replacing it by rename would otherwise succeed.
    struct stat target
    {
    };
    const bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode))
        throw FileError(path + ": ファイルではなくフォルダです");
    if (exists && ((target.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0))
        throw FileError(path + ": 読み取り専用のファイルには書き込めません");

    const std::string dir = DirectoryOf(path);
    std::string tmpl = path + ".tmpXXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        throw FileError(path + ": ファイルに書き込めません (" + std::strerror(errno) + ")");
    auto fail = [&](const char* what) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmpl.c_str());
        throw FileError(path + ": " + what + " (" + std::strerror(err) + ")");
    };
    if (exists) {
        ::fchmod(fd, target.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail("ファイルに書き込めません");
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0)
        fail("ファイルをディスクに書き出せません");
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        throw FileError(path + ": ファイルに書き込めません (" + std::strerror(err) + ")");
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        throw FileError(path + ": ファイルを置き換えられません (" + std::strerror(err) + ")");
    }
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace velmora
