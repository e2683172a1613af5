// The pedigree editor on the full-capacity data set (513 stallions, 701 broodmares, 3001 ancestors,
// 4096 nicks): a drop with the redraw of every control, and the suggestion menu of a right click,
// which judges every stallion and every broodmare of the lists, built and popped up.

#include "core/data/master_data.h"
#include "gui/pedigree/frm_editor.h"
#include "support/gui_bench.h"

#include <QMenu>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

using namespace velmora;
using namespace velmora::gui;

namespace {

// An editor with stallion `dad` and mare `mam` at position 1 and a formula in its box.
void PlacePair(TfrmEditor& w, int dad, int mam)
{
    w.DropHorse(1, false, QString::fromStdU16String(Master().DadTable[dad].name));
    w.DropHorse(1, true, QString::fromStdU16String(Master().MamTable[mam].name));
    auto* box = w.findChild<QPlainTextEdit*>(QStringLiteral("memSosen"));
    if (box->toPlainText().isEmpty())
        box->setPlainText(QStringLiteral("x"));
}

// Arg 1 also paints the whole window, as the screen would after the drop.
void BM_DropAndRedraw(benchmark::State& state)
{
    TfrmEditor w;
    w.show();
    PlacePair(w, 0, 0);
    int mam = 0;
    for (auto _ : state) {
        mam = (mam + 97) % Master().MamCount;
        w.DropHorse(1, true, QString::fromStdU16String(Master().MamTable[mam].name));
        if (state.range(0) == 1)
            benchmark::DoNotOptimize(w.grab());
    }
}
BENCHMARK(BM_DropAndRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SuggestionMenu(benchmark::State& state)
{
    TfrmEditor w;
    PlacePair(w, static_cast<int>(state.range(0)), static_cast<int>(state.range(0)));
    size_t items = 0;
    for (auto _ : state) {
        w.OnSlotRightClick(1, QPoint(5, 5));
        state.PauseTiming();
        items = 0;
        for (const SuggestionItem& it : w.Model().Suggestions())
            items += it.horses.size();
        w.SuggestionMenu()->hide();
        state.ResumeTiming();
    }
    state.counters["candidates"] = Master().DadCount + Master().MamCount;
    state.counters["subItems"] = static_cast<double>(items);
}
BENCHMARK(BM_SuggestionMenu)->Arg(0)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return velmora::bench::RunGuiBenchmarks(argc, argv);
}
