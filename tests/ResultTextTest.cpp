#include <gtest/gtest.h>

#include "data/ResultText.h"

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
