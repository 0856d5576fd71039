#pragma once
// What every analysis grid starts with, and the pieces several of them share.
#include <array>
#include <string>

#include "core/grid/Grid.h"

namespace n4 {

// cols x rows, every cell read-only text centred both ways. Row heights and
// column widths start at the given all-settings.
Grid newAnalysisGrid(int cols, int rows, double rowHeight, double colWidth);

// Label cells: red text on light yellow, as every window has them.
void paintLabelCells(Grid& grid, const Block& block);

// A title text written left-aligned so that it runs on over the empty cells
// to its right.
void writeRunOnTitle(Grid& grid, int col, int row, const std::string& text);

// The header and footer bands of the windows that list every draw with a
// text beside each digit: a title row over columns 2..9 and a label row.
struct DrawBand {
    const char* title;
    std::array<const char*, 9> labels;
    bool outlineTitle; // an outline around the title row's band
};
// The top band has its title row at base; the bottom band at base + 1.
void writeDrawBand(Grid& grid, const DrawBand& band, int base, bool top);
// The grid of those windows: 9 columns, latest + 4 rows, the draw-number
// column as label cells, the digit columns cyan, every cell lined, and both
// bands written; the fill comes after.
Grid newDrawBandGrid(const DrawBand& band, int latest);

} // namespace n4
