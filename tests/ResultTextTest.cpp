#include <gtest/gtest.h>

#include "core/import/ResultText.h"

using namespace n4;

namespace {
std::string drawsOf(const ImportResult& r) {
    std::string s;
    for (const DrawRecord& d : r.rows) {
        s += (s.empty() ? "" : " ") + std::to_string(d.drawNo) + ":";
        for (int v : d.digits)
            s += static_cast<char>('0' + v);
    }
    return s;
}
} // namespace

TEST(ResultText, DrawAndNumberOnOneLineInAnySurroundingText) {
    auto r = readResultText("ナンバーズ4 当せん番号一覧\n"
                            "第7054回 2026/08/21(金) 9577 ストレート 1,234,500円 13口\n"
                            "第7053回　2026年8月20日　当せん番号：9298\n"
                            "９２９８ 第７０５２回 (全角)\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "7052:9298 7053:9298 7054:9577");
}

TEST(ResultText, NumberOnALaterLineAsResultPagesLayThemOut) {
    auto r = readResultText("回別\t第7054回\n抽せん日\t2026年8月21日\n当せん番号\t0577\n"
                            "ストレート\t13口\t898,700円\n"
                            "回別\t第7053回\n抽せん日\t2026年8月20日\n当せん番号\t9298\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "7053:9298 7054:0577");
    // The very first draw too.
    EXPECT_EQ(drawsOf(readResultText("回別\t第1回\n当せん番号\t1149\n")), "1:1149");
}

TEST(ResultText, SeveralDrawsInOneTableRow) {
    EXPECT_EQ(drawsOf(readResultText("第10回 1111 第11回 2222 第12回 3333")),
              "10:1111 11:2222 12:3333");
}

TEST(ResultText, DatesAmountsAndCountsAreNotNumbersAndNothingFoundIsSaid) {
    auto none = readResultText("第7054回\n2026年 2026/08/21 1,234円 1234円 1234口 12345\n");
    EXPECT_FALSE(none.ok);
    EXPECT_NE(none.message.find("見つかりません"), std::string::npos);
    auto conflict = readResultText("第5回 1234\n第5回 4321\n");
    EXPECT_FALSE(conflict.ok);
    EXPECT_NE(conflict.message.find("1行目と2行目"), std::string::npos) << conflict.message;
}

TEST(ResultText, ANumberCountsForADrawUpToEightLinesFurther) {
    auto lines = [](int between) {
        std::string text = "第7回\n";
        for (int i = 0; i < between; ++i)
            text += "抽せん日 2026年8月21日\n";
        return text + "当せん番号 0123";
    };
    EXPECT_EQ(drawsOf(readResultText(lines(7))), "7:0123"); // eight lines further
    EXPECT_FALSE(readResultText(lines(8)).ok);              // nine
    // A later draw takes the place of one still waiting for its number; a
    // number once used is not used again.
    EXPECT_EQ(drawsOf(readResultText("第7回\n第8回\n1111\n2222\n")), "8:1111");
    EXPECT_EQ(drawsOf(readResultText("第7回 1111\n2222\n")), "7:1111");
    // A clash names the line of the draw, not of its number.
    auto clash = readResultText("第5回\nx\n1234\n第5回 4321\n");
    EXPECT_FALSE(clash.ok);
    EXPECT_NE(clash.message.find("1行目と4行目"), std::string::npos) << clash.message;
}

TEST(ResultText, OnlyWholeDrawNumbersAndLoneFourDigitNumbersCount) {
    EXPECT_EQ(drawsOf(readResultText("第 99999回 0000")), "99999:0000");
    EXPECT_EQ(drawsOf(readResultText("第1回 9999")), "1:9999");
    for (const char* none :
         {"第100000回 1234", "第0回 1234",   "第回 1234",    "第12 回 1234", "第x1回 1234",
          "第1回 12345",     "第1回 123",    "第1回 1/1234", "第1回 1-1234", "第1回 1,1234",
          "第1回 1.1234",    "第1回 1234/",  "第1回 1234-1", "第1回 1234:",  "第1回 1234%",
          "第1回 1234年",    "第1回 1234月", "第1回 1234日", "第1回 1234件", "第1回 1234等",
          "第1回 1234回"})
        EXPECT_FALSE(readResultText(none).ok) << none;
    // A number followed by other text, or at the start of the line, counts.
    EXPECT_EQ(drawsOf(readResultText("1234 第3回")), "3:1234");
    EXPECT_EQ(drawsOf(readResultText("第3回:1234 ストレート")), "3:1234");
    EXPECT_EQ(drawsOf(readResultText("第3回(1234)")), "3:1234");
    // Two draws and one number: the first draw takes it.
    EXPECT_EQ(drawsOf(readResultText("第3回 第4回 1234")), "3:1234");
    auto r = readResultText("第3回 5678\n");
    EXPECT_EQ(r.format, "結果ページの文字");
    EXPECT_EQ(readResultText("").message, "第NNNN回 と 4 けたの当選番号のある行が見つかりません。");
}
