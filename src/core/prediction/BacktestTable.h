#pragma once
// The back-test's table, as the window shows it and the command-line tool
// prints it: one row per method with its hits (digits, not draws), what
// chance would give on average, and the verdict.
#include <string>

#include "core/grid/Grid.h"
#include "core/prediction/Backtest.h"

namespace n4 {

Grid backtestGrid(const BacktestResult& result);

// Figures as the table shows them.
std::string formatPValue(double p);
std::string formatTenths(long long tenths);

} // namespace n4
