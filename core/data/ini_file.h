#pragma once
// Profile (INI) files in code page 932: the settings file, the point files and the alias file.
// Section and key names compare without regard to ASCII case; values are read without surrounding
// blanks. A written key replaces its line in place or is added at the end of its section; a new
// section goes at the end of the file; the file is created on first write. Every write reaches the
// disk at once, atomically.

#include <optional>
#include <string>
#include <vector>

namespace velmora {

class IniFile
{
public:
    // Opens (reads) the file when it exists; a missing file reads as empty.
    explicit IniFile(std::string path);

    const std::string& Path() const { return m_path; }

    // The value of section/key, or nullopt when absent.
    std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) const;
    std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) const;
    // Writes one value and saves the file at once. Throws FileError when it cannot be written.
    void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    // Reads a value (the default when absent), writes it back and returns it.
    std::u16string ReadSetting(std::u16string_view section, std::u16string_view key,
                               std::u16string_view defaultValue);

    std::vector<std::u16string> Sections() const;
    std::vector<std::u16string> Keys(std::u16string_view section) const;
    bool SectionExists(std::u16string_view section) const;

private:
    std::string m_path;
    std::vector<std::u16string> m_lines;
};

} // namespace velmora
