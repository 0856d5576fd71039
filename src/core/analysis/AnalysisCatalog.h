#pragma once
// Every analysis the program can show, by its window name and by the short
// name the command-line tool accepts. The window and the tool call the same
// compute function, so an export is the very grid the window shows. The
// window's title and the main window's menu item are named here too, so the
// tool accepts the names a user reads on the screen.

#include <string>
#include <vector>

#include "core/analysis/common/AnalysisInput.h"
#include "core/grid/Grid.h"

namespace n4 {

using ComputeFn = Grid (*)(const AnalysisInput&);

struct AnalysisEntry {
    const char* cliName;
    const char* windowName;
    ComputeFn compute;
    const char* caption;  // the window's title
    const char* menuText; // the main window's menu item that opens it
    const char* label;    // the description above its grid
    int titleRows;        // the rows that head the grid, kept in view and on every page
};

const std::vector<AnalysisEntry>& analysisCatalog();
// By short name or window name; nullptr when unknown (the tool's names for
// every window, titles and menu items too, are in core/cli/ExportNames.h).
const AnalysisEntry* findAnalysis(const std::string& name);

} // namespace n4
