#include "core/grid/DrawRows.h"

#include <algorithm>

namespace n4 {

void DrawRows::add(int drawNo, int row) {
    if (!rows_.empty() && drawNo <= rows_.back().first) return;
    rows_.emplace_back(drawNo, std::max(0, row));
}

int DrawRows::rowOf(int drawNo) const {
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), std::make_pair(drawNo, 0));
    return at != rows_.end() && at->first == drawNo ? at->second : -1;
}

int DrawRows::firstShownRow() const {
    const auto shown =
        std::find_if(rows_.begin(), rows_.end(), [](auto& r) { return r.second > 0; });
    return shown == rows_.end() ? 0 : shown->second;
}

int DrawRows::lastShownRow() const {
    const auto shown =
        std::find_if(rows_.rbegin(), rows_.rend(), [](auto& r) { return r.second > 0; });
    return shown == rows_.rend() ? 0 : shown->second;
}

} // namespace n4
