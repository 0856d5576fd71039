#pragma once
// The back-test as the command-line tool prints it: the table as TSV, the
// figures as JSON, or a page with the table, a sentence on each method's
// figures and a chart of every method. The window saves the same page.
#include <string>

#include "core/grid/GridHtml.h"
#include "core/prediction/Backtest.h"

namespace n4 {

// The back-test window's title, which its page has too.
inline constexpr const char* kBacktestCaption = "予想の検証";

std::string backtestToTsv(const BacktestResult& result);
std::string backtestToJson(const BacktestResult& result);
std::string backtestToHtml(const BacktestResult& result);
// The page: titled 予想の検証, the range under the title, then the table
// (backtestGrid of the result, which must outlive the page), the sentences,
// the notes and the charts.
HtmlPage backtestPage(const BacktestResult& result, const Grid& table);

// A line of text saying which draws were compared, for the page and the window.
std::string backtestSummary(const BacktestResult& result);

} // namespace n4
