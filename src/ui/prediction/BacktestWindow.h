#pragma once
// The window 予想の検証: how the prediction would have done on every past
// draw, against pure chance, with the prediction window's current options.
// Under the table, one page says in words what each method's figures mean
// and another charts a method's hits against chance. It computes in slices
// between events, shows a progress bar when that takes longer than a blink,
// and can be stopped. The table's menu saves the whole page (HTML として保存…)
// as the command-line tool writes it; the chart's menu saves the chart.
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <array>
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
class QTabWidget;

namespace n4 {

class ChartViewMenu;
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
    ChartViewMenu* chartMenu() const { return chartMenu_; }
    // 結果の説明 (the sentences and notes) first, then グラフ.
    QTabWidget* pages() const { return pages_; }
    // What a method's figures mean, one label for each method in the
    // table's order; then how to read the table, and under the chart what
    // its line and band are.
    QLabel* sentenceLabel(int method) const { return sentences_.at(method); }
    QLabel* notesLabel() const { return notes_; }
    QLabel* chartNoteLabel() const { return chartNote_; }
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
    QWidget* buildWordsPage();
    QWidget* buildChartPage();
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
    ChartViewMenu* chartMenu_ = nullptr;
    QTabWidget* pages_ = nullptr;
    std::array<QLabel*, kBacktestMethods> sentences_{};
    QLabel* notes_ = nullptr;
    QLabel* chartNote_ = nullptr;
};

} // namespace n4
