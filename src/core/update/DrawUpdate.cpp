#include "core/update/DrawUpdate.h"

#include <algorithm>
#include <filesystem>

#include "core/import/HistoryImport.h"
#include "core/import/HistoryValues.h"
#include "core/store/DrawChangeLog.h"
#include "core/update/ApiVersion.h"
#include "core/update/UpdateSources.h"

namespace n4 {

namespace {

constexpr size_t kConflictsListed = 10;

std::string draw(int no) {
    return "第" + std::to_string(no) + "回";
}

// What one source gave.
struct Fetched {
    bool ok = false;
    bool nothingNew = false; // the API holds nothing newer than the database
    std::vector<DrawRecord> rows;
    std::string format;
    std::string message; // when !ok
};

Fetched failedWith(std::string message) {
    Fetched f;
    f.message = std::move(message);
    return f;
}

// The first character that is not a space or a byte-order mark.
char firstSignificant(const std::string& body) {
    size_t i = body.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (i < body.size() &&
           (body[i] == ' ' || body[i] == '\t' || body[i] == '\r' || body[i] == '\n'))
        ++i;
    return i < body.size() ? body[i] : '\0';
}

std::string htmlInstead(const std::string& url, const char* expected) {
    return "「" + url + "」から" + expected +
           "ではなく HTML のページが返ってきました（アドレスが違うか、サーバーの側の"
           "障害です）。";
}

class SourceReader {
  public:
    SourceReader(const UpdateRequest& request, int storedLatest)
        : request_(request), storedLatest_(storedLatest) {}

    Fetched fromApi(const std::string& base);
    Fetched fromFile(const std::string& url);

  private:
    void step(const std::string& line) const {
        if (request_.log) request_.log(line);
    }
    bool get(const std::string& url, std::string& body, std::string& message) const;
    bool readJsonDraws(const std::string& url, Fetched& f) const;

    const UpdateRequest& request_;
    int storedLatest_;
};

bool SourceReader::get(const std::string& url, std::string& body, std::string& message) const {
    step("問い合わせ: " + url);
    FetchResult r = fetchUrl(url, request_.fetch);
    if (!r.ok()) {
        message = r.message;
        return false;
    }
    step("受信: " + std::to_string(r.body.size()) + " バイト" +
         (r.url != url ? "（転送先「" + r.url + "」から）" : ""));
    body = std::move(r.body);
    return true;
}

// The draws of a JSON body, or why not (an HTML page, another kind of JSON).
bool SourceReader::readJsonDraws(const std::string& url, Fetched& f) const {
    std::string body;
    if (!get(url, body, f.message)) return false;
    const char first = firstSignificant(body);
    if (first == '<') {
        f.message = htmlInstead(url, " JSON ");
        return false;
    }
    if (first != '{' && first != '[') {
        f.message = "「" + url + "」の内容が JSON ではありません。";
        return false;
    }
    ImportResult read = readHistoryBytes(std::move(body));
    if (!read.ok) {
        f.message = "「" + url + "」を当選データとして読めません（" + read.message + "）。";
        return false;
    }
    f.rows = std::move(read.rows);
    f.format = read.format;
    return true;
}

Fetched SourceReader::fromApi(const std::string& base) {
    Fetched f;
    const std::string versionUrl = base + "version.json";
    std::string body;
    if (!get(versionUrl, body, f.message)) return f;
    if (firstSignificant(body) == '<') return failedWith(htmlInstead(versionUrl, " JSON "));
    int latest = 0;
    std::string why;
    if (!readLatestDrawNo(body, latest, why)) return failedWith("「" + versionUrl + "」: " + why);
    step("更新元の最新: " + draw(latest) + "（データベースは" +
         (storedLatest_ > 0 ? draw(storedLatest_) + "まで" : std::string("空")) + "）");
    if (latest <= storedLatest_) {
        f.ok = f.nothingNew = true;
        return f;
    }
    const bool oneMissing = latest == storedLatest_ + 1;
    const std::string url = base + (oneMissing ? "latest.json" : "numbers4_all_full.json");
    if (!readJsonDraws(url, f)) return f;
    const int newest = f.rows.back().drawNo; // the reader never returns no draws
    if (oneMissing && (f.rows.size() != 1 || newest != latest))
        return failedWith("「" + url + "」の内容が最新の回（" + draw(latest) +
                          "）ではありません（" + draw(f.rows.front().drawNo) +
                          (f.rows.size() > 1 ? "ほか" : "") + "）。");
    if (newest < latest)
        return failedWith("版の情報（version.json）は" + draw(latest) + "までと言いますが、「" +
                          url + "」には" + draw(newest) + "までしかありません。");
    f.ok = true;
    return f;
}

Fetched SourceReader::fromFile(const std::string& url) {
    Fetched f;
    std::string body;
    if (!get(url, body, f.message)) return f;
    if (firstSignificant(body) == '<') return failedWith(htmlInstead(url, "当選データのファイル"));
    ImportResult read = readHistoryBytes(std::move(body));
    if (!read.ok)
        return failedWith("「" + url + "」を当選データとして読めません（" + read.message + "）。");
    f.ok = true;
    f.rows = std::move(read.rows);
    f.format = read.format;
    return f;
}

// The draws stored now, read without writing anything; none when there is
// no database yet.
bool readStored(const DbConnectionString& database, DrawTable& table, std::string& message) {
    std::error_code ec;
    if (!std::filesystem::exists(database.dataSource, ec) && !ec) return true;
    StoreResult r;
    auto store = DrawStore::open(database, r, nullptr, IfMissing::ReadOnly);
    if (store) r = store->readAll(table);
    if (!r) message = r.message;
    return r.ok;
}

std::string conflictMessage(const std::vector<std::pair<DrawRecord, DrawRecord>>& conflicts,
                            const std::string& source) {
    std::string s = "「" + source + "」の当選番号がデータベースと違う回が " +
                    std::to_string(conflicts.size()) + " 件あります。何も書き込みませんでした。";
    const size_t shown = std::min(conflicts.size(), kConflictsListed);
    for (size_t i = 0; i < shown; ++i)
        s += "\n　" + draw(conflicts[i].first.drawNo) + ": データベース " +
             digitsText(conflicts[i].first.digits) + "、更新元 " +
             digitsText(conflicts[i].second.digits);
    if (conflicts.size() > shown)
        s += "\n　ほか " + std::to_string(conflicts.size() - shown) + " 件";
    return s + "\n更新元のほうが正しいときは、その当選データのファイルを --replace を付けて"
               "取り込んでください（それがデータベースと違う回を書き換えます）。";
}

// Plans and writes under the write lock, from the draws as they are then.
void storeDraws(const UpdateRequest& request, const std::vector<DrawRecord>& rows,
                UpdateResult& result) {
    std::string message;
    if (request.beforeWriting && !request.beforeWriting(message)) {
        result.message = message;
        return;
    }
    StoreResult r;
    auto store = DrawStore::open(request.database, r);
    if (store)
        r = store->inTransaction([&]() -> StoreResult {
            DrawTable current;
            if (StoreResult read = store->readAll(current); !read) return read;
            result.plan = planImport(current, rows);
            result.conflicts = conflictingDraws(result.plan);
            if (!result.conflicts.empty())
                return StoreResult::failure(conflictMessage(result.conflicts, result.source));
            if (result.plan.nothingToDo()) return StoreResult::success();
            return writeChange(*store, result.plan.change("更新"), true);
        });
    if (!r) {
        result.message = r.message;
        return;
    }
    result.status = result.plan.nothingToDo() ? UpdateStatus::NothingNew : UpdateStatus::Stored;
}

} // namespace

std::vector<std::pair<DrawRecord, DrawRecord>> conflictingDraws(const ImportPlan& plan) {
    std::vector<std::pair<DrawRecord, DrawRecord>> conflicts;
    for (const auto& [stored, incoming] : plan.changed)
        for (int p = 0; p < 4; ++p)
            if (stored.digits[p] != kAbsentDigit && stored.digits[p] != incoming.digits[p]) {
                conflicts.emplace_back(stored, incoming);
                break;
            }
    return conflicts;
}

UpdateResult updateDraws(const UpdateRequest& request) {
    UpdateResult result;
    auto step = [&request](const std::string& line) {
        if (request.log) request.log(line);
    };
    if (request.sources.empty()) {
        result.message = "更新元がありません。";
        return result;
    }
    DrawTable current;
    if (!readStored(request.database, current, result.message)) return result;
    result.storedLatest = current.empty() ? 0 : current.back().drawNo;
    std::string failures;
    for (size_t i = 0; i < request.sources.size(); ++i) {
        const std::string& source = request.sources[i];
        step("更新元 " + std::to_string(i + 1) + "/" + std::to_string(request.sources.size()) +
             ": " + source + (isApiBase(source) ? "（API）" : "（当選データのファイル）"));
        SourceReader reader(request, result.storedLatest);
        Fetched f = isApiBase(source) ? reader.fromApi(source) : reader.fromFile(source);
        if (!f.ok) {
            step("失敗: " + f.message);
            failures += "\n　" + source + ": " + f.message;
            continue;
        }
        result.source = source;
        result.format = f.format;
        if (f.nothingNew) {
            result.status = UpdateStatus::NothingNew;
            return result;
        }
        if (request.fetchOnly) {
            result.rows = std::move(f.rows);
            result.status = UpdateStatus::Fetched;
            return result;
        }
        storeDraws(request, f.rows, result);
        return result;
    }
    result.message = "どの更新元からも当選データを受け取れませんでした。" + failures;
    return result;
}

} // namespace n4
