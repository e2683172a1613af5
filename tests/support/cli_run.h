#pragma once
// Running velmora-cli from a test as a separate program.

#include <string>

namespace velmora::test {

struct CliRun
{
    int exitCode = -1;
    std::string out;
    std::string err; // empty unless errFile was given
};

// Runs velmora-cli with args (already shell-quoted) in the directory cwd ("" = the current one).
// Standard error goes to errFile and is read back into err; without errFile it is discarded.
CliRun RunVelmoraCli(const std::string& args, const std::string& cwd = "", const std::string& errFile = "");

} // namespace velmora::test
