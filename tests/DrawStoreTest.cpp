#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TestSupport.h"
#include "core/store/DrawStore.h"
#include <sqlite3.h>

using namespace n4;
using n4test::readFile;
using n4test::tempFolder;

namespace {
DbConnectionString connIn(const std::string& folder) {
    return DbConnectionString::forProgramFolder(folder);
}

// How many of this process's descriptors are open on the file.
int descriptorsOn(const std::string& path) {
    const std::string file = std::filesystem::weakly_canonical(path).string();
    const std::vector<std::string> open = n4test::openDescriptorTargets();
    return static_cast<int>(std::count(open.begin(), open.end(), file));
}
} // namespace

TEST(DrawStore, MissingFileIsCreatedEncryptedAndEmpty) {
    std::string folder = tempFolder();
    StoreResult r;
    bool created = false;
    auto store = DrawStore::open(connIn(folder), r, &created);
    ASSERT_TRUE(store) << r.message;
    EXPECT_TRUE(created);
    EXPECT_FALSE(store->cipherVersion().empty());
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    EXPECT_TRUE(t.empty());
    ASSERT_TRUE(store->upsert(draws({{1, 2, 3, 4}})));
    store.reset();
    std::string bytes = readFile(folder + "/Numbers4Marvo.mdb");
    EXPECT_EQ(bytes.find("SQLite format 3"), std::string::npos);
    EXPECT_EQ(bytes.find("当選番号"), std::string::npos);
}

TEST(DrawStore, ReadsInDrawNumberOrderWithAbsentDigits) {
    std::string folder = tempFolder();
    StoreResult r;
    auto store = DrawStore::open(connIn(folder), r);
    ASSERT_TRUE(store);
    DrawRecord late{5, {9, 9, 9, 9}}, gap{2, {1, kAbsentDigit, 3, 4}};
    ASSERT_TRUE(store->upsert({late, gap, DrawRecord{1, {0, 0, 0, 0}}}));
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].drawNo, 1);
    EXPECT_EQ(t[1].drawNo, 2);
    EXPECT_EQ(t[1].digits[1], kAbsentDigit);
    EXPECT_FALSE(t[1].isComplete());
    EXPECT_EQ(t[2].drawNo, 5);
}

TEST(DrawStore, UpsertReplacesByDrawNumberAndRejectsBadDigitsWhole) {
    std::string folder = tempFolder();
    StoreResult r;
    auto store = DrawStore::open(connIn(folder), r);
    ASSERT_TRUE(store->upsert(draws({{1, 2, 3, 4}, {5, 6, 7, 8}})));
    ASSERT_TRUE(store->upsert({DrawRecord{2, {0, 0, 0, 0}}}));
    DrawRecord bad{3, {1, 2, 10, 4}};
    EXPECT_FALSE(store->upsert({DrawRecord{1, {9, 9, 9, 9}}, bad}));
    DrawTable t;
    store->readAll(t);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].digits, (std::array<int, 4>{1, 2, 3, 4})); // rolled back
    EXPECT_EQ(t[1].digits, (std::array<int, 4>{0, 0, 0, 0}));
}

TEST(DrawStore, EditsInsertsAndDeletesPersist) {
    std::string folder = tempFolder();
    StoreResult r;
    {
        auto store = DrawStore::open(connIn(folder), r);
        ASSERT_TRUE(store->upsert(draws({{1, 2, 3, 4}})));
        ASSERT_TRUE(store->insertEmpty(2));
        ASSERT_TRUE(store->setDigit(2, 3, 7));
        ASSERT_TRUE(store->setDigit(1, 1, kAbsentDigit));
        EXPECT_FALSE(store->setDigit(1, 2, 11));
        EXPECT_FALSE(store->insertEmpty(2));
    }
    auto store = DrawStore::open(connIn(folder), r);
    DrawTable t;
    store->readAll(t);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].digits, (std::array<int, 4>{kAbsentDigit, 2, 3, 4}));
    EXPECT_EQ(t[1].digits, (std::array<int, 4>{kAbsentDigit, kAbsentDigit, 7, kAbsentDigit}));
    ASSERT_TRUE(store->remove(1));
    store->readAll(t);
    EXPECT_EQ(t.size(), 1u);
    EXPECT_TRUE(store->integrityOk());
}

TEST(DrawStoreRefusal, WrongPasswordIsReportedAndTheFileUntouched) {
    std::string folder = tempFolder();
    StoreResult r;
    DrawStore::open(connIn(folder), r)->upsert(draws({{1, 2, 3, 4}}));
    std::string before = readFile(folder + "/Numbers4Marvo.mdb");
    DbConnectionString wrong = connIn(folder);
    wrong.password = "000000";
    EXPECT_FALSE(DrawStore::open(wrong, r));
    EXPECT_NE(r.message.find("Numbers4Marvo.mdb"), std::string::npos);
    EXPECT_NE(r.message.find("パスワード"), std::string::npos);
    EXPECT_EQ(readFile(folder + "/Numbers4Marvo.mdb"), before);
}

TEST(DrawStore, AClosedOrRefusedStoreLetsGoOfItsFile) {
    std::string folder = tempFolder();
    const std::string file = folder + "/Numbers4Marvo.mdb";
    StoreResult r;
    auto store = DrawStore::open(connIn(folder), r);
    ASSERT_TRUE(store) << r.message;
    ASSERT_TRUE(store->upsert(draws({{1, 2, 3, 4}})));
    EXPECT_GT(descriptorsOn(file), 0);
    store.reset();
    EXPECT_EQ(descriptorsOn(file), 0);
    DbConnectionString wrong = connIn(folder);
    wrong.password = "000000";
    EXPECT_FALSE(DrawStore::open(wrong, r));
    EXPECT_EQ(descriptorsOn(file), 0);
}

TEST(DrawStoreRefusal, ForeignAndDamagedFilesAreNeverModified) {
    for (std::string content :
         {std::string("hello, this is not a database"), std::string(4096, '\x7f')}) {
        std::string folder = tempFolder();
        n4test::writeFile(folder + "/Numbers4Marvo.mdb", content);
        StoreResult r;
        EXPECT_FALSE(DrawStore::open(connIn(folder), r));
        EXPECT_FALSE(r.message.empty());
        EXPECT_EQ(readFile(folder + "/Numbers4Marvo.mdb"), content);
    }
}

TEST(DrawStoreRefusal, TruncatedDatabaseIsRefused) {
    std::string folder = tempFolder();
    StoreResult r;
    {
        auto store = DrawStore::open(connIn(folder), r);
        std::vector<DrawRecord> rows;
        for (int no = 1; no <= 3000; ++no)
            rows.push_back(DrawRecord{no, {1, 2, 3, no % 10}});
        store->upsert(rows);
    }
    std::string path = folder + "/Numbers4Marvo.mdb";
    std::string half = readFile(path).substr(0, 4096 * 3);
    n4test::writeFile(path, half);
    auto store = DrawStore::open(connIn(folder), r);
    DrawTable t;
    if (store) {
        EXPECT_FALSE(store->readAll(t)); // damage can show only on the full read
    } else {
        EXPECT_FALSE(r.message.empty());
    }
    EXPECT_EQ(readFile(path), half);
}

TEST(DbConnectionString, NamesTheFileButNeverTheKey) {
    DbConnectionString c = DbConnectionString::forProgramFolder("/opt/n4");
    EXPECT_EQ(c.dataSource, "/opt/n4/Numbers4Marvo.mdb");
    EXPECT_EQ(c.password.size(), 6u);
    EXPECT_EQ(c.text().find(c.password), std::string::npos);
}

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

TEST(DrawStoreCrashSafety, KilledMidWayKeepsEveryAcknowledgedEdit) {
    std::string folder = tempFolder();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(fds[0]);
        StoreResult r;
        auto store = DrawStore::open(connIn(folder), r);
        for (int no = 1; store && no <= 100000; ++no) {
            if (!store->insertEmpty(no) || !store->setDigit(no, 1, no % 10)) _exit(2);
            if (write(fds[1], &no, sizeof no) != sizeof no) _exit(3);
        }
        _exit(0);
    }
    close(fds[1]);
    int acked = 0, no = 0;
    while (acked < 40 && read(fds[0], &no, sizeof no) == sizeof no)
        acked = no;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    while (read(fds[0], &no, sizeof no) == sizeof no)
        acked = no; // acks already in the pipe
    close(fds[0]);
    ASSERT_GE(acked, 40);
    StoreResult r;
    auto store = DrawStore::open(connIn(folder), r);
    ASSERT_TRUE(store) << r.message;
    EXPECT_TRUE(store->integrityOk());
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    ASSERT_GE(static_cast<int>(t.size()), acked);
    for (int i = 0; i < acked; ++i) {
        EXPECT_EQ(t[i].drawNo, i + 1);
        EXPECT_EQ(t[i].digits[0], (i + 1) % 10);
    }
}

TEST(DrawNumbers, StayWithinOneToNinetyNineThousandNineHundredNinetyNine) {
    std::string folder = tempFolder();
    StoreResult r;
    auto store = DrawStore::open(connIn(folder), r);
    EXPECT_TRUE(store->upsert({DrawRecord{99999, {1, 2, 3, 4}}}));
    EXPECT_FALSE(store->upsert({DrawRecord{100000, {1, 2, 3, 4}}}));
    EXPECT_FALSE(store->insertEmpty(0));
    // A wild number read from a foreign file cannot size the windows' grids.
    DrawTable t = draws({{1, 2, 3, 4}});
    t.push_back(DrawRecord{2000000000, {5, 6, 7, 8}});
    EXPECT_FALSE(t[1].isComplete());
}

namespace {
// Replaces the draw table and its view by an older or foreign shape.
void rewriteSchema(const DbConnectionString& c, const std::string& statements) {
    StoreResult r;
    ASSERT_TRUE(DrawStore::open(c, r)) << r.message;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(c.dataSource.c_str(), &db), SQLITE_OK);
    const std::string sql = "PRAGMA key = '" + c.password +
                            "'; DROP VIEW 全データ選択クエリ; DROP TABLE 当選番号;" + statements;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
}
} // namespace

TEST(DrawStore, DigitsKeptAsTextByAnOlderFileReadAsDigits) {
    // An older copy of the file may hold the digits as text in columns without
    // a type: "0" to "9" are digits, "" is absent, anything else is no digit.
    const DbConnectionString c = connIn(tempFolder());
    rewriteSchema(
        c, "CREATE TABLE 当選番号 (回数 INTEGER PRIMARY KEY, 第1数字, 第2数字, 第3数字, 第4数字);"
           "CREATE VIEW 全データ選択クエリ AS SELECT * FROM 当選番号;"
           "INSERT INTO 当選番号 VALUES (1, '0', '9', '5', '1');"
           "INSERT INTO 当選番号 VALUES (2, '9', '', '10', 'a');");
    StoreResult r;
    auto store = DrawStore::open(c, r);
    ASSERT_TRUE(store) << r.message;
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].digits, (std::array<int, 4>{0, 9, 5, 1}));
    EXPECT_TRUE(t[0].isComplete());
    EXPECT_EQ(t[1].digits[0], 9);
    EXPECT_EQ(t[1].digits[1], kAbsentDigit);
    EXPECT_FALSE(t[1].isComplete());
    EXPECT_NE(t[1].digits[2], 1); // "10" is not a digit
    EXPECT_NE(t[1].digits[3], kAbsentDigit);
}

TEST(DrawStore, TheViewsFieldsAreReadByNameInAnyOrder) {
    const DbConnectionString c = connIn(tempFolder());
    rewriteSchema(c, "CREATE TABLE 当選番号 (回数 INTEGER PRIMARY KEY, 第1数字 INTEGER, "
                     "第2数字 INTEGER, 第3数字 INTEGER, 第4数字 INTEGER);"
                     "CREATE VIEW 全データ選択クエリ AS SELECT 第3数字, 第4数字, 回数, 第2数字, "
                     "第1数字 FROM 当選番号;"
                     "INSERT INTO 当選番号 VALUES (1, 1, 2, 3, 4);");
    StoreResult r;
    auto store = DrawStore::open(c, r);
    ASSERT_TRUE(store) << r.message;
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].drawNo, 1);
    EXPECT_EQ(t[0].digits, (std::array<int, 4>{1, 2, 3, 4}));
}
