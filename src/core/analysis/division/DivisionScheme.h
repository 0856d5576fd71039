#pragma once
// How the three division windows divide the digits 0..9 into lettered groups.
#include <string>
#include <vector>

#include "core/grid/Rgb.h"

namespace n4 {

struct DivisionGroup {
    std::string letterText; // exact, with its ideographic and ordinary spaces
    int firstDigit, lastDigit;
    Rgb band; // none: the grid's default background
};

struct DivisionScheme {
    const char* name; // the window's name
    std::vector<DivisionGroup> groups;
    bool blueLabelsAllPositions; // else only position 1's digit labels are blue
    bool letterFrameReachesLastColumn;
};

const DivisionScheme& divisionScheme3();
const DivisionScheme& divisionScheme5();
const DivisionScheme& divisionScheme10();

} // namespace n4
