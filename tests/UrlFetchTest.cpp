#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "ResultsServer.h"
#include "TestSupport.h"
#include "core/net/UrlFetch.h"

using namespace n4;
using namespace std::chrono_literals;

namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class Fetch : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        root_ = new std::string(n4test::tempFolder());
        std::filesystem::copy(n4test::updateDataFolder(), *root_ + "/api");
        server_ = new n4test::ResultsServer(*root_);
    }
    static void TearDownTestSuite() {
        delete server_;
        delete root_;
    }
    void SetUp() override {
        ASSERT_TRUE(server_->running()) << "tests/update/results_server.py did not start";
        ::setenv("no_proxy", "127.0.0.1,localhost", 1); // a proxy of the machine never comes in
    }
    static FetchOptions trusting() {
        FetchOptions o;
        o.extraCaFile = n4test::ResultsServer::testCa();
        return o;
    }
    static std::string file(const std::string& name) {
        return n4test::readFile(n4test::updateDataFolder() + "/" + name);
    }
    static const n4test::ResultsServer& server() { return *server_; }

  private:
    static inline std::string* root_ = nullptr;
    static inline n4test::ResultsServer* server_ = nullptr;
};

} // namespace

TEST_F(Fetch, BringsTheWholeBodyOverHttpAndOverHttpsWithTheTestsOwnAuthority) {
    for (const std::string& url :
         {server().http("/api/version.json"), server().https("/api/numbers4_all_full.json")}) {
        const FetchResult r = fetchUrl(url, trusting());
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(r.status, 200);
        EXPECT_EQ(r.url, url);
        EXPECT_EQ(r.body, file(url.substr(url.rfind('/') + 1)));
    }
}

TEST_F(Fetch, FollowsRedirectsUpToTheLimitButNeverFromHttpsToHttp) {
    const std::string twice = "/redirect?to=/redirect%3Fto%3D/api/latest.json";
    FetchOptions options;
    options.limits.maxRedirects = 2;
    const FetchResult followed = fetchUrl(server().http(twice), options);
    ASSERT_TRUE(followed.ok()) << followed.message;
    EXPECT_EQ(followed.url, server().http("/api/latest.json"));
    EXPECT_EQ(followed.body, file("latest.json"));
    options.limits.maxRedirects = 1;
    EXPECT_EQ(fetchUrl(server().http(twice), options).failure, FetchFailure::TooManyRedirects);

    const FetchResult loop = fetchUrl(server().http("/loop"));
    EXPECT_EQ(loop.failure, FetchFailure::TooManyRedirects);
    EXPECT_TRUE(has(loop.message, "5 回を超えました")) << loop.message;
    EXPECT_TRUE(has(loop.message, server().http("/loop"))) << loop.message;
    EXPECT_TRUE(loop.body.empty());

    const std::string plain = server().http("/api/latest.json");
    const FetchResult down = fetchUrl(server().https("/redirect?to=" + plain), trusting());
    EXPECT_EQ(down.failure, FetchFailure::InsecureRedirect);
    EXPECT_TRUE(has(down.message, plain)) << down.message;
    EXPECT_TRUE(
        fetchUrl(server().http("/redirect?to=" + server().https("/api/latest.json")), trusting())
            .ok());
}

TEST_F(Fetch, ErrorStatusesOverlongAndCutBodiesAreFailuresNamingTheAddress) {
    FetchOptions small;
    small.limits.maxBytes = 1000;
    struct Case {
        std::string path;
        FetchFailure failure;
        std::string said;
    } cases[] = {
        {"/api/no-such-file.json", FetchFailure::HttpStatus, "HTTP 404（見つかりません）"},
        {"/status/500/", FetchFailure::HttpStatus, "HTTP 500（サーバーの内部エラー）"},
        {"/big?bytes=1001", FetchFailure::TooLarge, "1000 バイトまで"},
        {"/big-declared?bytes=5000", FetchFailure::TooLarge, "大きすぎます"},
        {"/truncated", FetchFailure::Truncated, "途中で切れました"},
    };
    for (const Case& c : cases) {
        const FetchResult r = fetchUrl(server().http(c.path), small);
        EXPECT_EQ(r.failure, c.failure) << c.path << ": " << r.message;
        EXPECT_TRUE(has(r.message, "「" + server().http(c.path) + "」")) << r.message;
        EXPECT_TRUE(has(r.message, c.said)) << r.message;
        EXPECT_TRUE(r.body.empty()) << c.path;
    }
    EXPECT_EQ(fetchUrl(server().http("/status/404/")).status, 404);
    // A body of exactly the limit, without a length, is whole.
    const FetchResult exact = fetchUrl(server().http("/big?bytes=1000"), small);
    ASSERT_TRUE(exact.ok()) << exact.message;
    EXPECT_EQ(exact.body, std::string(1000, 'x'));
}

TEST_F(Fetch, CertificatesNotTrustedAndMissingAuthorityFilesAreRefused) {
    const FetchResult untrusted = fetchUrl(server().https("/api/version.json"));
    EXPECT_EQ(untrusted.failure, FetchFailure::Certificate);
    EXPECT_TRUE(has(untrusted.message, "サーバー証明書を確かめられません")) << untrusted.message;
    FetchOptions missing;
    missing.extraCaFile = n4test::tempFolder() + "/no-such-ca.pem";
    EXPECT_EQ(fetchUrl(server().https("/api/version.json"), missing).failure,
              FetchFailure::Certificate);
}

TEST_F(Fetch, RefusedConnectionsAndBothTimeOutsAreTold) {
    const FetchResult refused = fetchUrl(n4test::refusingAddress());
    EXPECT_EQ(refused.failure, FetchFailure::Refused);
    EXPECT_TRUE(has(refused.message, "断られました")) << refused.message;

    FetchOptions quick;
    quick.limits.connectTimeout = 300ms;
    quick.limits.transferTimeout = 300ms;
    const FetchResult silent = fetchUrl(server().silent(), quick);
    EXPECT_EQ(silent.failure, FetchFailure::TimedOut);
    EXPECT_TRUE(has(silent.message, "接続できません（0.3 秒待っても")) << silent.message;
    const FetchResult stalled = fetchUrl(server().http("/stall"), quick);
    EXPECT_EQ(stalled.failure, FetchFailure::TimedOut);
    EXPECT_TRUE(has(stalled.message, "時間内に終わりませんでした")) << stalled.message;
}

TEST_F(Fetch, TheProgressCallbackSeesTheBytesAndCanCancel) {
    FetchOptions watched;
    std::size_t lastReceived = 0;
    watched.progress = [&](std::size_t received, long long) {
        lastReceived = received;
        return true;
    };
    const FetchResult whole = fetchUrl(server().http("/api/numbers4_all_full.json"), watched);
    ASSERT_TRUE(whole.ok()) << whole.message;
    EXPECT_EQ(lastReceived, whole.body.size());

    FetchOptions cancelling;
    long long announced = 0;
    cancelling.progress = [&](std::size_t received, long long expected) {
        announced = expected;
        return received == 0; // stops once the first bytes are in
    };
    const FetchResult cancelled = fetchUrl(server().http("/stall"), cancelling);
    EXPECT_EQ(cancelled.failure, FetchFailure::Cancelled);
    EXPECT_EQ(announced, 100000);
    EXPECT_TRUE(has(cancelled.message, "取りやめました")) << cancelled.message;
    EXPECT_TRUE(cancelled.body.empty());
}

TEST_F(Fetch, OnlyHttpAndHttpsAddressesAreFetched) {
    for (const char* url : {"file:///etc/passwd", "ftp://127.0.0.1/x", "127.0.0.1/x", ""})
        EXPECT_EQ(fetchUrl(url).failure, FetchFailure::BadAddress) << url;
}

TEST_F(Fetch, GoesThroughTheProxyTheEnvironmentNames) {
    ::setenv("http_proxy", server().http("").c_str(), 1);
    ::unsetenv("no_proxy");
    // Port 1 of this machine: were the proxy passed by, nothing would answer.
    const FetchResult r = fetchUrl("http://127.0.0.2:1/api/version.json");
    ::unsetenv("http_proxy");
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.body, "proxied http://127.0.0.2:1/api/version.json");
}
