#include "gui/mating/frm_text.h"

#include "core/app/app_state.h"
#include "core/data/master_data.h"
#include "core/data/text_file.h"
#include "core/mating/text_list.h"
#include "gui/app/controls.h"
#include "gui/app/file_dialogs.h"
#include "gui/app/fit_form.h"
#include "gui/app/message_box.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace velmora::gui {

namespace {

// Check box captions in print order; element 1 is the name column, which is always printed.
constexpr const char16_t* kDadCaptions[]
    = { u"順位",     u"馬名",     u"ポイント",   u"内国産",         u"系統",         u"毛色",        u"★",
        u"距離適性", u"ダート",   u"成長",       u"気性",           u"底力",         u"健康",        u"実績",
        u"安定",     u"面白配合", u"見事な配合", u"よくできた配合", u"ニックス配合", u"インブリード" };
constexpr const char16_t* kMamCaptions[]
    = { u"順位",     u"馬名",     u"ポイント", u"持込み",     u"系統",           u"毛色",         u"基本料",
        u"スピード", u"スタミナ", u"面白配合", u"見事な配合", u"よくできた配合", u"ニックス配合", u"インブリード" };

// The column switch of a check box: the name box (1) has none.
int SwitchOf(size_t box)
{
    return box == 0 ? 0 : box == 1 ? -1 : static_cast<int>(box) - 1;
}

} // namespace

TfrmText::TfrmText(const TextListSource& source, QWidget* parent)
    : QDialog(parent)
    , m_source(source)
{
    setObjectName(QStringLiteral("frmText"));
    BuildLayout();
    const bool st = m_source.stallions;
    m_lblTitle->setText(st ? QStringLiteral("対象牝馬") : QStringLiteral("対象牡馬"));
    m_memo->clear();
    m_btnShow->setEnabled(m_source.ready);
    m_lblName->setText(m_source.ready ? Q(m_source.targetName) : QStringLiteral("対象なし"));
    QStringList intro;
    for (const std::u16string& line : TextListOpeningLines(Kind(), m_source.ready))
        intro.push_back(Q(line));
    m_memo->setPlainText(intro.join(QLatin1Char('\n')));
    m_btnSave->setEnabled(false);
    MessageBox::ShowErrors(this, [this] { ReadSettings(); });
    setWindowTitle((st ? QStringLiteral("<種牡馬> 相性順") : QStringLiteral("<繁殖牝馬> 相性順"))
                   + QStringLiteral("一覧表示"));
}

void TfrmText::BuildLayout()
{
    resize(640, 460);
    setFixedSize(640, 460);
    m_lblTitle = new QLabel(this);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    m_lblTitle->setGeometry(8, 8, 80, 22);
    m_lblName = new QLabel(this);
    m_lblName->setObjectName(QStringLiteral("lblName"));
    m_lblName->setGeometry(92, 8, 200, 22);
    m_lblName->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto button = [this](const char* name, const QString& text, int x) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, 6, 80, 26);
        b->setAutoDefault(false);
        return b;
    };
    m_btnShow = button("btnShow", QStringLiteral("表示(&V)"), 300);
    m_btnClose = button("btnClose", QStringLiteral("戻る(&C)"), 384);
    m_btnSave = button("btnSave", QStringLiteral("保存(&S)"), 468);
    m_btnLoad = button("btnLoad", QStringLiteral("読込(&R)"), 552);
    connect(m_btnShow, &QPushButton::clicked, this, [this] { OnShow(); });
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnSave, &QPushButton::clicked, this, [this] { OnSave(); });
    connect(m_btnLoad, &QPushButton::clicked, this, [this] { OnLoad(); });

    auto* fmt = new QGroupBox(QStringLiteral("出力フォーマット"), this);
    fmt->setObjectName(QStringLiteral("grpFormat"));
    fmt->setGeometry(8, 38, 190, 116);
    auto edit = [fmt](const char* name, const QString& caption, int y) {
        auto* l = new QLabel(caption, fmt);
        l->setGeometry(8, y, 110, 22);
        auto* e = new QLineEdit(fmt);
        e->setObjectName(QString::fromLatin1(name));
        e->setGeometry(120, y, 60, 22);
        return e;
    };
    m_edit1 = edit("Edit1", QStringLiteral("最大出力順位"), 22);
    m_edit2 = edit("Edit2", QStringLiteral("折返し文字数"), 52);
    m_edit3 = edit("Edit3", QStringLiteral("馬名文字数"), 82);

    auto columns = [this](const char* name, const char16_t* const* captions, size_t n, std::vector<QCheckBox*>& out) {
        auto* g = new QGroupBox(QStringLiteral("出力項目"), this);
        g->setObjectName(QString::fromLatin1(name));
        g->setGeometry(206, 38, 426, 116);
        QFont small = g->font();
        small.setPointSize(9);
        for (size_t i = 0; i < n; ++i) {
            auto* c = new QCheckBox(Q(captions[i]), g);
            c->setObjectName(QStringLiteral("%1%2").arg(QString::fromLatin1(name)).arg(i + 1, 2, 10, QLatin1Char('0')));
            c->setFont(small);
            const int col = static_cast<int>(i) / 5;
            const int row = static_cast<int>(i) % 5;
            c->setGeometry(8 + col * 104, 16 + row * 19, 102, 19);
            if (SwitchOf(i) < 0) {
                c->setChecked(true);
                c->setEnabled(false);
            }
            out.push_back(c);
        }
        return g;
    };
    m_grpDad = columns("grpDadColumns", kDadCaptions, std::size(kDadCaptions), m_dadColumns);
    m_grpMam = columns("grpMamColumns", kMamCaptions, std::size(kMamCaptions), m_mamColumns);
    m_grpDad->setVisible(m_source.stallions);
    m_grpMam->setVisible(!m_source.stallions);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setGeometry(8, 160, 624, 292);
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setFont(AppFixedFont());
}

TextListKind TfrmText::Kind() const
{
    return m_source.stallions ? TextListKind::Stallions : TextListKind::Mares;
}

void TfrmText::ReadSettings()
{
    const TextListSettings set = ReadTextListSettings(*App().IniFile, Kind());
    m_edit1->setText(Q(set.maxRank));
    m_edit2->setText(Q(set.wrap));
    m_edit3->setText(Q(set.nameLength));
    for (size_t i = 0; i < Columns().size(); ++i)
        if (SwitchOf(i) >= 0)
            Columns()[i]->setChecked(set.columns[static_cast<size_t>(SwitchOf(i))]);
}

TextListSettings TfrmText::CurrentSettings()
{
    TextListSettings set;
    set.maxRank = m_edit1->text().toStdU16String();
    set.wrap = m_edit2->text().toStdU16String();
    set.nameLength = m_edit3->text().toStdU16String();
    for (size_t i = 0; i < Columns().size(); ++i)
        if (SwitchOf(i) >= 0)
            set.columns[static_cast<size_t>(SwitchOf(i))] = Columns()[i]->isChecked();
    return set;
}

void TfrmText::OnShow()
{
    if (!m_source.ready || !m_source.rows)
        return;
    const bool built = MessageBox::ShowErrors(this, [&] {
        IniFile& ini = *App().IniFile;
        TextListRequest req;
        req.kind = Kind();
        req.settings = CurrentSettings();
        WriteTextListFormat(ini, req.settings);
        req.title = m_lblTitle->text().toStdU16String();
        req.targetName = m_lblName->text().toStdU16String();
        req.date = TextListToday();
        req.target = m_source.target;
        m_lines = BuildTextList(Master(), req, *m_source.rows);
        WriteTextListSwitches(ini, req.kind, req.settings.columns);
    });
    if (!built)
        return;
    QStringList text;
    for (const std::u16string& l : m_lines)
        text.push_back(Q(l));
    m_memo->setPlainText(text.join(QLatin1Char('\n')));
    m_btnSave->setEnabled(true);
}

void TfrmText::OnSave()
{
    const QString path = AskSaveFile(this, m_lblName->text().left(8) + QStringLiteral(".txt"));
    if (path.isEmpty())
        return;
    // The memo's lines; an empty memo has none.
    std::vector<std::u16string> lines;
    if (!m_memo->document()->isEmpty())
        for (const QString& l : m_memo->toPlainText().split(QLatin1Char('\n')))
            lines.push_back(l.toStdU16String());
    MessageBox::ShowErrors(this, [&] { WriteCp932Lines(path.toStdString(), lines); });
}

void TfrmText::OnLoad()
{
    const QString path = AskOpenFile(this);
    if (path.isEmpty())
        return;
    const bool loaded = MessageBox::ShowErrors(this, [&] {
        const std::vector<std::u16string> lines = ReadCp932Lines(path.toStdString());
        QStringList text;
        for (const std::u16string& l : lines)
            text.push_back(Q(l));
        m_memo->setPlainText(text.join(QLatin1Char('\n')));
    });
    if (!loaded)
        return;
    m_btnSave->setEnabled(true);
    m_lblName->clear();
}

} // namespace velmora::gui
