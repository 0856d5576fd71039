// The data-entry window as a spreadsheet: new rows, several rows at once,
// copying the selection, and undo/redo of every kind of step.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QTest>

#include "UiSupport.h"

using namespace n4;
using n4test::Entry;

namespace {

void selectBlock(Entry& e, int row1, int col1, int row2, int col2) {
    e.window->table()->selectionModel()->select(
        QItemSelection(e.model()->index(row1, col1), e.model()->index(row2, col2)),
        QItemSelectionModel::ClearAndSelect);
}

bool same(const DrawTable& a, const DrawTable& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].drawNo != b[i].drawNo || a[i].digits != b[i].digits) return false;
    return true;
}

void pressUndo(Entry& e) {
    QApplication::setActiveWindow(e.window.get());
    e.window->table()->setFocus();
    QTest::keyClick(e.window->table(), Qt::Key_Z, Qt::ControlModifier);
}

void pressRedo(Entry& e) {
    QApplication::setActiveWindow(e.window.get());
    e.window->table()->setFocus();
    QTest::keyClick(e.window->table(), Qt::Key_Y, Qt::ControlModifier);
}

} // namespace

TEST(DataEntrySteps, ANewRowShowsEmptyCellsAsTheFileHoldsThem) {
    Entry e;
    e.select(2);
    e.window->addLine();
    ASSERT_EQ(e.model()->rowCount(), 4);
    for (int col = 1; col <= 4; ++col)
        EXPECT_EQ(e.model()->cellText(3, col), "") << col;
    const DrawTable t = e.stored();
    ASSERT_EQ(t.size(), 4u);
    for (int d : t[3].digits)
        EXPECT_EQ(d, kAbsentDigit);
}

TEST(DataEntrySteps, TheWindowSaysWhichDrawTheNextNewRowGets) {
    Entry e(DrawTable{DrawRecord{1, {1, 1, 1, 1}}, DrawRecord{2, {2, 2, 2, 2}},
                      DrawRecord{5, {5, 5, 5, 5}}});
    EXPECT_EQ(e.window->nextDrawLabel()->text(), "行追加で追加される行: 第6回");
    e.select(1);
    EXPECT_EQ(e.window->nextDrawLabel()->text(), "行追加で追加される行: 第3回");
    e.window->addLine();
    EXPECT_EQ(e.model()->drawNo(2), 3);
    EXPECT_EQ(e.window->nextDrawLabel()->text(), "行追加で追加される行: 第4回");
}

TEST(DataEntrySteps, DeleteRemovesEverySelectedRowAfterOneQuestionNamingThem) {
    Entry e;
    selectBlock(e, 0, 1, 2, 2);
    e.window->deleteLine();
    ASSERT_EQ(e.sink.messages.size(), 1);
    EXPECT_EQ(e.sink.messages[0].text,
              "選択された 3 行（第1回、第2回、第3回）を削除します。よろしいですか？");
    EXPECT_TRUE(e.stored().empty());
    EXPECT_EQ(e.model()->rowCount(), 0);

    DrawTable many;
    for (int no = 1; no <= 12; ++no)
        many.push_back(DrawRecord{no, {1, 2, 3, 4}});
    Entry big(many);
    selectBlock(big, 2, 1, 9, 4);
    big.sink.answer = false;
    big.window->deleteLine();
    EXPECT_EQ(big.sink.messages.back().text,
              "選択された 8 行（第3回～第10回）を削除します。よろしいですか？");
    // Up to five draws are named one by one.
    selectBlock(big, 2, 1, 6, 4);
    big.window->deleteLine();
    EXPECT_EQ(big.sink.messages.back().text,
              "選択された 5 行（第3回、第4回、第5回、第6回、第7回）を削除します。よろしいですか？");
    selectBlock(big, 2, 1, 7, 4);
    big.window->deleteLine();
    EXPECT_EQ(big.sink.messages.back().text,
              "選択された 6 行（第3回～第8回）を削除します。よろしいですか？");
    EXPECT_EQ(big.stored().size(), 12u);
}

TEST(DataEntrySteps, AfterADeleteTheCursorStandsInItsColumnOnTheRowThatFollowed) {
    DrawTable many;
    for (int no = 1; no <= 12; ++no)
        many.push_back(DrawRecord{no, {1, 2, 3, 4}});
    Entry e(many);
    e.select(2, 3);
    selectBlock(e, 2, 1, 5, 4);
    e.window->deleteLine();
    ASSERT_EQ(e.model()->rowCount(), 8);
    const auto cursor = [&] {
        const QModelIndex i = e.window->table()->currentIndex();
        return std::make_pair(i.row(), i.column());
    };
    EXPECT_EQ(cursor(), std::make_pair(2, 3));
    EXPECT_EQ(e.model()->drawNo(2), 7);
    EXPECT_EQ(e.window->table()->selectionModel()->selectedIndexes().size(), 1);

    // The last rows gone, the cursor moves up to the new last row.
    e.select(7, 2);
    selectBlock(e, 6, 1, 7, 4);
    e.window->deleteLine();
    ASSERT_EQ(e.model()->rowCount(), 6);
    EXPECT_EQ(cursor(), std::make_pair(5, 2));
    EXPECT_EQ(e.window->nextDrawLabel()->text(), "行追加で追加される行: 第11回");
}

TEST(DataEntrySteps, AnUndoOfManyRowsAtOnceStillSaysWhichDrawTheNextNewRowGets) {
    DrawTable many;
    for (int no = 1; no <= 100; ++no)
        many.push_back(DrawRecord{no, {1, 2, 3, 4}});
    Entry e(many);
    selectBlock(e, 30, 1, 99, 4); // 70 rows: the view is given the table anew
    e.window->deleteLine();
    ASSERT_EQ(e.model()->rowCount(), 30);
    EXPECT_EQ(e.window->nextDrawLabel()->text(), "行追加で追加される行: 第31回");
    e.window->undo();
    ASSERT_EQ(e.model()->rowCount(), 100);
    EXPECT_EQ(e.window->nextDrawLabel()->text(), "行追加で追加される行: 第101回");
}

TEST(DataEntrySteps, UndoNamesTheRowsDeletedAndAnEmptyFileStartsAtDrawOne) {
    Entry e;
    selectBlock(e, 0, 1, 1, 2);
    e.window->deleteLine();
    EXPECT_EQ(e.window->undoAction()->toolTip(), "元に戻す: 第1回～第2回の行削除");
    e.select(0);
    e.window->deleteLine();
    EXPECT_EQ(e.window->undoAction()->toolTip(), "元に戻す: 第3回の行削除");
    e.window->undo();
    EXPECT_TRUE(e.window->statusLabel()->text().contains("「第3回の行削除」を元に戻しました。"))
        << e.window->statusLabel()->text().toStdString();
    e.window->redo();
    EXPECT_TRUE(e.window->statusLabel()->text().contains("「第3回の行削除」をやり直しました。"))
        << e.window->statusLabel()->text().toStdString();
    EXPECT_EQ(e.window->nextDrawLabel()->text(), "行追加で追加される行: 第1回");
    e.window->addLine();
    ASSERT_EQ(e.model()->rowCount(), 1);
    EXPECT_EQ(e.model()->drawNo(0), 1);
}

TEST(DataEntrySteps, CtrlCCopiesTheWholeSelectionAsTabSeparatedText) {
    Entry e(DrawTable{DrawRecord{1, {1, 2, 3, 4}}, DrawRecord{2, {5, kAbsentDigit, 7, 8}}});
    selectBlock(e, 0, 0, 1, 4);
    e.window->table()->setFocus();
    QTest::keySequence(e.window->table(), QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), "1\t1\t2\t3\t4\n2\t5\t\t7\t8\n");
    selectBlock(e, 0, 2, 1, 3);
    QTest::keySequence(e.window->table(), QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), "2\t3\n\t7\n");
}

TEST(DataEntrySteps, UndoOfEveryKindOfChangeRestoresTheFileAndRedoRepeatsIt) {
    Entry e;
    const std::string csv = e.ws.folder + "/more.csv";
    n4test::writeFile(csv, "回,当せん番号\n3,9999\n4,4444\n");
    struct Step {
        const char* name;
        std::function<void()> run;
    } steps[] = {
        {"edit", [&] { e.model()->setData(e.model()->index(0, 2), "0", Qt::EditRole); }},
        {"add", [&] { e.select(2), e.window->addLine(); }},
        {"delete", [&] { selectBlock(e, 0, 1, 1, 1), e.window->deleteLine(); }},
        {"paste", [&] { e.select(1, 1), e.window->paste("7\t7\t7\t7\n8\t8\t8\t8\n9\t9\t9\t9\n"); }},
        {"import", [&] { e.window->importFile(QString::fromStdString(csv)); }},
    };
    for (const Step& step : steps) {
        const DrawTable before = e.stored();
        step.run();
        const DrawTable after = e.stored();
        ASSERT_FALSE(same(before, after)) << step.name;
        ASSERT_TRUE(e.window->undoAction()->isEnabled()) << step.name;
        pressUndo(e);
        EXPECT_TRUE(same(e.stored(), before)) << step.name;
        EXPECT_EQ(e.model()->rowCount(), static_cast<int>(before.size())) << step.name;
        pressRedo(e);
        EXPECT_TRUE(same(e.stored(), after)) << step.name;
        EXPECT_EQ(e.model()->rowCount(), static_cast<int>(after.size())) << step.name;
    }
    // Back through all five, each one step.
    for (int i = 0; i < 5; ++i)
        pressUndo(e);
    EXPECT_TRUE(same(e.stored(), draws({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 0, 1, 2}})));
    EXPECT_FALSE(e.window->undoAction()->isEnabled());
    EXPECT_TRUE(e.window->redoAction()->isEnabled());
    EXPECT_TRUE(e.window->statusLabel()->text().contains("元に戻しました"));
}

TEST(DataEntrySteps, UndoAndRedoAreInTheEditMenuWithTheirKeys) {
    Entry e;
    QStringList captions;
    for (QAction* a : e.window->editActions())
        if (!a->isSeparator()) captions << a->text() + "|" + a->shortcut().toString();
    EXPECT_EQ(captions,
              (QStringList{"行追加|Ctrl+A", "行削除|Ctrl+D", "元に戻す(&U)|Ctrl+Z",
                           "やり直し(&R)|Ctrl+Y", "ファイルから取り込み…|", "回号へ移動…|Ctrl+G"}));
    EXPECT_FALSE(e.window->undoAction()->isEnabled());
    e.model()->setData(e.model()->index(0, 1), "9", Qt::EditRole);
    EXPECT_TRUE(e.window->undoAction()->isEnabled());
    EXPECT_EQ(e.window->undoAction()->toolTip(), "元に戻す: 第1回の第1数字の入力");
}

TEST(DataEntrySteps, AnEditThatCouldNotBeSavedIsUndoneByDiscardingIt) {
    Entry e;
    e.model()->setFailWrites(true);
    EXPECT_FALSE(e.model()->setData(e.model()->index(1, 1), "0", Qt::EditRole));
    // Nothing else is done on top of an unsaved edit.
    EXPECT_LT(e.model()->addRowAfter(1), 0);
    EXPECT_TRUE(e.window->statusLabel()->text().contains("第2回の第1数字"));
    pressUndo(e);
    EXPECT_FALSE(e.model()->hasPending());
    EXPECT_EQ(e.model()->cellText(1, 1), "5");
    e.model()->setFailWrites(false);
    EXPECT_EQ(e.stored()[1].digits[0], 5);
}
