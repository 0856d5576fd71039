#pragma once
// The prediction window 一発マーヴォ: the analysis options panel and the four
// result grids. The options and the engine's stores belong to the main
// window for the whole run, so they outlive this window.
#include <QWidget>
#include <array>

#include "core/store/DrawTable.h"

class QLabel;
class QAction;
class QRadioButton;
class QPushButton;

namespace n4 {

struct AnalysisOptions;
class PredictionEngine;
class GridView;

class PredictionWindow : public QWidget {
    Q_OBJECT
  public:
    PredictionWindow(AnalysisOptions& options, PredictionEngine& engine, const DrawTable& table,
                     int latestDrawNo, QWidget* parent = nullptr);

    QRadioButton* reflectButton(int k) const { return reflect_[k]; }
    QRadioButton* noReflectButton(int k) const { return noReflect_[k]; }
    GridView* gridView(int g) const { return views_[g]; }
    QPushButton* closeButton() const { return close_; }
    // "第N回の予想": the draw the prediction is for (the latest complete draw + 1).
    QLabel* targetLabel() const { return target_; }
    // With no draws yet: one line saying how to begin (hidden otherwise).
    QLabel* firstStepsLabel() const { return firstSteps_; }

    // The draw table changed: scan it again and show the new prediction in place.
    void setDraws(const DrawTable& table, int latestDrawNo);
    // The context menu's "過去の当選で検証…".
    QAction* backtestAction() const { return backtest_; }

  signals:
    void closeRequested();
    void backtestRequested();
    // An option click changed how many analyses are reflected.
    void reflectedCountChanged(int reflectedCount);

  private:
    void buildOptionsPanel();
    void buildPredictionPanel();
    void RestoreOptionButtons();
    void onOptionClicked(int k, bool reflect);
    void showGrids();
    void fitGrids();
    void shareGrid(GridView* view);

    AnalysisOptions& options_;
    PredictionEngine& engine_;
    std::array<QRadioButton*, 12> reflect_{}, noReflect_{};
    std::array<GridView*, 4> views_{};
    QPushButton* close_ = nullptr;
    QLabel* target_ = nullptr;
    QLabel* firstSteps_ = nullptr;
    QAction* backtest_ = nullptr;
};

} // namespace n4
