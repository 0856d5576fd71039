#pragma once
// The Qt widget that paints a Grid. It paints only the visible cells, so
// opening and scrolling cost the same for ten draws and for thirty thousand.
// Cells can be selected with the mouse and copied with Ctrl+C as TSV.

#include <QAbstractScrollArea>
#include <QRect>
#include <vector>

#include "grid/Grid.h"

namespace n4 {

class GridView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit GridView(QWidget* parent = nullptr);

    void setGrid(Grid grid);
    const Grid& grid() const { return grid_; }

    // Pixel geometry of the grid's own units.
    int columnX(int col) const { return colX_[col - 1]; }
    int rowY(int row) const { return rowY_[row - 1]; }
    int totalWidth() const { return colX_.back(); }
    int totalHeight() const { return rowY_.back(); }
    // The cell under a viewport point; (0, 0) when none.
    QPoint cellAt(const QPoint& viewportPos) const;

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
    void layoutGeometry();
    void updateScrollBars();
    int firstIndexAtOrAfter(const std::vector<int>& edges, int pos) const;
    void paintBackgrounds(QPainter& p, int c1, int r1, int c2, int r2);
    void paintBorders(QPainter& p, int c1, int r1, int c2, int r2);
    void paintTexts(QPainter& p, int c1, int r1, int c2, int r2);
    void paintSelection(QPainter& p);
    QRect textSpan(int col, int row, int textWidth) const;
    QRect cellRect(int col, int row) const;

    Grid grid_;
    std::vector<int> colX_{0}, rowY_{0}; // left / top edges, one past the end included
    QRect selection_;
    QPoint anchor_;
};

} // namespace n4
