#pragma once
// The four prediction methods: the cycle methods over 7, 9, 11 and 12 draws,
// the elimination method driven by a fixed table of look-backs, and the 連発
// and １発 selections that keep the cycle digits lying close to the
// elimination digits. Deterministic: the same draws and the same number of
// reflected options always give the same digits.

#include <array>

#include "core/grid/Grid.h"
#include "core/prediction/PredictedDigits.h"
#include "core/prediction/PredictionScan.h"
#include "core/store/DrawTable.h"

namespace n4 {

class PredictionEngine {
  public:
    PredictionEngine();

    // Reads every complete draw, records the cycle digits, then predicts.
    void ScanDraws(const DrawTable& table, int latestDrawNo, int reflectedCount);
    // Recomputes the elimination, 連発 and １発 grids; the cycle grid is refilled
    // with the same digits.
    void Predict(int reflectedCount);

    int cycleDigit(int m, int p) const { return scan_.cycleDigit(m, p); }
    int eliminationDigit(int i) const { return predicted_.elimination[i]; }
    // Every method's digits as the last scan or prediction left them.
    const PredictedDigits& predicted() const { return predicted_; }
    const PredictionScan& scan() const { return scan_; }

    const Grid& cycleGrid() const { return grids_[0]; }
    const Grid& eliminationGrid() const { return grids_[1]; }
    const Grid& renpatsuGrid() const { return grids_[2]; }
    const Grid& ippatsuGrid() const { return grids_[3]; }
    const std::array<Grid, 4>& grids() const { return grids_; }

  private:
    PredictionScan scan_;
    PredictedDigits predicted_;
    std::array<Grid, 4> grids_;
};

} // namespace n4
