#pragma once
// The pedigree editor: horses dragged from the stallion and broodmare lists onto a five-generation
// chart of sires, the chart drawn with effects, crosses and the mating rules, the formula of a
// complete chart, 表示 of a typed formula and suggestions on a right click. Created once for the whole
// run; chart, selections and formula box stay between openings. The logic lives in PedigreeEditor.

#include "core/pedigree/editor.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QMenu;
class QPlainTextEdit;

namespace velmora::gui {

class TFrameShape;
class THorseList;
class TShape;
class TSlotLabel;

class TfrmEditor : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmEditor(QWidget* parent = nullptr);

    const PedigreeEditor& Model() const { return m_model; }

    // What a drop on position k does (the labels' drop events call it): places the named horse from
    // the stallion or the broodmare list. False when the position refuses it or the name is unknown.
    bool DropHorse(int k, bool mare, const QString& name);
    // The right button released over position k at pos (label coordinates): the suggestion menu pops
    // up when the formula box is not empty and the position holds a registered horse.
    void OnSlotRightClick(int k, const QPoint& pos);
    QMenu* SuggestionMenu() const { return m_pumSearch; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    void BuildLists();
    void BuildChart();
    void BuildPanels();
    void FillLists();
    void ShowSelections();
    // Paints the model: list selections, chart, panels and formula box.
    void Redraw();
    // The formula box's text into the model before an operation, the model's back after it.
    void PullBox();
    void PushBox();

    void OnClear();
    void OnView();
    void OnAlias();
    void OnIndex(bool mare, std::u16string_view key);
    void OnListRow(bool mare, int row);

    // Runs an operation; a core error aborts it with a message and leaves the window running.
    void Guarded(const std::function<void()>& work);

    PedigreeEditor m_model;

    QPlainTextEdit* m_memSosen = nullptr;
    THorseList* m_lstDadName = nullptr;
    THorseList* m_lstMamName = nullptr;

    // Chart controls by position; [0] unused, the mare bars only at 1..15.
    std::array<TSlotLabel*, kChartPositions + 1> m_lblName {};
    std::array<TShape*, kChartPositions + 1> m_shpKokaa {};
    std::array<TShape*, kChartPositions + 1> m_shpKokab {};
    std::array<TFrameShape*, kChartPositions + 1> m_shpInb {};
    std::array<TFrameShape*, kChartPositions + 1> m_shpDDrop {};
    std::array<TFrameShape*, kChartMarePositions + 1> m_shpMDrop {};

    std::array<QLabel*, kLinePanels> m_pnlOmo {};
    std::array<QLabel*, kLinePanels> m_pnlKan {};
    std::array<QLabel*, kMigoPanels> m_pnlMigoA {};
    std::array<QLabel*, 11> m_pnlCol {}; // [1..10]
    TFrameShape* m_shpOmosiro = nullptr;
    TFrameShape* m_shpMigoto = nullptr;
    TFrameShape* m_shpYok = nullptr;
    TFrameShape* m_shpNix = nullptr;
    TFrameShape* m_shpCrs = nullptr;
    QLabel* m_pnlNix = nullptr;
    QLabel* m_pnlCrs = nullptr;
    QLabel* m_pnlNitSP = nullptr;
    QLabel* m_pnlNitST = nullptr;
    QMenu* m_pumSearch = nullptr;
    bool m_filling = false; // the window fills its own controls: change handlers stay quiet
};

} // namespace velmora::gui
