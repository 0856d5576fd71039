// The command-line exports are streamed; what arrives must be the whole grid,
// cell for cell, however many buffers it took.
#include <gtest/gtest.h>

#include <sstream>

#include "core/grid/GridExport.h"
#include "core/grid/Palette.h"

using namespace n4;

namespace {

// A tall grid, its texts and colours telling where each cell is.
Grid tallGrid(int cols, int rows) {
    Grid g(cols, rows);
    g.setBackground({2, 1, 2, rows}, palette::Cyan);
    for (int row = 1; row <= rows; ++row) {
        g.setNumber(1, row, row);
        g.setText(2 + row % (cols - 1), row, row % 2 ? "●" : "回数");
        if (row % 3 == 0) g.setForeground(Block::cell(cols, row), palette::Red);
    }
    return g;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

} // namespace

TEST(GridExportStream, TsvOfATallGridHasEveryRowAndCell) {
    const Grid g = tallGrid(5, 20000); // several hundred kilobytes
    std::ostringstream out;
    writeTsv(out, g);
    const std::vector<std::string> rows = lines(out.str());
    ASSERT_EQ(rows.size(), 20000u);
    EXPECT_EQ(rows[0], "1\t\t●\t\t");
    EXPECT_EQ(rows[12344], "12345\t\t●\t\t");
    EXPECT_EQ(rows[12343], "12344\t回数\t\t\t");
    EXPECT_EQ(rows[19999], "20000\t回数\t\t\t");
    EXPECT_EQ(out.str().back(), '\n');
}

TEST(GridExportStream, JsonOfATallGridHasEveryCellInRowOrder) {
    const Grid g = tallGrid(4, 30000);
    std::ostringstream out;
    writeJson(out, g, "w");
    const std::string json = out.str();
    ASSERT_EQ(
        json.rfind("{\"window\": \"w\", \"cols\": 4, \"rows\": 30000, \"cells\": [[\"1\", ", 0),
        0u);
    ASSERT_EQ(json.substr(json.size() - 2), "]}");
    std::size_t cells = 0;
    for (std::size_t at = json.find("[\""); at != std::string::npos; at = json.find("[\"", at + 1))
        ++cells;
    EXPECT_EQ(cells, 4u * 30000u);
    // The last row: draw number, a text on cyan, an empty cell, the red column.
    EXPECT_NE(
        json.find("[\"30000\", null, null], [\"回数\", null, \"#c8ffff\"], [\"\", null, null], "
                  "[\"\", \"#ff0000\", null]]}"),
        std::string::npos);
    EXPECT_EQ(json, gridToJson(g, "w"));
}

TEST(GridExportStream, ControlCharactersAndQuotesAreEscaped) {
    Grid g(1, 1);
    g.setText(1, 1, std::string("a\x01\x1f\"\\\t\n\rb"));
    EXPECT_EQ(gridToJson(g, "名\"前"),
              "{\"window\": \"名\\\"前\", \"cols\": 1, \"rows\": 1, \"cells\": "
              "[[\"a\\u0001\\u001f\\\"\\\\\\t\\n\\rb\", null, null]]}");
}
