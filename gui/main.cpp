// velmora: the mating planner's desktop program.

#include "gui/app/main_window.h"
#include "gui/app/translations.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    // Without the translation installed Qt's own texts stay in English; the program still runs.
    velmora::gui::InstallJapaneseQtTranslation(&app);

    velmora::gui::TfrmMain main(QApplication::applicationFilePath(), QDir::currentPath());
    if (const int code = main.StartupExitCode())
        return code;
    main.CreateEditor();
    main.show();
    return app.exec();
}
