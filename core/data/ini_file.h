#pragma once
// Profile (INI) files in code page 932: the settings file, the point files and the alias file.
// Section and key names compare without regard to ASCII case; values are read without surrounding
// blanks. A written key replaces its line in place or is added at the end of its section; a new
// section goes at the end of the file; the file is created on first write. Every write reaches the
// disk at once, atomically.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One value to write: section, key, value.
struct IniEntry
{
    std::u16string section;
    std::u16string key;
    std::u16string value;
};

class IniFile
{
public:
    // Opens (reads) the file when it exists; a missing file reads as empty. Throws FileError when the
    // file exists but cannot be read or is not code page 932 text.
    explicit IniFile(std::string path);

    const std::string& Path() const { return m_path; }

    // The value of section/key, or nullopt when absent. Like every call, it sees the file as it is on
    // disk now: a file changed by someone else since the last call is read again first.
    std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) const;
    std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) const;
    // Writes one value and saves the file at once (unless the file on disk already reads exactly so). Throws FileError
    // when it cannot be written, or when the key or section cannot be stored (empty, or holding a line end, "=" in a
    // key, "]" in a section). Line ends inside a value are written as blanks, so one value stays one line.
    void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    // Writes several values in order, as WriteString would one after the other, with one disk write
    // for all of them (a whole point table costs one write instead of a hundred). All or nothing: when
    // an entry cannot be stored or the file cannot be written, nothing changes.
    void WriteStrings(const std::vector<IniEntry>& entries);
    // Reads a value (the default when absent), writes it back and returns it.
    std::u16string ReadSetting(std::u16string_view section, std::u16string_view key, std::u16string_view defaultValue);

    std::vector<std::u16string> Sections() const;
    std::vector<std::u16string> Keys(std::u16string_view section) const;
    bool SectionExists(std::u16string_view section) const;

    // Reads the file from disk again.
    void Reload();

    // Whether the last write replaced a file that had other names (hard links), which keep the former
    // content (see WriteFileAtomic).
    bool LastWriteDroppedLinks() const { return m_linksDropped; }

private:
    struct Stamp
    {
        bool exists = false;
        uint64_t dev = 0, ino = 0, size = 0;
        int64_t mtimeSec = 0, mtimeNsec = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp CurrentStamp() const;
    void Refresh() const;
    void LoadFromDisk() const;
    // Checks that a section and key can be stored; throws FileError otherwise.
    void CheckEntry(std::u16string_view section, std::u16string_view key) const;
    // Puts one value into lines (the file's lines as they will be written).
    static void Apply(std::vector<std::u16string>& lines, std::u16string_view section, std::u16string_view key,
                      std::u16string_view value);
    void Save(std::vector<std::u16string> lines);

    std::string m_path;
    mutable std::vector<std::u16string> m_lines;
    mutable Stamp m_stamp;
    bool m_linksDropped = false;
};

} // namespace velmora
