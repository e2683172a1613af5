// Seeded random sequences of presses over every page of the data editing window and foal registrations,
// each sequence followed by a reload and three checks: every reference in every file names what a plain
// model of the data says it names (the documented outcome for what was deleted included), no index
// points past its table, and every file line whose content did not change kept its bytes. The data sets
// are the sample and a full-capacity set, with hand-typed oddities (quotes, fields the program does not
// read) in some rows, which a rewritten row would lose.

#include "core/data/cp932.h"
#include "core/data/fields.h"
#include "core/data/loader.h"
#include "core/maint/data_editor.h"
#include "core/mating/foal_registration.h"
#include "tests/support/data_files.h"
#include "tests/support/run_counts.h"
#include "tools/datagen/datagen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <tuple>

namespace velmora {
namespace {

using test::DefaultDataFiles;
using test::TempDir;

// ---- The data as names ---------------------------------------------------------------------------

struct HorseView
{
    std::u16string name, line, colour;
    std::array<std::u16string, 16> sosen; // positions 1..15
    bool operator==(const HorseView&) const = default;
};

struct AncestorView
{
    std::u16string name;
    int a = 0, b = 0;
    std::u16string line; // as the file stores it (the loader fills in lines in memory)
    bool operator==(const AncestorView&) const = default;
};

using NickView = std::tuple<std::u16string, std::u16string, int>;

struct View
{
    std::vector<std::pair<std::u16string, int>> lines; // KeitoTable rows 1.., with their groups
    std::vector<std::u16string> colours;
    std::vector<AncestorView> ancestors;
    std::vector<HorseView> stallions, mares;
    std::vector<NickView> nicks;
    std::vector<std::pair<std::u16string, uint32_t>> cross; // rows 1..16
    std::vector<std::tuple<std::u16string, int, std::u16string>> groups; // rows 1..16
};

std::string_view Raw(const FileSource& s, size_t row)
{
    return std::string_view(s.bytes).substr(s.rows[row].offset, s.rows[row].length);
}

template <typename Horse> HorseView HorseOf(const MasterData& d, const Horse& h, int first)
{
    HorseView v { h.name, d.KeitoTable[h.keito].name, d.KeiroTable[h.keiro], {} };
    for (int p = 1; p <= 15; ++p) {
        const int32_t o = h.Father[static_cast<size_t>(p - 1 + first)];
        const std::u16string_view unknown = UnknownAt(h.Unknown, p);
        v.sosen[p] = o >= 0 ? d.OyaTable[o].name : std::u16string(unknown.empty() ? kUnregistered : unknown);
    }
    return v;
}

View ViewOf(const MasterData& d)
{
    View v;
    for (int k = 1; k < d.KeitoCount; ++k)
        v.lines.emplace_back(d.KeitoTable[k].name, d.KeitoTable[k].value);
    v.colours = d.KeiroTable;
    for (int i = 0; i < d.OyaCount; ++i) {
        const std::u16string line = FromCp932(Raw(d.Sources.oya, static_cast<size_t>(i)));
        FieldReader f(line);
        for (int skip = 0; skip < 3; ++skip)
            f.Next();
        const OyaRec& r = d.OyaTable[i];
        v.ancestors.push_back({ r.name, r.a, r.b, d.KeitoTable[ParseIntDef(f.Next(), 0)].name });
    }
    for (int i = 0; i < d.DadCount; ++i)
        v.stallions.push_back(HorseOf(d, d.DadTable[i], 1));
    for (int i = 0; i < d.MamCount; ++i)
        v.mares.push_back(HorseOf(d, d.MamTable[i], 0));
    for (int i = 0; i < d.NixCount; ++i)
        v.nicks.emplace_back(d.KeitoTable[d.NixList[i].keito1].name, d.KeitoTable[d.NixList[i].keito2].name,
                             d.NixList[i].value);
    for (int k = 1; k < 17; ++k) {
        v.cross.emplace_back(d.CrossTable[k].name, d.CrossTable[k].Color);
        v.groups.emplace_back(d.OmokeiTable[k].name, d.OmokeiTable[k].value, d.OmokeiTable[k].lbl);
    }
    return v;
}

void ExpectIndicesInside(const MasterData& d, const std::string& where)
{
    const auto keiro = static_cast<int32_t>(d.KeiroTable.size());
    for (int i = 0; i < d.OyaCount; ++i) {
        const OyaRec& r = d.OyaTable[i];
        EXPECT_TRUE(r.a >= 0 && r.a < kCrossRows && r.b >= 0 && r.b < kCrossRows && r.keito >= 0
                    && r.keito < d.KeitoCount)
            << where << " ancestor " << i;
    }
    const auto horse = [&](const auto& h, const char* what, int i) {
        EXPECT_TRUE(h.keito >= 0 && h.keito < d.KeitoCount && h.keiro >= 0 && h.keiro < keiro) << where << what << i;
        for (const int32_t o : h.Father)
            EXPECT_TRUE(o >= -1 && o < d.OyaCount) << where << what << i;
    };
    for (int i = 0; i < d.DadCount; ++i)
        horse(d.DadTable[i], " stallion ", i);
    for (int i = 0; i < d.MamCount; ++i)
        horse(d.MamTable[i], " mare ", i);
}

// A file line's content: the fields its file format reads, numbers as numbers, an ancestor's sire line
// by its number and by its name in d.
std::u16string Content(const MasterData& d, DataFileKind kind, std::string_view raw)
{
    static const std::map<DataFileKind, std::pair<int, std::vector<int>>> kFields {
        { DataFileKind::Omokei, { 3, { 1 } } },     { DataFileKind::Keito, { 2, { 1 } } },
        { DataFileKind::Keiro, { 1, {} } },         { DataFileKind::Cross, { 2, { 1 } } },
        { DataFileKind::Oya, { 4, { 1, 2, 3 } } },  { DataFileKind::Dad, { 29, { 4, 5, 6 } } },
        { DataFileKind::Mam, { 22, { 4, 5, 6 } } },
    };
    const auto& [count, numbers] = kFields.at(kind);
    const std::u16string line = FromCp932(raw);
    FieldReader f(line);
    std::u16string out;
    for (int i = 0; i < count; ++i) {
        const std::u16string field = f.Next();
        if (kind == DataFileKind::Oya && i == 3)
            out += FromUtf8(std::to_string(ParseIntDef(field, 0))) + u"=" + d.KeitoTable[ParseIntDef(field, 0)].name;
        else if (std::find(numbers.begin(), numbers.end(), i) != numbers.end())
            out += FromUtf8(std::to_string(ParseIntDef(field, 0)));
        else
            out += field;
        out += u'\n';
    }
    return out;
}

// Every line of `after` whose content equals that of the line of the same row (by name; cross effects
// and interesting lines by row) in `before` has the same bytes. Rows removed at some point are new rows
// when they come back.
void ExpectUnchangedLinesKeepTheirBytes(const MasterData& before, const MasterData& after,
                                        const std::set<std::u16string>& removed, const std::string& where)
{
    for (const DataFileKind kind : kEditedFiles) {
        const FileSource& a = SourceOf(before.Sources, kind);
        const FileSource& b = SourceOf(after.Sources, kind);
        const bool byRow = kind == DataFileKind::Cross || kind == DataFileKind::Omokei;
        std::map<std::u16string, size_t> rowOf;
        for (size_t i = FirstFileRow(kind); i < a.rows.size(); ++i)
            rowOf.emplace(byRow ? FromUtf8(std::to_string(i)) : FieldReader(FromCp932(Raw(a, i))).Next(), i);
        for (size_t i = FirstFileRow(kind); i < b.rows.size(); ++i) {
            const std::u16string key = byRow ? FromUtf8(std::to_string(i)) : FieldReader(FromCp932(Raw(b, i))).Next();
            const auto it = rowOf.find(key);
            if (it != rowOf.end() && !removed.count(key)
                && Content(before, kind, Raw(a, it->second)) == Content(after, kind, Raw(b, i))) {
                EXPECT_EQ(Raw(a, it->second), Raw(b, i)) << where << " file " << static_cast<int>(kind) << " row " << i;
            }
        }
    }
}

// Readable forms of the views, for the failure messages.
std::string Text(const std::u16string& s)
{
    return ToUtf8(s);
}
std::string Text(int n)
{
    return std::to_string(n);
}
std::string Text(uint32_t n)
{
    return std::to_string(n);
}
std::string Text(const HorseView& h)
{
    std::string t = ToUtf8(h.name + u"," + h.line + u"," + h.colour);
    for (int p = 1; p <= 15; ++p)
        t += "," + ToUtf8(h.sosen[p]);
    return t;
}
std::string Text(const AncestorView& a)
{
    return ToUtf8(a.name) + "," + std::to_string(a.a) + "," + std::to_string(a.b) + "," + ToUtf8(a.line);
}
template <typename A, typename B> std::string Text(const std::pair<A, B>& p)
{
    return Text(p.first) + "," + Text(p.second);
}
template <typename... T> std::string Text(const std::tuple<T...>& t)
{
    return std::apply([](const auto&... x) { return ((Text(x) + ",") + ...); }, t);
}
// The first place where two lists differ, or empty.
template <typename T> std::string Difference(const std::vector<T>& got, const std::vector<T>& expected)
{
    for (size_t i = 0; i < std::max(got.size(), expected.size()); ++i) {
        if (i < got.size() && i < expected.size() && got[i] == expected[i])
            continue;
        return "row " + std::to_string(i) + ": got " + (i < got.size() ? Text(got[i]) : "nothing") + ", expected "
            + (i < expected.size() ? Text(expected[i]) : "nothing");
    }
    return {};
}

// ---- The model -----------------------------------------------------------------------------------

// The first element of a list with the name (rows by their name, lines as pairs by their first).
template <typename List> typename List::iterator Named(List& list, const std::u16string& name)
{
    return std::find_if(list.begin(), list.end(), [&](const auto& x) {
        if constexpr (requires { x.name; })
            return x.name == name;
        else
            return x.first == name;
    });
}

// What the data should say, kept as names and changed press by press from the texts the page held.
class Model
{
public:
    explicit Model(const MasterData& d)
        : m_v(ViewOf(d))
    {
        m_memoryLines = m_v.lines;
        m_fileLines.assign(m_v.lines.begin(), m_v.lines.begin() + static_cast<long>(d.Sources.keito.rows.size() - 1));
        m_memoryColours = m_v.colours;
        m_fileColours.assign(m_v.colours.begin(), m_v.colours.begin() + static_cast<long>(d.Sources.keiro.rows.size()));
    }

    void Horse(bool stallion, const HorseForm& f, const MasterData& after)
    {
        HorseView h { f.name, f.keito, f.keiro, {} };
        for (int p = 1; p <= 15; ++p)
            h.sosen[p] = f.sosen[p].empty() ? std::u16string(kUnregistered) : f.sosen[p];
        auto& list = stallion ? m_v.stallions : m_v.mares;
        if (const auto it = Named(list, f.name); it == list.end())
            list.push_back(h);
        else
            *it = h;
        if (f.keito != kUnregistered && Named(m_memoryLines, f.keito) == m_memoryLines.end())
            m_memoryLines.emplace_back(f.keito, 0);
        if (std::find(m_memoryColours.begin(), m_memoryColours.end(), f.keiro) == m_memoryColours.end())
            m_memoryColours.push_back(f.keiro);
        // New ancestors take the line the editor gives them (its own tests cover that rule).
        std::vector<std::u16string> names(h.sosen.rbegin(), h.sosen.rend() - 1);
        if (stallion)
            names.insert(names.begin(), f.name);
        for (const std::u16string& n : names) {
            if (Named(m_v.ancestors, n) != m_v.ancestors.end())
                continue;
            const OyaRec& r = after.OyaTable[FindOya(after, n)];
            m_v.ancestors.push_back({ n, r.a, r.b, after.KeitoTable[r.keito].name });
        }
    }
    void RemoveHorse(bool stallion, const std::u16string& name)
    {
        auto& list = stallion ? m_v.stallions : m_v.mares;
        list.erase(Named(list, name));
    }
    void Ancestor(const AncestorView& a)
    {
        if (const auto it = Named(m_v.ancestors, a.name); it == m_v.ancestors.end())
            m_v.ancestors.push_back(a);
        else
            *it = a;
    }
    void RemoveAncestor(const std::u16string& name) { m_v.ancestors.erase(Named(m_v.ancestors, name)); }
    void Line(const std::u16string& name, int group)
    {
        if (const auto it = Named(m_memoryLines, name); it == m_memoryLines.end())
            m_memoryLines.emplace_back(name, group);
        else
            it->second = group;
    }
    // Whatever had a deleted line has none, and its nicks go.
    void RemoveLine(const std::u16string& name)
    {
        m_memoryLines.erase(Named(m_memoryLines, name));
        for (auto& a : m_v.ancestors)
            if (a.line == name)
                a.line = kUnregistered;
        for (auto* list : { &m_v.stallions, &m_v.mares })
            for (auto& h : *list)
                if (h.line == name)
                    h.line = kUnregistered;
        std::erase_if(m_v.nicks, [&](const NickView& n) { return std::get<0>(n) == name || std::get<1>(n) == name; });
    }
    void Colour(const std::u16string& name, bool add)
    {
        if (add)
            m_memoryColours.push_back(name);
        else
            m_memoryColours.erase(std::find(m_memoryColours.begin(), m_memoryColours.end(), name));
    }
    void Cross(const CrossForm& f)
    {
        for (int k = 1; k < 17; ++k)
            m_v.cross[static_cast<size_t>(k - 1)] = { f.names[k], f.colors[k] };
    }
    void Groups(const OmokeiForm& f)
    {
        for (int k = 1; k < 17; ++k)
            m_v.groups[static_cast<size_t>(k - 1)] = { f.names[k], static_cast<int>(f.colors[k]), f.lbls[k] };
    }
    // The sire-line and colour files a press wrote hold what memory held.
    void Written(const PressResult& r)
    {
        for (const DataFileKind k : r.written) {
            if (k == DataFileKind::Keito)
                m_fileLines = m_memoryLines;
            if (k == DataFileKind::Keiro)
                m_fileColours = m_memoryColours;
        }
    }

    // What a reload gives: the files' lines and colours, then those met first in the horse files,
    // stallions before mares.
    View Expected() const
    {
        View v = m_v;
        v.lines = m_fileLines;
        v.colours = m_fileColours;
        for (const auto* list : { &m_v.stallions, &m_v.mares }) {
            for (const HorseView& h : *list) {
                if (Named(v.lines, h.line) == v.lines.end() && h.line != kUnregistered)
                    v.lines.emplace_back(h.line, 0);
                if (std::find(v.colours.begin(), v.colours.end(), h.colour) == v.colours.end())
                    v.colours.push_back(h.colour);
            }
        }
        return v;
    }

private:
    View m_v;
    std::vector<std::pair<std::u16string, int>> m_memoryLines, m_fileLines;
    std::vector<std::u16string> m_memoryColours, m_fileColours;
};

// ---- The presses ---------------------------------------------------------------------------------

class Sequence
{
public:
    Sequence(MasterData& d, const std::string& dir, uint32_t seed)
        : m_d(d)
        , m_ed(d, dir, DefaultDataFiles(), m_autoFill)
        , m_model(d)
        , m_rng(seed)
    {
    }

    void Step()
    {
        switch (Pick(13)) {
        case 0:
        case 1:
            RegisterHorse(Pick(2) == 1);
            break;
        case 2:
            DeleteHorse(Pick(2) == 1);
            break;
        case 3:
        case 4:
            RegisterAncestor();
            break;
        case 5:
            DeleteNamed(
                EditPage::Oya, m_ed.AncestorNames(), [&](const auto& n) { m_ed.SetOyaName(n); },
                [&](const auto& n) { m_model.RemoveAncestor(n); });
            break;
        case 6:
            RegisterLine();
            break;
        case 7:
            DeleteNamed(
                EditPage::Keito, m_ed.LineNames(), [&](const auto& n) { m_ed.SetKeitoName(n); },
                [&](const auto& n) { m_model.RemoveLine(n); });
            break;
        case 8:
            m_ed.Keiro() = Pick(2) ? Any(m_ed.ColourNames()) : New(u"ｹｲﾛ");
            Press(m_ed.Register(EditPage::Keiro), [&] { m_model.Colour(m_ed.Keiro(), true); });
            break;
        case 9:
            DeleteNamed(
                EditPage::Keiro, m_ed.ColourNames(), [&](const auto& n) { m_ed.Keiro() = n; },
                [&](const auto& n) { m_model.Colour(n, false); });
            break;
        case 10:
            m_ed.EnterPage(EditPage::Cross);
            m_ed.Cross().names[1 + Pick(16)] = New(u"ｺｳｶ");
            m_ed.Cross().colors[1 + Pick(16)] = Pick(0x1000000);
            Press(m_ed.Register(EditPage::Cross), [&] { m_model.Cross(m_ed.Cross()); });
            break;
        case 11:
            m_ed.EnterPage(EditPage::Omokei);
            m_ed.Omokei().lbls[1 + Pick(16)] = New(u"ﾗﾍﾞﾙ");
            Press(m_ed.Register(EditPage::Omokei), [&] { m_model.Groups(m_ed.Omokei()); });
            break;
        default:
            RegisterFoal(Pick(2) == 1);
            break;
        }
    }

    const Model& model() const { return m_model; }
    const std::set<std::u16string>& removed() const { return m_removed; }
    const std::string& log() const { return m_log; } // what each press said

private:
    uint32_t Pick(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(m_rng); }
    std::u16string Any(const std::vector<std::u16string>& names)
    {
        return names.empty() ? u"" : names[Pick(static_cast<uint32_t>(names.size()))];
    }
    // A new name from a small pool, so that names come back after they were deleted.
    std::u16string New(std::u16string_view stem) { return std::u16string(stem) + FromUtf8(std::to_string(Pick(8))); }

    template <typename OnDone> void Press(const PressResult& r, OnDone&& onDone)
    {
        m_log += ToUtf8(r.message) + "\n";
        if (r.done) {
            onDone();
            m_model.Written(r);
        }
    }

    template <typename SetName, typename OnDone>
    void DeleteNamed(EditPage page, const std::vector<std::u16string>& names, SetName&& setName, OnDone&& onDone)
    {
        m_ed.EnterPage(page);
        const std::u16string name = Pick(8) ? Any(names) : New(u"ﾅｲ");
        setName(name);
        Press(m_ed.Delete(page, [](std::u16string_view) { return true; }), [&] {
            onDone(name);
            m_removed.insert(name);
        });
    }

    void RegisterHorse(bool stallion)
    {
        const EditPage page = stallion ? EditPage::Dad : EditPage::Mam;
        m_ed.EnterPage(page);
        m_ed.SetHorseName(stallion, Pick(2) ? Any(stallion ? m_ed.StallionNames() : m_ed.MareNames()) : New(u"ｳﾏ"));
        HorseForm& f = m_ed.Horse(stallion);
        for (int n = Pick(4); n > 0; --n)
            f.sosen[1 + Pick(15)] = Pick(3) ? Any(m_ed.AncestorNames()) : Pick(2) ? New(u"ｿｾﾝ") : u"";
        if (Pick(4) == 0)
            f.keito = Pick(2) ? Any(m_ed.LineNames()) : New(u"ﾗｲﾝ");
        if (Pick(4) == 0)
            f.keiro = Pick(2) ? Any(m_ed.ColourNames()) : New(u"ｹｲﾛ");
        static const char16_t* const kNumbers[] = { u"3", u"１２", u"-7", u"99999999999", u"ａｂｃ" };
        f.fee = kNumbers[Pick(5)];
        const PressResult r = m_ed.Register(page, [](std::u16string_view) { return true; });
        Press(r, [&] { m_model.Horse(stallion, f, m_d); });
    }

    void DeleteHorse(bool stallion)
    {
        const EditPage page = stallion ? EditPage::Dad : EditPage::Mam;
        m_ed.EnterPage(page);
        const std::u16string name = Any(stallion ? m_ed.StallionNames() : m_ed.MareNames());
        m_ed.SetHorseName(stallion, name);
        Press(m_ed.Delete(page, [](std::u16string_view) { return true; }), [&] {
            m_model.RemoveHorse(stallion, name);
            m_removed.insert(name);
        });
    }

    void RegisterAncestor()
    {
        m_ed.EnterPage(EditPage::Oya);
        m_ed.SetOyaName(Pick(2) ? Any(m_ed.AncestorNames()) : New(u"ｿｾﾝ"));
        OyaForm& f = m_ed.Oya();
        const std::vector<std::u16string> effects = m_ed.EffectNames();
        const auto effect = [&] { return Pick(4) == 0 ? u"ﾅｲ" : Pick(3) == 0 ? u"" : Any(effects); };
        if (Pick(2))
            f.koka1 = effect();
        if (Pick(2))
            f.koka2 = effect();
        if (Pick(3) == 0)
            f.kei = Pick(3) ? Any(m_ed.LineNames()) : u"ﾅｲ";
        Press(m_ed.Register(EditPage::Oya), [&] {
            // The boxes show the items stored: one effect is held in a, two in ascending order.
            int a = FindListName(effects, f.koka1), b = FindListName(effects, f.koka2);
            if ((0 < b && b < a) || (a == 0 && b > 0))
                std::swap(a, b);
            m_model.Ancestor({ f.name, a, b, f.kei });
        });
    }

    void RegisterLine()
    {
        m_ed.EnterPage(EditPage::Keito);
        m_ed.SetKeitoName(Pick(2) ? Any(m_ed.LineNames()) : New(u"ﾗｲﾝ"));
        KeitoForm& f = m_ed.Keito();
        f.omo = Pick(3) ? Any(m_ed.GroupNames()) : Pick(2) ? u"" : u"ﾅｲ";
        const int group = f.omo.empty() ? 0 : std::max(FindOmokei(m_d, f.omo), 0);
        Press(m_ed.Register(EditPage::Keito), [&] { m_model.Line(f.name, group); });
    }

    void RegisterFoal(bool stallion)
    {
        const std::vector<std::u16string> stallions = m_ed.StallionNames(), mares = m_ed.MareNames();
        const FoalPlan plan = PlanFoal(m_d, Any(stallions), Any(mares), stallions, mares, stallion);
        if (!plan.message.empty())
            return;
        // A proposed name is never one a horse has already: the foal would replace that horse.
        ASSERT_FALSE(HorseNameTaken(m_d, plan.entry.name)) << ToUtf8(plan.entry.name);
        const EditPage page = stallion ? EditPage::Dad : EditPage::Mam;
        m_ed.EnterPage(page);
        PrefillFoal(m_ed, plan.entry);
        const PressResult r = m_ed.Register(page);
        if (r.done) {
            EXPECT_EQ(r.message, plan.entry.name + u"を登録しました");
        }
        Press(r, [&] { m_model.Horse(stallion, m_ed.Horse(stallion), m_d); });
    }

    MasterData& m_d;
    bool m_autoFill = true;
    DataEditor m_ed;
    Model m_model;
    std::mt19937 m_rng;
    std::set<std::u16string> m_removed; // names of rows deleted in the sequence
    std::string m_log;
};

// ---- The runs ------------------------------------------------------------------------------------

// Quotes a name and adds a field the program does not read to every fifth line of the files that hold
// rows by name, as a user editing the files by hand might.
void AddHandTypedOddities(const TempDir& dir)
{
    const TDataFiles f = DefaultDataFiles();
    for (const std::u16string* name : { &f.Keito, &f.Keiro, &f.Oya, &f.Dad, &f.Mam }) {
        const std::string file = ToUtf8(*name);
        std::vector<std::u16string> lines;
        const std::u16string text = FromCp932(dir.ReadBytes(file));
        for (size_t start = 0, end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        for (size_t i = 0; i < lines.size(); i += 5) {
            const size_t comma = std::min(lines[i].find(u','), lines[i].size());
            lines[i] = u"\"" + lines[i].substr(0, comma) + u"\"" + lines[i].substr(comma) + u",ﾒﾓ";
        }
        dir.WriteLines(file, lines);
    }
}

std::unique_ptr<MasterData> Load(const TempDir& dir)
{
    auto d = std::make_unique<MasterData>();
    const LoadResult r = GetMasterData(*d, dir.Path(), DefaultDataFiles());
    EXPECT_TRUE(r.completed) << (r.messages.empty() ? "" : ToUtf8(r.messages.back()));
    return d;
}

// A folder on a RAM disk where there is one: the sequences write thousands of file sets.
std::string FastTempBase()
{
    std::error_code ec;
    return std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : std::filesystem::temp_directory_path().string();
}

void RunSequences(const TempDir& original, int count, uint32_t firstSeed)
{
    const TempDir work(FastTempBase());
    for (int s = 0; s < count; ++s) {
        const uint32_t seed = firstSeed + static_cast<uint32_t>(s);
        std::string where = "seed " + std::to_string(seed);
        std::filesystem::remove_all(work.Path() + "backup");
        test::CopyFiles(original.Path(), work);
        const auto before = Load(work);
        auto d = std::make_unique<MasterData>(*before);
        Sequence sequence(*d, work.Path(), seed);
        for (int i = 0; i < 20 && !::testing::Test::HasFatalFailure(); ++i)
            sequence.Step();
        const auto after = Load(work);
        where += "\n" + sequence.log();
        const View expected = sequence.model().Expected();
        const View got = ViewOf(*after);
        EXPECT_EQ(Difference(got.lines, expected.lines), "") << where << " lines";
        EXPECT_EQ(Difference(got.colours, expected.colours), "") << where << " colours";
        EXPECT_EQ(Difference(got.ancestors, expected.ancestors), "") << where << " ancestors";
        EXPECT_EQ(Difference(got.stallions, expected.stallions), "") << where << " stallions";
        EXPECT_EQ(Difference(got.mares, expected.mares), "") << where << " mares";
        EXPECT_EQ(Difference(got.nicks, expected.nicks), "") << where << " nicks";
        EXPECT_EQ(Difference(got.cross, expected.cross), "") << where << " cross effects";
        EXPECT_EQ(Difference(got.groups, expected.groups), "") << where << " interesting lines";
        ExpectIndicesInside(*after, where);
        ExpectUnchangedLinesKeepTheirBytes(*before, *after, sequence.removed(), where);
        if (::testing::Test::HasFailure())
            return; // the first failing seed tells enough
    }
}

TEST(EditSequences, OnTheSampleEveryReferenceKeepsItsNameAndUntouchedLinesTheirBytes)
{
    const TempDir sample;
    test::CopyFiles(VELMORA_SAMPLE_DIR, sample);
    AddHandTypedOddities(sample);
    RunSequences(sample, test::Runs(1900), 1000);
}

TEST(EditSequences, OnAFullCapacitySetEveryReferenceKeepsItsNameAndUntouchedLinesTheirBytes)
{
    const TempDir full;
    WriteFullCapacityData(full.Path());
    AddHandTypedOddities(full);
    RunSequences(full, test::Runs(100), 900000);
}

} // namespace
} // namespace velmora
