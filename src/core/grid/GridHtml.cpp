#include "core/grid/GridHtml.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <ostream>

#include "core/grid/GridLines.h"
#include "core/grid/GridMetrics.h"
#include "core/grid/HtmlLooks.h"
#include "core/grid/PrintfText.h"
#include "core/grid/StreamWriter.h"

namespace n4 {

void appendHtmlEscaped(std::string& out, const std::string& text) {
    for (char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

std::string htmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    appendHtmlEscaped(out, text);
    return out;
}

namespace {

// ---------------------------------------------------------------------------
// Spans.

// About how many width units a text takes in the grid font: half-width
// characters are half an em, the rest a whole one, and a unit is
// kZerosPerWidthUnit digits 0 (half an em each); the padding comes on top.
double unitsNeeded(const std::string& text) {
    double ems = 0;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t len = c < 0x80 ? 1 : c < 0xe0 ? 2 : c < 0xf0 ? 3 : 4;
        // U+FF61..U+FF9F, the half-width katakana, are EF BD A1..EF BE 9F.
        const bool halfKana = len == 3 && c == 0xef && i + 1 < text.size() &&
                              (static_cast<unsigned char>(text[i + 1]) == 0xbd ||
                               static_cast<unsigned char>(text[i + 1]) == 0xbe);
        ems += (len == 1 || halfKana) ? 0.5 : 1.0;
        i += len;
    }
    const double unitEms = 0.5 * metrics::kZerosPerWidthUnit;
    const double paddingEms = 2.0 * metrics::kTextPadding / 10.0; // at 10 pixels an em
    return (ems + paddingEms) / unitEms;
}

// Whether the empty cell at col, beside the text at from, looks the same.
bool looksAlike(const Grid& grid, int from, int col, int row) {
    return grid.isEmpty(col, row) && grid.background(col, row) == grid.background(from, row) &&
           lineAbove(grid, col, row) == lineAbove(grid, from, row) &&
           lineAbove(grid, col, row + 1) == lineAbove(grid, from, row + 1);
}

// rowSpans into `spans`, with `start` to note where each cell's span starts:
// both keep their memory from row to row.
void fillRowSpans(const Grid& grid, int row, std::vector<int>& start,
                  std::vector<CellSpan>& spans) {
    const int cols = grid.maxCols();
    start.resize(static_cast<std::size_t>(cols) + 2);
    std::iota(start.begin(), start.end(), 0);
    auto free = [&](int c) { return c >= 1 && c <= cols && start[c] == c; };
    for (int c = 1; grid.textOverflow() && c <= cols; ++c) {
        if (start[c] != c || grid.isEmpty(c, row)) continue;
        if (grid.align(c, row) == Align::Left) {
            for (int r = c + 1;
                 free(r) && looksAlike(grid, c, r, row) && !lineLeftOf(grid, r, row).drawn; ++r)
                start[r] = c;
            continue;
        }
        // Centred: as many cells on either side, while the text needs room.
        const double need = unitsNeeded(grid.text(c, row));
        double have = grid.colWidth(c);
        for (int k = 1; have < need; ++k) {
            const int l = c - k, r = c + k;
            if (!free(l) || !free(r) || !looksAlike(grid, c, l, row) ||
                !looksAlike(grid, c, r, row) || lineLeftOf(grid, l + 1, row).drawn ||
                lineLeftOf(grid, r, row).drawn)
                break;
            start[l] = start[r] = l;
            for (int m = l + 1; m < r; ++m)
                start[m] = l;
            have += grid.colWidth(l) + grid.colWidth(r);
        }
    }
    // The text of a span is its one non-empty cell, or its first.
    spans.clear();
    for (int c = 1; c <= cols; ++c) {
        if (start[c] == c)
            spans.push_back({c, 1, c});
        else
            ++spans.back().cols;
        if (!grid.isEmpty(c, row)) spans.back().textCol = c;
    }
}

} // namespace

std::vector<CellSpan> rowSpans(const Grid& grid, int row) {
    std::vector<int> start;
    std::vector<CellSpan> spans;
    fillRowSpans(grid, row, start, spans);
    return spans;
}

namespace {

// One row after another of a table: its cells as the page writes them, and
// the lines around them.
class RowReader {
  public:
    explicit RowReader(const Grid& grid) : grid_(grid) {}
    const std::vector<CellSpan>& spans(int row) {
        fillRowSpans(grid_, row, start_, spans_);
        return spans_;
    }
    const RowLines& lines(int row) {
        readRowLines(grid_, row, lines_);
        return lines_;
    }

  private:
    const Grid& grid_;
    std::vector<int> start_;
    std::vector<CellSpan> spans_;
    RowLines lines_;
};

// ---------------------------------------------------------------------------
// Looks: counted over every table first, so that the page's head can name them.

// Every cell's look, cell by cell in the order the page writes them.
struct CountedLooks {
    PageLooks looks;
    std::vector<std::uint32_t> cells;
};

CountedLooks countLooks(const HtmlPage& page) {
    CountedLooks counted;
    for (const HtmlTable& t : page.tables) {
        RowReader reader(*t.grid);
        for (int row = 1; row <= t.grid->maxRows(); ++row) {
            const RowLines& lines = reader.lines(row);
            for (const CellSpan& span : reader.spans(row)) {
                const CellLook look = cellLook(*t.grid, span, row, lines);
                counted.cells.push_back(counted.looks.count(look, span.col));
            }
        }
    }
    counted.looks.nameClasses();
    return counted;
}

// The classes of the cells as the page writes them, one after the other.
class CellClasses {
  public:
    explicit CellClasses(const CountedLooks& counted) : counted_(counted) {}
    const std::string& next() { return counted_.looks.classOf(counted_.cells.at(next_++)); }

  private:
    const CountedLooks& counted_;
    std::size_t next_ = 0;
};

// ---------------------------------------------------------------------------
// Writing.

std::string number(double value) {
    return printfText("%.4g", value);
}

// Rows are h/64 inch; CSS has 96 pixels to the inch.
std::string rowPixels(double height) {
    return number(height * 96.0 / metrics::kRowUnitsPerInch) + "px";
}

const char* kStyle =
    ":root{--u:" /* the width unit */ "}"
    "body{font:9pt 'IPAGothic','IPAPGothic',sans-serif;color:#000;background:#fff;margin:8px}"
    "h1{font-size:10pt;margin:0 0 4px}"
    "p{margin:0 0 6px}"
    "h2{font-size:9pt;font-weight:normal;color:#f00;margin:8px 0 3px}"
    "table{border-collapse:collapse;table-layout:fixed;font-size:7.5pt;line-height:1.1;"
    "margin-bottom:10px}"
    "tr{height:var(--rh)}"
    "td{padding:0 2px;text-align:center;vertical-align:middle;white-space:pre;overflow:visible}"
    "@page{size:A4 landscape;margin:10mm}"
    "@media print{body{margin:0}table{max-width:100%}tr{break-inside:avoid}}";

void writeHead(StreamWriter& out, const HtmlPage& page, const PageLooks& looks) {
    std::string style = kStyle;
    style.insert(style.find("--u:") + 4, number(metrics::kZerosPerWidthUnit) + "ch");
    out << "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">\n<title>"
        << htmlEscape(page.title) << "</title>\n<style>\n"
        << style << "\n";
    looks.appendRules(out.buffer());
    out << "</style></head><body>\n<h1>" << htmlEscape(page.title) << "</h1>\n";
    if (!page.description.empty()) out << "<p>" << htmlEscape(page.description) << "</p>\n";
}

double usualRowHeight(const Grid& grid) {
    std::map<double, int> counts;
    for (int row = 1; row <= grid.maxRows(); ++row)
        ++counts[grid.rowHeight(row)];
    double best = 10.0;
    int most = 0;
    for (const auto& [height, count] : counts)
        if (count > most) best = height, most = count;
    return best;
}

// The table with its column widths; rows are as high as most of them unless
// they say otherwise.
void writeColumns(StreamWriter& out, const Grid& grid, double usualHeight) {
    double total = 0;
    for (int c = 1; c <= grid.maxCols(); ++c)
        total += grid.colWidth(c);
    out << "<table style=\"width:calc(" << number(total)
        << "*var(--u));--rh:" << rowPixels(usualHeight) << "\">\n<colgroup>";
    for (int c = 1; c <= grid.maxCols(); ++c)
        out << "<col style=\"width:" << number(total > 0 ? 100.0 * grid.colWidth(c) / total : 0)
            << "%\">";
    out << "</colgroup>\n";
}

void writeRow(StreamWriter& out, const Grid& grid, int row, const std::vector<CellSpan>& spans,
              double usualHeight, CellClasses& classes) {
    std::string& buf = out.buffer();
    if (grid.rowHeight(row) == usualHeight)
        buf += "<tr>";
    else
        buf += "<tr style=\"height:" + rowPixels(grid.rowHeight(row)) + "\">";
    for (const CellSpan& span : spans) {
        buf += "<td";
        if (span.cols > 1) {
            buf += " colspan=";
            buf += std::to_string(span.cols);
        }
        const std::string& name = classes.next();
        if (!name.empty()) {
            buf += " class=";
            buf += name;
        }
        buf += '>';
        appendHtmlEscaped(buf, grid.text(span.textCol, row));
    }
    buf += '\n';
    out.maybeFlush();
}

void writeTable(StreamWriter& out, const HtmlTable& table, CellClasses& classes) {
    const Grid& grid = *table.grid;
    if (!table.heading.empty()) out << "<h2>" << htmlEscape(table.heading) << "</h2>\n";
    const double usual = usualRowHeight(grid);
    writeColumns(out, grid, usual);
    const int titleRows = std::clamp(table.titleRows, 0, grid.maxRows());
    if (titleRows > 0) out << "<thead>\n";
    RowReader reader(grid);
    for (int row = 1; row <= grid.maxRows(); ++row) {
        if (row == titleRows + 1) out << (titleRows > 0 ? "</thead>\n<tbody>\n" : "<tbody>\n");
        writeRow(out, grid, row, reader.spans(row), usual, classes);
    }
    out << (grid.maxRows() > titleRows ? "</tbody>"
            : titleRows > 0            ? "</thead>"
                                       : "")
        << "</table>\n";
}

} // namespace

void writeHtmlPage(std::ostream& out, const HtmlPage& page) {
    const CountedLooks counted = countLooks(page);
    StreamWriter w(out);
    writeHead(w, page, counted.looks);
    CellClasses classes(counted);
    for (const HtmlTable& table : page.tables)
        writeTable(w, table, classes);
    w << page.trailer << "</body></html>\n";
}

} // namespace n4
