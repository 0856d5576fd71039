#pragma once
// 番号検索: every draw where a number came in order and where its digits came
// in any order, how long ago each last happened, and how often chance would
// have brought it over the same draws.
#include <string>
#include <vector>

#include "core/grid/Grid.h"
#include "core/numbers/NumberKind.h"

namespace n4 {

struct NumberHit {
    int drawNo;
    int date;  // yyyymmdd or kUnknown
    int drawn; // the number drawn
    int prize; // yen a unit of that way of buying, or kUnknown
};

struct NumberLookup {
    int number = 0;
    NumberType type = NumberType::Single;
    std::vector<NumberHit> straight; // in order
    std::vector<NumberHit> box;      // in any order, the same order included
    // Complete draws since the last hit of each kind; -1 when it never came.
    int drawsSinceStraight = -1, drawsSinceBox = -1;
    int draws = 0; // complete draws looked through
    // What chance gives on average over those draws.
    double expectedStraight() const { return draws / double(kNumberCount); }
    double expectedBox() const { return draws * ordersOf(type) / double(kNumberCount); }
};

NumberLookup lookUpNumber(const DrawTable& table, int number);

// The lookup as the command line prints it: TSV (one row a hit, with its
// kind) or JSON.
std::string lookupTsv(const NumberLookup& found);
std::string lookupJson(const NumberLookup& found);
// One line of words: 「1149（ダブル・12通り）: ストレート 1 回（偶然なら平均 0.7 回）…」
std::string lookupSummary(const NumberLookup& found);

// The hits as the window lists them: 並び (ストレート / ボックス), 回, 抽せん日,
// 当選番号, 賞金; a prize the history does not give reads 不明.
Grid lookupGrid(const NumberLookup& found);

} // namespace n4
