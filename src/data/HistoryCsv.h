#pragma once
// Reading a draw history CSV: a header naming draw/回数 and d1..d4 or
// 第1数字..第4数字 (other columns ignored), UTF-8 with or without BOM, or
// Shift-JIS. An empty digit is an absent digit.

#include <string>
#include <vector>

#include "data/DrawTable.h"

namespace n4 {

struct CsvParseResult {
    bool ok = false;
    std::vector<DrawRecord> rows;
    std::string message; // Japanese, with the line number of the first bad line
};

CsvParseResult parseHistoryCsv(const std::string& bytes);

} // namespace n4
