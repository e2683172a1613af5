// html STALLION MARE [-o FILE] [--open]: the HTML mating report for "STALLION * MARE".

#include "cli/command.h"
#include "cli/horse_lookup.h"
#include "cli/json.h"
#include "core/data/master_data.h"
#include "core/eval/html_report.h"

#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace velmora::cli {

namespace {

constexpr const char* kUsage = "usage: velmora-cli [--data DIR] html STALLION MARE [-o FILE] [--open]";

// Asks the desktop to open the file (xdg-open, without a shell). False when that fails.
bool OpenWithDesktop(const std::string& path)
{
    const char* argv[] = { "xdg-open", path.c_str(), nullptr };
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int RunHtml(Context& ctx)
{
    std::vector<std::string> names;
    std::string file(kHtmlReportFile);
    bool open = false;
    const auto& a = ctx.args;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == "-o") {
            if (i + 1 >= a.size())
                throw CliError(kUsage);
            file = a[++i];
        } else if (a[i] == "--open") {
            open = true;
        } else {
            names.push_back(a[i]);
        }
    }
    if (names.size() != 2 || file.empty())
        throw CliError(kUsage);
    const MasterData& d = ctx.Data();
    const DadRec& s = d.DadTable[static_cast<size_t>(LookupStallion(d, names[0]))];
    const MamRec& m = d.MamTable[static_cast<size_t>(LookupMare(d, names[1]))];
    WriteHtmlReport(d, file, s.Fee, s.name + u" * " + m.name, s.Father, m.Father);
    if (open && !OpenWithDesktop(file))
        throw CliError("velmora-cli: the report was written but could not be opened: " + file);
    Json j;
    j.BeginObject();
    j.Field("file", std::string_view(file));
    j.EndObject();
    std::printf("%s\n", j.Text().c_str());
    return 0;
}

const Registration reg { "html", "html STALLION MARE [-o FILE] [--open]   HTML report of the pair", &RunHtml };

} // namespace

} // namespace velmora::cli
