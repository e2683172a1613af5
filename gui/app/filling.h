#pragma once
// While a window fills its own controls from stored state, the controls' change signals must not write
// back: a Filling marks the window as filling for the length of a scope, and its change handlers do
// nothing while the mark is set, so that only the user's changes reach the data. Scopes nest: the mark
// ends with the outermost one.

namespace velmora::gui {

class Filling
{
public:
    explicit Filling(bool& filling)
        : m_filling(filling)
        , m_was(filling)
    {
        m_filling = true;
    }
    ~Filling() { m_filling = m_was; }
    Filling(const Filling&) = delete;
    Filling& operator=(const Filling&) = delete;

private:
    bool& m_filling;
    bool m_was;
};

} // namespace velmora::gui
