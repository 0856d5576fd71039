#include "core/prediction/PredictionGrids.h"

#include <string>

#include "core/grid/Palette.h"

namespace n4 {

const std::array<const char*, 4> kCycleMethodLabels = {" 7回周期法", " 9回周期法", "11回周期法",
                                                       "12回周期法"};
const std::array<const char*, 3> kSetMethodLabels = {"消去法", "連発予想", "１発予想"};

namespace {

const char* const kHeader = "             予 想 数 字                   ";
const auto& kRows = kPredictionGridRows;

void setUpGrid(Grid& g, int index) {
    g.resize(5, kRows[index]);
    g.setVisible(5, kRows[index]);
    g.setRowHeight(-1, 10);
    g.setColWidth(-1, 5);
    g.setColWidth(1, 8);
    const Block whole{1, 1, 5, kRows[index]};
    if (index == 0) {
        g.setBorder(whole, BorderTop | BorderBottom);
        g.setBorder({1, 1, 1, kRows[index]}, BorderRight);
    } else {
        g.setBorder(whole, BorderAll);
    }
}

void writeLabels(Grid& g, int index) {
    if (index == 0) {
        for (int m = 0; m < 4; ++m)
            g.setText(1, m + 2, kCycleMethodLabels[m]);
        return;
    }
    // The elimination label sits beside the middle of its three digit rows.
    g.setText(1, index == 1 ? 3 : 2, kSetMethodLabels[index - 1]);
}

void writeHeader(Grid& g, int index) {
    g.setBorder({2, 1, 5, 1}, 0);
    g.setText(2, 1, kHeader);
    g.setAlign(Block::cell(2, 1), Align::Left);
    g.setForeground({1, 1, 5, 1}, palette::Blue);
    g.setBackground({1, 1, 5, 1}, palette::HeaderPink);
    // The single label reads as one cell beside all the digit rows.
    if (index == 1) g.setBorder({1, 2, 1, 4}, 0);
    if (index == 2) g.setBorder({1, 2, 1, 3}, 0);
}

} // namespace

const char* const kPredictionCaption = "一発マーヴォ予想";
const char* const kPredictionWindowName = "一発マーヴォ";
const char* const kPredictionDescription = "各データ分析の結果を元に周期法、消去法、連発マーヴォ、"
                                           "一発マーヴォの各手法を用いて当選数字を予想"
                                           "します。";

const char* predictionGridLabel(int index) {
    // The third reads "組む合わせて", as the window always had it.
    static const char* const labels[] = {
        "●周期法による予想(この予想数字を組合わせて購入します)",
        "●消去法による予想(この予想数字を組合わせて購入します)",
        "●連発マーヴォ予想(この予想数字を組む合わせて購入します)",
        "●一発マーヴォ予想",
    };
    return index >= 0 && index < 4 ? labels[index] : "";
}

std::array<Grid, 4> makePredictionGrids() {
    std::array<Grid, 4> grids;
    for (int g = 0; g < 4; ++g) {
        setUpGrid(grids[g], g);
        writeLabels(grids[g], g);
        writeHeader(grids[g], g);
    }
    return grids;
}

} // namespace n4
