// バラツキ分析: a dot chart of the history, one row per draw and one column per
// digit value, with a "●" where the digit was drawn.
#include "core/analysis/interval/DispersionAnalysis.h"

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

const char* const kTitle = "数　　　　　　　字";

Grid setUp(int rows) {
    Grid g = newAnalysisGrid(12, rows, 10.0, 2.0);
    g.setVisible(12, 52);
    g.setRowHeight(1, 15.0);
    g.setRowHeight(2, 15.0);
    g.setColWidth(1, 5.0);
    g.setColWidth(12, 5.0);
    g.setBorderColour(palette::ChartLine);
    g.setBorder({2, 1, 11, 1}, BorderOutline);
    g.setBorder(Block::cell(1, 1), BorderRight);
    g.setText(6, 1, kTitle); // centred, spreading over the band
    g.setForeground(Block::cell(6, 1), palette::Blue);
    g.setBackground({2, 1, 11, 1}, palette::ChartBand);
    for (int col : {1, 12}) {
        paintLabelCells(g, {col, 1, col, rows});
    }
    g.setBorder({1, 2, 12, rows}, BorderAll);
    return g;
}

void writeLabelRow(Grid& g) {
    g.setText(1, 2, "回");
    g.setText(12, 2, "回");
    for (int d = 0; d <= 9; ++d)
        g.setNumber(d + 2, 2, d);
    g.setForeground({2, 2, 11, 2}, palette::Blue);
    g.setBackground({2, 2, 11, 2}, palette::ChartBand);
}

void fill(Grid& g, const DrawTable& table) {
    int row = 3;
    for (const DrawRecord& draw : table) {
        g.noteDrawRow(draw.drawNo, draw.isComplete() ? row : 0);
        if (!draw.isComplete()) continue;
        g.setNumber(1, row, draw.drawNo);
        g.setNumber(12, row, draw.drawNo);
        for (int d : draw.digits) {
            g.setText(d + 2, row, marks::Dot);
            g.setForeground(Block::cell(d + 2, row), palette::Mark);
        }
        ++row;
    }
}

} // namespace

Grid computeDispersionAnalysis(const AnalysisInput& in) {
    Grid g = setUp(in.figures.latestDrawNo + 3);
    writeLabelRow(g);
    fill(g, in.table);
    return g;
}

} // namespace n4
