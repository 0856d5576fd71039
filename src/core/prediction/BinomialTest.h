#pragma once
// How likely a count of hits is under pure chance: the exact two-sided test
// over independent tries, each a hit with a known probability. Tries are given
// in groups of one probability, so a plain binomial count is one group and a
// count whose chance changes from draw to draw is a few groups.

#include <vector>

namespace n4 {

struct TrialGroup {
    long long trials;
    double chance; // 0..1
};

// The total probability of every hit count no more likely than `hits` (the
// "minimum likelihood" two-sided p-value, with a relative tolerance of 1e-7 for
// ties, as common statistics packages compute it). 1 when there are no tries;
// 0 when `hits` lies so far out that its probability is below 1e-40 of the
// most likely count.
double twoSidedPValue(const std::vector<TrialGroup>& groups, long long hits);

inline double binomialTwoSidedPValue(long long trials, long long hits, double chance) {
    return twoSidedPValue({{trials, chance}}, hits);
}

} // namespace n4
