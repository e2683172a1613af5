#pragma once
// The data directory dialog (データファイルの変更) without its window: the places the drive selector
// offers, the folder list, the nine masked file lists, and what OK and cancel do to DataDir, DataFiles
// and the "DATA" section of the settings file.

#include "core/app/app_state.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr std::u16string_view kDataDirCaption = u"データファイルの変更";
inline constexpr std::u16string_view kDataDirPrompt
    = u"左のデータ格納場所でデータフォルダを、右側で使用するデータファイルを選択してからＯＫボタンを押してください。";
inline constexpr std::u16string_view kMsgDataFileNotFound = u"が見つかりません";

// Where the installed sample is copied when it is chosen, under the user's home folder.
inline constexpr std::string_view kSampleCopyFolder = "Velmora/data/";

// A place the drive selector offers: a file-system root the user has.
struct DataDirRoot
{
    std::u16string caption;
    std::string path; // UTF-8, with a trailing '/'
    bool sample = false; // the installed sample data, read-only: chosen, it is copied first

    bool operator==(const DataDirRoot&) const = default;
};

// The roots in the selector's order: "/", the home folder, the mount points of removable and mounted
// media (/media/<user>/<label>, /run/media/<user>/<label>, /media/<name>, /mnt/<name>) in name order,
// and the installed sample data when sampleDir names a folder. Paths are given without or with a trailing '/'.
std::vector<DataDirRoot> DataDirRoots(const std::string& home, const std::vector<std::string>& mountPoints,
                                      const std::string& sampleDir);

// One of the nine file lists, in the dialog's order (the file's key in section "DATA" is its
// kDataFileKeys entry).
struct DataFileList
{
    std::u16string_view label;
    std::u16string_view mask;
    std::u16string TDataFiles::*field;
};
extern const std::array<DataFileList, 9> kDataFileLists;

// Whether a file name matches a mask of "*" (any run) and "?" (one character), letter case ignored as
// the stored names ignore it.
bool MatchesFileMask(std::u16string_view name, std::u16string_view mask);

// An entry of the folder list: the folders from the drive's root down to the chosen one (open), then the
// chosen folder's subfolders.
struct FolderEntry
{
    std::u16string caption;
    std::string path; // with a trailing '/'
    int depth = 0;
    bool open = false;

    bool operator==(const FolderEntry&) const = default;
};

// The files of one list and which is selected (-1: none).
struct DataFileChoice
{
    std::vector<std::u16string> names;
    int selected = -1;
};

struct DataDirOkResult
{
    bool close = false; // the dialog closes with OK
    std::vector<std::u16string> messages; // message boxes to show, in order
    // Not empty when the installed sample was chosen and the usual folder for its copy exists already:
    // the window asks for a folder to copy it into, starting here, and calls OkWithSampleCopy.
    std::string askCopyFolder;
};

class DataDirDialogModel
{
public:
    // Opening: the folder list is set to app.DataDir (the nearest existing folder above it when it is
    // gone). sampleCopyFolder is where a chosen installed sample is copied to (when it does not exist
    // yet); empty, the sample is used where it is.
    DataDirDialogModel(AppState& app, std::vector<DataDirRoot> roots, std::string sampleCopyFolder = {});

    const std::vector<DataDirRoot>& Roots() const { return m_roots; }
    // The root the chosen folder lies on (the longest matching path), -1 when none does.
    int CurrentRoot() const { return m_currentRoot; }
    const std::string& Folder() const { return m_folder; }
    const std::vector<FolderEntry>& Folders() const { return m_folders; }
    // The entry of the chosen folder in Folders().
    int CurrentFolderEntry() const { return m_currentEntry; }
    // The nine lists, in the order of kDataFileLists.
    const std::array<DataFileChoice, 9>& Lists() const { return m_lists; }

    // Drive change: the folder list moves to the root.
    void ChooseRoot(int index);
    // Folder change: the lists are refilled from the folder and select the current file names.
    void OpenFolder(const std::string& path);
    // A click on a folder entry opens that folder.
    void ClickFolder(int entry);
    void Select(int list, int item);

    // OK: takes the selected names over into DataFiles list by list; with every list selected, DataDir
    // becomes the folder and the "DATA" section is written (one write). Otherwise, or when the settings
    // file cannot be written, the messages say why and the dialog stays open. The installed sample is
    // read-only and shared: chosen, its files are first copied into the sample copy folder, which then
    // becomes DataDir; when that folder exists already, the result asks for another (askCopyFolder).
    DataDirOkResult Ok();
    // OK with the installed sample copied into folder (made when missing). A folder that already holds
    // a file of the sample's names, or lies inside the sample, is refused with a message; a copy that
    // fails leaves nothing behind. The dialog stays open then.
    DataDirOkResult OkWithSampleCopy(const std::string& folder);
    // Cancel: DataFiles as they were when the dialog opened (names taken over by an OK that did not close
    // would otherwise point into the old DataDir); DataDir and the settings file were not changed.
    void Cancel();

private:
    // The selected names taken over into DataFiles; a message per list without a selection.
    DataDirOkResult TakeSelections();
    // DataDir := folder and the "DATA" section written.
    DataDirOkResult Commit();
    // The installed sample root the chosen folder lies in, or nullptr.
    const DataDirRoot* SampleRoot() const;
    // From the chosen folder's subfolders and files, in name order.
    void FillFolders(const std::vector<std::string>& subfolders);
    void FillLists(const std::vector<std::string>& files);

    AppState& m_app;
    TDataFiles m_filesAtOpening;
    std::vector<DataDirRoot> m_roots;
    std::string m_sampleCopyFolder;
    int m_currentRoot = -1;
    std::string m_folder;
    std::vector<FolderEntry> m_folders;
    int m_currentEntry = -1;
    std::array<DataFileChoice, 9> m_lists;
};

} // namespace velmora
