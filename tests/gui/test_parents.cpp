// The pedigree viewer end to end: opened from the main window with its real modal loop, driven with
// timers, checked against the core's own reading of the same formulas, with the alias dialog and the
// HTML report.

#include "core/app/app_state.h"
#include "core/data/alias.h"
#include "core/data/master_data.h"
#include "core/eval/html_report.h"
#include "core/pedigree/viewer_model.h"
#include "gui/app/fit_form.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box.h"
#include "gui/app/modal.h"
#include "gui/app/shape.h"
#include "gui/pedigree/frm_parents.h"
#include "support/layout_check.h"
#include "support/sample_program.h"
#include "support/script.h"
#include "support/velmora_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStringListModel>
#include <QtTest>

#include <algorithm>

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::gui::test;

namespace {

// A three-entry formula of the sample data with crosses, italics, a lit nick and a well-made mating.
const QString kSire = QStringLiteral("ｸｲｴﾎ");
const QString kDamSire = QStringLiteral("ﾃﾞﾎﾞｶﾕｺ");
const QString kMare = QStringLiteral("ﾗｼｾﾆ");
const QString kOther = QStringLiteral("ﾈﾍﾟｼ");
const QString kUnknown = QStringLiteral("ﾀﾞﾚﾓｼﾗﾅｲ");

QString Formula(const QStringList& names)
{
    return names.join(QLatin1Char('*'));
}

QLabel* LabelWidget(QWidget* viewer, int entry)
{
    const velmora::EntryLabel l = LabelOfEntry(entry);
    return Find<QLabel>(viewer,
                        l.dadSide ? QStringLiteral("lblDsosen%1").arg(l.position)
                                  : QStringLiteral("lblMSosen%1").arg(l.position));
}

void ShowTyped(QWidget* viewer, const QString& formula)
{
    auto* box = Find<QComboBox>(viewer, QStringLiteral("cmbParents"));
    box->setEditText(formula);
    Click(viewer, "btnView");
}

// The window shows exactly what the core's viewer shows for the same formula.
void CheckAgainstCore(QWidget* viewer, const QString& formula)
{
    PedigreeViewer core(Master());
    core.Show(formula.toStdU16String(), AliasFromFile(AliasFilePath(App().StartDir)));
    const ViewerDisplay& v = core.Display();
    auto checkSide = [&](const QString& side, int from, const std::array<SlotDisplay, 16>& cells) {
        for (int p = from; p <= 15; ++p) {
            const SlotDisplay& s = cells[static_cast<size_t>(p)];
            const QString n = QString::number(p);
            auto* name
                = Find<QLabel>(viewer, (side == "D" ? QStringLiteral("lblDsosen") : QStringLiteral("lblMSosen")) + n);
            QCOMPARE(name->text(), Q(s.name));
            QCOMPARE(name->toolTip(), Q(s.hint));
            QCOMPARE(name->font().italic(), s.italic);
            QCOMPARE(name->font().bold(), side == "M" && v.boldMare == p);
            QCOMPARE(Find<QLabel>(viewer, QStringLiteral("lbl%1KokaA%2").arg(side, n))->text(), Q(s.effectA));
            QCOMPARE(Find<QLabel>(viewer, QStringLiteral("lbl%1KokaB%2").arg(side, n))->text(), Q(s.effectB));
            // Texts on the effect colours in the colour that reads there.
            auto color = [&](const QString& label) {
                return Find<QLabel>(viewer, label)->palette().color(QPalette::WindowText);
            };
            QCOMPARE(name->palette().color(QPalette::WindowText), BgrColor(s.nameColor));
            QCOMPARE(color(QStringLiteral("lbl%1KokaA%2").arg(side, n)), BgrColor(s.textColorA));
            QCOMPARE(color(QStringLiteral("lbl%1KokaB%2").arg(side, n)), BgrColor(s.textColorB));
            QCOMPARE(Find<TShape>(viewer, QStringLiteral("shp%1KokaA%2").arg(side, n))->Color(), s.colorA);
            QCOMPARE(Find<TShape>(viewer, QStringLiteral("shp%1KokaB%2").arg(side, n))->Color(), s.colorB);
            auto* bar = Find<TShape>(viewer, QStringLiteral("shp%1Inb%2").arg(side, n));
            QCOMPARE(bar->isVisibleTo(viewer), s.marker);
            if (s.marker)
                QCOMPARE(bar->Color(), s.markerColor);
        }
    };
    const PairDisplay& pd = v.pair;
    checkSide(QStringLiteral("D"), 0, pd.dads);
    checkSide(QStringLiteral("M"), 1, pd.mams);
    const std::pair<const char*, const PanelDisplay*> panels[] = {
        { "pnlOmo", &pd.omo }, { "pnlMig", &pd.mig },     { "pnlYok", &pd.yok },
        { "pnlNix", &pd.nix }, { "pnlKiken", &pd.kiken }, { "pnlCrs", &pd.crs },
    };
    for (const auto& [name, panel] : panels) {
        auto* p = Find<QLabel>(viewer, QString::fromLatin1(name));
        QCOMPARE(p->text(), Q(panel->text));
        QCOMPARE(p->toolTip(), Q(panel->hint));
        const QColor want = panel->lit ? BgrColor(panel->color) : viewer->palette().color(QPalette::Base);
        QCOMPARE(p->palette().color(QPalette::Window), want);
        QCOMPARE(p->palette().color(QPalette::WindowText), BgrColor(panel->lit ? panel->textColor : kTextBlack));
    }
    QCOMPARE(Find<QLineEdit>(viewer, QStringLiteral("edtNitroSp"))->text(), Q(pd.nitroSp));
    QCOMPARE(Find<QLineEdit>(viewer, QStringLiteral("edtNitroSt"))->text(), Q(pd.nitroSt));
    for (int k = 1; k <= 16; ++k)
        QCOMPARE(Find<QLineEdit>(viewer, QStringLiteral("edtCrs%1").arg(k))->text(),
                 Q(v.kosei[static_cast<size_t>(k)]));
}

void CheckArrows(QWidget* viewer, bool right, bool left)
{
    QCOMPARE(Find<QPushButton>(viewer, QStringLiteral("btnRight"))->isEnabled(), right);
    QCOMPARE(Find<QPushButton>(viewer, QStringLiteral("btnLeft"))->isEnabled(), left);
}

} // namespace

class TestParents : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        MessageBox::SetAutoAnswer(MessageBox::Ok);
        QVERIFY(QDir(QStringLiteral(VELMORA_SAMPLE_DIR)).exists(QStringLiteral("種牡馬.CSV")));
    }

    void viewerFromTheMainWindow()
    {
        SampleProgram program;
        QVERIFY(program.Started());
        TfrmMain& main = program.Main();
        QString opened;
        SetOpenDocumentHook([&](const QString& path) { opened = path; });

        QPointer<QDialog> viewer;
        QPointer<QDialog> alias;
        Script script;
        script.Add([&] { Click(&main, "btnParents"); });
        script.Add([&] {
            // Opened empty; a legend click with an empty formula only redraws the legend.
            viewer = ActiveDialog("frmParents");
            QVERIFY(viewer);
            QVERIFY(!main.isVisible());
            QCOMPARE(Find<QComboBox>(viewer, QStringLiteral("cmbParents"))->currentText(), QString());
            QCOMPARE(LabelWidget(viewer, 1)->text(), QString());
            CheckArrows(viewer, false, false);
            auto* col1 = Find<QLabel>(viewer, QStringLiteral("lblCol1"));
            const QString effectText = col1->text();
            MessageBox::ClearHistory();
            QTest::mouseClick(col1, Qt::LeftButton);
            QCOMPARE(col1->text(), Q(Master().OmokeiTable[1].lbl));
            QTest::mouseClick(Find<QWidget>(viewer, QStringLiteral("grpColor")), Qt::LeftButton);
            QCOMPARE(col1->text(), effectText);
            QCOMPARE(MessageBox::History(), QStringList());
            QCOMPARE(LabelWidget(viewer, 1)->text(), QString());
            CheckArrows(viewer, false, false);
            // With the kana input mode, typed katakana is folded to half-width as it is typed.
            // Hiragana as well, as the kana mode folds it in every name field.
            QLineEdit* edit = Find<QComboBox>(viewer, QStringLiteral("cmbParents"))->lineEdit();
            TypeText(edit, QStringLiteral("クイエホ＊でぎぬ"));
            QCOMPARE(edit->text(), QStringLiteral("ｸｲｴﾎ*ﾃﾞｷﾞﾇ"));
            QCOMPARE(edit->cursorPosition(), edit->text().size());
        });
        script.Add([&] {
            // A three-entry formula, then >> and << at both ends.
            const QString formula = Formula({ kSire, kDamSire, kMare });
            ShowTyped(viewer, formula);
            CheckAgainstCore(viewer, formula);
            QVERIFY(Find<QLabel>(viewer, QStringLiteral("lblMSosen3"))->font().bold());
            QVERIFY(Find<QLabel>(viewer, QStringLiteral("lblNitroSp"))->toolTip().contains(QLatin1Char('+')));
            CheckArrows(viewer, true, false);
            Click(viewer, "btnRight");
            CheckArrows(viewer, false, true);
            QCOMPARE(LabelWidget(viewer, 1)->text(), kDamSire);
            QVERIFY(Find<QLabel>(viewer, QStringLiteral("lblMSosen1"))->font().bold());
            Click(viewer, "btnLeft");
            CheckArrows(viewer, true, false);
            CheckAgainstCore(viewer, formula);
        });
        script.Add([&] {
            // A click shows the sire's data; a double click on entry 2 replaces him in the chart only.
            QTest::mouseClick(LabelWidget(viewer, 1), Qt::LeftButton);
            auto* info = Find<QPlainTextEdit>(viewer, QStringLiteral("memDStatus"));
            QVERIFY(info->isVisible());
            QVERIFY(info->toPlainText().startsWith(QStringLiteral("産地:")));
            QTest::mouseDClick(LabelWidget(viewer, 2), Qt::LeftButton);
            QVERIFY(!info->isVisible());
            auto* list = Find<QComboBox>(viewer, QStringLiteral("cmbParent"));
            QVERIFY(list->isVisible());
            QCOMPARE(list->currentText(), kDamSire);
            QVERIFY(list->findText(kMare) >= 0); // entry 2 may be a mare
            ChooseByTyping(list, kOther);
            QVERIFY(!list->isVisible());
            QCOMPARE(LabelWidget(viewer, 2)->text(), kOther);
            CheckArrows(viewer, true, false);
            Click(viewer, "btnRight");
            Click(viewer, "btnLeft");
            QCOMPARE(LabelWidget(viewer, 2)->text(), kDamSire);
        });
        script.Add([&] {
            // An unknown name is selected by the reading; 別名登録 is pressed with the mouse.
            ShowTyped(viewer, Formula({ kSire, kUnknown, kMare }));
            QLineEdit* edit = Find<QComboBox>(viewer, QStringLiteral("cmbParents"))->lineEdit();
            QCOMPARE(edit->selectedText(), kUnknown);
            QCOMPARE(LabelWidget(viewer, 2)->text(), QString());
            QTest::mouseClick(Find<QPushButton>(viewer, QStringLiteral("btnAlias")), Qt::LeftButton);
        });
        script.Add([&] {
            alias = ActiveDialog("frmAlias");
            QVERIFY(alias);
            auto* edtAlias = Find<QLineEdit>(alias, QStringLiteral("edtAlias"));
            QCOMPARE(edtAlias->text(), kUnknown);
            edtAlias->selectAll();
            TypeText(edtAlias, QStringLiteral("だれもしらない")); // typed in hiragana: the same name
            QCOMPARE(edtAlias->text(), kUnknown);
            auto* names = Find<QComboBox>(alias, QStringLiteral("cmbAlias"));
            names->setCurrentIndex(names->findText(kDamSire));
            Click(alias, "btnOK");
        });
        script.Add([&] {
            // Written to ALIAS.TXT, replaced in the box, and the formula shown again.
            QVERIFY(!alias);
            QCOMPARE(ActiveDialog("frmParents"), viewer.data());
            QCOMPARE(Q(GetAlias(AliasFilePath(App().StartDir), kUnknown.toStdU16String())), kDamSire);
            QCOMPARE(Find<QComboBox>(viewer, QStringLiteral("cmbParents"))->currentText(),
                     Formula({ kSire, kDamSire, kMare }));
            QCOMPARE(LabelWidget(viewer, 2)->text(), kDamSire);
        });
        script.Add([&] {
            // html表示 writes what velmora-cli writes for the same pair.
            ShowTyped(viewer, kSire + QStringLiteral(" * ") + kMare);
            Click(viewer, "btnHtml");
            QCOMPARE(opened, program.File(QString::fromLatin1(kHtmlReportFile.data(), kHtmlReportFile.size())));
            QProcess cli;
            cli.start(QStringLiteral(VELMORA_CLI_PATH),
                      { QStringLiteral("--data"), program.Path(), QStringLiteral("html"), kSire, kMare,
                        QStringLiteral("-o"), program.File("cli.html") });
            QVERIFY(cli.waitForFinished(30000));
            QCOMPARE(cli.exitCode(), 0);
            QFile gui(opened);
            QFile ref(program.File("cli.html"));
            QVERIFY(gui.open(QIODevice::ReadOnly) && ref.open(QIODevice::ReadOnly));
            const QByteArray bytes = gui.readAll();
            QVERIFY(bytes.size() > 1000);
            QCOMPARE(bytes, ref.readAll());
        });
        script.Add([&] { Click(viewer, "btnExit"); });
        script.Add([&] { Click(&main, "btnEnd"); });
        script.Start();

        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && !main.isVisible() && !viewer, 30000);
        SetOpenDocumentHook({});
    }

    // The replacement list of a label naming a registered stallion opens on him with the mouse or F4,
    // steps with the keys inside the open list and chooses with Enter or a click; the arrow keys on the
    // closed list open it instead of replacing the horse. A typed exact name wins over the inline
    // completion, letter case included.
    void replacementListByMouseAndKeys()
    {
        SampleProgram program;
        QVERIFY(program.Started());
        TfrmMain& main = program.Main();
        MasterData& d = Master();
        d.DadTable[10].name = u"KASU"; // listed first: the names compare alike without letter case
        d.DadTable[11].name = u"Kasu";
        // The chart names a stallion by his own ancestor row.
        auto charted = [&d](size_t row) { return Q(d.OyaTable[static_cast<size_t>(d.DadTable[row].Father[0])].name); };
        QPointer<QDialog> viewer;
        QComboBox* list = nullptr;
        auto open = [&] {
            QTest::mouseDClick(LabelWidget(viewer, 1), Qt::LeftButton);
            list = Find<QComboBox>(viewer, QStringLiteral("cmbParent"));
            QVERIFY(list && list->isVisible());
        };
        auto popupShown = [&] { return list->view()->isVisible(); };
        QString next;
        QElapsedTimer clock;
        Script script;
        script.Add([&] { Click(&main, "btnParents"); });
        script.Add([&] {
            viewer = ActiveDialog("frmParents");
            QVERIFY(viewer);
            ShowTyped(viewer, Formula({ kSire, kDamSire, kMare }));
            open();
            QCOMPARE(list->currentText(), kSire);
            QCOMPARE(list->currentIndex(), list->findText(kSire));
            next = list->itemText(list->currentIndex() + 1);
            QTest::keyClick(list, Qt::Key_F4);
        });
        script.Add([&] {
            QVERIFY(list->isVisible());
            QVERIFY(popupShown());
            QCOMPARE(list->view()->currentIndex().data().toString(), kSire);
            QTest::keyClick(list->view(), Qt::Key_Down);
            QTest::keyClick(list->view(), Qt::Key_Return);
        });
        script.Add([&] {
            QVERIFY(!list->isVisible());
            QCOMPARE(LabelWidget(viewer, 1)->text(), next);
            // The arrow keys on the closed list open it; the horse stays.
            open();
            QTest::keyClick(list, Qt::Key_Down);
        });
        script.Add([&] {
            QVERIFY(popupShown());
            QCOMPARE(LabelWidget(viewer, 1)->text(), next);
            QTest::keyClick(list->view(), Qt::Key_Escape);
        });
        script.Add([&] {
            // The mouse: the arrow opens the list, a click on a name chooses it.
            QVERIFY(!popupShown());
            QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(list->width() - 6, list->height() / 2));
            clock.start();
        });
        // A list just opened ignores a release within the double-click time; a user takes longer.
        script.AddWait([&] { return clock.elapsed() > QApplication::doubleClickInterval(); }, 5000, "a while");
        script.Add([&] {
            QVERIFY(popupShown());
            QVERIFY(list->isVisible());
            const QModelIndex sire = list->model()->index(list->findText(kSire), 0);
            list->view()->scrollTo(sire);
            QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {}, list->view()->visualRect(sire).center());
        });
        script.Add([&] {
            QVERIFY(!list->isVisible());
            QCOMPARE(LabelWidget(viewer, 1)->text(), kSire);
            // Typed: the exact name, not the first name the completion offers.
            open();
            list->lineEdit()->selectAll();
            QTest::keyClicks(list, QStringLiteral("Kasu"));
            QTest::keyClick(list, Qt::Key_Return);
            QCOMPARE(LabelWidget(viewer, 1)->text(), charted(11));
            open();
            list->lineEdit()->selectAll();
            QTest::keyClicks(list, QStringLiteral("KAS"));
            QTest::keyClick(list, Qt::Key_Return); // a part: the completion is taken
            QCOMPARE(LabelWidget(viewer, 1)->text(), charted(10));
            Click(viewer, "btnExit");
        });
        script.Add([&] { Click(&main, "btnEnd"); });
        script.Start();
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && !main.isVisible() && !viewer, 30000);
    }

    // The viewer at 800x600, 640x480 and with a 14-point font, a formula shown: no text under 8 points
    // and none cut (a name too long for its box is elided, with the whole name in its hint).
    void layoutKeepsTextsReadable_data() { AddAllLayoutRows(); }

    void layoutKeepsTextsReadable()
    {
        WorkFolder folder;
        QVERIFY(folder.IsValid());
        const LayoutSettings layout = LayoutSettings::OfRow();
        App().ViewFromResults = false;
        // The chart names the sire by his own ancestor row: a long name there.
        const QString longName = QStringLiteral("ﾀﾞｲﾌﾞﾝﾅｶﾞｲﾅﾏｴﾉｼｭﾎﾞﾊﾞ");
        Master().OyaTable[static_cast<size_t>(Master().DadTable[0].Father[0])].name = longName.toStdU16String();
        TfrmParents viewer;
        FitForm(&viewer);
        viewer.show();
        ShowTyped(&viewer, Formula({ Q(Master().DadTable[0].name), kDamSire, kMare }));
        const QStringList bad = CutOrOutOfReach(&viewer);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
        QLabel* sire = LabelWidget(&viewer, 1);
        QVERIFY(sire->text() == longName || sire->toolTip().startsWith(longName));
    }

    void longFormulasStayResponsive()
    {
        WorkFolder folder;
        QVERIFY(folder.IsValid());
        App().ViewFromResults = false;
        const MasterData& d = Master();
        // 31 stallions (the shortest names, so that all fit the 255 characters read after the first
        // name) and a mare first: the chain reading stops at 32 names.
        QStringList names;
        for (int i = 0; i < d.DadCount; ++i)
            names.push_back(Q(d.DadTable[static_cast<size_t>(i)].name));
        std::stable_sort(names.begin(), names.end(),
                         [](const QString& a, const QString& b) { return a.size() < b.size(); });
        names = names.mid(0, 31);
        names.prepend(Q(d.MamTable[0].name));
        QString longText;
        while (longText.size() < 10000)
            longText += names.join(QStringLiteral(" * ")) + QStringLiteral(" * ");
        longText.truncate(10000);

        struct Case
        {
            const char* what;
            QString formula;
            int steps; // how often >> can be pressed: the chain holds 32 entries
        };
        for (const Case& c : { Case { "32 names", Formula(names), 30 }, Case { "10000 characters", longText, 30 } }) {
            TfrmParents viewer;
            FitForm(&viewer);
            viewer.show();
            MessageBox::ClearHistory();
            QElapsedTimer timer;
            timer.start();
            ShowTyped(&viewer, c.formula);
            viewer.repaint();
            qInfo("%s: shown in %lld ms", c.what, static_cast<long long>(timer.elapsed()));
            QCOMPARE(MessageBox::History(), QStringList { QStringLiteral("血統は３２世代までしか表示されません") });
            QCOMPARE(Find<QComboBox>(&viewer, QStringLiteral("cmbParents"))->currentText().size(), c.formula.size());
            CheckAgainstCore(&viewer, c.formula);
            int steps = 0;
            while (Find<QPushButton>(&viewer, QStringLiteral("btnRight"))->isEnabled() && steps < 40) {
                Click(&viewer, "btnRight");
                ++steps;
            }
            QCOMPARE(steps, c.steps);
        }
    }

    void resultsWindowHandOver()
    {
        WorkFolder folder;
        QVERIFY(folder.IsValid());
        const QStringList lines = { Formula({ kMare, kDamSire, kSire }), Formula({ kMare, kOther }) };
        App().ViewFromResults = true;
        QApplication::clipboard()->setText(lines[0]);
        TfrmParents viewer;
        QStringListModel model(lines);
        viewer.SetChooserModel(&model, 0);
        App().ViewFromResults = false;
        auto* box = Find<QComboBox>(&viewer, QStringLiteral("cmbParents"));
        QCOMPARE(Items(box), lines);
        QCOMPARE(box->currentText(), lines[0]);
        // Written mare first, read the same as sire first.
        CheckAgainstCore(&viewer, Formula({ kSire, kDamSire, kMare }));
        // Its list opens on the chosen line; choosing another result line shows it.
        box->showPopup();
        QVERIFY(box->view()->isVisible());
        QCOMPARE(box->view()->currentIndex().row(), 0);
        box->hidePopup();
        box->setCurrentIndex(1);
        emit box->activated(1);
        QCOMPARE(LabelWidget(&viewer, 1)->text(), kOther);
        QVERIFY(Find<QLabel>(&viewer, QStringLiteral("lblMSosen1"))->font().bold());
    }
};

QTEST_MAIN(TestParents)
#include "test_parents.moc"
