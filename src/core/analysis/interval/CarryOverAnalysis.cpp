// 引っ張り分析: every draw with its four digits; a digit that was also drawn
// in the previous draw is coloured.
#include "core/analysis/interval/CarryOverAnalysis.h"

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

const char* const kTitle = "　　当 選 数 字";

Grid setUp(int rows) {
    Grid g = newAnalysisGrid(5, rows, 10.0, 6.0);
    g.setVisible(5, 51);
    g.setRowHeight(1, 15.0);
    paintLabelCells(g, {1, 1, 1, rows});
    g.setBorder({1, 1, 5, rows}, BorderAll);
    return g;
}

void writeHeader(Grid& g) {
    g.setBorder({2, 1, 5, 1}, 0);
    g.setBorder({2, 1, 5, 1}, BorderBottom);
    g.setForeground({1, 1, 5, 1}, palette::Black);
    g.setBackground({1, 1, 5, 1}, palette::HeaderPink);
    g.setText(1, 1, "回数");
    writeRunOnTitle(g, 3, 1, kTitle);
}

bool drawnIn(int d, const std::array<int, 4>& digits) {
    return digits[0] == d || digits[1] == d || digits[2] == d || digits[3] == d;
}

void fill(Grid& g, const DrawTable& table) {
    int row = 2;
    const DrawRecord* previous = nullptr; // the first draw has nothing to carry over
    for (const DrawRecord& draw : table) {
        g.noteDrawRow(draw.drawNo, draw.isComplete() ? row : 0);
        if (!draw.isComplete()) continue;
        g.setNumber(1, row, draw.drawNo);
        for (int q = 1; q <= 4; ++q) {
            g.setNumber(q + 1, row, draw.digit(q));
            if (previous && drawnIn(draw.digit(q), previous->digits))
                g.setBackground(Block::cell(q + 1, row), palette::Cyan);
        }
        previous = &draw;
        ++row;
    }
}

} // namespace

Grid computeCarryOverAnalysis(const AnalysisInput& in) {
    Grid g = setUp(in.figures.latestDrawNo + 1);
    writeHeader(g);
    fill(g, in.table);
    return g;
}

} // namespace n4
