#pragma once
// Where each draw of the history sits in a grid that lists draws row by row,
// so that a window can take the user to a draw by its number. Every draw of
// the table is noted, also one the grid leaves out (a draw whose digits are
// incomplete), so that "not in this table" and "not in the history" read apart.

#include <cstddef>
#include <utility>
#include <vector>

namespace n4 {

class DrawRows {
  public:
    // Draws arrive in ascending number, as the draw table delivers them; an
    // out-of-order one is ignored. Row 0: the grid leaves the draw out.
    void add(int drawNo, int row);
    void clear() { rows_.clear(); }
    bool empty() const { return rows_.empty(); }
    // The lowest and highest draw numbers noted; 0 when none.
    int firstDraw() const { return rows_.empty() ? 0 : rows_.front().first; }
    int lastDraw() const { return rows_.empty() ? 0 : rows_.back().first; }
    // The draw's row; 0 when the grid leaves it out; -1 when it is not noted.
    int rowOf(int drawNo) const;
    // The row of the highest-numbered draw the grid shows, 0 when none.
    int lastShownRow() const;
    int firstShownRow() const;
    std::size_t memoryBytes() const { return rows_.capacity() * sizeof(rows_[0]); }

  private:
    std::vector<std::pair<int, int>> rows_; // (draw number, row), ascending
};

} // namespace n4
