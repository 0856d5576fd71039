// The look-back every analysis shares, against the plain reading of its
// rule: walking back from draw r - 1 to draw 1, a draw never stored reads as
// four zeros, and the first draw holding the digit is the answer.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "analysis/DigitsByDraw.h"

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
}
