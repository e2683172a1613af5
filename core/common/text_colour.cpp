#include "core/common/text_colour.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

double Linear(uint32_t channel)
{
    const double c = static_cast<double>(channel & 0xFF) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Contrast ratios of black and white text on a fill of luminance l.
double OnBlack(double l)
{
    return (l + 0.05) / 0.05;
}

double OnWhite(double l)
{
    return 1.05 / (l + 0.05);
}

} // namespace

double Luminance(uint32_t bgr)
{
    return 0.2126 * Linear(bgr) + 0.7152 * Linear(bgr >> 8) + 0.0722 * Linear(bgr >> 16);
}

uint32_t ReadableTextColor(uint32_t fill)
{
    return ReadableTextColor(fill, fill);
}

uint32_t ReadableTextColor(uint32_t left, uint32_t right)
{
    const double a = Luminance(left);
    const double b = Luminance(right);
    const double black = std::min(OnBlack(a), OnBlack(b));
    const double white = std::min(OnWhite(a), OnWhite(b));
    return black >= white ? kTextBlack : kTextWhite;
}

} // namespace velmora
