#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/analysis/division/DivisionScheme.h"
#include "core/grid/Grid.h"

namespace n4 {
// 分割3/5/10データ分析: a chart of every draw, per position a block of ten
// digit columns banded by the scheme's groups, "●" on the drawn digit.
Grid computeDivisionAnalysis(const AnalysisInput& in, const DivisionScheme& scheme);
Grid computeDivision3Analysis(const AnalysisInput& in);
Grid computeDivision5Analysis(const AnalysisInput& in);
Grid computeDivision10Analysis(const AnalysisInput& in);
} // namespace n4
