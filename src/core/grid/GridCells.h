#pragma once
// The cells of a Grid, row by row. A block setting that reaches rows not yet
// built is kept in a short list instead of being written at once, and rows
// are built the first time they are written or read. Rows that the same
// settings cover are alike, so they are copies of one template row: a
// window's set-up (bands, label columns, lines) costs one pass over its rows,
// not one pass per block.
//
// Rows are built a few at a time in a small staging area that stays in the
// processor's cache while the fill writes into it, then copied to the grid's
// storage with stores that bypass the cache. A long chart is thus written to
// memory once, without first being read back into the cache, and the time per
// row stays the same from a thousand draws to a hundred thousand.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace n4 {

// 12 bytes: a text key, palette indices, border sides and alignment. All
// zero is an empty, centred cell in the grid's default colours.
struct Cell {
    std::uint32_t text;
    std::uint8_t fg, bg;
    std::uint8_t sides;
    std::uint8_t align;
    std::uint8_t sideColour[4]; // left, right, top, bottom
};

// A setting of every cell of a rectangle (corners inclusive, inside the grid).
struct CellOp {
    enum Kind : std::uint8_t {
        Background,
        Foreground,
        ClearText,
        ClearSides,
        AddSides,
        Outline,
        Alignment
    };
    Kind kind;
    std::uint8_t value;  // palette index, sides or alignment
    std::uint8_t colour; // border colour of AddSides and Outline
    int col1, row1, col2, row2;
    void applyTo(Cell& cell, int col, int row) const;
};

class GridCells {
  public:
    GridCells() = default;
    GridCells(const GridCells& other);
    GridCells& operator=(const GridCells& other);
    GridCells(GridCells&& other) noexcept;
    GridCells& operator=(GridCells&& other) noexcept;
    ~GridCells();

    // cols x rows empty cells.
    void reset(int cols, int rows);

    // The reference is good until the next call on this object.
    // Reading builds rows too: the lazy state below is mutable.
    const Cell& at(int col, int row) const {
        if (row > staged_) advance(row);
        return row > committed_ ? stage_[stageIndex(col, row)] : data_[index(col, row)];
    }
    Cell& at(int col, int row) { return const_cast<Cell&>(std::as_const(*this).at(col, row)); }
    void apply(const CellOp& op);

    std::size_t bytes() const;

  private:
    std::size_t index(int col, int row) const {
        return static_cast<std::size_t>(row - 1) * cols_ + (col - 1);
    }
    std::size_t stageIndex(int col, int row) const {
        return static_cast<std::size_t>(row - committed_ - 1) * cols_ + (col - 1);
    }
    void advance(int row) const;
    void commitStage() const;
    void fillStage() const;
    const Cell* templateFor(int row) const;
    void releaseStorage();

    int cols_ = 0, rows_ = 0;
    int stageRows_ = 1;
    Cell* data_ = nullptr;
    std::size_t capacity_ = 0;
    // Rows 1..committed_ are in storage, committed_+1..staged_ in stage_; a
    // later row is "empty, then every pending op that covers it".
    mutable int committed_ = 0, staged_ = 0;
    mutable std::vector<Cell> stage_;
    mutable std::vector<CellOp> pending_;
    // Rows [templateFirst_, templateEnd_) are all alike: template_.
    mutable std::vector<Cell> template_;
    mutable int templateFirst_ = 0, templateEnd_ = 0;
};

} // namespace n4
