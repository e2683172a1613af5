#include "core/data/ini_file.h"

#include "core/common/ascii_case.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/text_file.h"

#include <sys/stat.h>
#include <utility>

namespace velmora {

namespace {

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// The section name of a header line "[name]", or nullopt when the line is not a header.
std::optional<std::u16string_view> SectionName(std::u16string_view line)
{
    const std::u16string_view t = Trim(line);
    if (t.empty() || t.front() != u'[')
        return std::nullopt;
    const size_t close = t.find(u']');
    const std::u16string_view inner = close == std::u16string_view::npos ? t.substr(1) : t.substr(1, close - 1);
    return Trim(inner);
}

// Splits a "key=value" line; false for lines without "=" and for comment lines.
bool SplitKeyLine(std::u16string_view line, std::u16string_view& key, std::u16string_view& value)
{
    const std::u16string_view t = Trim(line);
    if (t.empty() || t.front() == u';')
        return false;
    const size_t eq = t.find(u'=');
    if (eq == std::u16string_view::npos)
        return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    return true;
}

// A name the file gives back as it is: every character has a code in code page 932 (others would be
// written as "?").
bool Storable(std::u16string_view s)
{
    std::string bytes;
    return EncodeCp932(s, bytes);
}

bool HasLineEnd(std::u16string_view s)
{
    return s.find_first_of(u"\r\n") != std::u16string_view::npos;
}

// Line index of the section header, or -1. Names are compared without surrounding blanks, as they
// are written.
int FindSection(const std::vector<std::u16string>& lines, std::u16string_view section)
{
    section = Trim(section);
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (name && EqualIgnoringAsciiCase(*name, section))
            return static_cast<int>(i);
    }
    return -1;
}

// Line index of the key inside the section whose header is at sectionLine, or -1.
int FindKey(const std::vector<std::u16string>& lines, int sectionLine, std::u16string_view key)
{
    key = Trim(key);
    for (size_t i = static_cast<size_t>(sectionLine) + 1; i < lines.size(); ++i) {
        if (SectionName(lines[i]))
            break;
        std::u16string_view k, v;
        if (SplitKeyLine(lines[i], k, v) && EqualIgnoringAsciiCase(k, key))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

IniFile::IniFile(std::string path)
    : m_path(std::move(path))
{
    LoadFromDisk();
}

IniFile::Stamp IniFile::CurrentStamp() const
{
    Stamp s;
    struct stat st
    {
    };
    if (::stat(m_path.c_str(), &st) != 0)
        return s;
    s.exists = true;
    s.dev = static_cast<uint64_t>(st.st_dev);
    s.ino = static_cast<uint64_t>(st.st_ino);
    s.size = static_cast<uint64_t>(st.st_size);
    s.mtimeSec = static_cast<int64_t>(st.st_mtim.tv_sec);
    s.mtimeNsec = static_cast<int64_t>(st.st_mtim.tv_nsec);
    return s;
}

void IniFile::LoadFromDisk() const
{
    const Stamp s = CurrentStamp();
    if (!s.exists) {
        m_lines.clear();
    } else {
        m_lines = ReadCp932Lines(m_path);
    }
    m_stamp = s;
}

void IniFile::Refresh() const
{
    if (!(CurrentStamp() == m_stamp))
        LoadFromDisk();
}

void IniFile::Reload()
{
    LoadFromDisk();
}

std::optional<std::u16string> IniFile::Read(std::u16string_view section, std::u16string_view key) const
{
    Refresh();
    const int s = FindSection(m_lines, section);
    if (s < 0)
        return std::nullopt;
    const int k = FindKey(m_lines, s, key);
    if (k < 0)
        return std::nullopt;
    std::u16string_view name, value;
    SplitKeyLine(m_lines[static_cast<size_t>(k)], name, value);
    return std::u16string(value);
}

std::u16string IniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view defaultValue) const
{
    auto v = Read(section, key);
    return v ? std::move(*v) : std::u16string(defaultValue);
}

void IniFile::CheckEntry(std::u16string_view section, std::u16string_view key) const
{
    const std::u16string_view trimmedKey = Trim(key);
    if (trimmedKey.empty() || HasLineEnd(key) || key.find(u'=') != std::u16string_view::npos
        || trimmedKey.front() == u'[' || trimmedKey.front() == u';' || !Storable(key))
        throw FileError(m_path + ": 設定のキー \"" + ToUtf8(key) + "\" は書き込めません");
    if (Trim(section).empty() || HasLineEnd(section) || section.find(u']') != std::u16string_view::npos
        || !Storable(section))
        throw FileError(m_path + ": 設定のセクション \"" + ToUtf8(section) + "\" は書き込めません");
}

void IniFile::Apply(std::vector<std::u16string>& lines, std::u16string_view section, std::u16string_view key,
                    std::u16string_view value)
{
    std::u16string line(Trim(key));
    line += u'=';
    for (const char16_t c : value)
        line += (c == u'\r' || c == u'\n') ? u' ' : c;

    const int s = FindSection(lines, section);
    if (s < 0) {
        std::u16string header = u"[";
        header += Trim(section);
        header += u']';
        lines.push_back(std::move(header));
        lines.push_back(std::move(line));
    } else if (const int k = FindKey(lines, s, key); k >= 0) {
        lines[static_cast<size_t>(k)] = std::move(line);
    } else {
        size_t insertAt = static_cast<size_t>(s) + 1;
        for (size_t i = insertAt; i < lines.size(); ++i) {
            if (SectionName(lines[i]))
                break;
            if (!Trim(lines[i]).empty())
                insertAt = i + 1;
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
    }
}

void IniFile::Save(std::vector<std::u16string> lines)
{
    // A write that leaves the text as it is (a setting read back unchanged) has nothing to bring to disk.
    if (m_stamp.exists && lines == m_lines)
        return;
    m_linksDropped = WriteCp932Lines(m_path, lines);
    // The memory copy changes only once the disk has it, and holds what the disk holds: a character
    // the code page lacks was written as "?".
    std::string bytes;
    for (std::u16string& line : lines)
        if (!EncodeCp932(line, bytes))
            line = FromCp932(bytes);
    m_lines = std::move(lines);
    m_stamp = CurrentStamp();
}

void IniFile::WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value)
{
    CheckEntry(section, key);
    Refresh();
    std::vector<std::u16string> lines = m_lines;
    Apply(lines, section, key, value);
    Save(std::move(lines));
}

void IniFile::WriteStrings(const std::vector<IniEntry>& entries)
{
    for (const auto& e : entries)
        CheckEntry(e.section, e.key);
    Refresh();
    std::vector<std::u16string> lines = m_lines;
    for (const auto& e : entries)
        Apply(lines, e.section, e.key, e.value);
    Save(std::move(lines));
}

std::u16string IniFile::ReadSetting(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view defaultValue)
{
    std::u16string v = ReadString(section, key, defaultValue);
    WriteString(section, key, v);
    return v;
}

std::vector<std::u16string> IniFile::Sections() const
{
    Refresh();
    std::vector<std::u16string> out;
    for (const auto& l : m_lines) {
        const auto name = SectionName(l);
        if (!name)
            continue;
        bool seen = false;
        for (const auto& o : out)
            seen = seen || EqualIgnoringAsciiCase(o, *name);
        if (!seen)
            out.emplace_back(*name);
    }
    return out;
}

std::vector<std::u16string> IniFile::Keys(std::u16string_view section) const
{
    Refresh();
    std::vector<std::u16string> out;
    const int s = FindSection(m_lines, section);
    if (s < 0)
        return out;
    for (size_t i = static_cast<size_t>(s) + 1; i < m_lines.size(); ++i) {
        if (SectionName(m_lines[i]))
            break;
        std::u16string_view k, v;
        if (SplitKeyLine(m_lines[i], k, v)) {
            bool seen = false;
            for (const auto& o : out)
                seen = seen || EqualIgnoringAsciiCase(o, k);
            if (!seen)
                out.emplace_back(k);
        }
    }
    return out;
}

bool IniFile::SectionExists(std::u16string_view section) const
{
    Refresh();
    return FindSection(m_lines, section) >= 0;
}

} // namespace velmora
