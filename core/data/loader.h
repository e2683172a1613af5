#pragma once
// Loading the eight master data files into the tables (GetMasterData), and locating data files.

#include "core/data/master_data.h"

#include <functional>
#include <string>
#include <vector>

namespace velmora {

// What a window lends the load: a wait cursor and a chance to repaint during long loads.
struct LoadHooks
{
    std::function<void(bool busy)> setBusy; // true at the start, false at the end
    std::function<void()> processEvents; // after the ancestor and stallion files
};

struct LoadResult
{
    // Texts the load shows in message boxes, in order (unknown nick lines, then any fatal error).
    std::vector<std::u16string> messages;
    bool completed = true; // false when a fatal error stopped the load
};

// The path of a data file: dataDir (UTF-8, ends with '/') followed by name; the file is found without
// regard to letter case (the data files come from a platform whose file names ignore case). When no
// file matches, the plain concatenation.
std::string DataFilePath(const std::string& dataDir, std::u16string_view name);
bool DataFileExists(const std::string& dataDir, std::u16string_view name);

// Reads the files in their fixed order into d. Never throws: a fatal error stops the load, leaving
// tables already read with their new content, and is reported in messages with completed = false.
LoadResult GetMasterData(MasterData& d, const std::string& dataDir, const TDataFiles& files,
                         const LoadHooks& hooks = {});

} // namespace velmora
