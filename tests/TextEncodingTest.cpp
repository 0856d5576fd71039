// Reading the bytes of a history file as text: which encoding, and where a
// byte that none of them can read sits.
#include <gtest/gtest.h>

#include "data/TextEncoding.h"

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
}

TEST(TextEncoding, Utf8IsRecognisedOnlyWhenEverySequenceIsWhole) {
    EXPECT_TRUE(isValidUtf8("回数 é"));
    EXPECT_FALSE(isValidUtf8("\xC3\x28"));     // a lead byte without its follower
    EXPECT_FALSE(isValidUtf8("a\xE3\x81"));    // cut short at the end
    EXPECT_FALSE(isValidUtf8("\xE3\x81\x41")); // the third byte is no follower
    EXPECT_FALSE(isValidUtf8("\x80"));
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
