// The optimal-mating window on a full-capacity data set (513 stallions, 701 broodmares, 3001
// ancestors, 4096 nicks): opening it, and ordering the whole stallion list by compatibility with a
// chosen mare (keys, sort and combo refill), as the user triggers it.
//
// The data: the generated full-capacity data set (tools/datagen). Runs with QT_QPA_PLATFORM=offscreen
// unless another platform is set.

#include "core/data/master_data.h"
#include "core/mating/points.h"
#include "gui/app/fit_form.h"
#include "gui/mating/frm_velmora.h"
#include "support/gui_bench.h"

#include <QComboBox>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace velmora;
using namespace velmora::gui;

namespace {

void BM_OpenWindow(benchmark::State& state)
{
    for (auto _ : state) {
        auto w = std::make_unique<TfrmVelmora>();
        FitForm(w.get());
        benchmark::DoNotOptimize(w.get());
    }
    state.counters["stallions"] = Master().DadCount;
    state.counters["mares"] = Master().MamCount;
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond);

void BM_OrderStallionsByCompat(benchmark::State& state)
{
    TfrmVelmora w;
    FitForm(&w);
    auto* cmbMam = w.findChild<QComboBox*>(QStringLiteral("cmbMam"));
    cmbMam->setCurrentIndex(static_cast<int>(state.range(0)));
    emit cmbMam->activated(cmbMam->currentIndex());
    auto* aisho = w.findChild<QToolButton*>(QStringLiteral("btnDadAisho"));
    for (auto _ : state)
        aisho->click();
    state.counters["rows"] = static_cast<double>(w.StallionList().size());
}
BENCHMARK(BM_OrderStallionsByCompat)->Arg(0)->Arg(350)->Unit(benchmark::kMillisecond);

// Choosing another mare while the stallions are ordered by compatibility orders them again.
void BM_ChooseMareReordersStallions(benchmark::State& state)
{
    TfrmVelmora w;
    FitForm(&w);
    auto* cmbMam = w.findChild<QComboBox*>(QStringLiteral("cmbMam"));
    cmbMam->setCurrentIndex(0);
    emit cmbMam->activated(0);
    w.findChild<QToolButton*>(QStringLiteral("btnDadAisho"))->click();
    int i = 0;
    for (auto _ : state) {
        i = (i + 97) % cmbMam->count();
        cmbMam->setCurrentIndex(i);
        emit cmbMam->activated(i);
    }
}
BENCHMARK(BM_ChooseMareReordersStallions)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return velmora::bench::RunGuiBenchmarks(argc, argv);
}
