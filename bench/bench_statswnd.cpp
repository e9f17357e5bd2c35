// The statistics window on a log of 100 000 fills: opening it to its first painted chart,
// choosing another period, and repainting the chart, against one plain pass over the fills.
// Runs on the offscreen platform in a temporary home folder, so the user's files are untouched.

#include "benchfills.h"
#include "core/logdocument.h"
#include "core/paths.h"
#include "core/vehicles.h"
#include "db/fueldatabase.h"
#include "ui/charts/statisticswnd.h"
#include "windowbench.h"

#include <QChartView>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kFillCount = 100000;

bool writeDatabase() {
    CFuelDatabase database(databaseFilePath());
    const int stations[] = {database.findOrAddStation(QStringLiteral("North")),
                            database.findOrAddStation(QStringLiteral("South")),
                            database.findOrAddStation(QStringLiteral("Motorway"))};
    const int drivers[] = {database.findOrAddDriver(QStringLiteral("Jana")),
                           database.findOrAddDriver(QStringLiteral("Petr"))};
    for (int i = 0; i < kFillCount; ++i)
        database.insertFill(makeBenchFill(i, stations[i % 3], drivers[i % 2]));
    return database.save();
}

std::unique_ptr<CLogDocument> openLog() {
    auto document = std::make_unique<CLogDocument>(readDatabasePath());
    document->load();
    return document;
}

// Baseline: the fuel, cost and distance of every fill added up in one pass.
void BM_PlainPass(benchmark::State& state) {
    const auto document = openLog();
    const CFuelDatabase& database = document->database();
    for (auto _ : state) {
        double fuel = 0.0;
        double cost = 0.0;
        qint64 distance = 0;
        for (int i = 1; i < database.getFillCount(); ++i) {
            const FillRecord* fill = database.getFill(i);
            fuel += fill->fuel;
            cost += fill->cost;
            distance += fill->odometer - database.getFill(i - 1)->odometer;
        }
        benchmark::DoNotOptimize(fuel + cost + double(distance));
    }
}
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);

// Construction with every table and the consumption chart, and the first painting.
void BM_OpenStatisticsWindow(benchmark::State& state) {
    const auto document = openLog();
    for (auto _ : state) {
        auto window = std::make_unique<CStatisticsWnd>(*document);
        window->resize(1000, 700);
        benchmark::DoNotOptimize(window->grab());
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenStatisticsWindow)->Unit(benchmark::kMillisecond);

// Between the whole log and one year of it, with the repaint.
void BM_ChangePeriod(benchmark::State& state) {
    const auto document = openLog();
    CStatisticsWnd window(*document);
    window.resize(1000, 700);
    window.grab();
    const int year = yearsWithFills(document->database()).value(100);
    StatsPeriod oneYear;
    oneYear.choice = PeriodChoice::Year;
    oneYear.year = year;
    const StatsPeriod periods[] = {oneYear, StatsPeriod()};
    int round = 0;
    for (auto _ : state) {
        window.setPeriod(periods[round++ % 2]);
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_ChangePeriod)->Unit(benchmark::kMillisecond);

// The chart of the whole log painted again.
void BM_RedrawChart(benchmark::State& state) {
    const auto document = openLog();
    CStatisticsWnd window(*document);
    window.resize(1000, 700);
    window.grab();
    for (auto _ : state)
        benchmark::DoNotOptimize(window.chartView()->grab());
}
BENCHMARK(BM_RedrawChart)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The goal is 100 ms for each, whatever the baseline: the ratios show what the window adds
    // to the pass over the fills that any figure needs.
    static const BenchComparison comparisons[] = {
        {"BM_OpenStatisticsWindow", "BM_PlainPass", 0},
        {"BM_ChangePeriod", "BM_PlainPass", 0},
        {"BM_RedrawChart", "BM_PlainPass", 0},
        {"BM_OpenStatisticsWindow", nullptr, 100},
        {"BM_ChangePeriod", nullptr, 100},
        {"BM_RedrawChart", nullptr, 100},
    };
    return runWindowBenchmarks(argc, argv, writeDatabase, comparisons);
}
