#include "cli/command.h"

#include "core/app/settings.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "core/data/loader.h"
#include "core/data/master_data.h"

#include <filesystem>

namespace velmora::cli {

namespace {
std::string WithDelimiter(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}
} // namespace

MasterData& Context::Data()
{
    MasterData& d = Master();
    if (m_loaded)
        return d;
    DataLocation loc;
    if (!dataDir.empty()) {
        loc.dataDir = WithDelimiter(dataDir);
        loc.files = DefaultDataFiles();
    } else {
        // As the program starts: the settings file of the current directory, read but never written.
        std::error_code ec;
        const std::string cwd = WithDelimiter(std::filesystem::current_path(ec).string());
        if (ec)
            throw CliError("velmora-cli: the current directory cannot be read: " + SystemErrorText(ec.value()));
        const IniFile ini(cwd + "velmora.INI");
        loc = ReadDataLocation(ini, cwd);
    }
    if (!std::filesystem::is_directory(loc.dataDir))
        throw CliError("velmora-cli: data directory not found: " + loc.dataDir);
    const std::u16string missing = FirstMissingDataFile(loc.dataDir, loc.files);
    if (!missing.empty())
        throw CliError(ToUtf8(DataFilePathMessage(loc.dataDir, missing)));
    LoadResult result = GetMasterData(d, loc.dataDir, loc.files);
    loadMessages = std::move(result.messages);
    if (!result.completed) {
        std::string text = "velmora-cli: the data could not be loaded";
        for (const std::u16string& m : loadMessages)
            text += "\n" + ToUtf8(m);
        throw CliError(text);
    }
    // Commands that read further files of the data directory (point files) find it in App().
    App().DataDir = loc.dataDir;
    App().DataFiles = loc.files;
    m_loaded = true;
    return d;
}

} // namespace velmora::cli
