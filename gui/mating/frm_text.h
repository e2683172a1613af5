#pragma once
// The ranked text list: one list of the optimal-mating window, in the order and with the
// compatibility values that window holds, printed as fixed-width text by the core's list builder,
// with the columns and widths kept in the settings file; saved to and loaded from text files.

#include "core/mating/ordering.h"
#include "core/mating/text_list.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace velmora::gui {

class TfrmText : public QDialog
{
    Q_OBJECT
public:
    TfrmText(const TextListSource& source, QWidget* parent = nullptr);

private:
    void BuildLayout();
    TextListKind Kind() const;
    void ReadSettings();
    TextListSettings CurrentSettings();
    void OnShow();
    void OnSave();
    void OnLoad();
    std::vector<QCheckBox*>& Columns() { return m_source.stallions ? m_dadColumns : m_mamColumns; }

    TextListSource m_source;
    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblName = nullptr;
    QPushButton* m_btnShow = nullptr;
    QPushButton* m_btnClose = nullptr;
    QPushButton* m_btnSave = nullptr;
    QPushButton* m_btnLoad = nullptr;
    QLineEdit* m_edit1 = nullptr; // 最大出力順位
    QLineEdit* m_edit2 = nullptr; // 折返し文字数
    QLineEdit* m_edit3 = nullptr; // 馬名文字数
    QGroupBox* m_grpDad = nullptr;
    QGroupBox* m_grpMam = nullptr;
    std::vector<QCheckBox*> m_dadColumns; // in caption order; the name box is element 1
    std::vector<QCheckBox*> m_mamColumns;
    QPlainTextEdit* m_memo = nullptr;
    std::vector<std::u16string> m_lines;
};

} // namespace velmora::gui
