// The back-test replays the prediction before every draw with its own quick
// path: the digits as sets, and the scan's store of recent draws. Both must
// give exactly what the prediction window computes, on any history.
#include <gtest/gtest.h>

#include <random>

#include "core/prediction/PredictedDigits.h"
#include "core/prediction/PredictionScan.h"

using namespace n4;

namespace {

// A history of `count` rows from draw 1 on: some draws missing, some rows
// incomplete.
DrawTable randomHistory(std::mt19937& rng, int count) {
    std::uniform_int_distribution<int> percent(0, 99), digit(0, 9);
    DrawTable t;
    int no = 0;
    for (int i = 0; i < count; ++i) {
        no += percent(rng) < 8 ? 2 : 1; // a gap now and then
        DrawRecord r{no, {}};
        for (int& d : r.digits)
            d = digit(rng);
        if (percent(rng) < 5) r.digits[static_cast<size_t>(digit(rng) % 4)] = kAbsentDigit;
        t.push_back(r);
    }
    return t;
}

std::uint16_t maskOf(const DigitSlots& s) {
    std::uint16_t m = 0;
    for (int i = 0; i < s.count; ++i)
        m |= static_cast<std::uint16_t>(1u << s.digits[static_cast<size_t>(i)]);
    return m;
}

} // namespace

TEST(PredictionSets, TheBacktestsSetsAreTheDigitsTheWindowShows) {
    std::mt19937 rng(20261207);
    int compared = 0, fullRenpatsu = 0, fullIppatsu = 0;
    for (int history = 0; history < 40; ++history) {
        const DrawTable t = randomHistory(rng, 160);
        PredictionScan scan;
        for (const DrawRecord& row : t) {
            scan.add(row);
            const DigitOrder cycle = cycleDigitsInOrder(scan);
            for (int reflect : {0, 1, 4, 10}) {
                const PredictedDigits shown = predictDigits(scan, reflect);
                const PredictedSets sets = predictDigitSets(scan, reflect, cycle);
                ASSERT_EQ(sets.renpatsu, maskOf(shown.renpatsu)) << row.drawNo << " " << reflect;
                ASSERT_EQ(sets.ippatsu, maskOf(shown.ippatsu)) << row.drawNo << " " << reflect;
                ASSERT_EQ(sets.elimination, maskOf(shown.eliminationShown))
                    << row.drawNo << " " << reflect;
                EXPECT_EQ(shown.renpatsu.mask, sets.renpatsu);
                EXPECT_LE(shown.ippatsu.count, 7);
                fullRenpatsu += shown.renpatsu.full();
                fullIppatsu += shown.ippatsu.full();
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 40 * 160 * 4);
    // The histories reach full grids (where only part of a value's digits fit).
    EXPECT_GT(fullRenpatsu, 100) << fullRenpatsu;
    EXPECT_GT(fullIppatsu, 100) << fullIppatsu;
}

TEST(PredictionSets, TheCycleDigitsInOrderAreEachMethodsDigitsUpToItsFirstGap) {
    std::mt19937 rng(7);
    for (int history = 0; history < 6; ++history) {
        const DrawTable t = randomHistory(rng, 120);
        PredictionScan scan;
        for (const DrawRecord& row : t) {
            scan.add(row);
            std::vector<int> expected;
            for (int m = 0; m < 4; ++m)
                for (int p = 1; p <= 4 && scan.cycleDigit(m, p) != kNoDigit; ++p)
                    if (std::find(expected.begin(), expected.end(), scan.cycleDigit(m, p)) ==
                        expected.end())
                        expected.push_back(scan.cycleDigit(m, p));
            const DigitOrder order = cycleDigitsInOrder(scan);
            ASSERT_EQ(order.count, static_cast<int>(expected.size())) << row.drawNo;
            std::uint16_t mask = 0;
            for (int i = 0; i < order.count; ++i) {
                EXPECT_EQ(order.digits[static_cast<size_t>(i)], expected[static_cast<size_t>(i)]);
                mask |= static_cast<std::uint16_t>(1u << expected[static_cast<size_t>(i)]);
            }
            EXPECT_EQ(order.mask, mask);
        }
    }
}

TEST(PredictionSets, TheScanReadsEveryStoredDrawByItsNumber) {
    // Recent draws come from a small ring, older ones from the full store:
    // both give the draw's own digits, and 0 for a draw never stored.
    std::mt19937 rng(99);
    const DrawTable t = randomHistory(rng, 300);
    PredictionScan scan;
    for (const DrawRecord& row : t) {
        scan.add(row);
        const int latest = scan.latestDrawNo();
        for (int k = std::max(0, latest - 40); k <= latest + 1; ++k) {
            const auto it = std::find_if(t.begin(), t.end(),
                                         [&](const DrawRecord& r) { return r.drawNo == k; });
            const bool stored = it != t.end() && it->isComplete() && k <= row.drawNo;
            for (int p = 1; p <= 4; ++p)
                ASSERT_EQ(scan.digit(k, p), stored ? it->digit(p) : 0)
                    << "draw " << k << " position " << p << " after " << row.drawNo;
        }
    }
    int lastComplete = 0;
    for (const DrawRecord& row : t)
        if (row.isComplete()) lastComplete = row.drawNo;
    EXPECT_EQ(scan.latestDrawNo(), lastComplete);
    EXPECT_GT(t.back().drawNo, 300); // the history has gaps
}

TEST(PredictionSets, TheCycleRevisionMovesWithEveryChangeOfACycleDigit) {
    // The back-test works the cycle order out again only when it moves.
    std::mt19937 rng(31);
    const DrawTable t = randomHistory(rng, 200);
    PredictionScan scan;
    int changes = 0, quiet = 0;
    for (const DrawRecord& row : t) {
        std::array<std::array<int, 4>, 4> before;
        for (int m = 0; m < 4; ++m)
            for (int p = 1; p <= 4; ++p)
                before[m][p - 1] = scan.cycleDigit(m, p);
        const unsigned revision = scan.cycleRevision();
        scan.add(row);
        bool changed = false;
        for (int m = 0; m < 4; ++m)
            for (int p = 1; p <= 4; ++p)
                changed = changed || scan.cycleDigit(m, p) != before[m][p - 1];
        if (changed) {
            EXPECT_NE(scan.cycleRevision(), revision) << row.drawNo;
            ++changes;
        } else {
            EXPECT_EQ(scan.cycleRevision(), revision) << row.drawNo;
            ++quiet;
        }
    }
    EXPECT_GT(changes, 20);
    EXPECT_GT(quiet, 20);
    // Starting again forgets the digits, and the revision says so.
    const unsigned revision = scan.cycleRevision();
    scan.clear();
    EXPECT_NE(scan.cycleRevision(), revision);
    EXPECT_EQ(scan.cycleDigit(0, 1), kNoDigit);
    EXPECT_EQ(scan.latestDrawNo(), 0);
    EXPECT_EQ(scan.digit(t.front().drawNo, 1), 0);
}
