#include "core/prediction/PredictionScan.h"

namespace n4 {

void PredictionScan::clear() {
    DigitsByDraw_ = DigitsByDraw();
    recent_.fill(Recent{});
    storedUpTo_ = 0;
    for (auto& m : CycleDigits)
        m.fill(kNoDigit);
    latestDrawNo_ = 0;
    ++cycleRevision_;
}

void PredictionScan::add(const DrawRecord& row) {
    if (!row.isComplete()) return;
    const int r = row.drawNo;
    DigitsByDraw_.store(r, row.digits);
    // Like the store, which keeps draws in ascending number only.
    if (r > storedUpTo_) {
        Recent& slot = recent_[static_cast<unsigned>(r) % kRecent];
        slot.drawNo = r;
        for (int p = 0; p < 4; ++p)
            slot.digits[p] = static_cast<std::int8_t>(row.digits[p]);
        storedUpTo_ = r;
    }
    latestDrawNo_ = r;
    for (int p = 1; p <= 4; ++p) {
        const int d = row.digit(p);
        const int k = DigitsByDraw_.lastDrawWith(r, d);
        if (k == 0) continue;
        for (int m = 0; m < 4; ++m)
            if (r - k == CycleLengths[m] && CycleDigits[m][p - 1] != d) {
                CycleDigits[m][p - 1] = d;
                ++cycleRevision_;
            }
    }
}

} // namespace n4
