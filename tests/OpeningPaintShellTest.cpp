// A window that opens is painted once: each of its parts gets one paint when
// the window first appears, not a second one over the same place (the first
// picture of the prediction window used to be drawn twice at start-up).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <map>

#include "UiSupport.h"

using n4test::Shell;

namespace {

// Paint events per widget, from the moment it is installed.
class PaintCounter : public QObject {
  public:
    PaintCounter() { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    int count(const QObject* o) const {
        const auto it = counts_.find(o);
        return it == counts_.end() ? 0 : it->second;
    }
    void clear() { counts_.clear(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++counts_[watched];
        return false;
    }

  private:
    std::map<const QObject*, int> counts_;
};

QString nameOf(const QWidget* w) {
    return QString::fromLatin1(w->metaObject()->className()) + " " + w->objectName();
}

// Every visible part of the window, the frame and the window itself included,
// was painted exactly once.
void expectPaintedOnce(const PaintCounter& counter, QMdiSubWindow* sub) {
    ASSERT_NE(sub, nullptr);
    QList<QWidget*> parts = sub->findChildren<QWidget*>();
    parts << sub;
    int painted = 0;
    for (QWidget* w : parts) {
        if (!w->isVisible() || w->visibleRegion().isEmpty()) continue;
        EXPECT_EQ(counter.count(w), 1)
            << sub->objectName().toStdString() << ": " << nameOf(w).toStdString();
        painted += counter.count(w);
    }
    // The window's own parts were there to count (radio buttons, grids, labels).
    EXPECT_GT(painted, 5) << sub->objectName().toStdString();
}

} // namespace

TEST(OpeningPaint, ThePredictionWindowAtStartIsPaintedOnce) {
    PaintCounter counter;
    Shell s;
    n4test::settle();
    expectPaintedOnce(counter, s.main->openWindow("一発マーヴォ"));
}

TEST(OpeningPaint, EveryAnalysisWindowIsPaintedOnceWhenItOpens) {
    Shell s;
    n4test::settle();
    PaintCounter counter;
    int opened = 0;
    for (QAction* a : s.main->findChildren<QAction*>()) {
        const QString n = a->objectName();
        if (!n.startsWith("mnu") || a->menu() || n == "mnuEnd" || n == "mnuMasterInput" ||
            n == "mnuHelpFile" || n == "mnuAbout" || n.startsWith("mnuWindow") ||
            n == "mnuMasterKanri" || n == "mnuYoso" || n == "mnuFetchLatest" ||
            n == "mnuImportFile" || n == "mnuCheckAtStart" || n == "mnuBacktest" ||
            n == "mnuNumberBuilder" || n == "mnuTicketLedger")
            continue;
        // One window at a time, so that no other window's parts repaint.
        for (QMdiSubWindow* w : s.main->mdiArea()->subWindowList())
            w->close();
        n4test::settle();
        counter.clear();
        QMdiSubWindow* sub = s.choose(n);
        n4test::settle();
        expectPaintedOnce(counter, sub);
        ++opened;
    }
    EXPECT_GE(opened, 10);
}
