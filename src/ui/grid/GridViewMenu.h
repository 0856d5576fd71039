#pragma once
// The context menu of every grid: コピー (the selection as TSV), すべて選択,
// 画像として保存… (the selection, under its title rows, or else the part in
// view, as PNG, SVG or PDF), HTML として保存… (the whole grid as a page that
// reads like the window) and 印刷… (the selection, or else what the page
// shows, on A4 pages under the window's name, description and legend, in the
// print preview whose print button opens the system's print dialog). Windows
// add their own entries after these.
#include <QList>
#include <QObject>
#include <QStandardPaths>
#include <QString>
#include <functional>

#include "core/grid/GridHtml.h"
#include "paint/GridPicture.h"

class QAction;
class QWidget;
class QPrinter;

namespace n4 {

class GridView;

// A file name typed without a suffix takes the first one of the kind chosen in
// the save dialog ("SVG 画像 (*.svg)" gives "表" the name "表.svg").
QString withChosenSuffix(const QString& path, const QString& chosenFilter);
// The toolkit's save dialog, the chosen kind's suffix added to a bare name;
// "" when the user gives up.
QString askSaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                        const QString& filters);
// A file of that name in the user's pictures or documents folder (the home
// folder where it is missing).
QString suggestedSavePath(QStandardPaths::StandardLocation where, const QString& name);

class GridViewMenu : public QObject {
    Q_OBJECT
  public:
    explicit GridViewMenu(GridView* view);

    // What saved pictures and pages are called and what a page says under
    // its title.
    void setTitle(const QString& title, const QString& description = {});
    // The page HTML として保存… writes; by default the grid alone. The
    // prediction window gives its four grids.
    void setPageMaker(std::function<HtmlPage()> maker);
    // Asks where to save: (caption, suggested path, filters) -> path, "" to
    // give up. By default the toolkit's save dialog.
    using FileChooser = std::function<QString(const QString& caption, const QString& suggested,
                                              const QString& filters)>;
    void setFileChooser(FileChooser chooser);
    // A legend entry of the window, under the title on printed and PDF pages.
    void addLegend(LegendPicture picture, const QString& text);
    // Shows the printer, set up for A4 in the orientation that fits, to the
    // user; paint draws the pages on the printer as the user leaves it set
    // up (for a preview as for the print). By default the toolkit's print
    // preview, whose print button opens the system's print dialog.
    using PrintDialog =
        std::function<void(QPrinter& printer, const std::function<void(QPrinter&)>& paint)>;
    void setPrintDialog(PrintDialog dialog);
    // A further entry, after the grid's own.
    void addWindowAction(QAction* action);

    QAction* copyAction() const { return copy_; }
    QAction* selectAllAction() const { return selectAll_; }
    QAction* savePictureAction() const { return savePicture_; }
    QAction* saveHtmlAction() const { return saveHtml_; }
    QAction* printAction() const { return print_; }
    QList<QAction*> actions() const;

    void popup(const QPoint& globalPos);

    // What the two save entries do once they know the file; the format of a
    // picture follows the file's suffix. false with a message in Japanese.
    bool savePictureTo(const QString& path, QString& error) const;
    bool saveHtmlTo(const QString& path, QString& error) const;
    // What 印刷… does: the selection where more than one cell is selected,
    // else the whole page (the grid, or the grids the page maker gives).
    void print();
    // The whole page, whatever is selected (the window's 印刷 button where
    // the page has more grids than this one).
    void printPage();

  private:
    void askAndSave(bool picture);
    HtmlPage page() const;
    PageHeading pageHeading(const HtmlPage& page) const;
    // The selection as a block of rows under the title rows, where it
    // reaches below them.
    PictureBlock selectedBlock() const;
    void printSheets(const std::vector<GridSheet>& sheets, const PageHeading& heading);

    GridView* view_;
    QAction *copy_, *selectAll_, *savePicture_, *saveHtml_, *print_;
    QList<QAction*> windowActions_;
    QString title_, description_;
    std::string titleUtf8_, descriptionUtf8_; // what the default page points at
    std::vector<LegendEntry> legend_;
    std::function<HtmlPage()> pageMaker_;
    FileChooser chooser_;
    PrintDialog printDialog_;
};

} // namespace n4
