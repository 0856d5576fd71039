// ナンバーズ4マーヴォ: the program takes no options.
#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "prediction/SettingsFile.h"
#include "shell/MainFrm.h"
#include "shell/MessageSink.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(n4::kProgramTitle);
    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);
    if (QFontDatabase::families().contains(QStringLiteral("IPAGothic")))
        QApplication::setFont(QFont(QStringLiteral("IPAGothic"), 9));

    n4::MessageSink messages;
    n4::ShellConfig config;
    config.programFolder = QApplication::applicationDirPath().toStdString();
    config.settingsPath = n4::kSettingsFileName; // the current folder, as always
    config.helpFolder = QDir::currentPath().toStdString();
    n4::MainFrm main(config, &messages);
    if (!main.load()) return 1;
    main.showMaximized();
    main.openPrediction();
    return app.exec();
}
