#pragma once
// Backup sets of the data files. Before the data editing window first writes in an opening (and so before
// a foal is registered), the nine data files are copied into "backup/YYYYMMDD-HHMMSS/" beside them; the
// newest kKeptBackups sets are kept. A set is restored as one commit, after the current files have been
// backed up in their turn.

#include "core/data/records.h"

#include <ctime>
#include <string>
#include <vector>

namespace velmora {

inline constexpr int kKeptBackups = 20;
inline constexpr const char* kBackupFolder = "backup";

struct BackupSet
{
    std::string name; // the folder name, YYYYMMDD-HHMMSS (with "-2", "-3" … for a second set in a second)
    std::vector<std::string> files; // the file names in it, sorted
};

// Copies those of the nine data files that exist into a new set named after `when` (local time), then
// removes the oldest sets beyond kKeptBackups (never the set named keep). Returns the set's name. Throws
// FileError when the copy cannot be made whole; no partial set is left then.
std::string MakeBackup(const std::string& dataDir, const TDataFiles& files, std::time_t when,
                       const std::string& keep = {});

// The sets beside the data files, newest first.
std::vector<BackupSet> ListBackups(const std::string& dataDir);

// Backs up the current files, then writes every file of the set back to the data directory as one set.
// Returns the name of the backup made first. Throws FileError, with the data files unchanged, when the
// set cannot be read or written.
std::string RestoreBackup(const std::string& dataDir, const TDataFiles& files, const std::string& setName,
                          std::time_t when);

// "2026/12/10 09:05:03" for a set named 20261210-090503 (and its "-2" forms); the name itself otherwise.
std::string BackupTimeText(const std::string& setName);

} // namespace velmora
