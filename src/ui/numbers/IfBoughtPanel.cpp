#include "ui/numbers/IfBoughtPanel.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <atomic>

#include "core/numbers/NumberBuilderTables.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewMenu.h"

namespace n4 {

namespace {

// Longer than a blink: the busy bar and the stop button show.
constexpr int kBlinkMilliseconds = 150;
constexpr int kChartPoints = 800;

bool sameFilter(const NumberFilter& a, const NumberFilter& b) {
    return a.positions == b.positions && a.anyOrder == b.anyOrder && a.sumMin == b.sumMin &&
           a.sumMax == b.sumMax && a.evenCounts == b.evenCounts && a.lowCounts == b.lowCounts &&
           a.types == b.types && a.must == b.must && a.mustNot == b.mustNot &&
           a.notDrawnInOrder == b.notDrawnInOrder && a.notDrawnAnyOrder == b.notDrawnAnyOrder;
}

// The balances in 万円, at most kChartPoints of them, the last always among them.
QLineSeries* balanceLine(const BoughtFigures& f, const QString& name, const QColor& colour) {
    auto* line = new QLineSeries;
    line->setName(name);
    line->setPen(QPen(colour, 1.5));
    const size_t n = f.balances.size();
    const size_t step = std::max<size_t>(1, n / kChartPoints);
    for (size_t i = 0; i < n; i += step)
        line->append(f.drawNos[i], static_cast<double>(f.balances[i]) / 10000.0);
    if (n > 0 && (n - 1) % step != 0)
        line->append(f.drawNos[n - 1], static_cast<double>(f.balances[n - 1]) / 10000.0);
    return line;
}

QValueAxis* axis(const QString& title, const QColor& colour) {
    auto* a = new QValueAxis;
    a->setTitleText(title);
    a->setLabelsColor(colour);
    a->setLabelFormat(QStringLiteral("%.0f"));
    return a;
}

} // namespace

struct IfBoughtPanel::Run {
    std::atomic<bool> stop{false};
    IfBoughtResult result;
    NumberFilter filter;
    BuyKind kind = BuyKind::Straight;
};

void markAsHint(QLabel* label, bool hint) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText,
               hint ? QColor(208, 0, 0)
                    : label->parentWidget()->palette().color(QPalette::WindowText));
    label->setPalette(p);
}

bool parseDrawNoBound(const QString& text, int& drawNo, QString& hint) {
    QString t = text.normalized(QString::NormalizationForm_KC).trimmed();
    if (t.startsWith(QStringLiteral("第"))) t.remove(0, 1);
    if (t.endsWith(QStringLiteral("回"))) t.chop(1);
    t = t.trimmed();
    drawNo = 0;
    if (t.isEmpty()) return true;
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n < 1 || n > kMaxDrawNo || t.contains(QLatin1Char('+')) ||
        t.contains(QLatin1Char('-'))) {
        hint = QStringLiteral("「%1」は回数として読めません。1～%2 の数字で入力してください。")
                   .arg(text.trimmed())
                   .arg(kMaxDrawNo);
        return false;
    }
    drawNo = n;
    return true;
}

IfBoughtPanel::IfBoughtPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("購入していたら"), parent) {
    buildControls();
    setComputingView(false);
}

IfBoughtPanel::~IfBoughtPanel() {
    stopWorker();
}

void IfBoughtPanel::buildControls() {
    from_ = new QLineEdit(this);
    to_ = new QLineEdit(this);
    from_->setObjectName(QStringLiteral("購入開始回"));
    to_->setObjectName(QStringLiteral("購入終了回"));
    from_->setPlaceholderText(QStringLiteral("最初"));
    to_->setPlaceholderText(QStringLiteral("最新"));
    for (QLineEdit* e : {from_, to_}) {
        e->setMaximumWidth(70);
        connect(e, &QLineEdit::textChanged, this, [this] {
            int from = 0, to = 0;
            checkRange(from, to);
        });
    }
    compute_ = new QPushButton(QStringLiteral("計算"), this);
    compute_->setToolTip(QStringLiteral(
        "条件に合う番号をすべて、範囲の毎回 1 口ずつ買っていたらどうなったかを計算します。"
        "条件はその回より前の当選だけで判断します。"));
    cancel_ = new QPushButton(QStringLiteral("中止"), this);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 0); // busy: the pass does not tell how far it is
    progress_->setMaximumWidth(120);
    connect(compute_, &QPushButton::clicked, this, &IfBoughtPanel::start);
    connect(cancel_, &QPushButton::clicked, this, &IfBoughtPanel::cancel);
    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("範囲: 第"), this));
    range->addWidget(from_);
    range->addWidget(new QLabel(QStringLiteral("回～第"), this));
    range->addWidget(to_);
    range->addWidget(new QLabel(QStringLiteral("回"), this));
    range->addWidget(compute_);
    range->addWidget(progress_);
    range->addWidget(cancel_);
    range->addStretch(1);

    hint_ = new QLabel(this);
    markAsHint(hint_);
    hint_->setWordWrap(true);
    hint_->hide();
    summary_ = new QLabel(this);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    unknown_ = new QLabel(this);
    unknown_->hide();
    markAsHint(unknown_);
    table_ = new GridView(this);
    table_->menu()->setTitle(QStringLiteral("購入していたら"));
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setGrid(ifBoughtGrid(IfBoughtResult{}));
    table_->setFixedSize(table_->sizeHint());

    chart_ = new QChart;
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chartView_ = new QChartView(chart_, this);
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumSize(360, 240);
    chart_->setTitle(QStringLiteral("「計算」で収支の推移を描きます"));

    auto* figures = new QHBoxLayout;
    figures->addWidget(table_, 0, Qt::AlignTop);
    figures->addWidget(chartView_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(hint_);
    layout->addWidget(summary_);
    layout->addWidget(unknown_);
    layout->addLayout(figures, 1);
}

bool IfBoughtPanel::checkRange(int& from, int& to) {
    QString hint;
    bool ok =
        parseDrawNoBound(from_->text(), from, hint) && parseDrawNoBound(to_->text(), to, hint);
    if (ok && from > 0 && to > 0 && from > to) {
        hint = QStringLiteral("範囲の始めの回が終わりの回より後です。");
        ok = false;
    }
    hint_->setText(hint);
    hint_->setVisible(!ok);
    compute_->setEnabled(ok);
    return ok;
}

void IfBoughtPanel::setDraws(const DrawTable& table) {
    const bool again = shown_ || isComputing();
    stopWorker();
    draws_ = table;
    if (again) start();
}

void IfBoughtPanel::setFilter(const NumberFilter& filter, BuyKind kind) {
    filter_ = filter;
    kind_ = kind;
    if (shown_) showFigures();
}

bool IfBoughtPanel::start() {
    int from = 0, to = 0;
    if (!checkRange(from, to)) {
        emit computed();
        return false;
    }
    stopWorker();
    auto run = std::make_shared<Run>();
    run->filter = filter_;
    run->kind = kind_;
    run_ = run;
    // The worker reads its own copies: the window may take new draws meanwhile.
    worker_ = std::thread([this, run, draws = draws_, from, to] {
        run->result = ifBought(run->filter, draws, run->kind, from, to, &run->stop);
        QMetaObject::invokeMethod(
            this, [this, run] { finish(run); }, Qt::QueuedConnection);
    });
    setComputingView(true);
    summary_->setText(QStringLiteral("計算しています…"));
    QTimer::singleShot(kBlinkMilliseconds, this, [this, run] {
        if (run_ == run) {
            progress_->show();
            cancel_->show();
        }
    });
    return true;
}

void IfBoughtPanel::stopWorker() {
    if (run_) run_->stop = true;
    if (worker_.joinable()) worker_.join();
    run_.reset();
}

void IfBoughtPanel::cancel() {
    if (!isComputing()) return;
    stopWorker();
    setComputingView(false);
    summary_->setText(QStringLiteral("計算を中止しました。"));
    emit computed();
}

void IfBoughtPanel::finish(const std::shared_ptr<Run>& run) {
    if (run != run_) return; // stopped or replaced meanwhile
    worker_.join();
    run_.reset();
    setComputingView(false);
    shown_ = std::make_unique<IfBoughtResult>(std::move(run->result));
    shownFilter_ = run->filter;
    shownKind_ = run->kind;
    showFigures();
    showChart();
    emit computed();
}

void IfBoughtPanel::setComputingView(bool computing) {
    progress_->hide(); // until a blink has passed
    cancel_->hide();
    compute_->setEnabled(!computing && hint_->isHidden());
    if (computing)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void IfBoughtPanel::showFigures() {
    if (!shown_ || isComputing()) return;
    QString summary = QString::fromStdString(ifBoughtSummary(*shown_, shownKind_));
    if (!sameFilter(shownFilter_, filter_) || shownKind_ != kind_)
        summary += QStringLiteral("\n（前の条件での結果です。今の条件は「計算」で求めます。）");
    summary_->setText(summary);
    unknown_->setText(QString::fromStdString(unknownPrizesText(*shown_)));
    unknown_->setVisible(!unknown_->text().isEmpty());
    table_->setGrid(ifBoughtGrid(*shown_));
}

void IfBoughtPanel::showChart() {
    chart_->removeAllSeries();
    for (QAbstractAxis* a : chart_->axes()) {
        chart_->removeAxis(a); // gives the axis back to us
        delete a;
    }
    if (!shown_ || shown_->filtered.draws == 0) return;
    chart_->setTitle(QStringLiteral("収支の推移（万円）"));
    const QColor mine(208, 0, 0), every(90, 90, 90);
    QLineSeries* filtered =
        balanceLine(shown_->filtered, QStringLiteral("条件に合う番号（左の目盛）"), mine);
    QLineSeries* all =
        balanceLine(shown_->all, QStringLiteral("全 10,000 番号（右の目盛）"), every);
    chart_->addSeries(filtered);
    chart_->addSeries(all);
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("回"));
    x->setLabelFormat(QStringLiteral("%d"));
    chart_->addAxis(x, Qt::AlignBottom);
    // Each on its own scale: all 10,000 numbers spend far more a draw.
    QValueAxis* left = axis(QStringLiteral("条件に合う番号"), mine);
    QValueAxis* right = axis(QStringLiteral("全 10,000 番号"), every);
    chart_->addAxis(left, Qt::AlignLeft);
    chart_->addAxis(right, Qt::AlignRight);
    for (auto [series, y] : {std::pair{filtered, left}, std::pair{all, right}}) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    for (QValueAxis* y : {left, right})
        y->applyNiceNumbers();
}

} // namespace n4
