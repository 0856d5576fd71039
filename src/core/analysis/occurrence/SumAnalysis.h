#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {
// 数字合計分析: each draw with the sum of its four digits.
Grid computeSumAnalysis(const AnalysisInput& in);
} // namespace n4
