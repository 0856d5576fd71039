// The program as a desktop application: its own icon on every window, and
// where it keeps its files once installed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <filesystem>

#include "UiSupport.h"
#include "core/prediction/SettingsFile.h"
#include "core/store/DataLocation.h"
#include "ui/shell/AboutWindow.h"
#include "ui/shell/HelpWindow.h"
#include "ui/shell/ProgramIcon.h"
#include "ui/shell/ProgramStart.h"

using namespace n4;
using n4test::RecordingSink;
using n4test::Workspace;

namespace {

bool sameIcon(const QIcon& a, const QIcon& b) {
    for (int size : {16, 32, 48})
        if (a.pixmap(size).toImage() != b.pixmap(size).toImage()) return false;
    return true;
}

template <class Window> Window* shownTopLevel() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<Window*>(w); found && found->isVisible()) return found;
    return nullptr;
}

} // namespace

TEST(ProgramIcon, DrawnInEverySizeADesktopAsksFor) {
    const QIcon icon = programIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage image = icon.pixmap(size).toImage();
        EXPECT_EQ(image.size(), QSize(size, size));
        // Opaque in the middle, not an empty picture.
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
    }
}

TEST(ProgramIcon, TheMainWindowAndEveryWindowItOpensShowIt) {
    Workspace ws;
    RecordingSink sink;
    std::unique_ptr<MainFrm> main = startShell(ws.config, &sink);
    ASSERT_NE(main, nullptr);
    const QIcon icon = programIcon();
    EXPECT_TRUE(sameIcon(main->windowIcon(), icon));
    main->openAnalysis("出現頻度分析");
    main->openAnalysis("分割5傾向分析");
    main->openWindow("一発マーヴォ")->close();
    main->openDataEntry();
    ASSERT_NE(main->openWindow("当選データ入力"), nullptr);
    const QList<QMdiSubWindow*> children = main->mdiArea()->subWindowList();
    EXPECT_EQ(children.size(), 3);
    for (QMdiSubWindow* child : children)
        EXPECT_TRUE(sameIcon(child->windowIcon(), icon)) << child->objectName().toStdString();
    main->openPrediction();
    EXPECT_TRUE(sameIcon(main->openWindow("一発マーヴォ")->windowIcon(), icon));
    main->openAbout();
    ASSERT_NE(main->aboutWindow(), nullptr);
    EXPECT_TRUE(sameIcon(main->aboutWindow()->windowIcon(), icon));
    main->openHelp();
    ASSERT_NE(shownTopLevel<HelpWindow>(), nullptr);
    EXPECT_TRUE(sameIcon(shownTopLevel<HelpWindow>()->windowIcon(), icon));
}

TEST(HelpWindow, ClosingTheMainWindowClosesTheHelpToo) {
    // So the help window never keeps the program running on its own.
    Workspace ws;
    RecordingSink sink;
    std::unique_ptr<MainFrm> main = startShell(ws.config, &sink);
    ASSERT_NE(main, nullptr);
    main->openHelp();
    HelpWindow* help = shownTopLevel<HelpWindow>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(main->close());
    EXPECT_FALSE(help->isVisible());
}

TEST(DataFiles, TheAboutWindowSaysWhereTheDatabaseAndSettingsAre) {
    Workspace ws;
    RecordingSink sink;
    std::unique_ptr<MainFrm> main = startShell(ws.config, &sink);
    ASSERT_NE(main, nullptr);
    main->openAbout();
    auto* label = main->aboutWindow()->findChild<QLabel*>(QStringLiteral("Label5"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isVisible());
    EXPECT_TRUE(label->text().contains(QString::fromStdString(ws.folder + "/Numbers4Marvo.mdb")));
    EXPECT_TRUE(label->text().contains(QString::fromStdString(ws.config.settingsPath)));
}

TEST(DataFiles, AnInstalledProgramKeepsDatabaseAndSettingsInTheUserDataFolder) {
    const std::string root = n4test::tempFolder();
    DataLocationFacts facts;
    facts.programFolder = "/usr/bin";
    facts.systemProgramFolder = true;
    facts.xdgDataHome = root + "/share";
    const DataLocation location = resolveDataLocation(facts);
    std::string why;
    ASSERT_TRUE(prepareDataFolder(location, why)) << why;
    RecordingSink sink;
    std::unique_ptr<MainFrm> main = startShell(shellConfigFor(location), &sink);
    ASSERT_NE(main, nullptr);
    const std::string folder = root + "/share/Numbers4Marvo/";
    EXPECT_TRUE(std::filesystem::exists(folder + "Numbers4Marvo.mdb"));
    main->openAbout();
    auto* label = main->aboutWindow()->findChild<QLabel*>(QStringLiteral("Label5"));
    EXPECT_TRUE(label->text().contains(QString::fromStdString(folder + "Numbers4Marvo.mdb")));
    main->close();
    QApplication::processEvents();
    EXPECT_TRUE(std::filesystem::exists(folder + kSettingsFileName));
}
