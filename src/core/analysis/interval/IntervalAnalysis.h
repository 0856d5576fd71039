#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {
// 出現間隔分析: each draw with, per digit, how many draws ago it last came.
Grid computeIntervalAnalysis(const AnalysisInput& in);
} // namespace n4
