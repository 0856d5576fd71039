#include "core/prediction/PredictedDigits.h"

#include <algorithm>
#include <cstdlib>

#include "core/prediction/PredictionGrids.h"

namespace n4 {

const std::array<EliminationRow, 15> EliminationTable = {{
    {0, 1, +1},
    {0, 2, +8},
    {1, 1, 0},
    {1, 4, -7},
    {2, 4, +8},
    {2, 2, -5},
    {3, 1, +3},
    {3, 4, +1},
    {4, 4, +4},
    {4, 1, +7},
    {5, 4, +6},
    {5, 4, -9},
    {6, 1, +4},
    {7, 2, +1},
    {9, 4, +9},
}};

namespace {

constexpr int kRenpatsuTolerance = 3;
constexpr int kIppatsuTolerance = 2;
// The １発 selection ends once seven digits have been placed.
constexpr int kIppatsuCap = 7;

// Bit d set for every digit d within `tolerance` (2 or 3) of e: a table, since
// the back-test asks for it at every draw.
constexpr auto kNear = [] {
    std::array<std::array<std::uint16_t, 10>, 4> near{};
    for (int tolerance = 0; tolerance < 4; ++tolerance)
        for (int e = 0; e < 10; ++e)
            for (int d = 0; d < 10; ++d)
                if (d - e <= tolerance && e - d <= tolerance) near[tolerance][e] |= 1u << d;
    return near;
}();

// The elimination values in table order, and the distinct ones in the order
// they are shown. A row that reaches back before draw 0 has no value; without
// a complete draw there is nothing to predict from.
DigitOrder eliminationValues(const PredictionScan& scan, int n, std::array<int, 15>* all) {
    if (all) all->fill(kNoDigit);
    DigitOrder shown;
    const int latest = scan.latestDrawNo();
    if (latest == 0) return shown;
    for (int i = 0; i < 15; ++i) {
        const EliminationRow& row = EliminationTable[i];
        const int k = latest - row.drawsBack - n;
        if (k < 0) continue;
        const int value = FoldDigit(scan.digit(k, row.position) + row.offset);
        if (all) (*all)[i] = value;
        shown.add(value); // all fifteen are kept; a repeat is only not shown twice
    }
    return shown;
}

// The cycle digits lying within `tolerance` of an elimination value, placed
// in the order elimination value, cycle method, position. Whether a digit
// qualifies depends only on the digit and the value, so a digit takes its
// place at its first appearance, a repeated value places nothing new, and a
// digit placed beyond the grid's slots would not show: the walk goes over
// distinct digits only and ends when the grid is full.
void selectNearCycleDigits(const DigitOrder& values, const DigitOrder& cycle, int tolerance,
                           DigitSlots& out) {
    for (int a = 0; a < values.count && !out.full(); ++a) {
        std::uint16_t fresh = cycle.mask & kNear[tolerance][values.digits[a]] & ~out.mask;
        for (int i = 0; fresh && !out.full(); ++i) {
            const int s = cycle.digits[i];
            if (!((fresh >> s) & 1u)) continue;
            out.place(s);
            fresh &= std::uint16_t(~(1u << s));
        }
    }
}

// The same digits as a set. The digits each value adds are taken all at once
// while they fit; only the value that overflows the grid walks the cycle
// order, and nothing after it can show.
std::uint16_t nearCycleDigitSet(const DigitOrder& values, const DigitOrder& cycle, int tolerance,
                                int capacity) {
    std::uint16_t held = 0;
    for (int a = 0; a < values.count; ++a) {
        const auto next =
            static_cast<std::uint16_t>(held | (cycle.mask & kNear[tolerance][values.digits[a]]));
        if (digitCount(next) <= capacity) {
            held = next;
            continue;
        }
        const std::uint16_t fresh = next & ~held;
        int count = digitCount(held);
        for (int i = 0; i < cycle.count && count < capacity; ++i) {
            const unsigned add = (fresh >> cycle.digits[i]) & 1u;
            held |= static_cast<std::uint16_t>(add << cycle.digits[i]);
            count += add;
        }
        break;
    }
    return held;
}

const int kRenpatsuSlots = digitSlots(2);
const int kIppatsuSlots = std::min(digitSlots(3), kIppatsuCap);

} // namespace

int FoldDigit(int v) {
    return v - 9 * (v > 9) + 9 * (v <= 0);
}

void DigitSlots::place(int d) {
    if (full()) return;
    digits[count++] = static_cast<std::int8_t>(d);
    mask |= std::uint16_t(1u << d);
}

PredictedDigits predictDigits(const PredictionScan& scan, int reflectedCount) {
    PredictedDigits out;
    for (int m = 0; m < 4; ++m)
        for (int p = 1; p <= 4; ++p)
            out.cycle[m][p - 1] = scan.cycleDigit(m, p);
    out.eliminationShown.capacity = digitSlots(1);
    out.renpatsu.capacity = kRenpatsuSlots;
    out.ippatsu.capacity = kIppatsuSlots;
    const DigitOrder values = eliminationValues(scan, reflectedCount, &out.elimination);
    for (int a = 0; a < values.count; ++a)
        out.eliminationShown.place(values.digits[a]);
    const DigitOrder cycle = cycleDigitsInOrder(scan);
    selectNearCycleDigits(values, cycle, kRenpatsuTolerance, out.renpatsu);
    selectNearCycleDigits(values, cycle, kIppatsuTolerance, out.ippatsu);
    return out;
}

DigitOrder cycleDigitsInOrder(const PredictionScan& scan) {
    DigitOrder order;
    for (int m = 0; m < 4; ++m)
        for (int p = 1; p <= 4; ++p) {
            const int s = scan.cycleDigit(m, p);
            if (s == kNoDigit) break;
            order.add(s);
        }
    return order;
}

PredictedSets predictDigitSets(const PredictionScan& scan, int reflectedCount,
                               const DigitOrder& cycle) {
    const DigitOrder values = eliminationValues(scan, reflectedCount, nullptr);
    return PredictedSets{values.mask,
                         nearCycleDigitSet(values, cycle, kRenpatsuTolerance, kRenpatsuSlots),
                         nearCycleDigitSet(values, cycle, kIppatsuTolerance, kIppatsuSlots)};
}

} // namespace n4
