#include "paint/DevicePixels.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace n4 {

namespace {

bool paintsPixels(const QPainter& p) {
    const QPaintEngine* engine = p.paintEngine();
    if (!engine) return false;
    const QPaintEngine::Type type = engine->type();
    return type == QPaintEngine::Raster || type == QPaintEngine::OpenGL2 ||
           type == QPaintEngine::X11 || type == QPaintEngine::Windows;
}

} // namespace

DevicePixels::DevicePixels(const QPainter& p) {
    const QTransform t = p.deviceTransform();
    // Turned or sheared painting has no rows and columns of pixels to keep to.
    if (!paintsPixels(p) || t.type() > QTransform::TxScale || t.m11() <= 0 || t.m22() <= 0) return;
    x_ = Axis{t.m11(), t.dx(), std::max(1, int(std::floor(t.m11() + 1e-6)))};
    y_ = Axis{t.m22(), t.dy(), std::max(1, int(std::floor(t.m22() + 1e-6)))};
}

int DevicePixels::Axis::edge(double v) const {
    return int(std::floor(scale * v + offset + 0.5));
}

std::pair<double, double> DevicePixels::Axis::line(int v, bool atStart) const {
    const int first = atStart ? edge(v) : edge(v + 1) - width;
    return {logical(first), logical(first + width)};
}

QRectF DevicePixels::verticalLine(int x, int y1, int y2, bool atStart) const {
    const auto [left, right] = x_.line(x, atStart);
    const auto [top, bottom] = y_.span(y1, y2);
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QRectF DevicePixels::horizontalLine(int y, int x1, int x2, bool atStart) const {
    const auto [top, bottom] = y_.line(y, atStart);
    const auto [left, right] = x_.span(x1, x2);
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

} // namespace n4
