// The grid builds its rows lazily and reuses the storage of large grids; what
// a window reads back must be exactly what plain cell-by-cell writing gives.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/grid/Grid.h"
#include "core/grid/GridCells.h"
#include "core/grid/NumberTexts.h"
#include "core/grid/Palette.h"

using namespace n4;

namespace {

// The grid as the windows rely on it, written the plain way: every setting
// goes to every cell of its block at once.
class PlainGrid {
  public:
    struct Cell {
        std::string text;
        Rgb fg, bg;
        int sides = 0;
        std::array<Rgb, 4> sideColour;
        Align align = Align::Center;
    };

    PlainGrid(int cols, int rows) : cols_(cols), rows_(rows), cells_(cols * rows) {}

    void text(int col, int row, const std::string& t) {
        if (inside(col, row)) cell(col, row).text = t;
    }
    void block(const Block& b, const std::function<void(Cell&, int, int, const Block&)>& f) {
        Block c{b.col1 == -1 ? 1 : std::max(1, b.col1), b.row1 == -1 ? 1 : std::max(1, b.row1),
                b.col1 == -1 ? cols_ : std::min(cols_, b.col2),
                b.row1 == -1 ? rows_ : std::min(rows_, b.row2)};
        for (int row = c.row1; row <= c.row2; ++row)
            for (int col = c.col1; col <= c.col2; ++col)
                f(cell(col, row), col, row, c);
    }
    void border(const Block& b, int type, Rgb colour) {
        block(b, [&](Cell& cell, int col, int row, const Block& c) {
            int add = type & BorderAll;
            if (type == 0) cell.sides = 0;
            if (type & BorderOutline)
                add = (col == c.col1 ? BorderLeft : 0) | (col == c.col2 ? BorderRight : 0) |
                      (row == c.row1 ? BorderTop : 0) | (row == c.row2 ? BorderBottom : 0);
            for (int s = 0; s < 4; ++s)
                if (type != 0 && (add & (1 << s))) {
                    cell.sides |= 1 << s;
                    cell.sideColour[s] = colour;
                }
        });
    }

    Cell& cell(int col, int row) { return cells_[(row - 1) * cols_ + col - 1]; }
    bool inside(int col, int row) const {
        return col >= 1 && row >= 1 && col <= cols_ && row <= rows_;
    }

    int cols_, rows_;
    std::vector<Cell> cells_;
};

void expectSame(const Grid& g, PlainGrid& p, const std::string& when) {
    const BorderSide sides[4] = {BorderLeft, BorderRight, BorderTop, BorderBottom};
    for (int row = 1; row <= p.rows_; ++row)
        for (int col = 1; col <= p.cols_; ++col) {
            const PlainGrid::Cell& want = p.cell(col, row);
            SCOPED_TRACE(when + " cell " + std::to_string(col) + "," + std::to_string(row));
            ASSERT_EQ(g.text(col, row), want.text);
            ASSERT_EQ(g.isEmpty(col, row), want.text.empty());
            ASSERT_EQ(g.foreground(col, row), want.fg);
            ASSERT_EQ(g.background(col, row), want.bg);
            ASSERT_EQ(g.borders(col, row), want.sides);
            ASSERT_EQ(g.align(col, row), want.align);
            for (int s = 0; s < 4; ++s)
                ASSERT_EQ(g.borderColour(col, row, sides[s]),
                          (want.sides & (1 << s)) ? want.sideColour[s] : Rgb::none());
        }
}

// A fixed pseudo-random sequence, so that a failure repeats.
struct Sequence {
    std::uint32_t x;
    int next(int n) {
        x = x * 1103515245u + 12345u;
        return static_cast<int>((x >> 8) % static_cast<std::uint32_t>(n));
    }
};

const Rgb kColours[] = {palette::Red,  palette::Cyan,      palette::Green,
                        palette::Mark, palette::ChartLine, palette::LabelYellow};

// One step of a window's set-up or fill, applied to both grids.
void randomStep(Grid& g, PlainGrid& p, Sequence& s) {
    const int cols = p.cols_, rows = p.rows_;
    auto anyRow = [&] { return s.next(rows + 2); }; // sometimes outside the grid
    int c1 = 1 + s.next(cols), r1 = anyRow();
    Block b{c1, r1, c1 + s.next(cols), r1 + s.next(4) * s.next(rows / 2 + 1)};
    if (s.next(10) == 0) b = {-1, r1, -1, r1 + 3};
    if (s.next(20) == 0) b = Block::all();
    const Rgb colour = kColours[s.next(6)];
    switch (s.next(9)) {
    case 0: {
        const std::string t = std::string(1, static_cast<char>('a' + s.next(3)));
        g.setText(b.col1, b.row1, t);
        p.text(b.col1, b.row1, t);
        break;
    }
    case 1: {
        const int n = s.next(3) == 0 ? 200000 + s.next(9) : s.next(40000);
        g.setNumber(b.col1, b.row1, n);
        p.text(b.col1, b.row1, std::to_string(n));
        break;
    }
    case 2:
        g.setForeground(b.col1, b.row1, g.internColour(colour));
        if (p.inside(b.col1, b.row1)) p.cell(b.col1, b.row1).fg = colour;
        break;
    case 3:
        g.setBackground(b, colour);
        p.block(b, [&](PlainGrid::Cell& c, int, int, const Block&) { c.bg = colour; });
        break;
    case 4:
        g.setForeground(b, colour);
        p.block(b, [&](PlainGrid::Cell& c, int, int, const Block&) { c.fg = colour; });
        break;
    case 5:
        g.clearText(b);
        p.block(b, [&](PlainGrid::Cell& c, int, int, const Block&) { c.text.clear(); });
        break;
    case 6: {
        const int types[] = {0, 15, 12, 1, 8, 16, 16};
        const int type = types[s.next(7)];
        g.setBorderColour(colour);
        g.setBorder(b, type);
        p.border(b, type, colour);
        break;
    }
    case 7: {
        const Align a = s.next(2) ? Align::Left : Align::Center;
        g.setAlign(b, a);
        p.block(b, [&](PlainGrid::Cell& c, int, int, const Block&) { c.align = a; });
        break;
    }
    default: { // a fill walking down the rows, as the charts write
        static int fillRow = 0;
        fillRow = fillRow % rows + 1;
        g.setNumber(1, fillRow, fillRow);
        p.text(1, fillRow, std::to_string(fillRow));
    }
    }
}

} // namespace

TEST(GridCells, AnyOrderOfSettingsReadsAsIfWrittenCellByCell) {
    // Small grids span one staging area, the tall ones many.
    for (auto [cols, rows, seed] :
         {std::array<int, 3>{3, 5, 1}, {7, 400, 2}, {42, 900, 3}, {2, 2500, 4}, {11, 1200, 5}}) {
        Grid g(cols, rows);
        PlainGrid p(cols, rows);
        Sequence s{static_cast<std::uint32_t>(seed)};
        for (int step = 0; step < 400; ++step) {
            randomStep(g, p, s);
            // Reading now and then builds rows in the middle of the set-up.
            if (s.next(50) == 0) (void)g.background(1 + s.next(cols), 1 + s.next(rows));
        }
        expectSame(g, p, "seed " + std::to_string(seed));
    }
}

TEST(GridCells, CopiesAndMovesKeepEveryCellAndStayIndependent) {
    Grid g(9, 3000);
    PlainGrid p(9, 3000);
    Sequence s{77};
    for (int step = 0; step < 150; ++step)
        randomStep(g, p, s);
    Grid copy = g; // part of g is still unbuilt
    PlainGrid pc = p;
    Sequence s2 = s;
    for (int step = 0; step < 150; ++step)
        randomStep(g, p, s);
    for (int step = 0; step < 150; ++step)
        randomStep(copy, pc, s2);
    expectSame(g, p, "original");
    expectSame(copy, pc, "copy");
    Grid moved = std::move(copy);
    expectSame(moved, pc, "moved");
    Grid assigned(1, 1);
    assigned = moved;
    expectSame(assigned, pc, "assigned");
}

TEST(GridCells, ALargeGridNeverShowsWhatAnEarlierOneHeld) {
    // Large grids hand their storage on; a new grid must still start empty.
    {
        Grid old(42, 4000);
        old.setBackground(Block::all(), palette::Red);
        old.setBorder(Block::all(), 15);
        for (int row = 1; row <= 4000; ++row)
            old.setText(5, row, "●");
        EXPECT_EQ(old.text(5, 4000), "●");
    }
    Grid fresh(42, 3000);
    fresh.setText(1, 1, "x");
    for (int row = 1; row <= 3000; row += 7)
        for (int col = 1; col <= 42; ++col) {
            ASSERT_TRUE(fresh.background(col, row).isNone());
            ASSERT_EQ(fresh.borders(col, row), 0);
            ASSERT_EQ(fresh.text(col, row), col == 1 && row == 1 ? "x" : "");
        }
    Grid resized(42, 4000);
    resized.setForeground(Block::all(), palette::Green);
    resized.resize(10, 10);
    EXPECT_TRUE(resized.foreground(10, 10).isNone());
}

// The storage a grid of a megabyte or more (87,381 cells of 12 bytes)
// releases is kept for the next such grid of about its size: the storage
// released last, which a window computed again takes back, also when it has
// grown by a few draws. A much smaller grid does not take it: every window's
// memory would otherwise climb to the largest grid's. Such storage is made
// with room for a few more draws (a 32nd more).
TEST(GridCells, TheStorageOfALargeGridGoesToTheNextOneOfItsSize) {
    constexpr int kLarge = (1 << 20) / 12;
    const auto cells = [](const GridCells& g) { return g.bytes() / sizeof(Cell); };
    {
        GridCells flush; // whatever an earlier grid of this process left goes
        flush.reset(1, 500000);
    }
    {
        GridCells closed;
        closed.reset(1, 200000);
        EXPECT_EQ(cells(closed), 206250u);
    }
    GridCells smaller;
    smaller.reset(1, 100000);
    EXPECT_EQ(cells(smaller), 103125u); // its own, with room
    GridCells again;
    again.reset(1, 200010);           // computed again, a few draws longer
    EXPECT_EQ(cells(again), 206250u); // the closed grid's storage
    GridCells another;
    another.reset(1, 190000);
    EXPECT_EQ(cells(another), 195937u); // nothing left to take

    // The storage released last is the one kept.
    {
        GridCells second, first; // the first goes first
        first.reset(1, 300000);
        second.reset(1, 120000);
    }
    GridCells large;
    large.reset(1, 290000);
    EXPECT_EQ(cells(large), 299062u); // the larger went first and is gone
    GridCells middle;
    middle.reset(1, 110000);
    EXPECT_EQ(cells(middle), 123750u);

    GridCells grown;
    grown.reset(1, 1000);
    EXPECT_EQ(cells(grown), 1000u);
    grown.reset(1, 90000); // growing past its storage
    EXPECT_EQ(cells(grown), 92812u);

    // Less than a megabyte takes no storage that is kept, and leaves none.
    {
        GridCells justLarge;
        justLarge.reset(1, 150000);
    }
    {
        GridCells small;
        small.reset(1, kLarge - 1);
        EXPECT_EQ(cells(small), size_t(kLarge - 1));
    }
    GridCells last;
    last.reset(1, 140000);
    EXPECT_EQ(cells(last), 154687u);
}

TEST(GridCells, NumbersReadBackAsTheirTextsWithoutGrowingTheGrid) {
    Grid g(2, 3);
    g.setNumber(1, 1, 0);
    g.setNumber(2, 1, 99999);
    g.setNumber(1, 2, -5);
    g.setNumber(2, 2, static_cast<long long>(kSharedNumbers));
    g.setNumber(1, 3, 4000000000LL);
    EXPECT_EQ(g.text(1, 1), "0");
    EXPECT_FALSE(g.isEmpty(1, 1));
    EXPECT_EQ(g.text(2, 1), "99999");
    EXPECT_EQ(g.text(1, 2), "-5");
    EXPECT_EQ(g.text(2, 2), std::to_string(kSharedNumbers));
    EXPECT_EQ(g.text(1, 3), "4000000000");
    EXPECT_EQ(numberText(kSharedNumbers - 1), std::to_string(kSharedNumbers - 1));
    // A chart's draw numbers do not each add a text of the grid's own.
    Grid chart(42, 32767);
    const std::size_t before = chart.memoryBytes();
    for (int row = 1; row <= 32767; ++row)
        chart.setNumber(1, row, row);
    EXPECT_LT(chart.memoryBytes(), before + 64 * 1024);
}

TEST(GridCells, InternedTextsAndColoursWriteLikeTheirValues) {
    Grid g(3, 2);
    const Grid::TextId dot = g.internText("●");
    const Grid::ColourId mark = g.internColour(palette::Mark);
    g.setText(2, 2, dot);
    g.setForeground(2, 2, mark);
    g.setText(9, 9, dot);        // outside: ignored
    g.setForeground(0, 1, mark); // outside: ignored
    EXPECT_EQ(g.text(2, 2), "●");
    EXPECT_EQ(g.foreground(2, 2), palette::Mark);
    EXPECT_EQ(g.internText("●").key, dot.key);
    EXPECT_TRUE(g.foreground(1, 1).isNone());
}

// Many texts and colours, each written again and again in no order, read
// back as written: the grid remembers the few it met last, never mixing up
// two of them.
TEST(GridCells, ManyTextsAndColoursInAnyOrderReadBackAsWritten) {
    constexpr int kRows = 3000;
    Grid g(3, kRows);
    const auto colourOf = [](int i) { // 120 colours: a grid holds at most 255
        const int k = i % 120;
        return Rgb(k, k * 7 % 256, 255 - k);
    };
    const auto textOf = [](int i) { return std::to_string(i % 1500) + "回前"; };
    for (int row = 1; row <= kRows; ++row) {
        const int i = static_cast<int>((row * 2654435761u) % 100000);
        g.setText(1, row, textOf(i));
        g.setBackground(Block::cell(2, row), colourOf(i));
        g.setForeground({3, row, 3, row}, colourOf(i + 1));
    }
    for (int row = 1; row <= kRows; ++row) {
        const int i = static_cast<int>((row * 2654435761u) % 100000);
        ASSERT_EQ(g.text(1, row), textOf(i)) << row;
        ASSERT_EQ(g.background(2, row), colourOf(i)) << row;
        ASSERT_EQ(g.foreground(3, row), colourOf(i + 1)) << row;
    }
    EXPECT_EQ(g.internText(textOf(7)).key, g.internText(std::string("7回前")).key);
}

TEST(GridCells, AnOutlineFarBelowTheBuiltRowsFramesOnlyItsEdges) {
    Grid g(3, 3000);
    g.setBorderColour(palette::ChartLine);
    g.setBorder({1, 1000, 3, 2500}, BorderOutline);
    EXPECT_EQ(g.borders(2, 999), 0);
    EXPECT_EQ(g.borders(2, 1000), BorderTop);
    EXPECT_EQ(g.borders(2, 1001), 0);
    EXPECT_EQ(g.borders(1, 1001), BorderLeft);
    EXPECT_EQ(g.borders(3, 2499), BorderRight);
    EXPECT_EQ(g.borders(3, 2500), BorderRight | BorderBottom);
    EXPECT_EQ(g.borders(2, 2501), 0);
}

TEST(GridCells, ASettingMadeAfterRowsBelowWereReadStillReachesThem) {
    Grid g(3, 5000);
    g.setBackground({1, 100, 3, 5000}, palette::Cyan);
    EXPECT_EQ(g.background(1, 200), palette::Cyan); // rows from here down look alike
    g.setForeground({1, 4000, 3, 4000}, palette::Red);
    EXPECT_TRUE(g.foreground(2, 3999).isNone());
    EXPECT_EQ(g.foreground(2, 4000), palette::Red);
    EXPECT_TRUE(g.foreground(2, 4001).isNone());
    EXPECT_EQ(g.background(2, 4001), palette::Cyan);
}

TEST(GridCells, SettingsJustAheadOfARowByRowFillAreKept) {
    // Whatever the number of rows built at a time, a setting a few rows
    // ahead of the fill must survive the fill's progress past it.
    for (int cols : {9, 42})
        for (int ahead = 1; ahead <= 160; ++ahead) {
            Grid g(cols, 700);
            for (int row = 1; row <= 700; ++row) {
                if ((row + ahead) % 7 == 0)
                    g.setBackground(Block::cell(1, row + ahead), palette::Green);
                g.setNumber(1, row, row);
            }
            for (int row = ahead + 1; row <= 700; ++row)
                ASSERT_EQ(g.background(1, row), row % 7 == 0 ? palette::Green : Rgb::none())
                    << cols << " columns, " << ahead << " rows ahead, row " << row;
        }
}

TEST(GridCells, AWriteFarBelowTheBuiltRowsLandsInItsRow) {
    for (int row = 1; row <= 200; ++row) {
        Grid g(42, 300);
        g.setText(2, row, "x");
        EXPECT_EQ(g.text(2, 300), ""); // builds every row below it
        ASSERT_EQ(g.text(2, row), "x") << "row " << row;
        ASSERT_EQ(g.text(2, row - 1), "");
        ASSERT_EQ(g.text(2, row + 1), "");
    }
}

TEST(GridCells, ACopyHoldsTheLastRowWhateverTheGridsHeight) {
    for (int rows = 1; rows <= 80; ++rows) {
        Grid g(42, rows);
        g.setText(42, rows, "last");
        g.setBackground({1, rows, 1, rows}, palette::Cyan);
        const Grid copy = g;
        ASSERT_EQ(copy.text(42, rows), "last") << rows << " rows";
        ASSERT_EQ(copy.background(1, rows), palette::Cyan);
    }
}
