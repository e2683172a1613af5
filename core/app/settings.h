#pragma once
// The settings file and the start-up sequence of the program, free of any window: reading settings
// with write-back, choosing the layout size, the filter bands, the data file names and the check that
// every data file exists. The windows lend what only they can do (screen size, fitting the main
// window, the data directory dialog, the wait cursor) through StartupHooks.

#include "core/app/app_state.h"
#include "core/app/fit.h"
#include "core/data/loader.h"

#include <array>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace velmora {

// A start-up step that ends the program: the message to show, then exit with exitCode.
class StartupAbort : public std::exception
{
public:
    StartupAbort(int exitCode, std::u16string message);
    int ExitCode() const { return m_exitCode; }
    const std::u16string& Message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

private:
    int m_exitCode;
    std::u16string m_message;
    std::string m_utf8;
};

inline constexpr std::u16string_view kAppTitle = u"【Velmora5.8】 for Tollan";
inline constexpr std::u16string_view kScreenTooSmallMessage = u"このソフトは、640*480以上の解像度が必要です";
inline constexpr std::u16string_view kDefaultFontName = u"ＭＳ Ｐゴシック";
inline constexpr std::u16string_view kDefaultFixFontName = u"FixedSys";

// Reads section/key from the settings file (the default when absent), writes the value straight
// back and returns it. Throws FileError when the settings file cannot be written.
std::u16string ReadSetting(AppState& s, std::u16string_view section, std::u16string_view key,
                           std::u16string_view defaultValue);
// The same on the process-wide App().
std::u16string ReadSetting(std::u16string_view section, std::u16string_view key, std::u16string_view defaultValue);

// Reads the six "SCREEN" keys; when no layout is stored (ScreenHeight 0) or the screen is narrower
// than the stored one, picks 800x600 or 640x480 for this screen. Throws StartupAbort (exit code 2) on
// a screen lower than 480 pixels. Writes ScreenWidth and ScreenHeight back in decimal.
void ReadScreenSettings(AppState& s, ScreenSize screen);

// A font chosen for the windows: FontName and FontSize take the name and the size (a size of 0 or less
// keeps the size) and both are written to "SCREEN". Throws FileError when the settings file cannot be
// written; the font is in use nevertheless.
void SetWindowFont(AppState& s, std::u16string_view name, int32_t pointSize);

// One filter band. kind 1..4 = "牡馬★", "牝馬価格帯", "牝馬スピード", "牝馬スタミナ"; n = band number.
// The value is "caption,lower,upper"; missing or bad bounds read as 0, and the value is written back
// in that normal form.
void ReadBand(AppState& s, std::u16string_view defaultValue, int n, int kind);

struct BandDefault
{
    int kind;
    int number;
    std::u16string_view value;
};
// The fifteen bands in the order they are read at start-up.
extern const std::array<BandDefault, 15> kBandDefaults;
void ReadBands(AppState& s);

// Shows the data directory dialog modally; true when it was confirmed. An empty function counts as
// a cancelled dialog.
using DataDirDialog = std::function<bool()>;

// Nothing when DataDir + name exists (letter case ignored); otherwise the dialog. Cancelled: throws
// StartupAbort (exit code 1) with DataDir + name + "のパスが正しくありません。" as they were before.
void CheckDataFile(AppState& s, std::u16string_view name, const DataDirDialog& dialog);

// The "DATA" key of the data directory.
inline constexpr std::u16string_view kDataDirKey = u"データディレクトリ";

// The "DATA" key and default of each data file, in the order the file names are read.
struct DataFileKey
{
    std::u16string TDataFiles::*field;
    std::u16string_view key;
    std::u16string_view defaultName;
};
extern const std::array<DataFileKey, 9> kDataFileKeys;

// File names as stored in DataFiles: upper-cased (locale-aware letters: ASCII, Latin, Greek,
// Cyrillic, full-width Latin).
std::u16string UpperFileName(std::u16string_view name);

// Reads the nine file names into DataFiles (upper-cased, the written-back value as read), then checks
// each data file in the same order.
void ReadFileNames(AppState& s, const DataDirDialog& dialog);

// Where the data lie according to a settings file, read without writing anything: DataDir (default
// startDir) and the nine upper-cased names. For tools that must not touch the settings file.
struct DataLocation
{
    std::string dataDir;
    TDataFiles files;
};
DataLocation ReadDataLocation(const IniFile& ini, const std::string& startDir);
// The default file names, upper-cased.
TDataFiles DefaultDataFiles();
// The first of the nine files (in the order of kDataFileKeys) missing in dataDir, or an empty text.
std::u16string FirstMissingDataFile(const std::string& dataDir, const TDataFiles& files);
// The message for a data file that cannot be used: dataDir + name + "のパスが正しくありません。", saying
// what the path names instead when it is there but no file (a folder, a FIFO, a link to nothing, a link
// loop), as in "…祖先馬.CSVのパスが正しくありません（フォルダです）。".
std::u16string DataFilePathMessage(const std::string& dataDir, std::u16string_view name);

// The settings file name for an executable: its base name with the extension replaced by ".INI".
std::u16string IniNameFor(std::string_view exePath);
// The help file name: the settings file name with the extension ".HLP".
std::u16string HelpNameFor(std::u16string_view iniName);

struct StartupHooks
{
    ScreenSize screen; // the screen's size in pixels
    std::function<void()> fitMainWindow; // FitForm on the main window, once the layout is known
    DataDirDialog dataDirDialog;
    LoadHooks load;
};

// The start-up sequence: settings file, layout, DataDir, coat colours emptied, input mode, bands,
// file names and their check, and the first load into d. currentDir is the working directory.
// Throws StartupAbort when the program must end; FileError when the settings file cannot be written.
LoadResult StartUp(AppState& s, MasterData& d, const std::string& currentDir, std::string_view exePath,
                   const StartupHooks& hooks);

// Closing the main window: the settings file and the coat-colour table are released.
void ShutDown(AppState& s, MasterData& d);

} // namespace velmora
