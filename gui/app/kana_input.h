#pragma once
// Half-width katakana input. Qt has no input-method hint for a kana mode, so a field that asks for
// half-width katakana folds what the user types as it is typed: hiragana become katakana, and the text
// is folded to the stored form of names (FoldKanaInput).

class QLineEdit;
class QPlainTextEdit;

namespace velmora::gui {

// From now on every edit the user makes in the field is folded; the cursor stays after the folded
// form of the text before it. Text set by the program is left as it is.
void FoldTypedKana(QLineEdit* edit);

// The same for the fields that follow the input mode ("ImeMode"): folded only while KanaMode is set.
void FoldTypedKanaInKanaMode(QLineEdit* edit);
// The same for a text box: what is typed (or pasted with the keyboard) is folded where it was
// inserted.
void FoldTypedKanaInKanaMode(QPlainTextEdit* edit);

} // namespace velmora::gui
