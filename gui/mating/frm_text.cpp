#include "gui/mating/frm_text.h"

#include "core/app/app_state.h"
#include "core/app/settings.h"
#include "core/common/errors.h"
#include "core/data/master_data.h"
#include "core/data/text_file.h"
#if __has_include("core/mating/text_list.h")
#include "core/mating/text_list.h"
#define VELMORA_HAVE_TEXT_LIST 1
#endif
#include "gui/app/message_box.h"

#include <QCheckBox>
#include <QDate>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>

namespace velmora::gui {

namespace {

QString Q(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

TfrmText::FileDialogHook& DialogHook()
{
    static TfrmText::FileDialogHook hook;
    return hook;
}

struct ColumnKey
{
    const char16_t* caption; // check box caption
    const char16_t* key;     // settings key; nullptr for the name column
    const char16_t* defaultValue;
};

// Columns in caption order; the settings keys are the same order without the name column.
constexpr ColumnKey kDadColumns[] = {
    {u"順位", u"順位", u"ON"},       {u"馬名", nullptr, nullptr},      {u"ポイント", u"ポイント", u"ON"},
    {u"内国産", u"内国産", u"OFF"},  {u"系統", u"系統", u"OFF"},       {u"毛色", u"毛色", u"OFF"},
    {u"★", u"★", u"OFF"},           {u"距離適性", u"距離適正", u"OFF"}, {u"ダート", u"ダート", u"OFF"},
    {u"成長", u"成長", u"ON"},       {u"気性", u"気性", u"ON"},        {u"底力", u"底力", u"ON"},
    {u"健康", u"健康", u"ON"},       {u"実績", u"実績", u"ON"},        {u"安定", u"安定", u"ON"},
    {u"面白配合", u"面白", u"ON"},   {u"見事な配合", u"見事", u"ON"},  {u"よくできた配合", u"よくできた", u"ON"},
    {u"ニックス配合", u"ニックス", u"ON"}, {u"インブリード", u"インブリード", u"ON"},
};
constexpr ColumnKey kMamColumns[] = {
    {u"順位", u"順位", u"ON"},         {u"馬名", nullptr, nullptr},
    {u"ポイント", u"ポイント", u"ON"}, {u"持込み", u"持込", u"OFF"},
    {u"系統", u"系統", u"ON"},         {u"毛色", u"毛色", u"OFF"},
    {u"基本料", u"基本料", u"OFF"},    {u"スピード", u"スピード", u"ON"},
    {u"スタミナ", u"スタミナ", u"ON"}, {u"面白配合", u"面白", u"ON"},
    {u"見事な配合", u"見事", u"ON"},   {u"よくできた配合", u"よくできた", u"ON"},
    {u"ニックス配合", u"ニックス", u"ON"}, {u"インブリード", u"インブリード", u"ON"},
};

constexpr std::u16string_view kListSection = u"一覧表示";
constexpr std::u16string_view kDadSection = u"種牡馬一覧";
constexpr std::u16string_view kMamSection = u"繁殖牝馬一覧";
const QString kFilter = QStringLiteral("テキスト形式 (*.txt);;全てのファイル (*.*)");

template <size_t N>
const ColumnKey* ColumnsOf(bool stallions, size_t& count)
{
    count = N;
    return stallions ? kDadColumns : kMamColumns;
}

} // namespace

void TfrmText::SetFileDialogHook(FileDialogHook hook)
{
    DialogHook() = std::move(hook);
}

TfrmText::TfrmText(const TextListSource& source, QWidget* parent) : QDialog(parent), m_source(source)
{
    setObjectName(QStringLiteral("frmText"));
    BuildLayout();
    const bool st = m_source.stallions;
    m_lblTitle->setText(st ? QStringLiteral("対象牝馬") : QStringLiteral("対象牡馬"));
    m_memo->clear();
    if (m_source.ready) {
        m_btnShow->setEnabled(true);
        m_lblName->setText(m_source.targetName);
        m_memo->setPlainText(QStringLiteral("<表示>ボタンを押すと、設定された出力フォーマットでリストが\n"
                                            "出力されます。\n"
                                            "表示後、<保存>ボタンを押すと、ファイルに保存できます。\n"
                                            "<読込>ボタンを押すと、保存されているファイルを読み込みます。"));
    } else {
        m_btnShow->setEnabled(false);
        m_lblName->setText(QStringLiteral("対象なし"));
        m_memo->setPlainText(QStringLiteral("<読込>ボタンを押して、過去に保存されたデータを読み込むか、\n") +
                             (st ? QStringLiteral("メイン画面に戻って繁殖牝馬のリスト順を相性順に\n")
                                 : QStringLiteral("メイン画面に戻って種牡馬のリスト順を相性順に\n")) +
                             QStringLiteral("並べ替えてからこの画面を開き、<表示>ボタンを押して下さい。"));
    }
    m_btnSave->setEnabled(false);
    try {
        ReadSettings();
    } catch (const VelmoraError& e) {
        MessageBox::Show(this, QString::fromUtf8(e.what()));
    }
    setWindowTitle((st ? QStringLiteral("<種牡馬> 相性順") : QStringLiteral("<繁殖牝馬> 相性順")) +
                   QStringLiteral("一覧表示"));
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

    auto columns = [this](const char* name, const ColumnKey* keys, size_t n, std::vector<QCheckBox*>& out) {
        auto* g = new QGroupBox(QStringLiteral("出力項目"), this);
        g->setObjectName(QString::fromLatin1(name));
        g->setGeometry(206, 38, 426, 116);
        QFont small = g->font();
        small.setPointSize(9);
        for (size_t i = 0; i < n; ++i) {
            auto* c = new QCheckBox(Q(keys[i].caption), g);
            c->setObjectName(QStringLiteral("%1%2").arg(QString::fromLatin1(name)).arg(i + 1, 2, 10, QLatin1Char('0')));
            c->setFont(small);
            const int col = static_cast<int>(i) / 5;
            const int row = static_cast<int>(i) % 5;
            c->setGeometry(8 + col * 104, 16 + row * 19, 102, 19);
            if (!keys[i].key) {
                c->setChecked(true);
                c->setEnabled(false);
            }
            out.push_back(c);
        }
        return g;
    };
    m_grpDad = columns("grpDadColumns", kDadColumns, std::size(kDadColumns), m_dadColumns);
    m_grpMam = columns("grpMamColumns", kMamColumns, std::size(kMamColumns), m_mamColumns);
    m_grpDad->setVisible(m_source.stallions);
    m_grpMam->setVisible(!m_source.stallions);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setGeometry(8, 160, 624, 292);
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont fixed(Q(App().FixFontName));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    if (!QFontInfo(fixed).fixedPitch())
        fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(App().FixFontSize > 0 ? App().FixFontSize : 12);
    m_memo->setFont(fixed);
}

void TfrmText::ReadSettings()
{
    m_edit1->setText(Q(ReadSetting(kListSection, u"出力数", u"30")));
    m_edit2->setText(Q(ReadSetting(kListSection, u"折返し", u"72")));
    m_edit3->setText(Q(ReadSetting(kListSection, u"馬名長", u"10")));
    const bool st = m_source.stallions;
    const ColumnKey* keys = st ? kDadColumns : kMamColumns;
    const size_t n = st ? std::size(kDadColumns) : std::size(kMamColumns);
    const std::u16string_view section = st ? kDadSection : kMamSection;
    for (size_t i = 0; i < n; ++i) {
        if (!keys[i].key)
            continue;
        Columns()[i]->setChecked(ReadSetting(section, keys[i].key, keys[i].defaultValue) == u"ON");
    }
}

void TfrmText::OnShow()
{
    if (!m_source.ready || !m_source.rows)
        return;
    try {
        IniFile& ini = *App().IniFile;
        ini.WriteString(kListSection, u"出力数", m_edit1->text().toStdU16String());
        ini.WriteString(kListSection, u"折返し", m_edit2->text().toStdU16String());
        ini.WriteString(kListSection, u"馬名長", m_edit3->text().toStdU16String());

#ifdef VELMORA_HAVE_TEXT_LIST
        TextListOptions opt;
        opt.stallions = m_source.stallions;
        opt.title = m_lblTitle->text().toStdU16String();
        opt.targetName = m_lblName->text().toStdU16String();
        opt.date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdU16String();
        opt.maxRankText = m_edit1->text().toStdU16String();
        opt.wrapText = m_edit2->text().toStdU16String();
        opt.nameWidthText = m_edit3->text().toStdU16String();
        const ColumnKey* keys = m_source.stallions ? kDadColumns : kMamColumns;
        const size_t n = Columns().size();
        for (size_t i = 0; i < n; ++i)
            if (keys[i].key)
                opt.columns.push_back(Columns()[i]->isChecked());
        m_lines = BuildTextList(Master(), *m_source.rows, m_source.target, opt);
#endif
        const ColumnKey* keys = m_source.stallions ? kDadColumns : kMamColumns;
        const size_t n = Columns().size();

        const std::u16string_view section = m_source.stallions ? kDadSection : kMamSection;
        for (size_t i = 0; i < n; ++i) {
            if (keys[i].key)
                ini.WriteString(section, keys[i].key, Columns()[i]->isChecked() ? u"ON" : u"OFF");
            if (i == 0)
                ini.WriteString(section, u"馬名", u"必須");
        }
    } catch (const VelmoraError& e) {
        MessageBox::Show(this, QString::fromUtf8(e.what()));
        return;
    }
    QStringList text;
    for (const std::u16string& l : m_lines)
        text.push_back(Q(l));
    m_memo->setPlainText(text.join(QLatin1Char('\n')));
    m_btnSave->setEnabled(true);
}

QString TfrmText::AskFile(bool save, const QString& proposed)
{
    const QString title = save ? QStringLiteral("データの保存") : QStringLiteral("データの読込");
    if (DialogHook())
        return DialogHook()(save, title, kFilter, proposed);
    if (save)
        return QFileDialog::getSaveFileName(this, title, proposed, kFilter);
    return QFileDialog::getOpenFileName(this, title, QString(), kFilter);
}

void TfrmText::OnSave()
{
    const QString path = AskFile(true, m_lblName->text().left(8) + QStringLiteral(".txt"));
    if (path.isEmpty())
        return;
    std::vector<std::u16string> lines;
    const QStringList memoLines = m_memo->toPlainText().split(QLatin1Char('\n'));
    for (const QString& l : memoLines)
        lines.push_back(l.toStdU16String());
    try {
        WriteCp932Lines(path.toStdString(), lines);
    } catch (const VelmoraError& e) {
        MessageBox::Show(this, QString::fromUtf8(e.what()));
    }
}

void TfrmText::OnLoad()
{
    const QString path = AskFile(false, QString());
    if (path.isEmpty())
        return;
    try {
        const std::vector<std::u16string> lines = ReadCp932Lines(path.toStdString());
        QStringList text;
        for (const std::u16string& l : lines)
            text.push_back(Q(l));
        m_memo->setPlainText(text.join(QLatin1Char('\n')));
    } catch (const VelmoraError& e) {
        MessageBox::Show(this, QString::fromUtf8(e.what()));
        return;
    }
    m_btnSave->setEnabled(true);
    m_lblName->clear();
}

} // namespace velmora::gui
