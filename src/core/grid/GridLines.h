#pragma once
// Where the grid shows a line, as every view of it draws one (the window, the
// pictures, the HTML page): an edge has a line where either of its two cells
// has that side; the right-hand or lower cell's colour wins, and a side
// without a colour of its own is black.
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

} // namespace n4
