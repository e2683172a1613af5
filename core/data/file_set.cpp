#include "core/data/file_set.h"

#include "core/common/errors.h"
#include "core/data/atomic_file.h"
#include "core/data/cp932.h"
#include "core/data/file_system.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace velmora {

namespace {

constexpr std::string_view kRecordHeader = "velmora-commit 1";
constexpr std::string_view kPrepare = "prepare";
constexpr std::string_view kCommit = "commit";
constexpr std::string_view kEnd = "end";
constexpr std::string_view kNewSuffix = ".velmora-set";

struct Pair
{
    std::string temp;
    std::string target;
};

std::string WithSlash(std::string dir)
{
    if (dir.empty())
        dir = ".";
    if (dir.back() != '/')
        dir += '/';
    return dir;
}

// Holds an exclusive lock on the folder, so that two programs never commit into it at once.
class FolderLock
{
public:
    explicit FolderLock(const std::string& dir)
        : m_fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd < 0)
            throw FileError(dir + ": フォルダを開けません" + ErrnoReason(errno));
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) { }
    }
    ~FolderLock() { ::close(m_fd); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd;
};

// Writes a small file whole and flushed under a temporary name, then renames it into place.
void WriteFlushed(const std::string& path, const std::string& bytes)
{
    const std::string tmp = path + ".new";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw FileError(path + ": 保存の記録を書けません" + ErrnoReason(errno));
    const bool ok = WriteAllBytes(fd, bytes) && ::fsync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok || ::rename(tmp.c_str(), path.c_str()) != 0) {
        const int why = ok ? errno : err;
        ::unlink(tmp.c_str());
        throw FileError(path + ": 保存の記録を書けません" + ErrnoReason(why));
    }
    SyncDirectory(DirectoryOf(path));
}

std::string RecordBytes(std::string_view state, const std::vector<Pair>& pairs)
{
    std::string s(kRecordHeader);
    s += '\n';
    s += state;
    s += '\n';
    for (const Pair& p : pairs)
        s += p.temp + '\t' + p.target + '\n';
    s += kEnd;
    s += '\n';
    return s;
}

// Reads a commit record: its state and its pairs. Throws FileError when it is not one.
std::string_view ReadRecord(const std::string& path, std::vector<Pair>& pairs)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileError(path + ": 保存の記録を読めません" + ErrnoReason(errno));
    std::string bytes;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0 && bytes.size() < (1u << 20))
        bytes.append(buf, static_cast<size_t>(n));
    ::close(fd);
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(bytes.substr(start, end - start));
    const auto broken = [&] {
        return FileError(path
                         + ": 保存の記録が壊れています。データファイルを確かめてから、このファイルを削除してください");
    };
    if (lines.size() < 3 || lines.front() != kRecordHeader || lines.back() != kEnd)
        throw broken();
    for (size_t i = 2; i + 1 < lines.size(); ++i) {
        const size_t tab = lines[i].find('\t');
        if (tab == std::string::npos)
            throw broken();
        pairs.push_back({ lines[i].substr(0, tab), lines[i].substr(tab + 1) });
    }
    if (lines[1] == kPrepare)
        return kPrepare;
    if (lines[1] == kCommit)
        return kCommit;
    throw broken();
}

bool Exists(const std::string& path)
{
    struct stat st
    {
    };
    return ::lstat(path.c_str(), &st) == 0;
}

// A test-only pause between two renames, so that a test can kill the program in the middle of a set.
void PauseForTests()
{
    static const long ms = [] {
        const char* v = std::getenv("VELMORA_TEST_COMMIT_PAUSE_MS");
        return v ? std::strtol(v, nullptr, 10) : 0L;
    }();
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Renames every new file that is still there over its target; returns the first error (0 for none).
int PutInPlace(const std::vector<Pair>& pairs)
{
    int firstError = 0;
    std::set<std::string> dirs;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (i > 0)
            PauseForTests();
        const Pair& p = pairs[i];
        if (!Exists(p.temp))
            continue; // put in place before an interruption
        if (::rename(p.temp.c_str(), p.target.c_str()) != 0 && firstError == 0)
            firstError = errno;
        dirs.insert(DirectoryOf(p.target));
    }
    for (const std::string& d : dirs)
        SyncDirectory(d);
    return firstError;
}

void RemoveTemps(const std::vector<Pair>& pairs)
{
    for (const Pair& p : pairs)
        ::unlink(p.temp.c_str());
}

void RemoveRecord(const std::string& record)
{
    ::unlink(record.c_str());
    SyncDirectory(DirectoryOf(record));
}

// The recovery under the folder lock.
std::u16string RecoverLocked(const std::string& dir)
{
    const std::string record = dir + kCommitRecordName;
    ::unlink((record + ".new").c_str()); // a record being written when the program stopped: nothing began
    if (!Exists(record))
        return {};
    std::vector<Pair> pairs;
    if (ReadRecord(record, pairs) == kPrepare) {
        RemoveTemps(pairs);
        RemoveRecord(record);
        return u"前回のデータの保存は途中で止まったため、保存前のデータのままです";
    }
    if (const int err = PutInPlace(pairs); err != 0)
        throw FileError(record + ": 前回の保存を完了できません" + ErrnoReason(err));
    RemoveRecord(record);
    return u"前回途中で止まったデータの保存を完了しました";
}

// A new file beside its target, with the target's permissions, flushed.
void WriteNewFile(const std::string& shownPath, const Pair& p, const std::string& bytes)
{
    const int fd = ::open(p.temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        throw FileError(shownPath + ": ファイルに書き込めません" + ErrnoReason(errno));
    try {
        ::fchmod(fd, ReplacementMode(p.target));
        WriteAndFlush(fd, shownPath, bytes);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        throw FileError(shownPath + ": ファイルをディスクに書き出せません" + ErrnoReason(errno));
}

} // namespace

std::u16string RecoverFileSet(const std::string& dir)
{
    const std::string d = WithSlash(dir);
    if (!Exists(d + kCommitRecordName) && !Exists(d + kCommitRecordName + ".new"))
        return {}; // the common case costs two lookups and no lock
    const FolderLock lock(d);
    return RecoverLocked(d);
}

std::vector<std::string> CommitFileSet(const std::string& dir, const std::vector<SetFile>& files)
{
    const std::string d = WithSlash(dir);
    const FolderLock lock(d);
    RecoverLocked(d);

    std::vector<Pair> pairs;
    std::vector<std::string> linksDropped;
    std::set<std::string> targets;
    for (const SetFile& f : files) {
        unsigned long links = 0;
        Pair p;
        p.target = WritableTarget(f.path, &links);
        p.temp = p.target + std::string(kNewSuffix);
        if (p.target.find_first_of("\t\n") != std::string::npos)
            throw FileError(f.path + ": ファイル名にタブや改行が含まれているので書き込めません");
        if (!targets.insert(p.target).second)
            throw FileError(f.path + ": 同じファイルに二つのデータを書き込もうとしました");
        if (links > 1)
            linksDropped.push_back(f.path);
        pairs.push_back(std::move(p));
    }

    const std::string record = d + kCommitRecordName;
    WriteFlushed(record, RecordBytes(kPrepare, pairs));
    try {
        for (size_t i = 0; i < files.size(); ++i)
            WriteNewFile(files[i].path, pairs[i], files[i].bytes);
        for (const Pair& p : pairs)
            SyncDirectory(DirectoryOf(p.temp));
        WriteFlushed(record, RecordBytes(kCommit, pairs));
    } catch (...) {
        RemoveTemps(pairs);
        RemoveRecord(record);
        throw;
    }
    if (const int err = PutInPlace(pairs); err != 0)
        throw FileError(record + ": データファイルを置き換えられません" + ErrnoReason(err)
                        + "。次にデータを読み込むときに保存を完了します");
    RemoveRecord(record);
    return linksDropped;
}

} // namespace velmora
