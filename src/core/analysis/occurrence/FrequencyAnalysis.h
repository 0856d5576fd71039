#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {
// 出現頻度分析: per digit, one "●" per appearance stacked down its column.
Grid computeFrequencyAnalysis(const AnalysisInput& in);
} // namespace n4
