#include "core/app/data_dir_dialog.h"

#include "core/app/settings.h"
#include "core/common/errors.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace velmora {

namespace fs = std::filesystem;

const std::array<DataFileList, 9> kDataFileLists = { {
    { u"系統", u"系統*.CSV", &TDataFiles::Keito },
    { u"毛色", u"毛色*.CSV", &TDataFiles::Keiro },
    { u"ｸﾛｽ効果", u"ｸﾛｽ*.CSV", &TDataFiles::Cross },
    { u"面白系統", u"面白*.CSV", &TDataFiles::Omokei },
    { u"祖先馬", u"祖先*.CSV", &TDataFiles::Oya },
    { u"種牡馬", u"種牡*.CSV", &TDataFiles::Dad },
    { u"牝馬", u"牝馬*.CSV", &TDataFiles::Mam },
    { u"相性計算", u"相性*.CSV", &TDataFiles::Aisho },
    { u"ニックス", u"ニックス*.CSV", &TDataFiles::Nix },
} };

namespace {

// The lists in the order OK takes them over (祖先馬, 種牡馬, 牝馬, ｸﾛｽ効果, ニックス, 系統, 毛色, 面白系統,
// 相性計算), and the order their keys are written (系統, 毛色, クロス, ニックス, 面白系統, 祖先馬, 種牡馬,
// 繁殖牝馬, 相性計算); indices into kDataFileLists.
constexpr std::array<size_t, 9> kOkOrder = { 4, 5, 6, 2, 8, 0, 1, 3, 7 };
constexpr std::array<size_t, 9> kWriteOrder = { 0, 1, 2, 8, 3, 4, 5, 6, 7 };

std::string WithSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

// An absolute folder path without "." and ".." parts, with a trailing '/'.
std::string NormalFolder(const std::string& path)
{
    std::error_code ec;
    fs::path p(path.empty() ? "/" : path);
    if (p.is_relative())
        p = fs::current_path(ec) / p;
    std::string s = p.lexically_normal().string();
    return WithSlash(s);
}

// The key in section "DATA" that names the file.
std::u16string_view KeyOf(std::u16string TDataFiles::*field)
{
    for (const DataFileKey& k : kDataFileKeys)
        if (k.field == field)
            return k.key;
    throw RangeError();
}

bool IsFolder(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::string Parent(const std::string& folder)
{
    if (folder == "/")
        return folder;
    const size_t slash = folder.rfind('/', folder.size() - 2);
    return slash == std::string::npos ? std::string("/") : folder.substr(0, slash + 1);
}

bool StartsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The entries of a folder, read in one pass: its subfolders (hidden ones left out) and its regular
// files, each in name order.
struct FolderContent
{
    std::vector<std::string> folders;
    std::vector<std::string> files;
};

FolderContent ReadFolder(const std::string& folder)
{
    FolderContent content;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        if (it->is_directory(typeError)) {
            if (name.front() != '.')
                content.folders.push_back(name);
        } else if (it->is_regular_file(typeError)) {
            content.files.push_back(name);
        }
    }
    std::sort(content.folders.begin(), content.folders.end());
    std::sort(content.files.begin(), content.files.end());
    return content;
}

} // namespace

std::vector<DataDirRoot> DataDirRoots(const std::string& home, const std::vector<std::string>& mountPoints,
                                      const std::string& sampleDir)
{
    std::vector<DataDirRoot> roots { { u"/", "/" } };
    auto add = [&roots](std::u16string caption, const std::string& path) {
        const std::string folder = NormalFolder(path);
        for (const DataDirRoot& r : roots)
            if (r.path == folder)
                return;
        roots.push_back({ std::move(caption), folder });
    };
    if (!home.empty())
        add(u"ホーム (" + FromUtf8(NormalFolder(home)) + u")", home);
    // Media are mounted at /media/<user>/<label> or /run/media/<user>/<label> by the desktop, at
    // /media/<name> or /mnt/<name> by hand; deeper mount points are the system's own.
    struct MediaPlace
    {
        std::string under;
        size_t maxDepth;
    };
    static const MediaPlace kMediaPlaces[] = { { "/media/", 2 }, { "/run/media/", 2 }, { "/mnt/", 1 } };
    std::vector<std::string> media;
    for (const std::string& m : mountPoints) {
        const std::string folder = NormalFolder(m);
        for (const MediaPlace& p : kMediaPlaces) {
            if (!StartsWith(folder, p.under) || folder.size() == p.under.size())
                continue;
            const auto depth = static_cast<size_t>(
                std::count(folder.begin() + static_cast<std::ptrdiff_t>(p.under.size()), folder.end(), '/'));
            if (depth <= p.maxDepth)
                media.push_back(folder);
        }
    }
    std::sort(media.begin(), media.end());
    for (const std::string& m : media)
        add(FromUtf8(m), m);
    if (!sampleDir.empty() && IsFolder(sampleDir)) {
        add(u"サンプルデータ (" + FromUtf8(NormalFolder(sampleDir)) + u")", sampleDir);
        roots.back().sample = roots.back().path == NormalFolder(sampleDir);
    }
    return roots;
}

bool MatchesFileMask(std::u16string_view nameText, std::u16string_view maskText)
{
    const std::u16string name = UpperFileName(nameText);
    const std::u16string mask = UpperFileName(maskText);
    // Greedy matching with a return to the last "*": linear for the masks the dialog uses.
    size_t n = 0, m = 0, star = std::u16string::npos, resume = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == u'?' || mask[m] == name[n])) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == u'*') {
            star = m++;
            resume = n;
        } else if (star != std::u16string::npos) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*')
        ++m;
    return m == mask.size();
}

DataDirDialogModel::DataDirDialogModel(AppState& app, std::vector<DataDirRoot> roots, std::string sampleCopyFolder)
    : m_app(app)
    , m_filesAtOpening(app.DataFiles)
    , m_roots(std::move(roots))
    , m_sampleCopyFolder(sampleCopyFolder.empty() ? std::string() : NormalFolder(sampleCopyFolder))
{
    OpenFolder(app.DataDir);
}

void DataDirDialogModel::ChooseRoot(int index)
{
    if (index >= 0 && static_cast<size_t>(index) < m_roots.size())
        OpenFolder(m_roots[static_cast<size_t>(index)].path);
}

void DataDirDialogModel::OpenFolder(const std::string& path)
{
    std::string folder = NormalFolder(path);
    while (!IsFolder(folder) && folder != "/")
        folder = Parent(folder);
    m_folder = folder;
    m_currentRoot = -1;
    size_t longest = 0;
    for (size_t i = 0; i < m_roots.size(); ++i)
        if (StartsWith(m_folder, m_roots[i].path) && m_roots[i].path.size() >= longest) {
            longest = m_roots[i].path.size();
            m_currentRoot = static_cast<int>(i);
        }
    const FolderContent content = ReadFolder(m_folder);
    FillFolders(content.folders);
    FillLists(content.files);
}

void DataDirDialogModel::ClickFolder(int entry)
{
    if (entry >= 0 && static_cast<size_t>(entry) < m_folders.size())
        OpenFolder(m_folders[static_cast<size_t>(entry)].path);
}

void DataDirDialogModel::Select(int list, int item)
{
    DataFileChoice& c = m_lists[static_cast<size_t>(CheckedIndex(list, 9))];
    c.selected = item >= 0 && static_cast<size_t>(item) < c.names.size() ? item : -1;
}

void DataDirDialogModel::FillFolders(const std::vector<std::string>& subfolders)
{
    m_folders.clear();
    const std::string root = m_currentRoot >= 0 ? m_roots[static_cast<size_t>(m_currentRoot)].path : "/";
    m_folders.push_back({ FromUtf8(root == "/" ? root : root.substr(0, root.size() - 1)), root, 0, true });
    int depth = 0;
    for (size_t at = root.size(); at < m_folder.size();) {
        const size_t slash = m_folder.find('/', at);
        m_folders.push_back(
            { FromUtf8(m_folder.substr(at, slash - at)), m_folder.substr(0, slash + 1), ++depth, true });
        at = slash + 1;
    }
    m_currentEntry = static_cast<int>(m_folders.size()) - 1;
    for (const std::string& name : subfolders)
        m_folders.push_back({ FromUtf8(name), m_folder + name + "/", depth + 1, false });
}

void DataDirDialogModel::FillLists(const std::vector<std::string>& files)
{
    for (size_t i = 0; i < kDataFileLists.size(); ++i) {
        const DataFileList& list = kDataFileLists[i];
        DataFileChoice& c = m_lists[i];
        c.names.clear();
        c.selected = -1;
        const std::u16string current = UpperFileName(m_app.DataFiles.*list.field);
        for (const std::string& file : files) {
            const std::u16string name = FromUtf8(file);
            if (!MatchesFileMask(name, list.mask))
                continue;
            if (c.selected < 0 && UpperFileName(name) == current)
                c.selected = static_cast<int>(c.names.size());
            c.names.push_back(name);
        }
    }
}

DataDirOkResult DataDirDialogModel::TakeSelections()
{
    DataDirOkResult r;
    for (const size_t i : kOkOrder) {
        const DataFileChoice& c = m_lists[i];
        std::u16string& name = m_app.DataFiles.*kDataFileLists[i].field;
        if (c.selected >= 0)
            name = c.names[static_cast<size_t>(c.selected)];
        else
            r.messages.push_back(FromUtf8(m_app.DataDir) + name + std::u16string(kMsgDataFileNotFound));
    }
    return r;
}

DataDirOkResult DataDirDialogModel::Commit()
{
    DataDirOkResult r;
    std::vector<IniEntry> entries { { u"DATA", std::u16string(kDataDirKey), FromUtf8(m_folder) } };
    for (const size_t i : kWriteOrder) {
        const auto field = kDataFileLists[i].field;
        entries.push_back({ u"DATA", std::u16string(KeyOf(field)), m_app.DataFiles.*field });
    }
    try {
        if (!m_app.IniFile)
            throw FileError("The settings file is not open");
        m_app.IniFile->WriteStrings(entries);
    } catch (const FileError& e) {
        r.messages.push_back(FromUtf8(e.what()));
        return r;
    }
    m_app.DataDir = m_folder;
    r.close = true;
    return r;
}

const DataDirRoot* DataDirDialogModel::SampleRoot() const
{
    for (const DataDirRoot& root : m_roots)
        if (root.sample && StartsWith(m_folder, root.path))
            return &root;
    return nullptr;
}

DataDirOkResult DataDirDialogModel::Ok()
{
    DataDirOkResult r = TakeSelections();
    if (!r.messages.empty())
        return r;
    if (SampleRoot() && !m_sampleCopyFolder.empty()) {
        std::error_code ec;
        if (!fs::exists(m_sampleCopyFolder, ec))
            return OkWithSampleCopy(m_sampleCopyFolder);
        r.askCopyFolder = Parent(m_sampleCopyFolder);
        return r;
    }
    return Commit();
}

DataDirOkResult DataDirDialogModel::OkWithSampleCopy(const std::string& folderPath)
{
    DataDirOkResult r = TakeSelections();
    const DataDirRoot* sample = SampleRoot();
    if (!r.messages.empty() || !sample)
        return r;
    const std::string from = m_folder;
    const std::string to = NormalFolder(folderPath);
    if (StartsWith(to, sample->path)) {
        r.messages.push_back(FromUtf8(to) + u"はサンプルデータのフォルダの中です。別のフォルダを選んでください");
        return r;
    }
    const std::vector<std::string> files = ReadFolder(from).files;
    std::error_code ec;
    for (const std::string& name : files)
        if (fs::exists(fs::path(to) / name, ec) || fs::is_symlink(fs::path(to) / name, ec)) {
            r.messages.push_back(FromUtf8(to) + u"には既に" + FromUtf8(name)
                                 + u"があります。サンプルデータは空のフォルダにコピーしてください");
            return r;
        }
    // Copied whole or not at all: a failure removes what was copied, and the folders made for it.
    std::vector<fs::path> made;
    for (fs::path p = fs::path(to).parent_path(); !p.empty() && !fs::exists(p, ec); p = p.parent_path())
        made.push_back(p);
    std::vector<fs::path> copied;
    auto undo = [&] {
        std::error_code ignored;
        for (const fs::path& p : copied)
            fs::remove(p, ignored);
        for (const fs::path& p : made)
            fs::remove(p, ignored);
    };
    fs::create_directories(to, ec);
    for (const std::string& name : files) {
        if (ec)
            break;
        const fs::path target = fs::path(to) / name;
        if (!fs::copy_file(fs::path(from) / name, target, ec))
            break;
        copied.push_back(target);
        // The installed files may be read-only; the user's copy is the user's to change.
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    }
    if (ec) {
        undo();
        r.messages.push_back(FromUtf8(to) + u"にサンプルデータをコピーできません（"
                             + FromUtf8(SystemErrorText(ec.value())) + u"）");
        return r;
    }
    OpenFolder(to);
    r = Commit();
    if (!r.close) {
        undo();
        OpenFolder(from);
        return r;
    }
    r.messages.push_back(u"サンプルデータを" + FromUtf8(to) + u"にコピーしました。このフォルダのデータを使います");
    return r;
}

void DataDirDialogModel::Cancel()
{
    m_app.DataFiles = m_filesAtOpening;
}

} // namespace velmora
