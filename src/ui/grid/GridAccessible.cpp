#include "ui/grid/GridAccessible.h"

#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "ui/grid/GridView.h"

namespace n4 {

namespace {

// A long selection (a whole history selected) is listed this far: a screen
// reader reads a few cells, and thirty thousand rows of cells would stall it.
constexpr int kSelectedCellsListed = 4096;

QString cellText(const GridView* view, int col, int row) {
    // Titles are padded with blanks to sit where they do; the reader needs none.
    return QString::fromStdString(view->grid().text(col, row)).trimmed();
}

bool inside(const GridView* view, int col, int row) {
    return col >= 1 && row >= 1 && col <= view->grid().maxCols() && row <= view->grid().maxRows();
}

// The title rows above a column and the label columns beside a row, as text.
QString joinedTexts(const GridView* view, bool titles, int at) {
    QStringList parts;
    const int count = titles ? view->frozenRows() : view->frozenCols();
    for (int i = 1; i <= count; ++i) {
        const QString t = titles ? cellText(view, at, i) : cellText(view, i, at);
        if (!t.isEmpty()) parts << t;
    }
    return parts.join(QLatin1Char(' '));
}

class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
  public:
    GridCellAccessible(GridView* view, int col, int row) : view_(view), col_(col), row_(row) {}

    bool isValid() const override { return view_ && inside(view_, col_, row_); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        // (GridView::window() is what the view shows; the widget's is QWidget's)
        return view_ ? static_cast<QWidget*>(view_.data())->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return table(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? cellText(view_, col_, row_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = view_->cellRect(col_, row_);
        return QRect(view_->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override {
        if (view_ && row_ <= view_->frozenRows()) return QAccessible::ColumnHeader;
        if (view_ && col_ <= view_->frozenCols()) return QAccessible::RowHeader;
        return QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.focusable = s.selectable = true;
        s.selected = isSelected();
        s.focused = view_->hasFocus() && view_->cursorCell() == QPoint(col_, row_);
        s.offscreen = !view_->viewport()->rect().intersects(view_->cellRect(col_, row_));
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override {
        return view_ && view_->selection().contains(QPoint(col_, row_));
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return headers(true); }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return headers(false); }
    int columnIndex() const override { return col_ - 1; }
    int rowIndex() const override { return row_ - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override {
        return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr;
    }

  private:
    // The title cells above this one, or the label cells beside it, that say
    // something; none for a cell that is itself a title or a label.
    QList<QAccessibleInterface*> headers(bool titles) const {
        QList<QAccessibleInterface*> out;
        auto* grid = static_cast<GridAccessible*>(table());
        if (!grid || !isValid()) return out;
        const int count = titles ? view_->frozenRows() : view_->frozenCols();
        if ((titles ? row_ : col_) <= count) return out;
        for (int i = 1; i <= count; ++i) {
            const int col = titles ? col_ : i, row = titles ? i : row_;
            if (!cellText(view_, col, row).isEmpty()) out << grid->cell(col, row);
        }
        return out;
    }

    QPointer<GridView> view_;
    int col_, row_;
};

void toScreenReader(QAccessibleEvent* event) {
    if (QAccessible::isActive()) QAccessible::updateAccessibility(event);
}

GridNoticeListener& listener() {
    static GridNoticeListener current = toScreenReader;
    return current;
}

QAccessibleInterface* gridViewFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(GridView::staticMetaObject.className())) return nullptr;
    auto* view = qobject_cast<GridView*>(object);
    return view ? new GridAccessible(view) : nullptr;
}

} // namespace

void installGridAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(gridViewFactory);
        return true;
    }();
    (void)installed;
}

void gridChangedForAccessibility(GridView* view) {
    if (!QAccessible::isActive()) return;
    QAccessibleTableModelChangeEvent reset(view, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&reset);
}

GridNoticeListener listenToGridNotices(GridNoticeListener to) {
    return std::exchange(listener(), to);
}

void cursorMovedForAccessibility(GridView* view) {
    const QPoint at = view->cursorCell();
    if (at.isNull()) return;
    // The cell as a child of the table: counted row by row from 0.
    const int index = (at.y() - 1) * view->grid().maxCols() + at.x() - 1;
    if (view->hasFocus()) {
        QAccessibleEvent focus(view, QAccessible::Focus);
        focus.setChild(index);
        listener()(&focus);
    }
    QAccessibleEvent selection(view, QAccessible::Selection);
    selection.setChild(index);
    listener()(&selection);
}

GridAccessible::GridAccessible(GridView* view) : QAccessibleWidget(view, QAccessible::Table) {}

GridAccessible::~GridAccessible() {
    forgetCells();
}

GridView* GridAccessible::view() const {
    return static_cast<GridView*>(widget());
}

void GridAccessible::forgetCells() {
    for (QAccessible::Id id : std::as_const(cells_))
        QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* GridAccessible::cell(int col, int row) const {
    if (!inside(view(), col, row)) return nullptr;
    const quint64 key = (quint64(row) << 32) | quint64(col);
    if (const auto found = cells_.constFind(key); found != cells_.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto* made = new GridCellAccessible(view(), col, row);
    cells_.insert(key, QAccessible::registerAccessibleInterface(made));
    return made;
}

int GridAccessible::columnCount() const {
    return view()->grid().maxCols();
}

int GridAccessible::rowCount() const {
    return view()->grid().maxRows();
}

int GridAccessible::childCount() const {
    return rowCount() * columnCount();
}

QAccessibleInterface* GridAccessible::child(int index) const {
    const int cols = columnCount();
    if (index < 0 || cols == 0) return nullptr;
    return cell(index % cols + 1, index / cols + 1);
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child || child->parent() != this) return -1;
    auto* c = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
    return c ? c->rowIndex() * columnCount() + c->columnIndex() : -1;
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const {
    const QPoint cellPos = view()->cellAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
    return cellPos.isNull() ? nullptr : cell(cellPos.x(), cellPos.y());
}

QAccessibleInterface* GridAccessible::focusChild() const {
    const QPoint at = view()->cursorCell();
    return view()->hasFocus() && !at.isNull() ? cell(at.x(), at.y()) : nullptr;
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const {
    return cell(column + 1, row + 1);
}

int GridAccessible::selectedCellCount() const {
    const QRect s = view()->selection();
    return s.isNull() ? 0 : s.width() * s.height();
}

QList<QAccessibleInterface*> GridAccessible::selectedCells() const {
    QList<QAccessibleInterface*> out;
    const QRect s = view()->selection();
    if (s.isNull()) return out;
    for (int row = s.top(); row <= s.bottom(); ++row)
        for (int col = s.left(); col <= s.right(); ++col) {
            if (out.size() >= kSelectedCellsListed) return out;
            out << cell(col, row);
        }
    return out;
}

QString GridAccessible::columnDescription(int column) const {
    return joinedTexts(view(), true, column + 1);
}

QString GridAccessible::rowDescription(int row) const {
    return joinedTexts(view(), false, row + 1);
}

QList<int> GridAccessible::selectedColumns() const {
    QList<int> out;
    const QRect s = view()->selection();
    if (!s.isNull() && s.top() == 1 && s.bottom() == rowCount())
        for (int col = s.left(); col <= s.right(); ++col)
            out << col - 1;
    return out;
}

QList<int> GridAccessible::selectedRows() const {
    QList<int> out;
    const QRect s = view()->selection();
    if (!s.isNull() && s.left() == 1 && s.right() == columnCount())
        for (int row = s.top(); row <= s.bottom(); ++row)
            out << row - 1;
    return out;
}

bool GridAccessible::isColumnSelected(int column) const {
    return selectedColumns().contains(column);
}

bool GridAccessible::isRowSelected(int row) const {
    const QRect s = view()->selection();
    return !s.isNull() && s.left() == 1 && s.right() == columnCount() && row + 1 >= s.top() &&
           row + 1 <= s.bottom();
}

bool GridAccessible::selectRow(int row) {
    if (row < 0 || row >= rowCount()) return false;
    view()->selectBlock(1, row + 1, columnCount(), row + 1);
    return true;
}

bool GridAccessible::selectColumn(int column) {
    if (column < 0 || column >= columnCount()) return false;
    view()->selectBlock(column + 1, 1, column + 1, rowCount());
    return true;
}

void GridAccessible::modelChange(QAccessibleTableModelChangeEvent*) {
    // Every change is a new grid: cells are made anew as they are asked for.
    forgetCells();
}

} // namespace n4
