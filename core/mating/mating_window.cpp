#include "core/mating/mating_window.h"

#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/eval/html_report.h"
#include "core/eval/positions.h"
#include "core/mating/list_filter.h"

#include <algorithm>
#include <utility>

namespace velmora {

namespace {

// The filter buttons' fixed captions, by group; the ★ and price groups take the band captions.
const std::vector<std::vector<std::u16string>>& FixedCaptions(SideKind k)
{
    static const std::vector<std::vector<std::u16string>> kStallion = {
        { u"内国", u"外国", u"無印", u"自家" },
        { u"", u"", u"", u"", u"" },
        { u"普", u"早", u"晩", u"持" },
        { u"◎", u"○", u"△" },
        { u"Ａ", u"B", u"C" },
        { u"Ａ", u"B", u"C" },
        { u"Ａ", u"B", u"C" },
        { u"Ａ", u"B", u"C" },
        { u"Ａ", u"B", u"C" },
    };
    static const std::vector<std::vector<std::u16string>> kMare = {
        { u"", u"", u"", u"" },
        { u"自家" },
        { u"高", u"中", u"低" },
        { u"高", u"中", u"低" },
    };
    return k == SideKind::Stallion ? kStallion : kMare;
}
constexpr int kStarGroup = 1;
constexpr int kPriceGroup = 0;

template <size_t N> void CopyGroup(const std::vector<bool>& group, std::array<bool, N>& out)
{
    for (size_t i = 0; i < N; ++i)
        out[i] = group.at(i);
}

StallionFilter ToStallionFilter(const std::vector<std::vector<bool>>& g)
{
    StallionFilter f;
    CopyGroup(g.at(0), f.origin);
    CopyGroup(g.at(1), f.star);
    CopyGroup(g.at(2), f.grow);
    CopyGroup(g.at(3), f.dirt);
    for (size_t i = 0; i < f.grade.size(); ++i)
        CopyGroup(g.at(4 + i), f.grade[i]);
    return f;
}

MareFilter ToMareFilter(const std::vector<std::vector<bool>>& g)
{
    MareFilter f;
    CopyGroup(g.at(0), f.price);
    f.jika = g.at(1).at(0);
    CopyGroup(g.at(2), f.sp);
    CopyGroup(g.at(3), f.st);
    return f;
}

// The opening order, which is also the order of a list rebuilt without a partner to be ordered by.
ListSort OpeningSort(SideKind k)
{
    return k == SideKind::Stallion ? ListSort::Fee : ListSort::Name;
}

ListOrder OrderOf(SideKind k, ListSort sort)
{
    static constexpr ListOrder kOrders[2][3] = {
        { ListOrder::StallionStar, ListOrder::StallionName, ListOrder::StallionCompat },
        { ListOrder::MarePrice, ListOrder::MareName, ListOrder::MareCompat },
    };
    return kOrders[k == SideKind::Stallion ? 0 : 1][static_cast<size_t>(sort)];
}

// The interesting-line name of a horse's own ancestor row; empty when the horse is unknown.
std::u16string GroupNameOf(const MasterData& d, int32_t oya)
{
    return oya < 0 ? std::u16string() : CheckedAt(d.OmokeiTable, GroupOf(OyaAt(d, oya))).name;
}

AttributeText Graded(const std::u16string& grade)
{
    return { grade, GradeColor(grade) };
}

std::vector<AttributeText> StallionAttributes(const MasterData& d, const DadRec& s)
{
    return {
        { s.birth, {} },
        { CheckedAt(d.KeitoTable, s.keito).name + u"/" + GroupNameOf(d, s.Father[0]), {} },
        { CheckedAt(d.KeiroTable, s.keiro), {} },
        { StarText(s.Fee), {} },
        { Decimal(s.Distance1), {} },
        { Decimal(s.Distance2), {} },
        Graded(s.Dirt),
        { s.Grow, {} },
        Graded(s.Kisho),
        Graded(s.Konjo),
        Graded(s.Kenko),
        Graded(s.Jisseki),
        Graded(s.Antei),
    };
}

std::vector<AttributeText> MareAttributes(const MasterData& d, const MamRec& m)
{
    return {
        { m.motikomi, {} },
        { CheckedAt(d.KeitoTable, m.keito).name + u"/" + GroupNameOf(d, m.Father[0]), {} },
        { CheckedAt(d.KeiroTable, m.keiro), {} },
        { Decimal(m.Fee), {} },
        { Decimal(m.speed), {} },
        { Decimal(m.stamina), {} },
    };
}

size_t AttributeCount(SideKind k)
{
    return k == SideKind::Stallion ? kStallionAttributes : kMareAttributes;
}

// Tells the busy hook about a long step for the length of a scope, even when the step throws.
class BusyScope
{
public:
    BusyScope(const MatingWindowModel::BusyHook& hook, bool busy = true)
        : m_hook(hook)
        , m_busy(busy && hook)
    {
        if (m_busy)
            m_hook(true);
    }
    ~BusyScope()
    {
        if (m_busy)
            m_hook(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const MatingWindowModel::BusyHook& m_hook;
    bool m_busy;
};

} // namespace

// ---------------------------------------------------------------------------------------------------

Side::Side(SideKind kind)
    : m_kind(kind)
    , m_sort(OpeningSort(kind))
    , m_captions(FixedCaptions(kind))
{
    m_rows.reserve(kind == SideKind::Stallion ? kDadRows : kMamRows);
    for (const auto& group : m_captions)
        m_filters.emplace_back(group.size(), true);
}

std::u16string Side::Counter() const
{
    return Decimal(m_chosen + 1) + u"/" + Decimal(static_cast<int64_t>(m_rows.size()));
}

bool Side::Marked(int position) const
{
    return m_marks[static_cast<size_t>(CheckedIndex(position, 16))];
}

int Side::FilterButtons(int group) const
{
    return static_cast<int>(CheckedAt(m_filters, group).size());
}

bool Side::FilterDown(int group, int button) const
{
    const std::vector<bool>& buttons = CheckedAt(m_filters, group);
    return buttons[static_cast<size_t>(CheckedIndex(button, static_cast<int64_t>(buttons.size())))];
}

const std::u16string& Side::FilterCaption(int group, int button) const
{
    return CheckedAt(CheckedAt(m_captions, group), button);
}

// ---------------------------------------------------------------------------------------------------

MatingWindowModel::MatingWindowModel(MasterData& d, AppState& app)
    : m_data(d)
    , m_app(app)
    , m_sides { Side(SideKind::Stallion), Side(SideKind::Mare) }
    , m_dadArray(UnknownDadArray())
    , m_mamArray(UnknownMamArray())
{
    for (SideKind k : kSideKinds)
        m_attributes[Index(k)].assign(AttributeCount(k), {});
}

unsigned MatingWindowModel::TakeChanges()
{
    return std::exchange(m_changes, 0u);
}

const SlotDisplay& MatingWindowModel::Slot(SideKind k, int position) const
{
    const auto p = static_cast<size_t>(CheckedIndex(position, 16));
    return k == SideKind::Stallion ? m_display.dads[p] : m_display.mams[p];
}

void MatingWindowModel::Open()
{
    for (int b = 1; b <= 5; ++b)
        Mut(SideKind::Stallion).m_captions[kStarGroup][static_cast<size_t>(b - 1)]
            = m_app.StarBands[static_cast<size_t>(b)].Caption;
    for (int b = 1; b <= 4; ++b)
        Mut(SideKind::Mare).m_captions[kPriceGroup][static_cast<size_t>(b - 1)]
            = m_app.MarePriceBands[static_cast<size_t>(b)].Caption;
    m_changes |= Captions;
    m_colourMode = true;
    m_legend = ColourLegend(m_data, m_colourMode);
    m_changes |= Legend;
    IniFile& pointFile = OpenPointFile(m_app.DataDir, m_app.DataFiles.Aisho);
    m_chooser = ListPointFiles(m_app.DataDir, m_app.DataFiles.Aisho);
    m_changes |= Chooser;
    ReadPoints(pointFile, PointTable());
    for (SideKind k : kSideKinds) {
        Mut(k).m_sort = OpeningSort(k);
        PressAll(k);
        ClearSide(k, u"");
    }
}

// ---------------------------------------------------------------------------------------------------
// Lists.

void MatingWindowModel::SetSort(SideKind k, ListSort sort)
{
    Mut(k).m_sort = sort;
    Reorder(k);
}

void MatingWindowModel::PressFilter(SideKind k, int group, int button)
{
    std::vector<bool>& buttons = CheckedAt(Mut(k).m_filters, group);
    const auto b = static_cast<size_t>(CheckedIndex(button, static_cast<int>(buttons.size())));
    buttons[b] = !buttons[b];
    m_changes |= SideChange(k, Buttons);
    // At least one button of a group stays down: releasing the last one is undone and the list stays
    // as it is. (The broodmares' single 自家 button has no group to keep down.)
    if (buttons.size() > 1 && std::ranges::none_of(buttons, [](bool down) { return down; })) {
        buttons[b] = true;
        return;
    }
    Build(k);
}

void MatingWindowModel::PressAll(SideKind k)
{
    for (std::vector<bool>& group : Mut(k).m_filters)
        group.assign(group.size(), true);
    m_changes |= SideChange(k, Buttons);
    Build(k);
}

void MatingWindowModel::Build(SideKind k)
{
    Side& side = Mut(k);
    if (k == SideKind::Stallion)
        BuildStallionList(m_data, PointTable(), ToStallionFilter(side.m_filters), m_app.StarBands, side.m_rows);
    else
        BuildMareList(m_data, PointTable(), ToMareFilter(side.m_filters), m_app.MarePriceBands, m_app.MareSpeedBands,
                      m_app.MareStaminaBands, side.m_rows);
    Reorder(k);
}

void MatingWindowModel::Reorder(SideKind k)
{
    Side& side = Mut(k);
    // 相性順 stays down while the partner is cleared (choosing the next one orders the list for it), but
    // a list ordered without a partner cannot be ordered by compatibility: it takes its opening order.
    if (side.m_sort == ListSort::Compat && !Of(PartnerOf(k)).IsChosen())
        side.m_sort = OpeningSort(k);
    {
        const bool compat = side.m_sort == ListSort::Compat;
        const BusyScope busy(m_busy, compat);
        if (compat)
            SetKeys(k);
        SortRows(m_data, side.m_rows, OrderOf(k, side.m_sort));
    }
    m_changes |= SideChange(k, Buttons);
    Refill(k);
}

void MatingWindowModel::SetKeys(SideKind k)
{
    const Side& partner = Of(PartnerOf(k));
    const ListRow& row = CheckedAt(partner.m_rows, partner.m_chosen);
    if (k == SideKind::Stallion)
        SetStallionKeys(m_data, PointTable(), Mut(k).m_rows, MareOf(m_data, row), row.status);
    else
        SetMareKeys(m_data, PointTable(), Mut(k).m_rows, StallionOf(m_data, row), row.status);
}

void MatingWindowModel::Refill(SideKind k)
{
    Side& side = Mut(k);
    // The chosen horse is kept by name: the first row of that name after the refill.
    const std::u16string chosen = side.IsChosen() ? side.m_names[static_cast<size_t>(side.m_chosen)] : u"";
    side.m_names.resize(side.m_rows.size());
    for (size_t i = 0; i < side.m_rows.size(); ++i)
        side.m_names[i]
            = k == SideKind::Stallion ? StallionOf(m_data, side.m_rows[i]).name : MareOf(m_data, side.m_rows[i]).name;
    m_changes |= SideChange(k, Items);
    const auto it = side.IsChosen() ? std::ranges::find(side.m_names, chosen) : side.m_names.end();
    if (side.IsChosen() && it == side.m_names.end()) {
        ClearSide(k, u"");
        return;
    }
    side.m_chosen = it == side.m_names.end() ? -1 : static_cast<int>(it - side.m_names.begin());
    side.m_text = side.IsChosen() ? *it : u"";
}

// ---------------------------------------------------------------------------------------------------
// Choosing and clearing.

void MatingWindowModel::Choose(SideKind k, int row)
{
    Side& side = Mut(k);
    if (row < 0 || row >= static_cast<int>(side.m_rows.size())) {
        ClearSide(k, side.m_text);
        return;
    }
    const ListRow& r = side.m_rows[static_cast<size_t>(row)];
    if (k == SideKind::Stallion) {
        const DadRec& s = StallionOf(m_data, r);
        m_dadArray = s.Father;
        m_star = s.Fee;
        m_attributes[Index(k)] = StallionAttributes(m_data, s);
    } else {
        const MamRec& m = MareOf(m_data, r);
        m_mamArray = m.Father;
        m_attributes[Index(k)] = MareAttributes(m_data, m);
    }
    side.m_chosen = row;
    side.m_text = side.m_names[static_cast<size_t>(row)];
    side.m_marks.fill(false);
    m_changes |= SideChange(k, Panel) | SideChange(PartnerOf(k), Buttons);
    Evaluate();
    if (Of(PartnerOf(k)).m_sort == ListSort::Compat)
        Reorder(PartnerOf(k));
}

void MatingWindowModel::ChooseByName(SideKind k, std::u16string_view name)
{
    const std::vector<std::u16string>& names = Of(k).m_names;
    const auto it = std::ranges::find(names, name);
    m_changes |= SideChange(k, Selection);
    if (it == names.end())
        ClearSide(k, u"");
    else
        Choose(k, static_cast<int>(it - names.begin()));
}

void MatingWindowModel::TextChanged(SideKind k, std::u16string_view text)
{
    if (text.empty())
        ClearSide(k, u"");
}

void MatingWindowModel::EnterText(SideKind k, std::u16string_view text)
{
    // The name box itself reports only its items; a text that names none chooses no row.
    if (text.empty() || std::ranges::find(Of(k).m_names, text) != Of(k).m_names.end())
        return;
    ClearSide(k, text);
}

void MatingWindowModel::ClearSide(SideKind k, std::u16string_view text)
{
    Side& side = Mut(k);
    side.m_chosen = -1;
    side.m_text = text;
    side.m_marks.fill(false);
    if (k == SideKind::Stallion)
        m_dadArray = UnknownDadArray();
    else
        m_mamArray = UnknownMamArray();
    m_attributes[Index(k)].assign(AttributeCount(k), {});
    m_changes |= SideChange(k, Selection | Panel) | SideChange(PartnerOf(k), Buttons);
    Evaluate();
}

void MatingWindowModel::Evaluate()
{
    BuildPairDisplay(m_data, m_star, m_dadArray, m_mamArray, m_colourMode, PairChosen(), true, m_display);
    m_pointText.clear();
    if (PairChosen()) {
        const ListRow& s = Stallions().m_rows[static_cast<size_t>(Stallions().m_chosen)];
        const ListRow& m = Mares().m_rows[static_cast<size_t>(Mares().m_chosen)];
        m_pointText
            = Decimal(ShownCompat(m_data, PointTable(), StallionOf(m_data, s), s.status, MareOf(m_data, m), m.status));
    }
    m_changes |= Pair;
}

// ---------------------------------------------------------------------------------------------------
// Marks, colours, point tables.

std::vector<std::u16string> MatingWindowModel::ClickAncestor(SideKind k, int position, bool rightButton)
{
    Side& side = Mut(k);
    const auto p = static_cast<size_t>(CheckedIndex(position - 1, 15) + 1);
    if (!side.IsChosen() || Slot(k, position).name.empty())
        return {};
    side.m_marks[p] = rightButton || !side.m_marks[p];
    m_changes |= Marks;
    if (!rightButton)
        return {};
    if (k == SideKind::Stallion)
        return MarePartnerCaptions(m_data, m_dadArray, side.m_marks, position, Mares().m_rows);
    return StallionPartnerCaptions(m_data, m_mamArray, side.m_marks, position, Stallions().m_rows);
}

void MatingWindowModel::ChoosePartner(SideKind k, std::u16string_view caption)
{
    ChooseByName(PartnerOf(k), PartnerName(caption));
}

void MatingWindowModel::ToggleColourMode()
{
    m_colourMode = !m_colourMode;
    m_legend = ColourLegend(m_data, m_colourMode);
    m_changes |= Legend;
    // Both sides are shown again in the new colours (choosing the stallion may reorder the broodmares,
    // so the broodmare's row is read after).
    for (SideKind k : kSideKinds)
        if (Of(k).IsChosen())
            Choose(k, Of(k).m_chosen);
}

void MatingWindowModel::ChoosePointTable(int index)
{
    if (index < 0)
        return;
    {
        const BusyScope busy(m_busy);
        velmora::ChoosePointTable(m_app, CheckedAt(m_chooser.names, index));
    }
    m_chooser.selected = index;
    RebuildForNewTable();
}

void MatingWindowModel::PointEditorClosed(bool saved, std::u16string_view tableBefore)
{
    // A table chosen in the editor stays current even when the editor is left without saving; the
    // window then follows it too, so that no value is shown from a mix of two tables.
    if (!saved && m_app.DataFiles.Aisho == tableBefore)
        return;
    m_chooser = ListPointFiles(m_app.DataDir, m_app.DataFiles.Aisho);
    m_changes |= Chooser;
    ReadPoints(*PointFile(), PointTable());
    RebuildForNewTable();
}

void MatingWindowModel::RebuildForNewTable()
{
    PressAll(SideKind::Stallion);
    PressAll(SideKind::Mare);
    // The stallions were ordered while the chosen mare's row still held her status under the old
    // table. That adds the same amount to every key, so the order stands; only the keys are redone.
    if (Stallions().m_sort == ListSort::Compat && Mares().IsChosen())
        SetKeys(SideKind::Stallion);
    Evaluate();
}

// ---------------------------------------------------------------------------------------------------
// Commands.

FoalPlan MatingWindowModel::PlanFoal(bool stallion, std::u16string_view stallionText,
                                     std::u16string_view mareText) const
{
    return velmora::PlanFoal(m_data, stallionText, mareText, Stallions().m_names, Mares().m_names, stallion);
}

void MatingWindowModel::FoalRegistered(const FoalEntry& entry)
{
    PressAll(SideKind::Stallion);
    PressAll(SideKind::Mare);
    ChooseByName(SideKind::Stallion, entry.sire);
    ChooseByName(SideKind::Mare, entry.dam);
    Reorder(SideKind::Mare);
}

TextListSource MatingWindowModel::TextSource(SideKind k) const
{
    const Side& side = Of(k);
    const Side& partner = Of(PartnerOf(k));
    TextListSource src;
    src.stallions = k == SideKind::Stallion;
    src.ready = side.m_sort == ListSort::Compat && partner.IsChosen();
    src.rows = &side.m_rows;
    if (src.ready) {
        const ListRow& target = CheckedAt(partner.m_rows, partner.m_chosen);
        src.target = target.index;
        src.targetName = k == SideKind::Stallion ? MareOf(m_data, target).name : StallionOf(m_data, target).name;
    }
    return src;
}

std::string MatingWindowModel::WriteHtml(const std::string& dir) const
{
    if (!PairChosen())
        return {};
    const DadRec& s = StallionOf(m_data, Stallions().m_rows[static_cast<size_t>(Stallions().m_chosen)]);
    const MamRec& m = MareOf(m_data, Mares().m_rows[static_cast<size_t>(Mares().m_chosen)]);
    const std::string path = dir + std::string(kHtmlReportFile);
    WriteHtmlReport(m_data, path, m_star, s.name + u" * " + m.name, m_dadArray, m_mamArray);
    return path;
}

} // namespace velmora
