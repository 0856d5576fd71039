// Taking an older Jet 4.0 database over at start-up, and finishing a take-over
// that an earlier run left half done.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

#include "SystemCallFaults.h"
#include "TestSupport.h"
#include "core/import/JetConversion.h"
#include "core/import/JetReader.h"

using namespace n4;
namespace fs = std::filesystem;

namespace {

const std::string kSeed = N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb";

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<DrawRecord> seedDraws() {
    static const std::vector<DrawRecord> rows = readJetHistory(kSeed).rows;
    return rows;
}

bool sameDraws(const std::vector<DrawRecord>& a, const std::vector<DrawRecord>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].drawNo != b[i].drawNo || a[i].digits != b[i].digits) return false;
    return true;
}

DrawTable stored(const DbConnectionString& conn) {
    StoreResult r;
    DrawTable t;
    if (auto store = DrawStore::open(conn, r, nullptr, IfMissing::Refuse)) store->readAll(t);
    return t;
}

// The end every take-over must reach: the new store under the database name
// with every draw, the old file unchanged beside it, nothing else.
void expectTakenOver(const std::string& folder, const JetConversion& c) {
    const auto conn = DbConnectionString::forProgramFolder(folder);
    EXPECT_TRUE(c.ok) << c.message;
    EXPECT_TRUE(sameDraws(stored(conn), seedDraws()));
    EXPECT_TRUE(n4test::readFile(conn.dataSource + ".jet4") == n4test::readFile(kSeed));
    EXPECT_EQ(namesIn(folder),
              (std::vector<std::string>{"Numbers4Marvo.mdb", "Numbers4Marvo.mdb.jet4"}));
}

} // namespace

TEST(JetTakeOver, TheNewStoreTakesTheNameAndTheOldFileIsKeptUnchanged) {
    ASSERT_EQ(seedDraws().size(), 50u);
    const std::string folder = n4test::tempFolder();
    const auto conn = DbConnectionString::forProgramFolder(folder);
    fs::copy_file(kSeed, conn.dataSource);
    JetConversion c = convertJetDatabaseIfNeeded(conn);
    EXPECT_TRUE(c.needed);
    EXPECT_EQ(c.draws, 50);
    EXPECT_EQ(c.backupPath, conn.dataSource + ".jet4");
    EXPECT_NE(c.message.find("50 件"), std::string::npos) << c.message;
    expectTakenOver(folder, c);
    struct stat st;
    ASSERT_EQ(::stat(conn.dataSource.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_FALSE(convertJetDatabaseIfNeeded(conn).needed); // once only
}

TEST(JetTakeOver, EveryStateAnInterruptedTakeOverCanLeaveEndsTakenOver) {
    struct State {
        const char* name;
        std::function<void(const DbConnectionString&)> make;
        const char* said; // what the user is told
    };
    auto seedAt = [](const std::string& path) { fs::copy_file(kSeed, path); };
    const std::vector<State> states = {
        {"new store half built, old file in place",
         [&](const DbConnectionString& conn) {
             seedAt(conn.dataSource);
             DbConnectionString half = conn;
             half.dataSource += ".converting";
             ASSERT_TRUE(DrawStore::create(half, draws({{1, 2, 3, 4}})));
             n4test::writeFile(half.dataSource + "-journal", "stale");
         },
         "やり直します"},
        {"names swapped, old file not yet moved on",
         [&](const DbConnectionString& conn) {
             ASSERT_TRUE(DrawStore::create(conn, seedDraws()));
             seedAt(conn.dataSource + ".converting");
         },
         "完了しました"},
        {"old file moved aside, new store not yet in place (an older version)",
         [&](const DbConnectionString& conn) {
             DbConnectionString whole = conn;
             whole.dataSource += ".converting";
             ASSERT_TRUE(DrawStore::create(whole, seedDraws()));
             seedAt(conn.dataSource + ".jet4");
         },
         "完了しました"},
        {"old file under the temporary name, nothing in place",
         [&](const DbConnectionString& conn) { seedAt(conn.dataSource + ".converting"); }, "50 件"},
    };
    for (const State& s : states) {
        SCOPED_TRACE(s.name);
        const std::string folder = n4test::tempFolder();
        const auto conn = DbConnectionString::forProgramFolder(folder);
        s.make(conn);
        JetConversion c = convertJetDatabaseIfNeeded(conn);
        EXPECT_TRUE(c.needed);
        EXPECT_NE(c.message.find(s.said), std::string::npos) << c.message;
        expectTakenOver(folder, c);
    }
}

TEST(JetTakeOver, TwoOldFilesAreNeitherTouchedNorTakenOver) {
    const std::string folder = n4test::tempFolder();
    const auto conn = DbConnectionString::forProgramFolder(folder);
    fs::copy_file(kSeed, conn.dataSource);
    fs::copy_file(kSeed, conn.dataSource + ".converting");
    JetConversion c = convertJetDatabaseIfNeeded(conn);
    EXPECT_TRUE(c.needed);
    EXPECT_FALSE(c.ok);
    EXPECT_NE(c.message.find(".converting"), std::string::npos) << c.message;
    EXPECT_TRUE(n4test::readFile(conn.dataSource) == n4test::readFile(kSeed));
    EXPECT_TRUE(n4test::readFile(conn.dataSource + ".converting") == n4test::readFile(kSeed));
}

TEST(JetTakeOver, AnEarlierBackupIsKeptAndTheOldFileTakesTheNextFreeName) {
    const std::string folder = n4test::tempFolder();
    const auto conn = DbConnectionString::forProgramFolder(folder);
    fs::copy_file(kSeed, conn.dataSource);
    n4test::writeFile(conn.dataSource + ".jet4", "an earlier backup");
    n4test::writeFile(conn.dataSource + ".jet4.1", "another");
    JetConversion c = convertJetDatabaseIfNeeded(conn);
    ASSERT_TRUE(c.ok) << c.message;
    EXPECT_EQ(c.backupPath, conn.dataSource + ".jet4.2");
    EXPECT_EQ(n4test::readFile(conn.dataSource + ".jet4"), "an earlier backup");
    EXPECT_EQ(n4test::readFile(conn.dataSource + ".jet4.1"), "another");
    EXPECT_TRUE(n4test::readFile(conn.dataSource + ".jet4.2") == n4test::readFile(kSeed));
    EXPECT_TRUE(sameDraws(stored(conn), seedDraws()));
    EXPECT_EQ(c.unreadableDigits, 0);
    EXPECT_EQ(
        c.message,
        "旧形式（Jet 4.0）のデータベースから当選データ 50 件を新しいデータベースに移しました。\n"
        "読めなかった数字: 0 個（空欄として取り込みました）\n"
        "元のファイルは「" +
            conn.dataSource + ".jet4.2」として残してあります。");
}

TEST(JetTakeOver, WhatIsNotAnOldFileOrCannotBeReadIsLeftAlone) {
    // Two stores of our own under both names: not a take-over of ours.
    const std::string folder = n4test::tempFolder();
    const auto conn = DbConnectionString::forProgramFolder(folder);
    ASSERT_TRUE(DrawStore::create(conn, draws({{1, 2, 3, 4}})));
    DbConnectionString other = conn;
    other.dataSource += ".converting";
    ASSERT_TRUE(DrawStore::create(other, draws({{5, 6, 7, 8}})));
    const std::string before = n4test::readFile(conn.dataSource);
    JetConversion c = convertJetDatabaseIfNeeded(conn);
    EXPECT_FALSE(c.needed);
    EXPECT_EQ(c.message, "");
    EXPECT_EQ(n4test::readFile(conn.dataSource), before);
    EXPECT_TRUE(fs::exists(other.dataSource));
    // No file at all, or our own store: nothing to do.
    EXPECT_FALSE(
        convertJetDatabaseIfNeeded(DbConnectionString::forProgramFolder(n4test::tempFolder()))
            .needed);
    // An old file that cannot be read stays as it was, and the user is told.
    const std::string damagedFolder = n4test::tempFolder();
    const auto damaged = DbConnectionString::forProgramFolder(damagedFolder);
    std::string bytes = n4test::readFile(kSeed);
    bytes.resize(4096); // the first page only: the catalogue is gone
    n4test::writeFile(damaged.dataSource, bytes);
    JetConversion bad = convertJetDatabaseIfNeeded(damaged);
    EXPECT_TRUE(bad.needed);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.message.rfind("旧形式（Jet 4.0）のデータベース「" + damaged.dataSource +
                                    "」を変換できませんでした: ",
                                0),
              0u)
        << bad.message;
    EXPECT_NE(bad.message.find("元のファイルはそのまま残してあります。"), std::string::npos);
    EXPECT_EQ(n4test::readFile(damaged.dataSource), bytes);
    EXPECT_EQ(namesIn(damagedFolder), (std::vector<std::string>{"Numbers4Marvo.mdb"}));
}

TEST(JetTakeOver, AFileSystemThatCannotSwapNamesEndsTakenOverToo) {
    // The old file is linked to (or moved to) its backup name first, then the
    // new store takes the database name.
    const std::string folder = n4test::tempFolder();
    const auto conn = DbConnectionString::forProgramFolder(folder);
    fs::copy_file(kSeed, conn.dataSource);
    JetConversion c = convertJetDatabaseIfNeeded(conn, NameSwap::Never);
    EXPECT_TRUE(c.needed);
    EXPECT_EQ(c.draws, 50);
    EXPECT_EQ(c.backupPath, conn.dataSource + ".jet4");
    expectTakenOver(folder, c);
    EXPECT_EQ(fs::hard_link_count(conn.dataSource), 1u);
    EXPECT_EQ(fs::hard_link_count(conn.dataSource + ".jet4"), 1u);
    // With an earlier backup there, the next free name.
    const std::string again = n4test::tempFolder();
    const auto second = DbConnectionString::forProgramFolder(again);
    fs::copy_file(kSeed, second.dataSource);
    n4test::writeFile(second.dataSource + ".jet4", "earlier");
    JetConversion c2 = convertJetDatabaseIfNeeded(second, NameSwap::Never);
    ASSERT_TRUE(c2.ok) << c2.message;
    EXPECT_EQ(c2.backupPath, second.dataSource + ".jet4.1");
    EXPECT_EQ(n4test::readFile(second.dataSource + ".jet4"), "earlier");
    EXPECT_TRUE(n4test::readFile(second.dataSource + ".jet4.1") == n4test::readFile(kSeed));
    EXPECT_TRUE(sameDraws(stored(second), seedDraws()));
    EXPECT_EQ(namesIn(again),
              (std::vector<std::string>{"Numbers4Marvo.mdb", "Numbers4Marvo.mdb.jet4",
                                        "Numbers4Marvo.mdb.jet4.1"}));
}

TEST(JetTakeOver, WhenTheNewStoreCannotTakeTheNameTheOldFileStaysWhereItWas) {
    // The last step, the new store taking the database name, fails: whether
    // the old file had been linked to its backup name or moved there, it is
    // back under the database name alone and the take-over is reported failed.
    using n4test::Call;
    for (const bool links : {true, false}) {
        const std::string folder = n4test::tempFolder();
        const auto conn = DbConnectionString::forProgramFolder(folder);
        fs::copy_file(kSeed, conn.dataSource);
        JetConversion c;
        {
            n4test::InjectedFaults faults{{Call::Link, EPERM, "", -1, 0, links ? 0 : 1},
                                          {Call::Rename, EIO, "/Numbers4Marvo.mdb.converting"}};
            c = convertJetDatabaseIfNeeded(conn, NameSwap::Never);
            EXPECT_EQ(faults.fired(1), 1);
        }
        EXPECT_TRUE(c.needed);
        EXPECT_FALSE(c.ok);
        EXPECT_EQ(c.message, "旧形式（Jet 4.0）のデータベース「" + conn.dataSource +
                                 "」を変換できませんでした: 新しいデータベースを置けません。\n"
                                 "元のファイルはそのまま残してあります。")
            << links;
        EXPECT_TRUE(n4test::readFile(conn.dataSource) == n4test::readFile(kSeed)) << links;
        EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"Numbers4Marvo.mdb"})) << links;
        // The next start takes it over.
        expectTakenOver(folder, convertJetDatabaseIfNeeded(conn, NameSwap::Never));
    }
}

TEST(JetTakeOver, TheMessageSaysHowManyMovedAndTheDigitsNotRead) {
    ImportResult data;
    data.rows = {DrawRecord{1, {1, 2, 3, 4}}, DrawRecord{2, {5, 6, 7, 8}}};
    data.unreadableDigits = 3;
    EXPECT_EQ(
        jetTakeOverMessage(data, "/x/Numbers4Marvo.mdb.jet4"),
        "旧形式（Jet 4.0）のデータベースから当選データ 2 件を新しいデータベースに移しました。\n"
        "読めなかった数字: 3 個（空欄として取り込みました）\n"
        "元のファイルは「/x/Numbers4Marvo.mdb.jet4」として残してあります。");
}
