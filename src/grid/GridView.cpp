#include "grid/GridView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace n4 {

GridView::GridView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    setFrameShape(QFrame::StyledPanel);
    setFont(gridFont());
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
    if (unit_ <= 0) unit_ = GridLayout::defaultWidthUnit(font()); // until a window fits it
    layout_ = GridLayout(grid_, unit_, logicalDpiY());
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
        const int row = layout_.rowAt(bottom + frozenHeight() - 1) + 1;
        if (row <= grid_.maxRows() + 1) bottom = layout_.rowY(row) - frozenHeight();
    }
    v->setRange(0, bottom);
    v->setPageStep(std::max(1, vp.height() - frozenHeight()));
    const int body = std::min(frozenRows_ + 1, grid_.maxRows());
    v->setSingleStep(body >= 1 ? layout_.rowY(body + 1) - layout_.rowY(body) : 15);
    if (keepLatest_) v->setValue(v->maximum());
    adjusting_ = false;
}

QSize GridView::sizeHint() const {
    int cols = std::clamp(grid_.visibleCols(), 0, grid_.maxCols());
    int rows = std::clamp(grid_.visibleRows(), 0, grid_.maxRows());
    int f = 2 * frameWidth();
    return QSize(layout_.columnX(cols + 1) + f, layout_.rowY(rows + 1) + f);
}

void GridView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

GridWindow GridView::window() const {
    return GridWindow{viewport()->size(), frozenCols_, frozenRows_, horizontalScrollBar()->value(),
                      verticalScrollBar()->value()};
}

GridPainter GridView::painter() const {
    return GridPainter(grid_, layout_, font(), window());
}

QRect GridView::cellRect(int col, int row) const {
    return painter().cellRect(col, row);
}

QPoint GridView::cellAt(const QPoint& pos) const {
    return painter().cellAt(pos);
}

bool GridView::textFits(int col, int row) const {
    return painter().textFits(col, row);
}

void GridView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    painter().paint(p, GridMarks{selection_, QPoint(), palette().color(QPalette::Highlight)});
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
