// velmora-cli search CONDITIONS.json [--threads N] [--sorted]: the strongest-mating search. Result lines
// go to stdout, one per line, in the order reported (or sorted by UTF-16 code units); a summary
// {"leaves":N,"results":N,"stopped":B,"seconds":F} goes to stderr. Every field of CONDITIONS.json is
// optional; a missing one keeps the conditions window's initial value.

#include "cli/command.h"
#include "cli/json.h"
#include "cli/json_reader.h"
#include "core/data/cp932.h"
#include "core/data/master_data.h"
#include "core/search/search_conditions.h"
#include "core/search/search_engine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace velmora::cli {

namespace {

using namespace velmora::search;

constexpr const char* kUsage = "usage: velmora-cli [--data DIR] search CONDITIONS.json [--threads N] [--sorted]";

[[noreturn]] void Bad(const std::string& message)
{
    throw CliError("velmora-cli search: " + message);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Bad("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad())
        Bad("cannot read " + path);
    return s.str();
}

// The generation of a key "1".."4".
int GenerationKey(const std::string& key, const std::string& where)
{
    if (key.size() == 1 && key[0] >= '1' && key[0] <= '4')
        return key[0] - '0';
    Bad(where + ": generation key \"" + key + "\" is not \"1\"..\"4\"");
}

void CheckKeys(const JsonValue& object, const std::string& where, std::initializer_list<std::string_view> known)
{
    for (const auto& [key, value] : object.AsObject(where)) {
        (void)value;
        if (std::find(known.begin(), known.end(), key) == known.end())
            Bad(where + ": unknown field \"" + key + "\"");
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
            Bad(where + ".Crs: expected 16 numbers");
        for (size_t k = 0; k < 16; ++k)
            crs[k + 1] = static_cast<int32_t>(a[k].AsInt(where + ".Crs", INT32_MIN, INT32_MAX));
    }
    if (const JsonValue* v = parent.Find("Ud")) {
        const auto& a = v->AsArray(where + ".Ud");
        if (a.size() != 16)
            Bad(where + ".Ud: expected 16 booleans");
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

// Applies CONDITIONS.json to the conditions of a freshly opened conditions window.
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
                Bad("mares: unknown broodmare \"" + ToUtf8(name) + "\"");
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
                    Bad("stallions." + key + ": unknown stallion \"" + ToUtf8(name) + "\"");
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
        auto mark = [&](const char* key, SosenMark m) {
            const JsonValue* list = sosen->Find(key);
            if (!list)
                return;
            for (const std::u16string& name : Names(*list, std::string("sosen.") + key)) {
                bool found = false;
                for (SosenItem& item : c.Sosen)
                    if (item.name == name) {
                        if (item.mark != SosenMark::Grayed && item.mark != m)
                            Bad(std::string("sosen: \"") + ToUtf8(name) + "\" is both required and excluded");
                        item.mark = m;
                        found = true;
                    }
                if (!found)
                    Bad(std::string("sosen.") + key + ": \"" + ToUtf8(name)
                        + "\" is not an ancestor with a cross effect");
            }
        };
        mark("require", SosenMark::Checked);
        mark("exclude", SosenMark::Unchecked);
        UpdateSosenFlags(c);
    }
    RefreshSearchCounts(d, c);
}

class PrintingListener : public SearchListener
{
public:
    explicit PrintingListener(bool sorted)
        : m_sorted(sorted)
    {
    }
    void StepProgress() override { }
    void AddResult(std::u16string_view line) override
    {
        if (m_sorted) {
            m_lines.emplace_back(line);
        } else {
            const std::string text = ToUtf8(line);
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fputc('\n', stdout);
        }
    }
    void SearchError(std::string_view message) override { m_errors.emplace_back(message); }
    void SearchDone() override { }

    void Flush()
    {
        std::sort(m_lines.begin(), m_lines.end());
        for (const auto& line : m_lines) {
            const std::string text = ToUtf8(line);
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fputc('\n', stdout);
        }
        std::fflush(stdout);
    }
    const std::vector<std::string>& Errors() const { return m_errors; }

private:
    bool m_sorted;
    std::vector<std::u16string> m_lines;
    std::vector<std::string> m_errors;
};

int RunSearch(Context& ctx)
{
    std::string path;
    int threads = 2;
    bool sorted = false;
    for (size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& a = ctx.args[i];
        if (a == "--sorted") {
            sorted = true;
        } else if (a == "--threads") {
            if (i + 1 >= ctx.args.size())
                throw CliError(kUsage);
            const std::string& n = ctx.args[++i];
            char* end = nullptr;
            const long v = std::strtol(n.c_str(), &end, 10);
            if (n.empty() || *end != '\0' || v < 1 || v > 64)
                Bad("--threads: expected a number from 1 to 64, not \"" + n + "\"");
            threads = static_cast<int>(v);
        } else if (path.empty() && !a.starts_with("--")) {
            path = a;
        } else {
            throw CliError(kUsage);
        }
    }
    if (path.empty())
        throw CliError(kUsage);

    JsonValue doc;
    try {
        doc = ParseJson(ReadFile(path));
    } catch (const JsonError& e) {
        Bad(path + ": " + e.what());
    }
    MasterData& d = ctx.Data();
    SearchConditions c;
    InitSearchConditions(d, c);
    try {
        ApplyConditions(d, doc, c);
    } catch (const JsonError& e) {
        Bad(path + ": " + e.what());
    }

    PrintingListener listener(sorted);
    const auto start = std::chrono::steady_clock::now();
    SearchEngine engine(d, c, listener);
    engine.Start(threads);
    engine.Wait();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    listener.Flush();
    const SearchStats stats = engine.Stats();

    Json j;
    j.BeginObject();
    j.Field("leaves", stats.testedLeaves);
    j.Field("results", stats.results);
    j.Key("stopped").Bool(stats.stopped);
    j.Field("seconds", seconds);
    j.EndObject();
    for (const std::string& e : listener.Errors())
        std::fprintf(stderr, "velmora-cli search: %s\n", e.c_str());
    std::fprintf(stderr, "%s\n", j.Text().c_str());
    return listener.Errors().empty() ? 0 : 2;
}

const Registration reg { "search", "search CONDITIONS.json [--threads N] [--sorted]  strongest-mating search",
                         &RunSearch };

} // namespace

} // namespace velmora::cli
