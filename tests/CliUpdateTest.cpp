#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "ResultsServer.h"
#include "TestSupport.h"
#include "core/cli/Cli.h"
#include "core/store/DrawStore.h"

using namespace n4;

namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct CliRun {
    int code;
    std::string out, err;
};

CliRun cli(const std::vector<std::string>& args, const DataLocation& location) {
    std::ostringstream out, err;
    const int code = runCli(args, out, err, location);
    return {code, out.str(), err.str()};
}

// A portable copy's files, all in one new folder.
DataLocation freshLocation() {
    const std::string folder = n4test::tempFolder();
    return {folder, folder + "/" + kDatabaseFileName, folder + "/settings.ini", true};
}

class CliUpdate : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::string root = n4test::tempFolder();
        std::filesystem::copy(n4test::updateDataFolder(), root + "/api");
        server_ = new n4test::ResultsServer(root);
    }
    static void TearDownTestSuite() { delete server_; }
    void SetUp() override {
        ASSERT_TRUE(server_->running()) << "tests/update/results_server.py did not start";
        ::setenv("no_proxy", "127.0.0.1,localhost", 1);
    }
    static const n4test::ResultsServer& server() { return *server_; }

  private:
    static inline n4test::ResultsServer* server_ = nullptr;
};

} // namespace

TEST_F(CliUpdate, TriesTheSourcesInOrderTellingEveryStepAndThenWhatWasStored) {
    const DataLocation location = freshLocation();
    const std::string db = location.databaseFolder + "/other.mdb";
    const std::string first = server().http("/status/404/"), second = server().http("/api/");
    const CliRun r = cli({"update", "--db", db, "--source", first, "--source=" + second}, location);
    ASSERT_EQ(r.code, CliDone) << r.err;
    EXPECT_TRUE(has(r.out, "更新元: " + second + "（JSON（UTF-8））\n")) << r.out;
    EXPECT_TRUE(has(r.out, "新しい回 40 件（第1回～第40回）")) << r.out;
    for (const std::string& step : std::vector<std::string>{
             "更新元 1/2: " + first + "（API）", "HTTP 404（見つかりません）",
             "問い合わせ: " + second + "numbers4_all_full.json", "受信: 6265 バイト"})
        EXPECT_TRUE(has(r.err, step)) << step << "\n" << r.err;

    const std::string before = n4test::readFile(db);
    const CliRun again = cli({"update", "--db", db, "--source", second}, location);
    EXPECT_EQ(again.code, CliDone) << again.err;
    EXPECT_EQ(again.out,
              "新しい当選データはありません（データベースは第40回まで）。更新元: " + second + "\n");
    EXPECT_EQ(n4test::readFile(db), before);
}

TEST_F(CliUpdate, FailuresAndConflictsEndInExitOneAndWrongWordsInExitTwo) {
    const DataLocation location = freshLocation();
    const std::string refused = n4test::refusingAddress(), missing = server().http("/nothing/");
    const CliRun failed = cli({"update", "--source", missing, "--source", refused}, location);
    EXPECT_EQ(failed.code, CliBadInput);
    EXPECT_TRUE(
        has(failed.err, "どの更新元からも当選データを受け取れませんでした。\n　" + missing + ": "))
        << failed.err;
    EXPECT_TRUE(has(failed.err, "\n　" + refused + ": ")) << failed.err;
    EXPECT_EQ(failed.out, "");
    EXPECT_FALSE(std::filesystem::exists(location.databasePath)); // nothing made on a failure

    DbConnectionString conn = DbConnectionString::forProgramFolder(location.databaseFolder);
    ASSERT_TRUE(DrawStore::create(conn, draws({{1, 1, 4, 9}, {7, 9, 2, 2}})).ok);
    const std::string before = n4test::readFile(location.databasePath);
    const CliRun conflict = cli({"update", "--source", server().http("/api/")}, location);
    EXPECT_EQ(conflict.code, CliBadInput);
    EXPECT_TRUE(has(conflict.err, "第2回: データベース 7922、更新元 7921")) << conflict.err;
    EXPECT_EQ(n4test::readFile(location.databasePath), before);

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"update", "--source", "ftp://127.0.0.1/x"},
                                               {"update", "extra"},
                                               {"import", "a.csv", "--source", missing},
                                               {"update", "--source"}})
        EXPECT_EQ(cli(args, location).code, CliUsage) << args.back();
}

TEST_F(CliUpdate, WithoutASourceTheListBesideTheSettingsFileIsRead) {
    const DataLocation location = freshLocation();
    const std::string list = location.databaseFolder + "/更新元.txt";
    n4test::writeFile(list, "# the tests' own server\n" + server().http("/api/") + "\n");
    const CliRun r = cli({"update"}, location);
    ASSERT_EQ(r.code, CliDone) << r.err;
    EXPECT_TRUE(has(r.out, "更新元: " + server().http("/api/"))) << r.out;
    EXPECT_TRUE(std::filesystem::exists(location.databasePath));

    n4test::writeFile(list, server().http("/api/") + "\nnumbers4.example/api/\n");
    const CliRun bad = cli({"update"}, location);
    EXPECT_EQ(bad.code, CliBadInput);
    EXPECT_TRUE(has(bad.err, list + "」の2行目:")) << bad.err;
    EXPECT_FALSE(has(bad.err, "問い合わせ")) << bad.err;
}
