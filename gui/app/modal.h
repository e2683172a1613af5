#pragma once
// How windows show their modal child windows and open documents.
//
// Every tool runs modally while the window that opened it is hidden. QDialog ends its exec() loop
// whenever the dialog is hidden, so a tool that hid itself with hide() while one of its own child
// windows runs would lose its modal loop and leave the main window blocked. ExecHidden is the one way
// to do it: the owner is hidden without touching its modal loop, the child runs its own loop, and the
// owner is shown again with its state intact.
//
// Tests may replace the modal loop with a hook that drives the child window instead; end-to-end tests
// leave it unset and drive the real loop with timers.

#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace velmora::gui {

// The function gets the dialog and returns its result (QDialog::Accepted or Rejected).
using ModalHook = std::function<int(QDialog*)>;
void SetModalHook(ModalHook hook);
// Shows the dialog modally (or hands it to the hook) and returns its result.
int ExecModal(QDialog* dialog);
// Hides owner (a window or a dialog running its own modal loop), shows child modally with ExecModal,
// shows owner again and returns the child's result. The owner's modal loop, if any, keeps running.
int ExecHidden(QWidget* owner, QDialog* child);

using OpenDocumentHook = std::function<void(const QString& path)>;
void SetOpenDocumentHook(OpenDocumentHook hook);
// Asks the desktop to open a local file with its default application. The desktop is asked first
// whether an application for the file's type exists; when none does, or the desktop reports that it
// cannot open the file, a message over `parent` says so and the result is false.
bool OpenDocument(const QString& path, QWidget* parent = nullptr);

} // namespace velmora::gui
