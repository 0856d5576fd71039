#pragma once
// A draw's date, prizes and completeness in words, as the windows show them.
#include <string>

#include "core/store/DrawTable.h"

namespace n4 {

// 1,234,567 (a minus sign first where it is below zero).
std::string groupedDigits(long long value);

// 2026年8月21日（金）; "" for an unknown date.
std::string dateText(int yyyymmdd);

// ストレート 2,128,400円　ボックス 177,300円 …; a prize not known or not
// applying says so; "" when none is known.
std::string prizesText(const DrawDetails& details);

// The draws the analyses leave out because a digit is missing (or is no
// digit): 「第7059回は数字が欠けているため分析に含まれません。」, the first
// five named and the rest counted; "" when every draw is whole.
std::string incompleteDrawsText(const DrawTable& table);

} // namespace n4
