#include "gui/app/file_dialogs.h"

#include <QFileDialog>
#include <QPointer>

#include <memory>

namespace velmora::gui {

namespace {

QPointer<QWidget>& Owner()
{
    static QPointer<QWidget> owner;
    return owner;
}

QString ObjectName(bool save)
{
    return save ? QStringLiteral("dlgSave") : QStringLiteral("dlgOpen");
}

QString Title(bool save)
{
    return save ? QStringLiteral("データの保存") : QStringLiteral("データの読込");
}

QString Filter()
{
    return QStringLiteral("テキスト形式 (*.txt);;全てのファイル (*.*)");
}

QString Ask(QWidget* caller, bool save, const QString& proposed)
{
    std::unique_ptr<QFileDialog> own;
    QFileDialog* dialog = Owner() ? KeptTextFileDialog(Owner(), save) : nullptr;
    if (!dialog) {
        own.reset(MakeTextFileDialog(caller, save));
        dialog = own.get();
    }
    dialog->selectFile(proposed);
    // The shared dialogs belong to the main window, which is hidden while a tool runs: show them over
    // the window that asks.
    if (caller && dialog->parentWidget() != caller) {
        const QRect over = caller->window()->frameGeometry();
        dialog->adjustSize();
        dialog->move(over.center() - QPoint(dialog->width() / 2, dialog->height() / 2));
    }
    if (dialog->exec() != QDialog::Accepted)
        return QString();
    return dialog->selectedFiles().value(0);
}

} // namespace

QFileDialog* MakeTextFileDialog(QWidget* owner, bool save)
{
    auto* d = new QFileDialog(owner, Title(save));
    d->setObjectName(ObjectName(save));
    d->setNameFilter(Filter());
    d->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    d->setOption(QFileDialog::DontUseNativeDialog);
    return d;
}

QFileDialog* KeptTextFileDialog(QWidget* owner, bool save)
{
    if (auto* kept = owner->findChild<QFileDialog*>(ObjectName(save), Qt::FindDirectChildrenOnly))
        return kept;
    return MakeTextFileDialog(owner, save);
}

void SetFileDialogOwner(QWidget* owner)
{
    Owner() = owner;
}

QString AskOpenFile(QWidget* caller)
{
    return Ask(caller, false, QString());
}

QString AskSaveFile(QWidget* caller, const QString& proposed)
{
    return Ask(caller, true, proposed);
}

} // namespace velmora::gui
