// Opening the main window on a database of 100 000 fills, and adding one fill to it.
// Runs on the offscreen platform in a temporary home folder, so the user's files are untouched.

#include "core/paths.h"
#include "db/fueldatabase.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

constexpr int kFillCount = 100000;
constexpr quint64 kHour = 36000000000ull; // 100 ns units
constexpr quint64 kFirstTime = 154000ull * 24 * kHour;

FillRecord makeFill(int i) {
    FillRecord fill;
    fill.odometer = 1000 + 450 * i;
    fill.fuel = 35.0f + float(i % 10);
    fill.cost = fill.fuel * 1.6f;
    fill.dateTime = FileTime::fromValue(kFirstTime + quint64(i) * 30 * kHour);
    return fill;
}

bool writeDatabase() {
    CFuelDatabase database(databaseFilePath());
    const int station = database.findOrAddStation(QStringLiteral("Station"));
    for (int i = 0; i < kFillCount; ++i) {
        FillRecord fill = makeFill(i);
        fill.stationId = station;
        database.insertFill(fill);
    }
    return database.save();
}

// Baseline: reading the database file alone.
void BM_LoadDatabase(benchmark::State& state) {
    for (auto _ : state) {
        CFuelDatabase database(databaseFilePath());
        database.load();
        benchmark::DoNotOptimize(database.getFillCount());
    }
}
BENCHMARK(BM_LoadDatabase)->Unit(benchmark::kMillisecond);

// Construction, load, list build and the first painting of the whole window.
void BM_OpenMainWindowToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        auto window = std::make_unique<CMainWnd>();
        window->open();
        benchmark::DoNotOptimize(window->grab());
        state.PauseTiming();
        window->hide();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenMainWindowToFirstPaint)->Unit(benchmark::kMillisecond);

// One new, latest fill: database insert, list update with every row's texts, repaint.
void BM_AddFillAndRefresh(benchmark::State& state) {
    CMainWnd window;
    window.open();
    window.grab();
    int next = kFillCount;
    for (auto _ : state) {
        const int index = window.database().insertFill(makeFill(next++));
        window.fillAdded(index);
        benchmark::DoNotOptimize(window.fillList()->viewport()->grab());
    }
    window.hide();
}
BENCHMARK(BM_AddFillAndRefresh)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    DialogSeams::enable();
    if (!writeDatabase()) {
        std::fprintf(stderr, "could not write the database\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
