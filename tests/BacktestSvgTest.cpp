// The back-test page's chart of one method, pinned whole in
// tests/golden/backtest-chart.txt (one SVG element a line): a change of any
// margin, scale, label, colour or point fails it.
#include <gtest/gtest.h>

#include "GoldenGrid.h"
#include "TestSupport.h"
#include "core/prediction/Backtest.h"
#include "core/prediction/BacktestSvg.h"

using namespace n4;

namespace {

// Pseudo-random draws, more than the chart has points for.
DrawTable chartHistory() {
    return n4test::pseudoRandomDraws(700, 4242);
}

std::string oneElementALine(const std::string& svg) {
    std::string out;
    for (char c : svg) {
        out += c;
        if (c == '>') out += '\n';
    }
    return out;
}

} // namespace

TEST(BacktestChart, TheEliminationChartOverSevenHundredDraws) {
    const DrawTable t = chartHistory();
    const BacktestResult r = runBacktest(t, defaultBacktestRange(t, 0), 0);
    ASSERT_GT(r.methods.size(), 4u);
    ASSERT_EQ(r.methods[4].name, "消去法");
    n4test::expectGolden("backtest-chart", oneElementALine(excessChartSvg(r, 4)));
}

TEST(BacktestChart, ALineAndBandWithinOneEitherWayStillSpanMinusOneToOne) {
    // One position predicted once and hit: 0.9 over chance, the band ±0.6.
    BacktestResult r;
    r.range = {11, 12};
    r.methods[0].name = "周期法";
    r.methods[0].draws = 1;
    r.methods[0].hits = 1;
    r.methods[0].expectedTenths = 1;
    DrawOutcome hit{11, {}, {}};
    hit.hits[0] = 1;
    hit.chanceTenths[0] = 1;
    r.draws = {hit, DrawOutcome{12, {}, {}}};
    const std::string svg = excessChartSvg(r, 0);
    EXPECT_NE(svg.find(">-1.0</text>"), std::string::npos) << svg;
    EXPECT_NE(svg.find(">1.0</text>"), std::string::npos) << svg;
}
