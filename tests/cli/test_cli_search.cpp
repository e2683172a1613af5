// velmora-cli search: the conditions file, the output contract, the error messages and the stop by a
// signal, over a small data set written into a temporary data directory (and the generated
// full-capacity set where the search must outlast the test's actions).

#include "core/data/cp932.h"
#include "core/data/loader.h"
#include "tests/support/cli_run.h"
#include "tests/support/data_files.h"
#include "tests/support/reference_search.h"
#include "tools/datagen/datagen.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace velmora;
using namespace velmora::search;
using velmora::test::TempDir;

namespace {

using test::CliRun;
using namespace std::chrono_literals;

// velmora-cli with its standard output on a pipe that the test reads only when it chooses, so that
// the program blocks writing once the pipe is full; standard error goes to a file.
class CliChild
{
public:
    CliChild(const std::vector<std::string>& args, const std::string& errFile)
    {
        std::vector<char*> argv { const_cast<char*>(VELMORA_CLI_PATH) };
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        int out[2];
        if (::pipe(out) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(out[1], 1);
            ::dup2(err, 2);
            ::close(out[0]);
            ::execv(VELMORA_CLI_PATH, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        m_out = out[0];
    }
    ~CliChild()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            ::close(m_out);
    }

    bool OutputWithin(std::chrono::milliseconds limit)
    {
        pollfd p { m_out, POLLIN, 0 };
        return ::poll(&p, 1, static_cast<int>(limit.count())) == 1;
    }
    void Signal(int sig) { ::kill(m_pid, sig); }

    // Reads the output to its end and waits for the program: its exit code, minus the signal that
    // killed it, or -1000 when it outlives `limit` (it is killed then).
    int Finish(std::chrono::seconds limit, std::string& out)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        char buf[65536];
        for (;;) {
            const auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !OutputWithin(left))
                return -1000;
            const ssize_t n = ::read(m_out, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, static_cast<size_t>(n));
        }
        int status = 0;
        while (::waitpid(m_pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline)
                return -1000;
            std::this_thread::sleep_for(10ms);
        }
        m_pid = -1;
        return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
};

class SearchCli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::WriteDataSet(m_dir, test::SmallDataSet());
        m_dir.WriteBytes("相性.CSV", ""); // the point file must exist for the data directory to be used
    }

    CliRun Run(const std::string& json, const std::string& options = "")
    {
        m_dir.WriteBytes("cond.json", json);
        return test::RunVelmoraCli("--data '" + m_dir.Path() + "' search '" + m_dir.File("cond.json") + "' " + options,
                                   "", m_dir.File("err.txt"));
    }

    // The reference's result lines for the data set, after `prepare` has set marks and conditions on a
    // freshly opened conditions window state.
    std::vector<std::string> Expected(const std::function<void(MasterData&, SearchConditions&)>& prepare)
    {
        auto d = std::make_unique<MasterData>();
        EXPECT_TRUE(GetMasterData(*d, m_dir.Path(), test::DefaultDataFiles()).completed);
        SearchConditions c;
        InitSearchConditions(*d, c);
        prepare(*d, c);
        RefreshSearchCounts(*d, c);
        std::vector<std::string> lines;
        for (const auto& l : ReferenceSearch(*d, c).lines)
            lines.push_back(ToUtf8(l));
        return lines;
    }

    static std::vector<std::string> Lines(const std::string& out)
    {
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < out.size()) {
            const size_t end = out.find('\n', start);
            lines.push_back(out.substr(start, end - start));
            start = end == std::string::npos ? out.size() : end + 1;
        }
        return lines;
    }

    static std::vector<std::string> Sorted(std::vector<std::string> v)
    {
        std::sort(v.begin(), v.end(),
                  [](const std::string& a, const std::string& b) { return FromUtf8(a) < FromUtf8(b); });
        return v;
    }

    TempDir m_dir;
};

const char* kBothMares = R"("mares":["ﾋﾒ","ﾊﾅ"])";

void MarkBothMares(MasterData& d)
{
    for (int i = 0; i < d.MamCount; ++i)
        d.MamTable[static_cast<size_t>(i)].Selected = true;
}

} // namespace

TEST_F(SearchCli, InitialConditionsFindNoCandidateBroodmare)
{
    // Both broodmares of the set are 自家 / 他家, which the initial broodmare conditions exclude.
    const CliRun r = Run("{}");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(R"({"leaves":0,"results":0,"stopped":false,"seconds":)"), std::string::npos) << r.err;
}

TEST_F(SearchCli, ResultLinesMatchTheReference)
{
    struct Case
    {
        std::string json;
        std::function<void(MasterData&, SearchConditions&)> prepare;
    };
    const Case cases[] = {
        { std::string("{") + kBothMares + R"(,"haigo":{"1":{"Kiken":0}}})",
          [](MasterData& d, SearchConditions& c) {
              MarkBothMares(d);
              c.HaigoJoken[1].Kiken = 0;
          } },
        { std::string("{") + kBothMares + R"(,"maxGen":2,"haigo":{"1":{"Kiken":0},"2":{"Kiken":0}}})",
          [](MasterData& d, SearchConditions& c) {
              MarkBothMares(d);
              c.MaxGen = 2;
              c.HaigoJoken[1].Kiken = 0;
              c.HaigoJoken[2].Kiken = 0;
          } },
        { std::string("{") + kBothMares
              + R"(,"maxGen":2,"stallions":{"2":["ｶｯﾊﾟ"]},"child":{"1":{"NitroSpBound":1}},)"
                R"("sosen":{"exclude":["ｴｰﾀ"]}})",
          [](MasterData& d, SearchConditions& c) {
              MarkBothMares(d);
              c.MaxGen = 2;
              for (int i = 0; i < d.DadCount; ++i)
                  if (d.DadTable[static_cast<size_t>(i)].name != u"ｶｯﾊﾟ")
                      d.DadTable[static_cast<size_t>(i)].Selected &= ~2;
              c.ChildJoken[1].NitroSpBound = 1;
              for (auto& item : c.Sosen)
                  if (item.name == u"ｴｰﾀ")
                      item.mark = SosenMark::Unchecked;
              UpdateSosenFlags(c);
          } },
        { R"({"mares":["ﾊﾅ"],"haigo":{"1":{"Kiken":0,"Crs":[0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0]}}})",
          [](MasterData& d, SearchConditions& c) {
              d.MamTable[0].Selected = false;
              d.MamTable[1].Selected = true;
              c.HaigoJoken[1].Kiken = 0;
              c.HaigoJoken[1].Crs[2] = 1;
              UpdateActive(c.HaigoJoken[1]);
          } },
    };
    int nonEmpty = 0;
    for (const auto& k : cases) {
        const auto expected = Expected(k.prepare);
        nonEmpty += expected.empty() ? 0 : 1;
        SCOPED_TRACE(k.json + " expects " + std::to_string(expected.size()));
        const CliRun r = Run(k.json);
        EXPECT_EQ(r.exitCode, 0) << k.json << "\n" << r.err;
        // The walk's own order, as the results window lists it, whatever the workers.
        EXPECT_EQ(Lines(r.out), expected) << k.json;
        for (const char* threads : { "--threads 1", "--threads 3" })
            EXPECT_EQ(Lines(Run(k.json, threads).out), expected) << k.json << " " << threads;
        const CliRun sorted = Run(k.json, "--threads 3 --sorted");
        EXPECT_EQ(Lines(sorted.out), Sorted(expected)) << k.json;
        EXPECT_NE(r.err.find("\"results\":" + std::to_string(expected.size()) + ","), std::string::npos) << r.err;
    }
    EXPECT_GE(nonEmpty, 3);
}

TEST_F(SearchCli, ResultLimitStopsTheSearch)
{
    auto expected = Expected([](MasterData& d, SearchConditions& c) {
        MarkBothMares(d);
        c.HaigoJoken[1].Kiken = 0;
    });
    ASSERT_GT(expected.size(), 2u);
    expected.resize(2); // the first two of the walk, whatever the workers
    for (const char* threads : { "--threads 1", "--threads 2", "--threads 3" }) {
        const CliRun r = Run(std::string("{") + kBothMares + R"(,"resultLimit":2,"haigo":{"1":{"Kiken":0}}})", threads);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(Lines(r.out), expected) << threads;
        EXPECT_NE(r.err.find(R"("results":2,"stopped":true)"), std::string::npos) << r.err;
    }
}

TEST_F(SearchCli, BadInputGivesAClearMessageAndExitCode2)
{
    struct Case
    {
        std::string json;
        std::string options;
        std::string message;
    };
    const Case cases[] = {
        { "{", "", "line 1, column 2: expected a key in double quotes" },
        { "{\"maxGen\":2,}", "", "line 1, column 13: expected a key in double quotes" },
        { "{\"maxGen\":01}", "", "leading zeros" },
        { "{\"mares\":[\"a]}", "", "unterminated string" },
        { "{\"mares\":[\"\\q\"]}", "", "invalid escape" },
        { "{\"mares\":[\"\\ud800\"]}", "", "unpaired surrogate" },
        { "{\"maxGen\":1,\"maxGen\":2}", "", "duplicate key \"maxGen\"" },
        { "{}\n  x", "", "line 2, column 3: unexpected text after the end" },
        { std::string(100, '[') + std::string(100, ']'), "", "nesting too deep" },
        { "{\"maxGen\":5}", "", "conditions.maxGen: expected an integer from 1 to 4" },
        { "{\"maxGen\":1.5}", "", "conditions.maxGen: expected an integer" },
        { "{\"maxgen\":1}", "", "unknown field \"maxgen\"" },
        { "{\"mares\":[\"ﾅｲ\"]}", "", "mares: unknown broodmare \"ﾅｲ\"" },
        { "{\"stallions\":{\"1\":[\"ﾅｲ\"]}}", "", "stallions.1: unknown stallion \"ﾅｲ\"" },
        { "{\"stallions\":{\"5\":[]}}", "", "generation key \"5\"" },
        { "{\"haigo\":{\"1\":{\"Omo\":3}}}", "", "haigo.1.Omo: expected an integer from 0 to 2" },
        { "{\"haigo\":{\"1\":{\"Crs\":[1,2]}}}", "", "haigo.1.Crs: expected 16 numbers" },
        { "{\"child\":{\"2\":{\"NitroSpUd\":1}}}", "", "child.2.NitroSpUd: expected a boolean, found a number" },
        { "{\"sosen\":{\"require\":[\"ｱﾙﾌｧ\"]}}", "", "\"ｱﾙﾌｧ\" is not an ancestor with a cross effect" },
        { "{\"sosen\":{\"require\":[\"ﾍﾞｰﾀ\"],\"exclude\":[\"ﾍﾞｰﾀ\"]}}", "", "both required and excluded" },
        { "[]", "", "conditions: expected an object, found an array" },
        { "{}", "--threads 0", "--threads: expected a number from 1 to 64" },
        { "{}", "--frobnicate", "usage:" },
        // A long name is cut in the message.
        { "{\"mares\":[\"" + std::string(30000, 'x') + "\"]}", "",
          "unknown broodmare \"" + std::string(40, 'x') + "…\"\n" },
    };
    for (const auto& k : cases) {
        const CliRun r = Run(k.json, k.options);
        EXPECT_EQ(r.exitCode, 2) << k.json;
        EXPECT_NE(r.err.find(k.message), std::string::npos) << k.json << "\n" << r.err;
        EXPECT_EQ(r.out, "") << k.json;
        EXPECT_LT(r.err.size(), 1000u);
    }
    // A folder given as the conditions file is named as one, not read as an empty document.
    ASSERT_EQ(::mkdir(m_dir.File("folder.json").c_str(), 0755), 0);
    const CliRun r = test::RunVelmoraCli("--data '" + m_dir.Path() + "' search '" + m_dir.File("folder.json") + "'", "",
                                         m_dir.File("err.txt"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find(ToUtf8(u"folder.json (フォルダです)")), std::string::npos) << r.err;
}

TEST_F(SearchCli, AnObjectOfManyKeysIsReadInLinearTime)
{
    // 300 000 keys, the last one repeating an early one: comparing each key with every earlier one took
    // minutes; the duplicate must still be found.
    std::string json = "{";
    for (int i = 0; i < 300000; ++i)
        json += "\"k" + std::to_string(i) + "\":0,";
    m_dir.WriteBytes("many.json", json + "\"k5\":1}");
    CliChild cli({ "--data", m_dir.Path(), "search", m_dir.File("many.json") }, m_dir.File("err.txt"));
    std::string out;
    EXPECT_EQ(cli.Finish(60s, out), 2);
    EXPECT_NE(m_dir.ReadBytes("err.txt").find("duplicate key \"k5\""), std::string::npos);
}

TEST_F(SearchCli, ASignalStopsTheSearchOnAWholeLine)
{
    // The full-capacity set lists 185 193 lines; the program blocks on its full output pipe until the
    // signal has come, then ends the lines found so far, says it stopped and exits with 128 + signal.
    TempDir data;
    WriteFullCapacityData(data.Path());
    m_dir.WriteBytes("all.json", R"({"resultLimit":2000000000,"haigo":{"1":{"Kiken":0}}})");
    const std::vector<std::string> args { "--data", data.Path(), "search", m_dir.File("all.json") };
    std::string whole;
    ASSERT_EQ(CliChild(args, m_dir.File("err.txt")).Finish(120s, whole), 0);
    const auto all = Lines(whole);
    for (const auto& [sig, code] : { std::pair { SIGINT, 130 }, std::pair { SIGTERM, 143 } }) {
        CliChild cli(args, m_dir.File("signal.txt"));
        ASSERT_TRUE(cli.OutputWithin(60s)) << sig;
        cli.Signal(sig);
        std::string out;
        EXPECT_EQ(cli.Finish(120s, out), code) << sig;
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(out.back(), '\n') << sig;
        const auto lines = Lines(out);
        EXPECT_LT(lines.size(), all.size()) << sig;
        EXPECT_TRUE(std::equal(lines.begin(), lines.end(), all.begin())) << sig; // whole lines, in order
        const std::string err = m_dir.ReadBytes("signal.txt");
        EXPECT_NE(err.find("\"results\":" + std::to_string(lines.size()) + ",\"stopped\":true"), std::string::npos)
            << err;
    }
}
