#pragma once
// Shared helpers of the optimal-mating window tests: a temporary working folder seeded with a data
// set, the process-wide settings and tables prepared as the start-up sequence leaves them, and small
// ways to drive combo boxes and find controls by name.

#include "core/data/records.h"
#include "gui/app/controls.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>

class QComboBox;
class QWidget;

namespace velmora::gui::test {

// A working folder holding a copy of a data directory (default: the bundled sample). The settings
// file, the point files and the HTML page land there and vanish with it.
class WorkFolder
{
public:
    // The bundled sample, or the directory named by the environment variable VELMORA_SAMPLE when set.
    WorkFolder();
    explicit WorkFolder(const QString& sourceDir);
    ~WorkFolder();

    // Whether the source directory of the default constructor holds data files.
    static bool SampleAvailable();

    bool IsValid() const { return m_dir.isValid() && m_loaded; }
    // The folder with a trailing '/'.
    std::string Path() const;
    QString File(const QString& name) const;
    // Reloads the master data from the folder (after a test changed a data file).
    bool Load();

private:
    QTemporaryDir m_dir;
    bool m_loaded = false;
};

// Chooses an item the way a user does: types the name into the combo's edit field and presses Enter.
void ChooseByTyping(QComboBox* combo, const QString& name);
// The item texts of a combo box, in order.
QStringList Items(const QComboBox* combo);

using velmora::gui::Q;

// The child of a window with that object name, failing the test when it is missing (or the window
// is gone).
template <typename T> T* Find(QWidget* window, const QString& name);
template <typename T> T* Find(QWidget* window, const char* name);

} // namespace velmora::gui::test

#include <QTest>
#include <QWidget>

namespace velmora::gui::test {

template <typename T> T* Find(QWidget* window, const QString& name)
{
    T* w = window ? window->findChild<T*>(name) : nullptr;
    if (!w)
        qWarning("control %s not found", qPrintable(name));
    return w;
}

template <typename T> T* Find(QWidget* window, const char* name)
{
    return Find<T>(window, QString::fromLatin1(name));
}

} // namespace velmora::gui::test
