#pragma once
// Reading draws out of text copied from a results web page: every line that
// names a draw as 第NNNN回 and holds a four-digit winning number (on the same
// line or on one of the next few lines, as result pages lay them out) gives
// one draw; everything else on the page is ignored. Dates (2026/08/21,
// 2026年), amounts (1,234,500円) and counts (13口) are not taken for numbers.
#include <string_view>

#include "core/import/HistoryImport.h"

namespace n4 {

ImportResult readResultText(std::string_view utf8);

} // namespace n4
