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
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/grid/Palette.h"
#include "core/prediction/BacktestExport.h"
#include "core/prediction/BacktestTable.h"
#include "core/prediction/BacktestWording.h"
#include "paint/GridPainter.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewMenu.h"
#include "ui/prediction/ChartViewMenu.h"

namespace n4 {

namespace {

// A slice reads this many rows; slices run until this much time has gone,
// then the window lets its events in.
constexpr std::size_t kSliceRows = 2048;
constexpr int kSliceMilliseconds = 30;
// Longer than a blink: the progress bar and the stop button show.
constexpr int kBlinkMilliseconds = 150;
constexpr std::size_t kChartPoints = 800;
const QString kTitle = QString::fromUtf8(kBacktestCaption);

QString joined(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines)
        out << QString::fromStdString(line);
    return out.join(QLatin1Char('\n'));
}

QLabel* wrappedLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

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
    setObjectName(kTitle);
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
    table_->setFont(figuresFont()); // its decimal points read as points
    table_->menu()->setTitle(kTitle);
    table_->menu()->setPageMaker([this] {
        if (!result_) return HtmlPage{kTitle.toStdString(), status_->text().toStdString(), {}, ""};
        return backtestPage(*result_, table_->grid());
    });
    table_->setAccessibleName(QStringLiteral("予想手法ごとの検証結果"));

    pages_ = new QTabWidget(this);
    pages_->addTab(buildWordsPage(), QStringLiteral("結果の説明"));
    pages_->addTab(buildChartPage(), QStringLiteral("グラフ"));
    pages_->setAccessibleName(QStringLiteral("検証結果の説明とグラフ"));
    pages_->tabBar()->setAccessibleName(pages_->accessibleName());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_);
    layout->addWidget(pages_, 1);
}

QWidget* BacktestWindow::buildWordsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(4);
    for (QLabel*& sentence : sentences_)
        layout->addWidget(sentence = wrappedLabel(page));
    notes_ = wrappedLabel(page);
    notes_->setText(joined(backtestNotes()));
    layout->addSpacing(6);
    layout->addWidget(notes_);
    layout->addStretch(1);
    return page;
}

QWidget* BacktestWindow::buildChartPage() {
    auto* page = new QWidget(this);
    method_ = new QComboBox(page);
    method_->setObjectName(QStringLiteral("グラフの予想手法"));
    method_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    method_->setAccessibleName(QStringLiteral("グラフの予想手法")); // as its label says
    connect(method_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &BacktestWindow::showChart);
    auto* chooser = new QHBoxLayout;
    chooser->addWidget(new QLabel(QStringLiteral("グラフの予想手法:"), page));
    chooser->addWidget(method_);
    chooser->addStretch(1);

    chart_ = new QChart;
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chartView_ = new QChartView(chart_, page);
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumHeight(260);
    chartMenu_ = new ChartViewMenu(chartView_);
    chartView_->setAccessibleName(QStringLiteral("予想手法の検証グラフ"));

    chartNote_ = wrappedLabel(page);
    chartNote_->setText(QString::fromStdString(backtestChartNote()));

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(chooser);
    layout->addWidget(chartView_, 1);
    layout->addWidget(chartNote_);
    return page;
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
    for (int m = 0; m < kBacktestMethods; ++m)
        sentences_[m]->setText(QString::fromStdString(backtestSentence(r.methods[m])));
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
    const QString name = QString::fromStdString(tally.name).trimmed();
    chart_->setTitle(name + QStringLiteral("：当たった桁の数 − 偶然の平均（累積）"));
    chartMenu_->setTitle(kTitle + QStringLiteral("（") + name + QStringLiteral("）"));
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
    band->setName(QStringLiteral("偶然の範囲 ±2σ（偶然ならおよそ 95 % がこの中）"));
    band->setBrush(colour(palette::ChartBand));
    band->setPen(QPen(colour(palette::ChartLine), 1));
    line->setName(QStringLiteral("当たった桁の数 − 偶然の平均（累積）"));
    line->setPen(QPen(QColor(208, 0, 0), 1.5));
    chart_->addSeries(band);
    chart_->addSeries(line);
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("回"));
    x->setLabelFormat(QStringLiteral("%d"));
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("当たった桁の差"));
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
