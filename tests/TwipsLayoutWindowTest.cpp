// The windows' design in twips, checked where a twip is a pixel: on a screen
// of 1440 dots per inch (tests/twips-screen.json, a test of its own in
// tests/CMakeLists.txt). At the usual 96 dpi a twip is a fifteenth of a pixel
// and a control one twip off would not show; these tests skip there.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>

#include <QApplication>
#include <QElapsedTimer>

#include "UiSupport.h"
#include "WidgetInventory.h"
#include "ui/grid/GridView.h"
#include "ui/prediction/BacktestWindow.h"
#include "ui/prediction/PredictionWindow.h"
#include "ui/shell/AnalysisWindowTable.h"

using n4test::Shell;

namespace {

// True on the twips screen; false (the test skips) elsewhere, except when
// the twips run asked for that screen and did not get it.
bool onTwipsScreen(const QWidget* w) {
    if (w->logicalDpiX() == 1440 && w->logicalDpiY() == 1440) return true;
    EXPECT_FALSE(qEnvironmentVariableIsSet("N4_TWIPS_SCREEN"))
        << "the screen has " << w->logicalDpiX() << " dpi";
    return false;
}

QGroupBox* frameTitled(QWidget* parent, const QString& title) {
    for (QGroupBox* g : parent->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
        if (g->title() == title) return g;
    return nullptr;
}

QLabel* labelReading(QWidget* parent, const QString& start) {
    for (QLabel* l : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (l->text().startsWith(start)) return l;
    return nullptr;
}

// Left, top and width; the height where the design fixes it.
void expectAt(const QWidget* w, int left, int top, int width, int height = -1) {
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->x(), left);
    EXPECT_EQ(w->y(), top);
    EXPECT_EQ(w->width(), width);
    if (height >= 0) {
        EXPECT_EQ(w->height(), height);
    }
}

} // namespace

TEST(TwipsLayout, ThePredictionWindowsControlsSitWhereItsDesignPutsThem) {
    Shell s;
    QMdiSubWindow* sub = s.main->openWindow("一発マーヴォ");
    ASSERT_NE(sub, nullptr);
    auto* window = qobject_cast<n4::PredictionWindow*>(sub->widget());
    ASSERT_NE(window, nullptr);
    if (!onTwipsScreen(window)) GTEST_SKIP() << "a twip is not a pixel here";
    EXPECT_EQ(sub->size(), QSize(9360, 8244));
    EXPECT_EQ(window->minimumSize(), QSize(9240, 7860));
    expectAt(window->findChild<QPushButton*>("Command2"), 7200, 60, 855, 375);
    expectAt(window->findChild<QPushButton*>("Cmd閉じる"), 8160, 60, 855, 375);

    QGroupBox* options = frameTitled(window, "データ分析オプション");
    expectAt(options, 120, 480, 3855, 7272);
    ASSERT_NE(options, nullptr);
    expectAt(labelReading(options, "各データ分析の分析結果"), 120, 240, 3615);
    const auto groups = options->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(groups.size(), 12);
    for (int k = 0; k < 12; ++k) {
        SCOPED_TRACE(k);
        expectAt(groups[k], 120, 720 + 540 * k, 3615, 495);
        EXPECT_EQ(window->reflectButton(k)->x(), 480);
        EXPECT_EQ(groups[k]->findChild<QRadioButton*>(QString("Opt反映しない_%1").arg(k))->x(),
                  1920);
    }

    QGroupBox* prediction = frameTitled(window, "当選予想");
    expectAt(prediction, 4080, 480, 5055, 7272);
    ASSERT_NE(prediction, nullptr);
    expectAt(labelReading(prediction, "各データ分析の結果を元に"), 240, 240, 4575);
    const int labelTops[4] = {840, 2640, 4200, 5520};
    const char* labels[4] = {"●周期法", "●消去法", "●連発", "●一発"};
    const QRect grids[4] = {{4320, 1680, 4065, 1095},
                            {4320, 3480, 4080, 915},
                            {4320, 5040, 4080, 615},
                            {4320, 6360, 4080, 675}};
    for (int g = 0; g < 4; ++g) {
        SCOPED_TRACE(g);
        QLabel* label = labelReading(prediction, labels[g]);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->pos(), QPoint(120, labelTops[g]));
        // Grids are placed in the window; the frame begins at 4080, 480. Their
        // rows take the height they need.
        expectAt(window->gridView(g), grids[g].x() - 4080, grids[g].y() - 480, grids[g].width());
    }
    expectAt(window->findChild<QLabel*>("lblTargetDraw"), 120, 60, 3855, 375);
    // Every control of the window, to the twip.
    n4test::expectInventory("twips/prediction", sub);
}

TEST(TwipsLayout, TheOtherWindowsOpenAtTheirSizesToTheTwip) {
    Shell s;
    if (!onTwipsScreen(s.main.get())) GTEST_SKIP() << "a twip is not a pixel here";
    s.main->openBacktest();
    QMdiSubWindow* backtest = s.main->openWindow("予想の検証");
    EXPECT_EQ(backtest->size(), QSize(13800, 10200));
    auto* figures = qobject_cast<n4::BacktestWindow*>(backtest->widget());
    ASSERT_NE(figures, nullptr);
    QElapsedTimer clock;
    clock.start();
    while (figures->isComputing() && clock.elapsed() < 60000)
        QApplication::processEvents();
    n4test::settle();
    n4test::expectInventory("twips/backtest", backtest);
    for (QMdiSubWindow* w : s.main->mdiArea()->subWindowList())
        w->close();
    n4test::settle();
    QMdiSubWindow* entry = s.choose("mnuMasterInput");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->widget()->size(), QSize(6240, 12825)); // its inside, below the title bar
    n4test::expectInventory("twips/data-entry", entry);
    entry->close();
    n4test::settle();
    // Each analysis window's frame: its labels, legend and buttons to the twip.
    for (const n4::AnalysisWindowInfo& info : n4::analysisWindowTable()) {
        const QString name = QString::fromUtf8(info.name);
        s.main->openAnalysis(name);
        n4test::settle();
        QMdiSubWindow* sub = s.main->openWindow(name);
        ASSERT_NE(sub, nullptr) << info.name;
        n4test::expectInventory("twips/" + QString::fromUtf8(info.menu), sub);
        sub->close();
        n4test::settle();
    }
}
