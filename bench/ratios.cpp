#include "ratios.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>

namespace {

struct Times {
    double real = 0; // seconds of one iteration
    double cpu = 0;
};

// The console output as usual, and the times of one iteration of every run.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so that a saved run reads as plain text.
    RecordingReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.iterations <= 0 || run.error_occurred)
                continue;
            // With repetitions, their median stands for the benchmark; it comes after them.
            const double n = double(run.iterations);
            if (run.run_type == Run::RT_Iteration)
                times[run.benchmark_name()] = {run.real_accumulated_time / n,
                                               run.cpu_accumulated_time / n};
            else if (run.aggregate_name == "median")
                times[run.run_name.str()] = {run.real_accumulated_time / n,
                                             run.cpu_accumulated_time / n};
        }
    }
    std::map<std::string, Times> times;
};

} // namespace

void printRatio(const char* figure, double figureValue, const char* baseline, double baselineValue,
                const char* unit, double goal, double cpuRatio) {
    const double ratio = baselineValue > 0 ? figureValue / baselineValue : 0.0;
    std::printf("%-36s %10.3f %-3s vs %-34s %10.3f %-3s = %6.2fx", figure, figureValue, unit,
                baseline, baselineValue, unit, ratio);
    if (cpuRatio > 0)
        std::printf(" (CPU %5.2fx)", cpuRatio);
    if (goal > 0)
        std::printf("  goal <= %.2fx %s", goal, ratio <= goal ? "met" : "MISSED");
    std::printf("\n");
}

int runBenchmarksWithRatios(int argc, char** argv, std::span<const BenchComparison> comparisons) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf(
        "\nRatios of the wall-clock time of one run, in milliseconds (and of the CPU time):\n");
    for (const BenchComparison& c : comparisons) {
        const auto figure = reporter.times.find(c.figure);
        if (!c.baseline) {
            if (figure != reporter.times.end()) {
                const double ms = figure->second.real * 1e3;
                std::printf("%-36s %10.3f ms (CPU %.3f ms)  goal <= %.2f ms %s\n", c.figure, ms,
                            figure->second.cpu * 1e3, c.goal, ms <= c.goal ? "met" : "MISSED");
            }
            continue;
        }
        const auto baseline = reporter.times.find(c.baseline);
        if (figure == reporter.times.end() || baseline == reporter.times.end())
            continue;
        const Times& f = figure->second;
        const Times& b = baseline->second;
        printRatio(c.figure, f.real * 1e3, c.baseline, b.real * 1e3, "ms", c.goal,
                   b.cpu > 0 ? f.cpu / b.cpu : 0.0);
    }
    std::fflush(stdout);
    return 0;
}
