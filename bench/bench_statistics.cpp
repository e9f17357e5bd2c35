// The statistics over time on a log of 100 000 fills: the table by month and the table by year
// of the whole log, against a plain pass over the same fills that sums their fuel; then the
// month table against its goal of 50 ms.

#include "benchfills.h"
#include "db/fueldatabase.h"
#include "ratios.h"
#include "stats/periodstats.h"

#include <QElapsedTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFillCount = 100000;
constexpr double kMonthTableGoalMs = 50.0;

// A fill a day, about 274 years of months; every fourth fill partial, every fiftieth after a
// missed one, three stations and two drivers.
const CFuelDatabase& benchLog() {
    static CFuelDatabase log;
    static const bool filled = [] {
        const int stations[] = {log.findOrAddStation(QStringLiteral("Aral")),
                                log.findOrAddStation(QStringLiteral("Shell")),
                                log.findOrAddStation(QStringLiteral("OMV"))};
        const int drivers[] = {log.findOrAddDriver(QStringLiteral("Eva")),
                               log.findOrAddDriver(QStringLiteral("Jan"))};
        for (int i = 0; i < kFillCount; ++i)
            log.insertFill(makeBenchFill(i, stations[i % 3], drivers[i % 2]),
                           {i % 4 == 1, i % 50 == 7});
        return true;
    }();
    (void)filled;
    return log;
}

DayRange wholeLog() {
    return periodDays({}, benchLog(), {});
}

// Baseline: one pass over the fills that reads each one and sums its fuel.
void BM_PlainPass(benchmark::State& state) {
    const CFuelDatabase& log = benchLog();
    for (auto _ : state) {
        double fuel = 0.0;
        for (int i = 0; i < log.getFillCount(); ++i)
            fuel += log.getFill(i)->fuel;
        benchmark::DoNotOptimize(fuel);
    }
}
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);

void calendarTable(benchmark::State& state, StatsGrouping grouping) {
    const CFuelDatabase& log = benchLog();
    const DayRange days = wholeLog();
    for (auto _ : state)
        benchmark::DoNotOptimize(sumsByCalendar(log, FillingMethod::FullTank, days, grouping));
}

void BM_MonthTable(benchmark::State& state) {
    calendarTable(state, StatsGrouping::ByMonth);
}
BENCHMARK(BM_MonthTable)->Unit(benchmark::kMillisecond);

void BM_YearTable(benchmark::State& state) {
    calendarTable(state, StatsGrouping::ByYear);
}
BENCHMARK(BM_YearTable)->Unit(benchmark::kMillisecond);

// The median of nine month tables of the whole log.
double monthTableMs() {
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QList<MonthSums> months =
            sumsByCalendar(benchLog(), FillingMethod::FullTank, wholeLog(), StatsGrouping::ByMonth);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        benchmark::DoNotOptimize(months);
    }
    std::nth_element(times.begin(), times.begin() + 4, times.end());
    return times[4];
}

} // namespace

int main(int argc, char** argv) {
    static const BenchComparison comparisons[] = {
        {"BM_MonthTable", "BM_PlainPass", 0},
        {"BM_YearTable", "BM_PlainPass", 0},
    };
    const int result = runBenchmarksWithRatios(argc, argv, comparisons);
    if (result != 0)
        return result;
    std::printf("\nAgainst the goal (median of 9 runs):\n");
    printRatio("month table, 100 000 fills", monthTableMs(), "the goal", kMonthTableGoalMs, "ms",
               1.0);
    return 0;
}
