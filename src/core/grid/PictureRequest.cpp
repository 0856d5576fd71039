#include "core/grid/PictureRequest.h"

#include <algorithm>

namespace n4 {

PictureBlock wholeGrid(const Grid& grid) {
    return PictureBlock{0, 1, grid.maxRows(), 1, grid.maxCols()};
}

bool bodyRows(const Grid& grid, int titleRows, int from, int to, PictureBlock& block,
              std::string& error) {
    titleRows = std::clamp(titleRows, 0, grid.maxRows());
    const int body = grid.maxRows() - titleRows;
    if (from < 1 || to < from) {
        error = "行の範囲 " + std::to_string(from) + ":" + std::to_string(to) +
                " は使えません（最初:最後、1 から）。";
        return false;
    }
    if (from > body) {
        error = "最初の行 " + std::to_string(from) + " は表の行数 " + std::to_string(body) +
                " を超えています（見出しの行は数えません）。";
        return false;
    }
    block = PictureBlock{titleRows, titleRows + from, titleRows + std::min(to, body), 1,
                         grid.maxCols()};
    return true;
}

PictureBlock lastBodyRows(const Grid& grid, int titleRows, int count) {
    titleRows = std::clamp(titleRows, 0, grid.maxRows());
    const int first = std::max(titleRows + 1, grid.maxRows() - std::max(count, 1) + 1);
    return PictureBlock{titleRows, first, grid.maxRows(), 1, grid.maxCols()};
}

PictureBlock defaultPicture(const Grid& grid, int titleRows) {
    // (the whole grid, where it is no longer, still under its title rows: a
    // PDF repeats them on every page)
    return lastBodyRows(grid, titleRows, kDefaultPictureRows);
}

} // namespace n4
