#include "UiSupport.h"

#include "data/DrawStore.h"

namespace n4test {

Workspace::Workspace(const n4::DrawTable& table) {
    folder = tempFolder();
    n4::StoreResult r;
    auto store = n4::DrawStore::open(n4::DbConnectionString::forProgramFolder(folder), r);
    if (store && !table.empty()) store->upsert(table);
    config.programFolder = folder;
    config.settingsPath = folder + "/ナンバーズ4マーヴォ.ini";
    config.helpFolder = folder;
}

} // namespace n4test
