#include "cli/search_conditions_json.h"

#include "cli/command.h"
#include "core/common/message_text.h"
#include "core/data/cp932.h"

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora::cli {

using namespace velmora::search;

void BadSearchInput(const std::string& message)
{
    throw CliError("velmora-cli search: " + message);
}

namespace {

// The generation of a key "1".."4".
int GenerationKey(const std::string& key, const std::string& where)
{
    if (key.size() == 1 && key[0] >= '1' && key[0] <= '4')
        return key[0] - '0';
    BadSearchInput(where + ": generation key \"" + NameForMessage(key) + "\" is not \"1\"..\"4\"");
}

void CheckKeys(const JsonValue& object, const std::string& where, std::initializer_list<std::string_view> known)
{
    for (const auto& [key, value] : object.AsObject(where)) {
        (void)value;
        if (std::find(known.begin(), known.end(), key) == known.end())
            BadSearchInput(where + ": unknown field \"" + NameForMessage(key) + "\"");
    }
}

std::vector<std::u16string> Names(const JsonValue& v, const std::string& where)
{
    std::vector<std::u16string> names;
    for (const JsonValue& item : v.AsArray(where))
        names.push_back(FromUtf8(item.AsString(where + " item")));
    return names;
}

void Bounds(const JsonValue& parent, const std::string& where, std::array<int32_t, 17>& crs, std::array<bool, 17>& ud)
{
    if (const JsonValue* v = parent.Find("Crs")) {
        const auto& a = v->AsArray(where + ".Crs");
        if (a.size() != 16)
            BadSearchInput(where + ".Crs: expected 16 numbers");
        for (size_t k = 0; k < 16; ++k)
            crs[k + 1] = static_cast<int32_t>(a[k].AsInt(where + ".Crs", INT32_MIN, INT32_MAX));
    }
    if (const JsonValue* v = parent.Find("Ud")) {
        const auto& a = v->AsArray(where + ".Ud");
        if (a.size() != 16)
            BadSearchInput(where + ".Ud: expected 16 booleans");
        for (size_t k = 0; k < 16; ++k)
            ud[k + 1] = a[k].AsBool(where + ".Ud");
    }
}

template <typename T>
void Int(const JsonValue& parent, const char* key, const std::string& where, int64_t lo, int64_t hi, T& out)
{
    if (const JsonValue* v = parent.Find(key))
        out = static_cast<T>(v->AsInt(where + "." + key, lo, hi));
}

void Bool(const JsonValue& parent, const char* key, const std::string& where, bool& out)
{
    if (const JsonValue* v = parent.Find(key))
        out = v->AsBool(where + "." + key);
}

} // namespace

void ApplyConditions(MasterData& d, const JsonValue& doc, SearchConditions& c)
{
    CheckKeys(doc, "conditions", { "maxGen", "resultLimit", "mares", "stallions", "haigo", "child", "sosen" });
    Int(doc, "maxGen", "conditions", 1, 4, c.MaxGen);
    Int(doc, "resultLimit", "conditions", INT32_MIN, INT32_MAX, c.ResultLimit);

    if (const JsonValue* mares = doc.Find("mares")) {
        for (int i = 0; i < d.MamCount; ++i)
            d.MamTable[static_cast<size_t>(i)].Selected = false;
        for (const std::u16string& name : Names(*mares, "mares")) {
            const int row = FindMam(d, name);
            if (row < 0)
                BadSearchInput("mares: unknown broodmare \"" + ToUtf8(NameForMessage(name)) + "\"");
            d.MamTable[static_cast<size_t>(row)].Selected = true;
        }
    }
    if (const JsonValue* stallions = doc.Find("stallions")) {
        for (const auto& [key, list] : stallions->AsObject("stallions")) {
            const int gen = GenerationKey(key, "stallions");
            const int32_t bit = 1 << (gen - 1);
            for (int i = 0; i < d.DadCount; ++i)
                d.DadTable[static_cast<size_t>(i)].Selected &= ~bit;
            for (const std::u16string& name : Names(list, "stallions." + key)) {
                const int row = FindDad(d, name);
                if (row < 0)
                    BadSearchInput("stallions." + key + ": unknown stallion \"" + ToUtf8(NameForMessage(name)) + "\"");
                d.DadTable[static_cast<size_t>(row)].Selected |= bit;
            }
        }
    }
    if (const JsonValue* haigo = doc.Find("haigo")) {
        for (const auto& [key, v] : haigo->AsObject("haigo")) {
            const std::string where = "haigo." + key;
            HaigoJokenRec& h = c.HaigoJoken[static_cast<size_t>(GenerationKey(key, "haigo"))];
            CheckKeys(v, where,
                      { "NixBase", "Omo", "Mig", "Yok", "Outb", "Kiken", "MamNiKoka", "DadNiKoka", "Crs", "Ud" });
            Int(v, "NixBase", where, INT32_MIN, INT32_MAX, h.NixBase);
            Int(v, "Omo", where, 0, 2, h.Omo);
            Int(v, "Mig", where, 0, 2, h.Mig);
            Int(v, "Yok", where, 0, 2, h.Yok);
            Int(v, "Outb", where, 0, 2, h.Outb);
            Int(v, "Kiken", where, 0, 1, h.Kiken);
            Int(v, "MamNiKoka", where, -1, 16, h.MamNiKoka);
            Int(v, "DadNiKoka", where, -1, 16, h.DadNiKoka);
            Bounds(v, where, h.Crs, h.Ud);
            UpdateActive(h);
        }
    }
    if (const JsonValue* child = doc.Find("child")) {
        for (const auto& [key, v] : child->AsObject("child")) {
            const std::string where = "child." + key;
            ChildJokenRec& ch = c.ChildJoken[static_cast<size_t>(GenerationKey(key, "child"))];
            CheckKeys(v, where,
                      { "Crs", "Ud", "NitroSpBound", "NitroStBound", "NitroTotalBound", "NitroSpUd", "NitroStUd",
                        "NitroTotalUd" });
            Bounds(v, where, ch.Crs, ch.Ud);
            Int(v, "NitroSpBound", where, INT32_MIN, INT32_MAX, ch.NitroSpBound);
            Int(v, "NitroStBound", where, INT32_MIN, INT32_MAX, ch.NitroStBound);
            Int(v, "NitroTotalBound", where, INT32_MIN, INT32_MAX, ch.NitroTotalBound);
            Bool(v, "NitroSpUd", where, ch.NitroSpUd);
            Bool(v, "NitroStUd", where, ch.NitroStUd);
            Bool(v, "NitroTotalUd", where, ch.NitroTotalUd);
        }
    }
    if (const JsonValue* sosen = doc.Find("sosen")) {
        CheckKeys(*sosen, "sosen", { "require", "exclude" });
        // The items of each name (the list may hold a name twice), found at once however long the lists.
        std::unordered_map<std::u16string_view, std::vector<size_t>> itemsOf;
        for (size_t i = 0; i < c.Sosen.size(); ++i)
            itemsOf[c.Sosen[i].name].push_back(i);
        auto mark = [&](const char* key, SosenMark m) {
            const JsonValue* list = sosen->Find(key);
            if (!list)
                return;
            for (const std::u16string& name : Names(*list, std::string("sosen.") + key)) {
                const auto items = itemsOf.find(name);
                if (items == itemsOf.end())
                    BadSearchInput(std::string("sosen.") + key + ": \"" + ToUtf8(NameForMessage(name))
                                   + "\" is not an ancestor with a cross effect");
                for (const size_t i : items->second) {
                    SosenItem& item = c.Sosen[i];
                    if (item.mark != SosenMark::Grayed && item.mark != m)
                        BadSearchInput(std::string("sosen: \"") + ToUtf8(NameForMessage(name))
                                       + "\" is both required and excluded");
                    item.mark = m;
                }
            }
        };
        mark("require", SosenMark::Checked);
        mark("exclude", SosenMark::Unchecked);
        UpdateSosenFlags(c);
    }
    RefreshSearchCounts(d, c);
}

} // namespace velmora::cli
