#include "core/analysis/common/DigitsByDraw.h"

#include <algorithm>

namespace n4 {

void DigitsByDraw::store(int drawNo, const std::array<int, 4>& digits) {
    if (!entries_.empty() && entries_.back().drawNo >= drawNo) return;
    Entry e{drawNo, {}};
    for (int p = 0; p < 4; ++p)
        e.digits[p] = static_cast<std::int8_t>(digits[p]);
    entries_.push_back(e);
    beforeLast_ = latest_;
    if (drawNo - 1 >= 1 && drawNo - 1 > latest_.top) latest_.gap = drawNo - 1;
    if (drawNo >= 1) {
        latest_.top = drawNo;
        for (std::int8_t d : e.digits)
            if (d >= 0 && d <= 9) latest_.withDigit[static_cast<std::size_t>(d)] = drawNo;
    }
}

int DigitsByDraw::fromLatest(const Latest& latest, int r, int d) {
    const int with = latest.withDigit[static_cast<std::size_t>(d)];
    if (d != 0) return with;
    const int gap = r - 1 >= 1 && r - 1 > latest.top ? r - 1 : latest.gap;
    return std::max(with, gap);
}

long DigitsByDraw::lastIndexBefore(int r) const {
    if (entries_.empty()) return -1;
    // Draws numbered without gaps index directly; otherwise search.
    long direct = static_cast<long>(r) - 1 - entries_.front().drawNo;
    if (direct >= 0 && direct < static_cast<long>(entries_.size()) &&
        entries_[direct].drawNo == r - 1)
        return direct;
    auto it = std::lower_bound(entries_.begin(), entries_.end(), r,
                               [](const Entry& e, int no) { return e.drawNo < no; });
    return static_cast<long>(it - entries_.begin()) - 1;
}

int DigitsByDraw::digit(int drawNo, int position) const {
    long i = lastIndexBefore(drawNo + 1);
    if (i < 0 || entries_[i].drawNo != drawNo || position < 1 || position > 4) return 0;
    return entries_[i].digits[position - 1];
}

int DigitsByDraw::lastDrawWith(int r, int d) const {
    if (d >= 0 && d <= 9) {
        if (entries_.empty() || r > entries_.back().drawNo) return fromLatest(latest_, r, d);
        if (r == entries_.back().drawNo) return fromLatest(beforeLast_, r, d);
    }
    int expected = r - 1; // the next draw number the walk reads
    for (long i = lastIndexBefore(r); i >= 0 && expected >= 1; --i) {
        const Entry& e = entries_[i];
        if (e.drawNo < 1) break;
        if (e.drawNo < expected && d == 0) return expected; // a gap reads as zeros
        const auto& ds = e.digits;
        if (ds[0] == d || ds[1] == d || ds[2] == d || ds[3] == d) return e.drawNo;
        expected = e.drawNo - 1;
    }
    return expected >= 1 && d == 0 ? expected : 0;
}

} // namespace n4
