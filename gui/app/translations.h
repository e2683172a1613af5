#pragma once
// The program speaks Japanese whatever the system's language: Qt's own texts (standard dialogs,
// dialog buttons, context menus) come from Qt's Japanese translation of qtbase.

class QCoreApplication;

namespace velmora::gui {

// Loads Qt's Japanese translation of qtbase from Qt's translation folder and installs it on the
// application; false when the translation is not installed (Qt's English texts stay).
bool InstallJapaneseQtTranslation(QCoreApplication* app);

} // namespace velmora::gui
