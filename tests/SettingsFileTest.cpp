#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#include "SystemCallFaults.h"
#include "TestSupport.h"
#include "core/import/TextEncoding.h"
#include "core/prediction/SettingsFile.h"

using namespace n4;

namespace {
std::string settingsPath() {
    return n4test::tempFolder() + "/" + kSettingsFileName;
}
} // namespace

TEST(SettingsFile, WriteThenReadGivesTheSameFlags) {
    const std::string path = settingsPath();
    AnalysisOptions written;
    written.flags = {true, false, true, false, false, true, true, false, true, false};
    ASSERT_TRUE(writeInitFile(path, written).ok);
    AnalysisOptions read;
    readInitFile(path, read);
    EXPECT_EQ(read.flags, written.flags);
    EXPECT_EQ(read.reflectedCount(), 5);
}

TEST(SettingsFile, WritesTenShiftJisLinesWithCrLfInKeyOrder) {
    const std::string path = settingsPath();
    AnalysisOptions o;
    o.flags[8] = true;
    ASSERT_TRUE(writeInitFile(path, o).ok);
    const std::string bytes = n4test::readFile(path);
    auto text = shiftJisToUtf8(bytes);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text,
              "頻度分析Opt=False\r\n間隔分析Opt=False\r\n出現回数分析Opt=False\r\n"
              "バラツキ分析Opt=False\r\n引っ張り分析Opt=False\r\n連番飛び石分析Opt=False\r\n"
              "数字合計分析Opt=False\r\n組合せパターン分析Opt=False\r\n5分割傾向分析Opt=True\r\n"
              "分割データ分析Opt=False\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(SettingsFile, ReadsUtf8AnyOrderLaterLineWinsUnknownIgnored) {
    const std::string path = settingsPath();
    n4test::writeFile(path,
                      "分割データ分析Opt=True\n[section]\n頻度分析Opt=True\n頻度分析Opt=False\n"
                      "５分割傾向分析Opt=True\n");
    AnalysisOptions o;
    readInitFile(path, o);
    EXPECT_TRUE(o.flags[9]);
    EXPECT_FALSE(o.flags[0]);
    EXPECT_FALSE(o.flags[8]); // a full-width 5 is another key
    // A last line without a line end counts too, also read a byte at a time.
    n4test::writeFile(path, "頻度分析Opt=True\r\n分割データ分析Opt=False");
    // An interrupted read is tried again, and the file's end still ends it.
    for (const int bytesPerRead : {1 << 30, 1}) {
        n4test::InjectedFaults faults{{n4test::Call::Read, EINTR},
                                      {n4test::Call::ShortRead, 0, "", bytesPerRead, 0, 1 << 30}};
        AnalysisOptions again = o;
        readInitFile(path, again);
        EXPECT_TRUE(again.flags[0]) << bytesPerRead;
        EXPECT_FALSE(again.flags[9]) << bytesPerRead;
    }
}

TEST(SettingsFile, OnlyOneKeyLeavesTheOthersOff) {
    const std::string path = settingsPath();
    n4test::writeFile(path, *utf8ToShiftJis("間隔分析Opt=True\r\n"));
    AnalysisOptions o;
    readInitFile(path, o);
    for (int k = 0; k < kOptionCount; ++k)
        EXPECT_EQ(o.flags[k], k == 1) << k;
}

TEST(SettingsFile, BrokenLinesAndMissingFilesChangeNothing) {
    const std::string path = settingsPath();
    n4test::writeFile(path, "\r\n頻度分析Opt\r\n間隔分析Opt=yes\r\n出現回数分析Opt=\r\n=True\r\n"
                            "バラツキ分析Opt=True=extra\r\n\xff\xfe\x00garbage");
    AnalysisOptions o;
    readInitFile(path, o);
    for (int k = 0; k < kOptionCount; ++k)
        EXPECT_EQ(o.flags[k], k == 3) << k;
    AnalysisOptions untouched;
    readInitFile(path + ".missing", untouched);
    EXPECT_EQ(untouched.reflectedCount(), 0);
}

// One damaged byte in a Shift-JIS file costs only its own line: the other nine
// options stay on, and the file written at exit keeps them.
TEST(SettingsFile, ADamagedByteInAShiftJisFileCostsOnlyItsOwnLine) {
    const std::string path = settingsPath();
    AnalysisOptions allOn;
    allOn.flags.fill(true);
    for (const char damage : {'\xff', '\x80'}) {
        ASSERT_TRUE(writeInitFile(path, allOn).ok);
        std::string bytes = n4test::readFile(path);
        // The first byte of the fourth line's key ("バラツキ分析Opt").
        size_t lineStart = 0;
        for (int line = 0; line < 3; ++line)
            lineStart = bytes.find("\r\n", lineStart) + 2;
        bytes[lineStart] = damage;
        n4test::writeFile(path, bytes);

        AnalysisOptions read;
        readInitFile(path, read);
        for (int k = 0; k < kOptionCount; ++k)
            EXPECT_EQ(read.flags[k], k != 3) << "option " << k << ", damage " << int(damage);
        ASSERT_TRUE(writeInitFile(path, read).ok);
        AnalysisOptions again;
        readInitFile(path, again);
        EXPECT_EQ(again.reflectedCount(), kOptionCount - 1);
    }
}

TEST(SettingsFile, MissingFolderIsReported) {
    AnalysisOptions o;
    WriteResult r = writeInitFile("/nonexistent-folder/" + std::string(kSettingsFileName), o);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("保存できませんでした"), std::string::npos);
}

// A settings file that cannot be saved says why, in words.
TEST(SettingsFile, ASaveThatFailsSaysTheSystemsReason) {
    AnalysisOptions o;
    o.flags[1] = true;
    const WriteResult missing =
        writeInitFile("/nonexistent-folder/" + std::string(kSettingsFileName), o);
    EXPECT_NE(missing.message.find("（フォルダーがありません）"), std::string::npos)
        << missing.message;
    const std::string path = settingsPath();
    for (const auto& [call, error, words] :
         {std::tuple{n4test::Call::Write, ENOSPC, "ディスクに空きがありません"},
          std::tuple{n4test::Call::Fsync, EIO, "ディスクの読み書きに失敗しました"},
          std::tuple{n4test::Call::Rename, EROFS, "読み取り専用の場所です"}}) {
        n4test::InjectedFaults faults{{call, error}};
        const WriteResult r = writeInitFile(path, o);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find(std::string("（") + words + "）"), std::string::npos) << r.message;
    }
}

TEST(SettingsFile, ALinkPlantedBesideTheFileIsNeverFollowed) {
    const std::string folder = n4test::tempFolder();
    const std::string path = folder + "/" + kSettingsFileName;
    const std::string victim = folder + "/victim.txt";
    n4test::writeFile(victim, "precious");
    // The old fixed temporary name, and the one this process would use now.
    std::filesystem::create_symlink(victim, path + ".tmp");
    std::filesystem::create_symlink(victim, path + ".new-" + std::to_string(::getpid()));
    AnalysisOptions o;
    o.flags[2] = true;
    ASSERT_TRUE(writeInitFile(path, o).ok);
    EXPECT_EQ(n4test::readFile(victim), "precious");
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path)));
    AnalysisOptions read;
    readInitFile(path, read);
    EXPECT_EQ(read.flags, o.flags);
    EXPECT_FALSE(std::filesystem::exists(path + ".new-" + std::to_string(::getpid())));
}

TEST(SettingsFile, AWriteThatFailsHalfwayIsReportedAndLeavesTheOldFileWhole) {
    const std::string path = settingsPath();
    AnalysisOptions old;
    old.flags[3] = true;
    ASSERT_TRUE(writeInitFile(path, old).ok);
    const std::string before = n4test::readFile(path);
    // A full disk, as the process sees it: no file may grow past 40 bytes, so
    // the ten lines (about 200 bytes) cannot all be written.
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 40;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    AnalysisOptions changed;
    changed.flags[7] = true;
    WriteResult r = writeInitFile(path, changed);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("保存できませんでした"), std::string::npos);
    EXPECT_EQ(n4test::readFile(path), before);
    AnalysisOptions read;
    readInitFile(path, read);
    EXPECT_TRUE(read.flags[3]);
    EXPECT_FALSE(read.flags[7]);
}

TEST(SettingsFile, APipeOrAFolderUnderTheNameIsNotWaitedOnAndChangesNothing) {
    const std::string folder = n4test::tempFolder();
    const std::string fifo = folder + "/" + kSettingsFileName;
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string dir = n4test::tempFolder() + "/" + kSettingsFileName;
    std::filesystem::create_directory(dir);
    for (const std::string& path : {fifo, dir}) {
        // In a child: a reader that waits for a writer would never come back.
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            AnalysisOptions o;
            readInitFile(path, o);
            _exit(o.reflectedCount() == 0 ? 0 : 1);
        }
        int status = 0;
        for (int waited = 0; waited < 100 && waitpid(child, &status, WNOHANG) == 0; ++waited)
            usleep(50 * 1000);
        if (waitpid(child, &status, WNOHANG) == 0) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            ADD_FAILURE() << path << ": the reader waited on it";
            continue;
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << path;
    }
}

TEST(AnalysisOptions, KeyEightAndItsCaptionAreAsUsersKnowThem) {
    EXPECT_STREQ(optionKey(8), "5分割傾向分析Opt");
    EXPECT_STREQ(optionGroupCaption(8), "■4分割傾向分析");
    EXPECT_STREQ(optionGroupCaption(11), "■下一桁連続出現回数分析");
    // The first and last of each, and nothing beyond them.
    EXPECT_STREQ(optionKey(0), "頻度分析Opt");
    EXPECT_STREQ(optionKey(9), "分割データ分析Opt");
    EXPECT_STREQ(optionKey(-1), "");
    EXPECT_STREQ(optionKey(10), "");
    EXPECT_STREQ(optionGroupCaption(0), "■頻度分析（出現頻度分析）");
    EXPECT_STREQ(optionGroupCaption(-1), "");
    EXPECT_STREQ(optionGroupCaption(kOptionGroupCount), "");
    EXPECT_EQ(kOptionGroupCount, 12);
}

TEST(AnalysisOptions, TheReflectedCountIsTheNumberOfOptionsOn) {
    AnalysisOptions o;
    EXPECT_EQ(o.reflectedCount(), 0);
    o.flags[0] = true;
    EXPECT_EQ(o.reflectedCount(), 1);
    o.flags[9] = true;
    o.flags[4] = true;
    EXPECT_EQ(o.reflectedCount(), 3);
    o.flags.fill(true);
    EXPECT_EQ(o.reflectedCount(), 10);
}

TEST(SettingsFile, OnlyTheFirstSixtyFourKilobytesAreRead) {
    // A stray huge file is read no further than 64 KiB: a line that ends
    // exactly there counts, one that starts after it does not.
    const std::string path = settingsPath();
    const std::string first = "頻度分析Opt=True\r\n";
    const std::string last = "間隔分析Opt=True\r\n";
    std::string text = first;
    text += std::string(64 * 1024 - first.size() - last.size() - 2, ' ') + "\r\n";
    text += last;
    ASSERT_EQ(text.size(), 64u * 1024);
    n4test::writeFile(path, text + "出現回数分析Opt=True\r\n");
    AnalysisOptions o;
    readInitFile(path, o);
    EXPECT_TRUE(o.flags[0]);
    EXPECT_TRUE(o.flags[1]);
    EXPECT_FALSE(o.flags[2]);
    // A line cut by the limit is cut: "Tru" is not True.
    const std::string cutLine = "間隔分析Opt=Tru";
    std::string cutText = first;
    cutText += std::string(64 * 1024 - first.size() - cutLine.size() - 2, ' ') + "\r\n" + cutLine;
    ASSERT_EQ(cutText.size(), 64u * 1024);
    n4test::writeFile(path, cutText + "e\r\n");
    AnalysisOptions cut;
    readInitFile(path, cut);
    EXPECT_TRUE(cut.flags[0]);
    EXPECT_FALSE(cut.flags[1]);
}

TEST(SettingsFile, IsReadWithStandardInputClosed) {
    const std::string path = settingsPath();
    AnalysisOptions written;
    written.flags[3] = true;
    ASSERT_TRUE(writeInitFile(path, written).ok);
    AnalysisOptions read;
    n4test::withStandardInputClosed([&] { readInitFile(path, read); });
    EXPECT_TRUE(read.flags[3]);
    EXPECT_EQ(read.reflectedCount(), 1);
}
