#include "GoldenGrid.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "TestSupport.h"

namespace n4test {

namespace {

using n4::Grid;
using n4::Rgb;

// The colours the windows' descriptions name, written out here rather than
// taken from the program's palette, so that a wrong colour there shows.
std::string colourName(Rgb c) {
    struct Named {
        Rgb rgb;
        const char* name;
    };
    static const Named names[] = {
        {{0, 0, 0}, "black"},          {{255, 255, 255}, "white"},  {{255, 0, 0}, "red"},
        {{0, 0, 255}, "blue"},         {{255, 255, 200}, "yellow"}, {{255, 200, 200}, "pink"},
        {{200, 255, 255}, "cyan"},     {{200, 255, 200}, "green"},  {{255, 200, 255}, "magenta"},
        {{200, 200, 255}, "lavender"}, {{225, 225, 225}, "grey"},   {{62, 158, 255}, "mark"},
        {{136, 196, 255}, "line"},     {{222, 254, 253}, "band"},   {{128, 255, 255}, "swatch"},
    };
    for (const Named& n : names)
        if (n.rgb == c) return n.name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

std::string number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

std::string span(int from, int to) {
    return from == to ? std::to_string(from) : std::to_string(from) + ".." + std::to_string(to);
}

// "1..3 a, 5 b": runs of equal values over 1..count, empty values left out.
template <typename F> std::string runs(int count, F valueAt) {
    std::string out;
    int start = 1;
    for (int i = 2; i <= count + 1; ++i) {
        if (i <= count && valueAt(i) == valueAt(start)) continue;
        const std::string v = valueAt(start);
        if (!v.empty()) out += (out.empty() ? "" : ", ") + span(start, i - 1) + " " + v;
        start = i;
    }
    return out;
}

// The cell's lines as side letters, grouped by colour: "lrtb@line", "l@red+rtb".
std::string lines(const Grid& g, int col, int row) {
    static const struct {
        n4::BorderSide side;
        char letter;
    } sides[] = {{n4::BorderLeft, 'l'},
                 {n4::BorderRight, 'r'},
                 {n4::BorderTop, 't'},
                 {n4::BorderBottom, 'b'}};
    const std::uint8_t set = g.borders(col, row);
    std::vector<std::pair<std::string, std::string>> groups; // colour, letters
    for (const auto& s : sides) {
        if (!(set & s.side)) continue;
        const Rgb c = g.borderColour(col, row, s.side);
        const std::string name = c.isNone() ? "" : colourName(c);
        bool found = false;
        for (auto& group : groups)
            if (group.first == name) group.second += s.letter, found = true;
        if (!found) groups.push_back({name, std::string(1, s.letter)});
    }
    std::string out;
    for (const auto& group : groups)
        out += (out.empty() ? "" : "+") + group.second +
               (group.first.empty() ? "" : "@" + group.first);
    return out;
}

std::string attributes(const Grid& g, int row) {
    const int cols = g.maxCols();
    std::vector<std::string> parts;
    auto add = [&](const char* what, const std::string& value) {
        if (!value.empty()) parts.push_back(std::string(what) + " " + value);
    };
    add("fg", runs(cols, [&](int c) {
            Rgb v = g.foreground(c, row);
            return v.isNone() ? std::string() : colourName(v);
        }));
    add("bg", runs(cols, [&](int c) {
            Rgb v = g.background(c, row);
            return v.isNone() ? std::string() : colourName(v);
        }));
    add("align", runs(cols, [&](int c) {
            return g.align(c, row) == n4::Align::Left ? std::string("left") : std::string();
        }));
    add("lines", runs(cols, [&](int c) { return lines(g, c, row); }));
    std::string out;
    for (const std::string& p : parts)
        out += (out.empty() ? "" : "; ") + p;
    return out;
}

} // namespace

std::string describeGrid(const Grid& g) {
    std::ostringstream out;
    out << "size " << g.maxCols() << " x " << g.maxRows() << ", visible " << g.visibleCols()
        << " x " << g.visibleRows() << ", text overflow " << (g.textOverflow() ? "on" : "off")
        << "\n";
    // A window whose sizes and offsets agree with its grid writes nothing past
    // its edge; a golden file shows such writes, so that none goes unnoticed.
    if (g.writesOutside() > 0) out << "writes outside the grid: " << g.writesOutside() << "\n";
    out << "widths " << runs(g.maxCols(), [&](int c) { return number(g.colWidth(c)); }) << "\n";
    out << "heights " << runs(g.maxRows(), [&](int r) { return number(g.rowHeight(r)); }) << "\n";
    std::string previous = "\n"; // no row has this
    for (int row = 1; row <= g.maxRows(); ++row) {
        out << "r" << row << ": " << rowTexts(g, row) << "\n";
        const std::string attrs = attributes(g, row);
        if (attrs == previous)
            out << "    (as above)\n";
        else if (!attrs.empty())
            out << "    " << attrs << "\n";
        previous = attrs;
    }
    return out.str();
}

std::string describeHistory(const n4::DrawTable& table) {
    std::string out;
    int onLine = 0;
    for (const n4::DrawRecord& d : table) {
        out += onLine == 0 ? "# draws" : "";
        out += " " + std::to_string(d.drawNo) + ":";
        for (int digit : d.digits)
            out += digit == n4::kAbsentDigit ? "-" : std::to_string(digit);
        if (++onLine == 8) out += "\n", onLine = 0;
    }
    return onLine ? out + "\n" : out;
}

void expectGolden(const std::string& name, const std::string& text) {
    const std::string path = std::string(N4_GOLDEN_DIR) + "/" + name + ".txt";
    if (const char* update = std::getenv("N4_UPDATE_GOLDEN"); update && *update == '1') {
        writeFile(path, text);
        return;
    }
    const std::string expected = readFile(path);
    ASSERT_FALSE(expected.empty()) << path << " is missing; N4_UPDATE_GOLDEN=1 writes it";
    if (expected == text) return;
    std::istringstream want(expected), got(text);
    std::string a, b;
    for (int line = 1;; ++line) {
        const bool moreWant = static_cast<bool>(std::getline(want, a));
        const bool moreGot = static_cast<bool>(std::getline(got, b));
        if (!moreWant && !moreGot) break;
        if (moreWant && moreGot && a == b) continue;
        ADD_FAILURE() << name << ".txt differs from line " << line
                      << ":\n  expected: " << (moreWant ? a : "(end)")
                      << "\n  actual:   " << (moreGot ? b : "(end)");
        return;
    }
}

} // namespace n4test
