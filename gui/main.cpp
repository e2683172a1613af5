// velmora: the mating planner's desktop program.

#include "gui/app/main_window.h"
#include "gui/app/translations.h"
#include "velmora_version.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // Answered before the application object exists, so that it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("velmora %s\n", velmora::kVersion);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationVersion(QString::fromLatin1(velmora::kVersion));
    // Without the translation installed Qt's own texts stay in English; the program still runs.
    velmora::gui::InstallJapaneseQtTranslation(&app);

    velmora::gui::TfrmMain main(QApplication::applicationFilePath(), QDir::currentPath());
    if (const int code = main.StartupExitCode())
        return code;
    main.CreateEditor();
    main.show();
    return app.exec();
}
