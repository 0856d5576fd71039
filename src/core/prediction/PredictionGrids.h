#pragma once
// The four result grids of the prediction window, set up empty: labels,
// header band and borders. The engine places the digits, four to a row in
// columns 2..5 from row 2.
#include <array>

#include "core/grid/Grid.h"

namespace n4 {

// Rows of the cycle, elimination, 連発 and １発 grids; row 1 is the header.
constexpr std::array<int, 4> kPredictionGridRows = {5, 4, 3, 2};
// How many digits a result grid shows: four to a row from row 2.
constexpr int digitSlots(int grid) {
    return (kPredictionGridRows[grid] - 1) * 4;
}

// The method labels of column 1: the cycle grid's four, then the elimination,
// 連発 and １発 grids' one each.
extern const std::array<const char*, 4> kCycleMethodLabels;
extern const std::array<const char*, 3> kSetMethodLabels;

std::array<Grid, 4> makePredictionGrids();
// The line above grid 0..3 in the window, naming its method.
const char* predictionGridLabel(int index);
// The window's caption and the description of its prediction panel.
extern const char* const kPredictionCaption;
// The window's name inside the program (its JSON export says it too).
extern const char* const kPredictionWindowName;
extern const char* const kPredictionDescription;

} // namespace n4
