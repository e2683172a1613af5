#include "core/maint/backups.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/file_set.h"
#include "core/data/file_system.h"
#include "core/data/loader.h"
#include "core/data/text_file.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

constexpr const char* kPartial = ".partial-";

std::string Folder(const std::string& dataDir)
{
    return dataDir + kBackupFolder + "/";
}

// Whether name is a set's name: 8 digits, "-", 6 digits, and maybe "-" and a number.
bool IsSetName(const std::string& name)
{
    if (name.size() < 15 || name[8] != '-')
        return false;
    for (size_t i = 0; i < 15; ++i)
        if (i != 8 && (name[i] < '0' || name[i] > '9'))
            return false;
    if (name.size() == 15)
        return true;
    if (name[15] != '-' || name.size() == 16)
        return false;
    return std::all_of(name.begin() + 16, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Sets sort by time, and a later set of the same second after the first.
bool Older(const std::string& a, const std::string& b)
{
    if (a.substr(0, 15) != b.substr(0, 15))
        return a < b;
    // The first set of a second has no number; later ones count from 2 (compared as whole numbers).
    const std::string x = a.size() > 16 ? a.substr(16) : "1";
    const std::string y = b.size() > 16 ? b.substr(16) : "1";
    return x.size() != y.size() ? x.size() < y.size() : x < y;
}

std::vector<std::string> Entries(const std::string& dir)
{
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return names;
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..")
            names.push_back(n);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

// Removes a set folder: the plain files in it, then the folder.
void RemoveSet(const std::string& dir)
{
    for (const std::string& f : Entries(dir))
        ::unlink((dir + "/" + f).c_str());
    ::rmdir(dir.c_str());
}

void MakeFolder(const std::string& dir)
{
    if (::mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST)
        throw FileError(dir + ": フォルダを作れません" + ErrnoReason(errno));
}

void WriteCopy(const std::string& path, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        throw FileError(path + ": バックアップを書き込めません" + ErrnoReason(errno));
    const bool ok = WriteAllBytes(fd, bytes) && ::fsync(fd) == 0;
    const int err = errno;
    if (::close(fd) != 0 || !ok)
        throw FileError(path + ": バックアップを書き込めません" + ErrnoReason(err));
}

std::string SetNameFor(const std::string& folder, std::time_t when)
{
    std::tm tm {};
    ::localtime_r(&when, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &tm);
    std::string name = buf;
    struct stat st
    {
    };
    for (int n = 2; ::lstat((folder + name).c_str(), &st) == 0; ++n)
        name = std::string(buf) + "-" + std::to_string(n);
    return name;
}

} // namespace

std::string MakeBackup(const std::string& dataDir, const TDataFiles& files, std::time_t when, const std::string& keep)
{
    const std::string folder = Folder(dataDir);
    MakeFolder(folder);
    // Sets that a kill left half written are thrown away.
    for (const std::string& n : Entries(folder))
        if (n.rfind(kPartial, 0) == 0)
            RemoveSet(folder + n);

    const std::string name = SetNameFor(folder, when);
    const std::string partial = folder + kPartial + name;
    MakeFolder(partial);
    try {
        for (const std::u16string* file : { &files.Keito, &files.Keiro, &files.Cross, &files.Nix, &files.Omokei,
                                            &files.Oya, &files.Dad, &files.Mam, &files.Aisho }) {
            if (!DataFileExists(dataDir, *file))
                continue;
            const std::string path = DataFilePath(dataDir, *file);
            WriteCopy(partial + "/" + BaseNameOf(path), ReadFileBytes(path));
        }
        SyncDirectory(partial);
        if (::rename(partial.c_str(), (folder + name).c_str()) != 0)
            throw FileError(folder + name + ": バックアップを作れません" + ErrnoReason(errno));
        SyncDirectory(folder);
    } catch (...) {
        RemoveSet(partial);
        throw;
    }

    std::vector<std::string> sets;
    for (const std::string& n : Entries(folder))
        if (IsSetName(n) && n != keep)
            sets.push_back(n);
    std::sort(sets.begin(), sets.end(), Older);
    const size_t kept = keep.empty() ? kKeptBackups : kKeptBackups - 1;
    for (size_t i = 0; i + kept < sets.size(); ++i)
        RemoveSet(folder + sets[i]);
    return name;
}

std::vector<BackupSet> ListBackups(const std::string& dataDir)
{
    const std::string folder = Folder(dataDir);
    std::vector<BackupSet> sets;
    for (const std::string& n : Entries(folder)) {
        struct stat st
        {
        };
        if (IsSetName(n) && ::stat((folder + n).c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            sets.push_back({ n, Entries(folder + n) });
    }
    std::sort(sets.begin(), sets.end(), [](const BackupSet& a, const BackupSet& b) { return Older(b.name, a.name); });
    return sets;
}

std::string RestoreBackup(const std::string& dataDir, const TDataFiles& files, const std::string& setName,
                          std::time_t when)
{
    if (!IsSetName(setName))
        throw FileError(setName + ": バックアップの名前ではありません");
    const std::string dir = Folder(dataDir) + setName + "/";
    std::vector<SetFile> set;
    for (const std::string& f : Entries(dir))
        set.push_back({ DataFilePath(dataDir, FromUtf8(f)), ReadFileBytes(dir + f) });
    if (set.empty())
        throw FileError(dir + ": バックアップにファイルがありません");
    const std::string before = MakeBackup(dataDir, files, when, setName);
    CommitFileSet(dataDir, set);
    return before;
}

std::string BackupTimeText(const std::string& setName)
{
    if (!IsSetName(setName))
        return setName;
    const std::string& n = setName;
    std::string text = n.substr(0, 4) + "/" + n.substr(4, 2) + "/" + n.substr(6, 2) + " " + n.substr(9, 2) + ":"
        + n.substr(11, 2) + ":" + n.substr(13, 2);
    if (n.size() > 15)
        text += " (" + n.substr(16) + ")";
    return text;
}

} // namespace velmora
