#include "ui/shell/WindowArrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace n4 {

namespace {

QList<QMdiSubWindow*> visibleWindows(QMdiArea* area, bool minimised) {
    QList<QMdiSubWindow*> out;
    for (QMdiSubWindow* w : area->subWindowList(QMdiArea::CreationOrder))
        if (w->isVisible() && w->isMinimized() == minimised) out.append(w);
    return out;
}

// One above the other (horizontal bands) or side by side (vertical bands).
void tile(QMdiArea* area, bool horizontal) {
    const auto windows = visibleWindows(area, false);
    if (windows.isEmpty()) return;
    const QRect r = area->viewport()->rect();
    const int n = windows.size();
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMaximized()) w->showNormal();
        if (horizontal) {
            int top = r.height() * i / n, bottom = r.height() * (i + 1) / n;
            w->setGeometry(0, top, r.width(), bottom - top);
        } else {
            int left = r.width() * i / n, right = r.width() * (i + 1) / n;
            w->setGeometry(left, 0, right - left, r.height());
        }
    }
}

// Along the bottom from the left; a row that is full goes on above it.
void lineUpIcons(QMdiArea* area) {
    const QRect r = area->viewport()->rect();
    int x = 0, bottom = r.height();
    for (QMdiSubWindow* w : visibleWindows(area, true)) {
        const QSize s = w->size();
        if (x + s.width() > r.width() && x > 0) {
            x = 0;
            bottom -= s.height();
        }
        w->move(x, bottom - s.height());
        x += s.width();
    }
}

} // namespace

void arrangeWindows(QMdiArea* area, Arrangement how) {
    switch (how) {
    case Arrangement::Cascade:
        area->cascadeSubWindows();
        break;
    case Arrangement::TileHorizontal:
        tile(area, true);
        break;
    case Arrangement::TileVertical:
        tile(area, false);
        break;
    case Arrangement::ArrangeIcons:
        lineUpIcons(area);
        break;
    }
}

} // namespace n4
