#pragma once
// TfrmDataDir, the data directory dialog (データファイルの変更): the data folder on the left, the file of
// each of the nine kinds on the right. The logic is DataDirDialogModel's; the window lays out the
// controls and shows the model.

#include "core/app/data_dir_dialog.h"

#include <QDialog>

#include <array>

class QComboBox;
class QListWidget;
class QPushButton;

namespace velmora::gui {

class TfrmDataDir : public QDialog
{
    Q_OBJECT

public:
    // Works on App(); the drive selector offers "/", the home folder, mounted media and the installed
    // sample data (looked for near the executable, App().ExeDir).
    explicit TfrmDataDir(QWidget* parent = nullptr);

    const DataDirDialogModel& Model() const { return m_model; }

public slots:
    // Cancel, Escape and closing the window: DataFiles as they were at opening.
    void reject() override;

private:
    void OnOk();
    void OnBackups();
    // The folder to copy the installed sample into, chosen in a folder dialog starting at start; empty
    // when cancelled.
    QString AskSampleCopyFolder(const QString& start);
    void ShowModel();

    DataDirDialogModel m_model;
    QComboBox* m_cmbDrive = nullptr;
    QListWidget* m_lstFolder = nullptr;
    std::array<QListWidget*, 9> m_lists {};
    bool m_filling = false;
    bool m_restored = false; // a backup set was put back while the dialog was open
};

} // namespace velmora::gui
