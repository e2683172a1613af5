#pragma once
// Test helpers: a temporary directory that removes itself, and a small master data set written from
// string literals into it in code page 932 with CR LF line ends.

#include "core/data/records.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora::test {

// A fresh directory under the system's temporary directory, removed with its content on destruction.
class TempDir
{
public:
    TempDir();
    // A directory under base (a RAM disk such as /dev/shm, for tests that write very often).
    explicit TempDir(const std::string& base);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory with a trailing '/', ready to be used as a data directory.
    const std::string& Path() const { return m_path; }
    std::string File(std::string_view name) const { return m_path + std::string(name); }

    // Writes text in code page 932 exactly as given (no line ends added).
    void WriteText(std::string_view name, std::u16string_view text) const;
    // Writes lines, each ended by CR LF.
    void WriteLines(std::string_view name, const std::vector<std::u16string>& lines) const;
    void WriteBytes(std::string_view name, std::string_view bytes) const;
    std::string ReadBytes(std::string_view name) const;

private:
    std::string m_path;
};

// Copies every plain file of a folder into dir.
void CopyFiles(const std::string& from, const TempDir& dir);

// The nine default data file names.
TDataFiles DefaultDataFiles();

// The content of the eight master data files, one string per line.
struct DataSetText
{
    std::vector<std::u16string> omokei, keito, keiro, cross, oya, dad, mam, nix;
};

// Writes the eight files under their default names into dir.
void WriteDataSet(const TempDir& dir, const DataSetText& data);

// A small coherent data set: 16 interesting lines, 5 sire lines, 3 colours, 4 cross effects, a dozen
// ancestors, 3 stallions, 2 broodmares and 3 nicks.
DataSetText SmallDataSet();

} // namespace velmora::test
