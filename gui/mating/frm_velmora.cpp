#include "gui/mating/frm_velmora.h"

#include "core/app/app_state.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/master_data.h"
#include "core/eval/colour_legend.h"
#include "core/eval/html_report.h"
#include "core/eval/positions.h"
#include "core/eval/rules.h"
#include "core/mating/foal_registration.h"
#include "core/mating/ordering.h"
#include "core/mating/pair_display.h"
#include "core/mating/points.h"
#include "core/mating/scoring.h"
#include "gui/app/controls.h"
#include "gui/app/data_load.h"
#include "gui/app/fit_form.h"
#include "gui/app/fit_text.h"
#include "gui/app/message_box.h"
#include "gui/app/modal.h"
#include "gui/maint/frm_make_data.h"
#include "gui/mating/frm_points.h"
#include "gui/mating/frm_text.h"
#include "gui/mating/shape.h"
#include "gui/mating/wait_cursor.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace velmora::gui {

namespace {

constexpr uint32_t kWhite = kDisplayWhite;

// The pedigree rows from top to bottom: the horse himself, then his male ancestors as a pedigree
// chart reads them (each sire directly above his own sire line, the dam's sires below).
constexpr int kRowOrder[16] = { 0, 1, 2, 4, 8, 9, 5, 10, 11, 3, 6, 12, 13, 7, 14, 15 };

constexpr int kPedigreeTop = 203;
constexpr int kRowHeight = 15;

QFont SmallFont()
{
    QFont f;
    f.setPointSize(9);
    return f;
}

// A value label with a sunken frame, as the static texts of the window show their numbers.
QLabel* MakeValue(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    QLabel* l = MakeLabel(parent, name, QString(), x, y, w, h);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return l;
}

QToolButton* MakeToggle(QWidget* parent, const QString& name, const QString& text, int x, int y, int w, int h)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setCheckable(true);
    b->setChecked(true);
    b->setGeometry(x, y, w, h);
    b->setFont(SmallFont());
    return b;
}

// The interesting-line name of a horse's own ancestor row; empty when the horse is unknown.
QString GroupNameOf(const MasterData& d, int32_t oya)
{
    if (oya < 0)
        return QString();
    return Q(CheckedAt(d.OmokeiTable, GroupOf(OyaAt(d, oya))).name);
}

// One control of a row laid out from its font: `widest` is the widest text it is to hold.
struct RowItem
{
    QWidget* w;
    QString widest;
    bool stretch = false; // gives up width for the others, down to what `widest` needs
};

int NeededWidth(QWidget* w, const QString& text)
{
    const int advance = QFontMetrics(DesignFont(w)).horizontalAdvance(text);
    if (auto* combo = qobject_cast<const QComboBox*>(w))
        return advance + combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, combo) + 12;
    const auto* frame = qobject_cast<const QFrame*>(w);
    return advance + 2 * (frame ? frame->frameWidth() : 0) + 1;
}

// Gives each control of a row at least the width its widest text needs in its font, taken first from
// controls with width to spare, then from the stretching one; the row keeps its span and its gaps. A
// row whose controls all fit stays as designed.
void ReflowRow(const std::vector<RowItem>& items)
{
    std::vector<int> width, need;
    for (const RowItem& it : items) {
        width.push_back(it.w->width());
        need.push_back(NeededWidth(it.w, it.widest));
    }
    int deficit = 0;
    for (size_t i = 0; i < items.size(); ++i)
        if (width[i] < need[i]) {
            deficit += need[i] - width[i];
            width[i] = need[i];
        }
    if (deficit == 0)
        return;
    for (int pass = 0; pass < 2 && deficit > 0; ++pass)
        for (size_t i = 0; i < items.size() && deficit > 0; ++i) {
            if (items[i].stretch != (pass == 1))
                continue;
            const int spare = std::min(std::max(width[i] - need[i], 0), deficit);
            width[i] -= spare;
            deficit -= spare;
        }
    int x = items.front().w->x();
    for (size_t i = 0; i < items.size(); ++i) {
        const int gap = i + 1 < items.size() ? items[i + 1].w->x() - items[i].w->x() - items[i].w->width() : 0;
        items[i].w->setGeometry(x, items[i].w->y(), width[i], items[i].w->height());
        x += width[i] + gap;
    }
}

// Whether the text of an editable combo is not empty and is none of its items.
bool NamesNoRow(const QComboBox* combo)
{
    const QString text = combo->currentText();
    return !text.isEmpty() && combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0;
}

} // namespace

TfrmVelmora::TfrmVelmora(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVelmora"));
    setWindowTitle(QStringLiteral("Velmora配合決定ツール"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    m_dadArray = UnknownDadArray();
    m_mamArray = UnknownMamArray();
    m_stallionList.reserve(kDadRows);
    m_mareList.reserve(kMamRows);
    BuildLayout();

    // Opening: captions of the bands, colour legend, the point table, then both lists.
    Guarded([this] {
        const AppState& app = App();
        for (int k = 1; k <= 5; ++k)
            m_dadStar[static_cast<size_t>(k - 1)]->setText(Q(app.StarBands[static_cast<size_t>(k)].Caption));
        for (int k = 1; k <= 4; ++k)
            m_mamPrice[static_cast<size_t>(k - 1)]->setText(Q(app.MarePriceBands[static_cast<size_t>(k)].Caption));
        m_colorMode = true;
        ShowLegend();
        OpenPointFile(App().DataDir, App().DataFiles.Aisho);
        ListChooser();
        ReadPoints(*PointFile(), PointTable());
        m_btnDadFee->setChecked(true);
        PressAllDad();
        ClearStallion();
        m_btnMamName->setChecked(true);
        PressAllMam();
        ClearMare();
    });
    m_dadArray = UnknownDadArray();
    m_mamArray = UnknownMamArray();
}

TfrmVelmora::~TfrmVelmora() = default;

// ---------------------------------------------------------------------------------------------------
// Layout (792 x 576 at 96 dpi; FitForm scales it to the configured layout size).

void TfrmVelmora::BuildLayout()
{
    resize(792, 576);
    setFixedSize(792, 576);
    BuildStallionGroup();
    BuildMareGroup();
    BuildBottom();
}

void TfrmVelmora::BuildStallionGroup()
{
    auto* grp = new QGroupBox(QStringLiteral("種牡馬"), this);
    grp->setObjectName(QStringLiteral("grpDad"));
    grp->setGeometry(4, 2, 390, 446);

    m_cmbDad = MakeComboBox(grp, "cmbDad", 6, 18, 176, 22);
    m_cmbDad->setMaxVisibleItems(24);
    m_sttDad = MakeValue(grp, "sttDad", 186, 18, 64, 22);
    m_lblDRare = MakeLabel(grp, "lblDRare", QString(), 254, 18, 60, 22);
    SetTextColor(m_lblDRare, 0x0080FF);
    m_lblBirth = MakeLabel(grp, "lblBirth", QString(), 318, 18, 64, 22);

    m_lblDKeito = MakeLabel(grp, "lblDKeito", QString(), 6, 42, 200, 18);
    m_lblDKeiro = MakeLabel(grp, "lblDKeiro", QString(), 210, 42, 66, 18);
    m_lblDis1 = MakeLabel(grp, "lblDis1", QString(), 280, 42, 42, 18);
    m_lblDis1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblDisTo = MakeLabel(grp, nullptr, QStringLiteral("～"), 324, 42, 16, 18);
    m_lblDis2 = MakeLabel(grp, "lblDis2", QString(), 340, 42, 42, 18);

    int x = 6;
    auto caption = [&](const QString& text, int w) {
        MakeLabel(grp, nullptr, text, x, 62, w, 18);
        x += w;
    };
    auto value = [&](const char* name, int w) {
        QLabel* l = MakeLabel(grp, name, QString(), x, 62, w, 18);
        x += w + 6;
        return l;
    };
    caption(QStringLiteral("ダート"), 48);
    m_lblDirt = value("lblDirt", 18);
    m_lblGrow = value("lblGrow", 36);
    caption(QStringLiteral("気性"), 32);
    m_lblKisho = value("lblKisho", 12);
    caption(QStringLiteral("底力"), 32);
    m_lblKonjo = value("lblKonjo", 12);
    caption(QStringLiteral("体質"), 32);
    m_lblKenko = value("lblKenko", 12);
    caption(QStringLiteral("実績"), 32);
    m_lblJisseki = value("lblJisseki", 12);
    caption(QStringLiteral("安定"), 32);
    m_lblAntei = value("lblAntei", 12);

    // Order buttons.
    auto* order = new QGroupBox(QStringLiteral("リスト順序"), grp);
    order->setObjectName(QStringLiteral("grpDadOrder"));
    order->setGeometry(6, 80, 378, 44);
    auto makeOrder = [&](const char* name, const QString& text, int ox, const QString& hint) {
        auto* b = new QToolButton(order);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setGeometry(ox, 16, 80, 22);
        b->setToolTip(hint);
        return b;
    };
    m_btnDadFee = makeOrder("btnDadFee", QStringLiteral("★順"), 6,
                            QStringLiteral("種牡馬リストを、種付け料の高い順に並べ替えます"));
    m_btnDadName
        = makeOrder("btnDadName", QStringLiteral("名前順"), 90, QStringLiteral("種牡馬リストを名前順に並べ替えます"));
    m_btnDadAisho = makeOrder("btnDadAisho", QStringLiteral("相性順"), 174,
                              QStringLiteral("種牡馬リストを、選択されている繁殖との相性順に並べ替えます"));
    m_btnDadList = MakeButton(order, "btnDadList", QStringLiteral("一覧表示"), 282, 16, 90, 22);
    m_btnDadList->setToolTip(QStringLiteral("相性順に並び替えてから押すと、一覧で表示されます"));
    for (QToolButton* b : { m_btnDadFee, m_btnDadName, m_btnDadAisho })
        connect(b, &QToolButton::clicked, this, [this] { Guarded([this] { OrderStallions(); }); });
    connect(m_btnDadList, &QPushButton::clicked, this, [this] { OnListDisplay(true); });

    // Filters.
    auto* flt = new QGroupBox(QStringLiteral("絞り込み"), grp);
    flt->setObjectName(QStringLiteral("grpDadFilter"));
    flt->setGeometry(6, 126, 378, 74);
    flt->setToolTip(QStringLiteral("種牡馬リストを絞り込む条件を設定できます"));
    flt->setFont(SmallFont());
    auto groupLabel = [&](const QString& text, int gx, int gy, int w) { MakeLabel(flt, nullptr, text, gx, gy, w, 18); };
    auto makeGroup = [&](std::vector<QToolButton*>& group, const QString& prefix, const QStringList& texts, int gx,
                         int gy, int w) {
        for (int i = 0; i < texts.size(); ++i) {
            QToolButton* b = MakeToggle(flt, prefix + QString::number(i + 1), texts[i], gx + i * w, gy, w, 18);
            group.push_back(b);
        }
    };
    groupLabel(QStringLiteral("産種"), 4, 14, 26);
    makeGroup(m_dadOrigin, QStringLiteral("spbDadBirth"),
              { QStringLiteral("内国"), QStringLiteral("外国"), QStringLiteral("無印"), QStringLiteral("自家") }, 30,
              14, 32);
    groupLabel(QStringLiteral("★"), 164, 14, 14);
    makeGroup(m_dadStar, QStringLiteral("spbDadStar"), { QString(), QString(), QString(), QString(), QString() }, 178,
              14, 24);
    groupLabel(QStringLiteral("成長"), 4, 33, 26);
    makeGroup(m_dadGrow, QStringLiteral("spbDadGrow"),
              { QStringLiteral("普"), QStringLiteral("早"), QStringLiteral("晩"), QStringLiteral("持") }, 30, 33, 20);
    groupLabel(QStringLiteral("ダ"), 114, 33, 14);
    makeGroup(m_dadDirt, QStringLiteral("spbDadDirt"),
              { QStringLiteral("◎"), QStringLiteral("○"), QStringLiteral("△") }, 128, 33, 20);
    const QStringList abc = { QStringLiteral("Ａ"), QStringLiteral("B"), QStringLiteral("C") };
    const QString gradeCaps[5] = { QStringLiteral("気"), QStringLiteral("底"), QStringLiteral("体"),
                                   QStringLiteral("実"), QStringLiteral("安") };
    const char* gradeNames[5] = { "spbKisho", "spbKonjo", "spbKenko", "spbJisseki", "spbAntei" };
    // 気 on the second row, 底 体 実 安 on the third.
    groupLabel(gradeCaps[0], 196, 33, 14);
    makeGroup(m_dadGrade[0], QString::fromLatin1(gradeNames[0]), abc, 210, 33, 20);
    for (int g = 1; g < 5; ++g) {
        const int gx = 4 + (g - 1) * 80;
        groupLabel(gradeCaps[g], gx, 52, 14);
        makeGroup(m_dadGrade[static_cast<size_t>(g)], QString::fromLatin1(gradeNames[g]), abc, gx + 14, 52, 20);
    }
    m_btnDadAll = MakeButton(flt, "btnDadAll", QStringLiteral("全\n頭"), 338, 14, 34, 56);
    connect(m_btnDadAll, &QPushButton::clicked, this, [this] { Guarded([this] { PressAllDad(); }); });
    std::vector<std::vector<QToolButton*>*> groups = { &m_dadOrigin, &m_dadStar, &m_dadGrow, &m_dadDirt };
    for (auto& g : m_dadGrade)
        groups.push_back(&g);
    for (auto* group : groups)
        for (QToolButton* b : *group)
            connect(b, &QToolButton::clicked, this, [this, b, group] { OnFilterClicked(b, *group, true); });

    BuildPedigreeRows(grp, true);
}

void TfrmVelmora::BuildMareGroup()
{
    auto* grp = new QGroupBox(QStringLiteral("繁殖牝馬"), this);
    grp->setObjectName(QStringLiteral("grpMam"));
    grp->setGeometry(398, 2, 390, 446);

    m_cmbMam = MakeComboBox(grp, "cmbMam", 6, 18, 176, 22);
    m_cmbMam->setMaxVisibleItems(24);
    m_sttMam = MakeValue(grp, "sttMam", 186, 18, 64, 22);

    MakeLabel(grp, nullptr, QStringLiteral("持込/産地"), 6, 42, 76, 18);
    m_lblMotikomi = MakeLabel(grp, "lblMotikomi", QString(), 86, 42, 40, 18);
    m_lblMkeito = MakeLabel(grp, "lblMkeito", QString(), 128, 42, 182, 18);
    m_lblMKeiro = MakeLabel(grp, "lblMKeiro", QString(), 314, 42, 70, 18);
    m_lblMFee = MakeLabel(grp, "lblMFee", QString(), 6, 62, 54, 18);
    m_lblMFee->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    MakeLabel(grp, nullptr, QStringLiteral("万円"), 62, 62, 36, 18);
    MakeLabel(grp, nullptr, QStringLiteral("スピード"), 110, 62, 64, 18);
    m_lblSpeed = MakeLabel(grp, "lblSpeed", QString(), 174, 62, 30, 18);
    MakeLabel(grp, nullptr, QStringLiteral("スタミナ"), 214, 62, 64, 18);
    m_lblStamina = MakeLabel(grp, "lblStamina", QString(), 278, 62, 30, 18);

    auto* order = new QGroupBox(QStringLiteral("リスト順序"), grp);
    order->setObjectName(QStringLiteral("grpMamOrder"));
    order->setGeometry(6, 80, 378, 44);
    auto makeOrder = [&](const char* name, const QString& text, int ox, const QString& hint) {
        auto* b = new QToolButton(order);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setGeometry(ox, 16, 80, 22);
        b->setToolTip(hint);
        return b;
    };
    m_btnMamFee = makeOrder("btnMamFee", QStringLiteral("基本料順"), 6,
                            QStringLiteral("繁殖牝馬リストを、基本料の高い順に並べ替えます"));
    m_btnMamName
        = makeOrder("btnMamName", QStringLiteral("名前順"), 90, QStringLiteral("繁殖牝馬リストを名前順に並べ替えます"));
    m_btnMamAisho = makeOrder("btnMamAisho", QStringLiteral("相性順"), 174,
                              QStringLiteral("繁殖牝馬リストを、選択されている種牡馬との相性順に並べ替えます"));
    m_btnMamList = MakeButton(order, "btnMamList", QStringLiteral("一覧表示"), 282, 16, 90, 22);
    m_btnMamList->setToolTip(QStringLiteral("相性順に並び替えてから押すと、一覧で表示されます"));
    for (QToolButton* b : { m_btnMamFee, m_btnMamName, m_btnMamAisho })
        connect(b, &QToolButton::clicked, this, [this] { Guarded([this] { OrderMares(); }); });
    connect(m_btnMamList, &QPushButton::clicked, this, [this] { OnListDisplay(false); });

    auto* flt = new QGroupBox(QStringLiteral("絞り込み"), grp);
    flt->setObjectName(QStringLiteral("grpMamFilter"));
    flt->setGeometry(6, 126, 378, 74);
    flt->setToolTip(QStringLiteral("繁殖牝馬リストを絞り込む条件を設定できます"));
    flt->setFont(SmallFont());
    MakeLabel(flt, nullptr, QStringLiteral("価格帯"), 4, 14, 40, 18);
    for (int i = 0; i < 4; ++i)
        m_mamPrice.push_back(
            MakeToggle(flt, QStringLiteral("spbMamPrice%1").arg(i + 1), QString(), 44 + i * 60, 14, 60, 18));
    MakeLabel(flt, nullptr, QStringLiteral("産地"), 4, 33, 40, 18);
    m_btnMamJika = MakeToggle(flt, QStringLiteral("spbMamJika"), QStringLiteral("自家"), 44, 33, 40, 18);
    const QStringList hml = { QStringLiteral("高"), QStringLiteral("中"), QStringLiteral("低") };
    MakeLabel(flt, nullptr, QStringLiteral("SP"), 4, 52, 20, 18);
    for (int i = 0; i < 3; ++i)
        m_mamSp.push_back(MakeToggle(flt, QStringLiteral("spbMamSp%1").arg(i + 1), hml[i], 24 + i * 24, 52, 24, 18));
    MakeLabel(flt, nullptr, QStringLiteral("ST"), 108, 52, 20, 18);
    for (int i = 0; i < 3; ++i)
        m_mamSt.push_back(MakeToggle(flt, QStringLiteral("spbMamSt%1").arg(i + 1), hml[i], 128 + i * 24, 52, 24, 18));
    m_btnMamAll = MakeButton(flt, "btnMamAll", QStringLiteral("全\n頭"), 338, 14, 34, 56);
    connect(m_btnMamAll, &QPushButton::clicked, this, [this] { Guarded([this] { PressAllMam(); }); });
    for (auto* group : { &m_mamPrice, &m_mamSp, &m_mamSt })
        for (QToolButton* b : *group)
            connect(b, &QToolButton::clicked, this, [this, b, group] { OnFilterClicked(b, *group, false); });
    // The single 自家 button has no group to keep down.
    connect(m_btnMamJika, &QToolButton::clicked, this, [this] { Guarded([this] { BuildMareList(); }); });

    BuildPedigreeRows(grp, false);
}

void TfrmVelmora::BuildPedigreeRows(QGroupBox* box, bool dadSide)
{
    const QFont small = SmallFont();
    const QString side = dadSide ? QStringLiteral("D") : QStringLiteral("M");
    for (int row = dadSide ? 0 : 1; row < 16; ++row) {
        const int p = kRowOrder[row];
        const int y = kPedigreeTop + row * kRowHeight;
        const int indent = p == 0 ? 0 : (PositionGeneration(p) - 1) * 14;
        const auto k = static_cast<size_t>(p);
        TShape* inb = MakeShape(box, QStringLiteral("shp%1Inb%2").arg(side).arg(p), 6, y + 3, 9, 9);
        inb->hide();
        QLabel* sosen = nullptr;
        if (p != 0) {
            sosen = MakeLabel(box, nullptr, QString(), 18 + indent, y, 170 - indent, kRowHeight);
            sosen->setObjectName(QStringLiteral("%1sosen%2").arg(side).arg(p));
            sosen->setFont(small);
            sosen->installEventFilter(this);
            sosen->setProperty("pos", p);
        } else {
            QLabel* self = MakeLabel(box, nullptr, QStringLiteral("（本馬）"), 18, y, 170, kRowHeight);
            self->setFont(small);
        }
        TShape* shpA = MakeShape(box, QStringLiteral("shp%1KokaA%2").arg(side).arg(p), 190, y + 2, 10, 11);
        QLabel* kokaA = MakeLabel(box, nullptr, QString(), 202, y, 84, kRowHeight);
        kokaA->setObjectName(QStringLiteral("%1kokaA%2").arg(side).arg(p));
        kokaA->setFont(small);
        TShape* shpB = MakeShape(box, QStringLiteral("shp%1KokaB%2").arg(side).arg(p), 288, y + 2, 10, 11);
        QLabel* kokaB = MakeLabel(box, nullptr, QString(), 300, y, 84, kRowHeight);
        kokaB->setObjectName(QStringLiteral("%1kokaB%2").arg(side).arg(p));
        kokaB->setFont(small);
        if (dadSide) {
            m_shpDInb[k] = inb;
            m_dSosen[k] = sosen;
            m_shpDKokaA[k] = shpA;
            m_dKokaA[k] = kokaA;
            m_shpDKokaB[k] = shpB;
            m_dKokaB[k] = kokaB;
        } else {
            m_shpMInb[k] = inb;
            m_mSosen[k] = sosen;
            m_shpMKokaA[k] = shpA;
            m_mKokaA[k] = kokaA;
            m_shpMKokaB[k] = shpB;
            m_mKokaB[k] = kokaB;
        }
    }
}

void TfrmVelmora::BuildBottom()
{
    auto* eval = new QGroupBox(this);
    eval->setObjectName(QStringLiteral("grpEval"));
    eval->setGeometry(4, 449, 784, 46);
    int x = 8;
    auto item = [&](const QString& caption, const char* shapeName, const char* labelName, TShape** shape,
                    QLabel** label, int w) {
        MakeLabel(eval, nullptr, caption, x, 2, w, 18)->setAlignment(Qt::AlignCenter);
        if (shapeName) {
            *shape = MakeShape(eval, QString::fromLatin1(shapeName), x, 20, w, 22);
            *label = MakeLabel(eval, labelName, QString(), x, 20, w, 22);
        } else {
            *label = MakeValue(eval, labelName, x, 20, w, 22);
        }
        (*label)->setAlignment(Qt::AlignCenter);
        x += w + 8;
    };
    TShape* none = nullptr;
    item(QStringLiteral("面白"), "shpOmo", "lblOmo", &m_shpOmo, &m_lblOmo, 64);
    item(QStringLiteral("見事"), "shpMig", "lblMig", &m_shpMig, &m_lblMig, 64);
    item(QStringLiteral("良でき"), "shpYok", "lblYok", &m_shpYok, &m_lblYok, 64);
    item(QStringLiteral("危険"), "shpKiken", "lblKiken", &m_shpKiken, &m_lblKiken, 64);
    item(QStringLiteral("クロス"), "shpCrs", "lblCrs", &m_shpCrs, &m_lblCrs, 64);
    item(QStringLiteral("Nix値"), "shpNix", "lblNix", &m_shpNix, &m_lblNix, 64);
    item(QStringLiteral("ﾆﾄﾛSP"), nullptr, "sttNitSP", &none, &m_sttNitSP, 64);
    item(QStringLiteral("ﾆﾄﾛST"), nullptr, "sttNitST", &none, &m_sttNitST, 64);
    item(QStringLiteral("相性値"), nullptr, "lblPoint", &none, &m_lblPoint, 120);
    QFont big = m_lblPoint->font();
    big.setBold(true);
    m_lblPoint->setFont(big);

    m_grpColor = new QGroupBox(QStringLiteral("色の指定(クリックで切替)"), this);
    m_grpColor->setObjectName(QStringLiteral("grpColor"));
    m_grpColor->setGeometry(4, 497, 520, 44);
    m_grpColor->installEventFilter(this);
    for (int k = 1; k <= 15; ++k) {
        QLabel* l = MakeLabel(m_grpColor, nullptr, QString(), 6 + (k - 1) * 34, 16, 32, 22);
        l->setObjectName(QStringLiteral("lblCol%1").arg(k));
        l->setAlignment(Qt::AlignCenter);
        l->setFont(SmallFont());
        l->installEventFilter(this);
        m_lblCol[static_cast<size_t>(k)] = l;
    }

    auto* pts = new QGroupBox(QStringLiteral("相性値設定"), this);
    pts->setObjectName(QStringLiteral("grpPoints"));
    pts->setGeometry(528, 497, 260, 44);
    m_cmbFile = new QComboBox(pts);
    m_cmbFile->setObjectName(QStringLiteral("cmbFile"));
    m_cmbFile->setGeometry(6, 16, 146, 22);
    connect(m_cmbFile, &QComboBox::activated, this, [this](int i) { OnPointFileChosen(i); });
    m_btnPoints = MakeButton(pts, "btnPoints", QStringLiteral("相性値編集"), 156, 16, 98, 22);
    connect(m_btnPoints, &QPushButton::clicked, this, [this] { OnEditPoints(); });

    m_btnMamReg = MakeButton(this, "btnMamReg", QStringLiteral("牝馬登録"), 4, 545, 100, 28);
    m_btnMamReg->setToolTip(QStringLiteral("選択されている配合で、自家製繁殖牝馬としてデータ登録します"));
    m_btnDadReg = MakeButton(this, "btnDadReg", QStringLiteral("牡馬登録"), 108, 545, 100, 28);
    m_btnDadReg->setToolTip(QStringLiteral("選択されている配合で、自家製種牡馬としてデータ登録します"));
    connect(m_btnMamReg, &QPushButton::clicked, this, [this] { Guarded([this] { OnRegisterFoal(false); }); });
    connect(m_btnDadReg, &QPushButton::clicked, this, [this] { Guarded([this] { OnRegisterFoal(true); }); });
    m_btnHtml = MakeButton(this, "btnHtml", QStringLiteral("html出力"), 212, 545, 100, 28);
    m_btnHtml->setToolTip(QStringLiteral("選択されている配合をhtmlで表示します"));
    connect(m_btnHtml, &QPushButton::clicked, this, [this] { OnHtml(); });
    m_btnEnd = MakeButton(this, "btnEnd", QStringLiteral("終了"), 688, 545, 100, 28);
    connect(m_btnEnd, &QPushButton::clicked, this, &QDialog::accept);

    m_pumDadInb = new QMenu(this);
    m_pumDadInb->setObjectName(QStringLiteral("pumDadInb"));
    m_pumMamInb = new QMenu(this);
    m_pumMamInb->setObjectName(QStringLiteral("pumMamInb"));

    connect(m_cmbDad, &QComboBox::activated, this, [this] { Guarded([this] { ChooseStallion(); }); });
    connect(m_cmbMam, &QComboBox::activated, this, [this] { Guarded([this] { ChooseMare(); }); });
    // Enter on a text that names no horse chooses no row (the combo itself reports only known names).
    connect(m_cmbDad->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (!m_filling && NamesNoRow(m_cmbDad))
            Guarded([this] { ClearStallion(true); });
    });
    connect(m_cmbMam->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (!m_filling && NamesNoRow(m_cmbMam))
            Guarded([this] { ClearMare(true); });
    });
    connect(m_cmbDad, &QComboBox::editTextChanged, this, [this](const QString& t) {
        if (!m_filling && t.isEmpty())
            Guarded([this] { ClearStallion(); });
    });
    connect(m_cmbMam, &QComboBox::editTextChanged, this, [this](const QString& t) {
        if (!m_filling && t.isEmpty())
            Guarded([this] { ClearMare(); });
    });
    UpdateCommands();
}

// ---------------------------------------------------------------------------------------------------
// Lists.

StallionFilter TfrmVelmora::CurrentStallionFilter() const
{
    StallionFilter f;
    for (size_t i = 0; i < 4; ++i)
        f.origin[i] = m_dadOrigin[i]->isChecked();
    for (size_t i = 0; i < 5; ++i)
        f.star[i] = m_dadStar[i]->isChecked();
    for (size_t i = 0; i < 4; ++i)
        f.grow[i] = m_dadGrow[i]->isChecked();
    for (size_t i = 0; i < 3; ++i)
        f.dirt[i] = m_dadDirt[i]->isChecked();
    for (size_t g = 0; g < 5; ++g)
        for (size_t i = 0; i < 3; ++i)
            f.grade[g][i] = m_dadGrade[g][i]->isChecked();
    return f;
}

MareFilter TfrmVelmora::CurrentMareFilter() const
{
    MareFilter f;
    f.jika = m_btnMamJika->isChecked();
    for (size_t i = 0; i < 4; ++i)
        f.price[i] = m_mamPrice[i]->isChecked();
    for (size_t i = 0; i < 3; ++i) {
        f.sp[i] = m_mamSp[i]->isChecked();
        f.st[i] = m_mamSt[i]->isChecked();
    }
    return f;
}

void TfrmVelmora::BuildStallionList()
{
    const AppState& app = App();
    velmora::BuildStallionList(Master(), PointTable(), CurrentStallionFilter(), app.StarBands, m_stallionList);
    OrderStallions();
}

void TfrmVelmora::BuildMareList()
{
    const AppState& app = App();
    velmora::BuildMareList(Master(), PointTable(), CurrentMareFilter(), app.MarePriceBands, app.MareSpeedBands,
                           app.MareStaminaBands, m_mareList);
    OrderMares();
}

void TfrmVelmora::OrderStallions()
{
    const MasterData& d = Master();
    // 相性順 stays down while the mare is cleared (choosing the next one orders the list for her),
    // but a list built without a mare cannot be ordered by compatibility: it takes the opening order.
    if (m_btnDadAisho->isChecked() && m_mamRow < 0)
        m_btnDadFee->setChecked(true);
    if (m_btnDadAisho->isChecked() && m_mamRow >= 0) {
        WaitCursor wait;
        const ListRow& mare = m_mareList[static_cast<size_t>(m_mamRow)];
        SetStallionKeys(d, PointTable(), m_stallionList, MareOf(d, mare), mare.status);
        SortRows(d, m_stallionList, ListOrder::StallionCompat);
    } else if (m_btnDadName->isChecked()) {
        SortRows(d, m_stallionList, ListOrder::StallionName);
    } else if (m_btnDadFee->isChecked()) {
        SortRows(d, m_stallionList, ListOrder::StallionStar);
    }
    UpdateOrderFonts();
    RefillDadCombo();
}

void TfrmVelmora::OrderMares()
{
    const MasterData& d = Master();
    if (m_btnMamAisho->isChecked() && m_dadRow < 0)
        m_btnMamName->setChecked(true);
    if (m_btnMamAisho->isChecked() && m_dadRow >= 0) {
        WaitCursor wait;
        const ListRow& stallion = m_stallionList[static_cast<size_t>(m_dadRow)];
        SetMareKeys(d, PointTable(), m_mareList, StallionOf(d, stallion), stallion.status);
        SortRows(d, m_mareList, ListOrder::MareCompat);
    } else if (m_btnMamName->isChecked()) {
        SortRows(d, m_mareList, ListOrder::MareName);
    } else if (m_btnMamFee->isChecked()) {
        SortRows(d, m_mareList, ListOrder::MarePrice);
    }
    UpdateOrderFonts();
    RefillMamCombo();
}

void TfrmVelmora::UpdateOrderFonts()
{
    for (QToolButton* b : { m_btnDadFee, m_btnDadName, m_btnDadAisho, m_btnMamFee, m_btnMamName, m_btnMamAisho }) {
        QFont f = b->font();
        f.setBold(b->isChecked());
        b->setFont(f);
    }
}

void TfrmVelmora::RefillDadCombo()
{
    const MasterData& d = Master();
    // The chosen horse is kept by name across the refill.
    QString chosen;
    if (m_dadRow >= 0)
        chosen = m_cmbDad->itemText(m_dadRow);
    QStringList names;
    names.reserve(static_cast<qsizetype>(m_stallionList.size()));
    for (const ListRow& r : m_stallionList)
        names.push_back(Q(StallionOf(d, r).name));
    m_filling = true;
    m_cmbDad->clear();
    m_cmbDad->addItems(names);
    const int found = m_dadRow >= 0 ? m_cmbDad->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive) : -1;
    m_cmbDad->setCurrentIndex(found);
    if (found < 0)
        m_cmbDad->setEditText(QString());
    m_filling = false;
    if (m_dadRow >= 0 && found < 0) {
        ClearStallion();
    } else {
        m_dadRow = found;
        m_sttDad->setText(QStringLiteral("%1/%2").arg(found + 1).arg(m_cmbDad->count()));
    }
}

void TfrmVelmora::RefillMamCombo()
{
    const MasterData& d = Master();
    QString chosen;
    if (m_mamRow >= 0)
        chosen = m_cmbMam->itemText(m_mamRow);
    QStringList names;
    names.reserve(static_cast<qsizetype>(m_mareList.size()));
    for (const ListRow& r : m_mareList)
        names.push_back(Q(MareOf(d, r).name));
    m_filling = true;
    m_cmbMam->clear();
    m_cmbMam->addItems(names);
    const int found = m_mamRow >= 0 ? m_cmbMam->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive) : -1;
    m_cmbMam->setCurrentIndex(found);
    if (found < 0)
        m_cmbMam->setEditText(QString());
    m_filling = false;
    if (m_mamRow >= 0 && found < 0) {
        ClearMare();
    } else {
        m_mamRow = found;
        m_sttMam->setText(QStringLiteral("%1/%2").arg(found + 1).arg(m_cmbMam->count()));
    }
}

void TfrmVelmora::OnFilterClicked(QToolButton* button, const std::vector<QToolButton*>& group, bool dadSide)
{
    // At least one button of a group stays down: releasing the last one is undone.
    if (!button->isChecked()) {
        bool anyDown = false;
        for (QToolButton* b : group)
            anyDown = anyDown || b->isChecked();
        if (!anyDown) {
            button->setChecked(true);
            return;
        }
    }
    Guarded([this, dadSide] {
        if (dadSide)
            BuildStallionList();
        else
            BuildMareList();
    });
}

void TfrmVelmora::PressAllDad()
{
    std::vector<std::vector<QToolButton*>*> groups = { &m_dadOrigin, &m_dadStar, &m_dadGrow, &m_dadDirt };
    for (auto& g : m_dadGrade)
        groups.push_back(&g);
    for (auto* group : groups)
        for (QToolButton* b : *group)
            b->setChecked(true);
    BuildStallionList();
}

void TfrmVelmora::PressAllMam()
{
    for (auto* group : { &m_mamPrice, &m_mamSp, &m_mamSt })
        for (QToolButton* b : *group)
            b->setChecked(true);
    m_btnMamJika->setChecked(true);
    BuildMareList();
}

// ---------------------------------------------------------------------------------------------------
// Choosing, clearing and showing.

void TfrmVelmora::ChooseStallion()
{
    const int r = m_cmbDad->currentIndex();
    if (r < 0 || r >= static_cast<int>(m_stallionList.size())) {
        ClearStallion(true);
        return;
    }
    const MasterData& d = Master();
    const DadRec& s = StallionOf(d, m_stallionList[static_cast<size_t>(r)]);
    m_dadRow = r;
    m_dadArray = s.Father;
    m_dadFee = s.Fee;
    EvaluatePair();
    m_dadMarks.fill(false);
    ShowDadSide();
    m_sttDad->setText(QStringLiteral("%1/%2").arg(r + 1).arg(m_cmbDad->count()));
    ShowPair();
    if (m_btnMamAisho->isChecked())
        OrderMares();
    m_btnMamAisho->setEnabled(true);
    UpdateCommands();
}

void TfrmVelmora::ChooseMare()
{
    const int r = m_cmbMam->currentIndex();
    if (r < 0 || r >= static_cast<int>(m_mareList.size())) {
        ClearMare(true);
        return;
    }
    const MasterData& d = Master();
    const MamRec& m = MareOf(d, m_mareList[static_cast<size_t>(r)]);
    m_mamRow = r;
    m_mamArray = m.Father;
    EvaluatePair();
    m_mamMarks.fill(false);
    ShowMamSide();
    m_sttMam->setText(QStringLiteral("%1/%2").arg(r + 1).arg(m_cmbMam->count()));
    ShowPair();
    if (m_btnDadAisho->isChecked())
        OrderStallions();
    m_btnDadAisho->setEnabled(true);
    UpdateCommands();
}

void TfrmVelmora::ShowDadSide()
{
    const MasterData& d = Master();
    for (size_t k = 0; k <= 15; ++k) {
        const SlotDisplay& slot = m_display.dads[k];
        if (m_dSosen[k]) {
            m_dSosen[k]->setText(Q(slot.name));
            SetFontStyle(m_dSosen[k], false, false);
            m_dSosen[k]->setToolTip(Q(slot.hint));
        }
        ShowEffects(slot, m_dKokaA[k], m_dKokaB[k], m_shpDKokaA[k], m_shpDKokaB[k]);
    }
    if (m_dadRow < 0)
        return;
    const DadRec& s = StallionOf(d, m_stallionList[static_cast<size_t>(m_dadRow)]);
    m_lblBirth->setText(Q(s.birth));
    m_lblDKeito->setText(Q(CheckedAt(d.KeitoTable, s.keito).name) + QLatin1Char('/') + GroupNameOf(d, s.Father[0]));
    m_lblDKeiro->setText(Q(CheckedAt(d.KeiroTable, s.keiro)));
    m_lblDRare->setText(Q(StarText(s.Fee)));
    m_lblDis1->setText(QString::number(s.Distance1));
    m_lblDis2->setText(QString::number(s.Distance2));
    const std::pair<QLabel*, const std::u16string*> graded[]
        = { { m_lblDirt, &s.Dirt },   { m_lblKisho, &s.Kisho },     { m_lblKonjo, &s.Konjo },
            { m_lblKenko, &s.Kenko }, { m_lblJisseki, &s.Jisseki }, { m_lblAntei, &s.Antei } };
    for (const auto& [label, text] : graded) {
        label->setText(Q(*text));
        SetTextColor(label, GradeColor(*text));
    }
    m_lblGrow->setText(Q(s.Grow));
}

void TfrmVelmora::ShowMamSide()
{
    const MasterData& d = Master();
    for (size_t k = 1; k <= 15; ++k) {
        const SlotDisplay& slot = m_display.mams[k];
        m_mSosen[k]->setText(Q(slot.name));
        SetFontStyle(m_mSosen[k], false, false);
        m_mSosen[k]->setToolTip(Q(slot.hint));
        ShowEffects(slot, m_mKokaA[k], m_mKokaB[k], m_shpMKokaA[k], m_shpMKokaB[k]);
    }
    if (m_mamRow < 0)
        return;
    const MamRec& m = MareOf(d, m_mareList[static_cast<size_t>(m_mamRow)]);
    m_lblMotikomi->setText(Q(m.motikomi));
    m_lblMkeito->setText(Q(CheckedAt(d.KeitoTable, m.keito).name) + QLatin1Char('/') + GroupNameOf(d, m.Father[0]));
    m_lblMKeiro->setText(Q(CheckedAt(d.KeiroTable, m.keiro)));
    m_lblMFee->setText(QString::number(m.Fee));
    m_lblSpeed->setText(QString::number(m.speed));
    m_lblStamina->setText(QString::number(m.stamina));
}

void TfrmVelmora::ClearStallion(bool keepText)
{
    m_dadRow = -1;
    m_dadArray = UnknownDadArray();
    m_btnMamAisho->setEnabled(false);
    for (QLabel* l : { m_lblBirth, m_lblDKeito, m_lblDKeiro, m_lblDRare, m_lblDis1, m_lblDis2, m_lblDirt, m_lblGrow,
                       m_lblKisho, m_lblKonjo, m_lblKenko, m_lblJisseki, m_lblAntei })
        l->clear();
    for (size_t k = 0; k <= 15; ++k) {
        if (m_dSosen[k]) {
            m_dSosen[k]->clear();
            m_dSosen[k]->setToolTip(QString());
            SetFontStyle(m_dSosen[k], false, false);
        }
        m_dKokaA[k]->clear();
        m_dKokaB[k]->clear();
        m_shpDKokaA[k]->SetColor(kWhite);
        m_shpDKokaB[k]->SetColor(kWhite);
    }
    m_dadMarks.fill(false);
    m_filling = true;
    const QString typed = m_cmbDad->currentText();
    m_cmbDad->setCurrentIndex(-1);
    m_cmbDad->setEditText(keepText ? typed : QString());
    m_filling = false;
    m_sttDad->setText(QStringLiteral("0/%1").arg(m_cmbDad->count()));
    EvaluatePair();
    ShowPair();
    UpdateCommands();
}

void TfrmVelmora::ClearMare(bool keepText)
{
    m_mamRow = -1;
    m_mamArray = UnknownMamArray();
    m_btnDadAisho->setEnabled(false);
    for (QLabel* l : { m_lblMotikomi, m_lblMkeito, m_lblMKeiro, m_lblMFee, m_lblSpeed, m_lblStamina })
        l->clear();
    for (size_t k = 1; k <= 15; ++k) {
        m_mSosen[k]->clear();
        m_mSosen[k]->setToolTip(QString());
        SetFontStyle(m_mSosen[k], false, false);
        m_mKokaA[k]->clear();
        m_mKokaB[k]->clear();
        m_shpMKokaA[k]->SetColor(kWhite);
        m_shpMKokaB[k]->SetColor(kWhite);
    }
    m_mamMarks.fill(false);
    m_filling = true;
    const QString typed = m_cmbMam->currentText();
    m_cmbMam->setCurrentIndex(-1);
    m_cmbMam->setEditText(keepText ? typed : QString());
    m_filling = false;
    m_sttMam->setText(QStringLiteral("0/%1").arg(m_cmbMam->count()));
    EvaluatePair();
    ShowPair();
    UpdateCommands();
}

void TfrmVelmora::EvaluatePair()
{
    const bool both = m_dadRow >= 0 && m_mamRow >= 0;
    BuildPairDisplay(Master(), m_dadFee, m_dadArray, m_mamArray, m_colorMode, both, true, m_display);
}

void TfrmVelmora::ShowEffects(const SlotDisplay& slot, QLabel* a, QLabel* b, TShape* shapeA, TShape* shapeB)
{
    a->setText(Q(slot.effectA));
    a->setToolTip(Q(slot.hint));
    b->setText(Q(slot.effectB));
    b->setToolTip(Q(slot.hint));
    shapeA->SetColor(slot.colorA);
    shapeB->SetColor(slot.colorB);
}

void TfrmVelmora::ShowPair()
{
    const PairDisplay& p = m_display;
    auto marker = [](TShape* s, const SlotDisplay& slot) {
        s->setVisible(slot.marker);
        if (slot.marker)
            s->SetColor(slot.markerColor);
    };
    for (size_t k = 0; k <= 15; ++k)
        marker(m_shpDInb[k], p.dads[k]);
    for (size_t k = 1; k <= 15; ++k)
        marker(m_shpMInb[k], p.mams[k]);
    // A horse that stands twice on its side is shown in italics, a marked one in bold.
    for (size_t k = 1; k <= 15; ++k) {
        if (m_dSosen[k])
            SetFontStyle(m_dSosen[k], m_dadMarks[k], p.dads[k].italic);
        SetFontStyle(m_mSosen[k], m_mamMarks[k], p.mams[k].italic);
    }
    const std::pair<const PanelDisplay*, std::pair<QLabel*, TShape*>> panels[]
        = { { &p.omo, { m_lblOmo, m_shpOmo } }, { &p.mig, { m_lblMig, m_shpMig } },
            { &p.yok, { m_lblYok, m_shpYok } }, { &p.kiken, { m_lblKiken, m_shpKiken } },
            { &p.crs, { m_lblCrs, m_shpCrs } }, { &p.nix, { m_lblNix, m_shpNix } } };
    for (const auto& [panel, controls] : panels) {
        controls.first->setText(Q(panel->text));
        controls.second->SetColor(panel->lit ? panel->color : kWhite);
    }
    // The cross count's hint lists the crosses per effect; the nick keeps no hint here.
    m_lblCrs->setToolTip(Q(p.crs.hint));
    m_shpCrs->setToolTip(Q(p.crs.hint));
    m_sttNitSP->setText(Q(p.nitroSp));
    m_sttNitST->setText(Q(p.nitroSt));
    m_lblPoint->clear();
    if (p.evaluated) {
        const MasterData& d = Master();
        const ListRow& sr = m_stallionList[static_cast<size_t>(m_dadRow)];
        const ListRow& mr = m_mareList[static_cast<size_t>(m_mamRow)];
        const DadRec& s = StallionOf(d, sr);
        const MamRec& m = MareOf(d, mr);
        m_lblPoint->setText(QString::number(ShownCompat(d, PointTable(), s, sr.status, m, mr.status)));
    }
    // Names and values of another pair may need a smaller font to stay whole.
    FitTexts(this);
}

void TfrmVelmora::UpdateCommands()
{
    const bool both = m_dadRow >= 0 && m_mamRow >= 0;
    m_btnHtml->setEnabled(both);
    m_btnMamReg->setEnabled(both);
    m_btnDadReg->setEnabled(both);
}

void TfrmVelmora::ShowLegend()
{
    PaintLegendLabels(m_lblCol, ColourLegend(Master(), m_colorMode));
}

void TfrmVelmora::ToggleColorMode()
{
    m_colorMode = !m_colorMode;
    ShowLegend();
    FitTexts(m_grpColor);
    // Both sides are shown again in the new colours.
    if (m_dadRow >= 0)
        ChooseStallion();
    if (m_mamRow >= 0)
        ChooseMare();
}

void TfrmVelmora::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // FitForm has given the window its size and font by now (and fitted its texts as designed).
    ArrangeRows();
    FitTexts(this);
}

void TfrmVelmora::ArrangeRows()
{
    const QString stars(5, QChar(0x2605));
    const QString counter = QStringLiteral("000/000");
    ReflowRow({ { m_cmbDad, QStringLiteral("ﾝﾝﾝﾝﾝﾝﾝﾝ"), true },
                { m_sttDad, counter },
                { m_lblDRare, stars },
                { m_lblBirth, QStringLiteral("内国") } });
    ReflowRow({ { m_lblDKeito, QStringLiteral("ﾝﾝﾝﾝﾝ系/ﾝﾝﾝ系"), true },
                { m_lblDKeiro, QStringLiteral("黒鹿毛") },
                { m_lblDis1, QStringLiteral("0000") },
                { m_lblDisTo, QStringLiteral("～") },
                { m_lblDis2, QStringLiteral("0000") } });
    ReflowRow({ { m_cmbMam, QStringLiteral("ﾝﾝﾝﾝﾝﾝﾝﾝ"), true }, { m_sttMam, counter } });
    m_sttDad->setProperty(kFitSample, counter);
    m_sttMam->setProperty(kFitSample, counter);
    m_lblDRare->setProperty(kFitSample, stars);
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
    if (watched == m_grpColor
        || std::find(m_lblCol.begin(), m_lblCol.end(), static_cast<QLabel*>(watched)) != m_lblCol.end()) {
        Guarded([this] { ToggleColorMode(); });
        return true;
    }
    for (int k = 1; k <= 15; ++k) {
        const auto i = static_cast<size_t>(k);
        if (watched == m_dSosen[i] || watched == m_mSosen[i]) {
            const bool dadSide = watched == m_dSosen[i];
            const QPoint global = me->globalPosition().toPoint();
            const Qt::MouseButton button = me->button();
            Guarded([this, dadSide, k, button, global] { OnAncestorClicked(dadSide, k, button, global); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmVelmora::OnAncestorClicked(bool dadSide, int k, Qt::MouseButton button, const QPoint& globalPos)
{
    const auto i = static_cast<size_t>(k);
    QLabel* label = dadSide ? m_dSosen[i] : m_mSosen[i];
    const bool chosen = dadSide ? m_dadRow >= 0 : m_mamRow >= 0;
    if (!chosen || label->text().isEmpty())
        return;
    std::array<bool, 16>& marks = dadSide ? m_dadMarks : m_mamMarks;
    marks[i] = button == Qt::RightButton ? true : !marks[i];
    QFont f = label->font();
    f.setBold(marks[i]);
    label->setFont(f);
    if (button != Qt::RightButton)
        return;

    const MasterData& d = Master();
    const std::vector<std::u16string> captions = dadSide
        ? MarePartnerCaptions(d, m_dadArray, marks, k, m_mareList)
        : StallionPartnerCaptions(d, m_mamArray, marks, k, m_stallionList);
    QMenu* menu = dadSide ? m_pumDadInb : m_pumMamInb;
    menu->clear();
    for (const std::u16string& c : captions) {
        QAction* act = menu->addAction(Q(c));
        const QString name = Q(PartnerName(c));
        connect(act, &QAction::triggered, this,
                [this, dadSide, name] { Guarded([this, dadSide, name] { ChoosePartnerByName(dadSide, name); }); });
    }
    if (!menu->isEmpty())
        menu->popup(globalPos + QPoint(0, 24));
}

void TfrmVelmora::ChoosePartnerByName(bool dadSide, const QString& name)
{
    // A name from the stallion side's popup is a mare, and the other way round.
    QComboBox* combo = dadSide ? m_cmbMam : m_cmbDad;
    const int idx = combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_filling = true;
    combo->setCurrentIndex(idx);
    m_filling = false;
    if (dadSide)
        ChooseMare();
    else
        ChooseStallion();
}

// ---------------------------------------------------------------------------------------------------
// Point table and commands.

void TfrmVelmora::ListChooser()
{
    const PointFileList list = ListPointFiles(App().DataDir, App().DataFiles.Aisho);
    FillChooser(m_cmbFile, list.names, list.selected);
}

void TfrmVelmora::OnPointFileChosen(int index)
{
    if (index < 0)
        return;
    Guarded([this, index] {
        {
            WaitCursor wait;
            ChoosePointTable(App(), U(m_cmbFile->itemText(index)));
        }
        RebuildForNewTable();
    });
}

void TfrmVelmora::OnRegisterFoal(bool stallion)
{
    auto items = [](const QComboBox* c) {
        std::vector<std::u16string> names;
        for (int i = 0; i < c->count(); ++i)
            names.push_back(U(c->itemText(i)));
        return names;
    };
    const FoalPlan plan = PlanFoal(Master(), U(m_cmbDad->currentText()), U(m_cmbMam->currentText()), items(m_cmbDad),
                                   items(m_cmbMam), stallion);
    if (!plan.message.empty()) {
        MessageBox::Show(this, Q(plan.message));
        return;
    }
    auto* window = new TfrmMakeData(this);
    FitForm(window);
    window->RegisterFoal(plan.entry);
    const int result = ExecHidden(this, window);
    delete window;
    if (result != QDialog::Accepted)
        return;
    // The new data with every filter down, the same pair chosen again by name, the mares ordered anew.
    ReloadMasterData(this);
    PressAllDad();
    PressAllMam();
    ChoosePartnerByName(false, Q(plan.entry.sire)); // false: the name goes into the stallion box
    ChoosePartnerByName(true, Q(plan.entry.dam));
    OrderMares();
}

void TfrmVelmora::OnEditPoints()
{
    const std::u16string tableBefore = App().DataFiles.Aisho;
    auto* editor = new TfrmPoints(this);
    FitForm(editor);
    const int result = ExecHidden(this, editor);
    delete editor;
    // A table chosen in the editor stays current even when the editor is left without saving; the
    // window then follows it too, so that no value is shown from a mix of two tables.
    if (result != QDialog::Accepted && App().DataFiles.Aisho == tableBefore)
        return;
    Guarded([this] {
        ListChooser();
        ReadPoints(*PointFile(), PointTable());
        RebuildForNewTable();
    });
}

void TfrmVelmora::RebuildForNewTable()
{
    PressAllDad();
    PressAllMam();
    // The stallions were ordered while the chosen mare's row still held her status under the old
    // table. That adds the same amount to every key, so the order stands; only the keys are redone.
    if (m_btnDadAisho->isChecked() && m_mamRow >= 0) {
        const MasterData& d = Master();
        const ListRow& mare = m_mareList[static_cast<size_t>(m_mamRow)];
        SetStallionKeys(d, PointTable(), m_stallionList, MareOf(d, mare), mare.status);
    }
    ShowPair();
}

void TfrmVelmora::OnListDisplay(bool stallionList)
{
    const MasterData& d = Master();
    TextListSource src;
    src.stallions = stallionList;
    src.ready
        = stallionList ? (m_btnDadAisho->isChecked() && m_mamRow >= 0) : (m_btnMamAisho->isChecked() && m_dadRow >= 0);
    src.rows = stallionList ? &m_stallionList : &m_mareList;
    if (src.ready) {
        if (stallionList)
            src.target = m_mareList[static_cast<size_t>(m_mamRow)].index;
        else
            src.target = m_stallionList[static_cast<size_t>(m_dadRow)].index;
        src.targetName = stallionList ? Q(d.MamTable[static_cast<size_t>(src.target)].name)
                                      : Q(d.DadTable[static_cast<size_t>(src.target)].name);
    }
    auto* text = new TfrmText(src, this);
    FitForm(text);
    ExecModal(text);
    delete text;
}

void TfrmVelmora::OnHtml()
{
    if (m_dadRow < 0 || m_mamRow < 0)
        return;
    Guarded([this] {
        const MasterData& d = Master();
        const DadRec& s = d.DadTable[static_cast<size_t>(m_stallionList[static_cast<size_t>(m_dadRow)].index)];
        const MamRec& m = d.MamTable[static_cast<size_t>(m_mareList[static_cast<size_t>(m_mamRow)].index)];
        const std::string path = App().StartDir + std::string(kHtmlReportFile);
        WriteHtmlReport(d, path, m_dadFee, s.name + u" * " + m.name, m_dadArray, m_mamArray);
        OpenDocument(QString::fromStdString(path), this);
    });
}

void TfrmVelmora::Guarded(const std::function<void()>& work)
{
    MessageBox::ShowErrors(this, work);
}

} // namespace velmora::gui
