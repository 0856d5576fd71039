#include "core/numbers/IfBought.h"

#include <cstdio>

namespace n4 {

namespace {

// Adds one draw's purchase of the passing numbers to the figures.
void buy(BoughtFigures& f, const FilterWalk& walk, BuyKind kind, const DrawRecord& draw,
         int drawn) {
    f.spent += static_cast<long long>(walk.passingCount()) * kTicketPrice;
    // Only the orders of the drawn digits can win anything.
    for (int n : ordersOfKey(digitsKey(drawn))) {
        if (!walk.passes(n)) continue;
        const Hit hit = hitOf(n, kind, drawn);
        if (hit == Hit::None) continue;
        ++f.hits[static_cast<size_t>(hit)];
        const int prize = prizeOf(hit, draw.details);
        if (prize == kUnknown)
            ++f.unknownPrizes;
        else
            f.won += prize;
    }
    ++f.draws;
    f.drawNos.push_back(draw.drawNo);
    f.balances.push_back(f.balance());
}

std::string rate(double r) {
    char s[32];
    std::snprintf(s, sizeof s, "%.4f", r);
    return s;
}

std::string figuresJson(const BoughtFigures& f) {
    return "\"spent\":" + std::to_string(f.spent) + ",\"won\":" + std::to_string(f.won) +
           ",\"return\":" + rate(f.returnRate()) +
           ",\"unknown_prizes\":" + std::to_string(f.unknownPrizes);
}

} // namespace

IfBoughtResult ifBought(const NumberFilter& filter, const DrawTable& table, BuyKind kind,
                        int fromDrawNo, int toDrawNo, const std::atomic<bool>* stop) {
    IfBoughtResult result;
    FilterWalk chosen(filter, kind), every(NumberFilter{}, kind);
    for (const DrawRecord& r : table) {
        if (toDrawNo > 0 && r.drawNo > toDrawNo) break;
        if (!r.isComplete()) continue;
        if (stop && stop->load(std::memory_order_relaxed)) {
            result.cancelled = true;
            break;
        }
        const int drawn = numberOf(r.digits);
        if (r.drawNo >= fromDrawNo) {
            buy(result.filtered, chosen, kind, r, drawn);
            buy(result.all, every, kind, r, drawn);
        }
        chosen.add(drawn);
    }
    result.numbersNow = chosen.passingCount();
    return result;
}

std::string ifBoughtTsv(const IfBoughtResult& r) {
    std::string s = "対象\t買った回\t購入額\t当せん金\t収支\t還元率\t賞金不明の当せん\n";
    auto row = [&s](const char* name, const BoughtFigures& f) {
        s += std::string(name) + "\t" + std::to_string(f.draws) + "\t" + std::to_string(f.spent) +
             "\t" + std::to_string(f.won) + "\t" + std::to_string(f.balance()) + "\t" +
             rate(f.returnRate()) + "\t" + std::to_string(f.unknownPrizes) + "\n";
    };
    row("条件に合う番号", r.filtered);
    row("全10000番号", r.all);
    return s;
}

std::string ifBoughtJson(const IfBoughtResult& r) {
    return "{\"numbers\":" + std::to_string(r.numbersNow) +
           ",\"draws\":" + std::to_string(r.filtered.draws) + "," + figuresJson(r.filtered) +
           ",\"hits\":{\"straight\":" + std::to_string(r.filtered.hits[1]) +
           ",\"box\":" + std::to_string(r.filtered.hits[2]) +
           ",\"set_straight\":" + std::to_string(r.filtered.hits[3]) +
           ",\"set_box\":" + std::to_string(r.filtered.hits[4]) + "}" + ",\"all_numbers\":{" +
           figuresJson(r.all) + "}}\n";
}

} // namespace n4
