// The frame every analysis window shares, for each of the fifteen windows,
// opened as the user opens them: through the menu of the running program.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include "UiSupport.h"
#include "ui/common/DrawJump.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewMenu.h"
#include "ui/shell/AnalysisWindowTable.h"

using namespace n4;
using n4test::Shell;

namespace {

// What the user sees of each window, as its description gives it.
struct Expected {
    const char* command;
    const char* window;
    const char* caption;
    const char* label;
    int widthTwips, heightTwips;
    bool propEndOnOpen;
    bool printButton;
    QStringList legend;
};

const std::vector<Expected>& windows() {
    static const std::vector<Expected> all = {
        {"mnuSyutugenHindo",
         "出現頻度分析",
         "出現頻度分析",
         "過去の当選番号の出現回数を数字別に分析します",
         5280,
         13200,
         false,
         false,
         {"：当選数字"}},
        {"mnuZenkaiSyutugen",
         "出現回数分析",
         "出現回数分析",
         "過去の当選数字が何回出現したか分析します",
         6280,
         13850,
         false,
         true,
         {}},
        {"mnuSyutugenKaisu",
         "回数別出現分析",
         "回数別頻度分析",
         "過去の当選番号から出現回数別の数字を分析します",
         3405,
         6700,
         false,
         true,
         {}},
        {"mnuHonsuji",
         "数字合計分析",
         "数字合計分析",
         "過去の当選番号の各数字の合計を分析します",
         4860,
         13680,
         false,
         true,
         {}},
        {"mnuSyutugenKankaku",
         "出現間隔分析",
         "出現間隔分析",
         "過去の当選数字が何回前に出現しているか分析します",
         6140,
         13800,
         false,
         true,
         {}},
        {"mnuHippari",
         "引っ張り分析",
         "引っ張り分析",
         "過去の当選数字に前回の数字が入っているか分析します",
         7000,
         13500,
         false,
         false,
         {":前回の数字"}},
        {"mnuBaratsuki",
         "バラツキ分析",
         "バラツキ分析",
         "過去の当選番号のバラツキを数字別に分析します",
         7630,
         13980,
         false,
         true,
         {"：本数字", "：ボーナス数字"}},
        {"mnuNumberKankaku",
         "数字間隔分析",
         "数字間隔分析",
         "当選数字を第1数字～第4数字別に前回数字との数字の間隔を分析します",
         7050,
         13820,
         false,
         true,
         {}},
        {"mnuRenbanTobiishi",
         "連番飛び石分析",
         "連番・飛び石分析",
         "過去の当選番号の連続数字と一つ飛び数字の傾向を分析します",
         7020,
         13400,
         false,
         true,
         {}},
        {"mnuKisuGusuPattern",
         "偶数奇数の組合せパターン分析",
         "偶数・奇数の組合せパターン分析",
         "過去の当選番号を偶数と奇数に分類して分析します",
         5900,
         13600,
         true,
         true,
         {}},
        {"mnuLowHightPattern",
         "低数字高数字の組合せパターン分析",
         "低数字・高数字の組合せパターン分析",
         "過去の当選番号を低数字（０～４）と高数字（５～９）に分けて組合せパターンを分析します",
         5900,
         13600,
         true,
         true,
         {}},
        {"mnu3BunkatsuData",
         "分割3データ分析",
         "3分割データ分析",
         "過去の当選番号の第１～４数字をＡ～Ｃの３グループに分類して分析します",
         12300,
         12400,
         false,
         false,
         {"：当選数字"}},
        {"mnu5BunkatsuData",
         "分割5データ分析",
         "5分割データ分析",
         "過去の当選番号の第１～４数字をＡ～Ｅの５グループに分類して分析します",
         12300,
         12400,
         false,
         false,
         {"：当選数字"}},
        {"mnu10BunkatsuData",
         "分割10データ分析",
         "10分割データ分析",
         "過去の当選番号の第１～４数字をＡ～Ｊの１０グループに分類して分析します",
         12300,
         12400,
         false,
         false,
         {"：当選数字"}},
        {"mnu5BunkatsuKeiko",
         "分割5傾向分析",
         "5分割傾向分析",
         "過去の当選番号の５グループに分類して分析します",
         6900,
         13750,
         true,
         true,
         {}},
    };
    return all;
}

// Twips at the screen's logical resolution: 1440 to the inch.
QSize pixels(const QWidget* w, int widthTwips, int heightTwips) {
    return QSize(qRound(widthTwips * w->logicalDpiX() / 1440.0),
                 qRound(heightTwips * w->logicalDpiY() / 1440.0));
}

// The controls of a window a user can reach (by the keyboard) with no name
// for a screen reader: no accessible name given, nor a caption of their own
// (a button's or a label's text, a window's title). A combo box would read out its value.
std::string namelessControls(QWidget* window) {
    QStringList nameless;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        auto* area = qobject_cast<QAbstractScrollArea*>(w->parentWidget());
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window) ||
            (area && area->viewport() == w)) // (a part of its scroll area)
            continue;
        auto* button = qobject_cast<QAbstractButton*>(w);
        auto* label = qobject_cast<QLabel*>(w);
        const QString caption = button ? button->text() : label ? label->text() : w->windowTitle();
        if (w->accessibleName().isEmpty() && caption.isEmpty())
            nameless << QString::fromLatin1(w->metaObject()->className()) + " " + w->objectName();
    }
    return nameless.join(", ").toStdString();
}

QStringList legendTexts(QWidget* frame) {
    QStringList out;
    for (QLabel* l : frame->findChildren<QLabel*>("Label2"))
        out << l->text();
    return out;
}

} // namespace

TEST(AnalysisFrame, EveryWindowHasItsCaptionLabelLegendAndButtons) {
    Shell s;
    for (const Expected& e : windows()) {
        SCOPED_TRACE(e.window);
        QMdiSubWindow* sub = s.choose(e.command);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub, s.main->openWindow(e.window));
        EXPECT_EQ(sub->windowTitle(), QString::fromUtf8(e.caption));
        QWidget* frame = sub->widget();
        auto* label = frame->findChild<QLabel*>("Label1");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(e.label));
        EXPECT_EQ(legendTexts(frame), e.legend);
        const auto pictures = frame->findChildren<QLabel*>("Picture1");
        EXPECT_EQ(pictures.size(), e.legend.size());
        for (QLabel* picture : pictures) // a small picture the user can see
            EXPECT_TRUE(picture->isVisible() && picture->width() >= 15 && picture->height() >= 15)
                << picture->width() << " x " << picture->height();
        auto* close = frame->findChild<QPushButton*>("Command1");
        ASSERT_NE(close, nullptr);
        EXPECT_EQ(close->text(), "閉じる");
        EXPECT_TRUE(close->isEnabled());
        auto* print = frame->findChild<QPushButton*>("Command2");
        EXPECT_EQ(print != nullptr, e.printButton);
        if (print) {
            EXPECT_EQ(print->text(), "印刷");
            EXPECT_TRUE(print->isEnabled());
        }
        auto* grid = frame->findChild<GridView*>();
        ASSERT_NE(grid, nullptr);
        EXPECT_GT(grid->grid().maxRows(), 0);
    }
}

// What a screen reader needs: a name for every control, the grids too, whose
// description above them names them; and Ctrl+G in the windows that list draws.
TEST(AnalysisFrame, EveryControlOfEveryWindowHasAnAccessibleName) {
    Shell s;
    EXPECT_EQ(namelessControls(s.main.get()), "") << "the main window, prediction";
    for (const Expected& e : windows()) {
        SCOPED_TRACE(e.window);
        auto* frame = qobject_cast<AnalysisFrame*>(s.choose(e.command)->widget());
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(namelessControls(frame), "");
        EXPECT_EQ(frame->gridView()->accessibleName(), QString::fromUtf8(e.label));
        const bool listsDraws =
            e.window != std::string("出現頻度分析") && e.window != std::string("回数別出現分析");
        EXPECT_EQ(frame->drawJump()->action()->isVisible(), listsDraws);
    }
    for (const Expected& e : windows())
        s.close(e.window);
    s.main->openBacktest();
    s.close("一発マーヴォ");
    s.choose("mnuMasterInput");
    s.main->openHelp();
    s.main->openAbout();
    n4test::settle();
    for (QWidget* top : QApplication::topLevelWidgets()) // the main window, help, about
        if (top->isVisible()) {
            EXPECT_EQ(namelessControls(top), "") << top->objectName().toStdString();
        }
}

TEST(AnalysisFrame, EveryWindowOpensAtTheTopLeftWithItsSize) {
    Shell s;
    for (const Expected& e : windows()) {
        SCOPED_TRACE(e.window);
        QMdiSubWindow* sub = s.choose(e.command);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->pos(), QPoint(0, 0));
        EXPECT_EQ(sub->size(), pixels(s.main.get(), e.widthTwips, e.heightTwips));
        // At 96 dpi a twip is a fifteenth of a pixel: the table itself holds the
        // sizes to the twip, for finer screens.
        const AnalysisWindowInfo* info = findAnalysisWindow(e.window);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->widthTwips, e.widthTwips);
        EXPECT_EQ(info->heightTwips, e.heightTwips);
    }
    QMdiSubWindow* prediction = s.main->openWindow("一発マーヴォ");
    ASSERT_NE(prediction, nullptr);
    EXPECT_EQ(prediction->pos(), QPoint(0, 0));
    EXPECT_EQ(prediction->size(), pixels(s.main.get(), 9360, 8244));
    // The data-entry window keeps its design size: its inside, below the title bar.
    for (const Expected& e : windows())
        s.close(e.window);
    s.close("一発マーヴォ");
    QMdiSubWindow* entry = s.choose("mnuMasterInput");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->pos(), QPoint(0, 0));
    EXPECT_EQ(entry->widget()->size(), pixels(s.main.get(), 6240, 12825));
}

TEST(AnalysisFrame, OpeningSetsPropEndAsEachWindowSaysAndClosingSetsItTrue) {
    Shell s;
    for (const Expected& e : windows()) {
        SCOPED_TRACE(e.window);
        s.main->setPropEnd(!e.propEndOnOpen);
        s.choose(e.command);
        EXPECT_EQ(s.main->propEnd(), e.propEndOnOpen);
        s.main->setPropEnd(false);
        s.close(e.window);
        EXPECT_EQ(s.main->openWindow(e.window), nullptr);
        EXPECT_TRUE(s.main->propEnd());
    }
}

TEST(AnalysisFrame, TheCloseButtonClosesAndThePrintButtonOpensThePrintDialog) {
    Shell s;
    for (const Expected& e : windows()) {
        SCOPED_TRACE(e.window);
        QMdiSubWindow* sub = s.choose(e.command);
        ASSERT_NE(sub, nullptr);
        const int windowsOpen = s.main->mdiArea()->subWindowList().size();
        if (auto* print = sub->widget()->findChild<QPushButton*>("Command2")) {
            int dialogs = 0;
            sub->widget()->findChild<GridView*>()->menu()->setPrintDialog(
                [&dialogs](QPrinter&, const std::function<void(QPrinter&)>&) { ++dialogs; });
            QTest::mouseClick(print, Qt::LeftButton);
            n4test::settle();
            EXPECT_EQ(dialogs, 1);
            EXPECT_EQ(s.main->mdiArea()->subWindowList().size(), windowsOpen);
            EXPECT_EQ(s.main->openWindow(e.window), sub);
        }
        QTest::mouseClick(sub->widget()->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        n4test::settle();
        EXPECT_EQ(s.main->openWindow(e.window), nullptr);
        EXPECT_EQ(s.main->mdiArea()->subWindowList().size(), windowsOpen - 1);
        EXPECT_TRUE(s.main->propEnd());
        EXPECT_EQ(s.main->computeCount(e.window), 1);
    }
}

TEST(AnalysisFrame, LegendBallsAreShadedFromTheirHighlightToTheirDarkColour) {
    // The drawn-digit ball: highlight RGB(153,153,255), dark RGB(51,51,204);
    // the bonus ball of the dispersion window the same in red.
    Shell s;
    QMdiSubWindow* sub = s.choose("mnuBaratsuki");
    ASSERT_NE(sub, nullptr);
    const auto pictures = sub->widget()->findChildren<QLabel*>("Picture1");
    ASSERT_EQ(pictures.size(), 2);
    const QColor highlights[2] = {QColor(153, 153, 255), QColor(255, 153, 153)};
    const QColor darks[2] = {QColor(51, 51, 204), QColor(204, 51, 51)};
    for (int i = 0; i < 2; ++i) {
        const QImage ball = pictures[i]->pixmap().toImage();
        ASSERT_EQ(ball.size(), QSize(19, 19));
        auto near = [](const QColor& a, const QColor& b, int by) {
            return std::abs(a.red() - b.red()) <= by && std::abs(a.green() - b.green()) <= by &&
                   std::abs(a.blue() - b.blue()) <= by;
        };
        const QColor light = ball.pixelColor(6, 6), rim = ball.pixelColor(9, 16);
        EXPECT_TRUE(near(light, highlights[i], 12)) << light.name().toStdString();
        EXPECT_TRUE(near(rim, darks[i], 40)) << rim.name().toStdString();
        EXPECT_EQ(ball.pixelColor(0, 0), QColor(Qt::white));
    }
}
