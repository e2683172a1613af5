#include "core/maint/data_editor.h"

#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/fields.h"
#include "core/data/loader.h"
#include "core/data/name_fold.h"
#include "core/data/text_file.h"
#include "core/data/typed_number.h"
#include "core/maint/backups.h"
#include "core/maint/nick_file.h"
#include "core/maint/table_edits.h"
#include "core/pedigree/relative.h"

#include <algorithm>
#include <ctime>
#include <numeric>
#include <span>

namespace velmora {

namespace {

// A press that cannot go through; its message is shown and nothing changes.
struct Refusal
{
    std::u16string message;
};

// The fields of a horse's dam side that choosing the dam fills, from her positions 1..7.
constexpr int kDamSide[7] = { 3, 6, 7, 12, 13, 14, 15 };

// AutoFill stays off while a stored pedigree is copied into the fields, and is on afterwards.
class AutoFillOff
{
public:
    explicit AutoFillOff(bool& flag)
        : m_flag(flag)
    {
        m_flag = false;
    }
    ~AutoFillOff() { m_flag = true; }
    AutoFillOff(const AutoFillOff&) = delete;
    AutoFillOff& operator=(const AutoFillOff&) = delete;

private:
    bool& m_flag;
};

// The first item of a choice group whose text contains the stored value; -1 for none or an empty value.
template <size_t N> int ChoiceOf(const std::array<std::u16string_view, N>& items, std::u16string_view value)
{
    if (value.empty())
        return -1;
    for (size_t i = 0; i < N; ++i)
        if (items[i].find(value) != std::u16string_view::npos)
            return static_cast<int>(i);
    return -1;
}

template <size_t N> std::u16string ValueOf(const std::array<std::u16string_view, N>& values, int choice)
{
    return choice >= 0 && static_cast<size_t>(choice) < N ? std::u16string(values[static_cast<size_t>(choice)])
                                                          : std::u16string();
}

// The five graded attributes of a stallion, in the order of the choice groups kKisho..kAntei.
template <typename Rec> auto Grades(Rec& r)
{
    return std::array { &r.Kisho, &r.Konjo, &r.Kenko, &r.Jisseki, &r.Antei };
}

// The names of rows first..end-1 of a table, in table order.
template <typename Table> std::vector<std::u16string> RowNames(const Table& table, int first, int end)
{
    std::vector<std::u16string> names;
    for (int i = first; i < end; ++i)
        names.push_back(table[static_cast<size_t>(i)].name);
    return names;
}

PressResult Message(std::u16string_view text)
{
    PressResult r;
    r.message = text;
    return r;
}

std::u16string Joined(std::u16string_view name, std::u16string_view message)
{
    std::u16string s(name);
    s += message;
    return s;
}

// An effect or group box's item by its text: the first item (none) for an empty or unknown text, so that a
// blank row of the table is never what an untouched box stores.
int ItemOf(const std::vector<std::u16string>& items, std::u16string_view text)
{
    if (text.empty())
        return 0;
    const int i = FindListName(items, text);
    return i < 0 ? 0 : i;
}

// A number field of a form: full-width digits count, a text that is no number is 0, and a number too large
// for the field is refused with the field's name.
int32_t FormNumber(std::u16string_view text, std::u16string_view label)
{
    int32_t value = 0;
    if (ReadTypedNumber(text, value) == TypedNumber::TooLarge)
        throw Refusal { std::u16string(label) + u"の値「" + std::u16string(text.substr(0, 20)) + u"」は大きすぎます" };
    return value;
}

// "祖先馬2頭、種牡馬1頭" and so on, for the parts that are not 0.
std::u16string UserCounts(const RowUsers& u)
{
    std::u16string s;
    const auto part = [&](std::u16string_view what, int n, std::u16string_view unit) {
        if (n == 0)
            return;
        if (!s.empty())
            s += u"、";
        s += std::u16string(what) + Decimal(n) + std::u16string(unit);
    };
    part(u"祖先馬", u.ancestors, u"頭");
    part(u"種牡馬", u.stallions, u"頭");
    part(u"繁殖牝馬", u.mares, u"頭");
    part(u"ニックス", u.nicks, u"件");
    return s;
}

} // namespace

DataEditor::DataEditor(MasterData& d, std::string dataDir, TDataFiles files, bool& autoFill)
    : m_d(d)
    , m_dataDir(std::move(dataDir))
    , m_files(std::move(files))
    , m_autoFill(autoFill)
{
    m_forms.dad.choices.fill(0);
    // The effect and line boxes of the ancestor page start on their first items (no effect, no line).
    SetOyaName({});
}

// ---- Pages and lists -------------------------------------------------------------------------------

void DataEditor::EnterPage(EditPage page)
{
    switch (page) {
    case EditPage::Cross:
        for (int k = 1; k < kCrossRows; ++k) {
            m_forms.cross.names[k] = m_d.CrossTable[k].name;
            m_forms.cross.colors[k] = m_d.CrossTable[k].Color;
        }
        m_autoFill = true;
        break;
    case EditPage::Omokei:
        for (int k = 1; k < kOmokeiRows; ++k) {
            m_forms.omokei.names[k] = m_d.OmokeiTable[k].name;
            m_forms.omokei.colors[k] = static_cast<uint32_t>(m_d.OmokeiTable[k].value);
            m_forms.omokei.lbls[k] = m_d.OmokeiTable[k].lbl;
        }
        m_autoFill = true;
        break;
    case EditPage::Oya:
    case EditPage::Keito:
        m_autoFill = true;
        break;
    case EditPage::Mam:
    case EditPage::Dad:
    case EditPage::Keiro:
        break;
    }
}

std::vector<std::u16string> SortNames(std::vector<std::u16string> names)
{
    std::vector<std::u16string> keys;
    keys.reserve(names.size());
    for (const auto& n : names)
        keys.push_back(ToFullWidth(n));
    std::vector<size_t> order(names.size());
    std::iota(order.begin(), order.end(), size_t { 0 });
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (keys[a] != keys[b])
            return keys[a] < keys[b];
        return names[a] < names[b];
    });
    std::vector<std::u16string> sorted;
    sorted.reserve(names.size());
    for (size_t i : order)
        sorted.push_back(std::move(names[i]));
    return sorted;
}

std::vector<std::u16string> DataEditor::MareNames() const
{
    return SortNames(RowNames(m_d.MamTable, 0, m_d.MamCount));
}

std::vector<std::u16string> DataEditor::StallionNames() const
{
    return SortNames(RowNames(m_d.DadTable, 0, m_d.DadCount));
}

std::vector<std::u16string> DataEditor::AncestorNames() const
{
    return SortNames(RowNames(m_d.OyaTable, 0, m_d.OyaCount));
}

std::vector<std::u16string> DataEditor::LineNames() const
{
    return RowNames(m_d.KeitoTable, 0, m_d.KeitoCount);
}

std::vector<std::u16string> DataEditor::SortedLineNames() const
{
    return SortNames(LineNames());
}

std::vector<std::u16string> DataEditor::ColourNames() const
{
    return m_d.KeiroTable;
}

std::vector<std::u16string> DataEditor::SortedColourNames() const
{
    return SortNames(m_d.KeiroTable);
}

std::vector<std::u16string> DataEditor::EffectNames() const
{
    return RowNames(m_d.CrossTable, 0, kCrossRows);
}

std::vector<std::u16string> DataEditor::GroupNames() const
{
    return RowNames(m_d.OmokeiTable, 1, kOmokeiRows);
}

// ---- Horse pages -----------------------------------------------------------------------------------

void DataEditor::SetField(HorseForm& f, int k, std::u16string text)
{
    if (f.sosen[static_cast<size_t>(k)] == text)
        return;
    f.sosen[static_cast<size_t>(k)] = std::move(text);
    Derive(f, k);
}

void DataEditor::Derive(HorseForm& f, int v)
{
    if (v > 7)
        return;
    const std::u16string text = f.sosen[static_cast<size_t>(v)];
    auto step = [&](int target, RelativeKind kind) {
        if (text.empty())
            SetField(f, target, {});
        else if (m_autoFill) {
            const int o = FindRelative(m_d, text, kind);
            SetField(f, target, o < 0 ? std::u16string() : m_d.OyaTable[CheckedIndex(o, m_d.OyaCount)].name);
        }
    };
    if (v == 1)
        step(11, RelativeKind::SecondDamSire);
    if (v <= 3)
        step(4 * v + 1, RelativeKind::DamSire);
    step(2 * v, RelativeKind::Sire);
}

std::u16string DataEditor::AncestorText(bool stallion, int row, int position) const
{
    if (stallion)
        return std::u16string(AncestorNameOf(m_d, m_d.DadTable[row].Father[static_cast<size_t>(position)],
                                             m_d.DadTable[row].Unknown, position));
    return std::u16string(AncestorNameOf(m_d, m_d.MamTable[row].Father[static_cast<size_t>(position - 1)],
                                         m_d.MamTable[row].Unknown, position));
}

void DataEditor::ShowHorse(bool stallion, int row)
{
    HorseForm& f = Horse(stallion);
    for (int k = 1; k <= 15; ++k)
        SetField(f, k, AncestorText(stallion, row, k));
    if (stallion) {
        const DadRec& r = m_d.DadTable[row];
        f.keito = m_d.KeitoTable[CheckedIndex(r.keito, m_d.KeitoCount)].name;
        f.keiro = CheckedAt(m_d.KeiroTable, r.keiro);
        f.origin = r.birth;
        f.fee = Decimal(r.Fee);
        f.distance1 = Decimal(r.Distance1);
        f.distance2 = Decimal(r.Distance2);
        f.choices[kDirt] = ChoiceOf(kDirtItems, r.Dirt);
        f.choices[kGrow] = ChoiceOf(kGrowItems, r.Grow);
        const auto grades = Grades(r);
        for (size_t g = 0; g < grades.size(); ++g)
            f.choices[kKisho + g] = ChoiceOf(kGradeItems, *grades[g]);
    } else {
        const MamRec& r = m_d.MamTable[row];
        f.keito = m_d.KeitoTable[CheckedIndex(r.keito, m_d.KeitoCount)].name;
        f.keiro = CheckedAt(m_d.KeiroTable, r.keiro);
        f.origin = r.motikomi;
        f.fee = Decimal(r.Fee);
        f.speed = Decimal(r.speed);
        f.stamina = Decimal(r.stamina);
    }
    m_forms.shown[stallion] = f.name;
}

void DataEditor::ClearHorse(bool stallion)
{
    HorseForm& f = Horse(stallion);
    const AutoFillOff off(m_autoFill);
    for (int k : { 1, 3, 7, 15 })
        SetField(f, k, {});
    f.origin.clear();
    f.keito.clear();
    f.keiro.clear();
    f.fee = u"0";
    if (stallion) {
        f.distance1 = u"0";
        f.distance2 = u"0";
        f.choices.fill(0);
    } else {
        f.speed = u"0";
        f.stamina = u"0";
    }
    m_forms.shown[stallion].clear();
}

void DataEditor::SetHorseName(bool stallion, std::u16string_view name)
{
    Horse(stallion).name = std::u16string(name);
    const AutoFillOff off(m_autoFill);
    const int row = stallion ? FindDad(m_d, name) : FindMam(m_d, name);
    if (row >= 0)
        ShowHorse(stallion, row);
    else if (name.empty())
        ClearHorse(stallion);
}

void DataEditor::SetDam(bool stallion, std::u16string_view name)
{
    HorseForm& f = Horse(stallion);
    f.dam = std::u16string(name);
    const AutoFillOff off(m_autoFill);
    const int dam = FindMam(m_d, name);
    if (dam >= 0) {
        for (int p = 1; p <= 7; ++p)
            SetField(f, kDamSide[p - 1], AncestorText(false, dam, p));
    } else {
        for (int k : { 3, 7, 15 })
            SetField(f, k, {});
    }
}

void DataEditor::SetAncestor(bool stallion, int k, std::u16string_view text)
{
    if (k < 1 || k > 15)
        throw RangeError();
    SetField(Horse(stallion), k, std::u16string(text));
}

void DataEditor::ChooseAncestor(bool stallion, int k, std::u16string_view name)
{
    m_autoFill = true;
    SetAncestor(stallion, k, name);
}

// ---- Ancestor and sire-line names ------------------------------------------------------------------

void DataEditor::SetOyaName(std::u16string_view text)
{
    OyaForm& f = m_forms.oya;
    f.name = std::u16string(text);
    const int o = text.empty() ? -1 : FindOya(m_d, text);
    if (o >= 0) {
        // A name that is an ancestor's shows what is stored for it, typed or chosen alike, so that "登録"
        // never stores values the user did not see.
        const OyaRec& r = m_d.OyaTable[o];
        f.kei = r.keito >= 0 && r.keito < m_d.KeitoCount ? m_d.KeitoTable[r.keito].name : m_d.KeitoTable[0].name;
        f.koka1 = m_d.CrossTable[CheckedIndex(r.a, kCrossRows)].name;
        f.koka2 = m_d.CrossTable[CheckedIndex(r.b, kCrossRows)].name;
    } else if (text.empty()) {
        f.koka1 = m_d.CrossTable[0].name;
        f.koka2 = m_d.CrossTable[0].name;
        f.kei = m_d.KeitoTable[0].name;
    }
}

void DataEditor::SetKeitoName(std::u16string_view text)
{
    m_forms.keito.name = std::u16string(text);
    const int k = FindKeito(m_d, text);
    m_forms.keito.omo
        = k < 0 ? std::u16string() : m_d.OmokeiTable[CheckedIndex(m_d.KeitoTable[k].value, kOmokeiRows)].name;
}

// ---- Writing ---------------------------------------------------------------------------------------

namespace {

// Whether the names of rows [0, count of a) are the same in b, b having at least as many rows: then
// every index into the table that a holds names the same thing in b.
template <typename Table> bool SamePrefix(const Table& a, int32_t countA, const Table& b, int32_t countB)
{
    if (countB < countA)
        return false;
    for (int32_t i = 0; i < countA; ++i)
        if (a[static_cast<size_t>(i)].name != b[static_cast<size_t>(i)].name)
            return false;
    return true;
}

template <typename Row, typename Same>
bool SameRows(const std::vector<Row>& a, const std::vector<Row>& b, int32_t first, int32_t end, Same&& same)
{
    for (int32_t i = first; i < end; ++i)
        if (!same(a[static_cast<size_t>(i)], b[static_cast<size_t>(i)]))
            return false;
    return true;
}

// Whether the lines a kind of file would hold differ between two states of the tables. The tables are
// compared first; the lines are built only where references may have moved.
bool LinesDiffer(const MasterData& a, const MasterData& b, DataFileKind kind)
{
    const auto same = [](const auto& x, const auto& y) { return x == y; };
    switch (kind) {
    case DataFileKind::Omokei:
        return !SameRows(a.OmokeiTable, b.OmokeiTable, 1, kOmokeiRows, same);
    case DataFileKind::Cross:
        return !SameRows(a.CrossTable, b.CrossTable, 1, kCrossRows,
                         [](const TCrossRec& x, const TCrossRec& y) { return x.name == y.name && x.Color == y.Color; });
    case DataFileKind::Keito:
        return a.KeitoCount != b.KeitoCount || !SameRows(a.KeitoTable, b.KeitoTable, 1, a.KeitoCount, same);
    case DataFileKind::Keiro:
        return a.KeiroTable != b.KeiroTable;
    case DataFileKind::Oya:
        return a.OyaCount != b.OyaCount
            || !SameRows(a.OyaTable, b.OyaTable, 0, a.OyaCount, [](const OyaRec& x, const OyaRec& y) {
                   return x.name == y.name && x.a == y.a && x.b == y.b && x.keito == y.keito;
               });
    case DataFileKind::Dad:
    case DataFileKind::Mam: {
        const bool dad = kind == DataFileKind::Dad;
        const bool sameRows = dad ? a.DadCount == b.DadCount && SameRows(a.DadTable, b.DadTable, 0, a.DadCount, same)
                                  : a.MamCount == b.MamCount && SameRows(a.MamTable, b.MamTable, 0, a.MamCount, same);
        const bool sameNames = SamePrefix(a.OyaTable, a.OyaCount, b.OyaTable, b.OyaCount)
            && SamePrefix(a.KeitoTable, a.KeitoCount, b.KeitoTable, b.KeitoCount)
            && b.KeiroTable.size() >= a.KeiroTable.size()
            && std::equal(a.KeiroTable.begin(), a.KeiroTable.end(), b.KeiroTable.begin());
        if (sameNames)
            return !sameRows;
        break; // rows of the tables they name moved: compare what the lines say
    }
    }
    try {
        return FileLines(a, kind) != FileLines(b, kind);
    } catch (const VelmoraError&) {
        return true; // preparing the file reports the text that cannot be written
    }
}

// The highest sire line among the ancestor rows the ancestor file will get afresh (the others keep the
// numbers their file lines hold, which the loader found inside the sire-line file).
int32_t HighestLineWrittenAfresh(const MasterData& d)
{
    int32_t highest = 0;
    std::string_view raw;
    for (int i = 0; i < d.OyaCount; ++i)
        if (d.OyaTable[i].keito > highest
            && !d.Sources.oya.SameAs(static_cast<size_t>(i), OyaFileLine(d.OyaTable[i]), &raw))
            highest = d.OyaTable[i].keito;
    return highest;
}

} // namespace

std::vector<PreparedFile> DataEditor::Prepare(const MasterData& base, std::vector<SetFile>* extra) const
{
    std::vector<DataFileKind> kinds;
    for (const DataFileKind kind : kEditedFiles)
        if (m_forced.count(kind) || LinesDiffer(base, m_d, kind))
            kinds.push_back(kind);
    // The ancestor file names sire lines by number: every line it names must be in the sire-line file,
    // lines the loader met only in the horse files included.
    const bool oya = std::find(kinds.begin(), kinds.end(), DataFileKind::Oya) != kinds.end();
    const bool keito = std::find(kinds.begin(), kinds.end(), DataFileKind::Keito) != kinds.end();
    const int32_t linesInFile = static_cast<int32_t>(std::max<size_t>(base.Sources.keito.rows.size(), 1) - 1);
    if (oya && !keito && HighestLineWrittenAfresh(m_d) > linesInFile)
        kinds.insert(std::find(kinds.begin(), kinds.end(), DataFileKind::Keiro), DataFileKind::Keito);

    std::vector<PreparedFile> files;
    for (const DataFileKind kind : kinds)
        files.push_back(PrepareDataFile(m_d, m_dataDir, m_files, kind));
    if (!m_removedLines.empty()) {
        const std::string path = DataFilePath(m_dataDir, m_files.Nix);
        int removed = 0;
        std::string bytes = NickFileWithout(ReadFileBytes(path), m_removedLines, &removed);
        if (removed > 0)
            extra->push_back({ path, std::move(bytes) });
    }
    return files;
}

void DataEditor::BackUpOnce()
{
    if (m_backedUp)
        return;
    try {
        MakeBackup(m_dataDir, m_files, std::time(nullptr));
    } catch (const VelmoraError& e) {
        throw Refusal { std::u16string(kMsgNoBackup) + FromUtf8(e.what()) };
    }
    m_backedUp = true;
}

PressResult DataEditor::Commit(const std::function<void()>& change, std::initializer_list<DataFileKind> forced,
                               std::u16string done, bool nameListChanged)
{
    MasterData before = m_d;
    const Forms formsBefore = m_forms;
    const auto forcedBefore = m_forced;
    const auto removedBefore = m_removedLines;
    PressResult result;
    try {
        change();
        m_forced.insert(forced.begin(), forced.end());
        std::vector<SetFile> extra;
        std::vector<PreparedFile> files = Prepare(m_deferred ? *m_pendingBase : before, &extra);
        for (const PreparedFile& f : files)
            result.written.push_back(f.kind);
        result.nickFileWritten = !extra.empty();
        result.message = std::move(done);
        if (!m_deferred) {
            if (!files.empty() || !extra.empty()) {
                BackUpOnce();
                const std::vector<std::string> linksDropped
                    = WriteDataFiles(m_d, m_dataDir, std::move(files), std::move(extra));
                for (const std::string& path : linksDropped)
                    result.message += u"\r\n" + OtherNamesKeptMessage(path);
            }
            m_forced.clear();
            m_removedLines.clear();
        }
        result.done = true;
        result.nameListChanged = nameListChanged;
        return result;
    } catch (const Refusal& r) {
        result = Message(r.message);
    } catch (const VelmoraError& e) {
        result = Message(FromUtf8(e.what()));
    }
    m_d = std::move(before);
    m_forms = formsBefore;
    m_forced = forcedBefore;
    m_removedLines = removedBefore;
    return result;
}

void DataEditor::DeferWrites()
{
    m_deferred = true;
    m_pendingBase = std::make_unique<MasterData>(m_d);
}

std::vector<std::u16string> DataEditor::WritePending(bool dryRun)
{
    if (!m_deferred)
        return {};
    std::vector<SetFile> extra;
    std::vector<PreparedFile> files = Prepare(*m_pendingBase, &extra);
    std::vector<std::u16string> names;
    for (const PreparedFile& f : files)
        names.push_back(FileNameOf(m_files, f.kind));
    if (!extra.empty())
        names.push_back(m_files.Nix);
    if (!dryRun && !names.empty()) {
        try {
            BackUpOnce();
        } catch (const Refusal& r) {
            throw FileError(ToUtf8(r.message));
        }
        WriteDataFiles(m_d, m_dataDir, std::move(files), std::move(extra));
        m_forced.clear();
        m_removedLines.clear();
        *m_pendingBase = m_d;
    }
    return names;
}

// ---- Presses ---------------------------------------------------------------------------------------

PressResult DataEditor::Register(EditPage page, const Confirm& confirm)
{
    m_dataChanged = true;
    switch (page) {
    case EditPage::Mam:
        return RegisterHorse(false, confirm);
    case EditPage::Dad:
        return RegisterHorse(true, confirm);
    case EditPage::Oya:
        return RegisterOya();
    case EditPage::Cross:
        return RegisterCross();
    case EditPage::Keito:
        return RegisterKeito();
    case EditPage::Omokei:
        return RegisterOmokei();
    case EditPage::Keiro:
        return RegisterKeiro();
    }
    return {};
}

PressResult DataEditor::Delete(EditPage page, const Confirm& confirm)
{
    m_dataChanged = true;
    switch (page) {
    case EditPage::Mam:
        return DeleteRow(m_forms.mam.name, FindMam(m_d, m_forms.mam.name), kAskDelete, RemoveMamRow, confirm);
    case EditPage::Dad:
        return DeleteRow(m_forms.dad.name, FindDad(m_d, m_forms.dad.name), kAskDelete, RemoveDadRow, confirm);
    case EditPage::Oya:
        return DeleteOya(confirm);
    case EditPage::Cross:
        return Message(kMsgCrossNoDelete);
    case EditPage::Keito:
        return DeleteKeito(confirm);
    case EditPage::Omokei:
        return Message(kMsgOmokeiNoDelete);
    case EditPage::Keiro:
        return DeleteKeiro(confirm);
    }
    return {};
}

PressResult DataEditor::DeleteRow(std::u16string& name, int row, std::u16string_view question, RowRemoval remove,
                                  const Confirm& confirm)
{
    if (row < 0)
        return Message(kMsgNotFound);
    if (!confirm(question))
        return {};
    const std::u16string deleted = name;
    PressResult result = Commit([&] { remove(m_d, row); }, {}, Joined(deleted, kMsgDeleted), true);
    if (result.done)
        name.clear();
    return result;
}

PressResult DataEditor::DeleteOya(const Confirm& confirm)
{
    const int o = FindOya(m_d, m_forms.oya.name);
    std::u16string question(kAskDelete);
    if (const RowUsers users = o < 0 ? RowUsers {} : OyaUsers(m_d, o); users.Horses() > 0)
        question = m_forms.oya.name + u"は" + Decimal(users.Horses()) + std::u16string(kMsgKeptInPedigrees) + u"\r\n"
            + std::u16string(kAskDelete);
    PressResult result = DeleteRow(m_forms.oya.name, o, question, RemoveOyaRow, confirm);
    if (result.done)
        SetOyaName({}); // the effect and line boxes go back to their first items with the emptied name
    return result;
}

PressResult DataEditor::DeleteKeito(const Confirm& confirm)
{
    const std::u16string name = m_forms.keito.name;
    const int k = FindKeito(m_d, name);
    if (k == 0)
        return Message(kMsgKeitoZero);
    if (k < 0)
        return Message(kMsgNotFound);
    // Every other line keeps its number's meaning: the ancestor file is renumbered in the same write.
    std::u16string question(kAskDelete);
    if (const RowUsers users = KeitoUsers(m_d, k); users.Any()) {
        question = name + u"を使っているもの: " + UserCounts(users) + u"\r\n";
        if (users.ancestors + users.Horses() > 0)
            question += std::u16string(kMsgLineBecomesNone);
        if (users.nicks > 0)
            question += u"この系統のニックスは削除します。";
        question += u"\r\n" + std::u16string(kAskAnyway);
    }
    if (!confirm(question))
        return {};
    PressResult result = Commit(
        [&] {
            RemoveKeitoRow(m_d, k);
            m_removedLines.push_back(name);
        },
        {}, Joined(name, kMsgDeleted), true);
    if (result.done)
        SetKeitoName({}); // the emptied box empties its group too
    return result;
}

PressResult DataEditor::DeleteKeiro(const Confirm& confirm)
{
    const int i = FindListName(m_d.KeiroTable, m_forms.keiro);
    if (i < 0)
        return Message(kMsgNotFound);
    if (const RowUsers users = KeiroUsers(m_d, i); users.Horses() > 0)
        return Message(m_forms.keiro + u"は" + Decimal(users.Horses()) + std::u16string(kMsgColourInUse));
    return DeleteRow(m_forms.keiro, i, kAskDelete, RemoveKeiro, confirm);
}

int32_t DataEditor::LineFor(std::u16string& text)
{
    if (text.empty())
        text = kUnregistered;
    const int k = FindKeito(m_d, text);
    if (k >= 0)
        return k;
    if (m_d.KeitoCount >= kKeitoRows)
        throw Refusal { std::u16string(kMsgKeitoFull) };
    KeitoRec& r = m_d.KeitoTable[m_d.KeitoCount];
    r = KeitoRec {};
    r.name = text;
    return m_d.KeitoCount++;
}

int32_t DataEditor::ColourFor(std::u16string& text)
{
    if (text.empty())
        text = kUnregistered;
    const int c = FindListName(m_d.KeiroTable, text);
    if (c >= 0)
        return c;
    if (m_d.KeiroTable.size() >= kKeiroRows)
        throw Refusal { std::u16string(kMsgKeiroFull) };
    m_d.KeiroTable.push_back(text);
    return static_cast<int32_t>(m_d.KeiroTable.size() - 1);
}

int32_t DataEditor::AncestorFor(std::u16string_view name, int32_t line)
{
    const int o = FindOya(m_d, name);
    if (o >= 0)
        return o;
    if (m_d.OyaCount >= kOyaRows)
        throw Refusal { std::u16string(kMsgOyaFull) };
    return AddOya(m_d, name, line, 0, 0);
}

void DataEditor::StoreAncestors(const HorseForm& f, std::span<int32_t, 15> byPosition)
{
    // From the back, so that a new ancestor takes the line of his sire (position 2k), stored just before him.
    for (int k = 15; k >= 1; --k) {
        int32_t line = 0;
        if (k < 8) {
            const int32_t sire = byPosition[static_cast<size_t>(2 * k - 1)];
            line = sire >= 0 ? m_d.OyaTable[CheckedIndex(sire, m_d.OyaCount)].keito : 0;
        }
        const std::u16string& text = f.sosen[static_cast<size_t>(k)];
        byPosition[static_cast<size_t>(k - 1)] = AncestorFor(text.empty() ? kUnregistered : text, line);
    }
}

void DataEditor::FillMare(int row)
{
    HorseForm& f = m_forms.mam;
    MamRec& r = m_d.MamTable[CheckedIndex(row, kMamRows)];
    r.name = f.name;
    r.motikomi = ShortText(f.origin, ShortTextLimit::Motikomi);
    r.keito = LineFor(f.keito);
    r.keiro = ColourFor(f.keiro);
    r.Fee = FormNumber(f.fee, u"基本料");
    r.speed = FormNumber(f.speed, u"スピード");
    r.stamina = FormNumber(f.stamina, u"スタミナ");
    r.Unknown.clear();
    StoreAncestors(f, r.Father);
}

void DataEditor::FillStallion(int row)
{
    HorseForm& f = m_forms.dad;
    DadRec& r = m_d.DadTable[CheckedIndex(row, kDadRows)];
    r.name = f.name;
    r.birth = ShortText(f.origin, ShortTextLimit::Birth);
    r.keito = LineFor(f.keito);
    r.keiro = ColourFor(f.keiro);
    r.Fee = FormNumber(f.fee, u"★");
    r.Distance1 = FormNumber(f.distance1, u"距離適性");
    r.Distance2 = FormNumber(f.distance2, u"距離適性");
    r.Dirt = ValueOf(kDirtValues, f.choices[kDirt]);
    r.Grow = ValueOf(kGrowItems, f.choices[kGrow]);
    const auto grades = Grades(r);
    for (size_t g = 0; g < grades.size(); ++g)
        *grades[g] = ValueOf(kGradeValues, f.choices[kKisho + g]);
    r.Father[0] = AncestorFor(r.name, r.keito);
    r.Unknown.clear();
    StoreAncestors(f, std::span<int32_t, 16>(r.Father).subspan<1>());
}

PressResult DataEditor::RegisterHorse(bool stallion, const Confirm& confirm)
{
    HorseForm& f = Horse(stallion);
    if (f.name.empty())
        return Message(kMsgNoName);
    const int found = stallion ? FindDad(m_d, f.name) : FindMam(m_d, f.name);
    int32_t& count = stallion ? m_d.DadCount : m_d.MamCount;
    if (found < 0 && count >= (stallion ? kDadRows : kMamRows))
        return Message(stallion ? kMsgDadFull : kMsgMamFull);
    // A registered horse is replaced only with what the page showed of it, or when the user says so.
    if (found >= 0 && m_forms.shown[stallion] != f.name && !(confirm && confirm(Joined(f.name, kAskReplace))))
        return {};
    const int row = found >= 0 ? found : count;
    PressResult result = Commit(
        [&] {
            if (stallion)
                FillStallion(row);
            else
                FillMare(row);
            if (found < 0) {
                if (stallion)
                    m_d.DadTable[row].Selected = 1;
                else
                    m_d.MamTable[row].Selected = true;
                ++count;
            }
        },
        {}, Joined(f.name, found < 0 ? kMsgRegistered : kMsgUpdated), found < 0);
    if (result.done) {
        f.fee = Decimal(stallion ? m_d.DadTable[row].Fee : m_d.MamTable[row].Fee);
        m_forms.shown[stallion] = f.name;
    }
    return result;
}

PressResult DataEditor::RegisterOya()
{
    OyaForm& f = m_forms.oya;
    if (f.name.empty())
        return Message(kMsgNoName);
    const int found = FindOya(m_d, f.name);
    if (found < 0 && m_d.OyaCount >= kOyaRows)
        return Message(kMsgOyaFull);
    // The boxes select the items their texts name (the first item when none does).
    const std::vector<std::u16string> effects = EffectNames();
    const std::vector<std::u16string> lines = LineNames();
    int32_t a = ItemOf(effects, f.koka1);
    int32_t b = ItemOf(effects, f.koka2);
    const int32_t keito = ItemOf(lines, f.kei);
    f.koka1 = effects[static_cast<size_t>(a)];
    f.koka2 = effects[static_cast<size_t>(b)];
    f.kei = lines[static_cast<size_t>(keito)];
    // A row with one effect holds it in a; two effects are held in ascending order.
    if ((0 < b && b < a) || (a == 0 && b > 0))
        std::swap(a, b);
    const int row = found >= 0 ? found : m_d.OyaCount;
    return Commit(
        [&] {
            OyaRec& r = m_d.OyaTable[CheckedIndex(row, kOyaRows)];
            r.name = f.name;
            r.a = a;
            r.b = b;
            r.keito = keito;
            r.omokei = m_d.KeitoTable[keito].value;
            if (found < 0) {
                r.shitei = 0;
                ++m_d.OyaCount;
            }
            // A line the loader filled in is stored once the user has seen it and pressed "登録".
            FileSource& source = m_d.Sources.oya;
            if (static_cast<size_t>(row) < source.rows.size()
                && StoredOyaLine(source, static_cast<size_t>(row)) != keito) {
                source.rows[static_cast<size_t>(row)].written.clear();
                m_forced.insert(DataFileKind::Oya);
            }
        },
        {}, Joined(f.name, found < 0 ? kMsgRegistered : kMsgUpdated), found < 0);
}

PressResult DataEditor::RegisterCross()
{
    const auto change = [&] {
        for (int k = 1; k < kCrossRows; ++k) {
            m_d.CrossTable[k].name = m_forms.cross.names[static_cast<size_t>(k)];
            m_d.CrossTable[k].Color = m_forms.cross.colors[static_cast<size_t>(k)];
        }
    };
    return Commit(change, { DataFileKind::Cross }, std::u16string(kMsgCrossUpdated), false);
}

PressResult DataEditor::RegisterKeito()
{
    KeitoForm& f = m_forms.keito;
    if (f.name.empty())
        return Message(kMsgNoName);
    const int found = FindKeito(m_d, f.name);
    if (found == 0)
        return Message(kMsgKeitoZeroRegister);
    if (found < 0 && m_d.KeitoCount >= kKeitoRows)
        return Message(kMsgKeitoFull);
    const int group = f.omo.empty() ? 0 : std::max(FindOmokei(m_d, f.omo), 0);
    const int row = found >= 0 ? found : m_d.KeitoCount;
    return Commit(
        [&] {
            KeitoRec& r = m_d.KeitoTable[CheckedIndex(row, kKeitoRows)];
            r.name = f.name;
            r.value = group;
            if (found < 0)
                ++m_d.KeitoCount;
        },
        {}, Joined(f.name, found < 0 ? kMsgLineAdded : kMsgLineUpdated), found < 0);
}

PressResult DataEditor::RegisterOmokei()
{
    const auto change = [&] {
        for (int k = 1; k < kOmokeiRows; ++k) {
            KeitoRec& r = m_d.OmokeiTable[k];
            r.name = m_forms.omokei.names[static_cast<size_t>(k)];
            r.value = static_cast<int32_t>(m_forms.omokei.colors[static_cast<size_t>(k)]);
            r.lbl = m_forms.omokei.lbls[static_cast<size_t>(k)];
        }
    };
    return Commit(change, { DataFileKind::Omokei }, std::u16string(kMsgOmokeiUpdated), false);
}

PressResult DataEditor::RegisterKeiro()
{
    const std::u16string& name = m_forms.keiro;
    if (name.empty())
        return Message(kMsgNoName);
    if (FindListName(m_d.KeiroTable, name) >= 0)
        return Message(kMsgExists);
    if (m_d.KeiroTable.size() >= kKeiroRows)
        return Message(kMsgKeiroFull);
    return Commit([&] { m_d.KeiroTable.push_back(name); }, {}, Joined(name, kMsgColourAdded), true);
}

} // namespace velmora
