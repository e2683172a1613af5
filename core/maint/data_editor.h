#pragma once
// The data editing window without its controls: the texts of its seven pages, what choosing a horse,
// a dam or an ancestor fills in, and what "登録" and "削除" do to the tables and the data files.
//
// Every press changes the tables and writes its files as one set (see file_set.h): when a table is full,
// a text or a number cannot be stored or a file cannot be written, the tables, the forms and the files
// stay exactly as they were and the press only gives its message. A press writes every file whose lines
// it changed, and no other: a row nobody changed keeps the bytes its file held, and every reference keeps
// naming the same line, colour, effect or horse (see table_edits.h). Before the first write of an opening
// the nine data files are copied into a backup set (backups.h).

#include "core/maint/data_writers.h"
#include "core/maint/edit_items.h"

#include <array>
#include <functional>
#include <memory>
#include <set>
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
    bool done = false; // the change went through (and its files were written, unless deferred)
    bool nameListChanged = false; // the page's name list gained or lost a name
    std::vector<DataFileKind> written; // the files rewritten, in the order of kEditedFiles
    bool nickFileWritten = false; // nicks naming a deleted sire line were removed from the nick file
};

// Asks the user (a "確認" box with OK and Cancel); true for OK.
using Confirm = std::function<bool(std::u16string_view question)>;

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
    HorseForm& Horse(bool stallion) { return stallion ? m_forms.dad : m_forms.mam; }
    OyaForm& Oya() { return m_forms.oya; }
    CrossForm& Cross() { return m_forms.cross; }
    KeitoForm& Keito() { return m_forms.keito; }
    OmokeiForm& Omokei() { return m_forms.omokei; }
    std::u16string& Keiro() { return m_forms.keiro; }

    // A page becomes active: the cross-effect and interesting-line forms show the tables again, and
    // entering the ancestor, cross-effect, sire-line or interesting-line page sets AutoFill.
    void EnterPage(EditPage page);

    // The horse's name changed: a registered horse fills the page, an empty name empties it, a new
    // name leaves it as it is.
    void SetHorseName(bool stallion, std::u16string_view name);
    // Empties a horse page as an emptied name does, and forgets which horse it showed.
    void ClearHorse(bool stallion);
    // The dam's name changed: a registered broodmare fills the dam's side, any other text empties it.
    void SetDam(bool stallion, std::u16string_view name);
    // Ancestor field k (1..15) changed: fields behind it are derived from the known pedigrees.
    void SetAncestor(bool stallion, int k, std::u16string_view text);
    // An item of the floating ancestor list was chosen for field k.
    void ChooseAncestor(bool stallion, int k, std::u16string_view name);

    // The ancestor page: a name that is an ancestor's (typed or chosen) shows its line and effects; an
    // emptied name puts them back to their first items; a new name changes nothing else.
    void SetOyaName(std::u16string_view text);
    // The sire-line page: the line's group follows the name.
    void SetKeitoName(std::u16string_view text);

    // confirm is asked before a horse page's "登録" replaces a registered horse whose data the page does
    // not show (its name was set without the horse being chosen); without it such a press is refused.
    PressResult Register(EditPage page, const Confirm& confirm = {});
    // Asks through confirm before anything is removed.
    PressResult Delete(EditPage page, const Confirm& confirm);

    // Deferred writing, for a batch of changes that must go to the files all together or not at all:
    // presses change the tables and check that their files could be written, but write nothing until
    // WritePending, which writes every file the batch changed as one set.
    void DeferWrites();
    // The names of the files the deferred presses changed, in the order the loader reads them; with
    // dryRun nothing is written. Throws FileError (nothing written) when the set cannot be written.
    std::vector<std::u16string> WritePending(bool dryRun);

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
    struct Forms
    {
        HorseForm mam;
        HorseForm dad;
        OyaForm oya;
        CrossForm cross;
        KeitoForm keito;
        OmokeiForm omokei;
        std::u16string keiro;
        std::array<std::u16string, 2> shown; // the horse whose stored data each horse page shows
    };

    void Derive(HorseForm& f, int v);
    void SetField(HorseForm& f, int k, std::u16string text);
    void ShowHorse(bool stallion, int row);
    std::u16string AncestorText(bool stallion, int row, int position) const;

    PressResult RegisterHorse(bool stallion, const Confirm& confirm);
    PressResult RegisterOya();
    PressResult RegisterCross();
    PressResult RegisterKeito();
    PressResult RegisterOmokei();
    PressResult RegisterKeiro();
    PressResult DeleteOya(const Confirm& confirm);
    PressResult DeleteKeito(const Confirm& confirm);
    PressResult DeleteKeiro(const Confirm& confirm);
    // Removes row `row` (found by the page's name box `name`, -1 when not there) after asking, and
    // empties the name box.
    using RowRemoval = void (*)(MasterData&, int);
    PressResult DeleteRow(std::u16string& name, int row, std::u16string_view question, RowRemoval remove,
                          const Confirm& confirm);

    // Filling a horse row from its form; each may refuse (a full table, a number that does not fit).
    void FillMare(int row);
    void FillStallion(int row);
    // Stores ancestor fields 1..15 of f, byPosition[p - 1] taking position p.
    void StoreAncestors(const HorseForm& f, std::span<int32_t, 15> byPosition);
    int32_t LineFor(std::u16string& text);
    int32_t ColourFor(std::u16string& text);
    int32_t AncestorFor(std::u16string_view name, int32_t line);

    // Runs change on the tables, then writes every file it changed (and those in forced) as one set:
    // all or nothing. Done, the result carries the message done and nameListChanged; otherwise only the
    // reason, the tables, the forms and the files left as they were.
    PressResult Commit(const std::function<void()>& change, std::initializer_list<DataFileKind> forced,
                       std::u16string done, bool nameListChanged);
    // The files to write for the change from base to the tables now; prepares them, and the nick file
    // without the lines of the removed sire lines.
    std::vector<PreparedFile> Prepare(const MasterData& base, std::vector<SetFile>* extra) const;
    // Copies the data files into a backup set, once per editor.
    void BackUpOnce();

    MasterData& m_d;
    std::string m_dataDir;
    TDataFiles m_files;
    bool& m_autoFill;
    bool m_dataChanged = false;
    bool m_backedUp = false;
    Forms m_forms;
    // What the presses not yet written changed beyond what the tables show: files a page always writes,
    // and sire lines whose nicks leave the nick file. Only deferred writing keeps them past a press.
    std::set<DataFileKind> m_forced;
    std::vector<std::u16string> m_removedLines;
    bool m_deferred = false;
    std::unique_ptr<MasterData> m_pendingBase; // the tables as the files hold them, while deferred
};

// Orders names for the sorted lists: as full-width katakana (so that a voiced kana follows its plain
// one and katakana run in the order of the syllabary), then by the stored text.
std::vector<std::u16string> SortNames(std::vector<std::u16string> names);

} // namespace velmora
