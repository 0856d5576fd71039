#pragma once
#include <cstdint>
#include <string>

namespace n4 {

// A colour as the windows name it: RGB(r,g,b). The "none" value means the
// grid's own default (no colour set).
struct Rgb {
    int r = -1, g = -1, b = -1;
    constexpr Rgb() = default;
    constexpr Rgb(int red, int green, int blue) : r(red), g(green), b(blue) {}
    static constexpr Rgb none() { return Rgb(); }
    constexpr bool isNone() const { return r < 0; }
    constexpr bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    constexpr bool operator!=(const Rgb& o) const { return !(*this == o); }
    std::string hex() const; // "#rrggbb"
};

// Appends "#rrggbb", as Rgb::hex() gives it, without a string of its own.
void appendHex(std::string& out, Rgb colour);

} // namespace n4
