#include "gui/pedigree/frm_parents.h"

#include "core/app/app_state.h"
#include "core/data/alias.h"
#include "core/data/master_data.h"
#include "core/eval/html_report.h"
#include "core/eval/positions.h"
#include "gui/app/controls.h"
#include "gui/app/filling.h"
#include "gui/app/fit_text.h"
#include "gui/app/kana_input.h"
#include "gui/app/message_box.h"
#include "gui/app/modal.h"
#include "gui/app/shape.h"
#include "gui/pedigree/formula_chooser.h"
#include "gui/pedigree/frm_alias.h"
#include "gui/pedigree/kept_selection.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace velmora::gui {

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 576;

// The chart: five columns (generations 1..5 of the foal), the stallion side in the upper eight rows,
// the mare side in the lower eight.
constexpr int kChartLeft = 4;
constexpr int kChartTop = 36;
constexpr int kRowHeight = 33;
constexpr int kColumnStep = 112;
constexpr int kBoxWidth = 108;
constexpr int kBoxHeight = kRowHeight - 2;

// The panels and groups on the right.
constexpr int kSideLeft = 572;
constexpr int kSideWidth = 216;

QFont PointFont(int points)
{
    QFont f;
    f.setPointSize(points);
    return f;
}

// A name box's place: its column is the position's generation of the foal, and it stands in the
// middle of the rows its own ancestors take in the column to the right.
QRect BoxRect(bool dadSide, int position)
{
    int column = 0;
    int index = 0;
    int count = 1;
    if (position > 0) {
        column = PositionGeneration(position);
        count = 1 << (column - 1);
        index = position - count;
    }
    const int rows = 8 / count;
    const int top
        = kChartTop + (dadSide ? 0 : 8 * kRowHeight) + index * rows * kRowHeight + (rows - 1) * kRowHeight / 2;
    return QRect(kChartLeft + column * kColumnStep, top + 1, kBoxWidth, kBoxHeight);
}

QLineEdit* MakeField(QWidget* parent, const QString& name, int x, int y, int w, int h)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(x, y, w, h);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

} // namespace

TfrmParents::TfrmParents(QWidget* parent)
    : QDialog(parent)
    , m_model(Master())
{
    setObjectName(QStringLiteral("frmParents"));
    setWindowTitle(QStringLiteral("血統ビューア"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    resize(kClientWidth, kClientHeight);
    setFixedSize(kClientWidth, kClientHeight);
    BuildLayout();

    // Opening: input mode, composition captions, nitro hints, legend; then the results window's
    // formula is shown, or the chart stays cleared.
    if (App().KanaMode) {
        FoldTypedKana(m_cmbParents->lineEdit());
        FoldTypedKana(m_cmbParent->lineEdit());
    }
    MessageBox::ShowErrors(this, [this] {
        const MasterData& d = Master();
        for (size_t k = 1; k <= 16; ++k)
            m_lblCrs[k]->setText(Q(d.CrossTable[k].name));
        const NitroHints hints = MakeNitroHints(d);
        for (QWidget* w : { static_cast<QWidget*>(m_lblNitroSp), static_cast<QWidget*>(m_edtNitroSp) })
            w->setToolTip(Q(hints.speed));
        for (QWidget* w : { static_cast<QWidget*>(m_lblNitroSt), static_cast<QWidget*>(m_edtNitroSt) })
            w->setToolTip(Q(hints.stamina));
        PaintLegend();
    });
    Paint();
    if (App().ViewFromResults) {
        m_cmbParents->setEditText(QApplication::clipboard()->text());
        ShowFormula();
    }
}

void TfrmParents::SetChooserModel(QAbstractItemModel* lines, int selected)
{
    QLineEdit* edit = m_cmbParents->lineEdit();
    const QString text = edit->text();
    const int start = edit->selectionStart();
    const int length = edit->selectionLength();
    {
        const Filling filling(m_filling);
        m_cmbParents->setModel(lines);
        m_cmbParents->setCurrentIndex(selected >= 0 && selected < lines->rowCount() ? selected : -1);
    }
    m_cmbParents->setEditText(text);
    if (start >= 0)
        edit->setSelection(start, length);
}

// ---------------------------------------------------------------------------------------------------
// Layout (792 x 576 at 96 dpi; FitForm scales it to the configured layout size).

void TfrmParents::BuildLayout()
{
    m_cmbParents = new FormulaChooser(this);
    m_cmbParents->setObjectName(QStringLiteral("cmbParents"));
    m_cmbParents->setGeometry(4, 4, 596, 26);
    m_cmbParents->setEditable(true);
    m_cmbParents->setInsertPolicy(QComboBox::NoInsert);
    m_cmbParents->setMaxVisibleItems(24);
    m_cmbParents->setCompleter(nullptr); // a formula is not completed from the result lines
    m_cmbParents->installEventFilter(this);
    m_cmbParents->lineEdit()->installEventFilter(this);
    m_kept = new KeptSelection(m_cmbParents->lineEdit());
    connect(m_cmbParents, &QComboBox::activated, this, [this] {
        if (!m_filling)
            ShowFormula();
    });

    QPushButton* view = MakeButton(this, "btnView", QStringLiteral("表示"), 604, 4, 60, 26);
    m_btnLeft = MakeButton(this, "btnLeft", QStringLiteral("<<"), 668, 4, 58, 26);
    m_btnRight = MakeButton(this, "btnRight", QStringLiteral(">>"), 730, 4, 58, 26);
    QPushButton* alias = MakeButton(this, "btnAlias", QStringLiteral("別名登録"), kSideLeft, 498, 104, 28);
    QPushButton* html = MakeButton(this, "btnHtml", QStringLiteral("html表示"), kSideLeft + 112, 498, 104, 28);
    QPushButton* back = MakeButton(this, "btnExit", QStringLiteral("戻る"), kSideLeft + 112, 538, 104, 28);
    connect(view, &QPushButton::clicked, this, [this] { ShowFormula(); });
    connect(m_btnLeft, &QPushButton::clicked, this, [this] { StepLeft(); });
    connect(m_btnRight, &QPushButton::clicked, this, [this] { StepRight(); });
    connect(alias, &QPushButton::clicked, this, [this] { OnAlias(); });
    connect(html, &QPushButton::clicked, this, [this] { OnHtml(); });
    connect(back, &QPushButton::clicked, this, &QDialog::reject);

    for (int p = 0; p <= 15; ++p)
        BuildChartBox(true, p);
    for (int p = 1; p <= 15; ++p)
        BuildChartBox(false, p);
    BuildPanels();

    m_memDStatus = new QPlainTextEdit(this);
    m_memDStatus->setObjectName(QStringLiteral("memDStatus"));
    m_memDStatus->setGeometry(0, 0, 129, 209);
    m_memDStatus->setReadOnly(true);
    m_memDStatus->setFont(PointFont(9));
    m_memDStatus->hide();

    m_cmbParent = MakeComboBox(this, "cmbParent", 0, 0, kBoxWidth + 40, 24);
    m_cmbParent->setMaxVisibleItems(24);
    m_cmbParent->installEventFilter(this);
    m_cmbParent->hide();
    connect(m_cmbParent, &QComboBox::activated, this, [this](int index) {
        // Opening the list moves the focus into it, and the box then takes a typed name as chosen; the
        // choice is made in the list, or with Enter in the box.
        if (!m_filling && !m_cmbParent->view()->isVisible())
            OnReplacementChosen(m_cmbParent->itemText(index));
    });
}

void TfrmParents::BuildChartBox(bool dadSide, int position)
{
    const QRect r = BoxRect(dadSide, position);
    const QString side = dadSide ? QStringLiteral("D") : QStringLiteral("M");
    const QString n = QString::number(position);
    ChartBox& b = (dadSide ? m_dad : m_mam)[static_cast<size_t>(position)];
    const int half = r.width() / 2;
    // Shapes first, so that the labels stand on them.
    b.box = MakeShape(this, QStringLiteral("shp%1Sosen%2").arg(side, n), r.x(), r.y(), r.width(), r.height());
    b.kokaA = MakeShape(this, QStringLiteral("shp%1KokaA%2").arg(side, n), r.x(), r.y(), half + 1, r.height());
    b.kokaB = MakeShape(this, QStringLiteral("shp%1KokaB%2").arg(side, n), r.x() + half, r.y(), r.width() - half,
                        r.height());
    b.inb = MakeShape(this, QStringLiteral("shp%1Inb%2").arg(side, n), r.x(), r.y() + 14, r.width(), 4);
    b.inb->hide();

    // The name and the effects take the box's height between them, so that at the 480-line layout
    // each still holds a line of 8 points.
    b.name = MakeLabel(this, nullptr, QString(), r.x() + 3, r.y(), r.width() - 6, 16);
    b.name->setObjectName(dadSide ? QStringLiteral("lblDsosen%1").arg(n) : QStringLiteral("lblMSosen%1").arg(n));
    b.name->setFont(PointFont(9));
    b.effectA = MakeLabel(this, nullptr, QString(), r.x() + 2, r.y() + 16, half - 3, 15);
    b.effectA->setObjectName(QStringLiteral("lbl%1KokaA%2").arg(side, n));
    b.effectB = MakeLabel(this, nullptr, QString(), r.x() + half + 2, r.y() + 16, r.width() - half - 3, 15);
    b.effectB->setObjectName(QStringLiteral("lbl%1KokaB%2").arg(side, n));
    for (QLabel* l : { b.effectA, b.effectB })
        l->setFont(PointFont(8));
    if (EntryOfLabel(dadSide, position) > 0) {
        b.name->installEventFilter(this);
        b.name->setCursor(Qt::PointingHandCursor);
    }
}

void TfrmParents::BuildPanels()
{
    // Result panels, two rows of three.
    const std::pair<const char*, const char*> panels[] = {
        { "pnlOmo", "面白" },  { "pnlMig", "見事" },   { "pnlYok", "良でき" },
        { "pnlNix", "Nix値" }, { "pnlKiken", "危険" }, { "pnlCrs", "クロス" },
    };
    static_assert(std::size(panels) == std::tuple_size_v<decltype(m_panels)>);
    for (size_t i = 0; i < m_panels.size(); ++i) {
        const int x = kSideLeft + static_cast<int>(i % 3) * 74;
        const int y = 36 + static_cast<int>(i / 3) * 46;
        const auto [name, title] = panels[i];
        MakeLabel(this, nullptr, QString::fromUtf8(title), x, y, 68, 16)->setAlignment(Qt::AlignCenter);
        QLabel* p = MakeLabel(this, name, QString(), x, y + 16, 68, 26);
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        p->setAlignment(Qt::AlignCenter);
        m_panels[i] = p;
    }

    m_lblNitroSp = MakeLabel(this, "lblNitroSp", QStringLiteral("ﾆﾄﾛSP"), kSideLeft, 132, 48, 22);
    m_edtNitroSp = MakeField(this, QStringLiteral("edtNitroSp"), kSideLeft + 48, 132, 56, 22);
    m_lblNitroSt = MakeLabel(this, "lblNitroSt", QStringLiteral("ﾆﾄﾛST"), kSideLeft + 112, 132, 48, 22);
    m_edtNitroSt = MakeField(this, QStringLiteral("edtNitroSt"), kSideLeft + 160, 132, 56, 22);
    for (QLabel* l : { m_lblNitroSp, m_lblNitroSt })
        l->setFont(PointFont(9));

    auto* kosei = new QGroupBox(QStringLiteral("血統構成"), this);
    kosei->setObjectName(QStringLiteral("grpKosei"));
    kosei->setGeometry(kSideLeft, 160, kSideWidth, 186);
    kosei->setFont(PointFont(10));
    for (int k = 1; k <= 16; ++k) {
        const int x = 6 + ((k - 1) / 8) * 104;
        const int y = 18 + ((k - 1) % 8) * 20;
        const auto i = static_cast<size_t>(k);
        m_lblCrs[i] = MakeLabel(kosei, nullptr, QString(), x, y, 60, 18);
        m_lblCrs[i]->setObjectName(QStringLiteral("lblCrs%1").arg(k));
        m_lblCrs[i]->setFont(PointFont(8));
        m_edtCrs[i] = MakeField(kosei, QStringLiteral("edtCrs%1").arg(k), x + 60, y, 38, 18);
    }

    m_grpColor = new QGroupBox(QStringLiteral("色の指定(クリックで切替)"), this);
    m_grpColor->setObjectName(QStringLiteral("grpColor"));
    m_grpColor->setGeometry(kSideLeft, 352, kSideWidth, 138);
    m_grpColor->setFont(PointFont(10));
    m_grpColor->installEventFilter(this);
    for (int k = 1; k <= kLegendEntries; ++k) {
        QLabel* l = MakeLabel(m_grpColor, nullptr, QString(), 6 + ((k - 1) % 3) * 70, 20 + ((k - 1) / 3) * 23, 66, 20);
        l->setObjectName(QStringLiteral("lblCol%1").arg(k));
        l->setAlignment(Qt::AlignCenter);
        l->setFont(PointFont(9));
        l->installEventFilter(this);
        m_lblCol[static_cast<size_t>(k)] = l;
    }
}

// ---------------------------------------------------------------------------------------------------
// Commands.

void TfrmParents::ShowFormula()
{
    HidePopups();
    MessageBox::ShowErrors(this, [this] {
        QLineEdit* edit = m_cmbParents->lineEdit();
        const ChainReading r
            = m_model.Show(edit->text().toStdU16String(), AliasFromFile(AliasFilePath(App().StartDir)));
        m_cmbParents->setEditText(Q(r.normalized));
        for (const std::u16string& m : r.messages)
            MessageBox::Show(this, Q(m));
        if (r.selection) {
            m_cmbParents->setFocus();
            edit->setSelection(static_cast<int>(r.selection->start), static_cast<int>(r.selection->length));
        }
        Paint();
    });
}

void TfrmParents::StepRight()
{
    HidePopups();
    MessageBox::ShowErrors(this, [this] {
        if (m_model.StepRight())
            Paint();
    });
}

void TfrmParents::StepLeft()
{
    HidePopups();
    MessageBox::ShowErrors(this, [this] {
        if (m_model.StepLeft())
            Paint();
    });
}

void TfrmParents::ToggleColourMode()
{
    m_model.ToggleColourMode();
    MessageBox::ShowErrors(this, [this] { PaintLegend(); });
    if (!m_cmbParents->currentText().isEmpty())
        ShowFormula();
}

void TfrmParents::OnAlias()
{
    HidePopups();
    ExecAliasDialog(Q(m_model.AliasCandidate()), AliasTargetOf(*m_kept), this);
    ShowFormula();
}

void TfrmParents::OnHtml()
{
    HidePopups();
    MessageBox::ShowErrors(this, [this] {
        const ViewArrays& a = m_model.Arrays();
        const std::string path = App().StartDir + std::string(kHtmlReportFile);
        WriteHtmlReport(Master(), path, a.star, m_cmbParents->currentText().toStdU16String(), a.stallion, a.mare);
        OpenDocument(QString::fromStdString(path));
    });
}

QLabel* TfrmParents::EntryLabelWidget(int entry) const
{
    const EntryLabel l = LabelOfEntry(entry);
    return (l.dadSide ? m_dad : m_mam)[static_cast<size_t>(l.position)].name;
}

void TfrmParents::OnLabelClicked(int entry)
{
    HidePopups();
    MessageBox::ShowErrors(this, [this, entry] {
        const std::vector<std::u16string> lines = m_model.InfoLines(entry);
        if (lines.empty())
            return;
        QStringList text;
        for (const std::u16string& line : lines)
            text.push_back(Q(line));
        const QRect label = EntryLabelWidget(entry)->geometry();
        m_memDStatus->move(label.x(), InfoBoxTop(label.y(), label.height(), m_memDStatus->height(), height()));
        m_memDStatus->setPlainText(text.join(QLatin1Char('\n')));
        m_memDStatus->show();
        m_memDStatus->raise();
    });
}

void TfrmParents::OnLabelDoubleClicked(int entry)
{
    HidePopups();
    MessageBox::ShowErrors(this, [this, entry] {
        const std::optional<ReplacementList> list = m_model.Replacement(entry);
        if (!list)
            return;
        m_replaceEntry = entry;
        // The name shown is the current item, so that the list opens on it.
        const QString text = Q(list->text);
        {
            const Filling filling(m_filling);
            m_cmbParent->clear();
            for (const std::u16string& name : list->items)
                m_cmbParent->addItem(Q(name));
            m_cmbParent->setCurrentIndex(m_cmbParent->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
        }
        m_cmbParent->setEditText(text);
        m_cmbParent->move(EntryLabelWidget(entry)->geometry().topLeft());
        m_cmbParent->show();
        m_cmbParent->raise();
        m_cmbParent->setFocus();
        m_cmbParent->lineEdit()->selectAll();
    });
}

void TfrmParents::OnReplacementChosen(const QString& name)
{
    m_cmbParent->hide();
    MessageBox::ShowErrors(this, [this, &name] {
        if (m_model.Replace(m_replaceEntry, name.toStdU16String()))
            Paint();
    });
}

void TfrmParents::HidePopups()
{
    m_memDStatus->hide();
    m_cmbParent->hide();
}

// ---------------------------------------------------------------------------------------------------
// Painting.

void TfrmParents::Paint()
{
    const ViewerDisplay& v = m_model.Display();
    auto paintBox = [](ChartBox& b, const SlotDisplay& s, bool bold) {
        const QString hint = Q(s.hint);
        b.name->setText(Q(s.name));
        b.name->setToolTip(hint);
        SetFontStyle(b.name, bold, s.italic);
        b.effectA->setText(Q(s.effectA));
        b.effectB->setText(Q(s.effectB));
        SetTextColor(b.name, s.nameColor);
        SetTextColor(b.effectA, s.textColorA);
        SetTextColor(b.effectB, s.textColorB);
        b.kokaA->SetColor(s.colorA);
        b.kokaB->SetColor(s.colorB);
        b.inb->SetColor(s.markerColor);
        b.inb->setVisible(s.marker);
    };
    for (size_t j = 0; j <= 15; ++j)
        paintBox(m_dad[j], v.pair.dads[j], false);
    for (size_t k = 1; k <= 15; ++k)
        paintBox(m_mam[k], v.pair.mams[k], v.boldMare == static_cast<int>(k));

    const uint32_t window = palette().color(QPalette::Base).rgb();
    const auto bgr = [](uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); };
    const PairDisplay& pd = v.pair;
    const PanelDisplay* shown[] = { &pd.omo, &pd.mig, &pd.yok, &pd.nix, &pd.kiken, &pd.crs };
    for (size_t i = 0; i < m_panels.size(); ++i) {
        QLabel* label = m_panels[i];
        const PanelDisplay* panel = shown[i];
        label->setText(Q(panel->text));
        label->setToolTip(Q(panel->hint));
        SetBackground(label, !v.drawn ? kDisplayWhite : panel->lit ? panel->color : bgr(window));
        SetTextColor(label, v.drawn && panel->lit ? panel->textColor : kTextBlack);
    }
    for (size_t k = 1; k <= 16; ++k)
        m_edtCrs[k]->setText(Q(v.kosei[k]));
    m_edtNitroSp->setText(v.drawn ? Q(pd.nitroSp) : QString());
    m_edtNitroSt->setText(v.drawn ? Q(pd.nitroSt) : QString());
    m_btnRight->setEnabled(m_model.RightEnabled());
    m_btnLeft->setEnabled(m_model.LeftEnabled());
    FitTexts(this); // new names: each in a font it fits, or elided
}

void TfrmParents::PaintLegend()
{
    PaintLegendLabels(m_lblCol, m_model.Legend());
}

// ---------------------------------------------------------------------------------------------------
// Events.

bool TfrmParents::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == m_cmbParent) {
        // The closed replacement list does not step through the names with the arrow keys or the wheel
        // (each step would replace the horse): the keys open the list, where they move as usual.
        if (type == QEvent::Wheel)
            return true;
        if (type == QEvent::KeyPress) {
            switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                m_cmbParent->showPopup();
                return true;
            default:
                break;
            }
        }
        return QDialog::eventFilter(watched, event);
    }
    if (watched == m_cmbParents || watched == m_cmbParents->lineEdit()) {
        // Enter in the formula box shows the formula (the combo box passes keys on to its edit field
        // directly, so both are watched).
        if (type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                ShowFormula();
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return QDialog::eventFilter(watched, event);
    if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return QDialog::eventFilter(watched, event);
    if (watched == m_grpColor || watched->parent() == m_grpColor) { // every click of a double click counts
        ToggleColourMode();
        return true;
    }
    for (int entry = 1; entry <= kViewEntries; ++entry) {
        if (watched != EntryLabelWidget(entry))
            continue;
        if (type == QEvent::MouseButtonDblClick)
            OnLabelDoubleClicked(entry);
        else
            OnLabelClicked(entry);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmParents::mousePressEvent(QMouseEvent* event)
{
    HidePopups();
    QDialog::mousePressEvent(event);
}

void TfrmParents::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the open information box or replacement list, never the viewer itself: only 戻る
    // and the close box end it, so that a stray key does not lose the formula being studied.
    if (event->key() == Qt::Key_Escape) {
        HidePopups();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace velmora::gui
