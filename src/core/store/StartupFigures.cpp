#include "core/store/StartupFigures.h"

#include <algorithm>

namespace n4 {

namespace {

void tallyCompleteDraws(const DrawTable& table, StartupFigures& f) {
    for (const DrawRecord& row : table) {
        if (!row.isComplete()) continue;
        for (int d : row.digits)
            ++f.digitTally[d];
        f.latestDrawNo = row.drawNo;
    }
}

void groupByCount(StartupFigures& f) {
    f.maxDigitCount = *std::max_element(f.digitTally.begin(), f.digitTally.end());
    f.digitsByCount.assign(static_cast<std::size_t>(f.maxDigitCount) + 1, std::string());
    f.countClassRows = 1;
    for (int d = 0; d <= 9; ++d) {
        const int c = f.digitTally[d];
        std::string& entry = f.digitsByCount[c];
        if (!entry.empty()) {
            entry += ',';
            entry += static_cast<char>('0' + d);
        } else {
            entry = std::string(1, static_cast<char>('0' + d));
            ++f.countClassRows;
        }
    }
}

} // namespace

StartupFigures computeStartupFigures(const DrawTable& table) {
    StartupFigures f;
    // An empty history builds no grouping at all.
    if (table.empty()) return f;
    tallyCompleteDraws(table, f);
    groupByCount(f);
    return f;
}

} // namespace n4
