#include "core/data/fields.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora {
namespace {

TEST(CutField, TakesFieldsOffTheFront)
{
    struct Case
    {
        std::u16string line;
        std::vector<std::u16string> fields; // CutField called this many times
        std::u16string rest;
    };
    const Case cases[] = {
        { u"a,b,c", { u"a", u"b", u"c" }, u"" },
        { u"a,b,c", { u"a" }, u"b,c" },
        { u"whole line", { u"whole line", u"" }, u"" },
        { u"\"x,y\",z", { u"x", u"y", u"z" }, u"" }, // quotes do not protect a comma
        { u"a\"b\"\"c,d", { u"abc", u"d" }, u"" }, // every quote deleted
        { u" a , b ", { u" a ", u" b " }, u"" }, // blanks are kept
        { u"\u3000名\u3000,", { u"\u3000名\u3000", u"" }, u"" },
        { u",,", { u"", u"", u"", u"" }, u"" },
        { u"a,", { u"a", u"" }, u"" },
    };
    for (const auto& c : cases) {
        std::u16string line = c.line;
        for (const auto& want : c.fields)
            EXPECT_EQ(CutField(line), want);
        EXPECT_EQ(line, c.rest);
    }
}

TEST(CutField, OtherSeparatorAndTrimmedForm)
{
    std::u16string f = u" \"ﾋﾒ\" * ｶｯﾊﾟ*\u3000ｱﾙﾌｧ\t";
    EXPECT_EQ(CutFieldTrim(f, u'*'), u"ﾋﾒ");
    EXPECT_EQ(CutFieldTrim(f, u'*'), u"ｶｯﾊﾟ");
    EXPECT_EQ(CutFieldTrim(f, u'*'), u"\u3000ｱﾙﾌｧ"); // full-width space is not a blank here
    EXPECT_EQ(CutFieldTrim(f, u'*'), u"");
}

TEST(FieldReader, AgreesWithCutField)
{
    const std::u16string lines[] = { u"a,b,,\"c,d\",e", u"", u"x", u",", u"1,2,3," };
    for (const auto& l : lines) {
        std::u16string rest = l;
        FieldReader r(l);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(r.Next(), CutField(rest)) << "line '" << std::string(l.begin(), l.end()) << "' field " << i;
        EXPECT_TRUE(r.AtEnd());
    }
}

TEST(ParseInt, DecimalSignHexAndDefaults)
{
    struct Case
    {
        std::u16string text;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        { u"0", true, 0 },
        { u"42", true, 42 },
        { u"-17", true, -17 },
        { u"+5", true, 5 },
        { u"  12", true, 12 },
        { u"$FF", true, 255 },
        { u"$00ff00", true, 0x00FF00 },
        { u"-$10", true, -16 },
        { u"$FFFFFFFF", true, -1 },
        { u"2147483647", true, 2147483647 },
        { u"-2147483648", true, INT32_MIN },
        { u"2147483648", false, 0 },
        { u"$100000000", false, 0 },
        { u"", false, 0 },
        { u"-", false, 0 },
        { u"$", false, 0 },
        { u"12 ", false, 0 },
        { u"1a", false, 0 },
        { u"0x10", false, 0 },
        { u"１２", false, 0 }, // full-width digits are not digits
        { u"abc", false, 0 },
    };
    for (const auto& c : cases) {
        int32_t v = 777;
        EXPECT_EQ(TryParseInt(c.text, v), c.ok) << std::string(c.text.begin(), c.text.end());
        if (c.ok) {
            EXPECT_EQ(v, c.value);
        }
        EXPECT_EQ(ParseIntDef(c.text, -99), c.ok ? c.value : -99);
    }
}

TEST(ShortText, CutsToTheByteLimit)
{
    EXPECT_EQ(ShortText(u"早熟晩成", 4), u"早熟");
    EXPECT_EQ(ShortText(u"A早", 2), u"A");
    EXPECT_EQ(ShortText(u"ABC", 1), u"A");
    EXPECT_EQ(ShortText(u"◎", 2), u"◎");
    EXPECT_EQ(ShortText(u"ab", -1), u"");
}

} // namespace
} // namespace velmora
