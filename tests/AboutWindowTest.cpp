// The about window, opened from the help menu of the running program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>

#include "UiSupport.h"
#include "ui/shell/AboutWindow.h"

using n4test::Shell;

TEST(AboutWindow, ShowsTheProductEditionAndVersionAsATopLevelWindow) {
    Shell s;
    const int children = s.main->mdiArea()->subWindowList().size();
    const bool propEnd = s.main->propEnd();
    s.command("mnuAbout")->trigger();
    n4::AboutWindow* about = s.main->aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(about->isWindow());
    EXPECT_EQ(about->windowTitle(), "バージョン情報");
    auto text = [about](const char* name) {
        auto* l = about->findChild<QLabel*>(name);
        return l ? l->text() : QString("(no %1)").arg(name);
    };
    EXPECT_EQ(text("Label4"), "　　　　　一発マーヴォと高額当選を狙う！！　　　　　　"
                              "　　　　「ナンバーズ４次世代攻略ソフト」");
    EXPECT_EQ(text("Label8"), "ナンバーズ４マーヴォ");
    EXPECT_EQ(text("Label3"), " Ver1.10");
    // The edition word beside the product name, in the same large typeface.
    auto* product = about->findChild<QLabel*>("Label8");
    auto* edition = about->findChild<QLabel*>("Label9");
    ASSERT_TRUE(product && edition);
    EXPECT_FALSE(edition->text().isEmpty());
    EXPECT_TRUE(s.main->windowTitle().endsWith(edition->text()));
    EXPECT_EQ(edition->font(), product->font());
    EXPECT_GT(product->font().pointSizeF(), QApplication::font().pointSizeF());
    // Not a child window, and propEnd is none of its business.
    EXPECT_EQ(s.main->mdiArea()->subWindowList().size(), children);
    EXPECT_EQ(s.main->propEnd(), propEnd);
}

TEST(AboutWindow, TheCloseButtonClosesIt) {
    Shell s;
    s.command("mnuAbout")->trigger();
    n4::AboutWindow* about = s.main->aboutWindow();
    ASSERT_NE(about, nullptr);
    auto* close = about->findChild<QPushButton*>("Command1");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "閉じる");
    QTest::mouseClick(close, Qt::LeftButton);
    n4test::settle();
    EXPECT_FALSE(about->isVisible());
    s.command("mnuAbout")->trigger(); // and it opens again
    EXPECT_TRUE(s.main->aboutWindow()->isVisible());
}
