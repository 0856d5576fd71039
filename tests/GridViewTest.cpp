#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "ui/grid/GridView.h"

using namespace n4;

namespace {
Grid sample() {
    Grid g(3, 3);
    const char* texts[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    for (int i = 0; i < 9; ++i)
        g.setText(i % 3 + 1, i / 3 + 1, texts[i]);
    return g;
}
} // namespace

TEST(GridView, SelectionCopiesAsTabSeparatedText) {
    GridView v;
    v.setGrid(sample());
    v.resize(300, 200);
    v.show();
    v.selectBlock(2, 2, 3, 3);
    EXPECT_EQ(v.selectionAsTsv(), "e\tf\nh\ti\n");
    v.setFocus();
    QTest::keySequence(&v, QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), "e\tf\nh\ti\n");
    v.selectBlock(0, 0, 9, 9); // clipped to the grid
    EXPECT_EQ(v.selection(), QRect(QPoint(1, 1), QPoint(3, 3)));
}

TEST(GridView, GeometryFollowsTheGridUnits) {
    Grid g(3, 40000);
    g.setColWidth(-1, 2.0);
    g.setColWidth(2, 6.0);
    g.setRowHeight(1, 20.0);
    GridView v;
    v.setGrid(std::move(g));
    EXPECT_GT(v.columnX(3) - v.columnX(2), 2 * (v.columnX(2) - v.columnX(1)));
    EXPECT_GT(v.rowY(2) - v.rowY(1), v.rowY(3) - v.rowY(2));
    v.resize(200, 300);
    v.show();
    v.verticalScrollBar()->setValue(v.verticalScrollBar()->maximum());
    const QRect last = v.cellRect(1, 40000);
    EXPECT_LE(last.bottom(), v.viewport()->height() - 1); // the last row shows whole
    EXPECT_EQ(v.cellAt(last.center()).y(), 40000);
    EXPECT_EQ(v.cellAt(QPoint(-5, -5)), QPoint(0, 0));
    // The very first pixel is the first cell's; one before it is no cell.
    v.verticalScrollBar()->setValue(0);
    EXPECT_EQ(v.cellAt(QPoint(0, 0)), QPoint(1, 1));
    EXPECT_EQ(v.cellAt(QPoint(-1, 0)), QPoint(0, 0));
    EXPECT_EQ(v.cellAt(QPoint(0, -1)), QPoint(0, 0));
}

TEST(GridView, HomeAndEndJumpToTheFirstAndLatestRows) {
    GridView v;
    v.setGrid(Grid(3, 5000));
    v.resize(200, 300);
    v.show();
    v.setFocus();
    QTest::keyClick(&v, Qt::Key_End);
    EXPECT_EQ(v.verticalScrollBar()->value(), v.verticalScrollBar()->maximum());
    QTest::keyClick(&v, Qt::Key_Home);
    EXPECT_EQ(v.verticalScrollBar()->value(), 0);
}

TEST(GridView, TheCursorMovesInAGridOfOneRowOrOneColumnAndNotInAnEmptyOne) {
    GridView row;
    row.setGrid(Grid(3, 1));
    row.moveCursorTo(2, 1);
    EXPECT_EQ(row.cursorCell(), QPoint(2, 1));
    row.moveCursorTo(3, 1, true);
    EXPECT_EQ(row.selection(), QRect(2, 1, 2, 1));
    GridView column;
    column.setGrid(Grid(1, 3));
    column.moveCursorTo(1, 2);
    EXPECT_EQ(column.cursorCell(), QPoint(1, 2));
    for (const Grid& nothing : {Grid(0, 0), Grid(3, 0), Grid(0, 3)}) {
        GridView empty;
        empty.setGrid(nothing);
        empty.moveCursorTo(1, 1);
        EXPECT_TRUE(empty.cursorCell().isNull()) << nothing.maxCols() << "x" << nothing.maxRows();
        EXPECT_TRUE(empty.selection().isEmpty());
    }
}

namespace {
// The view painted into an image, without scrolling, frame or scroll bars.
QImage paint(Grid g) {
    GridView v;
    v.setFrameShape(QFrame::NoFrame);
    v.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v.setGrid(std::move(g));
    v.resize(v.totalWidth(), v.totalHeight());
    QImage img(v.viewport()->size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    v.viewport()->render(&img);
    return img;
}

bool anyDarkPixel(const QImage& img, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(img.pixel(x, y)) < 128) return true;
    return false;
}
} // namespace

TEST(GridViewPainting, BackgroundsAndAnEdgeFromEitherSide) {
    Grid g(3, 1);
    g.setBackground(Block::cell(2, 1), Rgb(255, 0, 0));
    g.setBorder(Block::cell(1, 1), BorderRight); // the edge between 1 and 2
    GridView probe;
    probe.setGrid(g);
    const int edge = probe.columnX(2) - 1, mid = (probe.columnX(2) + probe.columnX(3)) / 2;
    const QImage img = paint(g);
    EXPECT_EQ(QColor(img.pixel(mid, 3)), QColor(255, 0, 0));
    EXPECT_LT(qGray(img.pixel(edge, 3)), 128);
    // No side between cells 2 and 3: the red runs up to the edge.
    EXPECT_EQ(QColor(img.pixel(probe.columnX(3) - 1, 3)), QColor(255, 0, 0));
}

// At a screen scaling of 1.25 or 1.5 every line is one device pixel wide (not
// one here and two there), at 2 two; also where the view starts between device
// pixels, as a widget at an odd place in its window does.
TEST(GridViewPainting, LinesLieOnWholeDevicePixelsAtEveryScaling) {
    Grid g(9, 7);
    g.setBorder(Block::all(), BorderAll);
    GridView v;
    v.setFrameShape(QFrame::NoFrame);
    v.setGrid(g);
    v.setWidthUnit(2.7); // columns of 13 or 14 pixels
    v.resize(v.totalWidth() + 20, v.totalHeight() + 20);
    for (double ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5})
        for (int offset : {0, 1}) {
            QImage img((v.viewport()->size() + QSize(2, 2)) * ratio, QImage::Format_RGB32);
            img.setDevicePixelRatio(ratio);
            img.fill(Qt::white);
            v.viewport()->render(&img, QPoint(offset, offset));
            // The widths of the dark runs across the middle of row 3 and down column 4.
            std::vector<int> across, down;
            for (int i = 0, run = 0; i < img.width(); ++i)
                if (qGray(img.pixel(i, int((offset + v.rowY(3) + 5) * ratio))) < 128)
                    ++run;
                else if (run > 0)
                    across.push_back(std::exchange(run, 0));
            for (int i = 0, run = 0; i < img.height(); ++i)
                if (qGray(img.pixel(int((offset + v.columnX(4) + 5) * ratio), i)) < 128)
                    ++run;
                else if (run > 0)
                    down.push_back(std::exchange(run, 0));
            const int wide = std::max(1, int(std::floor(ratio)));
            EXPECT_EQ(across, std::vector<int>(10, wide)) << ratio << " offset " << offset;
            EXPECT_EQ(down, std::vector<int>(8, wide)) << ratio << " offset " << offset;
        }
}

TEST(GridViewPainting, EveryEdgeIsDrawnWhenEitherCellHasThatSideInThatSidesColour) {
    // A 3 x 3 grid, each inner edge given from one side only, in its own colour;
    // the edges left out stay white.
    Grid g(3, 3);
    auto side = [&](int col, int row, int sides, Rgb colour) {
        g.setBorderColour(colour);
        g.setBorder(Block::cell(col, row), sides);
    };
    const Rgb red(255, 0, 0), green(0, 160, 0), blue(0, 0, 255), brown(128, 64, 0);
    side(1, 1, BorderRight, red);   // edge 1|2 of row 1, from the left
    side(3, 1, BorderLeft, green);  // edge 2|3 of row 1, from the right
    side(2, 1, BorderBottom, blue); // edge under (2,1), from above
    side(2, 3, BorderTop, brown);   // edge over (2,3), from below
    side(3, 1, BorderTop, blue);    // the grid's top edge over (3,1)
    GridView probe;
    probe.setGrid(g);
    const QImage img = paint(g);
    auto at = [&](int x, int y) { return QColor(img.pixel(x, y)); };
    auto midY = [&](int row) { return (probe.rowY(row) + probe.rowY(row + 1)) / 2; };
    auto midX = [&](int col) { return (probe.columnX(col) + probe.columnX(col + 1)) / 2; };
    EXPECT_EQ(at(probe.columnX(2) - 1, midY(1)), QColor(255, 0, 0));
    EXPECT_EQ(at(probe.columnX(3) - 1, midY(1)), QColor(0, 160, 0));
    EXPECT_EQ(at(midX(2), probe.rowY(2) - 1), QColor(0, 0, 255));
    EXPECT_EQ(at(midX(2), probe.rowY(3) - 1), QColor(128, 64, 0));
    // A line runs the cell's whole width, corners included.
    EXPECT_EQ(at(probe.columnX(2), probe.rowY(3) - 1), QColor(128, 64, 0));
    EXPECT_EQ(at(probe.columnX(3) - 1, probe.rowY(3) - 1), QColor(128, 64, 0));
    EXPECT_EQ(at(probe.columnX(3), probe.rowY(1)), QColor(0, 0, 255));
    EXPECT_EQ(at(probe.columnX(4) - 1, probe.rowY(1)), QColor(0, 0, 255));
    // Edges nobody asked for.
    EXPECT_EQ(at(probe.columnX(2) - 1, midY(2)), QColor(Qt::white));
    EXPECT_EQ(at(probe.columnX(3) - 1, midY(3)), QColor(Qt::white));
    EXPECT_EQ(at(midX(1), probe.rowY(2) - 1), QColor(Qt::white));
    EXPECT_EQ(at(midX(3), probe.rowY(3) - 1), QColor(Qt::white));
}

TEST(GridViewPainting, AOneColumnGridIsPaintedToo) {
    Grid g(1, 2);
    g.setBackground(Block::cell(1, 2), Rgb(255, 0, 0));
    GridView probe;
    probe.setGrid(g);
    const QImage img = paint(g);
    EXPECT_EQ(QColor(img.pixel(probe.columnX(2) / 2, (probe.rowY(2) + probe.rowY(3)) / 2)),
              QColor(255, 0, 0));
}

TEST(GridViewPainting, LeftAlignedTextRunsOnOnlyOverEmptyCells) {
    Grid g(3, 1);
    g.setColWidth(-1, 2.0);
    g.setText(1, 1, "当選数字当選数字");
    g.setAlign(Block::cell(1, 1), Align::Left);
    GridView probe;
    probe.setGrid(g);
    const QRect third(probe.columnX(3) + 2, 1, probe.columnX(4) - probe.columnX(3) - 4,
                      probe.rowY(2) - 3);
    EXPECT_TRUE(anyDarkPixel(paint(g), third)); // runs over the empty cells 2 and 3
    g.setText(2, 1, " ");                       // cell 2 holds text: the run stops before it
    EXPECT_FALSE(anyDarkPixel(paint(g), third));
}

TEST(GridViewPanes, ALabelColumnsTextStopsAtTheScrolledColumnsAndAScrolledOneRunsOn) {
    // Two label columns; a long left-aligned text in the second would run on
    // over the empty cells beside it, which scroll: it stops at their edge.
    Grid g(8, 2);
    g.setColWidth(-1, 2.0);
    g.setText(2, 1, "当選数字当選数字");
    g.setText(3, 2, "当選数字当選数字"); // one in the scrolled part runs on there
    g.setAlign(Block::all(), Align::Left);
    GridView v;
    v.setFrameShape(QFrame::NoFrame);
    v.setGrid(g);
    v.setFrozen(2, 0);
    v.resize(v.totalWidth(), v.totalHeight() + 40);
    QImage img(v.viewport()->size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    v.viewport()->render(&img);
    auto inColumn = [&](int col, int row) {
        return QRect(v.columnX(col) + 2, v.rowY(row) + 1, v.columnX(col + 1) - v.columnX(col) - 4,
                     v.rowY(row + 1) - v.rowY(row) - 3);
    };
    EXPECT_TRUE(anyDarkPixel(img, inColumn(2, 1)));
    EXPECT_FALSE(anyDarkPixel(img, inColumn(3, 1)));
    EXPECT_TRUE(anyDarkPixel(img, inColumn(4, 2)));
}

TEST(GridViewPainting, ACentredTextTakesNoMoreEmptyCellsThanItNeeds) {
    // A centred text one cell too wide runs on over the empty cell to its
    // right; where the two hold it exactly, the cell on its left stays out.
    const QString text = QStringLiteral("当選数字当選");
    Grid g(5, 1);
    g.setText(3, 1, text.toStdString());
    GridView probe;
    const int need = probe.fontMetrics().horizontalAdvance(text) + 2 * GridView::kTextPadding;
    g.setColWidth(-1, 10.0);
    g.setColWidth(3, need / 2);
    g.setColWidth(4, need - need / 2);
    const GridLayout layout(g, 1.0, 96); // a unit of one pixel: cells as wide as set
    const GridPainter painter(g, layout, probe.font(), GridWindow{QSize(400, 40)});
    const QRect span = painter.textSpan(3, 1, need);
    EXPECT_EQ(span.left(), layout.columnX(3));
    EXPECT_EQ(span.right(), layout.columnX(5) - 1);
    // One pixel more than the two hold and it takes the left cell too.
    const QRect wider = painter.textSpan(3, 1, need + 1);
    EXPECT_EQ(wider.left(), layout.columnX(2));
    EXPECT_EQ(wider.right(), layout.columnX(5) - 1);
    // A left neighbour with text stops it there, whatever lies beyond.
    g.setText(2, 1, "x");
    const GridPainter blocked(g, layout, probe.font(), GridWindow{QSize(400, 40)});
    EXPECT_EQ(blocked.textSpan(3, 1, need + 1).left(), layout.columnX(3));
    g.clearText(Block::cell(2, 1));
    // In the first or the last column it can only grow inwards.
    const QRect first = painter.textSpan(1, 1, 10 * need);
    EXPECT_EQ(first.left(), layout.columnX(1));
    EXPECT_EQ(first.right(), layout.columnX(3) - 1); // up to the text in column 3
    g.clearText(Block::cell(3, 1));
    g.setText(5, 1, text.toStdString());
    const GridPainter lastPainter(g, layout, probe.font(), GridWindow{QSize(400, 40)});
    const QRect last = lastPainter.textSpan(5, 1, 10 * need);
    EXPECT_EQ(last.left(), layout.columnX(1));
    EXPECT_EQ(last.right(), layout.columnX(6) - 1);
}

TEST(GridViewPainting, EveryChangeOfWhatTheViewShowsRepaintsIt) {
    // Counts the paints the view gets by itself, without anything else
    // (a resize, a grab) asking for one.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    GridView v;
    v.setGrid(sample());
    v.resize(300, 200);
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    QApplication::processEvents();
    v.viewport()->installEventFilter(&counter);
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"a new grid", [&] { v.setGrid(sample()); }},
        {"a new width unit", [&] { v.setWidthUnit(v.widthUnit() + 1.0); }},
        {"frozen titles", [&] { v.setFrozen(1, 1); }},
        {"a selection", [&] { v.selectBlock(1, 1, 2, 2); }},
    };
    for (const auto& [what, change] : changes) {
        counter.paints = 0;
        change();
        QTest::qWait(20);
        EXPECT_GT(counter.paints, 0) << what;
    }
}

TEST(GridViewPanes, TitleRowsAndLabelColumnsStayWhileTheRestScrolls) {
    Grid g(20, 1000);
    g.setColWidth(-1, 5.0);
    g.setBackground({1, 1, 20, 1}, Rgb(255, 0, 0));    // the title row
    g.setBackground({1, 2, 1, 1000}, Rgb(0, 0, 255));  // the label column
    g.setBackground({2, 3, 20, 1000}, Rgb(0, 255, 0)); // the body
    GridView v;
    v.setGrid(std::move(g));
    v.setFrozen(1, 2);
    v.resize(220, 200);
    v.show();
    v.horizontalScrollBar()->setValue(v.horizontalScrollBar()->maximum());
    v.verticalScrollBar()->setValue(v.verticalScrollBar()->maximum());
    const int titleY = v.cellRect(2, 1).center().y(), labelX = v.cellRect(1, 2).center().x();
    const int inside = v.viewport()->height() - 20, right = v.viewport()->width() - 5;
    EXPECT_EQ(v.cellAt(QPoint(labelX, titleY)), QPoint(1, 1));
    EXPECT_EQ(v.cellAt(QPoint(right, titleY)), QPoint(20, 1)); // titles follow sideways
    EXPECT_GT(v.cellAt(QPoint(labelX, inside)).y(), 900);      // labels follow downwards
    EXPECT_EQ(v.cellAt(QPoint(labelX, inside)).x(), 1);
    QImage img(v.viewport()->size(), QImage::Format_RGB32);
    v.viewport()->render(&img);
    EXPECT_EQ(QColor(img.pixel(right, titleY)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(labelX, inside)), QColor(0, 0, 255));
    // Scrolled cells never paint over the frozen ones: just inside the second
    // title row and the label column, no body green.
    const QPoint corner(v.columnX(2), v.rowY(3));
    EXPECT_NE(QColor(img.pixel(corner.x() + 2, corner.y() - 2)), QColor(0, 255, 0));
    EXPECT_EQ(QColor(img.pixel(corner.x() - 3, corner.y() + 2)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(img.pixel(corner.x() + 3, corner.y() + 3)), QColor(0, 255, 0));
}

TEST(GridViewPanes, TheScrolledPartStartsAtTheFirstPixelPastTheFrozenOnes) {
    Grid g(20, 20);
    g.setColWidth(-1, 5.0);
    GridView v;
    v.setGrid(std::move(g));
    v.setFrozen(1, 1);
    v.resize(220, 200);
    v.show();
    v.horizontalScrollBar()->setValue(v.columnX(5) - v.columnX(2)); // column 5 next to 1
    v.verticalScrollBar()->setValue(v.rowY(7) - v.rowY(2));         // row 7 under row 1
    EXPECT_EQ(v.cellAt(QPoint(v.columnX(2) - 1, v.rowY(2) - 1)), QPoint(1, 1));
    EXPECT_EQ(v.cellAt(QPoint(v.columnX(2), v.rowY(2))), QPoint(5, 7));
}

TEST(GridViewPanes, WithNothingFrozenEverythingScrolls) {
    Grid g(20, 20);
    g.setColWidth(-1, 5.0);
    GridView v;
    v.setGrid(std::move(g));
    v.setFrozen(0, 0);
    v.resize(220, 200);
    v.show();
    v.horizontalScrollBar()->setValue(v.columnX(4) - v.columnX(1));
    v.verticalScrollBar()->setValue(v.rowY(6) - v.rowY(1));
    EXPECT_EQ(v.cellAt(QPoint(1, 1)), QPoint(4, 6));
}

TEST(GridViewPanes, TheLatestRowsStayInViewUntilTheUserScrollsAway) {
    GridView v;
    v.setGrid(Grid(3, 5000));
    v.resize(200, 300);
    v.show();
    v.showLatestRows();
    QScrollBar* bar = v.verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
    v.resize(200, 500);
    EXPECT_EQ(bar->value(), bar->maximum());
    // A grid that grows (a new draw) shows its new last rows.
    const int before = bar->maximum();
    v.setGrid(Grid(3, 5100));
    EXPECT_GT(bar->maximum(), before);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(v.keepsLatestRows());
    bar->setValue(100);
    EXPECT_FALSE(v.keepsLatestRows());
    v.resize(200, 300);
    EXPECT_EQ(bar->value(), 100);
    v.setGrid(Grid(3, 5200));
    EXPECT_EQ(bar->value(), 100);
}

TEST(GridViewUnits, FittedColumnsFillTheWidthAndTextsKeepClearOfTheLines) {
    Grid g(3, 2);
    g.setColWidth(-1, 5.0);
    g.setColWidth(2, 20.0);
    GridView v;
    v.setGrid(g);
    v.fitColumnsToWidth(301);
    EXPECT_LE(v.totalWidth(), 301);
    EXPECT_GE(v.totalWidth(), 300);
    EXPECT_NEAR(v.columnX(3) - v.columnX(2), 4 * (v.columnX(2) - v.columnX(1)), 2);
    // A grid narrower than one unit is widened to fit as well.
    Grid narrow(1, 1);
    narrow.setColWidth(1, 0.5);
    GridView n;
    n.setGrid(narrow);
    n.fitColumnsToWidth(100);
    EXPECT_DOUBLE_EQ(n.widthUnit(), 200.0);
    // A window narrower than the grid's units: a unit under a pixel, still the fitted one.
    Grid many(10, 1);
    many.setColWidth(-1, 2.0);
    GridView squeezed;
    squeezed.setGrid(many);
    squeezed.fitColumnsToWidth(10);
    EXPECT_DOUBLE_EQ(squeezed.widthUnit(), 0.5);

    const QFontMetrics fm(v.font());
    const int cell = v.columnX(2) - v.columnX(1);
    std::string wide = "8";
    while (fm.horizontalAdvance(QString::fromStdString(wide + "8")) + 2 * GridView::kTextPadding <=
           cell)
        wide += "8";
    g.setText(1, 1, wide); // as wide as the cell holds with its padding
    g.setText(1, 2, wide + "8");
    g.setText(2, 2, "x");
    v.setGrid(g);
    EXPECT_TRUE(v.textFits(1, 1));
    EXPECT_FALSE(v.textFits(1, 2)); // one digit more, beside a cell with text
    g.setText(2, 2, "");            // an empty neighbour lets it spread
    v.setGrid(g);
    EXPECT_TRUE(v.textFits(1, 2));

    // Blanks may pass the edge where no ink is: around a centred title, after
    // a text on the left; not before it.
    const std::string blanks = "    ";
    g.setText(2, 1, "x");
    g.setText(1, 1, blanks + wide + blanks);
    v.setGrid(g);
    EXPECT_TRUE(v.textFits(1, 1));
    g.setAlign(Block::cell(1, 1), Align::Left);
    g.setText(1, 1, wide + blanks + blanks);
    v.setGrid(g);
    EXPECT_TRUE(v.textFits(1, 1));
    g.setText(1, 1, blanks + blanks + wide);
    v.setGrid(g);
    EXPECT_FALSE(v.textFits(1, 1));
    g.setText(1, 1, std::string(wide.size() * 3, ' ')); // nothing inked: nothing to cut
    v.setGrid(g);
    EXPECT_TRUE(v.textFits(1, 1));
}

TEST(GridViewUnits, ColumnsLeaveRoomForAVerticalBarOnlyWhenTheRowsNeedOne) {
    Grid g(4, 10);
    g.setColWidth(-1, 5.0);
    GridView v;
    v.setGrid(g);
    v.show();
    const int frame = 2 * v.frameWidth();
    const int bar = v.verticalScrollBar()->sizeHint().width();
    // Rows that fill the view to the last pixel need no bar.
    v.resize(300, v.totalHeight() + frame);
    EXPECT_EQ(v.columnRoom(), 300 - frame);
    v.fitColumnsToWidth(v.columnRoom());
    EXPECT_EQ(v.verticalScrollBar()->maximum(), 0);
    // One pixel less and the last row scrolls: the bar takes its width.
    v.resize(300, v.totalHeight() + frame - 1);
    EXPECT_EQ(v.columnRoom(), 300 - frame - bar);
    v.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(v.columnRoom(), 300 - frame);
    v.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    v.resize(300, v.totalHeight() + frame + 50);
    EXPECT_EQ(v.columnRoom(), 300 - frame - bar);
}

TEST(GridViewPanes, TheCursorBringsItsCellWholeIntoViewBesideTheFrozenOnes) {
    Grid g(30, 60);
    g.setColWidth(-1, 5.0);
    GridView v;
    v.setGrid(std::move(g));
    v.setFrozen(1, 1);
    v.resize(220, 200);
    v.show();
    const QSize vp = v.viewport()->size();
    v.moveCursorTo(30, 60); // far right and down: its cell ends at the view's edges
    QRect r = v.cellRect(30, 60);
    EXPECT_EQ(r.right(), vp.width() - 1);
    EXPECT_EQ(r.bottom(), vp.height() - 1);
    v.moveCursorTo(2, 2); // back: just past the frozen column and row
    r = v.cellRect(2, 2);
    EXPECT_EQ(r.left(), v.columnX(2));
    EXPECT_EQ(r.top(), v.rowY(2));
    v.moveCursorTo(1, 1); // a frozen cell is in view already: nothing scrolls
    EXPECT_EQ(v.cellRect(2, 2), r);
}

// An arrow of the vertical scroll bar moves one row under the titles, one of
// the horizontal bar 20 pixels; a page is what shows beside the frozen cells.
TEST(GridViewPanes, AScrollBarArrowMovesOneRowUnderTheTitlesAndAPageWhatShows) {
    Grid g(30, 100);
    g.setColWidth(-1, 5.0);
    g.setColWidth(1, 12.0);  // a wide label column
    g.setRowHeight(1, 30.0); // a tall title row; the draws' rows are lower
    GridView v;
    v.setGrid(std::move(g));
    v.setFrozen(1, 1);
    v.resize(300, 200);
    v.show();
    QScrollBar* bar = v.verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), v.rowY(3) - v.rowY(2));
    EXPECT_EQ(v.cellAt(QPoint(1, v.rowY(2))).y(), 3);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(v.cellAt(QPoint(1, v.rowY(2))).y(), 4);
    bar->setValue(0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), v.viewport()->height() - v.rowY(2));
    QScrollBar* across = v.horizontalScrollBar();
    ASSERT_GT(across->maximum(), 100);
    across->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(across->value(), 20);
    across->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(across->value(), 20 + v.viewport()->width() - v.columnX(2));
}

TEST(GridViewPanes, AtTheEndTheLastRowShowsWholeAndTheFirstUnderTheTitlesToo) {
    // Whatever the view's height, scrolled to the end: no row is cut at the
    // bottom, and the row under the frozen titles begins right below them.
    Grid g(3, 40);
    g.setRowHeight(1, 20.0);
    GridView v;
    v.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v.setGrid(std::move(g));
    v.setFrozen(0, 1);
    v.show();
    const int frame = 2 * v.frameWidth();
    const int rowHeight = v.rowY(3) - v.rowY(2);
    for (int height = 200; height < 200 + 2 * rowHeight; ++height) {
        SCOPED_TRACE(height);
        v.resize(200, height + frame);
        QScrollBar* bar = v.verticalScrollBar();
        bar->setValue(bar->maximum());
        EXPECT_LE(v.cellRect(1, 40).bottom(), v.viewport()->height() - 1);
        const QPoint first = v.cellAt(QPoint(1, v.rowY(2)));
        EXPECT_EQ(v.cellRect(1, first.y()).top(), v.rowY(2));
    }
}
