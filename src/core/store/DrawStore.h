#pragma once
// The draw database: an encrypted SQLCipher file holding the table 当選番号 and
// the view 全データ選択クエリ that every reader selects from.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/store/CheckedFiles.h"
#include "core/store/DrawTable.h"

struct sqlite3;

namespace n4 {

inline constexpr const char* kDatabaseFileName = "Numbers4Marvo.mdb";
inline constexpr const char* kSelectAllDraws = "select * from 全データ選択クエリ order by 回数";

// Where the draw database is and how to unlock it; built once at start-up and
// reused by the data-entry window.
struct DbConnectionString {
    std::string dataSource; // path of the database file
    std::string password;   // six decimal digits
    // How long to wait for a lock held by another copy of the program.
    int busyTimeoutMs = 5000;

    static DbConnectionString forProgramFolder(const std::string& folder);
    // "Data Source=...;Password=******": the key is never spelled out.
    std::string text() const;
};

// The outcome of a store operation: ok, or a Japanese message for the user.
struct StoreResult {
    bool ok = true;
    std::string message;
    // Refused because the file no longer holds what the change was made
    // from: another program changed the draw (conflictDraw) meanwhile.
    bool conflict = false;
    int conflictDraw = 0;
    static StoreResult success() { return {}; }
    static StoreResult failure(std::string m) { return {false, std::move(m)}; }
    explicit operator bool() const { return ok; }
};

// One draw's change: from the state the writer saw (none: the draw did not
// exist) to the state it wants (none: the draw goes).
struct RowChange {
    int drawNo = 0;
    std::optional<DrawRecord> from, to;
};

// What open does when the file is not there: a reader never creates anything.
// ReadOnly is a reader that never writes at all: the file is opened read-only
// and nothing is completed; one an interrupted creation left without any
// schema reads as holding no draws.
enum class IfMissing { Create, Refuse, ReadOnly };

class DrawStore {
  public:
    ~DrawStore();
    DrawStore(const DrawStore&) = delete;
    DrawStore& operator=(const DrawStore&) = delete;

    // Opens the file, creating it with the schema when it does not exist (a
    // new file appears whole or not at all, readable by the user only). A file
    // that exists but cannot be read as our database (wrong password, another
    // kind of file, damage found by a quick check) is reported and never
    // modified. A file that an interrupted creation left without its schema
    // holds no draws: it is completed, and result.message says so.
    static std::unique_ptr<DrawStore> open(const DbConnectionString& conn, StoreResult& result,
                                           bool* created = nullptr,
                                           IfMissing ifMissing = IfMissing::Create);

    // Builds a new database file holding rows, whole or not at all, under a
    // temporary name moved into place at the end; fails when the file exists.
    static StoreResult create(const DbConnectionString& conn, const std::vector<DrawRecord>& rows);

    StoreResult readAll(DrawTable& out) const;

    // Inserts or replaces draws by number, all in one transaction.
    StoreResult upsert(const std::vector<DrawRecord>& rows);
    // digit: 0..9, or kAbsentDigit for an empty cell.
    StoreResult setDigit(int drawNo, int position, int digit);
    StoreResult insertEmpty(int drawNo);
    StoreResult remove(int drawNo);
    // Puts the given draws (inserting or replacing by number) and removes the
    // given numbers, all in one transaction.
    StoreResult replace(const std::vector<DrawRecord>& put, const std::vector<int>& removed);
    // Writes the changes in one transaction, each only where the file still
    // holds what the writer saw: an updated draw's changed digits must still
    // be their from values (only those digits are written), a removed draw
    // must still be whole as it was, a new draw must still be absent.
    // Otherwise nothing is written and the result is a conflict naming the draw.
    StoreResult applyChanges(const std::vector<RowChange>& changes);

    // Runs body in one write transaction, the write lock taken first, so that
    // what body reads is still so when its writes land. Within it, the other
    // writes join the same transaction.
    StoreResult inTransaction(const std::function<StoreResult()>& body);

    // SQLite's data_version of this connection: it changes when another
    // connection (another program, or another store of this one) commits a
    // change to the file, never for this connection's own writes.
    long long dataVersion() const;

    // Whether the file under the store's name is still the one it opened:
    // false once another program replaced or removed it (open the name anew).
    bool stillOpenAtPath() const;
    // Checks the file again, as open does, when a program other than this
    // one changed it since this run last checked it; a file that fails the
    // check is refused. The program's own writes need no second check.
    StoreResult recheckIfChangedElsewhere();
    // How many quick checks this run has made (each reads the whole file).
    static int quickChecksRun();

    std::string cipherVersion() const;
    bool integrityOk() const;
    const std::string& path() const { return path_; }
    // The open connection, for the tables kept beside the draws (the ticket
    // ledger); writes to it go through inTransaction.
    sqlite3* connection() const { return db_; }
    // The failure of what (読み込み, 書き込み ...) just tried on the
    // connection, as the user is told it (another program's lock named as such).
    StoreResult failure(const char* what) const;

  private:
    DrawStore(sqlite3* db, std::string path);
    static std::unique_ptr<DrawStore> connect(const DbConnectionString& conn, StoreResult& result,
                                              bool readOnly = false);
    static StoreResult createFile(const DbConnectionString& conn,
                                  const std::vector<DrawRecord>& rows, bool& alreadyThere);
    StoreResult completeSchema(bool& completed, bool readOnly);
    StoreResult quickCheck() const;
    StoreResult writeRows(const std::vector<DrawRecord>& rows);
    StoreResult exec(const char* sql) const;
    std::optional<DrawRecord> readDraw(int drawNo, StoreResult& result) const;
    // The date and prizes of the draws in rows (in draw order), where stored.
    StoreResult readDetails(DrawTable& rows) const;
    // Stores a draw's details, or removes them when nothing is known.
    StoreResult writeDetails(int drawNo, const DrawDetails& details);

    sqlite3* db_;
    std::string path_;
    FileStamp opened_; // the file as the connection found it
    // The data version and the count of the program's own writes at the
    // last check or recheck: the version moved without one of ours between.
    long long checkedVersion_ = -1;
    unsigned long checkedOwnWrites_ = 0;
    void noteChecked();
    bool noSchema_ = false; // opened read-only without any schema: no draws
};

} // namespace n4
