#pragma once

// Runs the registered benchmarks and then prints each figure next to the baseline it is
// measured against (both from this run), as a ratio, with its goal where it has one.

#include <span>

struct BenchComparison {
    const char* figure;   // benchmark name as registered, arguments included ("BM_Load")
    const char* baseline; // the name of the baseline benchmark; null for a goal in time
    double goal;          // the ratio the figure should stay within, or without a baseline the
                          // milliseconds; 0 for none
};

// Initialises Google Benchmark from the command line, runs the benchmarks and prints the
// comparisons whose figure and baseline both ran (the median of each, with repetitions).
// Returns the exit code for main.
int runBenchmarksWithRatios(int argc, char** argv, std::span<const BenchComparison> comparisons);

// Prints one line of the comparison table (also for figures measured outside Google Benchmark);
// cpuRatio, when above 0, is the same ratio of CPU times.
void printRatio(const char* figure, double figureValue, const char* baseline, double baselineValue,
                const char* unit, double goal, double cpuRatio = 0);
