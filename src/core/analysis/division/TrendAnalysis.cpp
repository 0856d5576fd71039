// 分割5傾向分析: every draw with its four digits coloured by their group
// (0～1, 2～3, 4～5, 6～7, 8～9) and how many of them fell in each group.
#include "core/analysis/division/TrendAnalysis.h"

#include <iterator>

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

const char* const kTitle = "   当 選 数 字";
const char* const kGroupHeaders[] = {"0～1", "2～3", "4～5", "6～7", "8～9"};
constexpr int kGroups = static_cast<int>(std::size(kGroupHeaders));
// Digit cells; the count column of group 1 keeps the default background.
const Rgb kGroupColours[] = {palette::White, palette::Cyan, palette::Green, palette::LabelYellow,
                             palette::Magenta};

Grid setUp(int last) {
    Grid g = newAnalysisGrid(10, last, 10.0, 5.0);
    g.setRowHeight(1, 20.0);
    g.setRowHeight(last, 20.0);
    g.setColWidth(1, 6.0);
    paintLabelCells(g, {1, 2, 1, last});
    for (int grp = 1; grp < kGroups; ++grp)
        g.setBackground({6 + grp, 2, 6 + grp, last}, kGroupColours[grp]);
    g.setBorder({1, 1, 10, last}, BorderAll);
    g.setBorderColour(palette::Red);
    g.setBorder({6, 1, 6, last}, BorderLeft);
    return g;
}

void writeHeader(Grid& g, int h) {
    g.setBorderColour(palette::Black);
    g.setBorder({2, h, 5, h}, 0);
    g.setBorder({2, h, 6, h}, BorderBottom);
    g.setForeground({1, h, 10, h}, palette::Black);
    g.setBackground({1, h, 10, h}, palette::HeaderPink);
    g.setForeground({6, h, 10, h}, palette::Blue);
    g.setBackground({6, h, 10, h}, palette::Lavender);
    writeRunOnTitle(g, 3, h, kTitle);
    g.setText(1, h, "回数");
    for (int grp = 0; grp < kGroups; ++grp)
        g.setText(6 + grp, h, kGroupHeaders[grp]);
}

void fill(Grid& g, const DrawTable& table) {
    int r = 2;
    for (const DrawRecord& draw : table) {
        g.noteDrawRow(draw.drawNo, draw.isComplete() ? r : 0);
        if (!draw.isComplete()) continue;
        g.setNumber(1, r, draw.drawNo);
        int counts[kGroups] = {};
        for (int k = 1; k <= 4; ++k) {
            const int grp = draw.digit(k) / 2;
            g.setNumber(k + 1, r, draw.digit(k));
            g.setBackground(Block::cell(k + 1, r), kGroupColours[grp]);
            ++counts[grp];
        }
        for (int grp = 0; grp < kGroups; ++grp)
            g.setNumber(6 + grp, r, counts[grp]);
        ++r;
    }
}

} // namespace

Grid computeTrendAnalysis(const AnalysisInput& in) {
    const int last = in.figures.latestDrawNo + 2;
    Grid g = setUp(last);
    writeHeader(g, 1);
    writeHeader(g, last);
    fill(g, in.table);
    return g;
}

} // namespace n4
