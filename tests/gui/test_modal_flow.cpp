// End-to-end: the program's real modal loops, driven from the main window with timers. A tool that
// hides itself while a child window runs must come back with its state and leave the main window
// usable afterwards; the text list goes through the main window's own file dialogs.

#include "core/app/app_state.h"
#include "core/data/master_data.h"
#include "core/data/text_file.h"
#include "core/mating/ordering.h"
#include "core/mating/points.h"
#include "core/mating/scoring.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box.h"
#include "gui/mating/frm_velmora.h"
#include "support/sample_program.h"
#include "support/script.h"
#include "support/velmora_fixture.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QToolButton>

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::gui::test;

namespace {

// What the optimal-mating window holds and must keep while a child window runs.
struct VelmoraState
{
    std::vector<ListRow> stallions;
    std::vector<ListRow> mares;
    DadFatherRec dad {};
    MamFatherRec mam {};
    QString dadName;
    QString mamName;
    QString point;
    QList<bool> buttons; // every toggle and order button, down or up

    static VelmoraState Of(TfrmVelmora* w)
    {
        VelmoraState s;
        s.stallions = w->StallionList();
        s.mares = w->MareList();
        s.dad = w->DadArray();
        s.mam = w->MamArray();
        s.dadName = w->findChild<QComboBox*>(QStringLiteral("cmbDad"))->currentText();
        s.mamName = w->findChild<QComboBox*>(QStringLiteral("cmbMam"))->currentText();
        s.point = w->findChild<QLabel*>(QStringLiteral("lblPoint"))->text();
        for (const QToolButton* b : w->findChildren<QToolButton*>())
            s.buttons.push_back(b->isChecked());
        return s;
    }

    bool operator==(const VelmoraState&) const = default;
};

} // namespace

class TestModalFlow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { MessageBox::SetAutoAnswer(MessageBox::Ok); }

    // Velmora配合決定 → 相性値編集 → 破棄して戻る, then → 保存して戻る: the window comes back each
    // time with its pair, filters and order; 終了 then ends both windows.
    void toolComesBackAfterItsChildWindowBothWays()
    {
        SampleProgram program;
        QVERIFY(program.Started());
        TfrmMain& main = program.Main();

        QPointer<TfrmVelmora> velmora;
        bool mainHiddenMeanwhile = false;
        VelmoraState before;
        std::vector<bool> velmoraBack;
        std::vector<VelmoraState> after;
        Script script;
        script.Add([&] { Click(&main, "btnVelmora"); });
        script.Add([&] {
            velmora = qobject_cast<TfrmVelmora*>(ActiveDialog("frmVelmora"));
            QVERIFY(velmora);
            mainHiddenMeanwhile = !main.isVisible();
            const MasterData& d = Master();
            ChooseByTyping(velmora->findChild<QComboBox*>(QStringLiteral("cmbDad")), Q(d.DadTable[0].name));
            ChooseByTyping(velmora->findChild<QComboBox*>(QStringLiteral("cmbMam")), Q(d.MamTable[0].name));
            velmora->findChild<QToolButton*>(QStringLiteral("btnDadAisho"))->click();
            // A speed filter up that leaves the chosen mare in the list.
            for (int k = 1; k <= 3; ++k)
                if (!BandContains(App().MareSpeedBands[static_cast<size_t>(k)], k, d.MamTable[0].speed)) {
                    velmora->findChild<QToolButton*>(QStringLiteral("spbMamSp%1").arg(k))->click();
                    break;
                }
            before = VelmoraState::Of(velmora);
        });
        for (const char* childButton : { "btnCancel", "btnSave" }) {
            script.Add([&] { Click(velmora, "btnPoints"); });
            script.Add([&, childButton] {
                QDialog* points = ActiveDialog("frmPoints");
                QVERIFY(points);
                QVERIFY(!velmora->isVisible());
                Click(points, childButton);
            });
            if (QByteArray(childButton) == "btnSave") // saving asks for the setting name first
                script.Add([&] { Click(ActiveDialog("frmSaveAs"), "btnOK"); });
            script.Add([&] {
                velmoraBack.push_back(velmora && velmora->isVisible() && ActiveDialog("frmVelmora"));
                if (velmora)
                    after.push_back(VelmoraState::Of(velmora));
            });
        }
        script.Add([&] { Click(velmora, "btnEnd"); });
        script.Add([&] { Click(&main, "btnEnd"); });
        script.Start();

        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && !main.isVisible() && !velmora, 20000);
        QVERIFY(mainHiddenMeanwhile);
        QCOMPARE(velmoraBack, (std::vector<bool> { true, true }));
        QCOMPARE(after.size(), size_t(2));
        QVERIFY(!before.dadName.isEmpty() && !before.point.isEmpty());
        QVERIFY(after[0] == before); // discarded: nothing changed
        // Saved: the same table again, so the pair and its value stay; both lists are rebuilt with
        // every filter down, the stallions still by compatibility with the chosen mare.
        QCOMPARE(after[1].dadName, before.dadName);
        QCOMPARE(after[1].mamName, before.mamName);
        QVERIFY(after[1].dad == before.dad && after[1].mam == before.mam);
        QCOMPARE(after[1].point, before.point);
        QVERIFY(after[1].buttons != before.buttons);
        const MasterData& d = Master();
        std::vector<ListRow> expected;
        for (int r = 0; r < d.DadCount; ++r)
            expected.push_back(
                ListRow { r, 0, StallionStatusPoints(d, PointTable(), d.DadTable[static_cast<size_t>(r)]) });
        SetStallionKeys(d, PointTable(), expected, d.MamTable[0], MareStatusPoints(d, PointTable(), d.MamTable[0]));
        SortRows(d, expected, ListOrder::StallionCompat);
        QCOMPARE(after[1].stallions, expected);
        QCOMPARE(int(after[1].mares.size()), d.MamCount);
        QVERIFY(before.mares.size() < after[1].mares.size());
    }

    // 一覧表示 → 表示 → 保存 and 読込 go through the main window's two file dialogs.
    void textListUsesTheMainWindowsFileDialogs()
    {
        SampleProgram program;
        QVERIFY(program.Started());
        TfrmMain& main = program.Main();
        const QString path = program.File(QStringLiteral("list.txt"));

        QPointer<TfrmVelmora> velmora;
        QPointer<QDialog> text;
        QString proposed;
        QStringList shown, loaded;
        bool saveWasMains = false, openWasMains = false;
        Script script;
        script.Add([&] { Click(&main, "btnVelmora"); });
        script.Add([&] {
            velmora = qobject_cast<TfrmVelmora*>(ActiveDialog("frmVelmora"));
            QVERIFY(velmora);
            const MasterData& d = Master();
            ChooseByTyping(velmora->findChild<QComboBox*>(QStringLiteral("cmbDad")), Q(d.DadTable[0].name));
            ChooseByTyping(velmora->findChild<QComboBox*>(QStringLiteral("cmbMam")), Q(d.MamTable[0].name));
            velmora->findChild<QToolButton*>(QStringLiteral("btnDadAisho"))->click();
            Click(velmora, "btnDadList");
        });
        script.Add([&] {
            text = ActiveDialog("frmText");
            QVERIFY(text);
            Click(text, "btnShow");
            shown = text->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText().split(QLatin1Char('\n'));
            Click(text, "btnSave");
        });
        script.Add([&] {
            auto* save = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            saveWasMains = save && save == main.SaveDialog();
            QVERIFY(save);
            proposed = save->selectedFiles().value(0);
            ChooseFile(save, path);
        });
        script.Add([&] { Click(text, "btnLoad"); });
        script.Add([&] {
            auto* open = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            openWasMains = open && open == main.OpenDialog();
            QVERIFY(open);
            ChooseFile(open, path);
        });
        script.Add([&] {
            loaded = text->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText().split(QLatin1Char('\n'));
            Click(text, "btnClose");
        });
        script.Add([&] { Click(velmora, "btnEnd"); });
        script.Add([&] { Click(&main, "btnEnd"); });
        script.Start();

        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && !main.isVisible() && !velmora, 20000);
        QVERIFY(saveWasMains);
        QVERIFY(openWasMains);
        QVERIFY(proposed.endsWith(Q(Master().MamTable[0].name).left(8) + QStringLiteral(".txt")));
        QVERIFY(shown.size() > 4);
        QCOMPARE(loaded, shown);
        QStringList onDisk;
        for (const std::u16string& l : ReadCp932Lines(path.toStdString()))
            onDisk.push_back(Q(l));
        QCOMPARE(onDisk, shown);
    }
};

QTEST_MAIN(TestModalFlow)
#include "test_modal_flow.moc"
