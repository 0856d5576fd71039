#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/prediction/BinomialTest.h"

using namespace n4;

// Two-sided p-values of the exact binomial test, as statistics packages give
// them: R's binom.test documentation example, and cases worked out by hand or
// with exact fractions.
TEST(BinomialTest, AgreesWithKnownTwoSidedValues) {
    // R: binom.test(c(682, 243), p = 3/4) reports p-value = 0.3825.
    EXPECT_NEAR(binomialTwoSidedPValue(925, 682, 0.75), 0.3825, 5e-5);
    // P(0) = 0.9^10 = 0.3487 is below P(1) = 0.3874 only: every count but 1.
    EXPECT_NEAR(binomialTwoSidedPValue(10, 0, 0.1), 1 - 0.387420489, 1e-12);
    // Fair coin, four tosses: none or all, 2/16.
    EXPECT_NEAR(binomialTwoSidedPValue(4, 0, 0.5), 0.125, 1e-12);
    EXPECT_NEAR(binomialTwoSidedPValue(4, 4, 0.5), 0.125, 1e-12);
    EXPECT_DOUBLE_EQ(binomialTwoSidedPValue(4, 2, 0.5), 1.0);
    EXPECT_NEAR(binomialTwoSidedPValue(100, 3, 0.1), 0.017843766383309458, 1e-12);
    EXPECT_NEAR(binomialTwoSidedPValue(100, 17, 0.1), 0.028435297266484545, 1e-12);
    EXPECT_DOUBLE_EQ(binomialTwoSidedPValue(100, 10, 0.1), 1.0);
    EXPECT_NEAR(binomialTwoSidedPValue(1000, 125, 0.1), 0.009779735916594727, 1e-13);
    EXPECT_NEAR(binomialTwoSidedPValue(10000, 1200, 0.1), 8.670584423672221e-11, 1e-18);
    // Every position hit at a chance of 0.8, 40 times running.
    EXPECT_NEAR(binomialTwoSidedPValue(40, 40, 0.8), 0.0002180989699752055, 1e-15);
}

TEST(BinomialTest, GroupsOfDifferentChanceAddUp) {
    // One try at 0.1 and one at 0.5: P(0) = 0.45, P(1) = 0.5, P(2) = 0.05.
    const std::vector<TrialGroup> two = {{1, 0.1}, {1, 0.5}};
    EXPECT_NEAR(twoSidedPValue(two, 2), 0.05, 1e-15);
    EXPECT_NEAR(twoSidedPValue(two, 0), 0.5, 1e-15);
    EXPECT_DOUBLE_EQ(twoSidedPValue(two, 1), 1.0);
    // A binomial count split into two groups of the same chance is the same count.
    for (long long hits : {10, 22, 30, 41, 55})
        EXPECT_NEAR(twoSidedPValue({{60, 0.3}, {40, 0.3}}, hits),
                    binomialTwoSidedPValue(100, hits, 0.3), 1e-12)
            << hits;
    // Tries that always hit only move the count: three certain hits and ten
    // coin tosses of which none came up.
    EXPECT_NEAR(twoSidedPValue({{3, 1.0}, {10, 0.5}}, 3), 2.0 / 1024, 1e-15);
    EXPECT_DOUBLE_EQ(twoSidedPValue({{3, 1.0}, {10, 0.5}}, 2), 0.0);
}

TEST(BinomialTest, EdgesGiveSoundValues) {
    EXPECT_DOUBLE_EQ(twoSidedPValue({}, 0), 1.0); // nothing tried, nothing hit
    EXPECT_DOUBLE_EQ(twoSidedPValue({}, 1), 0.0); // a hit without a try cannot happen
    EXPECT_DOUBLE_EQ(binomialTwoSidedPValue(0, 0, 0.1), 1.0);
    EXPECT_DOUBLE_EQ(binomialTwoSidedPValue(5, 6, 0.1), 0.0);
    // Tries that cannot hit (a method that placed no digit) change nothing.
    for (long long hits : {0, 1, 2})
        EXPECT_DOUBLE_EQ(twoSidedPValue({{10, 0.0}, {4, 0.5}}, hits),
                         twoSidedPValue({{4, 0.5}}, hits))
            << hits;
    EXPECT_DOUBLE_EQ(binomialTwoSidedPValue(10, 0, 0.0), 1.0);
    // Far beyond anything chance gives: reported as 0, not as a wrong number.
    EXPECT_DOUBLE_EQ(binomialTwoSidedPValue(131000, 40000, 0.1), 0.0);
    const double p = binomialTwoSidedPValue(131000, 13100, 0.1);
    EXPECT_GT(p, 0.99);
    EXPECT_LE(p, 1.0);
}

namespace {

// The chances of every count, built up the slow way: one try at a time in
// long double, nothing left out.
std::vector<long double> countChances(const std::vector<TrialGroup>& groups) {
    std::vector<long double> p{1.0L};
    for (const TrialGroup& g : groups)
        for (long long t = 0; t < g.trials; ++t) {
            std::vector<long double> next(p.size() + 1, 0.0L);
            for (std::size_t k = 0; k < p.size(); ++k) {
                next[k] += p[k] * (1.0L - g.chance);
                next[k + 1] += p[k] * g.chance;
            }
            p.swap(next);
        }
    return p;
}

void expectBruteForceValues(const std::vector<TrialGroup>& groups, const std::string& name) {
    const std::vector<long double> chances = countChances(groups);
    for (std::size_t hits = 0; hits < chances.size(); ++hits) {
        const long double limit = chances[hits] * (1 + 1e-7L);
        long double expected = 0;
        for (long double v : chances)
            if (v <= limit) expected += v;
        // Counts below 1e-40 of the most likely one are left out: p is then 0.
        const auto e = static_cast<double>(expected);
        EXPECT_NEAR(twoSidedPValue(groups, static_cast<long long>(hits)), e, 1e-12 * e + 1e-38)
            << name << " hits " << hits;
    }
}

} // namespace

// Every count of tries of several sizes, so that the sums of the groups'
// distributions have every length; the chances give ties at the most likely
// count (10 tries at 0.5: 5 alone, 9 tries at 0.5: 4 and 5 alike, 19 at 0.3:
// 5 and 6 alike), counts out in the tails far beyond 1e-40, and certain hits.
TEST(BinomialTest, AgreesWithTheChancesAddedUpTryByTry) {
    for (long long n : {1, 2, 3, 4, 5, 7, 9, 10, 19, 33, 80, 150})
        for (double c : {0.1, 0.3, 0.5, 0.7, 0.9})
            expectBruteForceValues({{n, c}}, std::to_string(n) + " at " + std::to_string(c));
    const std::vector<std::vector<TrialGroup>> mixes = {
        {{3, 0.1}, {5, 0.5}},
        {{2, 0.4}, {6, 0.5}, {13, 0.6}, {30, 0.7}, {41, 0.8}, {9, 0.9}, {4, 1.0}},
        {{8, 0.1}, {1, 0.2}, {17, 0.3}, {60, 0.4}},
        {{7, 0.2}, {7, 0.2}, {0, 0.5}, {5, 0.0}, {120, 0.9}},
        {{200, 0.6}, {200, 0.4}, {3, 0.5}}};
    for (std::size_t i = 0; i < mixes.size(); ++i)
        expectBruteForceValues(mixes[i], "mix " + std::to_string(i));
}
