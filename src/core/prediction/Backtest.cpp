#include "core/prediction/Backtest.h"

#include <algorithm>
#include <cmath>

#include "core/prediction/BinomialTest.h"
#include "core/prediction/PredictedDigits.h"
#include "core/prediction/PredictionGrids.h"
#include "core/prediction/PredictionScan.h"

namespace n4 {

namespace {

constexpr int kFirstSetMethod = 4;

// Draw `drawn` against what the prediction showed just before it.
DrawOutcome compare(const PredictionScan& scan, const PredictedSets& sets,
                    const DrawRecord& drawn) {
    DrawOutcome o;
    o.drawNo = drawn.drawNo;
    for (int m = 0; m < 4; ++m)
        for (int p = 1; p <= 4; ++p) {
            const int predicted = scan.cycleDigit(m, p);
            o.chanceTenths[m] += predicted != kNoDigit;
            o.hits[m] += predicted == drawn.digit(p);
        }
    const std::uint16_t shown[] = {sets.elimination, sets.renpatsu, sets.ippatsu};
    for (int k = 0; k < 3; ++k) {
        const int m = kFirstSetMethod + k;
        for (int d : drawn.digits)
            o.hits[m] += (shown[k] >> d) & 1u;
        o.chanceTenths[m] = static_cast<std::int8_t>(4 * digitCount(shown[k]));
    }
    return o;
}

void nameMethods(BacktestResult& r) {
    for (int m = 0; m < 4; ++m)
        r.methods[m] = MethodTally{kCycleMethodLabels[m], MethodKind::Position};
    for (int k = 0; k < 3; ++k)
        r.methods[kFirstSetMethod + k] = MethodTally{kSetMethodLabels[k], MethodKind::Set};
}

void tally(const DrawOutcome& o, int m, MethodTally& t) {
    const int tenths = o.chanceTenths[m];
    if (tenths == 0) return;
    ++t.draws;
    t.hits += o.hits[m];
    t.expectedTenths += tenths;
    if (t.kind == MethodKind::Position) return;
    const long long s = tenths / 4;
    t.positionsBySetSize[s] += 4;
    t.allFour += o.hits[m] == 4;
    t.allFourExpectedTenThousandths += s * s * s * s;
}

double pValue(const MethodTally& t) {
    std::vector<TrialGroup> groups;
    if (t.kind == MethodKind::Position) groups.push_back({t.expectedTenths, 0.1});
    for (int s = 1; s <= 10; ++s)
        if (t.positionsBySetSize[s]) groups.push_back({t.positionsBySetSize[s], s / 10.0});
    return twoSidedPValue(groups, t.hits);
}

// The variance of chance's hits for one draw: tenths / 10 tries' worth.
double chanceVariance(MethodKind kind, int tenths) {
    if (kind == MethodKind::Position) return tenths * 0.1 * 0.9;
    const double c = tenths / 40.0; // the set's share of the ten digits
    return 4 * c * (1 - c);
}

} // namespace

BacktestRange defaultBacktestRange(const DrawTable& table, int reflect) {
    BacktestRange range{0, 0};
    int first = 0, previous = 0;
    for (const DrawRecord& row : table) {
        if (!row.isComplete()) continue;
        if (first == 0)
            first = row.drawNo;
        else if (range.from == 0 && previous - 9 - reflect >= first)
            range.from = row.drawNo;
        previous = row.drawNo;
    }
    range.to = previous;
    if (range.from == 0) range.from = range.to + 1; // too short: nothing to compare
    return range;
}

struct BacktestReplay::State {
    PredictionScan scan;
    DigitOrder cycle;
    unsigned cycleRevision = scan.cycleRevision() - 1;
};

BacktestReplay::BacktestReplay(const DrawTable& table, BacktestRange range, int reflect)
    : table_(table), reflect_(reflect), state_(std::make_unique<State>()) {
    result_.range = range;
    result_.reflect = reflect;
    nameMethods(result_);
    state_->scan.reserve(table.size());
    result_.draws.reserve(table.size());
}

BacktestReplay::~BacktestReplay() = default;

bool BacktestReplay::advance(std::size_t rows) {
    State& s = *state_;
    for (const std::size_t end = std::min(table_.size(), next_ + rows); next_ < end; ++next_) {
        const DrawRecord& row = table_[next_];
        if (row.drawNo > result_.range.to) break;
        if (row.isComplete() && row.drawNo >= result_.range.from) {
            if (s.cycleRevision != s.scan.cycleRevision()) {
                s.cycle = cycleDigitsInOrder(s.scan);
                s.cycleRevision = s.scan.cycleRevision();
            }
            result_.draws.push_back(
                compare(s.scan, predictDigitSets(s.scan, reflect_, s.cycle), row));
        }
        s.scan.add(row);
    }
    done_ = next_ >= table_.size() || table_[next_].drawNo > result_.range.to;
    return done_;
}

BacktestResult replayPrediction(const DrawTable& table, BacktestRange range, int reflect) {
    BacktestReplay replay(table, range, reflect);
    replay.advance(table.size());
    return std::move(replay.result());
}

void tallyOutcomes(BacktestResult& r) {
    for (int m = 0; m < kBacktestMethods; ++m) {
        MethodTally& t = r.methods[m];
        const std::string name = t.name;
        const MethodKind kind = t.kind;
        t = MethodTally{name, kind};
        for (const DrawOutcome& o : r.draws)
            tally(o, m, t);
        t.pValue = pValue(t);
    }
}

BacktestResult runBacktest(const DrawTable& table, BacktestRange range, int reflect) {
    BacktestResult r = replayPrediction(table, range, reflect);
    tallyOutcomes(r);
    return r;
}

std::string backtestVerdict(const MethodTally& m) {
    if (m.draws == 0) return "予想なし";
    if (m.pValue >= kBacktestSignificance) return "偶然と区別できません";
    return m.hits * 10 > m.expectedTenths ? "偶然より良い" : "偶然より悪い";
}

std::vector<ExcessPoint> cumulativeExcess(const BacktestResult& r, int method,
                                          std::size_t maxPoints) {
    const MethodKind kind = r.methods[method].kind;
    const std::size_t n = r.draws.size();
    const std::size_t runs = std::max<std::size_t>(1, maxPoints / 2);
    const std::size_t run = std::max<std::size_t>(1, (n + runs - 1) / runs);
    std::vector<ExcessPoint> points;
    long long hits = 0, tenths = 0;
    double variance = 0;
    ExcessPoint low{}, high{}, last{};
    for (std::size_t i = 0; i < n; ++i) {
        const DrawOutcome& o = r.draws[i];
        hits += o.hits[method];
        tenths += o.chanceTenths[method];
        variance += chanceVariance(kind, o.chanceTenths[method]);
        last = ExcessPoint{o.drawNo, hits - tenths / 10.0, std::sqrt(variance)};
        if (i == 0) points.push_back(last);
        if (i % run == 0 || last.excess < low.excess) low = last;
        if (i % run == 0 || last.excess > high.excess) high = last;
        if ((i + 1) % run != 0 && i + 1 != n) continue;
        const bool lowFirst = low.drawNo <= high.drawNo;
        for (const ExcessPoint& p : {lowFirst ? low : high, lowFirst ? high : low})
            if (p.drawNo != points.back().drawNo) points.push_back(p);
        if (i + 1 == n && points.back().drawNo != last.drawNo) points.push_back(last);
    }
    return points;
}

double niceStep(double raw) {
    const double step = std::pow(10.0, std::floor(std::log10(raw)));
    return raw < 1.5 * step   ? step
           : raw < 3.5 * step ? 2 * step
           : raw < 7.5 * step ? 5 * step
                              : 10 * step;
}

} // namespace n4
