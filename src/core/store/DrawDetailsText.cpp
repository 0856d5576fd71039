#include "core/store/DrawDetailsText.h"

#include "core/store/CalendarDay.h"

namespace n4 {

std::string groupedDigits(long long value) {
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string out = value < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string dateText(int yyyymmdd) {
    if (yyyymmdd == kUnknown) return {};
    const int y = yyyymmdd / 10000, m = yyyymmdd / 100 % 100, d = yyyymmdd % 100;
    static const char* const kDays[] = {"日", "月", "火", "水", "木", "金", "土"};
    return std::to_string(y) + "年" + std::to_string(m) + "月" + std::to_string(d) + "日（" +
           kDays[weekdayOf(yyyymmdd)] + "）";
}

std::string prizesText(const DrawDetails& details) {
    static const char* const kNames[] = {"ストレート", "ボックス", "セット・ストレート",
                                         "セット・ボックス"};
    bool any = false;
    std::string out;
    for (int k = 0; k < 4; ++k) {
        any = any || details.prizes[k] != kUnknown;
        out += (k ? "　" : "") + std::string(kNames[k]) + " " +
               (details.prizes[k] == kUnknown ? "―" : groupedDigits(details.prizes[k]) + "円");
    }
    return any ? out : std::string();
}

std::string incompleteDrawsText(const DrawTable& table) {
    constexpr int kNamed = 5;
    std::string named;
    int count = 0;
    for (const DrawRecord& r : table) {
        if (r.isComplete()) continue;
        if (++count > kNamed) continue;
        if (count > 1) named += "、";
        named += "第" + std::to_string(r.drawNo) + "回";
    }
    if (count == 0) return {};
    if (count > kNamed) named += "ほか " + std::to_string(count - kNamed) + " 回";
    return named + "は数字が欠けているため分析に含まれません。";
}

} // namespace n4
