// 回号へ移動… (Ctrl+G) in the windows that list draws, and Home / End taking
// the cell cursor to the first and the latest draws, as the user reaches them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "UiSupport.h"
#include "ui/common/DrawJump.h"
#include "ui/data/DataEntryWindow.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"

using namespace n4;

namespace {

// Draws 1..80 but for 12 (never drawn) and 20 (its digits incomplete).
DrawTable history() {
    DrawTable t;
    for (int n = 1; n <= 80; ++n)
        if (n == 20)
            t.push_back(n4test::incomplete(20));
        else if (n != 12)
            t.push_back(DrawRecord{n, {n % 10, n * 7 % 10, n * 3 % 10, n / 10 % 10}});
    return t;
}

// An analysis window opened from its menu command, its Ctrl+G answered with
// what the test says the user types.
struct Window {
    n4test::Shell shell{history()};
    AnalysisFrame* frame;
    GridView* view;
    QString typed;
    QStringList prompts;
    explicit Window(const char* command) {
        frame = qobject_cast<AnalysisFrame*>(shell.choose(command)->widget());
        view = frame->gridView();
        frame->drawJump()->setMessageSink(&shell.sink);
        frame->drawJump()->setAsker([this](QWidget*, const QString& prompt) {
            prompts << prompt;
            return typed;
        });
        view->setFocus();
    }
    QString ctrlG(const QString& text) {
        typed = text;
        shell.sink.messages.clear();
        QTest::keyClick(view, Qt::Key_G, Qt::ControlModifier);
        return shell.sink.messages.isEmpty() ? QString() : shell.sink.messages.last().text;
    }
    bool rowInSight(int row) const {
        const QRect r = view->cellRect(1, row);
        return r.top() >= view->rowY(view->frozenRows() + 1) &&
               r.bottom() < view->viewport()->height();
    }
};

} // namespace

TEST(DrawJump, CtrlGTakesTheCursorToTheDrawAskedAndRefusesOneNotInTheHistory) {
    Window w("mnuSyutugenKankaku"); // 出現間隔分析, opened at the latest draws
    EXPECT_EQ(w.ctrlG("第5回"), QString());
    EXPECT_EQ(w.prompts.last(), "移動する回号を入力してください（第1回～第80回）。");
    const int row = w.view->cursorCell().y();
    EXPECT_EQ(w.view->grid().text(1, row), "5");
    EXPECT_TRUE(w.rowInSight(row));
    EXPECT_TRUE(w.view->hasFocus());
    // Full-width digits, as an input method types them.
    EXPECT_EQ(w.ctrlG("　６０　"), QString());
    EXPECT_EQ(w.view->grid().text(1, w.view->cursorCell().y()), "60");
    // Refused with a message in Japanese; the cursor stays.
    const QPoint before = w.view->cursorCell();
    EXPECT_EQ(w.ctrlG("81"),
              "第81回は当選データにありません。\n第1回～第80回の回号を入力してください。");
    EXPECT_EQ(w.shell.sink.messages.last().kind, "warning");
    EXPECT_EQ(w.ctrlG("12"), "第12回は当選データにありません。");
    EXPECT_EQ(w.ctrlG("5a"), "「5a」は回号として読めません。数字で入力してください（例: 80）。");
    EXPECT_EQ(w.ctrlG(QString()), QString()); // given up: nothing said
    EXPECT_EQ(w.view->cursorCell(), before);
    // The incomplete draw keeps its (empty) row here.
    EXPECT_EQ(w.ctrlG("20"), QString());
    EXPECT_EQ(w.view->grid().text(1, w.view->cursorCell().y() - 1), "19");
}

TEST(DrawJump, AWindowThatLeavesAnIncompleteDrawOutSaysSo) {
    Window w("mnuHonsuji"); // 数字合計分析
    EXPECT_EQ(w.ctrlG("20"), "第20回は当選数字がそろっていないため、この表にはありません。");
    EXPECT_EQ(w.ctrlG("21"), QString());
    EXPECT_EQ(w.view->grid().text(1, w.view->cursorCell().y()), "21");
}

TEST(DrawJump, HomeAndEndTakeTheCursorToTheFirstAndLatestDrawsAndArrowsGoOnFromThere) {
    Window w("mnuSyutugenKankaku"); // its two title rows are repeated under the draws
    w.view->moveCursorTo(4, 30);
    QTest::keyClick(w.view, Qt::Key_End);
    EXPECT_EQ(w.view->cursorCell(), QPoint(4, w.view->grid().drawRows().rowOf(80)));
    EXPECT_EQ(w.view->verticalScrollBar()->value(), w.view->verticalScrollBar()->maximum());
    QTest::keyClick(w.view, Qt::Key_Up);
    EXPECT_EQ(w.view->grid().text(1, w.view->cursorCell().y()), "79");
    EXPECT_TRUE(w.rowInSight(w.view->cursorCell().y()));
    QTest::keyClick(w.view, Qt::Key_Home);
    EXPECT_EQ(w.view->cursorCell(), QPoint(4, 3));
    EXPECT_EQ(w.view->verticalScrollBar()->value(), 0);
    QTest::keyClick(w.view, Qt::Key_Down);
    EXPECT_EQ(w.view->grid().text(1, w.view->cursorCell().y()), "2");
}

TEST(DrawJump, TheDataEntryWindowGoesToADrawFromItsEditMenuAndCtrlG) {
    n4test::Shell s(history());
    s.close("一発マーヴォ"); // (the data entry opens with no other window open)
    auto* w = qobject_cast<DataEntryWindow*>(s.choose("mnuMasterInput")->widget());
    ASSERT_NE(w, nullptr);
    QString typed = "40";
    w->drawJump()->setAsker([&typed](QWidget*, const QString&) { return typed; });
    EXPECT_TRUE(w->editActions().contains(w->drawJump()->action()));
    QApplication::setActiveWindow(s.main.get());
    w->table()->setFocus();
    QTest::keyClick(w->table(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(w->model()->drawNo(w->table()->currentIndex().row()), 40);
    typed = "12";
    w->drawJump()->action()->trigger();
    EXPECT_EQ(w->model()->drawNo(w->table()->currentIndex().row()), 40);
    ASSERT_FALSE(s.sink.messages.isEmpty());
    EXPECT_EQ(s.sink.messages.last().text, "第12回は当選データにありません。");
}
