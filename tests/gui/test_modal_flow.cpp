// End-to-end: the program's real modal loops, driven from the main window with timers. A tool that
// hides itself while a child window runs must come back with its state and leave the main window
// usable afterwards.

#include "core/app/app_state.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace velmora;
using namespace velmora::gui;

namespace {

// Runs the steps one after another from the event loop, each once the previous one has returned to
// it, so that a step may open a modal window whose loop the next step then drives.
class Script
{
public:
    void Add(std::function<void()> step) { m_steps.push_back(std::move(step)); }
    void Start() { Next(); }

private:
    void Next()
    {
        if (m_at >= m_steps.size())
            return;
        QTimer::singleShot(50, [this] {
            auto step = m_steps[m_at++];
            Next(); // scheduled first: the step may block in a modal loop
            step();
        });
    }
    std::vector<std::function<void()>> m_steps;
    size_t m_at = 0;
};

QDialog* ActiveDialog(const char* objectName)
{
    auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    return w && w->objectName() == QLatin1String(objectName) ? w : nullptr;
}

void Click(QWidget* window, const char* button)
{
    auto* b = window ? window->findChild<QPushButton*>(QString::fromLatin1(button)) : nullptr;
    QVERIFY2(b, button);
    b->click();
}

} // namespace

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
