// The ticket ledger through the command line's tickets: each result a ticket
// can have with the prizes the database holds, totals against a plain sum
// over every ticket and draw, files of tickets read whole or refused whole,
// and the draw database as older copies of the file know it.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <regex>
#include <sstream>

#include "TestSupport.h"
#include "core/cli/Cli.h"
#include "core/import/TextEncoding.h"
#include "core/store/DrawStore.h"
#include "core/tickets/TicketCheck.h"
#include "core/tickets/TicketCsv.h"
#include "core/tickets/TicketStore.h"

using namespace n4;

namespace {

using n4test::cli;
using n4test::CliRun;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Draws 1, 2, 4 and 5 with prizes (draw 3 missing, draw 5's prizes unknown).
std::string folderWithDraws() {
    const std::string folder = n4test::tempFolder();
    n4test::writeFile(folder + "/h.csv",
                      "draw_no,draw_date,winning_number,straight_payout,box_payout,"
                      "set_straight_payout,set_box_payout\n"
                      "1,2026-08-03,1149,900000,37000,450000,18000\n"
                      "2,2026-08-04,9411,800000,36000,400000,17000\n"
                      "4,2026-08-06,4321,700000,30000,350000,15000\n5,2026-08-07,1149,,,,\n");
    EXPECT_EQ(cli({"import", folder + "/h.csv"}, folder).code, CliDone);
    return folder;
}

CliRun importTickets(const std::string& folder, const std::string& csv) {
    n4test::writeFile(folder + "/t.csv", csv);
    return cli({"tickets", "--import", folder + "/t.csv"}, folder);
}

// A folder whose database holds the draws and the tickets, written directly.
std::string storeFolder(const DrawTable& draws, std::vector<Ticket> tickets) {
    const std::string folder = n4test::tempFolder();
    const auto conn = DbConnectionString::forProgramFolder(folder);
    EXPECT_TRUE(DrawStore::create(conn, draws));
    StoreResult r;
    auto store = DrawStore::open(conn, r);
    EXPECT_TRUE(store && changeTickets(*store, tickets)) << r.message;
    return folder;
}

std::vector<Ticket> storedTickets(const std::string& folder) {
    StoreResult r;
    std::vector<Ticket> tickets;
    auto store = DrawStore::open(DbConnectionString::forProgramFolder(folder), r);
    EXPECT_TRUE(store && readTickets(*store, tickets)) << r.message;
    return tickets;
}

// The SQL text the file keeps for a table or view, "" when there is none.
std::string storedSql(const std::string& folder, const char* name) {
    const auto c = DbConnectionString::forProgramFolder(folder);
    sqlite3* db = nullptr;
    sqlite3_open(c.dataSource.c_str(), &db);
    sqlite3_exec(db, ("PRAGMA key = '" + c.password + "';").c_str(), nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE name = ?", -1, &st, nullptr);
    sqlite3_bind_text(st, 1, name, -1, nullptr); // the name outlives the statement
    std::string sql;
    if (sqlite3_step(st) == SQLITE_ROW)
        sql = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return sql;
}

// A whole number after "name": in the JSON, -1 when there is none.
long long field(const std::string& json, const std::string& name) {
    std::smatch m;
    return std::regex_search(json, m, std::regex("\"" + name + "\":(-?[0-9]+)")) ? std::stoll(m[1])
                                                                                 : -1;
}

// What a ticket wins on a draw, by the rules written out: the prize's place
// (straight, box, set-straight, set-box), -1 for nothing.
int prizePlace(const Ticket& t, const std::array<int, 4>& drawn) {
    std::array<int, 4> mine = digitsOf(t.number), theirs = drawn;
    const bool inOrder = mine == theirs;
    std::sort(mine.begin(), mine.end());
    std::sort(theirs.begin(), theirs.end());
    if (mine != theirs || (t.kind == BuyKind::Straight && !inOrder)) return -1;
    return t.kind == BuyKind::Straight ? 0 : t.kind == BuyKind::Box ? 1 : inOrder ? 2 : 3;
}

} // namespace

TEST(CliTickets, EachResultWithItsPrizeTimesTheUnitsFollowingAReplacedDraw) {
    const std::string folder = folderWithDraws();
    CliRun r = importTickets(folder, "回,最終回,番号,種類,口数\n1,,1149,ストレート,2\n"
                                     "2,,1149,ボックス,3\n1,,1914,セット,1\n2,,9411,セット,2\n"
                                     "4,,1234,ストレート,1\n5,,1149,ストレート,1\n"
                                     "5,,1234,ボックス,1\n2,6,4321,ストレート,1\n");
    ASSERT_EQ(r.code, CliDone) << r.err;
    for (const char* line :
         {"1\t\t1149\tストレート\t2\t1\tストレート当せん\t1800000\n",
          "2\t\t1149\tボックス\t3\t2\tボックス当せん\t108000\n",
          "1\t\t1914\tセット\t1\t1\tセット・ボックス当せん\t18000\n",
          "2\t\t9411\tセット\t2\t2\tセット・ストレート当せん\t800000\n",
          "4\t\t1234\tストレート\t1\t4\tはずれ\t0\n",
          "5\t\t1149\tストレート\t1\t5\tストレート当せん\t賞金未取得\n",
          "5\t\t1234\tボックス\t1\t5\tはずれ\t0\n", "2\t6\t4321\tストレート\t1\t3\t結果なし\t\n",
          "2\t6\t4321\tストレート\t1\t6\t抽せん前\t\n"})
        EXPECT_TRUE(has(r.out, line)) << line << r.out;
    // Every draw of every ticket is paid for: drawn, missing or still to come.
    EXPECT_TRUE(has(r.out, "\n購入額\t3200\n当せん金\t3426000\n収支\t3422800\n回収率\t1070.6250\n"))
        << r.out;
    EXPECT_TRUE(has(r.err, "購入記録に 8 件を加えました") &&
                has(r.err, "賞金の分からない当せん 1 件"))
        << r.err;

    r = cli({"tickets", "--format", "json", "--from", "3", "--to", "5"}, folder);
    EXPECT_TRUE(has(r.out,
                    "{\"draw\":2,\"last_draw\":6,\"number\":\"4321\",\"type\":\"ストレート\","
                    "\"units\":1,\"results\":[{\"draw\":3,\"result\":\"結果なし\",\"prize\":"
                    "null},{\"draw\":4,\"result\":\"ストレート当せん\",\"prize\":700000},"
                    "{\"draw\":5,\"result\":\"はずれ\",\"prize\":0}]}"))
        << r.out;
    EXPECT_FALSE(has(r.out, "\"number\":\"9411\"")) << "draw 2 is outside the range";
    EXPECT_TRUE(has(r.out, "\"totals\":{\"spent\":1200,\"won\":700000,\"balance\":698800,"
                           "\"return\":583.3333,\"won_by_kind\":{\"ストレート当せん\":2,"))
        << r.out;
    EXPECT_TRUE(has(r.out, "\"unknown_prizes\":1,\"pending\":0,\"missing\":1}")) << r.out;
    EXPECT_EQ(cli({"tickets", "--from", "5", "--to", "4"}, folder).code, CliUsage);

    // Draw 4 given other digits: the tickets stay, their results follow.
    n4test::writeFile(folder + "/new.csv", "回,当せん番号\n4,1234\n");
    ASSERT_EQ(cli({"import", folder + "/new.csv", "--replace"}, folder).code, CliDone);
    r = cli({"tickets", "--from", "4", "--to", "4"}, folder);
    EXPECT_TRUE(has(r.out, "4\t\t1234\tストレート\t1\t4\tストレート当せん\t700000\n")) << r.out;
    EXPECT_TRUE(has(r.out, "2\t6\t4321\tストレート\t1\t4\tはずれ\t0\n")) << r.out;
    EXPECT_EQ(storedTickets(folder).size(), 8u);
}

TEST(CliTickets, TotalsAgreeWithASumOverEveryTicketAndDrawAndTheCsvGivesTheSameLedger) {
    DrawTable draws = n4test::pseudoRandomDraws(150, 35);
    for (DrawRecord& d : draws) {
        d.details.prizes = {800000 + d.drawNo, 40000 + d.drawNo, 400000 + d.drawNo,
                            20000 + d.drawNo};
        if (d.drawNo % 9 == 0) d.details.prizes[size_t(d.drawNo / 9 % 4)] = kUnknown;
    }
    draws.erase(draws.begin() + 40, draws.begin() + 43); // draws 41..43 missing
    draws[60].digits[2] = kAbsentDigit;                  // and draw 64 incomplete
    std::map<int, const DrawRecord*> drawn;
    for (const DrawRecord& d : draws)
        if (d.isComplete()) drawn[d.drawNo] = &d;
    std::mt19937 random(35);
    std::vector<Ticket> tickets(80);
    for (Ticket& t : tickets) {
        t.firstDraw = 1 + int(random() % 158);
        t.lastDraw = t.firstDraw + (random() % 3 ? 0 : int(random() % 12));
        // Mostly the number of one of its draws, in order or not: every kind of win comes.
        const auto one = drawn.find(t.firstDraw + int(random() % unsigned(t.drawCount())));
        std::array<int, 4> digits = one != drawn.end() ? one->second->digits : digitsOf(1234);
        if (random() % 2) std::shuffle(digits.begin(), digits.end(), random);
        t.number = random() % 5 ? numberOf(digits) : int(random() % 10000);
        t.kind = static_cast<BuyKind>(random() % 3);
        t.number = canBuy(t.number, t.kind) ? t.number : 1234;
        t.units = 1 + int(random() % 5);
    }
    const std::string folder = storeFolder(draws, tickets);

    for (const auto& [from, to] : {std::pair{0, 0}, {30, 70}, {140, 0}, {0, 41}}) {
        SCOPED_TRACE(std::to_string(from) + ".." + std::to_string(to));
        long long spent = 0, won = 0, pending = 0, missing = 0, unknown = 0;
        std::array<long long, 4> byPlace{};
        for (const Ticket& t : tickets)
            for (int no = std::max(t.firstDraw, from); no <= t.lastDraw && (!to || no <= to);
                 ++no) {
                spent += 200LL * t.units;
                pending += no > 150;
                missing += no <= 150 && !drawn.count(no);
                const int place = drawn.count(no) ? prizePlace(t, drawn[no]->digits) : -1;
                if (place < 0) continue;
                ++byPlace[size_t(place)];
                const int prize = drawn[no]->details.prizes[size_t(place)];
                unknown += prize == kUnknown;
                won += prize == kUnknown ? 0 : static_cast<long long>(prize) * t.units;
            }
        std::vector<std::string> args = {"tickets", "--format", "json"};
        if (from) args.insert(args.end(), {"--from", std::to_string(from)});
        if (to) args.insert(args.end(), {"--to", std::to_string(to)});
        const std::string json = cli(args, folder).out;
        const std::string totals = json.substr(std::min(json.size(), json.find("\"totals\"")));
        EXPECT_EQ(field(totals, "spent"), spent);
        EXPECT_EQ(field(totals, "won"), won);
        EXPECT_EQ(field(totals, "balance"), won - spent);
        EXPECT_EQ(field(totals, "pending"), pending);
        EXPECT_EQ(field(totals, "missing"), missing);
        EXPECT_EQ(field(totals, "unknown_prizes"), unknown);
        const char* kinds[] = {"ストレート当せん", "ボックス当せん", "セット・ストレート当せん",
                               "セット・ボックス当せん"};
        for (size_t k = 0; k < 4; ++k)
            EXPECT_EQ(field(totals, kinds[k]), byPlace[k]) << kinds[k];
        std::smatch rate;
        ASSERT_TRUE(std::regex_search(totals, rate, std::regex("\"return\":([0-9.]+)")));
        EXPECT_NEAR(std::stod(rate[1]), double(won) / double(spent), 0.00005);
        long long listed = 0; // the prizes of the results add up to what was won
        const std::regex prize("\"prize\":([0-9]+)");
        for (auto it = std::sregex_iterator(json.begin(), json.end(), prize);
             it != std::sregex_iterator(); ++it)
            listed += std::stoll((*it)[1]);
        EXPECT_EQ(listed, won);
        if (!from && !to) {
            EXPECT_GE(*std::min_element(byPlace.begin(), byPlace.end()), 2) << "every kind won";
        }
    }

    // Out as CSV and in again through tickets --import: the same ledger.
    const std::string copy = storeFolder(draws, {});
    n4test::writeFile(copy + "/ledger.csv", ticketsCsv(storedTickets(folder)));
    ASSERT_EQ(cli({"tickets", "--import", copy + "/ledger.csv"}, copy).code, CliDone);
    const std::vector<Ticket> back = storedTickets(copy);
    ASSERT_EQ(back.size(), tickets.size());
    for (size_t i = 0; i < back.size(); ++i)
        EXPECT_TRUE(back[i].sameContent(tickets[i])) << i;
    EXPECT_EQ(cli({"tickets"}, copy).out, cli({"tickets"}, folder).out);

    // A change holding a ticket that cannot be is refused whole, removal too.
    StoreResult r;
    auto store = DrawStore::open(DbConnectionString::forProgramFolder(folder), r);
    std::vector<Ticket> put = {{0, 5, 5, 1234, BuyKind::Box, 1}, {0, 6, 6, 7777, BuyKind::Box, 1}};
    EXPECT_FALSE(store && changeTickets(*store, put, {storedTickets(folder).front().id}));
    EXPECT_EQ(put[0].id, 0) << "no id for a ticket not stored";
    EXPECT_EQ(storedTickets(folder).size(), tickets.size());
}

TEST(CliTickets, RealDrawsWithTheirRealPrizes) {
    const DrawTable real = n4test::realPricedHistory();
    if (real.empty()) GTEST_SKIP() << "real history with prizes not present";
    // The first two draws, 1149 and 7921, with their published payouts; the
    // latest draw, and the next one still to come.
    const DrawRecord& last = real.back();
    const int next = last.drawNo + 1;
    const std::vector<Ticket> tickets = {
        {0, 1, 1, 1149, BuyKind::Straight, 2},
        {0, 1, 1, 9411, BuyKind::Box, 1},
        {0, 1, 1, 1149, BuyKind::Set, 1},
        {0, 1, 1, 1491, BuyKind::Set, 3},
        {0, 2, 2, 1297, BuyKind::Box, 2},
        {0, 2, 2, 7921, BuyKind::Set, 1},
        {0, last.drawNo, next, numberOf(last.digits), BuyKind::Straight, 3}};
    const std::string out = cli({"tickets"}, storeFolder(real, tickets)).out;
    for (const char* line : {"1\t\t1149\tストレート\t2\t1\tストレート当せん\t1885200\n",
                             "1\t\t9411\tボックス\t1\t1\tボックス当せん\t78500\n",
                             "1\t\t1149\tセット\t1\t1\tセット・ストレート当せん\t510500\n",
                             "1\t\t1491\tセット\t3\t1\tセット・ボックス当せん\t117600\n",
                             "2\t\t1297\tボックス\t2\t2\tボックス当せん\t76800\n",
                             "2\t\t7921\tセット\t1\t2\tセット・ストレート当せん\t481000\n"})
        EXPECT_TRUE(has(out, line)) << line;
    const std::string latest = "\t3\t" + std::to_string(last.drawNo) + "\tストレート当せん\t" +
                               std::to_string(3LL * last.details.prizes[kStraight]) + "\n";
    EXPECT_TRUE(has(out, latest)) << latest;
    EXPECT_TRUE(has(out, "\t3\t" + std::to_string(next) + "\t抽せん前\t\n"));
}

TEST(CliTickets, AFileWithABadLineAddsNothingAndEveryEncodingIsRead) {
    const std::string folder = folderWithDraws();
    const std::string db = folder + "/Numbers4Marvo.mdb", before = n4test::readFile(db);
    const std::pair<const char*, const char*> refused[] = {
        {"回,最終回,番号,種類,口数\n1,,1149,ボックス,1\n2,,7777,ボックス,1\n", "3 行目"},
        {"1,,7777,セット,1\n", "1 行目: ゾロ目"},
        {"1,,1149,ストレート,1\n1,,12345,ストレート,1\n", "2 行目"},
        {"0,,1234,ストレート,1\n", "1 行目"},
        {"\n\n5,3,1234,ストレート,1\n", "3 行目"},
        {"1,,1234,ロト,1\n", "1 行目"},
        {"1,,1234,ストレート,10000\n", "1 行目"},
        {"1,2,1234,ストレート,1,1\n", "1 行目"},
        {"1,,1234,ストレート,1\n第1回2,,1234,ストレート,1\n", "2 行目"},
        {"draw,,1234,ストレート,1\n1,,1234,ストレート,1\n", "1 行目: 回「draw」"},
        {"1,,1149,ストレート,1\r\n1,,1149,ボックス,0\r\n", "2 行目"},
        {"1 2,,1149,ストレート,1\n", "1 行目"},
        {"1,1001,1149,ストレート,1\n", "1 行目: 継続購入は 1000 回まで"}};
    for (const auto& [csv, line] : refused) {
        const CliRun r = importTickets(folder, csv);
        EXPECT_EQ(r.code, CliBadInput) << csv;
        EXPECT_TRUE(has(r.err, line) && has(r.err, "何も書き込んでいません")) << csv << r.err;
        EXPECT_EQ(r.out, "");
    }
    // A lifetime of tickets at most: a file asking for more draws to check is refused.
    std::string huge;
    for (int i = 0; i < 1001; ++i)
        huge += "1,1000,1149,ストレート,1\n";
    EXPECT_TRUE(has(importTickets(folder, huge).err, "1001 行目: 券と回の組が多すぎます"));
    EXPECT_EQ(n4test::readFile(db), before);
    const std::string empty = n4test::tempFolder();
    for (const char* none : {"1,,7777,ボックス,1\n", "", "回,最終回,番号,種類,口数\r\n\r\n"})
        EXPECT_EQ(importTickets(empty, none).code, CliBadInput) << none;
    EXPECT_EQ(cli({"tickets", "--import", empty + "/none.csv"}, empty).code, CliBadInput);
    EXPECT_FALSE(std::filesystem::exists(empty + "/Numbers4Marvo.mdb")) << "nothing to write";

    // Shift-JIS from a spreadsheet (leading zeros lost, no header, spaces
    // around), UTF-16 either way round; the ends of the ranges.
    const auto sjis = utf8ToShiftJis("第1回,,　42 ,ボックス,２\r\n第２回,,1149,セット,1\r\n"
                                     "99998,99999,0,ストレート,9999\r\n");
    ASSERT_TRUE(sjis);
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char c : std::string("1,,0042,box,2\r\n2,,1149,set,1\r\n99998,99999,0000,straight,9999"))
        le += {c, '\0'}, be += {'\0', c};
    for (const std::string& bytes : {*sjis, le, be})
        EXPECT_EQ(importTickets(empty, bytes).code, CliDone);
    const std::vector<Ticket> read = storedTickets(empty);
    ASSERT_EQ(read.size(), 9u);
    for (size_t i = 0; i < 9; i += 3) {
        EXPECT_TRUE(read[i].sameContent(Ticket{0, 1, 1, 42, BuyKind::Box, 2})) << i;
        EXPECT_TRUE(read[i + 1].sameContent(Ticket{0, 2, 2, 1149, BuyKind::Set, 1})) << i;
        EXPECT_TRUE(read[i + 2].sameContent(Ticket{0, 99998, 99999, 0, BuyKind::Straight, 9999}));
    }
}

TEST(CliTickets, AnOlderDatabaseIsReadAsItWasAndGainsTheLedgerWhenWritten) {
    const std::string folder = folderWithDraws();
    // The draw table and its view are what every copy of the file has had.
    const std::string table = storedSql(folder, "当選番号"),
                      view = storedSql(folder, "全データ選択クエリ");
    EXPECT_EQ(table,
              "CREATE TABLE 当選番号 ( 回数 INTEGER PRIMARY KEY CHECK (回数 BETWEEN 1 AND "
              "99999), 第1数字 INTEGER NULL CHECK (第1数字 BETWEEN 0 AND 9), 第2数字 INTEGER "
              "NULL CHECK (第2数字 BETWEEN 0 AND 9), 第3数字 INTEGER NULL CHECK (第3数字 "
              "BETWEEN 0 AND 9), 第4数字 INTEGER NULL CHECK (第4数字 BETWEEN 0 AND 9))");
    EXPECT_EQ(view, "CREATE VIEW 全データ選択クエリ AS SELECT 回数, 第1数字, 第2数字, 第3数字, "
                    "第4数字 FROM 当選番号");

    // A file of an earlier version, without the ledger or the dates and prizes.
    const auto c = DbConnectionString::forProgramFolder(folder);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(c.dataSource.c_str(), &db), SQLITE_OK);
    const std::string drop =
        "PRAGMA key = '" + c.password + "'; DROP TABLE 購入記録; DROP TABLE 当選詳細;";
    ASSERT_EQ(sqlite3_exec(db, drop.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const std::string before = n4test::readFile(c.dataSource);
    const CliRun exported = cli({"export", "frequency"}, folder), listed = cli({"tickets"}, folder);
    EXPECT_EQ(exported.code, CliDone) << exported.err;
    EXPECT_EQ(listed.code, CliDone) << listed.err;
    EXPECT_TRUE(has(listed.out, "\n購入額\t0\n")) << listed.out;
    EXPECT_EQ(n4test::readFile(c.dataSource), before) << "a reader changes nothing";

    ASSERT_EQ(importTickets(folder, "1,,1149,ストレート,1\n").code, CliDone);
    EXPECT_NE(storedSql(folder, "購入記録"), "");
    EXPECT_EQ(storedSql(folder, "当選番号"), table);
    EXPECT_EQ(storedSql(folder, "全データ選択クエリ"), view);
    EXPECT_EQ(cli({"export", "frequency"}, folder).out, exported.out);
    EXPECT_TRUE(has(cli({"tickets"}, folder).out, "\t1\tストレート当せん\t賞金未取得\n"))
        << "the older file knows no prizes: not known, not 0";
}

TEST(TicketLedger, ADrawsLineForTheStatusBarAndTheTotalsOfAMonthOrAYear) {
    DrawTable table = draws({{1, 1, 4, 9}, {9, 4, 1, 1}, {1, 2, 3, 4}});
    table[0].details = {20260728, {900000, 37000, 450000, 18000}}; // Tuesday
    table[1].details = {20260729, {800000, 36000, 400000, 17000}}; // Wednesday
    table[2].details.date = 20260730;                              // Thursday, prizes unknown
    const std::vector<CheckedTicket> checked = checkTickets({{0, 1, 5, 1149, BuyKind::Box, 2},
                                                             {0, 2, 2, 9411, BuyKind::Straight, 1},
                                                             {0, 3, 3, 4321, BuyKind::Box, 1},
                                                             {0, 3, 3, 1234, BuyKind::Straight, 1}},
                                                            table);
    EXPECT_EQ(drawTicketsSummary(checked, 2), "第2回: 2 枚中 2 枚当せん ¥872,000");
    EXPECT_EQ(drawTicketsSummary(checked, 3), "第3回: 3 枚中 2 枚当せん ¥0（賞金未取得 2 枚）");
    EXPECT_EQ(drawTicketsSummary(checked, 6), "");
    EXPECT_EQ(outcomeSummary(checked[0]), "ボックス当せん 2、はずれ 1、抽せん前 2");
    EXPECT_EQ(outcomeSummary(checked[3]), "ストレート当せん");

    // Draws still to come: 4 on Friday 31 July, 5 on Monday 3 August.
    const auto totals = [&](TicketPeriod::Kind kind, int year, int month) {
        TicketPeriod period;
        period.kind = kind, period.year = year, period.month = month;
        return totalTickets(checked, period);
    };
    const TicketTotals july = totals(TicketPeriod::Month, 2026, 7),
                       august = totals(TicketPeriod::Month, 2026, 8),
                       inYear = totals(TicketPeriod::Year, 2026, 0),
                       all = totals(TicketPeriod::All, 0, 0);
    EXPECT_EQ(std::make_pair(july.spent, july.won), std::make_pair(2200LL, 946000LL));
    EXPECT_EQ(std::make_pair(august.spent, august.won), std::make_pair(400LL, 0LL));
    EXPECT_EQ(std::make_pair(july.unknownPrizes, august.pending), std::make_pair(2, 1));
    EXPECT_EQ(std::make_pair(inYear.spent, inYear.won), std::make_pair(all.spent, all.won));
    EXPECT_EQ(all.drawNos, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(all.balances, (std::vector<long long>{73600, 945000, 944200, 943800, 943400}));
    EXPECT_EQ(totals(TicketPeriod::Year, 2025, 0).ticketDraws, 0);
}
