#include <gtest/gtest.h>

#include "ResultsServer.h"
#include "TestSupport.h"
#include "core/import/HistoryImport.h"

using namespace n4;

// The results API's own shapes, read by the import's one reader: a draw is
// {"draw_no", "date", "digits": [..], "winning_number", "prize": {..}}.
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

std::string apiFile(const std::string& name) {
    return n4test::readFile(n4test::updateDataFolder() + "/" + name);
}

} // namespace

TEST(ResultsApiJson, TheLatestDrawAloneAndTheWholeHistoryAreRead) {
    const ImportResult latest = readHistoryBytes(apiFile("latest.json"));
    ASSERT_TRUE(latest.ok) << latest.message;
    EXPECT_EQ(drawsOf(latest), "40:5584");
    const ImportResult all = readHistoryBytes(apiFile("numbers4_all_full.json"));
    ASSERT_TRUE(all.ok) << all.message;
    ASSERT_EQ(all.rows.size(), 40u);
    EXPECT_EQ(drawsOf(all).substr(0, 15), "1:1149 2:7921 3");
    EXPECT_EQ(all.rows.back().digits, latest.rows[0].digits);
    // A quad has no box or set prizes: null in the nested object.
    EXPECT_EQ(drawsOf(readHistoryBytes(
                  R"({"draw_no":1249,"digits":[5,5,5,5],"winning_number":"5555",)"
                  R"("prize":{"straight":279700,"box":null,"set_straight":null,"set_box":null}})")),
              "1249:5555");
}

TEST(ResultsApiJson, TheDigitArrayIsReadAloneAndMustAgreeWithTheWinningNumber) {
    EXPECT_EQ(drawsOf(readHistoryBytes(R"([{"draw_no":1,"date":"1994-10-07","digits":[1,1,4,9]},)"
                                       R"({"draw_no":2,"digits":[7,9,2,1]}])")),
              "1:1149 2:7921");
    const ImportResult disagree =
        readHistoryBytes("[\n{\"draw_no\":1,\"digits\":[1,1,4,9],\"winning_number\":\"1149\"},\n"
                         "{\"draw_no\":2,\"digits\":[7,9,2,1],\"winning_number\":\"7912\"}\n]");
    EXPECT_FALSE(disagree.ok);
    EXPECT_NE(disagree.message.find("3行目: 当選番号（7912）と digits（7921）が合いません"),
              std::string::npos)
        << disagree.message;
    EXPECT_FALSE(readHistoryBytes(R"({"draw_no":1,"digits":[1,1,4],"winning_number":"1149"})").ok);
    EXPECT_FALSE(readHistoryBytes(R"({"draw_no":1,"digits":[1,1,4,9],"digits":[1,1,4,9]})").ok);
}

TEST(ResultsApiJson, AnObjectWithoutADrawIsStillRefusedAndErrorsSayTheirLine) {
    const ImportResult version = readHistoryBytes(apiFile("version.json"));
    EXPECT_FALSE(version.ok);
    EXPECT_NE(version.message.find("当選データの配列"), std::string::npos) << version.message;
    const ImportResult bad =
        readHistoryBytes("\n\n{\n\"draw_no\": 7,\n\"winning_number\": \"12x4\"\n}");
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.message.rfind("3行目: ", 0), 0u) << bad.message;
}

TEST(ResultsApiJson, TheWholePublishedHistoryReadsAsItsCsv) {
    const std::string shared = n4test::sharedDataFolder();
    if (shared.empty()) GTEST_SKIP() << "no ../shared/data";
    const ImportResult json = readHistoryFile(shared + "/api/numbers4_all_full.json");
    const ImportResult csv =
        readHistoryFile(shared + "/raw/hazimekom__numbers4-api__data__numbers4_results_v2.csv");
    ASSERT_TRUE(json.ok) << json.message;
    ASSERT_TRUE(csv.ok) << csv.message;
    EXPECT_EQ(json.rows.size(), 7054u);
    EXPECT_EQ(drawsOf(json), drawsOf(csv));
}
