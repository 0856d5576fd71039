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

// What a results source also tells of a draw: its date and the prizes in yen
// per unit of ストレート, ボックス, セット・ストレート and セット・ボックス. Each
// is unknown (kUnknown) where it was never given, or where a prize does not
// apply (a quad's box and set prizes).
constexpr int kUnknown = -1;
enum PrizeKind { kStraight, kBox, kSetStraight, kSetBox };
struct DrawDetails {
    int date = kUnknown; // yyyymmdd
    std::array<int, 4> prizes{kUnknown, kUnknown, kUnknown, kUnknown};

    bool anyKnown() const {
        if (date != kUnknown) return true;
        for (int p : prizes)
            if (p != kUnknown) return true;
        return false;
    }
    // These details with every value the other knows put over them.
    DrawDetails updatedBy(const DrawDetails& other) const {
        DrawDetails d = *this;
        if (other.date != kUnknown) d.date = other.date;
        for (int k = 0; k < 4; ++k)
            if (other.prizes[k] != kUnknown) d.prizes[k] = other.prizes[k];
        return d;
    }
    bool operator==(const DrawDetails& o) const { return date == o.date && prizes == o.prizes; }
    bool operator!=(const DrawDetails& o) const { return !(*this == o); }
};

// One row: the draw number "回数" and the digits "第1数字".."第4数字", with
// the draw's details where they are known. A digit may be absent (NULL or
// empty text in the database).
struct DrawRecord {
    int drawNo = 0;
    std::array<int, 4> digits{kAbsentDigit, kAbsentDigit, kAbsentDigit, kAbsentDigit};
    DrawDetails details;

    DrawRecord() = default;
    DrawRecord(int no, const std::array<int, 4>& d, const DrawDetails& more = {})
        : drawNo(no), digits(d), details(more) {}

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
