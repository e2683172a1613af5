// velmora-cli: the scriptable front end over the core. Usage: velmora-cli [--data DIR] [--points NAME] COMMAND ...

#include "cli/command.h"
#include "core/common/errors.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"
#include "core/mating/points.h"
#include "velmora_version.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <string>

namespace velmora::cli {

namespace {
struct Entry
{
    const char* usage;
    CommandFn fn;
};

std::map<std::string, Entry>& Commands()
{
    static std::map<std::string, Entry> commands;
    return commands;
}

// The usage: on stdout when asked for with --help, on stderr after a mistake.
void PrintUsage(FILE* out)
{
    std::fprintf(
        out,
        "usage: velmora-cli [--data DIR] [--points NAME] COMMAND [ARGS...]\n       velmora-cli --version\ncommands:\n");
    for (const auto& [name, entry] : Commands())
        std::fprintf(out, "  %s\n", entry.usage);
}
} // namespace

Registration::Registration(const char* name, const char* usage, CommandFn fn)
{
    Commands()[name] = Entry { usage, fn };
}

} // namespace velmora::cli

int main(int argc, char** argv)
{
    using namespace velmora::cli;
    Context ctx;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--data" || a == "--points") && i + 1 < argc) {
            (a == "--data" ? ctx.dataDir : ctx.pointsName) = argv[++i];
        } else if (a == "--version") {
            std::printf("velmora-cli %s\n", velmora::kVersion);
            return 0;
        } else if (a == "--help" || a == "-h") {
            PrintUsage(stdout);
            return 0;
        } else {
            break;
        }
    }
    if (i >= argc) {
        PrintUsage(stderr);
        return 2;
    }
    // Refused before anything is read, so that a bad name never reaches the file system.
    if (const std::u16string problem = velmora::PointSettingNameProblem(velmora::FromUtf8(ctx.pointsName));
        !problem.empty()) {
        std::fprintf(stderr, "velmora-cli: --points: %s\n", velmora::ToUtf8(problem).c_str());
        return 2;
    }
    const auto it = Commands().find(argv[i]);
    if (it == Commands().end()) {
        std::fprintf(stderr, "velmora-cli: unknown command '%s'\n", velmora::NameForMessage(argv[i]).c_str());
        PrintUsage(stderr);
        return 2;
    }
    ctx.args.assign(argv + i + 1, argv + argc);
    try {
        return it->second.fn(ctx);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
}
