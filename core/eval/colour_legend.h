#pragma once
// The colour legend shown beside a pedigree chart: in cross-effect mode the effects' colours, in
// interesting-line mode the groups' colours. Rows whose name holds "予備" (reserved) stay blank.

#include "core/data/master_data.h"

#include <array>
#include <cstdint>
#include <string>

namespace velmora {

inline constexpr int kLegendEntries = 15;

struct LegendEntry
{
    bool shown = false; // false: an empty, transparent label
    std::u16string text;
    uint32_t color = 0xFFFFFF; // 0x00BBGGRR
    uint32_t textColor = 0x000000; // readable on `color`

    bool operator==(const LegendEntry&) const = default;
};

// Legend labels 1..15 at [1..15] ([0] unused). Colour mode: CrossTable row k's first two characters on
// its colour; otherwise OmokeiTable row k's label on its colour.
std::array<LegendEntry, kLegendEntries + 1> ColourLegend(const MasterData& d, bool colourMode);

} // namespace velmora
