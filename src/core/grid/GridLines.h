#pragma once
// Where the grid shows a line, as every view of it draws one (the window, the
// pictures, the HTML page): an edge has a line where either of its two cells
// has that side; the right-hand or lower cell's colour wins, and a side
// without a colour of its own is black.
#include <vector>

#include "core/grid/Grid.h"

namespace n4 {

struct GridLine {
    bool drawn = false;
    Rgb colour;
    bool operator==(const GridLine& o) const {
        return drawn == o.drawn && (!drawn || colour == o.colour);
    }
};

// The edge on the left of (col, row): between col - 1 and col. Column 1 gives
// the grid's outer left edge, maxCols + 1 its outer right edge.
GridLine lineLeftOf(const Grid& grid, int col, int row);
// The edge above (col, row): between row - 1 and row, likewise.
GridLine lineAbove(const Grid& grid, int col, int row);

// The lines around every cell of one row, each edge read once: left[c] is
// lineLeftOf(c, row) for c in 1..maxCols + 1; above[c] and below[c] are
// lineAbove(c, row) and lineAbove(c, row + 1) for c in 1..maxCols. Read row
// after row of one grid, the lines below one row are those above the next.
struct RowLines {
    std::vector<GridLine> left, above, below;
    const Grid* grid = nullptr; // what was read last
    int row = 0;
};
void readRowLines(const Grid& grid, int row, RowLines& lines);

} // namespace n4
