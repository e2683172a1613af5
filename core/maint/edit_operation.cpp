#include "core/maint/edit_operation.h"

#include "core/common/decimal.h"
#include "core/data/cp932.h"
#include "core/data/fields.h"
#include "core/data/typed_number.h"

#include <algorithm>
#include <array>

namespace velmora {

namespace {

constexpr std::array<std::pair<EditTable, const char*>, 7> kTables { {
    { EditTable::Stallions, "stallions" },
    { EditTable::Mares, "mares" },
    { EditTable::Ancestors, "ancestors" },
    { EditTable::Crosses, "crosses" },
    { EditTable::Lines, "lines" },
    { EditTable::Groups, "groups" },
    { EditTable::Colours, "colours" },
} };

[[noreturn]] void Fail(const std::string& what)
{
    throw EditError(what);
}

[[noreturn]] void UnknownField(const std::string& key)
{
    Fail("フィールド「" + key + "」はありません");
}

std::u16string Number(const std::string& key, const std::u16string& value, int64_t lo, int64_t hi)
{
    int32_t n = 0;
    if (ReadTypedNumber(value, n) != TypedNumber::Ok || n < lo || n > hi)
        Fail("フィールド「" + key + "」の値「" + ToUtf8(value.substr(0, 20)) + "」は範囲外です");
    return Decimal(n);
}

// The item of a choice group whose stored value is value; -1 for an empty value.
template <size_t N>
int Choice(const std::string& key, const std::array<std::u16string_view, N>& values, const std::u16string& value)
{
    if (value.empty())
        return -1;
    for (size_t i = 0; i < N; ++i)
        if (values[i] == value)
            return static_cast<int>(i);
    Fail("フィールド「" + key + "」の値「" + ToUtf8(value.substr(0, 20)) + "」は選べません");
}

// The name of an item that must be in the list ("" for the first item, none).
std::u16string Listed(const std::string& key, const std::vector<std::u16string>& items, const std::u16string& value)
{
    if (value.empty())
        return items.empty() ? std::u16string() : items.front();
    if (std::find(items.begin(), items.end(), value) == items.end())
        Fail("フィールド「" + key + "」の「" + ToUtf8(value.substr(0, 40)) + "」はありません");
    return value;
}

void FillHorse(DataEditor& editor, bool stallion, const EditOperation& op)
{
    HorseForm& f = editor.Horse(stallion);
    for (const auto& [key, value] : op.fields) {
        if (key == "keito")
            f.keito = value;
        else if (key == "keiro")
            f.keiro = value;
        else if (key == "Fee")
            f.fee = Number(key, value, INT32_MIN, INT32_MAX);
        else if (key == (stallion ? "birth" : "motikomi"))
            f.origin = value;
        else if (stallion && key == "Distance1")
            f.distance1 = Number(key, value, INT32_MIN, INT32_MAX);
        else if (stallion && key == "Distance2")
            f.distance2 = Number(key, value, INT32_MIN, INT32_MAX);
        else if (stallion && key == "Dirt")
            f.choices[kDirt] = Choice(key, kDirtValues, value);
        else if (stallion && key == "Grow")
            f.choices[kGrow] = Choice(key, kGrowItems, value);
        else if (!stallion && key == "speed")
            f.speed = Number(key, value, INT32_MIN, INT32_MAX);
        else if (!stallion && key == "stamina")
            f.stamina = Number(key, value, INT32_MIN, INT32_MAX);
        else if (stallion) {
            static constexpr std::array<const char*, 5> kGrades { "Kisho", "Konjo", "Kenko", "Jisseki", "Antei" };
            const auto g = std::find(kGrades.begin(), kGrades.end(), key);
            if (g == kGrades.end())
                UnknownField(key);
            f.choices[kKisho + static_cast<size_t>(g - kGrades.begin())] = Choice(key, kGradeValues, value);
        } else {
            UnknownField(key);
        }
    }
    // The pedigree is stored as given, without deriving the positions behind a given one.
    for (const auto& [p, name] : op.father) {
        if (p < 1 || p > 15)
            Fail("Father の位置 " + std::to_string(p) + " は 1〜15 の外です");
        f.sosen[static_cast<size_t>(p)] = name;
    }
}

void FillOya(DataEditor& editor, const EditOperation& op)
{
    OyaForm& f = editor.Oya();
    for (const auto& [key, value] : op.fields) {
        if (key == "a")
            f.koka1 = Listed(key, editor.EffectNames(), value);
        else if (key == "b")
            f.koka2 = Listed(key, editor.EffectNames(), value);
        else if (key == "keito")
            f.kei = Listed(key, editor.LineNames(), value);
        else
            UnknownField(key);
    }
}

// The 16 rows of the cross-effect or interesting-line page.
void FillRows(DataEditor& editor, const EditOperation& op, bool groups)
{
    for (const auto& [k, fields] : op.rows) {
        if (k < 1 || k > 16)
            Fail("行 " + std::to_string(k) + " は 1〜16 の外です");
        const size_t row = static_cast<size_t>(k);
        for (const auto& [key, value] : fields) {
            if (key == "name")
                (groups ? editor.Omokei().names : editor.Cross().names)[row] = value;
            else if (key == (groups ? "value" : "Color"))
                (groups ? editor.Omokei().colors : editor.Cross().colors)[row]
                    = static_cast<uint32_t>(ParseIntDef(Number(key, value, 0, 0xFFFFFF), 0));
            else if (groups && key == "lbl")
                editor.Omokei().lbls[row] = value;
            else
                UnknownField(key);
        }
    }
}

} // namespace

bool EditTableFromName(std::string_view word, EditTable& table)
{
    for (const auto& [t, name] : kTables)
        if (word == name) {
            table = t;
            return true;
        }
    return false;
}

const char* EditTableName(EditTable table)
{
    for (const auto& [t, name] : kTables)
        if (t == table)
            return name;
    return "";
}

std::u16string ApplyEditOperation(DataEditor& editor, const MasterData& d, const EditOperation& op)
{
    const auto yes = [](std::u16string_view) { return true; };
    const bool fieldsGiven = !op.fields.empty() || !op.father.empty() || !op.rows.empty();
    if (op.remove && fieldsGiven)
        Fail("削除する操作にフィールドは指定できません");
    PressResult result;
    switch (op.table) {
    case EditTable::Stallions:
    case EditTable::Mares: {
        const bool stallion = op.table == EditTable::Stallions;
        const EditPage page = stallion ? EditPage::Dad : EditPage::Mam;
        editor.EnterPage(page);
        editor.ClearHorse(stallion); // a new horse starts from an empty page
        editor.SetHorseName(stallion, op.name);
        if (op.remove) {
            result = editor.Delete(page, yes);
        } else {
            FillHorse(editor, stallion, op);
            result = editor.Register(page, yes);
        }
        break;
    }
    case EditTable::Ancestors:
        editor.EnterPage(EditPage::Oya);
        editor.SetOyaName({}); // a new ancestor starts with no effect and no line
        editor.SetOyaName(op.name);
        if (op.remove) {
            result = editor.Delete(EditPage::Oya, yes);
        } else {
            FillOya(editor, op);
            result = editor.Register(EditPage::Oya, yes);
        }
        break;
    case EditTable::Crosses:
    case EditTable::Groups: {
        const bool groups = op.table == EditTable::Groups;
        const EditPage page = groups ? EditPage::Omokei : EditPage::Cross;
        editor.EnterPage(page);
        if (op.remove) {
            result = editor.Delete(page, yes);
        } else {
            FillRows(editor, op, groups);
            result = editor.Register(page, yes);
        }
        break;
    }
    case EditTable::Lines:
        editor.EnterPage(EditPage::Keito);
        editor.SetKeitoName(op.name);
        for (const auto& [key, value] : op.fields) {
            if (key != "value")
                UnknownField(key);
            if (!value.empty() && FindOmokei(d, value) < 1)
                Fail("面白系統「" + ToUtf8(value.substr(0, 40)) + "」はありません");
            editor.Keito().omo = value;
        }
        result = op.remove ? editor.Delete(EditPage::Keito, yes) : editor.Register(EditPage::Keito, yes);
        break;
    case EditTable::Colours:
        editor.EnterPage(EditPage::Keiro);
        if (!op.fields.empty())
            UnknownField(op.fields.front().first);
        editor.Keiro() = op.name;
        result = op.remove ? editor.Delete(EditPage::Keiro, yes) : editor.Register(EditPage::Keiro, yes);
        break;
    }
    if (!result.done)
        Fail(ToUtf8(result.message));
    return result.message;
}

} // namespace velmora
