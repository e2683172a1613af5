#pragma once
// Driving the program's real modal loops from a test: steps run one after another from the event
// loop, each once the previous one has returned to it, so that a step may open a modal window whose
// loop the next step then drives.

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <vector>

namespace velmora::gui::test {

class Script
{
public:
    void Add(std::function<void()> step) { m_steps.push_back(std::move(step)); }
    void Start() { Next(); }
    // Whether every step has run.
    bool Done() const { return m_at >= m_steps.size(); }

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

// The active modal dialog when it has that object name, else null.
inline QDialog* ActiveDialog(const char* objectName)
{
    auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    return w && w->objectName() == QLatin1String(objectName) ? w : nullptr;
}

// Clicks a window's button by object name, failing the test when it is missing.
inline void Click(QWidget* window, const char* button)
{
    auto* b = window ? window->findChild<QPushButton*>(QString::fromLatin1(button)) : nullptr;
    QVERIFY2(b, button);
    b->click();
}

} // namespace velmora::gui::test
