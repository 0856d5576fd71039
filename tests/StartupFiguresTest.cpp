#include <gtest/gtest.h>

#include "core/store/StartupFigures.h"

using namespace n4;

TEST(StartupFigures, EmptyTableBuildsNoGrouping) {
    StartupFigures f = computeStartupFigures({});
    EXPECT_EQ(f.latestDrawNo, 0);
    EXPECT_EQ(f.digitTally, (std::array<int, 10>{}));
    EXPECT_TRUE(f.digitsByCount.empty());
    EXPECT_EQ(f.maxDigitCount, 0);
    EXPECT_EQ(f.countClassRows, 0);
}

TEST(StartupFigures, AllIncompleteRowsGroupEveryDigitUnderZero) {
    DrawTable t = draws({{1, 2, 3, kAbsentDigit}, {kAbsentDigit, 1, 1, 1}});
    StartupFigures f = computeStartupFigures(t);
    EXPECT_EQ(f.latestDrawNo, 0);
    ASSERT_EQ(f.digitsByCount.size(), 1u);
    EXPECT_EQ(f.digitsByCount[0], "0,1,2,3,4,5,6,7,8,9");
    EXPECT_EQ(f.maxDigitCount, 0);
    EXPECT_EQ(f.countClassRows, 2);
}

TEST(StartupFigures, WorkedExampleWithAnIncompleteLastRow) {
    DrawTable t = draws({{1, 2, 3, 4}, {1, 1, 5, 5}, {7, 7, 7, kAbsentDigit}});
    StartupFigures f = computeStartupFigures(t);
    EXPECT_EQ(f.latestDrawNo, 2);
    EXPECT_EQ(f.digitTally, (std::array<int, 10>{0, 3, 1, 1, 1, 2, 0, 0, 0, 0}));
    ASSERT_EQ(f.digitsByCount.size(), 4u);
    EXPECT_EQ(f.digitsByCount[0], "0,6,7,8,9");
    EXPECT_EQ(f.digitsByCount[1], "2,3,4");
    EXPECT_EQ(f.digitsByCount[2], "5");
    EXPECT_EQ(f.digitsByCount[3], "1");
    EXPECT_EQ(f.maxDigitCount, 3);
    EXPECT_EQ(f.countClassRows, 5);
}

TEST(StartupFigures, SharedCountListsDigitsAscending) {
    DrawTable t = draws({{7, 3, 7, 3}});
    StartupFigures f = computeStartupFigures(t);
    EXPECT_EQ(f.digitsByCount[2], "3,7");
}

TEST(StartupFigures, OutOfRangeDigitMakesTheRowIncomplete) {
    DrawTable t = draws({{1, 2, 3, 4}, {1, 2, 3, 4}});
    t[1].digits[2] = 12; // as read from a damaged file
    StartupFigures f = computeStartupFigures(t);
    EXPECT_EQ(f.latestDrawNo, 1);
    EXPECT_EQ(f.digitTally[1], 1);
}

TEST(StartupFigures, CountsBeyondSixteenBitsDoNotOverflow) {
    DrawTable t;
    for (int no = 1; no <= 40000; ++no)
        t.push_back(DrawRecord{no, {1, 1, 2, 3}});
    StartupFigures f = computeStartupFigures(t);
    EXPECT_EQ(f.latestDrawNo, 40000);
    EXPECT_EQ(f.digitTally[1], 80000);
    EXPECT_EQ(f.maxDigitCount, 80000);
    EXPECT_EQ(f.digitsByCount[80000], "1");
}
