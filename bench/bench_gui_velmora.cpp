// The optimal-mating window on a full-capacity data set (513 stallions, 701 broodmares, 3001
// ancestors, 4096 nicks): opening it, and ordering the whole stallion list by compatibility with a
// chosen mare (keys, sort and combo refill), as the user triggers it.
//
// The data: the bundled sample, grown to the tables' capacity by repeating its horses under new names
// (the pedigrees and therefore the crosses, nicks and mating types stay those of real sample pairs).
// Run with QT_QPA_PLATFORM=offscreen (set by default); VELMORA_SAMPLE names another source directory.

#include "core/app/app_state.h"
#include "core/app/settings.h"
#include "core/data/loader.h"
#include "core/data/master_data.h"
#include "core/mating/points.h"
#include "gui/app/fit_form.h"
#include "gui/mating/frm_velmora.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

using namespace velmora;
using namespace velmora::gui;

namespace {

std::unique_ptr<QTemporaryDir> g_dir;

// Repeats the rows of a table up to its capacity, each copy named with a numeric suffix.
template <typename Rec>
void Grow(std::vector<Rec>& table, int32_t& count, int rows)
{
    const int base = count;
    for (int i = base; i < rows; ++i) {
        Rec r = table[static_cast<size_t>(i % base)];
        r.name += u"_" + std::u16string(QString::number(i).toStdU16String());
        table[static_cast<size_t>(i)] = r;
    }
    count = rows;
}

bool Prepare()
{
    g_dir = std::make_unique<QTemporaryDir>();
    const QDir src(qEnvironmentVariableIsSet("VELMORA_SAMPLE") ? qEnvironmentVariable("VELMORA_SAMPLE")
                                                               : QStringLiteral(VELMORA_SAMPLE_DIR));
    for (const QString& f : src.entryList(QDir::Files))
        QFile::copy(src.filePath(f), g_dir->filePath(f));
    AppState& app = App();
    app.StartDir = app.DataDir = QDir(g_dir->path()).absolutePath().toStdString() + "/";
    app.IniFile = std::make_unique<IniFile>(app.StartDir + "velmora.INI");
    app.DataFiles = DefaultDataFiles();
    app.FontName = u"IPAPGothic";
    app.ScreenWidth = 800;
    app.ScreenHeight = 600;
    ReadBands(app);
    MasterData& d = Master();
    const LoadResult r = GetMasterData(d, app.DataDir, app.DataFiles);
    if (!r.completed || d.DadCount == 0 || d.MamCount == 0) {
        std::fprintf(stderr, "cannot load the sample data from %s\n", qPrintable(src.path()));
        return false;
    }
    const int oyaBase = d.OyaCount;
    for (int i = oyaBase; i < kOyaRows; ++i) {
        OyaRec o = d.OyaTable[static_cast<size_t>(i % oyaBase)];
        o.name += u"_" + QString::number(i).toStdU16String();
        d.OyaTable[static_cast<size_t>(i)] = o;
    }
    d.OyaCount = kOyaRows;
    Grow(d.DadTable, d.DadCount, kDadRows);
    Grow(d.MamTable, d.MamCount, kMamRows);
    const int nixBase = d.NixCount;
    for (int i = nixBase; nixBase > 0 && i < kNixRows - 1; ++i)
        d.NixList[static_cast<size_t>(i)] = d.NixList[static_cast<size_t>(i % nixBase)];
    if (nixBase > 0)
        d.NixCount = kNixRows - 1;
    return true;
}

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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!Prepare())
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    App().IniFile.reset();
    return 0;
}
