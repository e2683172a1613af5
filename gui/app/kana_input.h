#pragma once
// Half-width katakana input. Qt has no input-method hint for a kana mode, so a field that asks for
// half-width katakana folds what the user types (ToHalfWidth) as it is typed.

class QLineEdit;

namespace velmora::gui {

// From now on every edit the user makes in the field is folded; the cursor stays after the folded
// form of the text before it. Text set by the program is left as it is.
void FoldTypedKana(QLineEdit* edit);

// The same for the fields that follow the input mode ("ImeMode"): folded only while KanaMode is set,
// typed hiragana becoming katakana first (FoldKanaInput).
void FoldTypedKanaInKanaMode(QLineEdit* edit);

} // namespace velmora::gui
