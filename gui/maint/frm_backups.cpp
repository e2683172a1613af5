#include "gui/maint/frm_backups.h"

#include "core/app/app_state.h"
#include "gui/app/controls.h"
#include "gui/app/message_box.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace velmora::gui {

TfrmBackups::TfrmBackups(QWidget* parent)
    : QDialog(parent)
    , m_model(App().DataDir, App().DataFiles)
{
    setObjectName(QStringLiteral("frmBackups"));
    setWindowTitle(Q(kBackupCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(460, 330);
    QLabel* heading = MakeLabel(this, "lblHeading", Q(m_model.Heading()), 8, 6, 444, 36);
    heading->setWordWrap(true);
    m_lstSets = new QListWidget(this);
    m_lstSets->setObjectName(QStringLiteral("lstSets"));
    m_lstSets->setGeometry(8, 46, 444, 242);
    m_btnRestore = MakeButton(this, "btnRestore", QStringLiteral("戻す(&R)"), 266, 296, 90, 26);
    QPushButton* close = MakeButton(this, "btnClose", QStringLiteral("閉じる"), 362, 296, 90, 26);
    connect(m_btnRestore, &QPushButton::clicked, this, &TfrmBackups::OnRestore);
    connect(close, &QPushButton::clicked, this, &TfrmBackups::accept);
    connect(m_lstSets, &QListWidget::currentRowChanged, this,
            [this](int row) { m_btnRestore->setEnabled(m_model.CanRestore(row)); });
    ShowModel();
}

void TfrmBackups::ShowModel()
{
    m_lstSets->clear();
    for (const std::u16string& row : m_model.Rows())
        m_lstSets->addItem(Q(row));
    m_lstSets->setCurrentRow(m_model.CanRestore(0) ? 0 : -1);
    m_btnRestore->setEnabled(m_model.CanRestore(m_lstSets->currentRow()));
}

void TfrmBackups::OnRestore()
{
    const std::u16string message = m_model.Restore(
        m_lstSets->currentRow(), [this](std::u16string_view q) { return MessageBox::Confirm(this, Q(q)); });
    ShowModel();
    if (!message.empty())
        MessageBox::Show(this, Q(message));
}

} // namespace velmora::gui
