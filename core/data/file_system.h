#pragma once
// File-system steps shared by the readers and the writers of whole files: what a system error says,
// which file a path finally names, and flushing a folder.

#include <string>
#include <sys/types.h>

struct stat;

namespace velmora {

// " (text of the system error)", to follow a message about a file.
std::string ErrnoReason(int err);

// Refuses what is no regular file: a folder, or a FIFO, device or socket (reading those can block or
// never end, and replacing them is never what the user meant). verb says what cannot be done.
void CheckRegularFile(const std::string& path, const struct stat& st, const char* verb);

std::string DirectoryOf(const std::string& path);
std::string BaseNameOf(const std::string& path);

// The file a path finally names, symbolic links followed; a dangling link names the file it would
// create. Writing there (and renaming beside it) keeps the links. Throws FileError for a link loop.
std::string FinalTarget(const std::string& path);

// Writes all bytes to fd; false (errno set) when the write failed part way.
bool WriteAllBytes(int fd, const std::string& bytes);

// The permissions of a file about to replace target: the target's own when it exists, otherwise 0666
// less the process's umask, as a new file would get.
mode_t ReplacementMode(const std::string& target);

// Writes the whole new content of a file to fd and flushes it to the disk. Throws FileError naming path
// ("ファイルに書き込めません" or "ファイルをディスクに書き出せません", with the reason); fd stays open.
void WriteAndFlush(int fd, const std::string& path, const std::string& bytes);

// Flushes a folder, so that renames and removals in it survive a crash.
void SyncDirectory(const std::string& dir);

} // namespace velmora
