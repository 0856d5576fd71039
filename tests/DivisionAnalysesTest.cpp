#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/analysis/division/DivisionAnalysis.h"
#include "core/analysis/division/TrendAnalysis.h"
#include "core/grid/Palette.h"

using namespace n4;
using n4test::analyse;
using n4test::rowTexts;

namespace {
std::vector<int> markedColumns(const Grid& g, int row) {
    std::vector<int> cols;
    for (int c = 1; c <= g.maxCols(); ++c)
        if (g.text(c, row) == "●") cols.push_back(c);
    return cols;
}
} // namespace

TEST(DivisionAnalysis, FiveGroupMarksAndBands) {
    Grid g = analyse(computeDivision5Analysis, draws({{7, 7, 0, 9}}));
    ASSERT_EQ(g.maxCols(), 42);
    ASSERT_EQ(g.maxRows(), 4);
    EXPECT_EQ(markedColumns(g, 4), (std::vector<int>{9, 19, 22, 41}));
    EXPECT_TRUE(g.background(9, 4).isNone());
    EXPECT_TRUE(g.background(19, 4).isNone());
    EXPECT_EQ(g.background(22, 4), palette::Cyan);
    EXPECT_EQ(g.background(41, 4), palette::Magenta);
    EXPECT_EQ(g.foreground(41, 4), palette::Mark);
    EXPECT_EQ(g.text(1, 4), "1");
    EXPECT_EQ(g.text(42, 4), "1");
    EXPECT_EQ(g.text(2, 2), "　Ａ ");
    EXPECT_EQ(g.text(40, 2), "　Ｅ ");
    EXPECT_EQ(g.text(12, 1), "　　　　当選数字(第2数字)　　　　");
    // The last group's frame reaches column 42.
    EXPECT_EQ(g.borders(42, 2) & BorderRight, BorderRight);
    EXPECT_EQ(g.borders(41, 2) & BorderRight, 0);
}

TEST(DivisionAnalysis, ThreeGroupBandsAndLetterTexts) {
    Grid g = analyse(computeDivision3Analysis, draws({{7, 7, 0, 9}}));
    EXPECT_EQ(g.background(9, 4), palette::Green);
    EXPECT_EQ(g.background(19, 4), palette::Green);
    EXPECT_EQ(g.background(22, 4), palette::Cyan);
    EXPECT_EQ(g.background(41, 4), palette::Green);
    EXPECT_EQ(g.text(2, 2), "　　 Ａ ");
    EXPECT_EQ(g.text(8, 2), "　　　 Ｃ 　　");
    EXPECT_EQ(g.borders(41, 2) & BorderRight, BorderRight);
    EXPECT_EQ(g.borders(42, 2), 0);
    EXPECT_EQ(g.background(3, 2), palette::Cyan); // the letter row takes the bands
    EXPECT_EQ(g.background(5, 1), palette::HeaderPink);
}

TEST(DivisionAnalysis, BlueDigitLabels) {
    Grid three = analyse(computeDivision3Analysis, {});
    Grid ten = analyse(computeDivision10Analysis, {});
    EXPECT_EQ(rowTexts(three, 3).rfind("回数|0|1|2|3|4|5|6|7|8|9|0|1", 0), 0u);
    for (int col = 2; col <= 41; ++col) {
        EXPECT_EQ(ten.foreground(col, 3), palette::Blue) << col;
        EXPECT_EQ(three.foreground(col, 3), col <= 11 ? palette::Blue : Rgb::none()) << col;
    }
    EXPECT_EQ(ten.text(3, 2), "Ｂ");
    EXPECT_EQ(ten.background(5, 3), palette::Lavender); // digit 3
    EXPECT_TRUE(ten.background(6, 3).isNone());         // digit 4
}

TEST(DivisionAnalysis, IncompleteRowLeavesNoGapAndTheLastRowKeepsItsBands) {
    DrawTable t = draws({{1, 2, 3, 4}});
    t.push_back(n4test::incomplete(2));
    t.push_back(DrawRecord{3, {0, 0, 0, 0}});
    Grid g = analyse(computeDivision5Analysis, t);
    ASSERT_EQ(g.maxRows(), 6);
    EXPECT_EQ(g.text(1, 5), "3");
    EXPECT_EQ(rowTexts(g, 6), std::string(41, '|'));
    EXPECT_EQ(g.background(2, 6), palette::Cyan);
    EXPECT_EQ(g.borders(2, 6), 15);
    Grid onlyIncomplete = analyse(computeDivision5Analysis, {n4test::incomplete(1)});
    EXPECT_EQ(onlyIncomplete.maxRows(), 3);
}

TEST(TrendAnalysis, GroupColoursAndCounts) {
    Grid g = analyse(computeTrendAnalysis, draws({{1, 1, 8, 5}, {9, 9, 9, 9}}));
    ASSERT_EQ(g.maxRows(), 4);
    EXPECT_EQ(rowTexts(g, 1), "回数||   当 選 数 字|||0～1|2～3|4～5|6～7|8～9");
    EXPECT_EQ(rowTexts(g, 2), "1|1|1|8|5|2|0|1|0|1");
    EXPECT_EQ(rowTexts(g, 3), "2|9|9|9|9|0|0|0|0|4");
    EXPECT_EQ(rowTexts(g, 4), rowTexts(g, 1));
    EXPECT_EQ(g.background(2, 2), palette::White);
    EXPECT_EQ(g.background(4, 2), palette::Magenta);
    EXPECT_EQ(g.background(5, 2), palette::Green);
    EXPECT_TRUE(g.background(6, 2).isNone());
    EXPECT_EQ(g.background(10, 2), palette::Magenta);
    EXPECT_EQ(g.background(7, 1), palette::Lavender);
    EXPECT_EQ(g.borderColour(6, 2, BorderLeft), palette::Red);
}

TEST(TrendAnalysis, OnlyIncompleteRowsGiveHeaderAndFooter) {
    Grid g = analyse(computeTrendAnalysis, {n4test::incomplete(1)});
    ASSERT_EQ(g.maxRows(), 2);
    EXPECT_EQ(rowTexts(g, 2), rowTexts(g, 1));
}

TEST(DivisionAnalyses, RealHistoryMarksEveryDrawOncePerPosition) {
    DrawTable t = n4test::realHistory();
    if (t.empty()) GTEST_SKIP() << "real history not present";
    Grid g = analyse(computeDivision10Analysis, t);
    for (size_t i = 0; i < t.size(); i += 50) {
        std::vector<int> expect;
        for (int k = 1; k <= 4; ++k)
            expect.push_back(10 * (k - 1) + t[i].digit(k) + 2);
        EXPECT_EQ(markedColumns(g, static_cast<int>(i) + 4), expect);
    }
    Grid trend = analyse(computeTrendAnalysis, t);
    for (size_t i = 0; i < t.size(); i += 50) {
        int total = 0;
        for (int col = 6; col <= 10; ++col)
            total += std::stoi(trend.text(col, static_cast<int>(i) + 2));
        EXPECT_EQ(total, 4);
    }
}
