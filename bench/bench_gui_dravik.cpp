// The strongest-mating search run from its windows on the full-capacity data set (513 stallions, 701
// broodmares). The conditions are set through the conditions window's controls: three generations,
// one broodmare (the first candidate), and at the third generation at least two crosses bringing
// cross effect 1, so that every leaf needs the whole cross analysis and results are rare; the
// estimate is 513^3 = 135 005 697 leaves.
//
//   BM_WindowSearch  the whole search in the results window, as the user runs it: leaves per second
//                    (counted leaves / seconds from showing the window to ≪検索終了≫), leaves per CPU
//                    second of the whole process, and the largest gap between two ticks of a 5 ms
//                    timer on the window's thread (max_ui_gap_ms; on shared cores it includes the time
//                    the thread waits for a core);
//   BM_EngineSearch  the same search through the engine alone in this process (no window);
//   BM_Stop          検索中止 pressed 0.5 s into the search: milliseconds until ≪検索終了≫;
//   BM_ViewResult    血統表示 on a list of 1 M and 5 M result lines (a 2-generation search of every
//                    candidate broodmare up to that limit): milliseconds from the press until the viewer
//                    is on the screen with its chooser holding every line, and the resident memory of
//                    the process before the press, while the viewer is open and after it closed (MB).
//
// The conditions are also printed as velmora-cli search JSON (stderr), for the comparison with
//   velmora-datagen DIR && velmora-cli --data DIR search conditions.json > /dev/null
// Runs with QT_QPA_PLATFORM=offscreen unless another platform is set.

#include "core/data/master_data.h"
#include "core/search/search_engine.h"
#include "gui/app/fit_form.h"
#include "gui/app/message_box.h"
#include "gui/search/frm_dravik.h"
#include "gui/search/frm_results.h"
#include "support/gui_bench.h"
#include "support/search_bench.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace velmora;
using namespace velmora::gui;
using velmora::bench::NullListener;
using velmora::bench::ProcessCpuSeconds;

namespace {

// The measured conditions, set through the conditions window's controls.
search::SearchConditions Conditions()
{
    MessageBox::SetAutoAnswer(MessageBox::Ok);
    TfrmDravik w;
    FitForm(&w);
    auto* maxAge = w.findChild<QComboBox*>(QStringLiteral("cmbMaxAge"));
    maxAge->setCurrentIndex(2);
    emit maxAge->activated(2);
    auto* mam = w.findChild<QComboBox*>(QStringLiteral("cmbMamName"));
    const QString mare = mam->itemText(0);
    emit mam->activated(0);
    w.findChild<QTabBar*>(QStringLiteral("PageControl1"))->setCurrentIndex(3);
    w.findChild<QSpinBox*>(QStringLiteral("edtHaigoCrs1"))->setValue(2);
    static bool printed = false;
    if (!printed) {
        printed = true;
        std::fprintf(stderr,
                     "velmora-cli conditions: {\"maxGen\":3,\"resultLimit\":2147483647,\"mares\":[\"%s\"],"
                     "\"haigo\":{\"3\":{\"Crs\":[2,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]}}}\n",
                     mare.toUtf8().constData());
    }
    return w.Model().ForSearch(u"2147483647");
}

struct WindowRun
{
    double seconds = 0;
    int64_t leaves = 0;
    size_t results = 0;
    double maxGapMs = 0;
    double stopMs = -1;
};

// Shows the results window, which starts the search at its first paint, and runs the event loop
// until ≪検索終了≫; with stopAfterMs >= 0, 検索中止 is pressed that long after the start.
WindowRun RunWindow(const search::SearchConditions& c, int stopAfterMs)
{
    WindowRun run;
    TfrmResults r(Master(), c);
    FitForm(&r);
    auto* abort = r.findChild<QPushButton*>(QStringLiteral("btnAbort"));
    QEventLoop loop;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QElapsedTimer sinceStop;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        run.maxGapMs = std::max(run.maxGapMs, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!r.Model().Searching()) {
            if (sinceStop.isValid())
                run.stopMs = sinceStop.nsecsElapsed() / 1e6;
            loop.quit();
        } else if (stopAfterMs >= 0 && !sinceStop.isValid() && clock.elapsed() >= stopAfterMs) {
            sinceStop.start();
            abort->click();
        }
    });
    r.show();
    clock.start();
    sinceTick.start();
    ticker.start();
    poll.start();
    loop.exec();
    run.seconds = clock.nsecsElapsed() / 1e9;
    run.leaves = r.CountedLeaves();
    run.results = r.Model().Lines().Size();
    return run;
}

void BM_WindowSearch(benchmark::State& state)
{
    const search::SearchConditions c = Conditions();
    WindowRun last;
    double seconds = 0;
    int64_t leaves = 0;
    double maxGap = 0;
    const double cpu0 = ProcessCpuSeconds();
    for (auto _ : state) {
        last = RunWindow(c, -1);
        state.SetIterationTime(last.seconds);
        seconds += last.seconds;
        leaves += last.leaves;
        maxGap = std::max(maxGap, last.maxGapMs);
    }
    state.counters["leaves"] = static_cast<double>(last.leaves);
    state.counters["leaves/s"] = static_cast<double>(leaves) / seconds;
    state.counters["leaves/cpu_s"] = static_cast<double>(leaves) / (ProcessCpuSeconds() - cpu0);
    state.counters["results"] = static_cast<double>(last.results);
    state.counters["max_ui_gap_ms"] = maxGap;
}
BENCHMARK(BM_WindowSearch)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_EngineSearch(benchmark::State& state)
{
    const search::SearchConditions c = Conditions();
    int64_t leaves = 0;
    int64_t results = 0;
    const double cpu0 = ProcessCpuSeconds();
    for (auto _ : state) {
        NullListener l;
        search::SearchEngine e(Master(), c, l);
        e.Start(2);
        e.Wait();
        leaves += e.Stats().countedLeaves;
        results = l.results;
    }
    state.counters["leaves/s"] = benchmark::Counter(static_cast<double>(leaves), benchmark::Counter::kIsRate);
    state.counters["leaves/cpu_s"] = static_cast<double>(leaves) / (ProcessCpuSeconds() - cpu0);
    state.counters["results"] = static_cast<double>(results);
}
BENCHMARK(BM_EngineSearch)->UseRealTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_Stop(benchmark::State& state)
{
    const search::SearchConditions c = Conditions();
    double worst = 0;
    double total = 0;
    for (auto _ : state) {
        const WindowRun run = RunWindow(c, 500);
        state.SetIterationTime(run.stopMs / 1e3);
        worst = std::max(worst, run.stopMs);
        total += run.stopMs;
    }
    state.counters["stop_ms"] = total / static_cast<double>(state.iterations());
    state.counters["worst_stop_ms"] = worst;
}
BENCHMARK(BM_Stop)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The resident set of this process, in megabytes.
double ResidentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0)
                             : -1;
}

// Every candidate broodmare, two generations: about 680 x 513 x 513 leaves, each a result line.
search::SearchConditions ManyResults(int32_t limit)
{
    MessageBox::SetAutoAnswer(MessageBox::Ok);
    TfrmDravik w;
    FitForm(&w);
    auto* maxAge = w.findChild<QComboBox*>(QStringLiteral("cmbMaxAge"));
    maxAge->setCurrentIndex(1);
    emit maxAge->activated(1);
    return w.Model().ForSearch(QString::number(limit).toStdU16String());
}

void BM_ViewResult(benchmark::State& state)
{
    const auto lines = static_cast<int32_t>(state.range(0));
    TfrmResults r(Master(), ManyResults(lines));
    FitForm(&r);
    r.show();
    QElapsedTimer waited;
    waited.start();
    while (r.Model().Searching() && waited.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (static_cast<int32_t>(r.Model().Lines().Size()) != lines) {
        state.SkipWithError("the search listed fewer lines than asked for");
        return;
    }
    auto* list = r.findChild<QListView*>(QStringLiteral("lstResults"));
    auto* view = r.findChild<QPushButton*>(QStringLiteral("btnView"));
    list->setCurrentIndex(list->model()->index(lines / 2, 0));
    double openMs = 0, before = 0, open = 0, after = 0;
    int chooserItems = 0;
    for (auto _ : state) {
        before = ResidentMb();
        QElapsedTimer clock;
        QTimer::singleShot(0, &r, [&] {
            // The viewer's modal loop runs: it is shown, its formula drawn.
            auto* viewer = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!viewer || viewer == &r) {
                state.SkipWithError("the viewer did not open");
                return;
            }
            viewer->repaint();
            openMs = clock.nsecsElapsed() / 1e6;
            state.SetIterationTime(openMs / 1e3);
            open = ResidentMb();
            chooserItems = viewer->findChild<QComboBox*>(QStringLiteral("cmbParents"))->count();
            viewer->reject();
        });
        clock.start();
        view->click();
        after = ResidentMb();
    }
    state.counters["open_ms"] = openMs;
    state.counters["lines"] = lines;
    state.counters["chooser_items"] = chooserItems;
    state.counters["rss_before_mb"] = before;
    state.counters["rss_viewer_mb"] = open;
    state.counters["rss_after_mb"] = after;
}
BENCHMARK(BM_ViewResult)->Arg(1000000)->Arg(5000000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return velmora::bench::RunGuiBenchmarks(argc, argv);
}
