#pragma once
// The draw history as the program reads it at start-up: every row of the draw
// database in ascending draw number, loaded once and never refreshed during a
// run. Readers walk it from its first row.

#include <array>
#include <initializer_list>
#include <vector>

namespace n4 {

constexpr int kAbsentDigit = -1;
// A stored value that is no number at all (text from a foreign file).
constexpr int kUnreadableDigit = 1 << 30;
// Draw numbers run from 1 to 99999: windows size their grids by the latest
// draw number, so a wild number from a foreign file must not size them.
constexpr int kMaxDrawNo = 99999;

// One row: the draw number "回数" and the digits "第1数字".."第4数字".
// A digit may be absent (NULL or empty text in the database).
struct DrawRecord {
    int drawNo = 0;
    std::array<int, 4> digits{kAbsentDigit, kAbsentDigit, kAbsentDigit, kAbsentDigit};

    // All four digits present and each a real digit, under a draw number in
    // range. A value outside 0..9 or a wild draw number (a damaged or foreign
    // file) makes the row incomplete rather than letting it index out of range
    // or size a grid anywhere.
    bool isComplete() const {
        if (drawNo < 1 || drawNo > kMaxDrawNo) return false;
        for (int d : digits)
            if (d < 0 || d > 9) return false;
        return true;
    }
    int digit(int position) const { return digits[position - 1]; } // 1..4
};

using DrawTable = std::vector<DrawRecord>;

// Test and tool helper: draws numbered 1, 2, 3... from digit quadruples.
DrawTable draws(std::initializer_list<std::array<int, 4>> rows);

} // namespace n4
