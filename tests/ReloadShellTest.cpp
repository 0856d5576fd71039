// Every window current after a change, without a restart; files dropped on
// the main window; and no edit lost when the program quits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include <sqlite3.h>

#include "ResultsServer.h"
#include "UiSupport.h"
#include "core/tickets/TicketStore.h"
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "core/prediction/PredictionEngine.h"
#include "core/store/DataLocation.h"
#include "core/store/DatabaseKey.h"
#include "core/store/DrawStore.h"
#include "ui/data/DrawEntryModel.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"
#include "ui/prediction/PredictionWindow.h"
#include "ui/shell/AnalysisWindowTable.h"
#include "ui/shell/ProgramStart.h"

using namespace n4;
using n4test::RecordingSink;
using n4test::Workspace;

namespace {

DrawTable history(int count) {
    DrawTable t;
    for (int no = 1; no <= count; ++no)
        t.push_back(DrawRecord{no, {no * 7 % 10, no * 3 % 10, no * 11 % 10, no * 13 % 10}});
    return t;
}

std::string gridText(const Grid& g) {
    std::string out;
    for (int row = 1; row <= g.maxRows(); ++row)
        out += n4test::rowTexts(g, row) + "\n";
    return out;
}

// What a window shows, computed afresh from a table.
std::string computed(const char* window, const DrawTable& t) {
    return gridText(n4test::analyse(computeFor(*findAnalysisWindow(window)), t));
}

struct Program {
    Workspace ws;
    RecordingSink sink;
    std::unique_ptr<MainFrm> main;
    explicit Program(const DrawTable& t) : ws(t), main(startShell(ws.config, &sink)) {}
    template <class W> W* widget(const QString& name) {
        QMdiSubWindow* sub = main->openWindow(name);
        return sub ? qobject_cast<W*>(sub->widget()) : nullptr;
    }
    GridView* grid(const QString& name) { return widget<AnalysisFrame>(name)->gridView(); }
    DataEntryWindow* openEntry() {
        // An analysis that sets propEnd lets the data-entry command through.
        main->openAnalysis("偶数奇数の組合せパターン分析");
        main->openDataEntry();
        return widget<DataEntryWindow>("当選データ入力");
    }
    void settle() {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// Types one digit into a cell the way a user does: the digit, then Enter.
void type(QTableView* table, int row, int col, const QString& digit) {
    QApplication::setActiveWindow(table->window());
    table->setCurrentIndex(table->model()->index(row, col));
    table->setFocus();
    QTest::keyClicks(table, digit);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_TRUE(qobject_cast<QLineEdit*>(editor));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the view commits the editor from its queue
}

} // namespace

TEST(Reload, ADrawTypedInDataEntryShowsInEveryOpenWindowWithoutARestart) {
    const DrawTable start = history(60);
    Program p(start);
    ASSERT_NE(p.main, nullptr);
    p.main->openAnalysis("出現頻度分析");
    auto* prediction = p.widget<PredictionWindow>("一発マーヴォ");
    ASSERT_NE(prediction, nullptr);
    EXPECT_EQ(prediction->targetLabel()->text(), "第61回の予想");

    DataEntryWindow* entry = p.openEntry();
    ASSERT_NE(entry, nullptr);
    entry->addLine();
    const int row = entry->model()->rowCount() - 1;
    for (int col = 1; col <= 4; ++col)
        type(entry->table(), row, col, "9");
    // Nothing changes while the window is open...
    EXPECT_EQ(gridText(p.grid("出現頻度分析")->grid()), computed("出現頻度分析", start));
    entry->closeButton()->click();
    p.settle();
    EXPECT_EQ(p.main->openWindow("当選データ入力"), nullptr);

    // ...and everything does, once, when it closes.
    DrawTable now = start;
    now.push_back(DrawRecord{61, {9, 9, 9, 9}});
    EXPECT_EQ(gridText(p.grid("出現頻度分析")->grid()), computed("出現頻度分析", now));
    EXPECT_NE(computed("出現頻度分析", now), computed("出現頻度分析", start));
    EXPECT_EQ(prediction->targetLabel()->text(), "第62回の予想");
    PredictionEngine fresh;
    fresh.ScanDraws(now, 61, p.main->analysisOptions().reflectedCount());
    EXPECT_EQ(gridText(prediction->gridView(0)->grid()), gridText(fresh.grids()[0]));
    EXPECT_EQ(gridText(prediction->gridView(1)->grid()), gridText(fresh.grids()[1]));
    EXPECT_EQ(p.main->drawTable().size(), 61u);
    EXPECT_EQ(p.main->statusLabel()->text(), "当選データ 61 件を読み込みました。最新回: 第61回");
    EXPECT_EQ(p.main->computeCount("出現頻度分析"), 2);
    EXPECT_EQ(p.main->computeCount("一発マーヴォ"), 2); // each once more, not twice
}

// The database key is derived once a run and kept in memory only: nothing
// is written to the user's cache folder, a leftover of an earlier version is
// removed, and reopening the database after a change derives nothing.
TEST(Reload, TheKeyIsDerivedOnceARunAndNeverWritten) {
    const std::string cache = n4test::tempFolder() + "/cache";
    std::filesystem::create_directories(cache + "/Numbers4Marvo");
    n4test::writeFile(cache + "/Numbers4Marvo/database-keys", "left by an earlier version");
    const char* before = std::getenv("XDG_CACHE_HOME");
    const std::string saved = before ? before : "";
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    EXPECT_TRUE(removeLeftoverKeyFile());
    EXPECT_FALSE(removeLeftoverKeyFile()); // once
    EXPECT_FALSE(std::filesystem::exists(cache + "/Numbers4Marvo"));

    const int beforeStart = databaseKeyDerivations();
    Program p(history(30));
    ASSERT_NE(p.main, nullptr);
    const int afterStart = databaseKeyDerivations();
    EXPECT_EQ(afterStart - beforeStart, 1); // the file's key, once

    DataEntryWindow* entry = p.openEntry();
    ASSERT_NE(entry, nullptr);
    type(entry->table(), 0, 1, "5");
    entry->closeButton()->click();
    p.settle();
    EXPECT_EQ(p.main->drawTable()[0].digits[0], 5); // reloaded after the change
    EXPECT_TRUE(p.main->reloadDrawTable());
    EXPECT_EQ(databaseKeyDerivations(), afterStart);
    EXPECT_TRUE(std::filesystem::is_empty(cache));
    if (before)
        setenv("XDG_CACHE_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CACHE_HOME");
}

namespace {

// Another program's connection to the same file (the command-line tool, say).
struct OtherProgram {
    std::unique_ptr<DrawStore> store;
    explicit OtherProgram(const std::string& folder) {
        StoreResult r;
        store = DrawStore::open(DbConnectionString::forProgramFolder(folder), r);
    }
    void put(int drawNo, std::array<int, 4> digits) {
        ASSERT_TRUE(store->upsert({DrawRecord{drawNo, digits}}));
    }
};

std::array<int, 4> storedDigits(const std::string& folder, int drawNo) {
    for (const DrawRecord& r : n4test::storedDraws(folder))
        if (r.drawNo == drawNo) return r.digits;
    return {-1, -1, -1, -1};
}

} // namespace

// The program and another on one file: the program notices the other's
// changes and reloads; a write of the data-entry window lands only on cells
// that still hold what it showed, and otherwise is refused naming the draw.
TEST(TwoPrograms, ChangesElsewhereAreReadAndNeverWrittenOver) {
    Program p(history(60));
    ASSERT_NE(p.main, nullptr);
    p.main->openAnalysis("出現頻度分析");
    OtherProgram other(p.ws.folder);
    EXPECT_FALSE(p.main->followExternalChanges()); // nothing yet
    other.put(61, {8, 0, 4, 2});
    other.put(10, {1, 1, 1, 1});
    EXPECT_TRUE(p.main->followExternalChanges());
    ASSERT_EQ(p.main->drawTable().size(), 61u);
    EXPECT_EQ(p.main->drawTable()[9].digits, (std::array<int, 4>{1, 1, 1, 1}));
    EXPECT_TRUE(p.main->statusLabel()->text().startsWith("別のプログラム"))
        << p.main->statusLabel()->text().toStdString();
    EXPECT_EQ(gridText(p.grid("出現頻度分析")->grid()),
              computed("出現頻度分析", p.main->drawTable()));
    EXPECT_FALSE(p.main->followExternalChanges()); // once

    DataEntryWindow* entry = p.openEntry();
    ASSERT_NE(entry, nullptr);
    DrawEntryModel* model = entry->model();
    const int row61 = model->rowOf(61);
    // Another program corrects draw 61 while the window shows 8042.
    other.put(61, {7, 9, 3, 1});
    type(entry->table(), row61, 1, "7");
    EXPECT_EQ(storedDigits(p.ws.folder, 61), (std::array<int, 4>{7, 9, 3, 1}));
    EXPECT_TRUE(model->lastError().contains("第61回")) << model->lastError().toStdString();
    EXPECT_EQ(model->cellText(row61, 2), "9"); // the window shows the file again

    // Only the cells typed are written: another program's digit beside them stays.
    other.put(20, {storedDigits(p.ws.folder, 20)[0], storedDigits(p.ws.folder, 20)[1],
                   storedDigits(p.ws.folder, 20)[2], 5});
    const std::array<int, 4> before20 = storedDigits(p.ws.folder, 20);
    type(entry->table(), model->rowOf(20), 1, before20[0] == 3 ? "4" : "3");
    EXPECT_EQ(storedDigits(p.ws.folder, 20)[0], before20[0] == 3 ? 4 : 3);
    EXPECT_EQ(storedDigits(p.ws.folder, 20)[3], 5);

    // An undo after another program changed that cell is refused too.
    type(entry->table(), model->rowOf(30), 2, "6");
    ASSERT_EQ(storedDigits(p.ws.folder, 30)[1], 6);
    other.put(30, {0, 0, 0, 0});
    EXPECT_FALSE(model->undo());
    EXPECT_EQ(storedDigits(p.ws.folder, 30), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_TRUE(model->lastError().contains("第30回"));

    // A new row whose number another program took meanwhile is not made empty.
    other.put(62, {1, 2, 3, 4});
    EXPECT_EQ(model->addRowAfter(model->rowCount() - 1), -1);
    EXPECT_EQ(storedDigits(p.ws.folder, 62), (std::array<int, 4>{1, 2, 3, 4}));

    // The analyses follow once the window closes.
    entry->closeButton()->click();
    p.settle();
    ASSERT_EQ(p.main->drawTable().size(), 62u);
    EXPECT_EQ(p.main->drawTable()[60].digits, (std::array<int, 4>{7, 9, 3, 1}));
}

namespace {

// Another program's plain keyed connection: it writes the file without any
// of this program's stores knowing.
void writeElsewhere(const std::string& folder, const std::string& sql) {
    const DbConnectionString c = DbConnectionString::forProgramFolder(folder);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(c.dataSource.c_str(), &db), SQLITE_OK);
    const std::string all = "PRAGMA key = '" + c.password + "'; " + sql;
    EXPECT_EQ(sqlite3_exec(db, all.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// A database of the given draws made in a folder of its own, then moved over
// the program's file as another program saving a whole new file would.
void replaceElsewhere(const std::string& folder, const DrawTable& rows, bool damaged) {
    const std::string other = n4test::tempFolder();
    const DbConnectionString c = DbConnectionString::forProgramFolder(other);
    ASSERT_TRUE(DrawStore::create(c, rows));
    if (damaged) {
        std::string bytes = n4test::readFile(c.dataSource);
        ASSERT_GT(bytes.size(), 60000u);
        std::fill(bytes.begin() + 20480, bytes.begin() + 40960, '\0');
        n4test::writeFile(c.dataSource, bytes);
    }
    std::filesystem::rename(c.dataSource, DbConnectionString::forProgramFolder(folder).dataSource);
}

} // namespace

// A refresh reads the draws and checks the file (the quick check of opening)
// only when another program changed it meanwhile: not after the program's own
// changes. A file another program put in its place is opened anew, so a
// damaged one is refused and the windows stay as they were.
TEST(Reload, TheFileIsCheckedAgainOnlyAfterAnotherProgramChangedIt) {
    Program p(history(40));
    p.main->openAnalysis("出現頻度分析");
    DataEntryWindow* entry = p.openEntry();
    ASSERT_NE(entry, nullptr);
    const int checks = DrawStore::quickChecksRun(); // the window's own open checked it
    type(entry->table(), 0, 1, "5");
    entry->closeButton()->click();
    p.settle();
    EXPECT_EQ(p.main->drawTable()[0].digits[0], 5);
    EXPECT_TRUE(p.main->reloadDrawTable());
    EXPECT_EQ(DrawStore::quickChecksRun(), checks);

    writeElsewhere(p.ws.folder, "UPDATE 当選番号 SET 第2数字 = 7 WHERE 回数 = 3");
    EXPECT_TRUE(p.main->followExternalChanges());
    EXPECT_EQ(p.main->drawTable()[2].digits[1], 7);
    EXPECT_EQ(DrawStore::quickChecksRun(), checks + 1);
    EXPECT_TRUE(p.main->reloadDrawTable());
    EXPECT_EQ(DrawStore::quickChecksRun(), checks + 1); // once for that change

    // A whole new file is noticed as a change of its own and read.
    replaceElsewhere(p.ws.folder, history(45), false);
    EXPECT_TRUE(p.main->followExternalChanges());
    EXPECT_EQ(p.main->drawTable().size(), 45u);
    EXPECT_EQ(DrawStore::quickChecksRun(), checks + 2);
    const std::string shown = gridText(p.grid("出現頻度分析")->grid());
    EXPECT_EQ(shown, computed("出現頻度分析", history(45)));

    DrawTable many;
    for (int no = 1; no <= 5000; ++no)
        many.push_back(DrawRecord{no, {no % 10, 1, 2, 3}});
    replaceElsewhere(p.ws.folder, many, true);
    EXPECT_FALSE(p.main->reloadDrawTable());
    ASSERT_FALSE(p.sink.messages.isEmpty());
    EXPECT_TRUE(p.sink.messages.back().text.contains("壊れています"))
        << p.sink.messages.back().text.toStdString();
    EXPECT_EQ(p.main->drawTable().size(), 45u);
    EXPECT_EQ(gridText(p.grid("出現頻度分析")->grid()), shown);
}

TEST(Reload, ClosingDataEntryWithoutAChangeRecomputesNothing) {
    Program p(history(20));
    p.main->openAnalysis("出現頻度分析");
    DataEntryWindow* entry = p.openEntry();
    entry->closeButton()->click();
    p.settle();
    EXPECT_EQ(p.main->computeCount("出現頻度分析"), 1);
    EXPECT_EQ(p.main->computeCount("一発マーヴォ"), 1);
}

TEST(Reload, ADatabaseThatCanNoLongerBeReadLeavesEveryWindowAsItWasAndSaysSo) {
    Program p(history(30));
    p.main->openAnalysis("出現頻度分析");
    const std::string shown = gridText(p.grid("出現頻度分析")->grid());
    const QString status = p.main->statusLabel()->text();
    // Another program has put something else under the database's name.
    const std::string path = DbConnectionString::forProgramFolder(p.ws.folder).dataSource;
    n4test::writeFile(path, std::string(8192, 'x'));
    EXPECT_FALSE(p.main->reloadDrawTable());
    ASSERT_EQ(p.sink.messages.size(), 1);
    EXPECT_EQ(p.sink.messages[0].kind, "critical");
    EXPECT_TRUE(p.sink.messages[0].text.startsWith(
        "当選データを読み直せません。表示は前のままです。\nデータベース「" +
        QString::fromStdString(path) + "」"))
        << p.sink.messages[0].text.toStdString();
    EXPECT_EQ(gridText(p.grid("出現頻度分析")->grid()), shown);
    EXPECT_EQ(p.main->drawTable().size(), 30u);
    EXPECT_EQ(p.main->statusLabel()->text(), status);
    EXPECT_EQ(p.main->computeCount("出現頻度分析"), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Reload, OpenWindowsKeepTheirScrollPlaceOrStayAtTheEnd) {
    Program p(history(400));
    p.main->openAnalysis("出現間隔分析");
    p.main->openAnalysis("数字合計分析");
    QScrollBar* middle = p.grid("出現間隔分析")->verticalScrollBar();
    QScrollBar* end = p.grid("数字合計分析")->verticalScrollBar();
    ASSERT_GT(middle->maximum(), 100);
    middle->setValue(middle->maximum() / 2);
    const int kept = middle->value();
    end->setValue(end->maximum());
    const int oldEnd = end->maximum();
    DataEntryWindow* entry = p.openEntry();
    entry->model()->pasteDigits(entry->model()->rowCount(), 1, "1\t2\t3\t4\n5\t6\t7\t8\n");
    entry->closeButton()->click();
    p.settle();
    EXPECT_EQ(p.main->drawTable().size(), 402u);
    EXPECT_EQ(middle->value(), kept);
    EXPECT_GT(end->maximum(), oldEnd);
    EXPECT_EQ(end->value(), end->maximum());
}

TEST(Reload, AWindowThatFitItsDrawsShowsTheLatestOnceTheyOutgrowIt) {
    // A short history: the draw lists open at their end, which is also their top.
    // One where the user pressed Home, for the first draws, stays at its top.
    Program p(history(5));
    p.main->openAnalysis("出現間隔分析");
    p.main->openAnalysis("数字合計分析");
    QScrollBar* bar = p.grid("出現間隔分析")->verticalScrollBar();
    QScrollBar* top = p.grid("数字合計分析")->verticalScrollBar();
    QTest::keyClick(p.grid("数字合計分析"), Qt::Key_Home);
    ASSERT_EQ(bar->maximum(), 0);
    ASSERT_EQ(top->maximum(), 0);
    DataEntryWindow* entry = p.openEntry();
    QString rows;
    for (int i = 0; i < 200; ++i)
        rows +=
            QString("%1\t%2\t%3\t%4\n").arg(i % 10).arg(i * 3 % 10).arg(i * 7 % 10).arg(i * 9 % 10);
    entry->model()->pasteDigits(entry->model()->rowCount(), 1, rows);
    entry->closeButton()->click();
    p.settle();
    ASSERT_EQ(p.main->drawTable().size(), 205u);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // no hourglass left behind
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum()); // the new draws are in view
    EXPECT_GT(top->maximum(), 0);
    EXPECT_EQ(top->value(), 0);
}

TEST(Reload, AFileDroppedOnTheMainWindowIsImportedAndShownAtOnce) {
    Program p(history(10));
    p.main->openAnalysis("出現頻度分析");
    const std::string csv = p.ws.folder + "/new.csv";
    n4test::writeFile(csv, "回,当せん番号\n第11回,1111\n第12回,1212\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(csv))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(p.main.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(p.main.get(), &dropped);
    ASSERT_FALSE(p.sink.messages.isEmpty());
    EXPECT_TRUE(p.sink.messages.back().text.contains("新しい回: 2 件（第11回～第12回）"));
    DrawTable now = history(10);
    now.push_back(DrawRecord{11, {1, 1, 1, 1}});
    now.push_back(DrawRecord{12, {1, 2, 1, 2}});
    EXPECT_EQ(gridText(p.grid("出現頻度分析")->grid()), computed("出現頻度分析", now));
    EXPECT_EQ(p.widget<PredictionWindow>("一発マーヴォ")->targetLabel()->text(), "第13回の予想");
    EXPECT_EQ(p.main->statusLabel()->text(), "当選データ 12 件を読み込みました。最新回: 第12回");
    // The import can be undone later in the data-entry window.
    DataEntryWindow* entry = p.openEntry();
    EXPECT_EQ(entry->model()->undoLabel(), "2 回分の取り込み");
    entry->undo();
    EXPECT_EQ(n4test::storedDraws(p.ws.folder).size(), 10u);
}

// Quitting while an edit could not be saved.
struct UnsavedEdit : Program {
    DataEntryWindow* entry = nullptr;
    UnsavedEdit() : Program(history(5)) {
        entry = openEntry();
        entry->model()->setFailWrites(true);
        entry->model()->setData(entry->model()->index(0, 1), "0", Qt::EditRole);
    }
    int firstDigitStored() const { return n4test::storedDraws(ws.folder)[0].digits[0]; }
};

// Answers the question by making the database writable again, then 保存を再試行.
class FixThenRetry : public RecordingSink {
  public:
    DataEntryWindow** entry = nullptr;
    int choose(QWidget* w, const QString& t, const QString& x, const QStringList& b, int d,
               int esc) override {
        RecordingSink::choose(w, t, x, b, d, esc);
        (*entry)->model()->setFailWrites(false);
        return 0;
    }
};

TEST(QuitWithAnUnsavedEdit, StayingKeepsTheProgramAndTheEdit) {
    UnsavedEdit u;
    ASSERT_TRUE(u.entry->model()->hasPending());
    EXPECT_FALSE(u.main->close()); // the sink answers 戻る
    EXPECT_TRUE(u.main->isVisible());
    EXPECT_NE(u.main->openWindow("当選データ入力"), nullptr);
    EXPECT_TRUE(u.entry->model()->hasPending());
    EXPECT_EQ(u.entry->model()->cellText(0, 1), "0");
    ASSERT_EQ(u.sink.messages.back().kind, "choose");
    EXPECT_TRUE(u.sink.messages.back().text.contains("第1回の第1数字"));
    EXPECT_TRUE(u.sink.messages.back().text.contains("終了せずに"));
}

TEST(QuitWithAnUnsavedEdit, DiscardingQuitsWithTheFileAsItWas) {
    UnsavedEdit u;
    u.sink.choices = {1};
    EXPECT_TRUE(u.main->close());
    EXPECT_EQ(u.firstDigitStored(), history(5)[0].digits[0]);
    EXPECT_TRUE(u.main->mdiArea()->subWindowList().isEmpty());
}

TEST(QuitWithAnUnsavedEdit, ARetryThatSucceedsSavesTheEditThenQuits) {
    Workspace ws(history(5));
    FixThenRetry sink;
    auto main = startShell(ws.config, &sink);
    main->openAnalysis("偶数奇数の組合せパターン分析");
    main->openDataEntry();
    DataEntryWindow* entry =
        qobject_cast<DataEntryWindow*>(main->openWindow("当選データ入力")->widget());
    sink.entry = &entry;
    entry->model()->setFailWrites(true);
    entry->model()->setData(entry->model()->index(0, 1), "0", Qt::EditRole);
    EXPECT_TRUE(main->close());
    EXPECT_EQ(sink.messages.back().kind, "choose");
    EXPECT_EQ(n4test::storedDraws(ws.folder)[0].digits[0], 0);
}

// 最新の当選番号を取得 from a results server of the test's own on 127.0.0.1:
// an empty program takes the whole history with its dates and prizes after
// the same question as a file, a second time there is nothing new, and a
// source that fails writes nothing and says why.
TEST(FetchLatest, AnEmptyProgramTakesTheWholeHistoryWithDatesAndPrizes) {
    n4test::ResultsServer server(n4test::updateDataFolder());
    ASSERT_TRUE(server.running());
    Program p(DrawTable{});
    ASSERT_NE(p.main, nullptr);
    p.main->setUpdateSources({server.http("/missing/")});
    EXPECT_FALSE(p.main->fetchLatestDraws());
    EXPECT_EQ(p.sink.messages.back().kind, "critical");
    EXPECT_TRUE(p.sink.messages.back().text.contains("404"))
        << p.sink.messages.back().text.toStdString();
    EXPECT_TRUE(n4test::storedDraws(p.ws.folder).empty());

    // A ticket kept for the first draw before it is fetched: the status bar
    // says how it did, after what the fetch did.
    {
        StoreResult r;
        auto store = DrawStore::open(DbConnectionString::forProgramFolder(p.ws.folder), r);
        std::vector<Ticket> tickets{Ticket{0, 1, 1, 4911, BuyKind::Set, 2}};
        ASSERT_TRUE(store && changeTickets(*store, tickets));
    }
    p.main->setUpdateSources({server.http("/missing/"), server.http("/")});
    p.sink.answer = true;
    ASSERT_TRUE(p.main->fetchLatestDraws());
    EXPECT_TRUE(p.sink.messages.back().text.contains("新しい回: 40 件"))
        << p.sink.messages.back().text.toStdString();
    EXPECT_TRUE(p.main->statusLabel()->text().endsWith("　第1回: 1 枚中 1 枚当せん ¥78,400"))
        << p.main->statusLabel()->text().toStdString();
    const DrawTable stored = n4test::storedDraws(p.ws.folder);
    ASSERT_EQ(stored.size(), 40u);
    EXPECT_EQ(p.main->drawTable().size(), 40u); // every window follows
    EXPECT_EQ(stored.front().details.date, 19941007);
    EXPECT_EQ(stored.front().details.prizes, (std::array<int, 4>{942600, 78500, 510500, 39200}));

    EXPECT_FALSE(p.main->fetchLatestDraws());
    EXPECT_TRUE(p.sink.messages.back().text.contains("新しい当選番号はありません"))
        << p.sink.messages.back().text.toStdString();
    EXPECT_EQ(n4test::storedDraws(p.ws.folder).size(), 40u);

    // The data-entry window tells a row's date and prizes where the pointer rests.
    DataEntryWindow* entry = p.openEntry();
    ASSERT_NE(entry, nullptr);
    const QString tip = entry->model()->index(0, 2).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains("1994年10月7日（金）")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("ストレート 942,600円")) << tip.toStdString();
}

// The prediction names the day of the draw it predicts when the history is dated.
TEST(FetchLatest, ThePredictionNamesTheDayOfTheDrawItPredicts) {
    DrawTable t = draws({{1, 2, 3, 4}, {5, 6, 7, 8}});
    t[0].details.date = 20260820;
    t[1].details.date = 20260821;
    Program p(t);
    ASSERT_NE(p.main, nullptr);
    auto* prediction = p.widget<PredictionWindow>("一発マーヴォ");
    ASSERT_NE(prediction, nullptr);
    EXPECT_EQ(prediction->targetLabel()->text(), "第3回（8月24日・月）の予想");
    EXPECT_GE(prediction->targetLabel()->width(),
              prediction->targetLabel()->sizeHint().width()); // whole
}

// 起動時に最新の当選番号を確認する: off until the user turns it on (then kept in
// its own file, the settings file untouched); on, a start asks the sources in
// the background and says something only when there are new draws.
TEST(FetchLatest, TheCheckAtStartIsTheUsersChoiceAndSpeaksOnlyOfNewDraws) {
    n4test::ResultsServer server(n4test::updateDataFolder());
    ASSERT_TRUE(server.running());
    Workspace ws(draws({{1, 1, 4, 9}})); // draw 1, without its date
    n4test::writeFile(ws.folder + "/更新元.txt", server.http("/") + "\n");
    const std::string toggle = checkAtStartPath(ws.config.settingsPath);
    {
        RecordingSink sink;
        auto main = startShell(ws.config, &sink);
        ASSERT_NE(main, nullptr);
        EXPECT_FALSE(main->checkingAtStart());
        QApplication::processEvents();
        EXPECT_TRUE(sink.messages.isEmpty());
        main->findChild<QAction*>("mnuCheckAtStart")->trigger();
        EXPECT_EQ(n4test::readFile(toggle), "True\r\n");
    }
    const std::string settings = n4test::readFile(ws.config.settingsPath); // written at exit
    EXPECT_EQ(std::count(settings.begin(), settings.end(), '\n'), 10);     // its ten lines alone
    RecordingSink sink;
    sink.answer = true;
    auto main = startShell(ws.config, &sink);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->checkingAtStart());
    for (int turn = 0; turn < 2000 && main->drawTable().size() < 40; ++turn) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(main->drawTable().size(), 40u);
    ASSERT_FALSE(sink.messages.isEmpty());
    EXPECT_TRUE(sink.messages.back().text.contains("新しい回: 39 件"))
        << sink.messages.back().text.toStdString();
    EXPECT_EQ(n4test::storedDraws(ws.folder).front().details.date, 19941007);
}

// A new user's first start: an empty history, the prediction window saying
// how to begin, and the import one menu command away with that window open.
TEST(FirstStart, AnEmptyHistoryShowsTheWayInAndTheMenuImportsWithWindowsOpen) {
    Program p(DrawTable{});
    ASSERT_NE(p.main, nullptr);
    auto* prediction = p.widget<PredictionWindow>("一発マーヴォ");
    ASSERT_NE(prediction, nullptr);
    QLabel* hint = prediction->firstStepsLabel();
    EXPECT_TRUE(hint->isVisibleTo(prediction));
    EXPECT_TRUE(hint->text().contains("データ管理 → ファイルから取り込み…"));

    const std::string csv = p.ws.folder + "/first.csv";
    n4test::writeFile(csv, "回,当せん番号\n第1回,1234\n第2回,5678\n");
    int asked = 0;
    QString chosen;
    p.main->setImportFileChooser([&] { return ++asked, chosen; });
    auto* command = p.main->findChild<QAction*>("mnuImportFile");
    ASSERT_NE(command, nullptr);
    command->trigger(); // the dialog cancelled: nothing happens, nothing is said
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(p.sink.messages.isEmpty());

    chosen = QString::fromStdString(csv);
    command->trigger();
    ASSERT_FALSE(p.sink.messages.isEmpty());
    EXPECT_TRUE(p.sink.messages.back().text.contains("第1回: 1234"))
        << "the question shows the draws read";
    EXPECT_EQ(n4test::storedDraws(p.ws.folder).size(), 2u);
    EXPECT_EQ(p.widget<PredictionWindow>("一発マーヴォ"), prediction) << "still open";
    EXPECT_EQ(prediction->targetLabel()->text(), "第3回の予想");
    EXPECT_FALSE(hint->isVisibleTo(prediction));

    // The ウィンドウ menu lists the open windows under its commands; one of
    // them brings its window to the front.
    p.main->openAnalysis("出現頻度分析");
    QMenu* windows = p.main->findChild<QAction*>("mnuWindow")->menu();
    emit windows->aboutToShow();
    emit windows->aboutToShow(); // listed once, however often the menu opens
    QStringList listed;
    for (QAction* a : windows->actions())
        if (!a->isSeparator() && a->objectName().isEmpty())
            listed << a->text() + (a->isChecked() ? " ✓" : "");
    EXPECT_EQ(listed, (QStringList{"&1 一発マーヴォ予想", "&2 出現頻度分析 ✓"}));
    windows->actions()[windows->actions().size() - 2]->trigger();
    EXPECT_EQ(p.main->mdiArea()->activeSubWindow(), p.main->openWindow("一発マーヴォ"));
}

// A draw saved with a blank digit is kept, marked, and named when the
// data-entry window closes, since every analysis leaves it out.
TEST(BlankDigit, ClosingDataEntryNamesTheIncompleteDrawsWhichAreMarked) {
    Program p(history(3));
    DataEntryWindow* entry = p.openEntry();
    ASSERT_NE(entry, nullptr);
    DrawEntryModel* model = entry->model();
    const int row = model->addRowAfter(2);
    ASSERT_EQ(row, 3);
    ASSERT_TRUE(model->setData(model->index(row, 1), "7", Qt::EditRole));
    ASSERT_TRUE(model->setData(model->index(row, 2), "8", Qt::EditRole));
    EXPECT_TRUE(model->index(row, 3).data(Qt::BackgroundRole).isValid());
    EXPECT_TRUE(
        model->index(row, 3).data(Qt::ToolTipRole).toString().contains("分析に含まれません"));
    EXPECT_FALSE(model->index(row, 2).data(Qt::BackgroundRole).isValid()) << "a digit is not";
    EXPECT_FALSE(model->index(0, 3).data(Qt::BackgroundRole).isValid()) << "nor a whole draw";

    p.sink.messages.clear();
    entry->closeButton()->click();
    p.settle();
    EXPECT_EQ(p.main->openWindow("当選データ入力"), nullptr) << "nothing is refused";
    ASSERT_EQ(p.sink.messages.size(), 1);
    EXPECT_EQ(p.sink.messages[0].text, "第4回は数字が欠けているため分析に含まれません。");
    EXPECT_EQ(n4test::storedDraws(p.ws.folder).size(), 4u);
    EXPECT_EQ(p.main->drawTable().size(), 4u);
}
