#pragma once
#include "data/DrawTable.h"
#include "data/StartupFigures.h"

namespace n4 {

// What every analysis reads: the draw table and the start-up figures.
struct AnalysisInput {
    const DrawTable& table;
    const StartupFigures& figures;
};

} // namespace n4
