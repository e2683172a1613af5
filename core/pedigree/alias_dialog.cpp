#include "core/pedigree/alias_dialog.h"

#include "core/data/alias.h"

namespace velmora {

std::vector<std::u16string> AliasTargetNames(const MasterData& d)
{
    std::vector<std::u16string> names;
    names.reserve(static_cast<size_t>(d.DadCount + d.MamCount));
    for (int i = 0; i < d.DadCount; ++i)
        names.push_back(d.DadTable[i].name);
    for (int i = 0; i < d.MamCount; ++i)
        names.push_back(d.MamTable[i].name);
    return names;
}

AliasOkResult AliasDialogOk(const MasterData& d, const std::string& aliasFilePath, std::u16string_view alias,
                            std::u16string_view chosen, std::u16string_view selectedText)
{
    AliasOkResult r;
    if (alias.empty()) {
        r.message = kMsgAliasEmpty;
        r.focusAlias = true;
        return r;
    }
    if (chosen.empty() || (FindDad(d, chosen) < 0 && FindMam(d, chosen) < 0)) {
        r.message = kMsgAliasNotChosen;
        return r;
    }
    if (!SetAlias(aliasFilePath, alias, chosen)) {
        r.message = kMsgAliasUnstorable;
        r.focusAlias = true;
        return r;
    }
    r.replaceSelection = selectedText == alias;
    r.close = true;
    return r;
}

} // namespace velmora
