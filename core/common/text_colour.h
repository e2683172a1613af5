#pragma once
// The colour of a text drawn on a fill that comes from the user or the data (an effect's colour, a
// line group's colour): black on light fills, white on dark ones, so that the text stays readable.
// Colours are 0x00BBGGRR values.

#include <cstdint>

namespace velmora {

inline constexpr uint32_t kTextBlack = 0x000000;
inline constexpr uint32_t kTextWhite = 0xFFFFFF;

// The relative luminance of a colour (0 black .. 1 white), as sRGB defines it.
double Luminance(uint32_t bgr);

// Black or white, whichever contrasts more with the fill.
uint32_t ReadableTextColor(uint32_t fill);
// The same for a text that stands across two fills: the one whose weaker contrast is the stronger.
uint32_t ReadableTextColor(uint32_t left, uint32_t right);

} // namespace velmora
