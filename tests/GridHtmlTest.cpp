#include <gtest/gtest.h>

#include <map>
#include <random>
#include <regex>
#include <sstream>

#include "TestSupport.h"
#include "core/analysis/division/DivisionAnalysis.h"
#include "core/grid/GridHtml.h"
#include "core/grid/GridLines.h"
#include "core/grid/Palette.h"

using namespace n4;

namespace n4 {
bool operator==(const CellSpan& a, const CellSpan& b) {
    return a.col == b.col && a.cols == b.cols && a.textCol == b.textCol;
}
} // namespace n4

namespace {

std::string page(const Grid& g, int titleRows = 0) {
    std::ostringstream out;
    writeHtmlPage(out, HtmlPage{"タイトル", "説明", {{&g, titleRows, ""}}, ""});
    return out.str();
}

// The <tr> lines of the page, in order.
std::vector<std::string> rows(const std::string& html) {
    std::vector<std::string> out;
    std::istringstream in(html);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("<tr", 0) == 0) out.push_back(line);
    return out;
}

// The CSS of each class the page defines.
std::map<std::string, std::string> classes(const std::string& html) {
    std::map<std::string, std::string> out;
    std::regex rule("\\n\\.(\\w+)\\{([^}]*)\\}");
    for (std::sregex_iterator it(html.begin(), html.end(), rule), end; it != end; ++it)
        out[(*it)[1]] = (*it)[2];
    return out;
}

// The CSS of every <td> of a row line, given the page's classes.
std::vector<std::string> rowCss(const std::string& row,
                                const std::map<std::string, std::string>& css) {
    std::vector<std::string> out;
    std::regex td("<td( colspan=\\d+)?( class=(\\w+))?>");
    for (std::sregex_iterator it(row.begin(), row.end(), td), end; it != end; ++it)
        out.push_back((*it)[2].matched ? css.at((*it)[3]) : "");
    return out;
}

// The CSS of the n-th <td> (from 0) of a row line.
std::string cellCss(const std::string& html, const std::string& row, int n) {
    return rowCss(row, classes(html)).at(static_cast<std::size_t>(n));
}

std::vector<CellSpan> spans(const Grid& g, int row) {
    return rowSpans(g, row);
}

} // namespace

TEST(GridHtmlSpans, ALeftAlignedTitleTakesInTheEmptyCellsItRunsOver) {
    Grid g(6, 1);
    g.setBackground({2, 1, 5, 1}, palette::HeaderPink);
    g.setText(2, 1, "　　当 選 数 字");
    g.setAlign(Block::cell(2, 1), Align::Left);
    // Column 6 has another background: the title stops before it.
    EXPECT_EQ(spans(g, 1), (std::vector<CellSpan>{{1, 1, 1}, {2, 4, 2}, {6, 1, 6}}));
    const std::string r = rows(page(g))[0];
    EXPECT_NE(r.find("<td colspan=4 class="), std::string::npos) << r;
    EXPECT_NE(r.find(">　　当 選 数 字<td>"), std::string::npos) << r;
}

TEST(GridHtmlSpans, ATitleStopsAtTextAndAtLinesAndKeepsItsCellsWithoutOverflow) {
    Grid g(6, 2);
    g.setText(1, 1, "title");
    g.setAlign(Block::all(), Align::Left);
    g.setText(4, 1, "x");
    EXPECT_EQ(spans(g, 1), (std::vector<CellSpan>{{1, 3, 1}, {4, 3, 4}}));
    g.setBorder(Block::cell(2, 1), BorderRight); // a line between 2 and 3
    EXPECT_EQ(spans(g, 1), (std::vector<CellSpan>{{1, 2, 1}, {3, 1, 3}, {4, 3, 4}}));
    // A line above one cell of the run and not the others splits it too.
    g.setText(1, 2, "title");
    g.setBorder(Block::cell(3, 2), BorderTop);
    EXPECT_EQ(spans(g, 2),
              (std::vector<CellSpan>{{1, 2, 1}, {3, 1, 3}, {4, 1, 4}, {5, 1, 5}, {6, 1, 6}}));
    // So does a line below one cell of the run.
    Grid below(4, 3);
    below.setAlign(Block::all(), Align::Left);
    below.setText(1, 2, "title");
    EXPECT_EQ(spans(below, 2), (std::vector<CellSpan>{{1, 4, 1}}));
    below.setBorder(Block::cell(3, 2), BorderBottom);
    EXPECT_EQ(spans(below, 2), (std::vector<CellSpan>{{1, 2, 1}, {3, 1, 3}, {4, 1, 4}}));
    g.setTextOverflow(false);
    EXPECT_EQ(spans(g, 1).size(), 6u);
}

TEST(GridHtmlSpans, ALongCentredTextSpreadsAlikeOnBothSidesAsFarAsItNeeds) {
    Grid g(11, 2);
    g.setColWidth(-1, 2);
    g.setText(6, 1, "数　　　　　　　字"); // nine full-width characters, 11 units or so
    EXPECT_EQ(spans(g, 1),
              (std::vector<CellSpan>{{1, 1, 1}, {2, 1, 2}, {3, 7, 6}, {10, 1, 10}, {11, 1, 11}}));
    // The page shows the text in the span, in its own colour.
    const std::string r = rows(page(g))[0];
    EXPECT_NE(r.find("<td colspan=7>数　　　　　　　字<td>"), std::string::npos) << r;
    // Half-width letters and kana take half as much: eighteen spread alike.
    for (const char* half : {"ABCDEFGHIJKLMNOPQR", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂ"}) {
        Grid h(11, 1);
        h.setColWidth(-1, 2);
        h.setText(6, 1, half);
        EXPECT_EQ(spans(h, 1), spans(g, 1)) << half;
    }
    g.setText(6, 2, "1"); // fits its cell
    EXPECT_EQ(spans(g, 2).size(), 11u);
    g.setText(5, 1, "x"); // no room on the left: the text stays in its cell
    EXPECT_EQ(spans(g, 1).size(), 11u);
}

TEST(GridHtml, LinesAreDrawnOnBothCellsOfAnEdgeInTheColourTheWindowUses) {
    Grid g(2, 2);
    g.setText(1, 1, "a");
    g.setText(2, 1, "b");
    g.setBorderColour(palette::Red);
    g.setBorder(Block::cell(1, 1), BorderRight | BorderBottom);
    g.setBorderColour(palette::Blue);
    g.setBorder(Block::cell(2, 1), BorderLeft); // the right-hand cell wins
    const std::string html = page(g);
    const auto r = rows(html);
    EXPECT_NE(cellCss(html, r[0], 0).find("border-right:1px solid #0000ff"), std::string::npos);
    EXPECT_NE(cellCss(html, r[0], 1).find("border-left:1px solid #0000ff"), std::string::npos);
    EXPECT_NE(cellCss(html, r[0], 0).find("border-bottom:1px solid #ff0000"), std::string::npos);
    EXPECT_NE(cellCss(html, r[1], 0).find("border-top:1px solid #ff0000"), std::string::npos);
    EXPECT_EQ(cellCss(html, r[1], 1), ""); // a cell with nothing set has no class
}

TEST(GridHtml, CellsThatLookAlikeShareOneClass) {
    Grid g(4, 50);
    g.setBackground({1, -1, 1, -1}, palette::LabelYellow);
    g.setForeground({1, -1, 1, -1}, palette::Red);
    g.setBackground({2, -1, 4, -1}, palette::Cyan);
    g.setBorder(Block::all(), BorderAll);
    for (int row = 1; row <= 50; ++row)
        g.setNumber(1, row, row);
    const std::string html = page(g);
    // The label column, the cyan columns, each edge column of the block:
    // a handful of looks for 200 cells.
    EXPECT_LE(classes(html).size(), 6u);
    EXPECT_NE(html.find("color:#ff0000;background:#ffffc8;"), std::string::npos);
    EXPECT_EQ(html.find("style=\"color"), std::string::npos); // no inline colours
}

TEST(GridHtml, TitleRowsHeadTheTableAndSizesKeepTheGridsProportions) {
    Grid g(3, 4);
    g.setColWidth(-1, 5);
    g.setColWidth(1, 10);
    g.setRowHeight(1, 20);
    g.setText(1, 3, "<b>&");
    const std::string html = page(g, 2);
    EXPECT_NE(html.find("<thead>\n<tr style=\"height:30px\">"), std::string::npos) << html;
    EXPECT_NE(html.find("</thead>\n<tbody>\n<tr><td>&lt;b&gt;&amp;"), std::string::npos);
    EXPECT_NE(html.find("--rh:15px"), std::string::npos);
    EXPECT_NE(html.find("<colgroup><col style=\"width:50%\"><col style=\"width:25%\"><col "
                        "style=\"width:25%\"></colgroup>"),
              std::string::npos);
    EXPECT_NE(html.find("width:calc(20*var(--u))"), std::string::npos);
    EXPECT_NE(html.find("@page{size:A4 landscape"), std::string::npos);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    // A grid of one tall row: that row is the usual height, whatever it is.
    Grid one(2, 1);
    one.setRowHeight(1, 20);
    const std::string single = page(one);
    EXPECT_NE(single.find("--rh:30px"), std::string::npos) << single;
    EXPECT_NE(single.find("<tbody>\n<tr><td>"), std::string::npos) << single;
    EXPECT_NE(single.find("</tbody></table>"), std::string::npos) << single;
    EXPECT_EQ(single.find("<thead>"), std::string::npos) << single; // no titles: no head
    // Title rows and nothing under them (a window over no draws): the head
    // is closed and there is no body.
    const std::string titlesOnly = page(one, 1);
    EXPECT_NE(titlesOnly.find("<thead>\n<tr"), std::string::npos) << titlesOnly;
    EXPECT_NE(titlesOnly.find("</thead></table>"), std::string::npos) << titlesOnly;
    EXPECT_EQ(titlesOnly.find("<tbody>"), std::string::npos) << titlesOnly;
    // Columns without width take none, not a share of nothing.
    Grid narrow(2, 1);
    narrow.setColWidth(-1, 0);
    const std::string none = page(narrow);
    EXPECT_NE(none.find("<colgroup><col style=\"width:0%\"><col style=\"width:0%\"></colgroup>"),
              std::string::npos)
        << none;
}

TEST(GridHtml, TheLargestDivisionWindowIsAFifthOfItsOldSize) {
    // 7,054 draws of the 10-group window took 43,299,645 bytes with inline
    // colours on every cell.
    DrawTable table;
    for (int n = 1; n <= 7054; ++n)
        table.push_back(DrawRecord{n, {n % 10, n * 7 % 10, n * 3 % 10, n / 10 % 10}});
    const Grid g = n4test::analyse(computeDivision10Analysis, table);
    std::ostringstream out;
    writeHtmlPage(out, HtmlPage{"10分割データ分析", "", {{&g, 3, ""}}, ""});
    EXPECT_LE(out.str().size(), 43299645u / 5);
    EXPECT_EQ(rows(out.str()).size(), static_cast<size_t>(g.maxRows()));
}

TEST(GridHtmlSpans, HalfWidthKanaTakeTheRoomOfLettersNotOfFullWidthCharacters) {
    // Nine characters centred in column 6 of eleven narrow columns: letters
    // and half-width katakana need five columns, full-width ones seven.
    auto spanOf = [](const char* text, int col = 6) {
        Grid g(11, 1);
        g.setColWidth(-1, 2);
        g.setText(col, 1, text);
        for (const CellSpan& s : spans(g, 1))
            if (s.textCol == col) return s.cols;
        return 0;
    };
    EXPECT_EQ(spanOf("abcdefghi"), 5);
    EXPECT_EQ(spanOf("ｱｲｳｴｵｶｷｸｹ"), 5);
    EXPECT_EQ(spanOf("ﾀﾁﾂﾃﾄﾅﾆﾇﾈ"), 5); // the second block of them (EF BE ..)
    EXPECT_EQ(spanOf("アイウエオカキクケ"), 7);
    EXPECT_EQ(spanOf("ＡＢＣＤＥＦＧＨＩ"), 7); // full-width letters share the kana's first byte
    // Near the edge a span reaches the first column, and stops there.
    EXPECT_EQ(spanOf("abcdefghi", 3), 5);
    EXPECT_EQ(spanOf("アイウエオカキクケ", 3), 5);
    // Characters beyond the basic plane (four bytes, from F0) are full-width too.
    EXPECT_EQ(spanOf("𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷"), 7);
}

namespace {

// A grid of single cells in a few colours, alignments and lines at random:
// many looks, most of them shared by several cells.
Grid patchwork(int cols, int rows, unsigned seed) {
    std::mt19937 random(seed);
    const Rgb colours[] = {Rgb::none(), palette::Red, palette::Cyan, palette::Blue};
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    Grid g(cols, rows);
    g.setTextOverflow(false);
    for (int row = 1; row <= rows; ++row)
        for (int col = 1; col <= cols; ++col) {
            const Block cell = Block::cell(col, row);
            g.setNumber(col, row, pick(100));
            g.setForeground(cell, colours[pick(4)]);
            g.setBackground(cell, colours[pick(4)]);
            if (pick(3) == 0) g.setAlign(cell, Align::Left);
            g.setBorderColour(colours[pick(4)]);
            g.setBorder(cell, pick(3) == 0 ? BorderAll : pick(16));
        }
    return g;
}

std::string border(const char* side, const GridLine& line) {
    return line.drawn ? std::string("border-") + side + ":1px solid " + line.colour.hex() + ";"
                      : "";
}

// The CSS a lone cell should have, from the grid's colours and lines.
std::string expectedCss(const Grid& g, int col, int row) {
    std::string css;
    if (!g.foreground(col, row).isNone()) css += "color:" + g.foreground(col, row).hex() + ";";
    if (!g.background(col, row).isNone()) css += "background:" + g.background(col, row).hex() + ";";
    if (g.align(col, row) == Align::Left) css += "text-align:left;";
    const GridLine left = lineLeftOf(g, col, row), right = lineLeftOf(g, col + 1, row);
    const GridLine top = lineAbove(g, col, row), bottom = lineAbove(g, col, row + 1);
    if (left.drawn && left == right && left == top && left == bottom)
        return css + "border:1px solid " + left.colour.hex() + ";";
    return css + border("left", left) + border("right", right) + border("top", top) +
           border("bottom", bottom);
}

} // namespace

TEST(GridHtml, EveryCellOfEveryTableHasTheClassOfItsOwnLook) {
    // Two tables of different widths on one page, so that the looks of the
    // second follow on from those of the first.
    const Grid first = patchwork(7, 40, 11), second = patchwork(5, 30, 12);
    std::ostringstream out;
    writeHtmlPage(out, HtmlPage{"t", "", {{&first, 1, ""}, {&second, 0, ""}}, ""});
    const std::string html = out.str();
    const auto css = classes(html);
    EXPECT_GT(css.size(), 26u); // two-letter class names too
    const auto r = rows(html);
    ASSERT_EQ(r.size(), 70u);
    for (int row = 1; row <= 70; ++row) {
        const Grid& g = row <= 40 ? first : second;
        const int gridRow = row <= 40 ? row : row - 40;
        const auto cells = rowCss(r[row - 1], css);
        ASSERT_EQ(cells.size(), static_cast<std::size_t>(g.maxCols())) << r[row - 1];
        for (int col = 1; col <= g.maxCols(); ++col)
            EXPECT_EQ(cells[col - 1], expectedCss(g, col, gridRow))
                << "row " << row << " col " << col;
    }
}

TEST(GridLines, ARowsLinesReadAtOnceAreThoseOfEachEdge) {
    const Grid a = patchwork(6, 12, 21), b = patchwork(6, 12, 22);
    RowLines lines;
    // Down one grid, then rows out of order, then the other grid's rows.
    const std::pair<const Grid*, int> reads[] = {{&a, 1},  {&a, 2}, {&a, 3}, {&a, 7}, {&a, 6},
                                                 {&a, 12}, {&b, 1}, {&b, 2}, {&a, 3}, {&b, 4}};
    for (const auto& [g, row] : reads) {
        readRowLines(*g, row, lines);
        for (int col = 1; col <= 7; ++col)
            EXPECT_EQ(lines.left[col], lineLeftOf(*g, col, row)) << row << " " << col;
        for (int col = 1; col <= 6; ++col) {
            EXPECT_EQ(lines.above[col], lineAbove(*g, col, row)) << row << " " << col;
            EXPECT_EQ(lines.below[col], lineAbove(*g, col, row + 1)) << row << " " << col;
        }
    }
}
