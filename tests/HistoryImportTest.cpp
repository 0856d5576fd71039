#include <gtest/gtest.h>

#include <fcntl.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "SystemCallFaults.h"
#include "TestSupport.h"
#include "core/import/HistoryImport.h"
#include "core/import/TextEncoding.h"

using namespace n4;
namespace fs = std::filesystem;

namespace {

std::string drawsOf(const ImportResult& r) {
    std::string s;
    for (const DrawRecord& d : r.rows) {
        s += (s.empty() ? "" : " ") + std::to_string(d.drawNo) + ":";
        for (int v : d.digits)
            s += v == kAbsentDigit ? '_' : static_cast<char>('0' + v);
    }
    return s;
}

std::string utf16(const std::string& ascii, bool littleEndian) {
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : ascii) {
        out += littleEndian ? c : '\0';
        out += littleEndian ? '\0' : c;
    }
    return out;
}

bool sameDraws(const std::vector<DrawRecord>& a, const std::vector<DrawRecord>& b, int skip = 0) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].drawNo != skip && (a[i].drawNo != b[i].drawNo || a[i].digits != b[i].digits))
            return false;
    return true;
}

// Runs readHistoryFile in a child so that a read that would hang fails the
// test instead of freezing it. Returns the child's message, or "TIMEOUT".
std::string readInChild(const std::string& path) {
    int fds[2];
    if (pipe(fds) != 0) return "pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const ImportResult r = readHistoryFile(path);
        const std::string msg = (r.ok ? "OK " : "NG ") + r.message;
        (void)!write(fds[1], msg.data(), msg.size());
        _exit(0);
    }
    close(fds[1]);
    for (int waited = 0; waited < 100; ++waited) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            char buf[512] = {};
            (void)!read(fds[0], buf, sizeof buf - 1);
            close(fds[0]);
            return buf;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(fds[0]);
    return "TIMEOUT";
}

} // namespace

TEST(TextEncoding, Utf16WithEitherByteOrderMark) {
    for (bool le : {true, false}) {
        auto r = readHistoryBytes(utf16("draw,d1,d2,d3,d4\r\n1,1,1,4,9\r\n", le));
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_EQ(drawsOf(r), "1:1149");
        EXPECT_NE(r.format.find("UTF-16"), std::string::npos);
    }
    // Japanese in UTF-16: 回 is U+56DE.
    std::string jp = utf16("_,number\n7,1234\n", true);
    jp[2] = '\xDE';
    jp[3] = '\x56';
    auto r = readHistoryBytes(jp);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "7:1234");
}

TEST(TextEncoding, OneUndecodableByteIsRefusedWithItsLine) {
    for (const char* bad : {"\xFF", "\x80", "\xC3", "\xFD"}) {
        // The byte sits in a column that would otherwise be ignored.
        const std::string bytes =
            "draw,memo,d1,d2,d3,d4\n1,,1,1,4,9\n2," + std::string("x") + bad + ",7,9,2,1\n";
        auto r = readHistoryBytes(bytes);
        EXPECT_FALSE(r.ok) << int(static_cast<unsigned char>(*bad));
        EXPECT_NE(r.message.find("3行目"), std::string::npos) << r.message;
    }
    // Damaged UTF-8 with Japanese in it stays damaged UTF-8.
    auto jp = readHistoryBytes("回,当せん番号\n1,1149\n2,\xE3\x81\n");
    EXPECT_FALSE(jp.ok);
    EXPECT_NE(jp.message.find("3行目"), std::string::npos) << jp.message;
    // A Shift-JIS file with a broken double byte.
    std::string sjis = *utf8ToShiftJis("回,当せん番号,メモ\n1,1149,あ\n");
    sjis += "2,7921,\x82\x0A";
    auto s = readHistoryBytes(sjis);
    EXPECT_FALSE(s.ok);
    EXPECT_NE(s.message.find("3行目"), std::string::npos) << s.message;
    // A NUL in a text that is not UTF-16.
    std::string withNul = "draw,number\n1,1149\n\n2,79";
    withNul += '\0';
    withNul += "21\n";
    auto nul = readHistoryBytes(withNul);
    EXPECT_FALSE(nul.ok);
    EXPECT_NE(nul.message.find("4行目"), std::string::npos) << nul.message;
}

TEST(TextEncoding, ShiftJisWithHalfWidthKanaAndCrLf) {
    std::string sjis =
        *utf8ToShiftJis("回号,抽せん日,当せん番号,備考\r\n第12回,2020/1/1,0123,ｱｲｳ\r\n");
    auto r = readHistoryBytes(sjis);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "12:0123");
    // The last line without a line end is read to its last byte.
    auto unended = readHistoryBytes(sjis + *utf8ToShiftJis("第13回,2020/1/2,4567"));
    ASSERT_TRUE(unended.ok) << unended.message;
    EXPECT_EQ(drawsOf(unended), "12:0123 13:4567");
}

TEST(HistoryFile, FoldersDevicesAndPipesAreRefusedWithoutWaiting) {
    const std::string folder = n4test::tempFolder();
    EXPECT_NE(readInChild(folder).find("フォルダ"), std::string::npos);
    EXPECT_NE(readInChild("/dev/zero").find("通常のファイルではありません"), std::string::npos);
    const std::string fifo = folder + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string r = readInChild(fifo);
    EXPECT_NE(r, "TIMEOUT");
    EXPECT_NE(r.find("通常のファイルではありません"), std::string::npos) << r;
    EXPECT_NE(readInChild(folder + "/missing.csv").find("ありません"), std::string::npos);
    EXPECT_FALSE(isJetDatabaseFile(fifo));
}

TEST(HistoryFile, AFileAboveTheSizeLimitIsRefusedUnread) {
    const std::string path = n4test::tempFolder() + "/huge.csv";
    n4test::writeFile(path, "draw,number\n1,1149\n");
    fs::resize_file(path, kMaxImportBytes + 1); // sparse: no disk is used
    auto r = readHistoryFile(path);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("大きすぎます"), std::string::npos) << r.message;
    // Its own size rounded up to whole MiB, then the limit.
    EXPECT_EQ(r.message, "ファイルが大きすぎます（65 MiB）。取り込めるのは 64 MiB までです。");
    fs::resize_file(path, kMaxImportBytes + (1u << 20));
    EXPECT_NE(readHistoryFile(path).message.find("（65 MiB）"), std::string::npos);
    fs::resize_file(path, kMaxImportBytes);
    // At the limit it is read (and refused for its NUL padding, not its size).
    auto atLimit = readHistoryFile(path);
    EXPECT_EQ(atLimit.message.find("大きすぎます"), std::string::npos) << atLimit.message;
}

TEST(HistoryFile, AReadIsRetriedWhenInterruptedAndAFailingOrGrowingFileIsRefused) {
    using n4test::Call;
    const std::string path = n4test::tempFolder() + "/history.csv";
    n4test::writeFile(path, "draw,number\n1,1149\n2,0207\n");
    {
        n4test::InjectedFaults faults{{Call::Read, EINTR, "", -1, 0, 2}};
        const ImportResult r = readHistoryFile(path);
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_EQ(r.rows.size(), 2u);
        EXPECT_EQ(faults.fired(0), 2);
    }
    {
        n4test::InjectedFaults faults{{Call::Read, EIO}};
        const ImportResult r = readHistoryFile(path);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, "ファイルを読めません。");
    }
    // At the limit when it is measured, or small then, and past it once read: refused, not
    // cut at the limit.
    for (const std::uintmax_t measured : {std::uintmax_t(kMaxImportBytes), std::uintmax_t(20)}) {
        fs::resize_file(path, measured);
        n4test::InjectedFaults faults{
            {Call::Read, 0, "", -1, 0, 1, [&] { fs::resize_file(path, kMaxImportBytes + 1); }}};
        const ImportResult grown = readHistoryFile(path);
        EXPECT_EQ(faults.fired(0), 1);
        EXPECT_FALSE(grown.ok);
        EXPECT_EQ(grown.message, "ファイルが大きすぎます。取り込めるのは 64 MiB までです。")
            << measured;
    }
}

TEST(HistoryFile, ReadsThatDeliverOneByteAtATimeAreReadOn) {
    const std::string path = n4test::tempFolder() + "/history.csv";
    n4test::writeFile(path, "draw,number\n1,1149\n2,0207\n");
    const std::string jet = N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb";
    n4test::InjectedFaults faults{{n4test::Call::ShortRead, 0, "", 1, 0, 1 << 30}};
    const ImportResult csv = readHistoryFile(path);
    ASSERT_TRUE(csv.ok) << csv.message;
    EXPECT_EQ(csv.rows.size(), 2u);
    // A Jet file is still known by its first bytes, and its rows come whole
    // through the reader's pipe.
    EXPECT_TRUE(isJetDatabaseFile(jet));
    const ImportResult fromJet = readHistoryFile(jet);
    ASSERT_TRUE(fromJet.ok) << fromJet.message;
    EXPECT_EQ(fromJet.rows.size(), 50u);
    EXPECT_GT(faults.fired(0), 100);
}

TEST(HistoryFile, IsReadWithStandardInputClosed) {
    const std::string path = n4test::tempFolder() + "/history.csv";
    n4test::writeFile(path, "draw,number\n1,1149\n");
    const std::string jet = N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb";
    ImportResult r;
    bool isJet = false;
    bool leftOpen = true;
    n4test::withStandardInputClosed([&] {
        r = readHistoryFile(path);
        isJet = isJetDatabaseFile(jet);
        leftOpen = ::fcntl(0, F_GETFD) != -1; // the file read, as descriptor 0, is closed again
    });
    EXPECT_FALSE(leftOpen);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "1:1149");
    EXPECT_TRUE(isJet);
}

TEST(HistoryFile, TheThreeRealHistoriesImportToTheNormalisedOne) {
    const std::string shared = n4test::sharedDataFolder();
    if (shared.empty() || !fs::exists(shared + "/raw")) GTEST_SKIP() << "real history not present";
    const auto expected = n4test::realHistory();
    ASSERT_EQ(expected.size(), 7054u);
    const std::string raw = shared + "/raw/";
    auto primary = readHistoryFile(raw + "hazimekom__numbers4-api__data__numbers4_results_v2.csv");
    ASSERT_TRUE(primary.ok) << primary.message;
    EXPECT_TRUE(sameDraws(primary.rows, expected));
    auto older =
        readHistoryFile(raw + "SHAKAITOU__takarakuji__ddl__initData__numberS4_20180216.csv");
    ASSERT_TRUE(older.ok) << older.message;
    EXPECT_TRUE(
        sameDraws(older.rows, std::vector<DrawRecord>(expected.begin(), expected.begin() + 4858)));
    auto json = readHistoryFile(raw + "tk030-lotto__lotto-data-hub__data__numbers4.json");
    ASSERT_TRUE(json.ok) << json.message;
    // Only draw 1225 differs, where the public sources disagree.
    EXPECT_TRUE(sameDraws(json.rows, expected, 1225));
    EXPECT_EQ(json.rows[1224].digits, (std::array<int, 4>{1, 6, 0, 5}));
    EXPECT_EQ(expected[1224].digits, (std::array<int, 4>{1, 0, 6, 5}));
}

TEST(HistoryBytes, DamagedCopiesOfEveryFormatAreReadWholeOrRefusedWithAReason) {
    // Random damage to small files of each format: every result is either a
    // sound table or a refusal that says why; nothing in between.
    const std::string seeds[] = {
        "draw,d1,d2,d3,d4\n1,1,2,3,4\n2,5,6,7,8\n",
        "\xEF\xBB\xBF回\t当せん番号\n第1回\t1149\n第2回\t0097\n",
        "0002,1994/10/14,7,9,2,1\n0001,1994/10/07,1,1,4,9\n",
        R"([{"round":2,"numbers":[7,9,2,1]},{"round":1,"numbers":["1","1","4","9"]}])",
        utf16("draw;number\n1;1149\n", true)};
    std::mt19937 random(14);
    int read = 0, refused = 0;
    for (const std::string& seed : seeds) {
        for (int i = 0; i < 400; ++i) {
            std::string bytes = seed;
            for (int k = 0, n = 1 + static_cast<int>(random() % 4); k < n; ++k) {
                const size_t at = random() % bytes.size();
                switch (random() % 3) {
                case 0:
                    bytes[at] = static_cast<char>(random() % 256);
                    break;
                case 1:
                    bytes.erase(at, 1 + random() % 3);
                    break;
                default:
                    bytes.insert(at, 1, "\",;\t\n[]{}0第"[random() % 12]);
                    break;
                }
                if (bytes.empty()) bytes = "x";
            }
            const ImportResult r = readHistoryBytes(bytes);
            if (!r.ok) {
                ++refused;
                EXPECT_FALSE(r.message.empty());
                EXPECT_TRUE(r.rows.empty());
                continue;
            }
            ++read;
            ASSERT_FALSE(r.rows.empty());
            for (size_t k = 0; k < r.rows.size(); ++k) {
                EXPECT_GE(r.rows[k].drawNo, 1);
                EXPECT_LE(r.rows[k].drawNo, kMaxDrawNo);
                if (k > 0) {
                    EXPECT_LT(r.rows[k - 1].drawNo, r.rows[k].drawNo);
                }
                for (int d : r.rows[k].digits)
                    EXPECT_TRUE(d == kAbsentDigit || (d >= 0 && d <= 9));
            }
        }
    }
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

TEST(HistoryFile, AJetDatabaseIsToldByTheEngineNameInItsFirstPage) {
    const std::string folder = n4test::tempFolder();
    const std::string corpus = N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb";
    // The real file, read through the one entry point every reader uses.
    ImportResult jet = readHistoryFile(corpus);
    ASSERT_TRUE(jet.ok) << jet.message;
    EXPECT_EQ(jet.format, "Jet 4.0 データベース");
    EXPECT_EQ(jet.rows.size(), 50u);
    // The name ends at byte 19: a file that stops there is a (broken) Jet
    // file, one a byte shorter is text. Access 2007's engine name counts too.
    struct Case {
        std::string bytes;
        bool jet;
    } cases[] = {{std::string("\0\1\0\0Standard Jet DB", 19), true},
                 {std::string("\0\1\0\0Standard ACE DB\0", 20), true},
                 {std::string("\0\1\0\0Standard Jet D", 18), false},
                 {std::string("\0\1\0\0Standard Jet Db", 19), false},
                 {std::string("\0\1\0Standard Jet DB", 18), false}};
    for (const Case& c : cases) {
        const std::string path = folder + "/file.mdb";
        n4test::writeFile(path, c.bytes);
        EXPECT_EQ(isJetDatabaseFile(path), c.jet) << c.bytes.size();
        ImportResult r = readHistoryFile(path);
        EXPECT_FALSE(r.ok);
        // Read as text, its NUL bytes are named; read as Jet, its catalogue is missing.
        EXPECT_EQ(r.message.find("0x00") == std::string::npos, c.jet) << r.message;
        EXPECT_EQ(r.format, "");
    }
    EXPECT_FALSE(isJetDatabaseFile(folder + "/none.mdb"));
    EXPECT_FALSE(isJetDatabaseFile(folder));
    // Its first page read again when the read is interrupted; an empty file
    // is no Jet file whatever error number an earlier call left behind.
    {
        n4test::InjectedFaults faults{{n4test::Call::Read, EINTR}};
        EXPECT_TRUE(isJetDatabaseFile(corpus));
        EXPECT_EQ(faults.fired(0), 1);
    }
    n4test::writeFile(folder + "/empty.mdb", "");
    errno = EINTR;
    EXPECT_FALSE(isJetDatabaseFile(folder + "/empty.mdb"));
    // A missing file and an empty one, in words.
    EXPECT_EQ(readHistoryFile(folder + "/none.csv").message, "ファイルがありません。");
    n4test::writeFile(folder + "/empty.csv", "");
    EXPECT_EQ(readHistoryFile(folder + "/empty.csv").message, "ファイルが空です。");
    // A text file is read as text whatever its name says.
    n4test::writeFile(folder + "/text.mdb", "draw,d1,d2,d3,d4\n3,1,2,3,4\n");
    ImportResult text = readHistoryFile(folder + "/text.mdb");
    ASSERT_TRUE(text.ok) << text.message;
    EXPECT_EQ(drawsOf(text), "3:1234");
    EXPECT_EQ(text.format, "CSV（UTF-8・カンマ区切り・見出しあり）");
}

#include <sys/prctl.h>

TEST(HistoryFile, AFileThatSaysItIsEmptyIsStillReadToItsEnd) {
    // Files of the proc file system give their size as 0 and are only as
    // long as what they hold: the program's own name is such a file, so the
    // test names itself as a history line and reads it back.
    char saved[32] = {};
    ASSERT_EQ(prctl(PR_GET_NAME, saved), 0);
    ASSERT_EQ(prctl(PR_SET_NAME, "7054,9577"), 0);
    struct stat st {};
    ASSERT_EQ(::stat("/proc/self/comm", &st), 0);
    const ImportResult r = readHistoryFile("/proc/self/comm");
    prctl(PR_SET_NAME, saved);
    EXPECT_EQ(st.st_size, 0);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(drawsOf(r), "7054:9577");
}
