#pragma once
// Shift-JIS <-> UTF-8 for the files users bring from older Windows copies.
#include <optional>
#include <string>

namespace n4 {

bool isValidUtf8(const std::string& bytes);
std::optional<std::string> shiftJisToUtf8(const std::string& bytes);
std::optional<std::string> utf8ToShiftJis(const std::string& text);
// UTF-8 (a leading BOM dropped) when the bytes are valid UTF-8, else Shift-JIS.
std::optional<std::string> decodeUtf8OrShiftJis(const std::string& bytes);

} // namespace n4
