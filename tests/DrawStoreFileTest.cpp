// The draw database as a file: how it comes into being, which names it
// accepts, and what it refuses to write into.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "TestSupport.h"
#include "core/store/DatabaseKey.h"
#include "core/store/DrawStore.h"

using namespace n4;
using n4test::readFile;
using n4test::tempFolder;
namespace fs = std::filesystem;

namespace {

DbConnectionString connIn(const std::string& folder) {
    return DbConnectionString::forProgramFolder(folder);
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A raw keyed connection, for making files the program itself would not make.
struct RawDb {
    sqlite3* db = nullptr;
    explicit RawDb(const DbConnectionString& conn) {
        sqlite3_open(conn.dataSource.c_str(), &db);
        exec("PRAGMA key = '" + conn.password + "'");
    }
    ~RawDb() { sqlite3_close(db); }
    int exec(const std::string& sql) {
        return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
};

DrawTable readBack(const DbConnectionString& conn) {
    StoreResult r;
    DrawTable t;
    if (auto store = DrawStore::open(conn, r, nullptr, IfMissing::Refuse)) store->readAll(t);
    return t;
}

} // namespace

TEST(DrawStoreCreation, ANewFileIsTheUsersOnlyAndLeavesNothingElseBehind) {
    const std::string folder = tempFolder();
    StoreResult r;
    bool created = false;
    ASSERT_TRUE(DrawStore::open(connIn(folder), r, &created)) << r.message;
    EXPECT_TRUE(created);
    EXPECT_TRUE(r.message.empty());
    struct stat st;
    ASSERT_EQ(::stat((folder + "/Numbers4Marvo.mdb").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"Numbers4Marvo.mdb"});
}

TEST(DrawStoreCreation, CreateWritesTheRowsWholeAndNeverReplacesAFile) {
    const std::string folder = tempFolder();
    const auto conn = connIn(folder);
    ASSERT_TRUE(DrawStore::create(conn, draws({{1, 2, 3, 4}, {5, 6, 7, 8}})));
    EXPECT_EQ(readBack(conn).size(), 2u);
    const std::string before = readFile(conn.dataSource);
    StoreResult again = DrawStore::create(conn, draws({{9, 9, 9, 9}}));
    EXPECT_FALSE(again);
    EXPECT_EQ(readFile(conn.dataSource), before);
    // A bad row: nothing appears at all.
    const auto other = connIn(tempFolder());
    EXPECT_FALSE(
        DrawStore::create(other, {DrawRecord{1, {1, 2, 3, 4}}, DrawRecord{2, {1, 2, 3, 10}}}));
    EXPECT_TRUE(fs::is_empty(fs::path(other.dataSource).parent_path()));
}

TEST(DrawStoreCreation, LeftoversOfAnInterruptedCreationAreCompletedWithANotice) {
    // An empty file, and a file with the table but not the view: what an
    // interrupted creation of an older version left. Neither holds a draw.
    for (bool withTable : {false, true}) {
        const std::string folder = tempFolder();
        const auto conn = connIn(folder);
        n4test::writeFile(conn.dataSource, "");
        std::filesystem::permissions(conn.dataSource, std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::owner_write |
                                                          std::filesystem::perms::group_read |
                                                          std::filesystem::perms::others_read);
        if (withTable)
            RawDb(conn).exec("CREATE TABLE 当選番号 (回数 INTEGER PRIMARY KEY, 第1数字 INTEGER,"
                             " 第2数字 INTEGER, 第3数字 INTEGER, 第4数字 INTEGER)");
        StoreResult r;
        auto store = DrawStore::open(conn, r);
        ASSERT_TRUE(store) << r.message;
        EXPECT_NE(r.message.find("作り直しました"), std::string::npos) << r.message;
        // Made anew from nothing, it is the user's only, as a new file is;
        // one that already had its table keeps the mode it had.
        EXPECT_EQ(
            std::filesystem::status(conn.dataSource).permissions() & std::filesystem::perms::all,
            withTable ? std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                            std::filesystem::perms::group_read | std::filesystem::perms::others_read
                      : std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        ASSERT_TRUE(store->upsert(draws({{1, 2, 3, 4}})));
        store.reset();
        EXPECT_EQ(readBack(conn).size(), 1u);
        StoreResult quiet;
        EXPECT_TRUE(DrawStore::open(conn, quiet));
        EXPECT_TRUE(quiet.message.empty()); // said once
    }
}

TEST(DrawStoreCreation, AKeyedFileWithOtherTablesIsNotTakenOver) {
    const std::string folder = tempFolder();
    const auto conn = connIn(folder);
    RawDb(conn).exec("CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('mine')");
    const std::string before = readFile(conn.dataSource);
    StoreResult r;
    EXPECT_FALSE(DrawStore::open(conn, r));
    EXPECT_NE(r.message.find("当選データがありません"), std::string::npos) << r.message;
    EXPECT_EQ(readFile(conn.dataSource), before);
}

TEST(DrawStoreCreation, TwoFirstImportsAtOnceBothSucceed) {
    const std::string folder = tempFolder();
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = fork();
        ASSERT_GE(children[i], 0);
        if (children[i] == 0) {
            close(go[1]);
            char c;
            if (read(go[0], &c, 1) != 0) _exit(3); // end of file: go
            StoreResult r;
            auto store = DrawStore::open(connIn(folder), r);
            _exit(store && store->upsert({DrawRecord{i + 1, {i, i, i, i}}}) ? 0 : 1);
        }
    }
    close(go[0]);
    close(go[1]); // both start now
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(readBack(connIn(folder)).size(), 2u);
}

TEST(DrawStorePaths, NamesThatAreNoPlainFileAreRefusedAndCreateNothing) {
    const std::string folder = tempFolder();
    const auto before = fs::current_path();
    fs::current_path(folder);
    for (const char* name : {"", ":memory:", "file:x.mdb", "FILE:x.mdb?mode=memory", "sub/"}) {
        DbConnectionString conn = connIn(folder);
        conn.dataSource = name;
        StoreResult r;
        EXPECT_FALSE(DrawStore::open(conn, r)) << name;
        EXPECT_NE(r.message.find("使えません"), std::string::npos) << name << ": " << r.message;
        EXPECT_FALSE(DrawStore::create(conn, {})) << name;
    }
    fs::current_path(before);
    EXPECT_TRUE(fs::is_empty(folder));
    DbConnectionString aFolder = connIn(folder);
    aFolder.dataSource = folder;
    StoreResult r;
    EXPECT_FALSE(DrawStore::open(aFolder, r));
    EXPECT_FALSE(r.message.empty());
}

TEST(DrawStorePaths, AReaderNeverCreatesTheFile) {
    const std::string folder = tempFolder();
    StoreResult r;
    EXPECT_FALSE(DrawStore::open(connIn(folder), r, nullptr, IfMissing::Refuse));
    EXPECT_NE(r.message.find("見つかりません"), std::string::npos) << r.message;
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST(DrawStoreDamage, ADamagedFileIsReportedAndNeverWritten) {
    const std::string folder = tempFolder();
    const auto conn = connIn(folder);
    std::vector<DrawRecord> rows;
    for (int no = 1; no <= 5000; ++no)
        rows.push_back(DrawRecord{no, {no % 10, 1, 2, 3}});
    ASSERT_TRUE(DrawStore::create(conn, rows));
    std::string bytes = readFile(conn.dataSource);
    ASSERT_GT(bytes.size(), 60000u);
    std::fill(bytes.begin() + 20480, bytes.begin() + 40960, '\0'); // 20 kB zeroed inside
    n4test::writeFile(conn.dataSource, bytes);
    StoreResult r;
    EXPECT_FALSE(DrawStore::open(conn, r));
    EXPECT_NE(r.message.find("壊れています"), std::string::npos) << r.message;
    EXPECT_EQ(readFile(conn.dataSource), bytes);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"Numbers4Marvo.mdb"});
}

TEST(DrawStoreLocking, ALockHeldElsewhereIsWaitedForThenNamedAsSuch) {
    const std::string folder = tempFolder();
    auto conn = connIn(folder);
    ASSERT_TRUE(DrawStore::create(conn, draws({{1, 2, 3, 4}})));
    RawDb other(conn);
    ASSERT_EQ(other.exec("BEGIN EXCLUSIVE; UPDATE 当選番号 SET 第1数字 = 0"), SQLITE_OK);
    conn.busyTimeoutMs = 200;
    StoreResult r;
    EXPECT_FALSE(DrawStore::open(conn, r));
    EXPECT_NE(r.message.find("使用中"), std::string::npos) << r.message;
    EXPECT_EQ(r.message.find("パスワード"), std::string::npos) << r.message;
    // A lock that clears within the wait is not noticed at all.
    conn.busyTimeoutMs = 20000;
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.exec("COMMIT");
    });
    auto store = DrawStore::open(conn, r);
    release.join();
    ASSERT_TRUE(store) << r.message;
    EXPECT_TRUE(store->upsert(draws({{5, 6, 7, 8}})));
}

// The key derived here is the one SQLCipher derives from the password: a file
// SQLCipher keyed itself opens with it, and with it alone (the raw key given
// to a plain connection reads the file); a run derives it once per file.
TEST(DrawStoreKey, TheDerivedKeyIsSqlciphersOwnAndIsDerivedOnceARun) {
    const std::string folder = tempFolder();
    const DbConnectionString conn = connIn(folder);
    {
        RawDb made(conn); // keyed with the password: SQLCipher derives
        ASSERT_EQ(made.exec("CREATE TABLE 当選番号 (回数 INTEGER PRIMARY KEY, 第1数字, 第2数字,"
                            " 第3数字, 第4数字);"
                            "CREATE VIEW 全データ選択クエリ AS SELECT * FROM 当選番号;"
                            "INSERT INTO 当選番号 VALUES (7, 1, 2, 3, 4);"),
                  SQLITE_OK);
    }
    const int before = databaseKeyDerivations();
    for (int opening = 0; opening < 3; ++opening) {
        StoreResult r;
        auto store = DrawStore::open(conn, r);
        ASSERT_TRUE(store) << r.message;
        DrawTable t;
        ASSERT_TRUE(store->readAll(t));
        ASSERT_EQ(t.size(), 1u);
        EXPECT_EQ(t[0].drawNo, 7);
    }
    EXPECT_EQ(databaseKeyDerivations() - before, 1);

    DatabaseSalt salt;
    const std::string bytes = readFile(conn.dataSource);
    ASSERT_GE(bytes.size(), salt.size());
    std::copy_n(bytes.begin(), salt.size(), salt.begin());
    const DatabaseKey key = deriveDatabaseKey(conn.password, salt);
    EXPECT_EQ(databaseKeyFor(conn.password, salt), key);
    std::string hex;
    for (std::uint8_t b : key)
        hex += "0123456789abcdef"[b >> 4], hex += "0123456789abcdef"[b & 15];
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(conn.dataSource.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(
        sqlite3_exec(db, ("PRAGMA key = \"x'" + hex + "'\"").c_str(), nullptr, nullptr, nullptr),
        SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "SELECT count(*) FROM 当選番号", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
}
