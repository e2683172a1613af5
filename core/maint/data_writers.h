#pragma once
// Writing the seven master data files the data editing window maintains, in the formats the loader
// reads: fields joined by "," without quoting, CR LF line ends, code page 932, each file whole and
// atomically. The nick file is never written.

#include "core/data/master_data.h"

#include <string>
#include <vector>

namespace velmora {

// The lines of each file (without line ends), in file order.
std::vector<std::u16string> OmokeiFileLines(const MasterData& d); // exactly 16: name,$RRGGBB-style colour,label
std::vector<std::u16string> KeitoFileLines(const MasterData& d); // rows 1..KeitoCount-1: name,group
std::vector<std::u16string> KeiroFileLines(const MasterData& d); // every colour name
std::vector<std::u16string> CrossFileLines(const MasterData& d); // exactly 16: name,$colour
std::vector<std::u16string> OyaFileLines(const MasterData& d); // name,a,b,keito
std::vector<std::u16string> DadFileLines(const MasterData& d); // the 29 fields of a stallion
std::vector<std::u16string> MamFileLines(const MasterData& d); // the 22 fields of a broodmare

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
