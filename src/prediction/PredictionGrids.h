#pragma once
// The four result grids of the prediction window, set up empty: labels,
// header band and borders. The engine places the digits.
#include <array>

#include "grid/Grid.h"

namespace n4 {

std::array<Grid, 4> makePredictionGrids();

// Places digits four to a row in columns 2..5 from row 2; a digit finding no
// free slot is dropped.
class DigitPlacement {
  public:
    explicit DigitPlacement(Grid& grid) : grid_(grid) {}
    void place(int digit);
    bool holds(int digit) const;
    int attempts() const { return attempts_; }

  private:
    Grid& grid_;
    int attempts_ = 0;
};

} // namespace n4
