#include "grid/Grid.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace n4 {

std::string Rgb::hex() const {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", r & 0xff, g & 0xff, b & 0xff);
    return buf;
}

namespace {
constexpr double kDefaultWidth = 5.0;
constexpr double kDefaultHeight = 10.0;
const std::string kEmpty;
} // namespace

void Grid::resize(int cols, int rows) {
    cols_ = std::max(0, cols);
    rows_ = std::max(0, rows);
    cells_.assign(static_cast<std::size_t>(cols_) * rows_, Cell{});
    colWidths_.assign(cols_ + 1, kDefaultWidth);
    rowHeights_.assign(rows_ + 1, kDefaultHeight);
    if (visibleCols_ == 0) visibleCols_ = cols_;
    if (visibleRows_ == 0) visibleRows_ = rows_;
}

std::uint32_t Grid::textIndex(const std::string& text) {
    auto it = textIds_.find(text);
    if (it != textIds_.end()) return it->second;
    auto id = static_cast<std::uint32_t>(texts_.size());
    texts_.push_back(text);
    textIds_.emplace(text, id);
    return id;
}

std::uint8_t Grid::colourIndex(Rgb colour) {
    auto it = std::find(palette_.begin(), palette_.end(), colour);
    if (it != palette_.end()) return static_cast<std::uint8_t>(it - palette_.begin());
    if (palette_.size() >= 255) throw std::length_error("grid palette full");
    palette_.push_back(colour);
    return static_cast<std::uint8_t>(palette_.size() - 1);
}

bool Grid::clip(const Block& b, Block& out) const {
    // -1 in the first corner means every column (or row).
    bool allCols = b.col1 == -1, allRows = b.row1 == -1;
    out.col1 = allCols ? 1 : std::max(1, b.col1);
    out.col2 = allCols ? cols_ : std::min(cols_, b.col2);
    out.row1 = allRows ? 1 : std::max(1, b.row1);
    out.row2 = allRows ? rows_ : std::min(rows_, b.row2);
    return out.col1 <= out.col2 && out.row1 <= out.row2;
}

template <typename F> void Grid::forEach(const Block& b, F f) {
    Block c;
    if (!clip(b, c)) return;
    for (int row = c.row1; row <= c.row2; ++row)
        for (int col = c.col1; col <= c.col2; ++col)
            f(at(col, row), col, row, c);
}

void Grid::setText(int col, int row, const std::string& text) {
    if (!inside(col, row)) return;
    at(col, row).text = textIndex(text);
}

void Grid::setNumber(int col, int row, long long value) {
    if (!inside(col, row)) return;
    if (value < 0 || value > 1000000) {
        setText(col, row, std::to_string(value));
        return;
    }
    const auto v = static_cast<std::size_t>(value);
    if (v >= numberIds_.size()) numberIds_.resize(std::max(v + 1, numberIds_.size() * 2), 0);
    if (numberIds_[v] == 0) numberIds_[v] = textIndex(std::to_string(value)); // id 0 is ""
    at(col, row).text = numberIds_[v];
}

const std::string& Grid::text(int col, int row) const {
    if (!inside(col, row)) return kEmpty;
    return texts_[at(col, row).text];
}

void Grid::clearText(const Block& b) {
    forEach(b, [](Cell& cell, int, int, const Block&) { cell.text = 0; });
}

void Grid::setColWidth(int col, double width) {
    if (col == -1)
        std::fill(colWidths_.begin(), colWidths_.end(), width);
    else if (col >= 1 && col <= cols_)
        colWidths_[col] = width;
}

void Grid::setRowHeight(int row, double height) {
    if (row == -1)
        std::fill(rowHeights_.begin(), rowHeights_.end(), height);
    else if (row >= 1 && row <= rows_)
        rowHeights_[row] = height;
}

double Grid::colWidth(int col) const {
    return col >= 1 && col <= cols_ ? colWidths_[col] : kDefaultWidth;
}

double Grid::rowHeight(int row) const {
    return row >= 1 && row <= rows_ ? rowHeights_[row] : kDefaultHeight;
}

void Grid::setBackground(const Block& b, Rgb colour) {
    std::uint8_t i = colourIndex(colour);
    forEach(b, [i](Cell& cell, int, int, const Block&) { cell.bg = i; });
}

void Grid::setForeground(const Block& b, Rgb colour) {
    std::uint8_t i = colourIndex(colour);
    forEach(b, [i](Cell& cell, int, int, const Block&) { cell.fg = i; });
}

Rgb Grid::background(int col, int row) const {
    return inside(col, row) ? palette_[at(col, row).bg] : Rgb::none();
}

Rgb Grid::foreground(int col, int row) const {
    return inside(col, row) ? palette_[at(col, row).fg] : Rgb::none();
}

namespace {
int sideSlot(std::uint8_t side) {
    switch (side) {
    case BorderLeft:
        return 0;
    case BorderRight:
        return 1;
    case BorderTop:
        return 2;
    default:
        return 3;
    }
}

void addSides(std::uint8_t& sides, std::uint8_t* colours, std::uint8_t add, std::uint8_t colour) {
    for (std::uint8_t side : {BorderLeft, BorderRight, BorderTop, BorderBottom}) {
        if (!(add & side)) continue;
        sides |= side;
        colours[sideSlot(side)] = colour;
    }
}
} // namespace

void Grid::setBorder(const Block& b, int type) {
    std::uint8_t colour = colourIndex(borderColour_);
    if (type == 0) {
        forEach(b, [](Cell& cell, int, int, const Block&) { cell.sides = 0; });
        return;
    }
    if (type & BorderOutline) {
        forEach(b, [colour](Cell& cell, int col, int row, const Block& c) {
            std::uint8_t add = 0;
            if (col == c.col1) add |= BorderLeft;
            if (col == c.col2) add |= BorderRight;
            if (row == c.row1) add |= BorderTop;
            if (row == c.row2) add |= BorderBottom;
            addSides(cell.sides, cell.sideColour, add, colour);
        });
        return;
    }
    auto add = static_cast<std::uint8_t>(type & BorderAll);
    forEach(b, [add, colour](Cell& cell, int, int, const Block&) {
        addSides(cell.sides, cell.sideColour, add, colour);
    });
}

std::uint8_t Grid::borders(int col, int row) const {
    return inside(col, row) ? at(col, row).sides : 0;
}

Rgb Grid::borderColour(int col, int row, BorderSide side) const {
    if (!inside(col, row) || !(at(col, row).sides & side)) return Rgb::none();
    return palette_[at(col, row).sideColour[sideSlot(side)]];
}

void Grid::setAlign(const Block& b, Align align) {
    forEach(b, [align](Cell& cell, int, int, const Block&) { cell.align = align; });
}

Align Grid::align(int col, int row) const {
    return inside(col, row) ? at(col, row).align : Align::Center;
}

std::size_t Grid::memoryBytes() const {
    std::size_t bytes = cells_.capacity() * sizeof(Cell);
    bytes += (colWidths_.capacity() + rowHeights_.capacity()) * sizeof(double);
    bytes += numberIds_.capacity() * sizeof(std::uint32_t);
    for (const auto& t : texts_)
        bytes += sizeof(std::string) + t.capacity();
    bytes += textIds_.size() * (sizeof(std::string) + sizeof(std::uint32_t) + 2 * sizeof(void*));
    return bytes;
}

} // namespace n4
