#pragma once
// What the alias registration dialog needs from the core: its list of registered names and the
// checks and effects of its OK button.

#include "core/data/master_data.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr std::u16string_view kMsgAliasEmpty = u"登録する文字を入力してください";
inline constexpr std::u16string_view kMsgAliasNotChosen = u"コンボボックスから選択してください";
// An alias the alias file could not give back unchanged (see CanStoreAlias).
inline constexpr std::u16string_view kMsgAliasUnstorable = u"登録する文字に使えない文字が含まれています";

// The names the dialog offers: stallions DadTable 0..DadCount-1, then broodmares MamTable 0..MamCount-1,
// in that order (the dialog shows them sorted).
std::vector<std::u16string> AliasTargetNames(const MasterData& d);

struct AliasOkResult
{
    bool close = false; // the dialog closes with the OK result
    std::u16string message; // a message box to show first; empty for none
    bool focusAlias = false; // give the alias field the focus
    bool replaceSelection = false; // replace the formula box's selection with the chosen name
};

// The OK button: alias is the text to register, chosen the combo box's chosen name (empty when no item
// is chosen; a text that is not one of AliasTargetNames counts as not chosen), selectedText the text
// selected in the opener's formula box. Writes the pair with SetAlias on success; throws FileError
// when the alias file cannot be written.
AliasOkResult AliasDialogOk(const MasterData& d, const std::string& aliasFilePath, std::u16string_view alias,
                            std::u16string_view chosen, std::u16string_view selectedText);

} // namespace velmora
