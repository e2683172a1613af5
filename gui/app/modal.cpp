#include "gui/app/modal.h"

#include "gui/app/message_box.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QUrl>

namespace velmora::gui {

namespace {

OpenDocumentHook& Opener()
{
    static OpenDocumentHook hook;
    return hook;
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
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
    MessageBox::Show(parent,
                     QDir::toNativeSeparators(path)
                         + QStringLiteral("を開けませんでした。"
                                          "表示するアプリケーションがありません。"));
    return false;
}

} // namespace velmora::gui
