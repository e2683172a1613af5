// velmora-cli search CONDITIONS.json [--threads N] [--sorted]: the strongest-mating search. Result lines
// go to stdout, one per line, in the order of the walk as the results window lists them (or sorted by
// UTF-16 code units); a summary {"leaves":N,"results":N,"stopped":B,"seconds":F} goes to stderr. Every
// field of CONDITIONS.json is optional; a missing one keeps the conditions window's initial value.
// SIGINT or SIGTERM stops the search: the output ends on a whole line, the summary says "stopped":true
// and the exit code is 128 + the signal's number.

#include "cli/command.h"
#include "cli/json.h"
#include "cli/json_reader.h"
#include "cli/search_conditions_json.h"
#include "cli/stop_on_signal.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"
#include "core/data/master_data.h"
#include "core/search/search_conditions.h"
#include "core/search/search_engine.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::cli {

namespace {

using namespace velmora::search;

constexpr const char* kUsage = "usage: velmora-cli [--data DIR] search CONDITIONS.json [--threads N] [--sorted]";

std::string ReadFile(const std::string& path)
{
    const auto fail = [&path](int err) { BadSearchInput("cannot read " + path + " (" + SystemErrorText(err) + ")"); };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail(errno);
    // A folder would read as an empty document; it is named as what it is. A pipe is read as a file.
    struct stat st
    {
    };
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        fail(EISDIR);
    }
    std::string text;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            fail(err);
        }
        if (n == 0)
            break;
        text.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return text;
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
                BadSearchInput("--threads: expected a number from 1 to 64, not \"" + NameForMessage(n) + "\"");
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
    // SIGINT and SIGTERM stop the search as 検索中止 does: the lines found so far end whole, then the
    // summary, then the exit code of the signal.
    const StopOnSignal stopper([&engine] { engine.RequestStop(); });
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
    return stopper.ExitCode(listener.Errors().empty() ? 0 : 2);
}

const Registration reg { "search", "search CONDITIONS.json [--threads N] [--sorted]  strongest-mating search",
                         &RunSearch };

} // namespace

} // namespace velmora::cli
