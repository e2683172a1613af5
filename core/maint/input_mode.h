#pragma once
// The input mode of the name fields ("馬名等入力モード"): kana, where what is typed is folded to the
// stored form of horse names, or off.

#include "core/app/app_state.h"

#include <string>
#include <string_view>

namespace velmora {

// Sets KanaMode and stores it in the settings file, section "ImeMode", key "Mode": "カナ" or "英数".
// Throws FileError when the settings file cannot be written (KanaMode is set all the same).
void SetInputMode(AppState& s, bool kana);

// What typing gives in kana mode: hiragana become katakana, and the text is then folded to the stored
// form (half-width katakana; see ToHalfWidth).
std::u16string FoldKanaInput(std::u16string_view typed);

} // namespace velmora
