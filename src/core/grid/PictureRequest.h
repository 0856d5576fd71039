#pragma once
// What a picture of grids shows, as the command-line tool and the windows ask
// for one. The drawing itself needs the toolkit and lives in GridPicture.
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/grid/Grid.h"

namespace n4 {

// Rows 1..headRows (the title rows), then rows first..last, and columns
// col1..col2; grid row and column numbers.
struct PictureBlock {
    int headRows = 0;
    int first = 1, last = 0;
    int col1 = 1, col2 = 0;
};

struct PicturePart {
    std::string heading; // a line above the grid, "" for none
    const Grid* grid;
    PictureBlock block;
};

struct PictureRequest {
    std::string format; // "png", "svg" or "pdf"
    std::string title;  // kept in the file where the format has a title
    std::vector<PicturePart> parts;
    std::string description = {}; // under the title on every page of a PDF, "" for none
};

// Draws the request onto out; false with a message in Japanese when it cannot.
using PictureWriter =
    std::function<bool(const PictureRequest&, std::ostream& out, std::string& error)>;

// A picture shows this many of the latest rows when it is not told which.
constexpr int kDefaultPictureRows = 100;

// The whole grid.
PictureBlock wholeGrid(const Grid& grid);
// The title rows and, below them, body rows from..to counted from 1 under the
// title rows (in the windows that list draws, the draw numbers); to is cut
// to the grid. false with a message when from lies beyond the grid.
bool bodyRows(const Grid& grid, int titleRows, int from, int to, PictureBlock& block,
              std::string& error);
// The title rows and the last count rows of the body.
PictureBlock lastBodyRows(const Grid& grid, int titleRows, int count);
// A picture as one asks for it by default: the title rows and the latest
// kDefaultPictureRows rows, or all rows where there are no more.
PictureBlock defaultPicture(const Grid& grid, int titleRows);

} // namespace n4
