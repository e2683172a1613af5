#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using test::TempDir;

// The file's text as lines joined by "|" (CR LF checked separately).
std::string Content(const TempDir& dir, const std::string& name)
{
    const std::u16string text = FromCp932(dir.ReadBytes(name));
    std::u16string joined;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            joined += u'|';
            ++i;
        } else {
            joined += text[i];
        }
    }
    return ToUtf8(joined);
}

TEST(IniFile, MissingFileReadsEmptyAndIsCreatedOnFirstWrite)
{
    TempDir dir;
    IniFile ini(dir.File("new.ini"));
    EXPECT_FALSE(ini.Read(u"配合", u"同系配合").has_value());
    EXPECT_EQ(ini.ReadString(u"配合", u"同系配合", u"7"), u"7");
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_NE(::access(dir.File("new.ini").c_str(), F_OK), 0); // reading creates nothing

    EXPECT_EQ(ini.ReadSetting(u"配合", u"同系配合", u"0"), u"0");
    EXPECT_EQ(ini.ReadSetting(u"配合", u"面白配合", u"2000"), u"2000");
    EXPECT_EQ(ini.ReadSetting(u"配合", u"見事な配合", u"2000"), u"2000");
    EXPECT_EQ(Content(dir, "new.ini"), "[配合]|同系配合=0|面白配合=2000|見事な配合=2000|");
    // code page 932 on disk
    EXPECT_EQ(dir.ReadBytes("new.ini").substr(0, 8), "[\x94\x7a\x8d\x87]\r\n");
}

TEST(IniFile, NamesIgnoreAsciiCaseAndValuesLoseSurroundingBlanks)
{
    TempDir dir;
    dir.WriteText("s.ini", u"[Screen]\r\n  FontName =  ＭＳ ゴシック \t\r\nSize=12\r\n[data]\r\nKeito=a.csv\r\n");
    IniFile ini(dir.File("s.ini"));
    struct Case
    {
        std::u16string section, key;
        std::optional<std::u16string> want;
    };
    const Case cases[] = {
        { u"SCREEN", u"fontname", u"ＭＳ ゴシック" }, { u"screen", u"SIZE", u"12" }, { u"DATA", u"keito", u"a.csv" },
        { u"Data", u"Size", std::nullopt }, // keys belong to their section
        { u"ＳＣＲＥＥＮ", u"Size", std::nullopt }, // full-width letters are other letters
        { u"SCREEN", u"ＳＩＺＥ", std::nullopt },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.Read(c.section, c.key), c.want) << ToUtf8(c.section) << "/" << ToUtf8(c.key);
    EXPECT_EQ(ini.Sections(), (std::vector<std::u16string> { u"Screen", u"data" }));
    EXPECT_EQ(ini.Keys(u"screen"), (std::vector<std::u16string> { u"FontName", u"Size" }));
    EXPECT_TRUE(ini.SectionExists(u"DATA"));
    EXPECT_FALSE(ini.SectionExists(u"ImeMode"));
}

TEST(IniFile, WritesReplaceInPlaceAppendToSectionOrAddSectionAtEnd)
{
    struct Case
    {
        const char* name;
        std::u16string section, key, value;
        std::string want;
    };
    const std::u16string start = u"; comment\r\n[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n";
    const Case cases[] = {
        { "replace in place, other case", u"a", u"Y", u"9", "; comment|[A]|x=1|Y=9||[B]|z=3|" },
        { "new key at end of section before blank line", u"A", u"w", u"4", "; comment|[A]|x=1|y=2|w=4||[B]|z=3|" },
        { "new key at end of last section", u"B", u"q", u"", "; comment|[A]|x=1|y=2||[B]|z=3|q=|" },
        { "new section at end of file", u"C", u"k", u"v", "; comment|[A]|x=1|y=2||[B]|z=3|[C]|k=v|" },
        { "value keeps inner blanks", u"B", u"z", u"a b", "; comment|[A]|x=1|y=2||[B]|z=a b|" },
        { "line end inside a value becomes blank", u"B", u"z", u"a\r\nb", "; comment|[A]|x=1|y=2||[B]|z=a  b|" },
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.WriteText("t.ini", start);
        IniFile ini(dir.File("t.ini"));
        ini.WriteString(c.section, c.key, c.value);
        EXPECT_EQ(Content(dir, "t.ini"), c.want) << c.name;
        IniFile again(dir.File("t.ini"));
        EXPECT_EQ(again.Read(c.section, c.key), ini.Read(c.section, c.key)) << c.name;
    }
}

TEST(IniFile, FirstOfDuplicateSectionsAndKeysWins)
{
    TempDir dir;
    dir.WriteText("d.ini", u"[S]\r\nk=first\r\nk=second\r\n[s]\r\nk=third\r\nj=4\r\n");
    IniFile ini(dir.File("d.ini"));
    EXPECT_EQ(ini.Read(u"S", u"k"), u"first");
    EXPECT_FALSE(ini.Read(u"S", u"j").has_value());
    ini.WriteString(u"s", u"K", u"new");
    EXPECT_EQ(Content(dir, "d.ini"), "[S]|K=new|k=second|[s]|k=third|j=4|");
}

TEST(IniFile, SeesChangesMadeOnDiskByOthers)
{
    TempDir dir;
    IniFile a(dir.File("shared.ini"));
    IniFile b(dir.File("shared.ini"));
    a.WriteString(u"Alias", u"ﾀﾛｳ", u"ﾀﾛｰ");
    EXPECT_EQ(b.Read(u"Alias", u"ﾀﾛｳ"), u"ﾀﾛｰ");
    b.WriteString(u"Alias", u"ｼﾞﾛｳ", u"ｼﾞﾛｰ");
    a.WriteString(u"Alias", u"ｻﾌﾞ", u"ｻﾌﾞﾛｰ"); // must not lose b's entry
    IniFile c(dir.File("shared.ini"));
    EXPECT_EQ(c.Keys(u"Alias"), (std::vector<std::u16string> { u"ﾀﾛｳ", u"ｼﾞﾛｳ", u"ｻﾌﾞ" }));
}

TEST(IniFile, RejectsKeysAndSectionsThatCannotBeStored)
{
    TempDir dir;
    IniFile ini(dir.File("r.ini"));
    EXPECT_THROW(ini.WriteString(u"S", u"a=b", u"1"), FileError);
    EXPECT_THROW(ini.WriteString(u"S", u"", u"1"), FileError);
    EXPECT_THROW(ini.WriteString(u"S", u"a\nb", u"1"), FileError);
    EXPECT_THROW(ini.WriteString(u"S]", u"a", u"1"), FileError);
    EXPECT_THROW(ini.WriteString(u"", u"a", u"1"), FileError);
    // characters code page 932 lacks would come back as "?" and the key would never be found again
    EXPECT_THROW(ini.WriteString(u"Alias", u"Café", u"1"), FileError);
    EXPECT_THROW(ini.WriteString(u"S\U0001F600", u"a", u"1"), FileError);
    EXPECT_NE(::access(dir.File("r.ini").c_str(), F_OK), 0);
}

TEST(IniFile, UnwritableFileFailsAndKeepsMemoryAsOnDisk)
{
    TempDir dir;
    dir.WriteText("ro.ini", u"[S]\r\nk=1\r\n");
    ::chmod(dir.File("ro.ini").c_str(), 0444);
    IniFile ini(dir.File("ro.ini"));
    EXPECT_THROW(ini.WriteString(u"S", u"k", u"2"), FileError);
    EXPECT_EQ(ini.Read(u"S", u"k"), u"1");
    EXPECT_EQ(Content(dir, "ro.ini"), "[S]|k=1|");
}

TEST(IniFile, MemoryHoldsWhatTheDiskHoldsForCharactersTheCodePageLacks)
{
    TempDir dir;
    IniFile ini(dir.File("s.ini"));
    ini.WriteString(u"SCREEN", u"FontName", u"DéjàVu \uFFFD");
    EXPECT_EQ(ini.Read(u"SCREEN", u"FontName"), u"D?j?Vu ?");
    EXPECT_EQ(IniFile(dir.File("s.ini")).Read(u"SCREEN", u"FontName"), u"D?j?Vu ?");
}

TEST(IniFile, NamesWithSurroundingBlanksAreTheNamesWithout)
{
    TempDir dir;
    IniFile ini(dir.File("b.ini"));
    ini.WriteString(u" Alias\t", u"ﾃｽﾄ\t ", u"1");
    ini.WriteString(u"Alias", u"ﾃｽﾄ", u"2");
    EXPECT_EQ(ini.Read(u" Alias\t", u"ﾃｽﾄ\t "), u"2");
    EXPECT_EQ(Content(dir, "b.ini"), "[Alias]|ﾃｽﾄ=2|");
}

TEST(IniFile, SeveralValuesInOneWrite)
{
    TempDir dir;
    dir.WriteText("m.ini", u"[配合]\r\n同系配合=5\r\n");
    IniFile ini(dir.File("m.ini"));
    ini.WriteStrings({ { u"配合", u"同系配合", u"0" },
                       { u"配合", u"面白配合", u"2000" },
                       { u"繁殖牝馬", u"毛色", u"" },
                       { u"配合", u"同系配合", u"1" } });
    EXPECT_EQ(Content(dir, "m.ini"), "[配合]|同系配合=1|面白配合=2000|[繁殖牝馬]|毛色=|");
    // all or nothing: one bad key and nothing is written
    EXPECT_THROW(ini.WriteStrings({ { u"配合", u"面白配合", u"9" }, { u"配合", u"a=b", u"1" } }), FileError);
    EXPECT_EQ(Content(dir, "m.ini"), "[配合]|同系配合=1|面白配合=2000|[繁殖牝馬]|毛色=|");
    EXPECT_EQ(ini.Read(u"配合", u"面白配合"), u"2000");
}

TEST(IniFile, WritingBackAnUnchangedValueLeavesTheFileAlone)
{
    TempDir dir;
    dir.WriteText("n.ini", u"[S]\r\nk=1\r\nj = 2\r\n");
    struct stat before
    {
    };
    ASSERT_EQ(::stat(dir.File("n.ini").c_str(), &before), 0);
    IniFile ini(dir.File("n.ini"));
    EXPECT_EQ(ini.ReadSetting(u"S", u"k", u"0"), u"1");
    struct stat after
    {
    };
    ASSERT_EQ(::stat(dir.File("n.ini").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino); // not replaced
    // a line that reads the same but is spelt otherwise is written in the normal form
    EXPECT_EQ(ini.ReadSetting(u"S", u"j", u"0"), u"2");
    EXPECT_EQ(Content(dir, "n.ini"), "[S]|k=1|j=2|");
}

TEST(IniFile, WrongEncodingIsAFileError)
{
    TempDir dir;
    dir.WriteBytes("u.ini", "\xef\xbb\xbf[S]\r\nk=1\r\n");
    EXPECT_THROW(IniFile(dir.File("u.ini")), FileError);
}

} // namespace
} // namespace velmora
