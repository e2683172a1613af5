#pragma once
// The main window's two file dialogs, "データの読込" and "データの保存" (filter テキスト形式 | 全てのファイル),
// through which every window loads and saves its text files. They belong to the main window, are made
// when first needed (not at start-up) and then live as long as it, so they keep the folder last used;
// each caller proposes its own file name. Without a main window (window tests) a dialog of the same
// kind is made for the one call.

#include <QString>

class QFileDialog;
class QWidget;

namespace velmora::gui {

// A dialog of one of the two kinds, owned by `owner`.
QFileDialog* MakeTextFileDialog(QWidget* owner, bool save);
// The dialog of that kind that `owner` keeps, made at the first call.
QFileDialog* KeptTextFileDialog(QWidget* owner, bool save);
// The main window lends itself as the keeper of the dialogs every window uses.
void SetFileDialogOwner(QWidget* owner);

// Shows the open dialog over `caller`; the chosen file, or an empty text when it was cancelled.
QString AskOpenFile(QWidget* caller);
// Shows the save dialog over `caller` with the proposed file name.
QString AskSaveFile(QWidget* caller, const QString& proposed);

} // namespace velmora::gui
