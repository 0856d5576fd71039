// Every window's whole result on a small history, pinned in tests/golden/.
// The history is chosen so that each rule of each window shows somewhere: a
// digit first drawn, a digit drawn twice in one draw, a gap in the draw
// numbers, an incomplete row, four nines, every pattern letter, consecutive
// and one-apart pairs and 9 next to 0, carried digits, and the examples each
// window's description works through (1-1-8-5, 7-7-0-9, 1-1-2-3 then 1-5-6-1).
#include <gtest/gtest.h>

#include "GoldenGrid.h"
#include "TestSupport.h"
#include "core/analysis/AnalysisCatalog.h"
#include "core/prediction/PredictionEngine.h"

using namespace n4;

namespace {

DrawTable goldenHistory() {
    DrawTable t = draws({
        {1, 2, 3, 4}, // 1: all consecutive; four low digits
        {3, 2, 1, 4}, // 2: every digit carried; changes +2 0 -2 0
        {1, 3, 2, 4}, // 3: one-apart 1-3 and 2-4 around a consecutive 3-2
        {9, 0, 9, 0}, // 4: no wrap-around from 9 to 0; a digit twice, first time
        {5, 5, 5, 5}, // 5: no pair at all; four odd digits; four high digits
        {2, 4, 6, 8}, // 6: four even digits; all one-apart
        {0, 1, 2, 3}, // 7: two odd, four low
        {1, 3, 5, 7}, // 8: four odd digits
        {5, 6, 7, 8}, // 9: four high digits
        {0, 5, 4, 9}, // 10: two low, two high
        {4, 4, 4, 5}, // 11: three low
    });
    // Draw 12 is missing: a gap in the draw numbers.
    const std::vector<std::array<int, 4>> later = {
        {1, 1, 8, 5}, {0, 9, 9, 9}, {7, 7, 0, 9}, {9, 9, 9, 9},
        {1, 1, 2, 3}, {1, 5, 6, 1}, {6, 8, 1, 3}, {1, 2, kAbsentDigit, 4} /* 20: incomplete */,
        {3, 5, 7, 9}, {4, 0, 6, 2}, {7, 1, 8, 2}, {1, 9, 2, 8},
        {6, 3, 0, 5}, {8, 2, 5, 1}, {0, 4, 7, 6}, {2, 8, 3, 9},
        {5, 0, 1, 7}, {3, 6, 9, 4}};
    int no = 13;
    for (const auto& d : later)
        t.push_back(DrawRecord{no++, d});
    return t;
}

// Digit counts 0:0 1:1 2:2 3:3 4:3 5:5 6:0 7:1 8:1 9:0: five count classes,
// one of them shared by three digits, the count 4 missing, the largest count
// smaller than the number of rows.
DrawTable byCountHistory() {
    return draws({{5, 5, 1, 2}, {5, 3, 4, 2}, {5, 3, 4, 7}, {5, 3, 4, 8}});
}

std::string golden(const char* window, const DrawTable& history) {
    const AnalysisEntry* entry = findAnalysis(window);
    EXPECT_NE(entry, nullptr) << window;
    if (!entry) return "";
    return std::string("# ") + window + "\n" + n4test::describeHistory(history) +
           n4test::describeGrid(n4test::analyse(entry->compute, history));
}

void expectWindow(const char* cliName, const char* window, const DrawTable& history) {
    n4test::expectGolden(cliName, golden(window, history));
}

} // namespace

TEST(WholeGrid, Frequency) {
    expectWindow("frequency", "出現頻度分析", goldenHistory());
}
TEST(WholeGrid, Count) {
    expectWindow("count", "出現回数分析", goldenHistory());
}
TEST(WholeGrid, ByCount) {
    expectWindow("by-count", "回数別出現分析", byCountHistory());
}
TEST(WholeGrid, Sum) {
    expectWindow("sum", "数字合計分析", goldenHistory());
}
TEST(WholeGrid, Interval) {
    expectWindow("interval", "出現間隔分析", goldenHistory());
}
TEST(WholeGrid, CarryOver) {
    expectWindow("carry-over", "引っ張り分析", goldenHistory());
}
TEST(WholeGrid, Dispersion) {
    expectWindow("dispersion", "バラツキ分析", goldenHistory());
}
TEST(WholeGrid, Distance) {
    expectWindow("distance", "数字間隔分析", goldenHistory());
}
TEST(WholeGrid, Consecutive) {
    expectWindow("consecutive", "連番飛び石分析", goldenHistory());
}
TEST(WholeGrid, EvenOdd) {
    expectWindow("even-odd", "偶数奇数の組合せパターン分析", goldenHistory());
}
TEST(WholeGrid, LowHigh) {
    expectWindow("low-high", "低数字高数字の組合せパターン分析", goldenHistory());
}
TEST(WholeGrid, Division3) {
    expectWindow("division3", "分割3データ分析", goldenHistory());
}
TEST(WholeGrid, Division5) {
    expectWindow("division5", "分割5データ分析", goldenHistory());
}
TEST(WholeGrid, Division10) {
    expectWindow("division10", "分割10データ分析", goldenHistory());
}
TEST(WholeGrid, Trend5) {
    expectWindow("trend5", "分割5傾向分析", goldenHistory());
}

TEST(WholeGrid, Prediction) {
    const DrawTable history = n4test::richPredictionHistory();
    std::string text = "# 一発マーヴォ\n" + n4test::describeHistory(history);
    PredictionEngine engine;
    const StartupFigures figures = computeStartupFigures(history);
    const char* names[4] = {"cycle", "elimination", "連発", "１発"};
    for (int reflected : {0, 2}) {
        engine.ScanDraws(history, figures.latestDrawNo, reflected);
        for (int g = 0; g < 4; ++g)
            text += "\n## " + std::string(names[g]) + " grid, " + std::to_string(reflected) +
                    " options reflected\n" + n4test::describeGrid(engine.grids()[g]);
    }
    n4test::expectGolden("prediction", text);
}

TEST(WholeGrid, EveryWindowOnTheShortestHistories) {
    // No draw at all; one incomplete row; one draw numbered 3 after two
    // missing ones, with both extreme digits.
    const DrawTable none;
    const DrawTable incomplete = {DrawRecord{1, {1, 2, kAbsentDigit, 4}}};
    const DrawTable third = {DrawRecord{3, {0, 9, 9, 0}}};
    std::string text;
    for (const AnalysisEntry& entry : analysisCatalog())
        for (const DrawTable* history : {&none, &incomplete, &third})
            text += golden(entry.windowName, *history) + "\n";
    n4test::expectGolden("shortest-histories", text);
}
