#pragma once
// What the data files held when they were last read or written. A row whose line the program would
// write just as it would have written it then goes back with the bytes the file held, so that what a
// user typed by hand (quotes, blanks, fields the program does not read, numbers in another form, a line
// the loader completed in memory) survives every write of the file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One line of a file.
struct SourceLine
{
    size_t offset = 0; // where the line's bytes start in FileSource::bytes
    size_t length = 0; // without the line end
    std::u16string written; // the line the program would have written for the row then
};

// One file: its bytes, and a line for each table row that came from it. Rows are aligned with their
// table (for the sire-line, cross-effect and interesting-line tables row k is line k of the file and
// rows[0] stands for the sentinel row); a row past the end of rows came from no file line.
struct FileSource
{
    std::string bytes;
    std::vector<SourceLine> rows;

    // Whether the program wrote (or would have written) row i as line when the file was read; then *raw
    // is what the file holds for it.
    bool SameAs(size_t i, std::u16string_view line, std::string_view* raw) const
    {
        if (i >= rows.size() || rows[i].written != line || rows[i].offset + rows[i].length > bytes.size())
            return false;
        *raw = std::string_view(bytes).substr(rows[i].offset, rows[i].length);
        return true;
    }
};

// The seven files the data editing window writes.
struct DataSources
{
    FileSource omokei;
    FileSource keito;
    FileSource keiro;
    FileSource cross;
    FileSource oya;
    FileSource dad;
    FileSource mam;
};

} // namespace velmora
