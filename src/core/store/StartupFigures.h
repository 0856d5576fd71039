#pragma once
// The figures computed once at start-up from the draw table: the latest
// complete draw number, how often each digit was drawn, and the digits grouped
// by that count.

#include <array>
#include <string>
#include <vector>

#include "core/store/DrawTable.h"

namespace n4 {

struct StartupFigures {
    int latestDrawNo = 0;
    std::array<int, 10> digitTally{};
    // Entry k lists the digits drawn exactly k times, ascending, as "3,7".
    std::vector<std::string> digitsByCount;
    int maxDigitCount = 0;
    int countClassRows = 0;
};

StartupFigures computeStartupFigures(const DrawTable& table);

} // namespace n4
