// lookup and numbers through the command line's entry point, over a priced
// history imported the way a user would.
#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"
#include "core/cli/Cli.h"
#include "core/numbers/IfBought.h"

using namespace n4;

namespace {

using CliResult = n4test::CliRun;
using n4test::cli;

// Draws 1..6 with dates and prizes; draw 5's prizes unknown.
std::string pricedFolder() {
    const std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/h.csv",
                      "draw_no,draw_date,winning_number,straight_payout,box_payout,"
                      "set_straight_payout,set_box_payout\n"
                      "1,2026-08-03,1149,900000,37000,450000,18000\n"
                      "2,2026-08-04,9411,800000,36000,400000,17000\n"
                      "3,2026-08-05,1234,700000,30000,350000,15000\n"
                      "4,2026-08-06,4321,700000,30000,350000,15000\n"
                      "5,2026-08-07,1149,,,,\n"
                      "6,2026-08-10,7777,2000000,,,\n");
    EXPECT_EQ(cli({"import", folder + "/h.csv"}, folder).code, 0);
    return folder;
}

} // namespace

TEST(CliNumbers, LookupListsEveryDrawEachWayAndRefusesABadNumber) {
    const std::string folder = pricedFolder();
    CliResult r = cli({"lookup", "1149", "--format", "json"}, folder);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"number\":\"1149\",\"type\":\"ダブル\",\"orders\":12,", 0), 0u)
        << r.out;
    EXPECT_NE(r.out.find("\"straight\":[{\"draw\":1,\"date\":\"2026-08-03\",\"prize\":900000},"
                         "{\"draw\":5,\"date\":\"2026-08-07\",\"prize\":null}]"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"draw\":2,\"date\":\"2026-08-04\",\"drawn\":\"9411\",\"prize\":36000}"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"draws_since_straight\":1,\"draws_since_box\":1"), std::string::npos);

    r = cli({"lookup", "7777"}, folder);
    EXPECT_NE(r.out.find("ストレート\t6\t2026-08-10\t7777\t2000000"), std::string::npos) << r.out;
    for (const char* wrong : {"12345", "12a4", "123"}) {
        r = cli({"lookup", wrong}, folder);
        EXPECT_EQ(r.code, CliUsage) << wrong;
        EXPECT_NE(r.err.find("番号"), std::string::npos) << r.err;
    }
}

TEST(CliNumbers, FiltersListWhatPassesAndBoughtGivesTheFigures) {
    const std::string folder = pricedFolder();
    // Without the history: the orders of 1149 whose sum range keeps them all.
    CliResult r =
        cli({"numbers", "--box", "1149", "--sum", "14:16", "--format", "json"}, folder + "/none");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"count\":12,\"numbers\":[\"1149\",\"1194\",", 0), 0u) << r.out;
    r = cli({"numbers", "--pos1", "7", "--pos2", "7", "--pos3", "7", "--type", "quad,triple"},
            folder);
    EXPECT_EQ(r.out, "番号\t型\n7770\tトリプル\n7771\tトリプル\n7772\tトリプル\n7773\tトリプル\n"
                     "7774\tトリプル\n7775\tトリプル\n7776\tトリプル\n7777\tクワッド\n"
                     "7778\tトリプル\n7779\tトリプル\n");
    r = cli({"numbers", "--box", "1149", "--not-drawn", "2", "--format", "json"}, folder);
    EXPECT_EQ(r.out.find("\"1149\""), std::string::npos) << "1149 came in draw 5: " << r.out;

    // One unit of each order of 1149 as a set, on draws 2..6.
    r = cli({"numbers", "--box", "1149", "--bought", "set", "--from", "2", "--format", "json"},
            folder);
    ASSERT_EQ(r.code, 0) << r.err;
    // Draw 2 (9411): one set-straight 400,000 and eleven set-boxes of 17,000;
    // draw 5 (1149) wins as much, but its prizes are not known.
    EXPECT_NE(r.out.find("{\"numbers\":12,\"draws\":5,\"spent\":12000,\"won\":587000,"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"unknown_prizes\":12,\"hits\":{\"straight\":0,\"box\":0,"
                         "\"set_straight\":2,\"set_box\":22}"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.err.find("含めていません"), std::string::npos) << r.err;

    for (const std::vector<std::string>& wrong :
         std::vector<std::vector<std::string>>{{"numbers", "--sum", "30:20"},
                                               {"numbers", "--type", "pair"},
                                               {"numbers", "--bought", "twice"},
                                               {"numbers", "--from", "3"},
                                               {"numbers", "--pos1", "x"}}) {
        r = cli(wrong, folder);
        EXPECT_EQ(r.code, CliUsage) << wrong[1];
        EXPECT_FALSE(r.err.empty());
    }
}
