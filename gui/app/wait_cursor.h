#pragma once
// The hourglass: for the length of a scope (WaitCursor), or switched on and off by core work that
// reports when it is busy (SetBusyCursor as its hook).

#include <QApplication>
#include <QCursor>

namespace velmora::gui {

inline void SetBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

// The hourglass for the length of a scope, restored even when the work throws.
class WaitCursor
{
public:
    // `on` false: no hourglass (for work that shows it only sometimes).
    explicit WaitCursor(bool on = true)
        : m_on(on)
    {
        if (m_on)
            SetBusyCursor(true);
    }
    ~WaitCursor()
    {
        if (m_on)
            SetBusyCursor(false);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_on;
};

} // namespace velmora::gui
