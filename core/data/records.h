#pragma once
// The records of the master data: sire lines, ancestors, stallions, broodmares, cross effects, nicks.
// Field names keep the program's romanised Japanese names. Text is UTF-16; "short text" fields are kept
// as UTF-16 already cut to their code page 932 byte limit when stored (see ShortTextLimit).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Byte limits of the short-text fields in code page 932.
namespace ShortTextLimit {
constexpr int Birth = 4;
constexpr int Motikomi = 4;
constexpr int Dirt = 2;
constexpr int Grow = 4;
constexpr int Grade = 1; // Kisho, Konjo, Kenko, Jisseki, Antei
} // namespace ShortTextLimit

// One row of the sire-line table and of the interesting-line table.
struct KeitoRec
{
    std::u16string name;
    std::u16string lbl; // interesting-line table only: the group's short label
    int32_t value = 0; // sire lines: interesting-line group; interesting lines: the group's colour

    bool operator==(const KeitoRec&) const = default;
};

// One ancestor horse; every horse of any pedigree, registered stallions included, has a row.
struct OyaRec
{
    std::u16string name;
    int32_t a = 0; // first inbreeding effect, CrossTable index, 0 = none
    int32_t b = 0; // second inbreeding effect
    int32_t keito = 0; // sire line, KeitoTable index, 0 = unregistered
    int32_t omokei = 0; // interesting-line group, OmokeiTable index, 0 = none (derived when loading)
    int32_t shitei = 0; // designation mark, read by nothing

    bool operator==(const OyaRec&) const = default;
};

// A stallion's male line-up: [0] the stallion himself, [1..15] the positions of his pedigree. -1 = unknown.
using DadFatherRec = std::array<int32_t, 16>;
// A broodmare's 15 male ancestors: element i holds position i+1 (element 0 is her sire). -1 = unknown.
using MamFatherRec = std::array<int32_t, 15>;

// The ancestor names of a horse's file line that no ancestor row holds, by pedigree position (0..15).
// Kept with the horse so that its line names them as before, whatever is removed or added meanwhile.
// Empty when every ancestor of the horse is known.
using UnknownNames = std::vector<std::u16string>;

// The name kept for position p, or empty.
inline std::u16string_view UnknownAt(const UnknownNames& names, int p)
{
    return p >= 0 && static_cast<size_t>(p) < names.size() ? std::u16string_view(names[static_cast<size_t>(p)])
                                                           : std::u16string_view();
}

// Keeps name for position p.
inline void KeepUnknown(UnknownNames& names, int p, std::u16string_view name)
{
    if (names.size() < 16)
        names.resize(16);
    names[static_cast<size_t>(p)] = std::u16string(name);
}

struct DadRec
{
    std::u16string name;
    std::u16string birth; // short text, 4 bytes
    int32_t keito = 0;
    int32_t keiro = 0;
    int32_t Fee = 0; // star rank 1..5
    int32_t Distance1 = 0;
    int32_t Distance2 = 0;
    std::u16string Dirt; // short text, 2 bytes
    std::u16string Grow; // short text, 4 bytes
    std::u16string Kisho; // short text, 1 byte
    std::u16string Konjo; // short text, 1 byte
    std::u16string Kenko; // short text, 1 byte
    std::u16string Jisseki; // short text, 1 byte
    std::u16string Antei; // short text, 1 byte
    DadFatherRec Father {};
    // List filters: 1 shown / 0 hidden. Search: bit g-1 marks a candidate for generation g.
    int32_t Selected = 1;
    // The names of ancestors not in OyaTable (Father -1), by position; empty when every one is known.
    UnknownNames Unknown;

    bool operator==(const DadRec&) const = default;
};

struct MamRec
{
    std::u16string name;
    std::u16string motikomi; // short text, 4 bytes
    int32_t keito = 0; // sire line of the mare's sire
    int32_t keiro = 0;
    int32_t Fee = 0; // base price
    int32_t speed = 0;
    int32_t stamina = 0;
    MamFatherRec Father {};
    bool Selected = true;
    UnknownNames Unknown; // by position 1..15, as for a stallion

    bool operator==(const MamRec&) const = default;
};

// A cross effect: what an inbred ancestor passes on.
struct TCrossRec
{
    std::u16string name;
    uint32_t Color = 0xFFFFFF; // 0x00BBGGRR
    int32_t SpNit = 0; // derived when loading
    int32_t StNit = 0; // derived when loading

    bool operator==(const TCrossRec&) const = default;
};

struct NixRec
{
    int32_t keito1 = 0; // the stallion's sire line
    int32_t keito2 = 0; // the line met on the mare's side
    int32_t value = 0;

    bool operator==(const NixRec&) const = default;
};

// The bare file names of the nine data files in use, in this order.
struct TDataFiles
{
    std::u16string Keito;
    std::u16string Keiro;
    std::u16string Cross;
    std::u16string Nix;
    std::u16string Omokei;
    std::u16string Oya;
    std::u16string Dad;
    std::u16string Mam;
    std::u16string Aisho;

    bool operator==(const TDataFiles&) const = default;
};

// One band of a list filter.
struct TFeeButton
{
    std::u16string Caption;
    int32_t Jogen = 0; // upper bound
    int32_t Kagen = 0; // lower bound

    bool operator==(const TFeeButton&) const = default;
};

// One ancestor slot of an inbreeding analysis.
struct TSosenRec
{
    std::u16string name;
    int32_t num = -1; // OyaTable index
    int32_t isCrs = -2; // -2 not crossed, -1 crossed only through a nearer cross, 0 crossed, 1 with an effect
    bool isInCrs = false; // the horse occurs twice on the same side

    bool operator==(const TSosenRec&) const = default;
};

struct InbreedRec
{
    std::array<TSosenRec, 16> Dads; // the stallion's side
    std::array<TSosenRec, 15> Mams; // the mare's side

    bool operator==(const InbreedRec&) const = default;
};

} // namespace velmora
