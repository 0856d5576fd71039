// Painting one screen of the largest window (10-group division) after
// scrolling to its end, beside the same at 100 draws: the grid view paints
// only visible cells, so the two should cost about the same.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <QScrollBar>

#include "BenchSupport.h"
#include "analysis/division/DivisionAnalysis.h"
#include "data/StartupFigures.h"
#include "grid/GridView.h"

namespace {

QApplication& app() {
    static int argc = 1;
    static char arg0[] = "bench";
    static char* argv[] = {arg0, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication a(argc, argv);
    return a;
}

void BM_PaintScreenAtEnd(benchmark::State& state) {
    app();
    const n4::DrawTable t = n4bench::syntheticHistory(static_cast<int>(state.range(0)));
    const n4::StartupFigures f = n4::computeStartupFigures(t);
    n4::GridView view;
    view.setGrid(n4::computeDivision10Analysis({t, f}));
    view.resize(800, 760);
    view.show();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QPixmap target(view.size());
    for (auto _ : state) {
        view.render(&target);
        benchmark::DoNotOptimize(target.cacheKey());
    }
}
BENCHMARK(BM_PaintScreenAtEnd)
    ->Arg(100)
    ->Arg(n4bench::kLargestHistory)
    ->Unit(benchmark::kMillisecond);

} // namespace
