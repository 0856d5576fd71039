#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/analysis/occurrence/ByCountAnalysis.h"
#include "core/analysis/occurrence/CountAnalysis.h"
#include "core/analysis/occurrence/FrequencyAnalysis.h"
#include "core/analysis/occurrence/SumAnalysis.h"
#include "core/grid/Palette.h"

using namespace n4;
using n4test::analyse;
using n4test::rowTexts;

TEST(FrequencyAnalysis, MarksStackDownEachDigitsColumn) {
    Grid g = analyse(computeFrequencyAnalysis, draws({{1, 2, 3, 4}, {1, 1, 5, 5}, {9, 9, 9, 9}}));
    ASSERT_EQ(g.maxCols(), 11);
    ASSERT_EQ(g.maxRows(), 6);
    EXPECT_EQ(rowTexts(g, 2), "出現数|0|1|2|3|4|5|6|7|8|9");
    EXPECT_EQ(rowTexts(g, 3), "1||●|●|●|●|●||||●");
    EXPECT_EQ(rowTexts(g, 4), "2||●||||●||||●");
    EXPECT_EQ(rowTexts(g, 5), "3||●||||||||●");
    EXPECT_EQ(rowTexts(g, 6), "4||||||||||●");
    EXPECT_EQ(g.text(5, 1), "　　当 選 数 字");
    EXPECT_EQ(g.foreground(5, 1), palette::Red);
    EXPECT_EQ(g.align(5, 1), Align::Left);
    EXPECT_EQ(g.foreground(11, 6), palette::Mark);
    EXPECT_EQ(g.background(3, 2), palette::LabelYellow);
    EXPECT_EQ(g.background(1, 4), palette::ChartBand);
}

TEST(FrequencyAnalysis, RoomForTheMostFrequentDigitEvenWhenItIsZero) {
    Grid g = analyse(computeFrequencyAnalysis, draws({{0, 0, 0, 1}, {0, 2, 3, 0}}));
    EXPECT_EQ(g.maxRows(), 7);
    EXPECT_EQ(g.text(2, 7), "●");
}

TEST(FrequencyAnalysis, OnlyIncompleteRowsGiveTheTwoHeaderRows) {
    Grid g = analyse(computeFrequencyAnalysis, {n4test::incomplete(1)});
    EXPECT_EQ(g.maxRows(), 2);
    EXPECT_EQ(g.text(1, 2), "出現数");
}

TEST(CountAnalysis, EarlierTotalsAreReadBeforeTheDrawsOwnUpdates) {
    Grid g = analyse(computeCountAnalysis, draws({{1, 2, 3, 4}, {1, 1, 5, 5}}));
    ASSERT_EQ(g.maxRows(), 4);
    EXPECT_EQ(rowTexts(g, 2),
              "回数|第1数字|第2数字|第3数字|第4数字|第1数字|第2数字|第3数字|第4数字");
    EXPECT_EQ(rowTexts(g, 3), "1|1|2|3|4|0|0|0|0");
    EXPECT_EQ(rowTexts(g, 4), "2|1|1|5|5|1|1|0|0");
    EXPECT_EQ(g.text(3, 1), "  当 選 数 字");
    EXPECT_EQ(g.text(8, 1), "前回までの出現回数合計(回)");
    EXPECT_EQ(g.align(8, 1), Align::Center);
    EXPECT_EQ(g.background(7, 2), palette::Green);
    EXPECT_EQ(g.foreground(3, 1), palette::Blue);
    EXPECT_EQ(g.borders(5, 1), BorderRight);
}

TEST(CountAnalysis, SurplusRowsStayEmptyAndLaterDrawsFindNoRow) {
    DrawTable t = draws({{1, 2, 3, 4}});
    t.push_back(n4test::incomplete(2));
    t.push_back(DrawRecord{3, {5, 5, 5, 5}});
    Grid g = analyse(computeCountAnalysis, t);
    EXPECT_EQ(g.maxRows(), 5);
    EXPECT_EQ(g.text(1, 4), "3");
    EXPECT_EQ(g.text(1, 5), "");
    DrawTable shifted{DrawRecord{5, {1, 1, 1, 1}}, DrawRecord{6, {2, 2, 2, 2}}};
    Grid h = analyse(computeCountAnalysis, shifted);
    EXPECT_EQ(h.maxRows(), 8);
    EXPECT_EQ(h.text(1, 4), "6");
}

TEST(ByCountAnalysis, RowsFollowTheCountClassesAscending) {
    // Counts digit 0: 5, digit 1: 3, digit 2: 5, all others 0, as grouped at start-up.
    StartupFigures f;
    f.digitsByCount = {"3,4,5,6,7,8,9", "", "", "1", "", "0,2"};
    f.maxDigitCount = 5;
    f.countClassRows = 4;
    DrawTable none;
    Grid g = computeByCountAnalysis({none, f});
    ASSERT_EQ(g.maxRows(), 4);
    EXPECT_EQ(rowTexts(g, 1), "出 現|数 字");
    EXPECT_EQ(rowTexts(g, 2), "0回|3,4,5,6,7,8,9");
    EXPECT_EQ(rowTexts(g, 3), "3回|1");
    EXPECT_EQ(rowTexts(g, 4), "5回|0,2");
    // Every digit list is blue and left-aligned, the last row included.
    EXPECT_EQ(g.foreground(2, 4), palette::Blue);
    EXPECT_EQ(g.align(2, 4), Align::Left);
}

TEST(ByCountAnalysis, SameCountForAllAndEmptyTable) {
    Grid g = analyse(computeByCountAnalysis, draws({{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 8, 9}}));
    // 8 and 9 twice, the others once
    EXPECT_EQ(rowTexts(g, 2), "1回|0,1,2,3,4,5,6,7");
    Grid same =
        analyse(computeByCountAnalysis,
                draws({{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 0, 1}, {2, 3, 4, 5}, {6, 7, 8, 9}}));
    EXPECT_EQ(same.maxRows(), 2);
    EXPECT_EQ(rowTexts(same, 2), "2回|0,1,2,3,4,5,6,7,8,9");
    Grid empty = analyse(computeByCountAnalysis, {});
    EXPECT_EQ(empty.maxRows(), 0);
}

TEST(SumAnalysis, SumsAndLook) {
    Grid g = analyse(computeSumAnalysis, draws({{1, 2, 3, 4}, {9, 9, 9, 9}, {0, 0, 0, 0}}));
    EXPECT_EQ(rowTexts(g, 1), "回数||　当 選 数 字|||合計");
    EXPECT_EQ(rowTexts(g, 2), "1|1|2|3|4|10");
    EXPECT_EQ(rowTexts(g, 3), "2|9|9|9|9|36");
    EXPECT_EQ(rowTexts(g, 4), "3|0|0|0|0|0");
    EXPECT_EQ(g.background(6, 3), palette::Cyan);
    EXPECT_EQ(g.foreground(1, 2), palette::Red);
    EXPECT_EQ(g.background(1, 1), palette::HeaderPink);
    EXPECT_EQ(g.borders(3, 1), BorderTop | BorderBottom); // the band has no inner lines
}

TEST(OccurrenceAnalyses, RealHistoryAgreesWithDirectCounts) {
    DrawTable t = n4test::realHistory();
    if (t.empty()) GTEST_SKIP() << "real history not present";
    StartupFigures f = computeStartupFigures(t);
    Grid freq = computeFrequencyAnalysis({t, f});
    for (int d = 0; d <= 9; ++d) {
        int marks = 0;
        for (int row = 3; row <= freq.maxRows(); ++row)
            marks += freq.text(d + 2, row) == "●";
        EXPECT_EQ(marks, f.digitTally[d]) << "digit " << d;
    }
    // The last row of the count window: the tallies minus the last draw.
    Grid count = computeCountAnalysis({t, f});
    const DrawRecord& last = t.back();
    const int row = count.maxRows();
    for (int p = 0; p < 4; ++p) {
        int before = f.digitTally[last.digits[p]];
        for (int d : last.digits)
            before -= d == last.digits[p];
        EXPECT_EQ(count.text(p + 6, row), std::to_string(before));
    }
}
