#pragma once
// The conditions of the strongest-mating search (Dravik): the stallion, mating and foal conditions of
// each generation, the broodmare conditions, the ancestor marks, and the window-free steps of the
// conditions window that turn them into candidate marks (DadRec.Selected bit g-1, MamRec.Selected),
// candidate counts and the estimated number of leaves.

#include "core/data/master_data.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::search {

constexpr int kMaxGenerations = 4;
constexpr int kEffects = 16; // cross effects 1..16; element 0 of the per-effect arrays is unused

// Stallion conditions (種牡馬の条件) of one generation. Arrays are indexed from 1 as the boxes are
// numbered; element 0 is unused.
struct DadJokenRec
{
    int32_t Star = 1; // least star rank: Fee >= Star
    int32_t Dis1 = 1000; // Distance1 >= Dis1
    int32_t Dis2 = 3600; // Distance2 <= Dis2
    std::array<bool, 4> Dirt { false, true, true, true }; // ◎ ○ △ allowed
    std::array<bool, 5> Grow { false, true, true, true, true }; // 早熟 普通 晩成 持続 allowed
    std::array<bool, 4> Kisho { false, true, true, true }; // A B C allowed
    std::array<bool, 4> Konjo { false, true, true, true };
    std::array<bool, 4> Kenko { false, true, true, true };
    std::array<bool, 4> Jisseki { false, true, true, true };
    std::array<bool, 4> Antei { false, true, true, true };
};

// Mating conditions (配合条件) of one generation. Three-state settings: 0 = must not be, 1 = must be,
// 2 = not tested.
struct HaigoJokenRec
{
    int32_t NixBase = 0; // least nick value; 0 = no nick test
    uint8_t Omo = 2; // interesting mating
    uint8_t Mig = 2; // splendid mating
    uint8_t Yok = 2; // well-made mating
    uint8_t Outb = 2; // outbreeding: 1 = no counted cross; 0 and 2 impose nothing
    uint8_t Kiken = 1; // 1 = exclude close relation and seven or more counted crosses
    int32_t MamNiKoka = -1; // dam likeness: -1 no condition, 0 none may occur, k = effect k must occur
    int32_t DadNiKoka = -1; // sire likeness, same coding
    std::array<int32_t, 17> Crs {}; // bound on the counted crosses per effect
    std::array<bool, 17> Ud { false, true, true, true, true, true, true, true, true,
                              true,  true, true, true, true, true, true, true }; // true = at least
    bool Active = false; // the cross bounds are tested only when set (see DeriveActive)
};

// Composition conditions on the foal of one generation (仔馬の血統構成).
struct ChildJokenRec
{
    std::array<int32_t, 17> Crs {};
    std::array<bool, 17> Ud { false, true, true, true, true, true, true, true, true,
                              true,  true, true, true, true, true, true, true };
    int32_t NitroSpBound = 0;
    int32_t NitroStBound = 0;
    int32_t NitroTotalBound = 0;
    bool NitroSpUd = true;
    bool NitroStUd = true;
    bool NitroTotalUd = true;
};

// The broodmare conditions (牝馬の条件), one set for the whole search.
struct MamJokenRec
{
    bool Jika = false; // 自家生産馬 allowed
    bool Taka = false; // 他家生産馬 allowed
    bool Nasi = true; // 持込なし allowed
    bool Ari = true; // 持込あり allowed
    int32_t Speed = 0; // least speed
    int32_t Stamina = 0; // least stamina
    std::array<int32_t, 17> Crs {}; // bound on the distinct ancestors with first effect k
    std::array<bool, 17> Ud { false, true, true, true, true, true, true, true, true,
                              true,  true, true, true, true, true, true, true };
};

// One item of the ancestor list (祖先馬指定).
enum class SosenMark : uint8_t { Unchecked = 0, Checked = 1, Grayed = 2 };

struct SosenItem
{
    std::u16string name;
    SosenMark mark = SosenMark::Grayed;
};

// The shared search state the conditions window fills and the engine reads.
struct SearchConditions
{
    int32_t MaxGen = 1;
    std::array<int32_t, 5> SearchCounts {}; // [0] broodmares, [g] stallions of generation g
    std::array<DadJokenRec, 5> DadJoken {}; // [1..4]
    std::array<HaigoJokenRec, 5> HaigoJoken {}; // [1..4]
    std::array<ChildJokenRec, 5> ChildJoken {}; // [1..4]
    MamJokenRec MamJoken;
    std::vector<SosenItem> Sosen; // the ancestor list with its marks
    bool SosenRequire = false; // some item checked
    bool SosenExclude = false; // some item unchecked
    int32_t ResultLimit = 100; // most result lines listed
};

// Active: some cross bound above 0 or some direction 以下.
bool DeriveActive(const HaigoJokenRec& h);
// Sets h.Active from the bounds and directions, as the conditions window does after every change.
inline void UpdateActive(HaigoJokenRec& h)
{
    h.Active = DeriveActive(h);
}

// Whether any foal condition is set (a bound other than 0 or a direction 以下). When none is, the
// composition and nitro tests of that generation are skipped.
bool ChildConditionsSet(const ChildJokenRec& c);

// The number of distinct ancestors among a broodmare's 15 entries whose first effect (a) is k,
// for k = 1..16 (element 0 unused). Unknown entries are skipped.
std::array<int32_t, 17> MareEffectCounts(const MasterData& d, const MamFatherRec& m);

// Whether one broodmare passes the broodmare conditions.
bool MamPasses(const MasterData& d, const MamRec& m, const MamJokenRec& j);
// The broodmare filter (FilterMams): sets Selected of every broodmare row; returns the candidates.
int32_t FilterMams(MasterData& d, const MamJokenRec& j);

// Whether one stallion passes the stallion conditions of a generation.
bool DadPasses(const DadRec& s, const DadJokenRec& j);
// The stallion filter of generation gen (1..4): sets or clears bit gen-1 of every stallion's Selected;
// returns the candidates. Throws RangeError for another generation.
int32_t FilterDads(MasterData& d, int gen, const DadJokenRec& j);

// Choosing one broodmare by name: she becomes the only candidate and the speed and stamina bounds
// take her values.
void FixMam(MasterData& d, int row, MamJokenRec& j);
// Choosing one stallion for generation gen: he becomes its only candidate; Dis1/Dis2 take his
// distances and each attribute group allows exactly his own value (a value outside the listed ones
// leaves the group as it was; Star is kept).
void FixDad(MasterData& d, int gen, int row, DadJokenRec& j);

// Candidate counts from the marks.
int32_t CountMamCandidates(const MasterData& d);
int32_t CountDadCandidates(const MasterData& d, int gen);
// Recomputes SearchCounts[0..4] from the marks.
void RefreshSearchCounts(const MasterData& d, SearchConditions& c);

// UpdateEstimate: the 64-bit product of SearchCounts[0..MaxGen], the number of leaves a full search
// counts (MaxGen outside 1..4 is taken as its nearest value).
int64_t UpdateEstimate(const SearchConditions& c);

// The progress bar of a search: its range in steps and the leaves per step.
struct ProgressPlan
{
    int64_t range = 0;
    int64_t stepDiv = 1;
};
// From the 64-bit estimate: up to 10000 leaves one step per leaf, beyond that 10000 steps.
ProgressPlan PlanProgress(int64_t estimate);

// The ancestor list of the conditions window: every ancestor row whose a or b is above 0, sorted by
// name (UTF-16 code units), every item grayed.
std::vector<SosenItem> BuildSosenList(const MasterData& d);
// SosenRequire / SosenExclude from the marks.
void UpdateSosenFlags(SearchConditions& c);

// The state of a freshly opened conditions window: every stallion a candidate at every generation
// (Selected = 15), the broodmares filtered by the initial broodmare conditions, initial records,
// the ancestor list all grayed, MaxGen 1, counts refreshed.
void InitSearchConditions(MasterData& d, SearchConditions& c);

} // namespace velmora::search
