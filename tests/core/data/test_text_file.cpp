#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/text_file.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

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

} // namespace
} // namespace velmora
