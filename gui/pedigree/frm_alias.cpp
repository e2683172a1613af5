#include "gui/pedigree/frm_alias.h"

#include "core/app/app_state.h"
#include "core/data/alias.h"
#include "core/data/master_data.h"
#include "core/mating/ordering.h"
#include "core/pedigree/alias_dialog.h"
#include "gui/app/controls.h"
#include "gui/app/fit_form.h"
#include "gui/app/kana_input.h"
#include "gui/app/message_box.h"
#include "gui/app/modal.h"
#include "gui/app/name_box.h"
#include "gui/pedigree/kept_selection.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmora::gui {

namespace {

constexpr int kClientWidth = 314;
constexpr int kClientHeight = 110;

} // namespace

AliasTarget AliasTargetOf(KeptSelection& box)
{
    return AliasTarget { [&box] { return box.SelectedText(); },
                         [&box](const QString& text) { box.ReplaceSelection(text); } };
}

void ExecAliasDialog(const QString& alias, AliasTarget target, QWidget* opener)
{
    TfrmAlias dialog(alias, std::move(target), opener);
    FitForm(&dialog);
    ExecModal(&dialog);
}

TfrmAlias::TfrmAlias(const QString& alias, AliasTarget target, QWidget* parent)
    : QDialog(parent)
    , m_target(std::move(target))
{
    setObjectName(QStringLiteral("frmAlias"));
    setWindowTitle(QStringLiteral("別名の登録"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    resize(kClientWidth, kClientHeight);
    setFixedSize(kClientWidth, kClientHeight);

    MakeLabel(this, "lblAlias", QStringLiteral("登録する文字"), 8, 8, 132, 16);
    m_edtAlias = new QLineEdit(alias, this);
    m_edtAlias->setObjectName(QStringLiteral("edtAlias"));
    m_edtAlias->setGeometry(8, 26, 132, 24);
    FoldTypedKana(m_edtAlias);
    MakeLabel(this, "lblArrow", QStringLiteral("→"), 144, 30, 20, 16);
    MakeLabel(this, "lblName", QStringLiteral("読み替える馬名"), 166, 8, 140, 16);
    m_cmbAlias = MakeComboBox(this, "cmbAlias", 166, 26, 140, 24);
    std::vector<std::u16string> names = AliasTargetNames(Master());
    SortHorseNames(names);
    for (const std::u16string& n : names)
        m_cmbAlias->addItem(Q(n));
    m_cmbAlias->setCurrentIndex(-1);
    KeepExactNames(m_cmbAlias);

    m_btnOK = MakeButton(this, "btnOK", QStringLiteral("ＯＫ(&A)"), 54, 72, 96, 28);
    m_btnOK->setDefault(true);
    m_btnCancel = MakeButton(this, "btnCancel", QStringLiteral("ｷｬﾝｾﾙ(&C)"), 164, 72, 96, 28);
    connect(m_btnOK, &QPushButton::clicked, this, &TfrmAlias::OnOk);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAlias::OnOk()
{
    const QString alias = m_edtAlias->text();
    const QString chosen = m_cmbAlias->currentText();
    const QString selected = m_target.selectedText ? m_target.selectedText() : QString();
    AliasOkResult r;
    try {
        r = AliasDialogOk(Master(), AliasFilePath(App().StartDir), alias.toStdU16String(), chosen.toStdU16String(),
                          selected.toStdU16String());
    } catch (const std::exception& e) {
        MessageBox::Show(this, QString::fromUtf8(e.what()));
        return;
    }
    if (!r.message.empty())
        MessageBox::Show(this, Q(r.message));
    if (r.focusAlias)
        m_edtAlias->setFocus();
    if (!r.close)
        return;
    if (r.replaceSelection && m_target.replaceSelection)
        m_target.replaceSelection(chosen);
    accept();
}

} // namespace velmora::gui
