#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/analysis/common/DigitsByDraw.h"
#include "core/analysis/interval/CarryOverAnalysis.h"
#include "core/analysis/interval/DispersionAnalysis.h"
#include "core/analysis/interval/IntervalAnalysis.h"
#include "core/grid/Palette.h"

using namespace n4;
using n4test::analyse;
using n4test::rowTexts;

TEST(IntervalAnalysis, FirstDrawsAndTheTwoDrawsAgoExample) {
    Grid g = analyse(computeIntervalAnalysis, draws({{1, 2, 3, 4}, {5, 6, 7, 8}, {1, 9, 9, 0}}));
    ASSERT_EQ(g.maxRows(), 7);
    EXPECT_EQ(rowTexts(g, 1), "||||    当 選 数 字     ||||");
    EXPECT_EQ(rowTexts(g, 2), "回数|第1数字|出現|第2数字|出現|第3数字|出現|第4数字|出現");
    EXPECT_EQ(rowTexts(g, 3), "1|1|初回|2|初回|3|初回|4|初回");
    EXPECT_EQ(rowTexts(g, 5), "3|1|2回前|9|初回|9|初回|0|初回");
    // The last draw sits directly above the bottom band.
    EXPECT_EQ(rowTexts(g, 6), rowTexts(g, 2));
    EXPECT_EQ(rowTexts(g, 7), rowTexts(g, 1));
    EXPECT_EQ(g.background(4, 5), palette::Cyan);
    EXPECT_EQ(g.background(5, 7), palette::HeaderPink);
    EXPECT_EQ(g.borders(5, 1), BorderTop | BorderBottom);
}

TEST(IntervalAnalysis, DoubledDigitLooksOnlyAtEarlierDraws) {
    Grid g = analyse(computeIntervalAnalysis, draws({{1, 2, 3, 4}, {5, 5, 6, 7}}));
    EXPECT_EQ(rowTexts(g, 4), "2|5|初回|5|初回|6|初回|7|初回");
}

TEST(IntervalAnalysis, MissingDrawNumbersCountAsFourZeros) {
    DrawTable t{DrawRecord{1, {1, 2, 3, 4}}, DrawRecord{2, {0, 5, 5, 5}},
                DrawRecord{5, {0, 1, 9, 9}}};
    Grid g = analyse(computeIntervalAnalysis, t);
    // Draws 3 and 4 are missing: the 0 of draw 5 finds draw 4.
    EXPECT_EQ(g.text(3, 5), "1回前");
    EXPECT_EQ(g.text(5, 5), "4回前");
    EXPECT_EQ(g.text(3, 4), "初回");
}

TEST(IntervalAnalysis, IncompleteRowKeepsAnEmptyGridRow) {
    DrawTable t = draws({{1, 2, 3, 4}});
    t.push_back(n4test::incomplete(2));
    t.push_back(DrawRecord{3, {1, 1, 1, 1}});
    Grid g = analyse(computeIntervalAnalysis, t);
    EXPECT_EQ(rowTexts(g, 4), "||||||||");
    // draw 2 was never stored complete, so it reads as zeros: 1 is found in draw 1
    EXPECT_EQ(g.text(3, 5), "2回前");
}

TEST(IntervalAnalysis, DrawNumbersAboveTenThousandWork) {
    DrawTable t{DrawRecord{20000, {1, 2, 3, 4}}, DrawRecord{20001, {4, 3, 2, 1}}};
    Grid g = analyse(computeIntervalAnalysis, t);
    EXPECT_EQ(g.maxRows(), 20005);
    EXPECT_EQ(g.text(3, 4), "1回前");
}

TEST(DigitsByDraw, LookBackAgreesWithAPlainScanOverDrawNumbers) {
    DrawTable t = n4test::realHistory();
    if (t.empty()) GTEST_SKIP() << "real history not present";
    Grid g = analyse(computeIntervalAnalysis, t);
    std::vector<std::array<int, 4>> byNo(t.back().drawNo + 1, {0, 0, 0, 0});
    for (const auto& r : t)
        byNo[r.drawNo] = r.digits;
    for (size_t i = 0; i < t.size(); i += 97) { // a spread of draws
        const DrawRecord& r = t[i];
        for (int p = 1; p <= 4; ++p) {
            int k = r.drawNo - 1;
            while (k >= 1 && std::find(byNo[k].begin(), byNo[k].end(), r.digit(p)) == byNo[k].end())
                --k;
            std::string expect = k >= 1 ? std::to_string(r.drawNo - k) + "回前" : "初回";
            EXPECT_EQ(g.text(2 * p + 1, static_cast<int>(i) + 3), expect) << "draw " << r.drawNo;
        }
    }
}

TEST(CarryOverAnalysis, MarksDigitsOfThePreviousDraw) {
    Grid g = analyse(computeCarryOverAnalysis, draws({{1, 1, 2, 3}, {1, 5, 6, 1}, {8, 9, 0, 3}}));
    EXPECT_EQ(rowTexts(g, 1), "回数||　　当 選 数 字||");
    EXPECT_EQ(rowTexts(g, 3), "2|1|5|6|1");
    EXPECT_EQ(g.background(2, 3), palette::Cyan);
    EXPECT_TRUE(g.background(3, 3).isNone());
    EXPECT_TRUE(g.background(4, 3).isNone());
    EXPECT_EQ(g.background(5, 3), palette::Cyan);
    for (int col = 2; col <= 5; ++col)
        EXPECT_TRUE(g.background(col, 4).isNone()) << col;
}

TEST(CarryOverAnalysis, FirstDrawHasNoMarksAndIncompleteRowsLeaveNoGap) {
    DrawTable t = draws({{0, 9, 0, 9}});
    t.push_back(n4test::incomplete(2));
    t.push_back(DrawRecord{3, {9, 1, 1, 1}});
    Grid g = analyse(computeCarryOverAnalysis, t);
    EXPECT_TRUE(g.background(2, 2).isNone());
    EXPECT_EQ(g.text(1, 3), "3");
    EXPECT_EQ(g.background(2, 3), palette::Cyan); // compared with draw 1
    EXPECT_EQ(g.maxRows(), 4);
}

TEST(DispersionAnalysis, OneMarkPerDrawnDigit) {
    Grid g = analyse(computeDispersionAnalysis, draws({{1, 1, 2, 3}, {0, 9, 0, 9}}));
    ASSERT_EQ(g.maxRows(), 5);
    EXPECT_EQ(rowTexts(g, 2), "回|0|1|2|3|4|5|6|7|8|9|回");
    EXPECT_EQ(rowTexts(g, 3), "1||●|●|●|||||||1");
    EXPECT_EQ(rowTexts(g, 4), "2|●|||||||||●|2");
    EXPECT_EQ(rowTexts(g, 5), "|||||||||||"); // nothing written below the last draw
    EXPECT_EQ(g.foreground(4, 3), palette::Mark);
    EXPECT_EQ(g.text(6, 1), "数　　　　　　　字");
    EXPECT_EQ(g.borderColour(2, 3, BorderTop), palette::ChartLine);
}
