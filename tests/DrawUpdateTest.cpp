#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "ResultsServer.h"
#include "TestSupport.h"
#include "core/import/HistoryImport.h"
#include "core/update/ApiVersion.h"
#include "core/update/DrawUpdate.h"
#include "core/update/UpdateSources.h"

using namespace n4;
using namespace std::chrono_literals;

namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string apiFile(const std::string& name) {
    return n4test::readFile(n4test::updateDataFolder() + "/" + name);
}

// The forty draws the server's files hold.
std::vector<DrawRecord> served() {
    return readHistoryBytes(apiFile("numbers4_all_full.json")).rows;
}

DbConnectionString databaseAt(const std::string& path) {
    DbConnectionString conn = DbConnectionString::forProgramFolder(n4test::tempFolder());
    conn.dataSource = path;
    return conn;
}

DbConnectionString databaseHolding(const std::vector<DrawRecord>& rows) {
    DbConnectionString conn = databaseAt(n4test::tempFolder() + "/draws.mdb");
    EXPECT_TRUE(DrawStore::create(conn, rows).ok);
    return conn;
}

// "1:1149 2:7921 ...", absent digits as "_".
std::string text(const std::vector<DrawRecord>& rows) {
    std::string s;
    for (const DrawRecord& d : rows) {
        s += (s.empty() ? "" : " ") + std::to_string(d.drawNo) + ":";
        for (int v : d.digits)
            s += v == kAbsentDigit ? '_' : static_cast<char>('0' + v);
    }
    return s;
}

std::string storedIn(const DbConnectionString& conn) {
    StoreResult r;
    DrawTable t;
    if (auto s = DrawStore::open(conn, r, nullptr, IfMissing::Refuse)) s->readAll(t);
    return text(t);
}

class Update : public ::testing::Test {
  protected:
    // Folders of the server: api/ the cut API files; one/ without the whole
    // history; html/ a page where version.json should be; other/ JSON of
    // another kind as the history; claims/ a version.json naming draw 45.
    static void SetUpTestSuite() {
        namespace fs = std::filesystem;
        const std::string root = n4test::tempFolder();
        fs::copy(n4test::updateDataFolder(), root + "/api");
        fs::create_directories(root + "/one");
        for (const char* name : {"version.json", "latest.json"})
            fs::copy(root + "/api/" + name, root + "/one/" + name);
        fs::create_directories(root + "/html");
        n4test::writeFile(root + "/html/version.json",
                          "<!DOCTYPE html>\n<html><body>メンテナンス中</body></html>\n");
        fs::copy(root + "/api", root + "/other", fs::copy_options::recursive);
        n4test::writeFile(root + "/other/numbers4_all_full.json", R"({"status":"ok","count":40})");
        fs::copy(root + "/api", root + "/claims", fs::copy_options::recursive);
        std::string version = apiFile("version.json");
        version.replace(version.find("\"latest_draw_no\": 40"), 20, "\"latest_draw_no\": 45");
        n4test::writeFile(root + "/claims/version.json", version);
        server_ = new n4test::ResultsServer(root);
    }
    static void TearDownTestSuite() { delete server_; }
    void SetUp() override {
        ASSERT_TRUE(server_->running()) << "tests/update/results_server.py did not start";
        ::setenv("no_proxy", "127.0.0.1,localhost", 1);
    }
    UpdateResult update(const DbConnectionString& conn, std::vector<std::string> sources,
                        FetchOptions fetch = {}) {
        log_.clear();
        return updateDraws(UpdateRequest{conn,
                                         std::move(sources),
                                         std::move(fetch),
                                         [this](const std::string& line) { log_ += line + "\n"; },
                                         {}});
    }
    static const n4test::ResultsServer& server() { return *server_; }
    std::string log_;

  private:
    static inline n4test::ResultsServer* server_ = nullptr;
};

} // namespace

TEST_F(Update, ADatabaseOneDrawBehindGetsThatDrawFromLatestJsonAlone) {
    std::vector<DrawRecord> history = served();
    const DbConnectionString conn = databaseHolding({history.begin(), history.end() - 1});
    const UpdateResult r = update(conn, {server().http("/one/")});
    ASSERT_EQ(r.status, UpdateStatus::Stored) << r.message;
    EXPECT_EQ(r.storedLatest, 39);
    ASSERT_EQ(r.plan.added.size(), 1u);
    EXPECT_EQ(r.plan.added[0].drawNo, 40);
    EXPECT_TRUE(has(log_, "問い合わせ: " + server().http("/one/latest.json"))) << log_;
    EXPECT_EQ(storedIn(conn), text(history));
}

TEST_F(Update, AnEmptyDatabaseGetsEveryDrawAndTheNextUpdateWritesNothing) {
    const DbConnectionString conn = databaseAt(n4test::tempFolder() + "/new.mdb");
    const UpdateResult r = update(conn, {server().http("/api/")});
    ASSERT_EQ(r.status, UpdateStatus::Stored) << r.message;
    EXPECT_EQ(r.plan.added.size(), 40u);
    EXPECT_TRUE(has(log_, "numbers4_all_full.json\n受信: 6265 バイト")) << log_;
    EXPECT_EQ(storedIn(conn), text(served()));

    const std::string before = n4test::readFile(conn.dataSource);
    const UpdateResult again = update(conn, {server().http("/api/")});
    EXPECT_EQ(again.status, UpdateStatus::NothingNew) << again.message;
    EXPECT_FALSE(has(log_, "latest.json")) << log_; // version.json alone was asked
    // A history file holds nothing new either.
    EXPECT_EQ(update(conn, {server().http("/api/numbers4_results_v2.csv")}).status,
              UpdateStatus::NothingNew);
    EXPECT_EQ(n4test::readFile(conn.dataSource), before);
}

TEST_F(Update, EveryFailureLeavesTheDatabaseByteForByteAndSaysWhy) {
    // Draws 1..38 with draw 5 stored otherwise than the server has it.
    std::vector<DrawRecord> rows = served();
    rows.resize(38);
    rows[4].digits = {0, 0, 0, 0};
    const DbConnectionString conn = databaseHolding(rows);
    const std::string before = n4test::readFile(conn.dataSource);
    FetchOptions quick, small;
    quick.limits.transferTimeout = 300ms;
    small.limits.maxBytes = 1000;
    FetchOptions cancelling;
    cancelling.progress = [](std::size_t received, long long) { return received == 0; };
    struct Case {
        std::string source;
        FetchOptions fetch;
        std::string said;
    } cases[] = {
        {server().http("/status/404/"), {}, "HTTP 404"},
        {server().http("/status/500/"), {}, "HTTP 500"},
        {server().http("/loop"), {}, "5 回を超えました"},
        {server().http("/big?bytes=5000"), small, "大きすぎます"},
        {server().http("/truncated"), {}, "途中で切れました"},
        {server().http("/stall"), quick, "時間内に終わりませんでした"},
        {server().http("/stall"), cancelling, "取りやめました"},
        {server().http("/html/"), {}, "から JSON ではなく HTML のページが返ってきました"},
        {server().http("/other/"), {}, "当選データとして読めません"},
        {server().http("/claims/"), {}, "第45回までと言いますが"},
        {server().https("/api/"), {}, "サーバー証明書を確かめられません"},
        {n4test::refusingAddress() + "api/", {}, "断られました"},
        {server().http("/api/"), {}, "第5回: データベース 0000、更新元 0265"},
    };
    for (const Case& c : cases) {
        const UpdateResult r = update(conn, {c.source}, c.fetch);
        EXPECT_EQ(r.status, UpdateStatus::Failed) << c.source;
        EXPECT_TRUE(has(r.message, c.source)) << r.message;
        EXPECT_TRUE(has(r.message, c.said)) << r.message;
        EXPECT_EQ(n4test::readFile(conn.dataSource), before) << c.source;
    }
    EXPECT_EQ(update(conn, {server().http("/api/")}).conflicts.size(), 1u);
}

TEST_F(Update, TheNextSourceIsTriedWhenOneFailsAndTheFailureIsTold) {
    std::vector<DrawRecord> history = served();
    history[2].digits[3] = kAbsentDigit; // an empty digit is filled in, no conflict
    const DbConnectionString conn = databaseHolding({history.begin(), history.end() - 5});
    const std::string first = server().http("/status/500/"),
                      second = server().http("/api/numbers4_results_v2.csv");
    const UpdateResult r = update(conn, {first, second});
    ASSERT_EQ(r.status, UpdateStatus::Stored) << r.message;
    EXPECT_EQ(r.source, second);
    EXPECT_EQ(r.plan.added.size(), 5u);
    EXPECT_EQ(r.plan.changed.size(), 1u);
    EXPECT_TRUE(has(log_, "更新元 1/2: " + first)) << log_;
    EXPECT_TRUE(has(log_, "失敗: 「" + first + "version.json」を受信できません")) << log_;
    EXPECT_TRUE(has(log_, "更新元 2/2: " + second)) << log_;
    EXPECT_EQ(storedIn(conn), text(served()));

    const UpdateResult none = update(conn, {first, n4test::refusingAddress()});
    EXPECT_EQ(none.status, UpdateStatus::Failed);
    EXPECT_TRUE(has(none.message, "\n　" + first + ": ")) << none.message;
    EXPECT_TRUE(has(none.message, "断られました")) << none.message;
}

TEST(UpdateVersion, TheLatestDrawIsTheTopLevelKeyAndNothingElse) {
    int latest = 0;
    std::string message;
    ASSERT_TRUE(readLatestDrawNo(apiFile("version.json"), latest, message)) << message;
    EXPECT_EQ(latest, 40);
    ASSERT_TRUE(readLatestDrawNo(
        R"({"x":{"latest_draw_no":9},"y":["}",{"a":[1]}],"latest_draw_no":"12"})", latest, message))
        << message;
    EXPECT_EQ(latest, 12);
    for (const char* bad : {R"({"latest_date":"2026-08-21"})", R"({"latest_draw_no":0})",
                            R"({"latest_draw_no":null})", R"([{"latest_draw_no":1}])",
                            R"({"latest_draw_no":1} x)", "", R"({"latest_draw_no":1)"}) {
        EXPECT_FALSE(readLatestDrawNo(bad, latest, message)) << bad;
        EXPECT_TRUE(has(message, "version.json")) << message;
    }
}

TEST(UpdateSourceList, CommentsAndBlankLinesAreSkippedAndABadLineIsNamed) {
    const std::string folder = n4test::tempFolder();
    const std::string path = updateSourcesPath(folder + "/settings.ini");
    EXPECT_EQ(path, folder + "/更新元.txt");
    std::vector<std::string> sources;
    std::string message;
    ASSERT_TRUE(readUpdateSources(path, sources, message)); // no file: the built-in list
    EXPECT_EQ(sources, builtInUpdateSources());
    EXPECT_TRUE(isApiBase(sources.front()));
    EXPECT_FALSE(isApiBase(sources.back()));
    n4test::writeFile(path, "\xEF\xBB\xBF# mirrors\r\n\r\n  http://127.0.0.1:1/api/ \r\n"
                            "https://127.0.0.1:2/h.csv\n");
    ASSERT_TRUE(readUpdateSources(path, sources, message)) << message;
    EXPECT_EQ(sources,
              (std::vector<std::string>{"http://127.0.0.1:1/api/", "https://127.0.0.1:2/h.csv"}));
    n4test::writeFile(path, "http://127.0.0.1:1/api/\nftp://127.0.0.1/x\n");
    EXPECT_FALSE(readUpdateSources(path, sources, message));
    EXPECT_TRUE(has(message, "2行目: 「ftp://127.0.0.1/x」は http://")) << message;
    n4test::writeFile(path, "# http://127.0.0.1:1/api/\n");
    EXPECT_FALSE(readUpdateSources(path, sources, message));
    EXPECT_TRUE(has(message, "アドレスがありません")) << message;
}
