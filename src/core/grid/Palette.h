#pragma once
// The colours the windows share, named once.
#include "core/grid/Rgb.h"

namespace n4::palette {

constexpr Rgb Black{0, 0, 0};
constexpr Rgb White{255, 255, 255};
constexpr Rgb Red{255, 0, 0};
constexpr Rgb Blue{0, 0, 255};
constexpr Rgb LabelYellow{255, 255, 200}; // label cells
constexpr Rgb HeaderPink{255, 200, 200};  // header bands
constexpr Rgb Cyan{200, 255, 255};        // highlights
constexpr Rgb Green{200, 255, 200};
constexpr Rgb Magenta{255, 200, 255};
constexpr Rgb Lavender{200, 200, 255};
constexpr Rgb NothingFound{225, 225, 225}; // a draw in which nothing was found
constexpr Rgb Mark{62, 158, 255};          // the "●" marks
constexpr Rgb ChartLine{136, 196, 255};    // grid lines of the chart windows
constexpr Rgb ChartBand{222, 254, 253};
constexpr Rgb CarrySwatch{128, 255, 255};

} // namespace n4::palette

namespace n4::marks {
inline constexpr const char* Dot = "●";
}
