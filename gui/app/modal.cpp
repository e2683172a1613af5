#include "gui/app/modal.h"

#include "core/app/desktop_open.h"
#include "gui/app/message_box.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

#include <cstdlib>

namespace velmora::gui {

namespace {

OpenDocumentHook& Opener()
{
    static OpenDocumentHook hook;
    return hook;
}

// False when the desktop says that no application opens files of this kind; true when it names one
// that exists, and also when it cannot be asked (no xdg-mime), so that the desktop's own opener decides.
bool DesktopHasApplicationFor(const QString& path)
{
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    if (type.isEmpty())
        return true; // the desktop's type database is missing: nothing to ask about
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), { QStringLiteral("query"), QStringLiteral("default"), type });
    if (!query.waitForStarted(3000))
        return true;
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit) {
        query.kill();
        query.waitForFinished(1000);
        return true;
    }
    const std::vector<std::string> ids = DefaultEntryIds(query.readAllStandardOutput().toStdString());
    return AnyDesktopEntryExists(
        ids, ApplicationFolders(std::getenv("XDG_DATA_HOME"), std::getenv("XDG_DATA_DIRS"), std::getenv("HOME")));
}

} // namespace

int ExecHidden(QWidget* owner, QDialog* child)
{
    // QWidget's setVisible, not QDialog's: QDialog::setVisible(false) ends the dialog's exec() loop.
    owner->QWidget::setVisible(false);
    const int result = child->exec();
    owner->QWidget::setVisible(true);
    return result;
}

void SetOpenDocumentHook(OpenDocumentHook hook)
{
    Opener() = std::move(hook);
}

bool OpenDocument(const QString& path, QWidget* parent)
{
    if (Opener()) {
        Opener()(path);
        return true;
    }
    if (DesktopHasApplicationFor(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
    MessageBox::Show(parent,
                     QDir::toNativeSeparators(path)
                         + QStringLiteral("を開けませんでした。"
                                          "表示するアプリケーションがありません。"));
    return false;
}

} // namespace velmora::gui
