// Where a view puts a grid's columns and rows: widths in width units, heights
// in 64ths of an inch, edges rounded from the running total so that they
// add up, and never two edges on one pixel.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>

#include "paint/GridLayout.h"

using namespace n4;

TEST(GridLayout, EdgesFollowTheRunningTotalAndNeverMeet) {
    Grid g(4, 3);
    g.setColWidth(1, 5);
    g.setColWidth(2, 2.5);
    g.setColWidth(3, 0); // a column without width still takes a pixel
    g.setColWidth(4, 0.1);
    g.setRowHeight(1, 10);   // 15 px at 96 dpi
    g.setRowHeight(2, 10.5); // 15.75 px: the total 30.75 rounds to 31
    g.setRowHeight(3, 0);
    const GridLayout l(g, 8, 96);
    EXPECT_EQ(l.widthUnit(), 8);
    EXPECT_EQ(l.cols(), 4);
    EXPECT_EQ(l.rows(), 3);
    EXPECT_EQ(l.columnX(1), 0);
    EXPECT_EQ(l.columnX(2), 40);
    EXPECT_EQ(l.columnX(3), 60);
    EXPECT_EQ(l.columnX(4), 61);
    EXPECT_EQ(l.columnX(5), 62); // 60.8 px in all, but one past the zero-width column
    EXPECT_EQ(l.totalWidth(), 62);
    EXPECT_EQ(l.rowY(1), 0);
    EXPECT_EQ(l.rowY(2), 15);
    EXPECT_EQ(l.rowY(3), 31);
    EXPECT_EQ(l.rowY(4), 32);
    EXPECT_EQ(l.totalHeight(), 32);
    // Which column and row a pixel lies in; 0 before, one past the last beyond.
    EXPECT_EQ(l.columnAt(-1), 0);
    EXPECT_EQ(l.columnAt(0), 1);
    EXPECT_EQ(l.columnAt(39), 1);
    EXPECT_EQ(l.columnAt(40), 2);
    EXPECT_EQ(l.columnAt(61), 4);
    EXPECT_EQ(l.columnAt(62), 5);
    EXPECT_EQ(l.rowAt(14), 1);
    EXPECT_EQ(l.rowAt(15), 2);
    EXPECT_EQ(l.rowAt(31), 3);
    EXPECT_EQ(l.rowAt(500), 4);
    // At another resolution the rows scale and the columns do not.
    const GridLayout wide(g, 8, 192);
    EXPECT_EQ(wide.rowY(2), 30);
    EXPECT_EQ(wide.rowY(3), 62);
    EXPECT_EQ(wide.columnX(2), 40);
}

TEST(GridLayout, ColumnsThatAddUpToAWholePixelEndOnIt) {
    // Ten columns of 3.9 px end at 39 px, though adding 3.9 ten times in
    // floating point gives 38.99999999999999.
    Grid g(10, 1);
    g.setColWidth(-1, 1.3);
    const GridLayout l(g, 3, 96);
    EXPECT_EQ(l.columnX(2), 3);
    EXPECT_EQ(l.columnX(6), 19);
    EXPECT_EQ(l.totalWidth(), 39);
    // An empty grid has its edges at 0.
    const GridLayout none(Grid(0, 0), 3, 96);
    EXPECT_EQ(none.cols(), 0);
    EXPECT_EQ(none.rows(), 0);
    EXPECT_EQ(none.totalWidth(), 0);
    EXPECT_EQ(none.columnAt(0), 1);
    EXPECT_EQ(GridLayout().totalHeight(), 0);
}

TEST(GridLayout, TheDefaultUnitIsOneAndAHalfZerosAndABit) {
    QFont font(QStringLiteral("IPAGothic"));
    font.setPointSizeF(7.5);
    const double zero = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    ASSERT_GT(zero, 0);
    EXPECT_DOUBLE_EQ(GridLayout::defaultWidthUnit(font), 1.6 * zero);
}
