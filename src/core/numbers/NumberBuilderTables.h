#pragma once
// What the 買い目作成 window shows, as grids and sentences: the passing
// numbers in the order the user picks, the count beside its two shares, the
// cost of buying them, and the 購入していたら figures beside those of all
// 10,000 numbers.
#include <string>
#include <vector>

#include "core/grid/Grid.h"
#include "core/numbers/IfBought.h"

namespace n4 {

enum class NumberListOrder { Number, SumAscending, SumDescending, Type };
constexpr int kNumberListOrders = 4;
const char* numberListOrderName(NumberListOrder order);
// Ties keep the numbers ascending.
std::vector<int> sortedNumbers(std::vector<int> numbers, NumberListOrder order);

// A title row, then one row a number: 番号, タイプ, 合計, 偶数の数, 低数字の数.
Grid numberListGrid(const std::vector<int>& numbers);
// The same columns as CSV (UTF-8 with a byte-order mark, so that a spreadsheet
// reads the Japanese titles), numbers kept as four digits.
std::string numberListCsv(const std::vector<int>& numbers);

std::string groupedNumber(long long value); // 1234567 -> "1,234,567"
// 「条件に合う番号: 1,234 通り（全 10,000 通りの 12.3 %）・過去の当選番号のうち 11.9 % が…」
std::string passingCountText(int passing, const FilterShares& shares);
// 「購入額: 246,800 円（ストレート 1 口 × 1,234 通り）」
std::string purchaseCostText(int passing, BuyKind kind, int units);

// Two columns, the filter's numbers and all 10,000: draws, spent, won,
// balance, return rate and hits by kind down the rows.
Grid ifBoughtGrid(const IfBoughtResult& result);
std::string ifBoughtSummary(const IfBoughtResult& result, BuyKind kind);
// 「賞金不明の当せん N 件は合計に含まれません…」; empty when every prize is known.
std::string unknownPrizesText(const IfBoughtResult& result);

} // namespace n4
