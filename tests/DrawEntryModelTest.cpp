// The data-entry window's table model on its own: what each cell shows, what
// an edit, a new row, a deletion, a paste and an import write, and how undo
// and redo put the rows back, for a few draws (row by row) and for many
// (the whole table at once).
#include <gtest/gtest.h>

#include <QColor>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>

#include "TestSupport.h"
#include "UiSupport.h"
#include "ui/data/DrawEntryModel.h"

using namespace n4;

namespace {

struct Model {
    DbConnectionString conn = DbConnectionString::forProgramFolder(n4test::tempFolder());
    std::unique_ptr<DrawEntryModel> model;
    std::unique_ptr<n4test::ModelRulesWatch> rules;

    explicit Model(const DrawTable& rows) {
        StoreResult r;
        auto store = DrawStore::open(conn, r);
        EXPECT_TRUE(store) << r.message;
        EXPECT_TRUE(store->upsert(rows));
        model = std::make_unique<DrawEntryModel>(std::move(store));
        EXPECT_TRUE(model->reload());
        rules = std::make_unique<n4test::ModelRulesWatch>(model.get());
    }
    // What the file holds now, read by a store of its own.
    DrawTable stored() const {
        StoreResult r;
        auto store = DrawStore::open(conn, r);
        DrawTable t;
        if (store) store->readAll(t);
        return t;
    }
    // The rows as the table shows them: "no:digits" joined by spaces.
    std::string shown() const {
        std::string s;
        for (int row = 0; row < model->rowCount(); ++row) {
            s += (s.empty() ? "" : " ") + model->cellText(row, 0).toStdString() + ":";
            for (int col = 1; col <= 4; ++col) {
                const QString t = model->cellText(row, col);
                s += t.isEmpty() ? "_" : t.toStdString();
            }
        }
        return s;
    }
};

std::string text(const DrawTable& t) {
    std::string s;
    for (const DrawRecord& d : t) {
        s += (s.empty() ? "" : " ") + std::to_string(d.drawNo) + ":";
        for (int v : d.digits)
            s += v == kAbsentDigit ? "_" : std::to_string(v);
    }
    return s;
}

DrawTable numbered(std::initializer_list<int> numbers) {
    DrawTable t;
    for (int no : numbers)
        t.push_back(DrawRecord{no, {no % 10, 0, 0, 0}});
    return t;
}

} // namespace

TEST(DrawEntryModel, AReloadShowsWhatTheFileHoldsNowInEveryView) {
    Model m(draws({{1, 2, 3, 4}}));
    QTableView view;
    view.setModel(m.model.get());
    ASSERT_EQ(view.verticalHeader()->count(), 1);
    {
        // Another writer adds a draw.
        StoreResult r;
        auto other = DrawStore::open(m.conn, r);
        ASSERT_TRUE(other) << r.message;
        ASSERT_TRUE(other->upsert(DrawTable{DrawRecord{2, {5, 6, 7, 8}}}));
    }
    QSignalSpy reset(m.model.get(), &QAbstractItemModel::modelReset);
    // Views are told before the rows change, while they still read the old ones.
    QList<int> rowsWhenWarned;
    QObject::connect(m.model.get(), &QAbstractItemModel::modelAboutToBeReset,
                     [&] { rowsWhenWarned << m.model->rowCount(); });
    EXPECT_TRUE(m.model->reload());
    EXPECT_EQ(reset.size(), 1);
    EXPECT_EQ(rowsWhenWarned, QList<int>{1});
    EXPECT_EQ(m.shown(), "1:1234 2:5678");
    EXPECT_EQ(view.verticalHeader()->count(), 2);
}

TEST(DrawEntryModel, EachCellShowsItsTextColoursAndWhetherItMayBeEdited) {
    Model m(draws({{1, 2, 3, 4}}));
    DrawEntryModel& model = *m.model;
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 0); // a table, not a tree
    EXPECT_EQ(model.columnCount(model.index(0, 0)), 0);
    const QModelIndex no = model.index(0, 0), digit = model.index(0, 4);
    EXPECT_EQ(model.data(no, Qt::DisplayRole).toString(), "1");
    EXPECT_EQ(model.data(digit, Qt::DisplayRole).toString(), "4");
    EXPECT_EQ(model.data(digit, Qt::EditRole).toString(), "4");
    EXPECT_EQ(model.data(no, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_EQ(model.data(digit, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_EQ(model.data(no, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_FALSE(model.data(digit, Qt::ForegroundRole).isValid());
    EXPECT_EQ(model.data(no, Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 200));
    EXPECT_FALSE(model.data(digit, Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model.data(digit, Qt::ToolTipRole).isValid());
    EXPECT_FALSE(model.data(digit, Qt::FontRole).isValid());
    EXPECT_FALSE(model.data(QModelIndex(), Qt::DisplayRole).isValid());
    EXPECT_FALSE(model.flags(no) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(no) & Qt::ItemIsSelectable);
    EXPECT_TRUE(model.flags(digit) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(digit) & Qt::ItemIsEnabled);
    EXPECT_EQ(model.flags(QModelIndex()), Qt::NoItemFlags);
    const char* headers[] = {"回数", "第1数字", "第2数字", "第3数字", "第4数字"};
    for (int s = 0; s < 5; ++s)
        EXPECT_EQ(model.headerData(s, Qt::Horizontal, Qt::DisplayRole).toString(),
                  QString::fromUtf8(headers[s]));
    EXPECT_FALSE(model.headerData(5, Qt::Horizontal, Qt::DisplayRole).isValid());
    EXPECT_FALSE(model.headerData(-1, Qt::Horizontal, Qt::DisplayRole).isValid());
    EXPECT_FALSE(model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
    EXPECT_EQ(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toInt(), 1);
    EXPECT_EQ(model.headerData(6, Qt::Vertical, Qt::DisplayRole).toInt(), 7);
}

TEST(DrawEntryModel, AnEditIsTrimmedCheckedAndWrittenAtOnce) {
    Model m(draws({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    DrawEntryModel& model = *m.model;
    QSignalSpy problems(&model, &DrawEntryModel::problem);
    QSignalSpy steps(&model, &DrawEntryModel::stepsChanged);
    EXPECT_TRUE(model.setData(model.index(1, 2), " 0 ", Qt::EditRole));
    EXPECT_TRUE(model.setData(model.index(0, 4), "", Qt::EditRole));
    EXPECT_EQ(text(m.stored()), "1:123_ 2:5078");
    EXPECT_EQ(steps.count(), 2);
    EXPECT_EQ(model.undoLabel(), "第1回の第4数字の入力");
    // Refused: ten, a letter, two digits, the draw-number column, another role.
    for (const char* bad : {"10", "a", "1 2", "-1"}) {
        EXPECT_FALSE(model.setData(model.index(1, 1), bad, Qt::EditRole)) << bad;
        EXPECT_EQ(model.lastError(), DrawEntryModel::digitHint()) << bad;
    }
    EXPECT_EQ(problems.count(), 4);
    EXPECT_FALSE(model.setData(model.index(1, 0), "3", Qt::EditRole));
    EXPECT_FALSE(model.setData(model.index(1, 1), "3", Qt::DisplayRole));
    EXPECT_FALSE(model.setData(QModelIndex(), "3", Qt::EditRole));
    // The same digit again is no step.
    EXPECT_TRUE(model.setData(model.index(1, 1), "5", Qt::EditRole));
    EXPECT_EQ(steps.count(), 2);
    EXPECT_EQ(text(m.stored()), "1:123_ 2:5078");
    EXPECT_EQ(m.shown(), "1:123_ 2:5078");
    EXPECT_TRUE(DrawEntryModel::isDigitText(""));
    EXPECT_TRUE(DrawEntryModel::isDigitText("9"));
    EXPECT_FALSE(DrawEntryModel::isDigitText("９9"));
}

TEST(DrawEntryModel, AnEditThatCannotBeSavedStaysMarkedUntilSavedOrDiscarded) {
    Model m(draws({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    DrawEntryModel& model = *m.model;
    model.setFailWrites(true);
    EXPECT_FALSE(model.setData(model.index(1, 3), "0", Qt::EditRole));
    EXPECT_FALSE(model.setData(model.index(0, 1), "9", Qt::EditRole));
    EXPECT_TRUE(model.lastError().startsWith("保存できませんでした。入力は残してあります。"));
    EXPECT_EQ(m.shown(), "1:9234 2:5608");
    EXPECT_EQ(text(m.stored()), "1:1234 2:5678");
    const QModelIndex pending = model.index(1, 3), saved = model.index(1, 2);
    EXPECT_EQ(model.data(pending, Qt::BackgroundRole).value<QColor>(), QColor(255, 210, 210));
    EXPECT_EQ(model.data(model.index(0, 1), Qt::BackgroundRole).value<QColor>(),
              QColor(255, 210, 210)); // the first digit's column too
    EXPECT_EQ(model.data(pending, Qt::ToolTipRole).toString(), "まだ保存されていません");
    EXPECT_FALSE(model.data(saved, Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model.data(saved, Qt::ToolTipRole).isValid());
    EXPECT_EQ(model.pendingCells(), "第1回の第1数字、第2回の第3数字");
    EXPECT_TRUE(model.hasPending());
    EXPECT_TRUE(model.canUndo());
    EXPECT_FALSE(model.canRedo());
    EXPECT_EQ(model.undoLabel(), "");
    // Every other step waits for them, and says why.
    EXPECT_EQ(model.addRowAfter(-1), -1);
    EXPECT_TRUE(model.lastError().contains("第1回の第1数字、第2回の第3数字"));
    EXPECT_FALSE(model.removeRowsAt({0}));
    EXPECT_FALSE(model.pasteDigits(0, 1, "1"));
    EXPECT_FALSE(model.retryPending());
    EXPECT_EQ(model.rowCount(), 2);
    // Once writes work again, the next step saves them first, then itself.
    model.setFailWrites(false);
    QSignalSpy repainted(&model, &QAbstractItemModel::dataChanged);
    EXPECT_EQ(model.addRowAfter(-1), 2);
    // Saving them repaints the digits of every row, where the marks were.
    ASSERT_FALSE(repainted.isEmpty());
    EXPECT_EQ(repainted[0][0].toModelIndex(), model.index(0, 1));
    EXPECT_EQ(repainted[0][1].toModelIndex(), model.index(1, 4));
    EXPECT_FALSE(model.hasPending());
    EXPECT_FALSE(model.data(pending, Qt::BackgroundRole).isValid());
    EXPECT_EQ(text(m.stored()), "1:9234 2:5608 3:____");
    // Discarding puts the stored digits back.
    model.setFailWrites(true);
    EXPECT_FALSE(model.setData(model.index(2, 2), "7", Qt::EditRole));
    EXPECT_TRUE(model.undo()); // an unsaved edit is undone by discarding it
    EXPECT_FALSE(model.hasPending());
    EXPECT_EQ(m.shown(), "1:9234 2:5608 3:____");
    model.setFailWrites(false);
    EXPECT_TRUE(model.retryPending()); // nothing pending: nothing to do
}

TEST(DrawEntryModel, NewRowsTakeTheNextFreeNumberUpToTheLast) {
    Model empty({});
    EXPECT_EQ(empty.model->nextDrawNo(-1), 1);
    EXPECT_EQ(empty.model->nextDrawNo(0), 1);
    EXPECT_EQ(empty.model->addRowAfter(-1), 0);
    EXPECT_EQ(empty.model->undoLabel(), "第1回の行追加");

    Model m(numbered({1, 2, 5, 6, 9}));
    DrawEntryModel& model = *m.model;
    EXPECT_EQ(model.nextDrawNo(-1), 10); // none chosen: after the last
    EXPECT_EQ(model.nextDrawNo(5), 10);  // past the last row: the same
    EXPECT_EQ(model.nextDrawNo(0), 3);   // after draw 1: 2 is taken, 3 is free
    EXPECT_EQ(model.nextDrawNo(2), 7);   // after draw 5: 6 is taken
    EXPECT_EQ(model.nextDrawNo(4), 10);
    EXPECT_EQ(model.addRowAfter(0), 2); // draw 3 goes in its place
    EXPECT_EQ(model.drawNo(2), 3);
    EXPECT_EQ(model.rowOf(3), 2);
    EXPECT_EQ(model.rowOf(4), -1);
    EXPECT_EQ(model.rowOf(100), -1);
    EXPECT_EQ(m.shown(), "1:1000 2:2000 3:____ 5:5000 6:6000 9:9000");

    Model full(numbered({99998, 99999}));
    EXPECT_EQ(full.model->nextDrawNo(0), -1);
    EXPECT_EQ(full.model->addRowAfter(0), -1);
    EXPECT_EQ(full.model->lastError(), "回数は 99999 までです。これ以上行を追加できません。");
    EXPECT_EQ(text(full.stored()), "99998:8000 99999:9000");
    Model nearlyFull(numbered({99997, 99999}));
    EXPECT_EQ(nearlyFull.model->nextDrawNo(0), 99998);
}

TEST(DrawEntryModel, DeletingNamesTheDrawsAndIgnoresRowsThatAreNotThere) {
    Model m(numbered({1, 2, 3, 4, 5}));
    DrawEntryModel& model = *m.model;
    EXPECT_FALSE(model.removeRowsAt({}));
    EXPECT_FALSE(model.removeRowsAt({-1, 5, 9}));
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_TRUE(model.removeRowsAt({3, 1, 3, 7, -2}));
    EXPECT_EQ(model.undoLabel(), "第2回～第4回の行削除");
    EXPECT_EQ(m.shown(), "1:1000 3:3000 5:5000");
    EXPECT_EQ(text(m.stored()), "1:1000 3:3000 5:5000");
    EXPECT_TRUE(model.removeRowsAt({2}));
    EXPECT_EQ(model.undoLabel(), "第5回の行削除");
    EXPECT_TRUE(model.undo());
    EXPECT_TRUE(model.undo());
    EXPECT_EQ(m.shown(), "1:1000 2:2000 3:3000 4:4000 5:5000");
    EXPECT_EQ(text(m.stored()), "1:1000 2:2000 3:3000 4:4000 5:5000");
    EXPECT_EQ(model.redoLabel(), "第2回～第4回の行削除");
    EXPECT_TRUE(model.redo());
    EXPECT_EQ(model.redoLabel(), "第5回の行削除");
    EXPECT_EQ(m.shown(), "1:1000 3:3000 5:5000");
}

TEST(DrawEntryModel, APasteFillsColumnsFromTheChosenCellAndAddsDrawsAtTheEnd) {
    Model m(draws({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    DrawEntryModel& model = *m.model;
    // From the third digit of the second row: two fields, one row past the end.
    EXPECT_TRUE(model.pasteDigits(1, 3, "0\t1\r\n2,\n\n \n"));
    EXPECT_EQ(model.undoLabel(), "2 回分の貼り付け");
    EXPECT_EQ(m.shown(), "1:1234 2:5601 3:__2_");
    EXPECT_EQ(text(m.stored()), "1:1234 2:5601 3:__2_");
    // The draw-number column is no place to paste to: the first digit is.
    EXPECT_TRUE(model.pasteDigits(-3, 0, "9"));
    EXPECT_EQ(m.shown(), "1:9234 2:5601 3:__2_");
    // Too many fields for the columns left, a bad value, nothing at all.
    EXPECT_FALSE(model.pasteDigits(0, 4, "1\t2"));
    EXPECT_EQ(model.lastError(), "貼り付ける列が多すぎます。");
    EXPECT_FALSE(model.pasteDigits(0, 9, "1\t2")); // past the last column: the last column
    EXPECT_TRUE(model.pasteDigits(0, 9, "7"));
    EXPECT_EQ(m.shown(), "1:9237 2:5601 3:__2_");
    EXPECT_FALSE(model.pasteDigits(0, 1, "1\n12"));
    EXPECT_EQ(model.lastError(), "2行目: " + DrawEntryModel::digitHint());
    EXPECT_FALSE(model.pasteDigits(0, 1, "\n \r\n"));
    EXPECT_EQ(text(m.stored()), "1:9237 2:5601 3:__2_");
    // Undone as one step.
    EXPECT_TRUE(model.undo());
    EXPECT_TRUE(model.undo());
    EXPECT_TRUE(model.undo());
    EXPECT_EQ(m.shown(), "1:1234 2:5678");
    EXPECT_EQ(text(m.stored()), "1:1234 2:5678");
    // No draw beyond 99999 is made by a paste.
    Model last(numbered({99999}));
    EXPECT_FALSE(last.model->pasteDigits(0, 1, "1\n2"));
    EXPECT_EQ(last.model->lastError(), "回数は 99999 までです。貼り付けられません。");
    EXPECT_EQ(text(last.stored()), "99999:9000");
}

TEST(DrawEntryModel, ManyDrawsAtOnceAreShownWholeAndUndoneWhole) {
    // 70 draws, 1..70 without 35: a step of more than 64 draws redraws the
    // table in one go instead of row by row.
    DrawTable start;
    for (int no = 1; no <= 70; ++no)
        if (no != 35) start.push_back(DrawRecord{no, {no % 10, 1, 1, 1}});
    Model m(start);
    DrawEntryModel& model = *m.model;
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    // An import that changes draws 1..69 and adds 35 and 71..72.
    std::vector<DrawRecord> incoming;
    for (int no = 1; no <= 72; ++no)
        if (no != 70) incoming.push_back(DrawRecord{no, {no % 10, 2, 2, 2}});
    const ImportPlan plan = model.planImport(incoming);
    EXPECT_EQ(plan.added.size(), 3u);
    EXPECT_EQ(plan.changed.size(), 68u);
    ASSERT_TRUE(model.applyImport(plan));
    EXPECT_EQ(model.undoLabel(), "71 回分の取り込み");
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(text(m.stored()), [&] {
        DrawTable t;
        for (const DrawRecord& d : incoming)
            t.push_back(d);
        t.insert(t.begin() + 69, DrawRecord{70, {0, 1, 1, 1}});
        return text(t);
    }());
    EXPECT_EQ(m.shown(), text(m.stored()));
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(resets.count(), 2);
    EXPECT_EQ(m.shown(), text(start));
    EXPECT_EQ(text(m.stored()), text(start));
    // Deleting them all and undoing it.
    QList<int> all;
    for (int row = 0; row < model.rowCount(); ++row)
        all << row;
    ASSERT_TRUE(model.removeRowsAt(all));
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(m.shown(), "");
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(m.shown(), text(start));
    ASSERT_TRUE(model.redo());
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(text(m.stored()), "");
    // An import that changes nothing is no step.
    ASSERT_TRUE(model.undo());
    EXPECT_TRUE(
        model.applyImport(model.planImport(std::vector<DrawRecord>(start.begin(), start.end()))));
    EXPECT_EQ(model.undoLabel(), "");
    EXPECT_EQ(model.redoLabel(), "第1回～第70回の行削除");
    EXPECT_EQ(inserts.count(), 0);
}

TEST(DrawEntryModel, UpToSixtyFourDrawsAStepIsShownRowByRow) {
    // Row by row the view keeps its place; above that the table is redrawn.
    for (int count : {64, 65}) {
        Model m(draws({{1, 2, 3, 4}}));
        QSignalSpy resets(m.model.get(), &QAbstractItemModel::modelReset);
        QSignalSpy inserts(m.model.get(), &QAbstractItemModel::rowsInserted);
        QList<int> rowsWhenWarned; // a reset is announced while the old rows are there
        QObject::connect(m.model.get(), &QAbstractItemModel::modelAboutToBeReset,
                         [&] { rowsWhenWarned << m.model->rowCount(); });
        QString pasted;
        for (int i = 0; i < count; ++i)
            pasted += QStringLiteral("%1\t1\t2\t3\n").arg(i % 10);
        // From the first row: it is changed, the rest are new draws.
        ASSERT_TRUE(m.model->pasteDigits(0, 1, pasted));
        EXPECT_EQ(m.model->rowCount(), count) << count;
        EXPECT_EQ(resets.count(), count > 64 ? 1 : 0) << count;
        EXPECT_EQ(rowsWhenWarned, count > 64 ? QList<int>{1} : QList<int>{}) << count;
        EXPECT_EQ(inserts.count(), count > 64 ? 0 : count - 1) << count;
        EXPECT_EQ(m.shown(), text(m.stored())) << count;
    }
}

TEST(DrawEntryModel, TwoUnsavedEditsInOneRowGoBackToWhatTheFileHolds) {
    Model m(draws({{1, 2, 3, 4}}));
    DrawEntryModel& model = *m.model;
    model.setFailWrites(true);
    EXPECT_FALSE(model.setData(model.index(0, 1), "9", Qt::EditRole));
    EXPECT_FALSE(model.setData(model.index(0, 2), "8", Qt::EditRole));
    EXPECT_EQ(m.shown(), "1:9834");
    model.discardPending();
    EXPECT_EQ(m.shown(), "1:1234");
    EXPECT_FALSE(model.hasPending());
    // The same digit typed again into a cell that could not be saved is
    // written again, and saves the row once writes work.
    EXPECT_FALSE(model.setData(model.index(0, 4), "0", Qt::EditRole));
    model.setFailWrites(false);
    EXPECT_TRUE(model.setData(model.index(0, 4), "0", Qt::EditRole));
    EXPECT_FALSE(model.hasPending());
    EXPECT_EQ(text(m.stored()), "1:1230");
    // A later edit of the row starts from what the file holds now.
    EXPECT_TRUE(model.setData(model.index(0, 3), "7", Qt::EditRole));
    EXPECT_EQ(text(m.stored()), "1:1270");
    EXPECT_TRUE(model.undo());
    EXPECT_EQ(text(m.stored()), "1:1230");
    // Undone, the stored digits come back: the step remembers the file's row.
    EXPECT_TRUE(model.undo());
    EXPECT_EQ(text(m.stored()), "1:1234");
    EXPECT_EQ(m.shown(), "1:1234");
}
