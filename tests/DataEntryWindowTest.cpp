#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QWindow>
#include <sqlite3.h>

#include "UiSupport.h"
#include "ui/data/DataEntryWindow.h"
#include "ui/data/DrawEntryModel.h"

using namespace n4;
using n4test::Entry;
using n4test::RecordingSink;
using n4test::Workspace;

namespace {

// Writes digits the program itself would refuse, as an older copy of the file might hold.
void storeRawDigits(const std::string& folder,
                    const std::vector<std::array<const char*, 5>>& rows) {
    DbConnectionString c = DbConnectionString::forProgramFolder(folder);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(c.dataSource.c_str(), &db), SQLITE_OK);
    std::string sql =
        "PRAGMA key = '" + c.password +
        "';"
        "DROP VIEW 全データ選択クエリ; DROP TABLE 当選番号;"
        "CREATE TABLE 当選番号 (回数 INTEGER PRIMARY KEY, 第1数字, 第2数字, 第3数字, 第4数字);"
        "CREATE VIEW 全データ選択クエリ AS SELECT * FROM 当選番号;";
    for (const auto& r : rows)
        sql += std::string("INSERT INTO 当選番号 VALUES (") + r[0] + "," + r[1] + "," + r[2] + "," +
               r[3] + "," + r[4] + ");";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
}

} // namespace

TEST(DataEntryWindow, LayoutTextsAndColumns) {
    Entry e;
    EXPECT_EQ(e.window->findChild<QLabel*>("Label1")->text(),
              "当選数字を開催回数毎に入力します（分析対象データとなります）");
    EXPECT_EQ(e.window->closeButton()->text(), "閉じる");
    EXPECT_EQ(e.model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "回数");
    EXPECT_EQ(e.model()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), "第4数字");
    EXPECT_TRUE(e.window->table()->verticalHeader()->isVisible());
    EXPECT_FALSE(e.model()->flags(e.model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(e.model()->flags(e.model()->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_EQ(e.model()->data(e.model()->index(0, 0), Qt::BackgroundRole).value<QColor>(),
              QColor(255, 255, 200));
    EXPECT_EQ(e.model()->rowCount(), 3);
}

TEST(DataEntryWindow, OpensOnTheLastDrawWithItInViewAndSaysTheNextDraw) {
    DrawTable long_;
    for (int i = 1; i <= 400; ++i)
        long_.push_back(DrawRecord{i, {i % 10, 1, 2, 3}});
    Entry e(long_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(e.window.get()));
    QTableView* t = e.window->table();
    EXPECT_EQ(t->currentIndex(), e.model()->index(399, 1));
    const QRect last = t->visualRect(e.model()->index(399, 1));
    EXPECT_TRUE(t->viewport()->rect().contains(last))
        << last.y() << " in " << t->viewport()->height();
    EXPECT_EQ(e.window->nextDrawLabel()->text(), "行追加で追加される行: 第401回");

    Entry empty{DrawTable{}};
    EXPECT_FALSE(empty.window->table()->currentIndex().isValid());
    EXPECT_EQ(empty.window->nextDrawLabel()->text(), "行追加で追加される行: 第1回");
}

TEST(DataEntryEditing, AnEditReachesTheEncryptedFile) {
    Entry e;
    ASSERT_TRUE(e.model()->setData(e.model()->index(1, 3), "0", Qt::EditRole));
    ASSERT_TRUE(e.model()->setData(e.model()->index(2, 4), "", Qt::EditRole));
    DrawTable t = e.stored();
    EXPECT_EQ(t[1].digits, (std::array<int, 4>{5, 6, 0, 8}));
    EXPECT_EQ(t[2].digits[3], kAbsentDigit);
    EXPECT_EQ(n4test::readFile(e.ws.folder + "/Numbers4Marvo.mdb").find("SQLite format 3"),
              std::string::npos);
}

TEST(DataEntryEditing, WrongInputIsRefusedAtOnceWithAHint) {
    Entry e;
    for (const char* bad : {"10", "-1", "1.5", "a", "１"}) {
        EXPECT_FALSE(e.model()->setData(e.model()->index(0, 1), bad, Qt::EditRole)) << bad;
    }
    EXPECT_EQ(e.stored()[0].digits[0], 1);
    EXPECT_EQ(e.model()->cellText(0, 1), "1");
    EXPECT_TRUE(e.window->statusLabel()->text().contains("0～9"));
    // The editor itself takes no second character and no letter.
    e.select(0, 2);
    e.window->table()->edit(e.model()->index(0, 2));
    auto* editor = e.window->table()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->clear();
    QTest::keyClicks(editor, "x7");
    QTest::keyClicks(editor, "8");
    EXPECT_EQ(editor->text(), "7");
}

TEST(DataEntryRows, AddAfterTheLastRowAndInAGap) {
    Entry e(DrawTable{DrawRecord{1, {1, 1, 1, 1}}, DrawRecord{2, {2, 2, 2, 2}},
                      DrawRecord{4, {4, 4, 4, 4}}});
    e.select(2);
    e.window->addLine();
    ASSERT_EQ(e.model()->rowCount(), 4);
    EXPECT_EQ(e.model()->drawNo(3), 5);
    EXPECT_EQ(e.window->table()->currentIndex().row(), 3);
    EXPECT_EQ(e.window->table()->verticalHeader()->count(), 4); // the grid shows it at once
    e.select(1);
    e.window->addLine();
    EXPECT_EQ(e.model()->drawNo(2), 3); // fills the missing draw in place
    ASSERT_EQ(e.sink.messages.size(), 2);
    EXPECT_EQ(e.sink.messages[0].text, "選択された行のうしろに行を追加します。よろしいですか？");
    EXPECT_EQ(e.sink.messages[0].title, "ナンバーズ4マーヴォ");
    DrawTable t = e.stored();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[2].drawNo, 3);
    EXPECT_FALSE(t[2].isComplete());
    // Into an empty table: draw 1, with the cursor on its first digit.
    Entry empty(DrawTable{});
    empty.window->addLine();
    ASSERT_EQ(empty.model()->rowCount(), 1);
    EXPECT_EQ(empty.model()->drawNo(0), 1);
    EXPECT_EQ(empty.window->table()->currentIndex(), empty.model()->index(0, 1));
}

TEST(DataEntryRows, DeleteAndAnsweringNoChangesNothing) {
    Entry e;
    e.sink.answer = false;
    e.select(1);
    e.window->addLine();
    e.window->deleteLine();
    EXPECT_EQ(e.model()->rowCount(), 3);
    EXPECT_EQ(e.stored().size(), 3u);
    e.sink.answer = true;
    e.window->deleteLine();
    EXPECT_EQ(e.sink.messages.back().text, "選択された行を削除します。よろしいですか？");
    DrawTable t = e.stored();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1].drawNo, 3);
}

TEST(DataEntryRows, AfterDeletingTheLastRowTheCursorIsOnTheNewLastRow) {
    Entry e;
    e.select(2, 3);
    e.window->deleteLine();
    ASSERT_EQ(e.model()->rowCount(), 2);
    EXPECT_EQ(e.window->table()->currentIndex(), e.model()->index(1, 3)); // same column
    e.select(0, 2); // and a row in the middle: the row that took its place
    e.window->deleteLine();
    ASSERT_EQ(e.model()->rowCount(), 1);
    EXPECT_EQ(e.window->table()->currentIndex(), e.model()->index(0, 2));
    EXPECT_EQ(e.stored()[0].drawNo, 2);
}

TEST(DataEntryRows, RightClickOnARowHeaderSelectsThatRowFirst) {
    Entry e;
    e.select(0, 2);
    auto* menu = e.window->findChild<QMenu*>("mnuEdit");
    e.window->rowHeaderRightClicked(2, e.window->mapToGlobal(QPoint(5, 5)));
    EXPECT_EQ(e.window->selectedRows(), (QList<int>{2}));
    EXPECT_EQ(e.window->table()->currentIndex(), e.model()->index(2, 2));
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    // 行追加 from that menu adds after the row clicked, not the one active before.
    e.window->addLine();
    EXPECT_EQ(e.model()->drawNo(3), 4);
    // Inside a selection of several rows the selection stays, for 行削除.
    e.window->table()->selectionModel()->select(
        QItemSelection(e.model()->index(0, 1), e.model()->index(2, 4)),
        QItemSelectionModel::ClearAndSelect);
    e.window->rowHeaderRightClicked(1, e.window->mapToGlobal(QPoint(5, 5)));
    menu->hide();
    EXPECT_EQ(e.window->selectedRows(), (QList<int>{0, 1, 2}));
    EXPECT_FALSE(e.window->rowHeaderMenuAllowed(4));
    EXPECT_FALSE(e.window->rowHeaderMenuAllowed(-1));
    EXPECT_EQ(e.window->editActions()[0]->shortcut(), QKeySequence("Ctrl+A"));
    EXPECT_EQ(e.window->editActions()[1]->text(), "行削除");
}

// A right button pressed and released over the row header, delivered through
// the window as the windowing system delivers it; the menu that pops up, if any.
QMenu* rightClickRowHeader(Entry& e, int y) {
    QHeaderView* rows = e.window->table()->verticalHeader();
    QWindow* window = e.window->window()->windowHandle();
    const QPoint at =
        window->mapFromGlobal(rows->viewport()->mapToGlobal(QPoint(rows->width() / 2, y)));
    QTest::mouseClick(window, Qt::RightButton, {}, at);
    QApplication::processEvents();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu) menu->close();
    return menu;
}

int rowMiddle(Entry& e, int row) {
    QHeaderView* rows = e.window->table()->verticalHeader();
    return rows->sectionViewportPosition(row) + rows->sectionSize(row) / 2;
}

// Every row is as high as the others and holds a line of text, and dragging
// a row's edge in the row header leaves it so.
TEST(DataEntryRows, RowsKeepTheirHeightWhenTheHeaderIsDragged) {
    Entry e;
    e.window->resize(500, 400);
    e.window->show();
    QHeaderView* rows = e.window->table()->verticalHeader();
    const int height = rows->sectionSize(0);
    EXPECT_GE(height, e.window->table()->fontMetrics().height());
    for (int r = 1; r < 3; ++r)
        EXPECT_EQ(rows->sectionSize(r), height) << r;
    const QPoint edge(rows->width() / 2, rows->sectionViewportPosition(0) + height - 1);
    QTest::mousePress(rows->viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(rows->viewport(), edge + QPoint(0, 25));
    QTest::mouseRelease(rows->viewport(), Qt::LeftButton, {}, edge + QPoint(0, 25));
    EXPECT_EQ(rows->sectionSize(0), height);
}

TEST(DataEntryRows, RightClickingARowHeaderOpensTheEditMenu) {
    Entry e;
    e.select(1);
    QMenu* menu = rightClickRowHeader(e, rowMiddle(e, 2));
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) captions << a->text();
    EXPECT_EQ(captions, (QStringList{"行追加", "行削除", "元に戻す(&U)", "やり直し(&R)",
                                     "ファイルから取り込み…", "回号へ移動…"}));
    // The row clicked is selected first.
    EXPECT_EQ(e.window->selectedRows(), (QList<int>{2}));
    // Below the last row there is no row to act on.
    const int belowLast = rowMiddle(e, 2) + 3 * e.window->table()->verticalHeader()->sectionSize(2);
    ASSERT_LT(belowLast, e.window->table()->verticalHeader()->viewport()->height());
    EXPECT_EQ(rightClickRowHeader(e, belowLast), nullptr);
    // Within a selection of several rows the selection stays (行削除 takes them all).
    e.window->table()->selectionModel()->select(
        QItemSelection(e.model()->index(0, 1), e.model()->index(1, 1)),
        QItemSelectionModel::ClearAndSelect);
    EXPECT_NE(rightClickRowHeader(e, rowMiddle(e, 0)), nullptr);
    EXPECT_EQ(e.window->selectedRows(), (QList<int>{0, 1}));
}

TEST(DataEntryClose, OverAnUnreadableDatabaseItSaysSoAndClosesWithoutAQuestion) {
    const std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/Numbers4Marvo.mdb", "hello, this is not a database");
    RecordingSink sink;
    DataEntryWindow w(DbConnectionString::forProgramFolder(folder), &sink);
    EXPECT_FALSE(w.isUsable());
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(w.settleUnsaved(true)); // nothing typed, nothing to keep
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(sink.messages.size(), 1);
}

TEST(DataEntryClose, ValidationFindsWrongCellsInOrderOneAtATime) {
    Workspace ws{DrawTable{}};
    storeRawDigits(ws.folder, {{"1", "1", "2", "3", "11"},
                               {"2", "5", "6", "7", "8"},
                               {"3", "1", "10", "3", "4"},
                               {"4", "1", "NULL", "3", "4"},
                               {"5", "1", "2", "3", "4"},
                               {"6", "1", "2", "3", "4"},
                               {"7", "1", "2", "'a'", "4"},
                               {"8", "1", "2", "3", "42"}});
    RecordingSink sink;
    DataEntryWindow w(DbConnectionString::forProgramFolder(ws.folder), &sink);
    ASSERT_TRUE(w.isUsable());
    QSignalSpy closed(&w, &DataEntryWindow::closeAccepted);
    w.closeButton()->click();
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(sink.messages[0].text, "結果マスタの数字に誤りがあります。");
    EXPECT_EQ(sink.messages[0].title, "メッセ－ジ");
    EXPECT_EQ(w.table()->currentIndex(), w.model()->index(0, 4)); // the first draw too
    ASSERT_TRUE(w.model()->setData(w.model()->index(0, 4), "4", Qt::EditRole));
    w.closeButton()->click();
    EXPECT_EQ(w.table()->currentIndex(), w.model()->index(2, 2));
    EXPECT_EQ(closed.count(), 0);
    ASSERT_TRUE(w.model()->setData(w.model()->index(2, 2), "1", Qt::EditRole));
    w.closeButton()->click();
    EXPECT_EQ(w.table()->currentIndex(), w.model()->index(6, 3));
    ASSERT_TRUE(w.model()->setData(w.model()->index(6, 3), "", Qt::EditRole));
    w.closeButton()->click();
    EXPECT_EQ(w.table()->currentIndex(), w.model()->index(7, 4)); // the last digit too
    EXPECT_EQ(closed.count(), 0);
    ASSERT_TRUE(w.model()->setData(w.model()->index(7, 4), "", Qt::EditRole));
    w.closeButton()->click();
    EXPECT_EQ(closed.count(), 1); // an empty cell is accepted
}

TEST(DataEntryWrites, AFailedWriteStaysVisibleAndIsRetriedOnClose) {
    Entry e;
    QSignalSpy closed(e.window.get(), &DataEntryWindow::closeAccepted);
    e.model()->setFailWrites(true);
    EXPECT_FALSE(e.model()->setData(e.model()->index(0, 1), "9", Qt::EditRole));
    EXPECT_EQ(e.model()->cellText(0, 1), "9");
    EXPECT_TRUE(e.model()->hasPending());
    EXPECT_TRUE(e.window->statusLabel()->text().contains("保存できませんでした"));
    e.window->closeButton()->click();
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(e.stored()[0].digits[0], 1);
    e.model()->setFailWrites(false);
    e.window->closeButton()->click();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(e.stored()[0].digits[0], 9);
}

TEST(DataEntryWrites, ADeleteThatCannotBeWrittenKeepsTheRowsAndTheirSelection) {
    Entry e;
    QItemSelectionModel* selection = e.window->table()->selectionModel();
    selection->select(QItemSelection(e.model()->index(1, 0), e.model()->index(2, 4)),
                      QItemSelectionModel::ClearAndSelect);
    selection->setCurrentIndex(e.model()->index(2, 3), QItemSelectionModel::NoUpdate);
    e.model()->setFailWrites(true);
    e.window->deleteLine();
    EXPECT_EQ(e.model()->rowCount(), 3);
    EXPECT_EQ(e.stored().size(), 3u);
    // Still selected as they were, for another try.
    EXPECT_TRUE(selection->isRowSelected(1, QModelIndex()));
    EXPECT_TRUE(selection->isRowSelected(2, QModelIndex()));
    EXPECT_EQ(selection->currentIndex(), e.model()->index(2, 3));
}

TEST(DataEntryPaste, TwentyRowsInOneGo) {
    Entry e;
    QString text;
    for (int i = 0; i < 20; ++i)
        text += QString("%1\t%2,%3\t%4\n")
                    .arg(i % 10)
                    .arg((i + 1) % 10)
                    .arg((i + 2) % 10)
                    .arg((i + 3) % 10);
    text.replace(QLatin1Char(','), QLatin1Char('\t'));
    QApplication::clipboard()->setText(text);
    e.select(1, 1);
    e.window->table()->setFocus();
    QTest::keySequence(e.window->table(), QKeySequence::Paste);
    DrawTable t = e.stored();
    ASSERT_EQ(t.size(), 21u);
    EXPECT_EQ(t[1].digits, (std::array<int, 4>{0, 1, 2, 3}));
    EXPECT_EQ(t[20].drawNo, 21);
    EXPECT_EQ(t[20].digits, (std::array<int, 4>{9, 0, 1, 2}));
    EXPECT_EQ(e.model()->rowCount(), 21);
}

TEST(DataEntryPaste, IntoAnEmptyFileTheDigitsBecomeTheFirstDraws) {
    Entry e{DrawTable{}};
    ASSERT_FALSE(e.window->table()->currentIndex().isValid()); // no row, no cursor
    QApplication::clipboard()->setText("1\t2\t3\t4\n5\t6\t7\t8\n");
    e.window->table()->setFocus();
    QTest::keySequence(e.window->table(), QKeySequence::Paste);
    const DrawTable t = e.stored();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].drawNo, 1);
    EXPECT_EQ(t[0].digits, (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(t[1].digits, (std::array<int, 4>{5, 6, 7, 8}));
    // Ctrl+C gives them back as the window shows them.
    e.window->table()->selectAll();
    QTest::keySequence(e.window->table(), QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), "1\t1\t2\t3\t4\n2\t5\t6\t7\t8\n");
}

TEST(DataEntryPaste, ABadValueRefusesTheWholePaste) {
    Entry e;
    QApplication::clipboard()->setText("1,2,3,4\n5,6,x,8\n");
    e.select(0, 1);
    QTest::keySequence(e.window->table(), QKeySequence::Paste);
    EXPECT_EQ(e.stored()[0].digits, (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(e.stored().size(), 3u);
    EXPECT_TRUE(e.window->statusLabel()->text().contains("2行目"));
}

// The data-entry window opened from the main window's menu command.
struct EntryInShell {
    Workspace ws;
    RecordingSink sink;
    MainFrm main{ws.config, &sink};
    QMdiSubWindow* sub = nullptr;
    EntryInShell() {
        EXPECT_TRUE(main.load());
        main.show();
        main.openDataEntry();
        sub = main.openWindow("当選データ入力");
    }
};

TEST(DataEntryInShell, EditMenuShowsWhileTheWindowIsActive) {
    EntryInShell s;
    MainFrm& main = s.main;
    ASSERT_NE(s.sub, nullptr);
    EXPECT_TRUE(main.editMenuSlot()->menuAction()->isVisible());
    EXPECT_EQ(main.editMenuSlot()->title(), "編集(&E)");
    QStringList captions;
    for (QAction* a : main.editMenuSlot()->actions())
        if (!a->isSeparator()) captions << a->text();
    EXPECT_EQ(captions, (QStringList{"行追加", "行削除", "元に戻す(&U)", "やり直し(&R)",
                                     "ファイルから取り込み…", "回号へ移動…"}));
    EXPECT_FALSE(main.propEnd());
    main.openAnalysis("出現頻度分析");
    EXPECT_FALSE(main.editMenuSlot()->menuAction()->isVisible());
}

TEST(DataEntryWrites, ClosingByTheFrameNeverDropsAnUnsavedEdit) {
    EntryInShell s;
    MainFrm& main = s.main;
    QMdiSubWindow* sub = s.sub;
    ASSERT_NE(sub, nullptr);
    auto* w = qobject_cast<DataEntryWindow*>(sub->widget());
    w->model()->setFailWrites(true);
    w->model()->setData(w->model()->index(0, 2), "0", Qt::EditRole);
    sub->close(); // the sink stays ("戻る")
    QApplication::processEvents();
    EXPECT_NE(main.openWindow("当選データ入力"), nullptr);
    EXPECT_EQ(s.sink.messages.back().kind, "choose");
    EXPECT_TRUE(s.sink.messages.back().text.contains("第1回の第2数字"));
    w->model()->setFailWrites(false);
    sub->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main.openWindow("当選データ入力"), nullptr);
    StoreResult r;
    DrawTable t;
    DrawStore::open(DbConnectionString::forProgramFolder(s.ws.folder), r)->readAll(t);
    EXPECT_EQ(t[0].digits[1], 0);
}

TEST(DataEntryInShell, CtrlAAndCtrlDAddAndDeleteFromTheKeyboard) {
    EntryInShell s;
    ASSERT_NE(s.sub, nullptr);
    auto* w = qobject_cast<DataEntryWindow*>(s.sub->widget());
    QApplication::setActiveWindow(&s.main);
    w->table()->setFocus();
    const int rows = w->model()->rowCount();
    QTest::keyClick(w->table(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w->model()->rowCount(), rows + 1);
    EXPECT_EQ(s.sink.messages.back().text,
              "選択された行のうしろに行を追加します。よろしいですか？");
    QTest::keyClick(w->table(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(w->model()->rowCount(), rows);
}

namespace {

// Types a digit into the cell's editor and leaves it open, as a user does who
// then quits or closes the window at once.
QLineEdit* typeIntoCell(DataEntryWindow* w, int row, int col, const char* digit) {
    w->table()->setCurrentIndex(w->model()->index(row, col));
    w->table()->edit(w->model()->index(row, col));
    auto* editor = w->table()->findChild<QLineEdit*>();
    if (!editor) return nullptr;
    editor->clear();
    QTest::keyClicks(editor, digit);
    return editor;
}

int storedDigit(const std::string& folder, int row, int position) {
    return n4test::storedDraws(folder)[row].digits[position];
}

} // namespace

// A digit still in the cell's editor is not lost on any way out: it is saved,
// or, while the file cannot be written, the user is asked as for any unsaved edit.
TEST(DataEntryWrites, ADigitStillInTheEditorIsSavedOrAskedForOnEveryWayOut) {
    { // 終了 while another program holds the file's lock
        EntryInShell s;
        auto* w = qobject_cast<DataEntryWindow*>(s.sub->widget());
        ASSERT_NE(typeIntoCell(w, 0, 1, "7"), nullptr);
        DbConnectionString c = DbConnectionString::forProgramFolder(s.ws.folder);
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(c.dataSource.c_str(), &other), SQLITE_OK);
        const std::string lock = "PRAGMA key = '" + c.password + "'; BEGIN EXCLUSIVE;" +
                                 "UPDATE 当選番号 SET 第4数字 = 第4数字 WHERE 回数 = 2";
        ASSERT_EQ(sqlite3_exec(other, lock.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        s.main.findChild<QAction*>("mnuEnd")->trigger(); // the sink answers 戻る
        QApplication::processEvents();
        ASSERT_FALSE(s.sink.messages.isEmpty());
        EXPECT_EQ(s.sink.messages.back().kind, "choose");
        EXPECT_TRUE(s.sink.messages.back().text.contains("第1回の第1数字"))
            << s.sink.messages.back().text.toStdString();
        EXPECT_TRUE(s.main.isVisible());
        EXPECT_EQ(w->model()->cellText(0, 1), "7");
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        s.main.findChild<QAction*>("mnuEnd")->trigger(); // saved now
        QApplication::processEvents();
        EXPECT_FALSE(s.main.isVisible());
        EXPECT_EQ(storedDigit(s.ws.folder, 0, 0), 7);
    }
    { // the window's frame
        EntryInShell s;
        auto* w = qobject_cast<DataEntryWindow*>(s.sub->widget());
        w->model()->setFailWrites(true);
        ASSERT_NE(typeIntoCell(w, 1, 3, "0"), nullptr);
        s.sub->close();
        QApplication::processEvents();
        EXPECT_NE(s.main.openWindow("当選データ入力"), nullptr);
        ASSERT_FALSE(s.sink.messages.isEmpty());
        EXPECT_TRUE(s.sink.messages.back().text.contains("第2回の第3数字"));
        w->model()->setFailWrites(false);
        s.sub->close();
        QApplication::processEvents();
        EXPECT_EQ(storedDigit(s.ws.folder, 1, 2), 0);
    }
    { // the 閉じる button, the editor still open
        Entry e;
        QSignalSpy closed(e.window.get(), &DataEntryWindow::closeAccepted);
        e.model()->setFailWrites(true);
        ASSERT_NE(typeIntoCell(e.window.get(), 2, 4, "5"), nullptr);
        e.window->closeButton()->click();
        EXPECT_EQ(closed.count(), 0);
        ASSERT_FALSE(e.sink.messages.isEmpty());
        EXPECT_TRUE(e.sink.messages.back().text.contains("第3回の第4数字"));
        e.model()->setFailWrites(false);
        e.window->closeButton()->click();
        EXPECT_EQ(closed.count(), 1);
        EXPECT_EQ(e.stored()[2].digits[3], 5);
    }
}
