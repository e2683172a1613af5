#pragma once
// The lines of the data files as the program writes them: fields joined by "," without quoting, the
// sire line and colour of a horse by name, an ancestor by name ("未登録" for none). The nick file is
// never built here: the program only ever removes whole lines of it.

#include "core/data/master_data.h"

#include <string>
#include <vector>

namespace velmora {

// The seven files the data editing window writes, in the order the loader reads them.
enum class DataFileKind {
    Omokei,
    Keito,
    Keiro,
    Cross,
    Oya,
    Dad,
    Mam,
};
inline constexpr DataFileKind kEditedFiles[]
    = { DataFileKind::Omokei, DataFileKind::Keito, DataFileKind::Keiro, DataFileKind::Cross,
        DataFileKind::Oya,    DataFileKind::Dad,   DataFileKind::Mam };

// The file name of a kind in files.
const std::u16string& FileNameOf(const TDataFiles& files, DataFileKind kind);
// Its record of what the file held.
FileSource& SourceOf(DataSources& sources, DataFileKind kind);
const FileSource& SourceOf(const DataSources& sources, DataFileKind kind);
// The table row of the file's first line: 1 for the tables whose row 0 is a sentinel, else 0.
size_t FirstFileRow(DataFileKind kind);

// The lines of each file (without line ends), in file order. Throw FileError for a text the file could
// not give back (a ",", a double quote, a line end, or a character code page 932 lacks), RangeError for
// an index outside its table.
std::vector<std::u16string> OmokeiFileLines(const MasterData& d); // exactly 16: name,$colour,label
std::vector<std::u16string> KeitoFileLines(const MasterData& d); // rows 1..KeitoCount-1: name,group
std::vector<std::u16string> KeiroFileLines(const MasterData& d); // every colour name
std::vector<std::u16string> CrossFileLines(const MasterData& d); // exactly 16: name,$colour
std::vector<std::u16string> OyaFileLines(const MasterData& d); // name,a,b,keito
std::vector<std::u16string> DadFileLines(const MasterData& d); // 29 fields
std::vector<std::u16string> MamFileLines(const MasterData& d); // 22 fields
std::vector<std::u16string> FileLines(const MasterData& d, DataFileKind kind);
// One line of the ancestor file.
std::u16string OyaFileLine(const OyaRec& r);
// The sire line that row `row` of the ancestor file stores, as the file holds it (the loader may have
// filled in another in memory); INT32_MAX when the line cannot be read back.
int32_t StoredOyaLine(const FileSource& source, size_t row);

// Notes, for each file read, the line the program would write for each of its rows as the tables are
// now; called at the end of a load, so that rows nobody changes are written back as they were read.
void NoteWrittenLines(MasterData& d);

} // namespace velmora
