// velmora: the mating planner's desktop program.

#include "gui/app/main_window.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));

    velmora::gui::TfrmMain main(QApplication::applicationFilePath(), QDir::currentPath());
    if (const int code = main.StartupExitCode())
        return code;
    main.CreateEditor();
    main.show();
    return app.exec();
}
