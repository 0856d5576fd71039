#include "core/import/JetConversion.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "core/import/HistoryImport.h"
#include "core/import/JetReader.h"
#include "core/store/AtomicFile.h"

namespace n4 {

namespace fs = std::filesystem;

// The take-over, step by step; at every moment the database name holds either
// the untouched old file or the complete new store:
//   1. the new store is built whole under NAME.converting;
//   2. the two names are swapped in one step (NAME is now the new store);
//   3. the old file moves from NAME.converting to NAME.jet4.
// A start after a crash finds one of these states and finishes or undoes it.

namespace {

constexpr const char* kConvertingSuffix = ".converting";
const std::string kJetName = "旧形式（Jet 4.0）のデータベース";

std::string freeBackupPath(const std::string& path) {
    std::string candidate = path + kJetBackupSuffix;
    for (int i = 1; fs::exists(candidate); ++i)
        candidate = path + kJetBackupSuffix + "." + std::to_string(i);
    return candidate;
}

// Moves the old file to the first free NAME.jet4[.n]; "" when it cannot.
std::string moveToBackup(const std::string& from, const std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string backup = freeBackupPath(path);
        switch (publishFile(from, backup, Publish::Exclusive)) {
        case PublishOutcome::Done:
            return backup;
        case PublishOutcome::AlreadyThere:
            continue;
        case PublishOutcome::Failed:
            return "";
        }
    }
    return "";
}

void removeWithJournal(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
    fs::remove(path + "-journal", ec);
}

JetConversion failure(const std::string& path, const std::string& why) {
    JetConversion c;
    c.needed = true;
    c.ok = false;
    c.message = kJetName + "「" + path + "」を変換できませんでした: " + why +
                "\n元のファイルはそのまま残してあります。";
    return c;
}

int storedDraws(const DbConnectionString& conn) {
    StoreResult r;
    DrawTable table;
    auto store = DrawStore::open(conn, r, nullptr, IfMissing::Refuse);
    return store && store->readAll(table) ? static_cast<int>(table.size()) : 0;
}

// Swaps the new store into place. Where the file system cannot swap names, a
// hard link keeps the old file reachable while the new store replaces it; with
// neither, the old file is moved aside first (the next start finishes that).
bool putInPlace(const std::string& converting, const std::string& path, std::string& backup,
                NameSwap swap) {
    if (swap == NameSwap::WhereSupported && exchangeFiles(converting, path)) {
        syncFolderOf(path);
        return true;
    }
    backup = freeBackupPath(path);
    const bool linked = ::link(path.c_str(), backup.c_str()) == 0;
    if (!linked && std::rename(path.c_str(), backup.c_str()) != 0) return false;
    syncFolderOf(path);
    if (std::rename(converting.c_str(), path.c_str()) != 0) {
        if (linked)
            ::unlink(backup.c_str());
        else
            std::rename(backup.c_str(), path.c_str());
        return false;
    }
    syncFolderOf(path);
    return true;
}

} // namespace

JetConversion resumeInterruptedTakeOver(const DbConnectionString& conn) {
    const std::string path = conn.dataSource;
    const std::string converting = path + kConvertingSuffix;
    JetConversion c;
    if (!fs::exists(converting)) return c;
    const bool convertingIsJet = isJetDatabaseFile(converting);
    if (!fs::exists(path)) {
        // Between moving the old file aside and the new store into place.
        if (std::rename(converting.c_str(), path.c_str()) != 0)
            return failure(path, "前回中断された変換の続きができません。");
        syncFolderOf(path);
        if (convertingIsJet) return c; // the old file is back; the take-over starts again
    } else if (isJetDatabaseFile(path)) {
        // The new store was not in place yet: the old file is untouched.
        if (convertingIsJet) return failure(path, "「" + converting + "」がすでにあります。");
        removeWithJournal(converting);
        c.message = "前回中断された変換をやり直します。\n";
        return c;
    } else if (convertingIsJet) {
        c.backupPath = moveToBackup(converting, path);
        if (c.backupPath.empty()) return failure(path, "元のファイルを移せません。");
    } else {
        return c; // not ours to decide: both are left as they are
    }
    c.needed = true;
    c.draws = storedDraws(conn);
    c.message = "前回中断された" + kJetName + "の変換を完了しました。\n当選データ " +
                std::to_string(c.draws) + " 件が新しいデータベースにあります。";
    if (!c.backupPath.empty())
        c.message += "\n元のファイルは「" + c.backupPath + "」として残してあります。";
    return c;
}

JetConversion convertJetDatabaseIfNeeded(const DbConnectionString& conn, NameSwap swap) {
    const std::string path = conn.dataSource;
    JetConversion resumed = resumeInterruptedTakeOver(conn);
    if (resumed.needed || !isJetDatabaseFile(path)) return resumed;
    ImportResult data = readJetHistory(path);
    if (!data.ok) return failure(path, data.message);

    DbConnectionString temp = conn;
    temp.dataSource = path + kConvertingSuffix;
    removeWithJournal(temp.dataSource);
    if (StoreResult r = DrawStore::create(temp, data.rows); !r) return failure(path, r.message);
    std::string backup;
    if (!putInPlace(temp.dataSource, path, backup, swap)) {
        removeWithJournal(temp.dataSource);
        return failure(path, "新しいデータベースを置けません。");
    }
    if (backup.empty()) backup = moveToBackup(temp.dataSource, path);
    // The new store is in place whatever happens now; the next start moves the
    // old file on if it had to stay under the temporary name.
    if (backup.empty()) backup = temp.dataSource;
    JetConversion c;
    c.needed = true;
    c.draws = static_cast<int>(data.rows.size());
    c.unreadableDigits = data.unreadableDigits;
    c.backupPath = backup;
    c.message = resumed.message + jetTakeOverMessage(data, backup);
    return c;
}

std::string jetTakeOverMessage(const ImportResult& data, const std::string& backupPath) {
    std::string message = kJetName + "から当選データ " + std::to_string(data.rows.size()) +
                          " 件を新しいデータベースに移しました。\n読めなかった数字: " +
                          std::to_string(data.unreadableDigits) +
                          " 個（空欄として取り込みました）\n";
    return message + "元のファイルは「" + backupPath + "」として残してあります。";
}

} // namespace n4
