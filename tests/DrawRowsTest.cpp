// Every analysis that lists draws notes each draw's row as it writes it, so
// that a window can take the user to a draw by its number.
#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"

using namespace n4;

TEST(DrawRows, EveryDrawListedIsFoundWhereItsNumberShows) {
    // A gap (draw 3) and an incomplete draw (5) among complete ones.
    const DrawTable t{DrawRecord{1, {1, 2, 3, 4}}, DrawRecord{2, {5, 6, 7, 8}},
                      DrawRecord{4, {9, 0, 1, 2}}, n4test::incomplete(5),
                      DrawRecord{6, {3, 3, 4, 4}}};
    std::set<std::string> withoutDrawRows;
    for (const AnalysisEntry& e : analysisCatalog()) {
        SCOPED_TRACE(e.cliName);
        const Grid g = n4test::analyse(e.compute, t);
        const DrawRows& rows = g.drawRows();
        if (rows.empty()) withoutDrawRows.insert(e.cliName);
        if (rows.empty()) continue;
        for (int no : {1, 2, 4, 6})
            EXPECT_EQ(g.text(1, rows.rowOf(no)), std::to_string(no));
        // Left out, or kept as an empty row in its place.
        EXPECT_TRUE(rows.rowOf(5) == 0 || g.isEmpty(1, rows.rowOf(5)));
        EXPECT_EQ(rows.rowOf(3), -1);
        EXPECT_EQ(rows.lastShownRow(), rows.rowOf(6));
        EXPECT_EQ(rows.firstShownRow(), rows.rowOf(1));
    }
    // The two windows that count digits list no draws.
    EXPECT_EQ(withoutDrawRows, (std::set<std::string>{"frequency", "by-count"}));
}
