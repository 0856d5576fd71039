#pragma once
// The group 購入していたら of the 買い目作成 window: buys every number the
// filter passes, one unit, on every draw of a range the user types, and shows
// what that would have cost and won beside buying all 10,000 numbers, with
// the balance over the draws as a chart. The pass runs on a worker thread;
// after a blink a busy bar and 中止 show, and the window never waits for it.
#include <QGroupBox>
#include <memory>
#include <thread>

#include "core/numbers/IfBought.h"

class QChart;
class QChartView;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace n4 {

class GridView;

class IfBoughtPanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit IfBoughtPanel(QWidget* parent = nullptr);
    ~IfBoughtPanel() override;

    // The draws to buy on; figures shown are computed again over them.
    void setDraws(const DrawTable& table);
    // The filter as the window now has it; figures shown for another one are
    // marked as such until computed again.
    void setFilter(const NumberFilter& filter, BuyKind kind);

    // 計算: over the typed range; false (with the hint shown) when it is not valid.
    bool start();
    void cancel();
    bool isComputing() const { return worker_.joinable(); }
    const IfBoughtResult* result() const { return shown_ ? &*shown_ : nullptr; }

    QLineEdit* fromEdit() const { return from_; }
    QLineEdit* toEdit() const { return to_; }
    QPushButton* computeButton() const { return compute_; }
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* hintLabel() const { return hint_; }
    QLabel* summaryLabel() const { return summary_; }
    QLabel* unknownLabel() const { return unknown_; }
    GridView* tableView() const { return table_; }
    QChartView* chartView() const { return chartView_; }

  signals:
    // A pass ended: finished, stopped or refused.
    void computed();

  private:
    struct Run;
    void buildControls();
    bool checkRange(int& from, int& to);
    void finish(const std::shared_ptr<Run>& run);
    void stopWorker();
    void showFigures();
    void showChart();
    void setComputingView(bool computing);

    DrawTable draws_;
    NumberFilter filter_;
    BuyKind kind_ = BuyKind::Straight;
    std::shared_ptr<Run> run_;
    std::thread worker_;
    std::unique_ptr<IfBoughtResult> shown_;
    NumberFilter shownFilter_;
    BuyKind shownKind_ = BuyKind::Straight;

    QLineEdit *from_ = nullptr, *to_ = nullptr;
    QPushButton *compute_ = nullptr, *cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel *hint_ = nullptr, *summary_ = nullptr, *unknown_ = nullptr;
    GridView* table_ = nullptr;
    QChart* chart_ = nullptr;
    QChartView* chartView_ = nullptr;
};

// Red text for what the window cannot take as typed, or for a warning.
void markAsHint(QLabel* label, bool hint = true);

// A draw number as typed into a range: empty gives 0 (no bound); half- or
// full-width digits, 「第」 and 「回」 allowed. False with a hint otherwise.
bool parseDrawNoBound(const QString& text, int& drawNo, QString& hint);

} // namespace n4
