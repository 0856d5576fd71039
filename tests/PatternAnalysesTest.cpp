#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/analysis/pattern/CombinationPatternAnalysis.h"
#include "core/analysis/pattern/ConsecutiveAnalysis.h"
#include "core/analysis/pattern/DistanceAnalysis.h"
#include "core/grid/Palette.h"

using namespace n4;
using n4test::analyse;
using n4test::rowTexts;

TEST(DistanceAnalysis, SignedChangesAgainstThePreviousDraw) {
    Grid g = analyse(computeDistanceAnalysis, draws({{1, 2, 3, 4}, {3, 2, 1, 4}}));
    ASSERT_EQ(g.maxRows(), 6);
    EXPECT_EQ(rowTexts(g, 1), "||||   当 選 数 字||||");
    EXPECT_EQ(rowTexts(g, 2), "回数|第1数字|差分|第2数字|差分|第3数字|差分|第4数字|差分");
    EXPECT_EQ(rowTexts(g, 3), "1|1||2||3||4|");
    EXPECT_EQ(rowTexts(g, 4), "2|3|+2|2|0|1|-2|4|0");
    EXPECT_EQ(g.background(7, 4), palette::Magenta);
    EXPECT_TRUE(g.background(3, 4).isNone());
    EXPECT_EQ(rowTexts(g, 5), rowTexts(g, 2));
    EXPECT_EQ(rowTexts(g, 6), rowTexts(g, 1));
    EXPECT_EQ(g.borders(4, 1), 0); // the title band has no lines
}

TEST(DistanceAnalysis, EmptyTableAndIncompleteRowInBetween) {
    Grid empty = analyse(computeDistanceAnalysis, {});
    ASSERT_EQ(empty.maxRows(), 4);
    EXPECT_EQ(empty.text(1, 3), "回数");
    EXPECT_EQ(empty.text(5, 4), "   当 選 数 字");
    DrawTable t = draws({{5, 5, 5, 5}});
    t.push_back(n4test::incomplete(2));
    t.push_back(DrawRecord{3, {9, 0, 5, 1}});
    Grid g = analyse(computeDistanceAnalysis, t);
    EXPECT_EQ(rowTexts(g, 4), "||||||||");
    EXPECT_EQ(rowTexts(g, 5), "3|9|+4|0|-5|5|0|1|-4");
    // A first complete draw below an incomplete row is compared with 0-0-0-0.
    DrawTable late{n4test::incomplete(1), DrawRecord{2, {3, 0, 5, 9}}};
    EXPECT_EQ(rowTexts(analyse(computeDistanceAnalysis, late), 4), "2|3|+3|0|0|5|+5|9|+9");
}

TEST(ConsecutiveAnalysis, PairColoursAndGreyDrawNumbers) {
    Grid g = analyse(computeConsecutiveAnalysis,
                     draws({{1, 2, 3, 4}, {1, 3, 2, 4}, {9, 0, 9, 0}, {5, 5, 5, 5}}));
    EXPECT_EQ(rowTexts(g, 1), "回数||連番(当選数字)|||回数||飛び石(当選数字)||");
    EXPECT_EQ(rowTexts(g, 2), "1|1|2|3|4|1|1|2|3|4");
    for (int col = 2; col <= 5; ++col)
        EXPECT_EQ(g.background(col, 2), palette::Cyan);
    EXPECT_EQ(g.background(1, 2), palette::LabelYellow);
    EXPECT_EQ(g.background(6, 2), palette::NothingFound);
    // 1,3,2,4: one-apart, consecutive, one-apart
    EXPECT_TRUE(g.background(2, 3).isNone());
    EXPECT_EQ(g.background(3, 3), palette::Cyan);
    EXPECT_EQ(g.background(4, 3), palette::Cyan);
    for (int col = 7; col <= 10; ++col)
        EXPECT_EQ(g.background(col, 3), palette::Green);
    EXPECT_EQ(g.background(1, 3), palette::LabelYellow);
    EXPECT_EQ(g.background(6, 3), palette::LabelYellow);
    for (int row : {4, 5}) {
        EXPECT_EQ(g.background(1, row), palette::NothingFound);
        EXPECT_EQ(g.background(6, row), palette::NothingFound);
    }
    EXPECT_EQ(g.background(3, 1), palette::Magenta);
    EXPECT_EQ(g.background(8, 1), palette::HeaderPink);
}

TEST(ConsecutiveAnalysis, EmptyTableAndPackedRows) {
    EXPECT_EQ(analyse(computeConsecutiveAnalysis, {}).maxRows(), 1);
    DrawTable t = draws({{1, 2, 3, 4}});
    t.push_back(n4test::incomplete(2));
    t.push_back(DrawRecord{3, {7, 7, 7, 7}});
    Grid g = analyse(computeConsecutiveAnalysis, t);
    EXPECT_EQ(g.text(1, 3), "3");
}

struct PatternCase {
    std::array<int, 4> digits;
    const char* counts; // columns 6 and 7
    const char* letter;
    Rgb letterColour;
};

TEST(EvenOddAnalysis, CountsLettersAndColours) {
    const PatternCase cases[] = {{{2, 4, 6, 8}, "4|0", "A", Rgb::none()},
                                 {{0, 1, 2, 3}, "2|2", "C", palette::Green},
                                 {{1, 3, 5, 7}, "0|4", "", Rgb::none()},
                                 {{1, 3, 5, 2}, "1|3", "D", palette::LabelYellow},
                                 {{1, 2, 4, 6}, "3|1", "B", palette::Cyan}};
    for (const auto& c : cases) {
        Grid g = analyse(computeEvenOddAnalysis, {DrawRecord{1, c.digits}});
        EXPECT_EQ(g.text(6, 2) + "|" + g.text(7, 2), c.counts);
        EXPECT_EQ(g.text(8, 2), c.letter);
        EXPECT_EQ(g.background(8, 2), c.letterColour);
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(g.background(p + 2, 2),
                      c.digits[p] % 2 == 0 ? palette::Cyan : palette::White);
    }
}

TEST(EvenOddAnalysis, HeaderAndEmptyTable) {
    Grid g = analyse(computeEvenOddAnalysis, {});
    ASSERT_EQ(g.maxRows(), 1);
    EXPECT_EQ(rowTexts(g, 1), "回数||    当 選 数 字      |||偶数|奇数|パターン");
    EXPECT_EQ(g.foreground(8, 1), palette::Blue);
}

TEST(LowHighAnalysis, LetterFromTheLowCountAndHighDigitsUncoloured) {
    const PatternCase cases[] = {{{5, 6, 7, 8}, "0|4", "A", Rgb::none()},
                                 {{0, 5, 4, 9}, "2|2", "C", palette::Green},
                                 {{0, 1, 2, 3}, "4|0", "", Rgb::none()},
                                 {{4, 4, 4, 5}, "3|1", "D", palette::LabelYellow}};
    for (const auto& c : cases) {
        Grid g = analyse(computeLowHighAnalysis, {DrawRecord{1, c.digits}});
        EXPECT_EQ(g.text(6, 2) + "|" + g.text(7, 2), c.counts);
        EXPECT_EQ(g.text(8, 2), c.letter);
        EXPECT_EQ(g.background(8, 2), c.letterColour);
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(g.background(p + 2, 2), c.digits[p] <= 4 ? palette::Cyan : Rgb::none());
    }
    EXPECT_EQ(analyse(computeLowHighAnalysis, {}).text(6, 1), "低数字");
}

TEST(PatternAnalyses, RealHistoryLettersAgreeWithTheCounts) {
    DrawTable t = n4test::realHistory();
    if (t.empty()) GTEST_SKIP() << "real history not present";
    Grid evenOdd = analyse(computeEvenOddAnalysis, t);
    Grid lowHigh = analyse(computeLowHighAnalysis, t);
    const char* letters[5] = {"A", "B", "C", "D", ""};
    for (size_t i = 0; i < t.size(); ++i) {
        const int row = static_cast<int>(i) + 2;
        int odd = 0, low = 0;
        for (int d : t[i].digits)
            odd += d % 2, low += d <= 4;
        ASSERT_EQ(evenOdd.text(7, row), std::to_string(odd));
        ASSERT_EQ(evenOdd.text(8, row), letters[odd]);
        ASSERT_EQ(lowHigh.text(8, row), letters[low]);
    }
}
