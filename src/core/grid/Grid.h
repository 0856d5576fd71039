#pragma once
// A table of text cells addressed (column, row) from 1, as every window of the
// program shows its result. Column or row -1 means "all"; writes outside the
// grid are ignored and blocks are clipped to it. Storage is compact so that the
// largest history (42 x 32,767 cells) stays small: texts are interned, numbers
// share one process-wide set of texts, and colours are indices into a small
// per-grid palette.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/grid/DrawRows.h"
#include "core/grid/GridCells.h"
#include "core/grid/NumberTexts.h"
#include "core/grid/Rgb.h"

namespace n4 {

enum BorderSide : std::uint8_t {
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
    // A text or a colour looked up once and then written into many cells, as
    // a chart writes its marks; valid for the grid that made it.
    struct TextId {
        std::uint32_t key = 0;
    };
    struct ColourId {
        std::uint8_t index = 0;
    };

    Grid() = default;
    Grid(int cols, int rows) { resize(cols, rows); }

    // Every cell empty and in the default colours again.
    void resize(int cols, int rows);
    int maxCols() const { return cols_; }
    int maxRows() const { return rows_; }

    void setVisible(int cols, int rows) { visibleCols_ = cols, visibleRows_ = rows; }
    int visibleCols() const { return visibleCols_; }
    int visibleRows() const { return visibleRows_; }

    TextId internText(std::string_view text);
    ColourId internColour(Rgb colour);

    void setText(int col, int row, std::string_view text);
    void setText(int col, int row, TextId text);
    void setNumber(int col, int row, long long value);
    const std::string& text(int col, int row) const {
        if (!inside(col, row)) return kNoText;
        const std::uint32_t key = cells_.at(col, row).text;
        return key & kNumberKey ? numberText(key & ~kNumberKey) : texts_[key];
    }
    bool isEmpty(int col, int row) const {
        return !inside(col, row) || cells_.at(col, row).text == 0;
    }
    void clearText(const Block& b);

    // Width in widths of the digit 0; height in points. -1 sets every one.
    void setColWidth(int col, double width);
    void setRowHeight(int row, double height);
    double colWidth(int col) const;
    double rowHeight(int row) const;

    void setBackground(const Block& b, Rgb colour);
    void setForeground(const Block& b, Rgb colour);
    void setForeground(int col, int row, ColourId colour);
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

    // A grid that lists draws notes each draw's row as it writes it (row 0:
    // a draw of the history it leaves out), in ascending draw number.
    void noteDrawRow(int drawNo, int row) { drawRows_.add(drawNo, row); }
    const DrawRows& drawRows() const { return drawRows_; }

    void setTextOverflow(bool on) { overflow_ = on; }
    bool textOverflow() const { return overflow_; }

    // Writes that reached past the grid's edge (ignored, or clipped to it). A
    // window whose sizes and offsets agree with its grid makes none.
    std::size_t writesOutside() const { return writesOutside_; }

    static constexpr std::size_t bytesPerCell() { return sizeof(Cell); }
    std::size_t memoryBytes() const;

  private:
    // A text key with this bit is a number from the shared number texts.
    static constexpr std::uint32_t kNumberKey = 0x80000000u;
    inline static const std::string kNoText;

    bool inside(int col, int row) const {
        return col >= 1 && row >= 1 && col <= cols_ && row <= rows_;
    }
    // inside(), counting a write that is not.
    bool writable(int col, int row) {
        if (inside(col, row)) return true;
        ++writesOutside_;
        return false;
    }
    bool clip(const Block& b, Block& out) const;
    bool isOneCellInside(const Block& b) const {
        return b.col1 == b.col2 && b.row1 == b.row2 && inside(b.col1, b.row1);
    }
    void applyToBlock(const Block& b, CellOp::Kind kind, std::uint8_t value,
                      std::uint8_t colour = 0);
    std::uint8_t colourIndex(Rgb colour);

    int cols_ = 0, rows_ = 0;
    int visibleCols_ = 0, visibleRows_ = 0;
    bool overflow_ = true;
    std::size_t writesOutside_ = 0;
    Rgb borderColour_ = Rgb::none();
    GridCells cells_;
    DrawRows drawRows_;
    std::vector<double> colWidths_, rowHeights_;
    std::vector<std::string> texts_{""};
    std::unordered_map<std::string, std::uint32_t> textIds_{{"", 0}};
    // The text last interned in each slot of a small table, asked before the
    // map: most texts come again row after row.
    std::vector<std::uint32_t> recentTexts_;
    std::vector<Rgb> palette_{Rgb::none()};
    // Each colour's palette index by a hash of the colour, asked before the
    // palette is searched (a fill alternates between a few colours).
    std::array<std::uint8_t, 64> recentColours_{};
};

// The first row from fromRow on whose cells from column fromCol on are not
// all alike (text and colours), where a table of marks stops being uniform;
// 0 when every row is.
int firstUnevenRow(const Grid& grid, int fromRow, int fromCol);

} // namespace n4
