#pragma once
// One method's cumulative hits minus chance over the draws, with chance's
// ±2σ band, as an inline SVG picture for the back-test page.
#include <string>

#include "core/prediction/Backtest.h"

namespace n4 {

std::string excessChartSvg(const BacktestResult& result, int method);

} // namespace n4
