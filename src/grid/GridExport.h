#pragma once
// Writing a grid as the command-line tool prints it: TSV text, JSON with the
// colours, or a self-contained HTML page.
#include <string>

#include "grid/Grid.h"

namespace n4 {

std::string gridToTsv(const Grid& grid);
std::string gridToJson(const Grid& grid, const std::string& window);
std::string gridToHtml(const Grid& grid, const std::string& title);
std::string gridToHtmlTable(const Grid& grid);
std::string htmlPage(const std::string& title, const std::string& body);
std::string jsonEscape(const std::string& text);
std::string htmlEscape(const std::string& text);

} // namespace n4
