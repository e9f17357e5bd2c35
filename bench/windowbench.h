#pragma once

// The set-up of a benchmark of windows: a temporary home with private folders of its own (away
// from any running Tankometer), the offscreen platform unless another is chosen, an application
// with the dialog seams, the database written by prepare(); then the benchmarks and their ratios.

#include "ratios.h"

#include <span>

int runWindowBenchmarks(int argc, char** argv, bool (*prepare)(),
                        std::span<const BenchComparison> comparisons);
