#pragma once
// The data editing window's presses given as data, for batch edits: each operation fills one page of the
// editor as a user would (a field left out keeps the stored value, or the page's default for a new row)
// and presses "登録" or "削除" there.

#include "core/maint/data_editor.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

enum class EditTable {
    Stallions,
    Mares,
    Ancestors,
    Crosses,
    Lines,
    Groups, // 面白系統
    Colours,
};

// "stallions", "mares", "ancestors", "crosses", "lines", "groups", "colours"; false for another word.
bool EditTableFromName(std::string_view word, EditTable& table);
const char* EditTableName(EditTable table);

// Field values are texts; numbers are given in decimal. References (lines, colours, effects, groups,
// ancestors) are given by name.
using EditFields = std::vector<std::pair<std::string, std::u16string>>;

struct EditOperation
{
    bool remove = false; // "delete"; otherwise "register"
    EditTable table = EditTable::Stallions;
    std::u16string name;
    // Record fields by their names: stallions name their `birth`, `keito`, `keiro`, `Fee`, `Distance1`,
    // `Distance2`, `Dirt`, `Grow`, `Kisho`, `Konjo`, `Kenko`, `Jisseki`, `Antei`; broodmares `motikomi`,
    // `keito`, `keiro`, `Fee`, `speed`, `stamina`; ancestors `a`, `b` (effects) and `keito`; lines `value`
    // (the group).
    EditFields fields;
    std::vector<std::pair<int, std::u16string>> father; // horse pedigree positions 1..15 given
    std::vector<std::pair<int, EditFields>>
        rows; // crosses (`name`, `Color`) and groups (`name`, `value`, `lbl`), rows 1..16
};

// An operation the editor cannot take: an unknown field, a value outside its field, a name that is no
// effect, group or line, a press the editor refused. The message says why.
class EditError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Applies op through the editor (the editor's tables are d). Returns the press's message. Throws EditError.
std::u16string ApplyEditOperation(DataEditor& editor, const MasterData& d, const EditOperation& op);

} // namespace velmora
