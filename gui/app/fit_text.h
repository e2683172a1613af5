#pragma once
// Texts that keep within their controls. The windows place their controls at fixed positions scaled
// by FitForm, while the configured font keeps its size; with a smaller layout (640x480) or a larger
// font a caption would be cut. FitTexts draws such a text in a smaller font instead, half a point at
// a time, down to kMinFitPointSize, below which text is hard to read; a label or button text that
// still does not fit is shown elided ("…"), with the whole text as its hint. A text that fits keeps
// the window's font, so the designed layout at 800x600 stays as it is. Each control keeps its design
// size and its whole text: fitting again (after a new text or a new window font) starts from them, so
// a text can grow back.

#include <QFont>
#include <QString>

class QWidget;

namespace velmora::gui {

inline constexpr double kMinFitPointSize = 8.0;

// The property naming the widest text a control is to hold (for example "000/000" for a counter), so
// that a text set later fits without fitting again.
inline constexpr char kFitSample[] = "fitSample";

// The window property FitForm sets: the window has its size and font, its texts can be fitted.
inline constexpr char kFittedWindow[] = "fitTextsOnShow";

// Fits one control: labels, buttons, check boxes, group box titles (which also must keep clear of
// the group's first row), line edits, combo boxes and the captions of a tab bar (in its height).
// Other widgets are left alone.
void FitText(QWidget* control);
// Fits every control of a window or container, group boxes before the controls on them. FitForm
// has every window fitted this way each time it is shown; a window fits again after it changes texts.
void FitTexts(QWidget* root);

// The control's font at its design size (what it shows when its text fits).
QFont DesignFont(QWidget* control);

// A font for the dense parts of a window (chart captions, the conditions' groups): `points` on the
// 600-line layout, smaller in proportion on a lower one, never under kMinFitPointSize.
QFont DenseFont(double points);

} // namespace velmora::gui
