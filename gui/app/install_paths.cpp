#include "gui/app/install_paths.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::gui {

QString SharedDataDir(const QString& exeDir)
{
    const QString dir = QDir::cleanPath(exeDir + QStringLiteral("/../share/velmora"));
    return QFileInfo(dir).isDir() ? dir : QString();
}

QString SampleDataDir(const QString& exeDir)
{
    const QString shared = SharedDataDir(exeDir);
    const QString sample = shared + QStringLiteral("/sample");
    return !shared.isEmpty() && QFileInfo(sample).isDir() ? sample : QString();
}

} // namespace velmora::gui
