#pragma once
// The window 予想の検証: how the prediction would have done on every past
// draw, against pure chance, with the prediction window's current options.
// It computes in slices between events, shows a progress bar when that takes
// longer than a blink, and can be stopped.
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "core/prediction/Backtest.h"
#include "core/store/DrawTable.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace n4 {

class GridView;

class BacktestWindow : public QWidget {
    Q_OBJECT
  public:
    BacktestWindow(const DrawTable& table, int reflect, QWidget* parent = nullptr);
    ~BacktestWindow() override;

    // Computes again with another number of reflected options.
    void setReflect(int reflect);
    // Computes again over the draws as they now are (after an import or an edit).
    void setDraws(const DrawTable& table);
    void cancel();
    bool isComputing() const { return replay_ != nullptr; }
    int reflect() const { return reflect_; }
    // The figures shown; none while the first computation runs or after a stop.
    const BacktestResult* result() const { return result_ ? &*result_ : nullptr; }

    GridView* tableView() const { return table_; }
    QChartView* chartView() const { return chartView_; }
    QComboBox* methodChooser() const { return method_; }
    QProgressBar* progressBar() const { return progress_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* restartButton() const { return restart_; }
    QLabel* statusLabel() const { return status_; }

  signals:
    void closeRequested();
    // A computation ended, finished or stopped.
    void computed();

  private:
    void buildControls();
    void start();
    void computeSlice();
    void finish();
    void showFigures();
    void showChart();
    void setComputingView(bool computing);

    DrawTable draws_; // the draws it was opened with, read between events
    int reflect_;
    std::unique_ptr<BacktestReplay> replay_;
    std::optional<BacktestResult> result_;
    QTimer slices_;
    QElapsedTimer clock_;

    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* restart_ = nullptr;
    GridView* table_ = nullptr;
    QComboBox* method_ = nullptr;
    QChart* chart_ = nullptr;
    QChartView* chartView_ = nullptr;
};

} // namespace n4
