#pragma once
// Paints a Grid onto any QPainter: the window's view, a picture, a page of a
// PDF. Everything that shows a grid paints it here, so they all look alike.
// It paints only the cells in sight, so the cost does not grow with the
// history.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <vector>

#include "core/grid/Grid.h"
#include "paint/GridLayout.h"

class QPainter;

namespace n4 {

// The grid font: IPAGothic where it is installed, at the grid's point size.
QFont gridFont();
// The same size in the proportional IPAPGothic, for a table of figures with
// decimal points. IPAGothic's own hinting puts its half-width full stop at
// this size a pixel below the foot of the digits, at the left of a cell as
// wide as a digit: "1.009" reads as "1, 009". IPAPGothic sets the point on
// the digits' line, narrower than a digit; its digits are all one width, so
// figures still line up.
QFont figuresFont();

// What part of the grid shows in a rectangle of the given size: the first
// columns and rows stay in place (frozen), the rest is scrolled by dx, dy.
struct GridWindow {
    QSize size;
    int frozenCols = 0, frozenRows = 0;
    int dx = 0, dy = 0;
};

// What a view marks over the cells: a selected block and the cell cursor,
// both in cells (column, row); null / (0, 0) for none.
struct GridMarks {
    QRect selection;
    QPoint cursor;
    QColor highlight;
};

class GridPainter {
  public:
    GridPainter(const Grid& grid, const GridLayout& layout, const QFont& font,
                const GridWindow& window);

    // The grid's paper and its text where a cell sets no colour.
    static QColor paper() { return QColor(255, 255, 255); }
    static QColor ink() { return QColor(0, 0, 0); }

    // A cell's rectangle in the window, frozen parts and scrolling applied.
    QRect cellRect(int col, int row) const;
    // The cell under a point of the window; (0, 0) when none.
    QPoint cellAt(const QPoint& pos) const;
    // Where a text of the given width is drawn: its cell, or with the empty
    // cells it runs on over (to the right when left-aligned, both ways when
    // centred).
    QRect textSpan(int col, int row, int textWidth) const;
    // The cell's text shows whole, clear of the lines.
    bool textFits(int col, int row) const;

    void paint(QPainter& p, const GridMarks& marks = {}) const;

  private:
    // A part of the window that scrolls one way, both or neither.
    struct Pane {
        QRect clip;
        int c1, r1, c2, r2;
    };
    int frozenWidth() const { return layout_.columnX(win_.frozenCols + 1); }
    int frozenHeight() const { return layout_.rowY(win_.frozenRows + 1); }
    std::vector<Pane> panes() const;
    void paintPane(QPainter& p, const Pane& pane, const GridMarks& marks) const;
    void paintBackgrounds(QPainter& p, const Pane& pane) const;
    void paintLines(QPainter& p, const Pane& pane) const;
    void paintTexts(QPainter& p, const Pane& pane) const;
    void paintMarks(QPainter& p, const Pane& pane, const GridMarks& marks) const;

    const Grid& grid_;
    const GridLayout& layout_;
    QFont font_;
    QFontMetrics fm_;
    GridWindow win_;
};

} // namespace n4
