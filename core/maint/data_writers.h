#pragma once
// Writing the seven master data files the data editing window maintains, in the formats the loader
// reads: fields joined by "," without quoting, CR LF line ends, code page 932, each file whole and
// atomically. The nick file is never written.

#include "core/data/master_data.h"

#include <array>
#include <string>
#include <vector>

namespace velmora {

// What a horse file still names where the row it named was deleted from the tables before the next
// reload: the horse's entry is -1 then, and the file keeps the name instead of "未登録".
struct KeptHorseNames
{
    std::array<std::u16string, 16> ancestors; // by position (stallions 0..15, broodmares 1..15); empty = none
    std::u16string keito; // for keito -1
    std::u16string keiro; // for keiro -1
};

// The kept names of both horse tables, indexed like DadTable and MamTable; rows past the end keep nothing.
struct KeptNames
{
    std::vector<KeptHorseNames> dad;
    std::vector<KeptHorseNames> mam;
};

// The kept names of horse row i; null when kept is null or keeps nothing for the row.
const KeptHorseNames* KeptRow(const KeptNames* kept, bool stallions, int i);

// The lines of each file (without line ends), in file order. Throw FileError for a text the file could
// not give back (see below).
std::vector<std::u16string> OmokeiFileLines(const MasterData& d); // exactly 16: name,$RRGGBB-style colour,label
std::vector<std::u16string> KeitoFileLines(const MasterData& d); // rows 1..KeitoCount-1: name,group
std::vector<std::u16string> KeiroFileLines(const MasterData& d); // every colour name
std::vector<std::u16string> CrossFileLines(const MasterData& d); // exactly 16: name,$colour
std::vector<std::u16string> OyaFileLines(const MasterData& d); // name,a,b,keito
std::vector<std::u16string> DadFileLines(const MasterData& d, const KeptNames* kept = nullptr); // 29 fields
std::vector<std::u16string> MamFileLines(const MasterData& d, const KeptNames* kept = nullptr); // 22 fields

enum class DataFileKind {
    Omokei,
    Keito,
    Keiro,
    Cross,
    Oya,
    Dad,
    Mam,
};

// One data file ready to be written: where, and its lines.
struct PreparedFile
{
    std::string path;
    std::vector<std::u16string> lines;
};

// Builds a file from the tables without writing it. Throws FileError (naming the file) for a text it
// could not store, RangeError for an index outside its table.
PreparedFile PrepareDataFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files,
                             DataFileKind kind, const KeptNames* kept = nullptr);

// Writes the files in order, each whole and atomically. When one cannot be written, those written
// before it get their former content back (or vanish when they did not exist), so that the files are
// all written or all as they were; throws the FileError of the file that failed.
void WriteDataFiles(const std::vector<PreparedFile>& files);

// Each writes its file at dataDir + the name in files (an existing file whose name differs only in letter
// case is the one replaced). Throws FileError when the file cannot be written, or when a text field
// cannot be stored so that it reads back the same (a ",", a double quote, a line end, or a character
// code page 932 lacks); the file on disk is then unchanged. Throws RangeError for an index outside its
// table.
void WriteOmokeiFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteKeitoFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteKeiroFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteCrossFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteOyaFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteDadFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteMamFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);

} // namespace velmora
