#pragma once
// The data editing window without its controls: the texts of its seven pages, what choosing a horse,
// a dam or an ancestor fills in, and what "登録" and "削除" do to the tables and the data files.
//
// Every press changes the tables and writes its files as one step: when a table is full, a text cannot
// be stored or a file cannot be written, the tables and the files stay exactly as they were and the
// press only gives its message. A row removed from a table leaves every other reference to that table
// right (see table_edits.h), so later presses in the same opening write what the files held.

#include "core/maint/data_writers.h"
#include "core/maint/edit_items.h"

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The pages in their order in the window.
enum class EditPage {
    Mam, // 繁殖牝馬
    Dad, // 種牡馬
    Oya, // 祖先馬
    Cross, // クロス効果
    Keito, // 系統
    Omokei, // 面白系統
    Keiro, // 毛色
};

// The texts of a horse page.
struct HorseForm
{
    std::u16string name;
    std::array<std::u16string, 16> sosen; // ancestor fields 1..15 ([0] unused)
    std::u16string dam;
    std::u16string origin; // broodmare: 持込/生産地, stallion: 生産地
    std::u16string keito;
    std::u16string keiro;
    std::u16string fee = u"0"; // broodmare: 基本料, stallion: ★
    std::u16string speed = u"0"; // broodmare only
    std::u16string stamina = u"0"; // broodmare only
    std::u16string distance1 = u"0"; // stallion only
    std::u16string distance2 = u"0"; // stallion only
    std::array<int, kChoiceCount> choices {}; // stallion only: chosen item of each group, -1 = none
};

struct OyaForm
{
    std::u16string name;
    std::u16string koka1; // 効果１, an item of EffectNames
    std::u16string koka2;
    std::u16string kei; // an item of LineNames
};

// The cross-effect and interesting-line pages: rows 1..16 ([0] unused).
struct CrossForm
{
    std::array<std::u16string, 17> names;
    std::array<uint32_t, 17> colors {};
};

struct OmokeiForm
{
    std::array<std::u16string, 17> names;
    std::array<uint32_t, 17> colors {};
    std::array<std::u16string, 17> lbls;
};

struct KeitoForm
{
    std::u16string name;
    std::u16string omo; // the line's interesting-line group
};

// What a press of "登録" or "削除" leads to.
struct PressResult
{
    std::u16string message; // an information box; empty for none
    bool nameListChanged = false; // the page's name list gained or lost a name
    std::vector<DataFileKind> written; // the files rewritten, in order
};

// Asks the user (a "確認" box with OK and Cancel); true for OK.
using ConfirmDelete = std::function<bool(std::u16string_view question)>;

class DataEditor
{
public:
    // Works on d, writing the files named in files into dataDir. autoFill is the run-wide flag that
    // lets a changed ancestor field derive the ancestors behind it.
    DataEditor(MasterData& d, std::string dataDir, TDataFiles files, bool& autoFill);

    // True after any press of "登録" or "削除", whatever its outcome: the window then closes with OK.
    bool DataChanged() const { return m_dataChanged; }
    bool AutoFill() const { return m_autoFill; }

    // The forms. The window writes a control's text straight into its field, except for the fields
    // whose change does more (names, dams, ancestor fields, the ancestor and sire-line names): those go
    // through the calls below.
    HorseForm& Horse(bool stallion) { return stallion ? m_dad : m_mam; }
    OyaForm& Oya() { return m_oya; }
    CrossForm& Cross() { return m_cross; }
    KeitoForm& Keito() { return m_keito; }
    OmokeiForm& Omokei() { return m_omokei; }
    std::u16string& Keiro() { return m_keiro; }

    // A page becomes active: the cross-effect and interesting-line forms show the tables again, and
    // entering the ancestor, cross-effect, sire-line or interesting-line page sets AutoFill.
    void EnterPage(EditPage page);

    // The horse's name changed: a registered horse fills the page, an empty name empties it, a new
    // name leaves it as it is.
    void SetHorseName(bool stallion, std::u16string_view name);
    // The dam's name changed: a registered broodmare fills the dam's side, any other text empties it.
    void SetDam(bool stallion, std::u16string_view name);
    // Ancestor field k (1..15) changed: fields behind it are derived from the known pedigrees.
    void SetAncestor(bool stallion, int k, std::u16string_view text);
    // An item of the floating ancestor list was chosen for field k.
    void ChooseAncestor(bool stallion, int k, std::u16string_view name);

    // The ancestor page: a name chosen from the list shows its line and effects; an emptied name puts
    // them back to their first items; a typed name changes nothing else.
    void ChooseOyaName(std::u16string_view name);
    void SetOyaName(std::u16string_view text);
    // The sire-line page: the line's group follows the name.
    void SetKeitoName(std::u16string_view text);

    PressResult Register(EditPage page);
    // Asks through confirm before anything is removed.
    PressResult Delete(EditPage page, const ConfirmDelete& confirm);

    // The lists of the pages. Sorted lists are ordered as SortNames orders them.
    std::vector<std::u16string> MareNames() const; // sorted
    std::vector<std::u16string> StallionNames() const; // sorted
    std::vector<std::u16string> AncestorNames() const; // sorted
    std::vector<std::u16string> LineNames() const; // KeitoTable rows 0..KeitoCount-1, in table order
    std::vector<std::u16string> SortedLineNames() const;
    std::vector<std::u16string> ColourNames() const; // KeiroTable, in list order
    std::vector<std::u16string> SortedColourNames() const;
    std::vector<std::u16string> EffectNames() const; // CrossTable rows 0..16
    std::vector<std::u16string> GroupNames() const; // OmokeiTable rows 1..16

private:
    void Derive(HorseForm& f, int v);
    void SetField(HorseForm& f, int k, std::u16string text);
    void ShowHorse(bool stallion, int row);
    void ClearHorse(bool stallion);
    std::u16string AncestorText(bool stallion, int row, int position) const;
    std::u16string LineText(bool stallion, int row) const;
    std::u16string ColourText(bool stallion, int row) const;

    PressResult RegisterHorse(bool stallion);
    PressResult RegisterOya();
    PressResult RegisterCross();
    PressResult RegisterKeito();
    PressResult RegisterOmokei();
    PressResult RegisterKeiro();
    // Removes row `row` (found by the page's name box `name`, -1 when not there) after asking, writes
    // its file, and empties the name box.
    using RowRemoval = void (*)(MasterData&, KeptNames&, int);
    PressResult DeleteRow(std::u16string& name, int row, std::u16string_view question, DataFileKind file,
                          RowRemoval remove, const ConfirmDelete& confirm);

    // Filling a horse row from its form; each may refuse (a full table) by throwing.
    void FillMare(int row);
    void FillStallion(int row);
    // Stores ancestor fields 1..15 of f, byPosition[p - 1] taking position p.
    void StoreAncestors(const HorseForm& f, std::span<int32_t, 15> byPosition);
    int32_t LineFor(std::u16string& text);
    int32_t ColourFor(std::u16string& text);
    int32_t AncestorFor(std::u16string_view name, int32_t line);

    // Runs change on the tables and writes the files of kinds: all or nothing. Done, the result carries
    // the message done and nameListChanged; otherwise only the reason, the tables and files left as
    // they were.
    PressResult Commit(const std::function<void()>& change, std::initializer_list<DataFileKind> kinds,
                       std::u16string done, bool nameListChanged);

    MasterData& m_d;
    std::string m_dataDir;
    TDataFiles m_files;
    bool& m_autoFill;
    bool m_dataChanged = false;
    KeptNames m_kept;
    HorseForm m_mam;
    HorseForm m_dad;
    OyaForm m_oya;
    CrossForm m_cross;
    KeitoForm m_keito;
    OmokeiForm m_omokei;
    std::u16string m_keiro;
};

// Orders names for the sorted lists: as full-width katakana (so that a voiced kana follows its plain
// one and katakana run in the order of the syllabary), then by the stored text.
std::vector<std::u16string> SortNames(std::vector<std::u16string> names);

} // namespace velmora
