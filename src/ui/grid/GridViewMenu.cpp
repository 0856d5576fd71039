#include "ui/grid/GridViewMenu.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <algorithm>
#include <deque>
#include <sstream>

#include "paint/GridPicture.h"
#include "ui/grid/GridView.h"

namespace n4 {

QString askSaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                        const QString& filters) {
    QString chosenFilter;
    const QString path =
        QFileDialog::getSaveFileName(parent, caption, suggested, filters, &chosenFilter);
    return withChosenSuffix(path, chosenFilter);
}

QString suggestedSavePath(QStandardPaths::StandardLocation where, const QString& name) {
    QString folder = QStandardPaths::writableLocation(where);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    return QDir(folder).filePath(name);
}

namespace {

void previewAndPrint(QWidget* parent, QPrinter& printer,
                     const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("印刷プレビュー"));
    // Tall enough to read a page, wide enough for the whole tool bar.
    const QRect screen = parent->screen()->availableGeometry();
    preview.resize(std::min(960, screen.width() * 9 / 10), screen.height() * 9 / 10);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* target) { paint(*target); });
    preview.exec();
}

bool commit(QSaveFile& file, bool written, QString& error) {
    if (written && file.commit()) return true;
    file.cancelWriting();
    if (error.isEmpty()) error = QStringLiteral("%1 に保存できませんでした。").arg(file.fileName());
    return false;
}

} // namespace

QString withChosenSuffix(const QString& path, const QString& chosenFilter) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    const int star = chosenFilter.indexOf(QStringLiteral("*."));
    if (star < 0) return path;
    const int end = chosenFilter.indexOf(QRegularExpression(QStringLiteral("[ )]")), star);
    return path + chosenFilter.mid(star + 1, end < 0 ? -1 : end - star - 1);
}

GridViewMenu::GridViewMenu(GridView* view) : QObject(view), view_(view) {
    copy_ = new QAction(QStringLiteral("コピー"), this);
    copy_->setShortcut(QKeySequence::Copy);
    selectAll_ = new QAction(QStringLiteral("すべて選択"), this);
    selectAll_->setShortcut(QKeySequence::SelectAll);
    savePicture_ = new QAction(QStringLiteral("画像として保存…"), this);
    saveHtml_ = new QAction(QStringLiteral("HTML として保存…"), this);
    print_ = new QAction(QStringLiteral("印刷…"), this);
    print_->setShortcut(QKeySequence::Print);
    for (QAction* a : {copy_, selectAll_, print_}) {
        a->setShortcutContext(Qt::WidgetShortcut); // the view's own keys do the work
        a->setShortcutVisibleInContextMenu(true);
    }
    view->addAction(print_); // (its key: the view has none of its own for it)
    connect(copy_, &QAction::triggered, view, [view] { view->copySelection(); });
    connect(selectAll_, &QAction::triggered, view, [view] { view->selectAll(); });
    connect(savePicture_, &QAction::triggered, this, [this] { askAndSave(true); });
    connect(saveHtml_, &QAction::triggered, this, [this] { askAndSave(false); });
    connect(print_, &QAction::triggered, this, &GridViewMenu::print);
    chooser_ = [view](const QString& caption, const QString& suggested, const QString& filters) {
        return askSaveFileName(view, caption, suggested, filters);
    };
    printDialog_ = [view](QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
        previewAndPrint(view, printer, paint);
    };
}

void GridViewMenu::setTitle(const QString& title, const QString& description) {
    title_ = title;
    description_ = description;
    titleUtf8_ = title.toStdString();
    descriptionUtf8_ = description.toStdString();
}

void GridViewMenu::setPageMaker(std::function<HtmlPage()> maker) {
    pageMaker_ = std::move(maker);
}

void GridViewMenu::setFileChooser(FileChooser chooser) {
    chooser_ = std::move(chooser);
}

void GridViewMenu::addLegend(LegendPicture picture, const QString& text) {
    legend_.push_back({picture, text});
}

void GridViewMenu::setPrintDialog(PrintDialog dialog) {
    printDialog_ = std::move(dialog);
}

void GridViewMenu::addWindowAction(QAction* action) {
    windowActions_.append(action);
}

QList<QAction*> GridViewMenu::actions() const {
    return QList<QAction*>{copy_, selectAll_, savePicture_, saveHtml_, print_} + windowActions_;
}

void GridViewMenu::popup(const QPoint& globalPos) {
    copy_->setEnabled(!view_->selection().isNull());
    QMenu menu(view_);
    menu.addActions({copy_, selectAll_});
    menu.addSeparator();
    menu.addActions({savePicture_, saveHtml_});
    menu.addSeparator();
    menu.addAction(print_);
    if (!windowActions_.isEmpty()) {
        menu.addSeparator();
        menu.addActions(windowActions_);
    }
    menu.exec(globalPos);
}

void GridViewMenu::askAndSave(bool picture) {
    const QString name = title_.isEmpty() ? QStringLiteral("表") : title_;
    const QString path =
        picture ? chooser_(QStringLiteral("画像として保存"),
                           suggestedSavePath(QStandardPaths::PicturesLocation, name + ".png"),
                           QStringLiteral("PNG 画像 (*.png);;SVG 画像 (*.svg);;PDF (*.pdf)"))
                : chooser_(QStringLiteral("HTML として保存"),
                           suggestedSavePath(QStandardPaths::DocumentsLocation, name + ".html"),
                           QStringLiteral("HTML (*.html *.htm)"));
    if (path.isEmpty()) return;
    QString error;
    if (!(picture ? savePictureTo(path, error) : saveHtmlTo(path, error)))
        QMessageBox::warning(view_, QStringLiteral("メッセ－ジ"), error);
}

bool GridViewMenu::savePictureTo(const QString& path, QString& error) const {
    const std::string format = QFileInfo(path).suffix().toLower().toStdString();
    if (format != "png" && format != "svg" && format != "pdf") {
        error = QStringLiteral("画像は .png、.svg、.pdf のどれかの名前で保存してください。");
        return false;
    }
    GridSheet sheet;
    sheet.grid = &view_->grid();
    sheet.layout = view_->layout();
    sheet.font = view_->font();
    const QRect s = view_->selection();
    if (s.width() * s.height() > 1) {
        sheet.block = selectedBlock();
        sheet.window = windowFor(sheet.layout, *sheet.block);
    } else {
        sheet.window = view_->window(); // the part in view
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("%1 に保存できませんでした: %2").arg(path, file.errorString());
        return false;
    }
    return commit(file, writeSheets({sheet}, format, pageHeading(page()), &file, error), error);
}

PictureBlock GridViewMenu::selectedBlock() const {
    const QRect s = view_->selection();
    const int titles = view_->frozenRows();
    if (s.bottom() <= titles) return PictureBlock{0, s.top(), s.bottom(), s.left(), s.right()};
    return PictureBlock{titles, std::max(s.top(), titles + 1), s.bottom(), s.left(), s.right()};
}

PageHeading GridViewMenu::pageHeading(const HtmlPage& page) const {
    return PageHeading{QString::fromStdString(page.title), QString::fromStdString(page.description),
                       legend_};
}

// The grids are printed from copies: the window may be computed anew while
// the dialog is open.
void GridViewMenu::print() {
    const QRect s = view_->selection();
    if (s.width() * s.height() <= 1) {
        printPage();
        return;
    }
    const Grid grid = view_->grid();
    printSheets({sheetFor(PicturePart{"", &grid, selectedBlock()})}, pageHeading(page()));
}

void GridViewMenu::printPage() {
    const HtmlPage whole = page();
    std::deque<Grid> grids; // (where the sheets point)
    std::vector<GridSheet> sheets;
    for (const HtmlTable& table : whole.tables) {
        const Grid& grid = grids.emplace_back(*table.grid);
        sheets.push_back(sheetFor(PicturePart{
            table.heading, &grid, lastBodyRows(grid, table.titleRows, grid.maxRows())}));
    }
    printSheets(sheets, pageHeading(whole));
}

void GridViewMenu::printSheets(const std::vector<GridSheet>& sheets, const PageHeading& heading) {
    QPrinter printer;
    printer.setResolution(static_cast<int>(kPictureDpi)); // a pixel of the sheets
    printer.setPageLayout(pdfPageLayout(sheetsSize(sheets).width()));
    printer.setDocName(heading.title);
    printer.setCreator(QStringLiteral("ナンバーズ4マーヴォ"));
    bool painted = true;
    printDialog_(printer, [&](QPrinter& target) {
        painted = paintOnPages(target, sheets, heading) && painted;
    });
    if (!painted)
        QMessageBox::warning(view_, QStringLiteral("メッセ－ジ"),
                             QStringLiteral("印刷できませんでした。"));
}

HtmlPage GridViewMenu::page() const {
    if (pageMaker_) return pageMaker_();
    return HtmlPage{titleUtf8_, descriptionUtf8_, {{&view_->grid(), view_->frozenRows(), ""}}, ""};
}

bool GridViewMenu::saveHtmlTo(const QString& path, QString& error) const {
    std::ostringstream html;
    writeHtmlPage(html, page());
    const std::string bytes = html.str();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("%1 に保存できませんでした: %2").arg(path, file.errorString());
        return false;
    }
    const bool written =
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == qint64(bytes.size());
    return commit(file, written, error);
}

} // namespace n4
