#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "SystemCallFaults.h"
#include "TestSupport.h"
#include "core/import/HistoryCsv.h"
#include "core/import/HistoryImport.h"
#include "core/import/JetConversion.h"
#include "core/import/JetReader.h"

using namespace n4;
namespace fs = std::filesystem;

namespace {

std::string jetFolder() {
    std::string shared = n4test::sharedDataFolder();
    return !shared.empty() && fs::exists(shared + "/jet") ? shared + "/jet" : "";
}

std::vector<std::string> fixtures() {
    std::vector<std::string> names;
    if (jetFolder().empty()) return names;
    for (const auto& e : fs::directory_iterator(jetFolder()))
        if (e.path().extension() == ".mdb") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<DrawRecord> expected(const std::string& name) {
    return parseHistoryCsv(n4test::readFile(jetFolder() + "/" + name + ".expected.csv")).rows;
}

// A copy of a fixture in a fresh program folder, as the program's own database.
std::string programFolderWith(const std::string& name) {
    std::string folder = n4test::tempFolder();
    fs::copy_file(jetFolder() + "/" + name + ".mdb", folder + "/Numbers4Marvo.mdb");
    fs::permissions(folder + "/Numbers4Marvo.mdb", fs::perms::owner_read | fs::perms::owner_write);
    return folder;
}

bool sameDraws(const std::vector<DrawRecord>& a, const std::vector<DrawRecord>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].drawNo != b[i].drawNo || a[i].digits != b[i].digits) return false;
    return true;
}

} // namespace

TEST(JetReader, EveryFixtureReadsAsExpected) {
    if (fixtures().empty()) GTEST_SKIP() << "Jet fixtures not present";
    for (const std::string& name : fixtures()) {
        const std::string path = jetFolder() + "/" + name + ".mdb";
        EXPECT_TRUE(isJetDatabaseFile(path)) << name;
        ImportResult r = readHistoryFile(path);
        ASSERT_TRUE(r.ok) << name << ": " << r.message;
        EXPECT_TRUE(sameDraws(r.rows, expected(name))) << name;
        EXPECT_EQ(r.unreadableDigits, 0) << name;
    }
}

TEST(JetConversion, KeepsTheOriginalByteForByteAndTheNewStoreHoldsEveryDraw) {
    if (fixtures().empty()) GTEST_SKIP() << "Jet fixtures not present";
    const std::string name = "history_7000_int_pw123456";
    const std::string folder = programFolderWith(name);
    const std::string original = n4test::readFile(folder + "/Numbers4Marvo.mdb");
    const auto conn = DbConnectionString::forProgramFolder(folder);
    JetConversion c = convertJetDatabaseIfNeeded(conn);
    ASSERT_TRUE(c.needed);
    ASSERT_TRUE(c.ok) << c.message;
    EXPECT_EQ(c.draws, 7000);
    EXPECT_EQ(c.backupPath, folder + "/Numbers4Marvo.mdb.jet4");
    EXPECT_EQ(n4test::readFile(c.backupPath), original);
    EXPECT_NE(c.message.find("7000"), std::string::npos);
    StoreResult r;
    auto store = DrawStore::open(conn, r);
    ASSERT_TRUE(store) << r.message;
    DrawTable t;
    ASSERT_TRUE(store->readAll(t));
    EXPECT_TRUE(sameDraws(t, expected(name)));
    EXPECT_FALSE(fs::exists(folder + "/Numbers4Marvo.mdb.converting"));
    EXPECT_FALSE(convertJetDatabaseIfNeeded(conn).needed); // once only
}

TEST(JetConversion, DamagedCopiesChangeNothingAndReportAnError) {
    if (fixtures().empty()) GTEST_SKIP() << "Jet fixtures not present";
    const std::string source = n4test::readFile(jetFolder() + "/history_int_nopw.mdb");
    const std::string damaged[] = {source.substr(0, 4096), source.substr(0, 4096 * 3 + 100),
                                   source.substr(0, 2048) +
                                       std::string(source.size() - 2048, '\xff')};
    for (const std::string& bytes : damaged) {
        std::string folder = n4test::tempFolder();
        const std::string path = folder + "/Numbers4Marvo.mdb";
        n4test::writeFile(path, bytes);
        JetConversion c = convertJetDatabaseIfNeeded(DbConnectionString::forProgramFolder(folder));
        EXPECT_TRUE(c.needed);
        EXPECT_FALSE(c.ok);
        EXPECT_FALSE(c.message.empty());
        EXPECT_EQ(n4test::readFile(path), bytes);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
}

TEST(HistoryImport, AFileOfNeitherFormatIsRefused) {
    std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/x.mdb", std::string("\x00\x01\x00\x00Standard XYZ DB\x00", 20) +
                                             std::string(5000, 'z'));
    EXPECT_FALSE(isJetDatabaseFile(folder + "/x.mdb"));
    ImportResult r = readHistoryFile(folder + "/x.mdb");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("Jet"), std::string::npos);
    EXPECT_FALSE(convertJetDatabaseIfNeeded(DbConnectionString::forProgramFolder(folder)).needed);
}

TEST(JetReaderDeathTest, ADamagedColumnListIsReportedNotACrash) {
    std::string bytes =
        n4test::readFile(N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb");
    ASSERT_EQ(bytes.size(), 11u * 4096);
    bytes[7 * 4096 + 46] = '\xff'; // the column count in the draw table's definition
    const std::string path = n4test::tempFolder() + "/damaged.mdb";
    n4test::writeFile(path, bytes);
    // What the child does, in a process of its own here: before, a null
    // column list was used and the reader died of it.
    EXPECT_EXIT(
        {
            const std::string out = readJetSerialized(path);
            _exit(out.rfind("ERR\t", 0) == 0 ? 0 : 1); // no clean-up of the test's folders
        },
        ::testing::ExitedWithCode(0), "");
    ImportResult r = readJetHistory(path);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("壊れて"), std::string::npos) << r.message;
}

TEST(JetReaderDeathTest, ADamagedCatalogPageMapIsReportedNotACrash) {
    const std::string path = N4_SOURCE_DIR "/tests/fuzz/corpus/jet/damaged-catalog-map.mdb";
    // What the child does, in a process of its own here: before, mdbtools read
    // the catalog's rows through a null page map and the reader died of it.
    EXPECT_EXIT(
        {
            const std::string out = readJetSerialized(path);
            _exit(out.rfind("ERR\t", 0) == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    ImportResult r = readJetHistory(path);
    EXPECT_FALSE(r.ok);
}

TEST(JetReader, TheParentReadsOnlyWhatTheChildCanSay) {
    ImportResult ok = parseJetSerialized("OK\n2\t1\t2\t3\t4\n\t\t\t\t\n1\t5\t\t7\t8\n");
    ASSERT_TRUE(ok.ok) << ok.message;
    ASSERT_EQ(ok.rows.size(), 2u);   // the row with nothing in it is passed over
    EXPECT_EQ(ok.rows[0].drawNo, 1); // sorted by draw number
    EXPECT_EQ(ok.rows[0].digits[1], kAbsentDigit);
    ImportResult err = parseJetSerialized("ERR\t表がありません。\n");
    EXPECT_FALSE(err.ok);
    EXPECT_EQ(err.message, "表がありません。");
    // What the reading library said comes after the reason, on its own line.
    ImportResult said = parseJetSerialized("ERR\t壊れています。\toffset 40960 is beyond EOF\n");
    EXPECT_FALSE(said.ok);
    EXPECT_EQ(said.message,
              "壊れています。\n（読み取りライブラリの報告: offset 40960 is beyond EOF）");
    for (const char* garbage : {"", "OKAY\n", "ERR", "\nOK\n"})
        EXPECT_FALSE(parseJetSerialized(garbage).ok) << garbage;
}

TEST(JetReader, ReadsTheDrawsInAChildProcessThatIsCollectedAfterwards) {
    // The reader runs in a child process; once the read returns, good or bad,
    // that process is gone (not even left as a finished entry to collect).
    const std::string good = N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb";
    const std::string bad = n4test::tempFolder() + "/bad.mdb";
    n4test::writeFile(bad, std::string(4096, '\x01'));
    const size_t descriptors = n4test::openDescriptorTargets().size();
    ImportResult read = readJetHistory(good);
    ASSERT_TRUE(read.ok) << read.message;
    // The file holds draws 1..50 of the real history, draw 3 without digits.
    ASSERT_EQ(read.rows.size(), 50u);
    EXPECT_EQ(read.rows[0].digits, (std::array<int, 4>{1, 1, 4, 9}));
    EXPECT_EQ(read.rows[1].digits, (std::array<int, 4>{7, 9, 2, 1}));
    EXPECT_FALSE(read.rows[2].isComplete());
    EXPECT_EQ(read.rows[3].digits, (std::array<int, 4>{0, 1, 7, 1}));
    EXPECT_EQ(read.rows[49].drawNo, 50);
    EXPECT_FALSE(readJetHistory(bad).ok);
    EXPECT_EQ(n4test::openDescriptorTargets().size(), descriptors); // both ends of each pipe closed
    int status = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

namespace {

// What the reader's process hands over through a pipe, read back whole.
std::string handedOver(const std::string& path, bool& written) {
    int fds[2];
    if (pipe(fds) != 0) return "";
    written = handOverJetRows(path, fds[1]);
    close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    return text;
}

} // namespace

// The reader's process is this program started anew (exec'd), not a copy of
// it: a fault planted in this process does not reach it. Its own writes, as
// the reader makes them, are whole when the pipe takes little at a time and
// a failure when they fail.
TEST(JetReader, TheReaderIsAProgramOfItsOwnThatHandsOverEveryRowOrFails) {
    const std::string good = N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb";
    const ImportResult whole = readJetHistory(good);
    ASSERT_TRUE(whole.ok) << whole.message;
    ASSERT_EQ(whole.rows.size(), 50u);
    {
        n4test::InjectedFaults faults{{n4test::Call::Write, EIO}};
        const ImportResult r = readJetHistory(good); // a copy of this process could not write
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_EQ(r.rows.size(), whole.rows.size());
    }
    bool written = false;
    {
        n4test::InjectedFaults faults{{n4test::Call::ShortWrite, 0, "", 7, 0, 1 << 30}};
        const ImportResult r = parseJetSerialized(handedOver(good, written));
        EXPECT_TRUE(written);
        ASSERT_TRUE(r.ok) << r.message;
        ASSERT_EQ(r.rows.size(), whole.rows.size());
        for (size_t i = 0; i < r.rows.size(); ++i)
            EXPECT_TRUE(r.rows[i].drawNo == whole.rows[i].drawNo &&
                        r.rows[i].digits == whole.rows[i].digits)
                << i;
    }
    {
        n4test::InjectedFaults faults{{n4test::Call::Write, EIO}};
        handedOver(good, written);
        EXPECT_FALSE(written);
    }
    // The reader's command line as the program gives it, run as a user could.
    FILE* out = popen(
        ("/proc/" + std::to_string(getpid()) + "/exe " + kJetReaderCommand + " '" + good + "'")
            .c_str(),
        "r");
    ASSERT_NE(out, nullptr);
    std::string text;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, out)) > 0;)
        text.append(buffer, n);
    EXPECT_EQ(pclose(out), 0);
    EXPECT_EQ(parseJetSerialized(text).rows.size(), whole.rows.size());
}

TEST(JetReader, TheProgramThatAsksGoesOnRunningAfterTheRead) {
    // The reading process is a child: the program itself (here a process
    // standing in for it) gets the draws back and carries on, whatever the
    // child does at its end.
    const std::string good = N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb";
    const pid_t program = fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        const pid_t self = getpid();
        const ImportResult r = readJetHistory(good);
        _exit(getpid() == self && r.ok && r.rows.size() == 50 ? 42 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(program, &status, 0), program);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 42);
}

TEST(JetReader, DrawNumbersAndDigitsAtTheEndsOfTheirRanges) {
    ImportResult r = parseJetSerialized("OK\n"
                                        "99999\t9\t0\t/\t:\n"
                                        "000000001\t1\t2\n");
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].drawNo, 1); // nine characters with leading zeros
    EXPECT_EQ(r.rows[0].digits, (std::array<int, 4>{1, 2, kAbsentDigit, kAbsentDigit}));
    EXPECT_EQ(r.rows[1].drawNo, 99999);
    EXPECT_EQ(r.rows[1].digits, (std::array<int, 4>{9, 0, kAbsentDigit, kAbsentDigit}));
    EXPECT_EQ(r.unreadableDigits, 2); // "/" and ":"
    EXPECT_EQ(r.message, "");
    ImportResult none = parseJetSerialized("OK\n");
    EXPECT_TRUE(none.ok);
    EXPECT_TRUE(none.rows.empty());
    // A draw number outside 1..99999 is refused with its row, not left out:
    // the rest of such a file cannot be trusted either.
    for (const char* bad : {"100000", "0", "-3", "0000000002", "1x", ""}) {
        ImportResult refused =
            parseJetSerialized(std::string("OK\n5\t1\t1\t1\t1\n") + bad + "\t1\t1\t1\t1\n");
        EXPECT_FALSE(refused.ok) << bad;
        EXPECT_EQ(refused.message,
                  std::string("2行目: 回数「") + bad + "」を 1～99999 の数として読めません。")
            << bad;
        EXPECT_TRUE(refused.rows.empty()) << bad;
    }
}

namespace {

const std::string kSmallFixture = N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb";

// The small fixture with the row of draw 2 (7921) rewritten in place: its
// draw number and digits as given. The rows are fixed-size: the column count,
// the draw as a 32-bit and each digit as a 16-bit little-endian number.
std::string withSecondDrawAs(int drawNo, const std::array<int, 4>& digits) {
    auto le = [](long value, int bytes) {
        std::string s;
        for (int i = 0; i < bytes; ++i)
            s += static_cast<char>((value >> (8 * i)) & 0xff);
        return s;
    };
    auto row = [&](int no, const std::array<int, 4>& d) {
        std::string s = le(no, 4);
        for (int v : d)
            s += le(v, 2);
        return s;
    };
    std::string bytes = n4test::readFile(kSmallFixture);
    const size_t at = bytes.find(row(2, {7, 9, 2, 1}));
    if (at == std::string::npos || bytes.find(row(2, {7, 9, 2, 1}), at + 1) != std::string::npos)
        return "";
    bytes.replace(at, 12, row(drawNo, digits));
    const std::string path = n4test::tempFolder() + "/twice.mdb";
    n4test::writeFile(path, bytes);
    return path;
}

} // namespace

TEST(JetReader, ADrawGivenTwoResultsIsRefusedNamingBothRowsAndTheSameResultTwiceIsOne) {
    const std::string differing = withSecondDrawAs(1, {7, 9, 2, 1});
    ASSERT_FALSE(differing.empty());
    const ImportResult refused = readHistoryFile(differing);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, "1行目と2行目で第1回の当選番号が違います（1149 と 7921）。"
                               "どちらが正しいか決められません。");
    EXPECT_TRUE(refused.rows.empty());

    const std::string same = withSecondDrawAs(1, {1, 1, 4, 9});
    const ImportResult once = readHistoryFile(same);
    ASSERT_TRUE(once.ok) << once.message;
    ASSERT_EQ(once.rows.size(), 49u);
    EXPECT_EQ(once.rows[0].drawNo, 1);
    EXPECT_EQ(once.rows[0].digits, (std::array<int, 4>{1, 1, 4, 9}));
    EXPECT_EQ(once.rows[1].drawNo, 3);
}

// Damaged copies of the small fixture: cut at a page's end, inside a page,
// in the last page's rows. mdbtools goes on past what it cannot read and
// prints why in English; the reader refuses the file in Japanese instead and
// keeps the library's words off the terminal.
TEST(JetReader, ADamagedFileIsRefusedInJapaneseAndTheLibrarysWordsStayOffTheTerminal) {
    const std::string whole = n4test::readFile(kSmallFixture);
    ASSERT_EQ(whole.size(), 11u * 4096);
    const std::string folder = n4test::tempFolder();
    for (size_t cut : {28672u, 32768u, 36864u, 40000u, 41000u, 45000u}) {
        const std::string path = folder + "/cut" + std::to_string(cut) + ".mdb";
        n4test::writeFile(path, whole.substr(0, cut));
        ::testing::internal::CaptureStderr();
        const ImportResult r = readHistoryFile(path);
        const std::string printed = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(r.ok) << cut;
        EXPECT_TRUE(r.rows.empty()) << cut;
        EXPECT_EQ(printed, "") << cut;
        ASSERT_FALSE(r.message.empty()) << cut;
        EXPECT_EQ(r.message.rfind("Jet 形式のデータベースが壊れていて読めません", 0), 0u)
            << cut << ": " << r.message;
    }
    // Cut at a page's end, the library's own words follow on a line of their own.
    const ImportResult atPage = readHistoryFile(folder + "/cut36864.mdb");
    EXPECT_EQ(atPage.message.rfind("Jet 形式のデータベースが壊れていて読めません。\n（", 0), 0u)
        << atPage.message;
    EXPECT_NE(atPage.message.find("offset 40960 is beyond EOF"), std::string::npos)
        << atPage.message;
    // The same in this process, as the fuzzing runs the reader's work.
    ::testing::internal::CaptureStderr();
    const std::string said = readJetSerialized(folder + "/cut36864.mdb");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(said.rfind("ERR\t", 0), 0u) << said;
    // Printing in this process works as before once the read is done.
    ::testing::internal::CaptureStderr();
    std::fprintf(stderr, "after");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "after");
}
