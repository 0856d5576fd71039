// The back-test over the largest history beside what it is measured against:
// one prediction scan, as the prediction window runs it when it opens. The
// back-test replays the prediction before every draw in one pass, so it should
// cost a small multiple of that one scan.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "core/prediction/Backtest.h"
#include "core/prediction/PredictionEngine.h"
#include "core/store/StartupFigures.h"

namespace {

const n4::DrawTable& table() {
    static const n4::DrawTable t = n4bench::syntheticHistory(n4bench::kLargestHistory);
    return t;
}

void BM_PredictionScan(benchmark::State& state) {
    const int latest = n4::computeStartupFigures(table()).latestDrawNo;
    for (auto _ : state) {
        n4::PredictionEngine engine;
        engine.ScanDraws(table(), latest, 0);
        benchmark::DoNotOptimize(engine.eliminationDigit(0));
    }
}
BENCHMARK(BM_PredictionScan)->Unit(benchmark::kMillisecond);

// The pass alone: every draw's prediction compared with the draw.
void BM_BacktestPass(benchmark::State& state) {
    const n4::BacktestRange range = n4::defaultBacktestRange(table(), 0);
    for (auto _ : state) {
        n4::BacktestResult r = n4::replayPrediction(table(), range, 0);
        benchmark::DoNotOptimize(r.draws.back().hits[0]);
    }
}
BENCHMARK(BM_BacktestPass)->Unit(benchmark::kMillisecond);

// Everything the command and the window compute, p-values included.
void BM_Backtest(benchmark::State& state) {
    const n4::BacktestRange range = n4::defaultBacktestRange(table(), 0);
    for (auto _ : state) {
        n4::BacktestResult r = n4::runBacktest(table(), range, 0);
        benchmark::DoNotOptimize(r.methods[0].pValue);
    }
}
BENCHMARK(BM_Backtest)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return n4bench::runWithRatios(
        argc, argv, {{"back-test / one prediction scan", "BM_Backtest", "BM_PredictionScan", ""}});
}
