#include "data/JetConversion.h"

#include <cstdio>
#include <filesystem>

#include "data/HistoryImport.h"
#include "data/JetReader.h"

namespace n4 {

namespace fs = std::filesystem;

namespace {

std::string freeBackupPath(const std::string& path) {
    std::string candidate = path + kJetBackupSuffix;
    for (int i = 1; fs::exists(candidate); ++i)
        candidate = path + kJetBackupSuffix + "." + std::to_string(i);
    return candidate;
}

JetConversion failure(const std::string& path, const std::string& why) {
    JetConversion c;
    c.needed = true;
    c.ok = false;
    c.message = "旧形式（Jet 4.0）のデータベース「" + path + "」を変換できませんでした: " + why +
                "\n元のファイルはそのまま残してあります。";
    return c;
}

bool writeStore(const DbConnectionString& conn, const ImportResult& data, std::string& why) {
    StoreResult r;
    auto store = DrawStore::open(conn, r);
    if (store) r = store->upsert(data.rows);
    if (!r) why = r.message;
    return r.ok;
}

} // namespace

JetConversion convertJetDatabaseIfNeeded(const DbConnectionString& conn) {
    const std::string path = conn.dataSource;
    if (!isJetDatabaseFile(path)) return {};
    ImportResult data = readJetHistory(path);
    if (!data.ok) return failure(path, data.message);

    DbConnectionString temp = conn;
    temp.dataSource = path + ".converting";
    std::error_code ec;
    fs::remove(temp.dataSource, ec);
    std::string why;
    if (!writeStore(temp, data, why)) {
        fs::remove(temp.dataSource, ec);
        return failure(path, why);
    }
    const std::string backup = freeBackupPath(path);
    if (std::rename(path.c_str(), backup.c_str()) != 0) {
        fs::remove(temp.dataSource, ec);
        return failure(path, "元のファイルの名前を変えられません。");
    }
    if (std::rename(temp.dataSource.c_str(), path.c_str()) != 0) {
        std::rename(backup.c_str(), path.c_str());
        fs::remove(temp.dataSource, ec);
        return failure(path, "新しいデータベースを置けません。");
    }
    JetConversion c;
    c.needed = true;
    c.draws = static_cast<int>(data.rows.size());
    c.unreadableDigits = data.unreadableDigits;
    c.backupPath = backup;
    c.message = "旧形式（Jet 4.0）のデータベースから当選データ " + std::to_string(c.draws) +
                " 件を新しいデータベースに移しました。\n読めなかった数字: " +
                std::to_string(c.unreadableDigits) +
                " 個（空欄として取り込みました）\n";
    if (data.skippedRows > 0)
        c.message += "回数が 1～99999 でないため移せなかった行: " + std::to_string(data.skippedRows) +
                     " 行（元のファイルに残っています）\n";
    c.message += "元のファイルは「" + backup + "」として残してあります。";
    return c;
}

} // namespace n4
