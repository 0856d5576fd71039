// Bringing draws into the data-entry window: the 編集 menu's file import,
// a dropped file, and pasted rows or results pages, each after one question.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include "UiSupport.h"
#include "ui/data/ImportDialog.h"

using namespace n4;
using n4test::Entry;

namespace {

std::string digitsOf(const DrawTable& t) {
    std::string s;
    for (const DrawRecord& d : t) {
        s += (s.empty() ? "" : " ") + std::to_string(d.drawNo) + ":";
        for (int v : d.digits)
            s += v == kAbsentDigit ? '_' : static_cast<char>('0' + v);
    }
    return s;
}

// Drops the given files on a widget as a file manager does.
void drop(QWidget* target, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    data.setUrls(urls);
    const QPointF at(10, 10);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
}

} // namespace

TEST(DataEntryImport, TheMenuEntryAsksOnceInNumbersThenWritesOneStep) {
    Entry e;
    const std::string json = e.ws.folder + "/draws.json";
    n4test::writeFile(json, R"([{"round":4,"numbers":[4,4,4,4]},{"round":2,"numbers":[5,6,7,9]},)"
                            R"({"round":1,"numbers":[1,2,3,4]}])");
    EXPECT_EQ(e.window->importAction()->text(), "ファイルから取り込み…");
    EXPECT_TRUE(
        ImportDialog::fileFilter().startsWith("当選データ (*.csv *.tsv *.txt *.json *.mdb)"));
    e.window->setFileChooser([&] { return QString::fromStdString(json); });
    e.sink.answer = false;
    e.window->importAction()->trigger();
    ASSERT_EQ(e.sink.messages.size(), 1);
    const QString q = e.sink.messages[0].text;
    EXPECT_TRUE(q.contains("「draws.json」を JSON（UTF-8）として読みました。")) << q.toStdString();
    EXPECT_TRUE(q.contains("新しい回: 1 件（第4回）")) << q.toStdString();
    EXPECT_TRUE(q.contains("当選番号が変わる回: 1 件\n　第2回: 5678 → 5679")) << q.toStdString();
    EXPECT_TRUE(q.contains("同じ内容の回: 1 件")) << q.toStdString();
    EXPECT_EQ(digitsOf(e.stored()), "1:1234 2:5678 3:9012"); // No: nothing written
    EXPECT_TRUE(e.window->statusLabel()->text().contains("取り込みをやめました。"));
    e.sink.answer = true;
    e.window->importAction()->trigger();
    EXPECT_EQ(digitsOf(e.stored()), "1:1234 2:5679 3:9012 4:4444");
    EXPECT_TRUE(e.window->statusLabel()->text().contains("取り込みました: 新しい回 1 件"))
        << e.window->statusLabel()->text().toStdString();
    EXPECT_EQ(e.model()->rowCount(), 4);
    EXPECT_EQ(e.model()->undoLabel(), "2 回分の取り込み");
}

TEST(DataEntryImport, AFileThatCannotBeReadIsReportedAndNothingIsWritten) {
    Entry e;
    const std::string bad = e.ws.folder + "/bad.csv";
    n4test::writeFile(bad, "draw,d1,d2,d3,d4\n7,1,2,3,4\n8,1,2,x,4\n");
    EXPECT_FALSE(e.window->importFile(QString::fromStdString(bad)));
    ASSERT_EQ(e.sink.messages.size(), 1);
    EXPECT_EQ(e.sink.messages[0].kind, "critical");
    EXPECT_TRUE(e.sink.messages[0].text.contains("3行目")) << e.sink.messages[0].text.toStdString();
    EXPECT_EQ(e.stored().size(), 3u);
    // Everything already there: said, not asked.
    const std::string same = e.ws.folder + "/same.csv";
    n4test::writeFile(same, "回,当せん番号\n1,1234\n");
    EXPECT_FALSE(e.window->importFile(QString::fromStdString(same)));
    EXPECT_EQ(e.sink.messages.back().kind, "information");
    EXPECT_TRUE(e.sink.messages.back().text.contains("1 回はすべて同じ内容です"));
}

TEST(DataEntryImport, AFileDroppedOnTheWindowIsImported) {
    Entry e;
    const std::string tsv = e.ws.folder + "/more.tsv";
    n4test::writeFile(tsv, "0005\t2020/01/01\t5\t5\t5\t5\n0004\t2019/12/31\t4\t4\t4\t4\n");
    drop(e.window.get(), {QString::fromStdString(tsv)});
    EXPECT_EQ(e.sink.messages.back().kind, "confirm");
    EXPECT_EQ(digitsOf(e.stored()), "1:1234 2:5678 3:9012 4:4444 5:5555");
    drop(e.window.get(), {QString::fromStdString(tsv), QString::fromStdString(tsv)});
    EXPECT_EQ(e.sink.messages.back().text, "ファイルは一つずつ取り込んでください。");
}

TEST(DataEntryImport, PastingAResultsPageAddsItsDraws) {
    Entry e;
    QApplication::clipboard()->setText(
        "ナンバーズ4 抽せん結果\n"
        "第4回 2020年1月1日(水) 当せん番号 0421 ストレート 898,700円\n"
        "回別\t第５回\n抽せん日\t2020/01/02\n当せん番号\t5555\n");
    e.select(0, 1);
    e.window->table()->setFocus();
    QTest::keySequence(e.window->table(), QKeySequence::Paste);
    ASSERT_FALSE(e.sink.messages.isEmpty());
    EXPECT_TRUE(e.sink.messages.back().text.contains("新しい回: 2 件（第4回～第5回）"));
    EXPECT_EQ(digitsOf(e.stored()), "1:1234 2:5678 3:9012 4:0421 5:5555");
    // The first row was not touched by the paste.
    EXPECT_EQ(e.model()->cellText(0, 1), "1");
}

TEST(DataEntryImport, PastingRowsWithDrawNumbersImportsThem) {
    Entry e;
    QSignalSpy imported(e.window.get(), &DataEntryWindow::imported);
    e.select(0, 0);
    e.window->paste("7\t7\t7\t7\t7\n2\t5\t6\t7\t8\n");
    EXPECT_EQ(digitsOf(e.stored()), "1:1234 2:5678 3:9012 7:7777");
    EXPECT_EQ(imported.count(), 1); // the other windows are told to read the draws again
    e.window->paste("どこにも回数のない文\n");
    EXPECT_TRUE(e.window->statusLabel()->text().contains("読めません"));
    EXPECT_EQ(imported.count(), 1); // and not when nothing was read
    // Text that names a draw is taken for a results page, and says what it lacks.
    e.window->paste("第７回の結果はまだです\n");
    EXPECT_TRUE(e.window->statusLabel()->text().contains(
        "第NNNN回 と 4 けたの当選番号のある行が見つかりません"))
        << e.window->statusLabel()->text().toStdString();
    EXPECT_EQ(imported.count(), 1);
}

TEST(DataEntryImport, AJetDatabaseIsOneMoreFormatOfTheSameImport) {
    const std::string shared = n4test::sharedDataFolder();
    const std::string jet = shared + "/jet/history_int_nopw.mdb";
    if (shared.empty() || !QFile::exists(QString::fromStdString(jet)))
        GTEST_SKIP() << "Jet fixtures not present";
    Entry e(DrawTable{});
    EXPECT_TRUE(e.window->importFile(QString::fromStdString(jet)));
    EXPECT_TRUE(e.sink.messages.back().text.contains("Jet 4.0 データベースとして読みました"))
        << e.sink.messages.back().text.toStdString();
    const ImportResult direct = readHistoryFile(jet);
    ASSERT_TRUE(direct.ok);
    EXPECT_EQ(e.stored().size(), direct.rows.size());
    EXPECT_EQ(e.model()->rowCount(), static_cast<int>(direct.rows.size()));
}

TEST(DataEntryImport, TheThreeRealHistoriesThroughTheProgram) {
    const std::string shared = n4test::sharedDataFolder();
    if (shared.empty() || !QFile::exists(QString::fromStdString(shared + "/raw")))
        GTEST_SKIP() << "real history not present";
    const std::string raw = shared + "/raw/";
    Entry e(DrawTable{});
    ASSERT_TRUE(e.window->importFile(
        QString::fromStdString(raw + "hazimekom__numbers4-api__data__numbers4_results_v2.csv")));
    EXPECT_TRUE(e.sink.messages.back().text.contains("新しい回: 7054 件（第1回～第7054回）"));
    const DrawTable expected = n4test::realHistory();
    EXPECT_EQ(digitsOf(e.stored()), digitsOf(expected));
    EXPECT_EQ(e.model()->rowCount(), 7054);
    // The older headerless file holds nothing new.
    EXPECT_FALSE(e.window->importFile(QString::fromStdString(
        raw + "SHAKAITOU__takarakuji__ddl__initData__numberS4_20180216.csv")));
    EXPECT_TRUE(e.sink.messages.back().text.contains("4858 回はすべて同じ内容です"));
    // The JSON one disagrees at draw 1225 alone, and says so before writing.
    e.sink.answer = false;
    EXPECT_FALSE(e.window->importFile(
        QString::fromStdString(raw + "tk030-lotto__lotto-data-hub__data__numbers4.json")));
    const QString q = e.sink.messages.back().text;
    EXPECT_TRUE(q.contains("当選番号が変わる回: 1 件\n　第1225回: 1065 → 1605")) << q.toStdString();
    EXPECT_TRUE(q.contains("同じ内容の回: 7053 件")) << q.toStdString();
    EXPECT_EQ(digitsOf(e.stored()), digitsOf(expected));
}

// A pasted line of at most four values of one or two characters fills cells
// (a two-character value is then refused as a digit); a longer value, such as
// a draw number, makes the text draws to import.
TEST(DataEntryImport, ValuesOfThreeCharactersAreDrawsAndOfTwoAreCells) {
    for (const char* text : {"10\t123\n", "1,2,3,100\n"}) {
        Entry e;
        e.select(0, 1);
        e.window->paste(QString::fromUtf8(text));
        EXPECT_TRUE(
            e.window->statusLabel()->text().contains("貼り付けた文字を当選データとして読めません"))
            << text;
    }
    Entry e;
    e.select(0, 1);
    e.window->paste("1,2,3,10\n");
    EXPECT_TRUE(e.window->statusLabel()->text().contains(
        "1行目: 数字は 0～9 の一桁で入力してください（空欄も可）。"))
        << e.window->statusLabel()->text().toStdString();
    EXPECT_EQ(digitsOf(e.stored()), "1:1234 2:5678 3:9012");
}
