#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {
// 数字間隔分析: each draw with the signed change of each position.
Grid computeDistanceAnalysis(const AnalysisInput& in);
} // namespace n4
