#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>

#include "UiSupport.h"
#include "core/prediction/SettingsFile.h"
#include "ui/grid/GridView.h"
#include "ui/prediction/PredictionWindow.h"
#include "ui/shell/ProgramStart.h"

using namespace n4;

namespace {

std::string gridTsv(GridView* v) {
    std::string out;
    const Grid& g = v->grid();
    for (int row = 1; row <= g.maxRows(); ++row)
        for (int col = 1; col <= g.maxCols(); ++col)
            out += g.text(col, row) + (col == g.maxCols() ? "\n" : "\t");
    return out;
}

DrawTable history() {
    DrawTable t = n4test::realHistory();
    if (!t.empty()) return t;
    for (int no = 1; no <= 300; ++no)
        t.push_back(DrawRecord{no, {no * 7 % 10, no * 3 % 10, no * 11 % 10, no * 13 % 10}});
    return t;
}

struct Shell {
    n4test::Workspace ws{history()};
    n4test::RecordingSink sink;
    MainFrm main{ws.config, &sink};
    PredictionWindow* window() {
        QMdiSubWindow* sub = main.openWindow("一発マーヴォ");
        return sub ? qobject_cast<PredictionWindow*>(sub->widget()) : nullptr;
    }
};

} // namespace

TEST(PredictionWindow, OptionClickChangesOnlyTheThreeComputedGrids) {
    Shell s;
    ASSERT_TRUE(s.main.load());
    s.main.openPrediction();
    PredictionWindow* w = s.window();
    ASSERT_NE(w, nullptr);
    std::string before[4];
    for (int g = 0; g < 4; ++g)
        before[g] = gridTsv(w->gridView(g));
    w->reflectButton(6)->click();
    EXPECT_TRUE(s.main.analysisOptions().flags[6]);
    EXPECT_EQ(gridTsv(w->gridView(0)), before[0]);
    EXPECT_NE(gridTsv(w->gridView(1)), before[1]); // the elimination reads one draw further back
    EXPECT_EQ(w->gridView(0)->grid().text(1, 2), " 7回周期法");
    w->noReflectButton(6)->click();
    for (int g = 0; g < 4; ++g)
        EXPECT_EQ(gridTsv(w->gridView(g)), before[g]);
}

TEST(PredictionWindow, WhichOptionIsOnMakesNoDifferenceOnlyHowMany) {
    Shell s;
    ASSERT_TRUE(s.main.load());
    s.main.openPrediction();
    PredictionWindow* w = s.window();
    w->reflectButton(0)->click();
    const std::string one =
        gridTsv(w->gridView(1)) + gridTsv(w->gridView(2)) + gridTsv(w->gridView(3));
    w->noReflectButton(0)->click();
    w->reflectButton(9)->click();
    EXPECT_EQ(gridTsv(w->gridView(1)) + gridTsv(w->gridView(2)) + gridTsv(w->gridView(3)), one);
}

TEST(PredictionWindow, OptionsSurviveClosingAndReopeningButTheFileWaitsForExit) {
    Shell s;
    ASSERT_TRUE(s.main.load());
    s.main.openPrediction();
    s.window()->reflectButton(6)->click();
    s.window()->reflectButton(0)->click(); // the first and the last that count
    s.window()->reflectButton(9)->click();
    s.window()->closeButton()->click();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(s.main.openWindow("一発マーヴォ"), nullptr);
    EXPECT_TRUE(s.main.propEnd());
    EXPECT_TRUE(n4test::readFile(s.ws.config.settingsPath).empty());
    s.main.openPrediction();
    EXPECT_TRUE(s.window()->reflectButton(6)->isChecked());
    EXPECT_TRUE(s.window()->reflectButton(0)->isChecked());
    EXPECT_TRUE(s.window()->reflectButton(9)->isChecked());
    EXPECT_TRUE(s.window()->noReflectButton(5)->isChecked());
}

TEST(PredictionWindow, TheOptionsAreWrittenWhenTheProgramEndsWithoutAClose) {
    // The main window can go without a close event (the desktop session ends,
    // say): its options are written all the same.
    n4test::Workspace ws;
    n4test::RecordingSink sink;
    std::unique_ptr<MainFrm> main = startShell(ws.config, &sink);
    ASSERT_NE(main, nullptr);
    auto* w = qobject_cast<PredictionWindow*>(main->openWindow("一発マーヴォ")->widget());
    ASSERT_NE(w, nullptr);
    w->reflectButton(6)->click();
    EXPECT_TRUE(n4test::readFile(ws.config.settingsPath).empty());
    main.reset();
    AnalysisOptions written;
    readInitFile(ws.config.settingsPath, written);
    EXPECT_TRUE(written.flags[6]);
    EXPECT_EQ(written.reflectedCount(), 1);
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST(PredictionWindow, PanelTextsAndTheTwoInoperableGroups) {
    Shell s;
    ASSERT_TRUE(s.main.load());
    s.main.openPrediction();
    PredictionWindow* w = s.window();
    QStringList titles;
    for (QGroupBox* b : w->findChildren<QGroupBox*>())
        titles << b->title();
    EXPECT_TRUE(titles.contains("データ分析オプション"));
    EXPECT_TRUE(titles.contains("当選予想"));
    EXPECT_TRUE(titles.contains("■4分割傾向分析"));
    EXPECT_FALSE(w->reflectButton(10)->isEnabled());
    EXPECT_FALSE(w->reflectButton(11)->isEnabled());
    EXPECT_TRUE(w->noReflectButton(11)->isChecked());
    EXPECT_TRUE(w->findChild<QPushButton*>("Command2")->isEnabled());
    EXPECT_EQ(s.main.openWindow("一発マーヴォ")->windowTitle(), "一発マーヴォ予想");
}

TEST(PredictionWindow, NamesTheDrawItPredicts) {
    // The last complete draw counts: an empty row after it does not.
    DrawTable t = draws({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 0, 1, 2}});
    t.push_back(n4test::incomplete(4));
    n4test::Workspace ws{t};
    n4test::RecordingSink sink;
    MainFrm main{ws.config, &sink};
    ASSERT_TRUE(main.load());
    main.show();
    main.openPrediction();
    auto* w = qobject_cast<PredictionWindow*>(main.openWindow("一発マーヴォ")->widget());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->targetLabel()->text(), "第4回の予想");
    EXPECT_TRUE(w->targetLabel()->isVisible());
    w->setDraws(draws({{1, 2, 3, 4}}), 1);
    EXPECT_EQ(w->targetLabel()->text(), "第2回の予想");
}
