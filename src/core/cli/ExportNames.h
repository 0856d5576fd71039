#pragma once
// The names `export` accepts for each window it can print: the tool's own
// short name, the title the window shows, the text of the main window's menu
// item that opens it, and the name earlier versions accepted. The analyses'
// names come from the analysis catalog and the prediction's from the
// prediction, which the windows take their titles from too.
#include <string>
#include <vector>

namespace n4 {

struct ExportName {
    std::string name;                // frequency, by-count … prediction
    std::string caption;             // the window's title: 回数別頻度分析
    std::vector<std::string> others; // the menu item's text and the older name, where they differ
};

// In the order of the analysis catalog, the prediction last.
const std::vector<ExportName>& exportNames();

// The short name that `given` stands for, "" when none. A menu item's key
// at the end, "(&D)" or "(D)", may be left on.
std::string exportNameFor(const std::string& given);

} // namespace n4
