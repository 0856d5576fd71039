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

} // namespace n4
