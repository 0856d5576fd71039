#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "TestSupport.h"
#include "core/prediction/PredictionEngine.h"
#include "core/store/StartupFigures.h"

using namespace n4;

namespace {

// Draws 1..100 with the worked example's draws in place; the rest 5-5-5-5.
DrawTable workedExample(bool withExtraDraws) {
    DrawTable t;
    for (int no = 1; no <= 100; ++no)
        t.push_back(DrawRecord{no, {5, 5, 5, 5}});
    auto set = [&](int no, std::array<int, 4> d) { t[no - 1].digits = d; };
    set(100, {1, 2, 3, 4});
    set(99, {5, 6, 7, 8});
    set(98, {9, 0, 1, 2});
    set(97, {3, 4, 5, 6});
    set(96, {7, 8, 9, 0});
    set(95, {1, 1, 1, 1});
    set(94, {2, 2, 2, 2});
    set(93, {3, 3, 3, 3});
    set(91, {4, 4, 4, 4});
    if (withExtraDraws) {
        set(92, {5, 5, 5, 5});
        set(90, {6, 6, 6, 6});
        set(89, {7, 7, 7, 7});
    }
    return t;
}

std::vector<int> eliminationValues(const PredictionEngine& e) {
    std::vector<int> v;
    for (int i = 0; i < 15; ++i)
        v.push_back(e.eliminationDigit(i));
    return v;
}

// The digits of a result grid in placement order (four a row from column 2).
std::string shown(const Grid& g) {
    std::string s;
    for (int row = 2; row <= g.maxRows(); ++row)
        for (int col = 2; col <= 5; ++col)
            s += g.text(col, row);
    return s;
}

// Draw 1 and draw 8 as given, draws 2..7 all ones: a digit of draw 8 last
// seen in draw 1 comes back after exactly 7 draws.
DrawTable sevenDrawsApart(std::array<int, 4> first, std::array<int, 4> eighth) {
    DrawTable t{DrawRecord{1, first}};
    for (int no = 2; no <= 7; ++no)
        t.push_back(DrawRecord{no, {1, 1, 1, 1}});
    t.push_back(DrawRecord{8, eighth});
    return t;
}

// Twenty draws each, in which 5 is the 7-draw method's first cycle digit (5
// drawn only in draws 1 and 8, the second time in position 1) and the
// elimination values lie either exactly at a tolerance's edge from 5 or far
// from every cycle digit that counts.
DrawTable edgeAtThreeBothSides() { // values 2 and 8, the rest 0, 1, 9
    return draws({
        {1, 0, 1, 5}, {2, 2, 9, 3}, {4, 6, 9, 4}, {6, 6, 6, 1}, {4, 3, 8, 2},
        {9, 1, 6, 0}, {7, 1, 7, 2}, {5, 6, 1, 7}, {1, 9, 3, 1}, {4, 6, 4, 9},
        {1, 8, 4, 0}, {0, 4, 0, 0}, {1, 8, 1, 0}, {4, 3, 7, 2}, {1, 8, 2, 2},
        {2, 1, 7, 6}, {8, 4, 9, 7}, {8, 6, 1, 1}, {2, 0, 0, 0}, {7, 9, 6, 8},
    });
}
DrawTable edgeAtTwoBelow() { // value 3, the rest 0, 1, 2, 8, 9
    return draws({
        {2, 1, 5, 8}, {9, 9, 7, 0}, {7, 3, 7, 8}, {3, 8, 6, 6}, {7, 8, 9, 2},
        {9, 2, 2, 3}, {1, 3, 3, 8}, {5, 1, 7, 9}, {4, 9, 2, 9}, {8, 8, 9, 6},
        {3, 0, 9, 8}, {6, 7, 2, 8}, {0, 0, 4, 0}, {6, 1, 3, 9}, {2, 1, 2, 2},
        {4, 9, 2, 4}, {0, 8, 2, 0}, {7, 8, 6, 0}, {8, 8, 4, 6}, {8, 3, 6, 4},
    });
}
DrawTable edgeAtTwoAbove() { // value 7, the rest 0, 1, 2, 8, 9
    return draws({
        {5, 2, 7, 3}, {3, 3, 8, 9}, {7, 3, 8, 0}, {9, 7, 4, 2}, {8, 7, 8, 3},
        {9, 3, 4, 2}, {6, 3, 9, 6}, {5, 8, 3, 9}, {7, 1, 4, 2}, {8, 6, 0, 1},
        {3, 7, 4, 7}, {9, 1, 6, 2}, {7, 1, 1, 4}, {3, 8, 6, 4}, {4, 4, 6, 2},
        {0, 7, 9, 7}, {7, 3, 3, 1}, {9, 4, 4, 0}, {8, 4, 4, 9}, {1, 0, 0, 4},
    });
}

} // namespace

TEST(FoldDigit, FoldsByNines) {
    EXPECT_EQ(FoldDigit(10), 1);
    EXPECT_EQ(FoldDigit(18), 9);
    EXPECT_EQ(FoldDigit(9), 9);
    EXPECT_EQ(FoldDigit(0), 9);
    EXPECT_EQ(FoldDigit(-7), 2);
    EXPECT_EQ(FoldDigit(-9), 0);
    EXPECT_EQ(FoldDigit(-5), 4);
}

TEST(PredictByElimination, WorkedExampleWithoutOptions) {
    PredictionEngine e;
    e.ScanDraws(workedExample(false), 100, 0);
    EXPECT_EQ(eliminationValues(e),
              (std::vector<int>{2, 1, 5, 1, 1, 4, 6, 7, 4, 5, 7, 1, 6, 4, 4}));
    EXPECT_EQ(shown(e.eliminationGrid()), "215467");
    EXPECT_EQ(e.eliminationGrid().text(1, 3), "消去法");
}

TEST(PredictByElimination, EachOptionReadsOneDrawFurtherBack) {
    PredictionEngine e;
    e.ScanDraws(workedExample(true), 100, 1);
    EXPECT_EQ(eliminationValues(e),
              (std::vector<int>{6, 5, 9, 4, 5, 8, 1, 1, 5, 8, 8, 2, 7, 6, 6}));
    EXPECT_EQ(shown(e.eliminationGrid()), "65948127");
    e.Predict(0);
    EXPECT_EQ(shown(e.eliminationGrid()), "215467"); // recomputed in place, not appended
}

TEST(PredictByElimination, MissingAndIncompleteDrawsReadAsZeros) {
    // Draws 1..40 all 5-5-5-5, but draw 38 was never stored and draw 36 lacks
    // a digit: the rows reading them (2 and 4 draws back) read zeros.
    DrawTable t;
    for (int no = 1; no <= 40; ++no)
        if (no != 38) t.push_back(DrawRecord{no, {5, 5, 5, 5}});
    t[35].digits[1] = kAbsentDigit; // draw 36
    PredictionEngine e;
    e.ScanDraws(t, 40, 0);
    EXPECT_EQ(eliminationValues(e),
              (std::vector<int>{6, 4, 5, 7, 8, 4, 8, 6, 4, 7, 2, 5, 9, 6, 5}));
    EXPECT_EQ(shown(e.eliminationGrid()), "6457829");
}

TEST(Predict, CycleGridKeepsItsDigitsAcrossRecomputes) {
    DrawTable t = n4test::realHistory();
    if (t.empty()) GTEST_SKIP() << "real history not present";
    const int latest = computeStartupFigures(t).latestDrawNo;
    PredictionEngine e;
    e.ScanDraws(t, latest, 0);
    const std::string cycle = shown(e.cycleGrid());
    const std::string renpatsu = shown(e.renpatsuGrid());
    e.Predict(2);
    EXPECT_EQ(shown(e.cycleGrid()), cycle);
    e.Predict(0);
    EXPECT_EQ(shown(e.renpatsuGrid()), renpatsu);
}

TEST(ScanDraws, OnlyIntervalsOfSevenNineElevenTwelveAreRecorded) {
    // Digit 3 comes back after exactly 7 draws in position 1; 4 after 8 in position 2.
    DrawTable t = sevenDrawsApart({3, 4, 1, 1}, {3, 1, 1, 1});
    t.push_back(DrawRecord{9, {1, 4, 1, 1}});
    PredictionEngine e;
    e.ScanDraws(t, 9, 0);
    EXPECT_EQ(e.cycleDigit(0, 1), 3);
    EXPECT_EQ(e.cycleDigit(0, 2), kNoDigit);
    EXPECT_EQ(e.cycleGrid().text(2, 2), "3");
    EXPECT_EQ(e.cycleGrid().text(1, 2), " 7回周期法");
    for (int m = 1; m < 4; ++m)
        for (int p = 1; p <= 4; ++p)
            EXPECT_EQ(e.cycleDigit(m, p), kNoDigit);
}

TEST(PredictRenpatsu, MethodWithAnEmptyFirstPositionContributesNothing) {
    // Position 2 of draw 8 repeats draw 1 after 7 draws; position 1 never does.
    DrawTable t = sevenDrawsApart({1, 3, 1, 1}, {1, 3, 1, 1});
    PredictionEngine e;
    e.ScanDraws(t, 8, 0);
    ASSERT_EQ(e.cycleDigit(0, 2), 3);
    ASSERT_EQ(e.cycleDigit(0, 1), kNoDigit);
    EXPECT_EQ(shown(e.renpatsuGrid()), "");
    EXPECT_EQ(shown(e.ippatsuGrid()), "");
}

TEST(Predict, EmptyHistoryGivesAnEmptyPrediction) {
    PredictionEngine e;
    e.ScanDraws({}, 0, 3);
    for (const Grid& g : e.grids())
        EXPECT_EQ(shown(g), "");
    EXPECT_EQ(e.renpatsuGrid().text(1, 2), "連発予想");
    EXPECT_EQ(e.ippatsuGrid().text(1, 2), "１発予想");
}

TEST(Predict, ShortHistoryPlacesOnlyRowsThatReachADraw) {
    PredictionEngine e;
    e.ScanDraws(draws({{1, 2, 3, 4}, {5, 6, 7, 8}}), 2, 0);
    // Rows reading draws 2, 1 and 0 (never written: zeros) are placed.
    EXPECT_EQ(e.eliminationDigit(0), 6);
    EXPECT_EQ(e.eliminationDigit(4), FoldDigit(0 + 8)); // draw 0, position 4
    EXPECT_EQ(e.eliminationDigit(6), kNoDigit);         // draw -1
}

TEST(Predict, RealHistorySelectionsFollowTheirTolerances) {
    DrawTable t = n4test::realHistory();
    if (t.empty()) GTEST_SKIP() << "real history not present";
    const int latest = computeStartupFigures(t).latestDrawNo;
    for (int reflect : {0, 1, 5, 10}) {
        PredictionEngine e;
        e.ScanDraws(t, latest, reflect);
        std::set<int> cycle, elimination;
        for (int m = 0; m < 4; ++m)
            for (int p = 1; p <= 4; ++p)
                if (e.cycleDigit(m, p) != kNoDigit) cycle.insert(e.cycleDigit(m, p));
        for (int i = 0; i < 15; ++i)
            elimination.insert(e.eliminationDigit(i));
        auto near = [&](char c, int tol) {
            for (int x : elimination)
                if (std::abs(x - (c - '0')) <= tol) return true;
            return false;
        };
        const std::string renpatsu = shown(e.renpatsuGrid()), ippatsu = shown(e.ippatsuGrid());
        EXPECT_EQ(std::set<char>(renpatsu.begin(), renpatsu.end()).size(), renpatsu.size());
        EXPECT_LE(ippatsu.size(), 4u);
        for (char c : renpatsu)
            EXPECT_TRUE(cycle.count(c - '0') && near(c, 3));
        for (char c : ippatsu)
            EXPECT_TRUE(cycle.count(c - '0') && near(c, 2));
        EXPECT_FALSE(shown(e.eliminationGrid()).empty());
    }
}

TEST(PredictSelections, ToleranceEdgesQualify) {
    // 連発 keeps a cycle digit s when an elimination value e lies within 3 of
    // it, １発 within 2, both ends included: with s = 5, e = 2 and e = 8
    // qualify for 連発, e = 3 and e = 7 for １発.
    PredictionEngine e;
    e.ScanDraws(edgeAtThreeBothSides(), 20, 0);
    ASSERT_EQ(e.cycleDigit(0, 1), 5);
    EXPECT_EQ(shown(e.renpatsuGrid()), "5");
    EXPECT_EQ(shown(e.ippatsuGrid()), ""); // 3 away is too far for １発
    for (auto history : {edgeAtTwoBelow, edgeAtTwoAbove}) {
        e.ScanDraws(history(), 20, 0);
        ASSERT_EQ(e.cycleDigit(0, 1), 5);
        EXPECT_EQ(shown(e.renpatsuGrid()), "5");
        EXPECT_EQ(shown(e.ippatsuGrid()), "5");
    }
    e.ScanDraws(edgeAtThreeBothSides(), 20, 0); // the same engine again: the 5 goes
    EXPECT_EQ(shown(e.ippatsuGrid()), "");
}

TEST(PredictSelections, IppatsuShowsFourDigitsWhenMoreQualify) {
    // Seven cycle digits qualify for 連発 and four of them for １発: the １発
    // row shows all four (its cap of seven placements is not reached early).
    PredictionEngine e;
    e.ScanDraws(n4test::richPredictionHistory(), 40, 0);
    EXPECT_EQ(shown(e.renpatsuGrid()), "3125986");
    EXPECT_EQ(shown(e.ippatsuGrid()), "3125");
}
