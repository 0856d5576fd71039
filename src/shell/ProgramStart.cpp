#include "shell/ProgramStart.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "data/DataLocation.h"
#include "shell/MessageSink.h"
#include "shell/ProgramIcon.h"

namespace n4 {

void prepareApplication(QApplication& app) {
    QApplication::setApplicationName(kProgramTitle);
    QApplication::setDesktopFileName(kDesktopFileName);
    QApplication::setWindowIcon(programIcon());
    auto* qtJapanese = new QTranslator(&app);
    if (qtJapanese->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtJapanese);
    if (QFontDatabase::families().contains(QStringLiteral("IPAGothic")))
        QApplication::setFont(QFont(QStringLiteral("IPAGothic"), 9));
}

ShellConfig shellConfigFor(const DataLocation& location) {
    ShellConfig config;
    config.programFolder = location.databaseFolder;
    config.settingsPath = location.settingsPath;
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
    // Beside the program for a portable copy, in the user's data folder once installed.
    const DataLocation location =
        findDataLocation(QApplication::applicationDirPath().toStdString());
    std::string why;
    if (!prepareDataFolder(location, why)) {
        messages.critical(nullptr, kMessageTitle, QString::fromStdString(why));
        return 1;
    }
    std::unique_ptr<MainFrm> main = startShell(shellConfigFor(location), &messages);
    if (!main) return 1;
    return app.exec();
}

} // namespace n4
