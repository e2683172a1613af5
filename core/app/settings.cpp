#include "core/app/settings.h"

#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"
#include "core/data/fields.h"
#include "core/data/ini_file.h"

#include <cwctype>
#include <locale.h>

namespace velmora {

StartupAbort::StartupAbort(int exitCode, std::u16string message)
    : m_exitCode(exitCode)
    , m_message(std::move(message))
    , m_utf8(ToUtf8(m_message))
{
}

std::u16string ReadSetting(AppState& s, std::u16string_view section, std::u16string_view key,
                           std::u16string_view defaultValue)
{
    if (!s.IniFile)
        throw FileError("The settings file is not open");
    return s.IniFile->ReadSetting(section, key, defaultValue);
}

std::u16string ReadSetting(std::u16string_view section, std::u16string_view key, std::u16string_view defaultValue)
{
    return ReadSetting(App(), section, key, defaultValue);
}

void ReadScreenSettings(AppState& s, ScreenSize screen)
{
    s.FontName = ReadSetting(s, u"SCREEN", u"FontName", kDefaultFontName);
    s.FontSize = ParseIntDef(ReadSetting(s, u"SCREEN", u"FontSize", u"12"), 12);
    s.FixFontName = ReadSetting(s, u"SCREEN", u"FixFontName", kDefaultFixFontName);
    s.FixFontSize = ParseIntDef(ReadSetting(s, u"SCREEN", u"FixFontSize", u"12"), 12);
    s.ScreenWidth = ParseIntDef(ReadSetting(s, u"SCREEN", u"ScreenWidth", u"0"), 0);
    s.ScreenHeight = ParseIntDef(ReadSetting(s, u"SCREEN", u"ScreenHeight", u"0"), 0);
    if (s.ScreenHeight == 0 || screen.width < s.ScreenWidth) {
        if (screen.height < 480)
            throw StartupAbort(2, std::u16string(kScreenTooSmallMessage));
        if (screen.height >= 600) {
            s.ScreenWidth = 800;
            s.ScreenHeight = 600;
        } else {
            s.ScreenWidth = 640;
            s.ScreenHeight = 480;
        }
    }
    s.IniFile->WriteString(u"SCREEN", u"ScreenWidth", Decimal(s.ScreenWidth));
    s.IniFile->WriteString(u"SCREEN", u"ScreenHeight", Decimal(s.ScreenHeight));
}

void SetWindowFont(AppState& s, std::u16string_view name, int32_t pointSize)
{
    s.FontName = name;
    if (pointSize > 0)
        s.FontSize = pointSize;
    s.IniFile->WriteString(u"SCREEN", u"FontName", s.FontName);
    s.IniFile->WriteString(u"SCREEN", u"FontSize", Decimal(s.FontSize));
}

namespace {
TFeeButton& BandTarget(AppState& s, int kind, int n)
{
    switch (kind) {
    case 1:
        return CheckedAt(s.StarBands, n);
    case 2:
        return CheckedAt(s.MarePriceBands, n);
    case 3:
        return CheckedAt(s.MareSpeedBands, n);
    case 4:
        return CheckedAt(s.MareStaminaBands, n);
    }
    throw RangeError();
}

constexpr std::array<std::u16string_view, 4> kBandSections
    = { u"牡馬★", u"牝馬価格帯", u"牝馬スピード", u"牝馬スタミナ" };
} // namespace

const std::array<BandDefault, 15> kBandDefaults = { {
    { 1, 5, u"５,5,99999" },
    { 1, 4, u"４,4,5" },
    { 1, 3, u"３,3,4" },
    { 1, 2, u"２,2,3" },
    { 1, 1, u"１,0,1" },
    { 2, 1, u"かなり,131,999" },
    { 2, 2, u"なかなか,108,130" },
    { 2, 3, u"まあまあ,86,107" },
    { 2, 4, u"手ごろ,0,85" },
    { 3, 1, u"高,60,9999" },
    { 3, 2, u"中,50,60" },
    { 3, 3, u"低,0,50" },
    { 4, 1, u"高,60,9999" },
    { 4, 2, u"中,50,60" },
    { 4, 3, u"低,0,50" },
} };

void ReadBand(AppState& s, std::u16string_view defaultValue, int n, int kind)
{
    const int section = CheckedIndex(kind - 1, static_cast<int64_t>(kBandSections.size()));
    TFeeButton& band = BandTarget(s, kind, n);
    if (n < 0 || n > 99)
        throw RangeError();
    const std::u16string key { static_cast<char16_t>(u'0' + n / 10), static_cast<char16_t>(u'0' + n % 10) };
    std::u16string value = ReadSetting(s, kBandSections[section], key, defaultValue);
    band.Caption = CutField(value);
    band.Kagen = ParseIntDef(CutField(value), 0);
    band.Jogen = ParseIntDef(CutField(value), 0);
    s.IniFile->WriteString(kBandSections[section], key,
                           band.Caption + u"," + Decimal(band.Kagen) + u"," + Decimal(band.Jogen));
}

void ReadBands(AppState& s)
{
    for (const BandDefault& b : kBandDefaults)
        ReadBand(s, b.value, b.number, b.kind);
}

void CheckDataFile(AppState& s, std::u16string_view name, const DataDirDialog& dialog)
{
    if (DataFileExists(s.DataDir, name))
        return;
    const std::u16string message = DataFilePathMessage(s.DataDir, name);
    if (dialog && dialog())
        return;
    throw StartupAbort(1, message);
}

const std::array<DataFileKey, 9> kDataFileKeys = { {
    { &TDataFiles::Oya, u"祖先馬データ", u"祖先馬.CSV" },
    { &TDataFiles::Dad, u"種牡馬データ", u"種牡馬.CSV" },
    { &TDataFiles::Mam, u"繁殖牝馬データ", u"牝馬.CSV" },
    { &TDataFiles::Cross, u"クロスデータ", u"ｸﾛｽ.CSV" },
    { &TDataFiles::Keito, u"系統データ", u"系統.CSV" },
    { &TDataFiles::Keiro, u"毛色データ", u"毛色.CSV" },
    { &TDataFiles::Nix, u"ニックスデータ", u"ニックス.CSV" },
    { &TDataFiles::Omokei, u"面白系統データ", u"面白系統.CSV" },
    { &TDataFiles::Aisho, u"相性計算データ", u"相性.CSV" },
} };

namespace {
// A locale with the Unicode case tables, independent of the process's own locale setting.
locale_t CaseLocale()
{
    static const locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        if (!l)
            l = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", static_cast<locale_t>(0));
        return l;
    }();
    return loc;
}

char16_t UpperChar(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return static_cast<char16_t>(c - u'a' + u'A');
    if (c < 0x80 || (c >= 0xD800 && c <= 0xDFFF))
        return c;
    if (c >= 0xFF41 && c <= 0xFF5A) // full-width Latin small letters
        return static_cast<char16_t>(c - 0xFF41 + 0xFF21);
    if (const locale_t loc = CaseLocale()) {
        const wint_t u = towupper_l(static_cast<wint_t>(c), loc);
        if (u <= 0xFFFF && !(u >= 0xD800 && u <= 0xDFFF))
            return static_cast<char16_t>(u);
    }
    return c;
}
} // namespace

std::u16string UpperFileName(std::u16string_view name)
{
    std::u16string out(name);
    for (char16_t& c : out)
        c = UpperChar(c);
    return out;
}

void ReadFileNames(AppState& s, const DataDirDialog& dialog)
{
    for (const DataFileKey& k : kDataFileKeys)
        s.DataFiles.*k.field = UpperFileName(ReadSetting(s, u"DATA", k.key, k.defaultName));
    for (const DataFileKey& k : kDataFileKeys) {
        const std::u16string name = s.DataFiles.*k.field; // as it stands now; the dialog may change it
        CheckDataFile(s, name, dialog);
    }
}

DataLocation ReadDataLocation(const IniFile& ini, const std::string& startDir)
{
    DataLocation loc;
    loc.dataDir = ToUtf8(ini.ReadString(u"DATA", kDataDirKey, FromUtf8(startDir)));
    for (const DataFileKey& k : kDataFileKeys)
        loc.files.*k.field = UpperFileName(ini.ReadString(u"DATA", k.key, k.defaultName));
    return loc;
}

TDataFiles DefaultDataFiles()
{
    TDataFiles files;
    for (const DataFileKey& k : kDataFileKeys)
        files.*k.field = UpperFileName(k.defaultName);
    return files;
}

std::u16string FirstMissingDataFile(const std::string& dataDir, const TDataFiles& files)
{
    for (const DataFileKey& k : kDataFileKeys)
        if (!DataFileExists(dataDir, files.*k.field))
            return files.*k.field;
    return {};
}

std::u16string DataFilePathMessage(const std::string& dataDir, std::u16string_view name)
{
    const std::u16string message = FromUtf8(dataDir) + std::u16string(name) + u"のパスが正しくありません";
    const std::string reason = NotAFileReason(DataFilePath(dataDir, name));
    return reason.empty() ? message + u"。" : message + u"（" + FromUtf8(reason) + u"）。";
}

namespace {
// The file name part of a path, and that name with its extension (from the last '.') replaced.
std::string BaseName(std::string_view path)
{
    const size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::u16string ReplaceExtension(std::u16string_view name, std::u16string_view ext)
{
    const size_t dot = name.find_last_of(u'.');
    return std::u16string(dot == std::u16string_view::npos ? name : name.substr(0, dot)) + std::u16string(ext);
}
} // namespace

std::u16string IniNameFor(std::string_view exePath)
{
    return ReplaceExtension(FromUtf8(BaseName(exePath)), u".INI");
}

std::u16string HelpNameFor(std::u16string_view iniName)
{
    return ReplaceExtension(iniName, u".HLP");
}

LoadResult StartUp(AppState& s, MasterData& d, const std::string& currentDir, std::string_view exePath,
                   const StartupHooks& hooks)
{
    s.StartDir = currentDir;
    if (s.StartDir.empty() || s.StartDir.back() != '/')
        s.StartDir += '/';
    s.IniName = IniNameFor(exePath);
    const size_t slash = exePath.find_last_of('/');
    s.ExeDir = slash == std::string_view::npos ? s.StartDir : std::string(exePath.substr(0, slash + 1));
    s.HelpName = HelpNameFor(s.IniName);
    s.IniFile = std::make_unique<IniFile>(s.StartDir + ToUtf8(s.IniName));
    ReadScreenSettings(s, hooks.screen);
    if (hooks.fitMainWindow)
        hooks.fitMainWindow();
    s.DataDir = ToUtf8(ReadSetting(s, u"DATA", kDataDirKey, FromUtf8(s.StartDir)));
    d.KeiroTable.clear();
    s.KanaMode = ReadSetting(s, u"ImeMode", u"Mode", u"カナ") == u"カナ";
    ReadBands(s);
    ReadFileNames(s, hooks.dataDirDialog);
    return GetMasterData(d, s.DataDir, s.DataFiles, hooks.load);
}

void ShutDown(AppState& s, MasterData& d)
{
    s.IniFile.reset();
    d.KeiroTable.clear();
}

} // namespace velmora
