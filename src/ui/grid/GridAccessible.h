#pragma once
// What a screen reader learns of a GridView. The grid is painted by the
// program, so the toolkit knows nothing of its cells: this interface gives it
// the table (every cell's text, the title rows as column headers and the label
// columns as row headers, the selection and the cell cursor as the focused
// cell). The view calls the two notices below when its grid or cursor changes.
#include <QAccessibleWidget>
#include <QHash>

namespace n4 {

class GridView;

// Makes the toolkit ask this file for the interface of every GridView; once
// per run, from the first view made.
void installGridAccessibility();
// The view shows another grid: cells handed out before describe nothing now.
void gridChangedForAccessibility(GridView* view);
// The cell cursor moved: the focused and selected cell changed.
void cursorMovedForAccessibility(GridView* view);
// Where those notices go: to a screen reader, while one listens. A test puts
// its own listener in and gets the one before back.
using GridNoticeListener = void (*)(QAccessibleEvent* event);
GridNoticeListener listenToGridNotices(GridNoticeListener listener);

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit GridAccessible(GridView* view);
    ~GridAccessible() override;

    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The table; rows and columns from 0, as the toolkit counts them.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return int(selectedColumns().size()); }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int column) override;
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

    // A cell by the grid's own address (column, row from 1); nullptr outside.
    QAccessibleInterface* cell(int col, int row) const;

  private:
    GridView* view() const;
    void forgetCells();

    mutable QHash<quint64, QAccessible::Id> cells_;
};

} // namespace n4
