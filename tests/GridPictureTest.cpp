// Pictures of grids: the tool's PNG is the window's grid to the pixel, and a
// PDF goes on over pages under the title rows.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <fstream>
#include <list>
#include <sstream>

#include "TestSupport.h"
#include "core/analysis/AnalysisCatalog.h"
#include "core/cli/Cli.h"
#include "core/prediction/PredictionEngine.h"
#include "paint/GridPicture.h"
#include "ui/grid/GridView.h"

using namespace n4;

namespace {

// The grid as the window shows it: its title rows kept, scrolled so that
// `first` is the first row under them, at the pictures' width unit.
QImage windowGrab(const Grid& grid, int titleRows, int first, QSize size) {
    GridView v;
    v.setFrameShape(QFrame::NoFrame);
    v.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v.setGrid(grid);
    v.setFrozen(1, titleRows);
    v.setWidthUnit(GridLayout::defaultWidthUnit(v.font()));
    v.resize(size);
    v.show();
    v.verticalScrollBar()->setValue(v.rowY(first) - v.rowY(titleRows + 1));
    return v.viewport()->grab().toImage();
}

int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

} // namespace

TEST(GridPicture, TheToolsPngIsTheWindowsGridPixelForPixel) {
    const std::string folder = n4test::tempFolder();
    std::string csv = "draw,d1,d2,d3,d4\n";
    for (const DrawRecord& d : n4test::patternedHistory(130))
        csv += std::to_string(d.drawNo) + "," + std::to_string(d.digits[0]) + "," +
               std::to_string(d.digits[1]) + "," + std::to_string(d.digits[2]) + "," +
               std::to_string(d.digits[3]) + "\n";
    n4test::writeFile(folder + "/h.csv", csv);
    std::ostringstream ignored;
    ASSERT_EQ(runCli({"import", folder + "/h.csv"}, ignored, ignored, folder), CliDone);
    const DrawTable table = n4test::patternedHistory(130);
    for (const char* name : {"interval", "division10", "dispersion", "trend5"}) {
        std::ostringstream png, err;
        ASSERT_EQ(runCli({"export", name, "--format", "png"}, png, err, folder, writeGridPicture),
                  CliDone)
            << err.str();
        const std::string bytes = png.str();
        const QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                                static_cast<int>(bytes.size()), "PNG");
        ASSERT_FALSE(picture.isNull()) << name;
        // (a picture of the grid, not a blank: the label cells' yellow shows)
        EXPECT_EQ(QColor(picture.pixel(3, picture.height() / 2)), QColor(255, 255, 200)) << name;
        const AnalysisEntry* entry = findAnalysis(name);
        const Grid grid = n4test::analyse(entry->compute, table);
        // A long history: the title rows, then the latest hundred rows.
        const int first = grid.maxRows() - 99;
        const QImage window = windowGrab(grid, entry->titleRows, first, picture.size());
        ASSERT_EQ(window.size(), picture.size()) << name;
        EXPECT_EQ(differingPixels(window, picture), 0) << name;
    }
}

TEST(GridPicture, APdfGoesOnOverPagesUnderItsTitleRows) {
    const DrawTable table = n4test::patternedHistory(300);
    const AnalysisEntry* entry = findAnalysis("interval");
    const Grid grid = n4test::analyse(entry->compute, table);
    const PictureBlock all{2, 3, grid.maxRows(), 1, grid.maxCols()};
    const std::vector<GridSheet> sheets{sheetFor(PicturePart{"", &grid, all})};
    const GridLayout& layout = sheets[0].layout;
    const auto pages = planPages(sheets, 1000.0);
    ASSERT_GE(pages.size(), 4u);
    int next = 3;
    for (const auto& page : pages) {
        ASSERT_EQ(page.size(), 1u);
        const PictureBlock b = *page[0].sheet.block;
        EXPECT_EQ(b.headRows, 2); // every page begins with the title rows
        EXPECT_EQ(b.first, next); // and goes on where the last one stopped
        EXPECT_EQ(page[0].sheet.window.frozenRows, 2);
        EXPECT_LE(page[0].sheet.window.size.height(), 1000);
        EXPECT_EQ(page[0].sheet.window.size.height(),
                  layout.rowY(3) + layout.rowY(b.last + 1) - layout.rowY(b.first));
        next = b.last + 1;
    }
    EXPECT_EQ(next, grid.maxRows() + 1);
    // Below a short sheet, the long block begins on the same page.
    Grid small(2, 2);
    const std::vector<GridSheet> both{sheetFor(PicturePart{"見出し", &small, {0, 1, 2, 1, 2}}),
                                      sheets[0]};
    const auto shared = planPages(both, 1000.0);
    ASSERT_GE(shared.size(), 2u);
    ASSERT_EQ(shared[0].size(), 2u);
    EXPECT_EQ(shared[0][1].sheet.block->first, 3);
    EXPECT_GT(shared[0][1].y, 0.0);
    // Written, it is a PDF of as many pages as an A4 page within its margins
    // holds under the heading and above the page number.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    const PageHeading heading{"出現間隔分析", "説明", {}};
    ASSERT_TRUE(writeSheets(sheets, "pdf", heading, &buffer, error)) << error.toStdString();
    EXPECT_TRUE(buffer.data().startsWith("%PDF"));
    const QSize a4 = pdfPageLayout(sheetsSize(sheets).width()).paintRectPixels(96).size();
    const size_t count = planPdf(sheets, a4, heading).pages.size();
    EXPECT_GE(count, 4u);
    EXPECT_TRUE(buffer.data().contains("/Count " + QByteArray::number(int(count))));
    // Its document information names the window and the program (as PDF
    // strings: UTF-16 after a byte-order mark).
    const auto pdfString = [](const QString& text) {
        QByteArray bytes("(\xFE\xFF");
        for (const QChar c : text)
            bytes.append(static_cast<char>(c.unicode() >> 8))
                .append(static_cast<char>(c.unicode()));
        return bytes + ")";
    };
    EXPECT_TRUE(buffer.data().contains("/Title " + pdfString("出現間隔分析")));
    EXPECT_TRUE(buffer.data().contains("/Creator " + pdfString("ナンバーズ4マーヴォ")));
}

// Whatever the page height, a block goes on over a page only where its next
// row would not fit, and each part ends within its page; a page too short for
// the title rows and one row still takes a row each.
TEST(GridPicture, APdfPageIsFilledAndNoPartRunsPastIt) {
    const Grid grid =
        n4test::analyse(findAnalysis("interval")->compute, n4test::patternedHistory(40));
    const GridSheet block =
        sheetFor(PicturePart{"", &grid, {2, 3, grid.maxRows(), 1, grid.maxCols()}});
    Grid small(2, 2);
    const GridSheet heading = sheetFor(PicturePart{"見出し", &small, {0, 1, 2, 1, 2}});
    const int titlesAndRow = block.layout.rowY(4);
    const int headingHeight = sheetsSize({heading}).height();
    for (int page = headingHeight + titlesAndRow; page < headingHeight + 3 * titlesAndRow; ++page) {
        int next = 3;
        const auto pages = planPages({heading, block}, page);
        for (size_t p = 0; p < pages.size(); ++p) {
            const std::vector<PlacedSheet>& sheets = pages[p];
            // A page goes over only where the next row would not fit.
            const PlacedSheet& end = sheets.back();
            if (p + 1 < pages.size() && end.sheet.block->first >= 3) {
                const int last = end.sheet.block->last;
                EXPECT_GT(end.y + sheetsSize({end.sheet}).height() + block.layout.rowY(last + 2) -
                              block.layout.rowY(last + 1),
                          page)
                    << "page " << page;
            }
            int parts = 0; // of the block on this page: one, its rows under its titles
            for (const PlacedSheet& placed : sheets) {
                EXPECT_LE(placed.y + sheetsSize({placed.sheet}).height() * placed.fit, page + 1e-9)
                    << "page " << page;
                if (placed.sheet.block->first >= 3) {
                    ++parts;
                    EXPECT_EQ(placed.sheet.block->first, next) << "page " << page;
                    next = placed.sheet.block->last + 1;
                }
            }
            EXPECT_LE(parts, 1) << "page " << page;
        }
        EXPECT_EQ(next, grid.maxRows() + 1) << "page " << page;
    }
    const auto tiny = planPages({block}, titlesAndRow - 1);
    ASSERT_EQ(int(tiny.size()), grid.maxRows() - 2);
    for (size_t i = 0; i < tiny.size(); ++i) {
        ASSERT_EQ(tiny[i].size(), 1u);
        EXPECT_EQ(tiny[i][0].sheet.block->first, int(i) + 3);
        EXPECT_EQ(tiny[i][0].sheet.block->last, int(i) + 3);
    }
}

namespace {

// The pages' sizes a PDF gives (its /MediaBox entries), in points.
QList<QSizeF> pdfPageSizes(const QByteArray& pdf) {
    QList<QSizeF> out;
    static const QRegularExpression box("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]");
    for (auto it = box.globalMatch(QString::fromLatin1(pdf)); it.hasNext();) {
        const auto m = it.next();
        out << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return out;
}

QByteArray pdfOf(const Grid& grid) {
    const std::vector<GridSheet> sheets{
        sheetFor(PicturePart{"", &grid, {1, 2, grid.maxRows(), 1, grid.maxCols()}})};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_TRUE(writeSheets(sheets, "pdf", {"表"}, &buffer, error)) << error.toStdString();
    return buffer.data();
}

} // namespace

TEST(GridPicture, APdfPageIsUprightForANarrowGridAndAcrossForAWideOne) {
    const DrawTable table = n4test::patternedHistory(30);
    const QList<QSizeF> narrow =
        pdfPageSizes(pdfOf(n4test::analyse(findAnalysis("sum")->compute, table)));
    ASSERT_FALSE(narrow.isEmpty());
    for (const QSizeF& page : narrow) // A4: 210 x 297 mm
        EXPECT_LT(page.width(), page.height());
    const QList<QSizeF> wide =
        pdfPageSizes(pdfOf(n4test::analyse(findAnalysis("division10")->compute, table)));
    ASSERT_FALSE(wide.isEmpty());
    for (const QSizeF& page : wide) {
        EXPECT_GT(page.width(), page.height());
        EXPECT_NEAR(page.width(), 297 / 25.4 * 72, 1.0);
    }
}

namespace {

// The pages painted as the PDF writer paints them, each on an image of the
// page's size.
std::vector<QImage> pageImages(const PdfPages& planned, QSize page) {
    std::list<QImage> images;
    auto blank = [&images, page] {
        images.emplace_back(page, QImage::Format_RGB32);
        images.back().fill(Qt::white);
        return &images.back();
    };
    QPainter p(blank());
    paintPages(p, planned, [&] { p.end(), p.begin(blank()); });
    p.end();
    return std::vector<QImage>(images.begin(), images.end());
}

// The smallest rectangle that holds every pixel that is not white.
QRect inked(const QImage& image) {
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) r |= QRect(x, y, 1, 1);
    return r;
}

} // namespace

// Each page of a PDF shows its parts as the pictures of those parts, at their
// places under the heading, and nothing else but its number at the foot; a
// grid wider than the page is shrunk to its width.
TEST(GridPicture, APdfPageShowsItsPartsAtTheirPlaces) {
    const Grid grid =
        n4test::analyse(findAnalysis("interval")->compute, n4test::patternedHistory(80));
    Grid small(2, 2);
    small.setText(1, 1, "x");
    const std::vector<GridSheet> sheets{
        sheetFor(PicturePart{"見出し", &small, {0, 1, 2, 1, 2}}),
        sheetFor(PicturePart{"", &grid, {2, 3, grid.maxRows(), 1, grid.maxCols()}})};
    const int widest = sheetsSize(sheets).width();
    const QSize page(widest + 40, 500);
    const PdfPages whole = planPdf(sheets, page, PageHeading{"表", "説明", {}});
    EXPECT_EQ(whole.scale, 1.0);
    ASSERT_GE(whole.pages.size(), 3u);
    ASSERT_GT(whole.top, 0);
    ASSERT_GT(whole.foot, 0);
    const std::vector<QImage> images = pageImages(whole, page);
    ASSERT_EQ(images.size(), whole.pages.size());
    const QRect body(0, whole.top, page.width(), page.height() - whole.top - whole.foot);
    for (size_t i = 0; i < images.size(); ++i) {
        QRect all;
        for (const PlacedSheet& placed : whole.pages[i]) {
            const QImage part = sheetsImage({placed.sheet});
            const QRect at(QPoint(0, whole.top + int(placed.y)), part.size());
            EXPECT_EQ(differingPixels(images[i].copy(at), part), 0) << "page " << i;
            all |= at;
        }
        EXPECT_TRUE(all.contains(inked(images[i].copy(body)).translated(0, whole.top)))
            << "page " << i;
        EXPECT_TRUE(body.contains(all)) << "page " << i;
        // The heading above, the number below.
        EXPECT_FALSE(inked(images[i].copy(0, 0, page.width(), whole.top)).isNull()) << i;
        EXPECT_FALSE(inked(images[i].copy(0, body.bottom() + 1, page.width(), whole.foot)).isNull())
            << "page " << i;
    }

    const int rowHeight = sheets[1].layout.rowY(4) - sheets[1].layout.rowY(3);
    const QSize narrow(widest / 2, 300);
    const PdfPages shrunk = planPdf(sheets, narrow);
    EXPECT_DOUBLE_EQ(shrunk.scale, double(narrow.width()) / widest);
    const std::vector<QImage> halves = pageImages(shrunk, narrow);
    ASSERT_EQ(halves.size(), shrunk.pages.size());
    ASSERT_GE(halves.size(), 3u);
    for (size_t i = 0; i < halves.size(); ++i) {
        const PlacedSheet& last = shrunk.pages[i].back();
        const QSize size = sheetsSize({last.sheet});
        const double bottom = (last.y + size.height()) * shrunk.scale;
        const int room = narrow.height() - shrunk.foot; // (no heading: no band above)
        const QRect ink = inked(halves[i].copy(0, 0, narrow.width(), room));
        EXPECT_NEAR(ink.bottom() + 1, bottom, 2) << "page " << i;
        EXPECT_NEAR(ink.right() + 1, size.width() * shrunk.scale, 2) << "page " << i;
        EXPECT_LE(ink.bottom(), room - 1);
        if (i + 1 < halves.size()) { // full: the next row would not have fitted
            EXPECT_GT(ink.bottom() + 1 + rowHeight * shrunk.scale, room - 2) << "page " << i;
        }
    }

    // A part that cannot be split (a view's visible part) is shrunk to a page.
    GridSheet view = sheets[1];
    view.block.reset();
    const PdfPages fitted = planPdf({view}, page);
    ASSERT_EQ(fitted.pages.size(), 1u);
    const double fit = fitted.pages[0][0].fit;
    ASSERT_LT(fit, 1.0);
    const QRect ink =
        inked(pageImages(fitted, page)[0].copy(0, 0, page.width(), page.height() - fitted.foot));
    EXPECT_NEAR(ink.bottom() + 1, sheetsSize({view}).height() * fit, 2);
    EXPECT_NEAR(ink.right() + 1, sheetsSize({view}).width() * fit, 2);
}

TEST(GridPicture, APdfPageHasCentimetreMarginsAndLiesAcrossOnlyForAWiderGrid) {
    const auto millimetres = [](const QPageLayout& page) {
        const QMarginsF m = page.margins(QPageLayout::Millimeter);
        return std::vector<double>{m.left(), m.top(), m.right(), m.bottom()};
    };
    const QPageLayout narrow = pdfPageLayout(100);
    EXPECT_EQ(narrow.orientation(), QPageLayout::Portrait);
    EXPECT_EQ(millimetres(narrow), (std::vector<double>{10, 10, 10, 10}));
    // A4 less the margins: 190 by 277 mm, at the pictures' 96 dots an inch.
    const QRect room = narrow.paintRectPixels(96);
    EXPECT_NEAR(room.width(), 190 / 25.4 * 96, 3);
    EXPECT_NEAR(room.height(), 277 / 25.4 * 96, 3); // the page size rounds to whole points
    EXPECT_EQ(pdfPageLayout(room.width()).orientation(), QPageLayout::Portrait);
    const QPageLayout wide = pdfPageLayout(room.width() + 1);
    EXPECT_EQ(wide.orientation(), QPageLayout::Landscape);
    EXPECT_EQ(millimetres(wide), (std::vector<double>{10, 10, 10, 10}));
    EXPECT_NEAR(wide.paintRectPixels(96).width(), 277 / 25.4 * 96,
                3); // the page size rounds to whole points
}

TEST(GridPicture, PicturesTooLargeToHoldAreRefusedInWords) {
    const Grid grid =
        n4test::analyse(findAnalysis("division10")->compute, n4test::patternedHistory(4000));
    const std::vector<GridSheet> sheets{sheetFor(PicturePart{"", &grid, wholeGrid(grid)})};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_FALSE(writeSheets(sheets, "png", {}, &buffer, error));
    EXPECT_TRUE(error.contains(QStringLiteral("大きすぎます"))) << error.toStdString();
    EXPECT_TRUE(buffer.data().isEmpty());
    // An SVG is written as it goes and has no such bound.
    EXPECT_TRUE(writeSheets(sheets, "svg", {}, &buffer, error));
    EXPECT_TRUE(buffer.data().contains("<svg"));
    // The bounds: 32,767 pixels a side, 120 million in all.
    EXPECT_TRUE(pngCanHold(QSize(32767, 100)));
    EXPECT_TRUE(pngCanHold(QSize(100, 32767)));
    EXPECT_FALSE(pngCanHold(QSize(32768, 100)));
    EXPECT_FALSE(pngCanHold(QSize(100, 32768)));
    EXPECT_TRUE(pngCanHold(QSize(10000, 12000)));
    EXPECT_FALSE(pngCanHold(QSize(10000, 12001)));
}

TEST(GridPicture, AnUnknownKindOrAStreamThatFailsIsSaidInWords) {
    const Grid grid = n4test::analyse(findAnalysis("count")->compute, n4test::patternedHistory(30));
    PictureRequest request{"gif", "", {PicturePart{"", &grid, wholeGrid(grid)}}};
    std::ostringstream out;
    std::string error;
    EXPECT_FALSE(writeGridPicture(request, out, error));
    EXPECT_EQ(error, "画像の形式 gif は書き出せません。");
    EXPECT_TRUE(out.str().empty());
    // A stream that takes nothing (a full disk, a closed pipe).
    std::ofstream closed;
    for (const char* format : {"png", "svg", "pdf"}) {
        request.format = format;
        error.clear();
        EXPECT_FALSE(writeGridPicture(request, closed, error)) << format;
        EXPECT_EQ(error, "画像を書き出せませんでした。") << format;
    }
    request.format = "svg";
    EXPECT_TRUE(writeGridPicture(request, out, error)) << error;
    EXPECT_NE(out.str().find("<svg"), std::string::npos);
}

TEST(GridPicture, SheetsOnAPageStandApartOneBelowTheOther) {
    // The prediction's four grids fit on one page, each below the one before
    // with a gap between them.
    PredictionEngine engine;
    engine.ScanDraws(n4test::richPredictionHistory(), 40, 0);
    std::vector<GridSheet> sheets;
    for (const Grid& g : engine.grids())
        sheets.push_back(sheetFor(PicturePart{"見出し", &g, {0, 1, g.maxRows(), 1, g.maxCols()}}));
    const auto pages = planPages(sheets, 5000.0);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 4u);
    EXPECT_EQ(pages[0][0].y, 0.0);
    for (size_t i = 1; i < 4; ++i) {
        const auto& above = pages[0][i - 1];
        EXPECT_GT(pages[0][i].y, above.y + sheetsSize({above.sheet}).height()) << i;
    }
    // A page exactly as tall as two sheets and the gap between them holds both;
    // one pixel less and the second goes on to the next page.
    const std::vector<GridSheet> two{sheets[0], sheets[1]};
    const int both = sheetsSize(two).height();
    EXPECT_EQ(planPages(two, both).size(), 1u);
    EXPECT_EQ(planPages(two, both - 1).size(), 2u);
}

TEST(GridPicture, EachSheetOfAStackLooksAsItDoesAlone) {
    // The prediction's four grids in one picture: each one, heading and all,
    // is the picture of that grid alone, below the one before.
    PredictionEngine engine;
    engine.ScanDraws(n4test::richPredictionHistory(), 40, 0);
    std::vector<GridSheet> sheets;
    for (const Grid& g : engine.grids())
        sheets.push_back(sheetFor(PicturePart{"見出し", &g, {0, 1, g.maxRows(), 1, g.maxCols()}}));
    const QImage stack = sheetsImage(sheets);
    int heights = 0;
    for (const GridSheet& s : sheets)
        heights += sheetsSize({s}).height();
    const int gap = (stack.height() - heights) / 3;
    EXPECT_GT(gap, 0);
    int y = 0;
    for (size_t i = 0; i < sheets.size(); ++i) {
        const QImage alone = sheetsImage({sheets[i]});
        EXPECT_EQ(stack.copy(QRect(QPoint(0, y), alone.size())), alone) << "sheet " << i;
        y += alone.height() + gap;
    }
    EXPECT_EQ(y - gap, stack.height());
    // It says it is at 96 dots per inch, so that it prints at the window's size.
    EXPECT_EQ(stack.dotsPerMeterX(), 3780);
    EXPECT_EQ(stack.dotsPerMeterY(), 3780);
}

TEST(GridPicture, AnSvgSaysItsOwnSizeAndViewBox) {
    Grid g(3, 2);
    g.setText(1, 1, "回数");
    const std::vector<GridSheet> sheets{sheetFor(PicturePart{"", &g, {0, 1, 2, 1, 3}})};
    const QSize size = sheetsSize(sheets);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    ASSERT_TRUE(writeSheets(sheets, "svg", {"出現回数分析"}, &buffer, error))
        << error.toStdString();
    const QByteArray svg = buffer.data();
    EXPECT_TRUE(svg.contains(
        QString("viewBox=\"0 0 %1 %2\"").arg(size.width()).arg(size.height()).toUtf8()))
        << svg.left(600).toStdString();
    EXPECT_TRUE(svg.contains("<title>出現回数分析</title>"));
    // Its size on paper is at 96 dots an inch, and the grid is drawn in it.
    const double mm = size.width() * 25.4 / kPictureDpi;
    EXPECT_TRUE(svg.contains(QString("width=\"%1mm\"").arg(mm, 0, 'f', 2).toUtf8()) ||
                svg.contains(QString("width=\"%1mm\"").arg(std::lround(mm)).toUtf8()))
        << svg.left(600).toStdString();
    EXPECT_TRUE(svg.contains(">回数</text>")) << svg.toStdString();
}
