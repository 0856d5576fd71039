// The division windows: one row per draw and, for each of the four positions,
// a block of ten digit columns coloured in bands by group, with the group
// letters above them and a "●" on the digit drawn.
#include "core/analysis/division/DivisionAnalysis.h"

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

constexpr int kLastCol = 42;

// The column of digit d in the block of position k (1..4).
int digitColumn(int k, int d) {
    return 10 * (k - 1) + d + 2;
}

std::string positionTitle(int k) {
    const std::string pad = "　　　　";
    return pad + "当選数字(第" + std::to_string(k) + "数字)" + pad;
}

Grid setUp(int last, const DivisionScheme& scheme) {
    Grid g = newAnalysisGrid(kLastCol, last, 9.0, 2.0);
    g.setRowHeight(1, 15.0);
    g.setRowHeight(2, 12.0);
    g.setColWidth(1, 6.0);
    g.setColWidth(kLastCol, 6.0);
    g.setBorderColour(palette::ChartLine);
    g.setBorder({1, 3, kLastCol, last}, BorderAll);
    for (int k = 1; k <= 4; ++k) {
        g.setBorder({digitColumn(k, 0), 1, digitColumn(k, 9), 1}, BorderOutline);
        g.setText(digitColumn(k, 0), 1, positionTitle(k));
    }
    g.setAlign({2, 1, 41, 1}, Align::Left);
    g.setBackground({2, 1, 41, 1}, palette::HeaderPink);
    for (int col : {1, kLastCol}) {
        paintLabelCells(g, {col, 1, col, last});
    }
    for (int k = 1; k <= 4; ++k)
        for (const DivisionGroup& grp : scheme.groups)
            if (!grp.band.isNone())
                g.setBackground(
                    {digitColumn(k, grp.firstDigit), 2, digitColumn(k, grp.lastDigit), last},
                    grp.band);
    return g;
}

void writeHeaders(Grid& g, const DivisionScheme& scheme) {
    for (int k = 1; k <= 4; ++k)
        for (size_t i = 0; i < scheme.groups.size(); ++i) {
            const DivisionGroup& grp = scheme.groups[i];
            int right = digitColumn(k, grp.lastDigit);
            if (k == 4 && i + 1 == scheme.groups.size() && scheme.letterFrameReachesLastColumn)
                right = kLastCol;
            const Block frame{digitColumn(k, grp.firstDigit), 2, right, 2};
            g.setBorder(frame, BorderOutline);
        }
    for (int k = 1; k <= 4; ++k)
        for (const DivisionGroup& grp : scheme.groups)
            writeRunOnTitle(g, digitColumn(k, grp.firstDigit), 2, grp.letterText);
    g.setText(1, 3, "回数");
    g.setText(kLastCol, 3, "回数");
    for (int k = 1; k <= 4; ++k)
        for (int d = 0; d <= 9; ++d)
            g.setNumber(digitColumn(k, d), 3, d);
    g.setForeground({2, 3, scheme.blueLabelsAllPositions ? 41 : 11, 3}, palette::Blue);
}

void fill(Grid& g, const DrawTable& table) {
    const Grid::TextId dot = g.internText(marks::Dot);
    const Grid::ColourId mark = g.internColour(palette::Mark);
    int r = 4;
    for (const DrawRecord& draw : table) {
        g.noteDrawRow(draw.drawNo, draw.isComplete() ? r : 0);
        if (!draw.isComplete()) continue;
        g.setNumber(1, r, draw.drawNo);
        g.setNumber(kLastCol, r, draw.drawNo);
        for (int k = 1; k <= 4; ++k) {
            const int col = digitColumn(k, draw.digit(k));
            g.setText(col, r, dot);
            g.setForeground(col, r, mark);
        }
        ++r;
    }
}

} // namespace

Grid computeDivisionAnalysis(const AnalysisInput& in, const DivisionScheme& scheme) {
    Grid g = setUp(in.figures.latestDrawNo + 3, scheme);
    writeHeaders(g, scheme);
    fill(g, in.table);
    return g;
}

Grid computeDivision3Analysis(const AnalysisInput& in) {
    return computeDivisionAnalysis(in, divisionScheme3());
}
Grid computeDivision5Analysis(const AnalysisInput& in) {
    return computeDivisionAnalysis(in, divisionScheme5());
}
Grid computeDivision10Analysis(const AnalysisInput& in) {
    return computeDivisionAnalysis(in, divisionScheme10());
}

} // namespace n4
