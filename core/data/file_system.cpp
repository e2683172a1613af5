#include "core/data/file_system.h"

#include "core/common/errors.h"
#include "core/common/message_text.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

std::string ErrnoReason(int err)
{
    return " (" + SystemErrorText(err) + ")";
}

void CheckRegularFile(const std::string& path, const struct stat& st, const char* verb)
{
    if (S_ISDIR(st.st_mode))
        throw FileError(path + ": ファイルではなくフォルダです");
    if (!S_ISREG(st.st_mode))
        throw FileError(path + ": 通常のファイルではないので" + verb);
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
            throw FileError(path + ": リンク先を読めません" + ErrnoReason(n < 0 ? errno : ENAMETOOLONG));
        const std::string target(buf, static_cast<size_t>(n));
        p = target.front() == '/' ? target : DirectoryOf(p) + "/" + target;
    }
    throw FileError(path + ": リンク先を読めません" + ErrnoReason(ELOOP));
}

bool WriteAllBytes(int fd, const std::string& bytes)
{
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

mode_t ReplacementMode(const std::string& target)
{
    struct stat st
    {
    };
    if (::stat(target.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void WriteAndFlush(int fd, const std::string& path, const std::string& bytes)
{
    if (!WriteAllBytes(fd, bytes))
        throw FileError(path + ": ファイルに書き込めません" + ErrnoReason(errno));
    if (::fsync(fd) != 0)
        throw FileError(path + ": ファイルをディスクに書き出せません" + ErrnoReason(errno));
}

void SyncDirectory(const std::string& dir)
{
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace velmora
