#pragma once
// TfrmDravik, the search conditions window (Dravik配合検索ツール): how many generations to search, the
// candidate broodmares and stallions of each generation, the mating, foal and ancestor conditions,
// the candidate counters and the estimated number of leaves. The window lays out the controls,
// forwards every change to the core's ConditionsWindowModel and paints what it reports; 検索 runs the
// search in the results window (TfrmResults) while this window is hidden.
//
// The generation pages share one set of controls: the stallion, mating and foal groups below the tabs
// show the records of the chosen generation.

#include "core/search/conditions_window.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabBar;

namespace velmora::gui {

class ClickLabel;

class TfrmDravik : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmDravik(QWidget* parent = nullptr);
    ~TfrmDravik() override;

    const search::ConditionsWindowModel& Model() const { return *m_model; }

private:
    using WindowModel = search::ConditionsWindowModel;
    using NameOf = std::u16string_view (WindowModel::*)(int32_t) const;

    // Layout.
    void BuildLayout();
    void BuildTop();
    void BuildMamGroup();
    void BuildDadGroup();
    void BuildHaigoGroup();
    void BuildChildGroup();
    // The name box of a group, whose choice calls `choose` of the model, and beside it the "..." button
    // that calls `toggle` (the extended selection).
    QComboBox* BuildNameBox(QGroupBox* group, const char* name, int x, int width, void (WindowModel::*choose)(int),
                            const char* dotsName, void (WindowModel::*toggle)());
    // The extended selection of a group: every horse of `rows` (in that order) with its candidate
    // check; a click on a check calls `check` of the model.
    QListWidget* BuildCheckList(QGroupBox* group, const char* name, int x, int width, const std::vector<int32_t>& rows,
                                NameOf nameOf, void (WindowModel::*check)(int, bool));
    // A row of cross-effect bounds: name label, number box and direction label per effect, in
    // `columns` columns, inside the group box; the box of effect k calls set(k, value) of the model and
    // its direction label toggle(k).
    struct BoundRow
    {
        QLabel* name = nullptr;
        QSpinBox* box = nullptr;
        ClickLabel* ud = nullptr;
    };
    std::array<BoundRow, 17> BuildBounds(QGroupBox* group, const char* namePrefix, const char* boxPrefix,
                                         const char* udPrefix, search::BoxRange range, int top, int columns,
                                         int nameWidth, void (WindowModel::*set)(int, int),
                                         void (WindowModel::*toggle)(int));
    static void PaintBounds(const std::array<BoundRow, 17>& rows, const std::array<int32_t, 17>& bounds,
                            const std::array<bool, 17>& atLeast);

    // Forwards a change to the model (its errors become a message) and repaints what it reports.
    void Apply(const std::function<void(WindowModel&)>& change);
    // A slot that applies a function of the model to the signal's arguments.
    template <typename... Args> auto Forward(void (WindowModel::*change)(Args...));
    void Paint(unsigned changes);
    void PaintPages();
    void PaintMamPage();
    void PaintGenPage();
    void PaintMamList();
    void PaintDadList();
    void PaintCounters();
    void PaintLists();
    void PaintNitro();

    void OnSearch();

    std::unique_ptr<search::ConditionsWindowModel> m_model;

    // Top of the window.
    QComboBox* m_cmbMaxAge = nullptr;
    QLabel* m_pnlTotalNum = nullptr;
    QLineEdit* m_edtResult = nullptr;
    QPushButton* m_btnSearch = nullptr;
    QLabel* m_lblMamCtr = nullptr;
    std::array<QLabel*, 5> m_lblDadCtr {}; // [1..4] = Label2..Label5
    QTabBar* m_pageControl = nullptr;

    // Broodmare page.
    QGroupBox* m_grpMam = nullptr;
    QComboBox* m_cmbMamName = nullptr;
    QListWidget* m_clbMam = nullptr;
    QSpinBox* m_edtMamSp = nullptr;
    QSpinBox* m_edtMamSt = nullptr;
    std::array<BoundRow, 17> m_mamCrs {};
    QCheckBox* m_chkJika = nullptr;
    QCheckBox* m_chkTaka = nullptr;
    QCheckBox* m_chkNasi = nullptr;
    QCheckBox* m_chkAri = nullptr;

    // Stallion group.
    QGroupBox* m_grpDad = nullptr;
    QComboBox* m_cmbDadName = nullptr;
    QListWidget* m_clbDad = nullptr;
    QSpinBox* m_edtDadDis1 = nullptr;
    QSpinBox* m_edtDadDis2 = nullptr;
    QSpinBox* m_edtDadStar = nullptr;
    std::array<std::vector<QCheckBox*>, 7> m_dadBoxes; // by DadGroup, boxes 1.. at [0..]

    // Mating group.
    QGroupBox* m_grpHaigo = nullptr;
    std::array<QCheckBox*, 5> m_haigoBoxes {}; // by HaigoBox
    QComboBox* m_cmbDadNi = nullptr;
    QComboBox* m_cmbMamNi = nullptr;
    QSpinBox* m_edtNixBase = nullptr;
    std::array<BoundRow, 17> m_haigoCrs {};

    // Foal group.
    QGroupBox* m_grpChild = nullptr;
    std::array<BoundRow, 17> m_childCrs {};
    std::array<BoundRow, 3> m_nitro {}; // by NitroBound
    QLabel* m_lblSosen = nullptr;
    QListWidget* m_clbSosen = nullptr;

    bool m_filling = false; // the window paints its own controls: their change signals stay quiet
};

} // namespace velmora::gui
