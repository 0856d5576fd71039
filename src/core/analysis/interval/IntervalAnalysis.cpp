// 出現間隔分析: every draw with its four digits and, beside each digit, how
// many draws ago that digit was last drawn ("7回前"), or "初回".
#include "core/analysis/interval/IntervalAnalysis.h"

#include <vector>

#include "core/analysis/common/DigitsByDraw.h"
#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"

namespace n4 {

namespace {

const DrawBand kBand = {
    "    当 選 数 字     ",
    {"回数", "第1数字", "出現", "第2数字", "出現", "第3数字", "出現", "第4数字", "出現"},
    true};

std::string intervalText(int r, int k) {
    return k == 0 ? "初回" : std::to_string(r - k) + "回前";
}

// Each text once per grid: the same few gaps come again row after row.
class GapTexts {
  public:
    explicit GapTexts(Grid& g) : grid_(g) {}
    Grid::TextId operator()(int r, int k) {
        const std::size_t gap = k == 0 ? 0 : static_cast<std::size_t>(r - k);
        if (gap >= ids_.size()) ids_.resize(gap + 1);
        if (ids_[gap].key == 0) ids_[gap] = grid_.internText(intervalText(r, k)); // 0: ""
        return ids_[gap];
    }

  private:
    Grid& grid_;
    std::vector<Grid::TextId> ids_; // by gap, 0 for the first time
};

void fill(Grid& g, const DrawTable& table) {
    DigitsByDraw seen;
    seen.reserve(table.size());
    GapTexts texts(g);
    int row = 3;
    for (const DrawRecord& draw : table) {
        g.noteDrawRow(draw.drawNo, row);
        if (draw.isComplete()) {
            const int r = draw.drawNo;
            g.setNumber(1, row, r);
            for (int p = 1; p <= 4; ++p)
                g.setNumber(2 * p, row, draw.digit(p));
            seen.store(r, draw.digits);
            for (int p = 1; p <= 4; ++p)
                g.setText(2 * p + 1, row, texts(r, seen.lastDrawWith(r, draw.digit(p))));
        }
        ++row; // an incomplete row leaves its grid row empty
    }
}

} // namespace

Grid computeIntervalAnalysis(const AnalysisInput& in) {
    Grid g = newDrawBandGrid(kBand, in.figures.latestDrawNo);
    g.setVisible(9, 52);
    fill(g, in.table);
    return g;
}

} // namespace n4
