// Opening the main window on a database of 100 000 fills, and adding, editing and removing one
// fill in the middle with the list's refresh, against the same work on the database alone.
// Runs on the offscreen platform in a temporary home folder, so the user's files are untouched.

#include "core/logdocument.h"
#include "core/paths.h"
#include "core/vehicles.h"
#include "db/fueldatabase.h"
#include "ui/main/mainwnd.h"
#include "windowbench.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QUndoStack>
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
        auto document = std::make_unique<CLogDocument>(readDatabasePath());
        auto window = std::make_unique<CMainWnd>(*document);
        window->open();
        benchmark::DoNotOptimize(window->grab());
        state.PauseTiming();
        window->hide();
        window.reset();
        document.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenMainWindowToFirstPaint)->Unit(benchmark::kMillisecond);

constexpr int kMiddle = kFillCount / 2;

// A fill whose time lies between the two fills in the middle of the list.
FillRecord middleFill() {
    FillRecord fill = makeFill(kMiddle);
    fill.dateTime = FileTime::fromValue(fill.dateTime.value() + kHour);
    return fill;
}

// Baseline of the three below: the database changes alone, without the list.
void BM_DatabaseAddEditRemove(benchmark::State& state) {
    CFuelDatabase database(databaseFilePath());
    database.load();
    for (auto _ : state) {
        const int index = database.insertFill(middleFill());
        FillRecord edited = *database.getFill(index);
        edited.dateTime = makeFill(kMiddle - 1000).dateTime;
        const int row = database.rowForTime(index, edited.dateTime);
        database.removeFill(index);
        database.insertFillAt(row, edited);
        database.removeFill(row);
    }
}
BENCHMARK(BM_DatabaseAddEditRemove)->Unit(benchmark::kMicrosecond);

// One new fill in the middle: the step through the open log, the list update with every row's
// texts, repaint. The step is undone untimed, so every round adds to the same list.
void BM_AddFillAndRefresh(benchmark::State& state) {
    CLogDocument document(readDatabasePath());
    CMainWnd window(document);
    window.open();
    window.grab();
    // What waits for the window to be idle (the status line's average) is done, as it would be
    // before a user's first change.
    QCoreApplication::processEvents();
    for (auto _ : state) {
        document.addFill(QStringLiteral("Station"), middleFill(), QString());
        benchmark::DoNotOptimize(window.fillList()->viewport()->grab());
        state.PauseTiming();
        document.undoStack()->undo();
        state.ResumeTiming();
    }
    window.hide();
}
BENCHMARK(BM_AddFillAndRefresh)->Unit(benchmark::kMicrosecond);

// A fill in the middle moved 1000 places earlier and back, as Edit fill does it.
void BM_EditFillAndRefresh(benchmark::State& state) {
    CLogDocument document(readDatabasePath());
    CMainWnd window(document);
    window.open();
    window.grab();
    // What waits for the window to be idle (the status line's average) is done, as it would be
    // before a user's first change.
    QCoreApplication::processEvents();
    const FileTime times[] = {makeFill(kMiddle - 1000).dateTime, makeFill(kMiddle).dateTime};
    int index = kMiddle;
    int round = 0;
    for (auto _ : state) {
        FillRecord fill = *document.database().getFill(index);
        fill.dateTime = times[round++ % 2];
        index = document.editFill(index, QStringLiteral("Station"), fill, QString());
        benchmark::DoNotOptimize(window.fillList()->viewport()->grab());
    }
    window.hide();
}
BENCHMARK(BM_EditFillAndRefresh)->Unit(benchmark::kMicrosecond);

// One fill in the middle removed; it is put back untimed.
void BM_RemoveFillAndRefresh(benchmark::State& state) {
    CLogDocument document(readDatabasePath());
    CMainWnd window(document);
    window.open();
    window.grab();
    // What waits for the window to be idle (the status line's average) is done, as it would be
    // before a user's first change.
    QCoreApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        const int index = document.addFill(QStringLiteral("Station"), middleFill(), QString());
        state.ResumeTiming();
        document.removeFill(index);
        benchmark::DoNotOptimize(window.fillList()->viewport()->grab());
    }
    window.hide();
}
BENCHMARK(BM_RemoveFillAndRefresh)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    static const BenchComparison comparisons[] = {
        {"BM_OpenMainWindowToFirstPaint", "BM_LoadDatabase", 0},
        {"BM_AddFillAndRefresh", "BM_DatabaseAddEditRemove", 0},
        {"BM_EditFillAndRefresh", "BM_DatabaseAddEditRemove", 0},
        {"BM_RemoveFillAndRefresh", "BM_DatabaseAddEditRemove", 0},
        // A change is within a frame to spare, the window up at once.
        {"BM_OpenMainWindowToFirstPaint", nullptr, 15},
        {"BM_AddFillAndRefresh", nullptr, 4},
        {"BM_EditFillAndRefresh", nullptr, 4},
        {"BM_RemoveFillAndRefresh", nullptr, 4},
    };
    return runWindowBenchmarks(argc, argv, writeDatabase, comparisons);
}
