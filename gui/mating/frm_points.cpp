#include "gui/mating/frm_points.h"

#include "core/app/app_state.h"
#include "core/data/atomic_file.h"
#include "core/data/cp932.h"
#include "core/data/master_data.h"
#include "core/data/typed_number.h"
#include "core/mating/points.h"
#include "core/pedigree/formula.h"
#include "gui/app/controls.h"
#include "gui/app/fit_form.h"
#include "gui/app/fit_text.h"
#include "gui/app/message_box.h"
#include "gui/app/number_input.h"
#include "gui/app/wait_cursor.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

namespace velmora::gui {

namespace {

// The value of a number field: its text with full-width digits folded, without surrounding blanks
// (control characters and spaces), 0 when that is not an integer.
int32_t FieldValue(const QLineEdit* e)
{
    const std::u16string t = FoldNumberInput(e->text().toStdU16String());
    return PointTextValue(BlankTrim(t));
}

QLineEdit* NumberField(QWidget* parent, const QString& name, int x, int y, int w = 60)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(x, y, w, 22);
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly);
    FoldTypedNumbers(e);
    return e;
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y, int w)
{
    return MakeLabel(parent, nullptr, text, x, y, w, 22);
}

QGroupBox* Group(QWidget* parent, const QString& title, int x, int y, int w, int h)
{
    auto* g = new QGroupBox(title, parent);
    g->setGeometry(x, y, w, h);
    return g;
}

QComboBox* ColorBox(QWidget* parent, const char* name, int x, int y)
{
    QComboBox* c = MakeComboBox(parent, name, x, y, 110, 22);
    for (const std::u16string& k : Master().KeiroTable)
        c->addItem(Q(k));
    return c;
}

// Lists the setting names of the data directory's point tables, the current one chosen.
void ListPointTables(QComboBox* chooser)
{
    const PointFileList list = ListPointFiles(App().DataDir, App().DataFiles.Aisho);
    FillChooser(chooser, list.names, list.selected);
}

} // namespace

// ---------------------------------------------------------------------------------------------------

TfrmSaveAs::TfrmSaveAs(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSaveAs"));
    setWindowTitle(QStringLiteral("相性条件の保存"));
    // The memo holds its three lines, the last wrapped in two, also at 640x480 with a 14-point font.
    resize(320, 240);
    setFixedSize(320, 240);
    Caption(this, QStringLiteral("設定名"), 12, 12, 60);
    m_cmbFile = MakeComboBox(this, "cmbFile", 76, 12, 232, 22);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setGeometry(12, 42, 296, 150);
    m_memo->setReadOnly(true);
    m_memo->setPlainText(QStringLiteral("設定ファイルは、\n相性＋設定名＋.CSV\nというファイル名で保存されます。"));
    m_btnOk = new QPushButton(QStringLiteral("ＯＫ"), this);
    m_btnOk->setObjectName(QStringLiteral("btnOK"));
    m_btnOk->setGeometry(120, 202, 90, 28);
    m_btnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnCancel->setGeometry(218, 202, 90, 28);
    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    ListPointTables(m_cmbFile);
}

QString TfrmSaveAs::SettingName() const
{
    return m_cmbFile->currentText();
}

// ---------------------------------------------------------------------------------------------------

TfrmPoints::TfrmPoints(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPoints"));
    setWindowTitle(QStringLiteral("【Velmora】相性条件の編集"));
    BuildLayout();
    MessageBox::ShowErrors(this, [this] {
        ListPointTables(m_cmbFile);
        ShowTable();
    });
}

void TfrmPoints::BuildLayout()
{
    resize(760, 560);
    setFixedSize(760, 560);
    Caption(this, QStringLiteral("対象"), 8, 8, 40);
    m_cmbFile = new QComboBox(this);
    m_cmbFile->setObjectName(QStringLiteral("cmbFile"));
    m_cmbFile->setGeometry(50, 8, 200, 22);
    connect(m_cmbFile, &QComboBox::activated, this, [this](int i) { OnChoose(i); });
    m_btnSave = new QPushButton(QStringLiteral("保存して戻る(&A)"), this);
    m_btnSave->setObjectName(QStringLiteral("btnSave"));
    m_btnSave->setGeometry(460, 4, 144, 28);
    m_btnSave->setAutoDefault(false);
    connect(m_btnSave, &QPushButton::clicked, this, [this] { OnSave(); });
    m_btnCancel = new QPushButton(QStringLiteral("破棄して戻る(&C)"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnCancel->setGeometry(608, 4, 144, 28);
    m_btnCancel->setAutoDefault(false);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setGeometry(4, 38, 752, 518);

    // Page 配合ポイント.
    auto* p1 = new QWidget;
    m_pages->addTab(p1, QStringLiteral("配合ポイント"));
    {
        QGroupBox* g = Group(p1, QStringLiteral("配合"), 4, 4, 184, 278);
        const char* names[11] = { "edtDokei", "edtOmo",  "edtMigo",   "edtYok",    "edtNix1", "edtNix2",
                                  "edtNix3",  "edtNix4", "edtKiken1", "edtKiken2", "edtOutB" };
        const QString caps[11]
            = { QStringLiteral("同系配合"),       QStringLiteral("面白配合"),     QStringLiteral("見事な配合"),
                QStringLiteral("よくできた配合"), QStringLiteral("Ｎｉｘ：完璧"), QStringLiteral("Ｎｉｘ：優れてる"),
                QStringLiteral("Ｎｉｘ：良い"),   QStringLiteral("Ｎｉｘ：程々"), QStringLiteral("危険(近親)"),
                QStringLiteral("危険(過多ｸﾛｽ)"),  QStringLiteral("ｱｳﾄﾌﾞﾘｰﾄﾞ") };
        for (int i = 0; i < 11; ++i) {
            Caption(g, caps[i], 6, 24 + i * 23, 112);
            m_haigo[static_cast<size_t>(i)] = NumberField(g, QString::fromLatin1(names[i]), 118, 24 + i * 23);
        }
        // Seven rows inside the group, which ends where the sixteen-field groups do.
        QGroupBox* c = Group(p1, QStringLiteral("クロス本数"), 4, 286, 184, 180);
        for (int n = 1; n <= 7; ++n) {
            Caption(c, QString(QChar(0xFF10 + n)) + QStringLiteral("本"), 6, 22 + (n - 1) * 22, 60);
            m_cross[static_cast<size_t>(n)]
                = NumberField(c, QStringLiteral("edtCross%1").arg(n), 118, 22 + (n - 1) * 22);
        }
        auto sixteen = [p1](const QString& title, int x, const QString& edtPrefix, const QString& lblPrefix,
                            std::array<QLineEdit*, 17>& edits, std::array<QLabel*, 17>& labels) {
            // 466 high: the page of a 480-pixel layout, under its unscaled tabs in a 14-point font,
            // still holds it whole.
            QGroupBox* g = Group(p1, title, x, 4, 180, 466);
            for (int k = 1; k <= 16; ++k) {
                QLabel* l = Caption(g, QString(), 6, 22 + (k - 1) * 28, 104);
                l->setObjectName(lblPrefix + QString::number(k));
                labels[static_cast<size_t>(k)] = l;
                edits[static_cast<size_t>(k)] = NumberField(g, edtPrefix + QString::number(k), 112, 22 + (k - 1) * 28);
            }
        };
        sixteen(QStringLiteral("ｲﾝﾌﾞﾘｰﾄﾞ時の効果"), 192, QStringLiteral("edtCrs"), QStringLiteral("lblCrs"), m_crs,
                m_lblCrs);
        sixteen(QStringLiteral("血統構成時の効果"), 376, QStringLiteral("edtKosei"), QStringLiteral("lblKosei"),
                m_kosei, m_lblKosei);
        sixteen(QStringLiteral("親似時の効果"), 560, QStringLiteral("edtOyani"), QStringLiteral("lblOyani"), m_oyani,
                m_lblOyani);
    }

    // Page 種牡馬のポイント: Edit36..Edit66 are the status items 1..31, Edit106 and Edit107 items 32, 33.
    auto* p2 = new QWidget;
    m_pages->addTab(p2, QStringLiteral("種牡馬のポイント"));
    m_dstatus.assign(DStatus::Count, nullptr);
    {
        auto name = [](int item) {
            return item < DStatus::KishoO ? QStringLiteral("Edit%1").arg(36 + item)
                                          : QStringLiteral("Edit%1").arg(106 + item - DStatus::KishoO);
        };
        // A group of labelled fields side by side.
        auto labelled
            = [&](const QString& title, int x, int y, int w, std::initializer_list<std::pair<QString, int>> items) {
                  QGroupBox* g = Group(p2, title, x, y, w, 54);
                  int fx = 6;
                  for (const auto& [cap, item] : items) {
                      Caption(g, cap, fx, 24, 50);
                      m_dstatus[static_cast<size_t>(item)] = NumberField(g, name(item), fx + 50, 24, 56);
                      fx += 112;
                  }
                  return g;
              };
        // A range group: lower bound, upper bound, points, without labels.
        auto range = [&](const QString& title, int x, int y, int first) {
            QGroupBox* g = Group(p2, title, x, y, 220, 54);
            for (int i = 0; i < 3; ++i)
                m_dstatus[static_cast<size_t>(first + i)] = NumberField(g, name(first + i), 6 + i * 70, 24, 64);
            return g;
        };
        labelled(QStringLiteral("生産地"), 4, 4, 236,
                 { { QStringLiteral("内国"), DStatus::Naikoku }, { QStringLiteral("外国"), DStatus::Gaikoku } });
        QGroupBox* col = Group(p2, QStringLiteral("毛色"), 4, 62, 236, 54);
        m_dcolor = ColorBox(col, "ComboBox2", 6, 24);
        m_dstatus[DStatus::ColorPts] = NumberField(col, name(DStatus::ColorPts), 122, 24);
        range(QStringLiteral("★"), 4, 120, DStatus::StarLow);
        range(QStringLiteral("距離適性"), 4, 178, DStatus::DistLow);
        labelled(QStringLiteral("成長"), 248, 4, 236,
                 { { QStringLiteral("早熟"), DStatus::Soujuku }, { QStringLiteral("普通"), DStatus::Futsu } });
        labelled(QString(), 248, 62, 236,
                 { { QStringLiteral("晩成"), DStatus::Bansei }, { QStringLiteral("持続"), DStatus::Jizoku } });
        labelled(QStringLiteral("ダート"), 248, 120, 348,
                 { { QStringLiteral("◎"), DStatus::Dirt1 },
                   { QStringLiteral("○"), DStatus::Dirt2 },
                   { QStringLiteral("△"), DStatus::Dirt3 } });
        const QString grades[5] = { QStringLiteral("気性"), QStringLiteral("底力"), QStringLiteral("体質"),
                                    QStringLiteral("実績"), QStringLiteral("安定") };
        const int firsts[5] = { DStatus::KishoA, DStatus::KonjoA, DStatus::KenkoA, DStatus::JissekiA, DStatus::AnteiA };
        const QPoint places[5] = { { 4, 236 }, { 4, 294 }, { 4, 352 }, { 360, 294 }, { 4, 410 } };
        for (int g = 0; g < 5; ++g) {
            QGroupBox* box = labelled(grades[g], places[g].x(), places[g].y(), 348,
                                      { { QStringLiteral("Ａ"), firsts[g] },
                                        { QStringLiteral("Ｂ"), firsts[g] + 1 },
                                        { QStringLiteral("Ｃ"), firsts[g] + 2 } });
            if (g == 0 || g == 2) {
                const int item = g == 0 ? DStatus::KishoO : DStatus::KenkoO;
                box->resize(600, 54);
                Caption(box, QStringLiteral("O.B.時"), 350, 24, 70);
                m_dstatus[static_cast<size_t>(item)] = NumberField(box, name(item), 420, 24, 56);
            }
        }
    }

    // Page 繁殖牝馬のポイント: Edit7..Edit18 are the status items 1..12.
    auto* p3 = new QWidget;
    m_pages->addTab(p3, QStringLiteral("繁殖牝馬のポイント"));
    m_mstatus.assign(MStatus::Count, nullptr);
    {
        QGroupBox* outer = Group(p3, QStringLiteral("繁殖牝馬のステータス"), 4, 4, 480, 320);
        auto name = [](int item) { return QStringLiteral("Edit%1").arg(7 + item); };
        QGroupBox* origin = Group(outer, QStringLiteral("生産地"), 8, 22, 236, 54);
        Caption(origin, QStringLiteral("自家"), 6, 24, 50);
        m_mstatus[MStatus::Jika] = NumberField(origin, name(MStatus::Jika), 56, 24, 56);
        Caption(origin, QStringLiteral("他家"), 118, 24, 50);
        m_mstatus[MStatus::Taka] = NumberField(origin, name(MStatus::Taka), 168, 24, 56);
        QGroupBox* col = Group(outer, QStringLiteral("毛色"), 8, 80, 236, 54);
        m_mcolor = ColorBox(col, "ComboBox1", 6, 24);
        m_mstatus[MStatus::ColorPts] = NumberField(col, name(MStatus::ColorPts), 122, 24);
        const QString titles[3] = { QStringLiteral("基本料"), QStringLiteral("スピード"), QStringLiteral("スタミナ") };
        const int firsts[3] = { MStatus::FeeLow, MStatus::SpeedLow, MStatus::StaminaLow };
        for (int r = 0; r < 3; ++r) {
            QGroupBox* g = Group(outer, titles[r], 8, 138 + r * 58, 236, 54);
            for (int i = 0; i < 3; ++i)
                m_mstatus[static_cast<size_t>(firsts[r] + i)] = NumberField(g, name(firsts[r] + i), 6 + i * 74, 24, 68);
        }
    }
}

void TfrmPoints::ShowTable()
{
    const PtsRec& t = PointTable();
    const MasterData& d = Master();
    for (size_t i = 0; i < kHaigoFields.size(); ++i)
        m_haigo[i]->setText(QString::number(t.haigo.*kHaigoFields[i]));
    for (size_t k = 1; k <= 16; ++k) {
        m_crs[k]->setText(QString::number(t.cros[k]));
        m_kosei[k]->setText(QString::number(t.Nitro[k]));
        m_oyani[k]->setText(QString::number(t.Oyani[k]));
        const QString name = Q(d.CrossTable[k].name);
        m_lblCrs[k]->setText(name);
        m_lblKosei[k]->setText(name);
        m_lblOyani[k]->setText(name);
    }
    for (size_t n = 1; n <= 7; ++n)
        m_cross[n]->setText(QString::number(t.CrosNum[n]));
    for (size_t i = 0; i < m_dstatus.size(); ++i)
        m_dstatus[i]->setText(QString::number(t.dstatus[i]));
    for (size_t i = 0; i < m_mstatus.size(); ++i)
        m_mstatus[i]->setText(QString::number(t.mstatus[i]));
    m_dcolor->setEditText(Q(t.dcolor));
    m_mcolor->setEditText(Q(t.mcolor));
}

void TfrmPoints::StoreFields()
{
    PtsRec& t = PointTable();
    for (size_t i = 0; i < kHaigoFields.size(); ++i)
        t.haigo.*kHaigoFields[i] = FieldValue(m_haigo[i]);
    for (size_t n = 1; n <= 7; ++n)
        t.CrosNum[n] = FieldValue(m_cross[n]);
    for (size_t k = 1; k <= 16; ++k) {
        t.Nitro[k] = FieldValue(m_kosei[k]);
        t.cros[k] = FieldValue(m_crs[k]);
        t.Oyani[k] = FieldValue(m_oyani[k]);
    }
    for (size_t i = 0; i < m_mstatus.size(); ++i)
        t.mstatus[i] = FieldValue(m_mstatus[i]);
    t.mcolor = m_mcolor->currentText().toStdU16String();
    for (size_t i = 0; i < m_dstatus.size(); ++i)
        t.dstatus[i] = FieldValue(m_dstatus[i]);
    t.dcolor = m_dcolor->currentText().toStdU16String();
}

void TfrmPoints::OnChoose(int index)
{
    if (index < 0)
        return;
    MessageBox::ShowErrors(this, [&] {
        const WaitCursor wait;
        ChoosePointTable(App(), U(m_cmbFile->itemText(index)));
    });
    ShowTable();
}

void TfrmPoints::OnSave()
{
    auto* dlg = new TfrmSaveAs(this);
    FitForm(dlg);
    const int result = dlg->exec();
    // 〜 as Linux input methods type it is the code page's ～.
    const std::u16string name = FoldCp932LookAlikes(dlg->SettingName().toStdU16String());
    delete dlg;
    if (result != QDialog::Accepted)
        return;
    if (const std::u16string problem = PointSettingNameProblem(name); !problem.empty()) {
        MessageBox::Show(this, QString::fromStdU16String(problem));
        return;
    }
    AppState& app = App();
    const std::u16string previousFile = app.DataFiles.Aisho;
    const bool saved = MessageBox::ShowErrors(this, [&] {
        app.DataFiles.Aisho = PointFileName(name);
        {
            const WaitCursor wait;
            OpenPointFile(app.DataDir, app.DataFiles.Aisho);
        }
        StoreFields();
        WritePoints(*PointFile(), PointTable());
    });
    if (!saved) {
        // Nothing was saved: the table that was current stays current, with its own values; the fields
        // keep what was typed, to be saved under another name.
        app.DataFiles.Aisho = previousFile;
        MessageBox::ShowErrors(this, [&] { ReadPoints(OpenPointFile(app.DataDir, previousFile), PointTable()); });
        return;
    }
    // The file had a second name (a hard link): that name keeps the former table, and the user is told.
    if (PointFile()->LastWriteDroppedLinks())
        MessageBox::Show(this, Q(OtherNamesKeptMessage(PointFile()->Path())));
    accept();
}

} // namespace velmora::gui
