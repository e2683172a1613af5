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

// One control's new geometry: left, top, width and height each scaled by k.
FitRect FitControlRect(const FitRect& control, FitScale k);

} // namespace velmora
