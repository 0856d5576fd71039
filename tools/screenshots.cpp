// Developer tool: opens the main window over a database and saves a picture
// of it for each list of windows given, so a change can be looked at.
//   n4-screenshots PROGRAM_FOLDER OUT_PREFIX "win1,win2" ["win3"] ...
#include <QApplication>
#include <QFontDatabase>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>

#include "shell/MainFrm.h"
#include "shell/MessageSink.h"
#include "shell/WindowArrangement.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (QFontDatabase::families().contains(QStringLiteral("IPAGothic")))
        QApplication::setFont(QFont(QStringLiteral("IPAGothic"), 9));
    if (argc < 4) return 2;
    n4::MessageSink sink;
    n4::ShellConfig config{argv[1], std::string(argv[1]) + "/shots.ini", argv[1]};
    for (int i = 3; i < argc; ++i) {
        n4::MainFrm main(config, &sink);
        if (!main.load()) return 1;
        main.resize(1280, 900);
        main.show();
        const QStringList names = QString::fromUtf8(argv[i]).split(',');
        for (const QString& name : names) {
            if (name == "一発マーヴォ")
                main.openPrediction();
            else if (name == "ヘルプ")
                main.openHelp();
            else if (name == "バージョン情報")
                main.openAbout();
            else if (name == "当選データ入力")
                main.openDataEntry();
            else
                main.openAnalysis(name);
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
