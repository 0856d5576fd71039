#include "core/prediction/PredictionEngine.h"

#include <string>

#include "core/prediction/PredictionGrids.h"

namespace n4 {

namespace {

void showSlots(Grid& grid, const DigitSlots& slots) {
    grid.clearText({2, 2, 5, grid.maxRows()});
    for (int slot = 0; slot < slots.count; ++slot)
        grid.setText(2 + slot % 4, 2 + slot / 4, std::to_string(slots.digits[slot]));
}

} // namespace

PredictionEngine::PredictionEngine()
    : predicted_(predictDigits(scan_, 0)), grids_(makePredictionGrids()) {}

void PredictionEngine::ScanDraws(const DrawTable& table, int latestDrawNo, int reflectedCount) {
    scan_.clear();
    scan_.reserve(table.size());
    for (const DrawRecord& row : table)
        scan_.add(row);
    scan_.setLatestDrawNo(latestDrawNo);
    Predict(reflectedCount);
}

void PredictionEngine::Predict(int reflectedCount) {
    predicted_ = predictDigits(scan_, reflectedCount);
    for (int m = 0; m < 4; ++m)
        for (int p = 1; p <= 4; ++p) {
            const int d = predicted_.cycle[m][p - 1];
            grids_[0].setText(p + 1, m + 2, d == kNoDigit ? "" : std::to_string(d));
        }
    showSlots(grids_[1], predicted_.eliminationShown);
    showSlots(grids_[2], predicted_.renpatsu);
    showSlots(grids_[3], predicted_.ippatsu);
}

} // namespace n4
