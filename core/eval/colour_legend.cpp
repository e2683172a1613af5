#include "core/eval/colour_legend.h"

#include "core/common/errors.h"
#include "core/common/text_colour.h"

namespace velmora {

namespace {

bool IsReserved(const std::u16string& name)
{
    return name.find(u"予備") != std::u16string::npos;
}

} // namespace

std::array<LegendEntry, kLegendEntries + 1> ColourLegend(const MasterData& d, bool colourMode)
{
    std::array<LegendEntry, kLegendEntries + 1> out;
    for (int k = 1; k <= kLegendEntries; ++k) {
        LegendEntry& e = out[static_cast<size_t>(k)];
        if (colourMode) {
            const TCrossRec& c = CheckedAt(d.CrossTable, k);
            if (IsReserved(c.name))
                continue;
            e.text = c.name.substr(0, 2);
            e.color = c.Color;
        } else {
            const KeitoRec& g = CheckedAt(d.OmokeiTable, k);
            if (IsReserved(g.name))
                continue;
            e.text = g.lbl;
            e.color = static_cast<uint32_t>(g.value);
        }
        e.textColor = ReadableTextColor(e.color);
        e.shown = true;
    }
    return out;
}

} // namespace velmora
