// The four commands of the window menu, on windows opened from the menu.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>

#include "UiSupport.h"

using n4test::Shell;

namespace {

// The prediction window (open at start-up) and two analyses.
QList<QMdiSubWindow*> threeWindows(Shell& s) {
    s.choose("mnuSyutugenHindo");
    s.choose("mnuHonsuji");
    return s.main->mdiArea()->subWindowList(QMdiArea::CreationOrder);
}

QRect area(Shell& s) {
    return s.main->mdiArea()->viewport()->rect();
}

bool overlap(const QList<QMdiSubWindow*>& windows) {
    for (int i = 0; i < windows.size(); ++i)
        for (int j = i + 1; j < windows.size(); ++j)
            if (windows[i]->geometry().intersects(windows[j]->geometry())) return true;
    return false;
}

} // namespace

TEST(WindowMenu, SideBySideSharesTheWidthInColumnsOfFullHeight) {
    Shell s;
    const auto windows = threeWindows(s);
    ASSERT_EQ(windows.size(), 3);
    s.command("mnuWindowVertical")->trigger();
    int left = 0;
    for (QMdiSubWindow* w : windows) {
        EXPECT_EQ(w->y(), 0);
        EXPECT_EQ(w->height(), area(s).height());
        EXPECT_EQ(w->x(), left);
        EXPECT_NEAR(w->width(), area(s).width() / 3, 1);
        left += w->width();
    }
    EXPECT_EQ(left, area(s).width());
    EXPECT_FALSE(overlap(windows));
}

TEST(WindowMenu, OneAboveTheOtherSharesTheHeightInRowsOfFullWidth) {
    Shell s;
    const auto windows = threeWindows(s);
    s.command("mnuWindowHorizontal")->trigger();
    int top = 0;
    for (QMdiSubWindow* w : windows) {
        EXPECT_EQ(w->x(), 0);
        EXPECT_EQ(w->width(), area(s).width());
        EXPECT_EQ(w->y(), top);
        EXPECT_NEAR(w->height(), area(s).height() / 3, 1);
        top += w->height();
    }
    EXPECT_EQ(top, area(s).height());
    EXPECT_FALSE(overlap(windows));
}

TEST(WindowMenu, CascadeStepsEachWindowDownAndRightOfTheOneBefore) {
    Shell s;
    const auto windows = threeWindows(s);
    s.command("mnuWindowCascade")->trigger();
    n4test::settle();
    // Qt cascades in stacking order; whatever the order, the three corners step
    // down and right together, and every title bar stays in sight.
    QList<QPoint> corners;
    for (QMdiSubWindow* w : windows)
        corners << w->pos();
    std::sort(corners.begin(), corners.end(),
              [](const QPoint& a, const QPoint& b) { return a.y() < b.y(); });
    EXPECT_EQ(corners[0], QPoint(0, 0));
    for (int i = 1; i < corners.size(); ++i) {
        EXPECT_GT(corners[i].x(), corners[i - 1].x());
        EXPECT_GT(corners[i].y(), corners[i - 1].y());
    }
    for (QMdiSubWindow* w : windows)
        EXPECT_TRUE(area(s).contains(w->geometry().topLeft()));
}

TEST(WindowMenu, ArrangeIconsLinesUpTheMinimisedWindowsAlongTheBottom) {
    Shell s;
    const auto windows = threeWindows(s);
    windows[1]->showMinimized();
    windows[2]->showMinimized();
    windows[1]->move(200, 40);
    windows[2]->move(30, 90);
    const QRect normal = windows[0]->geometry();
    s.command("mnuWindowArrangeIcon")->trigger();
    const QRect a = area(s);
    EXPECT_EQ(windows[1]->geometry().bottom(), a.bottom());
    EXPECT_EQ(windows[2]->geometry().bottom(), a.bottom());
    EXPECT_EQ(windows[1]->x(), 0);
    EXPECT_EQ(windows[2]->x(), windows[1]->geometry().right() + 1);
    EXPECT_EQ(windows[0]->geometry(), normal); // a window that is not minimised stays
}

TEST(WindowMenu, IconsThatFillTheBottomGoOnInARowAboveWithoutCovering) {
    Shell s;
    for (const char* command :
         {"mnuSyutugenHindo", "mnuSyutugenKaisu", "mnuHonsuji", "mnuSyutugenKankaku", "mnuHippari",
          "mnuBaratsuki", "mnuNumberKankaku", "mnuRenbanTobiishi"})
        s.choose(command);
    const auto windows = s.main->mdiArea()->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* w : windows)
        w->showMinimized();
    s.command("mnuWindowArrangeIcon")->trigger();
    const QRect a = area(s);
    const int perRow = a.width() / windows[0]->width();
    ASSERT_LT(perRow, windows.size()) << "the icons need more than one row";
    EXPECT_FALSE(overlap(windows));
    for (int i = 0; i < windows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(a.contains(windows[i]->geometry()));
        const int row = i / perRow, column = i % perRow;
        EXPECT_EQ(windows[i]->x(), column * windows[0]->width());
        EXPECT_EQ(windows[i]->geometry().bottom(), a.bottom() - row * windows[0]->height());
    }
}

TEST(WindowMenu, TilingBringsAMaximisedWindowBackIntoItsShare) {
    Shell s;
    const auto windows = threeWindows(s);
    windows[1]->showMaximized();
    s.command("mnuWindowVertical")->trigger();
    for (QMdiSubWindow* w : windows)
        EXPECT_FALSE(w->isMaximized());
    EXPECT_EQ(windows[1]->x(), windows[0]->geometry().right() + 1);
    EXPECT_EQ(windows[1]->height(), area(s).height());
    EXPECT_FALSE(overlap(windows));
}
