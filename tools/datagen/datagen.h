#pragma once
// A deterministic full-capacity master data set for benchmarks and load tests: 3001 ancestors, 513
// stallions, 701 broodmares, 4096 nicks, 96 sire lines, 16 cross effects, 16 interesting lines and a
// few coat colours. The horses descend from one another, so that the ancestors named in pedigrees
// exist, popular sires recur (crosses occur) and the nick lines meet the lines of real pairs.

#include "core/data/master_data.h"

#include <memory>
#include <string>

namespace velmora {

// Writes the nine data files under their default names into dir (created when missing; with or
// without a trailing '/'). The point file "相性.CSV" is written empty: the program fills in its
// defaults on first read. The same files, byte for byte, on every call. Throws FileError.
void WriteFullCapacityData(const std::string& dir);

// Generates the data set into a temporary directory, loads it with the default file names and removes
// the directory again. Throws FileError when the set cannot be written or does not load completely.
std::unique_ptr<MasterData> LoadFullCapacityData();

} // namespace velmora
