#pragma once
// The ledger's balance over a period the user picks (all, a year, a month or
// a range of draws): spent, won, the balance and the return, the wins by
// kind, and the balance draw by draw as a chart.
#include <QWidget>

#include "core/tickets/TicketCheck.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace n4 {

class TicketTotalsPanel : public QWidget {
    Q_OBJECT
  public:
    explicit TicketTotalsPanel(QWidget* parent = nullptr);

    // The checked tickets to total; shown again for the period chosen.
    void setChecked(const std::vector<CheckedTicket>& checked);
    TicketPeriod period() const;
    const TicketTotals& totals() const { return totals_; }

    QComboBox* periodBox() const { return periodBox_; }
    QSpinBox* yearBox() const { return year_; }
    QSpinBox* monthBox() const { return month_; }
    QLineEdit* fromEdit() const { return from_; }
    QLineEdit* toEdit() const { return to_; }
    QLabel* figuresLabel() const { return figures_; }
    QChartView* chartView() const { return chartView_; }

  private:
    void buildControls();
    void showTotals();
    void showChart();

    std::vector<CheckedTicket> checked_;
    TicketTotals totals_;
    QComboBox* periodBox_;
    QSpinBox *year_, *month_;
    QLineEdit *from_, *to_;
    QLabel *figures_, *hint_;
    QChart* chart_;
    QChartView* chartView_;
};

} // namespace n4
