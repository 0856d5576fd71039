// 回号へ移動… (Ctrl+G) in the windows that list draws, and Home / End taking
// the cell cursor to the first and the latest draws, as the user reaches them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTest>

#include "UiSupport.h"
#include "ui/common/DrawJump.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"

using namespace n4;

namespace {

// Draws 1..80 but for 12 (never drawn) and 20 (its digits incomplete).
DrawTable history() {
    DrawTable t;
    for (int n = 1; n <= 80; ++n)
        if (n != 12) t.push_back(DrawRecord{n, {n % 10, n * 7 % 10, n * 3 % 10, n / 10 % 10}});
    t[18] = n4test::incomplete(20);
    return t;
}

// Ctrl+G pressed at a widget, the question answered with what the user
// types; what the window said back ("" when it moved), after the question.
QString ctrlG(QWidget* at, DrawJump* jump, n4test::RecordingSink& sink, const QString& typed,
              QString* asked = nullptr) {
    jump->setMessageSink(&sink);
    jump->setAsker([=](QWidget*, const QString& prompt) {
        if (asked) *asked = prompt;
        return typed;
    });
    sink.messages.clear();
    QTest::keyClick(at, Qt::Key_G, Qt::ControlModifier);
    return sink.messages.isEmpty() ? ""
                                   : sink.messages.last().kind + ": " + sink.messages.last().text;
}

} // namespace

TEST(DrawJump, CtrlGHomeAndEndTakeTheCursorToADrawAndANumberNotListedIsRefused) {
    n4test::Shell s(history());
    auto* frame = qobject_cast<AnalysisFrame*>(s.choose("mnuSyutugenKankaku")->widget());
    GridView* v = frame->gridView();
    v->setFocus();
    auto drawAtCursor = [v] { return v->grid().text(1, v->cursorCell().y()); };
    QString asked;
    EXPECT_EQ(ctrlG(v, frame->drawJump(), s.sink, "第5回", &asked), "");
    EXPECT_EQ(asked, "移動する回号を入力してください（第1回～第80回）。");
    EXPECT_EQ(drawAtCursor(), "5");
    EXPECT_GE(v->cellRect(1, v->cursorCell().y()).top(), v->rowY(v->frozenRows() + 1)); // in view
    EXPECT_EQ(ctrlG(v, frame->drawJump(), s.sink, "　６０　"), ""); // as an input method types
    EXPECT_EQ(drawAtCursor(), "60");
    EXPECT_EQ(ctrlG(v, frame->drawJump(), s.sink, "81"),
              "warning: 第81回は当選データにありません。\n第1回～第80回の回号を入力してください。");
    EXPECT_EQ(ctrlG(v, frame->drawJump(), s.sink, "12"),
              "warning: 第12回は当選データにありません。");
    EXPECT_EQ(ctrlG(v, frame->drawJump(), s.sink, "5a"),
              "warning: 「5a」は回号として読めません。数字で入力してください（例: 80）。");
    EXPECT_EQ(ctrlG(v, frame->drawJump(), s.sink, QString()), ""); // given up
    EXPECT_EQ(drawAtCursor(), "60");
    // The latest draw, not the title rows repeated under the draws; then on from there.
    QTest::keyClick(v, Qt::Key_End);
    EXPECT_EQ(drawAtCursor(), "80");
    QTest::keyClick(v, Qt::Key_Up);
    EXPECT_EQ(drawAtCursor(), "79");
    QTest::keyClick(v, Qt::Key_Home);
    EXPECT_EQ(drawAtCursor(), "1");
    // A window that leaves the incomplete draw out says so.
    auto* sum = qobject_cast<AnalysisFrame*>(s.choose("mnuHonsuji")->widget());
    sum->gridView()->setFocus();
    EXPECT_EQ(ctrlG(sum->gridView(), sum->drawJump(), s.sink, "20"),
              "warning: 第20回は当選数字がそろっていないため、この表にはありません。");
}

TEST(DrawJump, TheDataEntryWindowGoesToADrawFromItsEditMenuAndCtrlG) {
    n4test::Shell s(history());
    s.close("一発マーヴォ"); // (the data entry opens with no other window open)
    auto* w = qobject_cast<DataEntryWindow*>(s.choose("mnuMasterInput")->widget());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->editActions().contains(w->drawJump()->action()));
    QApplication::setActiveWindow(s.main.get());
    w->table()->setFocus();
    EXPECT_EQ(ctrlG(w->table(), w->drawJump(), s.sink, "40"), "");
    EXPECT_EQ(ctrlG(w->table(), w->drawJump(), s.sink, "12"),
              "warning: 第12回は当選データにありません。");
    EXPECT_EQ(w->model()->drawNo(w->table()->currentIndex().row()), 40);
}
