// The alias file: reading, adding, replacing, refusing keys that would not read back.

#include "core/data/alias.h"
#include "core/data/cp932.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

using namespace velmora;

namespace {

class AliasFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path()
            / ("velmora_alias_" + std::to_string(::getpid()) + "_"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        m_path = AliasFilePath(m_dir.string() + "/");
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string Bytes() const
    {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path m_dir;
    std::string m_path;
};

} // namespace

TEST_F(AliasFile, PathIsStartDirPlusAliasTxt)
{
    EXPECT_EQ(AliasFilePath("/x/y/"), "/x/y/ALIAS.TXT");
}

TEST_F(AliasFile, MissingFileReadsEmptyAndSetCreatesIt)
{
    EXPECT_EQ(GetAlias(m_path, u"ｻﾝﾃﾞｰ"), u"");
    EXPECT_FALSE(std::filesystem::exists(m_path));
    ASSERT_TRUE(SetAlias(m_path, u"ｻﾝﾃﾞｰ", u"ｻﾝﾃﾞｰｻｲﾚﾝｽ"));
    EXPECT_TRUE(std::filesystem::exists(m_path));
    EXPECT_EQ(GetAlias(m_path, u"ｻﾝﾃﾞｰ"), u"ｻﾝﾃﾞｰｻｲﾚﾝｽ");
    EXPECT_EQ(GetAlias(m_path, u"ｻﾝﾃﾞ"), u"");
    // The file is code page 932 with CR LF: the section, then the entry.
    EXPECT_EQ(Bytes(), ToCp932(u"[Alias]\r\nｻﾝﾃﾞｰ=ｻﾝﾃﾞｰｻｲﾚﾝｽ\r\n"));
}

TEST_F(AliasFile, ReplacesAnEntryAndKeepsTheOthers)
{
    ASSERT_TRUE(SetAlias(m_path, u"A", u"Alpha"));
    ASSERT_TRUE(SetAlias(m_path, u"B", u"Beta"));
    ASSERT_TRUE(SetAlias(m_path, u"A", u"Apex"));
    EXPECT_EQ(GetAlias(m_path, u"A"), u"Apex");
    EXPECT_EQ(GetAlias(m_path, u"B"), u"Beta");
}

TEST_F(AliasFile, ReadsAFileWrittenByHand)
{
    {
        std::ofstream out(m_path, std::ios::binary);
        out << ToCp932(u"[Other]\r\nX=wrong\r\n[Alias]\r\nX=ﾐｽﾀｰ\r\nﾀﾞｰﾋﾞｰ=ﾀﾞｰﾋﾞｰｷﾝｸﾞ\r\n");
    }
    EXPECT_EQ(GetAlias(m_path, u"X"), u"ﾐｽﾀｰ");
    EXPECT_EQ(GetAlias(m_path, u"ﾀﾞｰﾋﾞｰ"), u"ﾀﾞｰﾋﾞｰｷﾝｸﾞ");
    EXPECT_EQ(GetAlias(m_path, u"ダービー"), u""); // keys are matched as written, not folded
}

TEST_F(AliasFile, RefusesKeysThatWouldNotReadBack)
{
    const std::u16string bad[] = { u"", u" A", u"A ", u"A=B", u"A\r\nB", u"[A]", u";A" };
    for (const auto& key : bad) {
        EXPECT_FALSE(CanStoreAlias(key, u"Name"));
        EXPECT_FALSE(SetAlias(m_path, key, u"Name"));
        EXPECT_EQ(GetAlias(m_path, key), u"");
    }
    EXPECT_FALSE(SetAlias(m_path, u"A", u"Two\nLines"));
    EXPECT_FALSE(std::filesystem::exists(m_path)); // nothing was written
    EXPECT_TRUE(CanStoreAlias(u"A B", u"Name")); // inner blanks are fine
}
