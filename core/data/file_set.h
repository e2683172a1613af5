#pragma once
// Writing several files as one set, so that a crash, a kill, a full disk or a refused write leaves either
// every file as it was or every file new, never a mix.
//
// A small commit record in the folder lists the new files and the files they replace. The new files are
// written and flushed beside their targets while the record says "prepare"; then the record says
// "commit", the new files are renamed over their targets, and the record goes. Whoever next opens the
// folder (RecoverFileSet) finishes a commit whose record says "commit" and throws away the new files of
// one that was still being prepared.

#include <string>
#include <vector>

namespace velmora {

// One file of a set: where, and its whole content.
struct SetFile
{
    std::string path;
    std::string bytes;
};

// The name of the commit record in the folder it guards.
inline constexpr const char* kCommitRecordName = ".velmora-commit";

// Writes the files as one set. Each path is written where WriteFileAtomic would write it (links followed;
// a folder, a device or a read-only file refused). An unfinished earlier commit in dir is finished first.
// Throws FileError when the set cannot be written; the files are then all as they were, unless the
// error came while the new files were being put in place, in which case the message says that the next
// opening of the folder completes the set. Returns the paths of files whose other names (hard links)
// keep the former content.
std::vector<std::string> CommitFileSet(const std::string& dir, const std::vector<SetFile>& files);

// Finishes or throws away a commit that was interrupted in dir (see above). Returns a message for the
// user when there was one to finish, empty otherwise. Throws FileError when the record cannot be read
// or the files cannot be put in place.
std::u16string RecoverFileSet(const std::string& dir);

} // namespace velmora
