#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "TestSupport.h"
#include "core/cli/Cli.h"
#include "core/import/HistoryValues.h"
#include "core/store/DrawStore.h"

using namespace n4;

namespace {
using n4test::cli;
using n4test::CliRun;
DrawTable stored(const std::string& folder) {
    StoreResult r;
    DrawTable t;
    if (auto s = DrawStore::open(DbConnectionString::forProgramFolder(folder), r)) s->readAll(t);
    return t;
}
} // namespace

TEST(CliImport, CreatesTheDatabaseAndUpsertsByDrawNumber) {
    std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/a.csv", "draw,d1,d2,d3,d4\n1,1,2,3,4\n2,5,6,7,8\n");
    n4test::writeFile(folder + "/b.csv", "draw,d1,d2,d3,d4\n2,0,0,0,0\n3,9,,9,9\n");
    EXPECT_EQ(cli({"import", folder + "/a.csv"}, folder).code, CliDone);
    CliRun r = cli({"import", folder + "/b.csv", "--replace"}, folder);
    EXPECT_EQ(r.code, CliDone) << r.err;
    DrawTable t = stored(folder);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[1].digits, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(t[2].digits[1], kAbsentDigit);
}

TEST(CliImport, BadLineWritesNothing) {
    std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/bad.csv", "draw,d1,d2,d3,d4\n1,1,2,3,4\n2,5,6,x,8\n");
    CliRun r = cli({"import", folder + "/bad.csv"}, folder);
    EXPECT_EQ(r.code, CliBadInput);
    EXPECT_NE(r.err.find("3行目"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder + "/Numbers4Marvo.mdb"));
}

TEST(CliImport, ExplicitDatabasePathAndForeignFiles) {
    std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/a.csv", "draw,d1,d2,d3,d4\n1,1,2,3,4\n");
    std::string db = folder + "/other.mdb";
    EXPECT_EQ(cli({"import", folder + "/a.csv", "--db", db}, folder).code, CliDone);
    EXPECT_TRUE(std::filesystem::exists(db));
    n4test::writeFile(folder + "/junk.bin", std::string("\0\1\2junk", 7));
    EXPECT_EQ(cli({"import", folder + "/junk.bin"}, folder).code, CliBadInput);
    EXPECT_EQ(cli({"import", folder + "/missing.csv"}, folder).code, CliBadInput);
}

TEST(CliImport, SaysWhatWasStoredNewChangedAndUnchanged) {
    std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/a.csv", "draw,d1,d2,d3,d4\n1,1,2,3,4\n2,5,6,7,8\n");
    n4test::writeFile(folder + "/b.tsv", "回\t当せん番号\n3\t9999\n2\t5679\n1\t1234\n");
    ASSERT_EQ(cli({"import", folder + "/a.csv"}, folder).code, CliDone);
    CliRun r = cli({"import", folder + "/b.tsv", "--replace"}, folder);
    EXPECT_EQ(r.code, CliDone) << r.err;
    EXPECT_NE(r.out.find("新しい回 1 件（第3回）、変わった回 1 件、変わらない回 1 件"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("第2回: 5678 → 5679"), std::string::npos) << r.out;
    EXPECT_EQ(stored(folder)[1].digits, (std::array<int, 4>{5, 6, 7, 9}));
    CliRun again = cli({"import", folder + "/b.tsv"}, folder);
    EXPECT_NE(again.out.find("3 回はすべて同じ内容です"), std::string::npos) << again.out;
}

TEST(CliImport, FoldersDevicesAndConflictingDrawsEndInAMessageAndExitOne) {
    std::string folder = n4test::tempFolder();
    for (const std::string& path : {folder, std::string("/dev/zero"), std::string("/dev/null")}) {
        CliRun r = cli({"import", path}, folder);
        EXPECT_EQ(r.code, CliBadInput) << path;
        EXPECT_NE(r.err.find(path + ": "), std::string::npos) << r.err;
    }
    n4test::writeFile(folder + "/twice.csv",
                      "draw,d1,d2,d3,d4\n1,1,2,3,4\n2,5,6,7,8\n1,1,2,3,4\n2,5,6,7,9\n");
    CliRun r = cli({"import", folder + "/twice.csv"}, folder);
    EXPECT_EQ(r.code, CliBadInput);
    EXPECT_NE(r.err.find("3行目と5行目で第2回の当選番号が違います"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(folder + "/Numbers4Marvo.mdb"));
}

TEST(CliUsage, UnknownCommandsNamesAndOptionsAreUsageErrors) {
    std::string folder = n4test::tempFolder();
    EXPECT_EQ(cli({}, folder).code, CliUsage);
    EXPECT_EQ(cli({"frobnicate"}, folder).code, CliUsage);
    EXPECT_EQ(cli({"export", "no-such-window"}, folder).code, CliUsage);
    EXPECT_EQ(cli({"export", "prediction", "--format", "xml"}, folder).code, CliUsage);
    EXPECT_EQ(cli({"export", "prediction", "--reflect", "11"}, folder).code, CliUsage);
    EXPECT_EQ(cli({"export", "prediction", "--bogus", "1"}, folder).code, CliUsage);
}

TEST(CliExport, ImportThenExportRoundTripsInEveryFormat) {
    std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/a.csv", "draw,d1,d2,d3,d4\n1,1,2,3,4\n2,9,9,9,9\n");
    ASSERT_EQ(cli({"import", folder + "/a.csv"}, folder).code, CliDone);
    CliRun tsv = cli({"export", "sum"}, folder);
    EXPECT_EQ(tsv.code, CliDone) << tsv.err;
    EXPECT_EQ(tsv.out, "回数\t\t　当 選 数 字\t\t\t合計\n1\t1\t2\t3\t4\t10\n2\t9\t9\t9\t9\t36\n");
    EXPECT_EQ(cli({"export", "数字合計分析"}, folder).out, tsv.out);
    CliRun json = cli({"export", "sum", "--format", "json"}, folder);
    EXPECT_EQ(json.out.rfind("{\"window\": \"数字合計分析\", \"cols\": 6, \"rows\": 3, \"cells\": "
                             "[[\"回数\", \"#000000\", \"#ffc8c8\"]",
                             0),
              0u);
    CliRun html = cli({"export", "division10", "--format", "html"}, folder);
    EXPECT_NE(html.out.find("<title>10分割データ分析</title>"), std::string::npos);
    EXPECT_NE(html.out.find("Ａ～Ｊの１０グループに分類して分析します"), std::string::npos);
    // The three title rows head the table; the draws follow.
    EXPECT_TRUE(
        std::regex_search(html.out, std::regex("</thead>\n<tbody>\n<tr><td class=\\w+>1<")));
}

TEST(CliExport, AnOutputThatTakesNothingIsAFailureInWords) {
    // A full disk or a closed pipe: the command fails instead of reporting
    // an export that did not arrive.
    std::string folder = n4test::tempFolder();
    std::string csv = "draw,d1,d2,d3,d4\n";
    for (int no = 1; no <= 30; ++no)
        csv += std::to_string(no) + "," + std::to_string(no * 7 % 10) + "," +
               std::to_string(no * 3 % 10) + ",1," + std::to_string(no % 10) + "\n";
    n4test::writeFile(folder + "/a.csv", csv);
    ASSERT_EQ(cli({"import", folder + "/a.csv"}, folder).code, CliDone);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"export", "sum"},
                                                 {"export", "sum", "--format", "json"},
                                                 {"export", "prediction", "--format", "html"},
                                                 {"list"},
                                                 {"backtest"}}) {
        std::ofstream closed;
        std::ostringstream err;
        EXPECT_EQ(runCli(args, closed, err, folder), CliBadInput) << args[0];
        EXPECT_EQ(err.str(), "書き出せませんでした（出力先に書き込めません）。\n") << args[0];
    }
}

TEST(CliExport, EveryWindowNameAndThePrediction) {
    std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/a.csv", "draw,d1,d2,d3,d4\n1,1,2,3,4\n2,5,6,7,8\n3,0,0,1,1\n");
    ASSERT_EQ(cli({"import", folder + "/a.csv"}, folder).code, CliDone);
    for (const char* name : {"frequency", "count", "by-count", "sum", "interval", "carry-over",
                             "dispersion", "distance", "consecutive", "even-odd", "low-high",
                             "division3", "division5", "division10", "trend5"})
        EXPECT_EQ(cli({"export", name}, folder).code, CliDone) << name;
    CliRun p = cli({"export", "prediction", "--reflect", "0"}, folder);
    EXPECT_EQ(p.code, CliDone);
    // four grids separated by one empty line
    EXPECT_NE(p.out.find("\n\n"), std::string::npos);
    EXPECT_NE(p.out.find("１発予想"), std::string::npos);
    CliRun ph = cli({"export", "prediction", "--format", "html", "--reflect", "0"}, folder);
    EXPECT_NE(ph.out.find("第4回の予想"), std::string::npos);
    EXPECT_NE(ph.out.find("<h2>●一発マーヴォ予想</h2>"), std::string::npos);
    CliRun pj = cli({"export", "一発マーヴォ", "--format", "json", "--reflect", "2"}, folder);
    EXPECT_EQ(pj.out.rfind("{\"grids\": [", 0), 0u);
}

TEST(CliDatabase, OnlyAPlainExistingFileIsReadAndOnlyAPlainPathIsWritten) {
    std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/a.csv", "draw,d1,d2,d3,d4\n1,1,2,3,4\n");
    // SQLite would take these for a private temporary or in-memory database.
    for (const char* db : {"", ":memory:", "file:x.mdb"}) {
        CliRun r = cli({"import", folder + "/a.csv", "--db", db}, folder);
        EXPECT_EQ(r.code, CliBadInput) << db;
        EXPECT_EQ(r.out, "") << db;
        EXPECT_NE(r.err.find("使えません"), std::string::npos) << r.err;
    }
    // Export reads: a missing database stays missing.
    for (std::vector<std::string> args : {std::vector<std::string>{"export", "sum"},
                                          {"export", "sum", "--db", folder + "/none.mdb"}}) {
        CliRun r = cli(args, folder);
        EXPECT_EQ(r.code, CliBadInput);
        EXPECT_NE(r.err.find("見つかりません"), std::string::npos) << r.err;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(CliDatabase, ImportIntoADamagedDatabaseChangesNothing) {
    std::string folder = n4test::tempFolder();
    std::string csv = "draw,d1,d2,d3,d4\n";
    for (int no = 1; no <= 4000; ++no)
        csv += std::to_string(no) + ",1,2,3," + std::to_string(no % 10) + "\n";
    n4test::writeFile(folder + "/a.csv", csv);
    ASSERT_EQ(cli({"import", folder + "/a.csv"}, folder).code, CliDone);
    const std::string db = folder + "/Numbers4Marvo.mdb";
    std::string bytes = n4test::readFile(db);
    std::fill(bytes.begin() + 16384, bytes.begin() + 16384 + 20480, '\0');
    n4test::writeFile(db, bytes);
    n4test::writeFile(folder + "/one.csv", "draw,d1,d2,d3,d4\n1,9,9,9,9\n");
    CliRun r = cli({"import", folder + "/one.csv"}, folder); // touches none of the damage
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.code, CliBadInput);
    EXPECT_NE(r.err.find("壊れています"), std::string::npos) << r.err;
    EXPECT_EQ(n4test::readFile(db), bytes);
}

TEST(CliImport, AJetFileSaysWhichDigitsItCouldNotReadAndRefusesABadDrawNumber) {
    // The repository's 50-draw Jet file with the first digit of draw 4 made
    // 12, then draw 2 renumbered 0 too (each row: 2 bytes of column count,
    // the draw number in 4 bytes, then the digits in 2 bytes each).
    std::string bytes =
        n4test::readFile(N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb");
    ASSERT_EQ(bytes.size(), 11u * 4096);
    ASSERT_EQ(bytes.substr(45026, 6), std::string("\x05\x00\x02\x00\x00\x00", 6));
    ASSERT_EQ(bytes.substr(44996, 8), std::string("\x05\x00\x04\x00\x00\x00\x00\x00", 8));
    bytes[45002] = '\x0c';
    const std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/old.mdb", bytes);
    CliRun r = cli({"import", folder + "/old.mdb"}, folder);
    ASSERT_EQ(r.code, CliDone) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find(folder + "/old.mdb: Jet 4.0 データベース\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n読めない数字 1 個は空欄として取り込みました。\n"), std::string::npos)
        << r.out;
    const DrawTable t = stored(folder);
    ASSERT_EQ(t.size(), 50u);
    EXPECT_EQ(t[3].drawNo, 4);
    EXPECT_EQ(t[3].digits, (std::array<int, 4>{kAbsentDigit, 1, 7, 1}));
    // A draw numbered 0 is not left out: the file is refused, with its row.
    bytes[45028] = '\0';
    const std::string other = n4test::tempFolder();
    n4test::writeFile(other + "/old.mdb", bytes);
    CliRun zero = cli({"import", other + "/old.mdb"}, other);
    EXPECT_EQ(zero.code, CliBadInput);
    EXPECT_EQ(zero.err, other + "/old.mdb: 2行目: 回数「0」を 1～99999 の数として読めません。\n");
    EXPECT_FALSE(std::filesystem::exists(other + "/Numbers4Marvo.mdb"));
    // The file as it came: no such lines.
    const std::string clean = n4test::tempFolder();
    CliRun whole =
        cli({"import", N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb"}, clean);
    ASSERT_EQ(whole.code, CliDone) << whole.err;
    EXPECT_EQ(whole.out.find("読めない数字"), std::string::npos);
    EXPECT_EQ(stored(clean).size(), 50u);
}

namespace {

int countAfter(const std::string& text, const std::string& label) {
    const size_t at = text.find(label);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + label.size());
}

} // namespace

// Two imports of different digits for the same draws, started together: each
// report says what that import did, so together they account for every draw
// once as new and once as changed, and the file holds the later one's digits.
TEST(CliImport, TwoImportsAtOnceReportWhatEachDid) {
    constexpr int kDraws = 150;
    for (int round = 0; round < 8; ++round) {
        const std::string folder = n4test::tempFolder();
        ASSERT_TRUE(DrawStore::create(DbConnectionString::forProgramFolder(folder), {}));
        for (const char* name : {"a", "b"}) {
            std::string csv = "draw,d1,d2,d3,d4\n";
            for (int no = 1; no <= kDraws; ++no)
                csv += std::to_string(no) + (name[0] == 'a' ? ",1,1,1,1\n" : ",2,2,2,2\n");
            n4test::writeFile(folder + "/" + name + ".csv", csv);
        }
        int start[2];
        ASSERT_EQ(pipe(start), 0);
        pid_t children[2];
        for (int c = 0; c < 2; ++c) {
            const std::string name = c == 0 ? "a" : "b";
            children[c] = fork();
            ASSERT_GE(children[c], 0);
            if (children[c] == 0) {
                close(start[1]);
                char go;
                if (read(start[0], &go, 1) != 0) _exit(3); // both start when the pipe closes
                const CliRun r = cli({"import", folder + "/" + name + ".csv", "--replace"}, folder);
                n4test::writeFile(folder + "/" + name + ".out", r.out + r.err);
                _exit(r.code);
            }
        }
        close(start[0]);
        close(start[1]);
        for (pid_t child : children) {
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == CliDone);
        }
        const std::string a = n4test::readFile(folder + "/a.out");
        const std::string b = n4test::readFile(folder + "/b.out");
        EXPECT_EQ(countAfter(a, "新しい回 ") + countAfter(b, "新しい回 "), kDraws) << a << b;
        EXPECT_EQ(countAfter(a, "変わった回 ") + countAfter(b, "変わった回 "), kDraws) << a << b;
        const int last = countAfter(a, "変わった回 ") == kDraws ? 1 : 2;
        const DrawTable t = stored(folder);
        ASSERT_EQ(t.size(), static_cast<size_t>(kDraws));
        EXPECT_EQ(t.front().digits[0], last);
        EXPECT_EQ(t.back().digits[3], last);
    }
}

// A read never writes: exporting from an empty or one-byte file (SQLite reads
// both as a database without tables) leaves it as it was.
TEST(CliDatabase, AnExportWritesNothingIntoTheFileItReads) {
    const std::string folder = n4test::tempFolder();
    for (const std::string& bytes : {std::string(), std::string("x")}) {
        const std::string db = folder + "/small" + std::to_string(bytes.size()) + ".mdb";
        n4test::writeFile(db, bytes);
        const CliRun r = cli({"export", "frequency", "--db", db}, folder);
        EXPECT_EQ(r.code, CliDone) << r.err;
        EXPECT_EQ(n4test::readFile(db), bytes);
        EXPECT_FALSE(std::filesystem::exists(db + "-journal"));
    }
}

// A Jet take-over cut short (the old file moved aside, the new store not yet
// under the database's name) is finished by the tool as by the program, and
// the converted draws are what it imports into and exports from.
TEST(CliDatabase, ATakeOverCutShortIsFinishedBeforeAnythingElse) {
    for (const char* command : {"import", "export"}) {
        const std::string folder = n4test::tempFolder();
        const DbConnectionString conn = DbConnectionString::forProgramFolder(folder);
        DbConnectionString converting = conn;
        converting.dataSource += ".converting";
        ASSERT_TRUE(DrawStore::create(converting, draws({{1, 2, 3, 4}, {5, 6, 7, 8}})));
        n4test::writeFile(folder + "/new.csv", "draw,d1,d2,d3,d4\n3,9,9,9,9\n");
        const CliRun r = std::string(command) == "import"
                             ? cli({"import", folder + "/new.csv"}, folder)
                             : cli({"export", "frequency"}, folder);
        EXPECT_EQ(r.code, CliDone) << r.err;
        EXPECT_NE(r.out.find("前回中断された"), std::string::npos) << command << r.out;
        EXPECT_FALSE(std::filesystem::exists(converting.dataSource));
        const DrawTable t = stored(folder);
        ASSERT_EQ(t.size(), std::string(command) == "import" ? 3u : 2u) << command;
        EXPECT_EQ(t[1].digits, (std::array<int, 4>{5, 6, 7, 8}));
    }
}

// A Jet file cut short: before, mdbtools printed its complaints in English
// and the import said "nothing to take in" with exit code 0, creating an
// empty database; a file cut inside a page gave rows of zeros.
TEST(CliImport, ADamagedJetFileIsRefusedInJapaneseAndWritesNothing) {
    const std::string folder = n4test::tempFolder();
    const std::string whole =
        n4test::readFile(N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb");
    for (size_t cut : {40000u, 36864u, 45000u}) {
        const std::string file = folder + "/cut" + std::to_string(cut) + ".mdb";
        n4test::writeFile(file, whole.substr(0, cut));
        ::testing::internal::CaptureStderr();
        const CliRun r = cli({"import", file}, folder);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << cut;
        EXPECT_EQ(r.code, CliBadInput) << cut;
        EXPECT_EQ(r.out, "") << cut;
        EXPECT_EQ(r.err.rfind(file + ": Jet 形式のデータベースが壊れていて読めません", 0), 0u)
            << r.err;
        EXPECT_FALSE(std::filesystem::exists(folder + "/Numbers4Marvo.mdb")) << cut;
    }
    // Into a database that holds draws: they stay as they were.
    n4test::writeFile(folder + "/a.csv", "draw,d1,d2,d3,d4\n1,9,9,9,9\n");
    ASSERT_EQ(cli({"import", folder + "/a.csv"}, folder).code, CliDone);
    EXPECT_EQ(cli({"import", folder + "/cut45000.mdb"}, folder).code, CliBadInput);
    const DrawTable t = stored(folder);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].digits, (std::array<int, 4>{9, 9, 9, 9}));
}

// A file that gives a stored draw otherwise changes it only with --replace:
// without it the new draws and what only fills in an empty digit are written,
// the differing draws are kept and listed, and the exit code is 1. --dry-run
// writes nothing (no database either) and says what would be.
TEST(CliImport, AStoredDrawChangesOnlyWithReplaceAndADryRunWritesNothing) {
    const std::string header = "回,抽せん日,第1数字,第2数字,第3数字,第4数字\n";
    const std::string file = header + "1224,2004-01-08,1,1,1,1\n1225,2004-01-06,1,2,4,3\n"
                                      "1226,2004-01-07,1,2,5,2\n1227,2004-01-09,9,9,9,9\n";
    struct Case {
        std::vector<std::string> flags;
        int code;
        std::string says, stored; // draws 1225 and 1226, and how many draws
    };
    for (const Case& c : std::vector<Case>{
             {{},
              CliBadInput,
              "第1224回: 抽せん日 保存済み 2004年1月5日（月）、ファイル 2004年1月8日（木）\n"
              "　第1225回: 保存済み 1234、ファイル 1243\n",
              "1234 1252 4"},
             {{"--dry-run"}, CliBadInput, "ファイルと違う回: 2 件", "1234 12・2 3"},
             {{"--replace", "--dry-run"}, CliDone, "第1225回: 1234 → 1243", "1234 12・2 3"},
             {{"--replace"}, CliDone, "変わった回 3 件", "1243 1252 4"}}) {
        const std::string folder = n4test::tempFolder();
        n4test::writeFile(folder + "/file.csv", file);
        n4test::writeFile(folder + "/before.csv", header + "1224,2004-01-05,1,1,1,1\n"
                                                           "1225,2004-01-06,1,2,3,4\n"
                                                           "1226,2004-01-07,1,2,,2\n");
        ASSERT_EQ(cli({"import", folder + "/before.csv"}, folder).code, CliDone);
        const std::string bytes = n4test::readFile(folder + "/Numbers4Marvo.mdb");
        std::vector<std::string> args = {"import", folder + "/file.csv"};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        const CliRun r = cli(args, folder);
        EXPECT_EQ(r.code, c.code) << c.says;
        EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << r.out << r.err;
        const DrawTable t = stored(folder);
        EXPECT_EQ(digitsText(t[1].digits) + " " + digitsText(t[2].digits) + " " +
                      std::to_string(t.size()),
                  c.stored);
        EXPECT_EQ(n4test::readFile(folder + "/Numbers4Marvo.mdb") == bytes,
                  std::count(c.flags.begin(), c.flags.end(), "--dry-run") == 1);
    }
    const std::string empty = n4test::tempFolder();
    n4test::writeFile(empty + "/file.csv", file);
    const CliRun r = cli({"import", empty + "/file.csv", "--dry-run"}, empty);
    EXPECT_EQ(r.code, CliDone) << r.err;
    EXPECT_NE(r.out.find("新しい回: 4 件（第1224回～第1227回）"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(empty + "/Numbers4Marvo.mdb"));
}
