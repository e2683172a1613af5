// The alias dialog's list and OK button.

#include "core/data/alias.h"
#include "core/pedigree/alias_dialog.h"
#include "pedigree_fixture.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace velmora;

TEST(AliasDialog, ListsStallionsThenMares)
{
    test::PedigreeData data;
    data.Stallion(u"Zeta");
    data.Stallion(u"Alpha");
    data.Mare(u"Beta");
    EXPECT_EQ(AliasTargetNames(data.d), (std::vector<std::u16string> { u"Zeta", u"Alpha", u"Beta" }));
}

TEST(AliasDialog, OkChecksThenWritesAndReplacesTheSelection)
{
    test::PedigreeData data;
    data.Stallion(u"ｻﾝﾃﾞｰ");
    data.Mare(u"ﾋﾒ");
    test::TempDir dir;
    const std::string path = AliasFilePath(dir.Path());

    struct Case
    {
        std::u16string alias, chosen, selected;
        bool close;
        std::u16string_view message;
        bool focus, replace;
    };
    const Case cases[] = {
        { u"", u"ｻﾝﾃﾞｰ", u"", false, kMsgAliasEmpty, true, false },
        { u"Sun", u"", u"Sun", false, kMsgAliasNotChosen, false, false },
        { u"Sun", u"Nobody", u"Sun", false, kMsgAliasNotChosen, false, false },
        { u"S=un", u"ｻﾝﾃﾞｰ", u"", false, kMsgAliasUnstorable, true, false },
    };
    for (const Case& c : cases) {
        const AliasOkResult r = AliasDialogOk(data.d, path, c.alias, c.chosen, c.selected);
        EXPECT_EQ(r.close, c.close);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(r.focusAlias, c.focus);
        EXPECT_EQ(r.replaceSelection, c.replace);
    }
    EXPECT_FALSE(std::filesystem::exists(path)); // refusals write nothing

    // Still selected: written and replaced in place. Selection moved on: only written.
    AliasOkResult r = AliasDialogOk(data.d, path, u"Sun", u"ｻﾝﾃﾞｰ", u"Sun");
    EXPECT_TRUE(r.close);
    EXPECT_TRUE(r.replaceSelection);
    EXPECT_EQ(r.message, u"");
    r = AliasDialogOk(data.d, path, u"Hime", u"ﾋﾒ", u"other");
    EXPECT_TRUE(r.close);
    EXPECT_FALSE(r.replaceSelection);
    EXPECT_EQ(GetAlias(path, u"Sun"), u"ｻﾝﾃﾞｰ");
    EXPECT_EQ(GetAlias(path, u"Hime"), u"ﾋﾒ");
    // A key typed in full-width katakana is stored as typed.
    r = AliasDialogOk(data.d, path, u"サン", u"ｻﾝﾃﾞｰ", u"");
    EXPECT_TRUE(r.close);
    EXPECT_EQ(GetAlias(path, u"サン"), u"ｻﾝﾃﾞｰ");
    EXPECT_EQ(GetAlias(path, u"ｻﾝ"), u"");
}
