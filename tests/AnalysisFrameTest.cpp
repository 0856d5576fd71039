// Every window as a user opens it from its menu, at its own size and with the
// program's fonts: the grid needs no horizontal scrolling, every cell text
// stays clear of the lines, every label and button text shows whole, and the
// title rows stay in view when the grid is scrolled to its end.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "UiSupport.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"
#include "ui/shell/AnalysisWindowTable.h"
#include "ui/shell/ProgramStart.h"

using namespace n4;

namespace {

// The real history where the checkout has it; otherwise as many made-up
// draws, so that draw numbers and counts are as wide as the real ones.
DrawTable longHistory() {
    DrawTable t = n4test::realHistory();
    if (!t.empty()) return t;
    for (int no = 1; no <= 7054; ++no)
        t.push_back(DrawRecord{no, {no * 7 % 10, no * 3 % 10, no * 11 % 10, no * 13 % 10}});
    return t;
}

struct Program {
    Program() {
        prepareApplication(*qApp); // the program's own fonts
        main = startShell(ws.config, &sink);
    }
    // Opens a window from its menu entry, as a user does.
    QMdiSubWindow* open(const char* menuName, const QString& windowName) {
        for (QMdiSubWindow* s : main->mdiArea()->subWindowList())
            s->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* action = main->findChild<QAction*>(QString::fromLatin1(menuName));
        if (!action) return nullptr;
        action->trigger();
        QApplication::processEvents();
        return main->openWindow(windowName);
    }
    n4test::Workspace ws{longHistory()};
    n4test::RecordingSink sink;
    std::unique_ptr<MainFrm> main;
};

// What a user cannot read whole in a window: texts wider than their room,
// cut by their parent's edge or running under a neighbour.
QStringList cutTexts(QWidget* window) {
    QStringList out;
    auto check = [&](QWidget* w, const QString& text, int room) {
        if (text.isEmpty() || !w->isVisible()) return;
        int need = 0;
        for (const QString& line : text.split('\n'))
            need = std::max(need, w->fontMetrics().horizontalAdvance(line));
        const QString name = text.left(12);
        if (need > room) out << QString("%1: needs %2 px, has %3").arg(name).arg(need).arg(room);
        QWidget* parent = w->parentWidget();
        const QRect textRect(w->geometry().topLeft(), QSize(std::min(need, room), w->height()));
        if (textRect.right() > parent->contentsRect().right())
            out << QString("%1: cut by the edge of its parent").arg(name);
        for (QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (sibling == w || !sibling->isVisible() || sibling->isWindow()) continue;
            const QRect s = sibling->geometry();
            if (s.intersects(textRect) && !s.contains(w->geometry()) && !w->geometry().contains(s))
                out << QString("%1: runs under %2").arg(name, sibling->objectName());
        }
    };
    for (QLabel* l : window->findChildren<QLabel*>())
        if (!l->wordWrap() && l->pixmap().isNull())
            check(l, l->text(), l->contentsRect().width() - 2 * l->margin());
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (qobject_cast<QMdiSubWindow*>(b->parentWidget())) continue; // the frame's own
        const bool indicator = qobject_cast<QRadioButton*>(b) || qobject_cast<QCheckBox*>(b);
        check(b, b->text().remove('&'), b->width() - (indicator ? 20 : 6));
    }
    return out;
}

// Grid cells whose text would touch the lines or be cut.
QStringList cutCells(const GridView* view) {
    QStringList out;
    const Grid& g = view->grid();
    for (int row = 1; row <= g.maxRows(); ++row)
        for (int col = 1; col <= g.maxCols(); ++col)
            if (!view->textFits(col, row) && out.size() < 5)
                out << QString("(%1,%2) %3")
                           .arg(col)
                           .arg(row)
                           .arg(QString::fromStdString(g.text(col, row)));
    return out;
}

// The controls along a frame's top edge, each with its place in the frame:
// the description, the legend's pictures and texts, the buttons.
struct Placed {
    QWidget* widget;
    QRect rect;
};

std::vector<Placed> topEdgeControls(QWidget* frame) {
    std::vector<Placed> out;
    auto add = [&](QWidget* w) {
        if (w && w->isVisible())
            out.push_back({w, QRect(w->mapTo(frame, QPoint(0, 0)), w->size())});
    };
    add(frame->findChild<QLabel*>("Label1"));
    const auto pictures = frame->findChildren<QLabel*>("Picture1");
    const auto legendTexts = frame->findChildren<QLabel*>("Label2");
    for (int i = 0; i < pictures.size() && i < legendTexts.size(); ++i) {
        add(pictures[i]);
        add(legendTexts[i]);
    }
    add(frame->findChild<QWidget*>("Command2"));
    add(frame->findChild<QWidget*>("Command1"));
    return out;
}

// The width the description needs whole in 6 points, the least size it may
// take, frame included.
int descriptionWidthAt6Points(const QLabel* label) {
    QFont f = label->font();
    f.setPointSizeF(6.0);
    return QFontMetrics(f, label).horizontalAdvance(label->text()) + label->width() -
           label->contentsRect().width() + 2 * label->margin();
}

// What is wrong along a frame's top edge. The description, the legend and
// the buttons share one row (their heights overlap, the description at the
// left) or the description has a line of its own above the rest, but only
// where the row cannot hold it: its text in 6 points, the widths of the
// others and 8 px between neighbours exceed the frame's inner width. The
// description is whole and at least 6 points; nothing overlaps; everything
// is inside the frame and above the grid.
QStringList topEdgeFaults(QWidget* frame, bool& oneRow) {
    QStringList out;
    const std::vector<Placed> controls = topEdgeControls(frame);
    if (controls.empty() || controls[0].widget->objectName() != "Label1") return {"no description"};
    auto* label = static_cast<QLabel*>(controls[0].widget);
    const QRect text = controls[0].rect;
    const int need = label->fontMetrics().horizontalAdvance(label->text());
    const int room = label->contentsRect().width() - 2 * label->margin();
    if (need > room) out << QString("the description needs %1 px, has %2").arg(need).arg(room);
    if (label->font().pointSizeF() < 6.0)
        out << QString("the description is in %1 points").arg(label->font().pointSizeF());
    for (size_t i = 0; i < controls.size(); ++i) {
        const QString name = controls[i].widget->objectName();
        if (!frame->rect().contains(controls[i].rect)) out << name + " is outside the window";
        for (size_t j = i + 1; j < controls.size(); ++j)
            if (controls[i].rect.intersects(controls[j].rect))
                out << name + " overlaps " + controls[j].widget->objectName();
    }
    int sharing = 0, below = 0, othersWidth = 0;
    for (size_t i = 1; i < controls.size(); ++i) {
        const QRect r = controls[i].rect;
        othersWidth += r.width();
        if (r.top() <= text.bottom() && text.top() <= r.bottom()) {
            ++sharing;
            if (r.left() <= text.right())
                out << controls[i].widget->objectName() + " is left of the description";
        } else if (r.top() > text.bottom()) {
            ++below;
        } else {
            out << controls[i].widget->objectName() + " is above the description";
        }
    }
    if (const QWidget* grid = frame->findChild<QWidget*>("fpSpread1"))
        for (const Placed& c : controls)
            if (c.rect.bottom() >= grid->y())
                out << c.widget->objectName() + " reaches down into the grid";
    oneRow = below == 0;
    if (sharing > 0 && below > 0) out << "the top edge is neither one row nor two";
    const int inner = frame->layout()->contentsRect().width();
    const int gaps = 8 * static_cast<int>(controls.size() - 1);
    const int rowNeeds = descriptionWidthAt6Points(label) + othersWidth + gaps;
    if (!oneRow && rowNeeds <= inner)
        out << QString("a second line although one row of %1 px holds %2 px")
                   .arg(inner)
                   .arg(rowNeeds);
    return out;
}
} // namespace

TEST(WindowLayout, EveryAnalysisWindowShowsItsGridAndTextsWholeAtItsOwnSize) {
    Program p;
    ASSERT_NE(p.main, nullptr);
    for (const AnalysisWindowInfo& info : analysisWindowTable()) {
        SCOPED_TRACE(info.name);
        QMdiSubWindow* sub = p.open(info.menu, QString::fromUtf8(info.name));
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->size(), QSize(info.widthTwips, info.heightTwips) / 15);
        auto* view = sub->findChild<GridView*>("fpSpread1");
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0) << "the grid scrolls sideways";
        EXPECT_GE(view->totalWidth(), view->viewport()->width() - 2) << "the grid leaves a gap";
        EXPECT_TRUE(cutCells(view).isEmpty()) << cutCells(view).join("; ").toStdString();
        EXPECT_TRUE(cutTexts(sub->widget()).isEmpty())
            << cutTexts(sub->widget()).join("; ").toStdString();
    }
}

TEST(WindowLayout, TheDescriptionLegendAndButtonsShareTheTopRowWhereTheyFit) {
    Program p;
    ASSERT_NE(p.main, nullptr);
    QStringList oneRow, twoRows;
    for (const AnalysisWindowInfo& info : analysisWindowTable()) {
        SCOPED_TRACE(info.name);
        QMdiSubWindow* sub = p.open(info.menu, QString::fromUtf8(info.name));
        ASSERT_NE(sub, nullptr);
        bool row = false;
        const QStringList faults = topEdgeFaults(sub->widget(), row);
        EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
        (row ? oneRow : twoRows) << QString::fromUtf8(info.name);
    }
    // The narrowest window cannot hold its description beside its buttons;
    // the division windows, the widest, hold it with room to spare.
    EXPECT_TRUE(twoRows.contains("回数別出現分析")) << twoRows.join(" ").toStdString();
    EXPECT_TRUE(oneRow.contains("分割10データ分析")) << oneRow.join(" ").toStdString();
}

TEST(WindowLayout, ThePredictionWindowShowsItsGridsAndTextsWhole) {
    Program p;
    ASSERT_NE(p.main, nullptr);
    QMdiSubWindow* sub = p.open("mnuYoso", "一発マーヴォ");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->size(), QSize(9360, 8244) / 15);
    const QList<GridView*> views = sub->findChildren<GridView*>();
    ASSERT_EQ(views.size(), 4);
    for (GridView* v : views) {
        SCOPED_TRACE(v->objectName().toStdString());
        EXPECT_GE(v->viewport()->width(), v->totalWidth());
        EXPECT_GE(v->viewport()->height(), v->totalHeight()) << "every row shows";
        EXPECT_TRUE(cutCells(v).isEmpty()) << cutCells(v).join("; ").toStdString();
    }
    EXPECT_TRUE(cutTexts(sub->widget()).isEmpty())
        << cutTexts(sub->widget()).join("; ").toStdString();
}

TEST(WindowLayout, DrawListsOpenAtTheLatestDrawsWithTitlesAndDrawNumbersInView) {
    Program p;
    ASSERT_NE(p.main, nullptr);
    for (const AnalysisWindowInfo& info : analysisWindowTable()) {
        SCOPED_TRACE(info.name);
        QMdiSubWindow* sub = p.open(info.menu, QString::fromUtf8(info.name));
        ASSERT_NE(sub, nullptr);
        auto* view = sub->findChild<GridView*>("fpSpread1");
        QScrollBar* bar = view->verticalScrollBar();
        EXPECT_TRUE(view->selection().isNull()) << "no cell is highlighted on opening";
        if (info.opensAt == OpensAt::WhereColumnsDiffer) {
            // Thousands of rows of full marks are scrolled past: the first row
            // where the digits part shows, a few full rows above it.
            const Grid& g = view->grid();
            auto full = [&g](int r) {
                for (int col = 3; col <= g.maxCols(); ++col)
                    if (g.text(col, r) != g.text(2, r)) return false;
                return true;
            };
            int row = view->frozenRows() + 1;
            while (row < g.maxRows() && full(row))
                ++row;
            EXPECT_GT(bar->value(), 0);
            EXPECT_TRUE(view->viewport()->rect().contains(view->cellRect(2, row)));
            EXPECT_EQ(view->cellAt(view->cellRect(2, row - 3).center()).y(), row - 3);
            EXPECT_NE(view->cellAt(view->cellRect(2, row - 4).center()).y(), row - 4);
        } else {
            EXPECT_EQ(bar->value(), info.opensAt == OpensAt::Latest ? bar->maximum() : 0);
        }
        view->setFocus();
        QTest::keyClick(view, Qt::Key_End);
        const QPoint topLeft(1, 1);
        EXPECT_EQ(view->cellAt(topLeft), QPoint(1, 1)) << "the title corner stays";
        const QRect last = view->cellRect(1, view->grid().maxRows());
        EXPECT_LT(last.bottom(), view->viewport()->height());
        EXPECT_EQ(view->cellAt(last.center()), QPoint(1, view->grid().maxRows()));
        if (bar->maximum() > 0) {
            // The row just under the titles is a late one, beside its draw number.
            const QPoint under(view->cellRect(2, 1).center().x(),
                               view->cellRect(1, info.frozenRows).bottom() + 2);
            EXPECT_GT(view->cellAt(under).y(), view->grid().maxRows() / 2);
        }
        QTest::keyClick(view, Qt::Key_Home);
        EXPECT_EQ(bar->value(), 0);
    }
}

TEST(WindowLayout, TheMainWindowCoversTheScreensAvailableArea) {
    Program p;
    ASSERT_NE(p.main, nullptr);
    EXPECT_EQ(p.main->frameGeometry(), p.main->screen()->availableGeometry());
}

TEST(OneLineLabel, StepsItsFontDownToFitAndBackUpWithRoom) {
    QWidget parent;
    OneLineLabel label("過去の当選番号を低数字（０～４）と高数字（５～９）に分けて", &parent);
    const QFont base = label.font();
    const int natural = label.fontMetrics().horizontalAdvance(label.text());
    label.setGeometry(0, 0, natural * 2 / 3, 20);
    parent.show();
    EXPECT_LT(label.font().pointSizeF(), base.pointSizeF());
    EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), label.width());
    label.resize(natural + 10, 20);
    EXPECT_EQ(label.font().pointSizeF(), base.pointSizeF());
    // Exactly wide enough keeps the font; a pixel less steps it down.
    const int frame = label.width() - label.contentsRect().width() + 2 * label.margin();
    label.resize(natural + frame, 20);
    EXPECT_EQ(label.font().pointSizeF(), base.pointSizeF());
    label.resize(natural + frame - 1, 20);
    EXPECT_LT(label.font().pointSizeF(), base.pointSizeF());
    // A room too narrow for any size leaves it at the smallest, 6 points,
    // which is the width it reports it needs at least.
    label.resize(natural / 4, 20);
    EXPECT_EQ(label.font().pointSizeF(), OneLineLabel::kSmallestPointSize);
    EXPECT_EQ(label.smallestWidth(), label.fontMetrics().horizontalAdvance(label.text()) + frame);
    EXPECT_EQ(label.naturalWidth(), natural + frame);
    // The least width it reports is the least that shows the text whole.
    label.resize(label.smallestWidth(), 20);
    EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), label.width() - frame);
    label.resize(label.smallestWidth() - 1, 20);
    EXPECT_GT(label.fontMetrics().horizontalAdvance(label.text()), label.width() - frame);
    label.resize(label.naturalWidth(), 20);
    EXPECT_EQ(label.font().pointSizeF(), base.pointSizeF());
}

TEST(AnalysisFrame, TakesASecondLineOnlyWhereTheDescriptionNoLongerFitsBesideTheButtons) {
    QWidget holder;
    auto* frame = new AnalysisFrame("過去の当選番号のバラツキを数字別に分析します", true, &holder);
    frame->addLegend(LegendPicture::Ball, "：本数字");
    frame->addLegend(LegendPicture::BonusBall, "：ボーナス数字");
    holder.resize(1000, 400);
    frame->resize(900, 300);
    holder.show();
    n4test::settle();
    auto* label = frame->findChild<QLabel*>("Label1");
    ASSERT_NE(label, nullptr);
    const double base = label->font().pointSizeF();
    // Narrowed a pixel at a time down to the least width that holds the
    // description alone on its line and the legend and buttons on theirs.
    const QMargins margins = frame->layout()->contentsMargins();
    const int least = std::max(descriptionWidthAt6Points(label) + margins.left() + margins.right(),
                               frame->minimumSizeHint().width());
    int narrowestOneRow = 0;
    bool twoRowsSeen = false;
    for (int width = 900; width >= least; --width) {
        frame->resize(width, 300);
        n4test::settle();
        bool oneRow = false;
        const QStringList faults = topEdgeFaults(frame, oneRow);
        ASSERT_TRUE(faults.isEmpty()) << width << " px: " << faults.join("; ").toStdString();
        if (oneRow) {
            ASSERT_FALSE(twoRowsSeen) << "one row again at " << width << " px";
            narrowestOneRow = width;
        }
        twoRowsSeen = twoRowsSeen || !oneRow;
    }
    ASSERT_TRUE(twoRowsSeen);
    ASSERT_GT(narrowestOneRow, 0);
    // The row is kept as long as it can be: at its narrowest the description
    // has not a pixel to spare in 6 points.
    frame->resize(narrowestOneRow, 300);
    n4test::settle();
    EXPECT_EQ(label->width(), descriptionWidthAt6Points(label));
    // Widened again, the description is back on the row in its own size.
    frame->resize(900, 300);
    n4test::settle();
    bool oneRow = false;
    EXPECT_TRUE(topEdgeFaults(frame, oneRow).isEmpty());
    EXPECT_TRUE(oneRow);
    EXPECT_EQ(label->font().pointSizeF(), base);
}
