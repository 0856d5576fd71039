// Every window as a user sees it, pixel for pixel: each window is opened the
// way a user opens it, on a fixed history of 80 draws, grabbed offscreen and
// compared with its picture under tests/golden/windows/. A colour, a margin,
// a line one pixel off or a window a few twips too large changes the picture.
// N4_UPDATE_GOLDEN=1 writes the pictures from the program; look at every
// changed picture before committing it. On a mismatch the picture the program
// drew is written beside the build (window-pictures/) and the failure says how
// many pixels differ and where.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTabWidget>

#include "UiSupport.h"
#include "WidgetInventory.h"
#include "core/prediction/PredictionEngine.h"
#include "core/prediction/PredictionExport.h"
#include "paint/GridPicture.h"
#include "ui/grid/GridView.h"
#include "ui/prediction/BacktestWindow.h"
#include "ui/shell/AboutWindow.h"
#include "ui/shell/AnalysisWindowTable.h"
#include "ui/shell/HelpWindow.h"
#include "ui/shell/ProgramStart.h"

using namespace n4;

namespace {

// Eighty draws: long enough that every analysis window scrolls, with a
// missing draw (12), an incomplete one (20), repeated digits and runs.
DrawTable pictureHistory() {
    DrawTable t;
    unsigned seed = 2024;
    for (int no = 1; no <= 81; ++no) {
        if (no == 12) continue;
        DrawRecord d{no, {}};
        for (int& digit : d.digits) {
            seed = seed * 1103515245u + 12345u;
            digit = static_cast<int>((seed >> 16) % 10);
        }
        if (no == 20) d.digits[2] = kAbsentDigit;
        if (no == 30) d.digits = {7, 7, 7, 7};
        t.push_back(d);
    }
    return t;
}

// How two pictures differ: pixels and their bounding box.
struct Difference {
    int pixels = 0;
    QRect box;
};

Difference compare(const QImage& a, const QImage& b) {
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if ((ra[x] & 0xFFFFFF) != (rb[x] & 0xFFFFFF)) {
                ++d.pixels;
                d.box |= QRect(x, y, 1, 1);
            }
    }
    return d;
}

QString fileName(const QString& name) {
    return QStringLiteral("%1.png").arg(name);
}

void expectImage(const QString& name, const QImage& image) {
    const QImage actual = image.convertToFormat(QImage::Format_RGB32);
    const QString golden = QStringLiteral(N4_GOLDEN_DIR "/windows/") + fileName(name);
    if (qEnvironmentVariableIsSet("N4_UPDATE_GOLDEN")) {
        QDir().mkpath(QStringLiteral(N4_GOLDEN_DIR "/windows"));
        EXPECT_TRUE(actual.save(golden)) << golden.toStdString();
        return;
    }
    const QString outDir = QStringLiteral(N4_PICTURE_OUT);
    QDir().mkpath(outDir);
    const QString drawn = outDir + "/" + fileName(name);
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
    if (expected.isNull()) {
        actual.save(drawn);
        ADD_FAILURE() << "no picture " << golden.toStdString() << " (drawn: " << drawn.toStdString()
                      << "; N4_UPDATE_GOLDEN=1 writes it)";
        return;
    }
    if (expected.size() != actual.size()) {
        actual.save(drawn);
        ADD_FAILURE() << name.toStdString() << ": " << actual.width() << " x " << actual.height()
                      << " px, the picture is " << expected.width() << " x " << expected.height()
                      << " (drawn: " << drawn.toStdString() << ")";
        return;
    }
    const Difference d = compare(expected, actual);
    if (d.pixels == 0) {
        QFile::remove(drawn);
        return;
    }
    actual.save(drawn);
    ADD_FAILURE() << name.toStdString() << ": " << d.pixels << " pixels differ, from ("
                  << d.box.left() << ", " << d.box.top() << ") to (" << d.box.right() << ", "
                  << d.box.bottom() << ") (drawn: " << drawn.toStdString() << ")";
}

void expectPicture(const QString& name, QWidget* widget) {
    ASSERT_NE(widget, nullptr) << name.toStdString();
    expectImage(name, widget->grab().toImage());
}

// The program over the picture history, started as main() starts it, with
// the program's own fonts and Japanese button texts.
struct Program {
    Program() {
        prepareApplication(*qApp);
        shell = std::make_unique<n4test::Shell>(pictureHistory());
    }
    MainFrm& main() const { return *shell->main; }
    void closeChildren() const {
        for (QMdiSubWindow* s : main().mdiArea()->subWindowList())
            s->close();
        n4test::settle();
    }
    // The analysis window opened from its menu command, alone in the frame.
    QMdiSubWindow* openAlone(const QString& name) const {
        closeChildren();
        main().openAnalysis(name);
        n4test::settle();
        return main().openWindow(name);
    }
    std::unique_ptr<n4test::Shell> shell;
};

void press(QWidget* window, Qt::Key key) {
    for (GridView* view : window->findChildren<GridView*>()) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
    n4test::settle();
}

} // namespace

TEST(WindowPicture, EveryAnalysisWindowAsItOpensAndAtItsTop) {
    Program p;
    for (const AnalysisWindowInfo& info : analysisWindowTable()) {
        const QString name = QString::fromUtf8(info.name);
        SCOPED_TRACE(info.name);
        QMdiSubWindow* sub = p.openAlone(name);
        ASSERT_NE(sub, nullptr);
        const QString file = QString::fromUtf8(info.menu);
        expectPicture(file + "-open", sub);
        n4test::expectInventory(file, sub);
        press(sub, Qt::Key_Home);
        expectPicture(file + "-top", sub);
        press(sub, Qt::Key_End);
        expectPicture(file + "-end", sub); // the latest draws again, the cursor on the last
    }
}

TEST(WindowPicture, TheCellCursorAndASelectedBlock) {
    Program p;
    QMdiSubWindow* sub = p.openAlone("出現間隔分析");
    ASSERT_NE(sub, nullptr);
    GridView* view = sub->findChild<GridView*>();
    ASSERT_NE(view, nullptr);
    const int last = view->grid().maxRows();
    view->moveCursorTo(3, last - 4); // the cursor alone
    n4test::settle();
    expectPicture("cursor", view->viewport());
    view->moveCursorTo(6, last - 1, true); // a block from it, as Shift+arrows make
    n4test::settle();
    expectPicture("selection", view->viewport());
}

TEST(WindowPicture, ANarrowedWindowScrolledBothWaysKeepsItsTitlesAndLabels) {
    // The user makes a wide window narrower and scrolls to the far corner:
    // the title rows scroll sideways only, the draw numbers down only.
    Program p;
    QMdiSubWindow* sub = p.openAlone("分割10データ分析");
    ASSERT_NE(sub, nullptr);
    sub->resize(sub->width() / 2, sub->height() / 2);
    n4test::settle();
    GridView* view = sub->findChild<GridView*>();
    ASSERT_NE(view, nullptr);
    ASSERT_GT(view->horizontalScrollBar()->maximum(), 0);
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
    n4test::settle();
    expectPicture("division10-scrolled", view->viewport());
}

TEST(WindowPicture, ThePredictionWindowAtStartUp) {
    Program p;
    expectPicture("prediction", p.main().openWindow("一発マーヴォ"));
    // The whole main window: its menu bar, grey frame and status bar.
    expectPicture("main-window", &p.main());
    n4test::expectInventory("main-window", &p.main());
}

TEST(WindowPicture, TheBacktestWindowWhenItsFiguresAreIn) {
    Program p;
    p.closeChildren();
    p.main().openBacktest();
    QMdiSubWindow* sub = p.main().openWindow("予想の検証");
    ASSERT_NE(sub, nullptr);
    auto* window = qobject_cast<BacktestWindow*>(sub->widget());
    ASSERT_NE(window, nullptr);
    QElapsedTimer clock;
    clock.start();
    while (window->isComputing() && clock.elapsed() < 60000)
        QApplication::processEvents();
    ASSERT_FALSE(window->isComputing());
    n4test::settle();
    expectPicture("backtest", sub);
    n4test::expectInventory("backtest", sub);
    // The chart of another method: other figures, other ticks.
    window->pages()->setCurrentIndex(1);
    window->methodChooser()->setCurrentIndex(4);
    ASSERT_EQ(window->methodChooser()->currentText(), "消去法");
    n4test::settle();
    expectPicture("backtest-elimination-chart", window->chartView());
}

TEST(WindowPicture, TheDataEntryWindowAsItOpens) {
    Program p;
    p.closeChildren();
    p.main().setPropEnd(true);
    p.main().openDataEntry();
    n4test::settle();
    expectPicture("data-entry", p.main().openWindow("当選データ入力"));
    n4test::expectInventory("data-entry", p.main().openWindow("当選データ入力"));
}

TEST(WindowPicture, TheAboutAndHelpWindows) {
    Program p;
    p.main().openAbout();
    n4test::settle();
    AboutWindow* about = p.main().aboutWindow();
    ASSERT_NE(about, nullptr);
    // The files it names lie in a new temporary folder each run.
    about->showDataFiles("/home/利用者/Numbers4Marvo.mdb", "/home/利用者/ナンバーズ4マーヴォ.ini");
    n4test::settle();
    expectPicture("about", about);
    n4test::expectInventory("about", about);
    p.main().openHelp();
    n4test::settle();
    HelpWindow* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<HelpWindow*>(w); h && h->isVisible()) help = h;
    expectPicture("help", help);
    n4test::expectInventory("help", help);
}

TEST(WindowPicture, ThePredictionAsAPictureFileWithItsHeadings) {
    // What 画像として保存 and the command line write for the prediction: its
    // four grids one below the other, each under its heading.
    PredictionEngine engine;
    engine.ScanDraws(pictureHistory(), 40, 0);
    std::vector<GridSheet> sheets;
    for (const PicturePart& part : predictionPicture(engine.grids(), "png").parts)
        sheets.push_back(sheetFor(part));
    ASSERT_EQ(sheets.size(), 4u);
    expectImage("prediction-picture", sheetsImage(sheets));
}
