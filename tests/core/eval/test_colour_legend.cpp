// The colour legend beside a pedigree chart.

#include "core/common/text_colour.h"
#include "core/eval/colour_legend.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ColourLegend, ShowsEffectsOrGroupsAndSkipsReservedRows)
{
    MasterData d;
    d.CrossTable[1] = { u"短距離　", 0x0000FF, 0, 0 };
    d.CrossTable[2] = { u"予備２", 0x00FF00, 0, 0 };
    d.OmokeiTable[5] = { u"ﾊﾊｶ系", u"赤", 0x8080FF };
    d.OmokeiTable[6] = { u"予備", u"予", 0x111111 };

    d.CrossTable[3] = { u"底力↓　", 0x0000C0, 0, 0 };

    const auto effects = ColourLegend(d, true);
    EXPECT_EQ(effects[1], (LegendEntry { true, u"短距", 0x0000FF, 0x000000 }));
    EXPECT_FALSE(effects[2].shown);
    EXPECT_EQ(effects[3], (LegendEntry { true, u"底力", 0x0000C0, 0xFFFFFF })); // white text on dark red
    const auto groups = ColourLegend(d, false);
    EXPECT_EQ(groups[5], (LegendEntry { true, u"赤", 0x8080FF, 0x000000 }));
    EXPECT_FALSE(groups[6].shown);
    EXPECT_TRUE(groups[2].shown); // only reserved rows are left out, whatever the other mode says
}

// Text on a colour from the data is black or white by the colour's luminance; across two colours it
// reads on both.
TEST(ReadableText, FollowsTheFillsLuminance)
{
    struct Case
    {
        uint32_t left, right, text;
    };
    const Case cases[] = {
        { 0xFFFFFF, 0xFFFFFF, 0x000000 }, { 0x000000, 0x000000, 0xFFFFFF }, // white, black
        { 0x004080, 0x004080, 0xFFFFFF }, { 0x404040, 0x404040, 0xFFFFFF }, // ダート, 気性難
        { 0x0000C0, 0x0000C0, 0xFFFFFF }, { 0x808080, 0x808080, 0x000000 }, // 底力↓, 体質弱
        { 0x00FFFF, 0x00FFFF, 0x000000 }, { 0x0000FF, 0x0000FF, 0x000000 }, // yellow, red
        { 0xFFFFFF, 0x404040, 0x000000 }, { 0x404040, 0x0000C0, 0xFFFFFF }, // across two fills
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadableTextColor(c.left, c.right), c.text) << std::hex << c.left << " " << c.right;
}

} // namespace
} // namespace velmora
