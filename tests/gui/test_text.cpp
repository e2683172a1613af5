// The ranked text list opened with "一覧表示" from the optimal-mating window: its opening states, the
// list it prints through the core builder, the settings it writes back, saving and loading.

#include "core/app/app_state.h"
#include "core/data/cp932.h"
#include "core/data/master_data.h"
#include "core/data/text_file.h"
#include "core/mating/text_list.h"
#include "gui/app/message_box.h"
#include "gui/mating/frm_text.h"
#include "gui/mating/frm_velmora.h"
#include "support/script.h"
#include "support/velmora_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::gui::test;

class TestText : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WorkFolder> m_folder;

    // Presses a list's "一覧表示" and lets `drive` work the text list window in its own modal loop,
    // which is closed afterwards; a file dialog that `drive` opens is handed to `answer` in its loop.
    static void OpenList(TfrmVelmora* w, bool stallions, const std::function<void(TfrmText*)>& drive,
                         const std::function<void(QFileDialog*)>& answer = {})
    {
        bool opened = false;
        Script script;
        script.Add(
            [&] { QTest::mouseClick(Find<QPushButton>(w, stallions ? "btnDadList" : "btnMamList"), Qt::LeftButton); });
        script.Add([&] {
            auto* text = qobject_cast<TfrmText*>(ActiveDialog("frmText"));
            if (!text)
                return;
            opened = true;
            drive(text);
            text->reject();
        });
        script.Add([&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog && answer)
                answer(dialog);
        });
        script.Start();
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && !ActiveDialog("frmText"), 10000);
        QVERIFY(opened);
    }

    static QStringList MemoLines(TfrmText* t)
    {
        return Find<QPlainTextEdit>(t, "Memo1")->toPlainText().split(QLatin1Char('\n'));
    }

    static QStringList ToList(const std::vector<std::u16string>& lines)
    {
        QStringList out;
        for (const std::u16string& l : lines)
            out << Q(l);
        return out;
    }

    static QString Setting(const char16_t* section, const char16_t* key)
    {
        const auto v = App().IniFile->Read(section, key);
        return v ? Q(*v) : QStringLiteral("<absent>");
    }

    // A window with a stallion and a mare chosen and the given list ordered by compatibility.
    std::unique_ptr<TfrmVelmora> ReadyWindow(bool stallions)
    {
        auto w = std::make_unique<TfrmVelmora>();
        const MasterData& d = Master();
        ChooseByTyping(Find<QComboBox>(w.get(), "cmbDad"), Q(d.DadTable[1].name));
        ChooseByTyping(Find<QComboBox>(w.get(), "cmbMam"), Q(d.MamTable[2].name));
        QTest::mouseClick(Find<QToolButton>(w.get(), stallions ? "btnDadAisho" : "btnMamAisho"), Qt::LeftButton);
        return w;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(WorkFolder::SampleAvailable(), "the sample data set is missing");
        m_folder = std::make_unique<WorkFolder>();
        QVERIFY(m_folder->IsValid());
        MessageBox::SetAutoAnswer(MessageBox::Ok);
    }

    void cleanup()
    {
        QVERIFY2(MessageBox::History().isEmpty(), qPrintable(MessageBox::History().join(QLatin1Char('|'))));
        MessageBox::ClearHistory();
    }

    void cleanupTestCase() { m_folder.reset(); }

    // Without an ordering by compatibility the window has no target and only loads.
    void notReadyWithoutCompatibilityOrder_data()
    {
        QTest::addColumn<bool>("stallions");
        QTest::newRow("stallion list") << true;
        QTest::newRow("mare list") << false;
    }

    void notReadyWithoutCompatibilityOrder()
    {
        QFETCH(bool, stallions);
        TfrmVelmora w;
        OpenList(&w, stallions, [&](TfrmText* t) {
            QCOMPARE(t->windowTitle(),
                     stallions ? QStringLiteral("<種牡馬> 相性順一覧表示")
                               : QStringLiteral("<繁殖牝馬> 相性順一覧表示"));
            QCOMPARE(Find<QLabel>(t, "lblTitle")->text(),
                     stallions ? QStringLiteral("対象牝馬") : QStringLiteral("対象牡馬"));
            QCOMPARE(Find<QLabel>(t, "lblName")->text(), QStringLiteral("対象なし"));
            QVERIFY(!Find<QPushButton>(t, "btnShow")->isEnabled());
            QVERIFY(!Find<QPushButton>(t, "btnSave")->isEnabled());
            QCOMPARE(MemoLines(t),
                     QStringList({ QStringLiteral("<読込>ボタンを押して、過去に保存されたデータを読み込むか、"),
                                   stallions ? QStringLiteral("メイン画面に戻って種牡馬のリスト順を相性順に")
                                             : QStringLiteral("メイン画面に戻って繁殖牝馬のリスト順を相性順に"),
                                   QStringLiteral("並べ替えてからこの画面を開き、<表示>ボタンを押して下さい。") }));
            QCOMPARE(Find<QGroupBox>(t, "grpDadColumns")->isVisibleTo(t), stallions);
            QCOMPARE(Find<QGroupBox>(t, "grpMamColumns")->isVisibleTo(t), !stallions);
        });
        // Opening read every setting and wrote it back.
        QCOMPARE(Setting(u"一覧表示", u"出力数"), QStringLiteral("30"));
        QCOMPARE(Setting(u"一覧表示", u"折返し"), QStringLiteral("72"));
        QCOMPARE(Setting(stallions ? u"種牡馬一覧" : u"繁殖牝馬一覧", u"インブリード"), QStringLiteral("ON"));
    }

    // "表示(&V)" prints the window's list through the core builder with the settings on screen, and
    // writes the settings back.
    void showPrintsTheOrderedList_data()
    {
        QTest::addColumn<bool>("stallions");
        QTest::newRow("stallions for the chosen mare") << true;
        QTest::newRow("mares for the chosen stallion") << false;
    }

    void showPrintsTheOrderedList()
    {
        QFETCH(bool, stallions);
        auto w = ReadyWindow(stallions);
        const MasterData& d = Master();
        const QString target = stallions ? Q(d.MamTable[2].name) : Q(d.DadTable[1].name);
        OpenList(w.get(), stallions, [&](TfrmText* t) {
            QCOMPARE(Find<QLabel>(t, "lblName")->text(), target);
            QVERIFY(Find<QPushButton>(t, "btnShow")->isEnabled());
            QCOMPARE(MemoLines(t).size(), 4);
            QCOMPARE(MemoLines(t).at(0), QStringLiteral("<表示>ボタンを押すと、設定された出力フォーマットでリストが"));
            Find<QLineEdit>(t, "Edit1")->setText(QStringLiteral("3"));
            Find<QLineEdit>(t, "Edit3")->setText(QStringLiteral("8"));
            // The points box is the third of either kind.
            QCheckBox* points = Find<QCheckBox>(t, stallions ? "grpDadColumns03" : "grpMamColumns03");
            QCOMPARE(points->text(), QStringLiteral("ポイント"));
            points->setChecked(false);
            QVERIFY(!Find<QCheckBox>(t, stallions ? "grpDadColumns02" : "grpMamColumns02")->isEnabled());
            QTest::mouseClick(Find<QPushButton>(t, "btnShow"), Qt::LeftButton);

            TextListRequest req;
            req.kind = stallions ? TextListKind::Stallions : TextListKind::Mares;
            req.title = stallions ? u"対象牝馬" : u"対象牡馬";
            req.targetName = target.toStdU16String();
            req.date = TextListToday(); // yyyy/MM/dd whatever the locale
            req.settings.maxRank = u"3";
            req.settings.wrap = u"72";
            req.settings.nameLength = u"8";
            req.settings.columns = DefaultTextListSwitches(req.kind);
            req.settings.columns[static_cast<size_t>(stallions ? int(StallionColumn::Points) : int(MareColumn::Points))]
                = false;
            req.target = stallions ? FindMam(d, target.toStdU16String()) : FindDad(d, target.toStdU16String());
            const auto& rows = stallions ? w->StallionList() : w->MareList();
            const QStringList expected = ToList(BuildTextList(d, req, rows));
            QCOMPARE(MemoLines(t), expected);
            QVERIFY(expected.at(0).startsWith(Q(req.title)));
            QVERIFY(Find<QPushButton>(t, "btnSave")->isEnabled());
        });
        QCOMPARE(Setting(u"一覧表示", u"出力数"), QStringLiteral("3"));
        QCOMPARE(Setting(u"一覧表示", u"馬名長"), QStringLiteral("8"));
        const char16_t* section = stallions ? u"種牡馬一覧" : u"繁殖牝馬一覧";
        QCOMPARE(Setting(section, u"ポイント"), QStringLiteral("OFF"));
        QCOMPARE(Setting(section, u"馬名"), QStringLiteral("必須"));
        // The next opening shows what was written.
        OpenList(w.get(), stallions, [&](TfrmText* t) {
            QCOMPARE(Find<QLineEdit>(t, "Edit1")->text(), QStringLiteral("3"));
            QVERIFY(!Find<QCheckBox>(t, stallions ? "grpDadColumns03" : "grpMamColumns03")->isChecked());
            Find<QCheckBox>(t, stallions ? "grpDadColumns03" : "grpMamColumns03")->setChecked(true);
            Find<QLineEdit>(t, "Edit1")->setText(QStringLiteral("30"));
            Find<QLineEdit>(t, "Edit3")->setText(QStringLiteral("10"));
            QTest::mouseClick(Find<QPushButton>(t, "btnShow"), Qt::LeftButton);
        });
        QCOMPARE(Setting(section, u"ポイント"), QStringLiteral("ON"));
    }

    // "保存(&S)" writes the memo in code page 932 with CR LF; "読込(&R)" reads a file back.
    void saveAndLoad()
    {
        auto w = ReadyWindow(true);
        const QString path = m_folder->File(QStringLiteral("list.txt"));
        QString proposed, saveTitle, loadTitle, filter;
        const auto answer = [&](QFileDialog* dialog) {
            const bool save = dialog->acceptMode() == QFileDialog::AcceptSave;
            (save ? saveTitle : loadTitle) = dialog->windowTitle();
            filter = dialog->nameFilters().join(QStringLiteral(";;"));
            if (save)
                proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
            ChooseFile(dialog, path);
        };
        QStringList shown;
        OpenList(
            w.get(), true,
            [&](TfrmText* t) {
                QTest::mouseClick(Find<QPushButton>(t, "btnShow"), Qt::LeftButton);
                shown = MemoLines(t);
                QTest::mouseClick(Find<QPushButton>(t, "btnSave"), Qt::LeftButton);
            },
            answer);
        QCOMPARE(saveTitle, QStringLiteral("データの保存"));
        QVERIFY(filter.contains(QStringLiteral("*.txt")));
        QCOMPARE(proposed, Q(Master().MamTable[2].name).left(8) + QStringLiteral(".txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        std::string expected;
        for (const QString& l : shown)
            expected += ToCp932(l.toStdU16String()) + "\r\n";
        QCOMPARE(f.readAll(), QByteArray::fromStdString(expected));
        f.close();

        WriteCp932Lines(path.toStdString(), { u"一行目", u"ﾉｰｽ 3*4", u"" });
        TfrmVelmora plain;
        OpenList(
            &plain, false,
            [&](TfrmText* t) {
                QVERIFY(!Find<QPushButton>(t, "btnSave")->isEnabled());
                QTest::mouseClick(Find<QPushButton>(t, "btnLoad"), Qt::LeftButton);
                QCOMPARE(MemoLines(t), QStringList({ QStringLiteral("一行目"), QStringLiteral("ﾉｰｽ 3*4"), QString() }));
                QCOMPARE(Find<QLabel>(t, "lblName")->text(), QString());
                QVERIFY(Find<QPushButton>(t, "btnSave")->isEnabled());
            },
            answer);
        QCOMPARE(loadTitle, QStringLiteral("データの読込"));
    }
};

QTEST_MAIN(TestText)
#include "test_text.moc"
