// Developer tool: opens the main window over a database and saves a picture
// of it for each list of windows given, so a change can be looked at.
//   n4-screenshots PROGRAM_FOLDER OUT_PREFIX "win1,win2" ["win3@end"] ...
// A name followed by @end or @home has its grid scrolled to the last or the
// first rows, as the End and Home keys do. Run it under a virtual display
// (xvfb-run -s "-screen 0 1920x1200x24") to see the program's own sizes.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>

#include "ui/common/MessageSink.h"
#include "ui/grid/GridView.h"
#include "ui/prediction/BacktestWindow.h"
#include "ui/shell/MainFrm.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/WindowArrangement.h"

namespace {

// Opens the back-test window and lets its computation run to the end.
void openBacktest(n4::MainFrm& main) {
    main.openBacktest();
    QMdiSubWindow* sub = main.openWindow("予想の検証");
    auto* window = sub ? qobject_cast<n4::BacktestWindow*>(sub->widget()) : nullptr;
    QElapsedTimer clock;
    clock.start();
    while (window && window->isComputing() && clock.elapsed() < 10000)
        QApplication::processEvents();
}

void open(n4::MainFrm& main, const QString& name) {
    if (name == "一発マーヴォ")
        main.openPrediction();
    else if (name == "ヘルプ")
        main.openHelp();
    else if (name == "バージョン情報")
        main.openAbout();
    else if (name == "当選データ入力")
        main.openDataEntry();
    else if (name == "買い目作成")
        main.openNumberBuilder();
    else if (name == "予想の検証")
        openBacktest(main);
    else if (name == "購入記録")
        main.openTicketLedger();
    else
        main.openAnalysis(name);
}

void press(n4::MainFrm& main, const QString& name, Qt::Key key) {
    QMdiSubWindow* sub = main.openWindow(name);
    if (!sub) return;
    for (n4::GridView* view : sub->findChildren<n4::GridView*>()) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    n4::prepareApplication(app);
    if (argc < 4) return 2;
    n4::MessageSink sink;
    n4::ShellConfig config{argv[1], std::string(argv[1]) + "/shots.ini", argv[1]};
    for (int i = 3; i < argc; ++i) {
        n4::MainFrm main(config, &sink);
        if (!main.load()) return 1;
        main.showFullSize();
        const QStringList names = QString::fromUtf8(argv[i]).split(',');
        for (const QString& entry : names) {
            const QString name = entry.section('@', 0, 0);
            open(main, name);
            app.processEvents();
            if (entry.endsWith("@end")) press(main, name, Qt::Key_End);
            if (entry.endsWith("@home")) press(main, name, Qt::Key_Home);
        }
        if (names.size() > 1) n4::arrangeWindows(main.mdiArea(), n4::Arrangement::TileVertical);
        app.processEvents();
        const QString file = QString("%1-%2.png").arg(argv[2]).arg(i - 2);
        main.grab().save(file);
        // A separate top-level window (help, about) is saved beside it.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &main && w->isVisible() && w->isWindow() && !w->windowTitle().isEmpty())
                w->grab().save(QString(file).replace(".png", "-window.png"));
    }
    return 0;
}
