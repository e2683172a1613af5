#include "core/mating/foal_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(FoalName, FromTheDamsName)
{
    struct Case
    {
        std::u16string_view mare;
        std::u16string_view foal;
    };
    const Case cases[] = {
        { u"ﾎﾞﾆｶﾙﾃ", u"ﾎﾞｯｺ" }, // second character a mark: n stays 2, third is no mark
        { u"ﾀｯｸﾐﾗﾉ", u"ﾀｯｸｯｺ" }, // small tsu: n = 3
        { u"ﾐｸﾞﾘﾅ", u"ﾐｸﾞｯｺ" }, // third character a voicing mark: n = 3
        { u"ｽｰﾊﾟﾙﾄ", u"ｽｰﾊﾟｯｺ" }, // long vowel then semi-voiced mark: n = 4
        { u"ﾗ", u"ﾗｯｺ" }, // one character
        { u"", u"ｯｺ" },           { u"ｱｯ", u"ｱｯｯｺ" }, // n = 3 beyond the end
        { u"ｱｲｳｴ", u"ｱｲｯｺ" },     { u"ｱｲﾟ", u"ｱｲﾟｯｺ" }, { u"ｶｰﾄﾞ", u"ｶｰﾄﾞｯｺ" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(FoalName(c.mare), c.foal);
}

} // namespace
} // namespace velmora
