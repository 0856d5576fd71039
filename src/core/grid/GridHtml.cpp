#include "core/grid/GridHtml.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <ostream>
#include <unordered_map>

#include "core/grid/GridLines.h"
#include "core/grid/GridMetrics.h"
#include "core/grid/PrintfText.h"

namespace n4 {

std::string htmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
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

} // namespace

std::vector<CellSpan> rowSpans(const Grid& grid, int row) {
    const int cols = grid.maxCols();
    std::vector<int> start(cols + 2);
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
    std::vector<CellSpan> spans;
    for (int c = 1; c <= cols; ++c) {
        if (start[c] == c)
            spans.push_back({c, 1, c});
        else
            ++spans.back().cols;
        if (!grid.isEmpty(c, row)) spans.back().textCol = c;
    }
    return spans;
}

namespace {

// ---------------------------------------------------------------------------
// Looks: the CSS of one cell, shared by every cell that looks the same.

std::string borderCss(const char* side, const GridLine& line) {
    return line.drawn ? std::string("border-") + side + ":1px solid " + line.colour.hex() + ";"
                      : std::string();
}

std::string lookCss(const Grid& grid, const CellSpan& span, int row) {
    std::string css;
    const int c = span.textCol;
    const Rgb fg = grid.foreground(c, row), bg = grid.background(c, row);
    if (!fg.isNone()) css += "color:" + fg.hex() + ";";
    if (!bg.isNone()) css += "background:" + bg.hex() + ";";
    if (grid.align(c, row) == Align::Left) css += "text-align:left;";
    const GridLine left = lineLeftOf(grid, span.col, row);
    const GridLine right = lineLeftOf(grid, span.col + span.cols, row);
    const GridLine top = lineAbove(grid, span.col, row);
    const GridLine bottom = lineAbove(grid, span.col, row + 1);
    if (left.drawn && left == right && left == top && left == bottom)
        return css + "border:1px solid " + left.colour.hex() + ";";
    return css + borderCss("left", left) + borderCss("right", right) + borderCss("top", top) +
           borderCss("bottom", bottom);
}

// "a".."z", "aa".."zz", ...
std::string className(size_t index) {
    std::string name;
    for (++index; index > 0; index = (index - 1) / 26)
        name.insert(name.begin(), static_cast<char>('a' + (index - 1) % 26));
    return name;
}

// Every look of the page, the most frequent with the shortest names.
std::unordered_map<std::string, std::string> nameLooks(const HtmlPage& page) {
    std::unordered_map<std::string, size_t> counts;
    for (const HtmlTable& t : page.tables)
        for (int row = 1; row <= t.grid->maxRows(); ++row)
            for (const CellSpan& span : rowSpans(*t.grid, row))
                ++counts[lookCss(*t.grid, span, row)];
    counts.erase(""); // a plain cell needs no class
    std::vector<std::pair<std::string, size_t>> byCount(counts.begin(), counts.end());
    std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    std::unordered_map<std::string, std::string> names;
    for (size_t i = 0; i < byCount.size(); ++i)
        names.emplace(byCount[i].first, className(i));
    return names;
}

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

void writeHead(std::ostream& out, const HtmlPage& page,
               const std::unordered_map<std::string, std::string>& looks) {
    std::string style = kStyle;
    style.insert(style.find("--u:") + 4, number(metrics::kZerosPerWidthUnit) + "ch");
    out << "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">\n<title>"
        << htmlEscape(page.title) << "</title>\n<style>\n"
        << style << "\n";
    std::map<std::string, std::string> byName;
    for (const auto& [css, name] : looks)
        byName.emplace(name, css);
    for (const auto& [name, css] : byName)
        out << "." << name << "{" << css << "}\n";
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
void writeColumns(std::ostream& out, const Grid& grid, double usualHeight) {
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

void writeRow(std::ostream& out, const Grid& grid, int row, double usualHeight,
              const std::unordered_map<std::string, std::string>& looks) {
    out << (grid.rowHeight(row) == usualHeight
                ? std::string("<tr>")
                : "<tr style=\"height:" + rowPixels(grid.rowHeight(row)) + "\">");
    for (const CellSpan& span : rowSpans(grid, row)) {
        out << "<td";
        if (span.cols > 1) out << " colspan=" << span.cols;
        auto look = looks.find(lookCss(grid, span, row));
        if (look != looks.end()) out << " class=" << look->second;
        out << ">" << htmlEscape(grid.text(span.textCol, row));
    }
    out << "\n";
}

void writeTable(std::ostream& out, const HtmlTable& table,
                const std::unordered_map<std::string, std::string>& looks) {
    const Grid& grid = *table.grid;
    if (!table.heading.empty()) out << "<h2>" << htmlEscape(table.heading) << "</h2>\n";
    const double usual = usualRowHeight(grid);
    writeColumns(out, grid, usual);
    const int titleRows = std::clamp(table.titleRows, 0, grid.maxRows());
    if (titleRows > 0) out << "<thead>\n";
    for (int row = 1; row <= grid.maxRows(); ++row) {
        if (row == titleRows + 1) out << (titleRows > 0 ? "</thead>\n<tbody>\n" : "<tbody>\n");
        writeRow(out, grid, row, usual, looks);
    }
    out << (grid.maxRows() > titleRows ? "</tbody>"
            : titleRows > 0            ? "</thead>"
                                       : "")
        << "</table>\n";
}

} // namespace

void writeHtmlPage(std::ostream& out, const HtmlPage& page) {
    const auto looks = nameLooks(page);
    writeHead(out, page, looks);
    for (const HtmlTable& table : page.tables)
        writeTable(out, table, looks);
    out << page.trailer << "</body></html>\n";
}

} // namespace n4
