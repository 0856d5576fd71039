#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {
// バラツキ分析: a dot chart of the digits of every draw.
Grid computeDispersionAnalysis(const AnalysisInput& in);
} // namespace n4
