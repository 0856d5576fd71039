// Every analysis window's compute + grid fill at the largest history, beside
// the floor: writing the same number of cells into a preallocated flat array.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "BenchSupport.h"
#include "analysis/AnalysisCatalog.h"
#include "data/StartupFigures.h"

namespace {

const n4::DrawTable& table() {
    static const n4::DrawTable t = n4bench::syntheticHistory(n4bench::kLargestHistory);
    return t;
}

void BM_Analysis(benchmark::State& state, n4::ComputeFn compute) {
    const n4::StartupFigures f = n4::computeStartupFigures(table());
    for (auto _ : state) {
        n4::Grid g = compute(n4::AnalysisInput{table(), f});
        benchmark::DoNotOptimize(g.maxRows());
        state.counters["cells"] = static_cast<double>(g.maxRows()) * g.maxCols();
    }
}

// The floor: one 12-byte cell written per grid cell of the largest window.
void BM_FlatArrayFloor(benchmark::State& state) {
    struct Cell {
        std::uint32_t text;
        std::uint8_t rest[8];
    };
    const std::size_t cells = std::size_t(42) * (n4bench::kLargestHistory + 3);
    std::vector<Cell> a(cells);
    for (auto _ : state) {
        for (std::size_t i = 0; i < cells; ++i) {
            a[i].text = static_cast<std::uint32_t>(i);
            std::memset(a[i].rest, 1, sizeof a[i].rest);
        }
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
    state.counters["cells"] = static_cast<double>(cells);
}
BENCHMARK(BM_FlatArrayFloor)->Unit(benchmark::kMillisecond);

const int registered = [] {
    for (const n4::AnalysisEntry& e : n4::analysisCatalog())
        benchmark::RegisterBenchmark((std::string("BM_Analysis/") + e.cliName).c_str(), BM_Analysis,
                                     e.compute)
            ->Unit(benchmark::kMillisecond);
    return 0;
}();

} // namespace
