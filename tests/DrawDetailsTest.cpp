// Draw dates and prizes: read from every results file that has them, kept
// beside the draws, changed only where a file gives them otherwise.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "core/import/HistoryImport.h"
#include "core/import/ImportPlan.h"
#include "core/prediction/NextDrawDate.h"
#include "core/store/DrawChangeLog.h"
#include "core/store/DrawDetailsText.h"
#include "core/store/DrawStore.h"

using namespace n4;

namespace {

const DrawRecord* findDraw(const std::vector<DrawRecord>& rows, int drawNo) {
    for (const DrawRecord& r : rows)
        if (r.drawNo == drawNo) return &r;
    return nullptr;
}

} // namespace

TEST(DrawDetails, AreReadStoredAndChangedOnlyWhereAFileGivesThem) {
    const std::string folder = n4test::tempFolder();
    const ImportResult first = readHistoryBytes(
        "draw_no,draw_date,winning_number,straight_payout,box_payout,set_straight_payout,"
        "set_box_payout\n"
        "1,1994-10-07,1149,942600,78500,510500,39200\n"
        "2,1994/10/14,5555,1000000,,,\n");
    ASSERT_TRUE(first.ok) << first.message;
    ASSERT_EQ(first.rows.size(), 2u);
    EXPECT_EQ(first.rows[0].details.date, 19941007);
    EXPECT_EQ(first.rows[0].details.prizes, (std::array<int, 4>{942600, 78500, 510500, 39200}));
    EXPECT_EQ(first.rows[1].details.prizes,
              (std::array<int, 4>{1000000, kUnknown, kUnknown, kUnknown}));

    const DbConnectionString conn = DbConnectionString::forProgramFolder(folder);
    ASSERT_TRUE(DrawStore::create(conn, first.rows));
    EXPECT_EQ(n4test::storedDraws(folder)[0].details, first.rows[0].details);

    // Digits alone leave the stored details; a date given otherwise is a change, undoable.
    StoreResult r;
    auto store = DrawStore::open(conn, r);
    ASSERT_TRUE(store) << r.message;
    const ImportResult digitsOnly = readHistoryBytes("回,当せん番号\n1,1149\n2,5555\n");
    EXPECT_TRUE(planImport(n4test::storedDraws(folder), digitsOnly.rows).nothingToDo());
    const ImportResult redated =
        readHistoryBytes("[{\"draw_no\": 2, \"date\": \"1994-10-15\", \"digits\": [5, 5, 5, 5],"
                         " \"prize\": {\"straight\": 1000000, \"box\": null}}]");
    ASSERT_TRUE(redated.ok) << redated.message;
    const ImportPlan plan = planImport(n4test::storedDraws(folder), redated.rows);
    ASSERT_EQ(plan.changed.size(), 1u);
    EXPECT_NE(reportImport(plan).find("第2回: 5555（抽せん日を変更）"), std::string::npos)
        << reportImport(plan);
    DrawChangeLog log;
    ASSERT_TRUE(log.apply(*store, plan.change("取り込み")));
    EXPECT_EQ(n4test::storedDraws(folder)[1].details.date, 19941015);
    EXPECT_EQ(n4test::storedDraws(folder)[1].details.prizes[kStraight], 1000000);
    ASSERT_TRUE(log.undo(*store));
    EXPECT_EQ(n4test::storedDraws(folder)[1].details.date, 19941014);

    // As the data-entry window shows them.
    EXPECT_EQ(dateText(first.rows[0].details.date), "1994年10月7日（金）");
    EXPECT_EQ(dateText(20000229), "2000年2月29日（火）");
    EXPECT_EQ(dateText(kUnknown), "");
    EXPECT_EQ(prizesText(first.rows[1].details),
              "ストレート 1,000,000円　ボックス ―　セット・ストレート ―　セット・ボックス ―");
    EXPECT_EQ(prizesText(DrawDetails{}), "");

    // What cannot be a date or an amount is refused with its line.
    for (const char* bad : {"draw,date,d1,d2,d3,d4\n1,1994-02-30,1,2,3,4\n",
                            "draw,straight,d1,d2,d3,d4\n1,12a4,1,2,3,4\n"}) {
        const ImportResult refused = readHistoryBytes(bad);
        EXPECT_FALSE(refused.ok) << bad;
        EXPECT_EQ(refused.message.rfind("2行目", 0), 0u) << refused.message;
    }
}

// The real files: the primary CSV with dates and prizes, the older CSV and the
// other JSON with dates, the results API's full history with prizes.
TEST(DrawDetails, EveryRealResultsFileGivesItsDates) {
    const std::string data = N4_SHARED_DATA;
    if (!std::filesystem::exists(data + "/raw")) GTEST_SKIP() << "no shared data";
    const ImportResult primary =
        readHistoryFile(data + "/raw/hazimekom__numbers4-api__data__numbers4_results_v2.csv");
    ASSERT_TRUE(primary.ok) << primary.message;
    const DrawRecord* first = findDraw(primary.rows, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->details.date, 19941007);
    EXPECT_EQ(first->details.prizes, (std::array<int, 4>{942600, 78500, 510500, 39200}));

    const ImportResult older =
        readHistoryFile(data + "/raw/SHAKAITOU__takarakuji__ddl__initData__numberS4_20180216.csv");
    ASSERT_TRUE(older.ok) << older.message;
    ASSERT_NE(findDraw(older.rows, 4858), nullptr);
    EXPECT_EQ(findDraw(older.rows, 4858)->details.date, 20180216);

    const ImportResult hub =
        readHistoryFile(data + "/raw/tk030-lotto__lotto-data-hub__data__numbers4.json");
    ASSERT_TRUE(hub.ok) << hub.message;
    ASSERT_NE(findDraw(hub.rows, 7054), nullptr);
    EXPECT_EQ(findDraw(hub.rows, 7054)->details.date, 20260821);

    const ImportResult api = readHistoryFile(data + "/api/numbers4_all_full.json");
    ASSERT_TRUE(api.ok) << api.message;
    ASSERT_EQ(api.rows.size(), primary.rows.size());
    int quads = 0;
    for (size_t i = 0; i < api.rows.size(); ++i) {
        const DrawRecord& a = api.rows[i];
        const DrawRecord& p = primary.rows[i];
        ASSERT_EQ(a.drawNo, p.drawNo);
        EXPECT_EQ(a.details, p.details) << "draw " << a.drawNo; // the same publisher, two shapes
        const auto& d = a.digits;
        if (d[0] == d[1] && d[1] == d[2] && d[2] == d[3]) {
            ++quads;
            EXPECT_EQ(a.details.prizes[kBox], kUnknown) << a.drawNo;
        }
    }
    EXPECT_GT(quads, 0);
    ASSERT_NE(findDraw(api.rows, 7054), nullptr);
    EXPECT_EQ(findDraw(api.rows, 7054)->details.prizes,
              (std::array<int, 4>{2128400, 177300, 1152800, 88600}));
}

// The next draw's day: the next weekday outside 31 December to 3 January,
// told only by a history of daily draws.
TEST(DrawDetails, TheNextDrawsDayIsToldByADailyHistory) {
    EXPECT_EQ(drawDayAfter(20260821), 20260824); // Friday -> Monday
    EXPECT_EQ(drawDayAfter(20251230), 20260105); // over the new year and a weekend
    EXPECT_EQ(drawDayAfter(20240228), 20240229);
    EXPECT_EQ(drawDayAfter(20240230), kUnknown);
    auto dated = [](std::initializer_list<std::pair<int, int>> rows) {
        DrawTable t;
        for (const auto& [no, date] : rows) {
            DrawRecord r(no, {1, 2, 3, 4});
            r.details.date = date;
            t.push_back(r);
        }
        return t;
    };
    EXPECT_EQ(nextDrawDate(dated({{1, 20260820}, {2, 20260821}})), 20260824);
    EXPECT_EQ(nextDrawDate(dated({{1, 19941007}, {2, 19941014}})), kUnknown); // weekly draws
    EXPECT_EQ(nextDrawDate(dated({{1, kUnknown}, {2, 20260821}})), kUnknown);
    EXPECT_EQ(nextDrawDate(dated({{2, 20260821}})), kUnknown);

    const std::string data = N4_SHARED_DATA;
    if (!std::filesystem::exists(data + "/raw")) return;
    const ImportResult real =
        readHistoryFile(data + "/raw/hazimekom__numbers4-api__data__numbers4_results_v2.csv");
    ASSERT_TRUE(real.ok) << real.message;
    // Every draw since daily draws began came on the day the rule gives.
    for (size_t i = 1339; i < real.rows.size(); ++i)
        ASSERT_EQ(drawDayAfter(real.rows[i - 1].details.date), real.rows[i].details.date)
            << real.rows[i].drawNo;
    EXPECT_EQ(nextDrawDate(real.rows), 20260824);
}

// Whether an automatic check may find something: only once the latest draw
// day's 21:00 (Japan) has passed without that draw in the table.
TEST(DrawDetails, ANewResultIsOutOnlyAfterNineInTheEveningOfADrawDay) {
    DrawTable t = draws({{1, 2, 3, 4}});
    EXPECT_TRUE(newResultMayBeOut(t, 0)); // no date: ask
    t[0].details.date = 20260821;         // a Friday
    // 2026-08-21 20:59 and 21:00 Japan time are 11:59 and 12:00 UTC.
    const long long friday2059 = 1787313540, friday2100 = friday2059 + 60;
    EXPECT_FALSE(newResultMayBeOut(t, friday2100));
    t[0].details.date = 20260820;
    EXPECT_FALSE(newResultMayBeOut(t, friday2059));
    EXPECT_TRUE(newResultMayBeOut(t, friday2100));
    t[0].details.date = 20260821;
    EXPECT_FALSE(newResultMayBeOut(t, friday2100 + 3 * 86400 - 60)); // Monday 20:59
    EXPECT_TRUE(newResultMayBeOut(t, friday2100 + 3 * 86400));       // Monday 21:00
}

TEST(DrawDetails, DrawsLeftOutOfTheAnalysesAreNamedFiveAtMostThenCounted) {
    DrawTable t = draws({{1, 2, 3, 4}, {5, 6, 7, 8}});
    EXPECT_EQ(incompleteDrawsText(t), "");
    for (int no = 3; no <= 9; ++no)
        t.push_back(DrawRecord{no, {1, no % 2 ? kAbsentDigit : kUnreadableDigit, 3, 4}});
    EXPECT_EQ(incompleteDrawsText(t), "第3回、第4回、第5回、第6回、第7回ほか 2 回は"
                                      "数字が欠けているため分析に含まれません。");
}
