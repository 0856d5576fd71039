// 連番飛び石分析: every draw twice, side by side. The left table marks
// neighbouring positions whose digits differ by 1 (連番), the right table by
// 2 (飛び石); a draw with no such pair has its draw number greyed.
#include "core/analysis/pattern/ConsecutiveAnalysis.h"

#include <cstdlib>

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

struct PairTable {
    int base;       // the table's draw-number column
    int difference; // 1 for 連番, 2 for 飛び石
    Rgb pairColour;
    Rgb bandColour;
    const char* title;
};

const PairTable kTables[] = {
    {1, 1, palette::Cyan, palette::Magenta, "連番(当選数字)"},
    {6, 2, palette::Green, palette::HeaderPink, "飛び石(当選数字)"},
};

Grid setUp(int latest) {
    // The description's blocks run to row latest + 2 and end at the last row.
    const int last = latest + 1;
    Grid g = newAnalysisGrid(10, last, 10.0, 5.0);
    for (const PairTable& t : kTables) {
        g.setColWidth(t.base, 6.0);
        paintLabelCells(g, {t.base, 1, t.base, last});
    }
    g.setBorder({1, 1, 10, last}, BorderAll);
    return g;
}

void writeHeader(Grid& g) {
    for (const PairTable& t : kTables) {
        const Block band{t.base + 1, 1, t.base + 4, 1};
        g.setBorder(band, 0);
        g.setBorder(band, BorderOutline);
        g.setBackground(band, t.bandColour);
        g.setText(t.base, 1, "回数");
        writeRunOnTitle(g, t.base + 2, 1, t.title);
    }
}

void writeTable(Grid& g, const PairTable& t, const DrawRecord& draw, int r) {
    g.setNumber(t.base, r, draw.drawNo);
    for (int p = 1; p <= 4; ++p)
        g.setNumber(t.base + p, r, draw.digit(p));
    int pairs = 0;
    for (int i = 1; i <= 3; ++i) {
        if (std::abs(draw.digit(i) - draw.digit(i + 1)) != t.difference) continue;
        ++pairs;
        g.setBackground({t.base + i, r, t.base + i + 1, r}, t.pairColour);
    }
    if (pairs == 0) g.setBackground(Block::cell(t.base, r), palette::NothingFound);
}

void fill(Grid& g, const DrawTable& table) {
    int r = 2;
    for (const DrawRecord& draw : table) {
        g.noteDrawRow(draw.drawNo, draw.isComplete() ? r : 0);
        if (!draw.isComplete()) continue;
        for (const PairTable& t : kTables)
            writeTable(g, t, draw, r);
        ++r;
    }
}

} // namespace

Grid computeConsecutiveAnalysis(const AnalysisInput& in) {
    Grid g = setUp(in.figures.latestDrawNo);
    writeHeader(g);
    fill(g, in.table);
    return g;
}

} // namespace n4
