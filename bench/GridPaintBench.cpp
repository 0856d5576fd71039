// Painting one screen of every analysis window at the largest history after
// scrolling to its end, and the 10-group division chart at 100 draws beside
// it: the grid view paints only visible cells, so the two should cost about
// the same.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <QScrollBar>

#include "BenchSupport.h"
#include "core/analysis/AnalysisCatalog.h"
#include "core/analysis/division/DivisionAnalysis.h"
#include "core/store/StartupFigures.h"
#include "ui/grid/GridView.h"

namespace {

QApplication& app() {
    static int argc = 1;
    static char arg0[] = "bench";
    static char* argv[] = {arg0, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication a(argc, argv);
    return a;
}

void BM_PaintScreenAtEnd(benchmark::State& state, n4::ComputeFn compute, int draws) {
    app();
    const n4::DrawTable t = n4bench::syntheticHistory(draws);
    const n4::StartupFigures f = n4::computeStartupFigures(t);
    n4::GridView view;
    view.setGrid(compute({t, f}));
    view.resize(800, 760);
    view.show();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QPixmap target(view.size());
    for (auto _ : state) {
        view.render(&target);
        benchmark::DoNotOptimize(target.cacheKey());
    }
}

const int registered = [] {
    for (const n4::AnalysisEntry& e : n4::analysisCatalog())

        benchmark::RegisterBenchmark((std::string("BM_PaintScreenAtEnd/") + e.cliName).c_str(),
                                     BM_PaintScreenAtEnd, e.compute, n4bench::kLargestHistory)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_PaintScreenAtEnd/division10@100", BM_PaintScreenAtEnd,
                                 n4::computeDivision10Analysis, 100)
        ->Unit(benchmark::kMillisecond);
    return 0;
}();

} // namespace

int main(int argc, char** argv) {
    return n4bench::runWithRatios(
        argc, argv,
        {{"paint at 32,764 / at 100 draws (division10)", "BM_PaintScreenAtEnd/division10",
          "BM_PaintScreenAtEnd/division10@100", "about 1"}});
}
