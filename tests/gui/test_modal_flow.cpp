// End-to-end: the program's real modal loops, driven from the main window with timers. A tool that
// hides itself while a child window runs must come back with its state and leave the main window
// usable afterwards.

#include "core/app/app_state.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box.h"
#include "support/script.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

using namespace velmora;
using namespace velmora::gui;

using velmora::gui::test::ActiveDialog;
using velmora::gui::test::Click;
using velmora::gui::test::Script;

class TestModalFlow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { MessageBox::SetAutoAnswer(MessageBox::Ok); }

    void toolComesBackAfterItsChildWindowBothWays()
    {
        QTemporaryDir dir;
        const QString sample = QStringLiteral(VELMORA_SAMPLE_DIR);
        for (const QString& name : QDir(sample).entryList(QDir::Files))
            QVERIFY(QFile::copy(sample + "/" + name, dir.filePath(name)));
        TfrmMain main(dir.filePath(QStringLiteral("velmora")), dir.path());
        QCOMPARE(main.StartupExitCode(), 0);
        main.show();

        QPointer<QDialog> velmora;
        bool mainHiddenMeanwhile = false;
        std::vector<bool> velmoraBack;
        Script script;
        script.Add([&] { Click(&main, "btnVelmora"); });
        for (const char* childButton : { "btnCancel", "btnSave" }) {
            script.Add([&] {
                velmora = ActiveDialog("frmVelmora");
                QVERIFY(velmora);
                mainHiddenMeanwhile = !main.isVisible();
                Click(velmora, "btnPoints");
            });
            script.Add([&, childButton] {
                QDialog* points = ActiveDialog("frmPoints");
                QVERIFY(points);
                QVERIFY(!velmora->isVisible());
                Click(points, childButton);
            });
            if (QByteArray(childButton) == "btnSave") // saving asks for the setting name first
                script.Add([&] { Click(ActiveDialog("frmSaveAs"), "btnOK"); });
            script.Add([&] { velmoraBack.push_back(velmora && velmora->isVisible() && ActiveDialog("frmVelmora")); });
        }
        script.Add([&] { Click(velmora, "btnEnd"); });
        script.Add([&] { Click(&main, "btnEnd"); });
        script.Start();

        QTRY_VERIFY_WITH_TIMEOUT(!main.isVisible() && velmoraBack.size() == 2 && !velmora, 20000);
        QVERIFY(mainHiddenMeanwhile);
        QCOMPARE(velmoraBack, (std::vector<bool> { true, true }));
    }
};

QTEST_MAIN(TestModalFlow)
#include "test_modal_flow.moc"
