// The two combination-pattern windows: every draw with its digits coloured by
// class, the count of each class and a pattern letter A..D. The even/odd and
// low/high windows are twins that differ in the classifier, in whether the
// second class is coloured white or left alone, and in which count picks the
// letter.
#include "core/analysis/pattern/CombinationPatternAnalysis.h"

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

const char* const kTitle = "    当 選 数 字      ";

struct PatternRule {
    const char* firstHeader;  // column 6
    const char* secondHeader; // column 7
    bool (*isFirstClass)(int digit);
    bool paintSecondClassWhite;
    bool letterFromFirstCount;
};

bool isEven(int d) {
    return d % 2 == 0;
}
bool isLow(int d) {
    return d <= 4;
}

const PatternRule kEvenOdd{"偶数", "奇数", isEven, true, false};
const PatternRule kLowHigh{"低数字", "高数字", isLow, false, true};

struct Letter {
    const char* text;
    Rgb background; // none: left as it is
};
const Letter kLetters[] = {{"A", Rgb::none()},
                           {"B", palette::Cyan},
                           {"C", palette::Green},
                           {"D", palette::LabelYellow},
                           {"", Rgb::none()}};

Grid setUp(int latest) {
    // The description's blocks run to row latest + 2 and end at the last row.
    const int end = latest + 1;
    Grid g = newAnalysisGrid(8, end, 10.0, 5.0);
    g.setRowHeight(1, 20.0);
    g.setColWidth(1, 6.0);
    g.setColWidth(8, 7.0);
    paintLabelCells(g, {1, 2, 1, end});
    g.setForeground({6, 2, 6, end}, palette::Blue);
    g.setBackground({6, 2, 6, end}, palette::Cyan);
    g.setForeground({7, 2, 7, end}, palette::Blue);
    g.setBackground({7, 2, 7, end}, palette::White);
    g.setBorder({1, 1, 8, end}, BorderAll);
    g.setBorder({2, 1, 5, 1}, 0);
    g.setBorder({2, 1, 5, 1}, BorderOutline);
    g.setForeground({1, 1, 8, 1}, palette::Blue);
    g.setBackground({1, 1, 8, 1}, palette::HeaderPink);
    return g;
}

void writeHeader(Grid& g, const PatternRule& rule) {
    writeRunOnTitle(g, 3, 1, kTitle);
    g.setText(1, 1, "回数");
    g.setText(6, 1, rule.firstHeader);
    g.setText(7, 1, rule.secondHeader);
    g.setText(8, 1, "パターン");
}

void fill(Grid& g, const DrawTable& table, const PatternRule& rule) {
    int r = 2;
    for (const DrawRecord& draw : table) {
        g.noteDrawRow(draw.drawNo, draw.isComplete() ? r : 0);
        if (!draw.isComplete()) continue;
        g.setNumber(1, r, draw.drawNo);
        int first = 0;
        for (int p = 1; p <= 4; ++p) {
            const int d = draw.digit(p);
            g.setNumber(p + 1, r, d);
            if (rule.isFirstClass(d)) {
                ++first;
                g.setBackground(Block::cell(p + 1, r), palette::Cyan);
            } else if (rule.paintSecondClassWhite) {
                g.setBackground(Block::cell(p + 1, r), palette::White);
            }
        }
        g.setNumber(6, r, first);
        g.setNumber(7, r, 4 - first);
        const Letter& letter = kLetters[rule.letterFromFirstCount ? first : 4 - first];
        g.setText(8, r, letter.text);
        if (!letter.background.isNone()) g.setBackground(Block::cell(8, r), letter.background);
        ++r;
    }
}

Grid compute(const AnalysisInput& in, const PatternRule& rule) {
    Grid g = setUp(in.figures.latestDrawNo);
    writeHeader(g, rule);
    fill(g, in.table, rule);
    return g;
}

} // namespace

Grid computeEvenOddAnalysis(const AnalysisInput& in) {
    return compute(in, kEvenOdd);
}
Grid computeLowHighAnalysis(const AnalysisInput& in) {
    return compute(in, kLowHigh);
}

} // namespace n4
