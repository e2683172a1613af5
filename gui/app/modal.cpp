#include "gui/app/modal.h"

#include <QDesktopServices>
#include <QDialog>
#include <QUrl>

namespace velmora::gui {

namespace {

ModalHook& Modal()
{
    static ModalHook hook;
    return hook;
}

OpenDocumentHook& Opener()
{
    static OpenDocumentHook hook;
    return hook;
}

} // namespace

void SetModalHook(ModalHook hook)
{
    Modal() = std::move(hook);
}

int ExecModal(QDialog* dialog)
{
    if (Modal())
        return Modal()(dialog);
    return dialog->exec();
}

int ExecHidden(QWidget* owner, QDialog* child)
{
    // QWidget's setVisible, not QDialog's: QDialog::setVisible(false) ends the dialog's exec() loop.
    owner->QWidget::setVisible(false);
    const int result = ExecModal(child);
    owner->QWidget::setVisible(true);
    return result;
}

void SetOpenDocumentHook(OpenDocumentHook hook)
{
    Opener() = std::move(hook);
}

void OpenDocument(const QString& path)
{
    if (Opener())
        Opener()(path);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace velmora::gui
