#include "tests/support/cli_run.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace velmora::test {

CliRun RunVelmoraCli(const std::string& args, const std::string& cwd, const std::string& errFile)
{
    std::string cmd;
    if (!cwd.empty())
        cmd = "cd '" + cwd + "' && ";
    cmd += std::string("'") + VELMORA_CLI_PATH + "' " + args + " 2>"
        + (errFile.empty() ? "/dev/null" : "'" + errFile + "'");
    CliRun r;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    const int status = ::pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!errFile.empty()) {
        std::ifstream in(errFile, std::ios::binary);
        r.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return r;
}

} // namespace velmora::test
