#include <gtest/gtest.h>

#include "data/HistoryImport.h"

using namespace n4;

namespace {

std::string drawsOf(const ImportResult& r) {
    std::string s;
    for (const DrawRecord& d : r.rows) {
        s += (s.empty() ? "" : " ") + std::to_string(d.drawNo) + ":";
        for (int v : d.digits)
            s += v == kAbsentDigit ? '_' : static_cast<char>('0' + v);
    }
    return s;
}

ImportResult read(const std::string& text) {
    return readHistoryBytes(text);
}

void expectRefused(const std::string& text, const std::string& line, const std::string& word = "") {
    ImportResult r = read(text);
    EXPECT_FALSE(r.ok) << text;
    EXPECT_NE(r.message.find(line), std::string::npos) << r.message;
    if (!word.empty()) {
        EXPECT_NE(r.message.find(word), std::string::npos) << r.message;
    }
}

} // namespace

TEST(HistoryJson, AnArrayOfDrawObjectsNewestFirst) {
    auto r = read("[\n  {\"round\": 2, \"date\": \"1994-10-14\", \"numbers\": [7, 9, 2, 1], "
                  "\"bonus\": []},\n  {\"round\": 1, \"date\": \"1994-10-07\", \"numbers\": [1, "
                  "1, 4, 9], \"bonus\": []}\n]\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "1:1149 2:7921");
    EXPECT_NE(r.format.find("JSON"), std::string::npos);
}

TEST(HistoryJson, KeysAndValuesInTheSpellingsOfTheCsvColumns) {
    EXPECT_EQ(drawsOf(read(R"([{"draw_no":"0003","winning_number":"0097"}])")), "3:0097");
    EXPECT_EQ(drawsOf(read(R"([{"回":"第12回","当せん番号":1412}])")), "12:1412");
    EXPECT_EQ(drawsOf(read(R"([{"Draw":5,"d1":1,"d2":"2","d3":3,"d4":null}])")), "5:123_");
    EXPECT_EQ(drawsOf(read(R"([{"round":5,"numbers":["1","2",null,"4"]}])")), "5:12_4");
    // Escaped full-width digits and extra nested data are fine.
    EXPECT_EQ(drawsOf(read(R"([{"no":"\uff17","extra":{"a":[1,{"b":2}]},"number":"1234"}])")),
              "7:1234");
}

TEST(HistoryJson, EscapedCharactersOutsideTheBasicPlaneAreShownAsWritten) {
    // A value that is no digit is named in the message, as the file means it.
    ImportResult r = read(R"([{"round":1,"numbers":["\ud83d\ude00",1,1,1]}])");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("😀"), std::string::npos) << r.message;
    EXPECT_EQ(r.message.find("\\u"), std::string::npos) << r.message;
}

TEST(HistoryJson, AnObjectHoldingTheArray) {
    auto r = read(R"({"source":"x","tags":["a","b"],"draws":[{"round":1,"numbers":[1,1,4,9]}]})");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "1:1149");
    expectRefused(R"({"source":"x"})", "1行目", "配列");
}

TEST(HistoryJson, WhatCannotBeReadIsRefusedWithItsLine) {
    expectRefused("[\n{\"round\":1,\"numbers\":[1,1,4,9]},\n{\"round\":2,\"numbers\":[1,1,4]}\n]",
                  "3行目", "4 つ");
    expectRefused("[\n{\"round\":1,\"numbers\":[1,1,4,9]},\n{\"numbers\":[1,1,4,9]}\n]", "3行目",
                  "回数");
    expectRefused("[\n{\"round\":1}\n]", "2行目", "当選番号");
    expectRefused("[\n{\"round\":\"x\",\"numbers\":[1,1,4,9]}\n]", "2行目", "回数");
    expectRefused("[\n{\"round\":1,\"numbers\":[1,10,4,9]}\n]", "2行目", "0～9");
    expectRefused("[\n{\"round\":1,\"d1\":1,\"d2\":1,\"d3\":4}\n]", "2行目", "第4数字");
    expectRefused("[\n{\"round\":1,\"draw\":1,\"numbers\":[1,1,4,9]}\n]", "2行目", "二つ");
    expectRefused("[\n{\"round\":1,\"numbers\":[1,1,4,9],\"number\":\"1149\"}\n]", "2行目", "二つ");
    expectRefused("[\n{\"round\":1,\"d1\":1,\"d2\":1,\"d3\":4,\"d4\":9,\"number\":\"1148\"}\n]",
                  "2行目", "合いません");
    expectRefused("[\n1,\n2\n]", "2行目", "オブジェクト");
    expectRefused("[\n{\"round\":1,\"numbers\":[1,1,4,9]}\n", "3行目", "]");
    expectRefused("[{\"round\":1,\"numbers\":[1,1,4,9]}] trailing", "1行目", "余分");
    expectRefused("[{\"round\":1,\"numbers\":[1,1,4,9], \"memo\": \"open]", "1行目", "閉じて");
    expectRefused("[]", "", "1 件もありません");
}

TEST(HistoryJson, DeepNestingIsRefusedNotFollowed) {
    const std::string deep =
        "[{\"round\":1,\"numbers\":[1,1,4,9],\"x\":" + std::string(100000, '[') +
        std::string(100000, ']') + "}]";
    auto r = read(deep);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("入れ子が深すぎます"), std::string::npos) << r.message;
}

TEST(HistoryJson, OneDrawWithTwoResultsIsRefusedNamingBothLines) {
    auto r = read("[\n{\"round\":1,\"numbers\":[1,1,4,9]},\n{\"round\":1,\"numbers\":[1,1,4,9]},\n"
                  "{\"round\":1,\"numbers\":[1,6,0,5]}\n]");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("3行目と4行目"), std::string::npos) << r.message;
}
