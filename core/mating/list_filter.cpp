#include "core/mating/list_filter.h"

#include "core/common/errors.h"
#include "core/eval/positions.h"
#include "core/eval/rules.h"
#include "core/mating/ordering.h"
#include "core/mating/scoring.h"
#include "core/mating/text_list.h"

namespace velmora {

namespace {

constexpr std::u16string_view kGrades[3] = { u"A", u"B", u"C" };

// Index 0..2 of a grade "A", "B", "C"; -1 for anything else.
int GradeIndex(std::u16string_view g)
{
    for (int i = 0; i < 3; ++i)
        if (g == kGrades[i])
            return i;
    return -1;
}

// Index of the first button (0-based) whose rule matches text, -1 when none does.
template <size_t N> int MatchIndex(std::u16string_view text, const std::u16string_view (&values)[N])
{
    for (size_t i = 0; i < N; ++i)
        if (text == values[i])
            return static_cast<int>(i);
    return -1;
}

template <size_t N> bool InAnyUpBand(int32_t v, const std::array<TFeeButton, N>& bands, const bool* down, int count)
{
    for (int k = 1; k <= count; ++k)
        if (!down[k - 1] && BandContains(bands[static_cast<size_t>(k)], k, v))
            return true;
    return false;
}

} // namespace

bool StallionShown(const DadRec& s, const StallionFilter& f, const std::array<TFeeButton, 6>& starBands)
{
    // Origin: 内国, 外国 (also 配信), 無印 (blank or empty), 自家.
    if (!f.origin[0] && s.birth == u"内国")
        return false;
    if (!f.origin[1] && (s.birth == u"外国" || s.birth == u"配信"))
        return false;
    if (!f.origin[2] && (s.birth == u"\u3000\u3000" || s.birth.empty()))
        return false;
    if (!f.origin[3] && s.birth == u"自家")
        return false;
    if (InAnyUpBand(s.Fee, starBands, f.star.data(), 5))
        return false;
    static constexpr std::u16string_view grows[] = { u"普通", u"早熟", u"晩成", u"持続" };
    const int g = MatchIndex(s.Grow, grows);
    if (g >= 0 && !f.grow[static_cast<size_t>(g)])
        return false;
    static constexpr std::u16string_view dirts[] = { u"◎", u"○", u"△" };
    const int dt = MatchIndex(s.Dirt, dirts);
    if (dt >= 0 && !f.dirt[static_cast<size_t>(dt)])
        return false;
    const std::u16string* grades[5] = { &s.Kisho, &s.Konjo, &s.Kenko, &s.Jisseki, &s.Antei };
    for (size_t i = 0; i < 5; ++i) {
        const int gi = GradeIndex(*grades[i]);
        if (gi >= 0 && !f.grade[i][static_cast<size_t>(gi)])
            return false;
    }
    return true;
}

bool MareShown(const MamRec& m, const MareFilter& f, const std::array<TFeeButton, 5>& priceBands,
               const std::array<TFeeButton, 4>& speedBands, const std::array<TFeeButton, 4>& staminaBands)
{
    if (!f.jika && m.motikomi == u"自家")
        return false;
    if (InAnyUpBand(CheckedAdd(m.speed, m.stamina), priceBands, f.price.data(), 4))
        return false;
    if (InAnyUpBand(m.speed, speedBands, f.sp.data(), 3))
        return false;
    if (InAnyUpBand(m.stamina, staminaBands, f.st.data(), 3))
        return false;
    return true;
}

void BuildStallionList(MasterData& d, const PtsRec& pts, const StallionFilter& f,
                       const std::array<TFeeButton, 6>& starBands, std::vector<ListRow>& out)
{
    out.clear();
    for (int i = 0; i < d.DadCount; ++i) {
        DadRec& s = d.DadTable[static_cast<size_t>(CheckedIndex(i, kDadRows))];
        s.Selected = StallionShown(s, f, starBands) ? 1 : 0;
        if (s.Selected)
            out.push_back(ListRow { i, 0, StallionStatusPoints(d, pts, s) });
    }
}

void BuildMareList(MasterData& d, const PtsRec& pts, const MareFilter& f, const std::array<TFeeButton, 5>& priceBands,
                   const std::array<TFeeButton, 4>& speedBands, const std::array<TFeeButton, 4>& staminaBands,
                   std::vector<ListRow>& out)
{
    out.clear();
    for (int i = 0; i < d.MamCount; ++i) {
        MamRec& m = d.MamTable[static_cast<size_t>(CheckedIndex(i, kMamRows))];
        m.Selected = MareShown(m, f, priceBands, speedBands, staminaBands);
        if (m.Selected)
            out.push_back(ListRow { i, 0, MareStatusPoints(d, pts, m) });
    }
}

namespace {

void AppendGeneration(std::u16string& caption, int gen)
{
    caption += u',';
    caption += static_cast<char16_t>(u'0' + gen);
}

} // namespace

std::vector<std::u16string> MarePartnerCaptions(const MasterData& d, const DadFatherRec& f,
                                                const std::array<bool, 16>& marks, int clicked,
                                                const std::vector<ListRow>& mareList)
{
    CheckedIndex(clicked, 16);
    std::vector<std::u16string> captions;
    for (const ListRow& row : mareList) {
        const MamRec& mare = MareOf(d, row);
        bool all = true;
        for (int i = 1; i <= 15 && all; ++i) {
            if (!marks[static_cast<size_t>(i)])
                continue;
            bool any = false;
            for (int j = 1; j <= 15 && !any; ++j)
                any = CrossKind(d, f, i, mare.Father, j) >= 0;
            all = any;
        }
        if (!all)
            continue;
        std::u16string caption = mare.name;
        for (int j = 1; j <= 15; ++j)
            if (CrossKind(d, f, clicked, mare.Father, j) >= 0)
                AppendGeneration(caption, FoalGenerationOfMare(j));
        captions.push_back(std::move(caption));
    }
    return captions;
}

std::vector<std::u16string> StallionPartnerCaptions(const MasterData& d, const MamFatherRec& m,
                                                    const std::array<bool, 16>& marks, int clicked,
                                                    const std::vector<ListRow>& stallionList)
{
    CheckedIndex(clicked - 1, 15);
    std::vector<std::u16string> captions;
    for (const ListRow& row : stallionList) {
        const DadRec& s = StallionOf(d, row);
        bool all = true;
        for (int j = 1; j <= 15 && all; ++j) {
            if (!marks[static_cast<size_t>(j)])
                continue;
            bool any = false;
            for (int i = 0; i <= 15 && !any; ++i)
                any = CrossKind(d, s.Father, i, m, j) >= 0;
            all = any;
        }
        if (!all)
            continue;
        std::u16string caption = s.name;
        for (int i = 0; i <= 15; ++i)
            if (CrossKind(d, s.Father, i, m, clicked) >= 0)
                AppendGeneration(caption, FoalGenerationOfStallion(i));
        captions.push_back(std::move(caption));
    }
    return captions;
}

std::u16string PartnerName(std::u16string_view caption)
{
    return std::u16string(caption.substr(0, caption.find(u',')));
}

} // namespace velmora
