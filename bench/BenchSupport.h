#pragma once
#include <string>
#include <vector>

#include "core/store/DrawTable.h"

namespace n4bench {
constexpr int kLargestHistory = 32764;
// Deterministic pseudo-random draws numbered 1..count.
n4::DrawTable syntheticHistory(int count);

// One line of the closing summary: the median CPU time of one benchmark over
// the median of another, both measured in the same run.
struct Ratio {
    std::string label;
    std::string numerator, denominator; // benchmark names
    std::string goal;                   // printed beside the ratio
    // Per-unit ratio: each median divided by its count first (ns per draw).
    double numeratorCount = 1, denominatorCount = 1;
};

// Runs the registered benchmarks (five repetitions each unless the command
// line says otherwise, interleaved), prints every benchmark's median, min and
// max, then the ratios.
int runWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios);
} // namespace n4bench
