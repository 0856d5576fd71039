#include "grid/GridExport.h"

#include <cstdio>

namespace n4 {

std::string jsonEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += c;
            }
        }
    }
    return out;
}

std::string htmlEscape(const std::string& text) {
    std::string out;
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

std::string gridToTsv(const Grid& grid) {
    std::string out;
    for (int row = 1; row <= grid.maxRows(); ++row) {
        for (int col = 1; col <= grid.maxCols(); ++col) {
            if (col > 1) out += '\t';
            out += grid.text(col, row);
        }
        out += '\n';
    }
    return out;
}

namespace {
std::string jsonColour(Rgb c) {
    return c.isNone() ? "null" : "\"" + c.hex() + "\"";
}
} // namespace

std::string gridToJson(const Grid& grid, const std::string& window) {
    std::string out = "{\"window\": \"" + jsonEscape(window) +
                      "\", \"cols\": " + std::to_string(grid.maxCols()) +
                      ", \"rows\": " + std::to_string(grid.maxRows()) + ", \"cells\": [";
    bool first = true;
    for (int row = 1; row <= grid.maxRows(); ++row) {
        for (int col = 1; col <= grid.maxCols(); ++col) {
            if (!first) out += ", ";
            first = false;
            out += "[\"" + jsonEscape(grid.text(col, row)) + "\", " +
                   jsonColour(grid.foreground(col, row)) + ", " +
                   jsonColour(grid.background(col, row)) + "]";
        }
    }
    return out + "]}";
}

namespace {
std::string cellStyle(const Grid& grid, int col, int row) {
    std::string style;
    Rgb fg = grid.foreground(col, row), bg = grid.background(col, row);
    if (!fg.isNone()) style += "color:" + fg.hex() + ";";
    if (!bg.isNone()) style += "background:" + bg.hex() + ";";
    std::uint8_t sides = grid.borders(col, row);
    if (sides & BorderLeft) style += "border-left:1px solid #000;";
    if (sides & BorderRight) style += "border-right:1px solid #000;";
    if (sides & BorderTop) style += "border-top:1px solid #000;";
    if (sides & BorderBottom) style += "border-bottom:1px solid #000;";
    if (grid.align(col, row) == Align::Left) style += "text-align:left;";
    return style;
}
} // namespace

std::string gridToHtmlTable(const Grid& grid) {
    std::string out = "<table>\n";
    for (int row = 1; row <= grid.maxRows(); ++row) {
        out += "<tr>";
        for (int col = 1; col <= grid.maxCols(); ++col) {
            std::string style = cellStyle(grid, col, row);
            out += style.empty() ? "<td>" : "<td style=\"" + style + "\">";
            out += htmlEscape(grid.text(col, row)) + "</td>";
        }
        out += "</tr>\n";
    }
    return out + "</table>\n";
}

std::string htmlPage(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>" +
           htmlEscape(title) +
           "</title><style>table{border-collapse:collapse;font-family:'IPAGothic',"
           "sans-serif;font-size:12px;margin-bottom:1em}td{text-align:center;padding:1px 4px;"
           "white-space:pre}</style></head><body>\n<h1>" +
           htmlEscape(title) + "</h1>\n" + body + "</body></html>\n";
}

std::string gridToHtml(const Grid& grid, const std::string& title) {
    return htmlPage(title, gridToHtmlTable(grid));
}

} // namespace n4
