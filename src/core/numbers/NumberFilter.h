#pragma once
// 買い目作成: which of the 10,000 numbers pass a player's filter. The filter
// reads the digits like the analyses do (the sum of the four digits, the
// count of even digits, the count of low digits 0..4) and may look back over
// the history ("not drawn in the last N draws"); such a part is judged as of
// a draw from the draws before it only.
#include <array>
#include <bitset>
#include <string>
#include <vector>

#include "core/numbers/NumberKind.h"

namespace n4 {

struct NumberFilter {
    // The digits allowed at each position; with anyOrder, some order of the
    // number's digits must fit them (box mode).
    std::array<std::bitset<10>, 4> positions{std::bitset<10>().set(), std::bitset<10>().set(),
                                             std::bitset<10>().set(), std::bitset<10>().set()};
    bool anyOrder = false;
    int sumMin = 0, sumMax = 36;
    std::bitset<5> evenCounts = std::bitset<5>().set(); // allowed counts of even digits
    std::bitset<5> lowCounts = std::bitset<5>().set();  // allowed counts of digits 0..4
    std::bitset<kNumberTypeCount> types = std::bitset<kNumberTypeCount>().set();
    std::bitset<10> must, mustNot; // digits that must, or must not, appear
    int notDrawnInOrder = 0;       // 0: off; N: not drawn in order in the last N draws
    int notDrawnAnyOrder = 0;      // the same in any order

    // The parts that need no history.
    bool passesDigits(int number) const;
    bool looksBack() const { return notDrawnInOrder > 0 || notDrawnAnyOrder > 0; }
};

// Walks the complete draws from the first on and tells, before each, which
// numbers pass: each draw changes the state of at most 25 numbers, so a pass
// over the whole history costs little more than the draws themselves.
class FilterWalk {
  public:
    // kind: numbers that cannot be bought that way (a quad as a box) do not pass.
    FilterWalk(const NumberFilter& filter, BuyKind kind);
    bool passes(int number) const { return blockedBy_[number] == 0 && digitsPass_[number]; }
    int passingCount() const { return passing_; }
    // Takes in one complete draw's number: from now on it is history.
    void add(int drawn);

  private:
    void block(int number, int change);

    NumberFilter filter_;
    std::vector<bool> digitsPass_;
    std::vector<int> blockedBy_; // reasons a number is out for now: in order and in any order
    std::vector<int> window_;    // the draws taken in
    std::vector<int> inOrder_;   // times each number is among the last notDrawnInOrder draws
    std::vector<int> anyOrder_;  // times each key is among the last notDrawnAnyOrder draws
    int passing_ = 0;
};

// The numbers that pass after the whole table, ascending.
std::vector<int> passingNumbers(const NumberFilter& filter, const DrawTable& table,
                                BuyKind kind = BuyKind::Straight);

// For honesty beside the count: the share of all 10,000 numbers that pass,
// and the share of the history's drawn numbers that would have passed, each
// judged as of its draw. A filter that knows nothing keeps them alike.
struct FilterShares {
    int passing = 0;
    double ofAllNumbers = 0;
    int draws = 0, drawnPassed = 0;
    double ofDrawn() const { return draws ? drawnPassed / double(draws) : 0; }
};
FilterShares filterShares(const NumberFilter& filter, const DrawTable& table);

// The orders of a key's digits: every number with that digitsKey, ascending.
const std::vector<int>& ordersOfKey(int key);

} // namespace n4
