#include "core/store/DrawStore.h"

#include <sqlite3.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>

#include "core/store/AtomicFile.h"
#include "core/store/DatabaseKey.h"

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
// Each draw's date and prizes, beside the draw table and its view, which stay
// as they always were (older readers select the draws as before). A row only
// for a draw with something known; NULL where a value is unknown.
constexpr const char* kDetailsTable = "当選詳細";
constexpr const char* kCreateDetails =
    "CREATE TABLE IF NOT EXISTS 当選詳細 ("
    " 回数 INTEGER PRIMARY KEY CHECK (回数 BETWEEN 1 AND 99999),"
    " 抽せん日 INTEGER NULL CHECK (抽せん日 BETWEEN 19000101 AND 99991231),"
    " ストレート INTEGER NULL CHECK (ストレート >= 0),"
    " ボックス INTEGER NULL CHECK (ボックス >= 0),"
    " セットストレート INTEGER NULL CHECK (セットストレート >= 0),"
    " セットボックス INTEGER NULL CHECK (セットボックス >= 0));";
// The ticket ledger, in the order entered; a ticket of one draw has its
// 最終回 equal to its 回.
constexpr const char* kTicketsTable = "購入記録";
constexpr const char* kCreateTickets =
    "CREATE TABLE IF NOT EXISTS 購入記録 ("
    " 記録番号 INTEGER PRIMARY KEY,"
    " 回 INTEGER NOT NULL CHECK (回 BETWEEN 1 AND 99999),"
    " 最終回 INTEGER NOT NULL CHECK (最終回 BETWEEN 回 AND 99999),"
    " 番号 INTEGER NOT NULL CHECK (番号 BETWEEN 0 AND 9999),"
    " 種類 TEXT NOT NULL CHECK (種類 IN ('ストレート', 'ボックス', 'セット')),"
    " 口数 INTEGER NOT NULL CHECK (口数 BETWEEN 1 AND 9999));";
constexpr const char* kCreateView =
    "CREATE VIEW 全データ選択クエリ AS"
    " SELECT 回数, 第1数字, 第2数字, 第3数字, 第4数字 FROM 当選番号;";

const char* const kDigitColumns[] = {"第1数字", "第2数字", "第3数字", "第4数字"};

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
// The value is the statement's own column value, read once and asked for its
// type and number: half the calls of asking the statement for each (the read
// of 32,764 rows took 5 ms, 1 ms of it in those calls). Store connections
// have no mutex (one thread each), so the value needs no protecting.
int digitValue(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return kAbsentDigit;
    case SQLITE_INTEGER: {
        sqlite3_int64 n = sqlite3_value_int64(v);
        return n >= -1000000 && n <= 1000000 && n != kAbsentDigit ? static_cast<int>(n)
                                                                  : kUnreadableDigit;
    }
    default: {
        const char* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
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
    DbConnectionString conn;
    conn.dataSource = folder + "/" + kDatabaseFileName;
    conn.password = kDatabasePassword;
    return conn;
}

std::string DbConnectionString::text() const {
    return "Data Source=" + dataSource + ";Password=" + std::string(password.size(), '*');
}

DrawStore::DrawStore(sqlite3* db, std::string path)
    : db_(db), path_(std::move(path)), opened_(FileStamp::of(path_)) {}

DrawStore::~DrawStore() {
    sqlite3_close(db_);
}

namespace {

StoreResult refuse(const std::string& path, const std::string& why) {
    return StoreResult::failure("データベース「" + path + "」" + why);
}

bool isBusy(sqlite3* db) {
    const int code = sqlite3_errcode(db);
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

StoreResult busy(const std::string& path) {
    return refuse(path, "は他のプログラムが使用中です。しばらくしてからやり直してください。");
}

// Sets the key, then reads: a wrong key or a foreign file only shows at the
// first real read. The busy timeout comes first, so that a lock held by another
// copy of the program is waited for, not taken for a wrong key.
StoreResult unlock(sqlite3* db, const DbConnectionString& conn, const std::string& keySql) {
    sqlite3_busy_timeout(db, conn.busyTimeoutMs);
    if (sqlite3_exec(db, keySql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return refuse(conn.dataSource, "の暗号化を設定できません。");
    Statement probe(db, "SELECT count(*) FROM sqlite_master");
    if (probe.ok() && sqlite3_step(probe.get()) == SQLITE_ROW) return StoreResult::success();
    if (isBusy(db)) return busy(conn.dataSource);
    return refuse(conn.dataSource, "を読めません。パスワードが違うか、このプログラムの"
                                   "データベースではないか、ファイルが壊れています。");
}

// The file's salt where this program can give SQLCipher a finished key as
// SQLCipher 3 derives it (DatabaseKey.h): the salt is the file's first 16
// bytes. Nothing for a new or short file or another SQLCipher; the password is
// given then.
std::optional<DatabaseSalt> saltForFinishedKey(sqlite3* db, const DbConnectionString& conn) {
    Statement version(db, "PRAGMA cipher_version");
    if (!version.ok() || sqlite3_step(version.get()) != SQLITE_ROW) return std::nullopt;
    const unsigned char* v = sqlite3_column_text(version.get(), 0);
    if (!v || v[0] != '3' || v[1] != '.') return std::nullopt;
    DatabaseSalt salt;
    std::ifstream file(conn.dataSource, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(salt.data()), salt.size())) return std::nullopt;
    return salt;
}

std::string finishedKeySql(const DatabaseKey& key) {
    static const char* const kHex = "0123456789abcdef";
    std::string sql = "PRAGMA key = \"x'";
    for (std::uint8_t byte : key) {
        sql += kHex[byte >> 4];
        sql += kHex[byte & 15];
    }
    return sql + "'\"";
}

// The ways to the key, in the order they are tried: the key as this run
// derived it, the password as SQLCipher always took it.
enum class KeyWay { Finished, Password };

// What the file holds of our schema: all of it, nothing but (part of) it, or
// something else.
// Empty: no table, view or index at all (a file just made, or left by an
// interrupted creation). Incomplete: the draw table without its view.
enum class Schema { Whole, Incomplete, Empty, Foreign };

bool hasTable(sqlite3* db, const char* name) {
    Statement st(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    if (!st.ok()) return false;
    sqlite3_bind_text(st.get(), 1, name, -1, SQLITE_STATIC);
    return sqlite3_step(st.get()) == SQLITE_ROW;
}

int detailValue(sqlite3_value* v) {
    if (sqlite3_value_type(v) != SQLITE_INTEGER) return kUnknown;
    const sqlite3_int64 n = sqlite3_value_int64(v);
    return n >= 0 && n <= 2000000000 ? static_cast<int>(n) : kUnknown;
}

Schema schemaOf(sqlite3* db) {
    Statement st(db, "SELECT type, name FROM sqlite_master");
    bool table = false, view = false, other = false;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
        const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1));
        if (type == "table" && name == "当選番号")
            table = true;
        else if (type == "view" && name == "全データ選択クエリ")
            view = true;
        else if (type == "table" && (name == kDetailsTable || name == kTicketsTable))
            continue;
        else if (name.rfind("sqlite_autoindex_当選番号", 0) != 0)
            other = true;
    }
    if (rc != SQLITE_DONE || other) return Schema::Foreign;
    if (table && view) return Schema::Whole;
    if (view) return Schema::Foreign;
    return table ? Schema::Incomplete : Schema::Empty;
}

} // namespace

std::unique_ptr<DrawStore> DrawStore::connect(const DbConnectionString& conn, StoreResult& result,
                                              bool readOnly) {
    // Each way on a fresh connection; the next is tried only when the file
    // does not open with a finished key (a busy file is not retried).
    std::optional<DatabaseSalt> salt;
    bool saltRead = false;
    for (KeyWay way : {KeyWay::Finished, KeyWay::Password}) {
        sqlite3* db = nullptr;
        // One store, one thread at a time: the connection needs no locking of
        // its own (it took a lock for every field of every row read).
        if (sqlite3_open_v2(conn.dataSource.c_str(), &db,
                            (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                                SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            result = refuse(conn.dataSource, "を開けません。");
            return nullptr;
        }
        std::unique_ptr<DrawStore> store(new DrawStore(db, conn.dataSource));
        if (!saltRead) salt = saltForFinishedKey(db, conn), saltRead = true;
        std::optional<DatabaseKey> key;
        if (salt && way == KeyWay::Finished) key = databaseKeyFor(conn.password, *salt);
        if (way != KeyWay::Password && !key) continue;
        result = unlock(db, conn,
                        key ? finishedKeySql(*key) : "PRAGMA key = " + quoteKey(conn.password));
        if (!result && key && !isBusy(db)) continue;
        if (!result) return nullptr;
        if (result = store->exec("PRAGMA synchronous = FULL"); !result) return nullptr;
        return store;
    }
    return nullptr; // not reached: the password way always returns
}

StoreResult DrawStore::createFile(const DbConnectionString& conn,
                                  const std::vector<DrawRecord>& rows, bool& alreadyThere) {
    alreadyThere = false;
    removeStaleTemporaries(conn.dataSource);
    DbConnectionString temp = conn;
    temp.dataSource = createTemporaryBeside(conn.dataSource);
    if (temp.dataSource.empty())
        return refuse(conn.dataSource, "を作成できません（フォルダーに書き込めません）。");
    auto discard = [&temp](StoreResult r) {
        std::error_code ec;
        std::filesystem::remove(temp.dataSource, ec);
        std::filesystem::remove(temp.dataSource + "-journal", ec);
        return r;
    };
    StoreResult r;
    {
        auto store = connect(temp, r);
        if (store)
            r = store->inTransaction([&] {
                if (auto s = store->exec(kSchema); !s) return s;
                if (auto s = store->exec(kCreateDetails); !s) return s;
                if (auto s = store->exec(kCreateTickets); !s) return s;
                return store->writeRows(rows);
            });
        if (!r) return discard(refuse(conn.dataSource, "を作成できません: " + r.message));
    }
    switch (publishFile(temp.dataSource, conn.dataSource, Publish::Exclusive)) {
    case PublishOutcome::Done:
        return StoreResult::success();
    case PublishOutcome::AlreadyThere:
        alreadyThere = true;
        return discard(refuse(conn.dataSource, "はすでにあります。"));
    case PublishOutcome::Failed:
        break;
    }
    return discard(refuse(conn.dataSource, "を作成できません（名前を付けられません）。"));
}

StoreResult DrawStore::create(const DbConnectionString& conn, const std::vector<DrawRecord>& rows) {
    if (!isPlainFilePath(conn.dataSource))
        return refuse(conn.dataSource, "はファイルの名前として使えません。");
    bool alreadyThere = false;
    return createFile(conn, rows, alreadyThere);
}

// A file that an interrupted creation left empty, or with the table but not
// the view, holds no draws of ours yet: the missing part is made in one
// transaction. Anything else is not touched.
StoreResult DrawStore::completeSchema(bool& completed, bool readOnly) {
    completed = false;
    const Schema schema = schemaOf(db_);
    switch (schema) {
    case Schema::Whole:
        // A database of an earlier version gains the tables kept beside the
        // draws, silently, in one transaction; a reader leaves it as it is
        // and reads none of them.
        if (readOnly || (hasTable(db_, kDetailsTable) && hasTable(db_, kTicketsTable)))
            return StoreResult::success();
        return inTransaction([&] {
            StoreResult made = exec(kCreateDetails);
            return made ? exec(kCreateTickets) : made;
        });
    case Schema::Foreign:
        return isBusy(db_) ? busy(path_)
                           : refuse(path_, "にはこのプログラムの当選データがありません。");
    case Schema::Incomplete:
    case Schema::Empty:
        break;
    }
    const bool empty = schema == Schema::Empty;
    StoreResult r = inTransaction([&]() -> StoreResult {
        if (auto made = exec(empty ? kSchema : kCreateView); !made) return made;
        if (auto made = exec(kCreateDetails); !made) return made;
        return exec(kCreateTickets);
    });
    if (!r) return r;
    if (empty) ::chmod(path_.c_str(), S_IRUSR | S_IWUSR);
    completed = true;
    return StoreResult::success();
}

namespace {
std::atomic<int> quickChecks{0};
} // namespace

int DrawStore::quickChecksRun() {
    return quickChecks.load();
}

StoreResult DrawStore::quickCheck() const {
    ++quickChecks;
    Statement st(db_, "PRAGMA quick_check");
    if (st.ok() && sqlite3_step(st.get()) == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(st.get(), 0);
        if (t && std::string(reinterpret_cast<const char*>(t)) == "ok") {
            noteFileChecked(path_);
            return StoreResult::success();
        }
    }
    if (isBusy(db_)) return busy(path_);
    return refuse(path_, "は壊れています（検査で異常が見つかりました）。"
                         "このファイルには何も書き込んでいません。");
}

std::unique_ptr<DrawStore> DrawStore::open(const DbConnectionString& conn, StoreResult& result,
                                           bool* created, IfMissing ifMissing) {
    const std::string& path = conn.dataSource;
    if (created) *created = false;
    if (!isPlainFilePath(path)) {
        result = refuse(path, "はファイルの名前として使えません。");
        return nullptr;
    }
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            result = refuse(path, "を開けません。");
            return nullptr;
        }
        if (ifMissing != IfMissing::Create) {
            result = refuse(path, "が見つかりません。");
            return nullptr;
        }
        bool alreadyThere = false; // another copy made it first: use theirs
        if (result = createFile(conn, {}, alreadyThere); !result && !alreadyThere) return nullptr;
        if (created) *created = !alreadyThere;
    } else if (!S_ISREG(st.st_mode)) {
        result = refuse(path, "は普通のファイルではありません。");
        return nullptr;
    }
    const bool readOnly = ifMissing == IfMissing::ReadOnly;
    auto store = connect(conn, result, readOnly);
    bool completed = false;
    if (store && readOnly && schemaOf(store->db_) == Schema::Empty)
        store->noSchema_ = true; // left as it is
    else if (store && !(result = store->completeSchema(completed, readOnly)))
        return nullptr;
    if (store && !(result = store->quickCheck())) return nullptr;
    if (!store) return nullptr;
    store->noteChecked();
    result = StoreResult::success();
    if (completed)
        result.message = "データベース「" + path +
                         "」は作成の途中で終わっていました（当選データはありません）。"
                         "作り直しました。";
    return store;
}

bool DrawStore::stillOpenAtPath() const {
    return opened_.sameFile(FileStamp::of(path_));
}

void DrawStore::noteChecked() {
    checkedVersion_ = dataVersion();
    checkedOwnWrites_ = ownWritesTo(path_);
}

StoreResult DrawStore::recheckIfChangedElsewhere() {
    if (!stillOpenAtPath()) return refuse(path_, "は別のプログラムによって置き換えられました。");
    // Another connection committed, and none of the program's own did.
    const bool versionMoved =
        dataVersion() != checkedVersion_ && ownWritesTo(path_) == checkedOwnWrites_;
    const bool elsewhere = changedElsewhereSinceCheck(path_) || versionMoved;
    StoreResult r = elsewhere ? quickCheck() : StoreResult::success();
    if (r) noteChecked();
    return r;
}

StoreResult DrawStore::exec(const char* sql) const {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) return failure("実行");
    return StoreResult::success();
}

StoreResult DrawStore::failure(const char* what) const {
    if (isBusy(db_)) return busy(path_);
    return StoreResult::failure("データベース「" + path_ + "」の" + what +
                                "に失敗しました: " + sqlite3_errmsg(db_));
}

StoreResult DrawStore::readAll(DrawTable& out) const {
    if (noSchema_) {
        out.clear();
        return StoreResult::success();
    }
    Statement st(db_, kSelectAllDraws);
    if (!st.ok()) return failure("読み込み");
    // Fields are read by name, whatever order the view lists them in.
    constexpr int kNotListed = -1;
    int noCol = kNotListed, digitCol[] = {kNotListed, kNotListed, kNotListed, kNotListed};
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
            r.digits[p] = digitValue(sqlite3_column_value(st.get(), digitCol[p]));
        rows.push_back(r);
    }
    if (rc != SQLITE_DONE) return failure("読み込み");
    if (StoreResult d = readDetails(rows); !d) return d;
    out = std::move(rows);
    return StoreResult::success();
}

StoreResult DrawStore::readDetails(DrawTable& rows) const {
    if (!hasTable(db_, kDetailsTable)) return StoreResult::success(); // read-only, older file
    Statement st(db_,
                 "SELECT 回数, 抽せん日, ストレート, ボックス, セットストレート, セットボックス"
                 " FROM 当選詳細 ORDER BY 回数");
    if (!st.ok()) return failure("読み込み");
    auto at = rows.begin();
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        const int no = sqlite3_column_int(st.get(), 0);
        at = std::lower_bound(at, rows.end(), no,
                              [](const DrawRecord& r, int n) { return r.drawNo < n; });
        if (at == rows.end() || at->drawNo != no) continue; // details of no draw
        at->details.date = detailValue(sqlite3_column_value(st.get(), 1));
        for (int k = 0; k < 4; ++k)
            at->details.prizes[k] = detailValue(sqlite3_column_value(st.get(), k + 2));
    }
    return rc == SQLITE_DONE ? StoreResult::success() : failure("読み込み");
}

StoreResult DrawStore::writeDetails(int drawNo, const DrawDetails& d) {
    if (!d.anyKnown()) {
        Statement del(db_, "DELETE FROM 当選詳細 WHERE 回数 = ?");
        if (!del.ok()) return failure("書き込み");
        sqlite3_bind_int(del.get(), 1, drawNo);
        return sqlite3_step(del.get()) == SQLITE_DONE ? StoreResult::success()
                                                      : failure("書き込み");
    }
    Statement st(db_, "INSERT OR REPLACE INTO 当選詳細 (回数, 抽せん日, ストレート, ボックス,"
                      " セットストレート, セットボックス) VALUES (?, ?, ?, ?, ?, ?)");
    if (!st.ok()) return failure("書き込み");
    sqlite3_bind_int(st.get(), 1, drawNo);
    auto bind = [&st](int index, int value) {
        if (value == kUnknown)
            sqlite3_bind_null(st.get(), index);
        else
            sqlite3_bind_int(st.get(), index, value);
    };
    bind(2, d.date);
    for (int k = 0; k < 4; ++k)
        bind(k + 3, d.prizes[k]);
    return sqlite3_step(st.get()) == SQLITE_DONE ? StoreResult::success() : failure("書き込み");
}

StoreResult DrawStore::inTransaction(const std::function<StoreResult()>& body) {
    if (!sqlite3_get_autocommit(db_)) return body(); // joins the one under way
    if (auto r = exec("BEGIN IMMEDIATE"); !r) return r;
    // The write lock is held: what changed the file until now was not us.
    noteOwnWriteStarting(path_);
    StoreResult r = body();
    if (r)
        if (auto c = exec("COMMIT"); !c) r = c;
    if (!r) exec("ROLLBACK");
    noteOwnWriteEnded(path_);
    return r;
}

StoreResult DrawStore::writeRows(const std::vector<DrawRecord>& rows) {
    Statement st(db_, "INSERT OR REPLACE INTO 当選番号 (回数, 第1数字, 第2数字, 第3数字, 第4数字)"
                      " VALUES (?, ?, ?, ?, ?)");
    if (!st.ok()) return failure("書き込み");
    for (const DrawRecord& r : rows) {
        sqlite3_reset(st.get());
        sqlite3_bind_int(st.get(), 1, r.drawNo);
        for (int p = 0; p < 4; ++p)
            st.bindDigit(p + 2, r.digits[p]);
        if (sqlite3_step(st.get()) != SQLITE_DONE) return failure("書き込み");
        if (auto d = writeDetails(r.drawNo, r.details); !d) return d;
    }
    return StoreResult::success();
}

StoreResult DrawStore::upsert(const std::vector<DrawRecord>& rows) {
    return inTransaction([&] { return writeRows(rows); });
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

StoreResult DrawStore::replace(const std::vector<DrawRecord>& put,
                               const std::vector<int>& removed) {
    return inTransaction([&]() -> StoreResult {
        Statement del(db_, "DELETE FROM 当選番号 WHERE 回数 = ?");
        Statement ins(db_,
                      "INSERT OR REPLACE INTO 当選番号 (回数, 第1数字, 第2数字, 第3数字, 第4数字)"
                      " VALUES (?, ?, ?, ?, ?)");
        if (!del.ok() || !ins.ok()) return failure("書き込み");
        for (int drawNo : removed) {
            sqlite3_reset(del.get());
            sqlite3_bind_int(del.get(), 1, drawNo);
            if (sqlite3_step(del.get()) != SQLITE_DONE) return failure("行削除");
            if (auto d = writeDetails(drawNo, DrawDetails{}); !d) return d;
        }
        for (const DrawRecord& r : put) {
            sqlite3_reset(ins.get());
            sqlite3_bind_int(ins.get(), 1, r.drawNo);
            for (int p = 0; p < 4; ++p)
                ins.bindDigit(p + 2, r.digits[p]);
            if (sqlite3_step(ins.get()) != SQLITE_DONE) return failure("書き込み");
            if (auto d = writeDetails(r.drawNo, r.details); !d) return d;
        }
        return StoreResult::success();
    });
}

long long DrawStore::dataVersion() const {
    Statement st(db_, "PRAGMA data_version");
    if (!st.ok() || sqlite3_step(st.get()) != SQLITE_ROW) return -1;
    return sqlite3_column_int64(st.get(), 0);
}

std::optional<DrawRecord> DrawStore::readDraw(int drawNo, StoreResult& result) const {
    Statement st(db_, "SELECT 第1数字, 第2数字, 第3数字, 第4数字 FROM 当選番号 WHERE 回数 = ?");
    if (!st.ok()) {
        result = failure("読み込み");
        return std::nullopt;
    }
    sqlite3_bind_int(st.get(), 1, drawNo);
    const int rc = sqlite3_step(st.get());
    if (rc == SQLITE_DONE) return std::nullopt;
    if (rc != SQLITE_ROW) {
        result = failure("読み込み");
        return std::nullopt;
    }
    DrawRecord r{drawNo, {}, {}};
    for (int p = 0; p < 4; ++p)
        r.digits[p] = digitValue(sqlite3_column_value(st.get(), p));
    sqlite3_reset(st.get()); // done with the row before the details are read
    DrawTable one{r};
    if (StoreResult d = readDetails(one); !d) {
        result = d;
        return std::nullopt;
    }
    return one.front();
}

StoreResult DrawStore::applyChanges(const std::vector<RowChange>& changes) {
    return inTransaction([&]() -> StoreResult {
        for (const RowChange& c : changes) {
            StoreResult r;
            const std::optional<DrawRecord> now = readDraw(c.drawNo, r);
            if (!r) return r;
            bool holds = now.has_value() == c.from.has_value();
            if (holds && c.from && c.to) // only the digits that change must still be as seen
                for (int p = 0; p < 4; ++p)
                    holds = holds && (c.from->digits[p] == c.to->digits[p] ||
                                      now->digits[p] == c.from->digits[p]);
            else if (holds && c.from)
                holds = now->digits == c.from->digits;
            if (holds && c.from && c.to && c.from->details != c.to->details)
                holds = now->details == c.from->details;
            if (!holds) {
                StoreResult refused =
                    StoreResult::failure("第" + std::to_string(c.drawNo) +
                                         "回は、表示したあとに別のプログラムが変更しています。"
                                         "書き込まずに、いまの当選データを読み直しました。");
                refused.conflict = true;
                refused.conflictDraw = c.drawNo;
                return refused;
            }
            if (!c.to) {
                if (auto d = replace({}, {c.drawNo}); !d) return d;
            } else if (!c.from) {
                if (auto w = writeRows({*c.to}); !w) return w;
            } else {
                for (int p = 0; p < 4; ++p)
                    if (c.from->digits[p] != c.to->digits[p])
                        if (auto w = setDigit(c.drawNo, p + 1, c.to->digits[p]); !w) return w;
                if (c.from->details != c.to->details)
                    if (auto w = writeDetails(c.drawNo, c.to->details); !w) return w;
            }
        }
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
