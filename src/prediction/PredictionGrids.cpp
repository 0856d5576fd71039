#include "prediction/PredictionGrids.h"

#include <string>

#include "grid/Palette.h"

namespace n4 {

namespace {

const char* const kHeader = "             予 想 数 字                   ";
constexpr int kRows[4] = {5, 4, 3, 2};

void setUpGrid(Grid& g, int index) {
    g.resize(5, kRows[index]);
    g.setVisible(5, kRows[index]);
    g.setRowHeight(-1, 10);
    g.setColWidth(-1, 5);
    g.setColWidth(1, 8);
    g.setAlign(Block::all(), Align::Center);
    const Block whole{1, 1, 5, kRows[index]};
    if (index == 0) {
        g.setBorder(whole, BorderTop | BorderBottom);
        g.setBorder({1, 1, 1, kRows[index]}, BorderRight);
    } else {
        g.setBorder(whole, BorderAll);
    }
}

void writeLabels(Grid& g, int index) {
    switch (index) {
    case 0:
        g.setText(1, 2, " 7回周期法");
        g.setText(1, 3, " 9回周期法");
        g.setText(1, 4, "11回周期法");
        g.setText(1, 5, "12回周期法");
        break;
    case 1:
        g.setText(1, 3, "消去法");
        break;
    case 2:
        g.setText(1, 2, "連発予想");
        break;
    default:
        g.setText(1, 2, "１発予想");
        break;
    }
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

std::array<Grid, 4> makePredictionGrids() {
    std::array<Grid, 4> grids;
    for (int g = 0; g < 4; ++g) {
        setUpGrid(grids[g], g);
        writeLabels(grids[g], g);
        writeHeader(grids[g], g);
    }
    return grids;
}

void DigitPlacement::place(int digit) {
    int slot = attempts_++;
    grid_.setText(2 + slot % 4, 2 + slot / 4, std::to_string(digit));
}

bool DigitPlacement::holds(int digit) const {
    const std::string text = std::to_string(digit);
    for (int row = 2; row <= grid_.maxRows(); ++row)
        for (int col = 2; col <= 5; ++col)
            if (grid_.text(col, row) == text) return true;
    return false;
}

} // namespace n4
