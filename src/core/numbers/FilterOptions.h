#pragma once
// The filter of 買い目作成 as command-line options (numbers4marvo-cli
// numbers): one option a condition, named like the window's controls.
#include <string>
#include <vector>

#include "core/numbers/NumberFilter.h"

namespace n4 {

struct FilterOptionSpec {
    const char* name;  // "--sum"
    const char* value; // as --help names it; "" for a switch
    const char* help;
};
const std::vector<FilterOptionSpec>& filterOptionSpecs();

// Puts one option's value into the filter; false with a message in Japanese.
bool applyFilterOption(const std::string& name, const std::string& value, NumberFilter& filter,
                       std::string& error);
// straight, box, set (or ストレート, ボックス, セット).
bool parseBuyKind(const std::string& text, BuyKind& kind, std::string& error);

} // namespace n4
