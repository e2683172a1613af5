#pragma once
// The HTML mating report: one planned mating as a small page (formula, nitro values, mating types and
// a five-column pedigree of male ancestors with crosses marked and effects in their colours), in code
// page 932 with CR LF line ends. Two comment lines mark the part meant to be cut out and pasted.

#include "core/data/master_data.h"

#include <string>
#include <string_view>

namespace velmora {

// The report's file name, written into the working directory at start-up.
inline constexpr std::string_view kHtmlReportFile = "VelmoraSample.html";

// The page for stallion array F (star rank `rank`, for the nick) and broodmare array M. `formula` is
// the mating's pedigree formula, pieces separated by "*"; the first of its first five pieces that
// names a registered broodmare places her as dam (piece 2) up to fourth dam (piece 5).
std::string HtmlReportBytes(const MasterData& d, int rank, std::u16string_view formula, const DadFatherRec& f,
                            const MamFatherRec& m);

// Writes the page to `path` whole and atomically. Throws FileError when it cannot be written.
void WriteHtmlReport(const MasterData& d, const std::string& path, int rank, std::u16string_view formula,
                     const DadFatherRec& f, const MamFatherRec& m);

// A stored 0x00BBGGRR colour as six upper-case hexadecimal digits in the order red, green, blue.
std::string HtmlColor(uint32_t color);

} // namespace velmora
