#include "gui/search/frm_dravik.h"

#include "core/app/app_state.h"
#include "core/data/master_data.h"
#include "gui/app/click_label.h"
#include "gui/app/controls.h"
#include "gui/app/filling.h"
#include "gui/app/fit_form.h"
#include "gui/app/fit_text.h"
#include "gui/app/message_box.h"
#include "gui/app/modal.h"
#include "gui/app/number_input.h"
#include "gui/search/frm_results.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QToolButton>

namespace velmora::gui {

using search::ConditionsWindowModel;
using search::DadGroup;
using search::HaigoBox;
using search::NitroBound;

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 560;
constexpr int kContentTop = 86;
constexpr int kContentHeight = 468;
// The key of the hidden option.
constexpr auto kSecretKey = Qt::CTRL | Qt::Key_N;
constexpr DadGroup kDadGroups[] = { DadGroup::Dirt,  DadGroup::Grow,    DadGroup::Kisho, DadGroup::Konjo,
                                    DadGroup::Kenko, DadGroup::Jisseki, DadGroup::Antei };
constexpr const char* kDadBoxPrefix[]
    = { "chkDirt", "chkGrow", "chkKisho", "chkKonjo", "chkKenko", "chkJisseki", "chkAntei" };

QString Numbered(const char* prefix, int n)
{
    return QString::fromLatin1(prefix) + QString::number(n);
}

// The groups' controls use a smaller font than the window, 9 points on the 800 x 600 layout and
// scaled with the layout, so that the dense pages keep their texts inside their controls.
QFont SmallFont()
{
    return DenseFont(9);
}

QSpinBox* MakeBox(QWidget* parent, const QString& name, search::BoxRange range, int x, int y, int w)
{
    QSpinBox* b = new NumberBox(parent);
    b->setObjectName(name);
    b->setRange(range.lo, range.hi);
    b->setSingleStep(range.step);
    b->setGeometry(x, y, w, 22);
    return b;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& text, int x, int y, int w)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 22);
    return c;
}

QComboBox* MakeList(QWidget* parent, const char* name, int x, int y, int w)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setGeometry(x, y, w, 24);
    c->setMaxVisibleItems(24);
    return c;
}

QToolButton* MakeDots(QWidget* parent, const char* name, int x, int y)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(QStringLiteral("..."));
    b->setToolTip(Q(search::kExtendedHint));
    b->setGeometry(x, y, 28, 24);
    // Down while the extended selection is shown.
    b->setCheckable(true);
    ShowToggleState(b);
    return b;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& title, int x, int y, int w, int h)
{
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(QString::fromLatin1(name));
    g->setGeometry(x, y, w, h);
    return g;
}

// Three-state boxes and ancestor marks share one coding: 0 unchecked, 1 checked, 2 grayed.
static_assert(static_cast<int>(search::SosenMark::Unchecked) == 0 && static_cast<int>(search::SosenMark::Checked) == 1
              && static_cast<int>(search::SosenMark::Grayed) == 2);

Qt::CheckState ToQt(int state)
{
    return state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

int FromQt(Qt::CheckState s)
{
    return s == Qt::Checked ? 1 : s == Qt::PartiallyChecked ? 2 : 0;
}

void SetValue(QSpinBox* box, int value)
{
    if (box->value() != value)
        box->setValue(value);
}

// Fills a name box with the given rows' names and chooses the one when there is exactly one.
void FillNames(QComboBox* combo, const ConditionsWindowModel& m, const std::vector<int32_t>& rows,
               std::u16string_view (ConditionsWindowModel::*nameOf)(int32_t) const, int32_t only)
{
    combo->clear();
    for (int32_t r : rows)
        combo->addItem(Q((m.*nameOf)(r)), r);
    combo->setCurrentIndex(only >= 0 ? combo->findData(only) : -1);
}

// Checks the items of an extended selection whose horse is a candidate.
void PaintChecks(QListWidget* list, const ConditionsWindowModel& m, bool (ConditionsWindowModel::*candidate)(int) const)
{
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        const Qt::CheckState s = (m.*candidate)(item->data(Qt::UserRole).toInt()) ? Qt::Checked : Qt::Unchecked;
        if (item->checkState() != s)
            item->setCheckState(s);
    }
}

} // namespace

template <typename... Args> auto TfrmDravik::Forward(void (ConditionsWindowModel::*change)(Args...))
{
    return [this, change](Args... args) { Apply([&](ConditionsWindowModel& m) { (m.*change)(args...); }); };
}

TfrmDravik::TfrmDravik(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDravik"));
    setWindowTitle(Q(search::kDravikCaption));
    setProperty("helpContext", 74);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    m_model = std::make_unique<ConditionsWindowModel>(Master());
    BuildLayout();
    Paint(m_model->TakeChanges());
}

TfrmDravik::~TfrmDravik() = default;

// ---------------------------------------------------------------------------------------------------
// Layout (792 x 560 at 96 dpi; FitForm scales it to the configured layout size).

void TfrmDravik::BuildLayout()
{
    BuildTop();
    BuildMamGroup();
    BuildDadGroup();
    BuildHaigoGroup();
    BuildChildGroup();
    // The extended selections lie over the other controls of their group.
    m_clbMam->raise();
    m_clbDad->raise();
    auto* secret = new QShortcut(QKeySequence(kSecretKey), this);
    connect(secret, &QShortcut::activated, this,
            [this] { Apply([](ConditionsWindowModel& m) { m.RevealNitro(App().IniFile.get()); }); });
}

void TfrmDravik::BuildTop()
{
    m_cmbMaxAge = MakeList(this, "cmbMaxAge", 8, 6, 112);
    for (int g = 1; g <= search::kMaxGenerations; ++g)
        m_cmbMaxAge->addItem(Q(search::MaxGenItem(g)));
    m_cmbMaxAge->setCurrentIndex(0);
    connect(m_cmbMaxAge, &QComboBox::activated, this, Forward(&ConditionsWindowModel::SetMaxGenIndex));

    MakeLabel(this, "lblTotalNum", QStringLiteral("検索数"), 128, 8, 64, 20);
    m_pnlTotalNum = MakeLabel(this, "pnlTotalNum", QString(), 194, 6, 112, 24);
    m_pnlTotalNum->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pnlTotalNum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pnlTotalNum->setToolTip(Q(search::kEstimateHint));
    // Counters fit as their widest values do (701 x 513^4 has 14 digits).
    m_pnlTotalNum->setProperty(kFitSample, QStringLiteral("00000000000000"));
    MakeLabel(this, "lblResult", QStringLiteral("検索上限数"), 314, 8, 100, 20);
    m_edtResult = new QLineEdit(Q(search::kDefaultResultLimit), this);
    m_edtResult->setObjectName(QStringLiteral("edtResult"));
    m_edtResult->setGeometry(416, 6, 80, 24);
    FoldTypedNumbers(m_edtResult);

    m_btnSearch = MakeButton(this, "btnSearch", QStringLiteral("検索"), 600, 4, 88, 28);
    QPushButton* end = MakeButton(this, "btnEnd", QStringLiteral("戻る"), 696, 4, 88, 28);
    connect(m_btnSearch, &QPushButton::clicked, this, [this] { OnSearch(); });
    connect(end, &QPushButton::clicked, this, &QDialog::reject);

    m_lblMamCtr = MakeLabel(this, "lblMamCtr", QString(), 8, 34, 112, 20);
    m_lblMamCtr->setToolTip(Q(search::kMamCounterHint));
    for (int g = 1; g <= search::kMaxGenerations; ++g) {
        QLabel* l = MakeLabel(this, nullptr, QString(), 130 + (g - 1) * 118, 34, 110, 20);
        l->setObjectName(Numbered("Label", g + 1));
        l->setToolTip(Q(search::DadCounterHint(g)));
        m_lblDadCtr[static_cast<size_t>(g)] = l;
    }
    for (QLabel* l : { m_lblMamCtr, m_lblDadCtr[1], m_lblDadCtr[2], m_lblDadCtr[3], m_lblDadCtr[4] }) {
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setProperty(kFitSample, QStringLiteral("000/000"));
    }

    m_pageControl = new QTabBar(this);
    m_pageControl->setObjectName(QStringLiteral("PageControl1"));
    m_pageControl->setGeometry(8, 58, 776, 28);
    m_pageControl->setExpanding(false);
    for (int p = 0; p <= search::kMaxGenerations; ++p)
        m_pageControl->addTab(Q(search::PageCaption(p)));
    connect(m_pageControl, &QTabBar::currentChanged, this, Forward(&ConditionsWindowModel::ShowPage));
}

QComboBox* TfrmDravik::BuildNameBox(QGroupBox* group, const char* name, int x, int width,
                                    void (ConditionsWindowModel::*choose)(int), const char* dotsName,
                                    void (ConditionsWindowModel::*toggle)())
{
    QComboBox* combo = MakeList(group, name, x, 24, width);
    combo->setToolTip(Q(search::kFixHint));
    connect(combo, &QComboBox::activated, this, [this, combo, choose](int index) {
        const int row = combo->itemData(index).toInt();
        Apply([choose, row](ConditionsWindowModel& m) { (m.*choose)(row); });
    });
    QToolButton* dots = MakeDots(group, dotsName, x + width + 2, 24);
    connect(dots, &QToolButton::clicked, this, Forward(toggle));
    return combo;
}

QListWidget* TfrmDravik::BuildCheckList(QGroupBox* group, const char* name, int x, int width,
                                        const std::vector<int32_t>& rows, NameOf nameOf,
                                        void (ConditionsWindowModel::*check)(int, bool))
{
    auto* l = new QListWidget(group);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, 50, width, 400);
    l->setUniformItemSizes(true);
    l->hide();
    for (int32_t row : rows) {
        auto* item = new QListWidgetItem(Q(((*m_model).*nameOf)(row)), l);
        item->setData(Qt::UserRole, row);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked); // every item shows its box
    }
    connect(l, &QListWidget::itemChanged, this, [this, check](QListWidgetItem* item) {
        const int row = item->data(Qt::UserRole).toInt();
        const bool on = item->checkState() == Qt::Checked;
        Apply([check, row, on](ConditionsWindowModel& m) { (m.*check)(row, on); });
    });
    return l;
}

std::array<TfrmDravik::BoundRow, 17>
TfrmDravik::BuildBounds(QGroupBox* group, const char* namePrefix, const char* boxPrefix, const char* udPrefix,
                        search::BoxRange range, int top, int columns, int nameWidth,
                        void (ConditionsWindowModel::*set)(int, int), void (ConditionsWindowModel::*toggle)(int))
{
    std::array<BoundRow, 17> rows {};
    const int perColumn = (search::kEffects + columns - 1) / columns;
    const int columnWidth = nameWidth + 42 + 28 + 6;
    for (int k = 1; k <= search::kEffects; ++k) {
        const int x = 6 + ((k - 1) / perColumn) * columnWidth;
        const int y = top + ((k - 1) % perColumn) * 26;
        BoundRow& r = rows[static_cast<size_t>(k)];
        r.name = MakeLabel(group, nullptr, Q(search::EffectName(Master(), k)), x, y + 1, nameWidth, 20);
        r.name->setObjectName(Numbered(namePrefix, k));
        r.box = MakeBox(group, Numbered(boxPrefix, k), range, x + nameWidth, y, 40);
        r.ud = new ClickLabel(group);
        r.ud->setObjectName(Numbered(udPrefix, k));
        r.ud->setGeometry(x + nameWidth + 44, y + 1, 28, 20);
        connect(r.box, &QSpinBox::valueChanged, this,
                [this, k, set](int v) { Apply([k, v, set](ConditionsWindowModel& m) { (m.*set)(k, v); }); });
        connect(r.ud, &ClickLabel::clicked, this,
                [this, k, toggle] { Apply([k, toggle](ConditionsWindowModel& m) { (m.*toggle)(k); }); });
    }
    return rows;
}

void TfrmDravik::PaintBounds(const std::array<BoundRow, 17>& rows, const std::array<int32_t, 17>& bounds,
                             const std::array<bool, 17>& atLeast)
{
    for (size_t k = 1; k <= static_cast<size_t>(search::kEffects); ++k) {
        SetValue(rows[k].box, bounds[k]);
        rows[k].ud->setText(Q(search::DirectionText(atLeast[k])));
    }
}

void TfrmDravik::BuildMamGroup()
{
    QGroupBox* g = m_grpMam
        = MakeGroup(this, "grpMam", QStringLiteral("牝馬の条件"), 8, kContentTop, 776, kContentHeight);
    g->setProperty("helpContext", 76);
    g->setFont(SmallFont());
    m_cmbMamName = BuildNameBox(g, "cmbMamName", 12, 220, &ConditionsWindowModel::ChooseMam, "spbMam",
                                &ConditionsWindowModel::ToggleMamList);

    MakeLabel(g, nullptr, QStringLiteral("ｽﾋﾟｰﾄﾞ"), 280, 26, 50, 20);
    m_edtMamSp = MakeBox(g, QStringLiteral("edtMamSp"), search::kMamStatRange, 332, 25, 60);
    MakeLabel(g, nullptr, QStringLiteral("ｽﾀﾐﾅ"), 410, 26, 44, 20);
    m_edtMamSt = MakeBox(g, QStringLiteral("edtMamSt"), search::kMamStatRange, 456, 25, 60);
    connect(m_edtMamSp, &QSpinBox::valueChanged, this, Forward(&ConditionsWindowModel::SetMamSpeed));
    connect(m_edtMamSt, &QSpinBox::valueChanged, this, Forward(&ConditionsWindowModel::SetMamStamina));

    auto origin = [&](QCheckBox*& box, const char* name, const char* text, search::Origin o, int x) {
        box = MakeCheck(g, QString::fromLatin1(name), QString::fromUtf8(text), x, 60, 110);
        connect(box, &QCheckBox::clicked, this,
                [this, o](bool on) { Apply([o, on](ConditionsWindowModel& m) { m.SetOrigin(o, on); }); });
    };
    origin(m_chkJika, "chkJika", "自家生産馬", search::Origin::Jika, 12);
    origin(m_chkTaka, "chkTaka", "他家生産馬", search::Origin::Taka, 128);
    origin(m_chkNasi, "chkNasi", "持込なし", search::Origin::Nasi, 244);
    origin(m_chkAri, "chkAri", "持込あり", search::Origin::Ari, 360);

    QPushButton* init = MakeButton(g, "btnMamInit", QStringLiteral("初期化"), 680, 22, 84, 28);
    connect(init, &QPushButton::clicked, this, Forward(&ConditionsWindowModel::InitMam));

    QGroupBox* crs = MakeGroup(g, "grpMamCrs", QStringLiteral("血統構成"), 12, 92, 752, 134);
    m_mamCrs = BuildBounds(crs, "lblMamCrs", "edtMamCrs", "lblMamUd", search::kMamCrsRange, 22, 4, 72,
                           &ConditionsWindowModel::SetMamCrs, &ConditionsWindowModel::ToggleMamUd);

    m_clbMam = BuildCheckList(g, "clbMam", 12, 250, m_model->MamOrder(), &ConditionsWindowModel::MamName,
                              &ConditionsWindowModel::CheckMam);
}

void TfrmDravik::BuildDadGroup()
{
    QGroupBox* g = m_grpDad = MakeGroup(this, "grpDad", QString(), 8, kContentTop, 246, kContentHeight);
    g->setProperty("helpContext", 88);
    g->setFont(SmallFont());
    m_cmbDadName = BuildNameBox(g, "cmbDadName", 8, 196, &ConditionsWindowModel::ChooseDad, "spbDad",
                                &ConditionsWindowModel::ToggleDadList);

    MakeLabel(g, nullptr, QStringLiteral("距離"), 8, 58, 36, 20);
    m_edtDadDis1 = MakeBox(g, QStringLiteral("edtDadDis1"), search::kDis1Range, 44, 57, 80);
    m_edtDadDis1->setToolTip(Q(search::kDis1Hint));
    MakeLabel(g, nullptr, QStringLiteral("～"), 128, 58, 16, 20);
    m_edtDadDis2 = MakeBox(g, QStringLiteral("edtDadDis2"), search::kDis2Range, 146, 57, 80);
    m_edtDadDis2->setToolTip(Q(search::kDis2Hint));
    MakeLabel(g, nullptr, QStringLiteral("★"), 8, 88, 20, 20);
    m_edtDadStar = MakeBox(g, QStringLiteral("edtDadStar"), search::kStarRange, 30, 87, 56);
    MakeLabel(g, nullptr, Q(search::kAtLeast), 90, 88, 40, 20);
    connect(m_edtDadDis1, &QSpinBox::valueChanged, this, Forward(&ConditionsWindowModel::SetDadDis1));
    connect(m_edtDadDis2, &QSpinBox::valueChanged, this, Forward(&ConditionsWindowModel::SetDadDis2));
    connect(m_edtDadStar, &QSpinBox::valueChanged, this, Forward(&ConditionsWindowModel::SetDadStar));

    for (size_t i = 0; i < std::size(kDadGroups); ++i) {
        const DadGroup group = kDadGroups[i];
        const int y = 120 + static_cast<int>(i) * 30;
        MakeLabel(g, nullptr, Q(search::DadGroupLabel(group)), 8, y, 40, 22);
        const int n = search::DadGroupSize(group);
        const int width = n == 4 ? 49 : 56;
        for (int box = 1; box <= n; ++box) {
            QCheckBox* c = MakeCheck(g, Numbered(kDadBoxPrefix[i], box), Q(search::DadBoxCaption(group, box)),
                                     46 + (box - 1) * width, y, width);
            connect(c, &QCheckBox::clicked, this, [this, group, box](bool on) {
                Apply([group, box, on](ConditionsWindowModel& m) { m.SetDadBox(group, box, on); });
            });
            m_dadBoxes[i].push_back(c);
        }
    }
    QPushButton* init = MakeButton(g, "btnDadInit", QStringLiteral("初期化"), 8, 336, 84, 28);
    connect(init, &QPushButton::clicked, this, Forward(&ConditionsWindowModel::InitDad));

    m_clbDad = BuildCheckList(g, "clbDad", 8, 226, m_model->DadOrder(), &ConditionsWindowModel::DadName,
                              &ConditionsWindowModel::CheckDad);
}

void TfrmDravik::BuildHaigoGroup()
{
    QGroupBox* g = m_grpHaigo = MakeGroup(this, "grpHaigo", QString(), 258, kContentTop, 260, kContentHeight);
    g->setProperty("helpContext", 88);
    g->setFont(SmallFont());
    struct Box
    {
        HaigoBox box;
        const char* name;
        const char* text;
        int x, y;
    };
    static constexpr Box kBoxes[] = {
        { HaigoBox::Omo, "chkOmo", "面白配合", 8, 22 },       { HaigoBox::Mig, "chkMig", "見事な配合", 124, 22 },
        { HaigoBox::Yok, "chkYok", "良でき配合", 8, 46 },     { HaigoBox::Outb, "chkOutb", "ｱｳﾄﾌﾞﾘｰﾄﾞ", 124, 46 },
        { HaigoBox::Kiken, "chkKiken", "危険を除く", 8, 70 },
    };
    for (const Box& b : kBoxes) {
        QCheckBox* c = MakeCheck(g, QString::fromLatin1(b.name), QString::fromUtf8(b.text), b.x, b.y, 116);
        c->setTristate(b.box != HaigoBox::Kiken);
        const HaigoBox which = b.box;
        connect(c, &QCheckBox::clicked, this, [this, c, which] {
            const int state = FromQt(c->checkState());
            Apply([which, state](ConditionsWindowModel& m) { m.SetHaigoBox(which, state); });
        });
        m_haigoBoxes[static_cast<size_t>(which)] = c;
    }
    const auto items = search::LikenessItems(Master());
    auto likeness = [&](QComboBox*& combo, const char* name, const char* label, int y,
                        void (ConditionsWindowModel::*choose)(int)) {
        MakeLabel(g, nullptr, QString::fromUtf8(label), 8, y + 2, 64, 20);
        combo = MakeList(g, name, 74, y, 168);
        for (const auto& item : items)
            combo->addItem(Q(item));
        combo->setToolTip(Q(search::kLikenessHint));
        connect(combo, &QComboBox::activated, this, Forward(choose));
    };
    likeness(m_cmbDadNi, "cmbDadNi", "父似効果", 96, &ConditionsWindowModel::SetDadNi);
    likeness(m_cmbMamNi, "cmbMamNi", "母似効果", 124, &ConditionsWindowModel::SetMamNi);
    MakeLabel(g, nullptr, QStringLiteral("Nix値"), 8, 156, 44, 20);
    m_edtNixBase = MakeBox(g, QStringLiteral("edtNixBase"), search::kNixBaseRange, 54, 155, 56);
    MakeLabel(g, nullptr, Q(search::kAtLeast), 114, 156, 36, 20);
    connect(m_edtNixBase, &QSpinBox::valueChanged, this, Forward(&ConditionsWindowModel::SetNixBase));

    QGroupBox* crs = MakeGroup(g, "grpHaigoCrs", QStringLiteral("インブリード"), 4, 186, 252, 236);
    m_haigoCrs = BuildBounds(crs, "lblHaigoCrs", "edtHaigoCrs", "lblHaigoUd", search::kCrsRange, 20, 2, 48,
                             &ConditionsWindowModel::SetHaigoCrs, &ConditionsWindowModel::ToggleHaigoUd);
    QPushButton* init = MakeButton(g, "Button2", QStringLiteral("初期化"), 8, 430, 84, 28);
    connect(init, &QPushButton::clicked, this, Forward(&ConditionsWindowModel::InitHaigo));
}

void TfrmDravik::BuildChildGroup()
{
    QGroupBox* g = m_grpChild = MakeGroup(this, "grpChild", QString(), 522, kContentTop, 262, kContentHeight);
    g->setProperty("helpContext", 88);
    g->setFont(SmallFont());
    m_childCrs = BuildBounds(g, "lblChildCrs", "EdtChildCrs", "lblChildUd", search::kCrsRange, 22, 2, 48,
                             &ConditionsWindowModel::SetChildCrs, &ConditionsWindowModel::ToggleChildUd);
    struct Nitro
    {
        NitroBound which;
        const char* label;
        const char* box;
        const char* ud;
        search::BoxRange range;
        int x, y;
    };
    const Nitro nitros[] = {
        { NitroBound::Sp, "ﾆﾄﾛSP", "edtNitroSp", "lblChildUd18", search::kNitroSpRange, 6, 238 },
        { NitroBound::St, "ﾆﾄﾛST", "edtNitroSt", "lblChildUd19", search::kNitroStRange, 130, 238 },
        { NitroBound::Total, "ﾆﾄﾛ計", "edtNitroTotal", "lblChildUd20", search::kNitroTotalRange, 6, 264 },
    };
    for (const Nitro& n : nitros) {
        BoundRow& r = m_nitro[static_cast<size_t>(n.which)];
        r.name = MakeLabel(g, nullptr, QString::fromUtf8(n.label), n.x, n.y + 1, 48, 20);
        r.box = MakeBox(g, QString::fromLatin1(n.box), n.range, n.x + 48, n.y, 40);
        r.ud = new ClickLabel(g);
        r.ud->setObjectName(QString::fromLatin1(n.ud));
        r.ud->setGeometry(n.x + 92, n.y + 1, 28, 20);
        const NitroBound which = n.which;
        connect(r.box, &QSpinBox::valueChanged, this,
                [this, which](int v) { Apply([which, v](ConditionsWindowModel& m) { m.SetNitro(which, v); }); });
        connect(r.ud, &ClickLabel::clicked, this,
                [this, which] { Apply([which](ConditionsWindowModel& m) { m.ToggleNitroUd(which); }); });
    }
    m_nitro[static_cast<size_t>(NitroBound::Sp)].name->setToolTip(Q(search::NitroSpHint(Master())));
    m_nitro[static_cast<size_t>(NitroBound::St)].name->setToolTip(Q(search::NitroStHint(Master())));

    m_lblSosen = MakeLabel(g, "lblSosen", QStringLiteral("祖先馬指定"), 6, 292, 100, 20);
    m_clbSosen = new QListWidget(g);
    m_clbSosen->setObjectName(QStringLiteral("clbSosen"));
    m_clbSosen->setGeometry(6, 312, 250, 112);
    m_clbSosen->setUniformItemSizes(true);
    for (const search::SosenItem& s : m_model->Sosen()) {
        auto* item = new QListWidgetItem(Q(s.name), m_clbSosen);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsUserTristate);
        item->setCheckState(ToQt(static_cast<int>(s.mark)));
    }
    connect(m_clbSosen, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const size_t i = static_cast<size_t>(m_clbSosen->row(item));
        const auto mark = static_cast<search::SosenMark>(FromQt(item->checkState()));
        Apply([i, mark](ConditionsWindowModel& m) { m.SetSosenMark(i, mark); });
    });
    QPushButton* init = MakeButton(g, "btnChildInit", QStringLiteral("初期化"), 6, 430, 84, 28);
    connect(init, &QPushButton::clicked, this, Forward(&ConditionsWindowModel::InitChild));
}

// ---------------------------------------------------------------------------------------------------

void TfrmDravik::Apply(const std::function<void(ConditionsWindowModel&)>& change)
{
    // Painting changes the controls, whose signals come back here: only the user's changes count.
    if (m_filling)
        return;
    MessageBox::ShowErrors(this, [&] { change(*m_model); });
    Paint(m_model->TakeChanges());
}

void TfrmDravik::Paint(unsigned changes)
{
    if (changes == 0)
        return;
    const Filling filling(m_filling);
    using C = ConditionsWindowModel;
    if (changes & C::Pages)
        PaintPages();
    if (changes & C::MamPage)
        PaintMamPage();
    if (changes & C::GenPage && m_model->CurGen() > 0)
        PaintGenPage();
    if (changes & C::MamList)
        PaintMamList();
    if (changes & C::DadList && m_model->CurGen() > 0)
        PaintDadList();
    if (changes & C::Counters)
        PaintCounters();
    if (changes & C::Lists)
        PaintLists();
    if (changes & C::Nitro)
        PaintNitro();
}

void TfrmDravik::PaintPages()
{
    const ConditionsWindowModel& m = *m_model;
    m_cmbMaxAge->setCurrentIndex(m.MaxGen() - 1);
    // The tabs of the generations shown only (a tab bar does not always redraw a tab made visible
    // again, so the tabs themselves come and go).
    while (m_pageControl->count() > m.MaxGen() + 1)
        m_pageControl->removeTab(m_pageControl->count() - 1);
    while (m_pageControl->count() < m.MaxGen() + 1)
        m_pageControl->addTab(Q(search::PageCaption(m_pageControl->count())));
    for (int g = 1; g <= search::kMaxGenerations; ++g)
        m_lblDadCtr[static_cast<size_t>(g)]->setVisible(m.GenerationShown(g));
    m_pageControl->setCurrentIndex(m.CurGen());
    const int gen = m.CurGen();
    m_grpMam->setVisible(gen == 0);
    for (QGroupBox* g : { m_grpDad, m_grpHaigo, m_grpChild })
        g->setVisible(gen > 0);
    if (gen > 0) {
        m_grpDad->setTitle(Q(search::DadGroupCaption(gen)));
        m_grpHaigo->setTitle(Q(search::HaigoGroupCaption(gen)));
        m_grpChild->setTitle(Q(search::ChildGroupCaption(gen)));
    }
    m_lblSosen->setVisible(m.SosenShown());
    m_clbSosen->setVisible(m.SosenShown());
}

void TfrmDravik::PaintMamPage()
{
    const search::MamJokenRec& j = m_model->Mam();
    SetValue(m_edtMamSp, j.Speed);
    SetValue(m_edtMamSt, j.Stamina);
    PaintBounds(m_mamCrs, j.Crs, j.Ud);
    m_chkJika->setChecked(j.Jika);
    m_chkTaka->setChecked(j.Taka);
    m_chkNasi->setChecked(j.Nasi);
    m_chkAri->setChecked(j.Ari);
}

void TfrmDravik::PaintGenPage()
{
    const ConditionsWindowModel& m = *m_model;
    const search::DadJokenRec& dad = m.Dad();
    SetValue(m_edtDadDis1, dad.Dis1);
    SetValue(m_edtDadDis2, dad.Dis2);
    SetValue(m_edtDadStar, dad.Star);
    for (size_t i = 0; i < std::size(kDadGroups); ++i)
        for (size_t b = 0; b < m_dadBoxes[i].size(); ++b)
            m_dadBoxes[i][b]->setChecked(m.DadBox(kDadGroups[i], static_cast<int>(b) + 1));

    const search::HaigoJokenRec& h = m.Haigo();
    for (size_t i = 0; i < m_haigoBoxes.size(); ++i)
        m_haigoBoxes[i]->setCheckState(ToQt(m.HaigoState(static_cast<HaigoBox>(i))));
    m_cmbDadNi->setCurrentIndex(h.DadNiKoka);
    m_cmbMamNi->setCurrentIndex(h.MamNiKoka);
    SetValue(m_edtNixBase, h.NixBase);
    PaintBounds(m_haigoCrs, h.Crs, h.Ud);

    PaintBounds(m_childCrs, m.Child().Crs, m.Child().Ud);
    for (NitroBound n : { NitroBound::Sp, NitroBound::St, NitroBound::Total }) {
        const BoundRow& r = m_nitro[static_cast<size_t>(n)];
        SetValue(r.box, m.NitroValue(n));
        r.ud->setText(Q(search::DirectionText(m.NitroAtLeast(n))));
    }
    PaintNitro();
}

void TfrmDravik::PaintMamList()
{
    const ConditionsWindowModel& m = *m_model;
    FillNames(m_cmbMamName, m, m.MamCandidates(), &ConditionsWindowModel::MamName, m.OnlyMam());
    PaintChecks(m_clbMam, m, &ConditionsWindowModel::MamCandidate);
}

void TfrmDravik::PaintDadList()
{
    const ConditionsWindowModel& m = *m_model;
    FillNames(m_cmbDadName, m, m.DadCandidates(), &ConditionsWindowModel::DadName, m.OnlyDad());
    PaintChecks(m_clbDad, m, &ConditionsWindowModel::DadCandidate);
}

void TfrmDravik::PaintCounters()
{
    const ConditionsWindowModel& m = *m_model;
    m_lblMamCtr->setText(Q(m.CounterText(0)));
    for (int g = 1; g <= search::kMaxGenerations; ++g)
        m_lblDadCtr[static_cast<size_t>(g)]->setText(Q(m.CounterText(g)));
    m_pnlTotalNum->setText(Q(m.EstimateText()));
}

void TfrmDravik::PaintLists()
{
    m_clbMam->setVisible(m_model->MamListShown());
    m_clbDad->setVisible(m_model->DadListShown());
    for (auto [name, shown] :
         { std::pair { "spbMam", m_model->MamListShown() }, std::pair { "spbDad", m_model->DadListShown() } })
        findChild<QToolButton*>(QString::fromLatin1(name))->setChecked(shown);
}

void TfrmDravik::PaintNitro()
{
    const bool shown = m_model->NitroSpStShown();
    for (NitroBound n : { NitroBound::Sp, NitroBound::St }) {
        const BoundRow& r = m_nitro[static_cast<size_t>(n)];
        r.name->setVisible(shown);
        r.box->setVisible(shown);
        r.ud->setVisible(shown);
    }
}

void TfrmDravik::OnSearch()
{
    m_btnSearch->setEnabled(false);
    std::unique_ptr<TfrmResults> results;
    const bool made = MessageBox::ShowErrors(this, [&] {
        results
            = std::make_unique<TfrmResults>(Master(), m_model->ForSearch(m_edtResult->text().toStdU16String()), this);
        FitForm(results.get());
    });
    if (made)
        ExecHidden(this, results.get());
    results.reset();
    m_btnSearch->setEnabled(true);
}

} // namespace velmora::gui
