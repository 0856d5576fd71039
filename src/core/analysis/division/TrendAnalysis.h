#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {
// 分割5傾向分析: each draw's digits coloured by five two-digit groups, with counts.
Grid computeTrendAnalysis(const AnalysisInput& in);
} // namespace n4
