#include <gtest/gtest.h>

#include "core/grid/Grid.h"
#include "core/grid/GridExport.h"
#include "core/grid/Palette.h"

using namespace n4;

TEST(Grid, WritesOutsideAreIgnoredAndBlocksAreClipped) {
    Grid g(3, 2);
    g.setText(4, 1, "x");
    g.setText(0, 1, "x");
    g.setText(1, 3, "x");
    g.setBackground({2, 1, 9, 9}, palette::Cyan);
    EXPECT_EQ(gridToTsv(g), "\t\t\n\t\t\n");
    EXPECT_EQ(g.background(2, 2), palette::Cyan);
    EXPECT_EQ(g.background(3, 1), palette::Cyan);
    EXPECT_TRUE(g.background(1, 1).isNone());
}

TEST(Grid, MinusOneSelectsEveryColumnOrRow) {
    Grid g(4, 3);
    g.setForeground({2, -1, 2, -1}, palette::Red);
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ(g.foreground(2, row), palette::Red);
    EXPECT_TRUE(g.foreground(1, 1).isNone());
    g.setBackground(Block::all(), palette::White);
    EXPECT_EQ(g.background(4, 3), palette::White);
}

TEST(Grid, LaterSingleWidthOverridesTheAllSetting) {
    Grid g(3, 3);
    g.setColWidth(-1, 2.0);
    g.setColWidth(1, 6.0);
    g.setRowHeight(-1, 9.0);
    g.setRowHeight(2, 15.0);
    EXPECT_DOUBLE_EQ(g.colWidth(1), 6.0);
    EXPECT_DOUBLE_EQ(g.colWidth(3), 2.0);
    EXPECT_DOUBLE_EQ(g.rowHeight(2), 15.0);
    EXPECT_DOUBLE_EQ(g.rowHeight(3), 9.0);
}

TEST(Grid, ClearTextKeepsColours) {
    Grid g(2, 2);
    g.setText(1, 1, "7");
    g.setBackground(Block::cell(1, 1), palette::Green);
    g.clearText(Block::all());
    EXPECT_EQ(g.text(1, 1), "");
    EXPECT_EQ(g.background(1, 1), palette::Green);
}

TEST(GridBorders, SidesAddUpAndZeroClears) {
    Grid g(3, 3);
    g.setBorder(Block::all(), 15);
    EXPECT_EQ(g.borders(2, 2), 15);
    g.setBorder({1, 1, 3, 1}, 0);
    g.setBorder({1, 1, 3, 1}, 8);
    EXPECT_EQ(g.borders(2, 1), BorderBottom);
    g.setBorder(Block::cell(2, 1), 12);
    EXPECT_EQ(g.borders(2, 1), BorderTop | BorderBottom);
}

TEST(GridBorders, OutlineSetsOnlyTheOuterSides) {
    Grid g(4, 3);
    g.setBorder({2, 1, 4, 2}, 16);
    EXPECT_EQ(g.borders(2, 1), BorderLeft | BorderTop);
    EXPECT_EQ(g.borders(3, 1), BorderTop);
    EXPECT_EQ(g.borders(4, 2), BorderRight | BorderBottom);
    EXPECT_EQ(g.borders(3, 2), BorderBottom);
    EXPECT_EQ(g.borders(1, 1), 0);
}

TEST(GridBorders, BorderColourStaysInForceAndIsPerSide) {
    Grid g(2, 2);
    g.setBorderColour(palette::ChartLine);
    g.setBorder(Block::all(), 15);
    g.setBorderColour(palette::Red);
    g.setBorder({2, -1, 2, -1}, BorderLeft);
    EXPECT_EQ(g.borderColour(2, 1, BorderLeft), palette::Red);
    EXPECT_EQ(g.borderColour(2, 1, BorderTop), palette::ChartLine);
    EXPECT_EQ(g.borderColour(1, 1, BorderRight), palette::ChartLine);
}

TEST(Grid, StaysCompactAtTheLargestHistory) {
    EXPECT_LE(Grid::bytesPerCell(), 16u);
    Grid g(42, 32767);
    for (int row = 1; row <= 32767; ++row)
        g.setNumber(1, row, row);
    EXPECT_EQ(g.text(1, 32767), "32767");
    EXPECT_LE(g.memoryBytes() / (42.0 * 32767), 16.0);
}

TEST(GridExport, JsonCarriesTextsAndColoursOrNull) {
    Grid g(2, 1);
    g.setText(1, 1, "回\"数");
    g.setForeground(Block::cell(1, 1), palette::Red);
    EXPECT_EQ(gridToJson(g, "w"), "{\"window\": \"w\", \"cols\": 2, \"rows\": 1, \"cells\": "
                                  "[[\"回\\\"数\", \"#ff0000\", null], [\"\", null, null]]}");
}

TEST(Grid, ReadsOutsideTheGridGiveAnEmptyPlainCell) {
    Grid g(2, 2);
    g.setBackground(Block::all(), palette::Cyan);
    g.setForeground(Block::all(), palette::Red);
    g.setBorder(Block::all(), BorderAll);
    g.setAlign(Block::all(), Align::Left);
    g.setText(2, 2, "x");
    for (auto [col, row] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 3}, {-1, -1}}) {
        EXPECT_EQ(g.text(col, row), "");
        EXPECT_TRUE(g.background(col, row).isNone());
        EXPECT_TRUE(g.foreground(col, row).isNone());
        EXPECT_EQ(g.borders(col, row), 0);
        EXPECT_EQ(g.align(col, row), Align::Center);
    }
}

TEST(Grid, ItsMemoryCountsTheCellsTheSizesAndEveryText) {
    // What the compactness checks and the benchmarks read: never less than
    // what the grid surely holds, and not wildly more.
    Grid g(10, 100);
    const std::size_t cells = 10 * 100 * Grid::bytesPerCell();
    const std::size_t sizes = (11 + 101) * sizeof(double);
    const std::size_t empty = g.memoryBytes();
    EXPECT_GE(empty, cells + sizes);
    EXPECT_LT(empty, 2 * (cells + sizes));
    std::size_t textBytes = 0;
    for (int i = 0; i < 200; ++i) {
        const std::string text = std::string(100, 'a') + std::to_string(i);
        g.setText(1 + i % 10, 1 + i / 10, text);
        textBytes += text.size();
    }
    const std::size_t full = g.memoryBytes();
    EXPECT_GE(full, empty + textBytes);
    EXPECT_LT(full, empty + 3 * textBytes);
    // Numbers take no text of their own.
    for (int row = 1; row <= 100; ++row)
        g.setNumber(10, row, row);
    EXPECT_LT(g.memoryBytes(), full + 1024);
}

TEST(Grid, ADefaultGridIsEmptyInEveryRespect) {
    const Grid g;
    EXPECT_EQ(g.maxCols(), 0);
    EXPECT_EQ(g.maxRows(), 0);
    EXPECT_EQ(g.visibleCols(), 0);
    EXPECT_EQ(g.visibleRows(), 0);
    EXPECT_TRUE(g.textOverflow());
    EXPECT_TRUE(g.isEmpty(1, 1));
    EXPECT_EQ(gridToTsv(g), "");
    EXPECT_EQ(gridToJson(g, "w"), "{\"window\": \"w\", \"cols\": 0, \"rows\": 0, \"cells\": []}");
    // Sized later, it takes the size given and shows all of it.
    Grid later;
    later.resize(3, 2);
    EXPECT_EQ(later.visibleCols(), 3);
    EXPECT_EQ(later.visibleRows(), 2);
    EXPECT_EQ(gridToTsv(later), "\t\t\n\t\t\n");
    // A size below zero is no size.
    later.resize(-1, -5);
    EXPECT_EQ(later.maxCols(), 0);
    EXPECT_EQ(later.maxRows(), 0);
}

TEST(Grid, WritesPastTheEdgeAreIgnoredAndCounted) {
    Grid g(4, 3);
    // Inside, or every row or column: nothing counted.
    g.setText(4, 3, "x");
    g.setNumber(1, 1, 7);
    g.setBackground({1, 1, 4, 3}, palette::Cyan);
    g.setBorder(Block::all(), BorderAll);
    g.setAlign({2, -1, 3, -1}, Align::Left);
    g.setForeground({-1, 2, -1, 3}, palette::Red);
    g.setColWidth(-1, 3);
    g.setRowHeight(3, 12);
    g.setForeground(4, 3, g.internColour(palette::Blue));
    g.clearText({2, 2, 1, 1}); // an empty block inside: nothing to do
    EXPECT_EQ(g.writesOutside(), 0u);
    // Past each edge, by cell and by block; each write counts once.
    g.setText(5, 1, "x");
    g.setText(1, 4, g.internText("y"));
    g.setNumber(0, 1, 1);
    g.setForeground(1, 0, g.internColour(palette::Blue));
    g.setColWidth(5, 1);
    g.setRowHeight(0, 1);
    EXPECT_EQ(g.writesOutside(), 6u);
    g.setBackground({1, 1, 5, 3}, palette::Green); // one column too many
    g.setBorder({0, 1, 4, 3}, BorderOutline);      // one too early
    g.setAlign({1, 1, 4, 4}, Align::Left);         // one row too many
    g.setForeground({1, 0, 4, 3}, palette::Red);   // and one too early
    // The parts inside are written all the same.
    EXPECT_EQ(g.background(4, 1), palette::Green);
    EXPECT_EQ(g.align(4, 3), Align::Left);
    EXPECT_EQ(g.foreground(1, 1), palette::Red);
    EXPECT_EQ(g.borders(1, 1) & BorderLeft, BorderLeft);
    g.clearText({2, -1, 9, -1});                    // every row, columns past the edge
    g.setBackground({-1, 1, -1, 7}, palette::Cyan); // every column, rows past the edge
    EXPECT_EQ(g.writesOutside(), 12u);
    EXPECT_EQ(g.text(4, 3), "");
    EXPECT_EQ(g.background(1, 3), palette::Cyan);
    // Sizing the grid anew starts the count again.
    g.resize(2, 2);
    EXPECT_EQ(g.writesOutside(), 0u);
}
