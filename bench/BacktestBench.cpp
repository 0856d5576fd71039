// The back-test beside what it is measured against: one prediction scan, as
// the prediction window runs it when it opens, over the largest history the
// windows are timed on (32,764 draws) and over the most the database holds
// (99,999). The back-test replays the prediction before every draw in one
// pass, so it should cost a small multiple of that one scan. The whole
// commands, `backtest` beside `export prediction`, are timed as processes by
// bench/cli-vs-anchors.sh.
#include <benchmark/benchmark.h>

#include <map>

#include "BenchSupport.h"
#include "core/prediction/Backtest.h"
#include "core/prediction/PredictionEngine.h"
#include "core/store/StartupFigures.h"

namespace {

constexpr int kMostDraws = 99999;

const n4::DrawTable& table(int count) {
    static std::map<int, n4::DrawTable> tables;
    auto at = tables.find(count);
    if (at == tables.end()) at = tables.emplace(count, n4bench::syntheticHistory(count)).first;
    return at->second;
}

void BM_PredictionScan(benchmark::State& state) {
    const n4::DrawTable& t = table(static_cast<int>(state.range(0)));
    const int latest = n4::computeStartupFigures(t).latestDrawNo;
    for (auto _ : state) {
        n4::PredictionEngine engine;
        engine.ScanDraws(t, latest, 0);
        benchmark::DoNotOptimize(engine.eliminationDigit(0));
    }
}
BENCHMARK(BM_PredictionScan)
    ->Arg(n4bench::kLargestHistory)
    ->Arg(kMostDraws)
    ->Unit(benchmark::kMillisecond);

// The pass alone: every draw's prediction compared with the draw.
void BM_BacktestPass(benchmark::State& state) {
    const n4::DrawTable& t = table(static_cast<int>(state.range(0)));
    const n4::BacktestRange range = n4::defaultBacktestRange(t, 0);
    for (auto _ : state) {
        n4::BacktestResult r = n4::replayPrediction(t, range, 0);
        benchmark::DoNotOptimize(r.draws.back().hits[0]);
    }
}
BENCHMARK(BM_BacktestPass)
    ->Arg(n4bench::kLargestHistory)
    ->Arg(kMostDraws)
    ->Unit(benchmark::kMillisecond);

// Everything the command and the window compute, p-values included.
void BM_Backtest(benchmark::State& state) {
    const n4::DrawTable& t = table(static_cast<int>(state.range(0)));
    const n4::BacktestRange range = n4::defaultBacktestRange(t, 0);
    for (auto _ : state) {
        n4::BacktestResult r = n4::runBacktest(t, range, 0);
        benchmark::DoNotOptimize(r.methods[0].pValue);
    }
}
BENCHMARK(BM_Backtest)
    ->Arg(n4bench::kLargestHistory)
    ->Arg(kMostDraws)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return n4bench::runWithRatios(
        argc, argv,
        {{"back-test / one prediction scan, 32,764", "BM_Backtest/32764", "BM_PredictionScan/32764",
          ""},
         {"back-test / one prediction scan, 99,999", "BM_Backtest/99999", "BM_PredictionScan/99999",
          ""},
         {"back-test / its pass alone, 99,999", "BM_Backtest/99999", "BM_BacktestPass/99999", ""}});
}
