// velmora-cli edit OPS.json [--dry-run]: changes the data files as the data editing window does. OPS is a
// JSON array of operations {"op": "register" | "delete", "table": T, "name": NAME, "fields": {...}},
// applied in order, all or nothing, and written as one set (after a backup). T is one of stallions,
// mares, ancestors, crosses, lines, groups, colours; fields use the record field names with references
// by name ("Father": an array of the 15 ancestors, null keeping one; crosses and groups: "rows", an array
// of up to 16 row objects). Prints {"changed": [file names], "messages": [...]}; --dry-run writes nothing.
// A bad operation changes no file: its number and what was wrong go to stderr, exit code 2.

#include "cli/command.h"
#include "cli/json.h"
#include "cli/json_reader.h"
#include "core/app/app_state.h"
#include "core/common/decimal.h"
#include "core/data/cp932.h"
#include "core/data/text_file.h"
#include "core/maint/edit_operation.h"

#include <cmath>
#include <cstdio>

namespace velmora::cli {

namespace {

constexpr const char* kUsage = "usage: velmora-cli [--data DIR] edit OPS.json [--dry-run]";

// A field value as the editor takes it: texts as they are, numbers in decimal.
std::u16string FieldText(const std::string& key, const JsonValue& v)
{
    if (v.type() == JsonValue::Type::String)
        return FromUtf8(v.AsString(key));
    if (v.type() == JsonValue::Type::Number)
        return Decimal(v.AsInt(key, INT32_MIN, INT32_MAX));
    throw JsonError(key + ": a text or a number is expected, not " + JsonValue::TypeName(v.type()));
}

EditFields Fields(const JsonValue& object, const std::string& what)
{
    EditFields fields;
    for (const auto& [key, v] : object.AsObject(what))
        fields.emplace_back(key, FieldText(key, v));
    return fields;
}

EditOperation ReadOperation(const JsonValue& v)
{
    EditOperation op;
    for (const auto& [key, value] : v.AsObject("operation")) {
        if (key == "op") {
            const std::string& word = value.AsString("op");
            if (word != "register" && word != "delete")
                throw JsonError("op: \"register\" or \"delete\" is expected, not \"" + word + "\"");
            op.remove = word == "delete";
        } else if (key == "table") {
            if (!EditTableFromName(value.AsString("table"), op.table))
                throw JsonError("table: no table \"" + value.AsString("table") + "\"");
        } else if (key == "name") {
            op.name = FromUtf8(value.AsString("name"));
        } else if (key == "fields") {
            for (const auto& [field, fv] : value.AsObject("fields")) {
                if (field == "Father" && fv.type() == JsonValue::Type::Array) {
                    const auto& names = fv.AsArray("Father");
                    if (names.size() > 15)
                        throw JsonError("Father: at most 15 ancestors");
                    for (size_t p = 0; p < names.size(); ++p)
                        if (names[p].type() != JsonValue::Type::Null)
                            op.father.emplace_back(static_cast<int>(p + 1), FromUtf8(names[p].AsString("Father")));
                } else if (field == "rows") {
                    const auto& rows = fv.AsArray("rows");
                    if (rows.size() > 16)
                        throw JsonError("rows: at most 16 rows");
                    for (size_t k = 0; k < rows.size(); ++k)
                        if (rows[k].type() != JsonValue::Type::Null)
                            op.rows.emplace_back(static_cast<int>(k + 1), Fields(rows[k], "rows"));
                } else {
                    op.fields.emplace_back(field, FieldText(field, fv));
                }
            }
        } else {
            throw JsonError("no key \"" + key + "\" in an operation");
        }
    }
    if (v.Find("op") == nullptr || v.Find("table") == nullptr)
        throw JsonError("an operation needs \"op\" and \"table\"");
    return op;
}

std::string Describe(size_t index, const JsonValue& v)
{
    std::string text = "operation " + std::to_string(index + 1);
    if (v.type() != JsonValue::Type::Object)
        return text;
    std::string what;
    for (const char* key : { "op", "table", "name" })
        if (const JsonValue* k = v.Find(key); k && k->type() == JsonValue::Type::String)
            what += (what.empty() ? "" : " ") + k->AsString(key).substr(0, 80);
    return what.empty() ? text : text + " (" + what + ")";
}

int RunEdit(Context& ctx)
{
    std::string path;
    bool dryRun = false;
    for (const std::string& a : ctx.args) {
        if (a == "--dry-run")
            dryRun = true;
        else if (path.empty())
            path = a;
        else
            throw CliError(kUsage);
    }
    if (path.empty())
        throw CliError(kUsage);
    JsonValue doc;
    try {
        doc = ParseJson(ReadFileBytes(path));
        doc.AsArray("the operations");
    } catch (const std::exception& e) {
        throw CliError("velmora-cli edit: " + path + ": " + e.what());
    }

    MasterData& d = ctx.Data();
    bool autoFill = false;
    DataEditor editor(d, App().DataDir, App().DataFiles, autoFill);
    editor.DeferWrites();
    std::vector<std::u16string> messages;
    const auto& ops = doc.AsArray("the operations");
    for (size_t i = 0; i < ops.size(); ++i) {
        try {
            messages.push_back(ApplyEditOperation(editor, d, ReadOperation(ops[i])));
        } catch (const std::exception& e) {
            throw CliError("velmora-cli edit: " + Describe(i, ops[i]) + ": " + e.what());
        }
    }
    std::vector<std::u16string> changed;
    try {
        changed = editor.WritePending(dryRun);
    } catch (const std::exception& e) {
        throw CliError(std::string("velmora-cli edit: ") + e.what());
    }
    Json j;
    j.BeginObject();
    j.Key("changed").StringArray(changed);
    j.Key("messages").StringArray(messages);
    j.EndObject();
    std::printf("%s\n", j.Text().c_str());
    return 0;
}

const Registration reg { "edit", "edit OPS.json [--dry-run]  register and delete rows as the data editing window does",
                         &RunEdit };
} // namespace

} // namespace velmora::cli
