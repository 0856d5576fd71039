#pragma once
// Writing a grid as the command-line tool prints it: TSV text or JSON with the
// colours (the HTML page is GridHtml's).
#include <string>

#include "grid/Grid.h"

namespace n4 {

std::string gridToTsv(const Grid& grid);
std::string gridToJson(const Grid& grid, const std::string& window);
std::string jsonEscape(const std::string& text);

} // namespace n4
