#include "data/DrawStore.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>

namespace n4 {

namespace {

// The program's database password. Six decimal digits, as users of the
// original Jet files knew it; it is never shown or logged.
constexpr const char* kDatabasePassword = "480724";

constexpr const char* kSchema = "CREATE TABLE 当選番号 ("
                                " 回数 INTEGER PRIMARY KEY CHECK (回数 BETWEEN 1 AND 99999),"
                                " 第1数字 INTEGER NULL CHECK (第1数字 BETWEEN 0 AND 9),"
                                " 第2数字 INTEGER NULL CHECK (第2数字 BETWEEN 0 AND 9),"
                                " 第3数字 INTEGER NULL CHECK (第3数字 BETWEEN 0 AND 9),"
                                " 第4数字 INTEGER NULL CHECK (第4数字 BETWEEN 0 AND 9));"
                                "CREATE VIEW 全データ選択クエリ AS"
                                " SELECT 回数, 第1数字, 第2数字, 第3数字, 第4数字 FROM 当選番号;";

const char* kDigitColumns[4] = {"第1数字", "第2数字", "第3数字", "第4数字"};

std::string quoteKey(const std::string& key) {
    std::string q = "'";
    for (char c : key) {
        if (c == '\'') q += '\'';
        q += c;
    }
    return q + "'";
}

// A field value as the analyses see it: a digit, absent (NULL or empty
// text), or something else from a damaged or foreign file, kept as it is (or
// kUnreadableDigit for text that is no number) so the row counts as
// incomplete and the data-entry check can point at it.
int digitValue(sqlite3_stmt* st, int col) {
    switch (sqlite3_column_type(st, col)) {
    case SQLITE_NULL:
        return kAbsentDigit;
    case SQLITE_INTEGER: {
        sqlite3_int64 v = sqlite3_column_int64(st, col);
        return v >= -1000000 && v <= 1000000 && v != kAbsentDigit ? static_cast<int>(v)
                                                                  : kUnreadableDigit;
    }
    default: {
        const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
        if (!t || !*t) return kAbsentDigit;
        if (t[0] >= '0' && t[0] <= '9' && t[1] == '\0') return t[0] - '0';
        return kUnreadableDigit;
    }
    }
}

class Statement {
  public:
    Statement(sqlite3* db, const char* sql) {
        rc_ = sqlite3_prepare_v2(db, sql, -1, &st_, nullptr);
    }
    ~Statement() { sqlite3_finalize(st_); }
    bool ok() const { return rc_ == SQLITE_OK; }
    sqlite3_stmt* get() const { return st_; }
    void bindDigit(int index, int digit) {
        if (digit == kAbsentDigit)
            sqlite3_bind_null(st_, index);
        else
            sqlite3_bind_int(st_, index, digit);
    }

  private:
    sqlite3_stmt* st_ = nullptr;
    int rc_;
};

} // namespace

DbConnectionString DbConnectionString::forProgramFolder(const std::string& folder) {
    return {folder + "/" + kDatabaseFileName, kDatabasePassword};
}

std::string DbConnectionString::text() const {
    return "Data Source=" + dataSource + ";Password=" + std::string(password.size(), '*');
}

DrawStore::~DrawStore() {
    sqlite3_close(db_);
}

namespace {

StoreResult refuse(const std::string& path, const std::string& why) {
    return StoreResult::failure("データベース「" + path + "」" + why);
}

// Sets the key, then reads: a wrong key or a foreign file only shows at the
// first real read. hasView tells whether the file holds our schema.
StoreResult unlock(sqlite3* db, const DbConnectionString& conn, bool& hasView) {
    const std::string keySql = "PRAGMA key = " + quoteKey(conn.password);
    if (sqlite3_exec(db, keySql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return refuse(conn.dataSource, "の暗号化を設定できません。");
    Statement probe(db, "SELECT count(*) FROM sqlite_master WHERE name = '全データ選択クエリ'");
    if (!probe.ok() || sqlite3_step(probe.get()) != SQLITE_ROW)
        return refuse(conn.dataSource, "を読めません。パスワードが違うか、このプログラムの"
                                       "データベースではないか、ファイルが壊れています。");
    hasView = sqlite3_column_int(probe.get(), 0) > 0;
    return StoreResult::success();
}

} // namespace

std::unique_ptr<DrawStore> DrawStore::open(const DbConnectionString& conn, StoreResult& result,
                                           bool* created) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool exists = fs::exists(conn.dataSource, ec);
    if (created) *created = !exists;
    if (exists && fs::file_size(conn.dataSource, ec) == 0) {
        result = refuse(conn.dataSource,
                        "は空のファイルです。このプログラムのデータベースではありません。");
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE);
    if (sqlite3_open_v2(conn.dataSource.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        result = refuse(conn.dataSource, "を開けません。");
        return nullptr;
    }
    std::unique_ptr<DrawStore> store(new DrawStore(db, conn.dataSource));
    bool hasView = false;
    if (result = unlock(db, conn, hasView); !result) return nullptr;
    if (!hasView && exists) {
        result = refuse(conn.dataSource, "にはこのプログラムの当選データがありません。");
        return nullptr;
    }
    store->exec("PRAGMA synchronous = FULL");
    // Another copy of the program reading the file briefly holds a lock.
    sqlite3_busy_timeout(db, 3000);
    if (!hasView && !(result = store->exec(kSchema))) {
        store.reset();
        fs::remove(conn.dataSource, ec); // nothing half-made stays behind
        return nullptr;
    }
    result = StoreResult::success();
    return store;
}

StoreResult DrawStore::exec(const char* sql) const {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) return failure("実行");
    return StoreResult::success();
}

StoreResult DrawStore::failure(const char* what) const {
    return StoreResult::failure("データベース「" + path_ + "」の" + what +
                                "に失敗しました: " + sqlite3_errmsg(db_));
}

StoreResult DrawStore::readAll(DrawTable& out) const {
    Statement st(db_, kSelectAllDraws);
    if (!st.ok()) return failure("読み込み");
    // Fields are read by name, whatever order the view lists them in.
    int noCol = -1, digitCol[4] = {-1, -1, -1, -1};
    for (int i = 0; i < sqlite3_column_count(st.get()); ++i) {
        std::string n = sqlite3_column_name(st.get(), i);
        if (n == "回数") noCol = i;
        for (int p = 0; p < 4; ++p)
            if (n == kDigitColumns[p]) digitCol[p] = i;
    }
    if (noCol < 0 || digitCol[0] < 0 || digitCol[1] < 0 || digitCol[2] < 0 || digitCol[3] < 0)
        return StoreResult::failure("データベース「" + path_ + "」の項目が足りません。");
    DrawTable rows;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        DrawRecord r;
        r.drawNo = sqlite3_column_int(st.get(), noCol);
        for (int p = 0; p < 4; ++p)
            r.digits[p] = digitValue(st.get(), digitCol[p]);
        rows.push_back(r);
    }
    if (rc != SQLITE_DONE) return failure("読み込み");
    out = std::move(rows);
    return StoreResult::success();
}

StoreResult DrawStore::inTransaction(const std::function<StoreResult()>& body) {
    if (auto r = exec("BEGIN IMMEDIATE"); !r) return r;
    StoreResult r = body();
    if (!r) {
        exec("ROLLBACK");
        return r;
    }
    if (auto c = exec("COMMIT"); !c) {
        exec("ROLLBACK");
        return c;
    }
    return r;
}

StoreResult DrawStore::upsert(const std::vector<DrawRecord>& rows) {
    return inTransaction([&]() -> StoreResult {
        Statement st(db_,
                     "INSERT OR REPLACE INTO 当選番号 (回数, 第1数字, 第2数字, 第3数字, 第4数字)"
                     " VALUES (?, ?, ?, ?, ?)");
        if (!st.ok()) return failure("書き込み");
        for (const DrawRecord& r : rows) {
            sqlite3_reset(st.get());
            sqlite3_bind_int(st.get(), 1, r.drawNo);
            for (int p = 0; p < 4; ++p)
                st.bindDigit(p + 2, r.digits[p]);
            if (sqlite3_step(st.get()) != SQLITE_DONE) return failure("書き込み");
        }
        return StoreResult::success();
    });
}

StoreResult DrawStore::setDigit(int drawNo, int position, int digit) {
    if (position < 1 || position > 4) return StoreResult::failure("位置が正しくありません。");
    std::string sql =
        std::string("UPDATE 当選番号 SET ") + kDigitColumns[position - 1] + " = ? WHERE 回数 = ?";
    return inTransaction([&]() -> StoreResult {
        Statement st(db_, sql.c_str());
        if (!st.ok()) return failure("書き込み");
        st.bindDigit(1, digit);
        sqlite3_bind_int(st.get(), 2, drawNo);
        if (sqlite3_step(st.get()) != SQLITE_DONE) return failure("書き込み");
        if (sqlite3_changes(db_) != 1) return failure("書き込み");
        return StoreResult::success();
    });
}

StoreResult DrawStore::insertEmpty(int drawNo) {
    return inTransaction([&]() -> StoreResult {
        Statement st(db_, "INSERT INTO 当選番号 (回数) VALUES (?)");
        if (!st.ok()) return failure("行追加");
        sqlite3_bind_int(st.get(), 1, drawNo);
        if (sqlite3_step(st.get()) != SQLITE_DONE) return failure("行追加");
        return StoreResult::success();
    });
}

StoreResult DrawStore::remove(int drawNo) {
    return inTransaction([&]() -> StoreResult {
        Statement st(db_, "DELETE FROM 当選番号 WHERE 回数 = ?");
        if (!st.ok()) return failure("行削除");
        sqlite3_bind_int(st.get(), 1, drawNo);
        if (sqlite3_step(st.get()) != SQLITE_DONE) return failure("行削除");
        return StoreResult::success();
    });
}

std::string DrawStore::cipherVersion() const {
    Statement st(db_, "PRAGMA cipher_version");
    if (!st.ok() || sqlite3_step(st.get()) != SQLITE_ROW) return {};
    const unsigned char* t = sqlite3_column_text(st.get(), 0);
    return t ? reinterpret_cast<const char*>(t) : "";
}

bool DrawStore::integrityOk() const {
    Statement st(db_, "PRAGMA integrity_check");
    if (!st.ok() || sqlite3_step(st.get()) != SQLITE_ROW) return false;
    const unsigned char* t = sqlite3_column_text(st.get(), 0);
    return t && std::string(reinterpret_cast<const char*>(t)) == "ok";
}

} // namespace n4
