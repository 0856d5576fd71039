// Icons whose pictures are read only when drawn must draw exactly what the
// pictures read at once would: the program's icon at any size, and every
// standard icon of the program's style.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImageReader>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QStyleFactory>
#include <memory>

#include "ui/shell/DeferredIconStyle.h"
#include "ui/shell/ProgramIcon.h"
#include "ui/shell/ProgramStart.h"

using namespace n4;

namespace {

QImage drawn(const QIcon& icon, int size, QIcon::Mode mode = QIcon::Normal) {
    return icon.pixmap(QSize(size, size), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The icon as it would be with every picture read at once.
QIcon programIconReadWhole() {
    programIcon().pixmap(16); // its pictures' resources registered
    QIcon whole;
    for (int s : {16, 22, 24, 32, 48, 64, 128, 256})
        whole.addFile(QStringLiteral(":/icons/numbers4marvo-%1.png").arg(s), QSize(s, s));
    return whole;
}

} // namespace

TEST(DeferredIcon, TheProgramIconDrawsAsItsPicturesReadWhole) {
    const QIcon whole = programIconReadWhole();
    ASSERT_FALSE(whole.isNull());
    // Listed sizes, sizes between and beyond them, and the other modes.
    for (int size : {16, 20, 23, 24, 30, 40, 100, 200, 256, 300}) {
        const QIcon fresh = programIcon();
        EXPECT_EQ(drawn(fresh, size), drawn(whole, size)) << size;
        EXPECT_EQ(fresh.actualSize(QSize(size, size)), whole.actualSize(QSize(size, size))) << size;
    }
    EXPECT_EQ(drawn(programIcon(), 32, QIcon::Disabled), drawn(whole, 32, QIcon::Disabled));
    // It lists the sizes the whole icon lists, in every mode and state.
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected})
        for (QIcon::State state : {QIcon::Off, QIcon::On})
            EXPECT_EQ(programIcon().availableSizes(mode, state), whole.availableSizes(mode, state))
                << mode << " " << state;
    // Painted into a rectangle, as a title bar does.
    QImage a(40, 40, QImage::Format_ARGB32), b(40, 40, QImage::Format_ARGB32);
    a.fill(Qt::white);
    b.fill(Qt::white);
    {
        QPainter pa(&a), pb(&b);
        programIcon().paint(&pa, QRect(4, 4, 20, 20));
        whole.paint(&pb, QRect(4, 4, 20, 20));
    }
    EXPECT_EQ(a, b);
}

TEST(DeferredIcon, TheStylesStandardIconsDrawAsTheToolkitsOwn) {
    prepareApplication(*qApp);
    auto* style = qobject_cast<DeferredIconStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    const std::unique_ptr<QStyle> plain(QStyleFactory::create(style->baseStyle()->name()));
    ASSERT_NE(plain, nullptr);
    for (QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_TitleBarMenuButton,
          QStyle::SP_TitleBarCloseButton, QStyle::SP_TitleBarNormalButton,
          QStyle::SP_DialogOkButton, QStyle::SP_ArrowRight}) { // (message symbols: below)
        const QIcon deferred = style->standardIcon(which);
        const QIcon own = plain->standardIcon(which);
        EXPECT_EQ(deferred.isNull(), own.isNull()) << which;
        EXPECT_EQ(deferred.availableSizes(), own.availableSizes()) << which;
        for (int size : {8, 16, 32})
            EXPECT_EQ(drawn(deferred, size), drawn(own, size)) << which << " " << size;
    }
}

TEST(DeferredIcon, AStandardIconOutlivesTheWidgetItWasMadeFor) {
    prepareApplication(*qApp);
    QIcon icon;
    {
        QMenuBar bar;
        icon =
            bar.style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, &bar);
    } // gone before the icon is first drawn
    auto* style = qobject_cast<DeferredIconStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    const std::unique_ptr<QStyle> plain(QStyleFactory::create(style->baseStyle()->name()));
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(icon.isNull());
    EXPECT_EQ(drawn(icon, 16),
              drawn(plain->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton), 16));
}

TEST(DeferredIcon, AMessageBoxStillShowsItsSymbol) {
    prepareApplication(*qApp);
    QMessageBox box(QMessageBox::Critical, "t", "x");
    EXPECT_FALSE(box.iconPixmap().isNull());
}

// Each kind of message keeps its own symbol (its hue at the left middle: blue,
// amber, red, blue), drawn for the screen's pixel ratio: at 2 a picture of
// twice the pixels, not a small one enlarged.
TEST(DeferredIcon, MessageSymbolsKeepTheirKindAndAreDrawnForThePixelRatio) {
    prepareApplication(*qApp);
    const QMessageBox::Icon kinds[] = {QMessageBox::Information, QMessageBox::Warning,
                                       QMessageBox::Critical, QMessageBox::Question};
    const int hues[] = {215, 50, 0, 215};
    QList<QImage> seen;
    for (int k = 0; k < 4; ++k) {
        QMessageBox box(kinds[k], "t", "x");
        const int side = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
        EXPECT_EQ(box.iconPixmap().deviceIndependentSize().toSize(), QSize(side, side)) << k;
        const auto symbol = QStyle::StandardPixmap(QStyle::SP_MessageBoxInformation + k);
        const QImage drawn =
            QApplication::style()->standardIcon(symbol).pixmap(QSize(side, side), 2.0).toImage();
        EXPECT_EQ(drawn.size(), QSize(2 * side, 2 * side)) << k;
        const int hue = drawn.pixelColor(side / 3, side + side / 3).hslHue();
        EXPECT_LE(std::min(std::abs(hue - hues[k]), 360 - std::abs(hue - hues[k])), 20) << k;
        EXPECT_FALSE(seen.contains(drawn)) << k;
        seen << drawn;
    }
}
