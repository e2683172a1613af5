// The pedigree editor, opened from the main window through its real modal loop on the sample data:
// drops (through the handler and as real drop events), クリア, an index button, the suggestion menu,
// 表示 against velmora-cli, 別名 through the alias dialog, and the editor kept with its state between
// openings.

#include "core/app/app_state.h"
#include "core/data/ini_file.h"
#include "core/data/master_data.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box.h"
#include "gui/app/shape.h"
#include "gui/pedigree/editor_widgets.h"
#include "gui/pedigree/frm_editor.h"
#include "support/cli_json.h"
#include "support/layout_check.h"
#include "support/sample_program.h"
#include "support/script.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::gui::test;

namespace {

// A complete pair of the sample data with crosses, and a stallion for position 2.
const QString kS = QStringLiteral("ｸｲｴﾎ");
const QString kM = QStringLiteral("ﾒﾍﾟｲ");
const QString kT = QStringLiteral("ｻﾞｾﾞﾐ");

struct Folder
{
    QTemporaryDir dir;
    explicit Folder(int screenHeight = 600)
    {
        CopySample(dir.path());
        IniFile ini(dir.filePath(QStringLiteral("velmora.INI")).toStdString());
        ini.WriteString(u"SCREEN", u"ScreenHeight", QString::number(screenHeight).toStdU16String());
        ini.WriteString(u"SCREEN", u"ScreenWidth", screenHeight == 600 ? u"800" : u"640");
    }
    QString Exe() const { return dir.filePath(QStringLiteral("velmora")); }
};

QLabel* Slot(QWidget* editor, int k)
{
    return editor->findChild<QLabel*>(QStringLiteral("lblName%1").arg(k, 2, 10, QLatin1Char('0')));
}

// Sends a real drop event of a horse onto a position; whether the label took it.
bool SendDrop(QWidget* editor, int k, bool mare, const QString& name)
{
    std::unique_ptr<QMimeData> data(HorseMimeData(mare, name));
    QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Slot(editor, k), &enter);
    QDropEvent drop(QPointF(4, 4), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Slot(editor, k), &drop);
    return enter.isAccepted() && drop.isAccepted();
}

QPlainTextEdit* Box(QWidget* editor)
{
    return editor->findChild<QPlainTextEdit*>(QStringLiteral("memSosen"));
}

QString FormulaBoxText(QWidget* editor)
{
    return Box(editor)->toPlainText();
}

// The chart's registered horses and ancestors, position by position.
std::vector<SlotRec> Slots(const TfrmEditor* editor)
{
    const Chart& c = editor->Model().GetChart();
    return std::vector<SlotRec>(c.slot.begin() + 1, c.slot.end());
}

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { MessageBox::SetAutoAnswer(MessageBox::Ok); }

    void editorThroughTheMainWindow()
    {
        Folder folder;
        TfrmMain main(folder.Exe(), folder.dir.path());
        QCOMPARE(main.StartupExitCode(), 0);
        main.CreateEditor();
        main.show();
        auto* editor = qobject_cast<TfrmEditor*>(main.Editor());
        QVERIFY(editor);

        Script script;
        bool opened = false;
        script.Add([&] { Click(&main, "btnEditor"); });
        script.Add([&] {
            opened = ActiveDialog("frmEditor") == editor && !main.isVisible();
            // S through the drop handler, M as a real drop event: a complete chart and its formula.
            QVERIFY(editor->DropHorse(1, false, kS));
            QVERIFY(SendDrop(editor, 1, true, kM));
            QCOMPARE(FormulaBoxText(editor), kS + "* " + kM);
            for (int k = 1; k <= 31; ++k)
                QVERIFY2(!Slot(editor, k)->text().contains('?'), qPrintable(QString::number(k)));
            QVERIFY(!Slot(editor, 1)->toolTip().isEmpty()); // the stallion's data
        });
        script.Add([&] {
            // A stallion on 2: S loses his place and his dam side, the mare side stays.
            const std::vector<SlotRec> before = Slots(editor);
            QVERIFY(SendDrop(editor, 2, false, kT));
            const std::vector<SlotRec> after = Slots(editor);
            QCOMPARE(after[0].DadIdx, -1);
            QCOMPARE(after[0].MamIdx, FindMam(Master(), kM.toStdU16String()));
            for (int k : { 5, 10, 11, 20, 21, 22, 23 })
                QCOMPARE(after[k - 1], SlotRec {});
            for (int k : { 3, 6, 7, 12, 13, 14, 15, 24, 31 })
                QCOMPARE(after[k - 1], before[k - 1]);
            QVERIFY(Slot(editor, 5)->text().startsWith('?')
                    || Slot(editor, 5)->text().startsWith(QStringLiteral("(?")));
            QCOMPARE(FormulaBoxText(editor), kS + "* " + kM); // an incomplete chart leaves the box

            // A mare is refused above position 15, through the event and the handler alike.
            QVERIFY(!SendDrop(editor, 16, true, kM));
            QVERIFY(!editor->DropHorse(16, true, kM));
            QCOMPARE(Slots(editor), after);

            // クリア empties the chart and the selections and keeps the formula.
            Click(editor, "btnClear");
            QCOMPARE(Slots(editor), std::vector<SlotRec>(31));
            QCOMPARE(FormulaBoxText(editor), kS + "* " + kM);
            auto* dads = editor->findChild<QListWidget*>(QStringLiteral("lstDadName"));
            QCOMPARE(dads->selectedItems().size(), 0);

            // カ: the first name from ｶ on.
            editor->findChild<QToolButton*>(QStringLiteral("spbDadKa"))->click();
            int want = 0;
            while (dads->item(want)->text().at(0) < QChar(u'ｶ'))
                ++want;
            QCOMPARE(dads->currentRow(), want);
        });
        script.Add([&] {
            // No menu while the formula box is empty (the chart is not complete yet, so it stays so).
            QMenu* menu = editor->SuggestionMenu();
            Box(editor)->clear();
            editor->DropHorse(1, false, kS);
            QTest::mouseClick(Slot(editor, 1), Qt::RightButton, {}, QPoint(5, 5));
            QVERIFY(!menu->isVisible());
            QVERIFY(menu->actions().isEmpty());

            // With a formula: four stallion and four mare items; a chosen name lands on the chart.
            editor->DropHorse(1, true, kM);
            QCOMPARE(FormulaBoxText(editor), kS + "* " + kM);
            QTest::mouseClick(Slot(editor, 1), Qt::RightButton, {}, QPoint(5, 5));
            QTRY_VERIFY(menu->isVisible());
            const QList<QAction*> items = menu->actions();
            QCOMPARE(items.size(), 8);
            QCOMPARE(items[3]->text(), QStringLiteral("種牡馬よくできた"));
            QVERIFY(items[3]->menu() && !items[3]->menu()->actions().isEmpty());
            QAction* choice = items[3]->menu()->actions().last();
            const QString chosen = choice->text();
            menu->hide();
            choice->trigger();
            QCOMPARE(editor->Model().GetChart().slot[1].DadIdx, FindDad(Master(), chosen.toStdU16String()));
            QCOMPARE(editor->Model().GetChart().slot[1].MamIdx, FindMam(Master(), kM.toStdU16String()));
            QCOMPARE(FormulaBoxText(editor), chosen + "* " + kM);
        });
        QString formula;
        script.Add([&] {
            // 表示 of a pasted formula builds the chart the drops build and writes velmora-cli's formula.
            Click(editor, "btnClear");
            editor->DropHorse(1, false, kS);
            editor->DropHorse(3, false, kT);
            editor->DropHorse(3, true, kM);
            const std::vector<SlotRec> dropped = Slots(editor);
            Click(editor, "btnClear");
            const QString pasted = QStringLiteral("%1 ＊ （%2 × %3）").arg(kS, kT, kM);
            Box(editor)->setPlainText(pasted);
            Click(editor, "btnView");
            QCOMPARE(Slots(editor), dropped);
            formula = FormulaBoxText(editor);
            const QJsonObject cli = CliJson(folder.dir.path(), { QStringLiteral("tree"), pasted });
            QCOMPARE(formula, cli.value("formula").toString());
            const QJsonArray cliSlots = cli.value("slots").toArray();
            QCOMPARE(cliSlots.size(), 31);
            for (int k = 1; k <= 31; ++k) {
                const QJsonObject s = cliSlots[k - 1].toObject();
                QCOMPARE((SlotRec { s["oya"].toInt(), s["dad"].toInt(), s["mam"].toInt() }), dropped[k - 1]);
            }

            // In the kana input mode typed hiragana is folded as the stored names are written.
            Box(editor)->clear();
            Box(editor)->setFocus();
            TypeText(Box(editor), QStringLiteral("くいえほ＊めぺい"));
            QCOMPARE(Box(editor)->toPlainText(), kS + QStringLiteral("*") + kM);

            // An unknown name stays selected; 別名 registers it and shows the formula again.
            Box(editor)->setPlainText(QStringLiteral("Zzz * ") + kM);
            Click(editor, "btnView");
            QCOMPARE(Box(editor)->textCursor().selectedText(), QStringLiteral("Zzz"));
            Click(editor, "btnAlias");
        });
        script.Add([&] {
            QDialog* alias = ActiveDialog("frmAlias");
            QVERIFY(alias);
            QCOMPARE(alias->findChild<QLineEdit*>(QStringLiteral("edtAlias"))->text(), QStringLiteral("Zzz"));
            auto* names = alias->findChild<QComboBox*>(QStringLiteral("cmbAlias"));
            names->setCurrentIndex(names->findText(kS));
            Click(alias, "btnOK");
        });
        script.Add([&] {
            QVERIFY(ActiveDialog("frmEditor") == editor);
            QCOMPARE(FormulaBoxText(editor), kS + "* " + kM);
            Click(editor, "btnClose");
        });
        bool kept = false;
        script.Add([&] { Click(&main, "btnEditor"); });
        script.Add([&] {
            kept = ActiveDialog("frmEditor") == editor && FormulaBoxText(editor) == kS + "* " + kM
                && editor->Model().GetChart().slot[1].DadIdx == FindDad(Master(), kS.toStdU16String());
            Click(editor, "btnClose");
        });
        script.Add([&] { Click(&main, "btnEnd"); });
        script.Start();

        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && !main.isVisible(), 30000);
        QVERIFY(opened);
        QVERIFY(!formula.isEmpty());
        QVERIFY(kept);
    }

    // On a 480-line layout the kept editor is scaled once, not again at every opening, and stays centred.
    void smallLayoutScalesTheEditorOnce()
    {
        Folder folder(480);
        TfrmMain main(folder.Exe(), folder.dir.path());
        QCOMPARE(main.StartupExitCode(), 0);
        main.CreateEditor();
        QDialog* editor = main.Editor();
        const QSize fitted = editor->size();
        QCOMPARE(fitted, QSize(607, 382)); // 759 x 478 by 0.8
        const QSize screen = QGuiApplication::primaryScreen()->size();
        const QRect centred(QPoint((screen.width() - fitted.width()) / 2, (screen.height() - fitted.height()) / 2),
                            fitted);
        std::vector<QRect> shown;
        Script script;
        for (int i = 0; i < 2; ++i) {
            script.Add([&] { Click(&main, "btnEditor"); });
            script.Add([&] {
                shown.push_back(QRect(editor->pos(), editor->size()));
                Click(editor, "btnClose");
            });
        }
        script.Start();
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && shown.size() == 2 && !editor->isVisible(), 20000);
        QCOMPARE(shown, (std::vector<QRect> { centred, centred }));
    }

    // At 640x480 with a 14-point font: no text under 8 points, none cut (a long name in the lists is
    // elided there, with its whole name as the hint), and the captions readable on the effect colours.
    void smallLayoutKeepsTextsReadable()
    {
        Folder folder(480);
        {
            IniFile ini(folder.dir.filePath(QStringLiteral("velmora.INI")).toStdString());
            ini.WriteString(u"SCREEN", u"FontSize", u"14");
        }
        TfrmMain main(folder.Exe(), folder.dir.path());
        QCOMPARE(main.StartupExitCode(), 0);
        main.CreateEditor();
        auto* editor = static_cast<TfrmEditor*>(main.Editor());
        editor->show();
        editor->DropHorse(1, false, kS);
        editor->DropHorse(1, true, kM);
        const QStringList bad = CutOrOutOfReach(editor);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
        auto* list = editor->findChild<QListWidget*>(QStringLiteral("lstDadName"));
        QVERIFY(list->font().pointSizeF() >= 8);
        QCOMPARE(list->item(0)->toolTip(), list->item(0)->text());
        const EditorView& v = editor->Model().View();
        for (int k = 1; k <= 31; ++k) {
            const QColor want = BgrColor(v.slot[k].textColor);
            QCOMPARE(Slot(editor, k)->palette().color(QPalette::WindowText), want);
        }
        auto* hard = editor->findChild<QLabel*>(QStringLiteral("lblCol10")); // 難 on dark red
        QCOMPARE(hard->palette().color(QPalette::WindowText), QColor(Qt::white));
        editor->hide();
    }
};

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
