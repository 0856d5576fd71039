#include <gtest/gtest.h>

#include "core/import/HistoryImport.h"

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

TEST(HistoryJson, EveryEscapeOfAStringIsReadAsJsonMeansIt) {
    // A key spelled with escapes is the key it spells.
    EXPECT_EQ(drawsOf(read(R"([{"\u0072ound":1,"\u006E\u0055\u004dbers":"1149"}])")), "1:1149");
    // The short escapes, each in a value the message then shows as read.
    struct Case {
        const char* escaped;
        const char* shown;
    } cases[] = {{R"(\")", "\""},
                 {R"(\\)", "\\"},
                 {R"(\/)", "/"},
                 {R"(\b)", "\b"},
                 {R"(\f)", "\f"},
                 {R"(\n)", "\n"},
                 {R"(\r)", "\r"},
                 {R"(\t)", "\t"},
                 {R"(\u00e9)", "é"},
                 {R"(\u00E9)", "é"},
                 {R"(\u007F)", "\x7F"},
                 {R"(\u0080)", "\xC2\x80"},
                 {R"(\u07FF)", "\xDF\xBF"},
                 {R"(\u0800)", "\xE0\xA0\x80"},
                 {R"(\uFFFF)", "\xEF\xBF\xBF"},
                 {R"(\uD800\uDC00)", "\xF0\x90\x80\x80"},
                 {R"(\uDBFF\uDFFF)", "\xF4\x8F\xBF\xBF"},
                 {R"(\u30a2\u30AB)", "アカ"},
                 {R"(\ufb0a)", "\xEF\xAC\x8A"}};
    for (const Case& c : cases) {
        ImportResult r =
            read(std::string(R"([{"round":1,"d1":"x)") + c.escaped + R"(","d2":1,"d3":1,"d4":1}])");
        EXPECT_FALSE(r.ok) << c.escaped;
        EXPECT_NE(r.message.find(std::string("「x") + c.shown + "」"), std::string::npos)
            << c.escaped << ": " << r.message;
    }
    // Escapes that are no character are refused with the line they are on.
    for (const char* bad : {R"(\u12)", R"(\u12G4)", R"(\uDC00)", R"(\uDFFF)", R"(\uD800)",
                            R"(\uD800\u0041)", R"(\uD800\uE000)", R"(\uD800x)", R"(\x)"}) {
        ImportResult r =
            read(std::string("[\n{\"round\":1,\n\"memo\":\"") + bad + "\",\"numbers\":\"1149\"}]");
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_EQ(r.message.rfind("3行目: ", 0), 0u) << bad << ": " << r.message;
        EXPECT_NE(r.message.find("\\"), std::string::npos) << bad << ": " << r.message;
    }
    // A bad escape just before a line end is on the line before it; four hex
    // digits that end the file are whole, and what is missing is the quote.
    ImportResult atLineEnd = read("[{\"round\":1,\"memo\":\"a\\x\nb\",\"numbers\":\"1149\"}]");
    EXPECT_EQ(atLineEnd.message.rfind("1行目: ", 0), 0u) << atLineEnd.message;
    for (const char* end : {R"([{"round":1,"memo":"\u0041)", R"([{"round":1,"memo":"a\)"}) {
        ImportResult atEnd = read(end);
        EXPECT_NE(atEnd.message.find("閉じていません"), std::string::npos) << atEnd.message;
    }
}

TEST(HistoryJson, ValuesOfEveryKindInTheDrawKeys) {
    // Numbers with signs and exponents are read as written: only plain
    // digits are a draw or a digit.
    EXPECT_EQ(drawsOf(read(R"([{"round":1,"numbers":null}])")), "1:____");
    expectRefused(R"([{"round":2,"numbers":[]}])", "1行目", "0 個");
    expectRefused(R"([{"round":2,"numbers":[1,[2],3,4]}])", "1行目", "入れ子");
    expectRefused(R"([{"round":2,"numbers":[1,{"a":2},3,4]}])", "1行目", "入れ子");
    expectRefused(R"([{"round":2,"numbers":[1,2,3,4}])", "1行目", "]");
    expectRefused(R"([{"round":1e3,"numbers":"1149"}])", "1行目", "「1e3」");
    expectRefused(R"([{"round":2.0,"numbers":"1149"}])", "1行目", "「2.0」");
    // What cannot be read inside an array or an ignored object is named as such.
    expectRefused(R"([{"round":1,"numbers":[1,1,4,.5]}])", "1行目", "JSON の値として読めません");
    expectRefused(R"([{"round":1,"numbers":"1149","extra":{1:2}}])", "1行目",
                  "文字列（\"…\"）があるはずの所に別のものがあります");
    expectRefused(R"([{"round":-2,"numbers":"1149"}])", "1行目", "「-2」");
    expectRefused(R"([{"round":+1,"numbers":"1149"}])", "1行目", "JSON の値");
    expectRefused(R"([{"round":.5,"numbers":"1149"}])", "1行目", "JSON の値");
    expectRefused(R"([{"round":true,"numbers":"1149"}])", "1行目", "回数");
    expectRefused(R"([{"round":[1],"numbers":"1149"}])", "1行目", "回数");
    expectRefused(R"([{"round":1,"numbers":true}])", "1行目", "4 けた");
    expectRefused(R"([{"round":1,"numbers":[1,1,4,"x"]}])", "1行目", "4つ目「x」");
    expectRefused(R"([{"round":1,"d1":1,"d2":[2],"d3":3,"d4":4}])", "1行目", "第2数字");
    expectRefused(R"([{"round":1,"d1":1,"d2":2,"d3":3,"d4":false}])", "1行目", "第4数字");
    // A negative number is read as one, then refused as no draw.
    expectRefused(R"([{"round":-1,"numbers":"1149"}])", "1行目", "「-1」");
    // Digits and a number that is empty: nothing to compare, the digits count.
    EXPECT_EQ(drawsOf(read(R"([{"round":4,"d1":1,"d2":2,"d3":3,"d4":4,"number":null}])")),
              "4:1234");
    EXPECT_EQ(drawsOf(read(R"([{"round":4,"d1":1,"d2":2,"d3":3,"d4":null,"number":"1239"}])")),
              "4:123_");
    // An array with empty places keeps them empty.
    EXPECT_EQ(drawsOf(read(R"([{"round":4,"numbers":[null,"",2,"３"]}])")), "4:__23");
}

TEST(HistoryJson, TheStructureAroundTheDrawsIsCheckedWithTheLineAtFault) {
    // Blanks of every kind between the tokens.
    EXPECT_EQ(drawsOf(read("\r\n\t[ {\t\"round\" :\r\n1 ,\"numbers\" : \"1149\" } ]\r\n ")),
              "1:1149");
    // An empty object is a draw without anything: no draw number.
    expectRefused("[\n{}\n]", "2行目", "回数");
    expectRefused("[{\"round\":1,\"numbers\":\"1149\" \"x\":1}]", "1行目", "}");
    expectRefused("[{\"round\" 1}]", "1行目", ":");
    expectRefused("[{round:1}]", "1行目", "文字列");
    expectRefused("[\n{\"round\":1,\"numbers\":\"1149\",\n\"memo\":{\"a\" 1}}]", "3行目", ":");
    expectRefused("[\n{\"round\":1,\"numbers\":\"1149\",\n\"memo\":{\"a\":1]}]", "3行目", "}");
    expectRefused("[\n{\"round\":1,\"numbers\":\"1149\",\n\"memo\":[1,2}]", "3行目", "]");
    expectRefused("[\n{\"round\":1,\"numbers\":\"1149\",\n\"memo\":[1,@]}]", "3行目", "JSON の値");
    expectRefused("\n\n{\"draws\":7}", "3行目", "見つかりません");
    expectRefused("[\n{\"round\":1,\"numbers\":\"1149\"}\n]\n]", "4行目", "余分");
    expectRefused(R"({"a":1 "draws":[]})", "1行目", "}");
    expectRefused(R"({"a" 1})", "1行目", ":");
    expectRefused("{\n draws:[{\"round\":1,\"numbers\":\"1149\"}]}", "2行目", "文字列");
    expectRefused(R"({})", "1行目", "見つかりません");
    expectRefused("{\n\"draws\":[{\"round\":1,\"numbers\":\"1149\"}", "2行目", "]");
    expectRefused("{\n\"draws\":[{\"round\":1,\"numbers\":\"1149\"}]\n", "3行目", "}");
    // The draw named by its object's first line, not the line where reading stopped.
    auto named = read("[\n{\"round\":1,\n\"numbers\":\n\"1149\",\n\"round\":2}]");
    EXPECT_FALSE(named.ok);
    EXPECT_EQ(named.message.rfind("2行目: ", 0), 0u) << named.message;
}

TEST(HistoryJson, NestingIsFollowedSixtyFourDeepAndNoFurther) {
    auto nested = [](int depth) {
        return "[{\"round\":1,\"numbers\":\"1149\",\"x\":" + std::string(depth, '[') +
               std::string(depth, ']') + "}]";
    };
    auto deepest = read(nested(64));
    ASSERT_TRUE(deepest.ok) << deepest.message;
    EXPECT_EQ(drawsOf(deepest), "1:1149");
    expectRefused(nested(65), "1行目", "入れ子が深すぎます");
    // The same in the object around the draws.
    auto around = [](int depth) {
        return "{\"x\":" + std::string(depth, '[') + std::string(depth, ']') +
               ",\"draws\":[{\"round\":1,\"numbers\":\"1149\"}]}";
    };
    EXPECT_TRUE(read(around(64)).ok);
    expectRefused(around(65), "1行目", "入れ子が深すぎます");
}

TEST(HistoryJson, AnObjectHoldingTwoArraysOfDrawsIsRefusedNamingBothKeys) {
    // In an object, the array of draw objects is the one read, other values
    // and empty arrays are passed over; two arrays of draws are refused,
    // naming both keys, at the second (before, the second was passed over).
    auto two = read("{\"meta\":{\"n\":[1,2]},\"draws\":[{\"round\":2,\"numbers\":\"7921\"}],\n"
                    "\"more\" : [ {\"round\":3,\"numbers\":\"0000\"}],\"x\":null}");
    EXPECT_FALSE(two.ok);
    EXPECT_EQ(two.message, "2行目: 当選データの配列が二つあります（キー「draws」と「more」）。"
                           "どちらを読むか決められません。");
    EXPECT_TRUE(two.rows.empty());
    expectRefused(R"({"d":[{"round":1,"numbers":"1149"}],"d":[{"round":1,"numbers":"1149"}]})",
                  "1行目", "キー「d」と「d」");
    expectRefused(R"({"a":[],"b":[ ]})", "1 件もありません");
    // An empty array before the draws is not a second one.
    auto r = read(R"({"meta":{"n":[1,2]},"empty":[],"draws":[{"round":2,"numbers":"7921"}],)"
                  R"("x":null,"tags":["a"]})");
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "2:7921");
}
