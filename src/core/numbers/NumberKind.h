#pragma once
// Four-digit numbers as a player buys them (0000..9999): the type by the
// digits that repeat, the ways of buying, and what one unit of a number wins
// against a drawn number.
#include <array>
#include <string>

#include "core/store/DrawTable.h"

namespace n4 {

constexpr int kNumberCount = 10000;
constexpr int kTicketPrice = 200; // yen a unit, whichever way it is bought

enum class NumberType { Single, Double, DoubleDouble, Triple, Quad };
constexpr int kNumberTypeCount = 5;

enum class BuyKind { Straight, Box, Set };

// What one unit wins: in order or in another order, and for a set which half.
enum class Hit { None, Straight, Box, SetStraight, SetBox };

std::array<int, 4> digitsOf(int number); // 1234 -> {1, 2, 3, 4}
// -1 where a digit is not 0..9 (an incomplete draw).
int numberOf(const std::array<int, 4>& digits);
// The digits sorted into one number: every order of them has the same key.
int digitsKey(int number);
// "0042"
std::string fourDigits(int number);

NumberType typeOf(int number);
int ordersOf(NumberType type); // 24, 12, 6, 4, 1
const char* typeName(NumberType type);
const char* buyKindName(BuyKind kind);

// "ストレート", "ボックス" or "セット", or the English words (straight, box,
// set) as scripts write them, spaces around allowed; false for anything else.
bool parseBuyKind(const std::string& text, BuyKind& kind);

// A quad has one order and is sold as ストレート only.
bool canBuy(int number, BuyKind kind);

// The digit at text[at], half- or full-width (０..９), with its length in
// bytes; -1 when there is none.
int digitAt(const std::string& text, size_t at, size_t& length);

// A number as the user types it: four digits, full-width ones too, spaces
// around them allowed. -1 with a hint in Japanese otherwise.
int parseNumber(const std::string& text, std::string& hint);

Hit hitOf(int number, BuyKind kind, int drawn);
// The prize of one unit for that hit in that draw: 0 for no hit, kUnknown
// where the history does not give it.
int prizeOf(Hit hit, const DrawDetails& details);

} // namespace n4
