// The context menu of the analysis and prediction grids: コピー, すべて選択,
// 画像として保存…, HTML として保存….
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include "UiSupport.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewMenu.h"
#include "ui/prediction/PredictionWindow.h"

using namespace n4;
using n4test::Shell;

namespace {

// The interval window over 60 draws, and its grid view.
struct Interval {
    Shell shell{n4test::patternedHistory(60)};
    GridView* view;
    std::string folder = n4test::tempFolder();
    QString saved;     // where the next save goes ("" gives up)
    QStringList asked; // what the last file dialog was given: caption, name, kinds
    Interval() {
        QMdiSubWindow* sub = shell.choose("mnuSyutugenKankaku");
        view = sub->findChild<GridView*>();
        view->menu()->setFileChooser(
            [this](const QString& caption, const QString& suggested, const QString& kinds) {
                asked = QStringList{caption, suggested, kinds};
                return saved;
            });
    }
    QString path(const char* name) const { return QString::fromStdString(folder + "/" + name); }
};

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What the menu that a right click at a point of the view opens offers,
// separators as "-", an entry's key after a tab where the menu shows it.
QStringList rightClick(GridView* view, QPoint at) {
    QStringList offered;
    QTimer::singleShot(0, [&offered] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            for (QAction* a : popup->actions())
                offered << (a->isSeparator() ? QStringLiteral("-")
                            : a->shortcut().isEmpty() || !a->isShortcutVisibleInContextMenu()
                                ? a->text()
                                : a->text() + "\t" + a->shortcut().toString());
            popup->close();
        }
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &click);
    return offered;
}

} // namespace

TEST(GridMenu, ARightClickOffersItsEntriesAndSelectsTheCellClicked) {
    Interval t;
    // (the window opens at the latest draws)
    const int row = t.view->grid().maxRows() - 5;
    EXPECT_EQ(rightClick(t.view, t.view->cellRect(3, row).center()),
              (QStringList{"コピー\tCtrl+C", "すべて選択\tCtrl+A", "-", "画像として保存…",
                           "HTML として保存…", "-", "印刷…\tCtrl+P", "-", "回号へ移動…\tCtrl+G"}));
    EXPECT_EQ(t.view->cursorCell(), QPoint(3, row));
    EXPECT_EQ(t.view->selection(), QRect(3, row, 1, 1));
    // The keys show also where the desktop hides them in context menus.
    QCoreApplication::setAttribute(Qt::AA_DontShowShortcutsInContextMenus, true);
    const QStringList hiddenElsewhere = rightClick(t.view, t.view->cellRect(3, row).center());
    QCoreApplication::setAttribute(Qt::AA_DontShowShortcutsInContextMenus, false);
    EXPECT_EQ(hiddenElsewhere.mid(0, 2), (QStringList{"コピー\tCtrl+C", "すべて選択\tCtrl+A"}));
    // A click inside a selection keeps it, to be copied or saved whole.
    t.view->selectBlock(2, row - 3, 4, row);
    rightClick(t.view, t.view->cellRect(3, row - 1).center());
    EXPECT_EQ(t.view->selection(), QRect(QPoint(2, row - 3), QPoint(4, row)));
}

// From the keyboard, with nothing selected, コピー is offered greyed.
TEST(GridMenu, TheMenuKeyWithNothingSelectedGreysCopy) {
    Interval t;
    QStringList enabled;
    QTimer::singleShot(0, [&enabled] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            for (QAction* a : popup->actions())
                if (!a->isSeparator()) enabled << (a->text() + (a->isEnabled() ? "" : "(off)"));
            popup->close();
        }
    });
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), t.view->mapToGlobal(QPoint()));
    QApplication::sendEvent(t.view, &key);
    EXPECT_EQ(enabled, (QStringList{"コピー(off)", "すべて選択", "画像として保存…",
                                    "HTML として保存…", "印刷…", "回号へ移動…"}));
}

TEST(GridMenu, CopyGivesTheSelectionAsTsvAndSelectAllTakesEveryCell) {
    Interval t;
    t.view->moveCursorTo(1, 3);
    t.view->moveCursorTo(3, 4, true);
    t.view->menu()->copyAction()->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "1\t1\t初回\n2\t2\t初回\n");
    t.view->menu()->selectAllAction()->trigger();
    EXPECT_EQ(t.view->selection(),
              QRect(QPoint(1, 1), QPoint(t.view->grid().maxCols(), t.view->grid().maxRows())));
}

TEST(GridMenu, APictureIsTheSelectionUnderItsTitleRowsOrElseThePartInView) {
    Interval t;
    GridView* v = t.view;
    v->moveCursorTo(1, 10);
    v->moveCursorTo(4, 13, true);
    t.saved = t.path("block.png");
    v->menu()->savePictureAction()->trigger();
    QImage block(t.saved);
    ASSERT_FALSE(block.isNull());
    const int titles = v->rowY(3);
    EXPECT_EQ(block.size(), QSize(v->columnX(5), titles + v->rowY(14) - v->rowY(10)));
    // The title band's pink over column 2, then row 10's cyan digit cell.
    EXPECT_EQ(QColor(block.pixel(v->columnX(2) + 3, 3)), QColor(255, 200, 200));
    EXPECT_EQ(QColor(block.pixel(v->columnX(2) + 3, titles + 3)), QColor(200, 255, 255));
    // One cell is no selection to draw: the picture is what the window shows.
    v->moveCursorTo(2, 20);
    t.saved = t.path("view.png");
    v->menu()->savePictureAction()->trigger();
    EXPECT_EQ(QImage(t.saved).size(), v->viewport()->size());
    // The other kinds, by the name's suffix.
    t.saved = t.path("view.svg");
    v->menu()->savePictureAction()->trigger();
    EXPECT_TRUE(fileBytes(t.saved).contains("<svg"));
    t.saved = t.path("view.pdf");
    v->menu()->savePictureAction()->trigger();
    EXPECT_TRUE(fileBytes(t.saved).startsWith("%PDF"));
    // Giving up in the dialog writes nothing.
    t.saved = "";
    v->menu()->savePictureAction()->trigger();
    EXPECT_FALSE(QFile::exists(t.path(".png")));
    // The dialog offers the window's name and the three kinds.
    ASSERT_EQ(t.asked.size(), 3);
    EXPECT_EQ(t.asked[0], "画像として保存");
    EXPECT_TRUE(t.asked[1].endsWith("/出現間隔分析.png")) << t.asked[1].toStdString();
    EXPECT_EQ(t.asked[2], "PNG 画像 (*.png);;SVG 画像 (*.svg);;PDF (*.pdf)");
    // A block that starts in the title rows and reaches below them is drawn
    // under the whole title rows, once, as its pages would repeat them.
    v->moveCursorTo(1, 2);
    v->moveCursorTo(3, 5, true);
    t.saved = t.path("titles.png");
    v->menu()->savePictureAction()->trigger();
    EXPECT_EQ(QImage(t.saved).size(), QSize(v->columnX(4), v->rowY(6)));
    // One within the title rows is drawn as it is.
    v->moveCursorTo(1, 2);
    v->moveCursorTo(3, 2, true);
    v->menu()->savePictureAction()->trigger();
    EXPECT_EQ(QImage(t.saved).size(), QSize(v->columnX(4), v->rowY(3) - v->rowY(2)));
}

TEST(GridMenu, TheWholeGridSavesAsAPageThatReadsLikeTheWindow) {
    Interval t;
    t.saved = t.path("interval.html");
    t.view->menu()->saveHtmlAction()->trigger();
    const QString html = QString::fromUtf8(fileBytes(t.saved));
    EXPECT_TRUE(html.contains("<title>出現間隔分析</title>"));
    EXPECT_TRUE(html.contains("過去の当選数字が何回前に出現しているか分析します"));
    EXPECT_EQ(html.count("<tr"), t.view->grid().maxRows());
    ASSERT_EQ(t.asked.size(), 3);
    EXPECT_EQ(t.asked[0], "HTML として保存");
    EXPECT_TRUE(t.asked[1].endsWith("/出現間隔分析.html")) << t.asked[1].toStdString();
    EXPECT_EQ(t.asked[2], "HTML (*.html *.htm)");
    // The two title rows head the table.
    EXPECT_EQ(html.section("<thead>", 1).section("</thead>", 0, 0).count("<tr"), 2);
}

TEST(GridMenu, APredictionGridSavesTheWholePredictionAndOffersTheBackTest) {
    Shell shell(n4test::patternedHistory(60));
    auto* window = shell.main->openWindow("一発マーヴォ")->findChild<PredictionWindow*>();
    ASSERT_NE(window, nullptr);
    GridViewMenu* menu = window->gridView(2)->menu();
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << a->text();
    EXPECT_TRUE(texts.contains("過去の当選で検証…"));
    // A right click on the grid offers it too, below the grid's own entries.
    EXPECT_EQ(rightClick(window->gridView(2), window->gridView(2)->cellRect(1, 1).center()),
              (QStringList{"コピー\tCtrl+C", "すべて選択\tCtrl+A", "-", "画像として保存…",
                           "HTML として保存…", "-", "印刷…\tCtrl+P", "-", "過去の当選で検証…"}));
    const QString path = QString::fromStdString(n4test::tempFolder() + "/prediction.html");
    menu->setFileChooser([path](const QString&, const QString&, const QString&) { return path; });
    menu->saveHtmlAction()->trigger();
    const QString html = QString::fromUtf8(fileBytes(path));
    EXPECT_EQ(html.count("<table"), 4);
    EXPECT_TRUE(html.contains("●連発マーヴォ予想(この予想数字を組む合わせて購入します)"));
    EXPECT_TRUE(html.contains("第61回の予想"));
}

TEST(GridMenu, AnUnknownKindOrAnUnwritablePlaceIsSaidAndWritesNothing) {
    Interval t;
    QString error;
    EXPECT_FALSE(t.view->menu()->savePictureTo(t.path("grid.gif"), error));
    EXPECT_TRUE(error.contains(".png")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(t.path("grid.gif")));
    error.clear();
    EXPECT_FALSE(t.view->menu()->saveHtmlTo(t.path("no-such-folder/grid.html"), error));
    EXPECT_FALSE(error.isEmpty());
    // Chosen from the menu, the failure is shown in a message box.
    for (bool picture : {true, false}) {
        t.saved = t.path(picture ? "no-such-folder/grid.png" : "no-such-folder/grid.html");
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->windowTitle() + "|" + box->text();
                box->close();
            }
        });
        (picture ? t.view->menu()->savePictureAction() : t.view->menu()->saveHtmlAction())
            ->trigger();
        EXPECT_TRUE(shown.startsWith("メッセ－ジ|")) << shown.toStdString();
        EXPECT_GT(shown.size(), 7) << shown.toStdString();
    }
}

TEST(GridMenu, TheDialogStartsInThePicturesOrDocumentsFolderOrElseAtHome) {
    Interval t;
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
    const QString user = QString::fromStdString(n4test::tempFolder());
    qputenv("HOME", user.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (user + "/.config").toLocal8Bit()); // no user-dirs.dirs
    auto suggested = [&t](QAction* save) {
        save->trigger();
        return t.asked.value(1);
    };
    GridViewMenu* menu = t.view->menu();
    EXPECT_EQ(suggested(menu->savePictureAction()), user + "/出現間隔分析.png");
    EXPECT_EQ(suggested(menu->saveHtmlAction()), user + "/出現間隔分析.html");
    QDir(user).mkpath(QStringLiteral("Pictures"));
    QDir(user).mkpath(QStringLiteral("Documents"));
    EXPECT_EQ(suggested(menu->savePictureAction()), user + "/Pictures/出現間隔分析.png");
    EXPECT_EQ(suggested(menu->saveHtmlAction()), user + "/Documents/出現間隔分析.html");
    qputenv("HOME", home);
    if (config.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", config);
}

TEST(GridMenu, ANameTypedWithoutASuffixTakesTheChosenKinds) {
    const QString png = QStringLiteral("PNG 画像 (*.png)");
    const QString html = QStringLiteral("HTML (*.html *.htm)");
    EXPECT_EQ(withChosenSuffix(QStringLiteral("/d/表"), png), QStringLiteral("/d/表.png"));
    EXPECT_EQ(withChosenSuffix(QStringLiteral("/d/表"), QStringLiteral("SVG 画像 (*.svg)")),
              QStringLiteral("/d/表.svg"));
    EXPECT_EQ(withChosenSuffix(QStringLiteral("/d/表"), html), QStringLiteral("/d/表.html"));
    EXPECT_EQ(withChosenSuffix(QStringLiteral("/d.x/表"), png), QStringLiteral("/d.x/表.png"));
    EXPECT_EQ(withChosenSuffix(QStringLiteral("/d/表"), QStringLiteral("*.pdf")),
              QStringLiteral("/d/表.pdf"));
    // A suffix typed stays; no name or no kind changes nothing.
    EXPECT_EQ(withChosenSuffix(QStringLiteral("/d/表.pdf"), png), QStringLiteral("/d/表.pdf"));
    EXPECT_EQ(withChosenSuffix(QString(), png), QString());
    EXPECT_EQ(withChosenSuffix(QStringLiteral("/d/表"), QString()), QStringLiteral("/d/表"));
}
