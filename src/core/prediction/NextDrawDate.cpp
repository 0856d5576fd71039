#include "core/prediction/NextDrawDate.h"

#include "core/store/CalendarDay.h"

namespace n4 {

namespace {

struct Day {
    int y, m, d;
};

void advance(Day& day) {
    if (++day.d <= daysInMonth(day.y, day.m)) return;
    day.d = 1;
    if (++day.m <= 12) return;
    day.m = 1;
    ++day.y;
}

bool isDrawDay(const Day& day) {
    const int w = weekdayOf(day.y * 10000 + day.m * 100 + day.d);
    if (w == 0 || w == 6) return false;
    return !(day.m == 12 && day.d == 31) && !(day.m == 1 && day.d <= 3);
}

} // namespace

int drawDayAfter(int yyyymmdd) {
    Day day{yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100};
    if (!isCalendarDay(day.y, day.m, day.d)) return kUnknown;
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

namespace n4 {

namespace {

// The civil date of a day count since 1970-01-01 (Howard Hinnant's method).
int dateOfDays(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int y = static_cast<int>(yoe + era * 400 + (m <= 2));
    return y * 10000 + m * 100 + d;
}

} // namespace

bool newResultMayBeOut(const DrawTable& table, long long now) {
    if (table.empty() || table.back().details.date == kUnknown) return true;
    constexpr long long kJapan = 9 * 3600, kPublished = 21 * 3600, kDay = 86400;
    const long long local = now + kJapan;
    long long day = local / kDay - (local % kDay < kPublished ? 1 : 0);
    // The latest draw day whose results are out: today after 21:00, or before.
    int latestOut = dateOfDays(day);
    while (drawDayAfter(dateOfDays(day - 1)) != latestOut)
        latestOut = dateOfDays(--day);
    return table.back().details.date < latestOut;
}

} // namespace n4
