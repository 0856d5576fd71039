// Remembered database keys: a key comes back only for its own salt, a bad
// cache file never stops the store from opening, and the store really takes
// the remembered key instead of deriving it.
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <sys/stat.h>

#include "SystemCallFaults.h"
#include "TestSupport.h"
#include "core/store/DrawStore.h"
#include "core/store/KeyCache.h"
#include "core/store/KeyDerivation.h"

using namespace n4;

namespace {

DatabaseSalt saltOf(int n) {
    DatabaseSalt s{};
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<std::uint8_t>(n * 31 + i);
    return s;
}

DatabaseKey keyOf(int n) {
    DatabaseKey k{};
    for (std::size_t i = 0; i < k.size(); ++i)
        k[i] = static_cast<std::uint8_t>(n * 17 + 3 * i + 1);
    return k;
}

std::string cacheIn(const std::string& folder) {
    return folder + "/cache/Numbers4Marvo/database-keys";
}

DatabaseSalt fileSalt(const std::string& path) {
    const std::string bytes = n4test::readFile(path);
    DatabaseSalt salt{};
    EXPECT_GE(bytes.size(), salt.size());
    std::copy(bytes.begin(), bytes.begin() + salt.size(), salt.begin());
    return salt;
}

std::string hexKey(const DatabaseKey& key) {
    static const char* const kHex = "0123456789abcdef";
    std::string out;
    for (std::uint8_t b : key) {
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
    return out;
}

// A draw database encrypted with a raw key no password derivation gives.
void makeStoreWithRawKey(const std::string& path, const DatabaseKey& key) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const std::string sql = "PRAGMA key = \"x'" + hexKey(key) +
                            "'\";"
                            "CREATE TABLE 当選番号 (回数 INTEGER PRIMARY KEY, 第1数字 INTEGER, "
                            "第2数字 INTEGER, 第3数字 INTEGER, 第4数字 INTEGER);"
                            "CREATE VIEW 全データ選択クエリ AS SELECT 回数, 第1数字, 第2数字, "
                            "第3数字, 第4数字 FROM 当選番号;"
                            "INSERT INTO 当選番号 VALUES (1, 9, 8, 7, 6);";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

} // namespace

TEST(KeyCache, GivesBackEachKeyForItsOwnSaltOnly) {
    const std::string cache = cacheIn(n4test::tempFolder());
    EXPECT_FALSE(recallDatabaseKey(cache, saltOf(1))); // no file yet
    ASSERT_TRUE(rememberDatabaseKey(cache, saltOf(1), keyOf(1)));
    ASSERT_TRUE(rememberDatabaseKey(cache, saltOf(2), keyOf(2)));
    EXPECT_EQ(recallDatabaseKey(cache, saltOf(1)), keyOf(1));
    EXPECT_EQ(recallDatabaseKey(cache, saltOf(2)), keyOf(2));
    EXPECT_FALSE(recallDatabaseKey(cache, saltOf(3)));
    // A salt remembered again keeps one entry, with the newer key.
    ASSERT_TRUE(rememberDatabaseKey(cache, saltOf(1), keyOf(5)));
    EXPECT_EQ(recallDatabaseKey(cache, saltOf(1)), keyOf(5));
    EXPECT_EQ(recallDatabaseKey(cache, saltOf(2)), keyOf(2));
    EXPECT_EQ(n4test::readFile(cache).size(), 8u + 2 * 56);
    {
        // Read a byte at a time, the file still gives both keys.
        n4test::InjectedFaults faults{{n4test::Call::ShortRead, 0, "", 1, 0, 1 << 30}};
        EXPECT_EQ(recallDatabaseKey(cache, saltOf(2)), keyOf(2));
        EXPECT_GT(faults.fired(0), 100);
    }
    {
        // An interrupted read is tried again; the end of the file still ends it.
        n4test::InjectedFaults faults{{n4test::Call::Read, EINTR}};
        EXPECT_EQ(recallDatabaseKey(cache, saltOf(2)), keyOf(2));
        EXPECT_EQ(faults.fired(0), 1);
    }
    // No cache at all: nothing recalled, nothing written.
    EXPECT_FALSE(recallDatabaseKey("", saltOf(1)));
    EXPECT_FALSE(rememberDatabaseKey("", saltOf(1), keyOf(1)));
}

TEST(KeyCache, IsReadWithStandardInputClosed) {
    const std::string cache = cacheIn(n4test::tempFolder());
    ASSERT_TRUE(rememberDatabaseKey(cache, saltOf(1), keyOf(1)));
    std::optional<DatabaseKey> recalled;
    n4test::withStandardInputClosed([&] { recalled = recallDatabaseKey(cache, saltOf(1)); });
    EXPECT_EQ(recalled, keyOf(1));
}

TEST(KeyCache, KeepsTheNewestKeysAndDropsTheOldest) {
    const std::string cache = cacheIn(n4test::tempFolder());
    for (int n = 0; n <= kRememberedKeys; ++n)
        ASSERT_TRUE(rememberDatabaseKey(cache, saltOf(n), keyOf(n)));
    EXPECT_FALSE(recallDatabaseKey(cache, saltOf(0)));
    for (int n = 1; n <= kRememberedKeys; ++n)
        EXPECT_EQ(recallDatabaseKey(cache, saltOf(n)), keyOf(n)) << n;
}

TEST(KeyCache, ADamagedForeignOrUnreadableFileOnlyMeansNoKey) {
    const std::string folder = n4test::tempFolder();
    const std::string cache = cacheIn(folder);
    ASSERT_TRUE(rememberDatabaseKey(cache, saltOf(1), keyOf(1)));
    ASSERT_TRUE(rememberDatabaseKey(cache, saltOf(2), keyOf(2)));
    const std::string good = n4test::readFile(cache);

    // One byte of the newest entry's key changed: that entry is refused, the
    // other one still serves.
    std::string damaged = good;
    damaged[8 + 16 + 5] ^= 0x40;
    n4test::writeFile(cache, damaged);
    EXPECT_FALSE(recallDatabaseKey(cache, saltOf(2)));
    EXPECT_EQ(recallDatabaseKey(cache, saltOf(1)), keyOf(1));

    for (const std::string& bad :
         {good.substr(0, good.size() - 1), std::string("not a key file at all"), std::string(),
          good + good, std::string("N4KEYS\x02\n") + good.substr(8)}) {
        n4test::writeFile(cache, bad);
        EXPECT_FALSE(recallDatabaseKey(cache, saltOf(1))) << bad.size();
        // And remembering over it leaves a good file again.
        ASSERT_TRUE(rememberDatabaseKey(cache, saltOf(3), keyOf(3)));
        EXPECT_EQ(recallDatabaseKey(cache, saltOf(3)), keyOf(3));
    }

    // A folder where the file should be: nothing recalled, nothing written.
    const std::string blocked = folder + "/blocked/database-keys";
    std::filesystem::create_directories(blocked);
    EXPECT_FALSE(recallDatabaseKey(blocked, saltOf(1)));
    EXPECT_FALSE(rememberDatabaseKey(blocked, saltOf(1), keyOf(1)));
    // A file where its folder should be.
    n4test::writeFile(folder + "/plainfile", "x");
    EXPECT_FALSE(rememberDatabaseKey(folder + "/plainfile/database-keys", saltOf(1), keyOf(1)));
}

TEST(KeyCache, TheFileAndTheFoldersItMakesArePrivate) {
    const std::string folder = n4test::tempFolder();
    const std::string cache = folder + "/new/deeper/database-keys";
    ASSERT_TRUE(rememberDatabaseKey(cache, saltOf(1), keyOf(1)));
    struct stat st {};
    ASSERT_EQ(::stat(cache.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    for (const char* made : {"/new", "/new/deeper"}) {
        ASSERT_EQ(::stat((folder + made).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << made;
    }
}

TEST(KeyCache, LivesInTheUsersCacheFolder) {
    {
        ScopedEnv xdg("XDG_CACHE_HOME", "/somewhere/cache");
        EXPECT_EQ(defaultKeyCachePath(), "/somewhere/cache/Numbers4Marvo/database-keys");
    }
    {
        ScopedEnv home("HOME", "/home/someone");
        for (const char* ignored : {"relative/cache", ""}) {
            ScopedEnv xdg("XDG_CACHE_HOME", ignored);
            EXPECT_EQ(defaultKeyCachePath(), "/home/someone/.cache/Numbers4Marvo/database-keys");
        }
    }
    // Without HOME, the user's entry names the home folder; without an entry
    // or a home folder in it, keys are not remembered.
    ScopedEnv xdg("XDG_CACHE_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    const passwd* me = ::getpwuid(::getuid());
    if (me && me->pw_dir && me->pw_dir[0] == '/') {
        EXPECT_EQ(defaultKeyCachePath(),
                  std::string(me->pw_dir) + "/.cache/Numbers4Marvo/database-keys");
    }
    for (int entry : {0, 1}) {
        n4test::InjectedFaults noHome{{n4test::Call::UserEntry, ENOENT, "", entry}};
        EXPECT_EQ(defaultKeyCachePath(), "") << entry;
    }
}

TEST(KeyCache, TheStoreRemembersTheKeyThatOpenedTheFile) {
    if (!fastKeyDerivationAvailable()) GTEST_SKIP() << "no SHA extensions on this processor";
    const std::string folder = n4test::tempFolder();
    auto conn = DbConnectionString::forProgramFolder(folder);
    conn.keyCachePath = cacheIn(folder);
    ASSERT_TRUE(DrawStore::create(conn, draws({{1, 2, 3, 4}, {5, 6, 7, 8}})));
    const DatabaseSalt salt = fileSalt(conn.dataSource);
    StoreResult r;
    ASSERT_TRUE(DrawStore::open(conn, r)) << r.message;
    EXPECT_EQ(recallDatabaseKey(conn.keyCachePath, salt), deriveDatabaseKey(conn.password, salt));
}

TEST(KeyCache, TheStoreOpensWithTheRememberedKey) {
    // A file whose key no password gives opens only through the cache.
    const std::string folder = n4test::tempFolder();
    auto conn = DbConnectionString::forProgramFolder(folder);
    conn.keyCachePath = cacheIn(folder);
    makeStoreWithRawKey(conn.dataSource, keyOf(7));
    StoreResult r;
    EXPECT_FALSE(DrawStore::open(conn, r)); // nothing remembered yet
    ASSERT_TRUE(rememberDatabaseKey(conn.keyCachePath, fileSalt(conn.dataSource), keyOf(7)));
    auto store = DrawStore::open(conn, r);
    ASSERT_TRUE(store) << r.message;
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].digits[0], 9);
}

TEST(KeyCache, AWrongRememberedKeyIsReplacedByTheRightOne) {
    const std::string folder = n4test::tempFolder();
    auto conn = DbConnectionString::forProgramFolder(folder);
    conn.keyCachePath = cacheIn(folder);
    ASSERT_TRUE(DrawStore::create(conn, draws({{1, 2, 3, 4}, {5, 6, 7, 8}})));
    const DatabaseSalt salt = fileSalt(conn.dataSource);
    ASSERT_TRUE(rememberDatabaseKey(conn.keyCachePath, salt, keyOf(1)));
    StoreResult r;
    auto store = DrawStore::open(conn, r);
    ASSERT_TRUE(store) << r.message;
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    EXPECT_EQ(t.size(), 2u);
    if (fastKeyDerivationAvailable()) {
        EXPECT_EQ(recallDatabaseKey(conn.keyCachePath, salt),
                  deriveDatabaseKey(conn.password, salt));
    }
}
