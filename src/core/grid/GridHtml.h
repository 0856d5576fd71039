#pragma once
// A grid as a self-contained HTML page that reads like the window: a title
// that runs on over empty cells becomes one cell spanning them, colours are a
// few CSS classes, lines are drawn where the window draws them, column widths
// and row heights keep the grid's proportions, and the title rows repeat at
// the top of every printed page. The page is written as it goes.
#include <iosfwd>
#include <string>
#include <vector>

#include "core/grid/Grid.h"

namespace n4 {

struct HtmlTable {
    const Grid* grid;
    int titleRows;       // the rows that head the table (and every printed page)
    std::string heading; // a line above the table, "" for none
};

struct HtmlPage {
    std::string title;       // the window's caption
    std::string description; // the window's label, "" for none
    std::vector<HtmlTable> tables;
    std::string trailer; // HTML of the program's own (charts) after the tables
};

void writeHtmlPage(std::ostream& out, const HtmlPage& page);

// One cell of the page: cols grid cells from col, showing the text and look
// of the grid cell at textCol (a centred text sits in the middle of the
// empty cells it takes in).
struct CellSpan {
    int col;
    int cols;
    int textCol;
};
// The cells of one grid row as the page writes them. A text that runs on
// over empty neighbours in the window (left-aligned: to the right; centred:
// both ways alike) takes them in where nothing tells them apart: the same
// background, no line between them and the same lines above and below.
std::vector<CellSpan> rowSpans(const Grid& grid, int row);

std::string htmlEscape(const std::string& text);
void appendHtmlEscaped(std::string& out, const std::string& text);

} // namespace n4
