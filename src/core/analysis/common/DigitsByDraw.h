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
    // What the look-back needs of the draws stored so far, kept as they are
    // stored: for each digit the latest draw (numbered 1 or more) holding it,
    // and the latest number from 1 up that was never stored (a gap, which
    // reads as zeros). Every window asks about the draw it has just stored,
    // in ascending order, so the answer is then at hand instead of a walk.
    struct Latest {
        std::array<int, 10> withDigit{};
        int gap = 0;
        int top = 0; // the highest number stored, or 0
    };
    // The answer of lastDrawWith from what every draw below r left in latest.
    static int fromLatest(const Latest& latest, int r, int d);
    // Index of the last entry with drawNo < r, or -1.
    long lastIndexBefore(int r) const;
    std::vector<Entry> entries_;
    Latest latest_;     // every draw stored
    Latest beforeLast_; // every draw but the last one stored
};

} // namespace n4
