#pragma once
// TfrmResults, the results window of the strongest-mating search: the search runs on the engine's
// worker threads from the window's first paint, while the window shows its progress and lists its
// results; afterwards a result opens in the pedigree viewer, and the list can be saved as text.
//
// The engine's calls run on the window's thread through the core's ResultsWindowModel, batch by batch;
// the window redraws the list, the bar and the buttons at most twice per 40 ms while it runs. The list is a view of
// the model's lines (no widget item per line). Closing the window stops the workers and waits for
// them before the window goes, so nothing reports into a destroyed window.

#include "core/data/master_data.h"
#include "core/search/results_window.h"
#include "core/search/search_engine.h"

#include <QAbstractListModel>
#include <QDialog>
#include <QElapsedTimer>

#include <memory>

class QLabel;
class QListView;
class QProgressBar;
class QPushButton;
class QTimer;

namespace velmora::gui {

// The result lines of a search as a list model: rows are added as the search reports them.
class ResultListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    ResultListModel(const search::ResultLines& lines, QObject* parent);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Shows the lines added since the last call.
    void Grow();

private:
    const search::ResultLines& m_lines;
    int m_rows = 0;
};

class TfrmResults : public QDialog
{
    Q_OBJECT
public:
    TfrmResults(MasterData& data, const search::SearchConditions& conditions, QWidget* parent = nullptr);
    ~TfrmResults() override;

    const search::ResultsWindowModel& Model() const { return m_model; }
    // The leaves counted so far (progress steps times the leaves per step), and the seconds since the start.
    int64_t CountedLeaves() const;
    double Seconds() const;

public slots:
    // The frame, Esc and 戻る: the workers are told to stop; the window closes at once.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildLayout();
    void StartSearch();
    // Runs the engine's queued calls, then repaints once.
    void Pump();
    void Paint();
    void PaintRate();
    void OnView();
    void OnSave();
    int SelectedRow() const;

    MasterData& m_data;
    search::SearchConditions m_conditions;
    search::ResultsWindowModel m_model;
    std::unique_ptr<search::SearchEngine> m_engine;
    bool m_searchStart = true;
    QElapsedTimer m_clock;
    double m_seconds = 0;

    QProgressBar* m_progBer = nullptr;
    QLabel* m_lblRate = nullptr;
    QPushButton* m_btnAbort = nullptr;
    QPushButton* m_btnExit = nullptr;
    QPushButton* m_btnView = nullptr;
    QPushButton* m_btnSave = nullptr;
    QLabel* m_pnlResult = nullptr;
    QListView* m_lstResults = nullptr;
    ResultListModel* m_list = nullptr;
    QTimer* m_rateTimer = nullptr;
    QTimer* m_paintTimer = nullptr;
};

} // namespace velmora::gui
