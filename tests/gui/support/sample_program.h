#pragma once
// The program as it starts on the bundled sample data: a temporary working folder holding a copy of
// the sample, and the main window created there with its whole start-up sequence (the settings file
// is written into that folder) and shown.

#include "gui/app/main_window.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace velmora::gui::test {

// Copies the files of the bundled sample into folder (made when missing), leaving out those named in
// leaveOut; false when a file could not be copied.
inline bool CopySample(const QString& folder, const QStringList& leaveOut = {})
{
    const QDir sample(QStringLiteral(VELMORA_SAMPLE_DIR));
    if (!QDir().mkpath(folder))
        return false;
    for (const QString& name : sample.entryList(QDir::Files))
        if (!leaveOut.contains(name) && !QFile::copy(sample.filePath(name), QDir(folder).filePath(name)))
            return false;
    return true;
}

class SampleProgram
{
public:
    SampleProgram()
    {
        if (!CopySample(m_dir.path()))
            return;
        m_main = std::make_unique<TfrmMain>(m_dir.filePath(QStringLiteral("velmora")), m_dir.path());
        m_main->show();
    }

    // Whether the copy was made and the start-up went through.
    bool Started() const { return m_main && m_main->StartupExitCode() == 0; }
    TfrmMain& Main() { return *m_main; }
    QString Path() const { return m_dir.path(); }
    QString File(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TfrmMain> m_main;
};

} // namespace velmora::gui::test
