#pragma once
// The four prediction methods: the cycle methods over 7, 9, 11 and 12 draws,
// the elimination method driven by a fixed table of look-backs, and the 連発
// and １発 selections that keep the cycle digits lying close to the
// elimination digits. Deterministic: the same draws and the same number of
// reflected options always give the same digits.

#include <array>

#include "analysis/DigitsByDraw.h"
#include "data/DrawTable.h"
#include "grid/Grid.h"

namespace n4 {

constexpr std::array<int, 4> CycleLengths = {7, 9, 11, 12};

struct EliminationRow {
    int drawsBack, position, offset;
};
extern const std::array<EliminationRow, 15> EliminationTable;

// Folds by nines: above 9 subtract 9, 0 or below add 9.
int FoldDigit(int v);

constexpr int kNoDigit = -1;

class PredictionEngine {
  public:
    PredictionEngine();

    // Reads every complete draw, records the cycle digits, then predicts.
    void ScanDraws(const DrawTable& table, int latestDrawNo, int reflectedCount);
    // Recomputes the elimination, 連発 and １発 grids; the cycle grid is refilled
    // with the same digits.
    void Predict(int reflectedCount);

    int cycleDigit(int m, int p) const { return CycleDigits[m][p - 1]; }
    int eliminationDigit(int i) const { return EliminationDigits[i]; }

    const Grid& cycleGrid() const { return grids_[0]; }
    const Grid& eliminationGrid() const { return grids_[1]; }
    const Grid& renpatsuGrid() const { return grids_[2]; }
    const Grid& ippatsuGrid() const { return grids_[3]; }
    const std::array<Grid, 4>& grids() const { return grids_; }

  private:
    void PredictByElimination(int n);
    void PredictRenpatsu();
    void PredictIppatsu();
    void selectNearCycleDigits(Grid& grid, int tolerance, int cap);

    DigitsByDraw DigitsByDraw_;
    std::array<std::array<int, 4>, 4> CycleDigits;
    std::array<int, 15> EliminationDigits;
    int latestDrawNo_ = 0;
    std::array<Grid, 4> grids_;
};

} // namespace n4
