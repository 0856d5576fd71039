#include "paint/GridPainter.h"

#include <QFontDatabase>
#include <QPainter>
#include <algorithm>

#include "core/grid/GridLines.h"
#include "core/grid/GridMetrics.h"
#include "paint/DevicePixels.h"

namespace n4 {

namespace {

constexpr int kPad = metrics::kTextPadding;

QColor toQColor(Rgb c, const QColor& fallback) {
    return c.isNone() ? fallback : QColor(c.r, c.g, c.b);
}

} // namespace

QFont gridFont() {
    QFont f;
    const QString family = QStringLiteral("IPAGothic");
    if (QFontDatabase::families().contains(family)) f.setFamily(family);
    f.setPointSizeF(metrics::kFontPoints);
    return f;
}

QFont figuresFont() {
    QFont f = gridFont();
    const QString family = QStringLiteral("IPAPGothic");
    if (QFontDatabase::families().contains(family)) f.setFamily(family);
    return f;
}

GridPainter::GridPainter(const Grid& grid, const GridLayout& layout, const QFont& font,
                         const GridWindow& window)
    : grid_(grid), layout_(layout), font_(font), fm_(font), win_(window) {
    win_.frozenCols = std::clamp(win_.frozenCols, 0, layout_.cols());
    win_.frozenRows = std::clamp(win_.frozenRows, 0, layout_.rows());
}

QRect GridPainter::cellRect(int col, int row) const {
    const int dx = col <= win_.frozenCols ? 0 : win_.dx;
    const int dy = row <= win_.frozenRows ? 0 : win_.dy;
    return QRect(layout_.columnX(col) - dx, layout_.rowY(row) - dy,
                 layout_.columnX(col + 1) - layout_.columnX(col),
                 layout_.rowY(row + 1) - layout_.rowY(row));
}

QPoint GridPainter::cellAt(const QPoint& pos) const {
    const int x = pos.x() < frozenWidth() ? pos.x() : pos.x() + win_.dx;
    const int y = pos.y() < frozenHeight() ? pos.y() : pos.y() + win_.dy;
    if (pos.x() < 0 || pos.y() < 0 || x >= layout_.totalWidth() || y >= layout_.totalHeight())
        return QPoint(0, 0);
    return QPoint(layout_.columnAt(x), layout_.rowAt(y));
}

std::vector<GridPainter::Pane> GridPainter::panes() const {
    const QSize vp = win_.size;
    const int dx = win_.dx, dy = win_.dy;
    const int fw = std::min(frozenWidth(), vp.width()), fh = std::min(frozenHeight(), vp.height());
    const int maxC = layout_.cols(), maxR = layout_.rows();
    const int fc = std::min(win_.frozenCols, layout_.columnAt(vp.width()));
    const int fr = std::min(win_.frozenRows, layout_.rowAt(vp.height()));
    const int c1 = std::max(win_.frozenCols + 1, layout_.columnAt(fw + dx));
    const int c2 = std::min(maxC, layout_.columnAt(dx + vp.width()));
    const int r1 = std::max(win_.frozenRows + 1, layout_.rowAt(fh + dy));
    // (the last row with a pixel in the window: one below it would be painted
    // only to be clipped, yet a PDF would hold its texts)
    const int r2 = std::min(maxR, layout_.rowAt(dy + vp.height() - 1));
    const int restW = vp.width() - fw, restH = vp.height() - fh;
    std::vector<Pane> out;
    auto add = [&](QRect clip, int pc1, int pr1, int pc2, int pr2) {
        if (pc1 <= pc2 && pr1 <= pr2 && !clip.isEmpty()) out.push_back({clip, pc1, pr1, pc2, pr2});
    };
    add(QRect(fw, fh, restW, restH), c1, r1, c2, r2); // the body scrolls both ways
    add(QRect(fw, 0, restW, fh), c1, 1, c2, fr);      // title rows scroll sideways
    add(QRect(0, fh, fw, restH), 1, r1, fc, r2);      // label columns scroll up and down
    add(QRect(0, 0, fw, fh), 1, 1, fc, fr);           // the corner stays
    return out;
}

void GridPainter::paint(QPainter& p, const GridMarks& marks) const {
    p.fillRect(QRect(QPoint(0, 0), win_.size), paper());
    if (grid_.maxCols() == 0 || grid_.maxRows() == 0) return;
    p.save();
    p.setFont(font_);
    for (const Pane& pane : panes())
        paintPane(p, pane, marks);
    p.restore();
}

void GridPainter::paintPane(QPainter& p, const Pane& pane, const GridMarks& marks) const {
    p.save();
    p.setClipRect(pane.clip);
    paintBackgrounds(p, pane);
    paintLines(p, pane);
    paintTexts(p, pane);
    paintMarks(p, pane, marks);
    p.restore();
}

void GridPainter::paintBackgrounds(QPainter& p, const Pane& pane) const {
    for (int row = pane.r1; row <= pane.r2; ++row)
        for (int col = pane.c1; col <= pane.c2; ++col) {
            const Rgb bg = grid_.background(col, row);
            if (!bg.isNone()) p.fillRect(cellRect(col, row), toQColor(bg, paper()));
        }
}

void GridPainter::paintLines(QPainter& p, const Pane& pane) const {
    // On whole device pixels, so that every line is as wide at any scaling.
    const DevicePixels pixels(p);
    auto line = [&](const GridLine& l, const QRectF& at) {
        if (l.drawn) p.fillRect(at, toQColor(l.colour, ink()));
    };
    // Each cell draws its right and lower edges, on its own last pixels; the
    // first cells of a pane also their left and upper ones, which belong to
    // cells out of sight (the grid's first cells have them on their own first).
    for (int row = pane.r1; row <= pane.r2; ++row)
        for (int col = pane.c1; col <= pane.c2; ++col) {
            const QRect r = cellRect(col, row);
            const int x2 = r.right() + 1, y2 = r.bottom() + 1;
            line(lineLeftOf(grid_, col + 1, row), pixels.verticalLine(x2 - 1, r.top(), y2));
            line(lineAbove(grid_, col, row + 1), pixels.horizontalLine(y2 - 1, r.left(), x2));
            const int lx = col == 1 ? r.left() : r.left() - 1;
            const int ty = row == 1 ? r.top() : r.top() - 1;
            if (col == pane.c1)
                line(lineLeftOf(grid_, col, row), pixels.verticalLine(lx, r.top(), y2, col == 1));
            if (row == pane.r1)
                line(lineAbove(grid_, col, row), pixels.horizontalLine(ty, r.left(), x2, row == 1));
        }
}

QRect GridPainter::textSpan(int col, int row, int textWidth) const {
    QRect span = cellRect(col, row);
    if (!grid_.textOverflow() || textWidth <= span.width()) return span;
    if (grid_.align(col, row) == Align::Left) {
        // Runs on over empty cells to the right, never over text.
        for (int c = col + 1; c <= grid_.maxCols() && span.width() < textWidth; ++c) {
            if (!grid_.isEmpty(c, row)) break;
            span.setRight(cellRect(c, row).right());
        }
        return span;
    }
    // Centred text spreads over empty cells on both sides.
    int left = col, right = col;
    while (span.width() < textWidth) {
        bool grew = false;
        if (right < grid_.maxCols() && grid_.isEmpty(right + 1, row)) {
            span.setRight(cellRect(++right, row).right());
            grew = true;
        }
        if (span.width() < textWidth && left > 1 && grid_.isEmpty(left - 1, row)) {
            span.setLeft(cellRect(--left, row).left());
            grew = true;
        }
        if (!grew) break;
    }
    return span;
}

bool GridPainter::textFits(int col, int row) const {
    const std::string& t = grid_.text(col, row);
    if (t.empty()) return true;
    const QString text = QString::fromStdString(t);
    const int width = fm_.horizontalAdvance(text);
    // Where the text is drawn (as paintTexts does), then where its glyphs
    // are: blanks around a title may pass the edge unseen.
    const QRect room = textSpan(col, row, width + 2 * kPad).adjusted(kPad, 0, -kPad, 0);
    const int start = grid_.align(col, row) == Align::Left
                          ? room.left()
                          : room.left() + (room.width() - width) / 2;
    const QString inked = text.trimmed();
    if (inked.isEmpty()) return true;
    const int lead = fm_.horizontalAdvance(text.left(text.indexOf(inked)));
    const int inkLeft = start + lead, inkRight = inkLeft + fm_.horizontalAdvance(inked);
    return inkLeft >= room.left() && inkRight <= room.right() + 1 &&
           room.height() >= fm_.height() + 2;
}

void GridPainter::paintTexts(QPainter& p, const Pane& pane) const {
    // A text further left in the same pane may run into view.
    const int from = pane.c1 <= win_.frozenCols ? 1 : win_.frozenCols + 1;
    for (int row = pane.r1; row <= pane.r2; ++row)
        for (int col = from; col <= pane.c2; ++col) {
            const std::string& t = grid_.text(col, row);
            if (t.empty()) continue;
            const QString text = QString::fromStdString(t);
            const QRect span = textSpan(col, row, fm_.horizontalAdvance(text) + 2 * kPad);
            if (span.right() < pane.clip.left()) continue;
            p.setPen(toQColor(grid_.foreground(col, row), ink()));
            const Qt::Alignment h =
                grid_.align(col, row) == Align::Left ? Qt::AlignLeft : Qt::AlignHCenter;
            p.drawText(span.adjusted(kPad, 0, -kPad, 0), h | Qt::AlignVCenter, text);
        }
}

void GridPainter::paintMarks(QPainter& p, const Pane& pane, const GridMarks& marks) const {
    const QRect inPane(QPoint(pane.c1, pane.r1), QPoint(pane.c2, pane.r2));
    const QRect part = marks.selection.intersected(inPane);
    if (!part.isEmpty()) {
        const QRect r =
            cellRect(part.left(), part.top()).united(cellRect(part.right(), part.bottom()));
        QColor fill = marks.highlight;
        fill.setAlpha(60);
        p.fillRect(r, fill);
        p.setPen(QPen(marks.highlight, 1));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (!marks.cursor.isNull() && inPane.contains(marks.cursor)) {
        // The cell cursor: a frame two pixels wide just inside the cell.
        p.setPen(QPen(marks.highlight, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(cellRect(marks.cursor.x(), marks.cursor.y()).adjusted(1, 1, -1, -1));
    }
}

} // namespace n4
