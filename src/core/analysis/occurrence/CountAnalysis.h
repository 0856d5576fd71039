#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {
// 出現回数分析: each draw with how often each of its digits came before it.
Grid computeCountAnalysis(const AnalysisInput& in);
} // namespace n4
