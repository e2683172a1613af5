#pragma once
// TfrmAlias, the alias registration dialog (別名の登録): maps a name that a pedigree formula uses but the
// data do not know onto a registered stallion or broodmare, writes the pair into ALIAS.TXT in the
// start folder and, when the name is still selected in the opener's formula box, replaces it there by
// the registered name.
//
// Opener's steps: run it with ExecAliasDialog, then show the formula again whatever the result:
//
//     KeptSelection* kept = new KeptSelection(formulaEdit); // once, when the opener is built
//     ...
//     ExecAliasDialog(candidate, AliasTargetOf(*kept), this);
//     ShowFormula();

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace velmora::gui {

class KeptSelection;

// The opener's formula box as the dialog sees it.
struct AliasTarget
{
    // The text selected in the formula box now (or when it lost the focus to the opener's button).
    std::function<QString()> selectedText;
    // Replaces that selection; called only when the selected text equals the registered alias.
    std::function<void(const QString&)> replaceSelection;
};

// The formula box behind a KeptSelection (see kept_selection.h).
AliasTarget AliasTargetOf(KeptSelection& box);

// Creates the dialog over opener, fits it, runs it modally and deletes it.
void ExecAliasDialog(const QString& alias, AliasTarget target, QWidget* opener);

class TfrmAlias : public QDialog
{
    Q_OBJECT
public:
    // alias: the text edtAlias starts with (the viewer's alias candidate, the editor's selection).
    TfrmAlias(const QString& alias, AliasTarget target, QWidget* parent = nullptr);

private:
    void OnOk();

    AliasTarget m_target;
    QLineEdit* m_edtAlias = nullptr;
    QComboBox* m_cmbAlias = nullptr;
    QPushButton* m_btnOK = nullptr;
    QPushButton* m_btnCancel = nullptr;
};

} // namespace velmora::gui
