// Start-up load of the largest history from the encrypted store, beside the
// same rows read with the plain sqlite3 API from an unencrypted copy; and the
// key derivation by nettle beside SQLCipher's (the password given, the
// first page read).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>

#include "BenchSupport.h"
#include "core/store/DatabaseKey.h"
#include "core/store/DrawStore.h"
#include "core/store/StartupFigures.h"

namespace {

struct Files {
    std::string folder, plain;
    Files() {
        folder = (std::filesystem::temp_directory_path() / "n4bench-load").string();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        n4::StoreResult r;
        auto store = n4::DrawStore::open(n4::DbConnectionString::forProgramFolder(folder), r);
        store->upsert(n4bench::syntheticHistory(n4bench::kLargestHistory));
        plain = folder + "/plain.db";
        sqlite3* db = nullptr;
        sqlite3_open(plain.c_str(), &db);
        sqlite3_exec(
            db,
            "CREATE TABLE t (回数 INTEGER PRIMARY KEY, 第1数字, 第2数字, 第3数字, 第4数字);"
            "CREATE VIEW 全データ選択クエリ AS SELECT * FROM t;",
            nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const auto& d : n4bench::syntheticHistory(n4bench::kLargestHistory)) {
            std::string sql = "INSERT INTO t VALUES (" + std::to_string(d.drawNo);
            for (int x : d.digits)
                sql += "," + std::to_string(x);
            sqlite3_exec(db, (sql + ")").c_str(), nullptr, nullptr, nullptr);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

const Files& files() {
    static Files f;
    return f;
}

void BM_StartupLoadEncrypted(benchmark::State& state) {
    const auto conn = n4::DbConnectionString::forProgramFolder(files().folder);
    for (auto _ : state) {
        n4::StoreResult r;
        auto store = n4::DrawStore::open(conn, r);
        n4::DrawTable t;
        store->readAll(t);
        auto figures = n4::computeStartupFigures(t);
        benchmark::DoNotOptimize(figures.latestDrawNo);
    }
}
BENCHMARK(BM_StartupLoadEncrypted)->Unit(benchmark::kMillisecond);

void BM_PlainSqliteRead(benchmark::State& state) {
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(files().plain.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "select * from 全データ選択クエリ order by 回数", -1, &st, nullptr);
        n4::DrawTable t;
        while (sqlite3_step(st) == SQLITE_ROW) {
            n4::DrawRecord r{sqlite3_column_int(st, 0), {}};
            for (int p = 0; p < 4; ++p)
                r.digits[p] = sqlite3_column_int(st, p + 1);
            t.push_back(r);
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
        benchmark::DoNotOptimize(t.size());
    }
}
BENCHMARK(BM_PlainSqliteRead)->Unit(benchmark::kMillisecond);

void BM_KeyDerivationNettle(benchmark::State& state) {
    const n4::DatabaseSalt salt{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (auto _ : state)
        benchmark::DoNotOptimize(n4::deriveDatabaseKey("480724", salt));
}
BENCHMARK(BM_KeyDerivationNettle)->Unit(benchmark::kMillisecond);

void BM_KeyDerivationSqlcipher(benchmark::State& state) {
    const auto conn = n4::DbConnectionString::forProgramFolder(files().folder);
    const std::string key = "PRAGMA key = '" + conn.password + "'";
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(conn.dataSource.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(db, key.c_str(), nullptr, nullptr, nullptr);
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
}
BENCHMARK(BM_KeyDerivationSqlcipher)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return n4bench::runWithRatios(argc, argv,
                                  {{"encrypted store / plain sqlite3 read",
                                    "BM_StartupLoadEncrypted", "BM_PlainSqliteRead", ""},
                                   {"key derivation: SQLCipher's / nettle's",
                                    "BM_KeyDerivationSqlcipher", "BM_KeyDerivationNettle", ""}});
}
