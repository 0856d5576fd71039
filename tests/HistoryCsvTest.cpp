#include <gtest/gtest.h>

#include "TestSupport.h"
#include "data/HistoryCsv.h"
#include "data/TextEncoding.h"

using namespace n4;

TEST(HistoryCsv, ReadsHeaderByNameInAnyOrderWithExtraColumns) {
    auto r = parseHistoryCsv("date,d4,d3,d2,d1,draw\r\n1994-10-07,9,4,1,1,1\r\n,,,,5,2\r\n");
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].digits, (std::array<int, 4>{1, 1, 4, 9}));
    EXPECT_EQ(r.rows[1].digits, (std::array<int, 4>{5, kAbsentDigit, kAbsentDigit, kAbsentDigit}));
}

TEST(HistoryCsv, JapaneseHeaderInUtf8WithBomAndInShiftJis) {
    std::string text = "回数,第1数字,第2数字,第3数字,第4数字\n7,0,1,2,3\n";
    auto bom = parseHistoryCsv("\xEF\xBB\xBF" + text);
    ASSERT_TRUE(bom.ok) << bom.message;
    EXPECT_EQ(bom.rows[0].drawNo, 7);
    auto sjis = parseHistoryCsv(*utf8ToShiftJis(text));
    ASSERT_TRUE(sjis.ok) << sjis.message;
    EXPECT_EQ(sjis.rows[0].digits, (std::array<int, 4>{0, 1, 2, 3}));
}

TEST(HistoryCsv, BadLinesAreReportedWithTheirLineNumber) {
    const std::string head = "draw,d1,d2,d3,d4\n1,1,2,3,4\n";
    struct Case {
        std::string line, expect;
    } cases[] = {{"x,1,2,3,4", "3行目"},
                 {"2,1,2,10,4", "3行目"},
                 {"2,1,2,3", "3行目"},
                 {"2,1,-1,3,4", "3行目"},
                 {"2,1,2.5,3,4", "3行目"}};
    for (const auto& c : cases) {
        auto r = parseHistoryCsv(head + c.line + "\n");
        EXPECT_FALSE(r.ok) << c.line;
        EXPECT_NE(r.message.find(c.expect), std::string::npos) << r.message;
    }
    EXPECT_FALSE(parseHistoryCsv("a,b,c\n1,2,3\n").ok);
    EXPECT_FALSE(parseHistoryCsv("").ok);
}

TEST(HistoryCsv, RealHistoryReadsWhole) {
    auto table = n4test::realHistory();
    if (table.empty()) GTEST_SKIP() << "real history not present";
    EXPECT_GT(table.size(), 7000u);
    EXPECT_EQ(table[0].digits, (std::array<int, 4>{1, 1, 4, 9}));
    for (size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(table[i].drawNo, static_cast<int>(i) + 1);
}

TEST(HistoryCsv, DrawNumbersAboveTheLimitAreRefused) {
    auto r = parseHistoryCsv("draw,d1,d2,d3,d4\n99999,1,2,3,4\n100000,1,2,3,4\n");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("3行目"), std::string::npos);
    EXPECT_NE(r.message.find("99999"), std::string::npos);
}
