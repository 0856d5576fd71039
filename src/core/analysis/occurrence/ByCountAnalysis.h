#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {
// 回数別出現分析: the digits grouped by how many times each was drawn.
Grid computeByCountAnalysis(const AnalysisInput& in);
} // namespace n4
