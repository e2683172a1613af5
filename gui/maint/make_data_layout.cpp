// The controls of the data editing window, laid out at 96 dpi for a client area of 792 x 573.

#include "gui/app/controls.h"
#include "gui/app/kana_input.h"
#include "gui/app/number_input.h"
#include "gui/maint/frm_make_data.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <span>

namespace velmora::gui {

namespace {

constexpr int kFieldHeight = 24;

QString Name(const char* prefix, int k)
{
    return QString::fromLatin1(prefix) + QString::number(k);
}

// "０１".."１６": two full-width digits, as the captions of the numbered fields show them.
QString FullWidthNumber(int k)
{
    QString s;
    s += QChar(0xFF10 + k / 10);
    s += QChar(0xFF10 + k % 10);
    return s;
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y, int w)
{
    return MakeLabel(parent, nullptr, text, x, y, w, kFieldHeight);
}

QLineEdit* Field(QWidget* parent, const QString& name, int x, int y, int w)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(x, y, w, kFieldHeight);
    return e;
}

QLineEdit* NumberField(QWidget* parent, const char* name, int x, int y, int w)
{
    QLineEdit* e = Field(parent, QString::fromLatin1(name), x, y, w);
    e->setText(QStringLiteral("0"));
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    FoldTypedNumbers(e); // full-width digits, as an input method types them
    return e;
}

// An editable combo box: free text is allowed and never added to the list; what is typed stays
// exactly as typed (no completion), so that every change handler sees the user's own text.
QComboBox* Combo(QWidget* parent, const char* name, int x, int y, int w)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    c->setMaxVisibleItems(20);
    c->setGeometry(x, y, w, kFieldHeight);
    return c;
}

QGroupBox* Group(QWidget* parent, const QString& title, int x, int y, int w, int h)
{
    auto* g = new QGroupBox(title, parent);
    g->setGeometry(x, y, w, h);
    return g;
}

// A combo box alone in a titled group, as the single-value groups of the horse pages are.
QComboBox* GroupCombo(QWidget* parent, const QString& title, const char* name, int x, int y, int w)
{
    QGroupBox* g = Group(parent, title, x, y, w, 50);
    return Combo(g, name, 8, 20, w - 16);
}

QLineEdit* GroupNumber(QWidget* parent, const QString& title, const char* name, int x, int y, int w)
{
    QGroupBox* g = Group(parent, title, x, y, w, 50);
    return NumberField(g, name, 8, 20, w - 16);
}

// A radio group with its items side by side; the first item starts chosen.
std::vector<QRadioButton*> RadioGroup(QWidget* parent, const char* name, const QString& title,
                                      std::span<const std::u16string_view> items, int x, int y, int w)
{
    QGroupBox* g = Group(parent, title, x, y, w, 50);
    g->setObjectName(QString::fromLatin1(name));
    auto* group = new QButtonGroup(g);
    std::vector<QRadioButton*> buttons;
    const int step = (w - 12) / static_cast<int>(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(Q(items[i]), g);
        // A gap that stays visible when the window is scaled down, so no circle touches the previous label.
        b->setGeometry(8 + static_cast<int>(i) * step, 20, step - 10, 22);
        group->addButton(b, static_cast<int>(i));
        buttons.push_back(b);
    }
    buttons.front()->setChecked(true);
    return buttons;
}

QLabel* ColourNote(QWidget* parent, int y)
{
    return Caption(parent, QStringLiteral("※テキストボックスのダブルクリックで色を指定出来ます"), 8, y, 600);
}

// The pedigree chart of a horse page: column 4 holds positions 8..15 one below the other, each
// position of columns 1..3 stands level with the middle of the two (four, eight) rows behind it.
constexpr int kChartTop = 48;
constexpr int kRow = 36;
constexpr int kColumnX[5] = { 0, 8, 160, 312, 464 };
constexpr int kFieldWidth = 144;

int ColumnOf(int k)
{
    return k >= 8 ? 4 : k >= 4 ? 3 : k >= 2 ? 2 : 1;
}

int ChartY(int k)
{
    const int column = ColumnOf(k);
    const int first = 1 << (column - 1); // the column's first position
    // Chart rows one position spans; the sire spans the upper half, his dam the lower one.
    const int rows = column == 1 ? 4 : 8 >> (column - 1);
    return kChartTop + (k - first) * rows * kRow + (rows - 1) * kRow / 2;
}

} // namespace

void TfrmMakeData::BuildLayout()
{
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setGeometry(4, 4, 784, 524);
    const char* const sheetNames[]
        = { "TabSheet1", "TabSheet2", "TabSheet3", "TabSheet5", "TabSheet6", "TabSheet7", "TabSheet8" };
    const char* const captions[] = { "繁殖牝馬", "種牡馬", "祖先馬", "クロス効果", "系統", "面白系統", "毛色" };
    for (int i = 0; i < 7; ++i) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(sheetNames[i]));
        m_pages->addTab(page, QString::fromUtf8(captions[i]));
    }
    m_mam.page = m_pages->widget(0);
    m_dad.page = m_pages->widget(1);
    BuildHorsePage(m_mam, false);
    BuildHorsePage(m_dad, true);
    BuildOyaPage();
    BuildCrossPage();
    BuildKeitoPage();
    BuildOmokeiPage();
    BuildKeiroPage();
    BuildCommands();
    m_cldKoka = new QColorDialog(this);
    m_cldKoka->setObjectName(QStringLiteral("cldKoka"));
    m_cldKoka->setOption(QColorDialog::DontUseNativeDialog);
}

void TfrmMakeData::BuildHorsePage(HorsePage& p, bool stallion)
{
    QWidget* page = p.page;
    const char* prefix = stallion ? "edtDSosen" : "edtMSosen";
    Caption(page, QStringLiteral("馬名"), 8, 12, 40);
    p.name = Combo(page, stallion ? "cmbDName" : "cmbMName", 52, 12, 200);
    for (int k = 1; k <= 15; ++k) {
        p.sosen[static_cast<size_t>(k)] = Field(page, Name(prefix, k), kColumnX[ColumnOf(k)], ChartY(k), kFieldWidth);
        p.sosen[static_cast<size_t>(k)]->setProperty("tag", k);
    }
    // The dam stands in column 1 beside her sire (position 3).
    const int damY = ChartY(3);
    Caption(page, QStringLiteral("母"), kColumnX[1], damY - 26, 30);
    p.dam = Combo(page, stallion ? "cmbDMam" : "cmbMam", kColumnX[1], damY, kFieldWidth);
    p.floating = Combo(page, stallion ? "cmbDSosen" : "cmbMSosen", 0, 0, kFieldWidth);
    p.floating->hide();

    constexpr int x = 612;
    constexpr int w = 160;
    if (stallion) {
        p.origin = GroupCombo(page, QStringLiteral("生産地"), "cmbBirth", x, 4, w);
        p.keito = GroupCombo(page, QStringLiteral("系統"), "cmbDKeito", x, 58, w);
        p.keiro = GroupCombo(page, QStringLiteral("毛色"), "cmbDKeiro", x, 112, w);
        p.fee = GroupNumber(page, QStringLiteral("★(1～5)"), "edtDFee", x, 166, w);
        BuildStallionExtras(p);
    } else {
        p.origin = GroupCombo(page, QStringLiteral("持込/生産地"), "cmbMotikomi", x, 4, w);
        p.keito = GroupCombo(page, QStringLiteral("系統"), "cmbMKeito", x, 58, w);
        p.keiro = GroupCombo(page, QStringLiteral("毛色"), "cmbMKeiro", x, 112, w);
        p.fee = GroupNumber(page, QStringLiteral("基本料"), "edtMFee", x, 166, w);
        p.speed = GroupNumber(page, QStringLiteral("スピード"), "edtMSpeed", x, 220, w);
        p.stamina = GroupNumber(page, QStringLiteral("スタミナ"), "edtMStamina", x, 274, w);
    }
    for (QLineEdit* f : p.sosen)
        if (f)
            FoldTypedKanaInKanaMode(f);
    for (QComboBox* c : { p.name, p.floating, p.dam })
        FoldTypedKanaInKanaMode(c->lineEdit());
}

void TfrmMakeData::BuildStallionExtras(HorsePage& p)
{
    QWidget* page = p.page;
    constexpr int top = kChartTop + 8 * kRow + 8;
    QGroupBox* g = Group(page, QStringLiteral("距離適性"), 476, top, 296, 50);
    p.distance1 = Combo(g, "cmbDDistance1", 8, 20, 120);
    Caption(g, QStringLiteral("～"), 136, 20, 20);
    p.distance2 = Combo(g, "cmbDDistance2", 164, 20, 120);
    for (QComboBox* c : { p.distance1, p.distance2 }) {
        c->setAttribute(Qt::WA_InputMethodEnabled, false);
        c->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    }

    p.choices[kDirt] = RadioGroup(page, "rdgDirt", QStringLiteral("ダート"), kDirtItems, 8, top, 180);
    p.choices[kGrow] = RadioGroup(page, "rdgGrow", QStringLiteral("成長"), kGrowItems, 196, top, 270);
    const char* names[] = { "rdgKisho", "rdgKonjo", "rdgKenko", "rdgJisseki", "rdgAntei" };
    const char* titles[] = { "気性", "底力", "健康", "実績", "安定" };
    for (int g2 = 0; g2 < 5; ++g2)
        p.choices[static_cast<size_t>(kKisho + g2)]
            = RadioGroup(page, names[g2], QString::fromUtf8(titles[g2]), kGradeItems, 8 + g2 * 152, top + 56, 148);
}

void TfrmMakeData::BuildOyaPage()
{
    QWidget* page = m_pages->widget(2);
    Caption(page, QStringLiteral("祖先馬名"), 8, 12, 84);
    m_cmbSName = Combo(page, "cmbSName", 96, 12, 200);
    FoldTypedKanaInKanaMode(m_cmbSName->lineEdit());
    QGroupBox* effects = Group(page, QStringLiteral("インブリード効果"), 8, 50, 300, 90);
    Caption(effects, QStringLiteral("効果１"), 10, 22, 62);
    m_cmbKoka1 = Combo(effects, "cmbKoka1", 76, 22, 210);
    Caption(effects, QStringLiteral("効果２"), 10, 56, 62);
    m_cmbKoka2 = Combo(effects, "cmbKoka2", 76, 56, 210);
    QGroupBox* line = Group(page, QStringLiteral("系統"), 8, 150, 300, 56);
    m_cmbKei = Combo(line, "cmbKei", 10, 22, 274);
}

void TfrmMakeData::BuildCrossPage()
{
    QWidget* page = m_pages->widget(3);
    for (int k = 1; k <= 16; ++k) {
        const int x = k <= 8 ? 8 : 300;
        const int y = 12 + ((k - 1) % 8) * 34;
        Caption(page, QStringLiteral("効果") + FullWidthNumber(k), x, y, 70);
        m_edtKoka[static_cast<size_t>(k)] = Field(page, Name("edtKoka", k), x + 74, y, 180);
    }
    ColourNote(page, 12 + 8 * 34 + 8);
}

void TfrmMakeData::BuildKeitoPage()
{
    QWidget* page = m_pages->widget(4);
    Caption(page, QStringLiteral("系統名"), 8, 12, 70);
    m_cmbKeito = Combo(page, "cmbKeito", 80, 12, 200);
    QGroupBox* g = Group(page, QStringLiteral("面白系統"), 8, 50, 300, 56);
    m_cmbOmo = Combo(g, "cmbOmo", 10, 22, 274);
}

void TfrmMakeData::BuildOmokeiPage()
{
    QWidget* page = m_pages->widget(5);
    for (int k = 1; k <= 16; ++k) {
        const int x = k <= 8 ? 8 : 400;
        const int y = 12 + ((k - 1) % 8) * 34;
        Caption(page, QStringLiteral("面白系統") + FullWidthNumber(k), x, y, 120);
        m_edtOmo[static_cast<size_t>(k)] = Field(page, Name("edtOmo", k), x + 124, y, 150);
        m_edtLbl[static_cast<size_t>(k)] = Field(page, Name("edtLbl", k), x + 278, y, 70);
    }
    ColourNote(page, 12 + 8 * 34 + 8);
}

void TfrmMakeData::BuildKeiroPage()
{
    QWidget* page = m_pages->widget(6);
    Caption(page, QStringLiteral("毛色名"), 8, 12, 70);
    m_cmbKeiro = Combo(page, "cmbKeiro", 80, 12, 200);
}

void TfrmMakeData::BuildCommands()
{
    QGroupBox* ime = Group(this, QStringLiteral("馬名等入力モード"), 4, 526, 280, 46);
    ime->setObjectName(QStringLiteral("rdgIme"));
    m_imeKana = new QRadioButton(Q(kImeKana), ime);
    m_imeKana->setGeometry(12, 22, 90, 20);
    m_imeOff = new QRadioButton(Q(kImeOff), ime);
    m_imeOff->setGeometry(110, 22, 150, 20);
    m_btnOK = MakeButton(this, "btnOK", QStringLiteral("登録"), 468, 536, 100, 30);
    m_btnDelete = MakeButton(this, "btnDelete", QStringLiteral("削除"), 576, 536, 100, 30);
    m_btnCancel = MakeButton(this, "btnCancel", QStringLiteral("戻る"), 684, 536, 100, 30);
}

} // namespace velmora::gui
