// The pedigree viewer on a full-capacity data set: showing a formula of 32 names (the most the chain
// reading takes) and a pasted text of 10 000 characters through the window's 表示, and stepping along
// the 32-entry chain with ">>" and "<<"; each time the whole window is rendered, as the user sees it.

#include "core/data/master_data.h"
#include "gui/app/fit_form.h"
#include "gui/app/message_box.h"
#include "gui/pedigree/frm_parents.h"
#include "support/gui_bench.h"

#include <QComboBox>
#include <QPushButton>

#include <benchmark/benchmark.h>

using namespace velmora;
using namespace velmora::gui;

namespace {

// A mare followed by 31 stallions, joined as the search writes its results; `shift` picks others.
QString Formula32(int shift = 0)
{
    const MasterData& d = Master();
    QString f = QString::fromStdU16String(d.MamTable[static_cast<size_t>(700 - shift)].name);
    for (int i = 0; i < 31; ++i)
        f += QStringLiteral("*")
            + QString::fromStdU16String(d.DadTable[static_cast<size_t>(512 - 16 * i - shift)].name);
    return f;
}

QString Text10000(int shift = 0)
{
    QString t;
    while (t.size() < 10000)
        t += Formula32(shift) + QStringLiteral(" * ");
    t.truncate(10000);
    return t;
}

// Shows the two formulas in turn, so that every showing changes and repaints the whole chart.
void ShowFormula(benchmark::State& state, const QString& formula, const QString& other)
{
    MessageBox::SetAutoAnswer(MessageBox::Ok);
    TfrmParents w;
    FitForm(&w);
    w.show();
    auto* box = w.findChild<QComboBox*>(QStringLiteral("cmbParents"));
    auto* view = w.findChild<QPushButton*>(QStringLiteral("btnView"));
    bool first = true;
    for (auto _ : state) {
        box->setEditText(first ? formula : other);
        first = !first;
        view->click();
        benchmark::DoNotOptimize(w.grab());
    }
    state.counters["chars"] = static_cast<double>(formula.size());
}

void BM_Show32Names(benchmark::State& state)
{
    ShowFormula(state, Formula32(), Formula32(5));
}
BENCHMARK(BM_Show32Names)->Unit(benchmark::kMillisecond);

void BM_Show10000Characters(benchmark::State& state)
{
    ShowFormula(state, Text10000(), Text10000(5));
}
BENCHMARK(BM_Show10000Characters)->Unit(benchmark::kMillisecond);

void BM_StepRight(benchmark::State& state)
{
    MessageBox::SetAutoAnswer(MessageBox::Ok);
    TfrmParents w;
    FitForm(&w);
    w.show();
    w.findChild<QComboBox*>(QStringLiteral("cmbParents"))->setEditText(Formula32());
    w.findChild<QPushButton*>(QStringLiteral("btnView"))->click();
    auto* right = w.findChild<QPushButton*>(QStringLiteral("btnRight"));
    auto* left = w.findChild<QPushButton*>(QStringLiteral("btnLeft"));
    bool forward = true;
    for (auto _ : state) {
        (forward ? right : left)->click();
        benchmark::DoNotOptimize(w.grab());
        if (!right->isEnabled())
            forward = false;
        else if (!left->isEnabled())
            forward = true;
    }
}
BENCHMARK(BM_StepRight)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return velmora::bench::RunGuiBenchmarks(argc, argv);
}
