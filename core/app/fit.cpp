#include "core/app/fit.h"

#include <algorithm>

#include "core/common/errors.h"

#include <limits>

namespace velmora {

FitScale LayoutScale(int32_t screenHeight)
{
    return FitScale { screenHeight, 600 };
}

int32_t RoundHalfEven(int64_t num, int64_t den)
{
    // Truncating division, then move the quotient one step when the remainder is more than half,
    // or exactly half and the quotient is odd.
    int64_t q = num / den;
    const int64_t r = num % den; // same sign as num
    const int64_t twice = 2 * (r < 0 ? -r : r);
    if (twice > den || (twice == den && (q % 2 != 0)))
        q += (num < 0) ? -1 : 1;
    if (q < std::numeric_limits<int32_t>::min() || q > std::numeric_limits<int32_t>::max())
        throw OverflowError();
    return static_cast<int32_t>(q);
}

int32_t Scale(int32_t value, FitScale k)
{
    return RoundHalfEven(static_cast<int64_t>(value) * k.num, k.den);
}

FitRect FitFormRect(const FitRect& window, ScreenSize screen, int32_t screenWidth, int32_t screenHeight)
{
    FitRect r;
    if (window.height >= 600 || window.height < screenHeight) {
        const FitScale k = LayoutScale(screenHeight);
        r.height = Scale(window.height, k);
        r.width = Scale(window.width, k);
    } else {
        r.height = screenHeight;
        r.width = screenWidth;
    }
    // Centred with the fitted size: centred with its size before fitting, a window that shrinks to the
    // layout size would stand partly off a screen of that size, its title bar and formula boxes out of
    // reach.
    return CentreOnScreen(r.width, r.height, screen, screenHeight);
}

FitRect CentreOnScreen(int32_t width, int32_t height, ScreenSize screen, int32_t screenHeight)
{
    // div truncates toward zero; never left of or above the screen.
    auto centre = [](int64_t room) { return static_cast<int32_t>(std::max<int64_t>(0, room / 2)); };
    FitRect r { 0, 0, width, height };
    r.left = centre(static_cast<int64_t>(screen.width) - width);
    r.top = screen.height < screenHeight ? 0 : centre(static_cast<int64_t>(screen.height) - height);
    return r;
}

FittedForm FitFormWithFrame(const FitRect& window, ScreenSize screen, int32_t screenWidth, int32_t screenHeight,
                            FrameExtents frame)
{
    FittedForm out { FitFormRect(window, screen, screenWidth, screenHeight), LayoutScale(screenHeight) };
    FitRect& r = out.window;
    const int64_t roomW = static_cast<int64_t>(screen.width) - frame.left - frame.right;
    const int64_t roomH = static_cast<int64_t>(screen.height) - frame.top - frame.bottom;
    // The window is moved to r.left, r.top: its frame's corner stands there, its client area inside.
    const bool onScreen = r.left >= 0 && r.top >= 0
        && int64_t { r.left } + frame.left + r.width + frame.right <= screen.width
        && int64_t { r.top } + frame.top + r.height + frame.bottom <= screen.height;
    if (onScreen || roomW <= 0 || roomH <= 0 || window.width <= 0 || window.height <= 0)
        return out;
    if (r.width > roomW || r.height > roomH) {
        r.width = static_cast<int32_t>(std::min<int64_t>(r.width, roomW));
        r.height = static_cast<int32_t>(std::min<int64_t>(r.height, roomH));
        // The controls keep within the room: the design size scaled by the layout's k or, where that
        // is too large, by room / design size (the smaller of the two directions).
        FitScale& k = out.controls;
        const FitScale byHeight { roomH, window.height };
        const FitScale byWidth { roomW, window.width };
        auto less = [](FitScale a, FitScale b) { return a.num * b.den < b.num * a.den; };
        if (less(byHeight, k))
            k = byHeight;
        if (less(byWidth, k))
            k = byWidth;
    }
    // The frame centred on the screen, never off its top-left corner.
    auto place = [](int64_t screenSize, int64_t frameSize) {
        return static_cast<int32_t>(std::max<int64_t>(0, (screenSize - frameSize) / 2));
    };
    r.left = place(screen.width, frame.left + r.width + frame.right);
    r.top = place(screen.height, frame.top + r.height + frame.bottom);
    return out;
}

FitRect FitControlRect(const FitRect& control, FitScale k)
{
    return FitRect { Scale(control.left, k), Scale(control.top, k), Scale(control.width, k), Scale(control.height, k) };
}

} // namespace velmora
