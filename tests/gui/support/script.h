#pragma once
// Driving the program's real modal loops from a test: steps run one after another from the event
// loop, each once the previous one has returned to it, so that a step may open a modal window whose
// loop the next step then drives.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <vector>

namespace velmora::gui::test {

class Script
{
public:
    void Add(std::function<void()> step) { m_steps.push_back({ std::move(step), {}, 0, nullptr }); }
    // A step that holds the script until `until` holds (checked every 20 ms, never inside a nested
    // event loop), for work that goes on in the background such as a search; after timeoutMs the
    // test fails with `what` and the script goes on.
    void AddWait(std::function<bool()> until, int timeoutMs, const char* what)
    {
        m_steps.push_back({ {}, std::move(until), timeoutMs, what });
    }
    void Start() { Next(); }
    // Whether every step has run.
    bool Done() const { return m_at >= m_steps.size(); }

private:
    struct Step
    {
        std::function<void()> run;
        std::function<bool()> until;
        int timeoutMs;
        const char* what;
    };

    void Next()
    {
        if (m_at >= m_steps.size())
            return;
        QTimer::singleShot(50, [this] {
            if (m_steps[m_at].until) {
                Poll(QDeadlineTimer(m_steps[m_at].timeoutMs));
                return;
            }
            auto step = m_steps[m_at++].run;
            Next(); // scheduled first: the step may block in a modal loop
            step();
        });
    }

    void Poll(QDeadlineTimer deadline)
    {
        const Step& s = m_steps[m_at];
        if (!s.until() && !deadline.hasExpired()) {
            QTimer::singleShot(20, [this, deadline] { Poll(deadline); });
            return;
        }
        ++m_at;
        Next();
        QVERIFY2(s.until(), s.what);
    }

    std::vector<Step> m_steps;
    size_t m_at = 0;
};

// The active modal dialog when it has that object name, else null.
inline QDialog* ActiveDialog(const char* objectName)
{
    auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    return w && w->objectName() == QLatin1String(objectName) ? w : nullptr;
}

// Types a path into a file dialog's name box and accepts it, as a user does.
inline void ChooseFile(QFileDialog* dialog, const QString& path)
{
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    name->setText(path);
    static_cast<QDialog*>(dialog)->accept(); // QFileDialog's accept checks the file and closes
}

// Types text into a control key by key, as an input method commits it (any character, full width
// and kana included; QTest's key clicks take ASCII only).
inline void TypeText(QWidget* control, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(control, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(control, &release);
    }
}

// Clicks a window's button by object name, failing the test when it is missing.
inline void Click(QWidget* window, const char* button)
{
    auto* b = window ? window->findChild<QPushButton*>(QString::fromLatin1(button)) : nullptr;
    QVERIFY2(b, button);
    b->click();
}

} // namespace velmora::gui::test
