#pragma once
// What the prediction is computed from: every complete draw read so far and
// the cycle digits those draws recorded. The state after draw t is the state
// after the draw before it plus draw t, so the prediction for any point of the
// history can be had by adding draws one at a time.

#include <array>
#include <cstdint>

#include "core/analysis/common/DigitsByDraw.h"
#include "core/store/DrawTable.h"

namespace n4 {

constexpr std::array<int, 4> CycleLengths = {7, 9, 11, 12};
constexpr int kNoDigit = -1;

class PredictionScan {
  public:
    PredictionScan() { clear(); }

    void clear();
    void reserve(std::size_t draws) { DigitsByDraw_.reserve(draws); }
    // Reads one row: a complete draw is stored and may record cycle digits;
    // any other row is skipped whole.
    void add(const DrawRecord& row);

    // The latest complete draw read, 0 before the first.
    int latestDrawNo() const { return latestDrawNo_; }
    void setLatestDrawNo(int drawNo) { latestDrawNo_ = drawNo; }
    // m 0..3 (cycle length 7, 9, 11, 12), p 1..4; kNoDigit when never recorded.
    int cycleDigit(int m, int p) const { return CycleDigits[m][p - 1]; }
    // Goes up whenever a cycle digit changes, which is seldom.
    unsigned cycleRevision() const { return cycleRevision_; }
    // Position 1..4 of draw k; 0 for a draw never stored.
    int digit(int drawNo, int position) const {
        if (drawNo > storedUpTo_ - kRecent && drawNo <= storedUpTo_) {
            const Recent& r = recent_[static_cast<unsigned>(drawNo) % kRecent];
            return r.drawNo == drawNo ? r.digits[position - 1] : 0;
        }
        return DigitsByDraw_.digit(drawNo, position);
    }

  private:
    // The latest draws again, by draw number modulo kRecent, for the reads
    // of the elimination method, which all fall within its last 20 draws.
    static constexpr int kRecent = 32;
    struct Recent {
        int drawNo = -1;
        std::array<std::int8_t, 4> digits{};
    };
    std::array<Recent, kRecent> recent_{};
    int storedUpTo_ = 0; // the highest draw number stored
    unsigned cycleRevision_ = 0;

    DigitsByDraw DigitsByDraw_;
    std::array<std::array<int, 4>, 4> CycleDigits;
    int latestDrawNo_ = 0;
};

} // namespace n4
