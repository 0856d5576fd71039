#pragma once
#include "data/DrawTable.h"

namespace n4bench {
constexpr int kLargestHistory = 32764;
// Deterministic pseudo-random draws numbered 1..count.
n4::DrawTable syntheticHistory(int count);
} // namespace n4bench
