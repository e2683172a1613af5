#pragma once
// The command table of velmora-cli. Each command lives in its own file and registers itself:
//
//     static const velmora::cli::Registration reg{"info", "info", &RunInfo};
//
// A command prints one JSON document (or the text it is asked for) on stdout and returns the exit
// code; fatal errors throw CliError (message on stderr, exit 2).

#include <stdexcept>
#include <string>
#include <vector>

namespace velmora {
struct MasterData;
}

namespace velmora::cli {

class CliError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Global options and the lazily loaded master data.
struct Context
{
    std::string dataDir; // --data DIR ("" = the settings file in the current directory)
    std::string pointsName; // --points NAME ("" = the settings' current point file)
    std::vector<std::string> args; // the command's own arguments (UTF-8)

    // Loads the master data once (as configured by dataDir) and returns it; the load's messages
    // are kept in loadMessages. Throws CliError when the load cannot be done.
    MasterData& Data();
    std::vector<std::u16string> loadMessages;

private:
    bool m_loaded = false;
};

using CommandFn = int (*)(Context&);

struct Registration
{
    Registration(const char* name, const char* usage, CommandFn fn);
};

} // namespace velmora::cli
