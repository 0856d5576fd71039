#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/store/DrawChangeLog.h"

using namespace n4;

namespace {

struct Store {
    std::string folder = n4test::tempFolder();
    std::unique_ptr<DrawStore> store;
    explicit Store(const DrawTable& t) {
        StoreResult r;
        store = DrawStore::open(DbConnectionString::forProgramFolder(folder), r);
        store->upsert(t);
    }
    DrawTable read() const {
        DrawTable t;
        store->readAll(t);
        return t;
    }
};

bool same(const DrawTable& a, const DrawTable& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].drawNo != b[i].drawNo || a[i].digits != b[i].digits) return false;
    return true;
}

DrawChange everyKind() {
    DrawRecord changed{1, {9, 9, 9, 9}}, added{3, {3, kAbsentDigit, 3, 3}};
    return DrawChange{"取り込み",
                      {{1, DrawRecord{1, {1, 2, 3, 4}}, changed},
                       {2, DrawRecord{2, {5, 6, 7, 8}}, std::nullopt},
                       {3, std::nullopt, added}}};
}

} // namespace

TEST(DrawChangeLog, UndoRestoresTheFileAndRedoWritesTheChangeAgain) {
    Store s(draws({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    const DrawTable before = s.read();
    DrawChangeLog log;
    ASSERT_TRUE(log.apply(*s.store, everyKind()));
    const DrawTable after = s.read();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].digits, (std::array<int, 4>{9, 9, 9, 9}));
    EXPECT_EQ(after[1].drawNo, 3);
    EXPECT_EQ(after[1].digits[1], kAbsentDigit);
    ASSERT_TRUE(log.canUndo());
    EXPECT_EQ(log.nextUndo()->label, "取り込み");
    ASSERT_TRUE(log.undo(*s.store));
    EXPECT_TRUE(same(s.read(), before));
    EXPECT_FALSE(log.canUndo());
    ASSERT_TRUE(log.redo(*s.store));
    EXPECT_TRUE(same(s.read(), after));
    EXPECT_EQ(log.revision(), 3u);
    // The step redone can be undone again, and nothing is left to redo.
    EXPECT_FALSE(log.canRedo());
    EXPECT_EQ(log.nextRedo(), nullptr);
    ASSERT_TRUE(log.canUndo());
    EXPECT_EQ(log.nextUndo()->label, "取り込み");
    ASSERT_TRUE(log.undo(*s.store));
    EXPECT_TRUE(same(s.read(), before));
    EXPECT_EQ(log.nextRedo()->label, "取り込み");
    // Nothing to undo: said in words, nothing written.
    StoreResult none = log.undo(*s.store);
    EXPECT_FALSE(none);
    EXPECT_EQ(none.message, "元に戻す操作がありません。");
    ASSERT_TRUE(log.redo(*s.store));
    StoreResult noRedo = log.redo(*s.store);
    EXPECT_EQ(noRedo.message, "やり直す操作がありません。");
    EXPECT_EQ(log.revision(), 5u);
}

TEST(DrawChangeLog, ANewChangeDropsTheRedoStepsAndAFailedWriteChangesNothing) {
    Store s(draws({{1, 2, 3, 4}}));
    DrawChangeLog log;
    ASSERT_TRUE(log.apply(
        *s.store, {"入力", {{1, DrawRecord{1, {1, 2, 3, 4}}, DrawRecord{1, {0, 2, 3, 4}}}}}));
    ASSERT_TRUE(log.undo(*s.store));
    EXPECT_TRUE(log.canRedo());
    ASSERT_TRUE(log.apply(*s.store, {"行追加", {{2, std::nullopt, DrawRecord{2, {}}}}}));
    EXPECT_FALSE(log.canRedo());
    // A digit the database refuses: the whole step is rolled back, nothing logged.
    const DrawTable before = s.read();
    DrawChange bad{"貼り付け",
                   {{3, std::nullopt, DrawRecord{3, {1, 1, 1, 1}}},
                    {4, std::nullopt, DrawRecord{4, {1, 1, 1, 12}}}}};
    const unsigned long revision = log.revision();
    EXPECT_FALSE(log.apply(*s.store, bad));
    EXPECT_TRUE(same(s.read(), before));
    EXPECT_EQ(log.revision(), revision);
    EXPECT_EQ(log.nextUndo()->label, "行追加");
    EXPECT_FALSE(log.redo(*s.store));
}

TEST(DrawChangeLog, OnlyTheLatestStepsAreKept) {
    Store s(draws({{0, 2, 3, 4}})); // as the first step found it
    DrawChangeLog log(3);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(log.apply(*s.store, {"入力",
                                         {{1, DrawRecord{1, {i % 10, 2, 3, 4}},
                                           DrawRecord{1, {(i + 1) % 10, 2, 3, 4}}}}}));
    int undone = 0;
    while (log.canUndo() && log.undo(*s.store))
        ++undone;
    EXPECT_EQ(undone, 3);
    EXPECT_EQ(s.read()[0].digits[0], 2); // back to the state after the second step
}

TEST(DrawChangeLog, LargeStepsAreForgottenFirstByTheDrawsTheyHold) {
    auto bigImport = [](int from) {
        DrawChange c{"取り込み", {}};
        for (int no = from; no < from + 3; ++no)
            c.edits.push_back({no, std::nullopt, DrawRecord{no, {1, 1, 1, 1}}});
        return c;
    };
    {
        Store s(draws({{1, 2, 3, 4}}));
        DrawChangeLog log(100, 5);
        ASSERT_TRUE(log.apply(*s.store, bigImport(10)));
        ASSERT_TRUE(log.apply(*s.store, bigImport(20))); // six draws held: the first goes
        EXPECT_TRUE(log.undo(*s.store));
        EXPECT_FALSE(log.canUndo());
        EXPECT_EQ(s.read().size(), 4u); // draw 1 and the first import stay
    }
    {
        // Exactly at the limit nothing is forgotten.
        Store s(draws({{1, 2, 3, 4}}));
        DrawChangeLog log(100, 6);
        ASSERT_TRUE(log.apply(*s.store, bigImport(10)));
        ASSERT_TRUE(log.apply(*s.store, bigImport(20)));
        EXPECT_TRUE(log.undo(*s.store));
        EXPECT_TRUE(log.undo(*s.store));
        EXPECT_EQ(s.read().size(), 1u);
    }
}
