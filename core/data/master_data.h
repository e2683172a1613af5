#pragma once
// The master data tables with their fixed capacities and sentinel rows, and the name lookups.

#include "core/data/data_sources.h"
#include "core/data/records.h"

#include <string_view>
#include <vector>

namespace velmora {

// Capacities: the number of rows each table holds (highest index + 1).
constexpr int kOyaRows = 3001; // 0..3000
constexpr int kDadRows = 513; // 0..512
constexpr int kMamRows = 701; // 0..700
constexpr int kKeitoRows = 97; // 0..96, row 0 is "未登録"
constexpr int kCrossRows = 17; // 0..16, row 0 is four U+3000
constexpr int kOmokeiRows = 17; // 0..16, row 0 is "未登録"
constexpr int kNixRows = 4097; // 0..4096
constexpr size_t kKeiroRows = 4096; // coat colours: far more than any game has, few enough to read at once

inline constexpr std::u16string_view kUnregistered = u"未登録";

// All master data. The program keeps one process-wide instance (Master()); tests build their own.
// The loader resets the counts and refills rows; rows beyond a count keep old content, so every
// reader goes by the counts (and by rows 1..16 for CrossTable and OmokeiTable).
struct MasterData
{
    MasterData();

    std::vector<OyaRec> OyaTable; // kOyaRows rows
    int32_t OyaCount = 0;
    std::vector<DadRec> DadTable; // kDadRows rows
    int32_t DadCount = 0;
    std::vector<MamRec> MamTable; // kMamRows rows
    int32_t MamCount = 0;
    std::vector<KeitoRec> KeitoTable; // kKeitoRows rows
    int32_t KeitoCount = 1;
    std::vector<std::u16string> KeiroTable; // coat colours, unbounded, 0-based positions
    std::vector<TCrossRec> CrossTable; // kCrossRows rows
    std::vector<KeitoRec> OmokeiTable; // kOmokeiRows rows
    std::vector<NixRec> NixList; // kNixRows rows
    int32_t NixCount = 0;
    int32_t SpeedCrossRow = 0; // first CrossTable row whose name contains "◎" or "短", 0 when none
    // Counts the loads (GetMasterData) into these tables, so that a window that keeps table indices
    // across a reload can tell that they may name other rows now.
    uint64_t LoadGeneration = 0;
    // What the files held when they were last read or written (see data_sources.h).
    DataSources Sources;
};

// The process-wide tables the windows work on.
MasterData& Master();

// Exact-match lookups scanning from index 0; the lowest matching index, -1 when absent.
int FindOya(const MasterData& d, std::u16string_view name);
int FindDad(const MasterData& d, std::u16string_view name);
int FindMam(const MasterData& d, std::u16string_view name);
int FindKeito(const MasterData& d, std::u16string_view name);
int FindOmokei(const MasterData& d, std::u16string_view name);
int FindListName(const std::vector<std::u16string>& list, std::u16string_view name);

// The name an ancestor reference of a horse stands for: the ancestor's, or for one the ancestor table
// lacks (-1) the name the horse file held at that pedigree position (empty when it held none). Throws
// RangeError for an index past the table.
std::u16string_view AncestorNameOf(const MasterData& d, int32_t oya, const UnknownNames& unknown, int position);

// Appends an ancestor unless the name is present (then -1). Throws RangeError when the table is full.
int AddOya(MasterData& d, std::u16string_view name, int32_t keito, int32_t a, int32_t b);

} // namespace velmora
