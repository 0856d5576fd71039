// 印刷: the windows' print button and the grids' 印刷… print on A4 pages, the
// title rows, the window's name, description and legend and the page number
// on each; a PDF printer stands in for the dialog and the printer.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "UiSupport.h"
#include "core/prediction/PredictionGrids.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewMenu.h"
#include "ui/prediction/PredictionWindow.h"

using namespace n4;

namespace {

// Stands in for the print dialog: the user prints to a PDF file as the
// printer was set up for them.
struct PdfPrinter {
    QString path = QString::fromStdString(n4test::tempFolder() + "/printed.pdf");
    QPageLayout offered;
    explicit PdfPrinter(GridView* view) {
        view->menu()->setPrintDialog(
            [this](QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
                offered = printer.pageLayout();
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(path);
                paint(printer);
            });
    }
    QStringList pages() const { return n4test::pdfPageTexts(path); }
};

// The draw numbers that begin the pages' lines, in order.
QList<int> drawsListed(const QStringList& pages) {
    QList<int> draws;
    static const QRegularExpression row("^\\s*(\\d+)\\s+[^\\s/]",
                                        QRegularExpression::MultilineOption);
    for (const QString& page : pages)
        for (auto it = row.globalMatch(page); it.hasNext();)
            draws << it.next().captured(1).toInt();
    return draws;
}

QList<int> drawsFromTo(int first, int last) {
    QList<int> draws;
    for (int n = first; n <= last; ++n)
        draws << n;
    return draws;
}

// Every page is headed by the window's name, description and legend and the
// grid's title rows, and numbered.
void expectHeadedAndNumbered(const QStringList& pages, const QStringList& heading) {
    for (int i = 0; i < pages.size(); ++i) {
        for (const QString& text : heading)
            EXPECT_TRUE(pages[i].contains(text)) << "page " << i << ": " << text.toStdString();
        EXPECT_TRUE(
            pages[i].contains(QStringLiteral("%1 / %2 ページ").arg(i + 1).arg(pages.size())))
            << "page " << i;
    }
}

} // namespace

// The menu's PDF of the whole grid goes over the same pages.
TEST(GridPrint, ThePrintButtonAndTheWholeGridsPdfGiveUprightA4PagesEachHeaded) {
    n4test::Shell shell(n4test::patternedHistory(200));
    QMdiSubWindow* sub = shell.choose("mnuSyutugenKankaku");
    auto* view = sub->findChild<GridView*>();
    PdfPrinter printer(view);
    QTest::mouseClick(sub->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    EXPECT_EQ(printer.offered.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(printer.offered.orientation(), QPageLayout::Portrait);
    const QString saved = QString::fromStdString(n4test::tempFolder() + "/whole.pdf");
    view->menu()->setFileChooser(
        [&](const QString&, const QString&, const QString&) { return saved; });
    view->menu()->selectAllAction()->trigger();
    view->menu()->savePictureAction()->trigger();
    for (const QStringList& pages : {printer.pages(), n4test::pdfPageTexts(saved)}) {
        ASSERT_GE(pages.size(), 3);
        expectHeadedAndNumbered(
            pages, {"出現間隔分析", "過去の当選数字が何回前に出現しているか分析します", "第1数字"});
        EXPECT_EQ(drawsListed(pages), drawsFromTo(1, 200)); // each once, in order
    }
}

TEST(GridPrint, TheMenuPrintsTheSelectionUnderTheTitleRowsAndAWideGridAcross) {
    n4test::Shell shell(n4test::patternedHistory(200));
    auto* view = shell.choose("mnu10BunkatsuData")->findChild<GridView*>();
    PdfPrinter printer(view);
    view->moveCursorTo(1, 153); // draws 150..170, under three title rows
    view->moveCursorTo(view->grid().maxCols(), 173, true);
    view->setFocus(); // 印刷… by its key
    QTest::keyClick(view, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(printer.offered.orientation(), QPageLayout::Landscape);
    const QStringList pages = printer.pages();
    ASSERT_EQ(pages.size(), 1);
    expectHeadedAndNumbered(pages, {"10分割データ分析", "：当選数字", "回数"});
    EXPECT_EQ(drawsListed(pages), drawsFromTo(150, 170));
}

TEST(GridPrint, ThePredictionPrintsItsFourGridsAndTheDrawPredicted) {
    n4test::Shell shell(n4test::patternedHistory(60));
    auto* window = shell.main->openWindow("一発マーヴォ")->findChild<PredictionWindow*>();
    // A selection in one grid: the window's button still prints them all.
    window->gridView(0)->selectAll();
    PdfPrinter printer(window->gridView(0));
    QTest::mouseClick(window->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    const QStringList pages = printer.pages();
    ASSERT_EQ(pages.size(), 1);
    QStringList heading{"一発マーヴォ予想", "第61回の予想"};
    for (int g = 0; g < 4; ++g)
        heading << QString::fromUtf8(predictionGridLabel(g)).left(8);
    expectHeadedAndNumbered(pages, heading);
}
