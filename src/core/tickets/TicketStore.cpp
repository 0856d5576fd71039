#include "core/tickets/TicketStore.h"

#include <sqlite3.h>

#include <memory>

namespace n4 {

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;

Statement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        st = nullptr;
    }
    return Statement(st, sqlite3_finalize);
}

bool hasLedger(sqlite3* db) {
    Statement st =
        prepare(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '購入記録'");
    return st && sqlite3_step(st.get()) == SQLITE_ROW;
}

std::string columnText(sqlite3_stmt* st, int column) {
    const unsigned char* t = sqlite3_column_text(st, column);
    return t ? reinterpret_cast<const char*>(t) : "";
}

StoreResult insertOrReplace(DrawStore& store, std::vector<Ticket>& put) {
    sqlite3* db = store.connection();
    Statement next = prepare(db, "SELECT coalesce(max(記録番号), 0) + 1 FROM 購入記録");
    Statement st =
        prepare(db, "INSERT OR REPLACE INTO 購入記録 (記録番号, 回, 最終回, 番号, 種類, 口数)"
                    " VALUES (?, ?, ?, ?, ?, ?)");
    if (!next || !st || sqlite3_step(next.get()) != SQLITE_ROW) return store.failure("書き込み");
    long long nextId = sqlite3_column_int64(next.get(), 0);
    for (Ticket& t : put) {
        if (std::string problem = ticketProblem(t); !problem.empty())
            return StoreResult::failure("購入記録に書き込めません: " + problem);
        if (t.id <= 0) t.id = nextId;
        if (t.id >= nextId) nextId = t.id + 1;
        sqlite3_reset(st.get());
        sqlite3_bind_int64(st.get(), 1, t.id);
        sqlite3_bind_int(st.get(), 2, t.firstDraw);
        sqlite3_bind_int(st.get(), 3, t.lastDraw);
        sqlite3_bind_int(st.get(), 4, t.number);
        sqlite3_bind_text(st.get(), 5, buyKindName(t.kind), -1, SQLITE_STATIC);
        sqlite3_bind_int(st.get(), 6, t.units);
        if (sqlite3_step(st.get()) != SQLITE_DONE) return store.failure("書き込み");
    }
    return StoreResult::success();
}

StoreResult removeIds(DrawStore& store, const std::vector<long long>& removed) {
    Statement st = prepare(store.connection(), "DELETE FROM 購入記録 WHERE 記録番号 = ?");
    if (!st) return store.failure("書き込み");
    for (long long id : removed) {
        sqlite3_reset(st.get());
        sqlite3_bind_int64(st.get(), 1, id);
        if (sqlite3_step(st.get()) != SQLITE_DONE) return store.failure("書き込み");
    }
    return StoreResult::success();
}

} // namespace

StoreResult readTickets(const DrawStore& store, std::vector<Ticket>& out) {
    out.clear();
    sqlite3* db = store.connection();
    if (!hasLedger(db)) return StoreResult::success();
    Statement st = prepare(db, "SELECT 記録番号, 回, 最終回, 番号, 種類, 口数 FROM 購入記録"
                               " ORDER BY 記録番号");
    if (!st) return store.failure("読み込み");
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        Ticket t;
        t.id = sqlite3_column_int64(st.get(), 0);
        t.firstDraw = sqlite3_column_int(st.get(), 1);
        t.lastDraw = sqlite3_column_int(st.get(), 2);
        t.number = sqlite3_column_int(st.get(), 3);
        if (!parseBuyKind(columnText(st.get(), 4), t.kind)) continue; // not one of ours
        t.units = sqlite3_column_int(st.get(), 5);
        out.push_back(t);
    }
    if (rc != SQLITE_DONE) {
        out.clear();
        return store.failure("読み込み");
    }
    return StoreResult::success();
}

StoreResult changeTickets(DrawStore& store, std::vector<Ticket>& put,
                          const std::vector<long long>& removed) {
    std::vector<Ticket> written = put;
    StoreResult r = store.inTransaction([&] {
        StoreResult gone = removeIds(store, removed);
        return gone ? insertOrReplace(store, written) : gone;
    });
    if (r) put = written; // the new ids, only once they are stored
    return r;
}

} // namespace n4
