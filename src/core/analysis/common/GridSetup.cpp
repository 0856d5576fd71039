#include "core/analysis/common/GridSetup.h"

#include "core/grid/Palette.h"

namespace n4 {

Grid newAnalysisGrid(int cols, int rows, double rowHeight, double colWidth) {
    Grid g(cols, rows);
    g.setRowHeight(-1, rowHeight);
    g.setColWidth(-1, colWidth);
    return g;
}

void paintLabelCells(Grid& grid, const Block& block) {
    grid.setForeground(block, palette::Red);
    grid.setBackground(block, palette::LabelYellow);
}

void writeRunOnTitle(Grid& grid, int col, int row, const std::string& text) {
    grid.setText(col, row, text);
    grid.setAlign(Block::cell(col, row), Align::Left);
}

void writeDrawBand(Grid& grid, const DrawBand& band, int base, bool top) {
    const int titleRow = top ? base : base + 1;
    const int labelRow = top ? base + 1 : base;
    grid.setBorder({2, titleRow, 9, titleRow}, 0);
    if (band.outlineTitle) grid.setBorder({2, titleRow, 9, titleRow}, BorderOutline);
    grid.setForeground({2, base, 9, base + 1}, palette::Black);
    grid.setBackground({2, base, 9, base + 1}, palette::HeaderPink);
    writeRunOnTitle(grid, 5, titleRow, band.title);
    for (int col = 1; col <= 9; ++col)
        grid.setText(col, labelRow, band.labels[col - 1]);
}

Grid newDrawBandGrid(const DrawBand& band, int latest) {
    const int rows = latest + 4;
    Grid g = newAnalysisGrid(9, rows, 10.0, 5.0);
    g.setRowHeight(1, 15.0);
    g.setRowHeight(2, 12.0);
    paintLabelCells(g, {1, 1, 1, rows});
    for (int col : {2, 4, 6, 8})
        g.setBackground({col, 3, col, rows}, palette::Cyan);
    g.setBorder({1, 1, 9, rows}, BorderAll);
    writeDrawBand(g, band, 1, true);
    writeDrawBand(g, band, latest + 3, false);
    return g;
}

} // namespace n4
