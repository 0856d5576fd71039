// What a screen reader reads of a grid the program paints: the table of its
// cells, the title rows and label columns as headers, the selection, and the
// cell cursor as the focused cell, told as the cursor moves.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMdiSubWindow>
#include <QTest>

#include "UiSupport.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridAccessible.h"
#include "ui/grid/GridView.h"

using namespace n4;

namespace {

QStringList& told() {
    static QStringList events;
    return events;
}

QStringList names(const QList<QAccessibleInterface*>& cells) {
    QStringList out;
    for (QAccessibleInterface* c : cells)
        out << c->text(QAccessible::Name);
    return out;
}

} // namespace

TEST(GridAccessible, TheIntervalGridReadsAsATableWithHeadersSelectionAndCursor) {
    n4test::Shell shell(n4::draws({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 0, 1, 2}}));
    auto* frame = qobject_cast<AnalysisFrame*>(shell.choose("mnuSyutugenKankaku")->widget());
    GridView* view = frame->gridView();
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(view);
    ASSERT_NE(grid, nullptr);
    QAccessibleTableInterface* table = grid->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(grid->role(), QAccessible::Table);
    EXPECT_EQ(grid->text(QAccessible::Name), "過去の当選数字が何回前に出現しているか分析します");
    EXPECT_EQ(table->rowCount(), view->grid().maxRows());
    // Draw 2 (grid row 4): its interval, under 出現, beside its draw number.
    QAccessibleInterface* cell = table->cellAt(3, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "初回");
    EXPECT_EQ(names(cell->tableCellInterface()->columnHeaderCells()), QStringList{"出現"});
    EXPECT_EQ(names(cell->tableCellInterface()->rowHeaderCells()), QStringList{"2"});
    EXPECT_EQ(table->columnDescription(4), "当 選 数 字 出現"); // the title runs over it
    EXPECT_EQ(table->cellAt(0, 4)->role(), QAccessible::ColumnHeader);

    // The cursor moved by the keys is the focused cell and the selection, told at each move.
    const GridNoticeListener before = listenToGridNotices([](QAccessibleEvent* e) {
        told() << QStringLiteral("%1 %2").arg(e->type()).arg(
            e->accessibleInterface()->text(QAccessible::Name));
    });
    QApplication::setActiveWindow(shell.main.get());
    view->setFocus();
    view->moveCursorTo(2, 3);
    told().clear();
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    listenToGridNotices(before);
    const int focus = QAccessible::Focus, selection = QAccessible::Selection;
    EXPECT_EQ(told(),
              (QStringList{QStringLiteral("%1 5").arg(focus), QStringLiteral("%1 5").arg(selection),
                           QStringLiteral("%1 初回").arg(focus),
                           QStringLiteral("%1 初回").arg(selection)}));
    EXPECT_EQ(grid->focusChild(), cell);
    EXPECT_TRUE(cell->state().focused && cell->state().selected);
    EXPECT_EQ(names(table->selectedCells()), (QStringList{"5", "初回"}));
    // A new grid (the history changed): the table follows it.
    frame->setGrid(Grid(3, 2));
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->cellAt(3, 2), nullptr);
}
