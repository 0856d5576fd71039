#pragma once
// One row per analysis window: what the common frame needs to show it. The
// compute function comes from the analysis catalog by the window's name.
#include <vector>

#include "core/analysis/AnalysisCatalog.h"
#include "ui/grid/AnalysisFrame.h"

namespace n4 {

enum class Legend {
    None,
    DrawnDigit, // a blue ball, "：当選数字"
    CarryOver,  // a swatch RGB(128,255,255), ":前回の数字"
    Dispersion, // "：本数字" and "：ボーナス数字"
};

struct AnalysisWindowInfo {
    const char* name;    // the window's name, also the export name
    const char* menu;    // the menu command that opens it
    const char* caption; // window title
    const char* label;   // Label1, the description
    int widthTwips, heightTwips;
    bool propEndOnOpen;
    bool printButton;
    Legend legend;
    // Display: the title rows and label columns that stay in view while the
    // grid scrolls, and where it opens.
    int frozenRows, frozenCols;
    OpensAt opensAt;
};

const std::vector<AnalysisWindowInfo>& analysisWindowTable();
const AnalysisWindowInfo* findAnalysisWindow(const char* name);
// The window's computation, or nullptr while it is not built.
ComputeFn computeFor(const AnalysisWindowInfo& info);

} // namespace n4
