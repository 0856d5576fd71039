#include "grid/GridView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace n4 {

namespace {

QColor toQColor(Rgb c, const QColor& fallback) {
    return c.isNone() ? fallback : QColor(c.r, c.g, c.b);
}

// A width unit is the digit 0 plus a pixel of air, as the old grid's
// character units were; a few pixels more keep the text off the lines.
constexpr int kCellPadding = 4;
constexpr int kUnitAir = 2;

// Chart columns (two units or less) hold one mark and sit closer together.
int columnPixels(double width, double unit) {
    return static_cast<int>(width * unit) + (width <= 2.0 ? 1 : kCellPadding);
}

} // namespace

GridView::GridView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    setFrameShape(QFrame::StyledPanel);
}

void GridView::setGrid(Grid grid) {
    grid_ = std::move(grid);
    selection_ = QRect();
    layoutGeometry();
    viewport()->update();
}

void GridView::layoutGeometry() {
    const QFontMetrics fm(font());
    const double zero = fm.horizontalAdvance(QLatin1Char('0')) + kUnitAir;
    const double pointsToPixels = logicalDpiY() / 72.0;
    colX_.assign(1, 0);
    for (int c = 1; c <= grid_.maxCols(); ++c)
        colX_.push_back(colX_.back() + columnPixels(grid_.colWidth(c), zero));
    rowY_.assign(1, 0);
    for (int r = 1; r <= grid_.maxRows(); ++r)
        rowY_.push_back(rowY_.back() +
                        std::max(4, static_cast<int>(grid_.rowHeight(r) * pointsToPixels + 0.5)));
    updateScrollBars();
}

void GridView::updateScrollBars() {
    const QSize vp = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, totalWidth() - vp.width()));
    horizontalScrollBar()->setPageStep(vp.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, totalHeight() - vp.height()));
    verticalScrollBar()->setPageStep(vp.height());
    verticalScrollBar()->setSingleStep(rowY_.size() > 1 ? rowY_[1] : 13);
}

QSize GridView::sizeHint() const {
    int cols = std::clamp(grid_.visibleCols(), 0, grid_.maxCols());
    int rows = std::clamp(grid_.visibleRows(), 0, grid_.maxRows());
    int f = 2 * frameWidth();
    return QSize(colX_[cols] + f, rowY_[rows] + f);
}

void GridView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

int GridView::firstIndexAtOrAfter(const std::vector<int>& edges, int pos) const {
    // The 1-based item whose span contains pos.
    auto it = std::upper_bound(edges.begin(), edges.end(), pos);
    return static_cast<int>(it - edges.begin());
}

QRect GridView::cellRect(int col, int row) const {
    const int dx = horizontalScrollBar()->value(), dy = verticalScrollBar()->value();
    return QRect(colX_[col - 1] - dx, rowY_[row - 1] - dy, colX_[col] - colX_[col - 1],
                 rowY_[row] - rowY_[row - 1]);
}

QPoint GridView::cellAt(const QPoint& pos) const {
    const int x = pos.x() + horizontalScrollBar()->value();
    const int y = pos.y() + verticalScrollBar()->value();
    if (x < 0 || y < 0 || x >= totalWidth() || y >= totalHeight()) return QPoint(0, 0);
    return QPoint(firstIndexAtOrAfter(colX_, x), firstIndexAtOrAfter(rowY_, y));
}

void GridView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    if (grid_.maxCols() == 0 || grid_.maxRows() == 0) return;
    const int dx = horizontalScrollBar()->value(), dy = verticalScrollBar()->value();
    const QSize vp = viewport()->size();
    const int c1 = std::max(1, firstIndexAtOrAfter(colX_, dx));
    const int r1 = std::max(1, firstIndexAtOrAfter(rowY_, dy));
    const int c2 = std::min(grid_.maxCols(), firstIndexAtOrAfter(colX_, dx + vp.width()));
    const int r2 = std::min(grid_.maxRows(), firstIndexAtOrAfter(rowY_, dy + vp.height()));
    paintBackgrounds(p, c1, r1, c2, r2);
    paintBorders(p, c1, r1, c2, r2);
    paintTexts(p, c1, r1, c2, r2);
    paintSelection(p);
}

void GridView::paintBackgrounds(QPainter& p, int c1, int r1, int c2, int r2) {
    const QColor base = palette().color(QPalette::Base);
    for (int row = r1; row <= r2; ++row)
        for (int col = c1; col <= c2; ++col) {
            Rgb bg = grid_.background(col, row);
            if (!bg.isNone()) p.fillRect(cellRect(col, row), toQColor(bg, base));
        }
}

void GridView::paintBorders(QPainter& p, int c1, int r1, int c2, int r2) {
    const QColor black(0, 0, 0);
    auto line = [&](Rgb colour, int x1, int y1, int x2, int y2) {
        p.setPen(QPen(toQColor(colour, black), 1));
        p.drawLine(x1, y1, x2, y2);
    };
    // An edge is drawn where either of its two cells has that side; the
    // right-hand or lower cell's colour wins.
    for (int row = r1; row <= r2; ++row)
        for (int col = c1; col <= c2; ++col) {
            const QRect r = cellRect(col, row);
            const int x2 = r.right() + 1, y2 = r.bottom() + 1;
            const bool nextHasLeft = grid_.borders(col + 1, row) & BorderLeft;
            if (nextHasLeft || (grid_.borders(col, row) & BorderRight))
                line(nextHasLeft ? grid_.borderColour(col + 1, row, BorderLeft)
                                 : grid_.borderColour(col, row, BorderRight),
                     x2 - 1, r.top(), x2 - 1, y2 - 1);
            const bool belowHasTop = grid_.borders(col, row + 1) & BorderTop;
            if (belowHasTop || (grid_.borders(col, row) & BorderBottom))
                line(belowHasTop ? grid_.borderColour(col, row + 1, BorderTop)
                                 : grid_.borderColour(col, row, BorderBottom),
                     r.left(), y2 - 1, x2 - 1, y2 - 1);
            // Left and top edges inside the view belong to the previous cell.
            const int lx = col == 1 ? r.left() : r.left() - 1;
            const int ty = row == 1 ? r.top() : r.top() - 1;
            if (col == c1 && (grid_.borders(col, row) & BorderLeft))
                line(grid_.borderColour(col, row, BorderLeft), lx, r.top(), lx, y2 - 1);
            if (row == r1 && (grid_.borders(col, row) & BorderTop))
                line(grid_.borderColour(col, row, BorderTop), r.left(), ty, x2 - 1, ty);
        }
}

QRect GridView::textSpan(int col, int row, int textWidth) const {
    QRect span = cellRect(col, row);
    if (!grid_.textOverflow() || textWidth <= span.width()) return span;
    if (grid_.align(col, row) == Align::Left) {
        // Runs on over empty cells to the right, never over text.
        for (int c = col + 1; c <= grid_.maxCols() && span.width() < textWidth; ++c) {
            if (!grid_.isEmpty(c, row)) break;
            span.setRight(cellRect(c, row).right());
        }
        return span;
    }
    // Centred text spreads over empty cells on both sides.
    int left = col, right = col;
    while (span.width() < textWidth) {
        bool grew = false;
        if (right < grid_.maxCols() && grid_.isEmpty(right + 1, row)) {
            span.setRight(cellRect(++right, row).right());
            grew = true;
        }
        if (span.width() < textWidth && left > 1 && grid_.isEmpty(left - 1, row)) {
            span.setLeft(cellRect(--left, row).left());
            grew = true;
        }
        if (!grew) break;
    }
    return span;
}

void GridView::paintTexts(QPainter& p, int, int r1, int c2, int r2) {
    const QFontMetrics fm(font());
    const QColor ink = palette().color(QPalette::Text);
    // Every column of a visible row: a text to the left may run into view.
    for (int row = r1; row <= r2; ++row)
        for (int col = 1; col <= std::min(grid_.maxCols(), c2); ++col) {
            const std::string& t = grid_.text(col, row);
            if (t.empty()) continue;
            const QString text = QString::fromStdString(t);
            const QRect span = textSpan(col, row, fm.horizontalAdvance(text) + 2);
            if (span.right() < 0) continue;
            p.setPen(toQColor(grid_.foreground(col, row), ink));
            const Qt::Alignment h =
                grid_.align(col, row) == Align::Left ? Qt::AlignLeft : Qt::AlignHCenter;
            p.drawText(span.adjusted(1, 0, -1, 0), h | Qt::AlignVCenter, text);
        }
}

void GridView::paintSelection(QPainter& p) {
    if (selection_.isNull()) return;
    QRect r = cellRect(selection_.left(), selection_.top())
                  .united(cellRect(selection_.right(), selection_.bottom()));
    QColor fill = palette().color(QPalette::Highlight);
    fill.setAlpha(60);
    p.fillRect(r, fill);
    p.setPen(QPen(palette().color(QPalette::Highlight), 1));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void GridView::selectBlock(int col1, int row1, int col2, int row2) {
    QRect r(QPoint(std::min(col1, col2), std::min(row1, row2)),
            QPoint(std::max(col1, col2), std::max(row1, row2)));
    r = r.intersected(QRect(1, 1, grid_.maxCols(), grid_.maxRows()));
    selection_ = r;
    viewport()->update();
}

QString GridView::selectionAsTsv() const {
    QString out;
    if (selection_.isNull()) return out;
    for (int row = selection_.top(); row <= selection_.bottom(); ++row) {
        for (int col = selection_.left(); col <= selection_.right(); ++col) {
            if (col > selection_.left()) out += QLatin1Char('\t');
            out += QString::fromStdString(grid_.text(col, row));
        }
        out += QLatin1Char('\n');
    }
    return out;
}

void GridView::copySelection() const {
    if (!selection_.isNull()) QApplication::clipboard()->setText(selectionAsTsv());
}

void GridView::mousePressEvent(QMouseEvent* event) {
    QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() == 0) return;
    if (!(event->modifiers() & Qt::ShiftModifier) || selection_.isNull()) anchor_ = cell;
    selectBlock(anchor_.x(), anchor_.y(), cell.x(), cell.y());
}

void GridView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || anchor_.isNull()) return;
    QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() != 0) selectBlock(anchor_.x(), anchor_.y(), cell.x(), cell.y());
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectBlock(1, 1, grid_.maxCols(), grid_.maxRows());
        return;
    }
    // Home and End jump to the first and the latest draws.
    if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(event->key() == Qt::Key_Home ? bar->minimum() : bar->maximum());
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

} // namespace n4
