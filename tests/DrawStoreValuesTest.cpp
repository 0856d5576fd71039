// What the draw database gives back and refuses: every kind of stored value
// as the analyses see it, edits at the ends of their ranges, and steps that
// fail as a whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <sqlite3.h>

#include "TestSupport.h"
#include "core/store/DrawStore.h"

using namespace n4;
using n4test::readFile;
using n4test::tempFolder;

namespace {

DbConnectionString connIn(const std::string& folder) {
    return DbConnectionString::forProgramFolder(folder);
}

// A store whose draw table is made by `columns` (its view over it as the
// program makes it), then filled by `inserts`.
DbConnectionString storeWithDrawTable(const std::string& columns, const std::string& inserts) {
    const DbConnectionString c = connIn(tempFolder());
    {
        StoreResult r;
        EXPECT_TRUE(DrawStore::open(c, r)) << r.message;
    }
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(c.dataSource.c_str(), &db), SQLITE_OK);
    const std::string sql = "PRAGMA key = '" + c.password +
                            "'; DROP VIEW 全データ選択クエリ; DROP TABLE 当選番号;"
                            "CREATE TABLE 当選番号 (" +
                            columns +
                            ");"
                            "CREATE VIEW 全データ選択クエリ AS SELECT * FROM 当選番号;" +
                            inserts;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
    return c;
}

// A store whose draw table takes any value, as a foreign or older file may.
DbConnectionString storeWithLooseTable(const std::string& inserts) {
    return storeWithDrawTable("回数 INTEGER PRIMARY KEY, 第1数字, 第2数字, 第3数字, 第4数字",
                              inserts);
}

DrawTable readBack(const DbConnectionString& c) {
    StoreResult r;
    auto store = DrawStore::open(c, r);
    EXPECT_TRUE(store) << r.message;
    DrawTable t;
    if (store) {
        EXPECT_TRUE(store->readAll(t));
    }
    return t;
}

} // namespace

TEST(DrawStoreValues, EveryKindOfStoredValueIsADigitAbsentOrKeptAsNoDigit) {
    const DbConnectionString c =
        storeWithLooseTable("INSERT INTO 当選番号 VALUES (1, 0, 9, NULL, '');"
                            "INSERT INTO 当選番号 VALUES (2, '0', '9', '/', ':');"
                            "INSERT INTO 当選番号 VALUES (3, 1000000, -1000000, 1000001, -1000001);"
                            "INSERT INTO 当選番号 VALUES (4, -1, 10, 2.0, x'37');"
                            "INSERT INTO 当選番号 VALUES (5, '07', ' 7', 'x', 7);"
                            "INSERT INTO 当選番号 VALUES (6, 0, 9, 10, 9);"
                            "INSERT INTO 当選番号 VALUES (7, 0, 9, 0, 9);");
    const DrawTable t = readBack(c);
    ASSERT_EQ(t.size(), 7u);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(t[i].drawNo, i + 1);
    EXPECT_EQ(t[0].digits, (std::array<int, 4>{0, 9, kAbsentDigit, kAbsentDigit}));
    EXPECT_EQ(t[1].digits, (std::array<int, 4>{0, 9, kUnreadableDigit, kUnreadableDigit}));
    // Numbers are kept as they are while they stay small; a stored -1 is no
    // absent digit, and numbers beyond a million are no number.
    EXPECT_EQ(t[2].digits,
              (std::array<int, 4>{1000000, -1000000, kUnreadableDigit, kUnreadableDigit}));
    EXPECT_EQ(t[3].digits[0], kUnreadableDigit);
    EXPECT_EQ(t[3].digits[1], 10);
    EXPECT_EQ(t[3].digits[2], kUnreadableDigit); // a real number, written as text "2.0"
    EXPECT_EQ(t[3].digits[3], 7);                // the text "7" as bytes
    EXPECT_EQ(t[4].digits,
              (std::array<int, 4>{kUnreadableDigit, kUnreadableDigit, kUnreadableDigit, 7}));
    // Only digits of 0 to 9 make a whole draw: a 10 alone is enough to spoil one.
    EXPECT_EQ(t[5].digits, (std::array<int, 4>{0, 9, 10, 9}));
    for (const DrawRecord& d : t)
        EXPECT_EQ(d.isComplete(), d.drawNo == 7) << d.drawNo;
}

TEST(DrawStoreValues, EditsAtTheEndsOfTheirRanges) {
    StoreResult r;
    auto store = DrawStore::open(connIn(tempFolder()), r);
    ASSERT_TRUE(store) << r.message;
    ASSERT_TRUE(store->upsert(draws({{1, 2, 3, 4}, {5, 6, 7, 8}})));
    // Positions 1 and 4 are the first and last; 0 and 5 are none.
    EXPECT_TRUE(store->setDigit(1, 1, 0));
    EXPECT_TRUE(store->setDigit(1, 4, 9));
    for (int position : {0, 5, -1}) {
        StoreResult bad = store->setDigit(1, position, 5);
        EXPECT_FALSE(bad) << position;
        EXPECT_EQ(bad.message, "位置が正しくありません。");
    }
    // A draw that is not in the file is not there to change.
    StoreResult missing = store->setDigit(3, 1, 5);
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.message.find("書き込みに失敗しました"), std::string::npos) << missing.message;
    // Digits outside 0..9 are refused by the file itself.
    EXPECT_FALSE(store->setDigit(2, 2, 10));
    EXPECT_FALSE(store->setDigit(2, 2, -2));
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].digits, (std::array<int, 4>{0, 2, 3, 9}));
    EXPECT_EQ(t[1].digits, (std::array<int, 4>{5, 6, 7, 8}));
    // Removing a draw that is not there removes nothing else.
    EXPECT_TRUE(store->remove(7));
    ASSERT_TRUE(store->readAll(t));
    EXPECT_EQ(t.size(), 2u);
    // The first and the last draw number there can be.
    EXPECT_TRUE(store->insertEmpty(99999));
    EXPECT_FALSE(store->insertEmpty(100000));
    StoreResult twice = store->insertEmpty(1);
    EXPECT_FALSE(twice);
    EXPECT_NE(twice.message.find("行追加に失敗しました"), std::string::npos) << twice.message;
    ASSERT_TRUE(store->readAll(t));
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[2].drawNo, 99999);
    EXPECT_EQ(t[2].digits,
              (std::array<int, 4>{kAbsentDigit, kAbsentDigit, kAbsentDigit, kAbsentDigit}));
}

TEST(DrawStoreValues, AReplaceWritesAndRemovesTogetherOrNotAtAll) {
    StoreResult r;
    auto store = DrawStore::open(connIn(tempFolder()), r);
    ASSERT_TRUE(store) << r.message;
    ASSERT_TRUE(store->upsert(draws({{1, 1, 1, 1}, {2, 2, 2, 2}, {3, 3, 3, 3}})));
    // Draw 2 removed, draw 3 replaced, draw 5 added (with an empty place).
    ASSERT_TRUE(
        store->replace({DrawRecord{3, {9, 8, 7, 6}}, DrawRecord{5, {0, kAbsentDigit, 0, 0}}}, {2}));
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].drawNo, 1);
    EXPECT_EQ(t[1].drawNo, 3);
    EXPECT_EQ(t[1].digits, (std::array<int, 4>{9, 8, 7, 6}));
    EXPECT_EQ(t[2].drawNo, 5);
    EXPECT_EQ(t[2].digits, (std::array<int, 4>{0, kAbsentDigit, 0, 0}));
    // One bad row among them: nothing is removed and nothing is written.
    StoreResult bad =
        store->replace({DrawRecord{6, {1, 2, 3, 4}}, DrawRecord{7, {1, 2, 3, 10}}}, {1, 3});
    EXPECT_FALSE(bad);
    EXPECT_NE(bad.message.find("書き込みに失敗しました"), std::string::npos) << bad.message;
    DrawTable after;
    ASSERT_TRUE(store->readAll(after));
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].drawNo, 1);
    EXPECT_EQ(after[1].digits, (std::array<int, 4>{9, 8, 7, 6}));
    // And the store still takes the next step.
    EXPECT_TRUE(store->replace({}, {1}));
    ASSERT_TRUE(store->readAll(after));
    EXPECT_EQ(after.size(), 2u);
}

TEST(DrawStoreValues, APasswordWithAQuoteStillLocksTheFile) {
    DbConnectionString c = connIn(tempFolder());
    c.password = "it's 4'8";
    StoreResult r;
    ASSERT_TRUE(DrawStore::create(c, draws({{4, 8, 0, 7}}))) << r.message;
    EXPECT_EQ(readFile(c.dataSource).find("SQLite format 3"), std::string::npos);
    auto store = DrawStore::open(c, r);
    ASSERT_TRUE(store) << r.message;
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].digits, (std::array<int, 4>{4, 8, 0, 7}));
    store.reset();
    for (const char* other : {"its 48", "it''s 4''8", "it"}) {
        DbConnectionString wrong = c;
        wrong.password = other;
        EXPECT_FALSE(DrawStore::open(wrong, r)) << other;
    }
}

TEST(DrawStoreValues, APathThroughAFileOpensNothingAndCreatesNothing) {
    const std::string folder = tempFolder();
    n4test::writeFile(folder + "/plain", "x");
    DbConnectionString c = connIn(folder + "/plain");
    StoreResult r;
    bool created = true;
    EXPECT_FALSE(DrawStore::open(c, r, &created));
    EXPECT_FALSE(created);
    EXPECT_EQ(r.message, "データベース「" + c.dataSource + "」を開けません。");
    EXPECT_EQ(readFile(folder + "/plain"), "x");
    // A file already there is opened, not made: created says so.
    const DbConnectionString fresh = connIn(folder);
    auto first = DrawStore::open(fresh, r, &created);
    ASSERT_TRUE(first) << r.message;
    EXPECT_TRUE(created);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(first->path(), fresh.dataSource);
    first.reset();
    created = true;
    ASSERT_TRUE(DrawStore::open(fresh, r, &created));
    EXPECT_FALSE(created);
    EXPECT_EQ(std::filesystem::status(fresh.dataSource).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(DrawStoreValues, EachFieldMayComeFirstInTheViewAndNoneMayBeMissing) {
    const std::vector<std::string> fields = {"回数", "第1数字", "第2数字", "第3数字", "第4数字"};
    for (size_t first = 0; first < fields.size(); ++first) {
        std::string list;
        for (size_t i = 0; i < fields.size(); ++i)
            list += (i ? ", " : "") + fields[(first + i) % fields.size()];
        const DbConnectionString c = storeWithLooseTable(
            "DROP VIEW 全データ選択クエリ; CREATE VIEW 全データ選択クエリ AS SELECT " + list +
            " FROM 当選番号; INSERT INTO 当選番号 VALUES (8, 1, 2, 3, 4);");
        const DrawTable t = readBack(c);
        ASSERT_EQ(t.size(), 1u) << list;
        EXPECT_EQ(t[0].drawNo, 8) << list;
        EXPECT_EQ(t[0].digits, (std::array<int, 4>{1, 2, 3, 4})) << list;
    }
    for (size_t left = 0; left < fields.size(); ++left) {
        std::string list;
        for (size_t i = 0; i < fields.size(); ++i)
            if (i != left) list += (list.empty() ? "" : ", ") + fields[i];
        const DbConnectionString c = storeWithLooseTable(
            "DROP VIEW 全データ選択クエリ; CREATE VIEW 全データ選択クエリ AS SELECT " + list +
            ", 0 AS x FROM 当選番号; INSERT INTO 当選番号 VALUES (8, 1, 2, 3, 4);");
        StoreResult r;
        auto store = DrawStore::open(c, r);
        ASSERT_TRUE(store) << r.message;
        DrawTable t = draws({{9, 9, 9, 9}});
        const StoreResult read = store->readAll(t);
        EXPECT_FALSE(read) << fields[left];
        // Without the draw number the program's own select cannot even sort.
        const std::string expected =
            "データベース「" + c.dataSource +
            (left == 0 ? "」の読み込みに失敗しました: " : "」の項目が足りません。");
        EXPECT_EQ(read.message.substr(0, expected.size()), expected);
        EXPECT_EQ(t.size(), 1u) << "a failed read leaves what the caller had";
    }
}

TEST(DrawStoreValues, AnOlderTableWithItsOwnIndexOnTheDrawNumberIsOurs) {
    // A draw table whose number is no row id gets an index of its own from
    // SQLite (sqlite_autoindex_当選番号_1): still our file, opened and read.
    const DbConnectionString c = storeWithDrawTable(
        "回数 INT PRIMARY KEY, 第1数字 INT, 第2数字 INT, 第3数字 INT, 第4数字 INT",
        "INSERT INTO 当選番号 VALUES (2, 5, 6, 7, 8), (1, 1, 2, 3, 4);");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(c.dataSource.c_str(), &db), SQLITE_OK);
    const std::string key = "PRAGMA key = '" + c.password + "';";
    ASSERT_EQ(sqlite3_exec(db, key.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT count(*) FROM sqlite_master WHERE name LIKE "
                                 "'sqlite_autoindex_%'",
                                 -1, &st, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 1);
    sqlite3_finalize(st);
    sqlite3_close(db);
    const DrawTable t = readBack(c);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].digits, (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(t[1].digits, (std::array<int, 4>{5, 6, 7, 8}));
    // Another table's index is somebody else's: refused, untouched.
    ASSERT_EQ(sqlite3_open(c.dataSource.c_str(), &db), SQLITE_OK);
    const std::string other =
        "PRAGMA key = '" + c.password + "'; CREATE TABLE memo (k TEXT PRIMARY KEY, v TEXT);";
    ASSERT_EQ(sqlite3_exec(db, other.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const std::string before = readFile(c.dataSource);
    StoreResult r;
    EXPECT_FALSE(DrawStore::open(c, r));
    EXPECT_NE(r.message.find("このプログラムの当選データがありません"), std::string::npos)
        << r.message;
    EXPECT_EQ(readFile(c.dataSource), before);
}
