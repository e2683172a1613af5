#pragma once
// The search conditions window (Dravik配合検索ツール) without its widgets: what each control change,
// press and page switch does to the conditions and candidate marks, and what the window shows
// (lists, counters, estimate, captions, hints, visibility). The window forwards every user change
// here, then repaints what Changes() reports.
//
// The generation pages share one set of controls: the stallion, mating and foal values shown are
// those of CurGen(), and every change writes into the records of CurGen(). The window forwards nothing
// while it fills its controls from the records, so that only the user's changes write back.

#include "core/data/ini_file.h"
#include "core/data/master_data.h"
#include "core/search/search_conditions.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::search {

// The range of a number box (its up-down control).
struct BoxRange
{
    int lo = 0;
    int hi = 0;
    int step = 1;
};

inline constexpr BoxRange kMamStatRange { 0, 127, 1 }; // ｽﾋﾟｰﾄﾞ, ｽﾀﾐﾅ
inline constexpr BoxRange kMamCrsRange { 0, 15, 1 };
inline constexpr BoxRange kDis1Range { 1000, 3400, 200 };
inline constexpr BoxRange kDis2Range { 1200, 3600, 200 };
inline constexpr BoxRange kStarRange { 0, 9, 1 };
inline constexpr BoxRange kNixBaseRange { 0, 99, 1 };
inline constexpr BoxRange kCrsRange { 0, 16, 1 }; // inbreeding and foal composition bounds
inline constexpr BoxRange kNitroSpRange { 0, 64, 1 };
inline constexpr BoxRange kNitroStRange { 0, 32, 1 };
inline constexpr BoxRange kNitroTotalRange { 0, 96, 1 };

inline constexpr std::u16string_view kDravikCaption = u"Dravik配合検索ツール";
inline constexpr std::u16string_view kAtLeast = u"以上";
inline constexpr std::u16string_view kAtMost = u"以下";
inline constexpr std::u16string_view kFixHint = u"固定する場合は選択してね";
inline constexpr std::u16string_view kEstimateHint = u"予想検索数。せいぜい７～８桁が限度";
inline constexpr std::u16string_view kMamCounterHint = u"牝馬の検索件数";
inline constexpr std::u16string_view kExtendedHint = u"拡張選択";
inline constexpr std::u16string_view kLikenessHint = u"ｱｳﾄﾌﾞﾘｰﾄﾞ時のみ有効";
inline constexpr std::u16string_view kDis1Hint = u"距離短がこれより長い馬";
inline constexpr std::u16string_view kDis2Hint = u"距離長がこれより短い馬";
inline constexpr std::u16string_view kNoLikeness = u"何もなし";
inline constexpr std::u16string_view kDefaultResultLimit = u"100";
// Where the hidden option is recorded in the settings file.
inline constexpr std::u16string_view kSecretSection = u"SECRET";
inline constexpr std::u16string_view kSecretKey = u"◎○";
inline constexpr std::u16string_view kSecretValue = u"ON";

// The full-width digit of a generation 1..4 ("１".."４").
std::u16string GenerationDigit(int gen);
// "１代完結".."４代完結": the items of the generation box.
std::u16string MaxGenItem(int gen);
// Tab captions: "繁殖牝馬" for 0, "１代配合".."４代配合" for 1..4.
std::u16string PageCaption(int page);
// Group captions of a generation page.
std::u16string DadGroupCaption(int gen); // "１代目種牡馬の条件"
std::u16string HaigoGroupCaption(int gen); // "１代配合条件"
std::u16string ChildGroupCaption(int gen); // "１代配合の仔馬の血統構成"
// Hint of a generation's count label: "１代目種牡馬の検索件数".
std::u16string DadCounterHint(int gen);
// Hints of the ﾆﾄﾛSP and ﾆﾄﾛST labels, from the cross-effect names.
std::u16string NitroSpHint(const MasterData& d);
std::u16string NitroStHint(const MasterData& d);
// The items of both likeness boxes: "何もなし", then the names of cross effects 1..16.
std::vector<std::u16string> LikenessItems(const MasterData& d);
// The name of cross effect k (1..16), shown beside its composition and inbreeding bounds.
std::u16string EffectName(const MasterData& d, int k);
inline std::u16string_view DirectionText(bool atLeast)
{
    return atLeast ? kAtLeast : kAtMost;
}

// A text as the result limit: a decimal number that fits in 32 bits, typed in full or half width,
// blanks around it allowed; nullopt for anything else.
std::optional<int32_t> ParseResultLimit(std::u16string_view text);

enum class Origin { Jika, Taka, Nasi, Ari }; // 自家生産馬, 他家生産馬, 持込なし, 持込あり
enum class DadGroup { Dirt, Grow, Kisho, Konjo, Kenko, Jisseki, Antei };
enum class HaigoBox { Omo, Mig, Yok, Outb, Kiken };
enum class NitroBound { Sp, St, Total };

// The number of boxes of a stallion attribute group (3, or 4 for Grow).
int DadGroupSize(DadGroup g);
// The box captions of a group: "◎ ○ △", "早熟 普通 晩成 持続" or "Ａ Ｂ Ｃ"; and the group's label.
std::u16string_view DadBoxCaption(DadGroup g, int box);
std::u16string_view DadGroupLabel(DadGroup g);

class ConditionsWindowModel
{
public:
    // What a change asks the window to repaint.
    enum Change : unsigned {
        MamList = 1u << 0, // broodmare name box and check list
        DadList = 1u << 1, // stallion name box and check list of CurGen
        Counters = 1u << 2, // count labels and estimate
        MamPage = 1u << 3, // the broodmare controls, from Mam()
        GenPage = 1u << 4, // the stallion, mating and foal controls, from the records of CurGen
        Pages = 1u << 5, // tab and count-label visibility, current page, ancestor list visibility
        Lists = 1u << 6, // visibility of the extended-selection lists
        Nitro = 1u << 7, // visibility of the nitro SP and ST boxes
    };

    // The window's opening: every stallion a candidate of every generation, the broodmares filtered by
    // the initial conditions, every record at its initial value, the ancestor list all grayed, one
    // generation, the broodmare page.
    explicit ConditionsWindowModel(MasterData& d);

    // The changes since the last call, as a set of Change bits.
    unsigned TakeChanges();

    const SearchConditions& Conditions() const { return m_cond; }

    // Generations and pages.
    int MaxGen() const { return m_cond.MaxGen; }
    int CurGen() const { return m_curGen; }
    void SetMaxGenIndex(int index); // the generation box: MaxGen = index + 1
    bool GenerationShown(int gen) const { return gen >= 1 && gen <= m_cond.MaxGen; }
    void ShowPage(int page); // 0 = broodmare page, 1..4 = generation pages
    bool SosenShown() const { return m_curGen > 0 && m_curGen == m_cond.MaxGen; }

    // Broodmare page.
    const MamJokenRec& Mam() const { return m_cond.MamJoken; }
    void SetMamSpeed(int value);
    void SetMamStamina(int value);
    void SetMamCrs(int k, int value);
    void ToggleMamUd(int k);
    void SetOrigin(Origin origin, bool allowed);
    void ChooseMam(int row); // a name chosen in the name box
    void CheckMam(int row, bool checked); // a check clicked in the extended selection
    void InitMam(); // 初期化

    // Stallion group of CurGen.
    const DadJokenRec& Dad() const { return m_cond.DadJoken[static_cast<size_t>(m_curGen)]; }
    void SetDadStar(int value);
    void SetDadDis1(int value);
    void SetDadDis2(int value);
    void SetDadBox(DadGroup group, int box, bool allowed); // box 1..DadGroupSize
    void ChooseDad(int row);
    void CheckDad(int row, bool checked);
    void InitDad();
    bool DadBox(DadGroup group, int box) const;

    // Mating group of CurGen.
    const HaigoJokenRec& Haigo() const { return m_cond.HaigoJoken[static_cast<size_t>(m_curGen)]; }
    void SetHaigoBox(HaigoBox box, int state); // 0 unchecked, 1 checked, 2 grayed
    void SetDadNi(int index); // item index of the likeness box, -1 when none is chosen
    void SetMamNi(int index);
    void SetNixBase(int value);
    void SetHaigoCrs(int k, int value);
    void ToggleHaigoUd(int k);
    void InitHaigo();
    int HaigoState(HaigoBox box) const;

    // Foal group of CurGen.
    const ChildJokenRec& Child() const { return m_cond.ChildJoken[static_cast<size_t>(m_curGen)]; }
    void SetChildCrs(int k, int value);
    void ToggleChildUd(int k);
    void SetNitro(NitroBound which, int value);
    void ToggleNitroUd(NitroBound which);
    void InitChild();
    int32_t NitroValue(NitroBound which) const;
    bool NitroAtLeast(NitroBound which) const;

    // Ancestor list (sorted names, three-state marks).
    const std::vector<SosenItem>& Sosen() const { return m_cond.Sosen; }
    void SetSosenMark(size_t item, SosenMark mark);

    // Extended-selection lists ("..." buttons).
    bool MamListShown() const { return m_mamListShown; }
    bool DadListShown() const { return m_dadListShown; }
    void ToggleMamList();
    void ToggleDadList();

    // Every broodmare and every stallion, sorted by name (the check lists), and the name of a row.
    const std::vector<int32_t>& MamOrder() const { return m_mamOrder; }
    const std::vector<int32_t>& DadOrder() const { return m_dadOrder; }
    std::u16string_view MamName(int32_t row) const;
    std::u16string_view DadName(int32_t row) const;
    bool MamCandidate(int row) const;
    bool DadCandidate(int row) const; // at CurGen
    // The name box items: candidates in name order; the chosen one when there is exactly one.
    std::vector<int32_t> MamCandidates() const;
    std::vector<int32_t> DadCandidates() const;
    int32_t OnlyMam() const; // the one candidate broodmare, -1 unless there is exactly one
    int32_t OnlyDad() const; // the same for the stallions of CurGen

    // Counters: "n/MamCount" (page 0) or "n/DadCount" (generation 1..4); the estimate (the 64-bit product
    // of the counts of generations 0..MaxGen) and its text.
    std::u16string CounterText(int gen) const;
    int64_t Estimate() const { return UpdateEstimate(m_cond); }
    std::u16string EstimateText() const;

    // The hidden option: records "ON" in the settings file and shows the nitro SP and ST boxes. Throws
    // FileError when the settings file cannot be written (the boxes are shown nevertheless).
    void RevealNitro(IniFile* settings);
    bool NitroSpStShown() const { return m_nitroShown; }

    // The conditions a search starts with: these, with the result limit read from its box. Throws
    // VelmoraError, whose message says so, when the limit is not a number.
    SearchConditions ForSearch(std::u16string_view resultLimitText) const;

private:
    bool Editable() const { return m_curGen >= 1 && m_curGen <= kMaxGenerations; }
    DadJokenRec& CurDad() { return m_cond.DadJoken[static_cast<size_t>(m_curGen)]; }
    HaigoJokenRec& CurHaigo() { return m_cond.HaigoJoken[static_cast<size_t>(m_curGen)]; }
    ChildJokenRec& CurChild() { return m_cond.ChildJoken[static_cast<size_t>(m_curGen)]; }
    void FilterMamsAndRefresh();
    void RefreshMamList();
    void FilterDadsAndRefresh();
    void RefreshDadList();
    void HaigoChanged();

    MasterData& m_data;
    SearchConditions m_cond;
    int m_curGen = 0;
    bool m_mamListShown = false;
    bool m_dadListShown = false;
    bool m_nitroShown = false;
    unsigned m_changes = 0;
    std::vector<int32_t> m_mamOrder;
    std::vector<int32_t> m_dadOrder;
};

} // namespace velmora::search
