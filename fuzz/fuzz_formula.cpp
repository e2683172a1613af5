// libFuzzer target for the formula readers and the name folding: the chain reading with the viewer's
// window and arrays, the tree reading with the chart captions and the write -> read round trip, and
// ToHalfWidth / ToFullWidth, over a small master data set built here. Any failed check traps.

#include "core/common/errors.h"
#include "core/data/cp932.h"
#include "core/data/master_data.h"
#include "core/data/name_fold.h"
#include "core/pedigree/formula.h"
#include "core/pedigree/tree_formula.h"
#include "core/pedigree/viewer.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

using namespace velmora;

namespace {

void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// Stallions S, T, U, ｻﾝﾃﾞｰ, ﾀﾞｰﾋﾞｰ, a, A B and mares M, M2, ﾒｱ, x, every ancestor known, plus one
// stallion with an unknown ancestor (Gap).
const MasterData& Data()
{
    static const MasterData data = [] {
        MasterData d;
        auto oya = [&d](const std::u16string& name) {
            const int i = FindOya(d, name);
            return i >= 0 ? i : AddOya(d, name, 0, 0, 0);
        };
        for (const char16_t* n : { u"S", u"T", u"U", u"ｻﾝﾃﾞｰ", u"ﾀﾞｰﾋﾞｰ", u"a", u"A B", u"Gap" }) {
            DadRec& r = d.DadTable[d.DadCount++];
            r.name = n;
            r.Fee = 3;
            r.Father[0] = oya(n);
            for (int p = 1; p <= 15; ++p)
                r.Father[p] = oya(r.name + u"#" + std::u16string(1, static_cast<char16_t>(u'a' + p)));
        }
        d.DadTable[FindDad(d, u"Gap")].Father[9] = -1;
        for (const char16_t* n : { u"M", u"M2", u"ﾒｱ", u"x" }) {
            MamRec& r = d.MamTable[d.MamCount++];
            r.name = n;
            for (int p = 1; p <= 15; ++p)
                r.Father[p - 1] = oya(r.name + u"#" + std::u16string(1, static_cast<char16_t>(u'a' + p)));
        }
        return d;
    }();
    return data;
}

// Aliases whose keys are not registered names, so that written formulas read back unchanged.
std::u16string Alias(std::u16string_view name)
{
    static const std::map<std::u16string, std::u16string, std::less<>> aliases
        = { { u"Sun", u"ｻﾝﾃﾞｰ" }, { u"Mum", u"M2" }, { u"Lost", u"Nowhere" }, { u"Q", u"T" } };
    const auto it = aliases.find(name);
    return it == aliases.end() ? std::u16string() : it->second;
}

void FuzzFolding(std::u16string_view text)
{
    const std::u16string half = ToHalfWidth(text);
    Check(ToHalfWidth(half) == half); // folding is idempotent
    // Folding works code unit by code unit.
    std::u16string joined;
    for (char16_t c : text)
        joined += ToHalfWidth(std::u16string_view(&c, 1));
    Check(joined == half);
    // Back to full width and folded again gives the folded text.
    Check(ToHalfWidth(ToFullWidth(half)) == half);
}

void FuzzChain(const MasterData& d, std::u16string_view text)
{
    ChainCarry carry;
    const ChainReading r = ReadChain(d, &Alias, text, carry);
    Check(r.entries.size() <= static_cast<size_t>(kMaxChainEntries));
    if (r.selection)
        Check(r.selection->start + r.selection->length <= r.normalized.size());
    for (const ParentRec& e : r.entries) {
        if (e.Num >= 0)
            Check(e.Sex ? e.Num < d.DadCount : e.Num < d.MamCount);
        else
            Check(e.Sex);
    }
    ViewerChain v;
    v.Show(r.entries);
    ViewArrays a;
    do {
        BuildViewArrays(d, v.window, a);
        Check(a.star == -1 || (v.window[0].Sex && v.window[0].Num >= 0));
    } while (v.StepRight());
    while (v.StepLeft())
        BuildViewArrays(d, v.window, a);
    Check(v.offset == 0);
}

void CheckChart(const Chart& c)
{
    for (int k = 1; k <= kChartPositions; ++k) {
        const SlotRec& s = c.slot[k];
        if (s.DadIdx >= 0 || s.MamIdx >= 0)
            Check(s.OyaIdx == -1);
        if (k > kChartMarePositions)
            Check(s.MamIdx == -1);
    }
}

void FuzzTree(const MasterData& d, std::u16string_view text, int k)
{
    Chart chart;
    FormulaBox box;
    box.text = std::u16string(text);
    TreeContext ctx { d, chart, box, &Alias };
    std::u16string message;
    const int r = ShowTreeFormula(ctx, &message);
    Check(r >= -1 && r <= 1);
    // A failure always says so; a reading that succeeded speaks only of the mares it left out.
    Check(r >= 0 || !message.empty());
    if (r >= 0)
        Check(message.empty() == (r == 0 || ctx.leftOut.empty()));
    if (box.hasSelection)
        Check(box.selection.start + box.selection.length <= box.text.size());
    CheckChart(chart);

    const ChartCaptions caps = BuildCaptions(d, chart);
    if (caps.complete) {
        // A complete chart's formula reads back to the same chart.
        Chart back;
        FormulaBox box2;
        box2.text = caps.formula;
        TreeContext ctx2 { d, back, box2, &Alias };
        Check(ShowTreeFormula(ctx2) == 1);
        for (int p = 1; p <= kChartPositions; ++p)
            Check(back.slot[p] == chart.slot[p]);
    }
    DadFatherRec dad;
    MamFatherRec mam;
    ChartToArrays(d, chart, dad, mam);

    // The same text read at another position of a chart already in use.
    ReadTree(ctx, k, text);
    CheckChart(chart);
    BuildCaptions(d, chart);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size > 4096)
        return 0;
    const std::u16string text = FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes), size));
    const MasterData& d = Data();
    try {
        FuzzFolding(text);
        FuzzChain(d, text);
        FuzzTree(d, text, static_cast<int>(size % 33));
    } catch (const VelmoraError&) {
        // A range or overflow error is a clean refusal; the fuzzer looks for crashes and hangs.
    }
    return 0;
}
