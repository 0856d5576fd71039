#pragma once
// Reading a draw history written as JSON: an array of draw objects such as
// {"round": 7054, "date": "2026-08-21", "numbers": [9, 5, 7, 7]}, an
// object holding such an array, or one draw object alone. The draw and the digits are found by the
// same names as the columns of a CSV header; the digits may be an array of
// four, a four-digit number or string, or four keys d1..d4. Other keys are
// ignored. The array is read one object at a time, never held whole.
#include <string>
#include <string_view>

#include "core/import/HistoryImport.h"

namespace n4 {

// UTF-8 text; encoding names it in result.format.
ImportResult readJsonHistory(std::string_view text, const std::string& encoding);

} // namespace n4
