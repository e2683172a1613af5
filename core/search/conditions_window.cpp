#include "core/search/conditions_window.h"

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/fields.h"
#include "core/data/typed_number.h"
#include "core/mating/ordering.h"

#include <algorithm>
#include <numeric>

namespace velmora::search {

namespace {

constexpr std::u16string_view kDigits[] = { u"１", u"２", u"３", u"４" };

void CheckGen(int gen)
{
    if (gen < 1 || gen > kMaxGenerations)
        throw RangeError();
}

void CheckEffect(int k)
{
    if (k < 1 || k > kEffects)
        throw RangeError();
}

// The boxes of a stallion group, numbered from 1 (element 0 unused); throws RangeError for a box
// outside the group.
template <typename Rec> auto& GroupBox(Rec& j, DadGroup g, int box)
{
    if (box < 1 || box > DadGroupSize(g))
        throw RangeError();
    const auto i = static_cast<size_t>(box);
    switch (g) {
    case DadGroup::Dirt:
        return j.Dirt[i];
    case DadGroup::Grow:
        return j.Grow[i];
    case DadGroup::Kisho:
        return j.Kisho[i];
    case DadGroup::Konjo:
        return j.Konjo[i];
    case DadGroup::Kenko:
        return j.Kenko[i];
    case DadGroup::Jisseki:
        return j.Jisseki[i];
    case DadGroup::Antei:
        return j.Antei[i];
    }
    throw RangeError();
}

// The three-state setting of a mating box.
template <typename Rec> auto& HaigoField(Rec& h, HaigoBox box)
{
    switch (box) {
    case HaigoBox::Omo:
        return h.Omo;
    case HaigoBox::Mig:
        return h.Mig;
    case HaigoBox::Yok:
        return h.Yok;
    case HaigoBox::Outb:
        return h.Outb;
    case HaigoBox::Kiken:
        return h.Kiken;
    }
    throw RangeError();
}

// The bound and the direction of one nitro condition.
template <typename Rec> auto& NitroBoundOf(Rec& c, NitroBound which)
{
    return which == NitroBound::Sp ? c.NitroSpBound : which == NitroBound::St ? c.NitroStBound : c.NitroTotalBound;
}

template <typename Rec> auto& NitroUdOf(Rec& c, NitroBound which)
{
    return which == NitroBound::Sp ? c.NitroSpUd : which == NitroBound::St ? c.NitroStUd : c.NitroTotalUd;
}

std::vector<int32_t> NameOrder(int count, const auto& nameOf)
{
    std::vector<int32_t> rows(static_cast<size_t>(count));
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(),
                     [&](int32_t a, int32_t b) { return CompareHorseNames(nameOf(a), nameOf(b)) < 0; });
    return rows;
}

} // namespace

std::u16string GenerationDigit(int gen)
{
    CheckGen(gen);
    return std::u16string(kDigits[gen - 1]);
}

std::u16string MaxGenItem(int gen)
{
    return GenerationDigit(gen) + u"代完結";
}

std::u16string PageCaption(int page)
{
    return page == 0 ? std::u16string(u"繁殖牝馬") : GenerationDigit(page) + u"代配合";
}

std::u16string DadGroupCaption(int gen)
{
    return GenerationDigit(gen) + u"代目種牡馬の条件";
}

std::u16string HaigoGroupCaption(int gen)
{
    return GenerationDigit(gen) + u"代配合条件";
}

std::u16string ChildGroupCaption(int gen)
{
    return GenerationDigit(gen) + u"代配合の仔馬の血統構成";
}

std::u16string DadCounterHint(int gen)
{
    return GenerationDigit(gen) + u"代目種牡馬の検索件数";
}

std::u16string EffectName(const MasterData& d, int k)
{
    CheckEffect(k);
    return CheckedAt(d.CrossTable, k).name;
}

std::u16string NitroSpHint(const MasterData& d)
{
    return EffectName(d, 1) + u"*2+" + EffectName(d, 2);
}

std::u16string NitroStHint(const MasterData& d)
{
    return EffectName(d, 3) + u"+" + EffectName(d, 4) + u"-" + EffectName(d, 1);
}

std::vector<std::u16string> LikenessItems(const MasterData& d)
{
    std::vector<std::u16string> items { std::u16string(kNoLikeness) };
    for (int k = 1; k <= kEffects; ++k)
        items.push_back(EffectName(d, k));
    return items;
}

std::optional<int32_t> ParseResultLimit(std::u16string_view text)
{
    return ParseTypedNumber(text);
}

int DadGroupSize(DadGroup g)
{
    return g == DadGroup::Grow ? 4 : 3;
}

std::u16string_view DadBoxCaption(DadGroup g, int box)
{
    static constexpr std::u16string_view kDirt[] = { u"◎", u"○", u"△" };
    static constexpr std::u16string_view kGrow[] = { u"早熟", u"普通", u"晩成", u"持続" };
    static constexpr std::u16string_view kGrade[] = { u"Ａ", u"Ｂ", u"Ｃ" };
    if (box < 1 || box > DadGroupSize(g))
        throw RangeError();
    const size_t i = static_cast<size_t>(box - 1);
    return g == DadGroup::Dirt ? kDirt[i] : g == DadGroup::Grow ? kGrow[i] : kGrade[i];
}

std::u16string_view DadGroupLabel(DadGroup g)
{
    static constexpr std::u16string_view kLabels[]
        = { u"ダート", u"成長", u"気性", u"底力", u"健康", u"実績", u"安定" };
    return kLabels[static_cast<size_t>(g)];
}

// ---------------------------------------------------------------------------------------------------

ConditionsWindowModel::ConditionsWindowModel(MasterData& d)
    : m_data(d)
{
    CheckedIndex(d.DadCount, kDadRows + 1);
    CheckedIndex(d.MamCount, kMamRows + 1);
    m_dadOrder = NameOrder(d.DadCount, [this](int32_t i) { return DadName(i); });
    m_mamOrder = NameOrder(d.MamCount, [this](int32_t i) { return MamName(i); });
    // Every stallion a candidate everywhere, the broodmares filtered, initial records, all grayed.
    InitSearchConditions(d, m_cond);
    m_cond.MaxGen = 1;
    m_curGen = 0;
    m_changes = ~0u;
}

unsigned ConditionsWindowModel::TakeChanges()
{
    const unsigned c = m_changes;
    m_changes = 0;
    return c;
}

void ConditionsWindowModel::SetMaxGenIndex(int index)
{
    if (index < 0 || index >= kMaxGenerations)
        return;
    m_cond.MaxGen = index + 1;
    // The page is shown afresh; one whose tab is now hidden gives way to the last generation shown.
    ShowPage(std::min(m_curGen, m_cond.MaxGen));
    m_changes |= Pages | Counters;
}

void ConditionsWindowModel::ShowPage(int page)
{
    if (page < 0 || page > m_cond.MaxGen)
        return;
    m_curGen = page;
    m_mamListShown = false;
    m_dadListShown = false;
    if (page == 0) {
        m_changes |= Pages | Lists | MamPage;
        return;
    }
    m_changes |= Pages | Lists | GenPage;
    RefreshDadList();
}

// --- Broodmare page ------------------------------------------------------------------------------

void ConditionsWindowModel::FilterMamsAndRefresh()
{
    FilterMams(m_data, m_cond.MamJoken);
    RefreshMamList();
}

void ConditionsWindowModel::RefreshMamList()
{
    m_cond.SearchCounts[0] = CountMamCandidates(m_data);
    m_changes |= MamList | Counters;
}

void ConditionsWindowModel::SetMamSpeed(int value)
{
    m_cond.MamJoken.Speed = value;
    FilterMamsAndRefresh();
}

void ConditionsWindowModel::SetMamStamina(int value)
{
    m_cond.MamJoken.Stamina = value;
    FilterMamsAndRefresh();
}

void ConditionsWindowModel::SetMamCrs(int k, int value)
{
    CheckEffect(k);
    m_cond.MamJoken.Crs[static_cast<size_t>(k)] = value;
    FilterMamsAndRefresh();
}

void ConditionsWindowModel::ToggleMamUd(int k)
{
    CheckEffect(k);
    m_cond.MamJoken.Ud[static_cast<size_t>(k)] = !m_cond.MamJoken.Ud[static_cast<size_t>(k)];
    m_changes |= MamPage;
    FilterMamsAndRefresh();
}

void ConditionsWindowModel::SetOrigin(Origin origin, bool allowed)
{
    MamJokenRec& j = m_cond.MamJoken;
    (origin == Origin::Jika       ? j.Jika
         : origin == Origin::Taka ? j.Taka
         : origin == Origin::Nasi ? j.Nasi
                                  : j.Ari)
        = allowed;
    FilterMamsAndRefresh();
}

void ConditionsWindowModel::ChooseMam(int row)
{
    // The bounds take her values without filtering again.
    FixMam(m_data, row, m_cond.MamJoken);
    m_changes |= MamPage;
    RefreshMamList();
}

void ConditionsWindowModel::CheckMam(int row, bool checked)
{
    m_data.MamTable[static_cast<size_t>(CheckedIndex(row, m_data.MamCount))].Selected = checked;
    RefreshMamList();
}

void ConditionsWindowModel::InitMam()
{
    m_cond.MamJoken = MamJokenRec {};
    m_changes |= MamPage;
    FilterMamsAndRefresh();
}

// --- Stallion group ------------------------------------------------------------------------------

void ConditionsWindowModel::FilterDadsAndRefresh()
{
    FilterDads(m_data, m_curGen, CurDad());
    RefreshDadList();
}

void ConditionsWindowModel::RefreshDadList()
{
    m_cond.SearchCounts[static_cast<size_t>(m_curGen)] = CountDadCandidates(m_data, m_curGen);
    m_changes |= DadList | Counters;
}

void ConditionsWindowModel::SetDadStar(int value)
{
    if (!Editable())
        return;
    CurDad().Star = value;
    FilterDadsAndRefresh();
}

void ConditionsWindowModel::SetDadDis1(int value)
{
    if (!Editable())
        return;
    CurDad().Dis1 = value;
    FilterDadsAndRefresh();
}

void ConditionsWindowModel::SetDadDis2(int value)
{
    if (!Editable())
        return;
    CurDad().Dis2 = value;
    FilterDadsAndRefresh();
}

void ConditionsWindowModel::SetDadBox(DadGroup group, int box, bool allowed)
{
    bool& b = GroupBox(CurDad(), group, box);
    if (!Editable())
        return;
    b = allowed;
    FilterDadsAndRefresh();
}

bool ConditionsWindowModel::DadBox(DadGroup group, int box) const
{
    return GroupBox(Dad(), group, box);
}

void ConditionsWindowModel::ChooseDad(int row)
{
    if (!Editable())
        return;
    FixDad(m_data, m_curGen, row, CurDad());
    m_dadListShown = false;
    m_changes |= GenPage | Lists;
    RefreshDadList();
}

void ConditionsWindowModel::CheckDad(int row, bool checked)
{
    if (!Editable())
        return;
    const int32_t bit = 1 << (m_curGen - 1);
    int32_t& sel = m_data.DadTable[static_cast<size_t>(CheckedIndex(row, m_data.DadCount))].Selected;
    sel = checked ? (sel | bit) : (sel & ~bit);
    RefreshDadList();
}

void ConditionsWindowModel::InitDad()
{
    if (m_curGen < 1)
        return;
    CurDad() = DadJokenRec {};
    m_changes |= GenPage;
    FilterDadsAndRefresh();
}

// --- Mating group --------------------------------------------------------------------------------

void ConditionsWindowModel::HaigoChanged()
{
    UpdateActive(CurHaigo());
}

void ConditionsWindowModel::SetHaigoBox(HaigoBox box, int state)
{
    if (!Editable())
        return;
    if (state < 0 || state > 2 || (box == HaigoBox::Kiken && state > 1))
        throw RangeError();
    HaigoField(CurHaigo(), box) = static_cast<uint8_t>(state);
    HaigoChanged();
}

int ConditionsWindowModel::HaigoState(HaigoBox box) const
{
    return HaigoField(Haigo(), box);
}

void ConditionsWindowModel::SetDadNi(int index)
{
    if (!Editable())
        return;
    CurHaigo().DadNiKoka = index >= 0 && index <= kEffects ? index : -1;
    HaigoChanged();
}

void ConditionsWindowModel::SetMamNi(int index)
{
    if (!Editable())
        return;
    CurHaigo().MamNiKoka = index >= 0 && index <= kEffects ? index : -1;
    HaigoChanged();
}

void ConditionsWindowModel::SetNixBase(int value)
{
    if (!Editable())
        return;
    CurHaigo().NixBase = value;
    HaigoChanged();
}

void ConditionsWindowModel::SetHaigoCrs(int k, int value)
{
    CheckEffect(k);
    if (!Editable())
        return;
    CurHaigo().Crs[static_cast<size_t>(k)] = value;
    HaigoChanged();
}

void ConditionsWindowModel::ToggleHaigoUd(int k)
{
    CheckEffect(k);
    if (!Editable())
        return;
    CurHaigo().Ud[static_cast<size_t>(k)] = !CurHaigo().Ud[static_cast<size_t>(k)];
    HaigoChanged();
    m_changes |= GenPage;
}

void ConditionsWindowModel::InitHaigo()
{
    if (m_curGen < 1)
        return;
    CurHaigo() = HaigoJokenRec {};
    m_changes |= GenPage;
}

// --- Foal group ----------------------------------------------------------------------------------

void ConditionsWindowModel::SetChildCrs(int k, int value)
{
    CheckEffect(k);
    if (!Editable())
        return;
    CurChild().Crs[static_cast<size_t>(k)] = value;
}

void ConditionsWindowModel::ToggleChildUd(int k)
{
    CheckEffect(k);
    if (!Editable())
        return;
    CurChild().Ud[static_cast<size_t>(k)] = !CurChild().Ud[static_cast<size_t>(k)];
    m_changes |= GenPage;
}

void ConditionsWindowModel::SetNitro(NitroBound which, int value)
{
    if (!Editable())
        return;
    NitroBoundOf(CurChild(), which) = value;
}

void ConditionsWindowModel::ToggleNitroUd(NitroBound which)
{
    if (!Editable())
        return;
    bool& ud = NitroUdOf(CurChild(), which);
    ud = !ud;
    m_changes |= GenPage;
}

int32_t ConditionsWindowModel::NitroValue(NitroBound which) const
{
    return NitroBoundOf(Child(), which);
}

bool ConditionsWindowModel::NitroAtLeast(NitroBound which) const
{
    return NitroUdOf(Child(), which);
}

void ConditionsWindowModel::InitChild()
{
    if (m_curGen < 1)
        return;
    CurChild() = ChildJokenRec {};
    m_changes |= GenPage;
}

// --- Ancestor list, lists, counters --------------------------------------------------------------

void ConditionsWindowModel::SetSosenMark(size_t item, SosenMark mark)
{
    m_cond.Sosen.at(item).mark = mark;
    UpdateSosenFlags(m_cond);
}

void ConditionsWindowModel::ToggleMamList()
{
    m_mamListShown = !m_mamListShown;
    m_changes |= Lists;
}

void ConditionsWindowModel::ToggleDadList()
{
    m_dadListShown = !m_dadListShown;
    m_changes |= Lists;
}

std::u16string_view ConditionsWindowModel::MamName(int32_t row) const
{
    return m_data.MamTable[static_cast<size_t>(CheckedIndex(row, m_data.MamCount))].name;
}

std::u16string_view ConditionsWindowModel::DadName(int32_t row) const
{
    return m_data.DadTable[static_cast<size_t>(CheckedIndex(row, m_data.DadCount))].name;
}

bool ConditionsWindowModel::MamCandidate(int row) const
{
    return m_data.MamTable[static_cast<size_t>(CheckedIndex(row, m_data.MamCount))].Selected;
}

bool ConditionsWindowModel::DadCandidate(int row) const
{
    if (m_curGen < 1)
        return false;
    return (m_data.DadTable[static_cast<size_t>(CheckedIndex(row, m_data.DadCount))].Selected & (1 << (m_curGen - 1)))
        != 0;
}

std::vector<int32_t> ConditionsWindowModel::MamCandidates() const
{
    std::vector<int32_t> rows;
    for (int32_t r : m_mamOrder)
        if (MamCandidate(r))
            rows.push_back(r);
    return rows;
}

std::vector<int32_t> ConditionsWindowModel::DadCandidates() const
{
    std::vector<int32_t> rows;
    for (int32_t r : m_dadOrder)
        if (DadCandidate(r))
            rows.push_back(r);
    return rows;
}

int32_t ConditionsWindowModel::OnlyMam() const
{
    if (m_cond.SearchCounts[0] != 1)
        return -1;
    for (int32_t r : m_mamOrder)
        if (MamCandidate(r))
            return r;
    return -1;
}

int32_t ConditionsWindowModel::OnlyDad() const
{
    if (m_curGen < 1 || m_cond.SearchCounts[static_cast<size_t>(m_curGen)] != 1)
        return -1;
    for (int32_t r : m_dadOrder)
        if (DadCandidate(r))
            return r;
    return -1;
}

std::u16string ConditionsWindowModel::CounterText(int gen) const
{
    if (gen < 0 || gen > kMaxGenerations)
        throw RangeError();
    const int32_t total = gen == 0 ? m_data.MamCount : m_data.DadCount;
    const std::string s = std::to_string(m_cond.SearchCounts[static_cast<size_t>(gen)]) + "/" + std::to_string(total);
    return std::u16string(s.begin(), s.end());
}

std::u16string ConditionsWindowModel::EstimateText() const
{
    const std::string s = std::to_string(Estimate());
    return std::u16string(s.begin(), s.end());
}

void ConditionsWindowModel::RevealNitro(IniFile* settings)
{
    m_nitroShown = true;
    m_changes |= Nitro;
    if (settings)
        settings->WriteString(kSecretSection, kSecretKey, kSecretValue);
}

SearchConditions ConditionsWindowModel::ForSearch(std::u16string_view resultLimitText) const
{
    SearchConditions c = m_cond;
    const std::optional<int32_t> limit = ParseResultLimit(resultLimitText);
    if (!limit)
        throw VelmoraError(ToUtf8(u"検索上限数「" + std::u16string(resultLimitText) + u"」は数ではありません"));
    c.ResultLimit = *limit;
    UpdateSosenFlags(c);
    RefreshSearchCounts(m_data, c);
    return c;
}

} // namespace velmora::search
