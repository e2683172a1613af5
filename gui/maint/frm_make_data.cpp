#include "gui/maint/frm_make_data.h"

#include "core/app/app_state.h"
#include "core/common/decimal.h"
#include "core/common/text_colour.h"
#include "core/maint/input_mode.h"
#include "gui/app/controls.h"
#include "gui/app/filling.h"
#include "gui/app/message_box.h"
#include "gui/app/shape.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace velmora::gui {

namespace {

// Whether derived ancestor fields follow a changed field: one value for the whole run, off at start.
bool& RunAutoFill()
{
    static bool autoFill = false;
    return autoFill;
}

uint32_t Bgr(const QColor& c)
{
    return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8
        | static_cast<uint32_t>(c.blue()) << 16;
}

void SetText(QLineEdit* e, const std::u16string& text)
{
    if (e->text() != Q(text))
        e->setText(Q(text));
}

void SetText(QComboBox* c, const std::u16string& text)
{
    if (c->currentText() != Q(text))
        c->setEditText(Q(text));
}

// Refills a list and keeps the text in its box.
void SetItems(QComboBox* c, const std::vector<std::u16string>& items)
{
    const QString text = c->currentText();
    c->clear();
    for (const std::u16string& s : items)
        c->addItem(Q(s));
    c->setEditText(text);
}

template <size_t N> std::vector<std::u16string> Strings(const std::array<std::u16string_view, N>& items)
{
    return std::vector<std::u16string>(items.begin(), items.end());
}

std::vector<std::u16string> DistanceItems(int first, int last)
{
    std::vector<std::u16string> items { u"0" };
    for (int d = first; d <= last; d += kDistanceStep)
        items.push_back(Decimal(d));
    return items;
}

// A field's own background (the colour of a cross effect or an interesting line), its text in the
// colour that reads on it.
void SetFieldColour(QLineEdit* e, uint32_t bgr)
{
    QPalette p = e->palette();
    p.setColor(QPalette::Base, BgrColor(bgr));
    p.setColor(QPalette::Text, BgrColor(ReadableTextColor(bgr)));
    e->setPalette(p);
}

// The fields of a horse page that go straight into its form, each with its form text.
template <typename Page, typename Form, typename Visit>
void ForPlainFields(Page& p, Form& f, bool stallion, Visit&& visit)
{
    visit(p.origin, f.origin);
    visit(p.keito, f.keito);
    visit(p.keiro, f.keiro);
    visit(p.fee, f.fee);
    if (stallion) {
        visit(p.distance1, f.distance1);
        visit(p.distance2, f.distance2);
    } else {
        visit(p.speed, f.speed);
        visit(p.stamina, f.stamina);
    }
}

// Chooses item `choice` of a radio group, or none for -1.
void Choose(const std::vector<QRadioButton*>& buttons, int choice)
{
    QButtonGroup* group = buttons.front()->group();
    group->setExclusive(false);
    for (size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setChecked(static_cast<int>(i) == choice);
    group->setExclusive(true);
}

} // namespace

TfrmMakeData::TfrmMakeData(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMakeData"));
    setWindowTitle(QStringLiteral("各種データの変更"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setProperty("helpContext", 113);
    setFixedSize(792, 573);
    const AppState& app = App();
    m_model = std::make_unique<DataEditor>(Master(), app.DataDir, app.DataFiles, RunAutoFill());
    BuildLayout();
    ConnectHorsePage(m_mam, false);
    ConnectHorsePage(m_dad, true);
    ConnectOtherPages();
    connect(m_btnOK, &QPushButton::clicked, this, &TfrmMakeData::OnOK);
    connect(m_btnDelete, &QPushButton::clicked, this, &TfrmMakeData::OnDelete);
    connect(m_btnCancel, &QPushButton::clicked, this, &TfrmMakeData::OnCancel);
    connect(m_imeKana, &QRadioButton::clicked, this, [this] { OnInputMode(true); });
    connect(m_imeOff, &QRadioButton::clicked, this, [this] { OnInputMode(false); });
    connect(m_pages, &QTabWidget::currentChanged, this, [this] {
        if (!m_filling)
            PageControl1Change();
    });
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);

    // Opening: the input mode as stored, then the broodmare page.
    (app.KanaMode ? m_imeKana : m_imeOff)->setChecked(true);
    OnInputMode(app.KanaMode);
    {
        const Filling filling(m_filling);
        SetItems(m_dad.distance1, DistanceItems(kDistanceFromFirst, kDistanceFromLast));
        SetItems(m_dad.distance2, DistanceItems(kDistanceToFirst, kDistanceToLast));
    }
    PageControl1Change();
}

TfrmMakeData::~TfrmMakeData() = default;

void TfrmMakeData::Handle(const std::function<void()>& work)
{
    if (m_filling)
        return;
    MessageBox::ShowErrors(this, work);
}

// ---- Wiring ----------------------------------------------------------------------------------------

void TfrmMakeData::ConnectHorsePage(HorsePage& p, bool stallion)
{
    // The handlers of folded fields read the field itself: folding replaces the typed text while the
    // signal that carries it is still being delivered.
    HorseForm& f = m_model->Horse(stallion);
    auto name = [this, stallion, &p] {
        Handle([&] { m_model->SetHorseName(stallion, U(p.name->currentText())); });
        ShowHorse(stallion);
    };
    connect(p.name, &QComboBox::editTextChanged, this, name);
    connect(p.name, &QComboBox::textActivated, this, name);
    auto dam = [this, stallion, &p] {
        Handle([&] { m_model->SetDam(stallion, U(p.dam->currentText())); });
        ShowHorse(stallion);
    };
    connect(p.dam, &QComboBox::editTextChanged, this, dam);
    connect(p.dam, &QComboBox::textActivated, this, dam);
    for (size_t k = 1; k <= 15; ++k)
        connect(p.sosen[k], &QLineEdit::textEdited, this, [this, stallion, k, &p] {
            Handle([&] { m_model->SetAncestor(stallion, static_cast<int>(k), U(p.sosen[k]->text())); });
            ShowHorse(stallion);
        });
    connect(p.floating, &QComboBox::textActivated, this, [this, stallion](const QString& t) {
        Handle([&] { m_model->ChooseAncestor(stallion, m_activeField, U(t)); });
        HideFloating(stallion, false);
    });
    connect(p.floating, &QComboBox::editTextChanged, this, [this, stallion, &p] {
        if (m_filling || !p.floating->currentText().isEmpty() || !p.floating->isVisible())
            return;
        Handle([&] { m_model->SetAncestor(stallion, m_activeField, {}); });
        HideFloating(stallion, false);
    });

    ForPlainFields(p, f, stallion, [this](auto* control, std::u16string& target) { Bind(control, target); });
    if (stallion)
        for (size_t g = 0; g < p.choices.size(); ++g)
            connect(p.choices[g].front()->group(), &QButtonGroup::idClicked, this, [this, &f, g](int id) {
                if (!m_filling)
                    f.choices[g] = id;
            });
}

void TfrmMakeData::ConnectOtherPages()
{
    OyaForm& oya = m_model->Oya();
    connect(m_cmbSName, &QComboBox::editTextChanged, this, [this] {
        Handle([&] { m_model->SetOyaName(U(m_cmbSName->currentText())); });
        ShowOya();
    });
    connect(m_cmbSName, &QComboBox::textActivated, this, [this](const QString& t) {
        Handle([&] { m_model->SetOyaName(U(t)); });
        ShowOya();
    });
    Bind(m_cmbKoka1, oya.koka1);
    Bind(m_cmbKoka2, oya.koka2);
    Bind(m_cmbKei, oya.kei);
    for (size_t k = 1; k <= 16; ++k) {
        Bind(m_edtKoka[k], m_model->Cross().names[k]);
        Bind(m_edtOmo[k], m_model->Omokei().names[k]);
        Bind(m_edtLbl[k], m_model->Omokei().lbls[k]);
    }

    connect(m_cmbKeito, &QComboBox::editTextChanged, this, [this](const QString& t) {
        Handle([&] { m_model->SetKeitoName(U(t)); });
        ShowKeito();
    });
    Bind(m_cmbOmo, m_model->Keito().omo);
    Bind(m_cmbKeiro, m_model->Keiro());
}

void TfrmMakeData::Bind(QComboBox* box, std::u16string& target)
{
    connect(box, &QComboBox::editTextChanged, this, [this, &target](const QString& t) {
        if (!m_filling)
            target = U(t);
    });
}

void TfrmMakeData::Bind(QLineEdit* field, std::u16string& target)
{
    connect(field, &QLineEdit::textEdited, this, [this, &target](const QString& t) {
        if (!m_filling)
            target = U(t);
    });
}

// ---- Showing the model -----------------------------------------------------------------------------

EditPage TfrmMakeData::CurrentPage() const
{
    return static_cast<EditPage>(m_pages->currentIndex());
}

void TfrmMakeData::PageControl1Change()
{
    HideFloating(false, false);
    HideFloating(true, false);
    Handle([&] { m_model->EnterPage(CurrentPage()); });
    FillLists();
    ShowPage();
}

void TfrmMakeData::RegisterFoal(const FoalEntry& entry)
{
    {
        const Filling filling(m_filling);
        m_pages->setCurrentIndex(static_cast<int>(entry.stallion ? EditPage::Dad : EditPage::Mam));
    }
    PageControl1Change();
    Handle([&] { PrefillFoal(*m_model, entry); });
    ShowPage();
}

void TfrmMakeData::FillLists()
{
    const Filling filling(m_filling);
    switch (CurrentPage()) {
    case EditPage::Mam:
    case EditPage::Dad: {
        const bool stallion = CurrentPage() == EditPage::Dad;
        HorsePage& p = stallion ? m_dad : m_mam;
        const std::vector<std::u16string> mares = m_model->MareNames();
        SetItems(p.name, stallion ? m_model->StallionNames() : mares);
        SetItems(p.dam, mares);
        SetItems(p.floating, m_model->AncestorNames());
        SetItems(p.origin, stallion ? Strings(kBirthItems) : Strings(kMotikomiItems));
        SetItems(p.keito, m_model->LineNames());
        SetItems(p.keiro, m_model->ColourNames());
        break;
    }
    case EditPage::Oya:
        SetItems(m_cmbSName, m_model->AncestorNames());
        SetItems(m_cmbKei, m_model->LineNames());
        SetItems(m_cmbKoka1, m_model->EffectNames());
        SetItems(m_cmbKoka2, m_model->EffectNames());
        break;
    case EditPage::Keito:
        SetItems(m_cmbKeito, m_model->SortedLineNames());
        SetItems(m_cmbOmo, m_model->GroupNames());
        break;
    case EditPage::Keiro:
        SetItems(m_cmbKeiro, m_model->SortedColourNames());
        break;
    case EditPage::Cross:
    case EditPage::Omokei:
        break;
    }
}

void TfrmMakeData::ShowPage()
{
    switch (CurrentPage()) {
    case EditPage::Mam:
        ShowHorse(false);
        break;
    case EditPage::Dad:
        ShowHorse(true);
        break;
    case EditPage::Oya:
        ShowOya();
        break;
    case EditPage::Cross:
        ShowCross();
        break;
    case EditPage::Keito:
        ShowKeito();
        break;
    case EditPage::Omokei:
        ShowOmokei();
        break;
    case EditPage::Keiro: {
        const Filling filling(m_filling);
        SetText(m_cmbKeiro, m_model->Keiro());
        break;
    }
    }
}

void TfrmMakeData::ShowHorse(bool stallion)
{
    const Filling filling(m_filling);
    HorsePage& p = stallion ? m_dad : m_mam;
    const HorseForm& f = m_model->Horse(stallion);
    SetText(p.name, f.name);
    for (size_t k = 1; k <= 15; ++k)
        SetText(p.sosen[k], f.sosen[k]);
    SetText(p.dam, f.dam);
    ForPlainFields(p, f, stallion, [](auto* control, const std::u16string& text) { SetText(control, text); });
    if (stallion)
        for (size_t g = 0; g < p.choices.size(); ++g)
            Choose(p.choices[g], f.choices[g]);
}

void TfrmMakeData::ShowOya()
{
    const Filling filling(m_filling);
    const OyaForm& f = m_model->Oya();
    SetText(m_cmbSName, f.name);
    SetText(m_cmbKoka1, f.koka1);
    SetText(m_cmbKoka2, f.koka2);
    SetText(m_cmbKei, f.kei);
}

void TfrmMakeData::ShowCross()
{
    const Filling filling(m_filling);
    const CrossForm& f = m_model->Cross();
    for (size_t k = 1; k <= 16; ++k) {
        SetText(m_edtKoka[k], f.names[k]);
        SetFieldColour(m_edtKoka[k], f.colors[k]);
    }
}

void TfrmMakeData::ShowKeito()
{
    const Filling filling(m_filling);
    SetText(m_cmbKeito, m_model->Keito().name);
    SetText(m_cmbOmo, m_model->Keito().omo);
}

void TfrmMakeData::ShowOmokei()
{
    const Filling filling(m_filling);
    const OmokeiForm& f = m_model->Omokei();
    for (size_t k = 1; k <= 16; ++k) {
        SetText(m_edtOmo[k], f.names[k]);
        SetFieldColour(m_edtOmo[k], f.colors[k]);
        SetText(m_edtLbl[k], f.lbls[k]);
    }
}

// ---- The floating ancestor list --------------------------------------------------------------------

void TfrmMakeData::ShowFloating(bool stallion, int k)
{
    HorsePage& p = stallion ? m_dad : m_mam;
    QLineEdit* field = p.sosen[static_cast<size_t>(k)];
    m_activeField = k;
    {
        const Filling filling(m_filling);
        p.floating->setGeometry(field->geometry());
        p.floating->setEditText(field->text());
    }
    p.floating->show();
    p.floating->raise();
    p.floating->setFocus(Qt::OtherFocusReason);
    p.floating->lineEdit()->selectAll();
}

void TfrmMakeData::HideFloating(bool stallion, bool commit)
{
    HorsePage& p = stallion ? m_dad : m_mam;
    if (m_hidingFloating || !p.floating->isVisible())
        return;
    m_hidingFloating = true;
    if (commit) {
        const std::u16string text = U(p.floating->currentText());
        Handle([&] { m_model->SetAncestor(stallion, m_activeField, text); });
    }
    if (p.floating->hasFocus() || p.floating->lineEdit()->hasFocus()) {
        // The field under the list takes the focus back without opening the list again.
        m_noFloating = true;
        p.sosen[static_cast<size_t>(m_activeField)]->setFocus(Qt::OtherFocusReason);
        m_noFloating = false;
    }
    p.floating->hide();
    m_hidingFloating = false;
    ShowHorse(stallion);
}

// ---- Events ----------------------------------------------------------------------------------------

bool TfrmMakeData::eventFilter(QObject* watched, QEvent* event)
{
    // Every child's events come here, painting included: only keys, focus and clicks concern the window.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::FocusIn:
    case QEvent::MouseButtonPress:
    case QEvent::FocusOut:
    case QEvent::MouseButtonDblClick:
        break;
    default:
        return QDialog::eventFilter(watched, event);
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return QDialog::eventFilter(watched, event);
    const bool inDad = m_dad.page->isAncestorOf(widget);
    HorsePage& p = inDad ? m_dad : m_mam;
    const bool isFloating = widget == p.floating || widget == p.floating->lineEdit();
    const int tag = widget->property("tag").toInt();

    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            break;
        // Enter anywhere registers; a name typed into the floating list goes into its field first.
        if (isFloating)
            HideFloating(inDad, true);
        OnOK();
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::MouseButtonPress:
        if (tag > 0 && !m_noFloating && !m_filling && widget != p.floating)
            ShowFloating(inDad, tag);
        break;
    case QEvent::FocusOut:
        if (isFloating && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason
            && !p.floating->view()->isVisible())
            HideFloating(inDad, true);
        break;
    case QEvent::MouseButtonDblClick:
        for (size_t k = 1; k <= 16; ++k) {
            if (widget == m_edtKoka[k])
                PickColour(m_edtKoka[k], m_model->Cross().colors[k]);
            else if (widget == m_edtOmo[k])
                PickColour(m_edtOmo[k], m_model->Omokei().colors[k]);
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmMakeData::keyPressEvent(QKeyEvent* event)
{
    // Only "戻る" and the close box close the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmMakeData::reject()
{
    OnCancel();
}

// ---- Commands --------------------------------------------------------------------------------------

void TfrmMakeData::ApplyPress(const PressResult& result)
{
    if (result.nameListChanged) {
        const Filling filling(m_filling);
        switch (CurrentPage()) {
        case EditPage::Mam:
            SetItems(m_mam.name, m_model->MareNames());
            break;
        case EditPage::Dad:
            SetItems(m_dad.name, m_model->StallionNames());
            break;
        case EditPage::Oya:
            SetItems(m_cmbSName, m_model->AncestorNames());
            break;
        case EditPage::Keito:
            SetItems(m_cmbKeito, m_model->SortedLineNames());
            break;
        case EditPage::Keiro:
            SetItems(m_cmbKeiro, m_model->SortedColourNames());
            break;
        case EditPage::Cross:
        case EditPage::Omokei:
            break;
        }
    }
    ShowPage();
    if (!result.message.empty())
        MessageBox::Show(this, Q(result.message));
}

Confirm TfrmMakeData::Asker()
{
    return [this](std::u16string_view q) { return MessageBox::Confirm(this, Q(q)); };
}

void TfrmMakeData::OnOK()
{
    // "登録" asks before it replaces a registered horse whose data the page does not show.
    Handle([&] { ApplyPress(m_model->Register(CurrentPage(), Asker())); });
}

void TfrmMakeData::OnDelete()
{
    Handle([&] { ApplyPress(m_model->Delete(CurrentPage(), Asker())); });
}

void TfrmMakeData::OnCancel()
{
    done(m_model->DataChanged() ? QDialog::Accepted : QDialog::Rejected);
}

void TfrmMakeData::OnInputMode(bool kana)
{
    MessageBox::ShowErrors(this, [kana] { SetInputMode(App(), kana); });
    // The input method is on for the name fields in kana mode and off otherwise.
    std::vector<QWidget*> fields { m_cmbSName, m_cmbSName->lineEdit() };
    for (HorsePage* p : { &m_mam, &m_dad }) {
        fields.insert(fields.end(), p->sosen.begin() + 1, p->sosen.end());
        for (QComboBox* c : { p->name, p->floating, p->dam }) {
            fields.push_back(c);
            fields.push_back(c->lineEdit());
        }
    }
    for (QWidget* w : fields)
        w->setAttribute(Qt::WA_InputMethodEnabled, kana);
}

void TfrmMakeData::PickColour(QLineEdit* field, uint32_t& colour)
{
    m_cldKoka->setCurrentColor(BgrColor(colour));
    if (m_cldKoka->exec() != QDialog::Accepted)
        return;
    colour = Bgr(m_cldKoka->currentColor());
    SetFieldColour(field, colour);
}

} // namespace velmora::gui
