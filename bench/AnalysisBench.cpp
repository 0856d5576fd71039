// Every analysis window's compute + grid fill at the largest history. The
// last cell is read at the end of each run so that the whole grid is there.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "core/analysis/AnalysisCatalog.h"
#include "core/store/StartupFigures.h"

namespace {

const n4::DrawTable& table() {
    static const n4::DrawTable t = n4bench::syntheticHistory(n4bench::kLargestHistory);
    return t;
}

void BM_Analysis(benchmark::State& state, n4::ComputeFn compute) {
    const n4::StartupFigures f = n4::computeStartupFigures(table());
    for (auto _ : state) {
        n4::Grid g = compute(n4::AnalysisInput{table(), f});
        benchmark::DoNotOptimize(g.background(g.maxCols(), g.maxRows()));
    }
}

const int registered = [] {
    for (const n4::AnalysisEntry& e : n4::analysisCatalog())

        benchmark::RegisterBenchmark((std::string("BM_Analysis/") + e.cliName).c_str(), BM_Analysis,
                                     e.compute)
            ->Unit(benchmark::kMillisecond);
    return 0;
}();

} // namespace

int main(int argc, char** argv) {
    return n4bench::runWithRatios(argc, argv, {});
}
