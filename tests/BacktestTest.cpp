#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "TestSupport.h"
#include "core/prediction/Backtest.h"
#include "core/prediction/BacktestExport.h"
#include "core/prediction/BacktestTable.h"
#include "core/prediction/PredictionEngine.h"
#include "core/store/StartupFigures.h"

using namespace n4;

namespace {

constexpr int kElimination = 4, kRenpatsu = 5, kIppatsu = 6;

// Draws 1..n, every digit of draw r given by digitOf(r).
template <typename F> DrawTable uniformDraws(int n, F digitOf) {
    DrawTable t;
    for (int r = 1; r <= n; ++r) {
        const int d = digitOf(r);
        t.push_back(DrawRecord{r, {d, d, d, d}});
    }
    return t;
}

// Pseudo-random draws with two gaps in the numbering and two incomplete rows,
// the cases where the look-backs read a draw of four zeros.
DrawTable syntheticHistory() {
    DrawTable t;
    unsigned x = 2024;
    for (int r = 1; r <= 460; ++r) {
        if (r == 57 || r == 58 || r == 301) continue;
        DrawRecord row{r, {}};
        for (int& d : row.digits) {
            x = x * 1103515245u + 12345u;
            d = static_cast<int>((x >> 16) % 10);
        }
        if (r == 120 || r == 333) row.digits[2] = kAbsentDigit;
        t.push_back(row);
    }
    return t;
}

// The digits a result grid shows.
std::set<int> shownDigits(const Grid& g) {
    std::set<int> digits;
    for (int row = 2; row <= g.maxRows(); ++row)
        for (int col = 2; col <= 5; ++col)
            if (!g.isEmpty(col, row)) digits.insert(std::stoi(g.text(col, row)));
    return digits;
}

// Draw table[i] against what the prediction window shows when the history
// ends just before it: the window's own engine on the cut history.
DrawOutcome outcomeInTheWindow(const DrawTable& table, std::size_t i, int reflect) {
    const DrawTable cut(table.begin(), table.begin() + static_cast<long>(i));
    PredictionEngine e;
    e.ScanDraws(cut, computeStartupFigures(cut).latestDrawNo, reflect);
    const DrawRecord& drawn = table[i];
    DrawOutcome o;
    o.drawNo = drawn.drawNo;
    for (int m = 0; m < 4; ++m)
        for (int p = 1; p <= 4; ++p) {
            const std::string& text = e.cycleGrid().text(p + 1, m + 2);
            if (text.empty()) continue;
            o.chanceTenths[m] += 1;
            o.hits[m] += std::stoi(text) == drawn.digit(p);
        }
    for (int g = 1; g <= 3; ++g) {
        const std::set<int> set = shownDigits(e.grids()[g]);
        o.chanceTenths[3 + g] = static_cast<std::int8_t>(4 * set.size());
        for (int d : drawn.digits)
            o.hits[3 + g] += set.count(d) ? 1 : 0;
    }
    return o;
}

// Compares every `step`-th draw of a whole-history replay with the window.
void expectReplayMatchesTheWindow(const DrawTable& table, int reflect, std::size_t step) {
    const BacktestResult r = replayPrediction(table, {1, kMaxDrawNo}, reflect);
    std::size_t k = 0, compared = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!table[i].isComplete()) continue;
        ASSERT_LT(k, r.draws.size());
        const DrawOutcome& got = r.draws[k++];
        if (i % step != 0) continue;
        const DrawOutcome want = outcomeInTheWindow(table, i, reflect);
        ASSERT_EQ(got.drawNo, want.drawNo);
        for (int m = 0; m < kBacktestMethods; ++m) {
            ASSERT_EQ(got.hits[m], want.hits[m]) << "draw " << want.drawNo << " method " << m;
            ASSERT_EQ(got.chanceTenths[m], want.chanceTenths[m])
                << "draw " << want.drawNo << " method " << m;
        }
        ++compared;
    }
    EXPECT_EQ(k, r.draws.size());
    EXPECT_GT(compared, 0u);
}

} // namespace

TEST(Backtest, ConstantHistoryWorkedOnPaper) {
    // Every draw 1-1-1-1: no digit ever comes back after 7, 9, 11 or 12 draws,
    // and the elimination reads 1 everywhere: 2, 9, 1, 3, 9, 5, 4, 2, 5, 8, 7,
    // 1, 5, 2, 1, that is 8 digits, all but 0 and 6.
    const DrawTable t = uniformDraws(20, [](int) { return 1; });
    const BacktestRange range = defaultBacktestRange(t, 0);
    EXPECT_EQ(range.from, 11); // draw 10 is the first the elimination reads whole
    EXPECT_EQ(range.to, 20);
    const BacktestResult r = runBacktest(t, range, 0);
    const MethodTally& e = r.methods[kElimination];
    EXPECT_EQ(e.name, "消去法");
    EXPECT_EQ(e.draws, 10);
    EXPECT_EQ(e.hits, 40);            // all four positions, ten draws
    EXPECT_EQ(e.expectedTenths, 320); // 4 x 8/10 a draw
    EXPECT_EQ(e.allFour, 10);
    EXPECT_EQ(e.allFourExpectedTenThousandths, 40960); // 10 x 0.8^4
    EXPECT_DOUBLE_EQ(e.ratio(), 1.25);
    EXPECT_NEAR(e.pValue, 0.0002180989699752055, 1e-15); // binomial 40 of 40 at 0.8
    EXPECT_EQ(backtestVerdict(e), "偶然より良い");
    for (int m : {0, 1, 2, 3, kRenpatsu, kIppatsu}) {
        EXPECT_EQ(r.methods[m].draws, 0) << m; // no cycle digit, so nothing near one
        EXPECT_DOUBLE_EQ(r.methods[m].pValue, 1.0);
        EXPECT_EQ(backtestVerdict(r.methods[m]), "予想なし");
    }
    // Two reflected options move the start two draws on.
    const BacktestResult two = runBacktest(t, defaultBacktestRange(t, 2), 2);
    EXPECT_EQ(two.range.from, 13);
    EXPECT_EQ(two.methods[kElimination].hits, 32);
    EXPECT_NEAR(two.methods[kElimination].pValue, 0.001353306147082131, 1e-15);
}

TEST(Backtest, SevenDrawCycleWorkedOnPaper) {
    // Draw r shows r mod 7 four times: from draw 8 on every digit comes back
    // after exactly 7 draws, so the 7-draw method predicts the digit of the
    // draw before, (t - 1) mod 7, in all four positions and never hits.
    const DrawTable t = uniformDraws(30, [](int r) { return r % 7; });
    const BacktestResult r = runBacktest(t, defaultBacktestRange(t, 0), 0);
    const MethodTally& seven = r.methods[0];
    EXPECT_EQ(seven.name, " 7回周期法");
    EXPECT_EQ(seven.kind, MethodKind::Position);
    EXPECT_EQ(seven.draws, 20); // draws 11..30
    EXPECT_EQ(seven.hits, 0);
    EXPECT_EQ(seven.expectedTenths, 80); // four predicted positions a draw at 1/10
    EXPECT_NEAR(seven.pValue, 0.0004979201646088153, 1e-15);
    EXPECT_EQ(backtestVerdict(seven), "偶然より悪い");
    for (int m = 1; m < 4; ++m)
        EXPECT_EQ(r.methods[m].draws, 0) << m;
    // The chart's line ends at hits minus chance, with chance's spread so far.
    const std::vector<ExcessPoint> line = cumulativeExcess(r, 0, 100);
    ASSERT_EQ(line.size(), 20u);
    EXPECT_EQ(line.back().drawNo, 30);
    EXPECT_NEAR(line.back().excess, -8.0, 1e-12);
    EXPECT_NEAR(line.back().sigma, std::sqrt(80 * 0.1 * 0.9), 1e-12);
}

TEST(Backtest, EachDrawGetsThePredictionOfTheHistoryCutBeforeIt) {
    const DrawTable t = syntheticHistory();
    for (int reflect : {0, 3, 10})
        expectReplayMatchesTheWindow(t, reflect, 1);
    // The synthetic history reaches the cases where the 連発 grid is full and
    // where the １発 grid stops at its four digits.
    const BacktestResult r = replayPrediction(t, {1, kMaxDrawNo}, 0);
    EXPECT_TRUE(std::any_of(r.draws.begin(), r.draws.end(),
                            [](const DrawOutcome& o) { return o.chanceTenths[kRenpatsu] == 32; }));
    EXPECT_TRUE(std::any_of(r.draws.begin(), r.draws.end(),
                            [](const DrawOutcome& o) { return o.chanceTenths[kIppatsu] == 16; }));
}

TEST(Backtest, RealHistoryReplayMatchesTheWindow) {
    const DrawTable t = n4test::realHistory();
    if (t.empty()) GTEST_SKIP() << "real history not present";
    expectReplayMatchesTheWindow(t, 0, 7);
    expectReplayMatchesTheWindow(t, 4, 31);
}

TEST(Backtest, DefaultRangeStartsWhereTheEliminationReadsWholeDraws) {
    EXPECT_TRUE(defaultBacktestRange({}, 0).empty());
    EXPECT_TRUE(defaultBacktestRange(uniformDraws(10, [](int) { return 3; }), 0).empty());
    BacktestRange eleven = defaultBacktestRange(uniformDraws(11, [](int) { return 3; }), 0);
    EXPECT_EQ(eleven.from, 11);
    EXPECT_EQ(eleven.to, 11);
    EXPECT_TRUE(defaultBacktestRange(uniformDraws(11, [](int) { return 3; }), 1).empty());
    // A history kept from draw 100 on starts ten draws later; incomplete rows
    // are neither the first draw nor the latest.
    DrawTable late{n4test::incomplete(90)};
    for (int r = 100; r <= 130; ++r)
        late.push_back(DrawRecord{r, {1, 2, 3, 4}});
    late.push_back(n4test::incomplete(131));
    const BacktestRange range = defaultBacktestRange(late, 2);
    EXPECT_EQ(range.from, 112);
    EXPECT_EQ(range.to, 130);
}

TEST(Backtest, ReplayInSlicesGivesTheSameAsInOneGo) {
    const DrawTable t = syntheticHistory();
    const BacktestRange range{40, 400};
    const BacktestResult whole = runBacktest(t, range, 2);
    BacktestReplay replay(t, range, 2);
    replay.advance(100);
    // Stopped part-way, it holds the draws read so far and nothing more.
    EXPECT_FALSE(replay.done());
    EXPECT_EQ(replay.rowsRead(), 100u);
    ASSERT_FALSE(replay.result().draws.empty());
    EXPECT_EQ(replay.result().draws.back().drawNo, t[99].drawNo);
    while (!replay.advance(7)) {
    }
    // The rows after the range are never read.
    EXPECT_LT(replay.rowsRead(), replay.rowsInAll());
    BacktestResult sliced = std::move(replay.result());
    tallyOutcomes(sliced);
    ASSERT_EQ(sliced.draws.size(), whole.draws.size());
    EXPECT_EQ(sliced.draws.front().drawNo, 40);
    EXPECT_EQ(sliced.draws.back().drawNo, 400);
    for (int m = 0; m < kBacktestMethods; ++m) {
        EXPECT_EQ(sliced.methods[m].hits, whole.methods[m].hits);
        EXPECT_EQ(sliced.methods[m].expectedTenths, whole.methods[m].expectedTenths);
        EXPECT_DOUBLE_EQ(sliced.methods[m].pValue, whole.methods[m].pValue);
    }
}

TEST(Backtest, ChartLineKeepsTheExtremesAndTheEnd) {
    const BacktestResult r = runBacktest(syntheticHistory(), {20, 460}, 0);
    for (int m = 0; m < kBacktestMethods; ++m) {
        const std::vector<ExcessPoint> all = cumulativeExcess(r, m, 100000);
        const std::vector<ExcessPoint> few = cumulativeExcess(r, m, 40);
        ASSERT_EQ(all.size(), r.draws.size());
        EXPECT_LE(few.size(), 42u);
        for (std::size_t i = 1; i < few.size(); ++i)
            EXPECT_LT(few[i - 1].drawNo, few[i].drawNo);
        auto byExcess = [](const ExcessPoint& a, const ExcessPoint& b) {
            return a.excess < b.excess;
        };
        EXPECT_DOUBLE_EQ(std::min_element(few.begin(), few.end(), byExcess)->excess,
                         std::min_element(all.begin(), all.end(), byExcess)->excess);
        EXPECT_DOUBLE_EQ(std::max_element(few.begin(), few.end(), byExcess)->excess,
                         std::max_element(all.begin(), all.end(), byExcess)->excess);
        EXPECT_EQ(few.front().drawNo, all.front().drawNo);
        EXPECT_EQ(few.back().drawNo, all.back().drawNo);
        const MethodTally& tally = r.methods[m];
        EXPECT_NEAR(all.back().excess, tally.hits - tally.expected(), 1e-9);
    }
}

TEST(Backtest, EveryRunOfTheChartKeepsItsOwnLowestAndHighestPoint) {
    const BacktestResult r = runBacktest(syntheticHistory(), {20, 460}, 1);
    for (int m = 0; m < kBacktestMethods; ++m) {
        const std::vector<ExcessPoint> all = cumulativeExcess(r, m, 100000);
        const std::vector<ExcessPoint> few = cumulativeExcess(r, m, 40);
        const std::size_t run = (all.size() + 19) / 20; // 20 runs of equal length
        auto kept = [&](const ExcessPoint& p) {
            return std::any_of(few.begin(), few.end(), [&](const ExcessPoint& q) {
                return q.drawNo == p.drawNo && q.excess == p.excess && q.sigma == p.sigma;
            });
        };
        for (std::size_t start = 0; start < all.size(); start += run) {
            const auto from = all.begin() + static_cast<long>(start);
            const auto to = all.begin() + static_cast<long>(std::min(all.size(), start + run));
            auto byExcess = [](const ExcessPoint& a, const ExcessPoint& b) {
                return a.excess < b.excess;
            };
            EXPECT_TRUE(kept(*std::min_element(from, to, byExcess))) << m << " " << start;
            EXPECT_TRUE(kept(*std::max_element(from, to, byExcess))) << m << " " << start;
        }
        // Nothing else: at most two points a run, the first and the last draw.
        EXPECT_LE(few.size(), 2 * ((all.size() + run - 1) / run) + 2) << m;
        for (const ExcessPoint& p : few)
            EXPECT_TRUE(std::any_of(all.begin(), all.end(), [&](const ExcessPoint& q) {
                return q.drawNo == p.drawNo && q.excess == p.excess;
            }));
    }
    // With a single point asked for, the runs are as long as the whole range.
    const std::vector<ExcessPoint> one = cumulativeExcess(r, 4, 1);
    EXPECT_LE(one.size(), 4u);
    EXPECT_EQ(one.front().drawNo, r.draws.front().drawNo);
    EXPECT_EQ(one.back().drawNo, r.draws.back().drawNo);
}

TEST(Backtest, AReplayThatHasReadEveryRowIsDone) {
    // The table's storage holds a stale row just past its end (a row taken
    // off again): the replay must stop at the table's end, not look past it.
    DrawTable t = uniformDraws(30, [](int r) { return r % 10; });
    t.reserve(t.size() + 1);
    t.push_back(DrawRecord{1, {1, 1, 1, 1}});
    t.pop_back();
    BacktestReplay replay(t, {12, 40}, 0);
    EXPECT_FALSE(replay.advance(29));
    EXPECT_FALSE(replay.done());
    EXPECT_TRUE(replay.advance(1));
    EXPECT_TRUE(replay.done());
    EXPECT_EQ(replay.rowsRead(), 30u);
    EXPECT_EQ(replay.result().draws.size(), 19u); // draws 12 to 30
    EXPECT_TRUE(replay.advance(5));               // nothing more to read
    EXPECT_EQ(replay.rowsRead(), 30u);
    // Stopped just before the range's last draw, it is not done yet.
    BacktestReplay toTwenty(t, {12, 20}, 0);
    EXPECT_FALSE(toTwenty.advance(19));
    EXPECT_TRUE(toTwenty.advance(1));
    EXPECT_EQ(toTwenty.result().draws.size(), 9u); // draws 12 to 20
}

TEST(Backtest, ChartTicksStepByOneTwoOrFiveTimesAPowerOfTen) {
    // Each step takes the raw steps up to half-way (in its own terms) to the next.
    const std::vector<std::pair<double, double>> steps = {
        {1, 1},   {1.49, 1}, {1.5, 2},   {3.49, 2}, {3.5, 5},    {7.49, 5},  {7.5, 10}, {9.9, 10},
        {10, 10}, {15, 20},  {64.8, 50}, {75, 100}, {0.25, 0.2}, {0.5, 0.5}, {350, 500}};
    for (const auto& [raw, step] : steps)
        EXPECT_DOUBLE_EQ(niceStep(raw), step) << raw;
}
