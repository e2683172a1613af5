#pragma once
// Fitting windows to the configured layout size and font (App().ScreenWidth/ScreenHeight,
// FontName/FontSize). Every window is passed through FitForm right after it is created and before
// it is shown.

#include "core/app/fit.h"

#include <QFont>
#include <QString>

class QFontDialog;
class QWidget;

namespace velmora::gui {

// Sets the window's font, centres it on the screen and scales it and its controls by
// ScreenHeight / 600 (or gives it exactly the layout size; see FitFormRect).
void FitForm(QWidget* form);

// A window kept between showings (the pedigree editor) takes the current font and is centred again;
// its size and controls were scaled when it was first fitted and are not scaled a second time.
void RefitKeptForm(QWidget* form);

// Scales one control by k; group boxes and the pages of page controls have their own controls scaled
// too, other containers not.
void FitControl(QWidget* control, FitScale k);

// The installed family to use for a configured font name: the name itself when the system has it and
// it can write Japanese, otherwise a Japanese font (IPA Gothic), so that the texts stay readable (a
// symbol font would draw every number as dingbats). The stored setting keeps the configured name.
QString ResolveFontFamily(const QString& name, bool fixedPitch = false);

// Whether a font family can write the program's texts: Japanese, with its digits and letters.
bool WritesJapanese(const QString& family);

// Limits a font dialog to the families that write Japanese: its writing system is set to Japanese and
// the user cannot change it.
void OfferJapaneseFontsOnly(QFontDialog* dialog);

// The proportional font of the settings (FontName, FontSize), resolved as above.
QFont AppFont();
// The fixed-pitch font of the settings (FixFontName, FixFontSize), resolved as above.
QFont AppFixedFont();

// The screen's size in pixels (the primary screen; 800x600 when there is none).
ScreenSize CurrentScreenSize();

// The frame a window manager puts around the program's windows, read from a window already shown (the
// owner of form first); all 0 when there is none, or no window manager.
FrameExtents WindowFrameExtents(const QWidget* form);

} // namespace velmora::gui
