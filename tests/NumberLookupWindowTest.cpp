// 番号検索 through its menu command: the number checked as it is typed, the
// draws it came in each way with their prizes, and a history that changes.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTest>

#include "UiSupport.h"
#include "core/numbers/NumberKind.h"
#include "ui/grid/GridView.h"
#include "ui/numbers/NumberLookupWindow.h"

using namespace n4;

TEST(NumberLookupWindow, TypedNumbersAreCheckedAndTheirDrawsListedWithPrizes) {
    DrawTable t;
    const int drawn[] = {1149, 9411, 1234, 1149, 7777};
    for (int i = 0; i < 5; ++i) {
        DrawDetails d;
        d.date = 20260803 + i;
        if (i != 3) d.prizes = {900000, 37000, 450000, 18000};
        t.push_back(DrawRecord{i + 1, digitsOf(drawn[i]), d});
    }
    n4test::Shell s(t);
    QMdiSubWindow* sub = s.choose("mnuNumberLookup");
    ASSERT_NE(sub, nullptr);
    auto* window = qobject_cast<NumberLookupWindow*>(sub->widget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(sub->windowTitle(), "番号検索");

    QLineEdit* edit = window->numberEdit();
    for (const char* wrong : {"11a", "11490", "11"}) {
        edit->clear();
        QTest::keyClicks(edit, wrong);
        EXPECT_FALSE(window->summaryLabel()->text().isEmpty()) << wrong;
        EXPECT_EQ(window->hitsView()->grid().maxRows(), 0) << wrong;
    }
    edit->setText("１１４９");
    const QString summary = window->summaryLabel()->text();
    EXPECT_TRUE(summary.startsWith("1149（ダブル・12通り）: 全 5 回のうち、そのままの並びで 2 回"))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains("並びを問わず 3 回")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("最後に出てから 1 回")) << summary.toStdString();
    const Grid& g = window->hitsView()->grid();
    ASSERT_EQ(g.maxRows(), 6); // a header, two in order, three in any order
    EXPECT_EQ(g.text(1, 2) + " " + g.text(2, 2) + " " + g.text(3, 2) + " " + g.text(5, 2),
              "ストレート 1 2026-08-03 900,000");
    EXPECT_EQ(g.text(5, 3), "不明") << "draw 4's prizes are not known";
    EXPECT_EQ(g.text(4, 5) + " " + g.text(5, 5), "9411 37,000");

    edit->setText("7777");
    EXPECT_EQ(window->hitsView()->grid().text(5, 3), "（販売なし）") << "a quad has no box";

    // A draw imported while the window is open shows at once.
    const std::string csv = s.ws.folder + "/more.csv";
    n4test::writeFile(csv, "回,当せん番号\n第6回,7777\n");
    ASSERT_TRUE(s.main->importFile(QString::fromStdString(csv)));
    EXPECT_TRUE(window->summaryLabel()->text().contains("そのままの並びで 2 回"))
        << window->summaryLabel()->text().toStdString();
}
