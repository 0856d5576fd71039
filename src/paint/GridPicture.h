#pragma once
// Pictures of grids drawn by the window's own painter: PNG, SVG, PDF and
// printed pages. A picture is a stack of sheets, each a heading line and a
// part of a grid. Pages (a PDF's, a printer's) are A4, upright where the grid
// fits, else across and scaled down to the width where the grid is wider
// still; a grid longer than a page goes on over more pages with its title
// rows repeated at the top of each, every page under the window's name,
// description and legend, with its number at the foot.
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "core/grid/PictureRequest.h"
#include "paint/GridLayout.h"
#include "paint/GridPainter.h"

class QIODevice;
class QPagedPaintDevice;

namespace n4 {

struct GridSheet {
    QString heading; // "" for none
    const Grid* grid = nullptr;
    GridLayout layout;
    QFont font;
    GridWindow window; // the part of the grid that shows
    // Where the part is a block of rows, a PDF may split it over pages.
    std::optional<PictureBlock> block;
};

// Pictures from the command line are drawn at 96 dots per inch, with the
// width unit a window's grid starts with.
constexpr double kPictureDpi = 96.0;

// The window onto a grid laid out so that it shows the block, title rows on
// top, at the top left.
GridWindow windowFor(const GridLayout& layout, const PictureBlock& block);
// A sheet of a request's part at the pictures' own scale.
GridSheet sheetFor(const PicturePart& part);

QSize sheetsSize(const std::vector<GridSheet>& sheets);

// The small pictures a window's legend shows before its texts.
enum class LegendPicture { Ball, BonusBall, Swatch };
// Paints one filling box (19 pixels square in the window).
void paintLegendPicture(QPainter& p, LegendPicture picture, const QRectF& box);

struct LegendEntry {
    LegendPicture picture;
    QString text;
};

// What heads every page: the window's name, its description and its legend.
struct PageHeading {
    QString title;
    QString description = {}; // "" for none
    std::vector<LegendEntry> legend = {};
};

// A sheet on a PDF page: y pixels from the top, shrunk by fit where it is
// taller than a page.
struct PlacedSheet {
    GridSheet sheet;
    double y;
    double fit;
};
// The pages, in sheet pixels of pageHeight each: a block of rows goes on
// over as many pages as it needs, its title rows on each.
std::vector<std::vector<PlacedSheet>> planPages(const std::vector<GridSheet>& sheets,
                                                double pageHeight);
// The pages of a PDF or a print, each page (its part within the margins)
// in sheet pixels: the heading in a band of height top, the sheets below it
// (their y counted from there) shrunk by scale where the widest is wider
// than a page, the page number in a band of height foot at the bottom.
struct PdfPages {
    double scale;
    std::vector<std::vector<PlacedSheet>> pages;
    PageHeading heading;
    QSize page;
    int top = 0, foot = 0;
};
PdfPages planPdf(const std::vector<GridSheet>& sheets, QSize page, const PageHeading& heading = {});
// Paints the pages on a paged device; newPage goes on to the next page.
void paintPages(QPainter& p, const PdfPages& planned, const std::function<void()>& newPage);
// Plans and paints the sheets on a paged device (a PDF writer, a printer) as
// it is set up, at kPictureDpi; false when it cannot be painted on.
bool paintOnPages(QPagedPaintDevice& device, const std::vector<GridSheet>& sheets,
                  const PageHeading& heading);
// An A4 page with 1 cm margins: upright where sheets of that width fit its
// width, so that a page holds more rows; a wider grid lies across the page.
QPageLayout pdfPageLayout(int sheetsWidth);
QImage sheetsImage(const std::vector<GridSheet>& sheets);
// A PNG is held whole in memory while it is written: at most 32,767 pixels
// a side and 120 million in all.
bool pngCanHold(QSize size);
// format: "png", "svg" or "pdf"; the heading's title names an SVG or a PDF,
// and a PDF shows the heading on every page. false with a message when the
// picture cannot be made (a PNG too large to hold, a device that fails).
bool writeSheets(const std::vector<GridSheet>& sheets, const std::string& format,
                 const PageHeading& heading, QIODevice* device, QString& error);

// The command-line tool's writer (PictureWriter).
bool writeGridPicture(const PictureRequest& request, std::ostream& out, std::string& error);

} // namespace n4
