#pragma once
// The optimal-mating window: the filtered and ordered stallion and broodmare lists, both pedigrees of
// the chosen pair with their crosses, the evaluation of the pair and its compatibility value, the
// colour legend, the partner search by marked ancestors, the point-table chooser and the commands.
// The window lays out the controls (velmora_layout.cpp), forwards every user action to the core's
// MatingWindowModel and paints what it reports; the two list sides share one set of functions.

#include "core/mating/mating_window.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <vector>

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

    const MatingWindowModel& Model() const { return *m_model; }
    const std::vector<ListRow>& StallionList() const { return m_model->Stallions().Rows(); }
    const std::vector<ListRow>& MareList() const { return m_model->Mares().Rows(); }
    const DadFatherRec& DadArray() const { return m_model->DadArray(); }
    const MamFatherRec& MamArray() const { return m_model->MamArray(); }
    bool ColorMode() const { return m_model->ColourMode(); }
    bool DadMark(int k) const { return m_model->Stallions().Marked(k); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The controls of one list side (index = pedigree position; position 0 only on the stallion side).
    struct SideControls
    {
        QComboBox* name = nullptr;
        QLabel* counter = nullptr;
        std::array<QToolButton*, 3> sort {}; // by ListSort
        QPushButton* list = nullptr; // 一覧表示
        QPushButton* all = nullptr; // 全頭
        std::vector<std::vector<QToolButton*>> filters; // by the model's filter group
        std::vector<QLabel*> attributes; // in the model's order
        std::array<QLabel*, 16> sosen {};
        std::array<QLabel*, 16> kokaA {};
        std::array<QLabel*, 16> kokaB {};
        std::array<TShape*, 16> shapeA {};
        std::array<TShape*, 16> shapeB {};
        std::array<TShape*, 16> marker {};
        QMenu* popup = nullptr;
    };
    SideControls& Controls(SideKind k) { return m_sides[k == SideKind::Stallion ? 0 : 1]; }
    // The properties of an ancestor label: its pedigree position and its side.
    static constexpr char kPositionProperty[] = "pedigreePosition";
    static constexpr char kSideProperty[] = "pedigreeSide";

    // Layout (velmora_layout.cpp).
    void BuildLayout();
    QGroupBox* BuildSide(SideKind k);
    void BuildStallionGroup();
    void BuildMareGroup();
    void BuildPedigreeRows(SideKind k, QGroupBox* box);
    void BuildBottom();
    // Widens the counters, the star rank and the distances to their widest texts in the window's font.
    void ArrangeRows();

    // Connects a side's controls to the model.
    void ConnectSide(SideKind k);
    // Forwards a change to the model (its errors become a message) and repaints what it reports.
    bool Apply(const std::function<void(MatingWindowModel&)>& change);
    void Paint(unsigned changes);
    void PaintSide(SideKind k, unsigned changes);
    void PaintButtons(SideKind k);
    void PaintPanel(SideKind k);
    void PaintMarks();
    void PaintPair();
    void PaintLegend();
    void PaintChooser();
    void PaintCaptions();

    void OnAncestorClicked(SideKind k, int position, Qt::MouseButton button, const QPoint& globalPos);
    void OnEditPoints();
    void OnRegisterFoal(bool stallion);
    void OnListDisplay(SideKind k);
    void OnHtml();

    std::unique_ptr<MatingWindowModel> m_model;
    std::array<SideControls, 2> m_sides;
    QLabel* m_lblDRare = nullptr;
    QLabel* m_lblDisTo = nullptr; // "～" between the distances

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

    // Legend, point table, commands.
    QGroupBox* m_grpColor = nullptr;
    std::array<QLabel*, 16> m_lblCol {};
    QComboBox* m_cmbFile = nullptr;
    QPushButton* m_btnPoints = nullptr;
    QPushButton* m_btnMamReg = nullptr;
    QPushButton* m_btnDadReg = nullptr;
    QPushButton* m_btnHtml = nullptr;
    QPushButton* m_btnEnd = nullptr;

    bool m_filling = false; // the window paints its own controls: their change signals stay quiet
};

} // namespace velmora::gui
