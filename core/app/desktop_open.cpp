#include "core/app/desktop_open.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace velmora {

namespace {

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

bool IsFile(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// The file names an id may stand for: the id itself and, for each '-', the id with that '-' read as
// a folder separator (the desktop's rule for entries kept in subfolders).
std::vector<std::string> Candidates(const std::string& id)
{
    std::vector<std::string> names { id };
    for (size_t at = id.find('-'); at != std::string::npos; at = id.find('-', at + 1)) {
        std::string name = id;
        name[at] = '/';
        names.push_back(name);
    }
    return names;
}

} // namespace

std::vector<std::string> ApplicationFolders(const char* dataHome, const char* dataDirs, const char* home)
{
    std::vector<std::string> folders;
    const auto add = [&](std::string_view dir) {
        while (dir.size() > 1 && dir.back() == '/')
            dir.remove_suffix(1);
        if (!dir.empty() && dir.front() == '/')
            folders.push_back(std::string(dir) + "/applications");
    };
    if (dataHome && *dataHome)
        add(dataHome);
    else if (home && *home)
        add(std::string(home) + "/.local/share");
    const std::string_view dirs = dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share";
    for (size_t start = 0; start <= dirs.size();) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        add(dirs.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

std::vector<std::string> DefaultEntryIds(std::string_view xdgMimeOutput)
{
    const std::string_view line = xdgMimeOutput.substr(0, xdgMimeOutput.find('\n'));
    std::vector<std::string> ids;
    for (size_t start = 0; start <= line.size();) {
        const size_t end = std::min(line.find(';', start), line.size());
        if (const std::string_view id = Trim(line.substr(start, end - start)); !id.empty())
            ids.emplace_back(id);
        start = end + 1;
    }
    return ids;
}

bool AnyDesktopEntryExists(const std::vector<std::string>& ids, const std::vector<std::string>& folders)
{
    for (const std::string& id : ids) {
        if (id.find('/') != std::string::npos || id.find("..") != std::string::npos)
            continue; // an id is a plain file name, never a path
        for (const std::string& name : Candidates(id))
            for (const std::string& folder : folders)
                if (IsFile(folder + "/" + name))
                    return true;
    }
    return false;
}

} // namespace velmora
