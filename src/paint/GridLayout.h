#pragma once
// Where a grid's columns and rows fall, in pixels: a column width of w is w
// width units, a row height of h is h/64 inch at the device's dots per inch.
// Edges are rounded from the running total, so columns fitted to a width add
// up to it to the pixel.
#include <vector>

#include "core/grid/Grid.h"

class QFont;

namespace n4 {

class GridLayout {
  public:
    GridLayout() = default;
    GridLayout(const Grid& grid, double widthUnit, double dpi);

    // The unit a view starts with until a window fits its columns: about the
    // old grid's character unit, 1.6 widths of the digit 0 in the grid font.
    static double defaultWidthUnit(const QFont& font);

    double widthUnit() const { return unit_; }
    int cols() const { return static_cast<int>(colX_.size()) - 1; }
    int rows() const { return static_cast<int>(rowY_.size()) - 1; }
    // Left / top edge of a column or row from 1; cols() + 1 and rows() + 1
    // give the right and bottom edges of the grid.
    int columnX(int col) const { return colX_[col - 1]; }
    int rowY(int row) const { return rowY_[row - 1]; }
    int totalWidth() const { return colX_.back(); }
    int totalHeight() const { return rowY_.back(); }
    // The column / row from 1 whose span holds the pixel; one past the last
    // beyond the grid.
    int columnAt(int x) const;
    int rowAt(int y) const;

  private:
    double unit_ = 0;
    std::vector<int> colX_{0}, rowY_{0};
};

} // namespace n4
