#include "core/pedigree/viewer_model.h"

#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/mating/ordering.h"

#include <string>
#include <utility>

namespace velmora {

namespace {

std::vector<std::u16string> StallionInfo(const MasterData& d, const DadRec& s)
{
    return {
        u"産地:" + s.birth,
        u"系統:" + CheckedAt(d.KeitoTable, s.keito).name,
        u"毛色:" + CheckedAt(d.KeiroTable, s.keiro),
        u"★:" + Decimal(s.Fee),
        u"距離:" + Decimal(s.Distance1) + u"-" + Decimal(s.Distance2),
        u"ﾀﾞｰﾄ:" + s.Dirt,
        u"成長:" + s.Grow,
        u"気性:" + s.Kisho + u" 根性:" + s.Konjo,
        u"健康:" + s.Kenko + u" 実績:" + s.Jisseki,
        u"安定:" + s.Antei,
    };
}

std::vector<std::u16string> MareInfo(const MasterData& d, const MamRec& m)
{
    return {
        u"母名:" + m.name,
        u"持込等:" + m.motikomi,
        u"系統:" + CheckedAt(d.KeitoTable, m.keito).name,
        u"毛色:" + CheckedAt(d.KeiroTable, m.keiro),
        u"価格:" + Decimal(m.Fee),
        u"ｽﾋﾟｰﾄﾞ:" + Decimal(m.speed),
        u"ｽﾀﾐﾅ:" + Decimal(m.stamina),
    };
}

} // namespace

EntryLabel LabelOfEntry(int entry)
{
    const int e = CheckedIndex(entry - 1, kViewEntries) + 1;
    return e == 1 ? EntryLabel { true, 0 } : EntryLabel { false, (1 << (e - 1)) - 1 };
}

int EntryOfLabel(bool dadSide, int position)
{
    for (int e = 1; e <= kViewEntries; ++e) {
        const EntryLabel l = LabelOfEntry(e);
        if (l.dadSide == dadSide && l.position == position)
            return e;
    }
    return 0;
}

NitroHints MakeNitroHints(const MasterData& d)
{
    const auto name = [&](int row) { return CheckedAt(d.CrossTable, row).name; };
    NitroHints h;
    h.speed = d.SpeedCrossRow == 1 ? name(1) + u"*2+" + name(2) : name(1) + u"+" + name(2) + u"*2";
    h.stamina = name(3) + u"+" + name(4);
    return h;
}

int InfoBoxTop(int labelTop, int labelHeight, int boxHeight, int clientHeight)
{
    const int below = labelTop + 2 * labelHeight - 4;
    return below + boxHeight > clientHeight ? labelTop - boxHeight - 1 : below;
}

PedigreeViewer::PedigreeViewer(const MasterData& d)
    : m_d(d)
{
    m_arrays.stallion.fill(-1);
    m_arrays.mare.fill(-1);
}

ChainReading PedigreeViewer::Show(std::u16string_view formula, const AliasLookup& alias)
{
    ChainReading r = ReadChain(m_d, alias, formula, m_carry);
    m_view.Show(r.entries);
    Redraw();
    return r;
}

bool PedigreeViewer::StepRight()
{
    if (!m_view.StepRight())
        return false;
    Redraw();
    return true;
}

bool PedigreeViewer::StepLeft()
{
    if (!m_view.StepLeft())
        return false;
    Redraw();
    return true;
}

void PedigreeViewer::Redraw()
{
    BuildViewArrays(m_d, m_view.window, m_arrays);
    // Every position follows the colour mode, the sire himself included.
    BuildPairDisplay(m_d, m_arrays.star, m_arrays.stallion, m_arrays.mare, m_colourMode, true, false, m_display.pair);
    m_display.drawn = true;
    m_display.boldMare = BoldMarePosition(m_view.window);
    for (size_t k = 1; k <= 16; ++k)
        m_display.kosei[k] = Decimal(m_display.pair.analysis.Kosei[k]);
}

namespace {

// The caption of an entry's label and whether it is bold.
std::pair<const std::u16string&, bool> LabelOf(const ViewerDisplay& v, int entry)
{
    const EntryLabel l = LabelOfEntry(entry);
    const auto p = static_cast<size_t>(l.position);
    if (l.dadSide)
        return { v.pair.dads[p].name, false };
    return { v.pair.mams[p].name, v.boldMare == l.position };
}

} // namespace

std::vector<std::u16string> PedigreeViewer::InfoLines(int entry) const
{
    if (IsBehindMare(m_view.window, entry))
        return {};
    const auto [caption, bold] = LabelOf(m_display, entry);
    if (const int s = FindDad(m_d, caption); s >= 0 && !bold)
        return StallionInfo(m_d, m_d.DadTable[static_cast<size_t>(s)]);
    if (m_carry.currentMare >= 0)
        return MareInfo(m_d, m_d.MamTable[static_cast<size_t>(CheckedIndex(m_carry.currentMare, m_d.MamCount))]);
    return {};
}

std::optional<ReplacementList> PedigreeViewer::Replacement(int entry) const
{
    if (IsBehindMare(m_view.window, entry))
        return std::nullopt;
    ReplacementList list;
    list.items.reserve(static_cast<size_t>(m_d.DadCount + (entry > 1 ? m_d.MamCount : 0)));
    for (int i = 0; i < m_d.DadCount; ++i)
        list.items.push_back(m_d.DadTable[static_cast<size_t>(i)].name);
    if (entry > 1)
        for (int i = 0; i < m_d.MamCount; ++i)
            list.items.push_back(m_d.MamTable[static_cast<size_t>(i)].name);
    SortHorseNames(list.items);
    // The caption also when it names no registered stallion (an ancestor, or the sire of the entry's
    // registered mare): the user starts from what the label shows.
    list.text = LabelOf(m_display, entry).first;
    return list;
}

bool PedigreeViewer::Replace(int entry, std::u16string_view name)
{
    ParentRec rec;
    rec.Name = std::u16string(name);
    if (const int s = FindDad(m_d, name); s >= 0) {
        rec.Sex = true;
        rec.Num = s;
        m_carry.currentMare = -1;
    } else {
        m_carry.currentMare = FindMam(m_d, name);
        if (m_carry.currentMare < 0)
            return false;
        rec.Sex = false;
        rec.Num = m_carry.currentMare;
    }
    m_view.Replace(entry, rec);
    Redraw();
    return true;
}

} // namespace velmora
