#pragma once
// The Qt widget that paints a Grid. It paints only the visible cells, so
// opening and scrolling cost the same for ten draws and for thirty thousand.
// Title rows and label columns can be frozen: they stay in view while the
// rest scrolls, as a spreadsheet's frozen panes do. Cells can be selected
// with the mouse and copied with Ctrl+C as TSV.
//
// Units: a row height of h is h/64 inch (1.5 pixels at 96 dpi); a column
// width of w is w width units, and the width unit is chosen per view so that
// a window's grid fills the width its window gives it (fitColumnsToWidth).

#include <QAbstractScrollArea>
#include <QRect>
#include <vector>

#include "grid/Grid.h"

namespace n4 {

class GridView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // Cell texts keep this many pixels from the lines on either side.
    static constexpr int kTextPadding = 2;
    // The grid font: small enough that the widest header of a five-unit
    // column ("第1数字") fits with its padding in the narrowest window.
    static constexpr double kFontPoints = 7.5;

    explicit GridView(QWidget* parent = nullptr);

    void setGrid(Grid grid);
    const Grid& grid() const { return grid_; }

    // Pixels per unit of column width.
    double widthUnit() const { return unit_; }
    void setWidthUnit(double pixels);
    // The unit at which the columns fill the given width without passing it.
    void fitColumnsToWidth(int pixels);
    // The width the columns may take at the view's present size without a
    // horizontal scroll bar (a vertical one is allowed for when the rows need it).
    int columnRoom() const;

    // The first rows and columns that stay in view while the rest scrolls.
    void setFrozen(int cols, int rows);
    int frozenCols() const { return frozenCols_; }
    int frozenRows() const { return frozenRows_; }

    // Scrolls to the last rows and keeps them in view while the view is
    // resized, until the user scrolls elsewhere.
    void showLatestRows();

    // Pixel geometry in the grid's own coordinates (no scrolling).
    int columnX(int col) const { return colX_[col - 1]; }
    int rowY(int row) const { return rowY_[row - 1]; }
    int totalWidth() const { return colX_.back(); }
    int totalHeight() const { return rowY_.back(); }
    // A cell's rectangle in the viewport, frozen panes and scrolling applied.
    QRect cellRect(int col, int row) const;
    // The cell under a viewport point; (0, 0) when none.
    QPoint cellAt(const QPoint& viewportPos) const;
    // The cell's text shows whole, clear of the lines: within its cell or
    // the empty cells it runs on over.
    bool textFits(int col, int row) const;

    // Selected block (col1, row1, col2, row2), or an empty rect when none.
    QRect selection() const { return selection_; }
    void selectBlock(int col1, int row1, int col2, int row2);
    QString selectionAsTsv() const;
    void copySelection() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // A part of the viewport that scrolls one way, both or neither.
    struct Pane {
        QRect clip;
        int c1, r1, c2, r2;
    };
    void layoutGeometry();
    void updateScrollBars();
    int frozenWidth() const { return colX_[frozenCols_]; }
    int frozenHeight() const { return rowY_[frozenRows_]; }
    int xOffset(int col) const;
    int yOffset(int row) const;
    std::vector<Pane> panes() const;
    void paintPane(QPainter& p, const Pane& pane);
    void paintBackgrounds(QPainter& p, const Pane& pane);
    void paintBorders(QPainter& p, const Pane& pane);
    void paintTexts(QPainter& p, const Pane& pane);
    void paintSelection(QPainter& p, const Pane& pane);
    QRect textSpan(int col, int row, int textWidth) const;

    Grid grid_;
    double unit_ = 0;
    int frozenCols_ = 0, frozenRows_ = 0;
    bool keepLatest_ = false, adjusting_ = false;
    std::vector<int> colX_{0}, rowY_{0}; // left / top edges, one past the end included
    QRect selection_;
    QPoint anchor_;
};

} // namespace n4
