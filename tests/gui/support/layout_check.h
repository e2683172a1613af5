#pragma once
// Layout checks for window tests: every text a control shows is whole in the control's own font, and
// every control lies within its window (within its page, for the pages of a page control).

#include <QStringList>

class QImage;

class QWidget;

namespace velmora::gui::test {

// Sets the layout size and font of the settings for one test and puts the previous ones back.
class LayoutSettings
{
public:
    LayoutSettings(int screenWidth, int screenHeight, int fontSize);
    // The layout of the current QTest data row (see AddLayoutRows).
    static LayoutSettings OfRow();
    ~LayoutSettings();
    LayoutSettings(const LayoutSettings&) = delete;
    LayoutSettings& operator=(const LayoutSettings&) = delete;

private:
    int m_width, m_height, m_fontSize;
};

// The layouts every window is checked in, as QTest data rows: 800x600, 640x480, and 800x600 with a
// 14-point font.
void AddLayoutRows();
// Those and the smallest layout with the large font, 640x480 with 14 points.
void AddAllLayoutRows();

// The controls of `area` (visible ones, on the pages shown) whose text is cut or drawn under 8 points,
// which lie outside `area` or outside their group box, and the read-only text boxes whose text needs
// scrolling, one line each; empty when the layout is sound.
QStringList CutOrOutOfReach(QWidget* area);

// The mean lightness of an image's pixels, 0 (black) .. 1 (white): two states of a control a user must
// tell apart differ plainly in it.
double MeanLuminance(const QImage& image);

} // namespace velmora::gui::test
