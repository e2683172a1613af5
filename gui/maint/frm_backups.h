#pragma once
// TfrmBackups ("バックアップから戻す"): the backup sets of the data in use, newest first, and the button
// that puts one back. The logic is BackupWindowModel's.

#include "core/maint/backup_window.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace velmora::gui {

class TfrmBackups : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmBackups(QWidget* parent = nullptr);

    // Whether a set was put back (the opener then reads the data again).
    bool Restored() const { return m_model.Restored(); }

private:
    void OnRestore();
    void ShowModel();

    BackupWindowModel m_model;
    QListWidget* m_lstSets = nullptr;
    QPushButton* m_btnRestore = nullptr;
};

} // namespace velmora::gui
