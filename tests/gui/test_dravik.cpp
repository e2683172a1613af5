// End-to-end: the search conditions window and the results window through the program's real modal
// loops, from the main window, on the sample data: the initial candidates, choosing a broodmare, a
// direction kept per generation, hidden generations, a search listing what velmora-cli lists for the
// same conditions, the result limit, セーブ through the main window's save dialog, the pedigree viewer
// on a double-clicked line, 検索中止, closing through the frame, and a search without a candidate.

#include "core/app/app_state.h"
#include "core/data/cp932.h"
#include "core/data/master_data.h"
#include "gui/app/fit_form.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box.h"
#include "gui/search/frm_dravik.h"
#include "gui/search/frm_results.h"
#include "support/cli_json.h"
#include "support/layout_check.h"
#include "support/sample_program.h"
#include "support/script.h"
#include "support/velmora_fixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace velmora;
using namespace velmora::gui;
using velmora::gui::test::ActiveDialog;
using velmora::gui::test::AddAllLayoutRows;
using velmora::gui::test::Click;
using velmora::gui::test::CliOutput;
using velmora::gui::test::CutOrOutOfReach;
using velmora::gui::test::Find;
using velmora::gui::test::LayoutSettings;
using velmora::gui::test::MeanLuminance;
using velmora::gui::test::SampleProgram;
using velmora::gui::test::Script;
using velmora::gui::test::TypeText;
using velmora::gui::test::WorkFolder;

namespace {

QString Text(QWidget* w, const char* label)
{
    return Find<QLabel>(w, label)->text();
}

QStringList Lines(const TfrmResults* results)
{
    QStringList lines;
    const auto& l = results->Model().Lines();
    for (size_t i = 0; i < l.Size(); ++i)
        lines.append(QString::fromStdU16String(std::u16string(l.Line(i))));
    return lines;
}

// The result lines of velmora-cli search for the conditions, sorted.
QStringList CliLines(const QString& dataDir, const QJsonObject& conditions, const QString& jsonPath)
{
    QFile f(jsonPath);
    if (!f.open(QIODevice::WriteOnly))
        return { QStringLiteral("cannot write ") + jsonPath };
    f.write(QJsonDocument(conditions).toJson());
    f.close();
    const QByteArray out = CliOutput(dataDir, { QStringLiteral("search"), jsonPath }, 60000);
    QStringList lines = QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

bool Finished(QWidget* results)
{
    return results && results->windowTitle() == QStringLiteral("【Dravik】検索結果　　≪検索終了≫");
}

} // namespace

class TestDravik : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { MessageBox::SetAutoAnswer(MessageBox::Ok); }

    // Switching pages fills the shared controls with another generation's records, and filling raises
    // their change signals: none of that reaches the conditions. A stallion unchecked in generation 2
    // stays unchecked while the distance box is filled with generation 1's value and then with its own.
    void fillingTheControlsWritesNothingBack()
    {
        WorkFolder folder;
        QVERIFY(folder.IsValid());
        TfrmDravik w;
        FitForm(&w);
        w.show();
        const search::ConditionsWindowModel& m = w.Model();
        auto* maxAge = Find<QComboBox>(&w, "cmbMaxAge");
        maxAge->setCurrentIndex(1);
        emit maxAge->activated(1);
        auto* tabs = Find<QTabBar>(&w, "PageControl1");
        tabs->setCurrentIndex(1);
        Find<QSpinBox>(&w, "edtDadDis1")->setValue(1400);
        tabs->setCurrentIndex(2);
        QListWidgetItem* first = Find<QListWidget>(&w, "clbDad")->item(0);
        const int row = first->data(Qt::UserRole).toInt();
        first->setCheckState(Qt::Unchecked);
        QVERIFY(!m.DadCandidate(row));

        tabs->setCurrentIndex(1);
        tabs->setCurrentIndex(2);
        QCOMPARE(m.CurGen(), 2);
        QVERIFY(!m.DadCandidate(row));
        QCOMPARE(m.Conditions().DadJoken[1].Dis1, 1400);
        QCOMPARE(m.Conditions().DadJoken[2].Dis1, 1000);
    }

    void conditionsAndResultsThroughTheRealLoops()
    {
        SampleProgram program;
        QVERIFY(program.Started());
        TfrmMain& main = program.Main();
        const MasterData& d = Master();

        QPointer<QDialog> dravik;
        QPointer<TfrmResults> results;
        QString mare;
        QStringList listed;
        const QString saved = program.File(QStringLiteral("saved.txt"));
        int steps = 0; // steps that ran to their end
        Script script;
        script.Add([&] { Click(&main, "btnDravik"); });
        script.Add([&] {
            dravik = ActiveDialog("frmDravik");
            QVERIFY(dravik);
            QVERIFY(!main.isVisible());
            // Every stallion a candidate everywhere; the broodmares without 自家 and 他家.
            for (int i = 0; i < d.DadCount; ++i)
                QCOMPARE(d.DadTable[static_cast<size_t>(i)].Selected, 15);
            const QString all = QStringLiteral("%1/%1").arg(d.DadCount);
            for (const char* label : { "Label2", "Label3", "Label4", "Label5" })
                QCOMPARE(Text(dravik, label), all);
            int expected = 0;
            for (int i = 0; i < d.MamCount; ++i) {
                const MamRec& m = d.MamTable[static_cast<size_t>(i)];
                const bool candidate = m.motikomi != u"自家" && m.motikomi != u"他家";
                QCOMPARE(m.Selected, candidate);
                expected += candidate ? 1 : 0;
            }
            QVERIFY(expected > 1 && expected < d.MamCount);
            QCOMPARE(Text(dravik, "lblMamCtr"), QStringLiteral("%1/%2").arg(expected).arg(d.MamCount));
            QCOMPARE(Find<QComboBox>(dravik, "cmbMamName")->count(), expected);

            // Two generations: tabs and counters of 3 and 4 go.
            auto* maxAge = Find<QComboBox>(dravik, "cmbMaxAge");
            maxAge->setFocus();
            QTest::keyClick(maxAge, Qt::Key_Down);
            auto* tabs = Find<QTabBar>(dravik, "PageControl1");
            QCOMPARE(tabs->count(), 3);
            QCOMPARE(tabs->tabText(2), QStringLiteral("２代配合"));
            QVERIFY(!Find<QLabel>(dravik, "Label4")->isVisible() && !Find<QLabel>(dravik, "Label5")->isVisible());

            // One broodmare: one candidate, the estimate the product of the stallion counts.
            auto* mam = Find<QComboBox>(dravik, "cmbMamName");
            mam->setFocus();
            QTest::keyClick(mam, Qt::Key_Down);
            mare = mam->currentText();
            QCOMPARE(mam->count(), 1);
            QCOMPARE(Text(dravik, "lblMamCtr"), QStringLiteral("1/%1").arg(d.MamCount));
            QCOMPARE(Text(dravik, "pnlTotalNum"), QString::number(d.DadCount * d.DadCount));

            // 以下 on generation 1 stays there when generation 2 is shown and back.
            tabs->setCurrentIndex(1);
            QTest::mouseClick(Find<QLabel>(dravik, "lblHaigoUd1"), Qt::LeftButton);
            QCOMPARE(Text(dravik, "lblHaigoUd1"), QStringLiteral("以下"));
            tabs->setCurrentIndex(2);
            QCOMPARE(Text(dravik, "lblHaigoUd1"), QStringLiteral("以上"));
            QVERIFY(Find<QWidget>(dravik, "clbSosen")->isVisible()); // the last generation's page
            tabs->setCurrentIndex(1);
            QCOMPARE(Text(dravik, "lblHaigoUd1"), QStringLiteral("以下"));
            QVERIFY(!Find<QWidget>(dravik, "clbSosen")->isVisible());

            // Full-width digits, as an input method types them, are numbers in a number box.
            auto* nix = Find<QSpinBox>(dravik, "edtNixBase");
            nix->selectAll();
            TypeText(nix, QStringLiteral("１２"));
            QCOMPARE(nix->value(), 12);
            nix->setValue(0);

            // The extended selection's button is down, plainly, while the list is shown.
            auto* dots = Find<QToolButton>(dravik, "spbDad");
            const QImage up = dots->grab().toImage();
            dots->click();
            QVERIFY(dots->isChecked() && Find<QWidget>(dravik, "clbDad")->isVisible());
            QVERIFY(MeanLuminance(up) - MeanLuminance(dots->grab().toImage()) > 0.3);
            dots->click();
            QVERIFY(!dots->isChecked() && !Find<QWidget>(dravik, "clbDad")->isVisible());

            Find<QLineEdit>(dravik, "edtResult")->setText(QStringLiteral("1000000"));
            ++steps;
            Click(dravik, "btnSearch");
        });
        auto waitFinished = [&](int timeoutMs) {
            script.AddWait([&] { return Finished(ActiveDialog("frmResults")); }, timeoutMs, "the search finishes");
        };
        waitFinished(30000);
        script.Add([&] {
            results = qobject_cast<TfrmResults*>(ActiveDialog("frmResults"));
            QVERIFY(results);
            QVERIFY(!dravik->isVisible());
            QVERIFY(!Find<QPushButton>(results, "btnAbort")->isEnabled());
            QVERIFY(Find<QPushButton>(results, "btnExit")->isEnabled());
            listed = Lines(results);
            QVERIFY(listed.size() >= 2);
            QCOMPARE(Text(results, "pnlResult"), QString::number(listed.size()));
            QJsonArray ud { false };
            for (int k = 2; k <= 16; ++k)
                ud.append(true);
            const QJsonObject conditions { { "maxGen", 2 },
                                           { "resultLimit", 1000000 },
                                           { "mares", QJsonArray { mare } },
                                           { "haigo", QJsonObject { { "1", QJsonObject { { "Ud", ud } } } } } };
            QStringList sorted = listed;
            sorted.sort();
            QVERIFY(!sorted.isEmpty());
            QCOMPARE(sorted, CliLines(program.Path(), conditions, program.File(QStringLiteral("c.json"))));
            ++steps;
            Click(results, "btnSave");
        });
        script.Add([&] {
            auto* save = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(save);
            QCOMPARE(save, main.SaveDialog());
            QCOMPARE(save->windowTitle(), QStringLiteral("データの保存"));
            QVERIFY(save->selectedFiles().value(0).endsWith(QStringLiteral("Results.txt")));
            // The user types another name over the proposed one and confirms.
            auto* name = save->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(saved);
            ++steps;
            static_cast<QDialog*>(save)->accept();
        });
        script.Add([&] {
            QFile f(saved);
            QVERIFY(f.open(QIODevice::ReadOnly));
            std::string expected;
            for (const QString& line : listed)
                expected += ToCp932(line.toStdU16String()) + "\r\n";
            QCOMPARE(f.readAll().toStdString(), expected);
            // A double click opens the viewer on that line, with every line in its chooser.
            auto* list = Find<QListView>(results, "lstResults");
            const QRect r = list->visualRect(list->model()->index(1, 0));
            ++steps;
            // As the platform delivers it: a click, then the double click.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
        });
        script.Add([&] {
            QDialog* viewer = ActiveDialog("frmParents");
            QVERIFY(viewer);
            auto* chooser = Find<QComboBox>(viewer, "cmbParents");
            // The chooser reads the results window's own lines, not a copy of them.
            QCOMPARE(chooser->model(), Find<QListView>(results, "lstResults")->model());
            QCOMPARE(chooser->count(), listed.size());
            QCOMPARE(chooser->currentIndex(), 1);
            QCOMPARE(chooser->itemText(1), listed[1]);
            QCOMPARE(chooser->currentText(), listed[1]);
            QCOMPARE(QApplication::clipboard()->text(), listed[1]);
            QVERIFY(App().ViewFromResults);
            ++steps;
            Click(viewer, "btnExit");
        });
        script.Add([&] {
            QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(results.data()));
            ++steps;
            Click(results, "btnExit");
        });
        // The result limit lists exactly N; typed in full width it is the same number, and a limit that
        // is no number starts nothing but a message.
        script.Add([&] {
            QVERIFY(!results);
            QVERIFY(dravik->isVisible());
            auto* limit = Find<QLineEdit>(dravik, "edtResult");
            limit->setText(QStringLiteral("abc"));
            MessageBox::ClearHistory();
            Click(dravik, "btnSearch");
            QCOMPARE(MessageBox::History(), QStringList { QStringLiteral("検索上限数「abc」は数ではありません") });
            QVERIFY(Find<QPushButton>(dravik, "btnSearch")->isEnabled());
            limit->selectAll();
            TypeText(limit, QStringLiteral("５"));
            QCOMPARE(limit->text(), QStringLiteral("5"));
            ++steps;
            Click(dravik, "btnSearch");
        });
        waitFinished(30000);
        script.Add([&] {
            results = qobject_cast<TfrmResults*>(ActiveDialog("frmResults"));
            QVERIFY(results);
            QCOMPARE(Lines(results).size(), 5);
            QCOMPARE(Text(results, "pnlResult"), QStringLiteral("5"));
            ++steps;
            Click(results, "btnExit");
        });
        // A long search with hardly any result: 検索中止 ends it, then the frame closes a running one.
        script.Add([&] {
            Click(dravik, "btnMamInit");
            auto* maxAge = Find<QComboBox>(dravik, "cmbMaxAge");
            maxAge->setFocus();
            QTest::keyClick(maxAge, Qt::Key_End);
            auto* tabs = Find<QTabBar>(dravik, "PageControl1");
            tabs->setCurrentIndex(4);
            Find<QSpinBox>(dravik, "edtHaigoCrs1")->setValue(9);
            Find<QLineEdit>(dravik, "edtResult")->setText(QStringLiteral("100"));
            ++steps;
            Click(dravik, "btnSearch");
        });
        auto waitRunning = [&] {
            script.AddWait(
                [&] {
                    auto* r = qobject_cast<TfrmResults*>(ActiveDialog("frmResults"));
                    return r && r->CountedLeaves() > 0;
                },
                20000, "the search runs");
        };
        waitRunning();
        script.Add([&] {
            results = qobject_cast<TfrmResults*>(ActiveDialog("frmResults"));
            QVERIFY(results);
            QVERIFY(!Finished(results));
            QVERIFY(!Find<QPushButton>(results, "btnExit")->isEnabled());
            ++steps;
            Click(results, "btnAbort");
        });
        waitFinished(5000);
        script.Add([&] {
            QVERIFY(results->CountedLeaves() < results->Model().Range() * results->Model().StepDiv());
            ++steps;
            Click(results, "btnExit");
        });
        script.Add([&] {
            QVERIFY(!results);
            ++steps;
            Click(dravik, "btnSearch");
        });
        waitRunning();
        script.Add([&] {
            results = qobject_cast<TfrmResults*>(ActiveDialog("frmResults"));
            QVERIFY(results);
            QVERIFY(!Finished(results));
            ++steps;
            results->close(); // through the frame, workers still running
        });
        // No candidate broodmare: nothing to search, so the search is over at once with no result.
        script.Add([&] {
            QVERIFY(!results);
            Find<QTabBar>(dravik, "PageControl1")->setCurrentIndex(0);
            Find<QSpinBox>(dravik, "edtMamSp")->setValue(127);
            QCOMPARE(Text(dravik, "lblMamCtr"), QStringLiteral("0/%1").arg(d.MamCount));
            ++steps;
            Click(dravik, "btnSearch");
        });
        waitFinished(5000);
        script.Add([&] {
            results = qobject_cast<TfrmResults*>(ActiveDialog("frmResults"));
            QVERIFY(results);
            QVERIFY(Find<QPushButton>(results, "btnExit")->isEnabled());
            QVERIFY(!Find<QPushButton>(results, "btnAbort")->isEnabled());
            QCOMPARE(Text(results, "pnlResult"), QStringLiteral("0"));
            ++steps;
            Click(results, "btnExit");
        });
        script.Add([&] {
            QVERIFY(!results);
            ++steps;
            Click(dravik, "btnEnd");
        });
        script.Add([&] { Click(&main, "btnEnd"); });
        script.Start();

        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && !main.isVisible(), 120000);
        QCOMPARE(steps, 16);
        QVERIFY(!dravik);
    }

    // Both windows at 800x600, at 640x480 and with a 14-point font, on every page, with the hidden
    // nitro boxes and the extended selections shown: every text whole, every control within reach.
    void layoutKeepsTextsWholeAndInReach_data() { AddAllLayoutRows(); }

    void layoutKeepsTextsWholeAndInReach()
    {
        WorkFolder folder;
        QVERIFY(folder.IsValid());
        const LayoutSettings layout = LayoutSettings::OfRow();
        TfrmDravik dravik;
        FitForm(&dravik);
        dravik.show();
        QStringList bad = CutOrOutOfReach(&dravik);
        auto* maxAge = Find<QComboBox>(&dravik, "cmbMaxAge");
        maxAge->setFocus();
        QTest::keyClick(maxAge, Qt::Key_End);
        dravik.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dravik));
        QTest::keyClick(&dravik, Qt::Key_N, Qt::ControlModifier); // the hidden option
        QVERIFY(!Find<QSpinBox>(&dravik, "edtNitroSp")->isHidden());
        auto* tabs = Find<QTabBar>(&dravik, "PageControl1");
        QCOMPARE(tabs->count(), 5);
        for (int page = 0; page <= 4; ++page) {
            tabs->setCurrentIndex(page);
            Find<QToolButton>(&dravik, page == 0 ? "spbMam" : "spbDad")->click();
            bad += CutOrOutOfReach(&dravik);
        }

        TfrmResults results(Master(), dravik.Model().ForSearch(u"100"));
        FitForm(&results);
        results.show();
        QTRY_VERIFY_WITH_TIMEOUT(Finished(&results), 20000);
        bad += CutOrOutOfReach(&results);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestDravik)
#include "test_dravik.moc"
