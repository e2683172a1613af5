#pragma once
// File-system steps shared by the readers and the writers of whole files: what a system error says,
// which file a path finally names, and flushing a folder.

#include <string>

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

// Flushes a folder, so that renames and removals in it survive a crash.
void SyncDirectory(const std::string& dir);

} // namespace velmora
