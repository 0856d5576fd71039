#include "paint/GridLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "core/grid/GridMetrics.h"

namespace n4 {

namespace {

int itemAt(const std::vector<int>& edges, int pos) {
    return static_cast<int>(std::upper_bound(edges.begin(), edges.end(), pos) - edges.begin());
}

} // namespace

GridLayout::GridLayout(const Grid& grid, double widthUnit, double dpi) : unit_(widthUnit) {
    double x = 0;
    for (int c = 1; c <= grid.maxCols(); ++c) {
        x += grid.colWidth(c) * unit_;
        colX_.push_back(std::max(colX_.back() + 1, static_cast<int>(std::floor(x + 1e-6))));
    }
    const double rowUnit = dpi / metrics::kRowUnitsPerInch;
    double y = 0;
    for (int r = 1; r <= grid.maxRows(); ++r) {
        y += grid.rowHeight(r) * rowUnit;
        rowY_.push_back(std::max(rowY_.back() + 1, static_cast<int>(std::lround(y))));
    }
}

double GridLayout::defaultWidthUnit(const QFont& font) {
    return metrics::kZerosPerWidthUnit * QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
}

int GridLayout::columnAt(int x) const {
    return itemAt(colX_, x);
}

int GridLayout::rowAt(int y) const {
    return itemAt(rowY_, y);
}

} // namespace n4
