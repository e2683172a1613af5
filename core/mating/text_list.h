#pragma once
// The ranked text list (一覧表示): one list of the optimal-mating window, ranked by compatibility with
// a target horse, printed as fixed-width text. Widths and cuts count code page 932 bytes, which are
// the display columns of a fixed-pitch font (a full-width character is two and is never cut in half).

#include "core/data/ini_file.h"
#include "core/data/master_data.h"
#include "core/mating/ordering.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

enum class TextListKind {
    Stallions, // the stallion list against the chosen broodmare
    Mares, // the broodmare list against the chosen stallion
};

// Column switches of the stallion list, in settings and print order (the name column is always printed).
namespace StallionColumn {
enum : int {
    Rank,
    Points,
    Origin,
    Line,
    Color,
    Star,
    Distance,
    Dirt,
    Grow,
    Kisho,
    Konjo,
    Kenko,
    Jisseki,
    Antei,
    Omo,
    Mig,
    Yok,
    Nix,
    Inbreed,
    Count
};
}
// Column switches of the broodmare list, in settings and print order.
namespace MareColumn {
enum : int { Rank, Points, Origin, Line, Color, Price, Speed, Stamina, Omo, Mig, Yok, Nix, Inbreed, Count };
}

// A column switch's settings key and default.
struct TextListColumn
{
    std::u16string_view key;
    bool defaultOn;
};
std::span<const TextListColumn> TextListColumns(TextListKind kind);
// "種牡馬一覧" or "繁殖牝馬一覧".
std::u16string_view TextListSection(TextListKind kind);
inline constexpr std::u16string_view kTextListFormatSection = u"一覧表示";

using TextListSwitches = std::array<bool, StallionColumn::Count>; // indexed by the kind's column enum

// The default switches of a kind.
TextListSwitches DefaultTextListSwitches(TextListKind kind);

// The three numbers as typed (settings 出力数, 折返し, 馬名長) and the column switches.
struct TextListSettings
{
    std::u16string maxRank = u"30";
    std::u16string wrap = u"72";
    std::u16string nameLength = u"10";
    TextListSwitches columns {};
};
// Reads the settings (each value written back): the three numbers, then the kind's switches ("ON"
// checks a box, anything else clears it).
TextListSettings ReadTextListSettings(IniFile& ini, TextListKind kind);
// Writes the three numbers as typed.
void WriteTextListFormat(IniFile& ini, const TextListSettings& s);
// Writes the switches "ON" / "OFF" in the kind's order, with "馬名" = "必須" right after "順位".
void WriteTextListSwitches(IniFile& ini, TextListKind kind, const TextListSwitches& columns);

// What the optimal-mating window hands over: one of its lists, whether it is ordered by compatibility
// with a chosen partner (ready), and that partner.
struct TextListSource
{
    bool stallions = true; // the stallion list (target: a mare) or the mare list
    bool ready = false; // ordered by 相性順 with a chosen target
    const std::vector<ListRow>* rows = nullptr;
    int target = -1; // MamTable row (stallion list) or DadTable row (mare list)
    std::u16string targetName;
};

// What the list is built from.
struct TextListRequest
{
    TextListKind kind = TextListKind::Stallions;
    std::u16string title; // "対象牝馬" for the stallion list, "対象牡馬" for the broodmare list
    std::u16string targetName; // the target horse's name
    std::u16string date; // the current date in the short date format
    TextListSettings settings;
    int32_t target = -1; // the target: MamTable row for the stallion list, DadTable row for the broodmare list
};

// The output lines: title, blank line, header (with the inbreeding caption), blank line, then the
// ranked rows in list order with their inbreeding items. The rows' keys are printed as they are.
std::vector<std::u16string> BuildTextList(const MasterData& d, const TextListRequest& request,
                                          std::span<const ListRow> rows);

// The lines the list window shows when it opens. Ready (the list is ordered by compatibility with a
// chosen target): how to print, save and load. Otherwise: load a saved list, or order this kind's list
// (the stallion list for TextListKind::Stallions) by compatibility first.
std::vector<std::u16string> TextListOpeningLines(TextListKind kind, bool ready);

// The title line's date: yyyy/MM/dd, whatever the locale (the list is Japanese).
std::u16string TextListDate(int year, int month, int day);
// Today's local date in that form.
std::u16string TextListToday();

// Formatting helpers, counting code page 932 bytes.
// "%-W.Ws": cut to w bytes, then padded with blanks to w bytes.
std::u16string PadCut(std::u16string_view text, int w);
// "%W.Ps": cut to p bytes, then blanks in front up to w bytes.
std::u16string RightCut(std::u16string_view text, int w, int p);

// Generation in the foal's pedigree of a stallion position (0 -> 1) and of a broodmare position.
int FoalGenerationOfStallion(int p);
int FoalGenerationOfMare(int j);

} // namespace velmora
