// Folding of typed names: the single-pass ToHalfWidth against the step-by-step ReplaceChar sequence,
// the worked examples, and ToFullWidth.

#include "core/data/name_fold.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace velmora;

namespace {

// The folding written the slow way: one ReplaceChar per pair, in the order of the folding rules.
// Written out independently of the program's tables so that a wrong table entry shows up here.
struct Pair
{
    char16_t from;
    std::u16string to;
};

std::vector<Pair> ReferencePairs()
{
    std::vector<Pair> p = { { u'　', u" " }, { u'＊', u"*" }, { u'ー', u"ｰ" }, { u'－', u"-" }, { u'’', u"'" },
                            { u'＿', u"_" }, { u'．', u"." }, { u'（', u"(" }, { u'）', u")" }, { u'×', u"*" } };
    const std::u16string full = u"アイウエオ"
                                u"カキクケコ"
                                u"サシスセソ"
                                u"タチツテト"
                                u"ナニヌネノ"
                                u"ハヒフヘ";
    const std::u16string half = u"ｱｲｳｴｵ"
                                u"ｶｷｸｹｺ"
                                u"ｻｼｽｾｿ"
                                u"ﾀﾁﾂﾃﾄ"
                                u"ﾅﾆﾇﾈﾉ"
                                u"ﾊﾋﾌﾍ";
    for (size_t i = 0; i < full.size(); ++i)
        p.push_back({ full[i], std::u16string(1, half[i]) });
    p.push_back({ u'へ', u"ﾍ" });
    const std::u16string full2 = u"ホ"
                                 u"マミムメモ"
                                 u"ヤユヨ"
                                 u"ラリルレロ"
                                 u"ワヲン"
                                 u"ァィゥェォャュョッ";
    const std::u16string half2 = u"ﾎ"
                                 u"ﾏﾐﾑﾒﾓ"
                                 u"ﾔﾕﾖ"
                                 u"ﾗﾘﾙﾚﾛ"
                                 u"ﾜｦﾝ"
                                 u"ｧｨｩｪｫｬｭｮｯ";
    for (size_t i = 0; i < full2.size(); ++i)
        p.push_back({ full2[i], std::u16string(1, half2[i]) });
    const std::u16string voiced = u"ガギグゲゴザジズゼゾダヂヅデドバビブベボ";
    const std::u16string vbase = u"ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ";
    for (size_t i = 0; i < voiced.size(); ++i)
        p.push_back({ voiced[i], std::u16string { vbase[i], u'ﾞ' } });
    const std::u16string semi = u"パピプペポ";
    const std::u16string sbase = u"ﾊﾋﾌﾍﾎ";
    for (size_t i = 0; i < semi.size(); ++i)
        p.push_back({ semi[i], std::u16string { sbase[i], u'ﾟ' } });
    p.push_back({ u'ヴ', u"ｳﾞ" });
    p.push_back({ u'゛', u"ﾞ" });
    p.push_back({ u'゜', u"ﾟ" });
    for (int i = 0; i < 26; ++i)
        p.push_back({ static_cast<char16_t>(0xFF21 + i), std::u16string(1, static_cast<char16_t>('A' + i)) });
    for (int i = 0; i < 26; ++i)
        p.push_back({ static_cast<char16_t>(0xFF41 + i), std::u16string(1, static_cast<char16_t>('a' + i)) });
    return p;
}

std::u16string SlowHalfWidth(std::u16string text)
{
    static const std::vector<Pair> pairs = ReferencePairs();
    for (const Pair& p : pairs)
        text = ReplaceChar(text, p.from, p.to);
    return text;
}

} // namespace

TEST(ReplaceChar, ReplacesEveryOccurrence)
{
    struct Case
    {
        std::u16string text;
        char16_t c;
        std::u16string s;
        std::u16string want;
    };
    const Case cases[] = {
        { u"", u'a', u"x", u"" },
        { u"abc", u'z', u"x", u"abc" },
        { u"a*b*c", u'*', u" * ", u"a * b * c" },
        { u"**", u'*', u"", u"" },
        { u"ダダ", u'ダ', u"ﾀﾞ", u"ﾀﾞﾀﾞ" },
        // A replacement holding the character itself ends after one pass instead of looping for ever.
        { u"aXa", u'a', u"aa", u"aaXaa" },
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ReplaceChar(cases[i].text, cases[i].c, cases[i].s), cases[i].want) << "case " << i;
}

TEST(ToHalfWidth, WorkedExamples)
{
    struct Case
    {
        std::u16string in;
        std::u16string want;
    };
    const Case cases[] = {
        { u"ダービー", u"ﾀﾞｰﾋﾞｰ" },
        { u"Ａ＊Ｂ", u"A*B" },
        { u"A×B", u"A*B" },
        { u"（サンデー）", u"(ｻﾝﾃﾞｰ)" },
        { u"ｻｲﾚﾝｽ　ｽｽﾞｶ", u"ｻｲﾚﾝｽ ｽｽﾞｶ" },
        { u"１２３", u"１２３" }, // full-width digits stay
        { u"あいう", u"あいう" }, // hiragana other than "へ" stays
        { u"へヘ", u"ﾍﾍ" }, // "へ" folds like "ヘ"
        { u"ヰヱヵヶヮ", u"ヰヱヵヶヮ" }, // katakana without half-width forms stay
        { u"ヴェパプ", u"ｳﾞｪﾊﾟﾌﾟ" },
        { u"カ゛", u"ｶﾞ" },
        { u"ｚＺａ", u"zZa" },
        { u"Ｏ’Ｂｒｉｅｎ．Ｊｒ＿－", u"O'Brien.Jr_-" },
        { u"！＃", u"！＃" }, // other full-width punctuation stays
        { u"", u"" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToHalfWidth(c.in), c.want);
        EXPECT_EQ(SlowHalfWidth(c.in), c.want);
    }
}

TEST(ToHalfWidth, EveryCodeUnitMatchesTheReplaceSequence)
{
    // Every code unit once, alone and followed by a voicing mark, in one text each: both ways must agree
    // (and as ToHalfWidth works unit by unit, a difference points at the unit where the texts part).
    std::u16string all, withMarks;
    for (uint32_t u = 0; u <= 0xFFFF; ++u) {
        all.push_back(static_cast<char16_t>(u));
        withMarks.push_back(static_cast<char16_t>(u));
        withMarks.push_back(u'゛');
    }
    const std::u16string fast = ToHalfWidth(all);
    const std::u16string slow = SlowHalfWidth(all);
    if (fast != slow) {
        size_t i = 0;
        while (i < fast.size() && i < slow.size() && fast[i] == slow[i])
            ++i;
        ADD_FAILURE() << "texts part at output unit " << i;
    }
    EXPECT_TRUE(ToHalfWidth(withMarks) == SlowHalfWidth(withMarks));
}

TEST(ToHalfWidth, RandomTextsMatchTheReplaceSequence)
{
    // Texts drawn from the characters the folding touches, their outputs and their neighbours,
    // surrogate halves included.
    const std::u16string alphabet = u"　＊ー－’＿．（）×アカガパヴ゛゜へヘンッァＡＺａｚ１ｱｶﾞﾟｰ*() -'._AZaz"
                                    u"\xD800\xDC00\uFFFF\u0000\u30FF\u3000\uFF00\uFF60\uFFA0";
    std::mt19937 rng(12345);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> len(0, 40);
    for (int n = 0; n < 500; ++n) {
        std::u16string s;
        for (int i = len(rng); i > 0; --i)
            s.push_back(alphabet[pick(rng)]);
        ASSERT_EQ(ToHalfWidth(s), SlowHalfWidth(s));
    }
}

TEST(ToHalfWidth, IntoReusesTheBufferAndClearsIt)
{
    std::u16string buf = u"old content";
    ToHalfWidthInto(u"ガ", buf);
    EXPECT_EQ(buf, u"ｶﾞ");
    ToHalfWidthInto(u"", buf);
    EXPECT_EQ(buf, u"");
}

TEST(ToFullWidth, Examples)
{
    struct Case
    {
        std::u16string in;
        std::u16string want;
    };
    const Case cases[] = {
        { u"ﾊﾟ", u"パ" },
        { u"ﾀﾞｰﾋﾞｰ", u"ダービー" },
        { u"ｳﾞｪ", u"ヴェ" },
        { u"ﾍ", u"ヘ" }, // back to the katakana, not the hiragana
        { u"ｱﾞ", u"ア゛" }, // no voiced form: letter and lone mark
        { u"ﾞﾟ", u"゛゜" },
        { u"ﾏﾟ", u"マ゜" },
        { u"ﾊﾞﾋﾟ", u"バピ" },
        { u"ｧｨｩｪｫｬｭｮｯｦﾝ", u"ァィゥェォャュョッヲン" },
        { u"ABC 123-*()", u"ABC 123-*()" },
        { u"｡｢｣､･", u"｡｢｣､･" }, // half-width punctuation is not a letter
        { u"ｶ", u"カ" }, // a letter at the very end
        { u"", u"" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToFullWidth(c.in), c.want);
}

TEST(ToFullWidth, UndoesTheFoldingOfFullWidthKatakana)
{
    // Every plain, small, voiced and semi-voiced katakana with a half-width form survives the round trip.
    const std::u16string kana
        = u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"
          u"ァィゥェォャュョッガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴー";
    EXPECT_EQ(ToFullWidth(ToHalfWidth(kana)), kana);
}
