// Name folding and the formula readers: ToHalfWidth against the step-by-step ReplaceChar folding,
// the chain reading of a long formula and the tree reading of a complete chart's formula; the
// editor's view and suggestion menu on the full-capacity data set.

#include "core/data/master_data.h"
#include "core/data/name_fold.h"
#include "core/pedigree/editor.h"
#include "core/pedigree/formula.h"
#include "core/pedigree/tree_formula.h"

#include "tools/datagen/datagen.h"

#include <benchmark/benchmark.h>

#include <memory>

#include <string>
#include <vector>

using namespace velmora;

namespace {

// A typed name: full-width katakana with voiced letters and a long-vowel mark, 12 code units.
const std::u16string kTyped = u"サンデーサイレンスダービー";

void BM_ToHalfWidth(benchmark::State& state)
{
    std::u16string out;
    for (auto _ : state) {
        ToHalfWidthInto(kTyped, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ToHalfWidth);

// The folding as a sequence of ReplaceChar calls, one per pair, for comparison.
void BM_ReplaceCharSequence(benchmark::State& state)
{
    std::vector<std::pair<char16_t, std::u16string>> pairs;
    const std::u16string from = u"　＊ー－’＿．（）×アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘへホマミ"
                                u"ムメモヤユヨラリルレロワヲンァィゥェォャュョッ";
    for (char16_t c : from)
        pairs.emplace_back(c, ToHalfWidth(std::u16string(1, c)));
    for (char16_t c : std::u16string(u"ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ゛゜"))
        pairs.emplace_back(c, ToHalfWidth(std::u16string(1, c)));
    for (int i = 0; i < 26; ++i) {
        pairs.emplace_back(static_cast<char16_t>(0xFF21 + i), std::u16string(1, static_cast<char16_t>('A' + i)));
        pairs.emplace_back(static_cast<char16_t>(0xFF41 + i), std::u16string(1, static_cast<char16_t>('a' + i)));
    }
    for (auto _ : state) {
        std::u16string s = kTyped;
        for (const auto& [c, r] : pairs)
            s = ReplaceChar(s, c, r);
        benchmark::DoNotOptimize(s.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReplaceCharSequence);

MasterData MakeData()
{
    MasterData d;
    auto oya = [&d](const std::u16string& n) {
        const int i = FindOya(d, n);
        return i >= 0 ? i : AddOya(d, n, 0, 0, 0);
    };
    // 513 stallions and 701 mares, as in a full data set, so that lookups scan real table lengths.
    for (int s = 0; s < kDadRows; ++s) {
        DadRec& r = d.DadTable[d.DadCount++];
        r.name = u"ｽﾀﾘｵﾝ" + std::u16string(1, static_cast<char16_t>(u'A' + s / 26 % 26))
            + std::u16string(1, static_cast<char16_t>(u'A' + s % 26));
        r.Father[0] = oya(r.name);
        for (int p = 1; p <= 15; ++p)
            r.Father[p] = oya(u"ｿｾﾝ" + std::u16string(1, static_cast<char16_t>(u'A' + (s + p) % 26)));
    }
    for (int m = 0; m < kMamRows; ++m) {
        MamRec& r = d.MamTable[d.MamCount++];
        r.name = u"ﾒｱ" + std::u16string(1, static_cast<char16_t>(u'A' + m / 26 % 27))
            + std::u16string(1, static_cast<char16_t>(u'A' + m % 26));
        for (int p = 1; p <= 15; ++p)
            r.Father[p - 1] = oya(u"ｿｾﾝ" + std::u16string(1, static_cast<char16_t>(u'A' + (m + p) % 26)));
    }
    return d;
}

void BM_ReadChain32(benchmark::State& state)
{
    static const MasterData d = MakeData();
    std::u16string formula = d.MamTable[700].name;
    for (int i = 0; i < 31; ++i)
        formula += u" * " + d.DadTable[512 - i].name;
    for (auto _ : state) {
        ChainCarry carry;
        const ChainReading r = ReadChain(d, AliasLookup(), formula, carry);
        benchmark::DoNotOptimize(r.entries.data());
    }
}
BENCHMARK(BM_ReadChain32);

void BM_ReadTreeAndWrite(benchmark::State& state)
{
    static const MasterData d = MakeData();
    const std::u16string formula = d.DadTable[500].name + u"* (" + d.DadTable[400].name + u"* (" + d.DadTable[300].name
        + u"* " + d.MamTable[650].name + u"))";
    for (auto _ : state) {
        Chart chart;
        FormulaBox box;
        box.text = formula;
        TreeContext ctx { d, chart, box, AliasLookup() };
        benchmark::DoNotOptimize(ReadTree(ctx, 1, formula));
        const ChartCaptions c = BuildCaptions(d, chart);
        benchmark::DoNotOptimize(c.formula.data());
    }
}
BENCHMARK(BM_ReadTreeAndWrite);

// The editor on the full-capacity data set: the view of a chart with a pair at position 1, and the
// suggestion menu at position 1, which judges all 513 stallions and 701 broodmares.
const MasterData& FullData()
{
    static const std::unique_ptr<MasterData> data = LoadFullCapacityData();
    return *data;
}

void BM_EditorView(benchmark::State& state)
{
    const MasterData& d = FullData();
    PedigreeEditor editor(d);
    editor.Drop(1, false, d.DadTable[0].name);
    editor.Drop(1, true, d.MamTable[0].name);
    EditorView view;
    for (auto _ : state) {
        BuildEditorView(d, editor.GetChart(), view);
        benchmark::DoNotOptimize(view.slot[1].caption.data());
    }
}
BENCHMARK(BM_EditorView)->Unit(benchmark::kMicrosecond);

void BM_EditorSuggestions(benchmark::State& state)
{
    const MasterData& d = FullData();
    PedigreeEditor editor(d);
    const int pair = static_cast<int>(state.range(0));
    editor.Drop(1, false, d.DadTable[pair].name);
    editor.Drop(1, true, d.MamTable[pair].name);
    for (auto _ : state) {
        const auto menu = BuildSuggestions(d, editor.GetChart(), 1, editor.Stallions(), editor.Mares());
        benchmark::DoNotOptimize(menu.data());
    }
    state.counters["candidates"] = d.DadCount + d.MamCount;
}
BENCHMARK(BM_EditorSuggestions)->Arg(0)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
