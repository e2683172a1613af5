#pragma once
// How the optimal-mating tools show their modal child windows and open documents. Tests replace both
// with hooks that drive the child window instead of running its event loop.

#include <QString>

#include <functional>

class QDialog;

namespace velmora::gui {

// The function gets the dialog and returns its result (QDialog::Accepted or Rejected).
using ModalHook = std::function<int(QDialog*)>;
void SetModalHook(ModalHook hook);
// Shows the dialog modally (or hands it to the hook) and returns its result.
int ExecModal(QDialog* dialog);

using OpenDocumentHook = std::function<void(const QString& path)>;
void SetOpenDocumentHook(OpenDocumentHook hook);
// Asks the desktop to open a local file with its default application.
void OpenDocument(const QString& path);

} // namespace velmora::gui
