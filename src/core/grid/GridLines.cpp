#include "core/grid/GridLines.h"

#include "core/grid/Palette.h"

namespace n4 {

namespace {

GridLine sideLine(const Grid& grid, int col, int row, BorderSide side) {
    if (!(grid.borders(col, row) & side)) return {};
    const Rgb colour = grid.borderColour(col, row, side);
    return {true, colour.isNone() ? palette::Black : colour};
}

} // namespace

GridLine lineLeftOf(const Grid& grid, int col, int row) {
    // Cells outside the grid have no sides.
    const GridLine own = sideLine(grid, col, row, BorderLeft);
    return own.drawn ? own : sideLine(grid, col - 1, row, BorderRight);
}

GridLine lineAbove(const Grid& grid, int col, int row) {
    const GridLine own = sideLine(grid, col, row, BorderTop);
    return own.drawn ? own : sideLine(grid, col, row - 1, BorderBottom);
}

void readRowLines(const Grid& grid, int row, RowLines& lines) {
    const int cols = grid.maxCols();
    lines.left.resize(static_cast<std::size_t>(cols) + 2);
    lines.above.resize(static_cast<std::size_t>(cols) + 1);
    lines.below.resize(static_cast<std::size_t>(cols) + 1);
    const bool next = lines.grid == &grid && lines.row == row - 1;
    if (next) lines.above.swap(lines.below);
    for (int c = 1; c <= cols + 1; ++c)
        lines.left[c] = lineLeftOf(grid, c, row);
    for (int c = 1; c <= cols; ++c) {
        if (!next) lines.above[c] = lineAbove(grid, c, row);
        lines.below[c] = lineAbove(grid, c, row + 1);
    }
    lines.grid = &grid;
    lines.row = row;
}

} // namespace n4
