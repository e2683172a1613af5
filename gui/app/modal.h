#pragma once
// How windows show their modal child windows and open documents.
//
// Every tool runs modally while the window that opened it is hidden. QDialog ends its exec() loop
// whenever the dialog is hidden, so a tool that hid itself with hide() while one of its own child
// windows runs would lose its modal loop and leave the main window blocked. ExecHidden is the one way
// to do it: the owner is hidden without touching its modal loop, the child runs its own loop, and the
// owner is shown again with its state intact.
//
// Window tests drive these real modal loops with timers (tests/gui/support/script.h).

#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace velmora::gui {

// Hides owner (a window or a dialog running its own modal loop), shows child modally with its exec(),
// shows owner again and returns the child's result. The owner's modal loop, if any, keeps running.
int ExecHidden(QWidget* owner, QDialog* child);

using OpenDocumentHook = std::function<void(const QString& path)>;
void SetOpenDocumentHook(OpenDocumentHook hook);
// Asks the desktop to open a local file with its default application. When the desktop reports that
// it cannot, a message over `parent` says so and the result is false.
bool OpenDocument(const QString& path, QWidget* parent = nullptr);

} // namespace velmora::gui
