// The controls of the optimal-mating window, laid out at 96 dpi for a client area of 792 x 576 (FitForm
// scales them to the configured layout size).

#include "core/eval/positions.h"
#include "gui/app/controls.h"
#include "gui/app/fit_text.h"
#include "gui/app/shape.h"
#include "gui/mating/frm_velmora.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace velmora::gui {

namespace {

// The pedigree rows from top to bottom: the horse himself, then his male ancestors as a pedigree
// chart reads them (each sire directly above his own sire line, the dam's sires below).
constexpr int kRowOrder[16] = { 0, 1, 2, 4, 8, 9, 5, 10, 11, 3, 6, 12, 13, 7, 14, 15 };
constexpr int kPedigreeTop = 203;
constexpr int kRowHeight = 15;

// A group of filter buttons: its label, and the buttons side by side from firstX, `width` apart.
struct FilterGroup
{
    const char* label;
    int labelX, y, labelWidth;
    int firstX, width;
    const char* prefix; // object names prefix1, prefix2, ...; a single button is named prefix alone
};

// What tells one side's controls from the other's. Object names carry the tag: cmbDad, btnMamFee,
// and the pedigree panel's names its first letter: Dsosen1, shpMKokaA3.
struct SideLayout
{
    const char* tag;
    const char* title;
    int x;
    const char* feeOrder; // the caption of the first order button
    const char* filterHint;
    std::vector<FilterGroup> filters; // by the model's filter group
};

const SideLayout& LayoutOf(SideKind k)
{
    static const SideLayout kSides[] = {
        { "Dad",
          "種牡馬",
          4,
          "★順",
          "種牡馬リストを絞り込む条件を設定できます",
          { { "産種", 4, 14, 26, 30, 32, "spbDadBirth" },
            { "★", 164, 14, 14, 178, 24, "spbDadStar" },
            { "成長", 4, 33, 26, 30, 20, "spbDadGrow" },
            { "ダ", 114, 33, 14, 128, 20, "spbDadDirt" },
            // 気 on the second row, 底 体 実 安 on the third.
            { "気", 196, 33, 14, 210, 20, "spbKisho" },
            { "底", 4, 52, 14, 18, 20, "spbKonjo" },
            { "体", 84, 52, 14, 98, 20, "spbKenko" },
            { "実", 164, 52, 14, 178, 20, "spbJisseki" },
            { "安", 244, 52, 14, 258, 20, "spbAntei" } } },
        { "Mam",
          "繁殖牝馬",
          398,
          "基本料順",
          "繁殖牝馬リストを絞り込む条件を設定できます",
          { { "価格帯", 4, 14, 40, 44, 60, "spbMamPrice" },
            { "産地", 4, 33, 40, 44, 40, "spbMamJika" },
            { "SP", 4, 52, 20, 24, 24, "spbMamSp" },
            { "ST", 108, 52, 20, 128, 24, "spbMamSt" } } },
    };
    return kSides[k == SideKind::Stallion ? 0 : 1];
}

// The hints of the order buttons, by side and ListSort.
constexpr const char* kSortHints[2][3] = {
    { "種牡馬リストを、種付け料の高い順に並べ替えます", "種牡馬リストを名前順に並べ替えます",
      "種牡馬リストを、選択されている繁殖との相性順に並べ替えます" },
    { "繁殖牝馬リストを、基本料の高い順に並べ替えます", "繁殖牝馬リストを名前順に並べ替えます",
      "繁殖牝馬リストを、選択されている種牡馬との相性順に並べ替えます" },
};
constexpr const char* kSortNames[3] = { "Fee", "Name", "Aisho" };

// An object name made of a prefix, the side's tag and a suffix: "btn" "Dad" "List".
QString Named(const char* prefix, const SideLayout& l, const char* suffix = "")
{
    return QString::fromLatin1(prefix) + QString::fromLatin1(l.tag) + QString::fromLatin1(suffix);
}

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

QToolButton* MakeToggle(QWidget* parent, const QString& name, int x, int y, int w, int h)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setCheckable(true);
    b->setChecked(true);
    b->setGeometry(x, y, w, h);
    b->setFont(SmallFont());
    ShowToggleState(b);
    return b;
}

QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& title, int x, int y, int w, int h)
{
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(name);
    g->setGeometry(x, y, w, h);
    return g;
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

// Gives each control of a row the width its widest text needs in its font, taken from the others as
// below; the row keeps its span and its gaps. A row whose controls all fit stays as designed.
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
    // Width comes first from controls with some to spare, then from the stretching one; on a small
    // screen with a large font the stretching one (a name box, which scrolls its text) gives up part of
    // its own need too, rather than a label leaving the group.
    constexpr std::pair<bool, int> kPasses[] = { { false, 1 }, { true, 1 }, { true, 4 } };
    for (const auto& [stretch, share] : kPasses)
        for (size_t i = 0; i < items.size() && deficit > 0; ++i) {
            if (items[i].stretch != stretch)
                continue;
            const int spare = std::min(std::max(width[i] - need[i] / share, 0), deficit);
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

} // namespace

void TfrmVelmora::BuildLayout()
{
    resize(792, 576);
    setFixedSize(792, 576);
    BuildStallionGroup();
    BuildMareGroup();
    BuildBottom();
}

// The name box and the counter, the order and filter groups, the pedigree panel of a side.
QGroupBox* TfrmVelmora::BuildSide(SideKind k)
{
    const SideLayout& l = LayoutOf(k);
    SideControls& c = Controls(k);
    QGroupBox* grp = MakeGroup(this, Named("grp", l), QString::fromUtf8(l.title), l.x, 2, 390, 446);
    c.name = MakeComboBox(grp, qPrintable(Named("cmb", l)), 6, 18, 176, 22);
    c.name->setMaxVisibleItems(24);
    c.counter = MakeValue(grp, qPrintable(Named("stt", l)), 186, 18, 64, 22);

    QGroupBox* order = MakeGroup(grp, Named("grp", l, "Order"), QStringLiteral("リスト順序"), 6, 80, 378, 44);
    const QString captions[3] = { QString::fromUtf8(l.feeOrder), QStringLiteral("名前順"), QStringLiteral("相性順") };
    for (size_t s = 0; s < c.sort.size(); ++s) {
        auto* b = new QToolButton(order);
        b->setObjectName(Named("btn", l, kSortNames[s]));
        b->setText(captions[s]);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setGeometry(6 + static_cast<int>(s) * 84, 16, 80, 22);
        b->setToolTip(QString::fromUtf8(kSortHints[k == SideKind::Stallion ? 0 : 1][s]));
        c.sort[s] = b;
    }
    c.list = MakeButton(order, qPrintable(Named("btn", l, "List")), QStringLiteral("一覧表示"), 282, 16, 90, 22);
    c.list->setToolTip(QStringLiteral("相性順に並び替えてから押すと、一覧で表示されます"));

    QGroupBox* flt = MakeGroup(grp, Named("grp", l, "Filter"), QStringLiteral("絞り込み"), 6, 126, 378, 74);
    flt->setToolTip(QString::fromUtf8(l.filterHint));
    flt->setFont(SmallFont());
    const Side& side = m_model->Of(k);
    for (size_t g = 0; g < l.filters.size(); ++g) {
        const FilterGroup& f = l.filters[g];
        MakeLabel(flt, nullptr, QString::fromUtf8(f.label), f.labelX, f.y, f.labelWidth, 18);
        const int buttons = side.FilterButtons(static_cast<int>(g));
        std::vector<QToolButton*>& group = c.filters.emplace_back();
        for (int b = 0; b < buttons; ++b) {
            const QString name = QString::fromLatin1(f.prefix) + (buttons > 1 ? QString::number(b + 1) : QString());
            group.push_back(MakeToggle(flt, name, f.firstX + b * f.width, f.y, f.width, 18));
        }
    }
    c.all = MakeButton(flt, qPrintable(Named("btn", l, "All")), QStringLiteral("全\n頭"), 338, 14, 34, 56);
    c.popup = new QMenu(this);
    c.popup->setObjectName(Named("pum", l, "Inb"));
    BuildPedigreeRows(k, grp);
    return grp;
}

void TfrmVelmora::BuildStallionGroup()
{
    QGroupBox* grp = BuildSide(SideKind::Stallion);
    std::vector<QLabel*>& a = Controls(SideKind::Stallion).attributes;
    m_lblDRare = MakeLabel(grp, "lblDRare", QString(), 254, 18, 60, 22);
    SetTextColor(m_lblDRare, 0x0080FF);
    QLabel* birth = MakeLabel(grp, "lblBirth", QString(), 318, 18, 64, 22);
    QLabel* keito = MakeLabel(grp, "lblDKeito", QString(), 6, 42, 200, 18);
    QLabel* keiro = MakeLabel(grp, "lblDKeiro", QString(), 210, 42, 66, 18);
    QLabel* dis1 = MakeLabel(grp, "lblDis1", QString(), 280, 42, 42, 18);
    dis1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblDisTo = MakeLabel(grp, nullptr, QStringLiteral("～"), 324, 42, 16, 18);
    QLabel* dis2 = MakeLabel(grp, "lblDis2", QString(), 340, 42, 42, 18);
    a = { birth, keito, keiro, m_lblDRare, dis1, dis2 };

    // ダート, growth and the five grades, each grade after its caption.
    int x = 6;
    auto caption = [&](const QString& text, int w) {
        MakeLabel(grp, nullptr, text, x, 62, w, 18);
        x += w;
    };
    auto value = [&](const char* name, int w) {
        a.push_back(MakeLabel(grp, name, QString(), x, 62, w, 18));
        x += w + 6;
    };
    caption(QStringLiteral("ダート"), 48);
    value("lblDirt", 18);
    value("lblGrow", 36);
    const std::pair<const char*, const char*> grades[] = {
        { "気性", "lblKisho" },   { "底力", "lblKonjo" }, { "体質", "lblKenko" },
        { "実績", "lblJisseki" }, { "安定", "lblAntei" },
    };
    for (const auto& [text, name] : grades) {
        caption(QString::fromUtf8(text), 32);
        value(name, 12);
    }
}

void TfrmVelmora::BuildMareGroup()
{
    QGroupBox* grp = BuildSide(SideKind::Mare);
    MakeLabel(grp, nullptr, QStringLiteral("持込/産地"), 6, 42, 76, 18);
    QLabel* motikomi = MakeLabel(grp, "lblMotikomi", QString(), 86, 42, 40, 18);
    QLabel* keito = MakeLabel(grp, "lblMkeito", QString(), 128, 42, 182, 18);
    QLabel* keiro = MakeLabel(grp, "lblMKeiro", QString(), 314, 42, 70, 18);
    QLabel* fee = MakeLabel(grp, "lblMFee", QString(), 6, 62, 54, 18);
    fee->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    MakeLabel(grp, nullptr, QStringLiteral("万円"), 62, 62, 36, 18);
    MakeLabel(grp, nullptr, QStringLiteral("スピード"), 110, 62, 64, 18);
    QLabel* speed = MakeLabel(grp, "lblSpeed", QString(), 174, 62, 30, 18);
    MakeLabel(grp, nullptr, QStringLiteral("スタミナ"), 214, 62, 64, 18);
    QLabel* stamina = MakeLabel(grp, "lblStamina", QString(), 278, 62, 30, 18);
    Controls(SideKind::Mare).attributes = { motikomi, keito, keiro, fee, speed, stamina };
}

void TfrmVelmora::BuildPedigreeRows(SideKind k, QGroupBox* box)
{
    const QFont small = SmallFont();
    const QString side(QLatin1Char(LayoutOf(k).tag[0]));
    SideControls& c = Controls(k);
    for (int row = k == SideKind::Stallion ? 0 : 1; row < 16; ++row) {
        const int p = kRowOrder[row];
        const int y = kPedigreeTop + row * kRowHeight;
        const int indent = p == 0 ? 0 : (PositionGeneration(p) - 1) * 14;
        const auto i = static_cast<size_t>(p);
        c.marker[i] = MakeShape(box, QStringLiteral("shp%1Inb%2").arg(side).arg(p), 6, y + 3, 9, 9);
        c.marker[i]->hide();
        QLabel* sosen = MakeLabel(box, nullptr, QString(), 18 + indent, y, 170 - indent, kRowHeight);
        sosen->setFont(small);
        if (p == 0) {
            sosen->setText(QStringLiteral("（本馬）"));
        } else {
            sosen->setObjectName(QStringLiteral("%1sosen%2").arg(side).arg(p));
            sosen->installEventFilter(this);
            sosen->setProperty(kPositionProperty, p);
            sosen->setProperty(kSideProperty, static_cast<int>(k));
            c.sosen[i] = sosen;
        }
        c.shapeA[i] = MakeShape(box, QStringLiteral("shp%1KokaA%2").arg(side).arg(p), 190, y + 2, 10, 11);
        c.kokaA[i] = MakeLabel(box, nullptr, QString(), 202, y, 84, kRowHeight);
        c.kokaA[i]->setObjectName(QStringLiteral("%1kokaA%2").arg(side).arg(p));
        c.kokaA[i]->setFont(small);
        c.shapeB[i] = MakeShape(box, QStringLiteral("shp%1KokaB%2").arg(side).arg(p), 288, y + 2, 10, 11);
        c.kokaB[i] = MakeLabel(box, nullptr, QString(), 300, y, 84, kRowHeight);
        c.kokaB[i]->setObjectName(QStringLiteral("%1kokaB%2").arg(side).arg(p));
        c.kokaB[i]->setFont(small);
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

    m_grpColor
        = MakeGroup(this, QStringLiteral("grpColor"), QStringLiteral("色の指定(クリックで切替)"), 4, 497, 520, 44);
    m_grpColor->installEventFilter(this);
    for (int k = 1; k <= 15; ++k) {
        QLabel* l = MakeLabel(m_grpColor, nullptr, QString(), 6 + (k - 1) * 34, 16, 32, 22);
        l->setObjectName(QStringLiteral("lblCol%1").arg(k));
        l->setAlignment(Qt::AlignCenter);
        l->setFont(SmallFont());
        l->installEventFilter(this);
        m_lblCol[static_cast<size_t>(k)] = l;
    }

    QGroupBox* pts = MakeGroup(this, QStringLiteral("grpPoints"), QStringLiteral("相性値設定"), 528, 497, 260, 44);
    m_cmbFile = new QComboBox(pts);
    m_cmbFile->setObjectName(QStringLiteral("cmbFile"));
    m_cmbFile->setGeometry(6, 16, 146, 22);
    m_btnPoints = MakeButton(pts, "btnPoints", QStringLiteral("相性値編集"), 156, 16, 98, 22);

    m_btnMamReg = MakeButton(this, "btnMamReg", QStringLiteral("牝馬登録"), 4, 545, 100, 28);
    m_btnMamReg->setToolTip(QStringLiteral("選択されている配合で、自家製繁殖牝馬としてデータ登録します"));
    m_btnDadReg = MakeButton(this, "btnDadReg", QStringLiteral("牡馬登録"), 108, 545, 100, 28);
    m_btnDadReg->setToolTip(QStringLiteral("選択されている配合で、自家製種牡馬としてデータ登録します"));
    m_btnHtml = MakeButton(this, "btnHtml", QStringLiteral("html出力"), 212, 545, 100, 28);
    m_btnHtml->setToolTip(QStringLiteral("選択されている配合をhtmlで表示します"));
    m_btnEnd = MakeButton(this, "btnEnd", QStringLiteral("終了"), 688, 545, 100, 28);
}

void TfrmVelmora::ArrangeRows()
{
    const QString stars(5, QChar(0x2605));
    const QString counter = QStringLiteral("000/000");
    const std::vector<QLabel*>& a = Controls(SideKind::Stallion).attributes;
    ReflowRow({ { Controls(SideKind::Stallion).name, QStringLiteral("ﾝﾝﾝﾝﾝﾝﾝﾝ"), true },
                { Controls(SideKind::Stallion).counter, counter },
                { m_lblDRare, stars },
                { a[0], QStringLiteral("内国") } });
    ReflowRow({ { a[1], QStringLiteral("ﾝﾝﾝﾝﾝ系/ﾝﾝﾝ系"), true },
                { a[2], QStringLiteral("黒鹿毛") },
                { a[4], QStringLiteral("0000") },
                { m_lblDisTo, QStringLiteral("～") },
                { a[5], QStringLiteral("0000") } });
    ReflowRow({ { Controls(SideKind::Mare).name, QStringLiteral("ﾝﾝﾝﾝﾝﾝﾝﾝ"), true },
                { Controls(SideKind::Mare).counter, counter } });
    for (SideKind k : kSideKinds)
        Controls(k).counter->setProperty(kFitSample, counter);
    m_lblDRare->setProperty(kFitSample, stars);
}

} // namespace velmora::gui
