#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "TestSupport.h"
#include "data/StartupFigures.h"
#include "prediction/PredictionEngine.h"

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
