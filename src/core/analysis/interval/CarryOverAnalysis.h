#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {
// 引っ張り分析: each draw with the digits carried over from the previous draw marked.
Grid computeCarryOverAnalysis(const AnalysisInput& in);
} // namespace n4
