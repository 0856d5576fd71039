#include <gtest/gtest.h>

#include "AllocationMeter.h"
#include "TestSupport.h"
#include "core/import/HistoryCsv.h"
#include "core/import/HistoryValues.h"
#include "core/import/TextEncoding.h"

using namespace n4;

namespace {

// The draws read, as "no:digits" joined by spaces; absent digits as "_".
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

// Refused, and the message names the line (and, when given, a word).
void expectRefused(const std::string& text, const std::string& line, const std::string& word = "") {
    ImportResult r = read(text);
    EXPECT_FALSE(r.ok) << text;
    EXPECT_TRUE(r.rows.empty());
    EXPECT_NE(r.message.find(line), std::string::npos) << r.message;
    if (!word.empty()) {
        EXPECT_NE(r.message.find(word), std::string::npos) << r.message;
    }
}

} // namespace

TEST(HistoryCsv, ReadsHeaderByNameInAnyOrderWithExtraColumns) {
    auto r = read("date,d4,d3,d2,d1,draw\r\n1994-10-07,9,4,1,1,1\r\n,,,,5,2\r\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "1:1149 2:5___");
    // Whichever column comes last, a row must reach it.
    expectRefused("draw,d4,d3,d2,d1\n1,4,3,2,1\n2,8,7,6\n", "3行目",
                  "項目が足りません（5 個必要なところ 4 個）。");
}

TEST(HistoryCsv, JapaneseHeaderInUtf8WithBomAndInShiftJis) {
    std::string text = "回数,第1数字,第2数字,第3数字,第4数字\n7,0,1,2,3\n";
    auto bom = read("\xEF\xBB\xBF" + text);
    ASSERT_TRUE(bom.ok) << bom.message;
    EXPECT_EQ(drawsOf(bom), "7:0123");
    auto sjis = read(*utf8ToShiftJis(text));
    ASSERT_TRUE(sjis.ok) << sjis.message;
    EXPECT_EQ(drawsOf(sjis), "7:0123");
    EXPECT_NE(sjis.format.find("Shift-JIS"), std::string::npos);
}

TEST(HistoryCsv, EveryDrawColumnNameCaseAndWidthFolded) {
    for (const char* name :
         {"回", "回号", "回別", "開催回", "回数", "draw", "Draw", "DRAW", "draw_no", "Draw No",
          "round", "Round", "no", "No.", "ｄｒａｗ", "ＲＯＵＮＤ"}) {
        auto r = read(std::string(name) + ",d1,d2,d3,d4\n5,1,2,3,4\n");
        ASSERT_TRUE(r.ok) << name << ": " << r.message;
        EXPECT_EQ(drawsOf(r), "5:1234") << name;
    }
}

TEST(HistoryCsv, EveryDigitColumnNameCaseAndWidthFolded) {
    for (const char* f : {"第%d数字", "d%d", "D%d", "digit%d", "Digit%d", "n%d", "N%d"}) {
        std::string header = "draw";
        for (int p = 1; p <= 4; ++p) {
            char col[32];
            std::snprintf(col, sizeof col, f, p);
            header += std::string(",") + col;
        }
        auto r = read(header + "\n5,1,2,3,4\n");
        ASSERT_TRUE(r.ok) << header << ": " << r.message;
        EXPECT_EQ(drawsOf(r), "5:1234") << header;
    }
    // Full-width position digits: 第１数字
    auto r = read("回,第１数字,第２数字,第３数字,第４数字\n5,1,2,3,4\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "5:1234");
}

TEST(HistoryCsv, TheDrawAsOneFourDigitNumber) {
    for (const char* name :
         {"当せん番号", "当選番号", "winning_number", "numbers", "number", "Number"}) {
        auto r = read(std::string("回,") + name + "\n1,1412\n2,0097\n3,\n");
        ASSERT_TRUE(r.ok) << name << ": " << r.message;
        EXPECT_EQ(drawsOf(r), "1:1412 2:0097 3:____") << name;
    }
    // A spreadsheet that dropped leading zeros: 97 was 0097.
    EXPECT_EQ(drawsOf(read("draw,number\n3,97\n")), "3:0097");
    // The number, or the digits, may come first.
    EXPECT_EQ(drawsOf(read("number,draw\n1412,1\n0097,2\n")), "1:1412 2:0097");
    EXPECT_EQ(drawsOf(read("d1,d2,d3,d4,draw\n1,4,1,2,1\n")), "1:1412");
    expectRefused("draw,number\n1,1412\n2,14123\n", "3行目", "4 けた");
    expectRefused("draw,number\n1,1412\n2,14a2\n", "3行目");
}

TEST(HistoryCsv, NumberAndDigitColumnsMustAgree) {
    auto r = read("draw_no,winning_number,digit1,digit2,digit3,digit4\n1,1149,1,1,4,9\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "1:1149");
    expectRefused(
        "draw_no,winning_number,digit1,digit2,digit3,digit4\n1,1149,1,1,4,9\n2,7921,7,9,2,2\n",
        "3行目", "合いません");
}

TEST(HistoryCsv, QuotedFieldsWithBlanksAroundThem) {
    EXPECT_EQ(drawsOf(read("回数,第1数字,第2数字,第3数字,第4数字\n"
                           " \"1\" ,  \"2\",\t\"3\", 4 ,\"5\"\n")),
              "1:2345");
}

TEST(HistoryCsv, TabAndSemicolonAreFoundFromTheLines) {
    EXPECT_EQ(drawsOf(read("draw\td1\td2\td3\td4\n1\t1\t2\t3\t4\n")), "1:1234");
    EXPECT_EQ(drawsOf(read("draw;d1;d2;d3;d4\n1;1;2;3;4\n")), "1:1234");
    // Commas inside a tab-separated payout column do not mislead.
    auto r = read("回\t当せん番号\t賞金\n1\t1149\t1,234,500円\n2\t7921\t98,700円\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "1:1149 2:7921");
    EXPECT_NE(r.format.find("TSV"), std::string::npos);
    // Quoted fields, with the delimiter inside.
    EXPECT_EQ(drawsOf(read("\"draw\",\"memo\",\"number\"\n\"7\",\"a,b\",\"1234\"\n")), "7:1234");
    expectRefused("draw,memo,number\n7,\"open,1234\n", "2行目", "引用符");
    // A doubled quote is a quote in the field, also as a line's last two characters.
    EXPECT_EQ(drawsOf(read("draw,memo,number\n7,\"say \"\"hi\"\"\",1234\n")), "7:1234");
    expectRefused("draw,number,memo\n7,1234,\"say \"\"\n", "2行目", "引用符");
}

TEST(HistoryCsv, HeaderlessFilesFindTheDrawAndTheDigits) {
    // Newest first, a date between, zero-padded draw numbers.
    auto r =
        read("0003,1994/10/21,0,0,9,7\r\n0002,1994/10/14,7,9,2,1\r\n0001,1994/10/07,1,1,4,9\r\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "1:1149 2:7921 3:0097");
    EXPECT_NE(r.format.find("見出しなし"), std::string::npos);
    EXPECT_EQ(drawsOf(read("2026-08-21\t7054\t9577\n")), "7054:9577");
    EXPECT_EQ(drawsOf(read("1234,5678\n1235,0001\n")), "1234:5678 1235:0001");
    EXPECT_EQ(drawsOf(read("1235,0901\n1234,5070\n")), "1234:5070 1235:0901"); // 0s in each
    // A four-letter word between is no number; the four digits after it are.
    EXPECT_EQ(drawsOf(read("7054,memo,9577\n7055,ｍｅｍｏ,0001\n")), "7054:9577 7055:0001");
    // A payout of four digits is not taken for the number when the digits disagree.
    EXPECT_EQ(drawsOf(read("9,1,2,3,4,5000\n10,5,6,7,8,5000\n")), "9:1234 10:5678");
    // A number column that spells the first line's digits is the number:
    // a later line where the two disagree is refused.
    expectRefused("1,1,1,4,9,1149\n2,7,9,2,1,7921\n3,0,0,9,7,0079\n", "3行目", "合いません");
    // The columns are found from a later line when the first has no digits yet.
    EXPECT_EQ(drawsOf(read("7055,2026/08/24,,,,\n7054,2026/08/21,9,5,7,7\n")),
              "7054:9577 7055:____");
}

TEST(HistoryCsv, DrawValuesInTheirUsualSpellings) {
    auto r =
        read("回,当せん番号\n第1234回,1412\n1235回,１２３４\n０００２,0002\n　第１０回　,5555\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "2:0002 10:5555 1234:1412 1235:1234");
    EXPECT_EQ(drawsOf(read("第1234回,1,2,3,4\n")), "1234:1234");
}

TEST(HistoryCsv, BadLinesAreReportedWithTheirLineNumberAndNothingIsRead) {
    const std::string head = "draw,d1,d2,d3,d4\n1,1,2,3,4\n";
    struct Case {
        std::string line, word;
    } cases[] = {{"x,1,2,3,4", "回数"},           {"2,1,2,10,4", "第3数字"},
                 {"2,1,2,3", "項目が足りません"}, {"2,1,-1,3,4", "第2数字"},
                 {"2,1,2.5,3,4", "第2数字"},      {"0,1,2,3,4", "回数"},
                 {"100000,1,2,3,4", "99999"},     {",1,2,3,4", "回数"}};
    for (const auto& c : cases)
        expectRefused(head + "\n" + c.line + "\n5,1,2,3,4\n", "4行目", c.word);
}

TEST(HistoryCsv, HeadersThatCannotBeReadConfidentlyAreRefused) {
    expectRefused("a,b,c\nx,y,z\n", "1行目");
    expectRefused("date,d1,d2,d3,d4\n2020-01-01,1,2,3,4\n", "1行目", "回数の列");
    expectRefused("draw,round,d1,d2,d3,d4\n1,1,1,2,3,4\n", "1行目", "二つ以上");
    expectRefused("draw,d1,d2,d3\n1,1,2,3\n", "1行目", "第4数字");
    expectRefused("draw,date\n1,2020-01-01\n", "1行目", "当選番号の列");
    expectRefused("draw,number,当選番号\n1,1234,1234\n", "1行目", "二つ以上");
    expectRefused("just one column\n", "1行目", "区切り");
}

TEST(HistoryCsv, EmptyAndHeaderOnlyFilesAreRefused) {
    EXPECT_FALSE(read("").ok);
    EXPECT_EQ(read("\n\n  \n").message, "ファイルに当選データがありません（空です）。");
    auto r = read("draw,d1,d2,d3,d4\n");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("1 件もありません"), std::string::npos) << r.message;
}

TEST(HistoryCsv, RowsInAnyOrderRepeatsHarmlessConflictsRefusedWithBothLines) {
    auto r = read("draw,d1,d2,d3,d4\n3,3,3,3,3\n1,1,1,1,1\n3,3,3,3,3\n2,2,2,2,2\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "1:1111 2:2222 3:3333");
    auto bad = read("draw,d1,d2,d3,d4\n3,3,3,3,3\n1,1,1,1,1\n\n3,3,3,3,4\n");
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.message.find("2行目と5行目"), std::string::npos) << bad.message;
    EXPECT_NE(bad.message.find("第3回"), std::string::npos) << bad.message;
}

TEST(HistoryCsv, RealHistoryReadsWhole) {
    auto table = n4test::realHistory();
    if (table.empty()) GTEST_SKIP() << "real history not present";
    EXPECT_GT(table.size(), 7000u);
    EXPECT_EQ(table[0].digits, (std::array<int, 4>{1, 1, 4, 9}));
    for (size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(table[i].drawNo, static_cast<int>(i) + 1);
}

TEST(HistoryValues, OnlyFullWidthLettersDigitsAndSignsFoldToTheirNarrowForms) {
    EXPECT_EQ(foldWidth("第１２３４回　ＡＢｃ＃"), "第1234回 ABc#");
    // Other characters written with the same lead byte stay as they are.
    EXPECT_EQ(foldWidth("ｱｲ￥｡～"), "ｱｲ￥｡~");
    EXPECT_EQ(foldWidth("ｵ"), "ｵ");
}

TEST(HistoryValues, FullWidthFoldingStopsAtTheEndsOfItsRange) {
    // U+FF01 and U+FF5E are the first and last full-width signs; U+FF00 and
    // U+FF5F have no narrow form.
    EXPECT_EQ(foldWidth("！～"), "!~");
    EXPECT_EQ(foldWidth("\xEF\xBC\x80\xEF\xBD\x9F"), "\xEF\xBC\x80\xEF\xBD\x9F");
    // The ideographic space is a space, and spaces and tabs at both ends go.
    EXPECT_EQ(foldWidth("\t　１　2 "), "1 2");
    EXPECT_EQ(foldWidth("　 \t"), "");
    // A full-width lead byte cut short at the end stays as it is.
    EXPECT_EQ(foldWidth("1\xEF\xBC"), "1\xEF\xBC");
    EXPECT_EQ(foldWidth("\xE3\x80"), "\xE3\x80");
}

TEST(HistoryValues, ColumnNamesOfEachRole) {
    struct Case {
        const char* name;
        ColumnRole role;
    } cases[] = {
        {"回", ColumnRole::Draw},
        {"Draw-No.", ColumnRole::Draw},
        {"draw number", ColumnRole::Draw},
        {"ＮＯ", ColumnRole::Draw},
        {"当せん数字", ColumnRole::Number},
        {"当選数字", ColumnRole::Number},
        {"Winning Number", ColumnRole::Number},
        {"d1", ColumnRole::Digit1},
        {"num2", ColumnRole::Digit2},
        {"数字3", ColumnRole::Digit3},
        {"第4数字", ColumnRole::Digit4},
        {"n4", ColumnRole::Digit4},
        {"Digit 1", ColumnRole::Digit1},
        {"d0", ColumnRole::None},
        {"d5", ColumnRole::None},
        {"第0数字", ColumnRole::None},
        {"第5数字", ColumnRole::None},
        {"第1数", ColumnRole::None},
        {"dd1", ColumnRole::None},
        {"d", ColumnRole::None},
        {"", ColumnRole::None},
        {"round2", ColumnRole::None},
        {"numbers1", ColumnRole::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(columnRole(c.name), c.role) << c.name;
    EXPECT_EQ(digitPosition(ColumnRole::Digit1), 0);
    EXPECT_EQ(digitPosition(ColumnRole::Digit4), 3);
    EXPECT_EQ(digitPosition(ColumnRole::Draw), -1);
    EXPECT_EQ(digitPosition(ColumnRole::Number), -1);
}

TEST(HistoryValues, CellsAreReadWithinTheirLimits) {
    int no = -7;
    EXPECT_EQ(readDrawNo("1", no), CellRead::Ok);
    EXPECT_EQ(no, 1);
    EXPECT_EQ(readDrawNo("99999", no), CellRead::Ok);
    EXPECT_EQ(no, 99999);
    EXPECT_EQ(readDrawNo("000000012", no), CellRead::Ok); // nine digits with leading zeros
    EXPECT_EQ(no, 12);
    EXPECT_EQ(readDrawNo("第 7 回", no), CellRead::Ok);
    EXPECT_EQ(no, 7);
    no = -7;
    for (const char* bad : {"0", "100000", "0000000012", "回", "第回", "7回回", "-1", "1.0", "1e3"})
        EXPECT_EQ(readDrawNo(bad, no), CellRead::Bad) << bad;
    EXPECT_EQ(no, -7) << "a refused cell leaves the value alone";
    EXPECT_EQ(readDrawNo(" 　", no), CellRead::Empty);

    int d = -7;
    EXPECT_EQ(readDigit("0", d), CellRead::Ok);
    EXPECT_EQ(d, 0);
    EXPECT_EQ(readDigit("９", d), CellRead::Ok);
    EXPECT_EQ(d, 9);
    d = -7;
    for (const char* bad : {"10", "/", ":", "a", "-0"})
        EXPECT_EQ(readDigit(bad, d), CellRead::Bad) << bad;
    EXPECT_EQ(d, -7);
    EXPECT_EQ(readDigit("", d), CellRead::Empty);

    std::array<int, 4> n{-7, -7, -7, -7};
    EXPECT_EQ(readWinningNumber("0", n), CellRead::Ok);
    EXPECT_EQ(n, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(readWinningNumber("9999", n), CellRead::Ok);
    EXPECT_EQ(n, (std::array<int, 4>{9, 9, 9, 9}));
    EXPECT_EQ(readWinningNumber("１０２", n), CellRead::Ok);
    EXPECT_EQ(n, (std::array<int, 4>{0, 1, 0, 2}));
    for (const char* bad : {"10000", "12a4", "-123", "12 4"})
        EXPECT_EQ(readWinningNumber(bad, n), CellRead::Bad) << bad;
    EXPECT_EQ(readWinningNumber("", n), CellRead::Empty);
}

TEST(HistoryValues, MessagesQuoteCellsShortAndWhole) {
    EXPECT_EQ(atLine(12, "x"), "12行目: x");
    EXPECT_EQ(n4::quoted(""), "「」");
    EXPECT_EQ(n4::quoted(std::string(24, 'a')), "「" + std::string(24, 'a') + "」");
    EXPECT_EQ(n4::quoted(std::string(25, 'a')), "「" + std::string(24, 'a') + "…」");
    // 回 is three bytes: eight of them fill 24 bytes; a ninth is left out whole.
    std::string kai8;
    for (int i = 0; i < 8; ++i)
        kai8 += "回";
    EXPECT_EQ(n4::quoted(kai8), "「" + kai8 + "」");
    EXPECT_EQ(n4::quoted("a" + kai8), "「a" + kai8.substr(0, 21) + "…」");
    EXPECT_EQ(digitsText({1, kAbsentDigit, 0, 9}), "1・09");
    EXPECT_EQ(digitsText({-1, 10, kUnreadableDigit, 5}), "・・・5");
}

TEST(HistoryValues, DrawsAreCollectedInOrderOnceEach) {
    auto line = [](int no, std::array<int, 4> digits, int at) {
        LineRecord r;
        r.record.drawNo = no;
        r.record.digits = digits;
        r.line = at;
        return r;
    };
    std::vector<LineRecord> rows = {line(3, {3, 3, 3, 3}, 2), line(1, {1, 1, 1, 1}, 3),
                                    line(3, {3, 3, 3, 3}, 4), line(2, {2, 2, 2, 2}, 5)};
    ImportResult r;
    ASSERT_TRUE(collectDraws(rows, r));
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].drawNo, 1);
    EXPECT_EQ(r.rows[2].drawNo, 3);
    EXPECT_EQ(r.rows[2].digits, (std::array<int, 4>{3, 3, 3, 3}));
    // Two results for one draw: the earlier line is named first, whatever
    // the order the rows came in.
    std::vector<LineRecord> clash = {line(5, {1, 2, 3, 4}, 9), line(5, {1, 2, 3, kAbsentDigit}, 4)};
    ImportResult bad;
    EXPECT_FALSE(collectDraws(clash, bad));
    EXPECT_EQ(bad.message, "4行目と9行目で第5回の当選番号が違います（1234 と 123・）。"
                           "どちらが正しいか決められません。");
    EXPECT_TRUE(bad.rows.empty());
    std::vector<LineRecord> none;
    ImportResult empty;
    EXPECT_FALSE(collectDraws(none, empty));
    EXPECT_EQ(empty.message, "当選データが 1 件もありません。");
}

TEST(HistoryCsv, TheFormatReadIsNamedInFull) {
    struct Case {
        std::string bytes, format;
    } cases[] = {
        {"draw,d1,d2,d3,d4\n1,1,2,3,4\n", "CSV（UTF-8・カンマ区切り・見出しあり）"},
        {"draw\tnumber\n1\t1234\n", "TSV（UTF-8・タブ区切り・見出しあり）"},
        {"1;1;2;3;4\n", "CSV（UTF-8・セミコロン区切り・見出しなし）"},
        {"\xEF\xBB\xBF"
         "1,1234\n",
         "CSV（UTF-8（BOM 付き）・カンマ区切り・見出しなし）"},
        {*utf8ToShiftJis("回,当せん番号\n1,1234\n"), "CSV（Shift-JIS・カンマ区切り・見出しあり）"},
    };
    for (const Case& c : cases) {
        ImportResult r = read(c.bytes);
        ASSERT_TRUE(r.ok) << c.format << ": " << r.message;
        EXPECT_EQ(r.format, c.format);
        EXPECT_EQ(r.message, "");
    }
}

TEST(HistoryCsv, LinesEndInAnyWayAndFieldsKeepWhatTheirQuotesHold) {
    // CR LF, a lone CR, a lone LF, and no end at the last line; line numbers
    // in messages count each of them.
    EXPECT_EQ(drawsOf(read("draw,number\r1,1234\r\n2,5678\n3,0000")), "1:1234 2:5678 3:0000");
    expectRefused("draw,number\r1,1234\r\n\r2,56x8\n", "4行目");
    expectRefused("draw,number\r\n1,1234\r\r2,56x8", "4行目");
    // Doubled quotes are one quote; text after a closing quote stays in the
    // field; blanks before an opening quote go.
    auto r = read("draw,memo,number\n1,\"say \"\"hi\"\", ok\",\"12\"34\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "1:1234");
    expectRefused("draw,memo,number\n1,\"a\"\"\",\"12\"x\n", "2行目", "「12x」");
    // In a tab-separated file an empty first field is a field, not a blank.
    EXPECT_EQ(drawsOf(read("memo\tdraw\tnumber\n\t4\t4444\n")), "4:4444");
    // Lines of blanks and rows of empty fields are passed over.
    EXPECT_EQ(drawsOf(read("\n \t\ndraw,number\n\n,\n \n5,5555\n , \n")), "5:5555");
    // A short row says how many fields it needed and how many it had.
    expectRefused("memo,draw,d1,d2,d3,d4\nx,1,1,2,3,4\nx,2,1,2,3\n", "3行目",
                  "項目が足りません（6 個必要なところ 5 個）。");
}

TEST(HistoryCsv, TheDelimiterIsTheOneThatSplitsTheLinesAlike) {
    // Each line has one comma and one semicolon: a tie, the comma wins.
    EXPECT_EQ(read("1,2;3\n4,5;6\n").message.find("区切り"), std::string::npos);
    // The semicolon splits every line alike; the comma only some of them.
    auto semi = read("draw;number;m,emo\n1;1234;a,b\n2;5678;c,d,e\n");
    ASSERT_TRUE(semi.ok) << semi.message;
    EXPECT_EQ(drawsOf(semi), "1:1234 2:5678");
    EXPECT_NE(semi.format.find("セミコロン"), std::string::npos);
    // Equally alike: the delimiter giving more fields to every line wins.
    auto more = read("draw;d1;d2;d3;d4;memo,x\n1;1;2;3;4;a,b\n");
    ASSERT_TRUE(more.ok) << more.message;
    EXPECT_NE(more.format.find("セミコロン"), std::string::npos);
    // A delimiter that leaves one line whole is no delimiter for the file.
    expectRefused("draw number\n1,1234\n", "1行目", "区切り");
    // Blank lines before the first line are not the first line.
    expectRefused("\n\n  \nno delimiter here\n", "4行目", "区切り");
    expectRefused("\n\nx,y\nz,w\n", "3行目", "回数の列");
}

TEST(HistoryCsv, HeadersNameEachColumnOnce) {
    expectRefused("draw,d1,d1,d3,d4\n1,1,2,3,4\n", "1行目",
                  "第1数字の列が二つ以上あります（d1・d1）");
    expectRefused("draw,d1,d2,d3,d4,n4\n1,1,2,3,4,4\n", "1行目",
                  "第4数字の列が二つ以上あります（d4・n4）");
    expectRefused("回,draw\n1,1\n", "1行目", "回数の列が二つ以上あります（回・draw）");
    expectRefused("number,d1\n1234,1\n", "1行目", "回数の列");
    expectRefused("draw,d2,d3,d4\n1,2,3,4\n", "1行目", "見出しに第1数字の列がありません");
    expectRefused("draw,number,numbers\n1,1,1\n", "1行目",
                  "当選番号の列が二つ以上あります（number・numbers）");
    // Digit columns alone, or a number alone, are enough.
    EXPECT_EQ(drawsOf(read("draw,n1,n2,n3,n4\n1,1,2,3,4\n")), "1:1234");
    // Both: they must agree where both are whole; an empty number is no check.
    EXPECT_EQ(drawsOf(read("draw,number,d1,d2,d3,d4\n1,,1,2,3,4\n2,5678,,,,\n")), "1:1234 2:____");
    EXPECT_EQ(drawsOf(read("draw,number,d1,d2,d3,d4\n1,1299,1,2,,\n")), "1:12__");
    expectRefused("draw,number,d1,d2,d3,d4\n1,1239,1,2,3,4\n", "2行目",
                  "当選番号「1239」と第1～第4数字（1234）が合いません。");
    expectRefused("draw,number\n1,12345\n", "2行目",
                  "当選番号「12345」が 4 けたの数ではありません。");
    expectRefused("draw,d1,d2,d3,d4\n1,1,2,x,4\n", "2行目",
                  "第3数字「x」が 0～9 の一けたではありません。");
    expectRefused("draw,d1,d2,d3,d4\n第x回,1,2,3,4\n", "2行目",
                  "回数「第x回」を 1～99999 の数として読めません。");
}

TEST(HistoryCsv, TheFirstLinesDecideTheDelimiterAndTheColumns) {
    // The delimiter comes from the first ten lines that are not blank: here
    // each of them splits alike at the comma (into three) and at the
    // semicolon (into two); the eleventh, split apart by one more comma, would
    // tip the choice to the semicolon, and is read by the comma's columns:
    // one more than its header has.
    std::string ten = "\n draw,number,memo;x\n";
    for (int no = 1; no <= 9; ++no)
        ten += std::to_string(no) + ",1234,m;x\n";
    auto r = read(ten + "10,1234,m;x\n");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r).substr(0, 7), "1:1234 ");
    EXPECT_EQ(drawsOf(r).substr(drawsOf(r).size() - 8), " 10:1234");
    EXPECT_EQ(read(ten + "10,1,234,m;x\n").message,
              "12行目: 見出しの項目（3 個）より多い項目があります（4 個目「m;x」）。"
              "どの列の値か決められません。");
    // Without a header the columns come from the first of twenty lines that
    // holds a draw and its digits; rows of empty fields are passed over.
    std::string empty19, empty20;
    for (int i = 0; i < 19; ++i)
        empty19 += ",\n";
    empty20 = empty19 + ",\n";
    EXPECT_EQ(drawsOf(read(empty19 + "7054,9577\n")), "7054:9577");
    expectRefused(empty20 + "7054,9577\n", "1行目", "回数と当選番号の並ぶ行としても読めません");
}

// A line is refused once it holds more fields than a history can have (64),
// before the rest of it is split: a line of a million separators costs
// little more than the line itself (before, some 40 bytes a field).
TEST(HistoryCsv, ALineOfTooManyFieldsIsRefusedWithoutTheMemoryOfItsFields) {
    constexpr size_t kLine = 1u << 20;
    for (const auto& [separator, name] :
         {std::pair{',', "comma"}, std::pair{'\t', "tab"}, std::pair{';', "semicolon"}}) {
        std::string text(kLine, separator);
        text[0] = '1';
        const n4test::AllocationMeter meter;
        const ImportResult r = readHistoryBytes(std::move(text));
        const size_t grew = meter.peakGrowth();
        RecordProperty(std::string("peak_growth_bytes_") + name, std::to_string(grew));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, "1行目: 項目が多すぎます（当選データの行は 64 項目までです）。");
        EXPECT_LT(grew, 2 * kLine) << name;
    }
    // After a header, in a row of a million fields.
    std::string wide = "draw,d1,d2,d3,d4\n1,1,2,3,4\n2,5,6,7,8";
    for (int i = 0; i < 1000000; ++i)
        wide += ",9";
    const size_t line = wide.size();
    const n4test::AllocationMeter meter;
    const ImportResult r = readHistoryBytes(std::move(wide));
    const size_t grew = meter.peakGrowth();
    RecordProperty("peak_growth_bytes_wide_row", std::to_string(grew));
    RecordProperty("wide_row_bytes", std::to_string(line));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.rfind("3行目: 項目が多すぎます", 0), 0u) << r.message;
    EXPECT_LT(grew, 2 * line);
}

TEST(HistoryCsv, SixtyFourFieldsAreReadAndARowWiderThanItsHeaderIsRefused) {
    auto columns = [](int count, const std::string& first) {
        std::string s = first;
        for (int i = 5; i < count; ++i)
            s += ",x" + std::to_string(i);
        return s + "\n";
    };
    const std::string head64 = columns(64, "draw,d1,d2,d3,d4");
    const ImportResult wide = read(head64 + columns(64, "7,1,2,3,4"));
    ASSERT_TRUE(wide.ok) << wide.message;
    EXPECT_EQ(drawsOf(wide), "7:1234");
    EXPECT_EQ(drawsOf(read(columns(64, "7,1,2,3,4") + columns(64, "8,5,6,7,8"))), "7:1234 8:5678");
    expectRefused(columns(65, "draw,d1,d2,d3,d4") + "7,1,2,3,4\n", "1行目", "多すぎます");
    expectRefused(head64 + columns(64, "7,1,2,3,4") + columns(65, "8,1,2,3,4"), "3行目",
                  "多すぎます");
    expectRefused(columns(64, "7,1,2,3,4") + columns(65, "8,1,2,3,4"), "2行目", "多すぎます");

    const std::string head = "draw,d1,d2,d3,d4\n1,1,2,3,4\n";
    const ImportResult shifted = read(head + "2,5,6,7,8,9\n");
    EXPECT_FALSE(shifted.ok);
    EXPECT_EQ(shifted.message, "3行目: 見出しの項目（5 個）より多い項目があります（6 個目「9」）。"
                               "どの列の値か決められません。");
    expectRefused(head + "2,5,6,7,8,,\"\",3\n", "3行目", "8 個目「3」");
    // Empty fields at the end of a row, as some spreadsheets write them, say nothing.
    EXPECT_EQ(drawsOf(read(head + "2,5,6,7,8,,\"\" ,\n")), "1:1234 2:5678");
}
