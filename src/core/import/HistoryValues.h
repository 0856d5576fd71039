#pragma once
// What every history reader shares: how a column is recognised by its name,
// how a cell is read as a draw number, a digit or a four-digit winning
// number, and how the rows read are put in order and checked for draws that
// appear twice.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/import/HistoryImport.h"

namespace n4 {

// Full-width ASCII (Ｄ１, １２３４) folded to ASCII, the ideographic space to a
// space, spaces and tabs at both ends removed.
std::string foldWidth(std::string_view text);

enum class ColumnRole {
    None,
    Draw,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Number,
    Date,
    Straight, // the prizes, in PrizeKind order
    Box,
    SetStraight,
    SetBox
};
inline int prizeKind(ColumnRole role) { // kStraight..kSetBox, or -1
    return role >= ColumnRole::Straight && role <= ColumnRole::SetBox
               ? static_cast<int>(role) - static_cast<int>(ColumnRole::Straight)
               : -1;
}

// A column (or JSON key) by its name: 回/回号/開催回/draw/round/no... for the
// draw, 第1数字/d1/digit1/n1... for one digit, 当せん番号/winning_number/
// numbers... for the four digits written as one number. Case and width do
// not matter.
ColumnRole columnRole(std::string_view name);
inline int digitPosition(ColumnRole role) { // 0..3, or -1
    return role >= ColumnRole::Digit1 && role <= ColumnRole::Digit4
               ? static_cast<int>(role) - static_cast<int>(ColumnRole::Digit1)
               : -1;
}

enum class CellRead { Ok, Empty, Bad };

// A draw's date: 2026-08-21, 2026/08/21, 2026年8月21日 (full-width too), as
// yyyymmdd; a day that does not exist is Bad.
CellRead readDate(std::string_view cell, int& yyyymmdd);
// A prize in yen: 2128400, 2,128,400 or 2128400円; empty, "-" or "null" is
// Empty (no prize given, or none that applies).
CellRead readPrize(std::string_view cell, int& yen);
// Reads a date or prize cell into the record's details; false with error
// (in Japanese) when the cell is neither empty nor a date or an amount.
bool readDetailCell(ColumnRole role, std::string_view cell, DrawDetails& details,
                    std::string& error);

// 1234, 0002, 第1234回, 1234回, full-width digits; 1..kMaxDrawNo.
CellRead readDrawNo(std::string_view cell, int& drawNo);
// One digit 0..9 (full-width too).
CellRead readDigit(std::string_view cell, int& digit);
// The four digits as one number, 1412 or 0002; a spreadsheet that dropped
// the leading zeros (97 for 0097) is read as the number it was.
CellRead readWinningNumber(std::string_view cell, std::array<int, 4>& digits);

// "12行目: " + what
std::string atLine(int line, const std::string& what);
// A cell's text for a message: in 「」, cut short when long.
std::string quoted(std::string_view cell);
// 1234, or with a ・ where a digit is absent (12・4).
std::string digitsText(const std::array<int, 4>& digits);

// One draw as read, with the line it came from.
struct LineRecord {
    DrawRecord record;
    int line = 0;
};

// Puts the rows in draw order into result.rows. A draw given twice with the
// same digits is kept once; given with two different results it is refused,
// naming both lines. False (with result.message) when refused or empty.
bool collectDraws(std::vector<LineRecord>& rows, ImportResult& result);

} // namespace n4
