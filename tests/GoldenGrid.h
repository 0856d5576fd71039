#pragma once
// Whole grids pinned in readable text files under tests/golden/: one line per
// row with the texts as the window shows them ("|" between cells, like the
// TSV export), and under it the row's colours, alignment and lines, each as
// runs of columns. A change to any cell of a window then fails the window's
// test by name. Set N4_UPDATE_GOLDEN=1 to rewrite the files from the code,
// then read the difference before committing it.
#include <string>

#include "core/grid/Grid.h"
#include "core/store/DrawTable.h"

namespace n4test {

// The grid as the golden files show it (with a line counting the writes that
// reached past its edge, when there are any).
std::string describeGrid(const n4::Grid& grid);
// The draws, eight to a line: "3:1324" and "20:12-4" for an absent digit.
std::string describeHistory(const n4::DrawTable& table);
// Compares text with tests/golden/NAME.txt (or writes it in update mode);
// a gtest failure names the first line that differs.
void expectGolden(const std::string& name, const std::string& text);

} // namespace n4test
