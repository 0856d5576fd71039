#include "ui/prediction/BacktestWindow.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/grid/Palette.h"
#include "core/prediction/BacktestExport.h"
#include "core/prediction/BacktestTable.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"

namespace n4 {

namespace {

// A slice reads this many rows; slices run until this much time has gone,
// then the window lets its events in.
constexpr std::size_t kSliceRows = 2048;
constexpr int kSliceMilliseconds = 30;
// Longer than a blink: the progress bar and the stop button show.
constexpr int kBlinkMilliseconds = 150;
constexpr std::size_t kChartPoints = 800;

QColor colour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// Draws from the first to the last, the differences around 0 with room for
// the line and the band; ticks on round numbers.
void placeTicks(QValueAxis& x, QValueAxis& y, const QLineSeries& line, const QLineSeries& band) {
    if (line.count() < 2) return;
    const double first = line.at(0).x(), last = line.at(line.count() - 1).x();
    double reach = 1;
    for (int i = 0; i < line.count(); ++i)
        reach = std::max({reach, std::abs(line.at(i).y()), band.at(i).y()});
    reach *= 1.05;
    x.setRange(first, last);
    y.setRange(-reach, reach);
    for (auto [axis, interval] :
         {std::pair{&x, niceStep((last - first) / 6)}, std::pair{&y, niceStep(reach / 2.5)}}) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        axis->setTickInterval(interval);
    }
    y.setLabelFormat(QStringLiteral("%g"));
}

} // namespace

BacktestWindow::BacktestWindow(const DrawTable& table, int reflect, QWidget* parent)
    : QWidget(parent), draws_(table), reflect_(reflect) {
    setObjectName(QStringLiteral("予想の検証"));
    buildControls();
    connect(&slices_, &QTimer::timeout, this, &BacktestWindow::computeSlice);
    start();
}

BacktestWindow::~BacktestWindow() = default;

void BacktestWindow::buildControls() {
    status_ = new QLabel(this);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    progress_->setMaximumWidth(160);
    progress_->setAccessibleName(QStringLiteral("検証の進み具合"));
    cancel_ = new QPushButton(QStringLiteral("中止"), this);
    restart_ = new QPushButton(QStringLiteral("もう一度検証"), this);
    QPushButton* close = makeCloseButton(this);
    connect(cancel_, &QPushButton::clicked, this, &BacktestWindow::cancel);
    connect(restart_, &QPushButton::clicked, this, &BacktestWindow::start);
    connect(close, &QPushButton::clicked, this, &BacktestWindow::closeRequested);
    auto* top = new QHBoxLayout;
    top->addWidget(status_, 1);
    for (QWidget* w : {static_cast<QWidget*>(progress_), static_cast<QWidget*>(cancel_),
                       static_cast<QWidget*>(restart_), static_cast<QWidget*>(close)})
        top->addWidget(w);

    table_ = new GridView(this); // (a bar sideways only when needed, as any scroll area)
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setAccessibleName(QStringLiteral("予想手法ごとの検証結果"));

    method_ = new QComboBox(this);
    method_->setObjectName(QStringLiteral("グラフの予想手法"));
    method_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    method_->setAccessibleName(QStringLiteral("グラフの予想手法")); // as its label says
    connect(method_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &BacktestWindow::showChart);
    auto* chooser = new QHBoxLayout;
    chooser->addWidget(new QLabel(QStringLiteral("グラフの予想手法:"), this));
    chooser->addWidget(method_);
    chooser->addStretch(1);

    chart_ = new QChart;
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chartView_ = new QChartView(chart_, this);
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumHeight(260);
    chartView_->setAccessibleName(QStringLiteral("予想手法の検証グラフ"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_);
    layout->addLayout(chooser);
    layout->addWidget(chartView_, 1);
}

void BacktestWindow::setReflect(int reflect) {
    if (reflect == reflect_ && (isComputing() || result_)) return;
    reflect_ = reflect;
    start();
}

void BacktestWindow::setDraws(const DrawTable& table) {
    // The slices read the copy: stop them before it changes.
    slices_.stop();
    replay_.reset();
    draws_ = table;
    start();
}

void BacktestWindow::start() {
    const BacktestRange range = defaultBacktestRange(draws_, reflect_);
    replay_ = std::make_unique<BacktestReplay>(draws_, range, reflect_);
    clock_.start();
    progress_->setValue(0);
    status_->setText(QStringLiteral("過去の当選で予想を検証しています…"));
    setComputingView(true);
    slices_.start(0);
}

void BacktestWindow::computeSlice() {
    QElapsedTimer slice;
    slice.start();
    while (!replay_->advance(kSliceRows))
        if (slice.elapsed() >= kSliceMilliseconds) break;
    if (replay_->done()) {
        finish();
        return;
    }
    progress_->setValue(static_cast<int>(1000.0 * replay_->rowsRead() /
                                         std::max<std::size_t>(1, replay_->rowsInAll())));
    if (clock_.elapsed() >= kBlinkMilliseconds) {
        progress_->show();
        cancel_->show();
    }
}

void BacktestWindow::cancel() {
    if (!isComputing()) return;
    slices_.stop();
    replay_.reset();
    setComputingView(false);
    restart_->show();
    status_->setText(QStringLiteral("検証を中止しました。"));
    emit computed();
}

void BacktestWindow::finish() {
    slices_.stop();
    BacktestResult r = std::move(replay_->result());
    replay_.reset();
    tallyOutcomes(r);
    result_ = std::move(r);
    setComputingView(false);
    showFigures();
    emit computed();
}

void BacktestWindow::setComputingView(bool computing) {
    // The bar and the stop button wait for the first blink to pass.
    progress_->setVisible(computing && clock_.elapsed() >= kBlinkMilliseconds);
    cancel_->setVisible(progress_->isVisible());
    restart_->hide();
    if (computing)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void BacktestWindow::showFigures() {
    const BacktestResult& r = *result_;
    status_->setText(r.draws.empty() ? QStringLiteral("検証できる当選がありません（消去法には 10 + "
                                                      "反映する分析の数 回の当選が要ります）。")
                                     : QString::fromStdString(backtestSummary(r)));
    table_->setGrid(backtestGrid(r));
    // Every row shows, with room for the scroll bar a narrow window needs.
    table_->setFixedHeight(table_->sizeHint().height() +
                           table_->horizontalScrollBar()->sizeHint().height());
    const int chosen = std::max(0, method_->currentIndex());
    const QSignalBlocker quiet(method_);
    method_->clear();
    for (const MethodTally& m : r.methods)
        method_->addItem(QString::fromStdString(m.name));
    method_->setCurrentIndex(chosen);
    showChart();
}

void BacktestWindow::showChart() {
    chart_->removeAllSeries();
    for (QAbstractAxis* axis : chart_->axes()) {
        chart_->removeAxis(axis); // gives the axis back to us
        delete axis;
    }
    const int m = method_->currentIndex();
    if (!result_ || m < 0) return;
    const MethodTally& tally = result_->methods[m];
    chart_->setTitle(QString::fromStdString(tally.name) +
                     QStringLiteral("：累積の的中数 − 偶然の期待値"));
    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    auto* line = new QLineSeries;
    for (const ExcessPoint& p : cumulativeExcess(*result_, m, kChartPoints)) {
        upper->append(p.drawNo, 2 * p.sigma);
        lower->append(p.drawNo, -2 * p.sigma);
        line->append(p.drawNo, p.excess);
    }
    auto* band = new QAreaSeries(upper, lower);
    upper->setParent(band); // the band does not own its edges
    lower->setParent(band);
    band->setName(QStringLiteral("偶然の ±2σ"));
    band->setBrush(colour(palette::ChartBand));
    band->setPen(QPen(colour(palette::ChartLine), 1));
    line->setName(QStringLiteral("累積の的中数 − 偶然の期待値"));
    line->setPen(QPen(QColor(208, 0, 0), 1.5));
    chart_->addSeries(band);
    chart_->addSeries(line);
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("回"));
    x->setLabelFormat(QStringLiteral("%d"));
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("的中数の差"));
    chart_->addAxis(x, Qt::AlignBottom);
    chart_->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart_->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    placeTicks(*x, *y, *line, *upper);
    if (tally.draws == 0) chart_->setTitle(chart_->title() + QStringLiteral("（予想なし）"));
}

} // namespace n4
