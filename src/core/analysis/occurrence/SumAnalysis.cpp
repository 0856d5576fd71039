// 数字合計分析: every draw with its four digits and their sum (0 to 36).
#include "core/analysis/occurrence/SumAnalysis.h"

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

const char* const kTitle = "　当 選 数 字";

Grid setUp(int rows) {
    Grid g = newAnalysisGrid(6, rows, 10.0, 5.0);
    g.setRowHeight(1, 20.0);
    g.setColWidth(1, 7.0);
    g.setColWidth(6, 7.0);
    paintLabelCells(g, {1, 2, 1, rows});
    g.setForeground({6, 2, 6, rows}, palette::Blue);
    g.setBackground({6, 2, 6, rows}, palette::Cyan);
    g.setBorder(Block::all(), BorderAll);
    g.setBorder({2, 1, 5, 1}, 0);
    g.setBorder({2, 1, 6, 1}, BorderOutline);
    g.setForeground({1, 1, 6, 1}, palette::Black);
    g.setBackground({1, 1, 6, 1}, palette::HeaderPink);
    writeRunOnTitle(g, 3, 1, kTitle);
    return g;
}

void fill(Grid& g, const DrawTable& table) {
    int r = 2;
    for (const DrawRecord& row : table) {
        g.noteDrawRow(row.drawNo, row.isComplete() ? r : 0);
        if (!row.isComplete()) continue;
        g.setNumber(1, r, row.drawNo);
        int sum = 0;
        for (int p = 0; p < 4; ++p) {
            g.setNumber(p + 2, r, row.digits[p]);
            sum += row.digits[p];
        }
        g.setNumber(6, r, sum);
        ++r;
    }
}

} // namespace

Grid computeSumAnalysis(const AnalysisInput& in) {
    Grid g = setUp(in.figures.latestDrawNo + 1);
    g.setText(1, 1, "回数");
    g.setText(6, 1, "合計");
    fill(g, in.table);
    return g;
}

} // namespace n4
