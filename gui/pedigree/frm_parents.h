#pragma once
// TfrmParents, the pedigree viewer (血統ビューア): a pedigree formula read as a chain along the
// tail-female line, five entries at a time drawn as a four-generation chart of male ancestors with
// the mating's evaluation, stepped with ">>" and "<<". The window lays out the controls, forwards the
// user's actions to the core's PedigreeViewer and paints what it returns.
//
// Opened from the main window (empty formula) and from the search results window: that one sets
// App().ViewFromResults, puts the chosen result line on the clipboard, creates the viewer (which shows
// the clipboard's formula at once), lets its formula chooser read the result lines it holds
// (SetChooserModel), fits it and runs it modally.

#include "core/pedigree/viewer_model.h"

#include <QDialog>

#include <array>

class QAbstractItemModel;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace velmora::gui {

class KeptSelection;
class TShape;

class TfrmParents : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmParents(QWidget* parent = nullptr);

    // Makes `lines` the formula box's item list (selecting an item shows it) and marks row `selected`
    // (-1 for none) as the current one. The box reads the lines from that model, shared with its owner
    // and not copied, also as it grows. Reads nothing: the formula already shown stays in the box with
    // its selection.
    void SetChooserModel(QAbstractItemModel* lines, int selected);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    void BuildChartBox(bool dadSide, int position);
    void BuildPanels();

    // Commands.
    void ShowFormula();
    void StepRight();
    void StepLeft();
    void ToggleColourMode();
    void OnAlias();
    void OnHtml();
    void OnLabelClicked(int entry);
    void OnLabelDoubleClicked(int entry);
    void OnReplacementChosen(const QString& name);
    void HidePopups();

    // Painting the model's state.
    void Paint();
    void PaintLegend();
    QLabel* EntryLabelWidget(int entry) const;

    PedigreeViewer m_model;

    QComboBox* m_cmbParents = nullptr;
    KeptSelection* m_kept = nullptr;
    QPushButton* m_btnRight = nullptr;
    QPushButton* m_btnLeft = nullptr;

    // One name box per position: [0..15] on the stallion side, [1..15] on the mare side.
    struct ChartBox
    {
        TShape* box = nullptr;
        QLabel* name = nullptr;
        TShape* kokaA = nullptr;
        TShape* kokaB = nullptr;
        QLabel* effectA = nullptr;
        QLabel* effectB = nullptr;
        TShape* inb = nullptr;
    };
    std::array<ChartBox, 16> m_dad;
    std::array<ChartBox, 16> m_mam;

    std::array<QLabel*, 6> m_panels {}; // 面白, 見事, 良でき, Nix値, 危険, クロス
    std::array<QLabel*, 17> m_lblCrs {};
    std::array<QLineEdit*, 17> m_edtCrs {};
    QLabel* m_lblNitroSp = nullptr;
    QLabel* m_lblNitroSt = nullptr;
    QLineEdit* m_edtNitroSp = nullptr;
    QLineEdit* m_edtNitroSt = nullptr;
    QGroupBox* m_grpColor = nullptr;
    std::array<QLabel*, 16> m_lblCol {};

    QPlainTextEdit* m_memDStatus = nullptr;
    QComboBox* m_cmbParent = nullptr;
    int m_replaceEntry = 0; // the entry the replacement list was opened for
    bool m_filling = false; // the window fills its own name boxes: their change handlers stay quiet
};

} // namespace velmora::gui
