#include "shell/ProgramStart.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "prediction/SettingsFile.h"
#include "shell/MessageSink.h"

namespace n4 {

void prepareApplication(QApplication& app) {
    QApplication::setApplicationName(kProgramTitle);
    auto* qtJapanese = new QTranslator(&app);
    if (qtJapanese->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtJapanese);
    if (QFontDatabase::families().contains(QStringLiteral("IPAGothic")))
        QApplication::setFont(QFont(QStringLiteral("IPAGothic"), 9));
}

ShellConfig defaultShellConfig() {
    ShellConfig config;
    config.programFolder = QApplication::applicationDirPath().toStdString();
    config.settingsPath = kSettingsFileName; // the current folder, as always
    config.helpFolder = QDir::currentPath().toStdString();
    return config;
}

std::unique_ptr<MainFrm> startShell(const ShellConfig& config, MessageSink* messages) {
    auto main = std::make_unique<MainFrm>(config, messages);
    if (!main->load()) return nullptr;
    main->showMaximized();
    main->openPrediction();
    return main;
}

int runProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    prepareApplication(app);
    MessageSink messages;
    std::unique_ptr<MainFrm> main = startShell(defaultShellConfig(), &messages);
    if (!main) return 1;
    return app.exec();
}

} // namespace n4
