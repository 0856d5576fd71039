#pragma once
// The digits of the four methods for the next draw, computed from a scan
// state and the number of reflected options, before anything is written into
// a grid. Each selection keeps only what its grid has room to show, in the
// order the grid shows it. The back-test reads the same selections as sets.

#include <array>
#include <cstdint>

#include "core/prediction/PredictionScan.h"

namespace n4 {

struct EliminationRow {
    int drawsBack, position, offset;
};
extern const std::array<EliminationRow, 15> EliminationTable;

// Folds by nines: above 9 subtract 9, 0 or below add 9.
int FoldDigit(int v);

// How many digits a set holds (bit d for digit d).
inline constexpr auto kDigitCountTable = [] {
    std::array<std::uint8_t, 1024> count{};
    for (int bits = 1; bits < 1024; ++bits)
        count[bits] = static_cast<std::uint8_t>(count[bits >> 1] + (bits & 1));
    return count;
}();
inline int digitCount(std::uint16_t set) {
    return kDigitCountTable[set & 1023u];
}

// Distinct digits in the order of their first appearance.
struct DigitOrder {
    std::array<std::int8_t, 16> digits{};
    int count = 0;
    std::uint16_t mask = 0; // bit d set for every digit d held

    // Without a branch: the digits change from draw to draw, unforeseeably.
    void add(int d) {
        digits[count] = static_cast<std::int8_t>(d);
        count += !((mask >> d) & 1u);
        mask |= static_cast<std::uint16_t>(1u << d);
    }
};

// Digits in the order they take the grid's slots; at most `capacity`.
struct DigitSlots {
    std::array<std::int8_t, 12> digits{};
    int count = 0;
    int capacity = 0;
    std::uint16_t mask = 0; // bit d set when d is shown

    bool full() const { return count >= capacity; }
    bool holds(int d) const { return (mask >> d) & 1u; }
    void place(int d);
};

struct PredictedDigits {
    // m 0..3, position index 0..3; kNoDigit where the method has no digit.
    std::array<std::array<int, 4>, 4> cycle;
    // The fifteen values in table order; kNoDigit for a row that reaches
    // back before draw 0.
    std::array<int, 15> elimination;
    DigitSlots eliminationShown, renpatsu, ippatsu;
};

PredictedDigits predictDigits(const PredictionScan& scan, int reflectedCount);

// The cycle digits that 連発 and １発 choose from, distinct, in the order
// cycle method, position: a method whose position is empty contributes
// nothing from that position on. They change only when a cycle digit does.
DigitOrder cycleDigitsInOrder(const PredictionScan& scan);

// The digits the elimination, 連発 and １発 grids show, as sets (bit d for
// digit d) without their order: the same digits as predictDigits gives, for
// the back-test, which replays the prediction before every draw. `cycle` is
// cycleDigitsInOrder(scan), which the back-test keeps from draw to draw.
struct PredictedSets {
    std::uint16_t elimination = 0, renpatsu = 0, ippatsu = 0;
};
PredictedSets predictDigitSets(const PredictionScan& scan, int reflectedCount,
                               const DigitOrder& cycle);

} // namespace n4
