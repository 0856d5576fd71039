#pragma once
// The common frame of the analysis windows: along the top the description
// label, the legend beside it, the print button and the close button,
// on one row where the description fits beside the rest (on two lines where
// it does not), then the grid, whose columns fill the window's width when it
// opens. Ctrl+G goes to a draw in grids that list draws.
#include <QLabel>
#include <QWidget>
#include <functional>

#include "core/grid/Grid.h"
#include "paint/GridPicture.h"
#include "ui/grid/OneLineLabel.h"

class QPushButton;

namespace n4 {

class DrawJump;
class GridView;

// The buttons every window shares: "閉じる" on light yellow and the print
// button "印刷" on pink; the window connects the print button to its grid's
// 印刷… (GridViewMenu).
QPushButton* makeCloseButton(QWidget* parent);
QPushButton* makePrintButton(QWidget* parent);
// A small picture drawn by the program (no image files).
QLabel* makeLegendPicture(LegendPicture kind, QWidget* parent);

// Where a window's grid opens: at its first rows, at its last rows (the
// latest draws), or a few rows above the first where its columns start to
// differ (a table of marks that is full for thousands of rows).
enum class OpensAt { First, Latest, WhereColumnsDiffer };

class AnalysisFrame : public QWidget {
    Q_OBJECT
  public:
    AnalysisFrame(const QString& label, bool printButton, QWidget* parent = nullptr);

    // A legend entry: a picture followed by its text, in order of addition;
    // printed pages show it too.
    void addLegend(LegendPicture picture, const QString& text);
    void setGrid(Grid grid);
    // The grid computed again by make, in the old one's storage (GridView::rebuildGrid).
    void rebuildGrid(const std::function<Grid()>& make);
    // Title rows and label columns kept in view, and where the grid opens.
    void setPanes(int frozenRows, int frozenCols, OpensAt opensAt);
    GridView* gridView() const { return view_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* printButton() const { return print_; }
    // 回号へ移動… (Ctrl+G), offered while the grid lists draws.
    DrawJump* drawJump() const { return jump_; }

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
    DrawJump* jump_;
    OpensAt opensAt_ = OpensAt::First;
    bool shown_ = false;
};

} // namespace n4
