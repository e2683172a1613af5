// libFuzzer target for the profile (INI) files: the settings file, the point files and the alias file.
// The input is a file's content, optionally followed by a NUL byte and "section \x01 key \x01 value"
// (code page 932) to write. Checked: reading every key with write-back twice writes nothing the second
// time and reads the same values; a written value reads back as written (line ends as blanks, without
// surrounding blanks) while every other key keeps its value; the file on disk reads as the memory copy.
// Any failed check traps.

#include "core/common/ascii_case.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/data_files.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace velmora;
using velmora::fuzz::Check;

namespace {

struct Entry
{
    std::u16string section;
    std::u16string key;
    std::u16string value;
};

constexpr std::string_view kFileName = "velmora.INI";

const test::TempDir& Dir()
{
    static const test::TempDir dir;
    return dir;
}

struct Stamp
{
    ino_t ino = 0;
    timespec mtime {};
    bool operator==(const Stamp& o) const
    {
        return ino == o.ino && mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

Stamp StampOf(const std::string& path)
{
    struct stat st
    {
    };
    Check(::stat(path.c_str(), &st) == 0);
    return Stamp { st.st_ino, st.st_mtim };
}

std::u16string Trimmed(std::u16string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == u' ' || s[b] == u'\t'))
        ++b;
    while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t'))
        --e;
    return std::u16string(s.substr(b, e - b));
}

// What a value reads back as: line ends written as blanks, characters the code page lacks as "?",
// surrounding blanks dropped.
std::u16string Stored(std::u16string value)
{
    for (char16_t& c : value)
        if (c == u'\r' || c == u'\n')
            c = u' ';
    return Trimmed(FromCp932(ToCp932(value)));
}

// Every key of every section with its value after a ReadSetting (keys that cannot be written back are
// left out).
std::vector<Entry> ReadAll(IniFile& ini)
{
    std::vector<Entry> entries;
    for (const std::u16string& section : ini.Sections())
        for (const std::u16string& key : ini.Keys(section)) {
            try {
                entries.push_back({ section, key, ini.ReadSetting(section, key, u"default") });
            } catch (const FileError&) {
            }
        }
    return entries;
}

void CheckReads(const IniFile& ini, const std::vector<Entry>& entries, const Entry* written)
{
    for (const Entry& e : entries) {
        if (written && EqualIgnoringAsciiCase(e.section, written->section)
            && EqualIgnoringAsciiCase(e.key, written->key))
            continue;
        Check(ini.Read(e.section, e.key) == std::optional<std::u16string>(e.value));
    }
}

std::optional<Entry> EntryToWrite(std::string_view tail)
{
    const size_t a = tail.find('\x01');
    const size_t b = a == std::string_view::npos ? a : tail.find('\x01', a + 1);
    if (b == std::string_view::npos)
        return std::nullopt;
    return Entry { FromCp932(tail.substr(0, a)), FromCp932(tail.substr(a + 1, b - a - 1)),
                   FromCp932(tail.substr(b + 1)) };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size > 16384)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);
    const size_t nul = input.find('\0');
    const std::string path = Dir().File(kFileName);
    Dir().WriteBytes(kFileName, input.substr(0, nul));
    try {
        IniFile ini(path);
        const std::vector<Entry> first = ReadAll(ini);
        const std::string afterFirst = Dir().ReadBytes(kFileName);
        const Stamp stamp = StampOf(path);

        // A second reading finds every value written back already.
        const std::vector<Entry> second = ReadAll(ini);
        Check(second.size() == first.size());
        for (size_t i = 0; i < first.size(); ++i)
            Check(second[i].value == first[i].value);
        Check(StampOf(path) == stamp && Dir().ReadBytes(kFileName) == afterFirst);
        CheckReads(IniFile(path), first, nullptr);

        if (nul == std::string_view::npos)
            return 0;
        const std::optional<Entry> w = EntryToWrite(input.substr(nul + 1));
        if (!w)
            return 0;
        try {
            ini.WriteString(w->section, w->key, w->value);
        } catch (const FileError&) {
            return 0; // a section or key the file cannot hold is refused
        }
        const std::u16string expected = Stored(w->value);
        Check(ini.Read(w->section, w->key) == std::optional<std::u16string>(expected));
        CheckReads(ini, first, &*w);
        const IniFile fresh(path);
        Check(fresh.Read(w->section, w->key) == std::optional<std::u16string>(expected));
        CheckReads(fresh, first, &*w);
    } catch (const FileError&) {
        // Not code page 932 text: refused with a message.
    }
    return 0;
}
