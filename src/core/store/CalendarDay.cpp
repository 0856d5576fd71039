#include "core/store/CalendarDay.h"

namespace n4 {

int daysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool isCalendarDay(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

int weekdayOf(int yyyymmdd) {
    // Sakamoto's method.
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int m = yyyymmdd / 100 % 100, d = yyyymmdd % 100;
    const int y = yyyymmdd / 10000 - (m < 3 ? 1 : 0);
    return (y + y / 4 - y / 100 + y / 400 + offsets[m - 1] + d) % 7;
}

} // namespace n4
