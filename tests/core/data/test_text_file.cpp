#include "core/common/errors.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"
#include "core/data/text_file.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace velmora {
namespace {

using test::TempDir;

std::vector<std::string> Entries(const TempDir& dir)
{
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.Path().c_str());
    while (const dirent* e = ::readdir(d))
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
            names.push_back(e->d_name);
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(TextFile, ReadsLinesWhateverTheirEnds)
{
    struct Case
    {
        std::string bytes;
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        { "", {} },
        { "a", { u"a" } },
        { "a\r\n", { u"a" } },
        { "a\r\nb", { u"a", u"b" } },
        { "a\r\n\r\nb\r\n", { u"a", u"", u"b" } },
        { "a\nb\rc\r\n", { u"a", u"b", u"c" } },
        { "\r\n", { u"" } },
        { "\x96\xa2\x93\x6f\x98\x5e,\xb1\r\n\x81\x40", { u"未登録,ｱ", u"\u3000" } },
        // half-width katakana that happen to be well-formed UTF-8 as well ("ﾃｽ" = C3 BD, "ﾈｵ" = C8 B5)
        { "\xc3\xbd,1\r\n\xc8\xb5\r\n", { u"ﾃｽ,1", u"ﾈｵ" } },
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.WriteBytes("f.csv", c.bytes);
        EXPECT_EQ(ReadCp932Lines(dir.File("f.csv")), c.lines);
    }
}

TEST(TextFile, WritesCp932WithCrLfAfterEveryLine)
{
    TempDir dir;
    WriteCp932Lines(dir.File("o.csv"), { u"未登録,1", u"", u"ｱ\uF8F0" });
    EXPECT_EQ(dir.ReadBytes("o.csv"), "\x96\xa2\x93\x6f\x98\x5e,1\r\n\r\n\xb1\xa0\r\n");
    WriteCp932Lines(dir.File("o.csv"), {});
    EXPECT_EQ(dir.ReadBytes("o.csv"), "");
    EXPECT_EQ(Entries(dir), std::vector<std::string> { "o.csv" }); // no temporary file is left
}

TEST(TextFile, AtomicWriteKeepsModeAndFailsCleanly)
{
    TempDir dir;
    dir.WriteBytes("keep.csv", "old");
    ::chmod(dir.File("keep.csv").c_str(), 0640);
    WriteFileAtomic(dir.File("keep.csv"), "new");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(dir.File("keep.csv").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.ReadBytes("keep.csv"), "new");

    // a read-only file stays as it is, even for a user whom permissions do not bind
    ::chmod(dir.File("keep.csv").c_str(), 0444);
    EXPECT_THROW(WriteFileAtomic(dir.File("keep.csv"), "newer"), FileError);
    EXPECT_EQ(dir.ReadBytes("keep.csv"), "new");

    EXPECT_THROW(WriteFileAtomic(dir.File("no/such/dir/x.csv"), "x"), FileError);
    ASSERT_EQ(::mkdir(dir.File("sub").c_str(), 0755), 0);
    EXPECT_THROW(WriteFileAtomic(dir.File("sub"), "x"), FileError);
    EXPECT_EQ(Entries(dir), (std::vector<std::string> { "keep.csv", "sub" }));
}

TEST(TextFile, MessagesNameTheFileAndTheLine)
{
    struct Case
    {
        std::string bytes;
        std::string want;
    };
    const Case cases[] = {
        { "\xef\xbb\xbf"
          "abc",
          "BOM" },
        { "\xfe\xff\0a", "UTF-16" },
        { "ok\r\n\xe6\x9c\xaa\xe7\x99\xbb\xe9\x8c\xb2\r\n", "UTF-8" },
        // two-byte UTF-8 only, but not code page 932 ("П" at the end leaves a lead byte alone)
        { "ok\r\n\xd0\x9f", "UTF-8" },
        { "1\r\n2\r\n3\x85\x40\r\n", "3 行目" },
        { "1\n2\r3\r\n4\x81", "4 行目" },
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.WriteBytes("bad.csv", c.bytes);
        try {
            ReadCp932Lines(dir.File("bad.csv"));
            ADD_FAILURE() << c.want << ": no error";
        } catch (const FileError& e) {
            const std::string m = e.what();
            EXPECT_NE(m.find(dir.File("bad.csv")), std::string::npos) << m;
            EXPECT_NE(m.find(c.want), std::string::npos) << m;
        }
    }
    TempDir dir;
    EXPECT_THROW(ReadCp932Lines(dir.File("missing.csv")), FileError);
}

TEST(TextFile, SystemErrorsAreSaidInJapanese)
{
    TempDir dir;
    ASSERT_EQ(::symlink("loop.csv", dir.File("loop.csv").c_str()), 0);
    struct Case
    {
        std::string path;
        const char* text;
    };
    const Case cases[] = {
        { dir.File("missing.csv"), "ファイルまたはフォルダがありません" },
        { dir.File(std::string(300, 'x') + ".csv"), "名前が長すぎます" },
        { dir.File("loop.csv"), "シンボリックリンクが循環しています" },
    };
    for (const Case& c : cases) {
        try {
            ReadCp932Lines(c.path);
            ADD_FAILURE() << c.text << ": no error";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(c.text), std::string::npos) << e.what();
        }
    }
    try {
        WriteFileAtomic(dir.File("no/such/x.csv"), "x");
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("ファイルまたはフォルダがありません"), std::string::npos) << e.what();
    }
    // The common ones a test cannot bring about here (no permission for root, a full or read-only disk)
    // hold no English word either; a rare one is worded as the system words it.
    for (const int err : { EACCES, EPERM, ENOSPC, EDQUOT, EROFS }) {
        const std::string text = SystemErrorText(err);
        EXPECT_FALSE(text.empty());
        EXPECT_TRUE(std::none_of(text.begin(), text.end(), [](char c) {
            return std::isalpha(static_cast<unsigned char>(c));
        })) << text;
    }
    EXPECT_EQ(SystemErrorText(EXDEV), std::generic_category().message(EXDEV));
}

TEST(TextFile, WritesThroughLinksAndRefusesFifos)
{
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("sub").c_str(), 0755), 0);
    dir.WriteBytes("sub/real.csv", "old");
    ASSERT_EQ(::symlink("sub/real.csv", dir.File("link.csv").c_str()), 0);
    ASSERT_EQ(::symlink("link.csv", dir.File("link2.csv").c_str()), 0);
    ASSERT_EQ(::symlink("sub/made.csv", dir.File("dangling.csv").c_str()), 0);
    ASSERT_EQ(::link(dir.File("sub/real.csv").c_str(), dir.File("hard.csv").c_str()), 0);
    auto isLink = [&](const char* name) {
        struct stat st
        {
        };
        return ::lstat(dir.File(name).c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    };

    // A file with a second name (a hard link) is replaced under the name written to, and the caller
    // learns that the other name keeps the former content: no rewrite in place could be atomic.
    EXPECT_TRUE(WriteFileAtomic(dir.File("link2.csv"), "through two links"));
    EXPECT_TRUE(isLink("link.csv") && isLink("link2.csv"));
    EXPECT_EQ(dir.ReadBytes("sub/real.csv"), "through two links");
    EXPECT_EQ(dir.ReadBytes("hard.csv"), "old");

    EXPECT_FALSE(WriteFileAtomic(dir.File("hard.csv"), "by the other name"));
    EXPECT_EQ(dir.ReadBytes("hard.csv"), "by the other name");

    WriteFileAtomic(dir.File("dangling.csv"), "new");
    EXPECT_TRUE(isLink("dangling.csv"));
    EXPECT_EQ(dir.ReadBytes("sub/made.csv"), "new");

    ASSERT_EQ(::mkfifo(dir.File("fifo.csv").c_str(), 0644), 0);
    EXPECT_THROW(WriteFileAtomic(dir.File("fifo.csv"), "x"), FileError);
    EXPECT_THROW(ReadCp932Lines(dir.File("fifo.csv")), FileError); // and no wait for a writer
    struct stat st
    {
    };
    ASSERT_EQ(::lstat(dir.File("fifo.csv").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(Entries(dir),
              (std::vector<std::string> { "dangling.csv", "fifo.csv", "hard.csv", "link.csv", "link2.csv", "sub" }));
}

TEST(TextFile, StaleTemporaryFilesOfTheTargetAreRemoved)
{
    TempDir dir;
    // left behind by writers that were killed: one of this target, one of another, and one still being
    // written (its writer holds the lock)
    dir.WriteBytes("a.csv.velmora-tmp-Ab12Cd", "stale");
    dir.WriteBytes("b.csv.velmora-tmp-Ab12Cd", "other target");
    dir.WriteBytes("a.csv.velmora-tmp-Busy00", "in progress");
    const int busy = ::open(dir.File("a.csv.velmora-tmp-Busy00").c_str(), O_RDWR);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);

    WriteFileAtomic(dir.File("a.csv"), "new");
    ::close(busy);
    EXPECT_EQ(dir.ReadBytes("a.csv"), "new");
    EXPECT_EQ(Entries(dir),
              (std::vector<std::string> { "a.csv", "a.csv.velmora-tmp-Busy00", "b.csv.velmora-tmp-Ab12Cd" }));
}

} // namespace
} // namespace velmora
