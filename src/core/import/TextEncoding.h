#pragma once
// Shift-JIS <-> UTF-8 for the files users bring from older Windows copies,
// and recognising the encoding of a history file by its bytes.
#include <optional>
#include <string>
#include <string_view>

namespace n4 {

bool isValidUtf8(const std::string& bytes);
std::optional<std::string> shiftJisToUtf8(const std::string& bytes);
std::optional<std::string> utf8ToShiftJis(const std::string& text);
// UTF-8 (a leading BOM dropped) when the bytes are valid UTF-8, else Shift-JIS.
std::optional<std::string> decodeUtf8OrShiftJis(const std::string& bytes);

struct DecodedText {
    bool ok = false;
    std::string text;     // UTF-8 without a BOM
    std::string encoding; // Japanese name of what the bytes were read as
    std::string message;  // Japanese, with the line of the first undecodable byte
};

// UTF-8 with or without BOM, UTF-16 with a BOM, or Shift-JIS (CP932). A byte
// that none of them can read, or a NUL in a text that is not UTF-16, is
// refused with its line number. Takes the bytes by value so that a caller
// can hand its buffer over: UTF-8 is used in place, the others are converted
// without a larger interim copy.
DecodedText decodeHistoryText(std::string bytes);

// 1-based line of a byte offset; CR LF, LF and a lone CR each end a line.
int lineOfOffset(std::string_view text, size_t offset);

} // namespace n4
