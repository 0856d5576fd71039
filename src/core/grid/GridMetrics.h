#pragma once
// How big a grid is drawn, the same in the window, the pictures and the HTML
// page. A column width of w is w width units; a row height of h is h/64 inch
// (1.5 pixels at 96 dpi); cell texts are in the grid font and keep a little
// air from the lines.

namespace n4::metrics {

// The grid font: small enough that the widest header of a five-unit column
// ("第1数字") fits with its padding in the narrowest window.
constexpr double kFontPoints = 7.5;
// Until a window fits its columns to its width, a width unit is this many
// widths of the digit 0, about the old grid's character unit.
constexpr double kZerosPerWidthUnit = 1.6;
constexpr double kRowUnitsPerInch = 64.0;
// Pixels (at 96 dpi) between a cell's text and its lines, on either side.
constexpr int kTextPadding = 2;

} // namespace n4::metrics
