#pragma once
// The optimal-mating window: the filtered and ordered stallion and broodmare lists, both pedigrees of
// the chosen pair with their crosses, the evaluation of the pair and its compatibility value, the
// colour legend, the partner search by marked ancestors, the point-table chooser and the commands.
// The window only shows core state and calls core functions: filtering, scoring, ordering and the
// mating rules all live in core/mating and core/eval.

#include "core/data/records.h"
#include "core/mating/list_filter.h"
#include "core/mating/pair_display.h"

#include <QDialog>

#include <array>
#include <functional>
#include <vector>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QShowEvent;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace velmora::gui {

class TShape;

class TfrmVelmora : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmVelmora(QWidget* parent = nullptr);
    ~TfrmVelmora() override;

    const std::vector<ListRow>& StallionList() const { return m_stallionList; }
    const std::vector<ListRow>& MareList() const { return m_mareList; }
    const DadFatherRec& DadArray() const { return m_dadArray; }
    const MamFatherRec& MamArray() const { return m_mamArray; }
    bool ColorMode() const { return m_colorMode; }
    bool DadMark(int k) const { return m_dadMarks[static_cast<size_t>(k)]; }
    bool MamMark(int k) const { return m_mamMarks[static_cast<size_t>(k)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Layout.
    void BuildLayout();
    void BuildStallionGroup();
    void BuildMareGroup();
    void BuildBottom();
    void BuildPedigreeRows(QGroupBox* box, bool dadSide);
    // Widens the counters, the star rank and the distances to their widest texts in the window's font.
    void ArrangeRows();

    // Lists.
    StallionFilter CurrentStallionFilter() const;
    MareFilter CurrentMareFilter() const;
    void BuildStallionList();
    void BuildMareList();
    void OrderStallions();
    void OrderMares();
    void RefillDadCombo();
    void RefillMamCombo();
    void UpdateOrderFonts();
    void OnFilterClicked(QToolButton* button, const std::vector<QToolButton*>& group, bool dadSide);
    void PressAllDad();
    void PressAllMam();

    // Choosing and showing.
    void ChooseStallion();
    void ChooseMare();
    // Resets a side; keepText leaves a typed name that matched no horse in the box.
    void ClearStallion(bool keepText = false);
    void ClearMare(bool keepText = false);
    void ShowDadSide();
    void ShowMamSide();
    // Evaluates the arrays as they stand into m_display (the panels only when both horses are chosen).
    void EvaluatePair();
    void ShowEffects(const SlotDisplay& slot, QLabel* a, QLabel* b, TShape* shapeA, TShape* shapeB);
    void ShowPair();
    void UpdateCommands();
    void ShowLegend();
    void ToggleColorMode();
    void OnAncestorClicked(bool dadSide, int k, Qt::MouseButton button, const QPoint& globalPos);
    void ChoosePartnerByName(bool dadSide, const QString& name);

    // Point table and commands.
    void ListChooser();
    void OnPointFileChosen(int index);
    void OnEditPoints();
    void OnRegisterFoal(bool stallion);
    // Both lists rebuilt with every filter down under the current point table, and the pair shown again.
    void RebuildForNewTable();
    void OnListDisplay(bool stallionList);
    void OnHtml();

    // Runs an operation; a core error aborts it with a message and leaves the window running.
    void Guarded(const std::function<void()>& work);

    // Stallion group.
    QComboBox* m_cmbDad = nullptr;
    QLabel* m_sttDad = nullptr;
    QLabel* m_lblBirth = nullptr;
    QLabel* m_lblDKeito = nullptr;
    QLabel* m_lblDKeiro = nullptr;
    QLabel* m_lblDRare = nullptr;
    QLabel* m_lblDis1 = nullptr;
    QLabel* m_lblDis2 = nullptr;
    QLabel* m_lblDisTo = nullptr; // "～" between the distances
    QLabel* m_lblDirt = nullptr;
    QLabel* m_lblGrow = nullptr;
    QLabel* m_lblKisho = nullptr;
    QLabel* m_lblKonjo = nullptr;
    QLabel* m_lblKenko = nullptr;
    QLabel* m_lblJisseki = nullptr;
    QLabel* m_lblAntei = nullptr;
    QToolButton* m_btnDadFee = nullptr;
    QToolButton* m_btnDadName = nullptr;
    QToolButton* m_btnDadAisho = nullptr;
    QPushButton* m_btnDadList = nullptr;
    std::vector<QToolButton*> m_dadOrigin; // 内国, 外国, 無印, 自家
    std::vector<QToolButton*> m_dadStar; // bands 1..5
    std::vector<QToolButton*> m_dadGrow; // 普, 早, 晩, 持
    std::vector<QToolButton*> m_dadDirt; // ◎, ○, △
    std::array<std::vector<QToolButton*>, 5> m_dadGrade; // 気, 底, 体, 実, 安 × A, B, C
    QPushButton* m_btnDadAll = nullptr;

    // Mare group.
    QComboBox* m_cmbMam = nullptr;
    QLabel* m_sttMam = nullptr;
    QLabel* m_lblMotikomi = nullptr;
    QLabel* m_lblMkeito = nullptr;
    QLabel* m_lblMKeiro = nullptr;
    QLabel* m_lblMFee = nullptr;
    QLabel* m_lblSpeed = nullptr;
    QLabel* m_lblStamina = nullptr;
    QToolButton* m_btnMamFee = nullptr;
    QToolButton* m_btnMamName = nullptr;
    QToolButton* m_btnMamAisho = nullptr;
    QPushButton* m_btnMamList = nullptr;
    std::vector<QToolButton*> m_mamPrice; // bands 1..4
    QToolButton* m_btnMamJika = nullptr;
    std::vector<QToolButton*> m_mamSp; // 高, 中, 低
    std::vector<QToolButton*> m_mamSt; // 高, 中, 低
    QPushButton* m_btnMamAll = nullptr;

    // Pedigree panels: index = position (0 only on the stallion side).
    std::array<QLabel*, 16> m_dSosen {};
    std::array<QLabel*, 16> m_dKokaA {};
    std::array<QLabel*, 16> m_dKokaB {};
    std::array<TShape*, 16> m_shpDKokaA {};
    std::array<TShape*, 16> m_shpDKokaB {};
    std::array<TShape*, 16> m_shpDInb {};
    std::array<QLabel*, 16> m_mSosen {};
    std::array<QLabel*, 16> m_mKokaA {};
    std::array<QLabel*, 16> m_mKokaB {};
    std::array<TShape*, 16> m_shpMKokaA {};
    std::array<TShape*, 16> m_shpMKokaB {};
    std::array<TShape*, 16> m_shpMInb {};

    // Evaluation.
    TShape* m_shpOmo = nullptr;
    QLabel* m_lblOmo = nullptr;
    TShape* m_shpMig = nullptr;
    QLabel* m_lblMig = nullptr;
    TShape* m_shpYok = nullptr;
    QLabel* m_lblYok = nullptr;
    TShape* m_shpKiken = nullptr;
    QLabel* m_lblKiken = nullptr;
    TShape* m_shpCrs = nullptr;
    QLabel* m_lblCrs = nullptr;
    TShape* m_shpNix = nullptr;
    QLabel* m_lblNix = nullptr;
    QLabel* m_sttNitSP = nullptr;
    QLabel* m_sttNitST = nullptr;
    QLabel* m_lblPoint = nullptr;

    // Legend, point table, commands, popups.
    QGroupBox* m_grpColor = nullptr;
    std::array<QLabel*, 16> m_lblCol {};
    QComboBox* m_cmbFile = nullptr;
    QPushButton* m_btnPoints = nullptr;
    QPushButton* m_btnMamReg = nullptr;
    QPushButton* m_btnDadReg = nullptr;
    QPushButton* m_btnHtml = nullptr;
    QPushButton* m_btnEnd = nullptr;
    QMenu* m_pumDadInb = nullptr;
    QMenu* m_pumMamInb = nullptr;

    // State.
    std::vector<ListRow> m_stallionList;
    std::vector<ListRow> m_mareList;
    int m_dadRow = -1; // chosen row of the stallion list, -1 = none
    int m_mamRow = -1;
    DadFatherRec m_dadArray {};
    MamFatherRec m_mamArray {};
    int32_t m_dadFee = 0; // star rank of the chosen stallion
    PairDisplay m_display; // what the window shows for the arrays
    std::array<bool, 16> m_dadMarks {};
    std::array<bool, 16> m_mamMarks {};
    bool m_colorMode = true;
    bool m_filling = false; // the window fills its own controls: change handlers stay quiet
};

} // namespace velmora::gui
