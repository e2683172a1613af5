#pragma once
// The data editing window "各種データの変更": seven pages that register, update and delete the rows of
// the master data and write each change to its file at once. The window lays out the controls, hands
// every change to the core model (DataEditor) and shows the model's texts; what a change fills in and
// what a press stores live in core/maint.

#include "core/maint/data_editor.h"
#include "core/mating/foal_registration.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QColorDialog;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace velmora::gui {

class TfrmMakeData : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmMakeData(QWidget* parent = nullptr);
    ~TfrmMakeData() override;

    // The entry used to register a planned foal: its page made active and entered, then filled in as
    // the user would type it (PrefillFoal).
    void RegisterFoal(const FoalEntry& entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The close box: the result follows DataChanged, as with "戻る".
    void reject() override;

private:
    // One horse page's controls (index = ancestor position, [0] unused).
    struct HorsePage
    {
        QWidget* page = nullptr;
        QComboBox* name = nullptr;
        std::array<QLineEdit*, 16> sosen {};
        QComboBox* floating = nullptr;
        QComboBox* dam = nullptr;
        QComboBox* origin = nullptr;
        QComboBox* keito = nullptr;
        QComboBox* keiro = nullptr;
        QLineEdit* fee = nullptr;
        QLineEdit* speed = nullptr; // broodmare page
        QLineEdit* stamina = nullptr; // broodmare page
        QComboBox* distance1 = nullptr; // stallion page
        QComboBox* distance2 = nullptr; // stallion page
        std::array<std::vector<QRadioButton*>, kChoiceCount> choices; // stallion page
    };

    // Layout.
    void BuildLayout();
    void BuildHorsePage(HorsePage& p, bool stallion);
    void BuildStallionExtras(HorsePage& p);
    void BuildOyaPage();
    void BuildCrossPage();
    void BuildKeitoPage();
    void BuildOmokeiPage();
    void BuildKeiroPage();
    void BuildCommands();
    void ConnectHorsePage(HorsePage& p, bool stallion);
    void ConnectOtherPages();
    // A field whose change does nothing more: what the user changes goes straight into target.
    void Bind(QComboBox* box, std::u16string& target);
    void Bind(QLineEdit* field, std::u16string& target);

    // Showing the model.
    void PageControl1Change();
    void ShowPage();
    EditPage CurrentPage() const;
    void FillLists();
    void ShowHorse(bool stallion);
    void ShowOya();
    void ShowCross();
    void ShowKeito();
    void ShowOmokei();

    // The floating ancestor list of a horse page.
    void ShowFloating(bool stallion, int k);
    void HideFloating(bool stallion, bool commit);

    // Commands.
    void OnOK();
    void OnDelete();
    void OnCancel();
    void OnInputMode(bool kana);
    void ApplyPress(const PressResult& result);
    // The "確認" box of the presses.
    Confirm Asker();
    void PickColour(QLineEdit* field, uint32_t& colour);

    // A change handler runs the work unless the window is filling its own controls; a core error is shown.
    void Handle(const std::function<void()>& work);

    std::unique_ptr<DataEditor> m_model;
    bool m_filling = false; // the window fills its own controls: change handlers stay quiet
    bool m_hidingFloating = false;
    bool m_noFloating = false; // a field takes the focus back without opening the floating list
    int m_activeField = 0; // ActiveField: the field the floating list edits

    QTabWidget* m_pages = nullptr;
    HorsePage m_mam;
    HorsePage m_dad;
    QComboBox* m_cmbSName = nullptr;
    QComboBox* m_cmbKoka1 = nullptr;
    QComboBox* m_cmbKoka2 = nullptr;
    QComboBox* m_cmbKei = nullptr;
    std::array<QLineEdit*, 17> m_edtKoka {};
    QComboBox* m_cmbKeito = nullptr;
    QComboBox* m_cmbOmo = nullptr;
    std::array<QLineEdit*, 17> m_edtOmo {};
    std::array<QLineEdit*, 17> m_edtLbl {};
    QComboBox* m_cmbKeiro = nullptr;
    QColorDialog* m_cldKoka = nullptr;
    QRadioButton* m_imeKana = nullptr;
    QRadioButton* m_imeOff = nullptr;
    QPushButton* m_btnOK = nullptr;
    QPushButton* m_btnDelete = nullptr;
    QPushButton* m_btnCancel = nullptr;
};

} // namespace velmora::gui
