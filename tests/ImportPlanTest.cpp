#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/import/ImportPlan.h"

using namespace n4;

namespace {
DrawRecord rec(int no, std::array<int, 4> d) {
    return DrawRecord{no, d};
}
} // namespace

TEST(ImportPlan, SortsIncomingDrawsIntoNewChangedAndIdentical) {
    const DrawTable stored{rec(1, {1, 1, 4, 9}), rec(2, {7, 9, 2, 1}), rec(4, {0, 0, 0, 0})};
    const std::vector<DrawRecord> incoming{rec(1, {1, 1, 4, 9}), rec(2, {7, 9, 2, 2}),
                                           rec(3, {3, 3, 3, 3}), rec(5, {5, 5, 5, 5})};
    const ImportPlan plan = planImport(stored, incoming);
    ASSERT_EQ(plan.added.size(), 2u);
    EXPECT_EQ(plan.added[0].drawNo, 3);
    ASSERT_EQ(plan.changed.size(), 1u);
    EXPECT_EQ(plan.changed[0].first.digits, (std::array<int, 4>{7, 9, 2, 1}));
    EXPECT_EQ(plan.changed[0].second.digits, (std::array<int, 4>{7, 9, 2, 2}));
    EXPECT_EQ(plan.unchanged, 1);
    // Only the new and changed draws are written; the change knows what was there.
    const DrawChange c = plan.change("取り込み");
    ASSERT_EQ(c.edits.size(), 3u);
    for (const DrawEdit& e : c.edits) {
        EXPECT_EQ(e.before.has_value(), e.drawNo == 2) << e.drawNo;
        ASSERT_TRUE(e.after.has_value());
    }
}

TEST(ImportPlan, TheQuestionAndTheReportSayItInNumbers) {
    const DrawTable stored = draws({{1, 1, 4, 9}, {7, 9, 2, 1}});
    std::vector<DrawRecord> incoming{rec(1, {1, 1, 4, 9}), rec(2, {7, 9, 2, kAbsentDigit})};
    for (int no = 3; no <= 12; ++no)
        incoming.push_back(rec(no, {1, 2, 3, 4}));
    const ImportPlan plan = planImport(stored, incoming);
    const std::string q = describeImport(plan, "a.csv", "CSV（UTF-8）");
    EXPECT_NE(q.find("「a.csv」を CSV（UTF-8）として読みました。"), std::string::npos) << q;
    EXPECT_NE(q.find("新しい回: 10 件（第3回～第12回）"), std::string::npos) << q;
    EXPECT_NE(q.find("当選番号が変わる回: 1 件\n　第2回: 7921 → 792・"), std::string::npos) << q;
    EXPECT_NE(q.find("同じ内容の回: 1 件"), std::string::npos) << q;
    const std::string done = reportImport(plan);
    EXPECT_NE(done.find("新しい回 10 件（第3回～第12回）、変わった回 1 件、変わらない回 1 件"),
              std::string::npos)
        << done;
}

TEST(ImportPlan, ManyChangesListTheFirstFewAndCountTheRest) {
    DrawTable stored;
    std::vector<DrawRecord> incoming;
    for (int no = 1; no <= 8; ++no) {
        stored.push_back(rec(no, {0, 0, 0, 0}));
        incoming.push_back(rec(no, {1, 1, 1, 1}));
    }
    const ImportPlan plan = planImport(stored, incoming);
    const std::string q = describeImport(plan, "", "");
    EXPECT_NE(q.find("第5回: 0000 → 1111"), std::string::npos) << q;
    EXPECT_EQ(q.find("第6回"), std::string::npos) << q;
    EXPECT_NE(q.find("ほか 3 件"), std::string::npos) << q;
    EXPECT_TRUE(planImport(stored, stored).nothingToDo());
    EXPECT_NE(reportImport(planImport(stored, stored)).find("8 回はすべて同じ内容です"),
              std::string::npos);
    // Five changes are all listed, with no count after them.
    stored.resize(5);
    incoming.resize(5);
    const std::string five = describeImport(planImport(stored, incoming), "", "");
    EXPECT_NE(five.find("第5回: 0000 → 1111"), std::string::npos) << five;
    EXPECT_EQ(five.find("ほか"), std::string::npos) << five;
}
