#pragma once
// Layout checks for window tests: every text a control shows is whole in the control's own font, and
// every control lies within its window (within its page, for the pages of a page control).

#include <QStringList>

class QWidget;

namespace velmora::gui::test {

// The controls of `area` (visible ones, on the pages shown) whose text is cut or which lie outside
// `area`, one line each; empty when the layout is sound.
QStringList CutOrOutOfReach(QWidget* area);

} // namespace velmora::gui::test
