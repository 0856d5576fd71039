// The back-test's outputs pinned whole: the table (texts, colours, widths),
// the JSON figures and the HTML page with its seven charts, for a fixed
// 90-draw history, plus a table of hand-made tallies for every verdict and
// figure format. N4_UPDATE_GOLDEN=1 rewrites tests/golden/backtest-*.txt.
#include <gtest/gtest.h>

#include "GoldenGrid.h"
#include "core/prediction/Backtest.h"
#include "core/prediction/BacktestExport.h"
#include "core/prediction/BacktestTable.h"
#include "core/prediction/BacktestWording.h"

using namespace n4;

namespace {

// Draws 1..92 from a fixed generator, draws 40 and 41 missing and draw 60
// without its third digit.
DrawTable history() {
    DrawTable t;
    unsigned x = 2;
    for (int no = 1; no <= 92; ++no) {
        if (no == 40 || no == 41) continue;
        DrawRecord r{no, {}};
        for (int& d : r.digits) {
            x = x * 1103515245u + 12345u;
            d = static_cast<int>((x >> 16) % 10);
        }
        if (no == 60) r.digits[2] = kAbsentDigit;
        t.push_back(r);
    }
    return t;
}

BacktestResult result() {
    const DrawTable t = history();
    return runBacktest(t, defaultBacktestRange(t, 2), 2);
}

MethodTally tally(const char* name, MethodKind kind, long long draws, long long hits,
                  long long expectedTenths, double p) {
    MethodTally m{name, kind};
    m.draws = draws;
    m.hits = hits;
    m.expectedTenths = expectedTenths;
    m.pValue = p;
    m.allFour = hits / 10;
    m.allFourExpectedTenThousandths = draws * 81;
    return m;
}

} // namespace

TEST(BacktestOutput, TheTableAndFiguresOfAFixedHistory) {
    const BacktestResult r = result();
    ASSERT_EQ(r.range.from, 13); // the draw before it, 12, lies 9 + 2 draws after draw 1
    ASSERT_EQ(r.range.to, 92);
    n4test::expectGolden("backtest-table", n4test::describeHistory(history()) + backtestSummary(r) +
                                               "\n" + n4test::describeGrid(backtestGrid(r)) +
                                               backtestToTsv(r) + backtestToJson(r));
}

TEST(BacktestOutput, ThePageWithEveryMethodsChart) {
    n4test::expectGolden("backtest-html", backtestToHtml(result()));
}

TEST(BacktestOutput, EveryVerdictAndFigureFormatInTheTable) {
    BacktestResult r;
    r.range = {5, 9};
    r.methods = {
        tally("better", MethodKind::Position, 100, 30, 100, 0.0099),   // green
        tally("worse", MethodKind::Position, 1000, 95, 1000, 0.00009), // magenta, 5 % below
        tally("edge", MethodKind::Position, 100, 14, 100, 0.01),       // not significant
        tally("same", MethodKind::Position, 7, 0, 7, 1),
        tally("set", MethodKind::Set, 20, 35, 240, 0.0001),
        tally("none", MethodKind::Set, 0, 0, 0, 1),
        tally("far", MethodKind::Set, 3, 12, 5, 0),
    };
    std::string sentences;
    for (const MethodTally& m : r.methods)
        sentences += backtestSentence(m) + "\n";
    n4test::expectGolden("backtest-verdicts",
                         n4test::describeGrid(backtestGrid(r)) + backtestToJson(r) + sentences);
    EXPECT_EQ(formatTenths(0), "0.0");
    EXPECT_EQ(formatTenths(9), "0.9");
    EXPECT_EQ(formatTenths(10), "1.0");
    EXPECT_EQ(formatTenths(12345), "1234.5");
    EXPECT_EQ(formatPValue(1), "1.0000");
    EXPECT_EQ(formatPValue(0.0001), "0.0001");
    EXPECT_EQ(formatPValue(0.0000999), "1.0e-04");
    EXPECT_EQ(formatPValue(2.5e-30), "2.5e-30");
    EXPECT_EQ(formatPValue(0), "1e-40未満");
}
