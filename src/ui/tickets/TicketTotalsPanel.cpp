#include "ui/tickets/TicketTotalsPanel.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QSpinBox>
#include <QValueAxis>
#include <algorithm>

#include "core/store/DrawDetailsText.h"
#include "ui/numbers/IfBoughtPanel.h"

namespace n4 {

namespace {

QString yen(long long value) {
    return QString::fromStdString(groupedDigits(value)) + QStringLiteral("円");
}

QString hitLabel(Hit hit) {
    TicketDrawResult r;
    r.outcome = TicketOutcome::Won;
    r.hit = hit;
    return QString::fromStdString(outcomeText(r));
}

} // namespace

TicketTotalsPanel::TicketTotalsPanel(QWidget* parent) : QWidget(parent) {
    buildControls();
    showTotals();
}

void TicketTotalsPanel::buildControls() {
    periodBox_ = new QComboBox(this);
    periodBox_->setObjectName(QStringLiteral("cboPeriod"));
    periodBox_->setAccessibleName(QStringLiteral("集計する期間"));
    periodBox_->addItems({QStringLiteral("全期間"), QStringLiteral("年"), QStringLiteral("月"),
                          QStringLiteral("回の範囲")});
    const QDate today = QDate::currentDate();
    year_ = new QSpinBox(this);
    year_->setObjectName(QStringLiteral("spnYear"));
    year_->setAccessibleName(QStringLiteral("年"));
    year_->setRange(1994, 2099);
    year_->setValue(today.year());
    year_->setSuffix(QStringLiteral("年"));
    month_ = new QSpinBox(this);
    month_->setObjectName(QStringLiteral("spnMonth"));
    month_->setAccessibleName(QStringLiteral("月"));
    month_->setRange(1, 12);
    month_->setValue(today.month());
    month_->setSuffix(QStringLiteral("月"));
    from_ = new QLineEdit(this);
    from_->setObjectName(QStringLiteral("txtFrom"));
    from_->setAccessibleName(QStringLiteral("最初の回"));
    from_->setPlaceholderText(QStringLiteral("最初の回"));
    to_ = new QLineEdit(this);
    to_->setObjectName(QStringLiteral("txtTo"));
    to_->setAccessibleName(QStringLiteral("最後の回"));
    to_->setPlaceholderText(QStringLiteral("最後の回"));
    for (QLineEdit* e : {from_, to_})
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("最後の回00")));
    hint_ = new QLabel(this);
    markAsHint(hint_);
    figures_ = new QLabel(this);
    figures_->setObjectName(QStringLiteral("lblTotals"));
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    figures_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    chart_ = new QChart;
    chart_->legend()->hide();
    chartView_ = new QChartView(chart_, this);
    chartView_->setObjectName(QStringLiteral("chtBalance"));
    chartView_->setAccessibleName(QStringLiteral("収支の推移"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumWidth(260);

    auto* choose = new QHBoxLayout;
    choose->addWidget(new QLabel(QStringLiteral("集計:"), this));
    for (QWidget* w : std::initializer_list<QWidget*>{periodBox_, year_, month_, from_, to_})
        choose->addWidget(w);
    choose->addWidget(hint_, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(choose);
    left->addWidget(figures_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left);
    layout->addWidget(chartView_, 1);

    connect(periodBox_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &TicketTotalsPanel::showTotals);
    for (QSpinBox* s : {year_, month_})
        connect(s, qOverload<int>(&QSpinBox::valueChanged), this, &TicketTotalsPanel::showTotals);
    for (QLineEdit* e : {from_, to_})
        connect(e, &QLineEdit::textChanged, this, &TicketTotalsPanel::showTotals);
}

TicketPeriod TicketTotalsPanel::period() const {
    TicketPeriod p;
    p.kind = static_cast<TicketPeriod::Kind>(periodBox_->currentIndex());
    p.year = year_->value();
    p.month = month_->value();
    QString unused;
    parseDrawNoBound(from_->text(), p.from, unused);
    parseDrawNoBound(to_->text(), p.to, unused);
    return p;
}

void TicketTotalsPanel::setChecked(const std::vector<CheckedTicket>& checked) {
    checked_ = checked;
    showTotals();
}

void TicketTotalsPanel::showTotals() {
    const TicketPeriod::Kind kind = static_cast<TicketPeriod::Kind>(periodBox_->currentIndex());
    year_->setVisible(kind == TicketPeriod::Year || kind == TicketPeriod::Month);
    month_->setVisible(kind == TicketPeriod::Month);
    from_->setVisible(kind == TicketPeriod::Draws);
    to_->setVisible(kind == TicketPeriod::Draws);
    QString hint;
    int bound = 0;
    if (kind == TicketPeriod::Draws && (!parseDrawNoBound(from_->text(), bound, hint) ||
                                        !parseDrawNoBound(to_->text(), bound, hint)))
        hint_->setText(hint);
    else
        hint_->clear();
    totals_ = totalTickets(checked_, period());
    const TicketTotals& t = totals_;
    QString text =
        QStringLiteral("購入額　%1\n当せん金　%2\n収支　%3\n回収率　%4\n")
            .arg(yen(t.spent), yen(t.won), yen(t.balance()),
                 t.spent > 0 ? QString::number(100.0 * double(t.won) / double(t.spent), 'f', 1) +
                                   QStringLiteral(" %")
                             : QStringLiteral("－"));
    for (Hit hit : {Hit::Straight, Hit::Box, Hit::SetStraight, Hit::SetBox})
        text += hitLabel(hit) + QStringLiteral("　%1 回\n").arg(t.wonByHit[size_t(hit)]);
    if (t.unknownPrizes > 0)
        text += QStringLiteral("賞金未取得の当せん %1 回（当せん金に含めていません）\n")
                    .arg(t.unknownPrizes);
    if (t.pending > 0)
        text += QStringLiteral("抽せん前 %1 回分（購入額に含めています）\n").arg(t.pending);
    if (t.missing > 0) text += QStringLiteral("結果なし %1 回分\n").arg(t.missing);
    figures_->setText(text.trimmed());
    showChart();
}

void TicketTotalsPanel::showChart() {
    chart_->removeAllSeries();
    for (QAbstractAxis* a : chart_->axes()) {
        chart_->removeAxis(a);
        delete a;
    }
    chart_->setTitle(QStringLiteral("収支の推移（円）"));
    if (totals_.drawNos.empty()) return;
    auto* line = new QLineSeries;
    line->setPen(QPen(QColor(208, 0, 0), 1.5));
    line->setPointsVisible(totals_.drawNos.size() < 60);
    for (size_t i = 0; i < totals_.drawNos.size(); ++i)
        line->append(totals_.drawNos[i], static_cast<double>(totals_.balances[i]));
    chart_->addSeries(line);
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("回"));
    x->setLabelFormat(QStringLiteral("%d"));
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%.0f"));
    chart_->addAxis(x, Qt::AlignBottom);
    chart_->addAxis(y, Qt::AlignLeft);
    line->attachAxis(x);
    line->attachAxis(y);
    // A flat line or one point still gets a scale around it.
    const auto [low, high] = std::minmax_element(totals_.balances.begin(), totals_.balances.end());
    const double margin = *low == *high ? 1000.0 : 0.0;
    y->setRange(static_cast<double>(*low) - margin, static_cast<double>(*high) + margin);
    y->applyNiceNumbers();
    x->setRange(totals_.drawNos.front() - 1, totals_.drawNos.back() + 1);
}

} // namespace n4
