// 回数別出現分析 (caption 回数別頻度分析): one row per distinct appearance
// count with the digits that share it, from the start-up grouping.
#include "core/analysis/occurrence/ByCountAnalysis.h"

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

Grid setUp(int rows) {
    Grid g = newAnalysisGrid(2, rows, 10.0, 5.0);
    g.setColWidth(2, 20.0);
    if (rows == 0) return g; // an empty history: nothing to colour
    g.setBorder(Block::all(), BorderAll);
    g.setBackground({1, 2, 1, rows}, palette::LabelYellow);
    g.setBackground({1, 1, 2, 1}, palette::HeaderPink);
    // Every digit list is blue and left-aligned, down to the last row.
    g.setForeground({2, 2, 2, rows}, palette::Blue);
    g.setAlign({2, 2, 2, rows}, Align::Left);
    return g;
}

void fill(Grid& g, const StartupFigures& f) {
    int r = 1;
    for (int k = 0; k <= f.maxDigitCount && k < static_cast<int>(f.digitsByCount.size()); ++k) {
        if (f.digitsByCount[k].empty()) continue;
        ++r;
        g.setText(1, r, std::to_string(k) + "回");
        g.setText(2, r, f.digitsByCount[k]);
    }
}

} // namespace

Grid computeByCountAnalysis(const AnalysisInput& in) {
    Grid g = setUp(in.figures.countClassRows);
    if (g.maxRows() == 0) return g; // an empty history has not even the header row
    g.setText(1, 1, "出 現");
    g.setText(2, 1, "数 字");
    fill(g, in.figures);
    return g;
}

} // namespace n4
