// The back-test window: opened from the analysis menu or the prediction
// window's context menu, it shows the same figures as the command line, says
// in words what they mean, follows the options, can be stopped and started
// again, and saves its page and its chart.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QAreaSeries>
#include <QChartView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QValueAxis>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>

#include "UiSupport.h"
#include "core/prediction/BacktestExport.h"
#include "core/prediction/BacktestTable.h"
#include "core/store/DrawStore.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewMenu.h"
#include "ui/prediction/BacktestWindow.h"
#include "ui/prediction/ChartViewMenu.h"
#include "ui/prediction/PredictionWindow.h"

using namespace n4;

namespace {

// Pseudo-random draws 1..count.
DrawTable randomDraws(int count) {
    return n4test::pseudoRandomDraws(count, 77);
}

void waitUntilComputed(BacktestWindow* w) {
    QElapsedTimer clock;
    clock.start();
    while (w->isComputing() && clock.elapsed() < 30000)
        QApplication::processEvents();
}

struct Shell {
    DrawTable draws = randomDraws(400);
    n4test::Workspace ws{draws};
    n4test::RecordingSink sink;
    MainFrm main{ws.config, &sink};

    PredictionWindow* prediction() {
        QMdiSubWindow* sub = main.openWindow("一発マーヴォ");
        return sub ? qobject_cast<PredictionWindow*>(sub->widget()) : nullptr;
    }
    BacktestWindow* backtest() {
        QMdiSubWindow* sub = main.openWindow("予想の検証");
        return sub ? qobject_cast<BacktestWindow*>(sub->widget()) : nullptr;
    }
};

std::string row(const Grid& g, int r) {
    std::string s;
    for (int c = 1; c <= g.maxCols(); ++c)
        s += g.text(c, r) + "|";
    return s;
}

} // namespace

TEST(BacktestWindow, OpensFromThePredictionWindowsContextMenuWithTheTableAndChart) {
    Shell s;
    ASSERT_TRUE(s.main.load());
    s.main.openPrediction();
    PredictionWindow* p = s.prediction();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->contextMenuPolicy(), Qt::ActionsContextMenu);
    ASSERT_TRUE(p->actions().contains(p->backtestAction()));
    EXPECT_EQ(p->backtestAction()->text(), QStringLiteral("過去の当選で検証…"));
    p->backtestAction()->trigger();
    BacktestWindow* w = s.backtest();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(s.main.openWindow("予想の検証")->windowTitle(), QStringLiteral("予想の検証"));
    waitUntilComputed(w);
    ASSERT_NE(w->result(), nullptr);
    // The same figures as the command line's table.
    const BacktestResult expected = runBacktest(s.draws, defaultBacktestRange(s.draws, 0), 0);
    const Grid shown = w->tableView()->grid();
    const Grid want = backtestGrid(expected);
    ASSERT_EQ(shown.maxRows(), 8);
    for (int r = 1; r <= 8; ++r)
        EXPECT_EQ(row(shown, r), row(want, r));
    EXPECT_EQ(w->statusLabel()->text(),
              QStringLiteral("第11回～第400回の当選 390 回で検証（反映するオプション 0 個）"));
    // Finished at once: no progress bar, no stop button.
    EXPECT_FALSE(w->progressBar()->isVisible());
    EXPECT_FALSE(w->cancelButton()->isVisible());
    // The chart: chance's band and the line, ending at hits minus chance.
    EXPECT_EQ(w->methodChooser()->count(), kBacktestMethods);
    w->methodChooser()->setCurrentIndex(4);
    QChart* chart = w->chartView()->chart();
    EXPECT_EQ(chart->title(), QStringLiteral("消去法：当たった桁の数 − 偶然の平均（累積）"));
    ASSERT_EQ(chart->series().size(), 2);
    auto* band = qobject_cast<QAreaSeries*>(chart->series()[0]);
    auto* line = qobject_cast<QLineSeries*>(chart->series()[1]);
    ASSERT_TRUE(band && line);
    const MethodTally& e = expected.methods[4];
    EXPECT_NEAR(line->at(line->count() - 1).y(), e.hits - e.expected(), 1e-9);
    EXPECT_EQ(line->at(line->count() - 1).x(), 400);
    EXPECT_GT(band->upperSeries()->at(band->upperSeries()->count() - 1).y(), 0);
    // The axes: the draws from first to last; the differences around 0 with a
    // twentieth to spare over the line and the band; ticks on round numbers from 0.
    auto* x = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).value(0));
    auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    ASSERT_TRUE(x && y);
    EXPECT_EQ(x->min(), 11);
    EXPECT_EQ(x->max(), 400);
    double reach = 1;
    for (int i = 0; i < line->count(); ++i)
        reach = std::max({reach, std::abs(line->at(i).y()), band->upperSeries()->at(i).y()});
    EXPECT_DOUBLE_EQ(y->max(), 1.05 * reach);
    EXPECT_DOUBLE_EQ(y->min(), -1.05 * reach);
    EXPECT_EQ(x->tickInterval(), 50); // 389 draws in about six steps
    const double step = y->tickInterval(), decade = std::pow(10.0, std::floor(std::log10(step)));
    EXPECT_TRUE(step == decade || step == 2 * decade || step == 5 * decade) << step;
    EXPECT_GE(1.05 * reach / 2.5 / step, 0.7) << step;
    EXPECT_LT(1.05 * reach / 2.5 / step, 1.75) << step;
    for (QValueAxis* axis : {x, y}) {
        EXPECT_EQ(axis->tickType(), QValueAxis::TicksDynamic);
        EXPECT_EQ(axis->tickAnchor(), 0);
    }
    EXPECT_EQ(y->labelFormat(), "%g");
    // Asking again brings the same window forward.
    p->backtestAction()->trigger();
    EXPECT_EQ(s.backtest(), w);
}

TEST(BacktestWindow, FollowsTheOptionsOfThePredictionWindow) {
    Shell s;
    ASSERT_TRUE(s.main.load());
    s.main.openPrediction();
    s.prediction()->backtestAction()->trigger();
    BacktestWindow* w = s.backtest();
    waitUntilComputed(w);
    ASSERT_EQ(w->result()->reflect, 0);
    s.prediction()->reflectButton(3)->click();
    s.prediction()->reflectButton(5)->click();
    EXPECT_EQ(w->reflect(), 2);
    waitUntilComputed(w);
    ASSERT_NE(w->result(), nullptr);
    EXPECT_EQ(w->result()->reflect, 2);
    EXPECT_EQ(w->result()->range.from, 13); // the elimination reads two draws further back
    const BacktestResult two = runBacktest(s.draws, defaultBacktestRange(s.draws, 2), 2);
    EXPECT_EQ(row(w->tableView()->grid(), 6), row(backtestGrid(two), 6));
    // Opened later, it starts from the options as they are.
    s.main.openWindow("予想の検証")->close();
    QApplication::processEvents();
    s.prediction()->backtestAction()->trigger();
    EXPECT_EQ(s.backtest()->reflect(), 2);
}

TEST(BacktestWindow, ComputesAgainWhenTheDrawsChange) {
    Shell s;
    ASSERT_TRUE(s.main.load());
    s.main.openPrediction();
    s.prediction()->backtestAction()->trigger();
    BacktestWindow* w = s.backtest();
    waitUntilComputed(w);
    ASSERT_EQ(w->result()->range.to, 400);
    // Fifty more draws reach the database; the main window reads it again.
    const DrawTable more = randomDraws(450);
    StoreResult r;
    auto store = DrawStore::open(DbConnectionString::forProgramFolder(s.ws.folder), r);
    ASSERT_TRUE(store && store->upsert(DrawTable(more.begin() + 400, more.end())).ok);
    store.reset();
    ASSERT_TRUE(s.main.reloadDrawTable());
    waitUntilComputed(w);
    ASSERT_NE(w->result(), nullptr);
    EXPECT_EQ(w->result()->range.to, 450);
    EXPECT_EQ(w->result()->draws.size(), 440u);
}

TEST(BacktestWindow, StopsWhenAskedAndStartsAgain) {
    BacktestWindow w(randomDraws(3000), 0);
    ASSERT_TRUE(w.isComputing());
    w.cancelButton()->click(); // 中止, before the first slice ran
    EXPECT_FALSE(w.isComputing());
    EXPECT_NE(w.cursor().shape(), Qt::BusyCursor);
    EXPECT_EQ(w.result(), nullptr);
    EXPECT_EQ(w.statusLabel()->text(), QStringLiteral("検証を中止しました。"));
    EXPECT_FALSE(w.restartButton()->isHidden());
    QTest::qWait(100);              // time for slices that should not come
    EXPECT_EQ(w.result(), nullptr); // nothing ran on after the stop
    EXPECT_EQ(w.statusLabel()->text(), QStringLiteral("検証を中止しました。"));
    w.restartButton()->click();
    EXPECT_TRUE(w.isComputing());
    EXPECT_TRUE(w.restartButton()->isHidden());
    waitUntilComputed(&w);
    ASSERT_NE(w.result(), nullptr);
    EXPECT_EQ(w.result()->draws.size(), 2990u);
}

TEST(BacktestWindow, WhileItComputesTheCursorIsBusyAndTheBarWaitsForABlink) {
    BacktestWindow w(randomDraws(3000), 0);
    ASSERT_TRUE(w.isComputing());
    EXPECT_EQ(w.cursor().shape(), Qt::BusyCursor);
    // Nothing has run yet: far less than a blink, so no bar and no stop button.
    EXPECT_TRUE(w.progressBar()->isHidden());
    EXPECT_TRUE(w.cancelButton()->isHidden());
    EXPECT_EQ(w.progressBar()->value(), 0);
    EXPECT_EQ(w.progressBar()->maximum(), 1000);
    EXPECT_FALSE(w.progressBar()->isTextVisible());
    waitUntilComputed(&w);
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor); // the usual pointer again
    EXPECT_TRUE(w.progressBar()->isHidden());
}

TEST(BacktestWindow, TooShortAHistorySaysWhy) {
    BacktestWindow w(randomDraws(10), 0);
    waitUntilComputed(&w);
    ASSERT_NE(w.result(), nullptr);
    EXPECT_TRUE(w.statusLabel()->text().startsWith(QStringLiteral("検証できる当選がありません")));
    EXPECT_EQ(w.tableView()->grid().text(7, 2), "予想なし");
    EXPECT_TRUE(
        w.chartView()->chart()->title().endsWith(QStringLiteral("偶然の平均（累積）（予想なし）")))
        << w.chartView()->chart()->title().toStdString();
}

TEST(BacktestWindow, TheChosenMethodStaysChosenWhenItComputesAgain) {
    Shell s;
    ASSERT_TRUE(s.main.load());
    s.main.openPrediction();
    s.prediction()->backtestAction()->trigger();
    BacktestWindow* w = s.backtest();
    waitUntilComputed(w);
    auto* method = w->findChild<QComboBox*>();
    ASSERT_NE(method, nullptr);
    ASSERT_GT(method->count(), 2);
    method->setCurrentIndex(2);
    const QString chosen = method->currentText();
    s.prediction()->reflectButton(4)->click();
    waitUntilComputed(w);
    ASSERT_EQ(w->result()->reflect, 1);
    EXPECT_EQ(method->currentIndex(), 2);
    EXPECT_EQ(method->currentText(), chosen);
}

// Over a few draws a method's line and band may stay within ±1, or at 0 for a
// method that has predicted nothing yet: the chart still spans -1 to 1 (with
// its twentieth to spare), not a range of nothing.
TEST(BacktestWindow, AChartOfSmallDifferencesStillSpansOneEitherSide) {
    BacktestWindow w(randomDraws(16), 0);
    waitUntilComputed(&w);
    int small = 0;
    for (int m = 0; m < w.methodChooser()->count(); ++m) {
        w.methodChooser()->setCurrentIndex(m);
        QChart* chart = w.chartView()->chart();
        auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
        auto* band = qobject_cast<QAreaSeries*>(chart->series().value(0));
        auto* line = qobject_cast<QLineSeries*>(chart->series().value(1));
        ASSERT_TRUE(y && band && line) << m;
        double reach = 0;
        for (int i = 0; i < line->count(); ++i)
            reach = std::max({reach, std::abs(line->at(i).y()), band->upperSeries()->at(i).y()});
        if (reach >= 1) continue;
        ++small;
        EXPECT_DOUBLE_EQ(y->max(), 1.05) << m;
        EXPECT_DOUBLE_EQ(y->min(), -1.05) << m;
    }
    EXPECT_GE(small, 2);
}

TEST(BacktestWindow, ATwoDrawBacktestStillGetsItsAxes) {
    // Twelve draws: the prediction is checked on draws 11 and 12 only, a
    // line of two points, from the first draw to the last.
    BacktestWindow w(randomDraws(12), 0);
    waitUntilComputed(&w);
    ASSERT_NE(w.result(), nullptr);
    ASSERT_EQ(w.result()->draws.size(), 2u);
    QChart* chart = w.chartView()->chart();
    auto* x = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).value(0));
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->min(), 11);
    EXPECT_EQ(x->max(), 12);
    EXPECT_EQ(x->tickType(), QValueAxis::TicksDynamic);
}

TEST(BacktestWindow, TheAnalysisMenuOpensItWithPlainLabelsAndASentenceOnEachMethod) {
    Shell s;
    ASSERT_TRUE(s.main.load());
    s.main.show();
    QAction* entry = s.main.findChild<QAction*>("mnuBacktest");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), QStringLiteral("予想の検証(&B)"));
    entry->trigger();
    BacktestWindow* w = s.backtest();
    ASSERT_NE(w, nullptr);
    waitUntilComputed(w);
    n4test::settle();
    EXPECT_EQ(row(w->tableView()->grid(), 1),
              "予想手法|予想した回数|当たった桁|偶然の平均|偶然との比|"
              "p値|判定|4桁とも当たった回|偶然の平均|");
    // The words open first: what was counted, chance's average, the p-value
    // in words and the verdict with its threshold. １発予想's p is 2.6 %.
    EXPECT_EQ(w->pages()->tabText(w->pages()->currentIndex()), QStringLiteral("結果の説明"));
    EXPECT_TRUE(w->sentenceLabel(0)->text().startsWith(
        QStringLiteral("7回周期法：385 回で予想した 1497 桁のうち、当たったのは 154 桁")));
    EXPECT_EQ(
        w->sentenceLabel(6)->text(),
        QStringLiteral("１発予想：360 回の当選数字 1440 桁のうち、予想した数字に入っていた（当たっ"
                       "た）のは 590 桁（偶然なら平均 548.8 桁）、4 桁とも当たった回は 18 回（偶然"
                       "なら平均 8.03 回）。偶然でも平均からこれ以上離れる確率は 2.6 %。1 % を下回"
                       "らないので、偶然と区別できません。"));
    EXPECT_TRUE(w->notesLabel()->text().contains(QStringLiteral("回ではなく桁を数えます")));
    EXPECT_TRUE(w->notesLabel()->text().contains(QStringLiteral("1 % を下回ったときだけ")));
    EXPECT_TRUE(w->chartNoteLabel()->text().contains(QStringLiteral("±2σ")));
    // At the window's own size every sentence shows whole.
    for (int m = 0; m < kBacktestMethods; ++m) {
        QLabel* l = w->sentenceLabel(m);
        EXPECT_TRUE(l->isVisible()) << m;
        EXPECT_GE(l->height(), l->heightForWidth(l->width())) << m;
        EXPECT_GE(w->rect().bottom(), l->mapTo(w, QPoint(0, l->height())).y()) << m;
    }
}

// At the table's size the fixed-width Gothic sets its full stop below the foot
// of the digits in a cell as wide as a digit, and "1.009" read as "1, 009".
TEST(BacktestWindow, TheTablesDecimalPointSitsOnTheDigitsLineNarrowerThanADigit) {
    BacktestWindow w(randomDraws(60), 0);
    waitUntilComputed(&w);
    ASSERT_NE(w.tableView()->grid().text(5, 2).find('.'), std::string::npos); // 偶然との比
    const QFont font = w.tableView()->font();
    const QFontMetrics fm(font);
    EXPECT_LT(fm.horizontalAdvance(QLatin1Char('.')), fm.horizontalAdvance(QLatin1Char('0')));
    auto lowestInk = [&font](QChar c) {
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setFont(font);
        p.drawText(8, 20, QString(c));
        p.end();
        int lowest = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 160) lowest = y;
        return lowest;
    };
    EXPECT_GE(lowestInk(QLatin1Char('.')), 0);
    EXPECT_LE(lowestInk(QLatin1Char('.')), lowestInk(QLatin1Char('0')));
}

// The toolkit takes the user's locale at start-up. In one whose decimal mark
// is a comma the C library writes 1.009 as 1,009, and a chart's points
// "64.0,96.0" as "64,0,96,0".
TEST(BacktestWindow, ItsFiguresKeepTheirDecimalPointInALocaleThatWritesCommas) {
    const std::string folder = n4test::tempFolder();
    if (std::system(("localedef -i de_DE -f ISO-8859-1 " + folder + "/de_DE 2>/dev/null").c_str()))
        GTEST_SKIP() << "no German locale can be built here";
    struct German {
        std::string before = setlocale(LC_NUMERIC, nullptr);
        German(const std::string& folder) { setenv("LOCPATH", folder.c_str(), 1); }
        ~German() { setlocale(LC_NUMERIC, before.c_str()), unsetenv("LOCPATH"); }
    } german(folder);
    ASSERT_NE(setlocale(LC_NUMERIC, "de_DE"), nullptr);
    ASSERT_EQ(std::string(localeconv()->decimal_point), ",");
    BacktestWindow w(randomDraws(60), 0);
    waitUntilComputed(&w);
    EXPECT_EQ(w.tableView()->grid().text(5, 6), "0.985"); // 消去法's ratio
    EXPECT_EQ(w.sentenceLabel(4)->text().count(QLatin1Char(',')), 0);
    EXPECT_NE(backtestToHtml(*w.result()).find("points=\"64.0,"), std::string::npos);
}

TEST(BacktestWindow, TheChartsOwnMenuSavesItAsAPngOrSvgPicture) {
    BacktestWindow w(randomDraws(60), 0);
    w.resize(900, 650);
    w.show();
    waitUntilComputed(&w);
    w.pages()->setCurrentIndex(1);
    n4test::settle();
    QChartView* chart = w.chartView();
    QAction* save = w.chartMenu()->savePictureAction();
    EXPECT_EQ(chart->contextMenuPolicy(), Qt::ActionsContextMenu);
    ASSERT_TRUE(chart->actions().contains(save));
    EXPECT_EQ(save->text(), QStringLiteral("画像として保存…"));
    const QString folder = QString::fromStdString(n4test::tempFolder());
    QString answer, offered, kinds;
    w.chartMenu()->setFileChooser([&](const QString&, const QString& suggested, const QString& f) {
        offered = suggested, kinds = f;
        return answer;
    });
    answer = folder + "/chart.png";
    save->trigger();
    EXPECT_TRUE(offered.endsWith(QStringLiteral("予想の検証（7回周期法）.png")))
        << offered.toStdString();
    EXPECT_EQ(kinds, QStringLiteral("PNG 画像 (*.png);;SVG 画像 (*.svg)"));
    const QImage png(answer);
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), chart->size());
    int red = 0; // the line, drawn in red
    for (int i = 0; i < png.width() * png.height(); ++i)
        red += png.pixelColor(i % png.width(), i / png.width()) == QColor(208, 0, 0);
    EXPECT_GT(red, 50);
    answer = folder + "/chart.svg";
    save->trigger();
    const std::string svg = n4test::readFile(answer.toStdString());
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("<title>予想の検証（7回周期法）</title>"), std::string::npos);
    // Another kind of file: a message, no file.
    QString error;
    EXPECT_FALSE(w.chartMenu()->savePictureTo(folder + "/chart.bmp", error));
    EXPECT_EQ(error, QStringLiteral("グラフは .png か .svg の名前で保存してください。"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/chart.bmp"));
}

TEST(BacktestWindow, TheTablesMenuSavesTheToolsPageWithTitleFiguresAndCharts) {
    BacktestWindow w(randomDraws(60), 0);
    waitUntilComputed(&w);
    GridViewMenu* menu = w.tableView()->menu();
    const std::string path = n4test::tempFolder() + "/page.html";
    QString offered;
    menu->setFileChooser([&](const QString&, const QString& suggested, const QString&) {
        offered = suggested;
        return QString::fromStdString(path);
    });
    menu->saveHtmlAction()->trigger();
    EXPECT_TRUE(offered.endsWith(QStringLiteral("予想の検証.html"))) << offered.toStdString();
    const std::string page = n4test::readFile(path);
    EXPECT_EQ(page, backtestToHtml(*w.result())); // the command line's page, byte for byte
    for (const char* part :
         {"<title>予想の検証</title>", "第11回～第60回の当選 50 回で検証", "<polyline"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
}
