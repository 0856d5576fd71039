// The window 買い目作成: opened from the データ分析 menu, it counts the numbers
// a filter passes as each toggle changes, fills the positions from the
// prediction, replays buying them with the draws' real prizes, saves the list
// and tells what it cannot read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "UiSupport.h"
#include "core/prediction/PredictionEngine.h"
#include "ui/grid/GridView.h"
#include "ui/numbers/IfBoughtPanel.h"
#include "ui/numbers/NumberBuilderWindow.h"

using namespace n4;

namespace {

DrawRecord priced(int no, std::array<int, 4> digits, int straight) {
    DrawDetails d;
    d.prizes[0] = straight;
    return DrawRecord{no, digits, d};
}

struct Builder {
    n4test::Shell shell;
    NumberBuilderWindow* window = nullptr;
    explicit Builder(const DrawTable& draws) : shell(draws) {
        QMdiSubWindow* sub = shell.choose("mnuNumberBuilder");
        window = sub ? qobject_cast<NumberBuilderWindow*>(sub->widget()) : nullptr;
    }
    QString count() const { return window->countLabel()->text(); }
    QString cost() const { return window->costLabel()->text(); }
    void click(int position, int digit) const {
        QTest::mouseClick(window->digitToggle(position, digit), Qt::LeftButton);
    }
};

DrawTable randomDraws(int count) {
    return n4test::pseudoRandomDraws(count, 12345);
}

void waitUntilComputed(IfBoughtPanel* panel) {
    QElapsedTimer clock;
    clock.start();
    while (panel->isComputing() && clock.elapsed() < 30000)
        QApplication::processEvents();
}

} // namespace

TEST(NumberBuilderWindow, TogglesCountTheNumbersWithTheirSharesCostAndList) {
    Builder b(draws({{1, 2, 3, 4}, {5, 6, 7, 8}, {7, 0, 0, 7}, {2, 2, 2, 2}}));
    ASSERT_NE(b.window, nullptr);
    EXPECT_EQ(b.shell.main->openWindow("買い目作成")->windowTitle(), "買い目作成");
    EXPECT_EQ(b.count(),
              "条件に合う番号: 10,000 通り（全 10,000 通りの 100.0 %）・\n過去の当選番号の"
              "うち 100.0 % が条件に合っていました");
    EXPECT_EQ(b.cost(), "購入額: 2,000,000 円（ストレート 1 口 × 10,000 通り）");
    // The first digit 5..9 only: half the numbers, and two of the four draws.
    for (int d = 0; d <= 4; ++d)
        b.click(1, d);
    EXPECT_EQ(b.window->passing(), passingNumbers(b.window->filter(), b.shell.main->drawTable()));
    EXPECT_EQ(b.count(), "条件に合う番号: 5,000 通り（全 10,000 通りの 50.0 %）・\n過去の当選番号の"
                         "うち 50.0 % が条件に合っていました");
    // Box mode: some order fits, so only numbers without a digit 5..9 are out.
    b.window->anyOrderBox()->click();
    EXPECT_EQ(b.window->passing().size(), 10000u - 625u);
    b.window->anyOrderBox()->click();
    // Without 5 anywhere and a sum of at least 30.
    b.window->mustNotEdit()->setText("5");
    b.window->sumMinBox()->setValue(30);
    for (int n : b.window->passing()) {
        const auto d = digitsOf(n);
        EXPECT_TRUE(d[0] >= 6 && d[1] != 5 && d[2] != 5 && d[3] != 5 &&
                    d[0] + d[1] + d[2] + d[3] >= 30)
            << n;
    }
    EXPECT_EQ(b.window->passing(), passingNumbers(b.window->filter(), b.shell.main->drawTable()));
    // The list shows them, the largest sum first when asked.
    b.window->orderChooser()->setCurrentIndex(2);
    const Grid& list = b.window->listView()->grid();
    EXPECT_EQ(list.maxRows(), 1 + static_cast<int>(b.window->passing().size()));
    EXPECT_EQ(list.text(1, 2), "9999");
    EXPECT_EQ(list.text(2, 2), "クワッド");
    // Box, 3 units of every number the filter passes: a quad cannot be boxed.
    b.window->mustNotEdit()->clear();
    b.window->sumMinBox()->setValue(0);
    b.click(1, 0), b.click(1, 1), b.click(1, 2), b.click(1, 3), b.click(1, 4);
    b.window->kindChooser()->setCurrentIndex(1);
    b.window->unitsBox()->setValue(3);
    EXPECT_EQ(b.cost(), "購入額: 5,994,000 円（ボックス 3 口 × 9,990 通り）");
}

TEST(NumberBuilderWindow, FollowsTheDrawsWhenTheMainWindowReloadsThem) {
    Builder b(draws({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    b.window->notInOrderBox()->setValue(5); // not drawn in order in the last 5 draws
    EXPECT_EQ(b.window->passing().size(), 9998u);
    StoreResult r;
    auto store = DrawStore::open(DbConnectionString::forProgramFolder(b.shell.ws.folder), r);
    ASSERT_TRUE(store && store->upsert({DrawRecord{3, {9, 9, 9, 0}}}));
    ASSERT_TRUE(b.shell.main->reloadDrawTable());
    EXPECT_EQ(b.window->passing().size(), 9997u);
    EXPECT_TRUE(b.count().startsWith("条件に合う番号: 9,997 通り")) << b.count().toStdString();
}

TEST(NumberBuilderWindow, PredictionButtonsFillThePositionsAndTheRequiredDigits) {
    const DrawTable history = randomDraws(80);
    Builder b(history);
    PredictionEngine engine;
    engine.ScanDraws(history, 80, b.shell.main->analysisOptions().reflectedCount());
    const PredictedDigits& want = engine.predicted();
    b.window->predictionButton()->click();
    for (int p = 1; p <= 4; ++p) {
        std::bitset<10> digits;
        for (const auto& method : want.cycle)
            if (method[static_cast<size_t>(p - 1)] >= 0)
                digits.set(static_cast<size_t>(method[static_cast<size_t>(p - 1)]));
        ASSERT_TRUE(digits.any()) << "position " << p;
        for (int d = 0; d <= 9; ++d)
            EXPECT_EQ(b.window->digitToggle(p, d)->isChecked(), digits.test(static_cast<size_t>(d)))
                << p << ":" << d;
        EXPECT_EQ(b.window->filter().positions[static_cast<size_t>(p - 1)], digits);
    }
    b.window->ippatsuButton()->click();
    std::bitset<10> ippatsu;
    for (int i = 0; i < want.ippatsu.count; ++i)
        ippatsu.set(static_cast<size_t>(want.ippatsu.digits[static_cast<size_t>(i)]));
    EXPECT_EQ(b.window->filter().must, ippatsu);
    EXPECT_FALSE(b.window->ippatsuButton()->toolTip().isEmpty());
}

TEST(NumberBuilderWindow, IfBoughtShowsSpentWonBalanceAndTheUnknownPrizes) {
    // Numbers 1xxx, straight: draw 1 wins its prize, draw 3's prize is unknown.
    Builder b({priced(1, {1, 2, 3, 4}, 900000), priced(2, {5, 6, 7, 8}, 800000),
               priced(3, {1, 9, 9, 9}, kUnknown)});
    for (int d = 0; d <= 9; ++d)
        if (d != 1) b.click(1, d);
    IfBoughtPanel* panel = b.window->ifBoughtPanel();
    QTest::mouseClick(panel->computeButton(), Qt::LeftButton);
    waitUntilComputed(panel);
    ASSERT_NE(panel->result(), nullptr);
    const Grid& g = panel->tableView()->grid();
    EXPECT_EQ(g.text(2, 2), "3");          // draws bought on
    EXPECT_EQ(g.text(2, 3), "600,000 円"); // 3 draws x 1,000 numbers x 200 yen
    EXPECT_EQ(g.text(2, 4), "900,000 円");
    EXPECT_EQ(g.text(2, 5), "300,000 円");
    EXPECT_EQ(g.text(2, 7), "2"); // straight hits, one of them unpriced
    EXPECT_EQ(g.text(3, 3), "6,000,000 円");
    EXPECT_EQ(panel->unknownLabel()->text(),
              "賞金不明の当せん 1 件は合計に含まれません（全 10,000 番号では 1 件）。");
    EXPECT_TRUE(panel->summaryLabel()->text().startsWith("第1回～第3回の 3 回"));
    // The chart: the filter's balance in 万円 after each draw, all 10,000 beside it.
    QChart* chart = panel->chartView()->chart();
    ASSERT_EQ(chart->series().size(), 2);
    auto* mine = qobject_cast<QLineSeries*>(chart->series()[0]);
    ASSERT_EQ(mine->count(), 3);
    EXPECT_DOUBLE_EQ(mine->at(0).y(), 70);
    EXPECT_DOUBLE_EQ(mine->at(2).y(), 30);
    // Draws 2..3 only; then another filter marks the figures as the old ones.
    panel->fromEdit()->setText("第２回");
    QTest::mouseClick(panel->computeButton(), Qt::LeftButton);
    waitUntilComputed(panel);
    EXPECT_EQ(panel->tableView()->grid().text(2, 3), "400,000 円");
    EXPECT_EQ(panel->tableView()->grid().text(2, 4), "0 円");
    b.click(2, 0);
    EXPECT_TRUE(panel->summaryLabel()->text().contains("前の条件での結果です"));
    // Stopped at once, and the window says so.
    panel->start();
    panel->cancelButton()->click();
    EXPECT_FALSE(panel->isComputing());
    EXPECT_EQ(panel->summaryLabel()->text(), "計算を中止しました。");
}

TEST(NumberBuilderWindow, SavesTheListAsCsvThroughTheFileChooser) {
    Builder b(draws({{1, 2, 3, 4}}));
    for (int p = 1; p <= 3; ++p)
        for (int d = 1; d <= 9; ++d)
            b.click(p, d); // 000x only
    const QString path = QString::fromStdString(b.shell.ws.folder) + "/list";
    QString asked;
    b.window->setFileChooser([&](const QString& caption, const QString&, const QString& filters) {
        asked = caption + "|" + filters;
        return path + ".csv";
    });
    QTest::mouseClick(b.window->saveCsvButton(), Qt::LeftButton);
    EXPECT_EQ(asked, "CSV で保存|CSV (*.csv)");
    QFile file(path + ".csv");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")); // so that a spreadsheet reads UTF-8
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], "番号,タイプ,合計,偶数の数,低数字の数");
    EXPECT_EQ(lines[1], "0000,クワッド,0,4,4");
    EXPECT_EQ(lines[10], "0009,トリプル,9,3,3");
    EXPECT_TRUE(b.window->saveLabel()->text().startsWith("10 通りを"));
    // A folder that is not there: the reason, and no file.
    b.window->setFileChooser(
        [&](const QString&, const QString&, const QString&) { return path + "/none/list.csv"; });
    b.window->saveCsvButton()->click();
    EXPECT_TRUE(b.window->saveLabel()->text().contains("に保存できませんでした"));
    // The list's own menu offers the same entry after the grid's.
    EXPECT_EQ(b.window->listView()->menu()->actions().last()->text(), "CSV で保存…");
}

TEST(NumberBuilderWindow, TypedDigitsAndRangesThatCannotBeReadGiveAHint) {
    Builder b(draws({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    QTest::keyClicks(b.window->mustEdit(), "3x");
    EXPECT_FALSE(b.window->hintLabel()->isHidden());
    EXPECT_TRUE(b.window->hintLabel()->text().contains("「x」は数字ではありません"))
        << b.window->hintLabel()->text().toStdString();
    EXPECT_EQ(b.window->filter().must, std::bitset<10>().set(3)); // the last good value
    b.window->mustEdit()->setText("３、７");
    EXPECT_TRUE(b.window->hintLabel()->isHidden());
    EXPECT_EQ(b.window->filter().must, std::bitset<10>().set(3).set(7));
    b.window->mustNotEdit()->setText("7");
    EXPECT_TRUE(b.window->hintLabel()->text().contains("両方にあります"));
    EXPECT_TRUE(b.window->passing().empty());
    b.window->mustNotEdit()->clear();
    b.window->sumMinBox()->setValue(20);
    b.window->sumMaxBox()->setValue(10);
    EXPECT_TRUE(b.window->hintLabel()->text().contains("下限 20 が上限 10 より大きく"));
    // The range of 購入していたら: letters, or an end before the start.
    IfBoughtPanel* panel = b.window->ifBoughtPanel();
    QTest::keyClicks(panel->fromEdit(), "abc");
    EXPECT_FALSE(panel->hintLabel()->isHidden());
    EXPECT_TRUE(panel->hintLabel()->text().startsWith("「abc」は回数として読めません"));
    EXPECT_FALSE(panel->computeButton()->isEnabled());
    EXPECT_FALSE(panel->start());
    panel->fromEdit()->setText("5");
    panel->toEdit()->setText("2");
    EXPECT_EQ(panel->hintLabel()->text(), "範囲の始めの回が終わりの回より後です。");
    panel->toEdit()->setText("99");
    EXPECT_TRUE(panel->hintLabel()->isHidden());
    EXPECT_TRUE(panel->computeButton()->isEnabled());
}
