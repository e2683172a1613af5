#pragma once
// The point-table editor: every value of the current compatibility point table in an edit field, a
// chooser that makes another saved table current at once, and saving under a setting name chosen in
// the small save dialog. The editor works on the process-wide PointTable directly.

#include <QDialog>

#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace velmora::gui {

// "相性条件の保存": the setting name to save under.
class TfrmSaveAs : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSaveAs(QWidget* parent = nullptr);
    // The text of the name box as typed or chosen.
    QString SettingName() const;
    QComboBox* NameBox() const { return m_cmbFile; }

private:
    QComboBox* m_cmbFile = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_btnOk = nullptr;
    QPushButton* m_btnCancel = nullptr;
};

class TfrmPoints : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPoints(QWidget* parent = nullptr);

private:
    void BuildLayout();
    void ShowTable();
    void StoreFields();
    void OnChoose(int index);
    void OnSave();

    QComboBox* m_cmbFile = nullptr;
    QPushButton* m_btnSave = nullptr;
    QPushButton* m_btnCancel = nullptr;
    QTabWidget* m_pages = nullptr;
    // 配合 page.
    std::array<QLineEdit*, 11> m_haigo {}; // edtDokei .. edtOutB, in VelmoraHaigoRec order
    std::array<QLineEdit*, 17> m_crs {}; // edtCrs1..16
    std::array<QLabel*, 17> m_lblCrs {};
    std::array<QLineEdit*, 17> m_kosei {}; // edtKosei1..16
    std::array<QLabel*, 17> m_lblKosei {};
    std::array<QLineEdit*, 8> m_cross {}; // edtCross1..7
    std::array<QLineEdit*, 17> m_oyani {}; // edtOyani1..16
    std::array<QLabel*, 17> m_lblOyani {};
    // Status pages, in the order of the table's status arrays.
    std::vector<QLineEdit*> m_dstatus; // Edit36..Edit66, Edit106, Edit107
    std::vector<QLineEdit*> m_mstatus; // Edit7..Edit18
    QComboBox* m_dcolor = nullptr; // ComboBox2
    QComboBox* m_mcolor = nullptr; // ComboBox1
};

} // namespace velmora::gui
