#pragma once
// The conditions of velmora-cli search, read from CONDITIONS.json: every field optional, a missing one
// keeping the conditions window's initial value.

#include "cli/json_reader.h"
#include "core/data/master_data.h"
#include "core/search/search_conditions.h"

#include <string>

namespace velmora::cli {

// Throws the CliError of a bad search input: "velmora-cli search: " + message.
[[noreturn]] void BadSearchInput(const std::string& message);

// Applies a parsed CONDITIONS.json to c, the conditions of a freshly opened conditions window over d
// (the chosen broodmares and stallions are marked in d). Throws CliError naming the field for an unknown
// field, name or generation, JsonError for a value of the wrong type or range.
void ApplyConditions(MasterData& d, const JsonValue& doc, search::SearchConditions& c);

} // namespace velmora::cli
