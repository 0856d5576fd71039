#pragma once
// 購入していたら: one unit of every number the filter passes, bought one way
// on every draw of a range, the filter judged as of each draw from the draws
// before it; with the real prizes of each draw. Beside it the same for all
// 10,000 numbers, which is the game's own return.
#include <array>
#include <atomic>
#include <string>
#include <vector>

#include "core/numbers/NumberFilter.h"

namespace n4 {

struct BoughtFigures {
    int draws = 0;                   // draws bought on
    long long spent = 0;             // yen
    long long won = 0;               // yen, of the prizes known
    int unknownPrizes = 0;           // hits whose prize the history does not give (not in won)
    std::array<int, 5> hits{};       // by Hit: none (unused), straight, box, set-straight, set-box
    std::vector<int> drawNos;        // each draw bought on
    std::vector<long long> balances; // won - spent after each of them
    long long balance() const { return won - spent; }
    double returnRate() const { return spent ? double(won) / double(spent) : 0; }
};

struct IfBoughtResult {
    int numbersNow = 0; // numbers passing after the last draw of the range
    BoughtFigures filtered, all;
    bool cancelled = false;
};

// fromDrawNo..toDrawNo (0: no bound). stop, when set, ends the pass early.
IfBoughtResult ifBought(const NumberFilter& filter, const DrawTable& table, BuyKind kind,
                        int fromDrawNo = 0, int toDrawNo = 0,
                        const std::atomic<bool>* stop = nullptr);

// The figures as the command line prints them.
std::string ifBoughtTsv(const IfBoughtResult& result);
std::string ifBoughtJson(const IfBoughtResult& result);

} // namespace n4
