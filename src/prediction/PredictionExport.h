#pragma once
// The prediction as the command-line tool prints it: its four grids.
#include <string>

#include "data/DrawTable.h"
#include "data/StartupFigures.h"

namespace n4 {

bool isPredictionName(const std::string& name);
// reflect < 0: as the settings file in the current folder says.
std::string exportPrediction(const DrawTable& table, const StartupFigures& figures, int reflect,
                             const std::string& format);

} // namespace n4
