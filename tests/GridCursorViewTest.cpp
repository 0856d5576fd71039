// The grid's cell cursor, as a spreadsheet's: arrows move it, Shift extends
// the selection, Ctrl+Home/End and Page Up/Down jump; Home and End alone
// still go to the first and the latest draws.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "ui/grid/GridView.h"

using namespace n4;

namespace {

// 6 columns and 300 rows, the first two rows frozen, each cell "c,r".
struct View {
    GridView v;
    View() {
        Grid g(6, 300);
        for (int row = 1; row <= 300; ++row)
            for (int col = 1; col <= 6; ++col)
                g.setText(col, row, std::to_string(col) + "," + std::to_string(row));
        v.setGrid(std::move(g));
        v.setFrozen(1, 2);
        v.resize(260, 240);
        v.show();
        v.setFocus();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(&v, k, m); }
    // The cursor's cell shows whole, below the title rows when it is not one.
    bool cursorInSight() const {
        const QPoint c = v.cursorCell();
        const QRect r = v.cellRect(c.x(), c.y());
        const int top = c.y() > v.frozenRows() ? v.rowY(v.frozenRows() + 1) : 0;
        return r.top() >= top && r.bottom() < v.viewport()->height() && r.left() >= 0 &&
               r.right() < v.viewport()->width();
    }
};

} // namespace

TEST(GridCursor, ArrowsMoveItAndShiftArrowsExtendTheSelection) {
    View t;
    EXPECT_EQ(t.v.cursorCell(), QPoint(0, 0)); // none as the window opens
    t.key(Qt::Key_Down);                       // the first key shows it at the first cell in view
    EXPECT_EQ(t.v.cursorCell(), QPoint(1, 3));
    t.key(Qt::Key_Down);
    t.key(Qt::Key_Right);
    EXPECT_EQ(t.v.cursorCell(), QPoint(2, 4));
    EXPECT_EQ(t.v.selectionAsTsv(), "2,4\n");
    t.key(Qt::Key_Down, Qt::ShiftModifier);
    t.key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(t.v.cursorCell(), QPoint(3, 5));
    EXPECT_EQ(t.v.selectionAsTsv(), "2,4\t3,4\n2,5\t3,5\n");
    t.key(Qt::Key_Up); // a plain move leaves the block
    EXPECT_EQ(t.v.selectionAsTsv(), "3,4\n");
    for (int i = 0; i < 5; ++i)
        t.key(Qt::Key_Left); // and stops at the edge
    EXPECT_EQ(t.v.cursorCell(), QPoint(1, 4));
}

TEST(GridCursor, ABlockShowsShadedWhicheverCornerTheCursorIsIn) {
    View t;
    t.key(Qt::Key_Down);
    t.key(Qt::Key_Down);
    t.key(Qt::Key_Down);
    t.key(Qt::Key_Right);
    t.key(Qt::Key_Right); // the cursor at 3,5
    auto shaded = [&](int col, int row) {
        QImage img(t.v.viewport()->size(), QImage::Format_RGB32);
        t.v.viewport()->render(&img);
        const QRect r = t.v.cellRect(col, row);
        return QColor(img.pixel(r.left() + 3, r.bottom() - 2)) != QColor(Qt::white);
    };
    EXPECT_FALSE(shaded(3, 5)); // the cursor's cell alone: only its frame
    // Extended up and left: the cursor is now the block's top-left corner.
    t.key(Qt::Key_Up, Qt::ShiftModifier);
    t.key(Qt::Key_Left, Qt::ShiftModifier);
    ASSERT_EQ(t.v.cursorCell(), QPoint(2, 4));
    ASSERT_EQ(t.v.selection(), QRect(QPoint(2, 4), QPoint(3, 5)));
    EXPECT_TRUE(shaded(3, 5));
    EXPECT_TRUE(shaded(2, 4));
}

TEST(GridCursor, PageDownTakesTheCursorToTheRowAtTheViewsBottomEdge) {
    View t;
    const int rowHeight = t.v.rowY(4) - t.v.rowY(3);
    const int frame = t.v.height() - t.v.viewport()->height();
    // Under the two title rows, five body rows fill the view exactly; then
    // the top pixel of a sixth shows too.
    for (const int sixthShows : {0, 1}) {
        t.v.resize(260, t.v.rowY(3) + 5 * rowHeight + sixthShows + frame);
        t.key(Qt::Key_Home, Qt::ControlModifier);
        t.v.moveCursorTo(1, 3);
        t.key(Qt::Key_PageDown);
        EXPECT_EQ(t.v.cursorCell(), QPoint(1, sixthShows ? 8 : 7)) << sixthShows;
        t.key(Qt::Key_PageUp);
        EXPECT_EQ(t.v.cursorCell(), QPoint(1, 3)) << sixthShows;
    }
}

TEST(GridCursor, CtrlHomeEndAndPageKeysJumpAndKeepTheCursorInSight) {
    View t;
    t.key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(t.v.cursorCell(), QPoint(6, 300));
    EXPECT_TRUE(t.cursorInSight());
    t.key(Qt::Key_PageUp);
    const int page = 300 - t.v.cursorCell().y();
    EXPECT_GT(page, 3);
    EXPECT_TRUE(t.cursorInSight());
    t.key(Qt::Key_PageUp);
    EXPECT_EQ(t.v.cursorCell().y(), 300 - 2 * page);
    t.key(Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(t.v.selection(), QRect(QPoint(6, 300 - 2 * page), QPoint(6, 300 - page)));
    t.key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(t.v.cursorCell(), QPoint(1, 1));
    EXPECT_EQ(t.v.verticalScrollBar()->value(), 0);
    // Page keys keep the column.
    t.key(Qt::Key_PageDown);
    EXPECT_EQ(t.v.cursorCell().x(), 1);
    EXPECT_GT(t.v.cursorCell().y(), 3);
    t.key(Qt::Key_Right);
    t.key(Qt::Key_PageUp);
    EXPECT_EQ(t.v.cursorCell().x(), 2);
    t.key(Qt::Key_Home, Qt::ControlModifier);
    t.key(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(t.v.selection(), QRect(QPoint(1, 1), QPoint(6, 300)));
    // A cursor scrolled out of sight comes back into it as it moves: below
    // the title rows going up, at the bottom going down.
    t.v.moveCursorTo(1, 150);
    t.v.verticalScrollBar()->setValue(t.v.verticalScrollBar()->maximum());
    t.key(Qt::Key_Up);
    EXPECT_EQ(t.v.cursorCell(), QPoint(1, 149));
    EXPECT_TRUE(t.cursorInSight());
    EXPECT_EQ(t.v.cellRect(1, 149).top(), t.v.rowY(3)); // just under the title rows
    t.v.verticalScrollBar()->setValue(0);
    t.key(Qt::Key_Down);
    EXPECT_TRUE(t.cursorInSight());
    // In a window too narrow for every column, Ctrl+Home scrolls back to the
    // first one too, though the cursor's cell never left the view.
    t.v.resize(120, 240);
    t.key(Qt::Key_End, Qt::ControlModifier);
    ASSERT_GT(t.v.horizontalScrollBar()->value(), 0);
    t.key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(t.v.horizontalScrollBar()->value(), 0);
    // Wide enough for the frozen column and the last two: from the last
    // column, one step left stays in sight, the next scrolls.
    const int frame = t.v.width() - t.v.viewport()->width();
    t.v.resize(frame + t.v.cellRect(1, 1).width() + t.v.cellRect(5, 1).width() +
                   t.v.cellRect(6, 1).width(),
               240);
    t.key(Qt::Key_End, Qt::ControlModifier);
    const int scrolled = t.v.horizontalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    t.key(Qt::Key_Left);
    EXPECT_EQ(t.v.horizontalScrollBar()->value(), scrolled);
    t.key(Qt::Key_Left);
    EXPECT_LT(t.v.horizontalScrollBar()->value(), scrolled);
    EXPECT_TRUE(t.cursorInSight());
}

TEST(GridCursor, HomeAndEndAloneStillGoToTheFirstAndLatestDraws) {
    View t;
    t.key(Qt::Key_Down);
    t.key(Qt::Key_Right);
    t.key(Qt::Key_End);
    QScrollBar* bar = t.v.verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
    // The cursor goes along, in its column: the next key moves on from there.
    EXPECT_EQ(t.v.cursorCell(), QPoint(2, 300));
    t.key(Qt::Key_Up);
    EXPECT_EQ(t.v.cursorCell(), QPoint(2, 299));
    EXPECT_TRUE(t.cursorInSight());
    t.key(Qt::Key_Home, Qt::ShiftModifier); // Shift extends the selection as far
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(t.v.cursorCell(), QPoint(2, 3)); // the first row under the titles
    EXPECT_EQ(t.v.selection(), QRect(QPoint(2, 3), QPoint(2, 299)));
    t.key(Qt::Key_Down);
    EXPECT_EQ(t.v.cursorCell(), QPoint(2, 4));
}

TEST(GridCursor, AClickPutsTheCursorThereAndShiftClickExtendsFromIt) {
    View t;
    const QRect a = t.v.cellRect(2, 4), b = t.v.cellRect(3, 6);
    QTest::mouseClick(t.v.viewport(), Qt::LeftButton, Qt::NoModifier, a.center());
    EXPECT_EQ(t.v.cursorCell(), QPoint(2, 4));
    QTest::mouseClick(t.v.viewport(), Qt::LeftButton, Qt::ShiftModifier, b.center());
    EXPECT_EQ(t.v.selection(), QRect(QPoint(2, 4), QPoint(3, 6)));
    t.key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(t.v.selection(), QRect(QPoint(2, 4), QPoint(4, 6)));
}

namespace {

void moveMouse(GridView& v, QPoint at, Qt::MouseButtons held) {
    QMouseEvent move(QEvent::MouseMove, at, v.viewport()->mapToGlobal(at), Qt::NoButton, held,
                     Qt::NoModifier);
    QApplication::sendEvent(v.viewport(), &move);
}

// Where the menu a context-menu key press opens shows, or a null point.
QPoint menuKeyOpensAt(GridView& v) {
    QPoint at;
    QTimer::singleShot(0, [&at] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            at = popup->pos();
            popup->close();
        }
    });
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0),
                          v.viewport()->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(v.viewport(), &key);
    return at;
}

} // namespace

TEST(GridCursor, DraggingWithTheButtonDownSelectsABlockAndAMereMoveDoesNot) {
    View t;
    const QRect a = t.v.cellRect(2, 4), b = t.v.cellRect(4, 7), c = t.v.cellRect(5, 8);
    QTest::mousePress(t.v.viewport(), Qt::LeftButton, Qt::NoModifier, a.center());
    moveMouse(t.v, b.center(), Qt::LeftButton);
    EXPECT_EQ(t.v.selection(), QRect(QPoint(2, 4), QPoint(4, 7)));
    EXPECT_EQ(t.v.cursorCell(), QPoint(4, 7));
    QTest::mouseRelease(t.v.viewport(), Qt::LeftButton, Qt::NoModifier, b.center());
    moveMouse(t.v, c.center(), Qt::NoButton); // the button is up: nothing changes
    EXPECT_EQ(t.v.selection(), QRect(QPoint(2, 4), QPoint(4, 7)));
    moveMouse(t.v, QPoint(t.v.totalWidth() + 50, b.center().y()), Qt::LeftButton);
    EXPECT_EQ(t.v.selection(), QRect(QPoint(2, 4), QPoint(4, 7))); // past the grid: kept
}

TEST(GridCursor, TheMenuKeyOpensTheMenuAtTheCursorOrAtTheGridsCorner) {
    View t;
    const QPoint corner = menuKeyOpensAt(t.v);
    EXPECT_EQ(corner, t.v.viewport()->mapToGlobal(QPoint(0, 0)));
    t.v.moveCursorTo(3, 5);
    const QPoint cell = menuKeyOpensAt(t.v);
    EXPECT_EQ(cell, t.v.viewport()->mapToGlobal(t.v.cellRect(3, 5).center()));
}
