// The data editing window on the sample data: a broodmare and a stallion registered from the main
// window through the real modal loops and read back by velmora-cli; the floating ancestor list, Enter,
// the input mode, the closing result, the colour dialog and the layout in every layout size.

#include "core/app/app_state.h"
#include "core/data/master_data.h"
#include "core/mating/foal_registration.h"
#include "core/pedigree/relative.h"
#include "gui/app/fit_form.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box.h"
#include "gui/maint/frm_make_data.h"
#include "support/layout_check.h"
#include "support/sample_program.h"
#include "support/script.h"
#include "support/velmora_fixture.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::gui::test;

namespace {

const QString kSire = QStringLiteral("ｸｲｴﾎ"); // a stallion of the sample
const QString kMareDam = QStringLiteral("ｿｿｰﾄｵ"); // broodmares of the sample
const QString kStallionDam = QStringLiteral("ｱﾃﾞﾋﾞﾋﾟﾈ");

// Types text key by key, as a keyboard or an input method delivers it (QTest::keyClicks takes ASCII only).
void Type(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

QLineEdit* Sosen(QWidget* w, bool stallion, int k)
{
    const QByteArray name = (stallion ? "edtDSosen" : "edtMSosen") + QByteArray::number(k);
    return Find<QLineEdit>(w, name.constData());
}

QString OyaName(int o)
{
    return o < 0 ? QString() : Q(Master().OyaTable[static_cast<size_t>(o)].name);
}

// The name of a registered broodmare's position p.
QString DamPosition(const QString& dam, int p)
{
    const MasterData& d = Master();
    return OyaName(
        d.MamTable[static_cast<size_t>(FindMam(d, dam.toStdU16String()))].Father[static_cast<size_t>(p - 1)]);
}

// Enters a horse on a horse page as a user does: the name typed, the sire chosen from the floating
// list over field 1, the dam typed.
void EnterHorse(QWidget* w, bool stallion, const QString& typedName, const QString& dam)
{
    auto* name = Find<QComboBox>(w, stallion ? "cmbDName" : "cmbMName");
    name->lineEdit()->setFocus();
    Type(name->lineEdit(), typedName);
    QLineEdit* field1 = Sosen(w, stallion, 1);
    QTest::mouseClick(field1, Qt::LeftButton);
    auto* floating = Find<QComboBox>(w, stallion ? "cmbDSosen" : "cmbMSosen");
    QVERIFY(floating->isVisible());
    QCOMPARE(floating->geometry(), field1->geometry());
    const int item = floating->findText(kSire);
    QVERIFY(item >= 0);
    floating->setCurrentIndex(item);
    emit floating->textActivated(kSire);
    QVERIFY(!floating->isVisible());
    QCOMPARE(field1->text(), kSire);
    // The sire side follows from the sire's own record.
    QCOMPARE(Sosen(w, stallion, 2)->text(),
             OyaName(FindRelative(Master(), kSire.toStdU16String(), RelativeKind::Sire)));
    QCOMPARE(Sosen(w, stallion, 5)->text(),
             OyaName(FindRelative(Master(), kSire.toStdU16String(), RelativeKind::DamSire)));
    auto* damBox = Find<QComboBox>(w, stallion ? "cmbDMam" : "cmbMam");
    damBox->lineEdit()->setFocus();
    Type(damBox->lineEdit(), dam);
    const int damSide[] = { 3, 6, 7, 12, 13, 14, 15 };
    for (int p = 1; p <= 7; ++p)
        QCOMPARE(Sosen(w, stallion, damSide[p - 1])->text(), DamPosition(dam, p));
}

// Runs then once ready() holds, checking again every 50 ms: a window that reloads the data repaints
// meanwhile, so the next step may come while the reload is still under way.
void WhenReady(const std::function<bool()>& ready, const std::function<void()>& then)
{
    if (!ready()) {
        QTimer::singleShot(50, [ready, then] { WhenReady(ready, then); });
        return;
    }
    then();
}

QJsonObject Eval(const QString& dataDir, const QString& stallion, const QString& mare)
{
    QProcess cli;
    cli.start(QStringLiteral(VELMORA_CLI_PATH),
              { QStringLiteral("--data"), dataDir, QStringLiteral("eval"), stallion, mare });
    if (!cli.waitForFinished(30000) || cli.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
}

} // namespace

class TestMakeData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        MessageBox::SetAutoAnswer(MessageBox::Ok);
        QVERIFY2(WorkFolder::SampleAvailable(), "the sample data set is missing");
    }

    void registeredHorsesReachTheFilesFromTheMainWindow()
    {
        SampleProgram program;
        QVERIFY(program.Started());
        TfrmMain& main = program.Main();
        MessageBox::ClearHistory();

        QPointer<QDialog> w;
        Script script;
        script.Add([&] { Click(&main, "btnUpdate"); });
        script.Add([&] {
            w = ActiveDialog("frmMakeData");
            QVERIFY(w);
            QVERIFY(!main.isVisible());
            // Typed in kana mode (the default), full-width katakana is stored half-width.
            EnterHorse(w, false, QStringLiteral("テストヒンバ"), kMareDam);
            QCOMPARE(Find<QComboBox>(w, "cmbMName")->currentText(), QStringLiteral("ﾃｽﾄﾋﾝﾊﾞ"));
            auto* fee = Find<QLineEdit>(w, "edtMFee");
            QTest::keyClicks(fee, QStringLiteral("900"));
            QTest::keyClick(fee, Qt::Key_Return); // Enter registers
            QCOMPARE(MessageBox::History().value(0), QStringLiteral("ﾃｽﾄﾋﾝﾊﾞを登録しました"));
        });
        script.Add([&] {
            Find<QTabWidget>(w, "PageControl1")->setCurrentIndex(1);
            EnterHorse(w, true, QStringLiteral("ﾃｽﾄｼｭﾎﾞ"), kStallionDam);
            Find<QGroupBox>(w, "rdgGrow")->findChildren<QRadioButton*>().at(3)->click(); // 持続
            Click(w, "btnOK");
            QCOMPARE(MessageBox::History().value(1), QStringLiteral("ﾃｽﾄｼｭﾎﾞを登録しました"));
            Click(w, "btnCancel"); // closes with OK: the main window reloads the data
        });
        // The main window reloads the data and then shows itself again.
        script.Add([&] {
            WhenReady([&] { return main.isVisible(); },
                      [&] {
                          QVERIFY(!w);
                          const int dad = FindDad(Master(), u"ﾃｽﾄｼｭﾎﾞ");
                          QVERIFY(dad >= 0);
                          QCOMPARE(Q(Master().DadTable[static_cast<size_t>(dad)].Grow), QStringLiteral("持続"));
                          Click(&main, "btnEnd");
                      });
        });
        script.Start();
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && !main.isVisible() && !w, 30000);

        // velmora-cli reads both from the files with the pedigrees entered.
        const QJsonObject pair = Eval(program.Path(), QStringLiteral("ﾃｽﾄｼｭﾎﾞ"), QStringLiteral("ﾃｽﾄﾋﾝﾊﾞ"));
        QCOMPARE(pair.value("stallion").toString(), QStringLiteral("ﾃｽﾄｼｭﾎﾞ"));
        const QJsonArray dads = pair.value("inbreed").toObject().value("dads").toArray();
        const QJsonArray mams = pair.value("inbreed").toObject().value("mams").toArray();
        QCOMPARE(OyaName(dads.at(1).toObject().value("num").toInt(-1)), kSire);
        QCOMPARE(OyaName(mams.at(0).toObject().value("num").toInt(-1)), kSire);
        QCOMPARE(OyaName(dads.at(3).toObject().value("num").toInt(-1)), DamPosition(kStallionDam, 1));
        QCOMPARE(OyaName(mams.at(2).toObject().value("num").toInt(-1)), DamPosition(kMareDam, 1));
        QVERIFY(dads.at(1).toObject().value("isCrs").toInt() >= 0); // the shared sire is crossed
    }

    void foalRegisteredFromTheOptimalMatingWindow()
    {
        SampleProgram program;
        QVERIFY(program.Started());
        TfrmMain& main = program.Main();
        MessageBox::ClearHistory();
        const QString foal = QStringLiteral("ｿｿｯｺ"); // from the dam ｿｿｰﾄｵ

        QPointer<QDialog> velmora;
        QPointer<QDialog> w;
        QPointer<QComboBox> mam;
        Script script;
        script.Add([&] { Click(&main, "btnVelmora"); });
        script.Add([&] {
            velmora = ActiveDialog("frmVelmora");
            QVERIFY(velmora);
            ChooseByTyping(Find<QComboBox>(velmora, "cmbDad"), kSire);
            ChooseByTyping(Find<QComboBox>(velmora, "cmbMam"), kMareDam);
            Find<QToolButton>(velmora, "spbMamSp1")->click(); // a filter up
            // A name typed over the chosen one (no Enter): the command only asks for a pair.
            auto* dad = Find<QComboBox>(velmora, "cmbDad");
            dad->setEditText(QStringLiteral("ﾀﾞﾚ"));
            Click(velmora, "btnMamReg");
            QCOMPARE(MessageBox::History(), QStringList { Q(kMsgChoosePair) });
            QCOMPARE(ActiveDialog("frmVelmora"), velmora.data());
            ChooseByTyping(dad, kSire);
            Click(velmora, "btnMamReg");
        });
        script.Add([&] {
            w = ActiveDialog("frmMakeData");
            QVERIFY(w);
            QVERIFY(!velmora->isVisible());
            QCOMPARE(Find<QTabWidget>(w, "PageControl1")->currentIndex(), 0);
            QCOMPARE(Find<QComboBox>(w, "cmbMName")->currentText(), foal);
            QCOMPARE(Sosen(w, false, 1)->text(), kSire);
            QCOMPARE(Sosen(w, false, 2)->text(),
                     OyaName(FindRelative(Master(), kSire.toStdU16String(), RelativeKind::Sire)));
            QCOMPARE(Sosen(w, false, 3)->text(), DamPosition(kMareDam, 1));
            QCOMPARE(Find<QComboBox>(w, "cmbMotikomi")->currentText(), QStringLiteral("自家"));
            const DadRec& s = Master().DadTable[static_cast<size_t>(FindDad(Master(), kSire.toStdU16String()))];
            QCOMPARE(Find<QComboBox>(w, "cmbMKeito")->currentText(),
                     Q(Master().KeitoTable[static_cast<size_t>(s.keito)].name));
            Click(w, "btnOK");
            QCOMPARE(MessageBox::History().last(), foal + QStringLiteral("を登録しました"));
            Click(w, "btnCancel");
        });
        script.AddWait(
            [&] {
                mam = Find<QComboBox>(velmora, "cmbMam");
                return mam && mam->findText(foal) >= 0;
            },
            20000, "the optimal-mating window shows the new mare");
        script.Add([&] {
            // Reloaded, every filter down, the same pair chosen, the new mare in the list.
            QVERIFY(!w);
            QCOMPARE(ActiveDialog("frmVelmora"), velmora.data());
            QVERIFY(Find<QToolButton>(velmora, "spbMamSp1")->isChecked());
            QCOMPARE(Find<QComboBox>(velmora, "cmbDad")->currentText(), kSire);
            QCOMPARE(mam->currentText(), kMareDam);
            QVERIFY(FindMam(Master(), foal.toStdU16String()) >= 0);
            QVERIFY(Find<QPushButton>(velmora, "btnHtml")->isEnabled());
            // The same foal again: its name is taken now, so the user is told which name is offered
            // instead before the entry opens.
            MessageBox::ClearHistory();
            Click(velmora, "btnMamReg");
        });
        script.Add([&] {
            w = ActiveDialog("frmMakeData");
            QVERIFY(w);
            QCOMPARE(MessageBox::History(),
                     QStringList { foal + QStringLiteral("は既に登録されている名前なので、") + foal
                                   + QStringLiteral("2として入力します。名前は登録前に変えられます") });
            QCOMPARE(Find<QComboBox>(w, "cmbMName")->currentText(), foal + QStringLiteral("2"));
            Click(w, "btnCancel");
        });
        script.Add([&] {
            Click(velmora, "btnEnd");
            QTimer::singleShot(50, [&] { Click(&main, "btnEnd"); });
        });
        script.Start();
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && !main.isVisible() && !velmora, 30000);
    }

    void inputModeEnterAndTheClosingResult()
    {
        WorkFolder folder;
        QVERIFY(folder.IsValid());
        {
            TfrmMakeData w;
            w.show();
            w.close(); // nothing pressed: cancel
            QCOMPARE(w.result(), int(QDialog::Rejected));
        }
        TfrmMakeData w;
        FitForm(&w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* name = Find<QComboBox>(&w, "cmbMName");
        Type(name->lineEdit(), QStringLiteral("ぼっこ"));
        QCOMPARE(name->currentText(), QStringLiteral("ﾎﾞｯｺ"));

        auto* off = Find<QGroupBox>(&w, "rdgIme")->findChildren<QRadioButton*>().at(1);
        off->click();
        QVERIFY(!App().KanaMode);
        QCOMPARE(Q(App().IniFile->ReadString(u"ImeMode", u"Mode", u"")), QStringLiteral("英数"));
        QVERIFY(!Sosen(&w, false, 15)->testAttribute(Qt::WA_InputMethodEnabled));
        auto* ancestor = Find<QComboBox>(&w, "cmbSName");
        Type(ancestor->lineEdit(), QStringLiteral("ぼ"));
        QCOMPARE(ancestor->currentText(), QStringLiteral("ぼ")); // kept as typed with the mode off
        Find<QGroupBox>(&w, "rdgIme")->findChildren<QRadioButton*>().at(0)->click();
        QCOMPARE(Q(App().IniFile->ReadString(u"ImeMode", u"Mode", u"")), QStringLiteral("カナ"));

        // Escape does not close; Enter on the stallion page with no name registers nothing but counts.
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.isVisible());
        Find<QTabWidget>(&w, "PageControl1")->setCurrentIndex(1);
        MessageBox::ClearHistory();
        QTest::keyClick(Find<QLineEdit>(&w, "edtDFee"), Qt::Key_Enter);
        QCOMPARE(MessageBox::History(), QStringList { QStringLiteral("名前がありません") });
        w.close(); // the close box after a press: OK, so that the opener reloads
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }

    void colourDialog()
    {
        WorkFolder folder;
        QVERIFY(folder.IsValid());
        TfrmMakeData w;
        w.show();
        Find<QTabWidget>(&w, "PageControl1")->setCurrentIndex(3);
        auto* effect2 = Find<QLineEdit>(&w, "edtKoka2");
        // The colour dialog runs its own modal loop and is answered from there.
        Script script;
        script.Add([&] { QTest::mouseDClick(effect2, Qt::LeftButton); });
        script.Add([&] {
            auto* colours = qobject_cast<QColorDialog*>(ActiveDialog("cldKoka"));
            QVERIFY(colours);
            colours->setCurrentColor(QColor(1, 2, 3));
            colours->accept();
        });
        script.Start();
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && !ActiveDialog("cldKoka"), 10000);
        QCOMPARE(effect2->palette().color(QPalette::Base), QColor(1, 2, 3));
        QCOMPARE(Master().CrossTable[2].Color, 0x0080FFu); // nothing stored before 登録
        Click(&w, "btnOK");
        QCOMPARE(Master().CrossTable[2].Color, 0x030201u);
    }

    // Every page at 800x600, at 640x480 and with a 14-point font, a horse shown on each horse page:
    // every text whole, every control within its page.
    void layoutKeepsTextsWholeAndInReach_data() { AddAllLayoutRows(); }

    void layoutKeepsTextsWholeAndInReach()
    {
        WorkFolder folder;
        QVERIFY(folder.IsValid());
        const LayoutSettings layout = LayoutSettings::OfRow();
        TfrmMakeData w;
        FitForm(&w);
        w.show();
        auto* pages = Find<QTabWidget>(&w, "PageControl1");
        Find<QComboBox>(&w, "cmbMName")->setEditText(kMareDam);
        pages->setCurrentIndex(1);
        Find<QComboBox>(&w, "cmbDName")->setEditText(kSire);
        pages->setCurrentIndex(0);
        QVERIFY(w.width() <= App().ScreenWidth && w.height() <= App().ScreenHeight);
        const QStringList bad = CutOrOutOfReach(&w);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestMakeData)
#include "test_make_data.moc"
