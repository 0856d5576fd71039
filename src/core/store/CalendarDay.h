#pragma once
// Days of the calendar as draws are dated: yyyymmdd in an int.

namespace n4 {

int daysInMonth(int year, int month);
bool isCalendarDay(int year, int month, int day);
// 0 Sunday .. 6 Saturday.
int weekdayOf(int yyyymmdd);

} // namespace n4
