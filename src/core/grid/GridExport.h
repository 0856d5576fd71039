#pragma once
// Writing a grid as the command-line tool prints it: TSV text or JSON with the
// colours (the HTML page is GridHtml's). The write* forms stream the cells to
// the output as they are read, so a long chart never exists twice in memory;
// the gridTo* forms return the same text whole, for small grids.
#include <iosfwd>
#include <string>

#include "core/grid/Grid.h"

namespace n4 {

void writeTsv(std::ostream& out, const Grid& grid);
void writeJson(std::ostream& out, const Grid& grid, const std::string& window);

std::string gridToTsv(const Grid& grid);
std::string gridToJson(const Grid& grid, const std::string& window);
std::string jsonEscape(const std::string& text);

} // namespace n4
