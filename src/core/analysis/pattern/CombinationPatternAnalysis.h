#pragma once
#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {
// 偶数奇数の組合せパターン分析: digits by parity, pattern letter from the odd count.
Grid computeEvenOddAnalysis(const AnalysisInput& in);
// 低数字高数字の組合せパターン分析: digits low (0..4) or high, letter from the low count.
Grid computeLowHighAnalysis(const AnalysisInput& in);
} // namespace n4
