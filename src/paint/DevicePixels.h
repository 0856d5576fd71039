#pragma once
// Where a painter's logical pixels fall on its device's pixels. At a screen
// scaling of 1.25 or 1.5 a line one logical pixel wide, drawn between logical
// pixels, covers one device pixel here and two there, so that a grid's lines
// look alternately thin and thick. Lines placed through this lie on whole
// device pixels instead, as many as fit in one logical pixel (one at 1.5, two
// at 2), and end where the cell backgrounds end. Pictures drawn as vectors
// (SVG, PDF) have no device pixels: there a line is one logical pixel.
#include <QRectF>

class QPainter;

namespace n4 {

class DevicePixels {
  public:
    explicit DevicePixels(const QPainter& p);

    // The line on logical pixel column x, from row y1 to before y2: the last
    // device pixels before x + 1, or the first ones from x where atStart (the
    // grid's own first column, which has no cell before it).
    QRectF verticalLine(int x, int y1, int y2, bool atStart = false) const;
    QRectF horizontalLine(int y, int x1, int x2, bool atStart = false) const;
    // A line's width in device pixels across columns (x) and rows (y).
    int lineWidthX() const { return x_.width; }
    int lineWidthY() const { return y_.width; }

  private:
    struct Axis {
        double scale = 1, offset = 0;
        int width = 1;
        // The device pixel edge where a fill from logical v starts (as the
        // raster engine rounds a filled rectangle's edges).
        int edge(double v) const;
        double logical(int device) const { return (device - offset) / scale; }
        // [first, end) on the device for the line on logical pixel v.
        std::pair<double, double> line(int v, bool atStart) const;
        std::pair<double, double> span(int from, int to) const {
            return {logical(edge(from)), logical(edge(to))};
        }
    };
    Axis x_, y_;
};

} // namespace n4
