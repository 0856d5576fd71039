#include "paint/GridPicture.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
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
        if (!s.block || sheetHeight(s) <= room_) {
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

bool writePdf(const std::vector<GridSheet>& sheets, const QString& title, QIODevice* device) {
    QPdfWriter pdf(device);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("ナンバーズ4マーヴォ"));
    pdf.setResolution(static_cast<int>(kPictureDpi));
    pdf.setPageLayout(pdfPageLayout(sheetsSize(sheets).width()));
    QPainter p;
    if (!p.begin(&pdf)) return false;
    paintPages(p, planPdf(sheets, QSize(pdf.width(), pdf.height())), [&pdf] { pdf.newPage(); });
    return p.end();
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

PdfPages planPdf(const std::vector<GridSheet>& sheets, QSize page) {
    const int widest = sheetsSize(sheets).width();
    const double scale = widest > page.width() ? double(page.width()) / widest : 1.0;
    return PdfPages{scale, planPages(sheets, page.height() / scale)};
}

void paintPages(QPainter& p, const PdfPages& planned, const std::function<void()>& newPage) {
    for (size_t page = 0; page < planned.pages.size(); ++page) {
        if (page > 0) newPage();
        for (const PlacedSheet& placed : planned.pages[page]) {
            p.save();
            p.scale(planned.scale, planned.scale);
            p.translate(0, placed.y);
            p.scale(placed.fit, placed.fit);
            paintSheet(p, placed.sheet);
            p.restore();
        }
    }
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
                 const QString& title, QIODevice* device, QString& error) {
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
        written = writeSvg(sheets, title, device);
    } else if (format == "pdf") {
        written = writePdf(sheets, title, device);
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
    const bool written = writeSheets(sheets, request.format, QString::fromStdString(request.title),
                                     &device, message);
    // The SVG and PDF writers do not notice a stream that stopped taking
    // bytes (a full disk): the stream itself is asked.
    if (written && out.flush()) return true;
    error = written ? "画像を書き出せませんでした。" : message.toStdString();
    return false;
}

} // namespace n4
