#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>

#include "grid/GridView.h"

using namespace n4;

namespace {
Grid sample() {
    Grid g(3, 3);
    const char* texts[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    for (int i = 0; i < 9; ++i)
        g.setText(i % 3 + 1, i / 3 + 1, texts[i]);
    return g;
}
} // namespace

TEST(GridView, SelectionCopiesAsTabSeparatedText) {
    GridView v;
    v.setGrid(sample());
    v.resize(300, 200);
    v.show();
    v.selectBlock(2, 2, 3, 3);
    EXPECT_EQ(v.selectionAsTsv(), "e\tf\nh\ti\n");
    v.setFocus();
    QTest::keySequence(&v, QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), "e\tf\nh\ti\n");
    v.selectBlock(0, 0, 9, 9); // clipped to the grid
    EXPECT_EQ(v.selection(), QRect(QPoint(1, 1), QPoint(3, 3)));
}

TEST(GridView, GeometryFollowsTheGridUnits) {
    Grid g(3, 40000);
    g.setColWidth(-1, 2.0);
    g.setColWidth(2, 6.0);
    g.setRowHeight(1, 20.0);
    GridView v;
    v.setGrid(std::move(g));
    EXPECT_GT(v.columnX(3) - v.columnX(2), 2 * (v.columnX(2) - v.columnX(1)));
    EXPECT_GT(v.rowY(2) - v.rowY(1), v.rowY(3) - v.rowY(2));
    v.resize(200, 300);
    v.show();
    v.verticalScrollBar()->setValue(v.verticalScrollBar()->maximum());
    const QPoint bottom = v.cellAt(QPoint(5, v.viewport()->height() - 2));
    EXPECT_EQ(bottom.y(), 40000);
    EXPECT_EQ(v.cellAt(QPoint(-5, -5)), QPoint(0, 0));
}

TEST(GridView, HomeAndEndJumpToTheFirstAndLatestRows) {
    GridView v;
    v.setGrid(Grid(3, 5000));
    v.resize(200, 300);
    v.show();
    v.setFocus();
    QTest::keyClick(&v, Qt::Key_End);
    EXPECT_EQ(v.verticalScrollBar()->value(), v.verticalScrollBar()->maximum());
    QTest::keyClick(&v, Qt::Key_Home);
    EXPECT_EQ(v.verticalScrollBar()->value(), 0);
}
