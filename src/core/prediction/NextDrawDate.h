#pragma once
// The date of the next draw, where the history tells it. Since draws became
// daily (every weekday, none from 31 December to 3 January; so in the real
// history since draw 1339), the next draw falls on the next such day.
#include "core/store/DrawTable.h"

namespace n4 {

// The draw day after yyyymmdd: the next weekday outside 31 December to 3 January.
int drawDayAfter(int yyyymmdd);

// The date of the draw after the table's last, or kUnknown: it is told only
// when the last two draws are dated and follow each other by that rule (a
// history of weekly draws, or one without dates, tells nothing).
int nextDrawDate(const DrawTable& table);

} // namespace n4

namespace n4 {

// Whether the results sources may have a draw the table lacks, at now
// (seconds since the epoch): results are published at 21:00 Japan time on
// draw days, so a table whose last draw is dated on or after the latest draw
// day whose 21:00 has passed has nothing to fetch. Without dates: true.
bool newResultMayBeOut(const DrawTable& table, long long now);

} // namespace n4
