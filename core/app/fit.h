#pragma once
// Fitting windows to the configured layout size: the window-free arithmetic behind FitForm and
// FitControl. Windows are laid out for an 800x600 screen; a layout of another height scales every
// window by ScreenHeight / 600.

#include <cstdint>

namespace velmora {

struct FitRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const FitRect&) const = default;
};

struct ScreenSize
{
    int32_t width = 0;
    int32_t height = 0;
};

// The scale factor k = num / den, kept as a fraction so that rounding is exact.
struct FitScale
{
    int64_t num = 1;
    int64_t den = 1;
};

// k = ScreenHeight / 600.
FitScale LayoutScale(int32_t screenHeight);

// round(num / den) to the nearest integer, halves to the even neighbour; den > 0.
// Throws OverflowError when the result leaves the 32-bit range.
int32_t RoundHalfEven(int64_t num, int64_t den);

// round(value * k), halves to even.
int32_t Scale(int32_t value, FitScale k);

// The window's new geometry: size scaled by k, or set to exactly the layout size when the height lies
// between ScreenHeight and 599; centred on the screen with that size, but never at a negative position
// (top 0 when the screen is lower than the layout).
// Only window.width and window.height are read.
FitRect FitFormRect(const FitRect& window, ScreenSize screen, int32_t screenWidth, int32_t screenHeight);

// A window of that size centred on the screen, never at a negative position (top 0 when the screen
// is lower than the layout).
FitRect CentreOnScreen(int32_t width, int32_t height, ScreenSize screen, int32_t screenHeight);

// What a window manager draws around a window's client area: title bar and borders, in pixels.
struct FrameExtents
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// A fitted window: where it is moved to (the position of its top-left corner, of its frame when it has
// one) with the size of its client area, and the scale of its controls.
struct FittedForm
{
    FitRect window;
    FitScale controls;
};

// FitFormRect with the window's frame taken into account. The fitted window stays as it is when it
// lies on the screen with its frame around it. Otherwise its frame is centred in the screen; and where
// the screen is too small for the frame around the fitted size (a 640x480 layout on a 640x480 screen
// gives a client area of the whole screen, and the title bar pushes its bottom off), the client area
// shrinks to the room the frame leaves and the controls are scaled to fit it (the window's design size
// times the smaller of room / design height and room / design width).
FittedForm FitFormWithFrame(const FitRect& window, ScreenSize screen, int32_t screenWidth, int32_t screenHeight,
                            FrameExtents frame);

// One control's new geometry: left, top, width and height each scaled by k.
FitRect FitControlRect(const FitRect& control, FitScale k);

} // namespace velmora
