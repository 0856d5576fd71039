#pragma once
#include "core/store/DrawTable.h"
#include "core/store/StartupFigures.h"

namespace n4 {

// What every analysis reads: the draw table and the start-up figures.
struct AnalysisInput {
    const DrawTable& table;
    const StartupFigures& figures;
};

} // namespace n4
