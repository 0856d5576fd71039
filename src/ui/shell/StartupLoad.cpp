#include "ui/shell/StartupLoad.h"

#include <thread>

#include "core/prediction/SettingsFile.h"

namespace n4 {

namespace {

void readDatabase(const DbConnectionString& conn, StartupLoad& load) {
    auto store = DrawStore::open(conn, load.result, &load.created);
    if (store) {
        load.notice = load.result.message;
        load.result = store->readAll(load.table);
    }
    if (load.result) load.figures = computeStartupFigures(load.table);
}

} // namespace

StartupLoad loadAtStartup(const std::string& settingsPath, const DbConnectionString& conn) {
    StartupLoad load;
    readInitFile(settingsPath, load.options);
    load.jet = convertJetDatabaseIfNeeded(conn);
    if (load.jet.ok) readDatabase(conn, load);
    return load;
}

struct EarlyStartupLoad::Running {
    StartupLoad load;
    std::thread thread;
};

EarlyStartupLoad::EarlyStartupLoad(const std::string& settingsPath, const DbConnectionString& conn)
    : running_(std::make_unique<Running>()) {
    StartupLoad& load = running_->load;
    readInitFile(settingsPath, load.options);
    load.jet = convertJetDatabaseIfNeeded(conn);
    if (!load.jet.ok) return;
    running_->thread = std::thread([&load, conn] { readDatabase(conn, load); });
}

EarlyStartupLoad::~EarlyStartupLoad() {
    if (running_->thread.joinable()) running_->thread.join();
}

StartupLoad EarlyStartupLoad::take() {
    if (running_->thread.joinable()) running_->thread.join();
    return std::move(running_->load);
}

} // namespace n4
