// Window fitting arithmetic: half-even rounding, the layout scale and the FitForm/FitControl geometry.

#include "core/app/fit.h"
#include "core/common/errors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace velmora {
namespace {

struct RoundCase
{
    int64_t num;
    int64_t den;
    int32_t expected;
};

class RoundHalfEvenTest : public ::testing::TestWithParam<RoundCase>
{
};

TEST_P(RoundHalfEvenTest, RoundsToNearestWithHalvesToEven)
{
    const RoundCase c = GetParam();
    EXPECT_EQ(RoundHalfEven(c.num, c.den), c.expected) << c.num << "/" << c.den;
}

INSTANTIATE_TEST_SUITE_P(Values, RoundHalfEvenTest,
                         ::testing::Values(RoundCase { 5, 2, 2 }, // 2.5 -> 2
                                           RoundCase { 7, 2, 4 }, // 3.5 -> 4
                                           RoundCase { 1, 2, 0 }, // 0.5 -> 0
                                           RoundCase { 3, 2, 2 }, // 1.5 -> 2
                                           RoundCase { -5, 2, -2 }, // -2.5 -> -2
                                           RoundCase { -7, 2, -4 }, // -3.5 -> -4
                                           RoundCase { -7, 4, -2 }, // -1.75 -> -2
                                           RoundCase { -5, 4, -1 }, // -1.25 -> -1
                                           RoundCase { 7, 4, 2 }, // 1.75 -> 2
                                           RoundCase { 5, 4, 1 }, // 1.25 -> 1
                                           RoundCase { 9, 3, 3 }, // exact
                                           RoundCase { 0, 600, 0 }, //
                                           RoundCase { 1501, 600, 3 } // 2.5016 -> 3, just above a half
                                           ));

TEST(RoundHalfEven, ResultOutside32BitsIsAnOverflow)
{
    EXPECT_THROW(RoundHalfEven(int64_t { 1 } << 40, 1), OverflowError);
    EXPECT_THROW(RoundHalfEven(-(int64_t { 1 } << 40), 3), OverflowError);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<int32_t>::max(), 1), std::numeric_limits<int32_t>::max());
}

struct ScaleCase
{
    int32_t screenHeight;
    int32_t value;
    int32_t expected;
};

class LayoutScaleTest : public ::testing::TestWithParam<ScaleCase>
{
};

TEST_P(LayoutScaleTest, ScalesByScreenHeightOver600)
{
    const ScaleCase c = GetParam();
    EXPECT_EQ(Scale(c.value, LayoutScale(c.screenHeight)), c.expected) << c.value << " at " << c.screenHeight;
}

INSTANTIATE_TEST_SUITE_P(Values, LayoutScaleTest,
                         ::testing::Values(ScaleCase { 600, 289, 289 }, // the standard layout keeps sizes
                                           ScaleCase { 480, 300, 240 }, // 0.8
                                           ScaleCase { 480, 289, 231 }, // 231.2
                                           ScaleCase { 480, 33, 26 }, // 26.4
                                           ScaleCase { 480, 367, 294 }, // 293.6
                                           ScaleCase { 768, 338, 433 }, // 1.28: 432.64
                                           ScaleCase { 768, 367, 470 }, // 469.76
                                           ScaleCase { 768, 100, 128 }, //
                                           ScaleCase { 300, 5, 2 }, // 0.5: 2.5 -> 2
                                           ScaleCase { 300, 7, 4 }, // 3.5 -> 4
                                           ScaleCase { 480, -10, -8 } // negative positions scale too
                                           ));

TEST(FitFormRect, WindowBetweenLayoutHeightAnd599GetsExactlyTheLayoutSize)
{
    // 500 pixels high with a 640x480 layout.
    const FitRect r = FitFormRect(FitRect { 0, 0, 700, 500 }, ScreenSize { 640, 480 }, 640, 480);
    EXPECT_EQ(r.width, 640);
    EXPECT_EQ(r.height, 480);
    // Centred with the fitted size, so that it lies wholly on the screen (not at -30, -10 as the
    // size before fitting would place it).
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    // The viewer's and the optimal-mating window's 792 x 576 on a 1024 x 768 screen with that layout.
    EXPECT_EQ(FitFormRect(FitRect { 0, 0, 792, 576 }, ScreenSize { 1024, 768 }, 640, 480),
              (FitRect { 192, 144, 640, 480 }));
}

TEST(FitFormRect, SmallWindowIsScaled)
{
    const FitRect r = FitFormRect(FitRect { 5, 7, 400, 300 }, ScreenSize { 1024, 768 }, 640, 480);
    EXPECT_EQ(r, (FitRect { 352, 264, 320, 240 })); // size * 0.8, left (1024-320)/2, top (768-240)/2
}

TEST(FitFormRect, TallWindowIsScaledEvenInTheBandAbove)
{
    // 600 or more is always scaled; with an 800x600 layout nothing changes.
    EXPECT_EQ(FitFormRect(FitRect { 0, 0, 900, 650 }, ScreenSize { 1280, 1024 }, 800, 600),
              (FitRect { 190, 187, 900, 650 }));
    EXPECT_EQ(FitFormRect(FitRect { 0, 0, 900, 650 }, ScreenSize { 1280, 1024 }, 640, 480),
              (FitRect { 280, 252, 720, 520 }));
    // A 1024x768 layout: a 700-high window is scaled by 1.28 (896), a 500-high one too.
    EXPECT_EQ(FitFormRect(FitRect { 0, 0, 800, 700 }, ScreenSize { 1280, 1024 }, 1024, 768).height, 896);
    EXPECT_EQ(FitFormRect(FitRect { 0, 0, 338, 500 }, ScreenSize { 1280, 1024 }, 1024, 768).height, 640);
}

TEST(FitFormRect, ScreenLowerThanLayoutPutsWindowAtTheTop)
{
    const FitRect r = FitFormRect(FitRect { 0, 0, 338, 367 }, ScreenSize { 1024, 500 }, 800, 600);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.left, 343); // (1024 - 338) div 2
    EXPECT_EQ(r.width, 338);
    EXPECT_EQ(r.height, 367);
}

TEST(FitFormRect, CentringTruncatesTowardZero)
{
    // (801 - 338) / 2 = 231.5 -> 231; (601 - 367) / 2 = 117; a window wider than the screen stays at 0.
    EXPECT_EQ(FitFormRect(FitRect { 0, 0, 338, 367 }, ScreenSize { 801, 601 }, 800, 600).left, 231);
    EXPECT_EQ(FitFormRect(FitRect { 0, 0, 338, 367 }, ScreenSize { 801, 601 }, 800, 600).top, 117);
    EXPECT_EQ(FitFormRect(FitRect { 0, 0, 338, 367 }, ScreenSize { 200, 700 }, 640, 480).left, 0);
}

// The frame a window manager adds counts where the screen is that small: the viewer (792x576) at the
// 640x480 layout on a 640x480 screen would lie with its bottom below the screen under a title bar.
TEST(FitFormWithFrame, FrameKeepsOnTheScreen)
{
    const FrameExtents frame { 4, 20, 4, 4 };
    struct Case
    {
        FitRect design;
        ScreenSize screen;
        int32_t layoutWidth, layoutHeight;
        FrameExtents frame;
        FitRect window;
        FitScale controls;
    };
    const Case cases[] = {
        // No frame, or a frame that fits: as FitFormRect.
        { { 0, 0, 792, 576 }, { 640, 480 }, 640, 480, {}, { 0, 0, 640, 480 }, { 480, 600 } },
        { { 0, 0, 338, 367 }, { 640, 480 }, 640, 480, frame, { 185, 93, 270, 294 }, { 480, 600 } },
        { { 0, 0, 792, 576 }, { 1024, 768 }, 800, 600, frame, { 116, 96, 792, 576 }, { 600, 600 } },
        // Too tall with its frame: the client area shrinks to the room, the controls with it.
        { { 0, 0, 792, 576 }, { 640, 480 }, 640, 480, frame, { 0, 0, 632, 456 }, { 456, 576 } },
        { { 0, 0, 792, 560 }, { 640, 480 }, 640, 480, frame, { 0, 0, 632, 456 }, { 632, 792 } },
        // Only off the screen: moved so that the frame is on it.
        { { 0, 0, 600, 570 }, { 800, 600 }, 800, 600, frame, { 96, 3, 600, 570 }, { 600, 600 } },
    };
    for (const Case& c : cases) {
        const FittedForm f = FitFormWithFrame(c.design, c.screen, c.layoutWidth, c.layoutHeight, c.frame);
        EXPECT_EQ(f.window, c.window) << c.design.width << "x" << c.design.height << " on " << c.screen.width;
        EXPECT_EQ(f.controls.num * c.controls.den, c.controls.num * f.controls.den) << c.design.height;
    }
}

TEST(FitControlRect, ScalesAllFourValues)
{
    EXPECT_EQ(FitControlRect(FitRect { 24, 3, 289, 33 }, LayoutScale(480)), (FitRect { 19, 2, 231, 26 }));
    EXPECT_EQ(FitControlRect(FitRect { 24, 3, 289, 33 }, LayoutScale(600)), (FitRect { 24, 3, 289, 33 }));
    EXPECT_EQ(FitControlRect(FitRect { 10, 20, 30, 40 }, LayoutScale(768)), (FitRect { 13, 26, 38, 51 }));
}

} // namespace
} // namespace velmora
