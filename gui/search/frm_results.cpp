#include "gui/search/frm_results.h"

#include "core/app/app_state.h"
#include "gui/app/controls.h"
#include "gui/app/file_dialogs.h"
#include "gui/app/fit_form.h"
#include "gui/app/fit_text.h"
#include "gui/app/message_box.h"
#include "gui/pedigree/frm_parents.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace velmora::gui {

namespace {

constexpr int kClientWidth = 600;
constexpr int kPaintIntervalMs = 40;
constexpr int kClientHeight = 440;

} // namespace

ResultListModel::ResultListModel(const search::ResultLines& lines, QObject* parent)
    : QAbstractListModel(parent)
    , m_lines(lines)
{
}

int ResultListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const
{
    // An editable combo box (the viewer's formula chooser) reads its items' texts as EditRole.
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid() || index.row() >= m_rows)
        return {};
    return Q(m_lines.Line(static_cast<size_t>(index.row())));
}

void ResultListModel::Grow()
{
    const int rows = static_cast<int>(std::min<size_t>(m_lines.Size(), static_cast<size_t>(INT32_MAX)));
    if (rows <= m_rows)
        return;
    beginInsertRows(QModelIndex(), m_rows, rows - 1);
    m_rows = rows;
    endInsertRows();
}

// ---------------------------------------------------------------------------------------------------

TfrmResults::TfrmResults(MasterData& data, const search::SearchConditions& conditions, QWidget* parent)
    : QDialog(parent)
    , m_data(data)
    , m_conditions(conditions)
    , m_model(search::PlanProgress(search::UpdateEstimate(conditions)))
{
    setObjectName(QStringLiteral("frmResults"));
    setProperty("helpContext", 75);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    BuildLayout();
    Paint();
}

TfrmResults::~TfrmResults()
{
    // Stops and joins the workers before anything they report into goes.
    m_engine.reset();
}

void TfrmResults::BuildLayout()
{
    m_progBer = new QProgressBar(this);
    m_progBer->setObjectName(QStringLiteral("ProgBer"));
    m_progBer->setGeometry(8, 8, 584, 22);
    m_progBer->setTextVisible(false);
    m_lblRate = MakeLabel(this, "lblRate", QString(), 8, 34, 380, 20);
    // Texts set while the search runs fit as their widest forms do.
    m_lblRate->setProperty(kFitSample, QStringLiteral("0000.0秒  0000000000件/秒"));

    m_btnAbort = MakeButton(this, "btnAbort", QStringLiteral("検索中止"), 8, 60, 96, 28);
    m_btnExit = MakeButton(this, "btnExit", QStringLiteral("戻る"), 110, 60, 96, 28);
    m_btnView = MakeButton(this, "btnView", QStringLiteral("血統表示"), 212, 60, 96, 28);
    m_btnSave = MakeButton(this, "btnSave", QStringLiteral("セーブ"), 314, 60, 96, 28);
    connect(m_btnAbort, &QPushButton::clicked, this, [this] {
        if (m_engine)
            m_engine->RequestStop();
    });
    connect(m_btnExit, &QPushButton::clicked, this, &TfrmResults::reject);
    connect(m_btnView, &QPushButton::clicked, this, [this] { OnView(); });
    connect(m_btnSave, &QPushButton::clicked, this, [this] { OnSave(); });

    MakeLabel(this, "Label1", QStringLiteral("検索結果数"), 392, 34, 110, 20);
    m_pnlResult = MakeLabel(this, "pnlResult", QString(), 504, 32, 88, 24);
    m_pnlResult->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pnlResult->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pnlResult->setProperty(kFitSample, QStringLiteral("0000000000"));

    m_list = new ResultListModel(m_model.Lines(), this);
    m_lstResults = new QListView(this);
    m_lstResults->setObjectName(QStringLiteral("lstResults"));
    m_lstResults->setGeometry(8, 96, 584, 336);
    m_lstResults->setModel(m_list);
    m_lstResults->setUniformItemSizes(true);
    m_lstResults->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_lstResults, &QListView::doubleClicked, this, [this] { OnView(); });

    // The elapsed time and the rate change even while no result comes.
    m_rateTimer = new QTimer(this);
    m_rateTimer->setInterval(250);
    connect(m_rateTimer, &QTimer::timeout, this, [this] { PaintRate(); });

    // Workers wake this thread up to a few thousand times a second; drawing the bar, the counter and
    // the list that often would take a core's time from them, so drawing waits for this timer.
    m_paintTimer = new QTimer(this);
    m_paintTimer->setSingleShot(true);
    m_paintTimer->setInterval(kPaintIntervalMs);
    connect(m_paintTimer, &QTimer::timeout, this, [this] { Paint(); });
}

void TfrmResults::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!m_searchStart)
        return;
    // The first paint starts the search, once the window is on the screen.
    m_searchStart = false;
    QTimer::singleShot(0, this, [this] { StartSearch(); });
}

void TfrmResults::StartSearch()
{
    m_engine = std::make_unique<search::SearchEngine>(m_data, m_conditions, m_model, [this] {
        // A worker's wake-up: the queued calls run on this window's thread.
        QMetaObject::invokeMethod(
            this, [this] { Pump(); }, Qt::QueuedConnection);
    });
    m_clock.start();
    // A search that cannot start ends at once: the window shows the end before the message.
    const bool started = MessageBox::ShowErrors(
        this, [this] { m_engine->Start(); },
        [this](const std::exception&) {
            m_engine.reset();
            m_model.SearchDone();
            Paint();
        });
    if (!started)
        return;
    m_rateTimer->start();
    Paint();
}

void TfrmResults::Pump()
{
    if (!m_engine)
        return;
    m_engine->ProcessPending();
    // The end of the search is drawn at once; batches while it runs at most twice per interval.
    if (!m_model.Searching() || !m_paintTimer->isActive()) {
        Paint();
        if (m_model.Searching())
            m_paintTimer->start();
    }
    if (const auto error = m_model.TakeError())
        MessageBox::Show(this, QString::fromUtf8(*error));
}

void TfrmResults::Paint()
{
    setWindowTitle(Q(m_model.Caption()));
    m_progBer->setRange(0, static_cast<int>(m_model.Range()));
    m_progBer->setValue(static_cast<int>(m_model.Position()));
    m_btnAbort->setEnabled(m_model.AbortEnabled());
    m_btnExit->setEnabled(m_model.ExitEnabled());
    m_list->Grow();
    m_pnlResult->setText(QString::number(m_model.Lines().Size()));
    if (!m_model.Searching() && m_rateTimer->isActive()) {
        m_rateTimer->stop();
        m_seconds = m_clock.isValid() ? m_clock.nsecsElapsed() / 1e9 : 0;
        PaintRate();
    }
}

int64_t TfrmResults::CountedLeaves() const
{
    if (m_engine && m_engine->Finished())
        return m_engine->Stats().countedLeaves;
    return m_model.Position() * m_model.StepDiv();
}

double TfrmResults::Seconds() const
{
    if (!m_model.Searching())
        return m_seconds;
    return m_clock.isValid() ? m_clock.nsecsElapsed() / 1e9 : 0;
}

void TfrmResults::PaintRate()
{
    if (!m_clock.isValid())
        return;
    m_lblRate->setText(Q(search::ResultsWindowModel::RateText(CountedLeaves(), Seconds())));
}

void TfrmResults::reject()
{
    if (m_engine)
        m_engine->RequestStop();
    QDialog::reject();
}

int TfrmResults::SelectedRow() const
{
    const QModelIndexList rows = m_lstResults->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TfrmResults::OnView()
{
    const int row = SelectedRow();
    const auto request = m_model.View(row);
    if (!request.message.empty()) {
        MessageBox::Show(this, Q(request.message));
        return;
    }
    QApplication::clipboard()->setText(Q(request.line));
    App().ViewFromResults = true;
    auto viewer = std::make_unique<TfrmParents>(this);
    viewer->SetChooserModel(m_list, row);
    FitForm(viewer.get());
    viewer->exec();
}

void TfrmResults::OnSave()
{
    const QString path = AskSaveFile(this, Q(search::kResultsFileName));
    if (path.isEmpty())
        return;
    MessageBox::ShowErrors(this, [&] { m_model.Save(path.toStdString()); });
}

} // namespace velmora::gui
