#pragma once
// Writing the seven master data files the data editing window maintains, in the formats the loader
// reads (see core/data/file_lines.h): code page 932, CR LF line ends, a row that is written as it was read
// keeping the bytes its file held, and the files of one change written as one set.

#include "core/data/file_lines.h"
#include "core/data/file_set.h"

#include <string>
#include <vector>

namespace velmora {

// One data file ready to be written: where, and what it will hold (its bytes, and the line of each row,
// for the record of what the file holds once it is written).
struct PreparedFile
{
    DataFileKind kind = DataFileKind::Oya;
    std::string path;
    FileSource content;
};

// Builds a file from the tables without writing it: a row the program would write as it wrote the row
// when the file was read takes the bytes the file holds. Throws FileError (naming the file) for a text it
// could not store, RangeError for an index outside its table.
PreparedFile PrepareDataFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files,
                             DataFileKind kind);

// Writes the files (and extra files, such as a rewritten nick file) as one set, then notes in d what each
// data file holds now. Throws FileError with every file as it was when the set cannot be written. Returns
// the paths whose other names (hard links) kept the former content.
std::vector<std::string> WriteDataFiles(MasterData& d, const std::string& dataDir, std::vector<PreparedFile> files,
                                        std::vector<SetFile> extra = {});

// Each writes its file at dataDir + the name in files (an existing file whose name differs only in letter
// case is the one replaced), whole and atomically. Throws FileError when the file cannot be written or a
// text field cannot be stored so that it reads back the same; the file on disk is then unchanged. Throws
// RangeError for an index outside its table.
void WriteOmokeiFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteKeitoFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteKeiroFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteCrossFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteOyaFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteDadFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);
void WriteMamFile(const MasterData& d, const std::string& dataDir, const TDataFiles& files);

} // namespace velmora
