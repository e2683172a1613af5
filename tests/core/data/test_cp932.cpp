#include "core/data/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora {
namespace {

struct ByteCase
{
    std::string bytes;
    std::u16string text;
};

class Cp932RoundTrip : public ::testing::TestWithParam<ByteCase>
{
};

TEST_P(Cp932RoundTrip, DecodesAndEncodesBothWays)
{
    const ByteCase& c = GetParam();
    std::u16string decoded;
    size_t bad = 12345;
    ASSERT_TRUE(DecodeCp932(c.bytes, decoded, &bad));
    EXPECT_EQ(decoded, c.text);
    std::string encoded;
    EXPECT_TRUE(EncodeCp932(c.text, encoded));
    EXPECT_EQ(encoded, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Table, Cp932RoundTrip,
                         ::testing::Values(
                             // ASCII, control codes included (0x1A, 0x1C and 0x7F are themselves)
                             ByteCase { std::string("A\x1a\x1c\x7f\\~", 6), u"A\x1a\x1c\x7f\\~" },
                             ByteCase { std::string("\0", 1), std::u16string(1, u'\0') },
                             // half-width katakana, both ends of the range
                             ByteCase { "\xa1\xb1\xdf", u"\uFF61\uFF71\uFF9F" },
                             // the five single bytes the platform converter rejects
                             ByteCase { "\x80", u"\u0080" }, ByteCase { "\xa0", u"\uF8F0" },
                             ByteCase { "\xfd", u"\uF8F1" }, ByteCase { "\xfe", u"\uF8F2" },
                             ByteCase { "\xff", u"\uF8F3" },
                             ByteCase { "a\x80\xa0\xfd\xfe\xffz", u"a\u0080\uF8F0\uF8F1\uF8F2\uF8F3z" },
                             // double-byte: full-width space, kana, kanji, symbols of the data files
                             ByteCase { "\x81\x40", u"\u3000" }, ByteCase { "\x96\xa2\x93\x6f\x98\x5e", u"未登録" },
                             ByteCase { "\x81\x9d\x81\x9b\x81\xa2\x81\x9a", u"◎○△★" }, ByteCase { "\x81\xaa", u"↑" },
                             ByteCase { "\x83\x5c", u"ソ" }, // trail byte 0x5C is not a backslash
                             ByteCase { "\x81\x5f", u"\uFF3C" }, ByteCase { "\x87\x40", u"①" },
                             ByteCase { "\xfa\x40", u"ⅰ" }, ByteCase { "\xea\xa4", u"熙" }));

TEST(Cp932, DuplicateCodesEncodeToThePreferredOne)
{
    // NEC-selected IBM extensions (0xED/0xEE) decode like the IBM extensions (0xFA..0xFC); the IBM code is
    // the one written back. The NEC row 13 "∵" (0x81E6 / 0x879A) is written as 0x81E6.
    std::u16string t;
    ASSERT_TRUE(DecodeCp932("\xed\x40", t));
    std::string back;
    ASSERT_TRUE(EncodeCp932(t, back));
    EXPECT_EQ(back, "\xfa\x5c");
    ASSERT_TRUE(DecodeCp932("\x87\x9a", t));
    ASSERT_TRUE(EncodeCp932(t, back));
    EXPECT_EQ(back, "\x81\xe6");
}

TEST(Cp932, UndefinedSequencesAreRejectedWithTheirOffset)
{
    struct Case
    {
        std::string bytes;
        size_t offset;
    };
    const Case cases[] = {
        { "ab\x85\x40", 2 }, // lead byte of an unassigned row
        { "\x82\xa0x\x81", 3 }, // lead byte at the end
        { "\x81\x20", 0 }, // lead byte followed by a byte that is no trail byte
        { "\x81\x7f", 0 }, // 0x7F is never a trail byte
        { "ok\xa1\x82\xf1\xeb\x40", 5 }, // 0xEB40 is unassigned
    };
    for (const auto& c : cases) {
        std::u16string out;
        size_t bad = 999;
        EXPECT_FALSE(DecodeCp932(c.bytes, out, &bad)) << c.bytes;
        EXPECT_EQ(bad, c.offset) << c.bytes;
    }
}

TEST(Cp932, LossyFormsReplaceWhatTheyCannotConvert)
{
    EXPECT_EQ(FromCp932("a\x85\x40z"), u"a\uFFFDz");
    EXPECT_EQ(FromCp932("a\x81"), u"a\uFFFD");
    std::string out;
    EXPECT_FALSE(EncodeCp932(u"a\u00e9\U0001F600b", out)); // é and an emoji are not in the code page
    EXPECT_EQ(out, "a???b");
    EXPECT_EQ(ToCp932(u"x\u4E02"), "x?"); // a CJK ideograph outside the code page
}

TEST(Cp932, ByteMeasureAndCutAtCharacterBoundaries)
{
    EXPECT_EQ(Cp932CharBytes(u'A'), 1);
    EXPECT_EQ(Cp932CharBytes(u'ｱ'), 1);
    EXPECT_EQ(Cp932CharBytes(u'\uF8F3'), 1);
    EXPECT_EQ(Cp932CharBytes(u'\u0080'), 1);
    EXPECT_EQ(Cp932CharBytes(u'早'), 2);
    EXPECT_EQ(Cp932CharBytes(u'\u3000'), 2);
    EXPECT_EQ(Cp932CharBytes(u'\u00e9'), 1); // written as '?'
    EXPECT_EQ(Cp932Length(u"早熟ｱA"), 6u);

    struct Cut
    {
        std::u16string text;
        size_t max;
        std::u16string want;
    };
    const Cut cuts[] = {
        { u"早熟型", 4, u"早熟" }, { u"早熟型", 5, u"早熟" }, { u"A早熟", 2, u"A" }, { u"A早熟", 3, u"A早" },
        { u"ｱｲｳｴｵ", 4, u"ｱｲｳｴ" },  { u"◎", 1, u"" },          { u"◎", 2, u"◎" },     { u"", 4, u"" },
        { u"AB", 0, u"" },         { u"A", 10, u"A" },
    };
    for (const auto& c : cuts)
        EXPECT_EQ(CutToBytes(c.text, c.max), c.want) << ToUtf8(c.text) << " " << c.max;
}

TEST(Utf8, ConvertsBothWaysAndReplacesMalformedInput)
{
    const std::u16string text = u"aé未\U0001F600";
    const std::string utf8 = "a\xc3\xa9\xe6\x9c\xaa\xf0\x9f\x98\x80";
    EXPECT_EQ(ToUtf8(text), utf8);
    EXPECT_EQ(FromUtf8(utf8), text);
    EXPECT_EQ(FromUtf8("a\xff"
                       "b"),
              u"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xc0\xaf"), u"\uFFFD\uFFFD"); // overlong form
    EXPECT_EQ(FromUtf8("\xed\xa0\x80"), u"\uFFFD\uFFFD\uFFFD"); // encoded surrogate
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd");
}

} // namespace
} // namespace velmora
