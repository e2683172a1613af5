#pragma once
// Pedigree formulas (血統式) and their chain reading: a flat list of names along the tail-female line
// (sire, dam's sire, second dam's sire, ... and as a rule a registered mare at the end), written in
// either direction, as the pedigree viewer reads it.

#include "core/data/master_data.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The class of one UTF-16 code unit in the chain reading: separators split names, blanks are trimmed
// off their ends, everything else belongs to a name (inner spaces included).
enum class CharClass : int8_t {
    Separator = -1,
    Blank = 0,
    Name = 1,
};

CharClass ClassOf(char16_t c);

// Removes leading and trailing code units up to U+0020 (spaces and control characters).
std::u16string_view BlankTrim(std::u16string_view s);
// Removes leading, then trailing code units of class Blank or Separator.
std::u16string_view SeparatorTrim(std::u16string_view s);

// Where a name stands in a formula text: the first occurrence that stands as a whole name (the nearest
// non-blank code units around it are separators, or the text ends there), so that a name that is also
// part of a longer name is found in its own place; otherwise the first occurrence; npos when none.
// treeReading: only "*", "(" and ")" separate (the tree reading's names); otherwise the chain
// reading's separator class.
size_t FindWholeName(std::u16string_view text, std::u16string_view name, bool treeReading);

// The alias lookup the readers use: the registered name an alias stands for, empty when none.
// An empty function means no aliases at all.
using AliasLookup = std::function<std::u16string(std::u16string_view name)>;
// The lookup over an alias file, opened for each call (see core/data/alias.h).
AliasLookup AliasFromFile(std::string aliasFilePath);

// One entry of a read chain.
struct ParentRec
{
    bool Sex = true; // true: a registered stallion or an unknown horse; false: a registered broodmare
    int32_t Num = -1; // DadTable index (Sex true) or MamTable index (Sex false); -1 unknown
    std::u16string Name;
    int32_t MamNum = -1; // carried with the record; nothing sets or reads it
};

inline constexpr int kMaxChainEntries = 32;
// At most this many characters after a separator are read on.
inline constexpr size_t kChainReadWindow = 255;
inline constexpr std::u16string_view kUnknownChainName = u"???";
inline constexpr std::u16string_view kMsgChainLimit = u"血統は３２世代までしか表示されません";
inline constexpr std::u16string_view kMsgNoMare = u"牝馬が見つかりません。一番左を父と判断します";

// A range of code units in an input box's text, to be selected there.
struct TextRange
{
    size_t start = 0;
    size_t length = 0;
    bool operator==(const TextRange&) const = default;
};

// The caller's values that survive between chain readings; a reading only overwrites them.
struct ChainCarry
{
    int32_t currentMare = -1; // MamTable index of the last mare read
    std::u16string aliasCandidate; // the last unknown name met
};

// The outcome of one chain reading, for the window to act on.
struct ChainReading
{
    std::u16string normalized; // the folded text; it replaces the input box's text
    std::vector<ParentRec> entries; // 0 = sire, 1 = dam's sire, ...; at most 32
    std::vector<std::u16string> messages; // information boxes to show, in order
    std::optional<TextRange> selection; // the unknown name to select in the box (the last one)
};

// Reads a formula as a chain: folds it (ToHalfWidth), splits it into names at separators, resolves
// each name (stallion, mare, then through an alias), orients the chain so that entry 0 is the sire,
// completes a one-entry chain with "???" and selects the unknown names. carry.currentMare is set by
// every mare read, carry.aliasCandidate by every unknown name.
ChainReading ReadChain(const MasterData& d, const AliasLookup& alias, std::u16string_view text, ChainCarry& carry);

} // namespace velmora
