#include "core/mating/points.h"

#include "core/app/app_state.h"
#include "core/common/ascii_case.h"
#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"
#include "core/data/fields.h"
#include "core/data/loader.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <system_error>
#include <utility>

namespace velmora {

namespace {

// A key of the file with its default text.
struct PointKey
{
    std::u16string_view key;
    std::u16string_view defaultValue;
};

constexpr std::array<PointKey, kHaigoFields.size()> kHaigoKeys = { {
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

// Calls number(section, key, default text, field) for every number of a table and text(section, key,
// field) for its two colours, in the file's order.
template <typename Table, typename Number, typename Text> void VisitPoints(Table& t, Number number, Text text)
{
    for (size_t i = 0; i < kHaigoKeys.size(); ++i)
        number(kPointSectionHaigo, kHaigoKeys[i].key, kHaigoKeys[i].defaultValue, t.haigo.*kHaigoFields[i]);
    for (int n = 1; n <= 7; ++n)
        number(kPointSectionCrosNum, CrosNumKey(n), u"0", t.CrosNum[static_cast<size_t>(n)]);
    for (int n = 1; n <= 16; ++n)
        number(kPointSectionNitro, EffectKey(n), u"0", t.Nitro[static_cast<size_t>(n)]);
    for (int n = 0; n <= 16; ++n)
        number(kPointSectionCros, EffectKey(n), u"0", t.cros[static_cast<size_t>(n)]);
    for (int n = 0; n <= 16; ++n)
        number(kPointSectionOyani, EffectKey(n), u"0", t.Oyani[static_cast<size_t>(n)]);
    for (size_t i = 0; i < kMareKeys.size(); ++i)
        number(kPointSectionMare, kMareKeys[i].key, kMareKeys[i].defaultValue, t.mstatus[i]);
    text(kPointSectionMare, kPointColorKey, t.mcolor);
    for (size_t i = 0; i < kStallionKeys.size(); ++i)
        number(kPointSectionStallion, kStallionKeys[i].key, kStallionKeys[i].defaultValue, t.dstatus[i]);
    text(kPointSectionStallion, kPointColorKey, t.dcolor);
}

std::unique_ptr<IniFile>& PointFileSlot()
{
    static std::unique_ptr<IniFile> file;
    return file;
}

} // namespace

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
    VisitPoints(
        t,
        [](std::u16string_view, std::u16string_view, std::u16string_view def, int32_t& v) { v = PointTextValue(def); },
        [](std::u16string_view, std::u16string_view, std::u16string&) {});
    return t;
}

int32_t PointTextValue(std::u16string_view text)
{
    return ParseIntDef(text, 0);
}

void ReadPoints(IniFile& file, PtsRec& out)
{
    // Read into a copy so that a failed write-back leaves the caller's table as it was.
    PtsRec t = out;
    PointReader r(file);
    VisitPoints(
        t,
        [&r](std::u16string_view section, std::u16string_view key, std::u16string_view def, int32_t& v) {
            v = r.Number(section, key, def);
        },
        [&r](std::u16string_view section, std::u16string_view key, std::u16string& v) {
            v = r.Text(section, key, u"");
        });
    r.WriteBack();
    out = std::move(t);
}

void WritePoints(IniFile& file, PtsRec& t)
{
    PointWriter w;
    t.cros[0] = 0;
    t.Oyani[0] = 0;
    VisitPoints(
        std::as_const(t),
        [&w](std::u16string_view section, std::u16string_view key, std::u16string_view, int32_t v) {
            w.Number(section, key, v);
        },
        [&w](std::u16string_view section, std::u16string_view key, const std::u16string& v) {
            w.Text(section, key, v);
        });
    w.Save(file);
}

std::u16string PointSettingNameProblem(std::u16string_view name)
{
    const bool control = std::any_of(name.begin(), name.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; });
    if (control || name.find_first_of(u"*?/\\") != std::u16string_view::npos
        || name.find(u"..") != std::u16string_view::npos)
        return u"設定名「" + NameForMessage(name)
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

std::u16string PointOverflowCause(const PtsRec& table)
{
    // Bounds are compared, never added: they cannot make a sum overflow.
    const int32_t* bounds[] = { &table.mstatus[MStatus::FeeLow],     &table.mstatus[MStatus::FeeHigh],
                                &table.mstatus[MStatus::SpeedLow],   &table.mstatus[MStatus::SpeedHigh],
                                &table.mstatus[MStatus::StaminaLow], &table.mstatus[MStatus::StaminaHigh],
                                &table.dstatus[DStatus::StarLow],    &table.dstatus[DStatus::StarHigh],
                                &table.dstatus[DStatus::DistLow],    &table.dstatus[DStatus::DistHigh] };
    struct Entry
    {
        std::u16string text;
        int64_t size;
    };
    std::vector<Entry> entries;
    VisitPoints(
        table,
        [&](std::u16string_view section, std::u16string_view key, std::u16string_view, const int32_t& v) {
            if (v != 0 && std::find(std::begin(bounds), std::end(bounds), &v) == std::end(bounds))
                entries.push_back({ u"[" + std::u16string(section) + u"] " + std::u16string(key) + u"=" + Decimal(v),
                                    v < 0 ? -int64_t { v } : int64_t { v } });
        },
        [](std::u16string_view, std::u16string_view, const std::u16string&) {});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.size > b.size; });
    constexpr int64_t kLargePointValue = int64_t { 1 } << 24;
    constexpr size_t kShown = 3;
    size_t shown = 0;
    while (shown < entries.size() && shown < kShown && (shown == 0 || entries[shown].size >= kLargePointValue))
        ++shown;
    std::u16string text = u"相性計算データ";
    if (&table == &PointTable() && PointFile())
        text += u"「" + FromUtf8(std::filesystem::path(PointFile()->Path()).filename().string()) + u"」";
    text += u"の値が大きすぎます";
    for (size_t i = 0; i < shown; ++i)
        text += (i == 0 ? u": " : u", ") + entries[i].text;
    return text;
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
