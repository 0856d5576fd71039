#include "core/prediction/NextDrawDate.h"

namespace n4 {

namespace {

struct Day {
    int y, m, d;
};

int daysIn(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

// 0 Sunday .. 6 Saturday (Sakamoto's method).
int weekday(const Day& day) {
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int y = day.m < 3 ? day.y - 1 : day.y;
    return (y + y / 4 - y / 100 + y / 400 + offsets[day.m - 1] + day.d) % 7;
}

void advance(Day& day) {
    if (++day.d <= daysIn(day.y, day.m)) return;
    day.d = 1;
    if (++day.m <= 12) return;
    day.m = 1;
    ++day.y;
}

bool isDrawDay(const Day& day) {
    const int w = weekday(day);
    if (w == 0 || w == 6) return false;
    return !(day.m == 12 && day.d == 31) && !(day.m == 1 && day.d <= 3);
}

} // namespace

int drawDayAfter(int yyyymmdd) {
    Day day{yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100};
    if (day.m < 1 || day.m > 12 || day.d < 1 || day.d > daysIn(day.y, day.m)) return kUnknown;
    do
        advance(day);
    while (!isDrawDay(day));
    return day.y * 10000 + day.m * 100 + day.d;
}

int nextDrawDate(const DrawTable& table) {
    if (table.size() < 2) return kUnknown;
    const DrawRecord& last = table.back();
    const DrawRecord& before = table[table.size() - 2];
    if (last.details.date == kUnknown || before.details.date == kUnknown ||
        last.drawNo != before.drawNo + 1 || drawDayAfter(before.details.date) != last.details.date)
        return kUnknown;
    return drawDayAfter(last.details.date);
}

} // namespace n4
