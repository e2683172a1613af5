#pragma once
// The program-wide settings state: directories, the settings file, data file names, fonts, layout
// size, input mode and the list filter bands.

#include "core/data/ini_file.h"
#include "core/data/records.h"

#include <array>
#include <memory>
#include <string>

namespace velmora {

struct AppState
{
    std::string StartDir; // working directory at start-up, UTF-8, with trailing '/'
    std::string ExeDir; // the executable's folder, UTF-8, with trailing '/' (an installed program's files lie near it)
    std::string DataDir; // data directory, UTF-8, with trailing '/'
    std::u16string IniName;
    std::u16string HelpName;
    std::unique_ptr<velmora::IniFile> IniFile; // StartDir + IniName, open for the whole run
    TDataFiles DataFiles;
    std::u16string FontName;
    int32_t FontSize = 12;
    std::u16string FixFontName;
    int32_t FixFontSize = 12;
    int32_t ScreenWidth = 0;
    int32_t ScreenHeight = 0;
    bool KanaMode = true;
    bool ViewFromResults = false;
    // Index 0 unused, as the bands are numbered from 1.
    std::array<TFeeButton, 6> StarBands;
    std::array<TFeeButton, 5> MarePriceBands;
    std::array<TFeeButton, 4> MareSpeedBands;
    std::array<TFeeButton, 4> MareStaminaBands;
};

// The process-wide settings state the windows work on.
AppState& App();

} // namespace velmora
