#pragma once
// The compatibility point table (相性値設定): the weights that turn the evaluation of a pair into one
// number, and its files "相性.CSV" / "相性" + setting name + ".CSV" in the data directory. The files are
// profile (INI) files in code page 932; every value read is written straight back, so reading a file
// that lacks keys (or does not exist) completes it with the defaults in the writer's order.

#include "core/data/ini_file.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct AppState;

// Points for the mating types, in file order (section 配合).
struct VelmoraHaigoRec
{
    int32_t Dokei = 0; // same-line mating
    int32_t Omo = 0; // interesting mating
    int32_t Mig = 0; // splendid mating
    int32_t Yok = 0; // well-made mating
    int32_t Nix1 = 0; // nick graded perfect
    int32_t Nix2 = 0; // excellent
    int32_t Nix3 = 0; // good
    int32_t Nix4 = 0; // moderate
    int32_t Taboo = 0; // danger: close inbreeding
    int32_t Kiken = 0; // danger: too many crosses
    int32_t Outb = 0; // outbreeding

    bool operator==(const VelmoraHaigoRec&) const = default;
};

// The mating-type points in file order (the keys of section 配合), as t.haigo.*kHaigoFields[i].
inline constexpr std::array<int32_t VelmoraHaigoRec::*, 11> kHaigoFields = {
    &VelmoraHaigoRec::Dokei, &VelmoraHaigoRec::Omo,   &VelmoraHaigoRec::Mig,  &VelmoraHaigoRec::Yok,
    &VelmoraHaigoRec::Nix1,  &VelmoraHaigoRec::Nix2,  &VelmoraHaigoRec::Nix3, &VelmoraHaigoRec::Nix4,
    &VelmoraHaigoRec::Taboo, &VelmoraHaigoRec::Kiken, &VelmoraHaigoRec::Outb,
};

// Indices into PtsRec::mstatus (section 繁殖牝馬).
namespace MStatus {
enum : int {
    Jika, // 自家生産
    Taka, // 他家生産
    ColorPts, // 毛色Pts
    FeeLow, // 基本料下限
    FeeHigh, // 基本料上限
    FeePts, // 基本料Pts
    SpeedLow, // スピード下限
    SpeedHigh, // スピード上限
    SpeedPts, // スピードPts
    StaminaLow, // スタミナ下限
    StaminaHigh, // スタミナ上限
    StaminaPts, // スタミナPts
    Count
};
}

// Indices into PtsRec::dstatus (section 種牡馬). Grade groups hold A, B, C in that order.
namespace DStatus {
enum : int {
    Naikoku, // 内国産
    Gaikoku, // 外国産
    ColorPts, // 毛色Pts
    StarLow, // ★下限
    StarHigh, // ★上限
    StarPts, // ★Pts
    DistLow, // 距離下限
    DistHigh, // 距離上限
    DistPts, // 距離Pts
    Soujuku, // 早熟
    Futsu, // 普通
    Bansei, // 晩成
    Jizoku, // 持続
    Dirt1, // ダート◎
    Dirt2, // ダート○
    Dirt3, // ダート△
    KishoA, // 気性A, B, C
    KonjoA = KishoA + 3,
    KenkoA = KonjoA + 3,
    JissekiA = KenkoA + 3,
    AnteiA = JissekiA + 3,
    KishoO = AnteiA + 3, // 気性O
    KenkoO, // 健康O
    Count
};
}

// The whole table, fields in file order. The effect arrays are indexed by CrossTable row; `CrosNum`
// and `Nitro` by 1..16 (element 0 unused); only CrosNum[1..7] are kept in the file.
struct PtsRec
{
    VelmoraHaigoRec haigo;
    std::array<int32_t, 17> cros {}; // inbreeding-effect points, [0] = no effect
    std::array<int32_t, 17> CrosNum {}; // points by number of crosses
    std::array<int32_t, 17> Nitro {}; // pedigree-composition points per effect
    std::array<int32_t, 17> Oyani {}; // parent-likeness points per effect, [0] = no effect
    std::array<int32_t, MStatus::Count> mstatus {};
    std::u16string mcolor; // broodmare coat colour that earns mstatus[ColorPts]
    std::array<int32_t, DStatus::Count> dstatus {};
    std::u16string dcolor; // stallion coat colour that earns dstatus[ColorPts]

    bool operator==(const PtsRec&) const = default;
};

// The section names, in the writer's order.
inline constexpr std::u16string_view kPointSectionHaigo = u"配合";
inline constexpr std::u16string_view kPointSectionCrosNum = u"クロス本数";
inline constexpr std::u16string_view kPointSectionNitro = u"血統構成";
inline constexpr std::u16string_view kPointSectionCros = u"インブリード";
inline constexpr std::u16string_view kPointSectionOyani = u"親似効果";
inline constexpr std::u16string_view kPointSectionMare = u"繁殖牝馬";
inline constexpr std::u16string_view kPointSectionStallion = u"種牡馬";
inline constexpr std::u16string_view kPointColorKey = u"毛色";
inline constexpr std::u16string_view kDefaultPointFile = u"相性.CSV";
inline constexpr std::u16string_view kDefaultPointSetting = u"デフォルト";

// "1本" .. "7本" and "効果00" .. "効果16".
std::u16string CrosNumKey(int n);
std::u16string EffectKey(int n);

// The table a freshly created file holds.
PtsRec DefaultPointTable();

// The integer value of a point text (as the data files read numbers: optional sign, decimal digits or
// "$" and hexadecimal digits, within 32 bits); 0 for any other text, an empty one included.
int32_t PointTextValue(std::u16string_view text);

// Fills every field of `table` from `file`, completing the file. Throws FileError when the file cannot
// be written; fields already read keep their new values.
void ReadPoints(IniFile& file, PtsRec& table);
// Writes every field; cros[0] and Oyani[0] are set to 0 first (the editor never keeps them).
void WritePoints(IniFile& file, PtsRec& table);

// Why a setting name cannot name a point file, as a message for the user; empty when it can. Refused:
// line ends and other control characters, the wildcards "*" and "?", the path separators "/" and "\"
// and "..", which would make a file elsewhere or a name no listing gives back, and characters code
// page 932 lacks, which the settings file could not keep (fold the look-alikes first:
// FoldCp932LookAlikes).
std::u16string PointSettingNameProblem(std::u16string_view settingName);

// Setting name <-> file name. "デフォルト" (any letter case) and "" give "相性.CSV".
std::u16string PointFileName(std::u16string_view settingName);
// The part between the leading "相性" and the last "."; an empty part is "デフォルト".
std::u16string PointSettingName(std::u16string_view fileName);

// The setting names of the point files in a directory, and which is current.
struct PointFileList
{
    std::vector<std::u16string> names; // setting names
    std::vector<std::u16string> fileNames; // the files they come from, same order
    int selected = -1; // the item whose file name equals the current one, -1 when none
};
// Every file of dataDir (UTF-8, ending in '/') matching "相性*.CSV" (ASCII letter case ignored), in
// file-name order; `currentFile` is compared ignoring ASCII letter case.
PointFileList ListPointFiles(const std::string& dataDir, std::u16string_view currentFile);

// What an overflow in a sum of a table's points says about its cause: "相性計算データ", the file's name
// when the table is PointTable() read from PointFile(), "の値が大きすぎます", then the entries that are
// added (bounds left out) whose values are largest in magnitude: every one of 2^24 or more, at most
// three, at least the largest, as "[配合] 面白配合=2147483647".
std::u16string PointOverflowCause(const PtsRec& table);

// The process-wide current table; all zero until the first read.
PtsRec& PointTable();
// The profile file of the current table; nullptr until one is opened.
IniFile* PointFile();
// Makes dataDir + fileName the current point file (the table itself is not read).
IniFile& OpenPointFile(const std::string& dataDir, std::u16string_view fileName);
// Makes a table current by its setting name: App's DataFiles.Aisho becomes its file name, the point
// file is replaced and ReadPoints fills PointTable().
void ChoosePointTable(AppState& app, std::u16string_view settingName);

} // namespace velmora
