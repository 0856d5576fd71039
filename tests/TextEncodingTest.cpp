// Reading the bytes of a history file as text: which encoding, and where a
// byte that none of them can read sits.
#include <gtest/gtest.h>

#include "core/import/TextEncoding.h"

using namespace n4;

namespace {

// ASCII text as UTF-16 with its byte order mark; "!" stands for a lone high
// surrogate, which no UTF-16 reader can take.
std::string utf16(const std::string& ascii, bool littleEndian) {
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : ascii) {
        const unsigned unit = c == '!' ? 0xD800 : static_cast<unsigned char>(c);
        const char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
        out += littleEndian ? std::string{lo, hi} : std::string{hi, lo};
    }
    return out;
}

} // namespace

TEST(TextEncoding, ShortShiftJisTextsConvertBothWays) {
    EXPECT_EQ(shiftJisToUtf8("\x82\xa0"), std::optional<std::string>("あ"));
    EXPECT_EQ(utf8ToShiftJis("あ"), std::optional<std::string>("\x82\xa0"));
    EXPECT_EQ(shiftJisToUtf8("1"), std::optional<std::string>("1"));
    EXPECT_EQ(shiftJisToUtf8(""), std::optional<std::string>(""));
    EXPECT_EQ(utf8ToShiftJis("回数😀"), std::nullopt); // no Shift-JIS for it: nothing, not a part
}

TEST(TextEncoding, TextsLongerThanTheConversionBufferConvertWhole) {
    std::string utf8;
    for (int i = 0; i < 30000; ++i)
        utf8 += "第" + std::to_string(i % 10) + "数字\n";
    const auto sjis = utf8ToShiftJis(utf8);
    ASSERT_TRUE(sjis);
    EXPECT_EQ(sjis->size(), 30000u * 8);
    EXPECT_EQ(sjis->compare(0, 8,
                            "\x91\xe6"
                            "0"
                            "\x90\x94\x8e\x9a\n"),
              0);
    EXPECT_EQ(shiftJisToUtf8(*sjis), std::optional<std::string>(utf8));
}

TEST(TextEncoding, Utf8IsRecognisedOnlyWhenEverySequenceIsWhole) {
    EXPECT_TRUE(isValidUtf8("回数 é"));
    EXPECT_FALSE(isValidUtf8("\xC3\x28"));     // a lead byte without its follower
    EXPECT_FALSE(isValidUtf8("a\xE3\x81"));    // cut short at the end
    EXPECT_FALSE(isValidUtf8("\xE3\x81\x41")); // the third byte is no follower
    EXPECT_FALSE(isValidUtf8("\x80"));
    EXPECT_FALSE(isValidUtf8("\xC0\x80"));         // a NUL written long: never valid UTF-8
    EXPECT_FALSE(isValidUtf8("\xF5\x80\x80\x80")); // past the last code point
}

TEST(TextEncoding, AByteOrderMarkAloneIsAnEmptyUtf16Text) {
    for (const char* bom : {"\xFF\xFE", "\xFE\xFF"}) {
        DecodedText d = decodeHistoryText(std::string(bom, 2));
        EXPECT_TRUE(d.ok) << d.message;
        EXPECT_EQ(d.encoding, "UTF-16");
        EXPECT_EQ(d.text, "");
    }
}

TEST(TextEncoding, AnUnreadableUtf16CharacterIsNamedByItsLine) {
    // CR LF, a lone LF and a lone CR each end one line.
    for (bool le : {true, false}) {
        DecodedText crlf = decodeHistoryText(utf16("a\r\nb\r\nc!\r\n", le));
        EXPECT_FALSE(crlf.ok);
        EXPECT_EQ(crlf.message.rfind("3行目", 0), 0u) << crlf.message;
        DecodedText mixed = decodeHistoryText(utf16("a\rb\nc\r\nd!", le));
        EXPECT_EQ(mixed.message.rfind("4行目", 0), 0u) << mixed.message;
    }
}

TEST(TextEncoding, AnUnreadableByteIsNamedWithItsValue) {
    DecodedText d = decodeHistoryText("draw,d1\n1,\xFF\n");
    EXPECT_FALSE(d.ok);
    EXPECT_NE(d.message.find("2行目"), std::string::npos) << d.message;
    EXPECT_NE(d.message.find("0xFF"), std::string::npos) << d.message;
}

namespace {

// A history header in UTF-8 with many Japanese characters, so that one
// damaged sequence after it is damaged UTF-8 and not taken for Shift-JIS.
const std::string kJapaneseHeader = "回数,第1数字,第2数字,第3数字,第4数字\n";

} // namespace

TEST(TextEncoding, EveryUtf8LeadByteIsJudgedByItsRange) {
    // Whole sequences at both ends of each lead byte's range are text, also
    // as the very last bytes of the file.
    for (const char* whole : {"\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xEF\xBF\xBD",
                              "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        const std::string bytes = kJapaneseHeader + "1,2,3,4,5\n" + whole;
        DecodedText d = decodeHistoryText(bytes);
        EXPECT_TRUE(d.ok) << d.message;
        EXPECT_EQ(d.text, bytes);
        EXPECT_EQ(d.encoding, "UTF-8");
        EXPECT_TRUE(isValidUtf8(bytes));
    }
    // A byte that leads no sequence (below 0xC2, above 0xF4, or a follower
    // standing first) is named, with its line, even with followers after it.
    struct Case {
        const char* bytes;
        const char* named;
    } refused[] = {{"\xC1\xBF", "0xC1"},
                   {"\xF5\x80\x80\x80", "0xF5"},
                   {"\xF8\x88\x80\x80", "0xF8"},
                   {"\x80\x80\x80\x80", "0x80"},
                   {"\xE5\x9B", "0xE5"}}; // cut short at the end of the file
    for (const Case& c : refused) {
        DecodedText d = decodeHistoryText(kJapaneseHeader + "1,2,3,4,5\n2," + c.bytes);
        EXPECT_FALSE(d.ok) << c.named;
        EXPECT_TRUE(d.text.empty()) << c.named;
        EXPECT_EQ(d.message.rfind("3行目", 0), 0u) << d.message;
        EXPECT_NE(d.message.find(c.named), std::string::npos) << d.message;
    }
    // Well-formed only: the second byte's range depends on the lead, so an
    // overlong form, a surrogate and a code point above U+10FFFF are not
    // UTF-8, while the sequences just inside those ranges are.
    for (const char* illFormed : {"\xE0\x80\xAF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",
                                  "\xF0\x80\x80\xAF", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(isValidUtf8(std::string("a") + illFormed)) << illFormed;
        const DecodedText d = decodeHistoryText(kJapaneseHeader + "1,2,3,4,5\n" + illFormed);
        EXPECT_TRUE(d.encoding.rfind("UTF-8", 0) != 0 || !d.ok) << illFormed;
    }
    for (const char* wellFormed :
         {"\xED\x9F\xBF", "\xEE\x80\x80", "\xF1\x80\x80\x80", "\xF3\xBF\xBF\xBF"})
        EXPECT_TRUE(isValidUtf8(wellFormed)) << wellFormed;
    EXPECT_FALSE(isValidUtf8("\xF8\x88\x80\x80\x80"));
    EXPECT_FALSE(isValidUtf8("\xF0\x90\x80"));
    EXPECT_FALSE(isValidUtf8("a\xC3"));
    EXPECT_TRUE(isValidUtf8(""));
}

TEST(TextEncoding, TheEncodingOfAHistoryIsToldByItsBytes) {
    DecodedText bom = decodeHistoryText("\xEF\xBB\xBF" + kJapaneseHeader);
    EXPECT_TRUE(bom.ok);
    EXPECT_EQ(bom.text, kJapaneseHeader);
    EXPECT_EQ(bom.encoding, "UTF-8（BOM 付き）");
    // Text after a BOM is UTF-8 even when one byte of it is damaged.
    DecodedText damaged = decodeHistoryText("\xEF\xBB\xBF"
                                            "a\n\x82\xA0\n");
    EXPECT_FALSE(damaged.ok);
    EXPECT_EQ(damaged.message.rfind("2行目", 0), 0u) << damaged.message;
    // Shift-JIS double bytes lead with 0x81..0x9F or 0xE0..0xFC.
    for (const char* sjis : {"\x81\x40", "\x9F\xFC", "\xE0\x40", "\xFC\x4B", "\x9F\x40"}) {
        DecodedText d = decodeHistoryText(std::string("draw,memo\n1,") + sjis + "\n");
        EXPECT_TRUE(d.ok) << d.message;
        EXPECT_EQ(d.encoding, "Shift-JIS");
        EXPECT_EQ(d.text, "draw,memo\n1," + *shiftJisToUtf8(sjis) + "\n");
    }
    // Half-width kana alone are no sign of Shift-JIS: a stray byte.
    DecodedText kana = decodeHistoryText("draw,memo\n1,\xB1\xB2\n");
    EXPECT_FALSE(kana.ok);
    EXPECT_EQ(kana.message.rfind("2行目", 0), 0u) << kana.message;
    EXPECT_NE(kana.message.find("0xB1"), std::string::npos) << kana.message;
    // Half-width kana can pair into what reads as UTF-8 ("ﾂｱ" is U+00B1): as
    // many such pairs as stray bytes is still Shift-JIS, one pair more is
    // damaged UTF-8.
    DecodedText kanaPairs = decodeHistoryText("draw,memo\n1,\xC2\xB1\xC2\xB1\x82\xA0\n");
    EXPECT_TRUE(kanaPairs.ok) << kanaPairs.message;
    EXPECT_EQ(kanaPairs.text, "draw,memo\n1,ﾂｱﾂｱあ\n");
    DecodedText morePairs = decodeHistoryText("draw,memo\n1,\xC2\xB1\xC2\xB1\xC2\xB1\x82\xA0\n");
    EXPECT_FALSE(morePairs.ok);
    EXPECT_NE(morePairs.message.find("0x82"), std::string::npos) << morePairs.message;
    // Only the two bytes of a mark together make UTF-16: a text with one of
    // them second is what it is otherwise.
    for (const char* second : {"a\xFE", "a\xFF"}) {
        DecodedText d = decodeHistoryText(std::string(second) + "bc\n");
        EXPECT_FALSE(d.ok);
        EXPECT_EQ(d.message.rfind("1行目", 0), 0u) << d.message;
        EXPECT_NE(d.message.find(second[1] == '\xFE' ? "0xFE" : "0xFF"), std::string::npos)
            << d.message;
    }
    // A NUL is named as such, with its line.
    DecodedText nul = decodeHistoryText(std::string("a\r\nb\0", 5));
    EXPECT_FALSE(nul.ok);
    EXPECT_EQ(nul.message.rfind("2行目: 文字ではないバイト（0x00）", 0), 0u) << nul.message;
}

// A UTF-16 file cut short in the middle of a character is damaged, not
// read up to the cut.
TEST(TextEncoding, AUtf16TextCutInsideACharacterIsRefused) {
    for (bool le : {true, false}) {
        for (const std::string& text : {std::string(le ? "\xFF\xFE"
                                                         "a"
                                                       : "\xFE\xFF"
                                                         "a",
                                                    3),
                                        std::string(le ? "\xFF\xFE"
                                                         "a\0b"
                                                       : "\xFE\xFF"
                                                         "\0ab",
                                                    5)}) {
            DecodedText d = decodeHistoryText(text);
            EXPECT_FALSE(d.ok) << text.size() << " " << d.text;
            EXPECT_EQ(d.message.rfind("1行目: UTF-16 として読めない文字があります。", 0), 0u)
                << d.message;
        }
    }
}

TEST(TextEncoding, OlderSettingsTextsReadAsUtf8OrShiftJis) {
    EXPECT_EQ(decodeUtf8OrShiftJis("\xEF\xBB\xBF"
                                   "反映=1"),
              std::optional<std::string>("反映=1"));
    EXPECT_EQ(decodeUtf8OrShiftJis("反映=1"), std::optional<std::string>("反映=1"));
    EXPECT_EQ(decodeUtf8OrShiftJis(*utf8ToShiftJis("反映=1")),
              std::optional<std::string>("反映=1"));
    EXPECT_EQ(decodeUtf8OrShiftJis(""), std::optional<std::string>(""));
    // Neither: nothing rather than a wrong text.
    EXPECT_EQ(decodeUtf8OrShiftJis("\x82\x0A\xFF"), std::nullopt);
    EXPECT_EQ(utf8ToShiftJis("\xFF"), std::nullopt);
}

TEST(TextEncoding, LinesOfAnOffsetCountEveryKindOfLineEnd) {
    EXPECT_EQ(lineOfOffset("abc", 0), 1);
    EXPECT_EQ(lineOfOffset("a\nb", 2), 2);
    EXPECT_EQ(lineOfOffset("a\r\nb", 2), 1); // between CR and LF: still the first line
    EXPECT_EQ(lineOfOffset("a\r\nb", 3), 2);
    EXPECT_EQ(lineOfOffset("a\rb\r", 3), 2);
    EXPECT_EQ(lineOfOffset("a\rb\r", 4), 3);   // a CR that ends the text ends a line
    EXPECT_EQ(lineOfOffset("a\n\n\n", 99), 4); // beyond the end: the last line
    EXPECT_EQ(lineOfOffset("a\r\n", 99), 2);   // a CR LF that ends the text is one line end
}

TEST(TextEncoding, OnlyRealLineEndsCountInUtf16) {
    // U+010A and U+010D share their low byte with LF and CR: no line end.
    for (bool le : {true, false}) {
        std::string text = utf16("a!", le);
        const char lf[2] = {'\x0A', '\x01'}, cr[2] = {'\x0D', '\x01'};
        for (const char* c : {lf, cr}) // inserted before the "!"
            text.insert(4, le ? std::string{c[0], c[1]} : std::string{c[1], c[0]});
        DecodedText d = decodeHistoryText(text);
        EXPECT_FALSE(d.ok);
        EXPECT_EQ(d.message.rfind("1行目", 0), 0u) << d.message;
        // Two lone CRs end two lines.
        DecodedText end = decodeHistoryText(utf16("\r\r!", le));
        EXPECT_EQ(end.message.rfind("3行目", 0), 0u) << end.message;
        // A CR before U+010A is a lone CR too.
        std::string crThenLookalike = utf16("\r!", le);
        crThenLookalike.insert(4, le ? std::string{'\x0A', '\x01'} : std::string{'\x01', '\x0A'});
        DecodedText lookalike = decodeHistoryText(crThenLookalike);
        EXPECT_EQ(lookalike.message.rfind("2行目", 0), 0u) << lookalike.message;
    }
}
