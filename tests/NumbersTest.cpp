// Numbers as a player buys them: types, the win rules, filters against a
// brute force over all 10,000 numbers, and what buying would have cost.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "TestSupport.h"
#include "core/import/HistoryImport.h"
#include "core/numbers/IfBought.h"
#include "core/numbers/NumberLookup.h"

using namespace n4;

namespace {

// A history with prizes that tell the kinds apart.
DrawTable pricedDraws(std::initializer_list<int> numbers) {
    DrawTable t;
    int no = 0;
    for (int n : numbers) {
        DrawDetails d;
        d.date = 20260101 + no;
        d.prizes = {900000 + no, 37000 + no, 450000 + no, 18000 + no};
        t.push_back(DrawRecord{++no, digitsOf(n), d});
    }
    return t;
}

// A filter's verdict on a number as of a history, written out plainly.
bool passesPlainly(const NumberFilter& f, int n, const DrawTable& before) {
    const std::array<int, 4> d = digitsOf(n);
    bool fits = false;
    std::array<int, 4> o = d;
    std::sort(o.begin(), o.end());
    do {
        const std::array<int, 4>& at = f.anyOrder ? o : d;
        fits = fits || (f.positions[0][at[0]] && f.positions[1][at[1]] && f.positions[2][at[2]] &&
                        f.positions[3][at[3]]);
    } while (f.anyOrder && std::next_permutation(o.begin(), o.end()));
    int sum = 0, even = 0, low = 0;
    for (int x : d)
        sum += x, even += x % 2 == 0, low += x < 5;
    std::map<int, int> counts;
    for (int x : d)
        ++counts[x];
    int most = 0, pairs = 0;
    for (auto [digit, c] : counts)
        most = std::max(most, c), pairs += c == 2;
    const int type = most == 4 ? 4 : most == 3 ? 3 : pairs == 2 ? 2 : pairs;
    for (int x = 0; x < 10; ++x)
        if ((f.must[x] && !counts.count(x)) || (f.mustNot[x] && counts.count(x))) return false;
    const int size = static_cast<int>(before.size());
    for (int i = std::max(0, size - f.notDrawnInOrder); i < size; ++i)
        if (numberOf(before[i].digits) == n) return false;
    for (int i = std::max(0, size - f.notDrawnAnyOrder); i < size; ++i) {
        std::array<int, 4> drawn = before[i].digits;
        std::sort(drawn.begin(), drawn.end());
        std::array<int, 4> mine = d;
        std::sort(mine.begin(), mine.end());
        if (drawn == mine) return false;
    }
    return fits && sum >= f.sumMin && sum <= f.sumMax && f.evenCounts[even] && f.lowCounts[low] &&
           f.types[type];
}

} // namespace

TEST(Numbers, TypesAndOrdersCoverTheTenThousandNumbers) {
    std::array<int, kNumberTypeCount> perType{};
    for (int n = 0; n < kNumberCount; ++n) {
        ++perType[static_cast<size_t>(typeOf(n))];
        EXPECT_EQ(static_cast<int>(ordersOfKey(digitsKey(n)).size()), ordersOf(typeOf(n))) << n;
    }
    EXPECT_EQ(perType, (std::array<int, 5>{5040, 4320, 270, 360, 10}));
    EXPECT_STREQ(typeName(typeOf(1149)), "ダブル");
    EXPECT_STREQ(typeName(typeOf(4411)), "ダブルダブル");
    EXPECT_STREQ(typeName(typeOf(7077)), "トリプル");
    EXPECT_EQ(fourDigits(42), "0042");

    std::string hint;
    EXPECT_EQ(parseNumber("１１４９", hint), 1149);
    EXPECT_EQ(parseNumber(" 0042 ", hint), 42);
    for (const char* wrong : {"", "123", "12345", "12a4", "12 34", "-123"}) {
        EXPECT_EQ(parseNumber(wrong, hint), -1) << wrong;
        EXPECT_FALSE(hint.empty()) << wrong;
    }
}

TEST(Numbers, WinRulesOnHandMadeDrawsAndRealPrizes) {
    struct Case {
        int number;
        BuyKind kind;
        int drawn;
        Hit hit;
    } cases[] = {
        {1149, BuyKind::Straight, 1149, Hit::Straight},
        {1149, BuyKind::Straight, 1194, Hit::None},
        {1149, BuyKind::Box, 9411, Hit::Box},
        {1149, BuyKind::Box, 1149, Hit::Box},
        {1149, BuyKind::Box, 1249, Hit::None},
        {1149, BuyKind::Set, 1149, Hit::SetStraight},
        {1149, BuyKind::Set, 4191, Hit::SetBox},
        {7777, BuyKind::Straight, 7777, Hit::Straight},
        {7777, BuyKind::Box, 7777, Hit::None},
        {7777, BuyKind::Set, 7777, Hit::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hitOf(c.number, c.kind, c.drawn), c.hit) << c.number << " " << c.drawn;
    EXPECT_FALSE(canBuy(7777, BuyKind::Box));

    // The first real draw, 1149, with its real payouts.
    const DrawTable real = n4test::realPricedHistory();
    if (real.empty()) GTEST_SKIP() << "real history with prizes not present";
    const DrawDetails& first = real.front().details;
    EXPECT_EQ(prizeOf(hitOf(1149, BuyKind::Straight, 1149), first), 942600);
    EXPECT_EQ(prizeOf(hitOf(9411, BuyKind::Box, 1149), first), 78500);
    EXPECT_EQ(prizeOf(hitOf(1149, BuyKind::Set, 1149), first), 510500);
    EXPECT_EQ(prizeOf(hitOf(1491, BuyKind::Set, 1149), first), 39200);
}

TEST(Numbers, LookupFindsEveryDrawInOrderAndInAnyOrder) {
    DrawTable t = pricedDraws({1149, 9411, 1234, 1149, 5678});
    t[4].details = DrawDetails{}; // a draw whose prizes nobody gave
    t.insert(t.begin() + 3, DrawRecord{4, {1, kAbsentDigit, 4, 9}});
    for (size_t i = 4; i < t.size(); ++i)
        t[i].drawNo = static_cast<int>(i) + 1;
    const NumberLookup found = lookUpNumber(t, 1149);
    EXPECT_EQ(found.draws, 5) << "the incomplete draw is not one";
    ASSERT_EQ(found.straight.size(), 2u);
    EXPECT_EQ(found.straight[1].drawNo, 5);
    ASSERT_EQ(found.box.size(), 3u);
    EXPECT_EQ(found.box[1].drawn, 9411);
    EXPECT_EQ(found.box[1].prize, 37001);
    EXPECT_EQ(found.drawsSinceStraight, 1);
    EXPECT_EQ(found.drawsSinceBox, 1);
    EXPECT_EQ(lookUpNumber(t, 5678).straight[0].prize, kUnknown);
    EXPECT_EQ(lookUpNumber(t, 2222).drawsSinceBox, -1);
    const std::string json = lookupJson(found);
    EXPECT_NE(json.find("{\"number\":\"1149\",\"type\":\"ダブル\",\"orders\":12,"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"draw\":2,\"date\":\"2026-01-02\",\"drawn\":\"9411\",\"prize\":37001}"),
              std::string::npos)
        << json;
    EXPECT_NE(lookupJson(lookUpNumber(t, 5678)).find("\"date\":null,\"prize\":null"),
              std::string::npos)
        << "unknown is not 0";
    EXPECT_NE(json.find("\"draws_since_straight\":1,\"draws_since_box\":1"), std::string::npos);
}

TEST(Numbers, RandomFiltersPassWhatABruteForceFindsAsOfEachDraw) {
    std::mt19937 random(20261208);
    DrawTable history;
    for (int no = 1; no <= 60; ++no)
        history.push_back(DrawRecord{no, digitsOf(int(random() % 10000))});
    history[40].digits = history[30].digits; // repeats, in order and not
    history[45].digits = {history[31].digits[3], history[31].digits[2], history[31].digits[1],
                          history[31].digits[0]};
    for (int round = 0; round < 40; ++round) {
        NumberFilter f;
        for (auto& allowed : f.positions)
            for (int d = 0; d < 10; ++d)
                allowed[d] = random() % 4 != 0;
        f.anyOrder = random() % 2;
        f.sumMin = int(random() % 15);
        f.sumMax = f.sumMin + int(random() % 25);
        for (int k = 0; k < 5; ++k)
            f.evenCounts[k] = random() % 5 != 0, f.lowCounts[k] = random() % 5 != 0;
        for (int k = 0; k < kNumberTypeCount; ++k)
            f.types[k] = random() % 4 != 0;
        f.must[random() % 10] = random() % 2;
        f.mustNot[random() % 10] = random() % 2;
        f.notDrawnInOrder = int(random() % 3) * 20;
        f.notDrawnAnyOrder = int(random() % 3) * 7;
        SCOPED_TRACE(round);
        std::vector<int> expected;
        for (int n = 0; n < kNumberCount; ++n)
            if (passesPlainly(f, n, history)) expected.push_back(n);
        EXPECT_EQ(passingNumbers(f, history), expected);
        // The share of drawn numbers: each judged from the draws before it.
        int passed = 0;
        for (size_t i = 0; i < history.size(); ++i)
            passed += passesPlainly(f, numberOf(history[i].digits),
                                    DrawTable(history.begin(), history.begin() + long(i)));
        const FilterShares shares = filterShares(f, history);
        EXPECT_EQ(shares.drawnPassed, passed);
        EXPECT_EQ(shares.passing, static_cast<int>(expected.size()));
    }
}

TEST(Numbers, IfBoughtAgreesWithASumOverEachDrawAndWithTheGamesReturn) {
    const DrawTable t = pricedDraws({1149, 9411, 1234, 4321, 1149, 7777, 1491});
    NumberFilter f;
    f.positions[0] = std::bitset<10>("0000010010"); // 1 or 4 first
    f.notDrawnAnyOrder = 2;
    for (BuyKind kind : {BuyKind::Straight, BuyKind::Box, BuyKind::Set}) {
        SCOPED_TRACE(buyKindName(kind));
        long long spent = 0, won = 0;
        for (size_t i = 2; i < t.size(); ++i) { // from draw 3
            const DrawTable before(t.begin(), t.begin() + long(i));
            const int drawn = numberOf(t[i].digits);
            for (int n = 0; n < kNumberCount; ++n) {
                if (!passesPlainly(f, n, before) || !canBuy(n, kind)) continue;
                spent += kTicketPrice;
                won += prizeOf(hitOf(n, kind, drawn), t[i].details);
            }
        }
        const IfBoughtResult r = ifBought(f, t, kind, 3);
        EXPECT_EQ(r.filtered.draws, 5);
        EXPECT_EQ(r.filtered.spent, spent);
        EXPECT_EQ(r.filtered.won, won);
        EXPECT_EQ(r.filtered.balances.back(), won - spent);
        EXPECT_EQ(r.all.spent, 5LL * (kind == BuyKind::Straight ? 10000 : 9990) * kTicketPrice);
    }

    // On the real history every number as ストレート wins each draw's straight
    // prize once: the game's return is their sum over 2,000,000 yen a draw.
    const DrawTable real = n4test::realPricedHistory();
    if (real.empty()) GTEST_SKIP() << "real history with prizes not present";
    long long prizes = 0;
    int draws = 0, unknown = 0;
    for (const DrawRecord& r : real) {
        if (!r.isComplete()) continue;
        ++draws;
        if (r.details.prizes[kStraight] == kUnknown)
            ++unknown;
        else
            prizes += r.details.prizes[kStraight];
    }
    const IfBoughtResult all = ifBought(NumberFilter{}, real, BuyKind::Straight);
    EXPECT_EQ(all.all.spent, 2000000LL * draws);
    EXPECT_EQ(all.all.won, prizes);
    EXPECT_EQ(all.all.unknownPrizes, unknown);
    EXPECT_DOUBLE_EQ(all.all.returnRate(), double(prizes) / (2000000.0 * draws));
    EXPECT_NEAR(all.all.returnRate(), 0.45, 0.1) << "about what the game pays back";
}
