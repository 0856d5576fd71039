// The look-back every analysis shares, against the plain reading of its
// rule: walking back from draw r - 1 to draw 1, a draw never stored reads as
// four zeros, and the first draw holding the digit is the answer.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "core/analysis/common/DigitsByDraw.h"

using namespace n4;

namespace {

struct Plain {
    std::map<int, std::array<int, 4>> draws;
    int digit(int no, int position) const {
        auto it = draws.find(no);
        return it == draws.end() || position < 1 || position > 4 ? 0 : it->second[position - 1];
    }
    int lastDrawWith(int r, int d) const {
        for (int k = r - 1; k >= 1; --k)
            for (int p = 1; p <= 4; ++p)
                if (digit(k, p) == d) return k;
        return 0;
    }
};

// The same walk over the digits as stored (a small integer each).
struct PlainLookBack {
    std::map<int, std::array<std::int8_t, 4>> stored;
    void store(int drawNo, const std::array<int, 4>& digits) {
        if (!stored.empty() && stored.rbegin()->first >= drawNo) return;
        auto& kept = stored[drawNo];
        for (int p = 0; p < 4; ++p)
            kept[p] = static_cast<std::int8_t>(digits[p]);
    }
    int lastDrawWith(int r, int d) const {
        for (int k = r - 1; k >= 1; --k) {
            auto it = stored.find(k);
            std::array<std::int8_t, 4> digits{};
            if (it != stored.end()) digits = it->second;
            for (std::int8_t x : digits)
                if (x == d) return k;
        }
        return 0;
    }
};

} // namespace

TEST(DigitsByDraw, AgreesWithThePlainWalkOnHistoriesWithGaps) {
    std::mt19937 rng(1207);
    std::uniform_int_distribution<int> percent(0, 99), digit(1, 9);
    for (int history = 0; history < 30; ++history) {
        DigitsByDraw store;
        Plain plain;
        // Start at draw 1 or later, with runs without gaps and some gaps; the
        // digits avoid 0 now and then, so that only a gap holds a 0.
        int no = history % 3 == 0 ? 1 : 1 + percent(rng) % 5;
        const bool zeros = history % 2 == 0;
        for (int i = 0; i < 60; ++i) {
            std::array<int, 4> d;
            for (int& v : d)
                v = zeros && percent(rng) < 10 ? 0 : digit(rng);
            store.store(no, d);
            plain.draws[no] = d;
            no += percent(rng) < 10 ? 2 + percent(rng) % 3 : 1;
        }
        for (int r = -1; r <= no + 2; ++r) {
            for (int d = 0; d <= 9; ++d)
                ASSERT_EQ(store.lastDrawWith(r, d), plain.lastDrawWith(r, d))
                    << "history " << history << ", r " << r << ", digit " << d;
            for (int p = 0; p <= 5; ++p)
                ASSERT_EQ(store.digit(r, p), plain.digit(r, p)) << r << " " << p;
        }
    }
}

TEST(DigitsByDraw, DrawsOutOfOrderAreIgnoredAndNothingStoredFindsOnlyGaps) {
    DigitsByDraw store;
    EXPECT_EQ(store.lastDrawWith(5, 0), 4); // nothing stored: every draw is a gap
    EXPECT_EQ(store.lastDrawWith(5, 3), 0);
    EXPECT_EQ(store.lastDrawWith(1, 0), 0); // nothing before draw 1
    EXPECT_EQ(store.digit(1, 1), 0);
    store.store(3, {1, 2, 3, 4});
    store.store(3, {5, 5, 5, 5}); // the same number again
    store.store(2, {6, 6, 6, 6}); // an earlier number
    EXPECT_EQ(store.digit(3, 1), 1);
    EXPECT_EQ(store.digit(2, 1), 0);
    EXPECT_EQ(store.lastDrawWith(9, 5), 0);
    EXPECT_EQ(store.lastDrawWith(9, 6), 0);
    EXPECT_EQ(store.lastDrawWith(9, 4), 3);
    EXPECT_EQ(store.lastDrawWith(3, 4), 0);
    EXPECT_EQ(store.lastDrawWith(9, 0), 8);
    EXPECT_EQ(store.lastDrawWith(4, 0), 2);
    // A digit outside 0..9 (a damaged one) is found by no digit and makes no gap.
    DigitsByDraw damaged;
    damaged.store(1, {1, 2, 3, 4});
    damaged.store(2, {5, 6, 7, 10});
    EXPECT_EQ(damaged.lastDrawWith(3, 0), 0);
    EXPECT_EQ(damaged.lastDrawWith(3, 7), 2);
}

// The windows ask about the draw they have just stored; asked that way and
// every other way, over histories that also start below draw 1, refuse draws
// out of order and hold digits out of range.
TEST(DigitsByDraw, AgreesWithThePlainWalkWhenAskedAboutTheDrawJustStored) {
    std::mt19937 random(18);
    for (int history = 0; history < 150; ++history) {
        DigitsByDraw fast;
        PlainLookBack plain;
        int next = static_cast<int>(random() % 6) - 2; // may start below 1
        const int draws = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < draws; ++i) {
            std::array<int, 4> digits;
            for (int& d : digits)
                d = random() % 25 == 0 ? static_cast<int>(random() % 300) - 150
                                       : static_cast<int>(random() % 10);
            // Mostly the next number, sometimes after a gap, now and then
            // one that is out of order and must be refused.
            const int step = random() % 5 == 0 ? 2 + static_cast<int>(random() % 4) : 1;
            const int drawNo =
                random() % 12 == 0 ? next - 1 - static_cast<int>(random() % 3) : next + step - 1;
            fast.store(drawNo, digits);
            plain.store(drawNo, digits);
            next = std::max(next, drawNo + 1);
            for (int r = next - 8; r <= next + 3; ++r)
                for (int d = -2; d <= 11; ++d)
                    ASSERT_EQ(fast.lastDrawWith(r, d), plain.lastDrawWith(r, d))
                        << "history " << history << ", draw " << i << ", r " << r << ", d " << d;
        }
    }
}

TEST(DigitsByDraw, AGapBelowTheAskedDrawReadsAsZeros) {
    DigitsByDraw seen;
    seen.store(3, {1, 2, 3, 4});
    seen.store(4, {5, 6, 7, 8});
    EXPECT_EQ(seen.lastDrawWith(4, 0), 2); // 2 was never stored
    EXPECT_EQ(seen.lastDrawWith(5, 0), 2);
    EXPECT_EQ(seen.lastDrawWith(7, 0), 6); // nor were 5 and 6
    EXPECT_EQ(seen.lastDrawWith(4, 3), 3);
    EXPECT_EQ(seen.lastDrawWith(3, 3), 0);
    EXPECT_EQ(seen.lastDrawWith(5, 9), 0);
}
