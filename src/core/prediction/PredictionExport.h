#pragma once
// The prediction as the command-line tool prints it: its four grids.
#include <array>
#include <string>
#include <vector>

#include "core/grid/Grid.h"
#include "core/grid/PictureRequest.h"
#include "core/store/DrawTable.h"
#include "core/store/StartupFigures.h"

namespace n4 {

// The names the tool accepts for the prediction: its own short name first,
// then the window's title (which its menu item shows too) and the name the
// window has inside the program, which earlier versions accepted.
const std::vector<std::string>& predictionNames();
bool isPredictionName(const std::string& name);
// The four grids of the prediction window. reflect < 0: as the settings file
// in the current folder says.
std::array<Grid, 4> computePrediction(const DrawTable& table, const StartupFigures& figures,
                                      int reflect);
// A picture of the four grids, each under its method's label, as the window
// shows them.
PictureRequest predictionPicture(const std::array<Grid, 4>& grids, const std::string& format);
// reflect < 0: as the settings file in the current folder says.
std::string exportPrediction(const DrawTable& table, const StartupFigures& figures, int reflect,
                             const std::string& format);

} // namespace n4
