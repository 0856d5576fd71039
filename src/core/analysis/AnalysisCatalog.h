#pragma once
// Every analysis the program can show, by its window name and by the short
// name the command-line tool accepts. The window and the tool call the same
// compute function, so an export is the very grid the window shows.

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
    const char* caption; // the window's title
    const char* label;   // the description above its grid
    int titleRows;       // the rows that head the grid, kept in view and on every page
};

const std::vector<AnalysisEntry>& analysisCatalog();
// By short name or window name; nullptr when unknown.
const AnalysisEntry* findAnalysis(const std::string& name);

} // namespace n4
