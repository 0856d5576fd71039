#pragma once
// A table of text cells addressed (column, row) from 1, as every window of the
// program shows its result. Column or row -1 means "all"; writes outside the
// grid are ignored and blocks are clipped to it. Storage is compact so that the
// largest history (42 x 32,767 cells) stays small: texts are interned and
// colours are indices into a small per-grid palette.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "grid/Rgb.h"

namespace n4 {

enum BorderSide : std::uint8_t {
    BorderNone = 0,
    BorderLeft = 1,
    BorderRight = 2,
    BorderTop = 4,
    BorderBottom = 8,
    BorderAll = 15,
    BorderOutline = 16,
};

enum class Align : std::uint8_t { Center, Left };

// A rectangle of cells, corners inclusive; -1 for a column or row means all.
struct Block {
    int col1, row1, col2, row2;
    static Block cell(int col, int row) { return {col, row, col, row}; }
    static Block all() { return {-1, -1, -1, -1}; }
};

class Grid {
  public:
    Grid() = default;
    Grid(int cols, int rows) { resize(cols, rows); }

    void resize(int cols, int rows);
    int maxCols() const { return cols_; }
    int maxRows() const { return rows_; }

    void setVisible(int cols, int rows) { visibleCols_ = cols, visibleRows_ = rows; }
    int visibleCols() const { return visibleCols_; }
    int visibleRows() const { return visibleRows_; }

    void setText(int col, int row, const std::string& text);
    void setNumber(int col, int row, long long value);
    const std::string& text(int col, int row) const;
    bool isEmpty(int col, int row) const { return text(col, row).empty(); }
    void clearText(const Block& b);

    // Width in widths of the digit 0; height in points. -1 sets every one.
    void setColWidth(int col, double width);
    void setRowHeight(int row, double height);
    double colWidth(int col) const;
    double rowHeight(int row) const;

    void setBackground(const Block& b, Rgb colour);
    void setForeground(const Block& b, Rgb colour);
    // Default colours read back as Rgb::none().
    Rgb background(int col, int row) const;
    Rgb foreground(int col, int row) const;

    // Border colour stays in force for later setBorder calls until changed.
    void setBorderColour(Rgb colour) { borderColour_ = colour; }
    // type 0 clears every side of every cell; 1..15 add those sides to every
    // cell; 16 adds the outer sides of the block (an outline).
    void setBorder(const Block& b, int type);
    std::uint8_t borders(int col, int row) const;
    Rgb borderColour(int col, int row, BorderSide side) const;

    void setAlign(const Block& b, Align align);
    Align align(int col, int row) const;

    void setTextOverflow(bool on) { overflow_ = on; }
    bool textOverflow() const { return overflow_; }

    static constexpr std::size_t bytesPerCell() { return sizeof(Cell); }
    std::size_t memoryBytes() const;

  private:
    struct Cell {
        std::uint32_t text = 0;
        std::uint8_t fg = 0, bg = 0;
        std::uint8_t sides = 0;
        Align align = Align::Center;
        std::uint8_t sideColour[4] = {0, 0, 0, 0};
    };

    bool inside(int col, int row) const {
        return col >= 1 && row >= 1 && col <= cols_ && row <= rows_;
    }
    Cell& at(int col, int row) { return cells_[index(col, row)]; }
    const Cell& at(int col, int row) const { return cells_[index(col, row)]; }
    std::size_t index(int col, int row) const {
        return static_cast<std::size_t>(row - 1) * cols_ + (col - 1);
    }
    bool clip(const Block& b, Block& out) const;
    template <typename F> void forEach(const Block& b, F f);
    std::uint8_t colourIndex(Rgb colour);
    std::uint32_t textIndex(const std::string& text);

    int cols_ = 0, rows_ = 0;
    int visibleCols_ = 0, visibleRows_ = 0;
    bool overflow_ = true;
    Rgb borderColour_ = Rgb::none();
    std::vector<Cell> cells_;
    std::vector<double> colWidths_, rowHeights_;
    std::vector<std::string> texts_{""};
    std::unordered_map<std::string, std::uint32_t> textIds_{{"", 0}};
    std::vector<Rgb> palette_{Rgb::none()};
    // Text ids of small numbers, the most common texts, without hashing.
    std::vector<std::uint32_t> numberIds_;
};

} // namespace n4
