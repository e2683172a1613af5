// velmora-cli search CONDITIONS.json [--threads N] [--sorted]: the strongest-mating search. Result lines
// go to stdout, one per line, in the order of the walk as the results window lists them (or sorted by
// UTF-16 code units); a summary {"leaves":N,"results":N,"stopped":B,"seconds":F} goes to stderr. Every
// field of CONDITIONS.json is optional; a missing one keeps the conditions window's initial value.

#include "cli/command.h"
#include "cli/json.h"
#include "cli/json_reader.h"
#include "cli/search_conditions_json.h"
#include "core/data/cp932.h"
#include "core/data/master_data.h"
#include "core/search/search_conditions.h"
#include "core/search/search_engine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace velmora::cli {

namespace {

using namespace velmora::search;

constexpr const char* kUsage = "usage: velmora-cli [--data DIR] search CONDITIONS.json [--threads N] [--sorted]";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        BadSearchInput("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad())
        BadSearchInput("cannot read " + path);
    return s.str();
}

class PrintingListener : public SearchListener
{
public:
    explicit PrintingListener(bool sorted)
        : m_sorted(sorted)
    {
    }
    void StepProgress() override { }
    void AddResult(std::u16string_view line) override
    {
        if (m_sorted) {
            m_lines.emplace_back(line);
        } else {
            const std::string text = ToUtf8(line);
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fputc('\n', stdout);
        }
    }
    void SearchError(std::string_view message) override { m_errors.emplace_back(message); }
    void SearchDone() override { }

    void Flush()
    {
        std::sort(m_lines.begin(), m_lines.end());
        for (const auto& line : m_lines) {
            const std::string text = ToUtf8(line);
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fputc('\n', stdout);
        }
        std::fflush(stdout);
    }
    const std::vector<std::string>& Errors() const { return m_errors; }

private:
    bool m_sorted;
    std::vector<std::u16string> m_lines;
    std::vector<std::string> m_errors;
};

int RunSearch(Context& ctx)
{
    std::string path;
    int threads = 2;
    bool sorted = false;
    for (size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& a = ctx.args[i];
        if (a == "--sorted") {
            sorted = true;
        } else if (a == "--threads") {
            if (i + 1 >= ctx.args.size())
                throw CliError(kUsage);
            const std::string& n = ctx.args[++i];
            char* end = nullptr;
            const long v = std::strtol(n.c_str(), &end, 10);
            if (n.empty() || *end != '\0' || v < 1 || v > 64)
                BadSearchInput("--threads: expected a number from 1 to 64, not \"" + n + "\"");
            threads = static_cast<int>(v);
        } else if (path.empty() && !a.starts_with("--")) {
            path = a;
        } else {
            throw CliError(kUsage);
        }
    }
    if (path.empty())
        throw CliError(kUsage);

    JsonValue doc;
    try {
        doc = ParseJson(ReadFile(path));
    } catch (const JsonError& e) {
        BadSearchInput(path + ": " + e.what());
    }
    MasterData& d = ctx.Data();
    SearchConditions c;
    InitSearchConditions(d, c);
    try {
        ApplyConditions(d, doc, c);
    } catch (const JsonError& e) {
        BadSearchInput(path + ": " + e.what());
    }

    PrintingListener listener(sorted);
    const auto start = std::chrono::steady_clock::now();
    SearchEngine engine(d, c, listener);
    engine.Start(threads);
    engine.Wait();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    listener.Flush();
    const SearchStats stats = engine.Stats();

    Json j;
    j.BeginObject();
    j.Field("leaves", stats.testedLeaves);
    j.Field("results", stats.results);
    j.Key("stopped").Bool(stats.stopped);
    j.Field("seconds", seconds);
    j.EndObject();
    for (const std::string& e : listener.Errors())
        std::fprintf(stderr, "velmora-cli search: %s\n", e.c_str());
    std::fprintf(stderr, "%s\n", j.Text().c_str());
    return listener.Errors().empty() ? 0 : 2;
}

const Registration reg { "search", "search CONDITIONS.json [--threads N] [--sorted]  strongest-mating search",
                         &RunSearch };

} // namespace

} // namespace velmora::cli
