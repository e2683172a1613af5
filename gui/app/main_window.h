#pragma once
// TfrmMain, the main window: a column of nine buttons from which every tool is opened. Creating it
// runs the start-up sequence (settings file, layout, data file check, first load).

#include "gui/app/tools.h"

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QDialog;
class QFileDialog;
class QFontDialog;
class QPushButton;

namespace velmora::gui {

class TfrmMain : public QWidget
{
    Q_OBJECT

public:
    // exePath names the settings file (its base name with ".INI"); currentDir is the working
    // directory at start-up, where the settings file lives. beforeStartup, when given, runs after the
    // tools are registered and before the start-up sequence (tests put their own tools in place there).
    TfrmMain(const QString& exePath, const QString& currentDir,
             const std::function<void(TfrmMain&)>& beforeStartup = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // 0 when the start-up went through; otherwise the exit code the program must end with (2: screen
    // too small or settings file unusable, 1: a data file missing and the directory dialog cancelled).
    int StartupExitCode() const { return m_exitCode; }

    // Gives a tool its window factory and enables its button.
    void SetToolFactory(Tool tool, ToolFactory factory);
    bool HasTool(Tool tool) const;

    // Creates the pedigree editor that lives for the whole run (when its factory is registered).
    void CreateEditor();
    QDialog* Editor() const { return m_editor; }

    // The dialogs that live as long as the main window, made when first needed: building them (the
    // font list, the folder views) is work a start-up does not need.
    QFontDialog* FontDialog();
    QFileDialog* OpenDialog();
    QFileDialog* SaveDialog();

    // The application's help file, the contents page of the user's guide (the guide's other pages lie
    // beside it): HelpName in the start-up directory, else beside the executable, else in the installed
    // program's share folder.
    QString HelpFilePath() const;

public slots:
    void OnVelmora();
    void OnDravik();
    void OnParents();
    void OnEditor();
    void OnDir();
    void OnUpdate();
    void OnFont();
    void OnHelp();
    void OnEnd();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPushButton* AddButton(const char* name, const QString& caption, int row, void (TfrmMain::*slot)());
    QPushButton* ButtonFor(Tool tool) const;
    void RunStartup(const QString& exePath, const QString& currentDir);
    // Tool windows: created and fitted, the main window hidden, shown modally, then destroyed.
    int RunTool(Tool tool, bool waitCursor);
    // A tool that may change the data (the directory dialog, the data editing window): created, fitted
    // and shown modally with the main window hidden; when it is confirmed the tables are read again
    // before the main window comes back.
    void RunDataTool(Tool tool);
    bool RunDataDirDialog();

    std::array<ToolFactory, 6> m_factories;
    QDialog* m_editor = nullptr;
    QFontDialog* m_fontDialog = nullptr;
    int m_exitCode = 0;
    bool m_closed = false;
};

} // namespace velmora::gui
