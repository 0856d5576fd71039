// The store's own key derivation must give exactly SQLCipher's key, or the
// draw database would not open (the store then falls back to the password).
#include <gtest/gtest.h>

#include <cstdio>
#include <sqlite3.h>

#include "TestSupport.h"
#include "core/store/DrawStore.h"
#include "core/store/KeyDerivation.h"

using namespace n4;

namespace {

std::string hex(const std::string& bytes) {
    std::string out;
    char buf[3];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", c);
        out += buf;
    }
    return out;
}

} // namespace

TEST(KeyDerivation, MatchesThePublishedPbkdf2HmacSha1Vectors) {
    if (!fastKeyDerivationAvailable()) GTEST_SKIP() << "no SHA extensions on this processor";
    // RFC 6070.
    EXPECT_EQ(hex(*pbkdf2HmacSha1("password", "salt", 1, 20)),
              "0c60c80f961f0e71f3a9b524af6012062fe037a6");
    EXPECT_EQ(hex(*pbkdf2HmacSha1("password", "salt", 2, 20)),
              "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957");
    EXPECT_EQ(hex(*pbkdf2HmacSha1("password", "salt", 4096, 20)),
              "4b007901b765489abead49d926f721d065a429c1");
    EXPECT_EQ(hex(*pbkdf2HmacSha1("passwordPASSWORDpassword",
                                  "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 25)),
              "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038");
    EXPECT_EQ(
        hex(*pbkdf2HmacSha1(std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096, 16)),
        "56fa6aa75548099dcc37d7f03425e0c3");
}

TEST(KeyDerivation, RefusesWhatItCannotDo) {
    EXPECT_FALSE(pbkdf2HmacSha1(std::string(65, 'x'), "salt", 1, 20));
    EXPECT_FALSE(pbkdf2HmacSha1("password", std::string(52, 's'), 1, 20));
    EXPECT_FALSE(pbkdf2HmacSha1("password", "salt", 0, 20));
}

TEST(KeyDerivation, TheDerivedKeyOpensTheStoreAsSqlcipherKeyedIt) {
    if (!fastKeyDerivationAvailable()) GTEST_SKIP() << "no SHA extensions on this processor";
    const auto conn = DbConnectionString::forProgramFolder(n4test::tempFolder());
    ASSERT_TRUE(DrawStore::create(conn, draws({{1, 2, 3, 4}, {5, 6, 7, 8}})));
    DatabaseSalt salt;
    const std::string file = n4test::readFile(conn.dataSource);
    ASSERT_GE(file.size(), salt.size());
    std::copy(file.begin(), file.begin() + salt.size(), salt.begin());
    auto readsWith = [&](const std::string& password) {
        const DatabaseKey key = *deriveDatabaseKey(password, salt);
        std::string sql = "PRAGMA key = \"x'" +
                          hex(std::string(reinterpret_cast<const char*>(key.data()), key.size())) +
                          "'\"";
        sqlite3* db = nullptr;
        sqlite3_open_v2(conn.dataSource.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        std::string rows;
        if (sqlite3_prepare_v2(db, "SELECT * FROM 全データ選択クエリ ORDER BY 回数", -1, &st,
                               nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW)
                for (int c = 0; c < 5; ++c)
                    rows += std::to_string(sqlite3_column_int(st, c));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return rows;
    };
    EXPECT_EQ(readsWith(conn.password), "1123425678");
    EXPECT_EQ(readsWith("000000"), ""); // another password's key opens nothing
    // And the store itself, which now takes the derived key first, reads it whole.
    StoreResult r;
    auto store = DrawStore::open(conn, r);
    ASSERT_TRUE(store) << r.message;
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    EXPECT_EQ(t.size(), 2u);
}

TEST(KeyDerivation, TheLongestPasswordAndSaltAndEveryOutputLength) {
    if (!fastKeyDerivationAvailable()) GTEST_SKIP() << "no SHA extensions on this processor";
    // Values from Python's hashlib.pbkdf2_hmac.
    EXPECT_EQ(hex(*pbkdf2HmacSha1(std::string(64, 'p'), std::string(51, 's'), 3, 41)),
              "5561034febf638d37ae0e9c813bd6ef3dcf566e4d60f908f4811b9384214214630e22fcca0be28d0d1");
    EXPECT_EQ(hex(*pbkdf2HmacSha1(std::string(63, 'p'), std::string(50, 's'), 1, 40)),
              "cd6779edc6f2657786e2bb55a561091df6473723f038f58f39b9ce13ca0f0ae4d3a705316cde555c");
    EXPECT_EQ(hex(*pbkdf2HmacSha1("", "", 2, 21)), "620c000a06fed9c10bca11516b3ac0228d6717007c");
    EXPECT_EQ(*pbkdf2HmacSha1("x", "y", 1, 0), "");
    // The database key: 64,000 rounds over a 16-byte salt, 32 bytes.
    DatabaseSalt salt;
    for (std::size_t i = 0; i < salt.size(); ++i)
        salt[i] = static_cast<std::uint8_t>(i);
    const DatabaseKey key = *deriveDatabaseKey("480724", salt);
    EXPECT_EQ(hex(std::string(reinterpret_cast<const char*>(key.data()), key.size())),
              "b5f1bdd4116d209e094f8085b5f73044796e4b104887c6ee76daa64442ed16bc");
}

#include <fstream>
#include <sstream>

TEST(KeyDerivation, TheFastDerivationIsUsedWhereverTheProcessorHasTheInstructions) {
    // The kernel lists the processor's features; the derivation needs the
    // SHA extensions, SSSE3 and SSE4.1 (x86-64 only).
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line, flags;
    while (std::getline(cpuinfo, line))
        if (line.rfind("flags", 0) == 0) {
            flags = line.substr(line.find(':') + 1) + " ";
            break;
        }
    if (flags.empty()) GTEST_SKIP() << "no processor flags listed";
    auto has = [&](const char* flag) {
        return flags.find(std::string(" ") + flag + " ") != std::string::npos;
    };
#if defined(__x86_64__)
    EXPECT_EQ(fastKeyDerivationAvailable(), has("sha_ni") && has("ssse3") && has("sse4_1"))
        << flags;
#else
    EXPECT_FALSE(fastKeyDerivationAvailable());
#endif
}
