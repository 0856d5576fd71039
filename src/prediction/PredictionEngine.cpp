#include "prediction/PredictionEngine.h"

#include <cstdlib>

#include "prediction/PredictionGrids.h"

namespace n4 {

const std::array<EliminationRow, 15> EliminationTable = {{
    {0, 1, +1},
    {0, 2, +8},
    {1, 1, 0},
    {1, 4, -7},
    {2, 4, +8},
    {2, 2, -5},
    {3, 1, +3},
    {3, 4, +1},
    {4, 4, +4},
    {4, 1, +7},
    {5, 4, +6},
    {5, 4, -9},
    {6, 1, +4},
    {7, 2, +1},
    {9, 4, +9},
}};

namespace {
constexpr int kRenpatsuTolerance = 3;
constexpr int kIppatsuTolerance = 2;
constexpr int kIppatsuCap = 7;
constexpr int kNoCap = 1 << 30;
} // namespace

int FoldDigit(int v) {
    if (v > 9) return v - 9;
    if (v <= 0) return v + 9;
    return v;
}

PredictionEngine::PredictionEngine() : grids_(makePredictionGrids()) {
    for (auto& m : CycleDigits)
        m.fill(kNoDigit);
    EliminationDigits.fill(kNoDigit);
}

void PredictionEngine::ScanDraws(const DrawTable& table, int latestDrawNo, int reflectedCount) {
    DigitsByDraw_ = DigitsByDraw();
    DigitsByDraw_.reserve(table.size());
    latestDrawNo_ = latestDrawNo;
    for (const DrawRecord& row : table) {
        if (!row.isComplete()) continue;
        const int r = row.drawNo;
        DigitsByDraw_.store(r, row.digits);
        for (int p = 1; p <= 4; ++p) {
            const int d = row.digit(p);
            const int k = DigitsByDraw_.lastDrawWith(r, d);
            if (k == 0) continue;
            for (int m = 0; m < 4; ++m)
                if (r - k == CycleLengths[m]) CycleDigits[m][p - 1] = d;
        }
    }
    Predict(reflectedCount);
}

void PredictionEngine::Predict(int reflectedCount) {
    for (int g = 1; g < 4; ++g)
        grids_[g].clearText({2, 2, 5, grids_[g].maxRows()});
    for (int m = 0; m < 4; ++m)
        for (int p = 1; p <= 4; ++p) {
            int d = CycleDigits[m][p - 1];
            grids_[0].setText(p + 1, m + 2, d == kNoDigit ? "" : std::to_string(d));
        }
    PredictByElimination(reflectedCount);
    PredictRenpatsu();
    PredictIppatsu();
}

void PredictionEngine::PredictByElimination(int n) {
    EliminationDigits.fill(kNoDigit);
    // Without a complete draw there is nothing to predict from.
    if (latestDrawNo_ == 0) return;
    DigitPlacement placement(grids_[1]);
    for (int i = 0; i < 15; ++i) {
        const EliminationRow& row = EliminationTable[i];
        const int k = latestDrawNo_ - row.drawsBack - n;
        if (k < 0) continue; // reaches back before the first draw
        const int value = FoldDigit(DigitsByDraw_.digit(k, row.position) + row.offset);
        bool repeat = false;
        for (int j = 0; j < i; ++j)
            repeat = repeat || EliminationDigits[j] == value;
        EliminationDigits[i] = value;
        if (!repeat) placement.place(value);
    }
}

void PredictionEngine::selectNearCycleDigits(Grid& grid, int tolerance, int cap) {
    DigitPlacement placement(grid);
    for (int a = 0; a < 15; ++a) {
        const int e = EliminationDigits[a];
        if (e == kNoDigit) continue;
        for (int m = 0; m < 4; ++m) {
            for (int p = 0; p < 4; ++p) {
                if (placement.attempts() >= cap) return;
                const int s = CycleDigits[m][p];
                if (s == kNoDigit) break; // the rest of this method contributes nothing
                if (std::abs(e - s) > tolerance) continue;
                if (!placement.holds(s)) placement.place(s);
            }
        }
    }
}

void PredictionEngine::PredictRenpatsu() {
    selectNearCycleDigits(grids_[2], kRenpatsuTolerance, kNoCap);
}

void PredictionEngine::PredictIppatsu() {
    selectNearCycleDigits(grids_[3], kIppatsuTolerance, kIppatsuCap);
}

} // namespace n4
