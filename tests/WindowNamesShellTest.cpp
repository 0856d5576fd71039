// Every menu item of the main window that opens a table, and the title of the
// window it opens, name that window for `export`; every window the tool lists
// is reached so. A menu or title renamed without the tool's names fails here.
#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <functional>
#include <set>

#include "UiSupport.h"
#include "core/cli/ExportNames.h"
#include "core/prediction/BacktestExport.h"

using namespace n4;

TEST(WindowNames, EveryMenuItemAndTitleOfATableIsAnExportName) {
    n4test::Shell shell;
    std::set<std::string> reached;
    std::function<void(QAction*)> visit = [&](QAction* action) {
        if (QMenu* menu = action->menu()) {
            for (QAction* inner : menu->actions())
                visit(inner);
            return;
        }
        const std::string text = action->text().toStdString();
        const std::string name = exportNameFor(text);
        if (name.empty()) return; // 終了, ヘルプ …: no table
        for (QMdiSubWindow* open : shell.main->mdiArea()->subWindowList())
            open->close();
        n4test::settle();
        action->trigger();
        n4test::settle();
        QMdiSubWindow* window = shell.main->mdiArea()->activeSubWindow();
        ASSERT_NE(window, nullptr) << text;
        EXPECT_EQ(exportNameFor(window->windowTitle().toStdString()), name) << text;
        reached.insert(name);
    };
    for (QAction* action : shell.main->menuBar()->actions())
        visit(action);
    std::set<std::string> listed;
    for (const ExportName& e : exportNames())
        listed.insert(e.name);
    EXPECT_EQ(reached, listed) << "a menu item or a window title the tool does not know: name it "
                                  "in src/core/analysis/AnalysisCatalog.cpp";
    // The back-test window, which the tool's backtest prints, is named as the tool says.
    shell.main->openBacktest();
    n4test::settle();
    EXPECT_EQ(shell.main->mdiArea()->activeSubWindow()->windowTitle().toStdString(),
              kBacktestCaption);
}
