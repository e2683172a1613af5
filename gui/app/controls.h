#pragma once
// Small helpers for windows that place their controls by hand (positions at 96 dpi, scaled later by
// FitForm): named labels and buttons, text and background colours given as stored 0x00BBGGRR values.

#include "core/eval/colour_legend.h"

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;
class QWidget;

namespace velmora::gui {

class TShape;

QString Q(std::u16string_view s);
std::u16string U(const QString& s);

// A label with an object name (none when name is null) at x, y with size w x h.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h);
// A button that never becomes the dialog's default by taking the focus.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h);

// An editable name box (KeepExactNames) that never adds the typed text to its items.
QComboBox* MakeComboBox(QWidget* parent, const char* name, int x, int y, int w, int h);

// Fills a drop-down list with the items and makes `selected` current (-1: none).
void FillChooser(QComboBox* box, const std::vector<std::u16string>& items, int selected);

// A colour swatch (TShape) with an object name.
TShape* MakeShape(QWidget* parent, const QString& name, int x, int y, int w, int h);

void SetTextColor(QWidget* w, uint32_t bgr);
// Fills the widget's background with the colour (a label, a panel).
void SetBackground(QWidget* w, uint32_t bgr);
// Fills the background with a colour from the user or the data and gives the text the colour that
// reads on it (black or white by the fill's luminance).
void SetFill(QWidget* w, uint32_t bgr);
void SetFontStyle(QWidget* w, bool bold, bool italic);

// Makes a toggle button's state plain to see: down, it is filled dark blue with white text and a
// heavy border; up, it is light with a thin one. (The platform's own look tells them apart by a shade.)
void ShowToggleState(QToolButton* button);

// The colour legend's labels 1..15: each entry's text on its colour in the colour that reads there, a
// hidden entry blank and clear.
void PaintLegendLabels(const std::array<QLabel*, kLegendEntries + 1>& labels,
                       const std::array<LegendEntry, kLegendEntries + 1>& legend);

} // namespace velmora::gui
