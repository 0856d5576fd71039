#include "ui/shell/ProgramStart.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>
#include <filesystem>
#include <optional>

#include "core/os/System.h"
#include "core/store/DataLocation.h"
#include "ui/common/MessageSink.h"
#include "ui/shell/DeferredIconStyle.h"
#include "ui/shell/ProgramIcon.h"

namespace n4 {

void prepareApplication(QApplication& app) {
    if (!qobject_cast<DeferredIconStyle*>(QApplication::style()))
        if (QStyle* same = QStyleFactory::create(QApplication::style()->name()))
            QApplication::setStyle(new DeferredIconStyle(same));
    QApplication::setApplicationName(kProgramTitle);
    QApplication::setDesktopFileName(kDesktopFileName);
    QApplication::setWindowIcon(programIcon());
    auto* qtJapanese = new QTranslator(&app);
    if (qtJapanese->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtJapanese);
    // The interface in the proportional Gothic, as Japanese desktops show it;
    // the grids in the fixed-width one, so that digits line up in columns
    // (the grid view sets its own size).
    const QStringList families = QFontDatabase::families();
    const QString fixed = QStringLiteral("IPAGothic"), proportional = QStringLiteral("IPAPGothic");
    if (families.contains(proportional) || families.contains(fixed))
        QApplication::setFont(QFont(families.contains(proportional) ? proportional : fixed, 9));
    if (families.contains(fixed)) QApplication::setFont(QFont(fixed, 9), "n4::GridView");
}

ShellConfig shellConfigFor(const DataLocation& location) {
    ShellConfig config;
    config.programFolder = location.databaseFolder;
    config.settingsPath = location.settingsPath;
    config.helpFolder = QDir::currentPath().toStdString();
    return config;
}

std::unique_ptr<MainFrm> startShell(const ShellConfig& config, MessageSink* messages,
                                    EarlyStartupLoad* early) {
    auto main = std::make_unique<MainFrm>(config, messages);
    const bool loaded = early ? main->load([early] { return early->take(); }) : main->load();
    if (!loaded) return nullptr;
    main->showFullSize();
    main->openPrediction();
    main->checkForNewDrawsInBackground(); // when the user turned it on
    return main;
}

namespace {

// The folder of the running program, known before the toolkit starts.
std::string programFolder() {
    const std::string exe = os::runningProgramPath();
    return exe.empty() ? std::string(".") : std::filesystem::path(exe).parent_path().string();
}

} // namespace

int runProgram(int argc, char** argv) {
    // Beside the program for a portable copy, in the user's data folder once installed.
    const DataLocation location = findDataLocation(programFolder());
    std::string why;
    const bool folderReady = prepareDataFolder(location, why);
    const ShellConfig config = shellConfigFor(location);
    // The draw database is opened and read while the toolkit starts.
    std::optional<EarlyStartupLoad> early;
    if (folderReady) {
        removeLeftoverKeyFile();
        early.emplace(config.settingsPath,
                      DbConnectionString::forProgramFolder(config.programFolder));
    }

    QApplication app(argc, argv);
    prepareApplication(app);
    MessageSink messages;
    if (!folderReady) {
        messages.critical(nullptr, kMessageTitle, QString::fromStdString(why));
        return 1;
    }
    std::unique_ptr<MainFrm> main = startShell(config, &messages, &*early);
    if (!main) return 1;
    return app.exec();
}

} // namespace n4
