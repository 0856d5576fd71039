#include "core/numbers/NumberFilter.h"

#include <algorithm>

namespace n4 {

namespace {

// Whether some order of the digits fits the positions (a small matching:
// four digits, four positions).
bool fitsInSomeOrder(std::array<int, 4> d, const std::array<std::bitset<10>, 4>& positions) {
    std::sort(d.begin(), d.end());
    do {
        bool fits = true;
        for (int i = 0; i < 4 && fits; ++i)
            fits = positions[static_cast<size_t>(i)].test(static_cast<size_t>(d[i]));
        if (fits) return true;
    } while (std::next_permutation(d.begin(), d.end()));
    return false;
}

} // namespace

bool NumberFilter::passesDigits(int number) const {
    const std::array<int, 4> d = digitsOf(number);
    if (anyOrder) {
        if (!fitsInSomeOrder(d, positions)) return false;
    } else {
        for (size_t i = 0; i < 4; ++i)
            if (!positions[i].test(static_cast<size_t>(d[i]))) return false;
    }
    int sum = 0, even = 0, low = 0;
    std::bitset<10> present;
    for (int x : d) {
        sum += x;
        even += x % 2 == 0;
        low += x <= 4;
        present.set(static_cast<size_t>(x));
    }
    return sum >= sumMin && sum <= sumMax && evenCounts.test(static_cast<size_t>(even)) &&
           lowCounts.test(static_cast<size_t>(low)) &&
           types.test(static_cast<size_t>(typeOf(number))) && (must & ~present).none() &&
           (mustNot & present).none();
}

const std::vector<int>& ordersOfKey(int key) {
    static const std::vector<std::vector<int>> orders = [] {
        std::vector<std::vector<int>> o(kNumberCount);
        for (int n = 0; n < kNumberCount; ++n)
            o[static_cast<size_t>(digitsKey(n))].push_back(n);
        return o;
    }();
    return orders[static_cast<size_t>(key)];
}

FilterWalk::FilterWalk(const NumberFilter& filter, BuyKind kind)
    : filter_(filter), digitsPass_(kNumberCount), blockedBy_(kNumberCount), inOrder_(kNumberCount),
      anyOrder_(kNumberCount) {
    for (int n = 0; n < kNumberCount; ++n) {
        digitsPass_[static_cast<size_t>(n)] = canBuy(n, kind) && filter.passesDigits(n);
        passing_ += digitsPass_[static_cast<size_t>(n)];
    }
}

void FilterWalk::block(int number, int change) {
    const size_t n = static_cast<size_t>(number);
    const bool before = passes(number);
    blockedBy_[n] += change;
    passing_ += int(passes(number)) - int(before);
}

void FilterWalk::add(int drawn) {
    if (!filter_.looksBack()) return;
    window_.push_back(drawn);
    const int count = static_cast<int>(window_.size());
    // Counts per number and per key: a number is out while either count says
    // it came within its window.
    auto inOrder = [this](int number, int change) {
        int& times = inOrder_[static_cast<size_t>(number)];
        const bool was = times > 0;
        times += change;
        if (was != (times > 0)) block(number, change);
    };
    auto anyOrder = [this](int number, int change) {
        const int key = digitsKey(number);
        int& times = anyOrder_[static_cast<size_t>(key)];
        const bool was = times > 0;
        times += change;
        if (was != (times > 0))
            for (int n : ordersOfKey(key))
                block(n, change);
    };
    if (filter_.notDrawnInOrder > 0) {
        inOrder(drawn, +1);
        if (count > filter_.notDrawnInOrder)
            inOrder(window_[static_cast<size_t>(count - 1 - filter_.notDrawnInOrder)], -1);
    }
    if (filter_.notDrawnAnyOrder > 0) {
        anyOrder(drawn, +1);
        if (count > filter_.notDrawnAnyOrder)
            anyOrder(window_[static_cast<size_t>(count - 1 - filter_.notDrawnAnyOrder)], -1);
    }
}

std::vector<int> passingNumbers(const NumberFilter& filter, const DrawTable& table, BuyKind kind) {
    FilterWalk walk(filter, kind);
    for (const DrawRecord& r : table)
        if (r.isComplete()) walk.add(numberOf(r.digits));
    std::vector<int> out;
    out.reserve(static_cast<size_t>(walk.passingCount()));
    for (int n = 0; n < kNumberCount; ++n)
        if (walk.passes(n)) out.push_back(n);
    return out;
}

FilterShares filterShares(const NumberFilter& filter, const DrawTable& table) {
    FilterWalk walk(filter, BuyKind::Straight);
    FilterShares shares;
    for (const DrawRecord& r : table) {
        if (!r.isComplete()) continue;
        const int drawn = numberOf(r.digits);
        ++shares.draws;
        shares.drawnPassed += walk.passes(drawn);
        walk.add(drawn);
    }
    shares.passing = walk.passingCount();
    shares.ofAllNumbers = shares.passing / double(kNumberCount);
    return shares;
}

} // namespace n4
