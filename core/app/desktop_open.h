#pragma once
// Whether the desktop has an application for a kind of file. Handing a file to xdg-open reports
// success as soon as xdg-open starts, even when no application will show the file; so the program
// first asks which application is the default for the file's type (xdg-mime query default TYPE)
// and looks for that application's desktop entry where the desktop keeps them.

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The folders that hold desktop entries, nearest first: $XDG_DATA_HOME/applications (by default
// ~/.local/share/applications), then <each of $XDG_DATA_DIRS>/applications (by default /usr/local/share
// and /usr/share). Null or empty variables take their defaults; relative entries are ignored, as the
// desktop ignores them.
std::vector<std::string> ApplicationFolders(const char* dataHome, const char* dataDirs, const char* home);

// The desktop entry ids in what `xdg-mime query default` printed: the first line, split at ';',
// trimmed, without empty pieces.
std::vector<std::string> DefaultEntryIds(std::string_view xdgMimeOutput);

// Whether one of the ids names a desktop entry file in one of the folders. An id with '-' may also
// stand for a file in a subfolder ("kde4-okular.desktop" is kde4/okular.desktop).
bool AnyDesktopEntryExists(const std::vector<std::string>& ids, const std::vector<std::string>& folders);

} // namespace velmora
