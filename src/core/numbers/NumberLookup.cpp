#include "core/numbers/NumberLookup.h"

#include <cstdio>

#include "core/grid/Palette.h"
#include "core/store/DrawDetailsText.h"

namespace n4 {

namespace {

std::string isoDate(int date) {
    if (date == kUnknown) return {};
    char s[16];
    std::snprintf(s, sizeof s, "%04d-%02d-%02d", date / 10000, date / 100 % 100, date % 100);
    return s;
}

std::string jsonValue(int value) {
    return value == kUnknown ? "null" : std::to_string(value);
}

std::string jsonHits(const std::vector<NumberHit>& hits, bool withDrawn) {
    std::string s = "[";
    for (size_t i = 0; i < hits.size(); ++i) {
        const NumberHit& h = hits[i];
        s += (i ? "," : "") + std::string("{\"draw\":") + std::to_string(h.drawNo) +
             ",\"date\":" + (h.date == kUnknown ? "null" : "\"" + isoDate(h.date) + "\"");
        if (withDrawn) s += ",\"drawn\":\"" + fourDigits(h.drawn) + "\"";
        s += ",\"prize\":" + jsonValue(h.prize) + "}";
    }
    return s + "]";
}

std::string oneDecimal(double value) {
    char s[32];
    std::snprintf(s, sizeof s, "%.1f", value);
    return s;
}

} // namespace

NumberLookup lookUpNumber(const DrawTable& table, int number) {
    NumberLookup found;
    found.number = number;
    found.type = typeOf(number);
    const int key = digitsKey(number);
    for (const DrawRecord& r : table) {
        if (!r.isComplete()) continue;
        const int drawn = numberOf(r.digits);
        ++found.draws;
        if (found.drawsSinceStraight >= 0) ++found.drawsSinceStraight;
        if (found.drawsSinceBox >= 0) ++found.drawsSinceBox;
        if (digitsKey(drawn) != key) continue;
        // A quad is sold as ストレート only: its box prize does not exist.
        const int boxPrize = canBuy(number, BuyKind::Box) ? r.details.prizes[kBox] : kUnknown;
        found.box.push_back({r.drawNo, r.details.date, drawn, boxPrize});
        found.drawsSinceBox = 0;
        if (drawn == number) {
            found.straight.push_back(
                {r.drawNo, r.details.date, drawn, r.details.prizes[kStraight]});
            found.drawsSinceStraight = 0;
        }
    }
    return found;
}

std::string lookupTsv(const NumberLookup& found) {
    std::string s = "種類\t回\t抽せん日\t当選番号\t賞金\n";
    auto rows = [&s](const char* kind, const std::vector<NumberHit>& hits) {
        for (const NumberHit& h : hits)
            s += std::string(kind) + "\t" + std::to_string(h.drawNo) + "\t" + isoDate(h.date) +
                 "\t" + fourDigits(h.drawn) + "\t" +
                 (h.prize == kUnknown ? "" : std::to_string(h.prize)) + "\n";
    };
    rows("ストレート", found.straight);
    rows("ボックス", found.box);
    return s;
}

std::string lookupJson(const NumberLookup& found) {
    return "{\"number\":\"" + fourDigits(found.number) + "\",\"type\":\"" + typeName(found.type) +
           "\",\"orders\":" + std::to_string(ordersOf(found.type)) +
           ",\"draws\":" + std::to_string(found.draws) +
           ",\"straight\":" + jsonHits(found.straight, false) +
           ",\"box\":" + jsonHits(found.box, true) +
           ",\"draws_since_straight\":" + jsonValue(found.drawsSinceStraight) +
           ",\"draws_since_box\":" + jsonValue(found.drawsSinceBox) +
           ",\"expected_straight\":" + oneDecimal(found.expectedStraight()) +
           ",\"expected_box\":" + oneDecimal(found.expectedBox()) + "}\n";
}

std::string lookupSummary(const NumberLookup& found) {
    auto since = [](int n) {
        return n < 0 ? std::string("一度も出ていません")
                     : "最後に出てから " + std::to_string(n) + " 回";
    };
    return fourDigits(found.number) + "（" + typeName(found.type) + "・" +
           std::to_string(ordersOf(found.type)) + "通り）: 全 " + std::to_string(found.draws) +
           " 回のうち、そのままの並びで " + std::to_string(found.straight.size()) +
           " 回（偶然なら平均 " + oneDecimal(found.expectedStraight()) + " 回、" +
           since(found.drawsSinceStraight) + "）、並びを問わず " +
           std::to_string(found.box.size()) + " 回（偶然なら平均 " +
           oneDecimal(found.expectedBox()) + " 回、" + since(found.drawsSinceBox) + "）。";
}

Grid lookupGrid(const NumberLookup& found) {
    static const char* const kHeaders[] = {"並び", "回", "抽せん日", "当選番号", "賞金（円）"};
    static const double kWidths[] = {10, 7, 11, 9, 11};
    constexpr int kColumns = 5;
    const int rows = 1 + static_cast<int>(found.straight.size() + found.box.size());
    Grid g;
    g.resize(kColumns, rows);
    g.setVisible(kColumns, rows);
    g.setRowHeight(-1, 14);
    for (int c = 1; c <= kColumns; ++c) {
        g.setColWidth(c, kWidths[c - 1]);
        g.setText(c, 1, kHeaders[c - 1]);
    }
    g.setBorder({1, 1, kColumns, rows}, BorderAll);
    g.setBackground({1, 1, kColumns, 1}, palette::HeaderPink);
    g.setForeground({1, 1, kColumns, 1}, palette::Blue);
    int row = 1;
    auto write = [&g, &row](const char* kind, const std::vector<NumberHit>& hits, bool sold) {
        for (const NumberHit& h : hits) {
            ++row;
            g.setText(1, row, kind);
            g.setNumber(2, row, h.drawNo);
            g.setText(3, row, h.date == kUnknown ? "" : isoDate(h.date));
            g.setText(4, row, fourDigits(h.drawn));
            g.setText(5, row,
                      !sold                 ? "（販売なし）"
                      : h.prize == kUnknown ? "不明"
                                            : groupedDigits(h.prize));
        }
    };
    write("ストレート", found.straight, true);
    write("ボックス", found.box, canBuy(found.number, BuyKind::Box));
    return g;
}

} // namespace n4
