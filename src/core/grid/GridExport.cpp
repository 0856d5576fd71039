#include "core/grid/GridExport.h"

#include <ostream>
#include <sstream>

#include "core/grid/StreamWriter.h"

namespace n4 {

namespace {

void appendJsonEscaped(std::string& out, const std::string& text) {
    static const char* const kHex = "0123456789abcdef";
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
                out += "\\u00";
                out += kHex[(c >> 4) & 0xf];
                out += kHex[c & 0xf];
            } else {
                out += c;
            }
        }
    }
}

void appendJsonColour(std::string& out, Rgb c) {
    if (c.isNone()) {
        out += "null";
        return;
    }
    out += '"';
    appendHex(out, c);
    out += '"';
}

template <typename Write> std::string toString(Write write) {
    std::ostringstream out;
    write(out);
    return out.str();
}

} // namespace

std::string jsonEscape(const std::string& text) {
    std::string out;
    appendJsonEscaped(out, text);
    return out;
}

void writeTsv(std::ostream& out, const Grid& grid) {
    StreamWriter w(out);
    for (int row = 1; row <= grid.maxRows(); ++row) {
        for (int col = 1; col <= grid.maxCols(); ++col) {
            if (col > 1) w << '\t';
            w << grid.text(col, row);
        }
        w << '\n';
        w.maybeFlush();
    }
}

void writeJson(std::ostream& out, const Grid& grid, const std::string& window) {
    StreamWriter w(out);
    w << "{\"window\": \"";
    appendJsonEscaped(w.buffer(), window);
    w << "\", \"cols\": " << std::to_string(grid.maxCols())
      << ", \"rows\": " << std::to_string(grid.maxRows()) << ", \"cells\": [";
    std::string& buf = w.buffer();
    for (int row = 1; row <= grid.maxRows(); ++row) {
        for (int col = 1; col <= grid.maxCols(); ++col) {
            if (row > 1 || col > 1) buf += ", ";
            buf += "[\"";
            appendJsonEscaped(buf, grid.text(col, row));
            buf += "\", ";
            appendJsonColour(buf, grid.foreground(col, row));
            buf += ", ";
            appendJsonColour(buf, grid.background(col, row));
            buf += ']';
        }
        w.maybeFlush();
    }
    w << "]}";
}

std::string gridToTsv(const Grid& grid) {
    return toString([&](std::ostream& out) { writeTsv(out, grid); });
}

std::string gridToJson(const Grid& grid, const std::string& window) {
    return toString([&](std::ostream& out) { writeJson(out, grid, window); });
}

} // namespace n4
