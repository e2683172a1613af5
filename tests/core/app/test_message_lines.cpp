// Line breaks in messages: where a long message is broken, measured in columns (a full-width
// character takes two, as in code page 932).

#include "core/app/message_lines.h"
#include "core/data/cp932.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

double Columns(std::u16string_view s)
{
    return static_cast<double>(Cp932Length(s));
}

TEST(MessageLines, BreakAtSensiblePlacesWithoutALoneTail)
{
    struct Case
    {
        std::u16string text;
        double width;
        std::u16string broken;
    };
    const Case cases[] = {
        // Fits: whole, the breaks it has kept.
        { u"表示する血統を選択して下さい", 40, u"表示する血統を選択して下さい" },
        { u"一行目\n二行目", 40, u"一行目\n二行目" },
        // After the clause, not "…くださ" + "い。".
        { u"設定名を変えて、もう一度保存してください。", 30, u"設定名を変えて、\nもう一度保存してください。" },
        // Lines of about equal width, broken after a particle; the system's words stay whole.
        { u"/home/u/Velmora/data/相性A.CSVに書き込めません（Permission denied）", 40,
          u"/home/u/Velmora/data/相性A.CSVに\n書き込めません（Permission denied）" },
        // Never a line that starts with 。 or ー, never one that ends with （.
        { u"ﾃﾞｷﾞﾇは見つかりませんでした。ｶｰｿﾙ（選択）", 16, u"ﾃﾞｷﾞﾇは見つか\nりませんでした。\nｶｰｿﾙ（選択）" },
        // A run with no place to break is cut where it is full.
        { u"abcdefghijklmnopqrstuvwxyz", 10, u"abcdefghij\nklmnopqrst\nuvwxyz" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToUtf8(BreakMessageLines(c.text, Columns, c.width)), ToUtf8(c.broken)) << ToUtf8(c.text);
}

} // namespace
} // namespace velmora
