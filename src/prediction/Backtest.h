#pragma once
// The back-test: the prediction replayed over the history. For every complete
// draw t in a range, the digits the prediction window would have shown had the
// history ended just before t are compared with draw t, and each method's hits
// are set against what pure chance would give. One pass: the scan state for t
// is the state for the draw before plus one draw.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/DrawTable.h"

namespace n4 {

enum class MethodKind { Position, Set };

// The four cycle methods, then 消去法, 連発予想 and １発予想.
constexpr int kBacktestMethods = 7;

// One draw against each method's prediction.
struct DrawOutcome {
    int drawNo = 0;
    // Positions whose drawn digit the method predicted, 0..4.
    std::array<std::int8_t, kBacktestMethods> hits{};
    // The hits chance would give, in tenths: one per predicted position of a
    // cycle method; 4 x s for a set of s digits. 0: nothing was predicted.
    std::array<std::int8_t, kBacktestMethods> chanceTenths{};
};

struct MethodTally {
    std::string name; // as the method's grid label shows it
    MethodKind kind = MethodKind::Position;
    long long draws = 0; // draws the method predicted anything for
    long long hits = 0;
    long long expectedTenths = 0;
    // Set methods: positions tried against a set of s digits, s = 0..10.
    std::array<long long, 11> positionsBySetSize{};
    long long allFour = 0;                       // draws whose four digits all lie in the set
    long long allFourExpectedTenThousandths = 0; // the sum of s^4 over the draws
    double pValue = 1;

    double expected() const { return expectedTenths / 10.0; }
    double allFourExpected() const { return allFourExpectedTenThousandths / 10000.0; }
    // hits / expected; 0 when nothing was expected.
    double ratio() const { return expectedTenths ? hits * 10.0 / expectedTenths : 0.0; }
};

struct BacktestRange {
    int from = 0, to = 0; // draw numbers, inclusive; empty when from > to
    bool empty() const { return from > to; }
};

struct BacktestResult {
    BacktestRange range;
    int reflect = 0;
    bool cancelled = false;
    std::vector<DrawOutcome> draws; // the draws compared, in order
    std::array<MethodTally, kBacktestMethods> methods;
};

// From the first draw whose elimination rows all read draws of the history
// (the draw before it lies 9 + reflect draws after the first draw) to the
// latest complete draw.
BacktestRange defaultBacktestRange(const DrawTable& table, int reflect);

// Called now and then with the rows read so far and the rows in all; false
// stops the pass (the result is then marked cancelled, without tallies).
using BacktestProgress = std::function<bool(std::size_t done, std::size_t total)>;

// The pass and the tallies with their p-values.
BacktestResult runBacktest(const DrawTable& table, BacktestRange range, int reflect,
                           const BacktestProgress& progress = {});
// The pass alone: the outcome of every draw in the range.
BacktestResult replayPrediction(const DrawTable& table, BacktestRange range, int reflect,
                                const BacktestProgress& progress = {});
// Sums the outcomes into each method's tally and computes its p-value.
void tallyOutcomes(BacktestResult& result);

// "偶然と区別できません" when p >= 0.01, else better or worse than chance.
std::string backtestVerdict(const MethodTally& m);

// Cumulative hits minus chance after a draw, and the standard deviation of
// chance up to it.
struct ExcessPoint {
    int drawNo;
    double excess, sigma;
};
// At most about maxPoints points for a chart: the draws are taken in equal
// runs, each run giving its lowest and its highest point in draw order.
std::vector<ExcessPoint> cumulativeExcess(const BacktestResult& result, int method,
                                          std::size_t maxPoints);

} // namespace n4
