#pragma once
// The back-test: the prediction replayed over the history. For every complete
// draw t in a range, the digits the prediction window would have shown had the
// history ended just before t are compared with draw t, and each method's hits
// are set against what pure chance would give. One pass: the scan state for t
// is the state for the draw before plus one draw.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/store/DrawTable.h"

namespace n4 {

enum class MethodKind { Position, Set };

// The four cycle methods, then 消去法, 連発予想 and １発予想.
constexpr int kBacktestMethods = 7;
// A method is better or worse than chance when its p-value is below this.
constexpr double kBacktestSignificance = 0.01;

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
    std::vector<DrawOutcome> draws; // the draws compared, in order
    std::array<MethodTally, kBacktestMethods> methods;
};

// From the first draw whose elimination rows all read draws of the history
// (the draw before it lies 9 + reflect draws after the first draw) to the
// latest complete draw.
BacktestRange defaultBacktestRange(const DrawTable& table, int reflect);

// The pass a slice at a time, so that a window can run it between its events
// and stop it. Reads the table it was given, which must outlive it.
class BacktestReplay {
  public:
    BacktestReplay(const DrawTable& table, BacktestRange range, int reflect);
    ~BacktestReplay();
    BacktestReplay(const BacktestReplay&) = delete;
    BacktestReplay& operator=(const BacktestReplay&) = delete;

    // Reads up to `rows` more rows of the table; true once the pass is through.
    bool advance(std::size_t rows);
    bool done() const { return done_; }
    // Rows read so far, of the table's rows in all.
    std::size_t rowsRead() const { return next_; }
    std::size_t rowsInAll() const { return table_.size(); }
    // The outcomes so far; the tallies are left to tallyOutcomes.
    BacktestResult& result() { return result_; }

  private:
    const DrawTable& table_;
    int reflect_;
    std::size_t next_ = 0;
    bool done_ = false;
    BacktestResult result_;
    struct State;
    std::unique_ptr<State> state_;
};

// The pass and the tallies with their p-values, in one go.
BacktestResult runBacktest(const DrawTable& table, BacktestRange range, int reflect);
// The pass alone: the outcome of every draw in the range.
BacktestResult replayPrediction(const DrawTable& table, BacktestRange range, int reflect);
// Sums the outcomes into each method's tally and computes its p-value.
void tallyOutcomes(BacktestResult& result);

// "偶然と区別できません" when p >= kBacktestSignificance, else better or worse than chance;
// "予想なし" for a method that predicted nothing in the range.
std::string backtestVerdict(const MethodTally& m);

// Cumulative hits minus chance after a draw, and the standard deviation of
// chance up to it.
struct ExcessPoint {
    int drawNo;
    double excess, sigma;
};
// At most maxPoints + 2 points for a chart: the draws are taken in equal
// runs, each run giving its lowest and its highest point in draw order; the
// first and the last draw open and close the line.
std::vector<ExcessPoint> cumulativeExcess(const BacktestResult& result, int method,
                                          std::size_t maxPoints);
// A step for the chart's ticks: 1, 2 or 5 times a power of ten, near raw.
double niceStep(double raw);

} // namespace n4
