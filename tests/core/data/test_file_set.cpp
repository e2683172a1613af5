// Several files written as one set: after a failure, a kill or a crash at any moment the files are all
// old or all new, and the next opening of the folder leaves no temporary file or commit record behind.

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/file_set.h"
#include "tests/support/cli_run.h"
#include "tests/support/data_files.h"
#include "tests/support/run_counts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace velmora {
namespace {

using test::TempDir;

std::vector<std::string> Leftovers(const TempDir& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) {
        const std::string n = e.path().filename().string();
        if (n.find(".velmora") != std::string::npos)
            names.push_back(n);
    }
    return names;
}

// The data files of a folder (its backups aside).
std::map<std::string, std::string> Files(const TempDir& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        if (e.is_regular_file())
            files[e.path().filename().string()] = dir.ReadBytes(e.path().filename().string());
    return files;
}

TEST(FileSet, AnInterruptedCommitIsFinishedOrUndoneWhenTheFolderIsNextOpened)
{
    struct Case
    {
        const char* state;
        bool aDone; // file a was already put in place when the program stopped
        const char* a; // what a and b hold after the recovery
        const char* b;
        const char* message;
    };
    const Case cases[] = {
        { "prepare", false, "old a", "old b", "前回のデータの保存は途中で止まったため、保存前のデータのままです" },
        { "commit", false, "new a", "new b", "前回途中で止まったデータの保存を完了しました" },
        { "commit", true, "new a", "new b", "前回途中で止まったデータの保存を完了しました" },
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.WriteBytes("a", c.aDone ? "new a" : "old a");
        dir.WriteBytes("b", "old b");
        if (!c.aDone)
            dir.WriteBytes("a.velmora-set", "new a");
        dir.WriteBytes("b.velmora-set", "new b");
        dir.WriteBytes(kCommitRecordName,
                       std::string("velmora-commit 1\n") + c.state + "\n" + dir.File("a.velmora-set") + "\t"
                           + dir.File("a") + "\n" + dir.File("b.velmora-set") + "\t" + dir.File("b") + "\nend\n");
        EXPECT_EQ(ToUtf8(RecoverFileSet(dir.Path())), c.message);
        EXPECT_EQ(dir.ReadBytes("a") + "/" + dir.ReadBytes("b"), std::string(c.a) + "/" + c.b) << c.state;
        EXPECT_EQ(Leftovers(dir), std::vector<std::string> {}) << c.state;
        EXPECT_EQ(RecoverFileSet(dir.Path()), u"") << "nothing left to do";
    }

    // A record that is not one is reported and left for the user to look at.
    TempDir dir;
    dir.WriteBytes(kCommitRecordName, "velmora-commit 1\ncommit\n");
    EXPECT_THROW(RecoverFileSet(dir.Path()), FileError);
}

TEST(FileSet, AFileThatCannotBeWrittenLeavesEveryFileAsItWas)
{
    TempDir dir;
    dir.WriteBytes("a", "old a");
    dir.WriteBytes("c", "old c");
    // Where c's new content would go is taken by a folder: the set fails after a's new file was written.
    ASSERT_EQ(::mkdir(dir.File("c.velmora-set").c_str(), 0755), 0);
    EXPECT_THROW(CommitFileSet(dir.Path(), { { dir.File("a"), "new a" }, { dir.File("c"), "new c" } }), FileError);
    EXPECT_EQ(dir.ReadBytes("a") + dir.ReadBytes("c"), "old aold c");
    EXPECT_EQ(Leftovers(dir), std::vector<std::string> { "c.velmora-set" }); // the folder is not ours to remove
}

TEST(FileSet, AFileWithSeveralNamesIsReplacedUnderOneAndSaysSo)
{
    TempDir dir;
    dir.WriteBytes("a", "old a");
    ASSERT_EQ(::link(dir.File("a").c_str(), dir.File("other name").c_str()), 0);
    EXPECT_EQ(CommitFileSet(dir.Path(), { { dir.File("a"), "new a" } }), std::vector<std::string> { dir.File("a") });
    EXPECT_EQ(dir.ReadBytes("a") + "/" + dir.ReadBytes("other name"), "new a/old a");
}

// velmora-cli edit writes three files as one set (a new mare with a new ancestor and a new sire line);
// with a pause between the renames it is killed at random moments, 200 times. After each kill the next
// load finds either the old set or the new one, and nothing of the commit is left.
TEST(FileSet, KilledAtAnyMomentACommitLeavesTheOldSetOrTheNewOne)
{
    const TempDir original;
    test::CopyFiles(VELMORA_SAMPLE_DIR, original);
    const TempDir ops;
    ops.WriteBytes("ops.json",
                   ToUtf8(u"[{\"op\":\"register\",\"table\":\"mares\",\"name\":\"ｺﾛｼﾃｽﾄ\","
                          u"\"fields\":{\"keito\":\"ｺﾛｼ系\",\"Father\":[\"ｺﾛｼｿｾﾝ\"]}}]"));
    const std::map<std::string, std::string> oldSet = Files(original);
    std::map<std::string, std::string> newSet;
    int runMicroseconds = 0; // how long an uninterrupted run takes, pauses included
    {
        const TempDir probe;
        test::CopyFiles(original.Path(), probe);
        ::setenv("VELMORA_TEST_COMMIT_PAUSE_MS", "15", 1);
        const auto start = std::chrono::steady_clock::now();
        const auto done = test::RunVelmoraCli("--data '" + probe.Path() + "' edit '" + ops.File("ops.json") + "'");
        runMicroseconds = static_cast<int>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
        ::unsetenv("VELMORA_TEST_COMMIT_PAUSE_MS");
        ASSERT_EQ(done.exitCode, 0);
        newSet = Files(probe);
        for (const char* f : { "牝馬.CSV", "祖先馬.CSV", "系統.CSV" })
            ASSERT_NE(oldSet.at(f), newSet.at(f)) << f;
    }
    std::mt19937 rng(18);
    int olds = 0, news = 0;
    for (int run = 0; run < test::Runs(200); ++run) {
        const TempDir dir;
        test::CopyFiles(original.Path(), dir);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::setenv("VELMORA_TEST_COMMIT_PAUSE_MS", "15", 1);
            const std::string data = dir.Path(), path = ops.File("ops.json");
            ::execl(VELMORA_CLI_PATH, "velmora-cli", "--data", data.c_str(), "edit", path.c_str(), (char*)nullptr);
            ::_exit(127);
        }
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, runMicroseconds * 6 / 5)(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);

        const auto info = test::RunVelmoraCli("--data '" + dir.Path() + "' info");
        ASSERT_EQ(info.exitCode, 0) << "run " << run;
        const std::map<std::string, std::string> now = Files(dir);
        const bool isOld = now == oldSet, isNew = now == newSet;
        EXPECT_TRUE(isOld || isNew) << "run " << run << ": a mix of the old and the new files";
        olds += isOld;
        news += isNew;
        EXPECT_EQ(Leftovers(dir), std::vector<std::string> {}) << "run " << run;
    }
    // The kills fell before, during and after the commit.
    EXPECT_GT(olds, 0);
    EXPECT_GT(news, 0);
}

} // namespace
} // namespace velmora
