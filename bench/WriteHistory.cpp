// Writes the benchmarks' synthetic history as CSV, for numbers4marvo-cli
// import: n4-bench-history COUNT > history.csv
#include <cstdio>
#include <cstdlib>

#include "BenchSupport.h"

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : n4bench::kLargestHistory;
    if (count < 1 || count > n4::kMaxDrawNo) {
        std::fprintf(stderr, "usage: n4-bench-history COUNT (1..%d)\n", n4::kMaxDrawNo);
        return 2;
    }
    std::printf("draw,d1,d2,d3,d4\n");
    for (const n4::DrawRecord& d : n4bench::syntheticHistory(count))
        std::printf("%d,%d,%d,%d,%d\n", d.drawNo, d.digits[0], d.digits[1], d.digits[2],
                    d.digits[3]);
    return 0;
}
