#include "grid/GridView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace n4 {

namespace {

QColor toQColor(Rgb c, const QColor& fallback) {
    return c.isNone() ? fallback : QColor(c.r, c.g, c.b);
}

// A row height unit is 1/64 inch: the windows that name how many rows they
// show (52 in a window 13800 twips high) show them all with it.
constexpr double kRowUnitsPerInch = 64.0;

// The 1-based item whose span contains pos; one past the last when beyond.
int itemAt(const std::vector<int>& edges, int pos) {
    return static_cast<int>(std::upper_bound(edges.begin(), edges.end(), pos) - edges.begin());
}

} // namespace

GridView::GridView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    setFrameShape(QFrame::StyledPanel);
    QFont f = font();
    f.setPointSizeF(kFontPoints);
    setFont(f);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!adjusting_ && value != verticalScrollBar()->maximum()) keepLatest_ = false;
    });
}

void GridView::setGrid(Grid grid) {
    grid_ = std::move(grid);
    selection_ = QRect();
    layoutGeometry();
    viewport()->update();
}

void GridView::setWidthUnit(double pixels) {
    unit_ = pixels;
    layoutGeometry();
    viewport()->update();
}

void GridView::fitColumnsToWidth(int pixels) {
    double units = 0;
    for (int c = 1; c <= grid_.maxCols(); ++c)
        units += grid_.colWidth(c);
    if (units > 0 && pixels > 0) setWidthUnit(pixels / units);
}

int GridView::columnRoom() const {
    const int frame = 2 * frameWidth();
    const Qt::ScrollBarPolicy policy = verticalScrollBarPolicy();
    const bool bar = policy == Qt::ScrollBarAlwaysOn ||
                     (policy == Qt::ScrollBarAsNeeded && totalHeight() > height() - frame);
    return width() - frame - (bar ? verticalScrollBar()->sizeHint().width() : 0);
}

void GridView::setFrozen(int cols, int rows) {
    frozenCols_ = std::max(0, cols);
    frozenRows_ = std::max(0, rows);
    layoutGeometry();
    viewport()->update();
}

void GridView::showLatestRows() {
    keepLatest_ = true;
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void GridView::layoutGeometry() {
    if (unit_ <= 0) // until a window fits it: about the old grid's character unit
        unit_ = 1.6 * QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0'));
    // Edges are rounded from the running total, so the columns of a fitted
    // grid add up to its width to the pixel.
    colX_.assign(1, 0);
    double x = 0;
    for (int c = 1; c <= grid_.maxCols(); ++c) {
        x += grid_.colWidth(c) * unit_;
        colX_.push_back(std::max(colX_.back() + 1, static_cast<int>(std::floor(x + 1e-6))));
    }
    const double rowUnit = logicalDpiY() / kRowUnitsPerInch;
    rowY_.assign(1, 0);
    double y = 0;
    for (int r = 1; r <= grid_.maxRows(); ++r) {
        y += grid_.rowHeight(r) * rowUnit;
        rowY_.push_back(std::max(rowY_.back() + 1, static_cast<int>(std::lround(y))));
    }
    frozenCols_ = std::min(frozenCols_, grid_.maxCols());
    frozenRows_ = std::min(frozenRows_, grid_.maxRows());
    updateScrollBars();
}

void GridView::updateScrollBars() {
    const QSize vp = viewport()->size();
    adjusting_ = true;
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, totalWidth() - vp.width()));
    h->setPageStep(std::max(1, vp.width() - frozenWidth()));
    h->setSingleStep(20);
    QScrollBar* v = verticalScrollBar();
    int bottom = std::max(0, totalHeight() - vp.height());
    if (bottom > 0) {
        // At the end the first row under the title rows shows whole; what
        // is left of a row's height stays empty below the last one.
        auto edge = std::lower_bound(rowY_.begin(), rowY_.end(), bottom + frozenHeight());
        if (edge != rowY_.end()) bottom = *edge - frozenHeight();
    }
    v->setRange(0, bottom);
    v->setPageStep(std::max(1, vp.height() - frozenHeight()));
    const int body = std::min(frozenRows_ + 1, grid_.maxRows());
    v->setSingleStep(body >= 1 ? rowY_[body] - rowY_[body - 1] : 15);
    if (keepLatest_) v->setValue(v->maximum());
    adjusting_ = false;
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

int GridView::xOffset(int col) const {
    return col <= frozenCols_ ? 0 : horizontalScrollBar()->value();
}

int GridView::yOffset(int row) const {
    return row <= frozenRows_ ? 0 : verticalScrollBar()->value();
}

QRect GridView::cellRect(int col, int row) const {
    return QRect(colX_[col - 1] - xOffset(col), rowY_[row - 1] - yOffset(row),
                 colX_[col] - colX_[col - 1], rowY_[row] - rowY_[row - 1]);
}

QPoint GridView::cellAt(const QPoint& pos) const {
    const int x = pos.x() < frozenWidth() ? pos.x() : pos.x() + horizontalScrollBar()->value();
    const int y = pos.y() < frozenHeight() ? pos.y() : pos.y() + verticalScrollBar()->value();
    if (pos.x() < 0 || pos.y() < 0 || x >= totalWidth() || y >= totalHeight()) return QPoint(0, 0);
    return QPoint(itemAt(colX_, x), itemAt(rowY_, y));
}

std::vector<GridView::Pane> GridView::panes() const {
    const QSize vp = viewport()->size();
    const int dx = horizontalScrollBar()->value(), dy = verticalScrollBar()->value();
    const int fw = std::min(frozenWidth(), vp.width()), fh = std::min(frozenHeight(), vp.height());
    const int maxC = grid_.maxCols(), maxR = grid_.maxRows();
    const int fc = std::min(frozenCols_, itemAt(colX_, vp.width()));
    const int fr = std::min(frozenRows_, itemAt(rowY_, vp.height()));
    const int c1 = std::max(frozenCols_ + 1, itemAt(colX_, fw + dx));
    const int c2 = std::min(maxC, itemAt(colX_, dx + vp.width()));
    const int r1 = std::max(frozenRows_ + 1, itemAt(rowY_, fh + dy));
    const int r2 = std::min(maxR, itemAt(rowY_, dy + vp.height()));
    const int restW = vp.width() - fw, restH = vp.height() - fh;
    std::vector<Pane> out;
    auto add = [&](QRect clip, int pc1, int pr1, int pc2, int pr2) {
        if (pc1 <= pc2 && pr1 <= pr2 && !clip.isEmpty()) out.push_back({clip, pc1, pr1, pc2, pr2});
    };
    add(QRect(fw, fh, restW, restH), c1, r1, c2, r2); // the body scrolls both ways
    add(QRect(fw, 0, restW, fh), c1, 1, c2, fr);      // title rows scroll sideways
    add(QRect(0, fh, fw, restH), 1, r1, fc, r2);      // label columns scroll up and down
    add(QRect(0, 0, fw, fh), 1, 1, fc, fr);           // the corner stays
    return out;
}

void GridView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    if (grid_.maxCols() == 0 || grid_.maxRows() == 0) return;
    for (const Pane& pane : panes())
        paintPane(p, pane);
}

void GridView::paintPane(QPainter& p, const Pane& pane) {
    p.save();
    p.setClipRect(pane.clip);
    paintBackgrounds(p, pane);
    paintBorders(p, pane);
    paintTexts(p, pane);
    paintSelection(p, pane);
    p.restore();
}

void GridView::paintBackgrounds(QPainter& p, const Pane& pane) {
    const QColor base = palette().color(QPalette::Base);
    for (int row = pane.r1; row <= pane.r2; ++row)
        for (int col = pane.c1; col <= pane.c2; ++col) {
            Rgb bg = grid_.background(col, row);
            if (!bg.isNone()) p.fillRect(cellRect(col, row), toQColor(bg, base));
        }
}

void GridView::paintBorders(QPainter& p, const Pane& pane) {
    const QColor black(0, 0, 0);
    auto line = [&](Rgb colour, int x1, int y1, int x2, int y2) {
        p.setPen(QPen(toQColor(colour, black), 1));
        p.drawLine(x1, y1, x2, y2);
    };
    // An edge is drawn where either of its two cells has that side; the
    // right-hand or lower cell's colour wins.
    for (int row = pane.r1; row <= pane.r2; ++row)
        for (int col = pane.c1; col <= pane.c2; ++col) {
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
            if (col == pane.c1 && (grid_.borders(col, row) & BorderLeft))
                line(grid_.borderColour(col, row, BorderLeft), lx, r.top(), lx, y2 - 1);
            if (row == pane.r1 && (grid_.borders(col, row) & BorderTop))
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

bool GridView::textFits(int col, int row) const {
    const std::string& t = grid_.text(col, row);
    if (t.empty()) return true;
    const QFontMetrics fm(font());
    const QString text = QString::fromStdString(t);
    const int width = fm.horizontalAdvance(text);
    // Where the text is drawn (as paintTexts does), then where its glyphs
    // are: blanks around a title may pass the edge unseen.
    const QRect room =
        textSpan(col, row, width + 2 * kTextPadding).adjusted(kTextPadding, 0, -kTextPadding, 0);
    const int start = grid_.align(col, row) == Align::Left
                          ? room.left()
                          : room.left() + (room.width() - width) / 2;
    const QString inked = text.trimmed();
    if (inked.isEmpty()) return true;
    const int lead = fm.horizontalAdvance(text.left(text.indexOf(inked)));
    const int inkLeft = start + lead, inkRight = inkLeft + fm.horizontalAdvance(inked);
    return inkLeft >= room.left() && inkRight <= room.right() + 1 &&
           room.height() >= fm.height() + 2;
}

void GridView::paintTexts(QPainter& p, const Pane& pane) {
    const QFontMetrics fm(font());
    const QColor ink = palette().color(QPalette::Text);
    // A text further left in the same pane may run into view.
    const int from = pane.c1 <= frozenCols_ ? 1 : frozenCols_ + 1;
    for (int row = pane.r1; row <= pane.r2; ++row)
        for (int col = from; col <= pane.c2; ++col) {
            const std::string& t = grid_.text(col, row);
            if (t.empty()) continue;
            const QString text = QString::fromStdString(t);
            const QRect span = textSpan(col, row, fm.horizontalAdvance(text) + 2 * kTextPadding);
            if (span.right() < pane.clip.left()) continue;
            p.setPen(toQColor(grid_.foreground(col, row), ink));
            const Qt::Alignment h =
                grid_.align(col, row) == Align::Left ? Qt::AlignLeft : Qt::AlignHCenter;
            p.drawText(span.adjusted(kTextPadding, 0, -kTextPadding, 0), h | Qt::AlignVCenter,
                       text);
        }
}

void GridView::paintSelection(QPainter& p, const Pane& pane) {
    const QRect part =
        selection_.intersected(QRect(QPoint(pane.c1, pane.r1), QPoint(pane.c2, pane.r2)));
    if (part.isEmpty()) return;
    const QRect r = cellRect(part.left(), part.top()).united(cellRect(part.right(), part.bottom()));
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
    if (event->key() == Qt::Key_Home) {
        keepLatest_ = false;
        verticalScrollBar()->setValue(verticalScrollBar()->minimum());
        return;
    }
    if (event->key() == Qt::Key_End) {
        showLatestRows();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

} // namespace n4
