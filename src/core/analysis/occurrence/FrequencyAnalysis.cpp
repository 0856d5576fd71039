// 出現頻度分析: for each digit 0..9 a bar of marks, one "●" per appearance,
// stacked from row 3 down, so the longest column is the most frequent digit.
#include "core/analysis/occurrence/FrequencyAnalysis.h"

#include <algorithm>

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

const char* const kTitle = "　　当 選 数 字";

Grid setUp(int maxCount) {
    const int last = maxCount + 2;
    Grid g = newAnalysisGrid(11, last, 10.0, 3.0);
    g.setRowHeight(1, 15.0);
    g.setRowHeight(2, 15.0);
    g.setColWidth(1, 5.0);
    g.setBorderColour(palette::ChartLine);
    g.setBorder({1, 1, 11, 1}, BorderOutline);
    g.setBackground({1, 1, 11, 1}, palette::LabelYellow);
    g.setBorder(Block::cell(1, 1), BorderRight);
    writeRunOnTitle(g, 5, 1, kTitle);
    g.setForeground(Block::cell(5, 1), palette::Red);
    g.setForeground({1, -1, 1, -1}, palette::Blue);
    g.setBackground({1, -1, 1, -1}, palette::ChartBand);
    g.setBorder({1, 2, 11, last}, BorderAll);
    paintLabelCells(g, {2, 2, 11, 2});
    g.setForeground({2, 3, 11, last}, palette::Mark);
    return g;
}

void writeHeaders(Grid& g, int maxCount) {
    g.setText(1, 2, "出現数");
    for (int d = 0; d <= 9; ++d)
        g.setNumber(d + 2, 2, d);
    for (int k = 1; k <= maxCount; ++k)
        g.setNumber(1, k + 2, k);
}

void fill(Grid& g, const DrawTable& table) {
    int counter[10] = {};
    for (const DrawRecord& row : table) {
        if (!row.isComplete()) continue;
        for (int d : row.digits)
            g.setText(d + 2, ++counter[d] + 2, marks::Dot);
    }
}

} // namespace

Grid computeFrequencyAnalysis(const AnalysisInput& in) {
    const auto& tally = in.figures.digitTally;
    const int maxCount = *std::max_element(tally.begin(), tally.end());
    Grid g = setUp(maxCount);
    writeHeaders(g, maxCount);
    fill(g, in.table);
    return g;
}

} // namespace n4
