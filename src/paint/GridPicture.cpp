#include "paint/GridPicture.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRadialGradient>
#include <QSvgGenerator>
#include <algorithm>
#include <ostream>

namespace n4 {

namespace {

constexpr int kSheetGap = 8;

QFont headingFont() {
    QFont f = gridFont();
    f.setPointSizeF(9);
    return f;
}

QFont titleFont() {
    QFont f = gridFont();
    f.setPointSizeF(11);
    f.setBold(true);
    return f;
}

QFont pageNumberFont() {
    QFont f = gridFont();
    f.setPointSizeF(8);
    return f;
}

int headingHeight(const GridSheet& s) {
    return s.heading.isEmpty() ? 0 : QFontMetrics(headingFont()).height() + 4;
}

int sheetHeight(const GridSheet& s) {
    return headingHeight(s) + s.window.size.height();
}

// As wide as its grid, or as its heading where that is longer.
int sheetWidth(const GridSheet& s) {
    const int heading =
        s.heading.isEmpty() ? 0 : QFontMetrics(headingFont()).horizontalAdvance(s.heading) + 2;
    return std::max(s.window.size.width(), heading);
}

// The sheet with its top-left corner at the painter's origin.
void paintSheet(QPainter& p, const GridSheet& s) {
    p.save();
    if (!s.heading.isEmpty()) {
        p.setFont(headingFont());
        p.setPen(QColor(255, 0, 0));
        p.drawText(QRect(0, 0, sheetWidth(s), headingHeight(s)), Qt::AlignLeft | Qt::AlignVCenter,
                   s.heading);
        p.translate(0, headingHeight(s));
    }
    GridPainter(*s.grid, s.layout, s.font, s.window).paint(p);
    p.restore();
}

void paintStack(QPainter& p, const std::vector<GridSheet>& sheets) {
    p.fillRect(QRect(QPoint(0, 0), sheetsSize(sheets)), GridPainter::paper());
    int y = 0;
    for (const GridSheet& s : sheets) {
        p.save();
        p.translate(0, y);
        paintSheet(p, s);
        p.restore();
        y += sheetHeight(s) + kSheetGap;
    }
}

// A page's heading: the title, the description wrapped to the page's width,
// the legend's pictures and texts on one line.
int pageHeadingHeight(const PageHeading& h, int width) {
    const QFontMetrics fm(headingFont());
    int height = 0;
    if (!h.title.isEmpty()) height += QFontMetrics(titleFont()).height() + 2;
    if (!h.description.isEmpty())
        height +=
            fm.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, h.description).height() +
            2;
    if (!h.legend.empty()) height += fm.height() + 2;
    return height > 0 ? height + kSheetGap : 0;
}

void paintPageHeading(QPainter& p, const PageHeading& h, int width) {
    p.save();
    p.setPen(GridPainter::ink());
    int y = 0;
    if (!h.title.isEmpty()) {
        const int line = QFontMetrics(titleFont()).height();
        p.setFont(titleFont());
        p.drawText(QRect(0, y, width, line), Qt::AlignLeft | Qt::AlignVCenter, h.title);
        y += line + 2;
    }
    const QFontMetrics fm(headingFont());
    p.setFont(headingFont());
    if (!h.description.isEmpty()) {
        const QRect text =
            fm.boundingRect(QRect(0, y, width, 1 << 20), Qt::TextWordWrap, h.description);
        p.drawText(QRect(0, y, width, text.height()), Qt::AlignLeft | Qt::TextWordWrap,
                   h.description);
        y += text.height() + 2;
    }
    int x = 0;
    for (const LegendEntry& e : h.legend) {
        const int side = fm.height();
        paintLegendPicture(p, e.picture, QRectF(x, y, side, side));
        x += side + 2;
        const int text = fm.horizontalAdvance(e.text) + 1;
        p.drawText(QRect(x, y, text, side), Qt::AlignLeft | Qt::AlignVCenter, e.text);
        x += text + 3 * kSheetGap / 2;
    }
    p.restore();
}

int pageNumberHeight() {
    return QFontMetrics(pageNumberFont()).height() + 4;
}

// A stream as a device the toolkit's writers can write to as they go.
class StreamDevice : public QIODevice {
  public:
    explicit StreamDevice(std::ostream& out) : out_(out) { open(QIODevice::WriteOnly); }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        out_.write(data, size);
        return out_ ? size : -1;
    }

  private:
    std::ostream& out_;
};

// ---------------------------------------------------------------------------
// PDF: sheets flow down A4 pages; a block of rows too long for the rest of a
// page goes on over the next ones, under its title rows.

class PdfPlan {
  public:
    explicit PdfPlan(double room) : room_(room), pages_(1) {}

    void add(const GridSheet& s) {
        if (!s.block || s.block->first > s.block->last || sheetHeight(s) <= room_) {
            place(s);
            return;
        }
        const PictureBlock b = *s.block;
        const int titles = s.layout.rowY(b.headRows + 1);
        for (int row = b.first; row <= b.last;) {
            const int room = static_cast<int>(room_ - y_) - headingHeight(s) - titles;
            int last = row;
            while (last < b.last && s.layout.rowY(last + 2) - s.layout.rowY(row) <= room)
                ++last;
            if (s.layout.rowY(last + 1) - s.layout.rowY(row) > room && y_ > 0) {
                newPage();
                continue;
            }
            GridSheet part = s;
            part.block = PictureBlock{b.headRows, row, last, b.col1, b.col2};
            part.window = windowFor(s.layout, *part.block);
            place(part);
            row = last + 1;
        }
    }
    std::vector<std::vector<PlacedSheet>> pages() const { return pages_; }

  private:
    void place(const GridSheet& s) {
        if (y_ > 0 && sheetHeight(s) > room_ - y_) newPage();
        // A sheet taller than a page (a view's visible part) is shrunk to it.
        const double fit = std::min(1.0, room_ / std::max(1, sheetHeight(s)));
        pages_.back().push_back({s, y_, fit});
        y_ += sheetHeight(s) * fit + kSheetGap;
    }
    void newPage() {
        pages_.emplace_back();
        y_ = 0;
    }

    double room_, y_ = 0;
    std::vector<std::vector<PlacedSheet>> pages_;
};

} // namespace

QPageLayout pdfPageLayout(int sheetsWidth) {
    const QMarginsF margins(10, 10, 10, 10);
    const QPageLayout upright(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                              QPageLayout::Millimeter);
    if (sheetsWidth <= upright.paintRectPixels(static_cast<int>(kPictureDpi)).width())
        return upright;
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, margins,
                       QPageLayout::Millimeter);
}

namespace {

bool writePdf(const std::vector<GridSheet>& sheets, const PageHeading& heading, QIODevice* device) {
    QPdfWriter pdf(device);
    pdf.setTitle(heading.title);
    pdf.setCreator(QStringLiteral("ナンバーズ4マーヴォ"));
    pdf.setResolution(static_cast<int>(kPictureDpi));
    pdf.setPageLayout(pdfPageLayout(sheetsSize(sheets).width()));
    return paintOnPages(pdf, sheets, heading);
}

bool writeSvg(const std::vector<GridSheet>& sheets, const QString& title, QIODevice* device) {
    QSvgGenerator svg;
    svg.setOutputDevice(device);
    const QSize size = sheetsSize(sheets);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(static_cast<int>(kPictureDpi));
    svg.setTitle(title);
    QPainter p;
    if (!p.begin(&svg)) return false;
    paintStack(p, sheets);
    return p.end();
}

} // namespace

GridWindow windowFor(const GridLayout& layout, const PictureBlock& b) {
    const int head = layout.rowY(b.headRows + 1);
    const int width = layout.columnX(b.col2 + 1) - layout.columnX(b.col1);
    const int body = layout.rowY(b.last + 1) - layout.rowY(b.first);
    return GridWindow{QSize(width, head + std::max(0, body)), 0, b.headRows, layout.columnX(b.col1),
                      layout.rowY(b.first) - head};
}

GridSheet sheetFor(const PicturePart& part) {
    GridSheet s;
    s.heading = QString::fromStdString(part.heading);
    s.grid = part.grid;
    s.font = gridFont();
    s.layout = GridLayout(*part.grid, GridLayout::defaultWidthUnit(s.font), kPictureDpi);
    s.block = part.block;
    s.window = windowFor(s.layout, part.block);
    return s;
}

std::vector<std::vector<PlacedSheet>> planPages(const std::vector<GridSheet>& sheets,
                                                double pageHeight) {
    PdfPlan plan(pageHeight);
    for (const GridSheet& s : sheets)
        plan.add(s);
    return plan.pages();
}

PdfPages planPdf(const std::vector<GridSheet>& sheets, QSize page, const PageHeading& heading) {
    const int widest = sheetsSize(sheets).width();
    const double scale = widest > page.width() ? double(page.width()) / widest : 1.0;
    const int top = pageHeadingHeight(heading, page.width());
    const int foot = pageNumberHeight();
    const int room = std::max(1, page.height() - top - foot);
    return PdfPages{scale, planPages(sheets, room / scale), heading, page, top, foot};
}

void paintPages(QPainter& p, const PdfPages& planned, const std::function<void()>& newPage) {
    const int count = static_cast<int>(planned.pages.size());
    for (int page = 0; page < count; ++page) {
        if (page > 0) newPage();
        paintPageHeading(p, planned.heading, planned.page.width());
        for (const PlacedSheet& placed : planned.pages[page]) {
            p.save();
            p.translate(0, planned.top);
            p.scale(planned.scale, planned.scale);
            p.translate(0, placed.y);
            p.scale(placed.fit, placed.fit);
            paintSheet(p, placed.sheet);
            p.restore();
        }
        p.save();
        p.setFont(pageNumberFont());
        p.setPen(GridPainter::ink());
        p.drawText(
            QRect(0, planned.page.height() - planned.foot, planned.page.width(), planned.foot),
            Qt::AlignHCenter | Qt::AlignBottom,
            QStringLiteral("%1 / %2 ページ").arg(page + 1).arg(count));
        p.restore();
    }
}

bool paintOnPages(QPagedPaintDevice& device, const std::vector<GridSheet>& sheets,
                  const PageHeading& heading) {
    QPainter p;
    if (!p.begin(&device)) return false;
    paintPages(p, planPdf(sheets, QSize(device.width(), device.height()), heading),
               [&device] { device.newPage(); });
    return p.end();
}

void paintLegendPicture(QPainter& p, LegendPicture picture, const QRectF& box) {
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 19, box.height() / 19);
    p.setRenderHint(QPainter::Antialiasing);
    if (picture == LegendPicture::Swatch) {
        p.setBrush(QColor(128, 255, 255));
        p.setPen(QPen(GridPainter::ink(), 1));
        p.drawRect(QRectF(1.5, 1.5, 16, 16));
    } else {
        // A ball lit from its upper left.
        const bool bonus = picture == LegendPicture::BonusBall;
        QRadialGradient g(QPointF(7, 7), 10, QPointF(6, 6));
        g.setColorAt(0, bonus ? QColor(255, 153, 153) : QColor(153, 153, 255));
        g.setColorAt(1, bonus ? QColor(204, 51, 51) : QColor(51, 51, 204));
        p.setBrush(g);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(1.5, 1.5, 16, 16));
    }
    p.restore();
}

QSize sheetsSize(const std::vector<GridSheet>& sheets) {
    int width = 0, height = 0;
    for (const GridSheet& s : sheets) {
        width = std::max(width, sheetWidth(s));
        height += (height > 0 ? kSheetGap : 0) + sheetHeight(s);
    }
    return QSize(width, height);
}

QImage sheetsImage(const std::vector<GridSheet>& sheets) {
    QImage image(sheetsSize(sheets), QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(kPictureDpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter p(&image);
    paintStack(p, sheets);
    return image;
}

bool pngCanHold(QSize size) {
    constexpr int kMaxSide = 32767;
    constexpr qint64 kMaxPixels = 120'000'000;
    return size.width() <= kMaxSide && size.height() <= kMaxSide &&
           qint64(size.width()) * size.height() <= kMaxPixels;
}

bool writeSheets(const std::vector<GridSheet>& sheets, const std::string& format,
                 const PageHeading& heading, QIODevice* device, QString& error) {
    bool written = false;
    if (format == "png") {
        const QSize size = sheetsSize(sheets);
        if (!pngCanHold(size)) {
            error = QStringLiteral("PNG にするには大きすぎます（%1×%2 ピクセル）。"
                                   "行を絞るか、PDF か SVG にしてください。")
                        .arg(size.width())
                        .arg(size.height());
            return false;
        }
        written = sheetsImage(sheets).save(device, "PNG");
    } else if (format == "svg") {
        written = writeSvg(sheets, heading.title, device);
    } else if (format == "pdf") {
        written = writePdf(sheets, heading, device);
    } else {
        error =
            QStringLiteral("画像の形式 %1 は書き出せません。").arg(QString::fromStdString(format));
        return false;
    }
    if (!written) error = QStringLiteral("画像を書き出せませんでした。");
    return written;
}

bool writeGridPicture(const PictureRequest& request, std::ostream& out, std::string& error) {
    std::vector<GridSheet> sheets;
    for (const PicturePart& part : request.parts)
        sheets.push_back(sheetFor(part));
    StreamDevice device(out);
    QString message;
    const PageHeading heading{
        QString::fromStdString(request.title), QString::fromStdString(request.description), {}};
    const bool written = writeSheets(sheets, request.format, heading, &device, message);
    // The SVG and PDF writers do not notice a stream that stopped taking
    // bytes (a full disk): the stream itself is asked.
    if (written && out.flush()) return true;
    error = written ? "画像を書き出せませんでした。" : message.toStdString();
    return false;
}

} // namespace n4
