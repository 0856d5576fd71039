#pragma once
// Reading a draw history written as delimited text: comma, tab or semicolon
// (found from the lines themselves), with a header naming the columns or
// without one. With a header, the draw column and either four digit columns
// or one four-digit winning-number column are found by their names; without
// one, the first column holding a whole number is the draw, followed by four
// one-digit columns or a four-digit number. Every other column is ignored.
// An empty digit is an absent digit.
#include <string>
#include <string_view>

#include "core/import/HistoryImport.h"

namespace n4 {

// UTF-8 text (see decodeHistoryText); encoding names it in result.format.
ImportResult readDelimitedHistory(std::string_view text, const std::string& encoding);

// Bytes in any accepted encoding and format; the same as readHistoryBytes.
using CsvParseResult = ImportResult;
ImportResult parseHistoryCsv(const std::string& bytes);

} // namespace n4
