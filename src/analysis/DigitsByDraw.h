#pragma once
// Digits stored by draw number, and the look-back every window shares: the
// nearest earlier draw that contains a digit. A draw number that was never
// stored (a gap, or an incomplete draw) reads as four zeros, so a 0 finds such
// a gap. Draws are stored in ascending draw number, as the table delivers them.

#include <array>
#include <cstdint>
#include <vector>

namespace n4 {

class DigitsByDraw {
  public:
    void reserve(std::size_t draws) { entries_.reserve(draws); }
    // Draws must arrive in ascending number; an out-of-order one is ignored.
    void store(int drawNo, const std::array<int, 4>& digits);
    // The digit of position 1..4 of draw k; 0 when never stored.
    int digit(int drawNo, int position) const;
    // The nearest draw number k < r, k >= 1, whose four digits contain d;
    // 0 when there is none.
    int lastDrawWith(int r, int d) const;

  private:
    struct Entry {
        int drawNo;
        std::array<std::int8_t, 4> digits;
    };
    // Index of the last entry with drawNo < r, or -1.
    long lastIndexBefore(int r) const;
    std::vector<Entry> entries_;
};

} // namespace n4
