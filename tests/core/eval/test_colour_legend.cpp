// The colour legend beside a pedigree chart.

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

    const auto effects = ColourLegend(d, true);
    EXPECT_EQ(effects[1], (LegendEntry { true, u"短距", 0x0000FF }));
    EXPECT_FALSE(effects[2].shown);
    const auto groups = ColourLegend(d, false);
    EXPECT_EQ(groups[5], (LegendEntry { true, u"赤", 0x8080FF }));
    EXPECT_FALSE(groups[6].shown);
    EXPECT_TRUE(groups[2].shown); // only reserved rows are left out, whatever the other mode says
}

} // namespace
} // namespace velmora
