#include "ui/grid/GridView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "ui/grid/GridAccessible.h"
#include "ui/grid/GridViewMenu.h"

namespace n4 {

GridView::GridView(QWidget* parent) : QAbstractScrollArea(parent), menu_(new GridViewMenu(this)) {
    installGridAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    setFont(gridFont());
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!adjusting_ && value != verticalScrollBar()->maximum()) keepLatest_ = false;
    });
}

void GridView::setGrid(Grid grid) {
    grid_ = std::move(grid);
    selection_ = QRect();
    anchor_ = cursor_ = QPoint();
    layoutGeometry();
    viewport()->update();
    gridChangedForAccessibility(this);
}

void GridView::rebuildGrid(const std::function<Grid()>& make) {
    grid_ = Grid();
    setGrid(make());
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

void GridView::showRowAtTop(int row) {
    keepLatest_ = false;
    const int first = std::min(frozenRows_ + 1, grid_.maxRows());
    verticalScrollBar()->setValue(rowY(std::clamp(row, first, grid_.maxRows())) - frozenHeight());
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
    // A selection of the cursor's cell alone shows as the cursor.
    const bool cursorOnly = selection_.size() == QSize(1, 1) && selection_.topLeft() == cursor_;
    painter().paint(p, GridMarks{cursorOnly ? QRect() : selection_, cursor_,
                                 palette().color(QPalette::Highlight)});
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

void GridView::selectAll() {
    selectBlock(1, 1, grid_.maxCols(), grid_.maxRows());
}

void GridView::moveCursorTo(int col, int row, bool extend) {
    if (grid_.maxCols() == 0 || grid_.maxRows() == 0) return;
    cursor_ = QPoint(std::clamp(col, 1, grid_.maxCols()), std::clamp(row, 1, grid_.maxRows()));
    if (!extend || anchor_.isNull()) anchor_ = cursor_;
    selectBlock(anchor_.x(), anchor_.y(), cursor_.x(), cursor_.y());
    scrollToCell(cursor_);
    cursorMovedForAccessibility(this);
}

void GridView::moveCursorToRow(int row, bool extend) {
    moveCursorTo(cursor_.isNull() ? firstCellInView().x() : cursor_.x(), row, extend);
}

void GridView::scrollToCell(QPoint cell) {
    const QSize vp = viewport()->size();
    if (cell.y() > frozenRows_) {
        QScrollBar* v = verticalScrollBar();
        const int top = rowY(cell.y()), bottom = rowY(cell.y() + 1);
        if (top - v->value() < frozenHeight())
            v->setValue(top - frozenHeight());
        else if (bottom - v->value() > vp.height())
            v->setValue(bottom - vp.height());
    }
    if (cell.x() > frozenCols_) {
        QScrollBar* h = horizontalScrollBar();
        const int left = columnX(cell.x()), right = columnX(cell.x() + 1);
        if (left - h->value() < frozenWidth())
            h->setValue(left - frozenWidth());
        else if (right - h->value() > vp.width())
            h->setValue(right - vp.width());
    }
}

QPoint GridView::firstCellInView() const {
    const QPoint cell = cellAt(QPoint(0, frozenHeight()));
    return cell.isNull() ? QPoint(1, 1) : cell;
}

int GridView::bodyRowsInView() const {
    const int first = cellAt(QPoint(0, frozenHeight())).y();
    const int last = cellAt(QPoint(0, viewport()->height() - 1)).y();
    return first > 0 && last > first ? last - first : 1;
}

// Home and End alone: the first and the latest draws (in a grid that lists
// no draws, its first and last rows below the title rows), in the cursor's
// column; the view scrolls to the top or the end as well.
void GridView::goToEnd(bool latest, bool extend) {
    const DrawRows& draws = grid_.drawRows();
    if (latest) {
        const int row = draws.lastShownRow();
        moveCursorToRow(row > 0 ? row : grid_.maxRows(), extend);
        showLatestRows();
        return;
    }
    const int row = draws.firstShownRow();
    moveCursorToRow(row > 0 ? row : frozenRows_ + 1, extend);
    keepLatest_ = false;
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
}

// The keys of a spreadsheet's cell cursor. Home and End alone keep their
// meaning here: the first and the latest draws.
bool GridView::moveCursorByKey(const QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const int key = event->key();
    if (key == Qt::Key_Home && ctrl) {
        moveCursorTo(1, 1, shift);
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
        return true;
    }
    if (key == Qt::Key_End && ctrl) {
        moveCursorTo(grid_.maxCols(), grid_.maxRows(), shift);
        return true;
    }
    QPoint step;
    switch (key) {
    case Qt::Key_Left:
        step = QPoint(-1, 0);
        break;
    case Qt::Key_Right:
        step = QPoint(1, 0);
        break;
    case Qt::Key_Up:
        step = QPoint(0, -1);
        break;
    case Qt::Key_Down:
        step = QPoint(0, 1);
        break;
    case Qt::Key_PageUp:
        step = QPoint(0, -bodyRowsInView());
        break;
    case Qt::Key_PageDown:
        step = QPoint(0, bodyRowsInView());
        break;
    default:
        return false;
    }
    // The first key shows the cursor where the view is; the next ones move it.
    const QPoint to = cursor_.isNull() ? firstCellInView() : cursor_ + step;
    moveCursorTo(to.x(), to.y(), shift);
    return true;
}

void GridView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() == 0) return;
    if (!(event->modifiers() & Qt::ShiftModifier) || selection_.isNull()) anchor_ = cell;
    cursor_ = cell;
    selectBlock(anchor_.x(), anchor_.y(), cell.x(), cell.y());
    cursorMovedForAccessibility(this);
}

void GridView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || anchor_.isNull()) return;
    QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() == 0 || cell == cursor_) return;
    cursor_ = cell;
    selectBlock(anchor_.x(), anchor_.y(), cell.x(), cell.y());
    cursorMovedForAccessibility(this);
}

void GridView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse) {
        // (in the viewport's coordinates, as the scroll area passes its events on)
        // A click beside the selection selects the clicked cell, as a spreadsheet does.
        const QPoint cell = cellAt(event->pos());
        if (!cell.isNull() && !selection_.contains(cell)) moveCursorTo(cell.x(), cell.y());
        menu_->popup(event->globalPos());
        return;
    }
    // From the keyboard: beside the cursor, or at the grid's corner.
    const QRect at = cursor_.isNull() ? QRect() : cellRect(cursor_.x(), cursor_.y());
    menu_->popup(viewport()->mapToGlobal(at.isNull() ? QPoint(0, 0) : at.center()));
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    if (moveCursorByKey(event)) return;
    if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
        goToEnd(event->key() == Qt::Key_End, event->modifiers() & Qt::ShiftModifier);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

} // namespace n4
