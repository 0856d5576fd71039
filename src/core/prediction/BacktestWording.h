#pragma once
// The back-test's figures in plain words, for the window, its page and the
// command-line tool's page: for each method, what was counted, what pure
// chance would give on average and what the p-value says, with the verdict
// and its reason; and a few notes on how to read the table and the chart.
#include <string>
#include <vector>

#include "core/prediction/Backtest.h"

namespace n4 {

// One sentence (a few short ones) about a method's figures.
std::string backtestSentence(const MethodTally& m);

// The notes under the sentences: what a hit is, chance's average and the
// ratio, the p-value and its threshold.
std::vector<std::string> backtestNotes();
// What the chart's line and band show.
std::string backtestChartNote();

// A probability as a percentage without the sign: "63", "2.0", "0.021". A
// value below the threshold is cut, not rounded, so that it never reads as
// the threshold itself; "0.0001 未満" below a millionth.
std::string formatPercent(double p);

} // namespace n4
