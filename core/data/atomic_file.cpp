#include "core/data/atomic_file.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/file_system.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

constexpr std::string_view kTempMarker = ".velmora-tmp-";
constexpr size_t kTempSuffixLength = 6; // the XXXXXX of mkstemp

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

// The new content in a locked temporary file beside target, with the target's permissions, flushed;
// returns its name and leaves the descriptor open (and locked) in *fd.
std::string WriteTemporary(const std::string& path, const std::string& target, const std::string& bytes, int* fd)
{
    std::string tmp = target + std::string(kTempMarker) + std::string(kTempSuffixLength, 'X');
    *fd = ::mkstemp(tmp.data());
    if (*fd < 0)
        throw FileError(path + ": ファイルに書き込めません" + ErrnoReason(errno));
    ::flock(*fd, LOCK_EX);
    try {
        ::fchmod(*fd, ReplacementMode(target));
        WriteAndFlush(*fd, path, bytes);
    } catch (...) {
        ::close(*fd);
        ::unlink(tmp.c_str());
        throw;
    }
    return tmp;
}

} // namespace

std::u16string OtherNamesKeptMessage(const std::string& path)
{
    return FromUtf8(path) + u" には別の名前 (ハードリンク) がありました。その名前のファイルは元の内容のままです";
}

std::string WritableTarget(const std::string& path, unsigned long* links)
{
    const std::string target = FinalTarget(path);
    struct stat st
    {
    };
    *links = 0;
    if (::stat(target.c_str(), &st) != 0)
        return target;
    CheckRegularFile(path, st, "書き込めません");
    // A read-only target stays read-only (for root too): replacing it by rename would otherwise succeed.
    if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
        throw FileError(path + ": 読み取り専用のファイルには書き込めません");
    *links = static_cast<unsigned long>(st.st_nlink);
    return target;
}

bool WriteFileAtomic(const std::string& path, const std::string& bytes)
{
    unsigned long links = 0;
    const std::string target = WritableTarget(path, &links);
    RemoveStaleTemporaryFiles(target);
    int fd = -1;
    const std::string tmp = WriteTemporary(path, target, bytes, &fd);
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        throw FileError(path + ": ファイルを置き換えられません" + ErrnoReason(err));
    }
    const bool closed = ::close(fd) == 0; // after the rename: the lock is held until the name is gone
    SyncDirectory(DirectoryOf(target));
    if (!closed)
        throw FileError(path + ": ファイルに書き込めません" + ErrnoReason(errno));
    return links > 1;
}

} // namespace velmora
