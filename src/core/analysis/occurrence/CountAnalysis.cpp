// 出現回数分析: every draw with its four digits and, beside them, how many
// times each of those digits had appeared in all earlier draws.
#include "core/analysis/occurrence/CountAnalysis.h"

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

const char* const kDigitsTitle = "  当 選 数 字";
const char* const kTotalsTitle = "前回までの出現回数合計(回)";
const char* const kPositions[] = {"第1数字", "第2数字", "第3数字", "第4数字"};

Grid setUp(int rows) {
    Grid g = newAnalysisGrid(9, rows, 10.0, 5.0);
    g.setRowHeight(1, 20.0);
    g.setRowHeight(2, 12.0);
    g.setColWidth(1, 6.0);
    paintLabelCells(g, {1, -1, 1, -1});
    g.setBorder(Block::all(), BorderAll);
    g.setForeground({2, 1, 5, 2}, palette::Blue);
    g.setBackground({2, 1, 5, 2}, palette::Cyan);
    g.setForeground({6, 1, 9, 2}, palette::Red);
    g.setBackground({6, 1, 9, 2}, palette::Green);
    // Each group's title row reads as one band.
    g.setBorder({2, 1, 5, 1}, 0);
    g.setBorder({6, 1, 9, 1}, 0);
    g.setBorder(Block::cell(5, 1), BorderRight);
    g.setBorder(Block::cell(9, 1), BorderRight);
    return g;
}

void writeHeaders(Grid& g) {
    writeRunOnTitle(g, 3, 1, kDigitsTitle);
    g.setText(8, 1, kTotalsTitle);
    g.setText(1, 2, "回数");
    for (int p = 0; p < 4; ++p) {
        g.setText(p + 2, 2, kPositions[p]);
        g.setText(p + 6, 2, kPositions[p]);
    }
}

void fill(Grid& g, const DrawTable& table) {
    int counter[10] = {};
    int r = 3;
    for (const DrawRecord& row : table) {
        g.noteDrawRow(row.drawNo, row.isComplete() ? r : 0);
        if (!row.isComplete()) continue;
        g.setNumber(1, r, row.drawNo);
        for (int p = 0; p < 4; ++p) {
            g.setNumber(p + 2, r, row.digits[p]);
            g.setNumber(p + 6, r, counter[row.digits[p]]); // read before this draw counts
        }
        for (int d : row.digits)
            ++counter[d];
        ++r;
    }
}

} // namespace

Grid computeCountAnalysis(const AnalysisInput& in) {
    Grid g = setUp(in.figures.latestDrawNo + 2);
    writeHeaders(g);
    fill(g, in.table);
    return g;
}

} // namespace n4
