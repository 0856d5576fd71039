#pragma once
// The back-test as the command-line tool prints it: the table as TSV, the
// figures as JSON, or a page with the table and a chart of every method.
#include <string>

#include "core/prediction/Backtest.h"

namespace n4 {

// The back-test window's title, which its page has too.
inline constexpr const char* kBacktestCaption = "予想の検証";

std::string backtestToTsv(const BacktestResult& result);
std::string backtestToJson(const BacktestResult& result);
std::string backtestToHtml(const BacktestResult& result);

// A line of text saying which draws were compared, for the page and the window.
std::string backtestSummary(const BacktestResult& result);

} // namespace n4
