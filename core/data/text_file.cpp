#include "core/data/text_file.h"

#include "core/common/errors.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"

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

constexpr std::string_view kTempMarker = ".velmora-tmp-";
constexpr size_t kTempSuffixLength = 6; // the XXXXXX of mkstemp

std::string Reason(int err)
{
    return " (" + SystemErrorText(err) + ")";
}

// Refuses what is no regular file: a folder, or a FIFO, device or socket (reading those can block
// or never end, and replacing them is never what the user meant).
void CheckRegular(const std::string& path, const struct stat& st, const char* verb)
{
    if (S_ISDIR(st.st_mode))
        throw FileError(path + ": ファイルではなくフォルダです");
    if (!S_ISREG(st.st_mode))
        throw FileError(path + ": 通常のファイルではないので" + verb);
}

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

// The bytes of a regular file; with maxLines, only its first maxLines lines.
std::string ReadBytes(const std::string& path, size_t maxLines)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer before it can be refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw FileError(path + ": ファイルを開けません" + Reason(errno));
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        throw FileError(path + ": ファイルを読み込めません" + Reason(err));
    }
    try {
        CheckRegular(path, st, "読み込めません");
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
            throw FileError(path + ": ファイルを読み込めません" + Reason(err));
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

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path finally names, symbolic links followed; a dangling link names the file it would
// create. Writing there (and renaming beside it) keeps the links.
std::string FinalTarget(const std::string& path)
{
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st
        {
        };
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return p;
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(p.c_str(), buf, sizeof buf);
        if (n < 0 || static_cast<size_t>(n) >= sizeof buf)
            throw FileError(path + ": リンク先を読めません" + Reason(n < 0 ? errno : ENAMETOOLONG));
        const std::string target(buf, static_cast<size_t>(n));
        p = target.front() == '/' ? target : DirectoryOf(p) + "/" + target;
    }
    throw FileError(path + ": リンク先を読めません" + Reason(ELOOP));
}

// Removes the temporary files of target that a killed writer left behind. A writer holds a lock on its
// temporary file until it is renamed, so a file whose lock can be taken has no writer any more.
void RemoveStaleTemporaryFiles(const std::string& target)
{
    const std::string dir = DirectoryOf(target);
    const std::string prefix = BaseNameOf(target) + std::string(kTempMarker);
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (name.size() != prefix.size() + kTempSuffixLength || name.substr(0, prefix.size()) != prefix)
            continue;
        const std::string full = dir + "/" + std::string(name);
        const int fd = ::open(full.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat held
        {
        }, named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode)
            && ::lstat(full.c_str(), &named) == 0 && named.st_ino == held.st_ino && named.st_dev == held.st_dev)
            ::unlink(full.c_str());
        ::close(fd);
    }
    ::closedir(d);
}

void WriteAll(int fd, const std::string& bytes, size_t* written)
{
    *written = 0;
    while (*written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + *written, bytes.size() - *written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        *written += static_cast<size_t>(n);
    }
}

void SyncDirectory(const std::string& dir)
{
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

// The new content in a locked temporary file beside target, flushed; returns its name and leaves the
// descriptor open (and locked) in *fd.
std::string WriteTemporary(const std::string& path, const std::string& target, const struct stat* existing,
                           const std::string& bytes, int* fd)
{
    std::string tmp = target + std::string(kTempMarker) + std::string(kTempSuffixLength, 'X');
    *fd = ::mkstemp(tmp.data());
    if (*fd < 0)
        throw FileError(path + ": ファイルに書き込めません" + Reason(errno));
    ::flock(*fd, LOCK_EX);
    auto fail = [&](const char* what) {
        const int err = errno;
        ::close(*fd);
        ::unlink(tmp.c_str());
        throw FileError(path + ": " + what + Reason(err));
    };
    if (existing) {
        ::fchmod(*fd, existing->st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(*fd, 0666 & ~mask);
    }
    size_t written = 0;
    WriteAll(*fd, bytes, &written);
    if (written < bytes.size())
        fail("ファイルに書き込めません");
    if (::fsync(*fd) != 0)
        fail("ファイルをディスクに書き出せません");
    return tmp;
}

// A file with several hard links: its content is replaced in place, since renaming would give only
// one of its names the new content. The full content is first written beside it, which makes sure
// the disk has room before the file itself is touched.
void RewriteInPlace(const std::string& path, const std::string& target, const struct stat& st, const std::string& bytes)
{
    int tmpFd = -1;
    const std::string tmp = WriteTemporary(path, target, &st, bytes, &tmpFd);
    ::unlink(tmp.c_str());
    ::close(tmpFd);
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        throw FileError(path + ": ファイルに書き込めません" + Reason(errno));
    size_t written = 0;
    WriteAll(fd, bytes, &written);
    const bool ok
        = written == bytes.size() && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok)
        throw FileError(path + ": ファイルに書き込めません" + Reason(err));
}

} // namespace

Cp932LineReader::Cp932LineReader(const std::string& path, size_t maxLines)
    : m_bytes(ReadBytes(path, maxLines))
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

bool Cp932LineReader::Next(std::u16string& line)
{
    const size_t n = m_bytes.size();
    if (m_pos >= n)
        return false;
    size_t end = m_bytes.find_first_of("\r\n", m_pos);
    if (end == std::string::npos)
        end = n;
    DecodeCp932(std::string_view(m_bytes).substr(m_pos, end - m_pos), line); // checked as a whole when read
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
    const std::string target = FinalTarget(path);
    struct stat st
    {
    };
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists)
        CheckRegular(path, st, "書き込めません");
    // A read-only target stays read-only (for root too): replacing it by rename would otherwise succeed.
    if (exists && ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
        throw FileError(path + ": 読み取り専用のファイルには書き込めません");

    RemoveStaleTemporaryFiles(target);
    if (exists && st.st_nlink > 1) {
        RewriteInPlace(path, target, st, bytes);
        return;
    }
    int fd = -1;
    const std::string tmp = WriteTemporary(path, target, exists ? &st : nullptr, bytes, &fd);
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        throw FileError(path + ": ファイルを置き換えられません" + Reason(err));
    }
    const bool closed = ::close(fd) == 0; // after the rename: the lock is held until the name is gone
    SyncDirectory(DirectoryOf(target));
    if (!closed)
        throw FileError(path + ": ファイルに書き込めません" + Reason(errno));
}

} // namespace velmora
