#include "core/maint/data_editor.h"

#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/fields.h"
#include "core/data/name_fold.h"
#include "core/maint/table_edits.h"
#include "core/pedigree/relative.h"

#include <algorithm>
#include <numeric>
#include <span>

namespace velmora {

namespace {

// A press that cannot go through; its message is shown and nothing changes.
struct Refusal
{
    std::u16string_view message;
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

int PositionIn(const std::vector<std::u16string>& items, std::u16string_view text)
{
    const int i = FindListName(items, text);
    return i < 0 ? 0 : i;
}

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

} // namespace

DataEditor::DataEditor(MasterData& d, std::string dataDir, TDataFiles files, bool& autoFill)
    : m_d(d)
    , m_dataDir(std::move(dataDir))
    , m_files(std::move(files))
    , m_autoFill(autoFill)
{
    m_dad.choices.fill(0);
}

// ---- Pages and lists -------------------------------------------------------------------------------

void DataEditor::EnterPage(EditPage page)
{
    switch (page) {
    case EditPage::Cross:
        for (int k = 1; k < kCrossRows; ++k) {
            m_cross.names[k] = m_d.CrossTable[k].name;
            m_cross.colors[k] = m_d.CrossTable[k].Color;
        }
        m_autoFill = true;
        break;
    case EditPage::Omokei:
        for (int k = 1; k < kOmokeiRows; ++k) {
            m_omokei.names[k] = m_d.OmokeiTable[k].name;
            m_omokei.colors[k] = static_cast<uint32_t>(m_d.OmokeiTable[k].value);
            m_omokei.lbls[k] = m_d.OmokeiTable[k].lbl;
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
    const int32_t o = stallion ? m_d.DadTable[row].Father[static_cast<size_t>(position)]
                               : m_d.MamTable[row].Father[static_cast<size_t>(position - 1)];
    if (o >= 0)
        return m_d.OyaTable[CheckedIndex(o, m_d.OyaCount)].name;
    const KeptHorseNames* kept = KeptRow(&m_kept, stallion, row);
    return kept ? kept->ancestors[static_cast<size_t>(position)] : std::u16string();
}

std::u16string DataEditor::LineText(bool stallion, int row) const
{
    const int32_t k = stallion ? m_d.DadTable[row].keito : m_d.MamTable[row].keito;
    if (const KeptHorseNames* kept = KeptRow(&m_kept, stallion, row); k == -1 && kept)
        return kept->keito;
    return m_d.KeitoTable[CheckedIndex(k, m_d.KeitoCount)].name;
}

std::u16string DataEditor::ColourText(bool stallion, int row) const
{
    const int32_t c = stallion ? m_d.DadTable[row].keiro : m_d.MamTable[row].keiro;
    if (const KeptHorseNames* kept = KeptRow(&m_kept, stallion, row); c == -1 && kept)
        return kept->keiro;
    return CheckedAt(m_d.KeiroTable, c);
}

void DataEditor::ShowHorse(bool stallion, int row)
{
    HorseForm& f = Horse(stallion);
    for (int k = 1; k <= 15; ++k)
        SetField(f, k, AncestorText(stallion, row, k));
    f.keito = LineText(stallion, row);
    f.keiro = ColourText(stallion, row);
    if (stallion) {
        const DadRec& r = m_d.DadTable[row];
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
        f.origin = r.motikomi;
        f.fee = Decimal(r.Fee);
        f.speed = Decimal(r.speed);
        f.stamina = Decimal(r.stamina);
    }
}

void DataEditor::ClearHorse(bool stallion)
{
    HorseForm& f = Horse(stallion);
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
}

void DataEditor::SetHorseName(bool stallion, std::u16string_view name)
{
    Horse(stallion).name = std::u16string(name);
    AutoFillOff off(m_autoFill);
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
    AutoFillOff off(m_autoFill);
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

void DataEditor::ChooseOyaName(std::u16string_view name)
{
    m_oya.name = std::u16string(name);
    const int o = FindOya(m_d, name);
    if (o < 0)
        return;
    const OyaRec& r = m_d.OyaTable[o];
    m_oya.kei = r.keito >= 0 && r.keito < m_d.KeitoCount ? m_d.KeitoTable[r.keito].name : std::u16string();
    m_oya.koka1 = m_d.CrossTable[CheckedIndex(r.a, kCrossRows)].name;
    m_oya.koka2 = m_d.CrossTable[CheckedIndex(r.b, kCrossRows)].name;
}

void DataEditor::SetOyaName(std::u16string_view text)
{
    m_oya.name = std::u16string(text);
    if (!text.empty())
        return;
    m_oya.koka1 = m_d.CrossTable[0].name;
    m_oya.koka2 = m_d.CrossTable[0].name;
    m_oya.kei = m_d.KeitoTable[0].name;
}

void DataEditor::SetKeitoName(std::u16string_view text)
{
    m_keito.name = std::u16string(text);
    const int k = FindKeito(m_d, text);
    m_keito.omo = k < 0 ? std::u16string() : m_d.OmokeiTable[CheckedIndex(m_d.KeitoTable[k].value, kOmokeiRows)].name;
}

// ---- Presses ---------------------------------------------------------------------------------------

PressResult DataEditor::Commit(const std::function<void()>& change, std::initializer_list<DataFileKind> kinds,
                               std::u16string done, bool nameListChanged)
{
    MasterData before = m_d;
    KeptNames keptBefore = m_kept;
    PressResult result;
    try {
        change();
        std::vector<PreparedFile> files;
        for (DataFileKind kind : kinds)
            files.push_back(PrepareDataFile(m_d, m_dataDir, m_files, kind, &m_kept));
        WriteDataFiles(files);
        result.message = std::move(done);
        result.nameListChanged = nameListChanged;
        result.written.assign(kinds.begin(), kinds.end());
        return result;
    } catch (const Refusal& r) {
        result.message = r.message;
    } catch (const VelmoraError& e) {
        result.message = FromUtf8(e.what());
    }
    m_d = std::move(before);
    m_kept = std::move(keptBefore);
    return result;
}

PressResult DataEditor::Register(EditPage page)
{
    m_dataChanged = true;
    switch (page) {
    case EditPage::Mam:
        return RegisterHorse(false);
    case EditPage::Dad:
        return RegisterHorse(true);
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

PressResult DataEditor::Delete(EditPage page, const ConfirmDelete& confirm)
{
    m_dataChanged = true;
    switch (page) {
    case EditPage::Mam:
        return DeleteRow(m_mam.name, FindMam(m_d, m_mam.name), kAskDelete, DataFileKind::Mam, RemoveMamRow, confirm);
    case EditPage::Dad:
        return DeleteRow(m_dad.name, FindDad(m_d, m_dad.name), kAskDelete, DataFileKind::Dad, RemoveDadRow, confirm);
    case EditPage::Oya:
        return DeleteRow(m_oya.name, FindOya(m_d, m_oya.name), kAskDelete, DataFileKind::Oya, RemoveOyaRow, confirm);
    case EditPage::Cross:
        return Message(kMsgCrossNoDelete);
    case EditPage::Keito: {
        const int k = FindKeito(m_d, m_keito.name);
        if (k == 0)
            return Message(kMsgKeitoZero);
        PressResult result = DeleteRow(m_keito.name, k, kAskDeleteLine, DataFileKind::Keito, RemoveKeitoRow, confirm);
        if (result.nameListChanged)
            SetKeitoName({}); // the emptied box empties its group too
        return result;
    }
    case EditPage::Omokei:
        return Message(kMsgOmokeiNoDelete);
    case EditPage::Keiro:
        return DeleteRow(m_keiro, FindListName(m_d.KeiroTable, m_keiro), kAskDelete, DataFileKind::Keiro, RemoveKeiro,
                         confirm);
    }
    return {};
}

PressResult DataEditor::DeleteRow(std::u16string& name, int row, std::u16string_view question, DataFileKind file,
                                  RowRemoval remove, const ConfirmDelete& confirm)
{
    if (row < 0)
        return Message(kMsgNotFound);
    if (!confirm(question))
        return {};
    PressResult result = Commit([&] { remove(m_d, m_kept, row); }, { file }, Joined(name, kMsgDeleted), true);
    if (!result.written.empty())
        name.clear();
    return result;
}

int32_t DataEditor::LineFor(std::u16string& text)
{
    if (text.empty())
        text = kUnregistered;
    const int k = FindKeito(m_d, text);
    if (k >= 0)
        return k;
    if (m_d.KeitoCount >= kKeitoRows)
        throw Refusal { kMsgKeitoFull };
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
    m_d.KeiroTable.push_back(text);
    return static_cast<int32_t>(m_d.KeiroTable.size() - 1);
}

int32_t DataEditor::AncestorFor(std::u16string_view name, int32_t line)
{
    const int o = FindOya(m_d, name);
    if (o >= 0)
        return o;
    if (m_d.OyaCount >= kOyaRows)
        throw Refusal { kMsgOyaFull };
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
    HorseForm& f = m_mam;
    MamRec& r = m_d.MamTable[CheckedIndex(row, kMamRows)];
    r.name = f.name;
    r.motikomi = ShortText(f.origin, ShortTextLimit::Motikomi);
    r.keito = LineFor(f.keito);
    r.keiro = ColourFor(f.keiro);
    r.Fee = ParseIntDef(f.fee, 0);
    r.speed = ParseIntDef(f.speed, 0);
    r.stamina = ParseIntDef(f.stamina, 0);
    StoreAncestors(f, r.Father);
    ClearKept(m_kept, false, row);
}

void DataEditor::FillStallion(int row)
{
    HorseForm& f = m_dad;
    DadRec& r = m_d.DadTable[CheckedIndex(row, kDadRows)];
    r.name = f.name;
    r.birth = ShortText(f.origin, ShortTextLimit::Birth);
    r.keito = LineFor(f.keito);
    r.keiro = ColourFor(f.keiro);
    r.Fee = ParseIntDef(f.fee, 0);
    r.Distance1 = ParseIntDef(f.distance1, 0);
    r.Distance2 = ParseIntDef(f.distance2, 0);
    r.Dirt = ValueOf(kDirtValues, f.choices[kDirt]);
    r.Grow = ValueOf(kGrowItems, f.choices[kGrow]);
    const auto grades = Grades(r);
    for (size_t g = 0; g < grades.size(); ++g)
        *grades[g] = ValueOf(kGradeValues, f.choices[kKisho + g]);
    r.Father[0] = AncestorFor(r.name, r.keito);
    StoreAncestors(f, std::span<int32_t, 16>(r.Father).subspan<1>());
    ClearKept(m_kept, true, row);
}

PressResult DataEditor::RegisterHorse(bool stallion)
{
    HorseForm& f = Horse(stallion);
    if (f.name.empty())
        return Message(kMsgNoName);
    const int found = stallion ? FindDad(m_d, f.name) : FindMam(m_d, f.name);
    int32_t& count = stallion ? m_d.DadCount : m_d.MamCount;
    if (found < 0 && count >= (stallion ? kDadRows : kMamRows))
        return Message(stallion ? kMsgDadFull : kMsgMamFull);
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
        { stallion ? DataFileKind::Dad : DataFileKind::Mam, DataFileKind::Oya },
        Joined(f.name, found < 0 ? kMsgRegistered : kMsgUpdated), found < 0);
    if (!result.written.empty())
        f.fee = Decimal(stallion ? m_d.DadTable[row].Fee : m_d.MamTable[row].Fee);
    return result;
}

PressResult DataEditor::RegisterOya()
{
    if (m_oya.name.empty())
        return Message(kMsgNoName);
    const int found = FindOya(m_d, m_oya.name);
    if (found < 0 && m_d.OyaCount >= kOyaRows)
        return Message(kMsgOyaFull);
    // The boxes select the items their texts name (the first item when none does).
    const std::vector<std::u16string> effects = EffectNames();
    const std::vector<std::u16string> lines = LineNames();
    int32_t a = PositionIn(effects, m_oya.koka1);
    int32_t b = PositionIn(effects, m_oya.koka2);
    const int32_t keito = PositionIn(lines, m_oya.kei);
    m_oya.koka1 = effects[static_cast<size_t>(a)];
    m_oya.koka2 = effects[static_cast<size_t>(b)];
    m_oya.kei = lines[static_cast<size_t>(keito)];
    // A row with one effect holds it in a; two effects are held in ascending order.
    if ((0 < b && b < a) || (a == 0 && b > 0))
        std::swap(a, b);
    const int row = found >= 0 ? found : m_d.OyaCount;
    return Commit(
        [&] {
            OyaRec& r = m_d.OyaTable[CheckedIndex(row, kOyaRows)];
            r.name = m_oya.name;
            r.a = a;
            r.b = b;
            r.keito = keito;
            r.omokei = m_d.KeitoTable[keito].value;
            if (found < 0) {
                r.shitei = 0;
                ++m_d.OyaCount;
            }
        },
        { DataFileKind::Oya }, Joined(m_oya.name, found < 0 ? kMsgRegistered : kMsgUpdated), found < 0);
}

PressResult DataEditor::RegisterCross()
{
    const auto change = [&] {
        for (int k = 1; k < kCrossRows; ++k) {
            m_d.CrossTable[k].name = m_cross.names[static_cast<size_t>(k)];
            m_d.CrossTable[k].Color = m_cross.colors[static_cast<size_t>(k)];
        }
    };
    return Commit(change, { DataFileKind::Cross }, std::u16string(kMsgCrossUpdated), false);
}

PressResult DataEditor::RegisterKeito()
{
    if (m_keito.name.empty())
        return Message(kMsgNoName);
    const int found = FindKeito(m_d, m_keito.name);
    if (found < 0 && m_d.KeitoCount >= kKeitoRows)
        return Message(kMsgKeitoFull);
    const int group = std::max(FindOmokei(m_d, m_keito.omo), 0);
    const int row = found >= 0 ? found : m_d.KeitoCount;
    return Commit(
        [&] {
            KeitoRec& r = m_d.KeitoTable[CheckedIndex(row, kKeitoRows)];
            r.name = m_keito.name;
            r.value = group;
            if (found < 0)
                ++m_d.KeitoCount;
        },
        { DataFileKind::Keito }, Joined(m_keito.name, found < 0 ? kMsgLineAdded : kMsgLineUpdated), found < 0);
}

PressResult DataEditor::RegisterOmokei()
{
    const auto change = [&] {
        for (int k = 1; k < kOmokeiRows; ++k) {
            KeitoRec& r = m_d.OmokeiTable[k];
            r.name = m_omokei.names[static_cast<size_t>(k)];
            r.value = static_cast<int32_t>(m_omokei.colors[static_cast<size_t>(k)]);
            r.lbl = m_omokei.lbls[static_cast<size_t>(k)];
        }
    };
    return Commit(change, { DataFileKind::Omokei }, std::u16string(kMsgOmokeiUpdated), false);
}

PressResult DataEditor::RegisterKeiro()
{
    if (m_keiro.empty())
        return Message(kMsgNoName);
    if (FindListName(m_d.KeiroTable, m_keiro) >= 0)
        return Message(kMsgExists);
    return Commit([&] { m_d.KeiroTable.push_back(m_keiro); }, { DataFileKind::Keiro }, Joined(m_keiro, kMsgColourAdded),
                  true);
}

} // namespace velmora
