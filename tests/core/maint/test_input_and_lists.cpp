// Kana input folding, the stored input mode and the order of the sorted name lists.

#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "core/maint/data_editor.h"
#include "core/maint/input_mode.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(InputMode, KanaTypingFoldsToTheStoredFormAndTheModeIsStored)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        { u"ぼっこ", u"ﾎﾞｯｺ" },   { u"ボッコ", u"ﾎﾞｯｺ" }, { u"ﾎﾞｯｺ", u"ﾎﾞｯｺ" },
        { u"ぱーＡ1", u"ﾊﾟｰA1" }, { u"ゔ", u"ｳﾞ" },
    };
    for (const auto& [typed, stored] : cases)
        EXPECT_EQ(FoldKanaInput(typed), stored) << ToUtf8(typed);

    test::TempDir dir;
    AppState s;
    s.IniFile = std::make_unique<IniFile>(dir.File("velmora.INI"));
    SetInputMode(s, false);
    EXPECT_FALSE(s.KanaMode);
    EXPECT_EQ(s.IniFile->ReadString(u"ImeMode", u"Mode", u""), u"英数");
    SetInputMode(s, true);
    EXPECT_TRUE(s.KanaMode);
    EXPECT_EQ(s.IniFile->ReadString(u"ImeMode", u"Mode", u""), u"カナ");
}

TEST(SortNames, KanaInTheOrderOfTheSyllabaryVoicedAfterPlain)
{
    EXPECT_EQ(SortNames({ u"ｶﾞ", u"ｷ", u"ｶ", u"ｱ", u"ｦ", u"ｧ", u"ｶｱ" }),
              (std::vector<std::u16string> { u"ｧ", u"ｱ", u"ｶ", u"ｶｱ", u"ｶﾞ", u"ｷ", u"ｦ" }));
}
