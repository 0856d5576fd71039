#pragma once
// A draw's date and prizes in words, as the windows show them.
#include <string>

#include "core/store/DrawTable.h"

namespace n4 {

// 2026年8月21日（金）; "" for an unknown date.
std::string dateText(int yyyymmdd);

// ストレート 2,128,400円　ボックス 177,300円 …; a prize not known or not
// applying says so; "" when none is known.
std::string prizesText(const DrawDetails& details);

} // namespace n4
