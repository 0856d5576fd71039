#pragma once
// The Qt widget that paints a Grid. It paints only the visible cells, so
// opening and scrolling cost the same for ten draws and for thirty thousand.
// Title rows and label columns can be frozen: they stay in view while the
// rest scrolls, as a spreadsheet's frozen panes do. A cell cursor moves as in
// a spreadsheet (arrows, Page Up/Down, Ctrl+Home/End; with Shift they extend
// the selection); Home and End take it to the first and the latest draws. Cells
// can be selected with the mouse and copied with Ctrl+C as TSV; the context
// menu (GridViewMenu) copies, selects all and saves pictures and pages.
//
// Units: a row height of h is h/64 inch (1.5 pixels at 96 dpi); a column
// width of w is w width units, and the width unit is chosen per view so that
// a window's grid fills the width its window gives it (fitColumnsToWidth).

#include <QAbstractScrollArea>
#include <QRect>
#include <functional>

#include "core/grid/Grid.h"
#include "core/grid/GridMetrics.h"
#include "paint/GridLayout.h"
#include "paint/GridPainter.h"

namespace n4 {

class GridViewMenu;

class GridView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // Cell texts keep this many pixels from the lines on either side.
    static constexpr int kTextPadding = metrics::kTextPadding;
    static constexpr double kFontPoints = metrics::kFontPoints;

    explicit GridView(QWidget* parent = nullptr);

    void setGrid(Grid grid);
    // As setGrid with what make returns, the present grid released first so
    // that the new one takes its storage back (a window computed again).
    void rebuildGrid(const std::function<Grid()>& make);
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
    // Scrolls so that the row is the first below the title rows.
    void showRowAtTop(int row);
    // Still showing the latest rows that way (the user has not scrolled away).
    bool keepsLatestRows() const { return keepLatest_; }

    // Pixel geometry in the grid's own coordinates (no scrolling).
    const GridLayout& layout() const { return layout_; }
    int columnX(int col) const { return layout_.columnX(col); }
    int rowY(int row) const { return layout_.rowY(row); }
    int totalWidth() const { return layout_.totalWidth(); }
    int totalHeight() const { return layout_.totalHeight(); }
    // What the viewport shows: its size, the frozen parts and the scrolling.
    GridWindow window() const;
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
    void selectAll();

    // The cell cursor, (0, 0) while there is none (as the window opens).
    QPoint cursorCell() const { return cursor_; }
    // Moves the cursor there (clipped to the grid) and into view; extend
    // keeps the selection's other corner, as Shift does.
    void moveCursorTo(int col, int row, bool extend = false);
    // The cursor to a row, in its column (the first column in view while
    // there is none).
    void moveCursorToRow(int row, bool extend = false);

    // The context menu and what it saves.
    GridViewMenu* menu() const { return menu_; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    GridPainter painter() const;
    bool moveCursorByKey(const QKeyEvent* event);
    void goToEnd(bool latest, bool extend);
    QPoint firstCellInView() const;
    int bodyRowsInView() const;
    void scrollToCell(QPoint cell);
    void layoutGeometry();
    void updateScrollBars();
    int frozenWidth() const { return layout_.columnX(frozenCols_ + 1); }
    int frozenHeight() const { return layout_.rowY(frozenRows_ + 1); }

    Grid grid_;
    GridLayout layout_;
    double unit_ = 0;
    int frozenCols_ = 0, frozenRows_ = 0;
    bool keepLatest_ = false, adjusting_ = false;
    QRect selection_;
    QPoint anchor_, cursor_;
    GridViewMenu* menu_;
};

} // namespace n4
