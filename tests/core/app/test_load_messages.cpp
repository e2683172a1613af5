#include "core/app/load_messages.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

std::vector<std::u16string> Messages(size_t n)
{
    std::vector<std::u16string> m;
    for (size_t i = 0; i < n; ++i)
        m.push_back(u"ニックス.CSV:系統" + std::u16string(1, static_cast<char16_t>(u'A' + i)) + u"が見つかりません");
    return m;
}

} // namespace

TEST(LoadMessageBoxes, FewOwnBoxesManyOneListWithTheRestCounted)
{
    EXPECT_TRUE(LoadMessageBoxes({}).empty());
    EXPECT_EQ(LoadMessageBoxes(Messages(3)), Messages(3));

    const auto four = LoadMessageBoxes(Messages(4));
    ASSERT_EQ(four.size(), 1u);
    EXPECT_EQ(four[0], Messages(4)[0] + u"\n" + Messages(4)[1] + u"\n" + Messages(4)[2] + u"\n" + Messages(4)[3]);

    const auto many = LoadMessageBoxes(Messages(26));
    ASSERT_EQ(many.size(), 1u);
    EXPECT_EQ(many[0].substr(0, Messages(26)[0].size()), Messages(26)[0]);
    EXPECT_NE(many[0].find(Messages(26)[9]), std::u16string::npos);
    EXPECT_EQ(many[0].find(Messages(26)[10]), std::u16string::npos);
    EXPECT_TRUE(many[0].ends_with(u"\nほか16件"));
}
