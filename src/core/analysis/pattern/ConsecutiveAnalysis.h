#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {
// 連番飛び石分析: neighbouring positions one apart (連番) or two apart (飛び石).
Grid computeConsecutiveAnalysis(const AnalysisInput& in);
} // namespace n4
