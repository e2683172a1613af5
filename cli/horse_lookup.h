#pragma once
// Finding horses and the point table for the commands: a name is looked up as given, and when it is
// not found, folded into the stored form (ToHalfWidth) and looked up again.

#include <string_view>

namespace velmora {
struct MasterData;
struct PtsRec;
} // namespace velmora

namespace velmora::cli {

struct Context;

// DadTable / MamTable row of a name given on the command line (UTF-8). Throws CliError naming the
// horse when neither form is found.
int LookupStallion(const MasterData& d, std::string_view name);
int LookupMare(const MasterData& d, std::string_view name);

// Makes the point table current and reads it: the one named by --points when given ("デフォルト" is
// "相性.CSV"), else the settings' current file. Loads the master data first.
const PtsRec& CurrentPoints(Context& ctx);

} // namespace velmora::cli
