// 数字間隔分析: every draw with its four digits and, beside each, the signed
// change of that position against the previous draw ("+3", "-3", "0").
#include "core/analysis/pattern/DistanceAnalysis.h"

#include <array>

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

const DrawBand kBand = {
    "   当 選 数 字",
    {"回数", "第1数字", "差分", "第2数字", "差分", "第3数字", "差分", "第4数字", "差分"},
    false};

std::string changeText(int change) {
    return change > 0 ? "+" + std::to_string(change) : std::to_string(change);
}

void fill(Grid& g, const DrawTable& table) {
    std::array<int, 4> prev{0, 0, 0, 0};
    std::array<Grid::TextId, 19> changeTexts{}; // -9..+9, each interned once (0: not yet)
    int r = 3;
    for (const DrawRecord& draw : table) {
        g.noteDrawRow(draw.drawNo, r);
        if (draw.isComplete()) {
            g.setNumber(1, r, draw.drawNo);
            for (int p = 1; p <= 4; ++p) {
                g.setNumber(2 * p, r, draw.digit(p));
                if (r == 3) continue; // the first data row never shows changes
                const int change = draw.digit(p) - prev[p - 1];
                Grid::TextId& text = changeTexts[change + 9];
                if (text.key == 0) text = g.internText(changeText(change));
                g.setText(2 * p + 1, r, text);
                if (change < 0) g.setBackground(Block::cell(2 * p + 1, r), palette::Magenta);
            }
            prev = draw.digits;
        }
        ++r; // an incomplete row keeps its grid row, empty
    }
}

} // namespace

Grid computeDistanceAnalysis(const AnalysisInput& in) {
    Grid g = newDrawBandGrid(kBand, in.figures.latestDrawNo);
    fill(g, in.table);
    return g;
}

} // namespace n4
