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

} // namespace n4
