#pragma once
// The common frame of the analysis windows: along the top the description
// label, the legend beside it, the print button and the close button,
// on one row where the description fits beside the rest (on two lines where
// it does not), then the grid, whose columns fill the window's width when it
// opens.
#include <QLabel>
#include <QWidget>

#include "core/grid/Grid.h"
#include "paint/GridPicture.h"
#include "ui/grid/OneLineLabel.h"

class QPushButton;

namespace n4 {

class GridView;

// The buttons every window shares: "閉じる" on light yellow and the print
// button "印刷" on pink; the window connects the print button to its grid's
// 印刷… (GridViewMenu).
QPushButton* makeCloseButton(QWidget* parent);
QPushButton* makePrintButton(QWidget* parent);
// A small picture drawn by the program (no image files).
QLabel* makeLegendPicture(LegendPicture kind, QWidget* parent);

class AnalysisFrame : public QWidget {
    Q_OBJECT
  public:
    AnalysisFrame(const QString& label, bool printButton, QWidget* parent = nullptr);

    // A legend entry: a picture followed by its text, in order of addition;
    // printed pages show it too.
    void addLegend(LegendPicture picture, const QString& text);
    void setGrid(Grid grid);
    // Title rows and label columns kept in view; whether the grid opens at
    // its last rows, the latest draws.
    void setPanes(int frozenRows, int frozenCols, bool opensAtLatest);
    GridView* gridView() const { return view_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* printButton() const { return print_; }

  signals:
    void closeRequested();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    OneLineLabel* label_;
    QWidget* legendBox_;
    QPushButton* print_ = nullptr;
    QPushButton* close_;
    GridView* view_;
    bool opensAtLatest_ = false;
    bool shown_ = false;
};

} // namespace n4
