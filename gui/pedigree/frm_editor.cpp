#include "gui/pedigree/frm_editor.h"

#include "core/app/app_state.h"
#include "core/app/fit.h"
#include "core/data/alias.h"
#include "core/data/master_data.h"
#include "gui/app/controls.h"
#include "gui/app/filling.h"
#include "gui/app/fit_text.h"
#include "gui/app/kana_input.h"
#include "gui/app/line_breaks.h"
#include "gui/app/message_box.h"
#include "gui/app/shape.h"
#include "gui/pedigree/editor_widgets.h"
#include "gui/pedigree/frm_alias.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QToolButton>

#include <algorithm>
#include <bit>
#include <span>

namespace velmora::gui {

namespace {

constexpr int kClientWidth = 759;
constexpr int kClientHeight = 478;

// The chart: five columns of generations, generation 5 one row per position.
constexpr int kChartLeft = 176;
constexpr int kColumnWidth = 84;
constexpr int kColumnStep = 86;
constexpr int kChartTop = 96;
constexpr int kRowHeight = 23;
constexpr int kPanelLeft = kChartLeft + 5 * kColumnStep; // the 面 / 系 / 見 columns
constexpr int kRightLeft = 680; // rule panels, effect labels, nitro

// Captions and hints are written with CR LF line breaks.
QString Lines(std::u16string_view s)
{
    QString q = Q(s);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return q;
}

// The chart's dense text: 9 points on the 600-line layout, smaller in proportion on a lower one (the
// controls shrink with the layout, the window's own font does not).
QFont SmallFont()
{
    return DenseFont(9);
}

QString NumberedName(const char* prefix, int n)
{
    return QString::fromLatin1(prefix) + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// A label of the chart's text; names and captions are never read as rich text.
QLabel* ChartLabel(QWidget* parent, const QString& name, const QString& text, const QRect& r)
{
    QLabel* l = MakeLabel(parent, nullptr, text, r.x(), r.y(), r.width(), r.height());
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setFont(SmallFont());
    return l;
}

// A small sunken panel showing a value.
QLabel* MakePanel(QWidget* parent, const QString& name, const QString& text, const QRect& r)
{
    QLabel* l = ChartLabel(parent, name, text, r);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

TFrameShape* MakeFrame(QWidget* parent, const QString& name, uint32_t bgr, int penWidth, const QRect& r)
{
    auto* s = new TFrameShape(bgr, penWidth, parent);
    s->setObjectName(name);
    s->setGeometry(r);
    return s;
}

// The box of chart position k: its column by generation, its rows by the generation-5 rows it spans.
QRect SlotRect(int k)
{
    const int first = static_cast<int>(std::bit_floor(static_cast<unsigned>(k))); // 2^(g-1)
    const int g = std::countr_zero(static_cast<unsigned>(first)) + 1;
    const int span = 16 / first;
    const int top = kChartTop + (k - first) * span * kRowHeight;
    return QRect(kChartLeft + (g - 1) * kColumnStep, top, kColumnWidth, span * kRowHeight - 3);
}

// The row of the generation-5 position p (16..31).
int RowTop(int p)
{
    return kChartTop + (p - 16) * kRowHeight;
}

// Object names of the index buttons, in the order of kStallionIndexKeys and kMareIndexKeys.
constexpr const char* kDadIndexNames[] = { "spbDalp",  "spbDadEn", "spbDadA",  "spbDadKa", "spbDadSa", "spbDadTa",
                                           "spbDadNa", "spbDadHa", "spbDadMa", "spbDadYa", "spdDadRa", "spbDadWa" };
constexpr const char* kMamIndexNames[] = { "spbMamA",  "spbMamKa", "spbMamSa", "spbMamTa", "spbMamNa",
                                           "spbMamHa", "spbMamMa", "spbMamYa", "spbMamRa", "spbMamWa" };
static_assert(std::size(kDadIndexNames) == kStallionIndexKeys.size());
static_assert(std::size(kMamIndexNames) == kMareIndexKeys.size());

} // namespace

TfrmEditor::TfrmEditor(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_model(Master())
{
    setObjectName(QStringLiteral("frmEditor"));
    setWindowTitle(QStringLiteral("血統エディタ"));
    setProperty("helpContext", 10000);
    setFixedSize(kClientWidth, kClientHeight);
    BuildLayout();
    FillLists();
    Redraw();
}

void TfrmEditor::BuildLayout()
{
    m_memSosen = new QPlainTextEdit(this);
    m_memSosen->setObjectName(QStringLiteral("memSosen"));
    m_memSosen->setGeometry(6, 6, 616, 40);
    m_memSosen->setFont(SmallFont());
    FoldTypedKanaInKanaMode(m_memSosen);

    connect(MakeButton(this, "btnClear", QStringLiteral("クリア"), 628, 6, 60, 20), &QPushButton::clicked, this,
            &TfrmEditor::OnClear);
    connect(MakeButton(this, "btnClose", QStringLiteral("閉じる"), 628, 27, 60, 20), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(MakeButton(this, "btnView", QStringLiteral("表示"), 692, 6, 60, 20), &QPushButton::clicked, this,
            &TfrmEditor::OnView);
    connect(MakeButton(this, "btnAlias", QStringLiteral("別名"), 692, 27, 60, 20), &QPushButton::clicked, this,
            &TfrmEditor::OnAlias);

    QLabel* guide = ChartLabel(this, QStringLiteral("lblGuide"), Q(kEditorGuide), QRect(6, 48, 747, 31));
    BreakLinesSensibly(guide);

    BuildLists();
    BuildChart();
    BuildPanels();

    m_pumSearch = new QMenu(this);
    m_pumSearch->setObjectName(QStringLiteral("pumSearch"));
}

void TfrmEditor::BuildLists()
{
    auto build = [this](bool mares, int top, int height) {
        ChartLabel(this, QString(), mares ? QStringLiteral("繁殖牝馬") : QStringLiteral("種牡馬"),
                   QRect(6, top, 92, 16));
        auto* list = new THorseList(mares, this);
        list->setObjectName(mares ? QStringLiteral("lstMamName") : QStringLiteral("lstDadName"));
        list->setGeometry(6, top + 16, 92, height - 16);
        list->setFont(SmallFont());
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QPalette palette = list->palette();
        palette.setColor(QPalette::Base, BgrColor(mares ? kMareListColor : kStallionListColor));
        list->setPalette(palette);
        connect(list, &QListWidget::currentRowChanged, this, [this, mares](int row) { OnListRow(mares, row); });

        auto* group = new QGroupBox(QStringLiteral("インデックス"), this);
        group->setGeometry(101, top, 72, height);
        group->setFont(SmallFont());
        const auto keys
            = mares ? std::span<const IndexKey>(kMareIndexKeys) : std::span<const IndexKey>(kStallionIndexKeys);
        for (size_t i = 0; i < keys.size(); ++i) {
            auto* b = new QToolButton(group);
            b->setObjectName(QString::fromLatin1(mares ? kMamIndexNames[i] : kDadIndexNames[i]));
            b->setText(Q(keys[i].caption));
            b->setGeometry(4 + static_cast<int>(i % 3) * 22, 18 + static_cast<int>(i / 3) * 22, 21, 21);
            const std::u16string_view key = keys[i].key;
            connect(b, &QToolButton::clicked, this, [this, mares, key] { OnIndex(mares, key); });
        }
        return list;
    };
    m_lstDadName = build(false, 80, 186);
    m_lstMamName = build(true, 270, 200);
}

void TfrmEditor::BuildChart()
{
    for (int g = 1; g <= 5; ++g) {
        QLabel* h = ChartLabel(this, QStringLiteral("sttA%1").arg(g), QString(QChar(u'０' + g)),
                               QRect(kChartLeft + (g - 1) * kColumnStep, 80, kColumnWidth, 16));
        h->setAlignment(Qt::AlignCenter);
    }
    // Created bottom to top: effect halves, the name box, bars, the cross frame, the caption on top.
    for (int k = 1; k <= kChartPositions; ++k) {
        const QRect r = SlotRect(k);
        const int half = r.width() / 2;
        m_shpKokaa[k] = MakeShape(this, NumberedName("shpKokaa", k), r.x(), r.y(), half, r.height());
        m_shpKokab[k] = MakeShape(this, NumberedName("shpKokab", k), r.x() + half, r.y(), r.width() - half, r.height());
        MakeFrame(this, NumberedName("shp", k), 0x000000, 1, r);
        m_shpDDrop[k] = MakeFrame(this, NumberedName("shpDDrop", k), kStallionBarColor, 3,
                                  QRect(r.x() + 2, r.y() + 1, r.width() - 4, 3));
        if (k <= kChartMarePositions)
            m_shpMDrop[k] = MakeFrame(this, NumberedName("shpMDrop", k), kMareBarColor, 3,
                                      QRect(r.x() + 2, r.bottom() - 3, r.width() - 4, 3));
        m_shpInb[k] = MakeFrame(this, NumberedName("shpInb", k), kEditorWhite, 4, r.adjusted(-2, -2, 2, 2));
        m_lblName[k] = new TSlotLabel(k, this);
        m_lblName[k]->setObjectName(NumberedName("lblName", k));
        m_lblName[k]->setGeometry(r.adjusted(3, 1, -2, -1));
        m_lblName[k]->setFont(SmallFont());
        connect(m_lblName[k], &TSlotLabel::horseDropped, this,
                [this](int pos, bool mare, const QString& name) { DropHorse(pos, mare, name); });
        connect(m_lblName[k], &TSlotLabel::rightReleased, this, &TfrmEditor::OnSlotRightClick);
    }
}

void TfrmEditor::BuildPanels()
{
    // The line panels stand beside the last position of their line, the 見 panels beside theirs.
    const char* const headings[] = { "面", "系", "見" };
    for (int i = 0; i < 3; ++i)
        ChartLabel(this, QString(), QString::fromUtf8(headings[i]), QRect(kPanelLeft + 22 * i, 80, 20, 16))
            ->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < kLinePanels; ++i) {
        const int n = LinePanelNumber(i);
        int last = n;
        while (2 * last <= kChartPositions)
            last *= 2;
        m_pnlOmo[i] = MakePanel(this, NumberedName("pnlOmo", n), QString(), QRect(kPanelLeft, RowTop(last), 20, 20));
        m_pnlKan[i]
            = MakePanel(this, NumberedName("pnlKan", n), QString(), QRect(kPanelLeft + 22, RowTop(last), 20, 20));
    }
    for (int i = 0; i < kMigoPanels; ++i) {
        const int n = MigoPanelNumber(i);
        m_pnlMigoA[i]
            = MakePanel(this, NumberedName("pnlMigoA", n), QString(), QRect(kPanelLeft + 44, RowTop(n + 8), 20, 20));
    }

    // Rule results, each inside its frame.
    auto rule = [this](const char* panel, const char* frame, const QString& text, const QRect& r,
                       QLabel** panelOut = nullptr) {
        TFrameShape* f = MakeFrame(this, QString::fromLatin1(frame), kRuleFrameColor, 3, r.adjusted(-3, -3, 3, 3));
        QLabel* p = MakePanel(this, QString::fromLatin1(panel), text, r);
        if (panelOut)
            *panelOut = p;
        return f;
    };
    m_shpOmosiro = rule("pnlOmo", "shpOmosiro", QStringLiteral("面"), QRect(kRightLeft, 100, 20, 20));
    m_shpMigoto = rule("pnlMigo", "shpMigoto", QStringLiteral("見"), QRect(kRightLeft + 25, 100, 20, 20));
    m_shpYok = rule("pnlYok", "shpYok", QStringLiteral("良"), QRect(kRightLeft + 50, 100, 20, 20));
    m_shpNix = rule("pnlNix", "shpNix", QString(), QRect(kRightLeft, 130, 70, 20), &m_pnlNix);
    m_shpCrs = rule("pnlCrs", "shpCrs", QString(), QRect(kRightLeft, 160, 70, 20), &m_pnlCrs);

    for (int k = 1; k <= 10; ++k) {
        const int top = 190 + (k - 1) * 22;
        QLabel* l = MakePanel(this, QStringLiteral("lblCol%1").arg(k), Q(kEditorEffectLabels[k - 1].caption),
                              QRect(kRightLeft, top, 22, 20));
        SetFill(l, kEditorEffectLabels[k - 1].color);
        m_pnlCol[k]
            = MakePanel(this, QStringLiteral("pnlCol%1").arg(k), QString(), QRect(kRightLeft + 26, top, 44, 20));
    }
    ChartLabel(this, QString(), QStringLiteral("SP"), QRect(kRightLeft, 416, 22, 20));
    m_pnlNitSP = MakePanel(this, QStringLiteral("pnlNitSP"), QString(), QRect(kRightLeft + 26, 416, 44, 20));
    ChartLabel(this, QString(), QStringLiteral("ST"), QRect(kRightLeft, 440, 22, 20));
    m_pnlNitST = MakePanel(this, QStringLiteral("pnlNitST"), QString(), QRect(kRightLeft + 26, 440, 44, 20));
}

void TfrmEditor::FillLists()
{
    const Filling filling(m_filling);
    m_lstDadName->clear();
    m_lstMamName->clear();
    // A name too long for the narrow lists is elided there; its hint is the whole name.
    auto add = [](QListWidget* list, const std::u16string& name) {
        auto* item = new QListWidgetItem(Q(name), list);
        item->setToolTip(item->text());
    };
    for (const std::u16string& n : m_model.StallionNames())
        add(m_lstDadName, n);
    for (const std::u16string& n : m_model.MareNames())
        add(m_lstMamName, n);
}

void TfrmEditor::ShowSelections()
{
    const Filling filling(m_filling);
    for (const bool mares : { false, true }) {
        THorseList* list = mares ? m_lstMamName : m_lstDadName;
        const int row = mares ? m_model.SelectedMareRow() : m_model.SelectedStallionRow();
        if (row < 0) {
            list->clearSelection();
            list->setCurrentRow(-1);
        } else {
            list->setCurrentRow(row);
            list->scrollToItem(list->item(row));
        }
    }
}

void TfrmEditor::PullBox()
{
    FormulaBox& box = m_model.Box();
    box.text = m_memSosen->toPlainText().toStdU16String();
    box.hasSelection = false;
}

void TfrmEditor::PushBox()
{
    const FormulaBox& box = m_model.Box();
    const QString text = Q(box.text);
    if (m_memSosen->toPlainText() != text)
        m_memSosen->setPlainText(text);
    if (box.hasSelection) {
        QTextCursor c = m_memSosen->textCursor();
        c.setPosition(static_cast<int>(box.selection.start));
        c.setPosition(static_cast<int>(box.selection.start + box.selection.length), QTextCursor::KeepAnchor);
        m_memSosen->setTextCursor(c);
        m_memSosen->setFocus();
    }
}

void TfrmEditor::Redraw()
{
    ShowSelections();
    const EditorView& v = m_model.View();
    for (int k = 1; k <= kChartPositions; ++k) {
        const EditorSlotView& s = v.slot[k];
        m_lblName[k]->setText(Lines(s.caption));
        m_lblName[k]->setToolTip(Lines(s.hint));
        SetTextColor(m_lblName[k], s.textColor);
        m_shpKokaa[k]->SetColor(s.colorA);
        m_shpKokab[k]->SetColor(s.colorB);
        m_shpDDrop[k]->setVisible(s.topBar);
        if (k <= kChartMarePositions)
            m_shpMDrop[k]->setVisible(s.bottomBar);
        m_shpInb[k]->setVisible(s.frame);
        m_shpInb[k]->SetPenColor(s.frameColor);
    }
    for (int k = 1; k <= 10; ++k)
        m_pnlCol[k]->setText(QString::number(v.effectCount[static_cast<size_t>(k)]));
    for (int i = 0; i < kLinePanels; ++i) {
        m_pnlOmo[i]->setText(Q(v.omo[i].caption));
        m_pnlOmo[i]->setToolTip(Q(v.omo[i].hint));
        m_pnlKan[i]->setText(Q(v.kan[i].caption));
        m_pnlKan[i]->setToolTip(Q(v.kan[i].hint));
    }
    for (int i = 0; i < kMigoPanels; ++i) {
        m_pnlMigoA[i]->setText(Q(v.migo[i].caption));
        m_pnlMigoA[i]->setToolTip(Q(v.migo[i].hint));
    }
    m_shpOmosiro->setVisible(v.omoFrame);
    m_shpMigoto->setVisible(v.migFrame);
    m_shpYok->setVisible(v.yokFrame);
    m_shpNix->setVisible(v.nixFrame);
    m_pnlNix->setText(Q(v.nixCaption));
    m_shpCrs->setVisible(v.crsFrame);
    m_pnlCrs->setText(Q(v.crsCaption));
    // The frame passes the mouse on to the panel inside it, which shows the frame's hint.
    m_shpCrs->setToolTip(Q(v.crsHint));
    m_pnlCrs->setToolTip(Q(v.crsHint));
    m_pnlNitSP->setText(Q(v.nitroSp));
    m_pnlNitST->setText(Q(v.nitroSt));
    PushBox();
}

void TfrmEditor::showEvent(QShowEvent* event)
{
    Guarded([this] {
        if (m_model.SyncWithData()) {
            FillLists();
            Redraw();
        }
    });
    QDialog::showEvent(event);
}

void TfrmEditor::keyPressEvent(QKeyEvent* event)
{
    // Only 閉じる and the close box close the window, as in the other tool windows.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmEditor::Guarded(const std::function<void()>& work)
{
    if (!MessageBox::ShowErrors(this, work))
        Redraw();
}

bool TfrmEditor::DropHorse(int k, bool mare, const QString& name)
{
    bool placed = false;
    Guarded([&] {
        PullBox();
        placed = m_model.Drop(k, mare, name.toStdU16String());
        if (placed)
            Redraw();
    });
    return placed;
}

void TfrmEditor::OnClear()
{
    PullBox();
    m_model.Clear();
    Redraw();
}

void TfrmEditor::OnView()
{
    Guarded([this] {
        PullBox();
        std::u16string message;
        m_model.Show(AliasFromFile(AliasFilePath(App().StartDir)), &message);
        Redraw();
        if (!message.empty())
            MessageBox::Show(this, Q(message));
    });
}

void TfrmEditor::OnAlias()
{
    // A plain text box keeps its selection while the dialog has the focus.
    const AliasTarget target { [this] { return m_memSosen->textCursor().selectedText(); },
                               [this](const QString& text) { m_memSosen->textCursor().insertText(text); } };
    ExecAliasDialog(m_memSosen->textCursor().selectedText(), target, this);
    OnView();
}

void TfrmEditor::OnIndex(bool mare, std::u16string_view key)
{
    if (m_model.PressIndex(mare, key))
        ShowSelections();
}

void TfrmEditor::OnListRow(bool mare, int row)
{
    if (!m_filling)
        m_model.SelectRow(mare, row);
}

void TfrmEditor::OnSlotRightClick(int k, const QPoint& pos)
{
    Guarded([&] {
        PullBox();
        m_pumSearch->clear();
        if (!m_model.OpenSuggestions(k))
            return;
        const std::vector<SuggestionItem>& menu = m_model.Suggestions();
        for (size_t i = 0; i < menu.size(); ++i) {
            const SuggestionItem& item = menu[i];
            if (item.horses.empty()) {
                m_pumSearch->addAction(Q(item.caption));
                continue;
            }
            QMenu* sub = m_pumSearch->addMenu(Q(item.caption));
            const MasterData& d = Master();
            for (size_t j = 0; j < item.horses.size(); ++j) {
                const int h = item.horses[j];
                const std::u16string& name
                    = item.mares ? d.MamTable[static_cast<size_t>(h)].name : d.DadTable[static_cast<size_t>(h)].name;
                sub->addAction(Q(name), this, [this, i, j] {
                    Guarded([&] {
                        PullBox();
                        m_model.ChooseSuggestion(i, j);
                        Redraw();
                    });
                });
            }
        }
        const QPoint at = frameGeometry().topLeft() + m_lblName[static_cast<size_t>(k)]->pos() + pos + QPoint(4, 30);
        m_pumSearch->popup(at);
    });
}

} // namespace velmora::gui
