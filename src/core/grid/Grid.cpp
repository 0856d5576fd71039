#include "core/grid/Grid.h"

#include <algorithm>
#include <stdexcept>

namespace n4 {

void appendHex(std::string& out, Rgb colour) {
    static const char* const kHex = "0123456789abcdef";
    out += '#';
    for (int v : {colour.r, colour.g, colour.b}) {
        out += kHex[(v >> 4) & 0xf];
        out += kHex[v & 0xf];
    }
}

std::string Rgb::hex() const {
    std::string out;
    appendHex(out, *this);
    return out;
}

namespace {
constexpr double kDefaultWidth = 5.0;
constexpr double kDefaultHeight = 10.0;
} // namespace

void Grid::resize(int cols, int rows) {
    cols_ = std::max(0, cols);
    rows_ = std::max(0, rows);
    cells_.reset(cols_, rows_);
    drawRows_.clear();
    writesOutside_ = 0;
    colWidths_.assign(cols_ + 1, kDefaultWidth);
    rowHeights_.assign(rows_ + 1, kDefaultHeight);
    if (visibleCols_ == 0) visibleCols_ = cols_;
    if (visibleRows_ == 0) visibleRows_ = rows_;
}

namespace {
constexpr std::size_t kRecentTextSlots = 512;

std::size_t recentTextSlot(std::string_view text) {
    std::uint32_t h = 2166136261u; // FNV-1a
    for (char c : text)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h & (kRecentTextSlots - 1);
}
} // namespace

Grid::TextId Grid::internText(std::string_view text) {
    if (recentTexts_.empty()) recentTexts_.assign(kRecentTextSlots, 0);
    std::uint32_t& recent = recentTexts_[recentTextSlot(text)];
    if (texts_[recent] == text) return {recent};
    std::string key(text);
    auto it = textIds_.find(key);
    if (it == textIds_.end()) {
        const auto id = static_cast<std::uint32_t>(texts_.size());
        texts_.push_back(key);
        it = textIds_.emplace(std::move(key), id).first;
    }
    recent = it->second;
    return {recent};
}

std::uint8_t Grid::colourIndex(Rgb colour) {
    const auto part = [](int value) { return static_cast<std::uint32_t>(value + 1); };
    const std::uint32_t packed = (part(colour.r) << 20) ^ (part(colour.g) << 10) ^ part(colour.b);
    std::uint8_t& recent = recentColours_[(packed * 2654435761u) >> 26];
    if (palette_[recent] == colour) return recent;
    auto it = std::find(palette_.begin(), palette_.end(), colour);
    if (it == palette_.end()) {
        if (palette_.size() >= 255) throw std::length_error("grid palette full");
        it = palette_.insert(palette_.end(), colour);
    }
    recent = static_cast<std::uint8_t>(it - palette_.begin());
    return recent;
}

Grid::ColourId Grid::internColour(Rgb colour) {
    return {colourIndex(colour)};
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

void Grid::applyToBlock(const Block& b, CellOp::Kind kind, std::uint8_t value,
                        std::uint8_t colour) {
    Block c;
    const bool any = clip(b, c);
    const bool colsCut = b.col1 != -1 && (c.col1 != b.col1 || c.col2 != b.col2);
    const bool rowsCut = b.row1 != -1 && (c.row1 != b.row1 || c.row2 != b.row2);
    if (colsCut || rowsCut) ++writesOutside_;
    if (any) cells_.apply({kind, value, colour, c.col1, c.row1, c.col2, c.row2});
}

void Grid::setText(int col, int row, std::string_view text) {
    if (inside(col, row))
        setText(col, row, internText(text));
    else
        ++writesOutside_;
}

void Grid::setText(int col, int row, TextId text) {
    if (writable(col, row)) cells_.at(col, row).text = text.key;
}

void Grid::setNumber(int col, int row, long long value) {
    if (!writable(col, row)) return;
    if (value < 0 || value >= kSharedNumbers) {
        setText(col, row, std::to_string(value));
        return;
    }
    cells_.at(col, row).text = kNumberKey | static_cast<std::uint32_t>(value);
}

void Grid::clearText(const Block& b) {
    applyToBlock(b, CellOp::ClearText, 0);
}

void Grid::setColWidth(int col, double width) {
    if (col == -1)
        std::fill(colWidths_.begin(), colWidths_.end(), width);
    else if (col >= 1 && col <= cols_)
        colWidths_[col] = width;
    else
        ++writesOutside_;
}

void Grid::setRowHeight(int row, double height) {
    if (row == -1)
        std::fill(rowHeights_.begin(), rowHeights_.end(), height);
    else if (row >= 1 && row <= rows_)
        rowHeights_[row] = height;
    else
        ++writesOutside_;
}

double Grid::colWidth(int col) const {
    return col >= 1 && col <= cols_ ? colWidths_[col] : kDefaultWidth;
}

double Grid::rowHeight(int row) const {
    return row >= 1 && row <= rows_ ? rowHeights_[row] : kDefaultHeight;
}

// One cell, as the fills colour them row by row, is written at once.
void Grid::setBackground(const Block& b, Rgb colour) {
    if (isOneCellInside(b))
        cells_.at(b.col1, b.row1).bg = colourIndex(colour);
    else
        applyToBlock(b, CellOp::Background, colourIndex(colour));
}

void Grid::setForeground(const Block& b, Rgb colour) {
    if (isOneCellInside(b))
        cells_.at(b.col1, b.row1).fg = colourIndex(colour);
    else
        applyToBlock(b, CellOp::Foreground, colourIndex(colour));
}

void Grid::setForeground(int col, int row, ColourId colour) {
    if (writable(col, row)) cells_.at(col, row).fg = colour.index;
}

Rgb Grid::background(int col, int row) const {
    return inside(col, row) ? palette_[cells_.at(col, row).bg] : Rgb::none();
}

Rgb Grid::foreground(int col, int row) const {
    return inside(col, row) ? palette_[cells_.at(col, row).fg] : Rgb::none();
}

void Grid::setBorder(const Block& b, int type) {
    const std::uint8_t colour = colourIndex(borderColour_);
    if (type == 0)
        applyToBlock(b, CellOp::ClearSides, 0);
    else if (type & BorderOutline)
        applyToBlock(b, CellOp::Outline, 0, colour);
    else
        applyToBlock(b, CellOp::AddSides, static_cast<std::uint8_t>(type & BorderAll), colour);
}

std::uint8_t Grid::borders(int col, int row) const {
    return inside(col, row) ? cells_.at(col, row).sides : 0;
}

namespace {
int sideSlot(BorderSide side) {
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
} // namespace

Rgb Grid::borderColour(int col, int row, BorderSide side) const {
    if (!inside(col, row)) return Rgb::none();
    const Cell& cell = cells_.at(col, row);
    if (!(cell.sides & side)) return Rgb::none();
    return palette_[cell.sideColour[sideSlot(side)]];
}

void Grid::setAlign(const Block& b, Align align) {
    applyToBlock(b, CellOp::Alignment, static_cast<std::uint8_t>(align));
}

Align Grid::align(int col, int row) const {
    return inside(col, row) ? static_cast<Align>(cells_.at(col, row).align) : Align::Center;
}

std::size_t Grid::memoryBytes() const {
    std::size_t bytes = cells_.bytes() + drawRows_.memoryBytes();
    bytes += (colWidths_.capacity() + rowHeights_.capacity()) * sizeof(double);
    for (const auto& t : texts_)
        bytes += sizeof(std::string) + t.capacity();
    bytes += textIds_.size() * (sizeof(std::string) + sizeof(std::uint32_t) + 2 * sizeof(void*));
    bytes += recentTexts_.capacity() * sizeof(std::uint32_t);
    return bytes;
}

int firstUnevenRow(const Grid& grid, int fromRow, int fromCol) {
    for (int row = std::max(fromRow, 1); row <= grid.maxRows(); ++row)
        for (int col = fromCol + 1; col <= grid.maxCols(); ++col)
            if (grid.text(col, row) != grid.text(fromCol, row) ||
                grid.foreground(col, row) != grid.foreground(fromCol, row) ||
                grid.background(col, row) != grid.background(fromCol, row))
                return row;
    return 0;
}

} // namespace n4
