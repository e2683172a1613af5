#pragma once
// Japanese text broken into lines at sensible places (BreakMessageLines) rather than where Qt's own
// wrapping happens to run out of room, which may leave a lone "い。" on the last line.

#include <QString>

class QFont;
class QLabel;

namespace velmora::gui {

// text with line breaks added so that each line fits width pixels in font where it can.
QString BreakLines(const QString& text, const QFont& font, double width);

// From now on the label's text is shown broken that way to the label's width, again whenever the
// label's size or font changes; the label does not wrap by itself. A text the program sets later is
// broken too.
void BreakLinesSensibly(QLabel* label);

} // namespace velmora::gui
