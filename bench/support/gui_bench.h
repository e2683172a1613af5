#pragma once
// Shared set-up of the window benchmarks: the generated full-capacity data set (513 stallions, 701
// broodmares, 3001 ancestors, 4096 nicks) written into a temporary folder that serves as start and
// data folder, the settings a start-up leaves, and the offscreen platform unless another is set.

#include "core/app/app_state.h"
#include "core/app/settings.h"
#include "core/data/loader.h"
#include "core/data/master_data.h"
#include "tools/datagen/datagen.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace velmora::bench {

inline bool PrepareFullCapacityApp(std::unique_ptr<QTemporaryDir>& dir)
{
    dir = std::make_unique<QTemporaryDir>();
    AppState& app = App();
    app.StartDir = app.DataDir = QDir(dir->path()).absolutePath().toStdString() + "/";
    WriteFullCapacityData(app.DataDir);
    app.IniFile = std::make_unique<IniFile>(app.StartDir + "velmora.INI");
    app.DataFiles = DefaultDataFiles();
    app.FontName = u"IPAPGothic";
    app.ScreenWidth = 800;
    app.ScreenHeight = 600;
    ReadBands(app);
    const LoadResult r = GetMasterData(Master(), app.DataDir, app.DataFiles);
    if (!r.completed || Master().DadCount != kDadRows || Master().MamCount != kMamRows) {
        std::fprintf(stderr, "the full-capacity data set did not load\n");
        return false;
    }
    return true;
}

// main() of a window benchmark program.
inline int RunGuiBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::unique_ptr<QTemporaryDir> dir;
    if (!PrepareFullCapacityApp(dir))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    App().IniFile.reset();
    return 0;
}

} // namespace velmora::bench
