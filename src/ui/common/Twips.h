#pragma once
// Window sizes are given in twips (1/1440 inch): 15 twips per pixel at 96 dpi,
// scaled with the screen's logical dpi.
#include <QPaintDevice>
#include <QRect>
#include <QSize>

namespace n4 {

inline int twipsToPixels(int twips, const QPaintDevice* device) {
    const double dpi = device ? device->logicalDpiX() : 96.0;
    return static_cast<int>(twips / 15.0 * dpi / 96.0 + 0.5);
}

inline QSize twipsSize(int width, int height, const QPaintDevice* device) {
    return QSize(twipsToPixels(width, device), twipsToPixels(height, device));
}

inline QRect twipsRect(int left, int top, int width, int height, const QPaintDevice* device) {
    return QRect(twipsToPixels(left, device), twipsToPixels(top, device),
                 twipsToPixels(width, device), twipsToPixels(height, device));
}

} // namespace n4
