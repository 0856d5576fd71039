// The command line's conventions: --help, --version, list and usage errors
// that name the word they could not use.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

#include "TestSupport.h"
#include "core/analysis/AnalysisCatalog.h"
#include "core/cli/Cli.h"
#include "core/store/DrawStore.h"
#include "core/update/UpdateSources.h"

using namespace n4;

namespace {
struct CliRun {
    int code;
    std::string out, err;
};
CliRun cli(const std::vector<std::string>& args, const std::string& folder) {
    std::ostringstream out, err;
    int code = runCli(args, out, err, folder);
    return {code, out.str(), err.str()};
}
bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
// A folder with a small database already in it.
std::string folderWithDraws() {
    std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/a.csv", "draw,d1,d2,d3,d4\n1,1,2,3,4\n2,5,6,7,8\n3,0,0,1,1\n");
    EXPECT_EQ(cli({"import", folder + "/a.csv"}, folder).code, CliDone);
    return folder;
}
} // namespace

TEST(CliHelp, ListsCommandsOptionsAndEveryNameOnStandardOutput) {
    std::string folder = n4test::tempFolder();
    for (const char* flag : {"--help", "-h"}) {
        CliRun r = cli({flag}, folder);
        EXPECT_EQ(r.code, CliDone) << flag;
        EXPECT_EQ(r.err, "") << flag;
        for (const char* word : {"import", "export", "list", "--db", "--format", "--reflect",
                                 "--version", "-h, --help", "tsv", "json", "html"})
            EXPECT_TRUE(has(r.out, word)) << flag << " lacks " << word;
        for (const ExportName& e : exportNames())
            EXPECT_TRUE(std::regex_search(
                r.out, std::regex("\n  " + e.name + " +" + e.caption + "[、\\S]*\n")))
                << e.name;
        // It says where the database is.
        EXPECT_TRUE(has(r.out, folder + "/Numbers4Marvo.mdb"));
    }
    // Asked for help anywhere, even beside a mistake, the answer is help.
    for (std::vector<std::string> args : {std::vector<std::string>{"export", "--help"},
                                          {"frobnicate", "-h"},
                                          {"export", "sum", "--bogus", "--help"}})
        EXPECT_EQ(cli(args, folder).code, CliDone) << args[0];
    EXPECT_FALSE(std::filesystem::exists(folder + "/Numbers4Marvo.mdb"));
}

TEST(CliHelp, VersionIsOneLine) {
    CliRun r = cli({"--version"}, n4test::tempFolder());
    EXPECT_EQ(r.code, CliDone);
    EXPECT_TRUE(std::regex_match(r.out, std::regex("numbers4marvo-cli [0-9]+\\.[0-9]+\n")))
        << r.out;
    EXPECT_EQ(r.err, "");
}

// Every name on a line of the list (the short name, the window's title, its
// menu item, its earlier name) prints that window, and no name two windows.
TEST(CliList, EveryListedNameExportsItsWindow) {
    std::string folder = folderWithDraws();
    CliRun r = cli({"list"}, folder);
    ASSERT_EQ(r.code, CliDone);
    std::istringstream lines(r.out);
    std::string line, name;
    std::set<std::string> seen;
    size_t count = 0;
    for (; std::getline(lines, line); ++count) {
        std::istringstream fields(line);
        std::string expected;
        while (std::getline(fields, name, '\t')) {
            const std::string json = cli({"export", name, "--format", "json"}, folder).out;
            EXPECT_EQ(json, expected.empty() ? (expected = json) : expected) << name;
            EXPECT_TRUE(has(json, "\"cells\"") && seen.insert(name).second) << name;
        }
    }
    EXPECT_EQ(count, analysisCatalog().size() + 1); // and the prediction
    EXPECT_EQ(cli({"export", "一発マーヴォ予想(&D)", "--reflect", "0"}, folder).out,
              cli({"export", "prediction", "--reflect", "0"}, folder).out);
}

TEST(CliUsage, EveryUsageErrorNamesTheWordItCouldNotUse) {
    const std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/a.csv", "draw,d1,d2,d3,d4\n1,1,2,3,4\n");
    const std::string csv = folder + "/a.csv";
    struct Case {
        std::vector<std::string> args;
        std::string named;
    };
    const std::vector<Case> cases = {
        {{}, "コマンドがありません"},
        {{"frobnicate"}, "frobnicate"},
        {{"export", "sum", "--bogus", "1"}, "--bogus"},
        {{"export", "sum", "-x"}, "不明なオプションです: -x"},
        // A lone dash and an empty word are operands, not options.
        {{"export", "sum", "-"}, "余分な引数です: -"},
        {{"export", ""}, "不明な名前です"},
        {{"export", "no-such-window"}, "no-such-window"},
        {{"export", "sum", "--format", "xml"}, "xml"},
        {{"export", "sum", "--format=xml"}, "xml"},
        {{"export", "prediction", "--reflect", "11"}, "11"},
        {{"export", "prediction", "--reflect", "-1"}, "-1"},
        {{"export", "prediction", "--reflect", "2x"}, "2x"},
        {{"export", "sum", "--db", "a.mdb", "--db", "b.mdb"}, "--db"},
        {{"import", csv, "--db=a.mdb", "--db", "b.mdb"}, "--db"},
        {{"import", csv, "--reflect", "2"}, "--reflect"},
        {{"import", csv, "--format", "json"}, "--format"},
        {{"export", "frequency", "--reflect", "2"}, "--reflect"},
        {{"list", "--db", "x.mdb"}, "--db"},
        {{"import", csv, "extra"}, "extra"},
        {{"list", "frequency"}, "frequency"},
        {{"import"}, "FILE"},
        {{"export"}, "NAME"},
        {{"export", "sum", "--db"}, "--db"},
        {{"export", "sum", "--format", "--db", "x.mdb"}, "--format"},
        // A word that starts with two dashes is never an option's value.
        {{"export", "sum", "--db", "---x.mdb"}, "--db の後に FILE がありません"},
        {{"import", csv, "--replace=yes"}, "--replace には値を付けられません"},
        {{"export", "sum", "--dry-run"}, "--dry-run は export では使えません"},
        // The back-test window's table comes from its own command.
        {{"export", "予想の検証"}, "backtest"},
    };
    for (const Case& c : cases) {
        CliRun r = cli(c.args, folder);
        std::string shown;
        for (const std::string& a : c.args)
            shown += a + " ";
        EXPECT_EQ(r.code, CliUsage) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_TRUE(has(r.err, c.named)) << shown << "-> " << r.err;
        EXPECT_TRUE(has(r.err, "--help")) << shown;
    }
    // A usage error never touches a database.
    for (const char* file : {"/Numbers4Marvo.mdb", "/a.mdb", "/b.mdb", "/x.mdb"})
        EXPECT_FALSE(std::filesystem::exists(folder + file)) << file;
}

TEST(CliUsage, OptionsGoAnywhereInEitherSpellingAndDoubleDashEndsThem) {
    std::string folder = folderWithDraws();
    const std::string expected = cli({"export", "sum", "--format", "json"}, folder).out;
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(cli({"--format=json", "export", "sum"}, folder).out, expected);
    EXPECT_EQ(cli({"export", "--format", "json", "--", "sum"}, folder).out, expected);
    // A file whose name starts with a dash is reached after "--".
    n4test::writeFile(folder + "/-draws.csv", "draw,d1,d2,d3,d4\n4,4,4,4,4\n");
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    CliRun r = cli({"import", "--", "-draws.csv"}, folder);
    EXPECT_EQ(r.code, CliDone) << r.err;
    // --db=FILE is the same as --db FILE.
    EXPECT_EQ(cli({"import", "a.csv", "--db=" + folder + "/other.mdb"}, folder).code, CliDone);
    std::filesystem::current_path(before);
    EXPECT_TRUE(std::filesystem::exists(folder + "/other.mdb"));
}

TEST(CliDocumentation, ManualPageAndCompletionNameEveryCommandOptionAndName) {
    const std::string data = std::string(N4_SOURCE_DIR) + "/data";
    const std::string manual = n4test::readFile(data + "/man/numbers4marvo-cli.1");
    const std::string completion = n4test::readFile(data + "/completion/numbers4marvo-cli");
    ASSERT_FALSE(manual.empty());
    ASSERT_FALSE(completion.empty());
    // The manual page writes a dash as "\-".
    auto roff = [](const std::string& word) {
        return std::regex_replace(word, std::regex("-"), "\\-");
    };
    for (const std::string& command : commandNames()) {
        EXPECT_TRUE(has(manual, ".B numbers4marvo-cli " + command) ||
                    has(manual, ".BI " + command) || has(manual, ".B " + command + "\n"))
            << command << " is missing from data/man/numbers4marvo-cli.1";
        EXPECT_TRUE(has(completion, command)) << command << " is missing from the completion";
    }
    for (const std::string& option : optionNames()) {
        EXPECT_TRUE(has(manual, roff(option))) << option << " is missing from the manual page";
        EXPECT_TRUE(has(completion, option)) << option << " is missing from the completion";
    }
    for (const ExportName& e : exportNames())
        EXPECT_TRUE(
            std::regex_search(manual, std::regex("\n" + e.name + " +" + e.caption + "[、\\S]*\n")))
            << e.name << " " << e.caption << " is missing from the manual page";
}

#include "GoldenGrid.h"

TEST(CliHelp, TheWholeTextIsPinnedWithItsColumns) {
    // Every command's synopsis, the options in one column, the names beside
    // their windows, where the files are and the exit codes: in
    // tests/golden/cli-help.txt (N4_UPDATE_GOLDEN=1 rewrites it).
    const DataLocation location{"/home/user/.local/share/Numbers4Marvo",
                                "/home/user/.local/share/Numbers4Marvo/Numbers4Marvo.mdb",
                                "/home/user/.local/share/Numbers4Marvo/ナンバーズ4マーヴォ.ini",
                                false};
    std::ostringstream out, err;
    ASSERT_EQ(runCli({"--help"}, out, err, location, PictureWriter()), CliDone);
    EXPECT_EQ(err.str(), "");
    std::ostringstream list, none;
    ASSERT_EQ(runCli({"list"}, list, none, location, PictureWriter()), CliDone);
    // The built-in results source is named by its place in the text, so that
    // the pinned text names no address off this machine.
    std::string help = out.str();
    const std::string source = builtInUpdateSources().front();
    if (const size_t at = help.find(source); at != std::string::npos)
        help.replace(at, source.size(), "(既定の更新元)");
    n4test::expectGolden("cli-help", help + "\n## list\n" + list.str());
    // The exit codes are the numbers the help gives them.
    ASSERT_NE(
        out.str().find("終了コード: 0 完了、1 入力の誤り（理由は標準エラーに）、2 使い方の誤り"),
        std::string::npos);
    EXPECT_EQ(static_cast<int>(CliDone), 0);
    std::ostringstream ignored;
    EXPECT_EQ(static_cast<int>(runCli({"export"}, ignored, ignored, location, PictureWriter())), 2);
    const std::string empty = n4test::tempFolder(); // no database in it
    const DataLocation nowhere{empty, empty + "/Numbers4Marvo.mdb",
                               empty + "/ナンバーズ4マーヴォ.ini", false};
    EXPECT_EQ(static_cast<int>(
                  runCli({"export", "frequency"}, ignored, ignored, nowhere, PictureWriter())),
              1);
}
