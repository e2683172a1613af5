#include "gui/mating/frm_velmora.h"

#include "core/app/app_state.h"
#include "core/data/master_data.h"
#include "gui/app/controls.h"
#include "gui/app/data_load.h"
#include "gui/app/filling.h"
#include "gui/app/fit_form.h"
#include "gui/app/fit_text.h"
#include "gui/app/message_box.h"
#include "gui/app/modal.h"
#include "gui/app/shape.h"
#include "gui/app/wait_cursor.h"
#include "gui/maint/frm_make_data.h"
#include "gui/mating/frm_points.h"
#include "gui/mating/frm_text.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

namespace velmora::gui {

using M = MatingWindowModel;

namespace {

// The first position of a side's pedigree panel: the stallion himself has a row, a broodmare not.
int FirstPosition(SideKind k)
{
    return k == SideKind::Stallion ? 0 : 1;
}

} // namespace

TfrmVelmora::TfrmVelmora(QWidget* parent)
    : QDialog(parent)
    , m_model(std::make_unique<MatingWindowModel>(Master(), App()))
{
    setObjectName(QStringLiteral("frmVelmora"));
    setWindowTitle(Q(kVelmoraCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    BuildLayout();
    for (SideKind k : kSideKinds)
        ConnectSide(k);
    connect(m_cmbFile, &QComboBox::activated, this,
            [this](int index) { Apply([index](M& m) { m.ChoosePointTable(index); }); });
    connect(m_btnPoints, &QPushButton::clicked, this, [this] { OnEditPoints(); });
    connect(m_btnMamReg, &QPushButton::clicked, this, [this] { OnRegisterFoal(false); });
    connect(m_btnDadReg, &QPushButton::clicked, this, [this] { OnRegisterFoal(true); });
    connect(m_btnHtml, &QPushButton::clicked, this, [this] { OnHtml(); });
    connect(m_btnEnd, &QPushButton::clicked, this, &QDialog::accept);
    // Ordering a list by compatibility is the one step long enough for the hourglass.
    m_model->SetBusyHook(SetBusyCursor);
    Apply([](M& m) { m.Open(); });
}

TfrmVelmora::~TfrmVelmora() = default;

void TfrmVelmora::ConnectSide(SideKind k)
{
    SideControls& c = Controls(k);
    QComboBox* name = c.name;
    connect(name, &QComboBox::activated, this, [this, k](int row) { Apply([k, row](M& m) { m.Choose(k, row); }); });
    connect(name, &QComboBox::editTextChanged, this,
            [this, k](const QString& text) { Apply([k, t = U(text)](M& m) { m.TextChanged(k, t); }); });
    // Enter on a typed text (the box itself reports a choice only for its items).
    connect(name->lineEdit(), &QLineEdit::returnPressed, this,
            [this, k, name] { Apply([k, t = U(name->currentText())](M& m) { m.EnterText(k, t); }); });
    for (size_t s = 0; s < c.sort.size(); ++s)
        connect(c.sort[s], &QToolButton::clicked, this,
                [this, k, s] { Apply([k, s](M& m) { m.SetSort(k, static_cast<ListSort>(s)); }); });
    for (size_t g = 0; g < c.filters.size(); ++g)
        for (size_t b = 0; b < c.filters[g].size(); ++b)
            connect(c.filters[g][b], &QToolButton::clicked, this, [this, k, g, b] {
                Apply([k, g, b](M& m) { m.PressFilter(k, static_cast<int>(g), static_cast<int>(b)); });
            });
    connect(c.all, &QPushButton::clicked, this, [this, k] { Apply([k](M& m) { m.PressAll(k); }); });
    connect(c.list, &QPushButton::clicked, this, [this, k] { OnListDisplay(k); });
}

// ---------------------------------------------------------------------------------------------------
// Forwarding and painting.

bool TfrmVelmora::Apply(const std::function<void(MatingWindowModel&)>& change)
{
    // Painting changes the controls, whose signals come back here: only the user's changes count.
    if (m_filling)
        return true;
    const bool done = MessageBox::ShowErrors(this, [&] { change(*m_model); });
    Paint(m_model->TakeChanges());
    return done;
}

void TfrmVelmora::Paint(unsigned changes)
{
    const Filling filling(m_filling);
    for (SideKind k : kSideKinds)
        PaintSide(k, M::SideChanges(changes, k));
    static constexpr std::pair<unsigned, void (TfrmVelmora::*)()> kPainters[] = {
        { M::Pair, &TfrmVelmora::PaintPair },         { M::Marks, &TfrmVelmora::PaintMarks },
        { M::Legend, &TfrmVelmora::PaintLegend },     { M::Chooser, &TfrmVelmora::PaintChooser },
        { M::Captions, &TfrmVelmora::PaintCaptions },
    };
    for (const auto& [change, paint] : kPainters)
        if (changes & change)
            (this->*paint)();
    const bool both = m_model->PairChosen();
    for (QPushButton* b : { m_btnHtml, m_btnMamReg, m_btnDadReg })
        b->setEnabled(both);
    // Names and values of another pair may need a smaller font to stay whole.
    if (changes & (M::Pair | M::Legend))
        FitTexts(this);
}

void TfrmVelmora::PaintSide(SideKind k, unsigned changes)
{
    SideControls& c = Controls(k);
    const Side& side = m_model->Of(k);
    if (changes & M::Items) {
        QStringList names;
        names.reserve(static_cast<qsizetype>(side.Names().size()));
        for (const std::u16string& n : side.Names())
            names.push_back(Q(n));
        c.name->clear();
        c.name->addItems(names);
    }
    if (changes & (M::Items | M::Selection)) {
        c.name->setCurrentIndex(side.Chosen());
        c.name->setEditText(Q(side.Text()));
    }
    c.counter->setText(Q(side.Counter()));
    if (changes & M::Panel)
        PaintPanel(k);
    if (changes & M::Buttons)
        PaintButtons(k);
}

void TfrmVelmora::PaintButtons(SideKind k)
{
    SideControls& c = Controls(k);
    const Side& side = m_model->Of(k);
    c.sort[static_cast<size_t>(side.Sort())]->setChecked(true);
    for (QToolButton* b : c.sort) {
        QFont f = b->font();
        f.setBold(b->isChecked());
        b->setFont(f);
    }
    c.sort[static_cast<size_t>(ListSort::Compat)]->setEnabled(m_model->CompatEnabled(k));
    for (size_t g = 0; g < c.filters.size(); ++g)
        for (size_t b = 0; b < c.filters[g].size(); ++b)
            c.filters[g][b]->setChecked(side.FilterDown(static_cast<int>(g), static_cast<int>(b)));
}

void TfrmVelmora::PaintPanel(SideKind k)
{
    SideControls& c = Controls(k);
    for (int p = 1; p <= 15; ++p) {
        const SlotDisplay& slot = m_model->Slot(k, p);
        c.sosen[static_cast<size_t>(p)]->setText(Q(slot.name));
        c.sosen[static_cast<size_t>(p)]->setToolTip(Q(slot.hint));
    }
    for (int p = FirstPosition(k); p <= 15; ++p) {
        const SlotDisplay& slot = m_model->Slot(k, p);
        const auto i = static_cast<size_t>(p);
        c.kokaA[i]->setText(Q(slot.effectA));
        c.kokaA[i]->setToolTip(Q(slot.hint));
        c.kokaB[i]->setText(Q(slot.effectB));
        c.kokaB[i]->setToolTip(Q(slot.hint));
        c.shapeA[i]->SetColor(slot.colorA);
        c.shapeB[i]->SetColor(slot.colorB);
    }
    const std::vector<AttributeText>& attributes = m_model->Attributes(k);
    for (size_t i = 0; i < attributes.size(); ++i) {
        c.attributes[i]->setText(Q(attributes[i].text));
        if (attributes[i].color)
            SetTextColor(c.attributes[i], *attributes[i].color);
    }
}

// A marked ancestor is shown in bold, one that stands twice on its side in italics.
void TfrmVelmora::PaintMarks()
{
    for (SideKind k : kSideKinds)
        for (int p = 1; p <= 15; ++p)
            SetFontStyle(Controls(k).sosen[static_cast<size_t>(p)], m_model->Of(k).Marked(p),
                         m_model->Slot(k, p).italic);
}

void TfrmVelmora::PaintPair()
{
    for (SideKind k : kSideKinds)
        for (int p = FirstPosition(k); p <= 15; ++p) {
            const SlotDisplay& slot = m_model->Slot(k, p);
            TShape* marker = Controls(k).marker[static_cast<size_t>(p)];
            marker->setVisible(slot.marker);
            marker->SetColor(slot.markerColor);
        }
    PaintMarks();
    const PairDisplay& d = m_model->Display();
    const std::pair<const PanelDisplay*, std::pair<QLabel*, TShape*>> panels[]
        = { { &d.omo, { m_lblOmo, m_shpOmo } }, { &d.mig, { m_lblMig, m_shpMig } },
            { &d.yok, { m_lblYok, m_shpYok } }, { &d.kiken, { m_lblKiken, m_shpKiken } },
            { &d.crs, { m_lblCrs, m_shpCrs } }, { &d.nix, { m_lblNix, m_shpNix } } };
    for (const auto& [panel, controls] : panels) {
        controls.first->setText(Q(panel->text));
        SetTextColor(controls.first, panel->lit ? panel->textColor : kTextBlack);
        controls.second->SetColor(panel->lit ? panel->color : kDisplayWhite);
    }
    // The cross count's hint lists the crosses per effect; the nick keeps no hint here.
    m_lblCrs->setToolTip(Q(d.crs.hint));
    m_shpCrs->setToolTip(Q(d.crs.hint));
    m_sttNitSP->setText(Q(d.nitroSp));
    m_sttNitST->setText(Q(d.nitroSt));
    m_lblPoint->setText(Q(m_model->PointText()));
}

void TfrmVelmora::PaintLegend()
{
    PaintLegendLabels(m_lblCol, m_model->LegendEntries());
}

void TfrmVelmora::PaintChooser()
{
    FillChooser(m_cmbFile, m_model->PointTables().names, m_model->PointTables().selected);
}

void TfrmVelmora::PaintCaptions()
{
    for (SideKind k : kSideKinds) {
        const SideControls& c = Controls(k);
        for (size_t g = 0; g < c.filters.size(); ++g)
            for (size_t b = 0; b < c.filters[g].size(); ++b)
                c.filters[g][b]->setText(Q(m_model->Of(k).FilterCaption(static_cast<int>(g), static_cast<int>(b))));
    }
}

// ---------------------------------------------------------------------------------------------------
// Events.

void TfrmVelmora::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // FitForm has given the window its size and font by now (and fitted its texts as designed).
    ArrangeRows();
    FitTexts(this);
}

void TfrmVelmora::keyPressEvent(QKeyEvent* event)
{
    // Only 終了 and the close box close the window: Escape would lose the pair and the filters.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmVelmora::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return QDialog::eventFilter(watched, event);
    auto* me = static_cast<QMouseEvent*>(event);
    if (watched == m_grpColor || std::ranges::find(m_lblCol, watched) != m_lblCol.end()) {
        Apply([](M& m) { m.ToggleColourMode(); });
        return true;
    }
    const QVariant position = watched->property(kPositionProperty);
    if (!position.isValid())
        return QDialog::eventFilter(watched, event);
    const auto k = static_cast<SideKind>(watched->property(kSideProperty).toInt());
    OnAncestorClicked(k, position.toInt(), me->button(), me->globalPosition().toPoint());
    return true;
}

void TfrmVelmora::OnAncestorClicked(SideKind k, int position, Qt::MouseButton button, const QPoint& globalPos)
{
    std::vector<std::u16string> captions;
    Apply([&](M& m) { captions = m.ClickAncestor(k, position, button == Qt::RightButton); });
    QMenu* menu = Controls(k).popup;
    menu->clear();
    for (const std::u16string& caption : captions)
        connect(menu->addAction(Q(caption)), &QAction::triggered, this,
                [this, k, caption] { Apply([k, &caption](M& m) { m.ChoosePartner(k, caption); }); });
    if (!menu->isEmpty())
        menu->popup(globalPos + QPoint(0, 24));
}

// ---------------------------------------------------------------------------------------------------
// Commands.

void TfrmVelmora::OnEditPoints()
{
    const std::u16string tableBefore = App().DataFiles.Aisho;
    auto editor = std::make_unique<TfrmPoints>(this);
    FitForm(editor.get());
    const bool saved = ExecHidden(this, editor.get()) == QDialog::Accepted;
    editor.reset();
    Apply([saved, &tableBefore](M& m) { m.PointEditorClosed(saved, tableBefore); });
}

void TfrmVelmora::OnRegisterFoal(bool stallion)
{
    FoalPlan plan;
    const std::u16string stallionText = U(Controls(SideKind::Stallion).name->currentText());
    const std::u16string mareText = U(Controls(SideKind::Mare).name->currentText());
    if (!Apply([&](M& m) { plan = m.PlanFoal(stallion, stallionText, mareText); }))
        return;
    if (!plan.message.empty()) {
        MessageBox::Show(this, Q(plan.message));
        return;
    }
    // The proposed name belongs to a registered horse: the user learns which name is offered instead
    // before anything is filled in.
    if (!plan.notice.empty())
        MessageBox::Show(this, Q(plan.notice));
    bool registered = false;
    MessageBox::ShowErrors(this, [&] {
        auto window = std::make_unique<TfrmMakeData>(this);
        FitForm(window.get());
        window->RegisterFoal(plan.entry);
        registered = ExecHidden(this, window.get()) == QDialog::Accepted;
    });
    if (!registered)
        return;
    // The new data with every filter down, the same pair chosen again by name.
    ReloadMasterData(this);
    Apply([&plan](M& m) { m.FoalRegistered(plan.entry); });
}

void TfrmVelmora::OnListDisplay(SideKind k)
{
    TextListSource source;
    if (!Apply([&](M& m) { source = m.TextSource(k); }))
        return;
    TfrmText text(source, this);
    FitForm(&text);
    text.exec();
}

void TfrmVelmora::OnHtml()
{
    std::string path;
    Apply([&](M& m) { path = m.WriteHtml(App().StartDir); });
    if (!path.empty())
        OpenDocument(QString::fromStdString(path), this);
}

} // namespace velmora::gui
