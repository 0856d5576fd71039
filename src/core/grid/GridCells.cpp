#include "core/grid/GridCells.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/grid/Grid.h"

namespace n4 {

namespace {

// A large grid's storage, once released, is kept for the next large grid:
// without it every grid above the C library's mapping threshold would take
// fresh pages from the kernel and pay a page fault per 4 KB. One buffer is
// kept, the one released last: a window computed again releases its old grid
// first, and the new one takes its storage back. A buffer is taken only by a
// grid about its size, so that a small grid never holds a large one's memory
// (each window's storage would otherwise climb to the largest grid's).
constexpr std::size_t kSpareFrom = (std::size_t(1) << 20) / sizeof(Cell); // cells: 1 MB

struct Spare {
    std::mutex lock;
    Cell* data = nullptr;
    std::size_t capacity = 0;
};

Spare& spare() {
    static Spare s;
    return s;
}

// Room for a few more draws than asked, so that a grid grown by a draw or
// two still fits the storage its window released. Pages never written are
// never made resident.
std::size_t withHeadroom(std::size_t count) {
    return count + count / 32;
}

bool fits(std::size_t capacity, std::size_t count) {
    return capacity >= count && capacity <= withHeadroom(count) + count / 8;
}

Cell* allocateCells(std::size_t count, std::size_t& capacity) {
    if (count >= kSpareFrom) {
        Spare& s = spare();
        std::lock_guard<std::mutex> guard(s.lock);
        if (s.data && fits(s.capacity, count)) {
            capacity = std::exchange(s.capacity, 0);
            return std::exchange(s.data, nullptr);
        }
        count = withHeadroom(count);
    }
    capacity = count;
    return static_cast<Cell*>(::operator new(count * sizeof(Cell)));
}

void freeCells(Cell* data, std::size_t capacity) {
    if (!data) return;
    if (capacity >= kSpareFrom) {
        Spare& s = spare();
        std::lock_guard<std::mutex> guard(s.lock);
        std::swap(data, s.data);
        std::swap(capacity, s.capacity);
    }
    ::operator delete(data);
}

// Copies bytes to memory that is not read again soon, past the cache.
void copyPastCache(void* to, const void* from, std::size_t bytes) {
#if defined(__SSE2__)
    auto* dst = static_cast<char*>(to);
    auto* src = static_cast<const char*>(from);
    const std::size_t head = (16 - reinterpret_cast<std::uintptr_t>(dst) % 16) % 16;
    if (bytes < head + 64) {
        std::memcpy(dst, src, bytes);
        return;
    }
    std::memcpy(dst, src, head);
    dst += head, src += head, bytes -= head;
    for (; bytes >= 16; dst += 16, src += 16, bytes -= 16)
        _mm_stream_si128(reinterpret_cast<__m128i*>(dst),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(src)));
    std::memcpy(dst, src, bytes);
    _mm_sfence();
#else
    std::memcpy(to, from, bytes);
#endif
}

// About 16 KB of rows: they stay in the first-level cache while filled.
int stageRowsFor(int cols) {
    return std::max(1, 16384 / std::max(1, cols * static_cast<int>(sizeof(Cell))));
}

void addSides(Cell& cell, std::uint8_t add, std::uint8_t colour) {
    cell.sides |= add;
    if (add & BorderLeft) cell.sideColour[0] = colour;
    if (add & BorderRight) cell.sideColour[1] = colour;
    if (add & BorderTop) cell.sideColour[2] = colour;
    if (add & BorderBottom) cell.sideColour[3] = colour;
}

} // namespace

void CellOp::applyTo(Cell& cell, int col, int row) const {
    switch (kind) {
    case Background:
        cell.bg = value;
        break;
    case Foreground:
        cell.fg = value;
        break;
    case ClearText:
        cell.text = 0;
        break;
    case ClearSides:
        cell.sides = 0;
        break;
    case AddSides:
        addSides(cell, value, colour);
        break;
    case Outline: {
        std::uint8_t add = 0;
        if (col == col1) add |= BorderLeft;
        if (col == col2) add |= BorderRight;
        if (row == row1) add |= BorderTop;
        if (row == row2) add |= BorderBottom;
        addSides(cell, add, colour);
        break;
    }
    case Alignment:
        cell.align = value;
        break;
    }
}

GridCells::GridCells(const GridCells& other)
    : cols_(other.cols_), rows_(other.rows_), stageRows_(other.stageRows_) {
    other.advance(other.rows_);
    other.commitStage();
    const std::size_t count = static_cast<std::size_t>(cols_) * rows_;
    data_ = allocateCells(count, capacity_);
    if (count) std::memcpy(data_, other.data_, count * sizeof(Cell));
    committed_ = staged_ = rows_;
}

GridCells& GridCells::operator=(const GridCells& other) {
    if (this != &other) *this = GridCells(other);
    return *this;
}

GridCells::GridCells(GridCells&& other) noexcept {
    *this = std::move(other);
}

GridCells& GridCells::operator=(GridCells&& other) noexcept {
    if (this == &other) return *this;
    releaseStorage();
    cols_ = std::exchange(other.cols_, 0);
    rows_ = std::exchange(other.rows_, 0);
    stageRows_ = std::exchange(other.stageRows_, 1);
    data_ = std::exchange(other.data_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
    committed_ = std::exchange(other.committed_, 0);
    staged_ = std::exchange(other.staged_, 0);
    stage_ = std::exchange(other.stage_, {});
    pending_ = std::exchange(other.pending_, {});
    template_ = std::exchange(other.template_, {});
    templateFirst_ = std::exchange(other.templateFirst_, 0);
    templateEnd_ = std::exchange(other.templateEnd_, 0);
    return *this;
}

GridCells::~GridCells() {
    releaseStorage();
}

void GridCells::releaseStorage() {
    freeCells(data_, capacity_);
    data_ = nullptr;
    capacity_ = 0;
}

void GridCells::reset(int cols, int rows) {
    const std::size_t count = static_cast<std::size_t>(cols) * rows;
    if (count > capacity_) {
        releaseStorage();
        data_ = allocateCells(count, capacity_);
    }
    cols_ = cols;
    rows_ = rows;
    stageRows_ = std::min(stageRowsFor(cols), std::max(1, rows));
    committed_ = staged_ = 0;
    pending_.clear();
    templateFirst_ = templateEnd_ = 0;
}

void GridCells::apply(const CellOp& op) {
    for (int row = op.row1; row <= std::min(op.row2, staged_); ++row) {
        Cell* cell = &at(op.col1, row);
        for (int col = op.col1; col <= op.col2; ++col, ++cell)
            op.applyTo(*cell, col, row);
    }
    if (op.row2 > staged_) {
        pending_.push_back(op);
        templateEnd_ = 0; // the template no longer tells the whole story
    }
}

const Cell* GridCells::templateFor(int row) const {
    if (row >= templateFirst_ && row < templateEnd_) return template_.data();
    template_.assign(static_cast<std::size_t>(cols_), Cell{});
    int end = rows_ + 1;
    auto boundary = [&](int r) {
        if (r > row) end = std::min(end, r);
    };
    for (const CellOp& op : pending_) {
        boundary(op.row1);
        boundary(op.row2 + 1);
        if (op.kind == CellOp::Outline) { // its top and bottom rows differ
            boundary(op.row1 + 1);
            boundary(op.row2);
        }
        if (row < op.row1 || row > op.row2) continue;
        for (int col = op.col1; col <= op.col2; ++col)
            op.applyTo(template_[col - 1], col, row);
    }
    templateFirst_ = row;
    templateEnd_ = end;
    return template_.data();
}

void GridCells::commitStage() const {
    if (staged_ > committed_)
        copyPastCache(data_ + index(1, committed_ + 1), stage_.data(),
                      static_cast<std::size_t>(staged_ - committed_) * cols_ * sizeof(Cell));
    committed_ = staged_;
}

void GridCells::fillStage() const {
    const int last = std::min(rows_, committed_ + stageRows_);
    const std::size_t rowCells = static_cast<std::size_t>(cols_);
    stage_.resize(static_cast<std::size_t>(stageRows_) * rowCells);
    Cell* to = stage_.data();
    for (int row = committed_ + 1; row <= last; ++row, to += rowCells)
        std::memcpy(to, templateFor(row), rowCells * sizeof(Cell));
    staged_ = last;
}

void GridCells::advance(int row) const {
    if (cols_ == 0) {
        committed_ = staged_ = rows_;
        return;
    }
    do {
        commitStage();
        fillStage();
    } while (staged_ < row);
    const int done = staged_;
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                  [done](const CellOp& op) { return op.row2 <= done; }),
                   pending_.end());
}

std::size_t GridCells::bytes() const {
    return capacity_ * sizeof(Cell) + pending_.capacity() * sizeof(CellOp) +
           (stage_.capacity() + template_.capacity()) * sizeof(Cell);
}

} // namespace n4
