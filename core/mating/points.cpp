#include "core/mating/points.h"

#include "core/app/app_state.h"
#include "core/common/ascii_case.h"
#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/fields.h"
#include "core/data/loader.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

namespace velmora {

namespace {

constexpr std::array<PointKey, 11> kHaigoKeys = { {
    { u"同系配合", u"0" },
    { u"面白配合", u"2000" },
    { u"見事な配合", u"2000" },
    { u"よくできた配合", u"2000" },
    { u"ニックス:完璧", u"800" },
    { u"ニックス:優れている", u"600" },
    { u"ニックス:良い", u"400" },
    { u"ニックス:程々", u"200" },
    { u"危険（近親）", u"-10000" },
    { u"危険（過多）", u"-5000" },
    { u"アウトブリード", u"2000" },
} };

constexpr std::array<PointKey, MStatus::Count> kMareKeys = { {
    { u"自家生産", u"0" },
    { u"他家生産", u"0" },
    { u"毛色Pts", u"0" },
    { u"基本料下限", u"0" },
    { u"基本料上限", u"12500" },
    { u"基本料Pts", u"0" },
    { u"スピード下限", u"0" },
    { u"スピード上限", u"10" },
    { u"スピードPts", u"0" },
    { u"スタミナ下限", u"0" },
    { u"スタミナ上限", u"10" },
    { u"スタミナPts", u"0" },
} };

constexpr std::array<PointKey, DStatus::Count> kStallionKeys = { {
    { u"内国産", u"0" },  { u"外国産", u"0" },  { u"毛色Pts", u"0" },     { u"★下限", u"1" },
    { u"★上限", u"5" },   { u"★Pts", u"0" },    { u"距離下限", u"1000" }, { u"距離上限", u"3600" },
    { u"距離Pts", u"0" }, { u"早熟", u"0" },    { u"普通", u"0" },        { u"晩成", u"0" },
    { u"持続", u"0" },    { u"ダート◎", u"0" }, { u"ダート○", u"0" },     { u"ダート△", u"0" },
    { u"気性A", u"0" },   { u"気性B", u"0" },   { u"気性C", u"0" },       { u"底力A", u"0" },
    { u"底力B", u"0" },   { u"底力C", u"0" },   { u"健康A", u"0" },       { u"健康B", u"0" },
    { u"健康C", u"0" },   { u"実績A", u"0" },   { u"実績B", u"0" },       { u"実績C", u"0" },
    { u"安定A", u"0" },   { u"安定B", u"0" },   { u"安定C", u"0" },       { u"気性O", u"0" },
    { u"健康O", u"0" },
} };

// Reads a table's values; the keys that are absent are collected and written back in one go at the
// end (in reading order), so creating a table is one flushed disk write instead of 115.
class PointReader
{
public:
    explicit PointReader(IniFile& file)
        : m_file(file)
    {
    }

    std::u16string Text(std::u16string_view section, std::u16string_view key, std::u16string_view def)
    {
        if (std::optional<std::u16string> v = m_file.Read(section, key))
            return *std::move(v);
        m_missing.push_back(IniEntry { std::u16string(section), std::u16string(key), std::u16string(def) });
        return std::u16string(def);
    }
    int32_t Number(std::u16string_view section, std::u16string_view key, std::u16string_view def)
    {
        return PointTextValue(Text(section, key, def));
    }
    void WriteBack()
    {
        if (!m_missing.empty())
            m_file.WriteStrings(m_missing);
    }

private:
    IniFile& m_file;
    std::vector<IniEntry> m_missing;
};

// Collects a table's values in the writer's order for one atomic write.
class PointWriter
{
public:
    void Number(std::u16string_view section, std::u16string_view key, int32_t v) { Text(section, key, Decimal(v)); }
    void Text(std::u16string_view section, std::u16string_view key, std::u16string_view v)
    {
        m_entries.push_back(IniEntry { std::u16string(section), std::u16string(key), std::u16string(v) });
    }
    void Save(IniFile& file) const { file.WriteStrings(m_entries); }

private:
    std::vector<IniEntry> m_entries;
};

std::unique_ptr<IniFile>& PointFileSlot()
{
    static std::unique_ptr<IniFile> file;
    return file;
}

} // namespace

const std::array<PointKey, 11>& HaigoKeys()
{
    return kHaigoKeys;
}
const std::array<PointKey, MStatus::Count>& MareStatusKeys()
{
    return kMareKeys;
}
const std::array<PointKey, DStatus::Count>& StallionStatusKeys()
{
    return kStallionKeys;
}

std::u16string CrosNumKey(int n)
{
    return Decimal(n % 10) + u"本";
}

std::u16string EffectKey(int n)
{
    std::u16string key = u"効果";
    key += static_cast<char16_t>(u'0' + (n / 10) % 10);
    key += static_cast<char16_t>(u'0' + n % 10);
    return key;
}

PtsRec DefaultPointTable()
{
    PtsRec t;
    int32_t* haigo[11] = { &t.haigo.Dokei, &t.haigo.Omo,  &t.haigo.Mig,   &t.haigo.Yok,   &t.haigo.Nix1, &t.haigo.Nix2,
                           &t.haigo.Nix3,  &t.haigo.Nix4, &t.haigo.Taboo, &t.haigo.Kiken, &t.haigo.Outb };
    for (size_t i = 0; i < kHaigoKeys.size(); ++i)
        *haigo[i] = PointTextValue(kHaigoKeys[i].defaultValue);
    for (size_t i = 0; i < kMareKeys.size(); ++i)
        t.mstatus[i] = PointTextValue(kMareKeys[i].defaultValue);
    for (size_t i = 0; i < kStallionKeys.size(); ++i)
        t.dstatus[i] = PointTextValue(kStallionKeys[i].defaultValue);
    return t;
}

int32_t PointTextValue(std::u16string_view text)
{
    return ParseIntDef(text, 0);
}

std::u16string ReadPointValue(IniFile& file, std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue)
{
    // A key that is present already holds the text a write-back would store; only absent keys need
    // the (atomic, flushed) write, which keeps reading a complete table from rewriting the file 115 times.
    if (std::optional<std::u16string> v = file.Read(section, key))
        return *std::move(v);
    file.WriteString(section, key, defaultValue);
    return std::u16string(defaultValue);
}

void ReadPoints(IniFile& file, PtsRec& out)
{
    // Read into a copy so that a failed write-back leaves the caller's table as it was.
    PtsRec t = out;
    PointReader r(file);
    int32_t* haigo[11] = { &t.haigo.Dokei, &t.haigo.Omo,  &t.haigo.Mig,   &t.haigo.Yok,   &t.haigo.Nix1, &t.haigo.Nix2,
                           &t.haigo.Nix3,  &t.haigo.Nix4, &t.haigo.Taboo, &t.haigo.Kiken, &t.haigo.Outb };
    for (size_t i = 0; i < kHaigoKeys.size(); ++i)
        *haigo[i] = r.Number(kPointSectionHaigo, kHaigoKeys[i].key, kHaigoKeys[i].defaultValue);
    for (int n = 1; n <= 7; ++n)
        t.CrosNum[static_cast<size_t>(n)] = r.Number(kPointSectionCrosNum, CrosNumKey(n), u"0");
    for (int n = 1; n <= 16; ++n)
        t.Nitro[static_cast<size_t>(n)] = r.Number(kPointSectionNitro, EffectKey(n), u"0");
    for (int n = 0; n <= 16; ++n)
        t.cros[static_cast<size_t>(n)] = r.Number(kPointSectionCros, EffectKey(n), u"0");
    for (int n = 0; n <= 16; ++n)
        t.Oyani[static_cast<size_t>(n)] = r.Number(kPointSectionOyani, EffectKey(n), u"0");
    for (size_t i = 0; i < kMareKeys.size(); ++i)
        t.mstatus[i] = r.Number(kPointSectionMare, kMareKeys[i].key, kMareKeys[i].defaultValue);
    t.mcolor = r.Text(kPointSectionMare, kPointColorKey, u"");
    for (size_t i = 0; i < kStallionKeys.size(); ++i)
        t.dstatus[i] = r.Number(kPointSectionStallion, kStallionKeys[i].key, kStallionKeys[i].defaultValue);
    t.dcolor = r.Text(kPointSectionStallion, kPointColorKey, u"");
    r.WriteBack();
    out = std::move(t);
}

void WritePoints(IniFile& file, PtsRec& t)
{
    PointWriter w;
    const int32_t haigo[11] = { t.haigo.Dokei, t.haigo.Omo,  t.haigo.Mig,   t.haigo.Yok,   t.haigo.Nix1, t.haigo.Nix2,
                                t.haigo.Nix3,  t.haigo.Nix4, t.haigo.Taboo, t.haigo.Kiken, t.haigo.Outb };
    for (size_t i = 0; i < kHaigoKeys.size(); ++i)
        w.Number(kPointSectionHaigo, kHaigoKeys[i].key, haigo[i]);
    for (int n = 1; n <= 7; ++n)
        w.Number(kPointSectionCrosNum, CrosNumKey(n), t.CrosNum[static_cast<size_t>(n)]);
    for (int n = 1; n <= 16; ++n)
        w.Number(kPointSectionNitro, EffectKey(n), t.Nitro[static_cast<size_t>(n)]);
    t.cros[0] = 0;
    for (int n = 0; n <= 16; ++n)
        w.Number(kPointSectionCros, EffectKey(n), t.cros[static_cast<size_t>(n)]);
    t.Oyani[0] = 0;
    for (int n = 0; n <= 16; ++n)
        w.Number(kPointSectionOyani, EffectKey(n), t.Oyani[static_cast<size_t>(n)]);
    for (size_t i = 0; i < kMareKeys.size(); ++i)
        w.Number(kPointSectionMare, kMareKeys[i].key, t.mstatus[i]);
    w.Text(kPointSectionMare, kPointColorKey, t.mcolor);
    for (size_t i = 0; i < kStallionKeys.size(); ++i)
        w.Number(kPointSectionStallion, kStallionKeys[i].key, t.dstatus[i]);
    w.Text(kPointSectionStallion, kPointColorKey, t.dcolor);
    w.Save(file);
}

std::u16string PointSettingNameProblem(std::u16string_view name)
{
    const bool control = std::any_of(name.begin(), name.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; });
    if (control || name.find_first_of(u"*?/\\") != std::u16string_view::npos
        || name.find(u"..") != std::u16string_view::npos)
        return u"設定名「" + std::u16string(name)
            + u"」は使えません。改行などの制御文字、* ? / \\ と .. は設定名に使えません";
    // The settings file keeps the name in code page 932: a character it lacks would come back as "?".
    if (const size_t bad = FirstNonCp932(name); bad != std::u16string_view::npos) {
        const bool pair = name[bad] >= 0xD800 && name[bad] <= 0xDBFF && bad + 1 < name.size();
        const size_t length = pair ? 2 : 1;
        return u"設定名「" + std::u16string(name) + u"」は使えません。「" + std::u16string(name.substr(bad, length))
            + u"」は設定名に使えない文字です";
    }
    return {};
}

std::u16string PointFileName(std::u16string_view settingName)
{
    if (EqualIgnoringAsciiCase(settingName, kDefaultPointSetting))
        return std::u16string(kDefaultPointFile);
    return u"相性" + std::u16string(settingName) + u".CSV";
}

std::u16string PointSettingName(std::u16string_view fileName)
{
    constexpr std::u16string_view prefix = u"相性";
    std::u16string_view rest = fileName;
    if (rest.substr(0, prefix.size()) == prefix)
        rest.remove_prefix(prefix.size());
    const size_t dot = rest.rfind(u'.');
    if (dot != std::u16string_view::npos)
        rest = rest.substr(0, dot);
    return rest.empty() ? std::u16string(kDefaultPointSetting) : std::u16string(rest);
}

PointFileList ListPointFiles(const std::string& dataDir, std::u16string_view currentFile)
{
    namespace fs = std::filesystem;
    constexpr std::u16string_view prefix = u"相性";
    constexpr std::u16string_view suffix = u".CSV";
    PointFileList list;
    std::error_code ec;
    for (fs::directory_iterator it(dataDir.empty() ? "." : dataDir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const std::u16string name = FromUtf8(it->path().filename().string());
        if (name.size() < prefix.size() + suffix.size() || name.substr(0, prefix.size()) != prefix
            || !EqualIgnoringAsciiCase(std::u16string_view(name).substr(name.size() - suffix.size()), suffix))
            continue;
        list.fileNames.push_back(name);
    }
    std::sort(list.fileNames.begin(), list.fileNames.end());
    for (size_t i = 0; i < list.fileNames.size(); ++i) {
        list.names.push_back(PointSettingName(list.fileNames[i]));
        if (list.selected < 0 && EqualIgnoringAsciiCase(list.fileNames[i], currentFile))
            list.selected = static_cast<int>(i);
    }
    return list;
}

PtsRec& PointTable()
{
    static PtsRec table;
    return table;
}

IniFile* PointFile()
{
    return PointFileSlot().get();
}

IniFile& OpenPointFile(const std::string& dataDir, std::u16string_view fileName)
{
    PointFileSlot() = std::make_unique<IniFile>(DataFilePath(dataDir, fileName));
    return *PointFileSlot();
}

void ChoosePointTable(AppState& app, std::u16string_view settingName)
{
    app.DataFiles.Aisho = PointFileName(settingName);
    ReadPoints(OpenPointFile(app.DataDir, app.DataFiles.Aisho), PointTable());
}

} // namespace velmora
